#pragma once
// The drawing surface every chart draws on. The pixel rules are decided here once: a line is
// drawn from its first point up to but not including its end point; rectangles and ellipses are
// given by a box whose right and bottom lie just outside the shape; a text is placed by its
// top-left corner. The pen's mode decides between copy and not-xor drawing (not-xor drawing of
// the same shape twice restores what was under it).

#include <QString>
#include <cstdint>
#include <vector>

#include "charts/brush.h"
#include "charts/charttypes.h"
#include "charts/pen.h"
#include "util/fontrec.h"

namespace qz {

enum class TClipKind { None, Rect, Ellipse };

// A clip: nothing, a rectangle or the ellipse inscribed in a box (right and bottom outside).
struct TClip {
  TClipKind kind = TClipKind::None;
  TRectI box;
  bool operator==(const TClip&) const = default;
};

class TCanvas : public TTextMetrics {
 public:
  ~TCanvas() override = default;

  TPen Pen;
  TBrush Brush{clWhite, bsClear};
  TFontRec Font;

  // A line from a up to but not including b, in the pen.
  virtual void Line(TPt a, TPt b) = 0;
  // Consecutive points joined; the last point itself is not drawn.
  virtual void Polyline(const std::vector<TPt>& pts) = 0;
  // Outline in the pen, inside in the brush.
  virtual void Rectangle(const TRectI& box) = 0;
  virtual void Ellipse(const TRectI& box) = 0;
  virtual void Polygon(const std::vector<TPt>& pts) = 0;
  // One pixel in the given colour, always copied.
  virtual void Pixel(TPt p, TColor color) = 0;
  // Text in the font at its top-left corner, copied, without background.
  virtual void Text(TPt topLeft, const QString& text) = 0;
  // Text turned about its top-left corner by `degrees` (negative: clockwise on screen).
  virtual void TextRotated(TPt topLeft, const QString& text, double degrees) = 0;
  // A box filled with a colour (no outline, always copied, clip ignored).
  virtual void FillRect(const TRectI& box, TColor color) = 0;
  virtual void SetClip(const TClip& clip) = 0;
  virtual TClip Clip() const = 0;
  // A point marker of shape tvar and half-size s at p in the pen and brush (shapes of the
  // trace markers). The default draws the marker's pieces one by one.
  virtual void Marker(int32_t tvar, int32_t s, TPt p);
};

}  // namespace qz
