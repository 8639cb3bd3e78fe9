#include "results/logforecast.h"

#include <QFileInfo>
#include <QStorageInfo>
#include <algorithm>
#include <cmath>

#include "util/format.h"
#include "util/numtext.h"

namespace qz {

namespace {

// x rounded to three significant digits.
double ThreeDigits(double x) {
  if (x <= 0.0 || !std::isfinite(x)) return x;
  const double scale = std::pow(10.0, std::floor(std::log10(x)) - 2.0);
  return std::round(x / scale) * scale;
}

}  // namespace

QString LogSizeText(double bytes) {
  if (!std::isfinite(bytes) || bytes < 0.0) bytes = 0.0;
  if (bytes < 1000.0) return Format(QStringLiteral("%1.0f bytes"), {bytes});
  struct TUnit {
    double size;
    const char* name;
  };
  static const TUnit units[] = {{1e9, " GB"}, {1e6, " MB"}, {1e3, " kB"}};
  for (const TUnit& u : units) {
    const double v = ThreeDigits(bytes / u.size);
    // 999 500 bytes round to 1000 kB: written as 1 MB.
    if (v >= 1.0 || u.size == 1e3) return NumberText3(v) + QString::fromLatin1(u.name);
  }
  return QString();
}

std::optional<int64_t> LogFreeBytes(const QString& path) {
  const QStorageInfo info(QFileInfo(path).absolutePath());
  if (!info.isValid() || !info.isReady() || info.bytesAvailable() < 0) return std::nullopt;
  return info.bytesAvailable();
}

QString LogRateText(double perSecond) {
  if (!std::isfinite(perSecond) || perSecond < 0.0) perSecond = 0.0;
  if (perSecond >= 100.0) return Format(QStringLiteral("%1.0f"), {perSecond});
  return NumberText3(ThreeDigits(perSecond));
}

double LogLineRate(double runRate, const TLogApplied& a) {
  double rate = std::isfinite(runRate) && runRate > 0.0 ? runRate : 0.0;
  if (!a.contSampling && a.samplIntervMs > 0)
    rate = std::min(rate, double(std::max(a.logSamples, 1)) * 1000.0 / double(a.samplIntervMs));
  return rate;
}

TLogForecast LogFileForecast(const TLogForecastIn& in) {
  TLogForecast f;
  const QString free =
      in.freeBytes ? LogSizeText(double(*in.freeBytes)) : QStringLiteral("unknown");
  f.text = QStringLiteral("Free ") + free + QStringLiteral(", ");
  if (!in.runRate) {
    f.text += QString::fromLatin1(kLogRateUnknown);
    return f;
  }
  const TLogApplied& a = in.applied;
  const double rate = LogLineRate(*in.runRate, a);
  f.rate = rate;
  const double perMinute = rate * 60.0 * double(std::max<int64_t>(in.lineBytes, 0));
  f.text += QStringLiteral("about ") + LogSizeText(perMinute) + QStringLiteral(" per minute at ") +
            LogRateText(rate) + QStringLiteral(" records/s");
  if (!in.freeBytes || perMinute <= 0.0) return f;
  const double room = double(std::max<int64_t>(*in.freeBytes, 0));
  f.fullInMin = room / perMinute;
  // The lines the log writes before one of its limits ends it.
  std::optional<double> lines;
  if (a.maxRecordNumber > 0)
    lines = double(a.maxRecordNumber) * double(a.contSampling ? 1 : std::max(a.logSamples, 1));
  if (a.durationDays > 0.0) {
    const double byTime = a.durationDays * 86400.0 * rate;
    lines = lines ? std::min(*lines, byTime) : byTime;
  }
  f.warn = lines ? *lines * double(in.lineBytes) > room : *f.fullInMin < kLogWarnMinutes;
  if (f.warn)
    f.text += Format(QStringLiteral("; full in about %d min"),
                     {int64_t(std::max(1.0, std::round(*f.fullInMin)))});
  return f;
}

}  // namespace qz
