#include "util/datetext.h"

#include <QFileInfo>
#include <cmath>

#include "util/format.h"
#include "util/numutil.h"

namespace qz {

const char* const kMonthAbbrev[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

namespace {

constexpr double kMsPerDay = 86400000.0;

QDate DayZero() { return QDate(1899, 12, 30); }

QString MonthAbbrev(int month) {
  if (month < 1 || month > 12) return QString();
  return QString::fromLatin1(kMonthAbbrev[month - 1]);
}

}  // namespace

QString DateTimeText(int style, const QDateTime& t) {
  const QDate d = t.date();
  const QTime tm = t.time();
  switch (style) {
    case 1:
      return Format(QStringLiteral("%2.2d.%2.2d.%4.4d %2.2d:%2.2d:%2.2d"),
                    {d.day(), d.month(), d.year(), tm.hour(), tm.minute(), tm.second()});
    case 2:
      return Format(QStringLiteral("%2.2d-%s-%4.4d %2.2d:%2.2d"),
                    {d.day(), MonthAbbrev(d.month()), d.year(), tm.hour(), tm.minute()});
    default:
      return Format(
          QStringLiteral("%2.2d-%s-%4.4d %2.2d:%2.2d:%2.2d"),
          {d.day(), MonthAbbrev(d.month()), d.year(), tm.hour(), tm.minute(), tm.second()});
  }
}

QString FileDateText(const QString& path) {
  const QFileInfo fi(path);
  if (path.isEmpty() || !fi.exists()) return QString();
  return DateTimeText(0, fi.lastModified());
}

QString FileStampSuffix(bool withSeconds, const QDateTime& t) {
  const QDate d = t.date();
  const QTime tm = t.time();
  const QString yy = Format(QStringLiteral("%4.4d"), {d.year()}).mid(2, 2);
  if (withSeconds) {
    return Format(QStringLiteral("_%s%.2d%.2d_%.2d%.2d%.2d"),
                  {yy, d.month(), d.day(), tm.hour(), tm.minute(), tm.second()});
  }
  return Format(QStringLiteral("_%s%.2d%.2d_%.2d%.2d"),
                {yy, d.month(), d.day(), tm.hour(), tm.minute()});
}

double DateTimeToDays(const QDateTime& t) {
  if (!t.isValid()) return 0.0;
  const bool ownOffset = t.timeSpec() == Qt::OffsetFromUTC || t.timeSpec() == Qt::UTC;
  const QDateTime local = ownOffset ? t : t.toLocalTime();
  const double day = double(DayZero().daysTo(local.date()));
  const double frac = double(local.time().msecsSinceStartOfDay()) / kMsPerDay;
  // Before day zero the whole part counts backwards while the fraction is still the time of
  // day, so -1.25 is 29 December 1899 06:00.
  return day >= 0.0 ? day + frac : day - frac;
}

QDateTime LocalWallClock::Now() {
  const qint64 utcMs = QDateTime::currentMSecsSinceEpoch();
  if (utcMs >= recheckAtMs_ || utcMs < recheckAtMs_ - 1000) {
    offsetS_ = QDateTime::fromMSecsSinceEpoch(utcMs).offsetFromUtc();
    recheckAtMs_ = utcMs + 1000;
  }
  return QDateTime::fromMSecsSinceEpoch(utcMs, Qt::OffsetFromUTC, offsetS_);
}

QDateTime DaysToDateTime(double days) {
  if (!std::isfinite(days) || std::fabs(days) > 1e8) return QDateTime();
  double whole = std::trunc(days);
  int64_t ms = RoundToInt64(std::fabs(days - whole) * kMsPerDay);
  if (ms >= int64_t(kMsPerDay)) {  // rounded up to the next midnight, whatever the sign
    ms = 0;
    whole += 1.0;
  }
  const QDate date = DayZero().addDays(int64_t(whole));
  return QDateTime(date, QTime::fromMSecsSinceStartOfDay(int(ms)));
}

}  // namespace qz
