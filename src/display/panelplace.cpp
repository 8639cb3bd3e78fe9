#include "display/panelplace.h"

#include <algorithm>
#include <cmath>
#include <optional>

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
  // Rounded: a place taken back on the same panel is the place it was (x / w · w may fall a
  // hair below x).
  return ClampPanelInto(item, panel,
                        QPoint(SafeToInt32(std::round(fractions.x() * panel.width())),
                               SafeToInt32(std::round(fractions.y() * panel.height()))));
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

namespace {

bool ClearOfTexts(QPoint p, QSize size, const std::vector<TTextBox>& texts) {
  return !OverlapsAny(RectBox(QStringLiteral("panel"), p.x(), p.y(), size.width(), size.height()),
                      texts);
}

// The first place from `fromY` down, at left edge `x` (both clamped into the panel), where a
// panel of `size` covers no text.
std::optional<QPoint> FirstClearBelow(int x, int fromY, QSize size,
                                      const std::vector<TTextBox>& texts, QSize panel) {
  for (int y = fromY; y + size.height() + 2 <= panel.height(); ++y) {
    const QPoint p = ClampPanelInto(size, panel, QPoint(x, y));
    if (ClearOfTexts(p, size, texts)) return p;
  }
  return std::nullopt;
}

}  // namespace

QPoint ClockClearOfTexts(QPoint clock, QSize clockSize, QRect legend,
                         const std::vector<TTextBox>& texts, QSize panel) {
  if (ClearOfTexts(clock, clockSize, texts)) return clock;
  const int x = legend.x() + legend.width() - clockSize.width();
  const int below = legend.y() + legend.height() + 2;
  // Right below the legend, else the first place further down that covers no text.
  return FirstClearBelow(x, below, clockSize, texts, panel)
      .value_or(ClampPanelInto(clockSize, panel, QPoint(x, below)));
}

QPoint LegendClearOfTexts(QPoint legend, QSize legendSize, const std::vector<TTextBox>& texts,
                          QSize panel) {
  if (ClearOfTexts(legend, legendSize, texts)) return legend;
  return FirstClearBelow(legend.x(), legend.y() + 1, legendSize, texts, panel).value_or(legend);
}

TPanelPlaces PanelsClearOfTexts(TPanelPlaces asked, QSize legend, QSize clock,
                                const std::vector<TTextBox>& texts, QSize panel) {
  TPanelPlaces p;
  p.legend = LegendClearOfTexts(asked.legend, legend, texts, panel);
  p.clock = ClockClearOfTexts(asked.clock, clock, QRect(p.legend, legend), texts, panel);
  return p;
}

}  // namespace qz
