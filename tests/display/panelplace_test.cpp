// The legend and clock panels over a display window's chart: kept whole inside the panel,
// following it proportionally, and "Arrange Panels" at the chart's top right corner.

#include <gtest/gtest.h>

#include <algorithm>

#include "charts/recordingcanvas.h"
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

TEST(PanelPlace, APlaceTakenBackOnTheSamePanelIsTheSame) {
  // Every place of a small item over panels of the sizes display windows have.
  const QSize item(10, 10);
  for (const QSize panel : {QSize(330, 220), QSize(277, 205), QSize(639, 453), QSize(1903, 977)})
    for (int x = 1; x + item.width() + 2 <= panel.width(); ++x) {
      const QPoint p(x, std::min(x, panel.height() - item.height() - 2));
      ASSERT_EQ(PanelFromFractions(PanelFractions(p, panel), item, panel), p) << panel.width();
    }
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

TEST(PanelPlace, AClockOverAChartTextGoesBelowTheLegend) {
  const QSize panel(330, 220);
  const QSize clock(100, 17);
  const QRect legend(248, 1, 80, 27);  // right edge at 327, bottom at 27
  const TRecordingCanvas metrics;      // 7 pixels a letter, 13 a line
  const std::vector<TTextBox> letter = {RectBox("Z", 201, 9, 7, 13)};
  // "To Load" turned clockwise by 45 degrees from (185, 16): its letters reach left to 175.8
  // (at y 25.2) and down to 59.8; the top-left corner of the box around it holds none of them.
  const std::vector<TTextBox> turned = {TextBoxOf(metrics, "To Load", {185, 16}, -45.0)};
  struct Case {
    const std::vector<TTextBox>* texts;
    QPoint at;
    QPoint expected;
  };
  const Case cases[] = {
      {&letter, {144, 1}, {228, 30}},   // over "Z": right edges aligned, 2 below the legend
      {&letter, {90, 1}, {90, 1}},      // ends at 190, left of "Z": stays
      {&letter, {101, 0}, {101, 0}},    // ends where "Z" starts: a touch is no overlap
      {&letter, {144, 22}, {144, 22}},  // just below it
      {&turned, {170, 30}, {228, 30}},  // over the turned letters
      {&turned, {80, 2}, {80, 2}},      // in the box around them, clear of the letters
  };
  for (const Case& c : cases)
    EXPECT_EQ(ClockClearOfTexts(c.at, clock, legend, *c.texts, panel), c.expected)
        << c.at.x() << "," << c.at.y();
  // Where a text is right below the legend too, the clock goes down to the first row clear of it.
  const std::vector<TTextBox> twoTexts = {letter[0], RectBox("2", 240, 35, 7, 13)};
  EXPECT_EQ(ClockClearOfTexts({144, 1}, clock, legend, twoTexts, panel), QPoint(228, 48));
  // Below a legend at the bottom the clock stays inside the panel.
  EXPECT_EQ(ClockClearOfTexts({144, 1}, clock, QRect(248, 190, 80, 27), letter, panel),
            QPoint(228, 220 - 17 - 2));
  // No texts: the clock stays wherever it is.
  EXPECT_EQ(ClockClearOfTexts({144, 1}, clock, legend, {}, panel), QPoint(144, 1));
}

TEST(PanelPlace, ALegendOverAChartTextGoesDownToTheFirstClearPlace) {
  const QSize panel(330, 220);
  const QSize legend(80, 27);
  // "(VSWR)" of "Ref Plane: 0 (VSWR)" in the top row: 7 pixels a letter, 13 a line.
  const TTextBox vswr = RectBox("(VSWR)", 260, 2, 42, 13);
  const TTextBox right = RectBox("0.125", 300, 60, 35, 13);
  struct Case {
    std::vector<TTextBox> texts;
    QPoint at;
    QPoint expected;
  };
  const Case cases[] = {
      {{vswr}, {248, 1}, {248, 15}},         // covers it: right below it, left edge kept
      {{vswr}, {170, 1}, {170, 1}},          // ends at 250, left of it: stays
      {{vswr}, {180, 1}, {180, 1}},          // ends where it starts: a touch is no overlap
      {{vswr, right}, {248, 1}, {248, 15}},  // a text further down leaves room above it
      {{vswr, RectBox("2", 250, 16, 7, 13)}, {248, 1}, {248, 29}},  // one right below: past it
      {{}, {248, 1}, {248, 1}},                                     // no texts: stays
      {{vswr}, {248, 40}, {248, 40}},  // clear where it is (the operator's place)
  };
  for (const Case& c : cases)
    EXPECT_EQ(LegendClearOfTexts(c.at, legend, c.texts, panel), c.expected)
        << c.at.x() << "," << c.at.y();
  // No clear place below inside the panel: the legend stays where it was put.
  const std::vector<TTextBox> column = {RectBox("column", 240, 0, 20, 220)};
  EXPECT_EQ(LegendClearOfTexts({248 - 20, 1}, legend, column, panel), QPoint(228, 1));
  // A legend taller than the room below a text stays too, never leaving the panel.
  EXPECT_EQ(LegendClearOfTexts({248, 1}, QSize(80, 210), {vswr}, panel), QPoint(248, 1));
}

TEST(PanelPlace, BothRulesTogetherPutTheClockBelowTheLegendWhereItEndsUp) {
  const QSize panel(330, 220);
  const QSize legend(80, 27);
  const QSize clock(100, 17);
  const std::vector<TTextBox> top = {RectBox("(VSWR)", 150, 2, 160, 13)};
  // Legend moved to (248, 15); the clock at (144, 1) covers the text too, so it goes 2 pixels
  // below the moved legend (15 + 27 + 2 = 44), right edges aligned (248 + 80 − 100 = 228).
  const TPanelPlaces p = PanelsClearOfTexts({{248, 1}, {144, 1}}, legend, clock, top, panel);
  EXPECT_EQ(p.legend, QPoint(248, 15));
  EXPECT_EQ(p.clock, QPoint(228, 44));
  // Nothing covered: both stay.
  const TPanelPlaces q = PanelsClearOfTexts({{248, 1}, {144, 1}}, legend, clock, {}, panel);
  EXPECT_EQ(q.legend, QPoint(248, 1));
  EXPECT_EQ(q.clock, QPoint(144, 1));
}

}  // namespace
}  // namespace qz
