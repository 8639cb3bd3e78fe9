#include "charts/textbox.h"

#include <algorithm>
#include <cmath>

namespace qz {

namespace {

// The smallest and largest projection of a box's corners on the direction (dx, dy).
std::pair<double, double> Project(const TTextBox& b, double dx, double dy) {
  double lo = b.x[0] * dx + b.y[0] * dy, hi = lo;
  for (size_t i = 1; i < 4; ++i) {
    const double p = b.x[i] * dx + b.y[i] * dy;
    lo = std::min(lo, p);
    hi = std::max(hi, p);
  }
  return {lo, hi};
}

// True when the edges of `b` give a direction along which the two boxes lie apart.
bool Separates(const TTextBox& b, const TTextBox& a, const TTextBox& other) {
  // Less than a tenth of a pixel of shared depth is a touch, not an overlap (turned corners
  // carry rounding).
  constexpr double kTouch = 0.1;
  for (size_t i = 0; i < 2; ++i) {
    const double ex = b.x[i + 1] - b.x[i], ey = b.y[i + 1] - b.y[i];
    const double len = std::hypot(ex, ey);
    if (len == 0.0) continue;
    // The normal of the edge.
    const double nx = -ey / len, ny = ex / len;
    const auto [alo, ahi] = Project(a, nx, ny);
    const auto [blo, bhi] = Project(other, nx, ny);
    if (ahi <= blo + kTouch || bhi <= alo + kTouch) return true;
  }
  return false;
}

}  // namespace

TTextBox TextBoxOf(const TTextMetrics& metrics, const QString& text, TPt topLeft, double degrees) {
  TTextBox b;
  b.text = text;
  QString ink = text;
  while (!ink.isEmpty() && ink.back() == QChar(' ')) ink.chop(1);
  if (ink.isEmpty()) {
    b.x.fill(topLeft.x);
    b.y.fill(topLeft.y);
    return b;
  }
  const double w = metrics.TextWidth(ink), h = metrics.TextHeight(ink);
  // Along the text and down its letters, on the screen.
  const double a = -degrees * M_PI / 180.0;
  const double ux = std::cos(a), uy = std::sin(a);
  const double vx = -uy, vy = ux;
  const double x0 = topLeft.x, y0 = topLeft.y;
  b.x = {x0, x0 + w * ux, x0 + w * ux + h * vx, x0 + h * vx};
  b.y = {y0, y0 + w * uy, y0 + w * uy + h * vy, y0 + h * vy};
  return b;
}

TTextBox RectBox(const QString& what, int32_t left, int32_t top, int32_t width, int32_t height) {
  TTextBox b;
  b.text = what;
  const double l = left, t = top, r = double(left) + std::max(0, width),
               d = double(top) + std::max(0, height);
  b.x = {l, r, r, l};
  b.y = {t, t, d, d};
  return b;
}

bool IsEmptyBox(const TTextBox& b) {
  // A box without area: all its corners on one line.
  const double cross =
      (b.x[1] - b.x[0]) * (b.y[3] - b.y[0]) - (b.y[1] - b.y[0]) * (b.x[3] - b.x[0]);
  return std::fabs(cross) < 1e-9;
}

bool Overlaps(const TTextBox& a, const TTextBox& b) {
  if (IsEmptyBox(a) || IsEmptyBox(b)) return false;
  // Two rectangles overlap unless an edge direction of either one separates them.
  return !Separates(a, a, b) && !Separates(b, a, b);
}

bool OverlapsAny(const TTextBox& a, const std::vector<TTextBox>& others) {
  return std::any_of(others.begin(), others.end(),
                     [&a](const TTextBox& o) { return Overlaps(a, o); });
}

}  // namespace qz
