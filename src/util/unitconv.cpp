#include "util/unitconv.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "util/numutil.h"

namespace qz {

double Pow10(double x) { return std::pow(10.0, x); }

double AmplToDb(double x) { return x > 1e-8 ? 20.0 * std::log10(x) : kDbFloor; }

double DbToAmpl(double x) { return std::pow(10.0, x / 20.0); }

double PowRatioToDb(double x) { return x > 1e-16 ? 10.0 * std::log10(x) : kDbFloor; }

double WattToDbm(double x) { return PowRatioToDb(1000.0 * x); }

double RhoToSwr(double m) {
  if (m < 0.9999) return (1.0 + m) / (1.0 - m);
  if (m > 1.0001) return (m + 1.0) / (m - 1.0);
  return kSwrOfTotalReflection;
}

double SwrToRho(double s) {
  if (!(s >= 1.0)) s = 1.0;  // also catches NaN
  if (std::isinf(s)) return 1.0;
  return (s - 1.0) / (s + 1.0);
}

double CelsiusToFahrenheit(double c) { return 1.8 * c + 32.0; }

double GuideWavelength(double fc, double f) {
  const double d = f * f - fc * fc;
  if (!(d > 1e-10)) return -1.0;
  return 299792458.0 / std::sqrt(d);
}

double DaysToSeconds(double d) { return 86400.0 * d; }

double FreqCountToHz(int32_t n) { return FreqStepHz * double(n); }

int32_t HzToFreqCount(double x) {
  if (std::isnan(x)) return 0;
  const double c = ClampLowWins(x / FreqStepHz, -2147483647.0, 2147483647.0);
  return RoundToInt32(c);
}

double RoundSignificant(int digits, double zeroLimit, double x) {
  if (!std::isfinite(x)) return x;
  const double a = std::fabs(x);
  if (a <= std::fabs(zeroLimit)) return 0.0;
  const double n = double(digits) - std::ceil(std::log10(a));
  const double s = std::pow(10.0, n);
  const double scaled = a * s;
  if (!std::isfinite(s) || s == 0.0 || !std::isfinite(scaled)) return x;
  const double r = RoundHalfEven(scaled) / s;
  if (!std::isfinite(r)) return x;
  return std::copysign(r, x);
}

complex ClipMagnitude(const complex& z, double limit) {
  double l = std::isnan(limit) ? kMaxRhoMagnitude : std::fabs(limit);
  if (l > kMaxRhoMagnitude) l = kMaxRhoMagnitude;
  const double m = CAbs(z);
  if (!(m > l)) return z;
  if (std::isinf(m)) return CPolar(l, CArg(z));
  return CScale(z, l / m);
}

TMinMax MinMaxIndex(const TArrD& values, int first, int last) {
  TMinMax r;
  if (values.empty()) return r;
  const int lastIndex =
      int(std::min<size_t>(values.size() - 1, size_t(std::numeric_limits<int>::max())));
  if (first < 0) first = 0;
  if (last > lastIndex) last = lastIndex;
  if (first > lastIndex) return r;
  r.maxIndex = r.minIndex = first;
  r.maxValue = r.minValue = values[size_t(first)];
  for (int i = first + 1; i <= last; ++i) {
    const double v = values[size_t(i)];
    if (v > r.maxValue) {
      r.maxValue = v;
      r.maxIndex = i;
    }
    if (v < r.minValue) {
      r.minValue = v;
      r.minIndex = i;
    }
  }
  return r;
}

TMinMax MinMaxIndex(const TArrD& values) {
  return MinMaxIndex(values, 0, std::numeric_limits<int>::max());
}

}  // namespace qz
