#pragma once
// The place a text's letters take on a chart: the rectangle of its width and height at its
// top-left corner, turned about that corner for a turned text. Texts that would cover one another
// are told apart by these places; a trailing blank takes no place (it draws nothing).

#include <QString>
#include <array>
#include <vector>

#include "charts/charttypes.h"

namespace qz {

struct TTextBox {
  QString text;
  // Corners in order: top-left, top-right, bottom-right, bottom-left (pixels, y downward).
  std::array<double, 4> x{};
  std::array<double, 4> y{};
};

// The box of `text` in the metrics' font at `topLeft`, turned by `degrees` (negative: clockwise
// on screen, as the canvas turns texts). An empty text has an empty box.
TTextBox TextBoxOf(const TTextMetrics& metrics, const QString& text, TPt topLeft,
                   double degrees = 0.0);
// A rectangle of the panel (a widget over the chart) as a box: left, top, width, height.
TTextBox RectBox(const QString& what, int32_t left, int32_t top, int32_t width, int32_t height);
// The two boxes share some area (touching edges do not count). Empty boxes overlap nothing.
bool Overlaps(const TTextBox& a, const TTextBox& b);
bool OverlapsAny(const TTextBox& a, const std::vector<TTextBox>& others);
bool IsEmptyBox(const TTextBox& b);

}  // namespace qz
