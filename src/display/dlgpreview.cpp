#include "display/dlgpreview.h"

#include "charts/raster.h"
#include "display/attrdlgdata.h"

namespace qz {

namespace {

void Clear(TCanvas& canvas, int32_t w, int32_t h, TColor background) {
  canvas.SetClip(TClip{});
  canvas.FillRect(TRectI{0, 0, w, h}, background);
}

TPt LineFrom(int32_t w, int32_t h) { return TPt{w / 10, h / 2}; }
TPt LineTo(int32_t w, int32_t h) { return TPt{w - w / 10, h / 2}; }

}  // namespace

TPreviewPlan AttrPreviewPlan(const TDrawAttrib& a, int32_t w, int32_t h) {
  TPreviewPlan p;
  p.from = LineFrom(w, h);
  p.to = LineTo(w, h);
  if (!a.Visible) return p;
  p.line = a.LineVisible && a.LinePen.Style != psClear;
  const int32_t y = h / 2;
  const std::vector<TPt> three = {{3 * w / 4, y}, {w / 2, y}, {w / 4, y}};
  if (a.Dots.Visible || a.Dots.Moving) {
    // A moving marker stands only at the newest point.
    p.markers.push_back(three[0]);
    if (!a.Dots.Moving) {
      p.markers.push_back(three[1]);
      p.markers.push_back(three[2]);
    }
  }
  if (a.Dots.Kakaj) p.pixels = three;
  return p;
}

void DrawAttrPreview(TCanvas& canvas, const TDrawAttrib& a, int32_t w, int32_t h,
                     TColor background) {
  Clear(canvas, w, h, background);
  const TPreviewPlan p = AttrPreviewPlan(a, w, h);
  if (p.line) {
    canvas.Pen = a.LinePen;
    canvas.Pen.Mode = pmCopy;
    canvas.Line(p.from, p.to);
  }
  if (!p.markers.empty()) {
    TOneTrace t;
    t.SetAttr(a);
    TRaster::SetCanvForDots(canvas, t);
    canvas.Pen.Mode = pmCopy;
    for (const TPt& m : p.markers) canvas.Marker(a.Dots.Tvar, a.Dots.Dsize, m);
  }
  for (const TPt& px : p.pixels) canvas.Pixel(px, a.LinePen.Color);
}

void DrawPenPreview(TCanvas& canvas, const TPen& pen, int32_t w, int32_t h, TColor background) {
  Clear(canvas, w, h, background);
  if (pen.Style == psClear) return;
  canvas.Pen = pen;
  canvas.Pen.Mode = pmCopy;
  canvas.Line(LineFrom(w, h), LineTo(w, h));
}

TRectI ShapeCellBox(int32_t cell, int32_t w, int32_t h) {
  const int32_t col = cell % kShapeGridCols;
  const int32_t row = cell / kShapeGridCols;
  return TRectI{col * w / kShapeGridCols, row * h / kShapeGridRows, (col + 1) * w / kShapeGridCols,
                (row + 1) * h / kShapeGridRows};
}

void DrawShapeGrid(TCanvas& canvas, int32_t w, int32_t h, int32_t current, TColor background) {
  Clear(canvas, w, h, background);
  for (int32_t cell = 0; cell < kShapeGridCols * kShapeGridRows; ++cell) {
    const int32_t shape = ShapeOfCell(cell);
    if (shape < 0) continue;
    const TRectI box = ShapeCellBox(cell, w, h);
    const TPt centre{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
    canvas.Pen = TPen{clBlue, psSolid, 1, pmCopy};
    canvas.Brush = TBrush{clBlue, bsSolid};
    canvas.Marker(shape, kGridDotSize, centre);
    if (shape == current) {
      canvas.Pen = TPen{clBlack, psSolid, 1, pmCopy};
      canvas.Brush = TBrush{clWhite, bsClear};
      canvas.Rectangle(TRectI{box.left + 1, box.top + 1, box.right - 1, box.bottom - 1});
    }
  }
}

}  // namespace qz
