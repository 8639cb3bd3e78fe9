#include "results/logsettings.h"

#include <cmath>

#include "util/format.h"
#include "util/inifile.h"
#include "util/numutil.h"
#include "util/parse.h"

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
  a.decSep = e.comma ? QChar(',') : QChar('.');
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

void ReadLogStp(const IniFile& ini, TLogEntries& e, bool keepFileName) {
  const QString sec = QString::fromLatin1(kLogSection);
  const QString sep = ini.ReadString(sec, QStringLiteral("Separator"),
                                     e.comma ? QStringLiteral(",") : QStringLiteral("."));
  e.comma = sep == QStringLiteral(",");
  e.records = ini.ReadString(sec, QStringLiteral("MaxSamples"), e.records);
  e.samples = ini.ReadString(sec, QStringLiteral("LogSamples"), e.samples);
  e.durD = ini.ReadInteger(sec, QStringLiteral("udDurD"), e.durD);
  e.durH = ini.ReadInteger(sec, QStringLiteral("udDurH"), e.durH);
  e.durM = ini.ReadInteger(sec, QStringLiteral("udDurM"), e.durM);
  e.durS = ini.ReadInteger(sec, QStringLiteral("udDurS"), e.durS);
  e.intH = ini.ReadInteger(sec, QStringLiteral("udIntH"), e.intH);
  e.intM = ini.ReadInteger(sec, QStringLiteral("udIntM"), e.intM);
  e.intS = ini.ReadInteger(sec, QStringLiteral("udIntS"), e.intS);
  if (!keepFileName) {
    // Old setups may hold backslashes.
    e.fileName = ini.ReadString(sec, QStringLiteral("LogFileName"), e.fileName);
    e.fileName.replace(QLatin1Char('\\'), QLatin1Char('/'));
  }
  e.info = ini.ReadString(sec, QStringLiteral("edLogInfo"), e.info);
  e = LimitLogEntries(e);
}

void WriteLogStp(IniFile& ini, const TLogEntries& e) {
  const QString sec = QString::fromLatin1(kLogSection);
  ini.WriteString(sec, QStringLiteral("Separator"),
                  e.comma ? QStringLiteral(",") : QStringLiteral("."));
  ini.WriteString(sec, QStringLiteral("MaxSamples"), e.records);
  ini.WriteString(sec, QStringLiteral("LogSamples"), e.samples);
  ini.WriteInteger(sec, QStringLiteral("udDurD"), e.durD);
  ini.WriteInteger(sec, QStringLiteral("udDurH"), e.durH);
  ini.WriteInteger(sec, QStringLiteral("udDurM"), e.durM);
  ini.WriteInteger(sec, QStringLiteral("udDurS"), e.durS);
  ini.WriteInteger(sec, QStringLiteral("udIntH"), e.intH);
  ini.WriteInteger(sec, QStringLiteral("udIntM"), e.intM);
  ini.WriteInteger(sec, QStringLiteral("udIntS"), e.intS);
  ini.WriteString(sec, QStringLiteral("LogFileName"), e.fileName);
  ini.WriteString(sec, QStringLiteral("edLogInfo"), e.info);
}

}  // namespace qz
