#pragma once
// The small pictures of the attribute and pen dialogs, drawn on any canvas: the preview of a
// trace's look or of a pen, and the grid of marker shapes to choose from.

#include <cstdint>
#include <vector>

#include "charts/canvas.h"
#include "charts/drawattrib.h"

namespace qz {

// Where a preview of w x h pixels draws: the line from a tenth of the width to the width minus
// a tenth at mid-height, and the marker points at three quarters, a half and a quarter.
struct TPreviewPlan {
  bool line = false;
  TPt from, to;
  std::vector<TPt> markers;  // drawn with the marker's pens
  std::vector<TPt> pixels;   // single pixels in the line colour
};
TPreviewPlan AttrPreviewPlan(const TDrawAttrib& a, int32_t w, int32_t h);

// The preview of a trace's attributes on a cleared canvas of w x h in `background`.
void DrawAttrPreview(TCanvas& canvas, const TDrawAttrib& a, int32_t w, int32_t h,
                     TColor background);
// The preview of a pen: cleared, and unless the pen is clear the line of the plan above.
void DrawPenPreview(TCanvas& canvas, const TPen& pen, int32_t w, int32_t h, TColor background);
// The shape grid: shapes 0..10 at half-size 3 in blue, one per cell, the cell of `current`
// framed in black, the last cell empty.
inline constexpr int32_t kGridDotSize = 3;
void DrawShapeGrid(TCanvas& canvas, int32_t w, int32_t h, int32_t current, TColor background);
// The box of a grid cell (right and bottom outside).
TRectI ShapeCellBox(int32_t cell, int32_t w, int32_t h);

}  // namespace qz
