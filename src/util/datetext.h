#pragma once
// Date and time texts and the day-number form of date-time values.
//
// Month names come from a fixed English table, never from the locale, so texts written to files
// and shown on screen look the same on every machine.

#include <QDateTime>
#include <QString>

namespace qz {

// "Jan" .. "Dec".
extern const char* const kMonthAbbrev[12];

// The date-time text in one of three styles (0, 1, 2); other styles give style 0.
QString DateTimeText(int style, const QDateTime& t);

// The modification date-time of a file as shown in file lists; "" when the file is missing.
QString FileDateText(const QString& path);

// The date (and time) part added to file names so that successive files do not collide.
QString FileStampSuffix(bool withSeconds, const QDateTime& t);

// A date-time as a count of days since 30 December 1899 00:00 local time; the fraction is the
// time of day. Values before that day are negative. A time that carries a fixed offset from UTC
// (UTC itself included; LocalWallClock gives such times) counts by its own date and time; a
// local or time-zone time is taken in local time.
double DateTimeToDays(const QDateTime& t);

// The local date and time for clocks read at every frame: asking the system for the local time
// re-reads the time-zone data each time, so the offset from UTC is taken once and asked again at
// most once a second (a change of daylight-saving time shows within that second). The result
// carries that offset, so its date and time are the local ones and its instant is exact.
class LocalWallClock {
 public:
  QDateTime Now();

 private:
  qint64 recheckAtMs_ = 0;  // UTC milliseconds when the offset is taken again
  int offsetS_ = 0;
};
// The inverse of DateTimeToDays; a non-finite value gives an invalid QDateTime.
QDateTime DaysToDateTime(double days);

}  // namespace qz
