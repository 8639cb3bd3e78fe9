#include "util/numutil.h"

#include <cmath>
#include <limits>

namespace qz {

double RoundHalfEven(double x) {
  if (!std::isfinite(x)) return x;
  // nearbyint rounds to even in the default rounding mode; make the mode explicit by
  // computing it from floor so that a changed FP environment cannot alter the result.
  const double f = std::floor(x);
  const double diff = x - f;  // exact for doubles: 0 <= diff < 1
  if (diff < 0.5) return f;
  if (diff > 0.5) return f + 1.0;
  // f is an integer, so f / 2 is exact: f is even when halving it leaves an integer.
  const double half = f * 0.5;
  return std::floor(half) == half ? f : f + 1.0;
}

double ClampLowWins(double x, double lo, double hi) {
  if (std::isnan(x)) return lo;
  if (x > hi) x = hi;
  if (x < lo) x = lo;
  return x;
}

int64_t ClampLowWins(int64_t x, int64_t lo, int64_t hi) {
  if (x > hi) x = hi;
  if (x < lo) x = lo;
  return x;
}

int32_t ClampLowWins(int32_t x, int32_t lo, int32_t hi) {
  if (x > hi) x = hi;
  if (x < lo) x = lo;
  return x;
}

int32_t SafeToInt32(double x) {
  if (std::isnan(x)) return 0;
  if (x >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (x <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(x);
}

int64_t SafeToInt64(double x) {
  if (std::isnan(x)) return 0;
  // 2^63 is exactly representable; anything at or above it does not fit.
  if (x >= 9223372036854775808.0) return std::numeric_limits<int64_t>::max();
  if (x <= -9223372036854775808.0) return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(x);
}

uint32_t SafeToUInt32(double x) {
  if (std::isnan(x) || x <= 0.0) return 0;
  if (x >= 4294967295.0) return std::numeric_limits<uint32_t>::max();
  return static_cast<uint32_t>(x);
}

int32_t RoundToInt32(double x) { return SafeToInt32(RoundHalfEven(x)); }
int64_t RoundToInt64(double x) { return SafeToInt64(RoundHalfEven(x)); }
int32_t TruncToInt32(double x) { return SafeToInt32(std::trunc(x)); }

}  // namespace qz
