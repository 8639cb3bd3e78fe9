#include "results/logsettings.h"

#include <cmath>

#include "util/format.h"
#include "util/inifile.h"
#include "util/numutil.h"
#include "util/parse.h"
#include "util/stpkeys.h"

namespace qz {

namespace {
const QString kCrLf = QStringLiteral("\r\n");
}  // namespace

QString LogStatusText(TLogStatus s) {
  switch (s) {
    case lsNotReady:
      return QStringLiteral("Not ready");
    case lsReady:
      return QStringLiteral("Ready");
    case lsLogging:
      return QStringLiteral("Logging...");
    case lsAborted:
      return QStringLiteral("Aborted");
    case lsCompleted:
      return QStringLiteral("Completed");
    case lsIllegalEnd:
      return QStringLiteral("Illegal end");
  }
  return QString();
}

TColor LogStatusLedColor(TLogStatus s) {
  switch (s) {
    case lsNotReady:
      return clRed;
    case lsReady:
      return clYellow;
    case lsLogging:
      return clGreen;
    case lsAborted:
      return clSilver;
    case lsCompleted:
      return clBlue;
    case lsIllegalEnd:
      return clBlack;
  }
  return clBlack;
}

QString LogStatusCaptionSuffix(TLogStatus s) {
  switch (s) {
    case lsNotReady:
      return QStringLiteral(" - not prepared");
    case lsReady:
      return QStringLiteral(" - prepared");
    case lsLogging:
      return QStringLiteral(" - open");
    default:
      return QStringLiteral(" - closed");
  }
}

TLogEntries LimitLogEntries(const TLogEntries& in) {
  TLogEntries e = in;
  e.durD = ClampLowWins(int32_t(e.durD), 0, kLogMaxDays);
  e.durH = ClampLowWins(int32_t(e.durH), 0, kLogMaxHours);
  e.durM = ClampLowWins(int32_t(e.durM), 0, kLogMaxMinSec);
  e.durS = ClampLowWins(int32_t(e.durS), 0, kLogMaxMinSec);
  e.intH = ClampLowWins(int32_t(e.intH), 0, kLogMaxHours);
  e.intM = ClampLowWins(int32_t(e.intM), 0, kLogMaxMinSec);
  e.intS = ClampLowWins(int32_t(e.intS), 0, kLogMaxMinSec);
  return e;
}

int32_t ParseMaxRecords(const QString& text) {
  const std::optional<int32_t> v = ParseInt32(text);
  if (!v) return kLogMaxRecordsUnreadable;
  if (*v < 0) return 0;
  if (*v > kLogMaxRecords) return kLogMaxRecords;
  return *v;
}

int32_t ParseLogSamples(const QString& text) {
  const std::optional<int32_t> v = ParseInt32(text);
  if (!v || *v < 1 || *v > kLogMaxSamplesPerEvent) return 1;
  return *v;
}

TLogApplied ApplyLogSettings(const TLogEntries& in) {
  TLogApplied a;
  a.entries = LimitLogEntries(in);
  const TLogEntries& e = a.entries;
  a.durationDays = e.durD + (e.durH + e.durM / 60.0 + e.durS / 3600.0) / 24.0;
  a.samplIntervMs = e.intH * 3600000 + e.intM * 60000 + e.intS * 1000;
  a.contSampling = a.samplIntervMs == 0;
  a.maxRecordNumber = ParseMaxRecords(e.records);
  a.logSamples = ParseLogSamples(e.samples);
  a.csv = e.csv;
  // A CSV log always has the point.
  a.decSep = e.comma && !e.csv ? QChar(',') : QChar('.');
  return a;
}

QString DurationStr(double seconds, QChar decSep) {
  if (!std::isfinite(seconds) || seconds < 0) seconds = 0;
  // Whole milliseconds first, then the hundredths are cut from them (a time shown never runs
  // ahead of the time elapsed).
  const int64_t ms = RoundToInt64(seconds * 1000.0);
  const int64_t days = ms / 86400000;
  const int64_t inDay = ms % 86400000;
  const int64_t h = inDay / 3600000;
  const int64_t m = inDay / 60000 % 60;
  const int64_t s = inDay / 1000 % 60;
  const int64_t cs = inDay % 1000 / 10;
  QString t;
  if (days >= 1) t = Format(QStringLiteral("%dd+"), {days});
  t += Format(QStringLiteral("%.2d:%.2d:%.2d"), {h, m, s});
  t += decSep;
  t += Format(QStringLiteral("%2.2d"), {cs});
  return t;
}

QString WriteLogSettings(const TLogApplied& a) {
  const TLogEntries& e = a.entries;
  QString s = QStringLiteral("\r\n[Logging settings]") + kCrLf;
  s += Format(QStringLiteral("Sampling Repetition Time = %.2dh %.2dm %.2ds"),
              {e.intH, e.intM, e.intS});
  if (a.contSampling) s += QStringLiteral(" (continuous)");
  s += kCrLf;
  s += Format(QStringLiteral("Samples per Event = %.d"), {a.logSamples});
  if (a.contSampling) s += QStringLiteral(" (ignored)");
  s += kCrLf;
  s += Format(QStringLiteral("Max Sampling Duration = %.2dd %.2dh %.2dm %.2ds"),
              {e.durD, e.durH, e.durM, e.durS});
  if (a.durationDays == 0) s += QStringLiteral(" (unlimited)");
  s += kCrLf;
  s += Format(QStringLiteral("Max Number of Records = %.d"), {a.maxRecordNumber});
  if (a.maxRecordNumber == 0) s += QStringLiteral(" (unlimited)");
  s += kCrLf;
  s += QStringLiteral("End of logging.\r\n") + kCrLf;
  return s;
}

namespace {

// Section "LogForm" in the order it is written.
const TStpKeys<TLogEntries>& LogKeys() {
  static const TStpKeys<TLogEntries> keys =
      TStpKeys<TLogEntries>()
          .Custom(
              "Separator",
              [](const TLogEntries& e, IniFile& ini, const QString& s) {
                ini.WriteString(s, QStringLiteral("Separator"),
                                e.comma ? QStringLiteral(",") : QStringLiteral("."));
              },
              [](TLogEntries& e, const IniFile& ini, const QString& s) {
                const QString sep =
                    ini.ReadString(s, QStringLiteral("Separator"),
                                   e.comma ? QStringLiteral(",") : QStringLiteral("."));
                e.comma = sep == QStringLiteral(",");
              })
          .Text("MaxSamples", &TLogEntries::records)
          .Text("LogSamples", &TLogEntries::samples)
          .Int("udDurD", &TLogEntries::durD, 0, kLogMaxDays)
          .Int("udDurH", &TLogEntries::durH, 0, kLogMaxHours)
          .Int("udDurM", &TLogEntries::durM, 0, kLogMaxMinSec)
          .Int("udDurS", &TLogEntries::durS, 0, kLogMaxMinSec)
          .Int("udIntH", &TLogEntries::intH, 0, kLogMaxHours)
          .Int("udIntM", &TLogEntries::intM, 0, kLogMaxMinSec)
          .Int("udIntS", &TLogEntries::intS, 0, kLogMaxMinSec)
          .Custom(
              "LogFileName",
              [](const TLogEntries& e, IniFile& ini, const QString& s) {
                ini.WriteString(s, QStringLiteral("LogFileName"), e.fileName);
              },
              [](TLogEntries& e, const IniFile& ini, const QString& s) {
                // Old setups may hold backslashes.
                e.fileName = ini.ReadString(s, QStringLiteral("LogFileName"), e.fileName);
                e.fileName.replace(QLatin1Char('\\'), QLatin1Char('/'));
              })
          .Text("edLogInfo", &TLogEntries::info)
          // "Format": 1 CSV, anything else Text.
          .Custom(
              "LogFormat",
              [](const TLogEntries& e, IniFile& ini, const QString& s) {
                ini.WriteInteger(s, QStringLiteral("LogFormat"), e.csv ? 1 : 0);
              },
              [](TLogEntries& e, const IniFile& ini, const QString& s) {
                const QString v = ini.ReadString(s, QStringLiteral("LogFormat"),
                                                 e.csv ? QStringLiteral("1") : QStringLiteral("0"));
                e.csv = v.trimmed() == QStringLiteral("1");
              });
  return keys;
}

}  // namespace

void TLogEntries::WriteStp(IniFile& ini, const QString& section) const {
  LogKeys().Write(*this, ini, section);
}

void TLogEntries::ReadStp(const IniFile& ini, const QString& section) {
  LogKeys().Read(*this, ini, section);
}

void ReadLogStp(const IniFile& ini, TLogEntries& e, bool keepFileName) {
  const QString name = e.fileName;
  e.ReadStp(ini, QString::fromLatin1(kLogSection));
  if (keepFileName) e.fileName = name;
}

void WriteLogStp(IniFile& ini, const TLogEntries& e) {
  e.WriteStp(ini, QString::fromLatin1(kLogSection));
}

}  // namespace qz
