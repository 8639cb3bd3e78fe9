#include "app/arrange.h"

#include <algorithm>
#include <cmath>

namespace qz {

namespace {

// n pieces of `length`: equal ones, the last taking what the division leaves.
std::vector<std::pair<int, int>> Split(int length, int n) {
  std::vector<std::pair<int, int>> parts;
  if (n <= 0) return parts;
  const int each = std::max(length / n, 1);
  for (int i = 0; i < n; ++i) {
    const int start = i * each;
    const int size = i == n - 1 ? std::max(length - start, 1) : each;
    parts.emplace_back(start, size);
  }
  return parts;
}

// Columns of the grid beyond the strips: the least c with c * c >= n.
int GridColumns(int n) {
  int c = std::max(int(std::ceil(std::sqrt(double(n)))), 1);
  while (c > 1 && (c - 1) * (c - 1) >= n) --c;
  while (c * c < n) ++c;
  return c;
}

// The grid's cells; byRows fills a row before the next one, else a column.
std::vector<QRect> Grid(QSize area, int n, QSize least, bool byRows) {
  const int cols = GridColumns(n);
  const int rows = (n + cols - 1) / cols;
  const auto xs = Split(area.width(), cols);
  const auto ys = Split(area.height(), rows);
  std::vector<QRect> r;
  for (int i = 0; i < n; ++i) {
    const int col = byRows ? i % cols : i / rows;
    const int row = byRows ? i / cols : i % rows;
    const auto [left, w] = xs[size_t(col)];
    const auto [top, h] = ys[size_t(row)];
    r.emplace_back(left, top, std::max(w, least.width()), std::max(h, least.height()));
  }
  return r;
}

}  // namespace

std::vector<QRect> TileHorizontal(QSize area, int n, QSize least) {
  std::vector<QRect> r;
  if (n <= 0) return r;
  if (n > 1 && area.height() / n < least.height()) return Grid(area, n, least, true);
  for (const auto& [top, h] : Split(area.height(), n))
    r.emplace_back(0, top, std::max(area.width(), least.width()), std::max(h, least.height()));
  return r;
}

std::vector<QRect> TileVertical(QSize area, int n, QSize least) {
  std::vector<QRect> r;
  if (n <= 0) return r;
  if (n > 1 && area.width() / n < least.width()) return Grid(area, n, least, false);
  for (const auto& [left, w] : Split(area.width(), n))
    r.emplace_back(left, 0, std::max(w, least.width()), std::max(area.height(), least.height()));
  return r;
}

std::vector<QRect> IconPlaces(QSize area, QSize icon, int n) {
  std::vector<QRect> r;
  if (n <= 0 || icon.width() <= 0 || icon.height() <= 0) return r;
  const int perRow = std::max(area.width() / icon.width(), 1);
  for (int i = 0; i < n; ++i) {
    const int row = i / perRow, col = i % perRow;
    r.emplace_back(col * icon.width(), area.height() - (row + 1) * icon.height(), icon.width(),
                   icon.height());
  }
  return r;
}

QRect NormalChildRect(QSize area) {
  return QRect(0, 0, std::max(area.width() - kNormalChildMargin, 1),
               std::max(area.height() - kNormalChildMargin, 1));
}

TArrangePlan ArrangePlan(int ako) {
  return TArrangePlan{ako == 1 || ako == 3, ako == 2 || ako == 3};
}

}  // namespace qz
