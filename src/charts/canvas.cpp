#include "charts/canvas.h"

#include "charts/dots.h"

namespace qz {

void TCanvas::Marker(int32_t tvar, int32_t s, TPt p) {
  const TMarkerGeometry g = MarkerGeometry(tvar, s, p);
  switch (g.kind) {
    case TMarkerGeometry::mkRect:
      Rectangle(g.box);
      break;
    case TMarkerGeometry::mkEllipse:
      Ellipse(g.box);
      break;
    case TMarkerGeometry::mkPolygon:
      Polygon(g.polygon);
      break;
    case TMarkerGeometry::mkLines:
      for (const TSegment& l : g.lines) Line({l.x1, l.y1}, {l.x2, l.y2});
      break;
    case TMarkerGeometry::mkPixel:
      Pixel(g.pixel, Pen.Color);
      break;
  }
}

}  // namespace qz
