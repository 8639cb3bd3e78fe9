#include "charts/axispaint.h"

namespace qz {

void DrawTicks(const TOs& axis, TCanvas& canvas, TColor color) {
  const TPen saved = canvas.Pen;
  canvas.Pen = TPen{color, psSolid, 1, pmCopy};
  for (const TSegment& s : axis.Ticks()) canvas.Line({s.x1, s.y1}, {s.x2, s.y2});
  canvas.Pen = saved;
}

void DrawLabels(const TOs& axis, TCanvas& canvas, TColor color) {
  const TColor saved = canvas.Font.Color;
  canvas.Font.Color = color;
  for (const TPlacedText& t : axis.Labels()) canvas.Text(t.pos, t.text);
  canvas.Font.Color = saved;
}

void DrawAxis(const TOs& axis, TCanvas& canvas, TColor frameColor, TColor gridColor,
              TColor labelColor) {
  DrawTicks(axis, canvas, axis.TicksInFrameColor() ? frameColor : gridColor);
  DrawLabels(axis, canvas, labelColor);
}

void DrawLimLine(const TLimLine& line, const TOs& yAxis, int32_t xStart, int32_t xStop,
                 TCanvas& canvas) {
  const auto seg = line.Segment(yAxis, xStart, xStop);
  if (!seg) return;
  const TPen saved = canvas.Pen;
  canvas.Pen = line.Pen;
  canvas.Line({seg->x1, seg->y1}, {seg->x2, seg->y2});
  canvas.Pen = saved;
}

}  // namespace qz
