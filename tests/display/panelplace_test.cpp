// The legend and clock panels over a display window's chart: kept whole inside the panel,
// following it proportionally, and "Arrange Panels" at the chart's top right corner.

#include <gtest/gtest.h>

#include "display/panelplace.h"

namespace qz {
namespace {

TEST(PanelPlace, ClampKeepsThePanelWholeInsideAndTheLowerBoundWins) {
  const QSize panel(400, 300);
  const QSize item(80, 40);
  const struct {
    QPoint asked;
    QPoint placed;
  } cases[] = {
      {{100, 100}, {100, 100}},  // inside: unchanged
      {{390, 100}, {318, 100}},  // beyond the right edge: ends 2 pixels inside (400 − 80 − 2)
      {{100, 290}, {100, 258}},  // below the bottom: 300 − 40 − 2
      {{-50, -7}, {1, 1}},       // left of and above the panel: 1 pixel inside
      {{318, 258}, {318, 258}},  // exactly at the last place
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ClampPanelInto(item, panel, c.asked), c.placed) << c.asked.x() << "," << c.asked.y();
  }
  // A panel smaller than the item: the item starts at 1, never at a negative place.
  EXPECT_EQ(ClampPanelInto(item, QSize(50, 20), QPoint(30, 30)), QPoint(1, 1));
}

TEST(PanelPlace, FractionsFollowTheWindowWhenItIsResized) {
  const QSize item(60, 20);
  const QPointF f = PanelFractions(QPoint(200, 75), QSize(400, 300));
  EXPECT_DOUBLE_EQ(f.x(), 0.5);
  EXPECT_DOUBLE_EQ(f.y(), 0.25);
  // Twice as wide: the panel at x = 0.5 starts at the new centre.
  EXPECT_EQ(PanelFromFractions(f, item, QSize(800, 300)), QPoint(400, 75));
  // Smaller than its place allows: clamped inside.
  EXPECT_EQ(PanelFromFractions(QPointF(0.95, 0.95), item, QSize(400, 300)), QPoint(338, 278));
  // A panel not laid out yet gives finite fractions.
  const QPointF z = PanelFractions(QPoint(5, 5), QSize(0, 0));
  EXPECT_DOUBLE_EQ(z.x(), 5.0);
  EXPECT_DOUBLE_EQ(z.y(), 5.0);
}

TEST(PanelPlace, DefaultAndArrangedPlaces) {
  const QSize panel(500, 400);
  const QSize legend(120, 60);
  const QSize clock(90, 16);
  const TPanelPlaces d = DefaultPanelPlaces(legend, clock, panel);
  EXPECT_EQ(d.legend, QPoint(378, 1));      // right-aligned: 500 − 120 − 2
  EXPECT_EQ(d.clock, QPoint(378 - 94, 1));  // 4 pixels left of the legend
  // Chart from (50, 30) to (449, 349) (QRect's right and bottom are inclusive).
  const QRect chart(QPoint(50, 30), QPoint(449, 349));
  const TPanelPlaces a = ArrangedPanelPlaces(chart, legend, clock, panel);
  // The clock's right edge 2 pixels right of the chart's: 449 + 2 = x + 90 − 1.
  EXPECT_EQ(a.clock, QPoint(362, 2));
  // The legend's right edge 1 pixel left of the chart's: 448 = x + 120 − 1; top 4 below.
  EXPECT_EQ(a.legend, QPoint(329, 34));
  // Narrow panel: both stay inside.
  const TPanelPlaces n = ArrangedPanelPlaces(QRect(0, 0, 60, 60), legend, clock, QSize(80, 80));
  EXPECT_EQ(n.legend, QPoint(1, 4));
  EXPECT_EQ(n.clock, QPoint(1, 2));
}

}  // namespace
}  // namespace qz
