// What the logging window forecasts: sizes, rates, the disk filling before the log's limits.

#include <gtest/gtest.h>

#include "results/logforecast.h"

namespace qz {
namespace {

TEST(LogForecast, SizesAndRates) {
  struct Case {
    double bytes;
    const char* text;
  };
  const Case sizes[] = {
      {0, "0 bytes"},
      {999, "999 bytes"},
      {1000, "1 kB"},
      {1500, "1.5 kB"},
      {999499, "999 kB"},
      {999600, "1 MB"},
      {122.0 * 40000 * 60, "293 MB"},
      {12.34e9, "12.3 GB"},
      {2.5e12, "2500 GB"},
  };
  for (const Case& c : sizes)
    EXPECT_EQ(LogSizeText(c.bytes), QString::fromLatin1(c.text)) << c.bytes;
  EXPECT_EQ(LogRateText(40000), QStringLiteral("40000"));
  EXPECT_EQ(LogRateText(107999.6), QStringLiteral("108000"));
  EXPECT_EQ(LogRateText(0.3), QStringLiteral("0.3"));
  EXPECT_EQ(LogRateText(12.47), QStringLiteral("12.5"));
  EXPECT_EQ(LogRateText(-1), QStringLiteral("0"));
}

TLogApplied Limits(int32_t records, double durationS, int32_t intervalMs = 0, int32_t samples = 1) {
  TLogApplied a;
  a.maxRecordNumber = records;
  a.durationDays = durationS / 86400.0;
  a.samplIntervMs = intervalMs;
  a.contSampling = intervalMs == 0;
  a.logSamples = samples;
  return a;
}

// One 122-byte data line at 40 000 records/s: 292.8 MB a minute.
TEST(LogForecast, TheDiskFillingBeforeTheLimitsIsToldInRed) {
  constexpr int64_t k10GB = 10'000'000'000;
  const QString perMinute = QStringLiteral(", about 293 MB per minute at 40000 records/s");
  struct Case {
    const char* what;
    std::optional<int64_t> free;
    std::optional<double> rate;
    TLogApplied limits;
    QString text;
    bool warn;
  };
  const std::vector<Case> cases{
      {"no run yet", k10GB, std::nullopt, Limits(0, 0),
       QStringLiteral("Free 10 GB, rate known after the first run"), false},
      // 1e11 / 292.8e6 = 341.5 minutes: beyond the hour an unlimited log is warned of.
      {"unlimited, room for hours", 100'000'000'000, 40000, Limits(0, 0),
       QStringLiteral("Free 100 GB") + perMinute, false},
      // 1e10 / 292.8e6 = 34.15 minutes.
      {"unlimited, full within the hour", k10GB, 40000, Limits(0, 0),
       QStringLiteral("Free 10 GB") + perMinute + QStringLiteral("; full in about 34 min"), true},
      // 10 000 000 lines of 122 bytes: 1.22 GB.
      {"the records end it first", k10GB, 40000, Limits(10'000'000, 0),
       QStringLiteral("Free 10 GB") + perMinute, false},
      {"the records do not fit", 1'000'000'000, 40000, Limits(10'000'000, 0),
       QStringLiteral("Free 1 GB") + perMinute + QStringLiteral("; full in about 3 min"), true},
      // One hour: 17.6 GB.
      {"the duration does not fit", k10GB, 40000, Limits(0, 3600),
       QStringLiteral("Free 10 GB") + perMinute + QStringLiteral("; full in about 34 min"), true},
      {"the records end it before the duration", k10GB, 40000, Limits(1000, 3600),
       QStringLiteral("Free 10 GB") + perMinute, false},
      // A timed log: 3 results every 10 s, 0.3 lines/s, 2.2 kB a minute.
      {"a timed log's own rate", 1'000'000, 40000, Limits(0, 0, 10000, 3),
       QStringLiteral("Free 1 MB, about 2.2 kB per minute at 0.3 records/s"), false},
      {"room unknown", std::nullopt, 40000, Limits(0, 0),
       QStringLiteral("Free unknown") + perMinute, false},
  };
  for (const Case& c : cases) {
    TLogForecastIn in;
    in.freeBytes = c.free;
    in.lineBytes = 122;
    in.runRate = c.rate;
    in.applied = c.limits;
    const TLogForecast f = LogFileForecast(in);
    EXPECT_EQ(f.text, c.text) << c.what;
    EXPECT_EQ(f.warn, c.warn) << c.what;
  }
}

}  // namespace
}  // namespace qz
