#pragma once
// Where the Window menu puts the display windows inside the frame window's display area:
// the two tiles, the minimised windows along the bottom, the active window's "normal" place,
// and what each of the four arrangements does to the frame window and the active window.

#include <QRect>
#include <QSize>
#include <vector>

namespace qz {

// Tile Horiz: n windows stacked top to bottom, each as wide as the area, with equal heights
// (the last one takes the remainder), while every strip stays at least as high as `least` (a new
// display window with its frame). Beyond that, a grid of c = ceil(sqrt(n)) columns by
// ceil(n / c) rows filled row by row: equal cells, the last column and row taking the remainder.
// No window is made smaller than `least`; an area too small for that lets them overlap.
std::vector<QRect> TileHorizontal(QSize area, int n, QSize least = QSize(1, 1));
// Tile Vert: n windows side by side, each as high as the area, with equal widths, while every
// strip stays at least as wide as `least`; beyond that the same grid filled column by column.
std::vector<QRect> TileVertical(QSize area, int n, QSize least = QSize(1, 1));
// Arrange Icons: n minimised windows of the given size lined up along the bottom of the area
// from left to right; a full row continues in the row above.
std::vector<QRect> IconPlaces(QSize area, QSize icon, int n);

// The active display window's place for "Normal" and "Max Frame": at the area's top-left
// corner, 30 pixels smaller than the area in each direction (never below one pixel).
inline constexpr int kNormalChildMargin = 30;
QRect NormalChildRect(QSize area);

// What ArrangeWindows(Ako) does: Ako 1 and 3 place the frame window over the screen's work
// area; Ako 2 and 3 maximise the active display window, 0 and 1 give it its normal place.
struct TArrangePlan {
  bool frameToWorkArea = false;
  bool maximiseChild = false;
  friend bool operator==(const TArrangePlan&, const TArrangePlan&) = default;
};
TArrangePlan ArrangePlan(int ako);

}  // namespace qz
