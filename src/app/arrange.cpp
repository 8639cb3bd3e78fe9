#include "app/arrange.h"

#include <algorithm>

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

}  // namespace

std::vector<QRect> TileHorizontal(QSize area, int n) {
  std::vector<QRect> r;
  for (const auto& [top, h] : Split(area.height(), n))
    r.emplace_back(0, top, std::max(area.width(), 1), h);
  return r;
}

std::vector<QRect> TileVertical(QSize area, int n) {
  std::vector<QRect> r;
  for (const auto& [left, w] : Split(area.width(), n))
    r.emplace_back(left, 0, w, std::max(area.height(), 1));
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
