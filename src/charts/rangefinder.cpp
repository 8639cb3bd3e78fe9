#include "charts/rangefinder.h"

#include <cmath>
#include <utility>

#include "charts/logtable.h"
#include "util/numutil.h"
#include "util/unitconv.h"

namespace qz {

namespace {

struct TGrid {
  double start = 0.0;
  double end = 0.0;
  double min1 = 0.0;
  double max1 = 0.0;
  int32_t count = 0;
};

// The multiples of t that cover lo..hi: ends on whole steps, an end within a thousandth of the
// span of the request counting as lying on it.
TGrid MakeGrid(double lo, double hi, double t) {
  const double eps = (hi - lo) / 1000.0;
  const double a = std::ceil(lo / t) * t;
  const double b = std::floor(hi / t) * t;
  TGrid g;
  if (a - lo <= eps) {
    g.start = a;
    g.min1 = a + t;
  } else {
    g.start = a - t;
    g.min1 = a;
  }
  if (hi - b <= eps) {
    g.end = b;
    g.max1 = b - t;
  } else {
    g.end = b + t;
    g.max1 = b;
  }
  g.count = RoundToInt32((g.end - g.start) / t);
  return g;
}

// Decade exponent and fraction of log10(v): the floor, except that an exact negative power of ten
// counts as ten times the decade below it (fraction 1).
void SplitDecade(double v, int32_t& k, double& f) {
  const double x = std::log10(v);
  k = TruncToInt32(x);
  if (x < 0) k -= 1;
  f = x - k;
}

}  // namespace

TLinSteps FindLinSteps(double lo, double hi, int32_t n) {
  if (n < 1) n = 1;
  const double s = (hi - lo) / n * 1.05;
  TLinSteps r;
  if (!(s > 0) || !std::isfinite(s)) return r;
  int32_t ex = RoundToInt32(std::log10(s));
  double p = Pow10(ex);
  int32_t d = TruncToInt32(s / p);
  // The loop moves p by whole decades until the leading digit is 1..9; the bound only guards
  // against a step that the double range cannot express.
  for (int guard = 0; (d < 1 || d > 9) && guard < 40; ++guard) {
    ex += d < 1 ? -1 : 1;
    p = Pow10(ex);
    d = TruncToInt32(s / p);
  }
  if (d <= 1) {
    r = TLinSteps{2 * p, p};
  } else if (d <= 4) {
    r = TLinSteps{5 * p, 2 * p};
  } else {
    r = TLinSteps{10 * p, 5 * p};
  }
  return r;
}

TLinRange FindLinRange(double lo, double hi, int32_t n) {
  if (lo > hi) std::swap(lo, hi);
  if (std::abs(lo) + std::abs(hi - lo) / 10.0 == std::abs(lo)) {
    if (std::abs(lo) < 0.5) {
      lo = -1.0;
      hi = 1.0;
    } else {
      hi = 1.5 * lo;
      lo = 0.5 * lo;
      if (lo > hi) std::swap(lo, hi);
    }
  }
  const TLinSteps st = FindLinSteps(lo, hi, n);
  TGrid g = MakeGrid(lo, hi, st.coarse);
  double step = st.coarse;
  const TGrid fine = MakeGrid(lo, hi, st.fine);
  if (fine.count <= n) {
    g = fine;
    step = st.fine;
  }
  TLinRange r;
  r.lo = lo;
  r.hi = hi;
  r.step = step;
  r.min = g.start;
  r.max = g.end;
  r.min1 = g.min1;
  r.max1 = g.max1;
  r.count = g.count;
  return r;
}

TLogRange FindLogDecadeRange(double lo, double hi) {
  const double e = std::log10(hi / lo) / 1000.0;
  TLogRange r;
  // Smallest decade not below lo, and the decade under it.
  int32_t km = TruncToInt32(std::log10(lo)) - 1;
  for (int guard = 0; lo > Pow10(km) && guard < 700; ++guard) ++km;
  r.min1 = Pow10(km);
  r.min = Pow10(km - 1);
  // Largest decade not above hi, and the decade over it.
  int32_t kx = TruncToInt32(std::log10(hi)) + 1;
  for (int guard = 0; hi < Pow10(kx) && guard < 700; ++guard) --kx;
  r.max1 = Pow10(kx);
  r.max = Pow10(kx + 1);
  if (std::log10(r.min1 / lo) < e) {
    r.min = r.min1;
    r.min1 = Pow10(km + 1);
  }
  if (std::log10(hi / r.max1) < e) {
    r.max = r.max1;
    r.max1 = Pow10(kx - 1);
  }
  return r;
}

TLogRange FindLogFineRange(double lo, double hi) {
  const auto& L = LogTable();
  const double e = std::log10(hi / lo) / 1000.0;
  TLogRange r;

  int32_t k = 0;
  double f = 0.0;
  SplitDecade(lo, k, f);
  int32_t i = 10;
  for (int32_t c = 1; c <= 10; ++c) {
    if (L[size_t(c)] > f) {
      i = c;
      break;
    }
  }
  const double pk = Pow10(k);
  r.min1 = i * pk;
  r.min = (i - 1) * pk;
  if (L[size_t(i)] - f < e) {  // lo sits just below a division: start on it
    if (i < 10) {
      r.min1 = (i + 1) * pk;
      r.min = i * pk;
    } else {
      r.min = 10 * pk;
      r.min1 = 20 * pk;
    }
  }

  SplitDecade(hi, k, f);
  int32_t j = 1;
  for (int32_t c = 10; c >= 1; --c) {
    if (L[size_t(c)] <= f) {
      j = c;
      break;
    }
  }
  const double px = Pow10(k);
  r.max1 = j * px;
  r.max = (j + 1) * px;
  if (f - L[size_t(j)] < e) {  // hi sits just above a division: end on it
    if (j > 1) {
      r.max1 = (j - 1) * px;
      r.max = j * px;
    } else {
      r.max = px;
      r.max1 = 0.9 * px;
    }
  }
  return r;
}

}  // namespace qz
