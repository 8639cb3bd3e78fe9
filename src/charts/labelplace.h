#pragma once
// Where chart labels, dragged panels and the caption go: the clamps that keep them inside the
// chart panel, the fractions that keep a label in place proportionally when the panel is
// resized, and the caption's top-left from its anchor.

#include <cstdint>

#include "charts/charttypes.h"
#include "charts/raster.h"

namespace qz {

// A label's left and top as fractions of the panel's client width and height.
struct TLabelFrac {
  double x = 0.0;
  double y = 0.0;
  bool operator==(const TLabelFrac&) const = default;
};

// A label of w x h put at `at` in a panel of cw x ch: left 1 .. cw - w - 2, top 1 .. ch - h - 1
// (the lower bound wins in a panel too small for it).
TPt ClampLabel(TPt at, int32_t w, int32_t h, int32_t cw, int32_t ch);
// A dragged panel: left 1 .. cw - w - 2, top 1 .. ch - h - 2.
TPt ClampPanel(TPt at, int32_t w, int32_t h, int32_t cw, int32_t ch);
// The fractions of a position (0 in an empty panel).
TLabelFrac FractionsOf(TPt pos, int32_t cw, int32_t ch);
// After a resize: the label at its fractions of the new size, clamped as a label. The fractions
// themselves are not changed by the clamp.
TPt RearrangedPos(const TLabelFrac& f, int32_t w, int32_t h, int32_t cw, int32_t ch);
// The caption of w x h at its anchor: centred horizontally; its bottom at the anchor when it
// stands above the chart, its top there when below.
TPt CaptTopLeft(TPt anchor, TCaptUpDn upDn, int32_t w, int32_t h);

}  // namespace qz
