#include "util/datetext.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <limits>

namespace qz {
namespace {

QDateTime At(int y, int mo, int d, int h, int mi, int s, int ms = 0) {
  return QDateTime(QDate(y, mo, d), QTime(h, mi, s, ms));
}

TEST(DateText, MonthNamesAreTheFixedEnglishTable) {
  const char* want[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  for (int i = 0; i < 12; ++i) {
    EXPECT_STREQ(kMonthAbbrev[i], want[i]);
    EXPECT_EQ(DateTimeText(2, At(2026, i + 1, 1, 0, 0, 0)),
              QStringLiteral("01-%1-2026 00:00").arg(QString::fromLatin1(want[i])));
  }
}

TEST(DateText, DateTimeTextStyles) {
  struct Case {
    int style;
    QDateTime t;
    const char* text;
  } cases[] = {
      {0, At(2026, 12, 8, 14, 5, 2), "08-Dec-2026 14:05:02"},
      {1, At(2026, 12, 8, 14, 5, 2), "08.12.2026 14:05:02"},
      {2, At(2026, 12, 8, 14, 5, 2), "08-Dec-2026 14:05"},
      {0, At(2027, 1, 31, 9, 0, 0), "31-Jan-2027 09:00:00"},
      {1, At(987, 3, 4, 23, 59, 59), "04.03.0987 23:59:59"},
      {7, At(2026, 12, 8, 14, 5, 2), "08-Dec-2026 14:05:02"},  // unknown style: style 0
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DateTimeText(c.style, c.t), QString::fromLatin1(c.text)) << c.style;
  }
}

TEST(DateText, FileStampSuffix) {
  EXPECT_EQ(FileStampSuffix(true, At(2026, 12, 8, 14, 5, 2)), QStringLiteral("_261208_140502"));
  EXPECT_EQ(FileStampSuffix(false, At(2026, 12, 8, 14, 5, 2)), QStringLiteral("_261208_1405"));
  EXPECT_EQ(FileStampSuffix(true, At(2005, 1, 2, 3, 4, 5)), QStringLiteral("_050102_030405"));
}

TEST(DateText, FileDateTextShowsTheModificationTime) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(QStringLiteral("a.txt"));
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("x");
  ASSERT_TRUE(f.flush());  // a later flush would move the time again
  ASSERT_TRUE(f.setFileTime(At(2026, 12, 8, 14, 5, 2), QFileDevice::FileModificationTime));
  f.close();
  EXPECT_EQ(FileDateText(path), QStringLiteral("08-Dec-2026 14:05:02"));
  EXPECT_EQ(FileDateText(dir.filePath(QStringLiteral("missing.txt"))), QString());
  EXPECT_EQ(FileDateText(QString()), QString());
}

TEST(DateText, DayCountsStartOn30December1899) {
  struct Case {
    QDateTime t;
    double days;
  } cases[] = {
      {At(1899, 12, 30, 0, 0, 0), 0.0},
      {At(1899, 12, 31, 12, 0, 0), 1.5},
      {At(1900, 1, 1, 0, 0, 0), 2.0},
      {At(2000, 1, 1, 0, 0, 0), 36526.0},
      {At(2026, 12, 8, 14, 5, 2), 46364.0 + 50702.0 / 86400.0},
      {At(1899, 12, 29, 6, 0, 0), -1.25},  // whole days backwards, time of day forwards
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(DateTimeToDays(c.t), c.days, 1e-9) << c.t.toString().toStdString();
    EXPECT_EQ(DaysToDateTime(c.days), c.t) << c.days;
  }
}

TEST(DateText, DaysToDateTimeRoundsToTheMillisecondAndRejectsNonFinite) {
  EXPECT_EQ(DaysToDateTime(1.0 - 1e-12), At(1899, 12, 31, 0, 0, 0));
  EXPECT_EQ(DaysToDateTime(-0.5), At(1899, 12, 30, 12, 0, 0));
  EXPECT_EQ(DaysToDateTime(2.0 + 0.0016 / 86400.0), At(1900, 1, 1, 0, 0, 0, 2));
  EXPECT_FALSE(DaysToDateTime(std::numeric_limits<double>::quiet_NaN()).isValid());
  EXPECT_FALSE(DaysToDateTime(std::numeric_limits<double>::infinity()).isValid());
}

// The wall clock of frames and log records gives the local date and time and the exact instant,
// and counts the same day number as the local time itself.
TEST(DateText, LocalWallClockMatchesTheLocalTime) {
  LocalWallClock clock;
  for (int i = 0; i < 3; ++i) {
    const QDateTime before = QDateTime::currentDateTime();
    const QDateTime now = clock.Now();
    const QDateTime after = QDateTime::currentDateTime();
    EXPECT_GE(now, before);
    EXPECT_LE(now, after);
    EXPECT_EQ(now.offsetFromUtc(), before.offsetFromUtc());
    EXPECT_NEAR(DateTimeToDays(now), DateTimeToDays(before), 1.0 / 86400.0);
    EXPECT_EQ(now.toLocalTime().date(), now.date());
    EXPECT_EQ(now.toLocalTime().time(), now.time());
  }
  // A time with its own offset counts by its own date and time.
  const QDateTime fixed(QDate(1900, 1, 1), QTime(6, 0), Qt::OffsetFromUTC, 5 * 3600);
  EXPECT_DOUBLE_EQ(DateTimeToDays(fixed), 2.25);
  EXPECT_DOUBLE_EQ(DateTimeToDays(QDateTime(QDate(1900, 1, 1), QTime(18, 0), Qt::UTC)), 2.75);
}

}  // namespace
}  // namespace qz
