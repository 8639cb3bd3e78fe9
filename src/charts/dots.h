#pragma once
// The point-marker style of a trace.

#include <QString>
#include <cstdint>

#include <vector>

#include "charts/brush.h"
#include "charts/charttypes.h"
#include "charts/pen.h"

namespace qz {

class IniFile;
template <class R>
class TStpKeys;

// Marker shapes (s = Dsize, y growing downward).
enum TTvar : int32_t {
  tvSquare = 0,         // filled square (x - s, y - s) .. (x + s + 1, y + s + 1)
  tvCircle = 1,         // filled circle in the same box
  tvTriangleUp = 2,     // apex (x, y - s)
  tvTriangleDown = 3,   // apex (x, y + s)
  tvTriangleAbove = 4,  // above the point, apex on it
  tvTriangleBelow = 5,  // below the point, apex on it
  tvPlus = 6,           // plus sign of arms s
  tvCross = 7,          // diagonal cross
  tvAsterisk = 8,       // plus sign and four diagonal arms of s - 1
  tvDiamond = 9,        // filled diamond, corners at distance s
  tvPixel = 10,         // the single pixel in the pen colour
};
inline constexpr int32_t kTvarCount = 11;

// Read rules of the marker keys.
int32_t TvarFromKey(int32_t stored);       // limited to 0..10
int32_t DotSizeFromKey(int32_t stored);    // limited to 1..11
int32_t LineWidthFromKey(int32_t stored);  // limited to 1..100

// What one marker consists of, in pixels, for a painter to draw with the marker's pen and
// brush: a filled box (square or circle), a filled polygon, lines, or a single pixel.
struct TMarkerGeometry {
  enum Kind { mkRect, mkEllipse, mkPolygon, mkLines, mkPixel };
  Kind kind = mkPixel;
  TRectI box;                   // mkRect, mkEllipse: right and bottom are outside the box
  std::vector<TPt> polygon;     // mkPolygon
  std::vector<TSegment> lines;  // mkLines: each up to but not including its end
  TPt pixel;                    // mkPixel
};
// The marker of shape `tvar` (limited to 0..10) and half-size s at point p.
TMarkerGeometry MarkerGeometry(int32_t tvar, int32_t s, TPt p);

class TDots {
 public:
  TDots() { Defaults(); }

  void Defaults();
  void Assign(const TDots& source) { *this = source; }
  // Shape (limited to 0..10), half-size, fill style, fill colour and outline colour at once.
  void Nastav(int32_t shape, int32_t size, int32_t fillStyle, TColor fillColor, TColor borderColor);
  // The next shape in the cycle 0..10.
  int32_t NextTvar() const { return (Tvar + 1) % kTvarCount; }
  // Shapes drawn as lines (plus, cross, asterisk) use a solid outline of width LineWidth.
  bool IsLineShape() const { return Tvar == tvPlus || Tvar == tvCross || Tvar == tvAsterisk; }

  // Keys "Tvar", "DotsVisible", "Moving", "Kakaj", the "Dot" pen and brush keys, "LineWidth" and
  // "Size", in this order. Reading uses the present values as defaults.
  void WriteStp(IniFile& ini, const QString& section) const;
  void ReadStp(const IniFile& ini, const QString& section);
  // The table of the marker keys, for records holding a marker style.
  static const TStpKeys<TDots>& Keys();

  bool operator==(const TDots&) const = default;

  int32_t Tvar = tvSquare;
  bool Visible = false;  // a marker at every point
  bool Moving = true;    // one marker follows the newest point while a trace grows
  bool Kakaj = false;    // each new point leaves a one-pixel mark in the line colour
  TPen Border;
  int32_t LineWidth = 1;
  TBrush Fill;
  int32_t Dsize = 2;  // half-size in pixels
};

}  // namespace qz
