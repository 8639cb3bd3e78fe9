#include "charts/onetrace.h"

#include <cmath>

namespace qz {

namespace {

// First occurrences of the smallest and the largest value win.
TExtent Scan(const std::vector<double>& v) {
  TExtent e;
  if (v.empty()) return e;
  e.min = e.max = v[0];
  e.iMin = e.iMax = 0;
  for (size_t i = 1; i < v.size(); ++i) {
    if (v[i] < e.min) {
      e.min = v[i];
      e.iMin = int32_t(i);
    }
    if (v[i] > e.max) {
      e.max = v[i];
      e.iMax = int32_t(i);
    }
  }
  return e;
}

TExtent Widened(TExtent e) {
  if (!e.Found() || e.min != e.max) return e;
  const double v = e.min;
  if (v >= 0) {
    e.max = 1.5 * v;
    e.min = 0.5 * v;
  } else {
    e.min = 1.5 * v;
    e.max = 0.5 * v;
  }
  if (e.min == 0.0) {
    e.min = -1.0;
    e.max = 1.0;
  }
  return e;
}

}  // namespace

void TOneTrace::Clear() {
  fXval.clear();
  fYval.clear();
}

void TOneTrace::Assign(const TOneTrace& source) {
  if (&source == this) return;
  Title = source.Title;
  fXval = source.fXval;
  fYval = source.fYval;
  fAttr.Assign(source.fAttr);
}

TExtent TOneTrace::MinMaxX() const { return Widened(Scan(fXval)); }

TExtent TOneTrace::MinMaxY() const { return Widened(Scan(fYval)); }

TExtent TOneTrace::MinMaxR() const {
  std::vector<double> r2(fXval.size());
  for (size_t i = 0; i < r2.size(); ++i) r2[i] = fXval[i] * fXval[i] + fYval[i] * fYval[i];
  TExtent e = Scan(r2);
  if (e.Found()) {
    e.min = std::sqrt(e.min);
    e.max = std::sqrt(e.max);
  }
  return e;
}

}  // namespace qz
