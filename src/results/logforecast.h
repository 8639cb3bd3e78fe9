#pragma once
// What the logging window tells before and during a log: how much room the disk has, how fast a
// prepared log will grow at the rate of the last run and whether the disk fills before the log's
// limits, and the rate and size of a running log.

#include <QString>
#include <cstdint>
#include <optional>

#include "results/logsettings.h"

namespace qz {

// A size in bytes: below 1000 "N bytes", else rounded to three significant digits and written
// by NumberText3 in " kB", " MB" or " GB" (1 kB = 1000 bytes): 292 800 000 gives "293 MB".
QString LogSizeText(double bytes);
// Records per second: from 100 on a whole number ("40000"), below it three significant digits
// ("0.3", "12.5"); a negative or not finite rate gives "0".
QString LogRateText(double perSecond);

// The room left for a file at path, on the disk of its folder; nothing when it cannot be told.
std::optional<int64_t> LogFreeBytes(const QString& path);

// "unlimited" logs warn when the disk fills within this many minutes.
inline constexpr double kLogWarnMinutes = 60.0;
inline constexpr const char* kLogRateUnknown = "rate known after the first run";

struct TLogForecastIn {
  std::optional<int64_t> freeBytes;  // room on the log's disk; nothing when it cannot be told
  int64_t lineBytes = 0;             // one data line of the latest result, its line end included
  std::optional<double> runRate;     // frames per second of the last run; nothing before one
  TLogApplied applied;               // the log's settings as they would be applied now
};

struct TLogForecast {
  QString text;
  bool warn = false;                // shown in red: the disk fills before the log ends
  std::optional<double> rate;       // data lines per second the forecast assumes
  std::optional<double> fullInMin;  // minutes until the disk is full at that rate
};

// The data lines per second a log writes at a run's frame rate: every result when continuous;
// a timed log its own LogSamples per repetition time when that is less.
double LogLineRate(double runRate, const TLogApplied& a);

// "Free " + size + ", about " + size + " per minute at " + rate + " records/s", followed by
// "; full in about N min" (and warn) when the disk fills before the log's limits (records,
// duration) or, with neither limit, within kLogWarnMinutes. Before a first run: "Free " + size +
// ", " + kLogRateUnknown. Without the free space, "Free" reads "unknown".
TLogForecast LogFileForecast(const TLogForecastIn& in);

}  // namespace qz
