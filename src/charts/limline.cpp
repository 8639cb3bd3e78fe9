#include "charts/limline.h"

#include <cmath>

#include "charts/os.h"

namespace qz {

void TLimLine::Defaults() {
  Pen = TPen{clFuchsia, psDot, 1, pmCopy};
  Value = 0.15;
}

void TLimLine::Nastav(const TLimData& settings) {
  Value = settings.Va;
  Pen.Style = PenStyleFromKey(settings.St);
  Pen.Width = settings.Wi;
  Pen.Color = settings.Co;
}

std::optional<TSegment> TLimLine::Segment(const TOs& yAxis, int32_t xStart, int32_t xStop) const {
  if (Pen.Style == psClear) return std::nullopt;
  // A value of 0 or below has no place on a logarithmic axis; its NaN or -inf logarithm maps
  // outside the chart.
  const double v = yAxis.Stp.Data.Blin ? Value : std::log10(Value);
  const int32_t y = yAxis.Gtr(v);
  return TSegment{xStart, y, xStop + 1, y};
}

}  // namespace qz
