#include "charts/os.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "charts/logtable.h"
#include "charts/rangefinder.h"
#include "util/format.h"
#include "util/numtext.h"
#include "util/numutil.h"
#include "util/unitconv.h"

namespace qz {

namespace {
// Relative tolerance of the comparison of logarithmic divisions with the axis ends.
constexpr double kLogDivisionTol = 1e-12;
}  // namespace

TOs::TOs(const TOsData& settings) {
  Nastav(settings);
  Stp.Data.LastMin = Stp.Data.MinAsk;
  Stp.Data.LastMax = Stp.Data.MaxAsk;
}

void TOs::FindParams(const TRectI& chart, const TTextMetrics& metrics) {
  chart_ = chart;
  SetRect(chart);
  FindRange();
  if (Stp.Data.Blin) {
    MakeLinDivisions();
  } else {
    MakeLogDivisions();
  }
  PlaceLabels(metrics);
}

void TOs::FindParamsFixed(const TRectI& chart, double lo, double hi, double step,
                          const TTextMetrics& metrics) {
  chart_ = chart;
  SetRect(chart);
  Stp.Data.Blin = true;
  Stp.Data.Bshort = false;
  Min = MinLin = lo;
  Max = MaxLin = hi;
  D = step;
  Min1 = lo + step;
  Max1 = hi - step;
  FindGtr();
  MakeLinDivisions();
  PlaceLabels(metrics);
}

void TOs::FindRange() {
  TOsData& s = Stp.Data;
  double lo = s.UseDflt ? s.MinDflt : s.MinAsk;
  double hi = s.UseDflt ? s.MaxDflt : s.MaxAsk;
  // An end that is not a number cannot be drawn: the other end stands for it, and the range is
  // then widened like any range without a span.
  if (!std::isfinite(lo)) lo = std::isfinite(hi) ? hi : 0.0;
  if (!std::isfinite(hi)) hi = lo;
  // A reversed request (a damaged setup, an empty point axis) is taken in order.
  if (lo > hi) std::swap(lo, hi);
  // A logarithmic axis cannot show zero or negative values: it becomes linear for good.
  if (!s.Blin && lo <= 0) s.Blin = true;

  if (!s.Blin) {
    const TLogRange r = s.Bfine ? FindLogFineRange(lo, hi) : FindLogDecadeRange(lo, hi);
    Min = r.min;
    Max = r.max;
    Min1 = r.min1;
    Max1 = r.max1;
  } else {
    const int64_t span = std::llabs(int64_t(Gstop) - int64_t(Gstart));
    const int64_t n = span / std::max<int32_t>(1, MinDiviPixels);
    const int32_t wanted = ClampLowWins(int32_t(std::min<int64_t>(n, kPixelLimit)), 2, NdivWanted);
    const TLinRange r = FindLinRange(lo, hi, wanted);
    lo = r.lo;
    hi = r.hi;
    D = r.step;
    Min = r.min;
    Max = r.max;
    Min1 = r.min1;
    Max1 = r.max1;
  }
  MinLin = s.Bcele ? Min : lo;
  MaxLin = s.Bcele ? Max : hi;
  // Equal ends have no span to map onto the pixels: the rounded ends stand for them.
  if (!(MaxLin > MinLin)) {
    MinLin = Min;
    MaxLin = Max;
  }
  if (!s.Blin) {
    MinLin = std::log10(MinLin);
    MaxLin = std::log10(MaxLin);
  }
  FindGtr();
}

void TOs::FindGtr() {
  const double span = MaxLin - MinLin;
  gtrFlat_ = Gstop == Gstart || !(span != 0.0) || !std::isfinite(span);
  if (gtrFlat_) {
    Gmult = 0.0;
    Gshift = MinLin;
    return;
  }
  Gmult = (double(Gstop) - double(Gstart)) / span;
  Gshift = MinLin - double(Gstart) / Gmult;
}

int32_t TOs::Gtr(double v) const {
  // Values that cannot be mapped land outside every chart.
  if (std::isnan(v) || v == -INFINITY) return -kPixelLimit;
  if (v == INFINITY) return kPixelLimit;
  if (gtrFlat_) return Gstart;
  const double p = ClampLowWins((v - Gshift) * Gmult, -double(kPixelLimit), double(kPixelLimit));
  return RoundToInt32(p);
}

void TOs::MakeLinDivisions() {
  const double steps = D > 0 ? RoundHalfEven((Max - Min) / D) : 0.0;
  Nd = ClampLowWins(int32_t(ClampLowWins(steps, 0.0, 1000.0)) + 1, 2, kMaxDivisions);
  for (int32_t i = 0; i < Nd; ++i) {
    if (i == 0) {
      Dval[0] = MinLin;
      Dpos[0] = Gstart;
    } else if (i == Nd - 1) {
      Dval[size_t(i)] = MaxLin;
      Dpos[size_t(i)] = Gstop;
    } else {
      Dval[size_t(i)] = Min + i * D;
      Dpos[size_t(i)] = Gtr(Dval[size_t(i)]);
    }
    // Seven significant digits, and values that are only rounding noise around zero read "0".
    LblTxt[size_t(i)] = FloatToText(RoundSignificant(7, D / 10000.0, Dval[size_t(i)]), DecSep);
    LblChosen[size_t(i)] = true;
    LblShow[size_t(i)] = true;
  }
}

void TOs::MakeLogDivisions() {
  const auto& L = LogTable();
  int32_t k0 = TruncToInt32(MinLin);
  if (MinLin < 1) k0 -= 1;
  const int32_t kEnd = TruncToInt32(MaxLin);

  Nd = 1;
  Dval[0] = MinLin;
  Dpos[0] = Gstart;
  LblTxt[0] = NumberText(6, Pow10(MinLin));
  LblChosen[0] = true;
  double lastPos = MinLin;
  // A division is built as k + log10(m) and the ends as log10 of the rounded value; the two
  // forms of one number may differ in the last bit (-1 + log10(5) against log10(0.5)), so they
  // are compared with a tolerance far below a pixel: the start never gets a second division.
  const double tolLo = kLogDivisionTol * std::max(1.0, std::fabs(MinLin));
  const double tolHi = kLogDivisionTol * std::max(1.0, std::fabs(MaxLin));
  for (int32_t k = k0; k <= kEnd && Nd < kMaxDivisions; ++k) {
    for (int32_t m = 2; m <= 10 && Nd < kMaxDivisions; ++m) {
      const double pos = k + L[size_t(m)];
      if (!(pos > MinLin + tolLo && pos <= MaxLin + tolHi)) continue;
      if (!Stp.Data.Bfine && m != 10) continue;
      const size_t i = size_t(Nd++);
      Dpos[i] = Gtr(pos);
      Dval[i] = m == 10 ? Pow10(pos) : double(m);
      LblTxt[i] = NumberText(6, Pow10(pos));
      LblChosen[i] = m == 2 || m == 3 || m == 4 || m == 6 || m == 10;
      lastPos = pos;
    }
  }
  if (Nd > 1) Dval[size_t(Nd - 1)] = Pow10(lastPos);
  const QString endTxt = NumberText(6, Pow10(MaxLin));
  if (endTxt != LblTxt[size_t(Nd - 1)] && Nd < kMaxDivisions) {
    const size_t i = size_t(Nd++);
    Dpos[i] = Gtr(MaxLin);
    Dval[i] = Pow10(MaxLin);
    LblTxt[i] = endTxt;
  }
  LblChosen[size_t(Nd - 1)] = true;
  for (int32_t i = 0; i < Nd; ++i) LblShow[size_t(i)] = LblChosen[size_t(i)];
}

std::vector<TPlacedText> TOs::Labels() const {
  std::vector<TPlacedText> out;
  for (int32_t i = 0; i < Nd; ++i)
    if (LblShow[size_t(i)]) out.push_back(TPlacedText{LblTxt[size_t(i)], LblPos[size_t(i)]});
  if (!Title.isEmpty()) out.push_back(TPlacedText{Title, NamePos});
  return out;
}

void TOs::ClrGrBuf() {
  for (auto& b : g0) b.clear();
}

void TOs::TreatUnit(int32_t n, const TUnits& units) {
  const int32_t count = ClampLowWins(units.Pocet, 1, kMaxUnits);
  n = ClampLowWins(n, 0, count - 1);
  Stp.Data.Nunit = n;
  Stp.Data.Nasob = units.Prevod[size_t(n)];
  Stp.Data.Jedn = units.Nazov[size_t(n)];
}

QString TOs::GetBoundsStr() const {
  return FullNumberText(Stp.Data.MinAsk) + " to " + FullNumberText(Stp.Data.MaxAsk);
}

// ---- horizontal axis ------------------------------------------------------------------------

void TOsX::SetRect(const TRectI& chart) {
  SetGlimits(chart.left, chart.right);
  TickStart = chart.bottom;
  TickEnd = chart.top;
}

void TOsX::PlaceLabels(const TTextMetrics& metrics) {
  std::array<int32_t, kMaxDivisions> w{};
  for (int32_t i = 0; i < Nd; ++i) {
    const size_t k = size_t(i);
    w[k] = metrics.TextWidth(LblTxt[k]);
    const int32_t h = metrics.TextHeight(LblTxt[k]);
    LblPos[k] = TPt{Dpos[k] - w[k] / 2, chart_.bottom + h / 2};
  }
  if (Nd <= 0) return;
  const int32_t last = Nd - 1;
  const int32_t lastX = LblPos[size_t(last)].x;
  LblShow[0] = true;
  LblShow[size_t(last)] = true;
  for (int32_t i = 1; i < last; ++i) {
    const size_t k = size_t(i);
    const TPt prev = LblPos[k - 1];
    const bool clearOfPrev = !LblShow[k - 1] || prev.x + w[k - 1] + 5 < LblPos[k].x;
    const bool clearOfLast = LblPos[k].x + w[k] + 5 < lastX;
    LblShow[k] = LblChosen[k] && clearOfPrev && clearOfLast;
  }
}

void TOsX::PlaceTitle(const TTextMetrics& metrics) {
  const int32_t w = metrics.TextWidth(Title);
  const int32_t h = metrics.TextHeight(Title);
  const int32_t labelTop = chart_.bottom + h / 2;
  NamePos = TPt{(Gstart + Gstop) / 2 - w / 2, labelTop + h + 2};
}

std::vector<TSegment> TOsX::Ticks() const {
  std::vector<TSegment> out;
  for (int32_t i = 0; i < Nd; ++i) {
    const int32_t p = Dpos[size_t(i)];
    if (Stp.Data.Bshort) {
      out.push_back(TSegment{p, TickStart, p, TickStart - Tick - 1});
      out.push_back(TSegment{p, TickEnd, p, TickEnd + Tick + 1});
    } else {
      out.push_back(TSegment{p, TickStart, p, TickEnd - 1});
    }
  }
  return out;
}

// ---- vertical axis --------------------------------------------------------------------------

void TOsY::SetRect(const TRectI& chart) {
  SetGlimits(chart.bottom, chart.top);
  TickStart = chart.left;
  TickEnd = chart.right;
}

void TOsY::PlaceLabels(const TTextMetrics& metrics) {
  std::array<int32_t, kMaxDivisions> h{};
  for (int32_t i = 0; i < Nd; ++i) {
    const size_t k = size_t(i);
    const int32_t w = metrics.TextWidth(LblTxt[k]);
    h[k] = metrics.TextHeight(LblTxt[k]);
    LblPos[k] = TPt{std::max(0, chart_.left - 5 - w), Dpos[k] - h[k] / 2};
  }
  if (Nd <= 0) return;
  const int32_t last = Nd - 1;
  const int32_t lastY = LblPos[size_t(last)].y;
  LblShow[0] = true;
  LblShow[size_t(last)] = true;
  for (int32_t i = 1; i < last; ++i) {
    const size_t k = size_t(i);
    const int32_t y = LblPos[k].y;
    const bool clearOfPrev = !LblShow[k - 1] || y < LblPos[k - 1].y - h[k - 1];
    const bool clearOfLast = lastY < y - h[k];
    LblShow[k] = LblChosen[k] && clearOfPrev && clearOfLast;
  }
}

void TOsY::PlaceTitle(const TTextMetrics& metrics) {
  const int32_t w = metrics.TextWidth(Title);
  const int32_t h = metrics.TextHeight(Title);
  NamePos = TPt{std::max(1, chart_.left - w), chart_.top - (3 * h) / 2 - 2};
}

std::vector<TSegment> TOsY::Ticks() const {
  std::vector<TSegment> out;
  for (int32_t i = 0; i < Nd; ++i) {
    const int32_t p = Dpos[size_t(i)];
    if (Stp.Data.Bshort) {
      out.push_back(TSegment{TickStart, p, TickStart + Tick, p});
      out.push_back(TSegment{TickEnd, p, TickEnd - Tick, p});
    } else {
      out.push_back(TSegment{TickStart, p, TickEnd, p});
    }
  }
  return out;
}

void MakeRectAxisTitles(TOsX& ox, TOsY& oy) {
  const TOsData& x = ox.Stp.Data;
  const TOsData& y = oy.Stp.Data;
  ox.Title = y.Meno + " vs " + x.Meno;
  if (!x.Jedn.isEmpty()) ox.Title += " (" + x.Jedn + ")";
  oy.Title = y.Jedn.isEmpty() ? y.Meno : y.Jedn;
}

}  // namespace qz
