#pragma once
// A limit line: a horizontal reference line at a value of the vertical axis.

#include <cstdint>
#include <optional>

#include "charts/charttypes.h"
#include "charts/pen.h"

namespace qz {

class TOs;

// The settings a limit line is made from.
struct TLimData {
  double Va = 0.15;       // value
  int32_t St = psDot;     // pen style; 1..5 kept, anything else solid
  int32_t Wi = 1;         // pen width
  TColor Co = clFuchsia;  // pen colour
};

class TLimLine {
 public:
  TLimLine() { Defaults(); }
  explicit TLimLine(const TLimData& settings) {
    Defaults();
    Nastav(settings);
  }

  // Magenta dotted pen of width 1 in copy mode, value 0.15.
  void Defaults();
  void Nastav(const TLimData& settings);

  // The line across the horizontal span xStart .. xStop + 1 at the vertical axis pixel of Value
  // (of its log10 on a logarithmic axis); nothing when the pen is clear.
  std::optional<TSegment> Segment(const TOs& yAxis, int32_t xStart, int32_t xStop) const;

  TPen Pen;
  double Value = 0.15;
};

}  // namespace qz
