// The settings of data logging: limits of the entries, the elapsed-time text, the settings
// block that closes a log and the "LogForm" setup section.

#include <gtest/gtest.h>

#include "results/logsettings.h"
#include "util/inifile.h"

namespace qz {
namespace {

TEST(LogSettings, RecordLimitIsAsymmetric) {
  struct Case {
    const char* text;
    int32_t expected;
  };
  const Case cases[] = {
      {"abc", 100},
      {"", 100},
      {"1.5", 100},
      {"99999999999", 100},
      {"-3", 0},
      {"0", 0},
      {" 5 ", 5},
      {"10000000", 10000000},
      {"10000001", 10000000},
      {"2147483647", 10000000},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ParseMaxRecords(QString::fromLatin1(c.text)), c.expected) << c.text;
}

TEST(LogSettings, SamplesPerEventOutsideRangeIsOne) {
  struct Case {
    const char* text;
    int32_t expected;
  };
  const Case cases[] = {{"x", 1}, {"0", 1},         {"-5", 1},    {"1", 1},
                        {"3", 3}, {"10000", 10000}, {"10001", 1}, {"", 1}};
  for (const Case& c : cases)
    EXPECT_EQ(ParseLogSamples(QString::fromLatin1(c.text)), c.expected) << c.text;
}

TEST(LogSettings, ApplyBuildsTheSchedule) {
  TLogEntries e;
  e.durD = 1;
  e.durH = 12;
  e.durM = 30;
  e.durS = 36;
  e.intH = 1;
  e.intM = 2;
  e.intS = 3;
  e.records = QStringLiteral("abc");
  e.samples = QStringLiteral("3");
  e.comma = true;
  const TLogApplied a = ApplyLogSettings(e);
  EXPECT_DOUBLE_EQ(a.durationDays, 1 + (12 + 30 / 60.0 + 36 / 3600.0) / 24);
  EXPECT_EQ(a.samplIntervMs, 3723000);
  EXPECT_FALSE(a.contSampling);
  EXPECT_EQ(a.maxRecordNumber, 100);
  EXPECT_EQ(a.logSamples, 3);
  EXPECT_EQ(a.decSep, QChar(','));

  TLogEntries zero;
  const TLogApplied z = ApplyLogSettings(zero);
  EXPECT_TRUE(z.contSampling);
  EXPECT_EQ(z.durationDays, 0.0);
  EXPECT_EQ(z.decSep, QChar('.'));
}

TEST(LogSettings, ApplyLimitsTheUpDownValues) {
  TLogEntries e;
  e.durD = 150;
  e.durH = 30;
  e.durM = -1;
  e.intS = 75;
  const TLogApplied a = ApplyLogSettings(e);
  EXPECT_EQ(a.entries.durD, 99);
  EXPECT_EQ(a.entries.durH, 23);
  EXPECT_EQ(a.entries.durM, 0);
  EXPECT_EQ(a.entries.intS, 59);
  EXPECT_EQ(a.samplIntervMs, 59000);
}

TEST(LogSettings, DurationText) {
  struct Case {
    double seconds;
    QChar sep;
    const char* expected;
  };
  const Case cases[] = {
      {90061.5, '.', "1d+01:01:01.50"},
      {0.0, '.', "00:00:00.00"},
      {3599.99, '.', "00:59:59.99"},
      {86399.999, '.', "23:59:59.99"},
      {86400.0, '.', "1d+00:00:00.00"},
      {12.345, ',', "00:00:12,34"},
      {99 * 86400.0 + 7, '.', "99d+00:00:07.00"},
      {-4.0, '.', "00:00:00.00"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(DurationStr(c.seconds, c.sep), QString::fromLatin1(c.expected)) << c.seconds;
}

TEST(LogSettings, StatusTextsColoursAndCaptions) {
  struct Case {
    TLogStatus s;
    const char* text;
    TColor led;
    const char* suffix;
  };
  const Case cases[] = {
      {lsNotReady, "Not ready", 0x0000FF, " - not prepared"},
      {lsReady, "Ready", 0x00FFFF, " - prepared"},
      {lsLogging, "Logging...", 0x008000, " - open"},
      {lsAborted, "Aborted", 0xC0C0C0, " - closed"},
      {lsCompleted, "Completed", 0xFF0000, " - closed"},
      {lsIllegalEnd, "Illegal end", 0x000000, " - closed"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LogStatusText(c.s), QString::fromLatin1(c.text));
    EXPECT_EQ(LogStatusLedColor(c.s), c.led) << c.text;
    EXPECT_EQ(LogStatusCaptionSuffix(c.s), QString::fromLatin1(c.suffix)) << c.text;
  }
}

TEST(LogSettings, SettingsBlockTexts) {
  struct Case {
    const char* name;
    TLogEntries e;
    const char* expected;
  };
  TLogEntries cont;
  TLogEntries timed;
  timed.intS = 10;
  timed.samples = QStringLiteral("3");
  timed.records = QStringLiteral("5");
  timed.durD = 2;
  timed.durM = 7;
  const Case cases[] = {
      {"continuous, unlimited", cont,
       "\r\n[Logging settings]\r\n"
       "Sampling Repetition Time = 00h 00m 00s (continuous)\r\n"
       "Samples per Event = 1 (ignored)\r\n"
       "Max Sampling Duration = 00d 00h 00m 00s (unlimited)\r\n"
       "Max Number of Records = 0 (unlimited)\r\n"
       "End of logging.\r\n\r\n"},
      {"timed, limited", timed,
       "\r\n[Logging settings]\r\n"
       "Sampling Repetition Time = 00h 00m 10s\r\n"
       "Samples per Event = 3\r\n"
       "Max Sampling Duration = 02d 00h 07m 00s\r\n"
       "Max Number of Records = 5\r\n"
       "End of logging.\r\n\r\n"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(WriteLogSettings(ApplyLogSettings(c.e)), QString::fromLatin1(c.expected)) << c.name;
}

TEST(LogSettings, SetupSectionRoundTripAndLimits) {
  TLogEntries e;
  e.durD = 3;
  e.intM = 4;
  e.records = QStringLiteral("abc");
  e.samples = QStringLiteral("7");
  e.comma = true;
  e.info = QStringLiteral("my comment, with comma");
  e.fileName = QStringLiteral("/tmp/x.log");
  e.csv = true;
  IniFile ini;
  WriteLogStp(ini, e);
  const QString text = QString::fromUtf8(ini.Text());
  EXPECT_TRUE(text.contains(QStringLiteral("[LogForm]")));
  EXPECT_TRUE(text.contains(QStringLiteral("Separator=,")));
  EXPECT_TRUE(text.contains(QStringLiteral("MaxSamples=abc")));
  EXPECT_TRUE(text.contains(QStringLiteral("LogFormat=1")));
  TLogEntries back;
  ReadLogStp(ini, back, false);
  EXPECT_EQ(back, e);

  // Out-of-range values are limited; a missing key keeps the present value; a live log keeps
  // its file.
  IniFile bad;
  bad.SetText(
      QByteArray("[LogForm]\r\nudDurD=500\r\nudIntH=-2\r\nSeparator=x\r\n"
                 "LogFileName=C:\\logs\\a.txt\r\n"));
  TLogEntries cur = e;
  ReadLogStp(bad, cur, true);
  EXPECT_EQ(cur.durD, 99);
  EXPECT_EQ(cur.intH, 0);
  EXPECT_EQ(cur.intM, 4);
  EXPECT_FALSE(cur.comma);
  EXPECT_EQ(cur.fileName, QStringLiteral("/tmp/x.log"));
  ReadLogStp(bad, cur, false);
  EXPECT_EQ(cur.fileName, QStringLiteral("C:/logs/a.txt"));
  EXPECT_TRUE(cur.csv);  // missing: as it was

  // "LogFormat": 1 CSV, anything else Text; a CSV log always has the point.
  const struct {
    const char* value;
    bool csv;
  } formats[] = {{"1", true}, {"0", false}, {"2", false}, {"csv", false}, {"-1", false}};
  for (const auto& f : formats) {
    IniFile fi;
    fi.SetText(QByteArray("[LogForm]\r\nSeparator=,\r\nLogFormat=") + f.value + "\r\n");
    TLogEntries x;
    x.csv = true;
    ReadLogStp(fi, x, false);
    EXPECT_EQ(x.csv, f.csv) << f.value;
    EXPECT_EQ(ApplyLogSettings(x).decSep, f.csv ? QChar('.') : QChar(',')) << f.value;
  }
}

}  // namespace
}  // namespace qz
