#pragma once
// Painting of an axis and of the limit line on a canvas. The axis must have been laid out first:
// FindParams, then the titles (MakeRectAxisTitles or the chart's own) and PlaceTitle.

#include "charts/canvas.h"
#include "charts/limline.h"
#include "charts/os.h"

namespace qz {

// The tick marks or grid lines of every division in `color`, solid, one pixel wide, copied.
void DrawTicks(const TOs& axis, TCanvas& canvas, TColor color);
// Every shown label and the title in the font colour `color`.
void DrawLabels(const TOs& axis, TCanvas& canvas, TColor color);
// Ticks in the frame colour when the axis has short ticks, else grid lines in the grid colour;
// then the labels in the label colour.
void DrawAxis(const TOs& axis, TCanvas& canvas, TColor frameColor, TColor gridColor,
              TColor labelColor);
// The limit line across xStart .. xStop at its value on the vertical axis, in its pen.
void DrawLimLine(const TLimLine& line, const TOs& yAxis, int32_t xStart, int32_t xStop,
                 TCanvas& canvas);

}  // namespace qz
