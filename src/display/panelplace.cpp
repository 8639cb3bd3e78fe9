#include "display/panelplace.h"

#include <algorithm>

#include "util/numutil.h"

namespace qz {

QPoint ClampPanelInto(QSize item, QSize panel, QPoint p) {
  return QPoint(ClampLowWins(int32_t(p.x()), 1, int32_t(panel.width() - item.width() - 2)),
                ClampLowWins(int32_t(p.y()), 1, int32_t(panel.height() - item.height() - 2)));
}

QPointF PanelFractions(QPoint topLeft, QSize panel) {
  // A panel not yet laid out counts as one pixel, so the fractions stay finite.
  return QPointF(topLeft.x() / double(std::max(1, panel.width())),
                 topLeft.y() / double(std::max(1, panel.height())));
}

QPoint PanelFromFractions(QPointF fractions, QSize item, QSize panel) {
  return ClampPanelInto(
      item, panel, QPoint(int(fractions.x() * panel.width()), int(fractions.y() * panel.height())));
}

TPanelPlaces DefaultPanelPlaces(QSize legend, QSize clock, QSize panel) {
  TPanelPlaces p;
  p.legend = QPoint(std::max(1, panel.width() - legend.width() - 2), 1);
  p.clock = QPoint(std::max(1, p.legend.x() - clock.width() - 4), 1);
  return p;
}

TPanelPlaces ArrangedPanelPlaces(QRect chart, QSize legend, QSize clock, QSize panel) {
  TPanelPlaces p;
  p.clock = ClampPanelInto(clock, panel, QPoint(chart.right() + 3 - clock.width(), 2));
  p.legend = ClampPanelInto(legend, panel, QPoint(chart.right() - legend.width(), chart.top() + 4));
  return p;
}

}  // namespace qz
