#include "charts/dots.h"

#include "util/inifile.h"
#include "util/numutil.h"
#include "util/stpkeys.h"

namespace qz {

int32_t TvarFromKey(int32_t stored) { return ClampLowWins(stored, 0, kTvarCount - 1); }
int32_t DotSizeFromKey(int32_t stored) { return ClampLowWins(stored, 1, 11); }
int32_t LineWidthFromKey(int32_t stored) { return ClampLowWins(stored, 1, 100); }

TMarkerGeometry MarkerGeometry(int32_t tvar, int32_t s, TPt p) {
  const int32_t x = p.x;
  const int32_t y = p.y;
  const int32_t shape = TvarFromKey(tvar);
  TMarkerGeometry g;
  switch (shape) {
    case tvSquare:
    case tvCircle:
      g.kind = shape == tvSquare ? TMarkerGeometry::mkRect : TMarkerGeometry::mkEllipse;
      g.box = TRectI{x - s, y - s, x + s + 1, y + s + 1};
      break;
    case tvTriangleUp:
      g.kind = TMarkerGeometry::mkPolygon;
      g.polygon = {{x, y - s}, {x - s, y + s}, {x + s, y + s}};
      break;
    case tvTriangleDown:
      g.kind = TMarkerGeometry::mkPolygon;
      g.polygon = {{x, y + s}, {x - s, y - s}, {x + s, y - s}};
      break;
    case tvTriangleAbove:
      g.kind = TMarkerGeometry::mkPolygon;
      g.polygon = {{x, y}, {x + s, y - 2 * s}, {x - s, y - 2 * s}};
      break;
    case tvTriangleBelow:
      g.kind = TMarkerGeometry::mkPolygon;
      g.polygon = {{x, y}, {x + s, y + 2 * s}, {x - s, y + 2 * s}};
      break;
    case tvPlus:
    case tvAsterisk:
      g.kind = TMarkerGeometry::mkLines;
      g.lines = {{x - s, y, x + s, y}, {x, y - s, x, y}, {x, y + s, x, y}};
      if (shape == tvAsterisk) {
        const int32_t d = s - 1;
        g.lines.push_back({x - d, y - d, x, y});
        g.lines.push_back({x + d, y - d, x, y});
        g.lines.push_back({x - d, y + d, x, y});
        g.lines.push_back({x + d, y + d, x, y});
      }
      break;
    case tvCross:
      g.kind = TMarkerGeometry::mkLines;
      g.lines = {{x - s, y - s, x + s, y + s}, {x - s, y + s, x, y}, {x + s, y - s, x, y}};
      break;
    case tvDiamond:
      g.kind = TMarkerGeometry::mkPolygon;
      g.polygon = {{x, y - s}, {x + s, y}, {x, y + s}, {x - s, y}};
      break;
    default:
      g.kind = TMarkerGeometry::mkPixel;
      g.pixel = p;
      break;
  }
  return g;
}

void TDots::Defaults() {
  Tvar = tvSquare;
  Visible = false;
  Moving = true;
  Kakaj = false;
  Border = TPen{clBlue, psSolid, 1, pmCopy};
  LineWidth = 1;
  Fill = TBrush{clWhite, bsSolid};
  Dsize = 2;
}

void TDots::Nastav(int32_t shape, int32_t size, int32_t fillStyle, TColor fillColor,
                   TColor borderColor) {
  Tvar = TvarFromKey(shape);
  Dsize = size;
  Fill.Style = BrushStyleFromKey(fillStyle);
  Fill.Color = fillColor;
  Border.Color = borderColor;
}

const TStpKeys<TDots>& TDots::Keys() {
  static const TStpKeys<TDots> keys = TStpKeys<TDots>()
                                          .IntRule("Tvar", &TDots::Tvar, TvarFromKey)
                                          .Bool("DotsVisible", &TDots::Visible)
                                          .Bool("Moving", &TDots::Moving)
                                          .Bool("Kakaj", &TDots::Kakaj)
                                          .Group("Dot", PenKeys(), &TDots::Border)
                                          .Group("Dot", BrushKeys(), &TDots::Fill)
                                          .IntRule("LineWidth", &TDots::LineWidth, LineWidthFromKey)
                                          .IntRule("Size", &TDots::Dsize, DotSizeFromKey);
  return keys;
}

void TDots::WriteStp(IniFile& ini, const QString& section) const {
  Keys().Write(*this, ini, section);
}

void TDots::ReadStp(const IniFile& ini, const QString& section) {
  Keys().Read(*this, ini, section);
}

}  // namespace qz
