// The texts of every chart kind in the smallest display window (a 330 x 220 chart panel): no text
// covers another, whatever the font's size and the zoom, and where there is room each text keeps
// the place its own rule gives it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include <QSize>

#include "charts/recordingcanvas.h"
#include "common/chartrig.h"

namespace qz {
namespace {

using testing::ChartKind;
using testing::MakeChart;

// The letters of one drawn text: the rectangle of its width (a trailing blank draws nothing) and
// height at its top-left corner, turned with the text (screen y downward).
struct Ink {
  QString text;
  double x0 = 0, y0 = 0, ux = 1, uy = 0, w = 0, h = 0;
  bool Covers(double px, double py) const {
    const double dx = px - x0, dy = py - y0;
    const double along = dx * ux + dy * uy, down = -dx * uy + dy * ux;
    return along > 0 && along < w && down > 0 && down < h;
  }
  // Corners, for the pixel range to look at.
  double MinX() const { return std::min({x0, x0 + w * ux, x0 - h * uy, x0 + w * ux - h * uy}); }
  double MaxX() const { return std::max({x0, x0 + w * ux, x0 - h * uy, x0 + w * ux - h * uy}); }
  double MinY() const { return std::min({y0, y0 + w * uy, y0 + h * ux, y0 + w * uy + h * ux}); }
  double MaxY() const { return std::max({y0, y0 + w * uy, y0 + h * ux, y0 + w * uy + h * ux}); }
};

std::vector<Ink> InkOf(const TRecordingCanvas& canvas, int charW, int lineH) {
  std::vector<Ink> out;
  for (const TCanvasCall& c : canvas.Of(TCanvasCall::Text)) {
    QString t = c.text;
    while (t.endsWith(' ')) t.chop(1);
    if (t.isEmpty()) continue;
    const double a = -c.degrees * M_PI / 180.0;
    out.push_back(Ink{c.text, double(c.pts[0].x), double(c.pts[0].y), std::cos(a), std::sin(a),
                      double(charW * t.size()), double(lineH)});
  }
  return out;
}

// The first pixel two texts share, told as "A / B at x,y"; empty when none does.
std::string SharedPixel(const std::vector<Ink>& ink) {
  for (size_t i = 0; i < ink.size(); ++i)
    for (size_t j = i + 1; j < ink.size(); ++j) {
      const Ink& a = ink[i];
      const Ink& b = ink[j];
      const int x0 = int(std::floor(std::max(a.MinX(), b.MinX())));
      const int x1 = int(std::ceil(std::min(a.MaxX(), b.MaxX())));
      const int y0 = int(std::floor(std::max(a.MinY(), b.MinY())));
      const int y1 = int(std::ceil(std::min(a.MaxY(), b.MaxY())));
      for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
          if (a.Covers(x + 0.5, y + 0.5) && b.Covers(x + 0.5, y + 0.5))
            return a.text.toStdString() + " / " + b.text.toStdString() + " at " +
                   std::to_string(x) + "," + std::to_string(y);
    }
  return {};
}

struct Drawn {
  std::unique_ptr<TRaster> chart;
  std::unique_ptr<TRecordingCanvas> canvas;
};

Drawn DrawChart(ChartKind kind, int zoom, int charW, int lineH, int w, int h, double xLo = 0,
                double xHi = 100) {
  Drawn d;
  d.canvas = std::make_unique<TRecordingCanvas>(charW, lineH);
  TRozne s;
  s.Zoom = zoom;
  d.chart =
      MakeChart(kind, *d.canvas, w, h, s, testing::AxisRange(-1, 1), testing::AxisRange(xLo, xHi));
  d.chart->pBox1Paint();
  return d;
}

struct Metrics {
  int charW, lineH;
};
constexpr Metrics kFonts[] = {{6, 12}, {7, 13}, {8, 15}};

TEST(ChartTexts, NoTextCoversAnotherInTheSmallestWindow) {
  struct Case {
    ChartKind kind;
    int zooms;
    double xLo, xHi;  // the horizontal axis (the polar chart's radius is 1)
  };
  // A horizontal axis from -1 puts a label wider than the distance of the vertical labels from
  // the chart at the lower left corner, where both axes' first labels meet.
  const Case cases[] = {{ChartKind::Rect, 1, 0, 100},
                        {ChartKind::Rect, 1, -1, 1},
                        {ChartKind::Rect, 1, -1000, 1000},
                        {ChartKind::Polar, 1, 0, 100},
                        {ChartKind::SmithZ, kMaxZoom + 1, 0, 100},
                        {ChartKind::SmithY, kMaxZoom + 1, 0, 100},
                        {ChartKind::Vswr, kMaxZoom + 1, 0, 100}};
  // The chart panel of a new display window: its client of 330 x 220 less the tool bar and the
  // menu bar (277 x 201 in the default style), and the client itself.
  const QSize panels[] = {{330, 220}, {277, 201}};
  for (const QSize& panel : panels)
    for (const Case& c : cases)
      for (int zoom = 0; zoom < c.zooms; ++zoom)
        for (const Metrics& m : kFonts) {
          SCOPED_TRACE(::testing::Message() << panel.width() << "x" << panel.height() << " kind "
                                            << int(c.kind) << " x from " << c.xLo << " zoom "
                                            << zoom << " font " << m.charW << "x" << m.lineH);
          Drawn d = DrawChart(c.kind, zoom, m.charW, m.lineH, panel.width(), panel.height(), c.xLo,
                              c.xHi);
          const std::vector<Ink> ink = InkOf(*d.canvas, m.charW, m.lineH);
          EXPECT_GE(ink.size(), 4u);
          EXPECT_EQ(SharedPixel(ink), "");
          // The boxes the chart tells (for the window's panels) are those of the texts drawn.
          EXPECT_EQ(d.chart->TextBoxes().size(), ink.size());
        }
}

// x of a drawn text's left edge and of its right edge (its width in the metrics).
struct Span {
  int left = -1, right = -1;
};
// The first text drawn that begins with `text`.
Span SpanOf(const TRecordingCanvas& canvas, const QString& text, int charW) {
  for (const TCanvasCall& c : canvas.Of(TCanvasCall::Text))
    if (c.text.startsWith(text)) return Span{c.pts[0].x, c.pts[0].x + charW * int(c.text.size())};
  return {};
}

TEST(ChartTexts, RefPlaneStandsRightOfTheRadiusWhereTheChartIsSmall) {
  struct Case {
    int w, h, zoom;
    bool moved;  // no room left of the centre line for "Ref Plane: 0"
  };
  // 7-pixel letters: "Ref Plane: 0" is 84 wide and ends 4 right of the centre line; at 330 x 220
  // the chart spans 50 .. 208 (centre 129), at 900 x 700 it spans 50 .. 648 (centre 349).
  const Case cases[] = {{330, 220, 0, true}, {330, 220, 4, true}, {900, 700, 0, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.w << "x" << c.h << " zoom " << c.zoom);
    Drawn d = DrawChart(ChartKind::Vswr, c.zoom, 7, 13, c.w, c.h);
    const TRectI& chart = d.chart->ChartRect;
    const int cx = d.chart->Ox.Gtr(0.0);
    const Span r = SpanOf(*d.canvas, "R=", 7);
    const Span ref = SpanOf(*d.canvas, "Ref Plane: 0", 7);
    const Span vswr = SpanOf(*d.canvas, "(VSWR)", 7);
    ASSERT_EQ(r.left, chart.left);
    ASSERT_GE(ref.left, 0);
    ASSERT_GE(vswr.left, 0);
    if (c.moved) {
      EXPECT_EQ(ref.left, r.right + 4);
    } else {
      EXPECT_EQ(ref.right, cx + 4);
    }
    // "(VSWR)" keeps its distance: 8 pixels after "Ref Plane: 0" (12 right of the centre line).
    EXPECT_EQ(vswr.left, ref.right + 8);
  }
}

// Where the axes meet at the lower left corner, the vertical axis' lowest label stands on the
// row of the horizontal labels instead of reaching into it; with room it stays centred on its
// division. At 330 x 220 the chart's bottom is 220 - 2 h - 13 and the horizontal labels start
// h / 2 below it.
TEST(ChartTexts, TheLowestVerticalLabelStandsOnTheRowOfTheHorizontalLabels) {
  struct Case {
    ChartKind kind;
    double xLo, xHi;
    Metrics font;
    int top;  // of the vertical axis' "-1"
  };
  const Case cases[] = {
      // bottom 181, labels from 187: "-1" (14 wide) reaches 2 pixels under the vertical labels.
      {ChartKind::Polar, 0, 100, {7, 13}, 187 - 13},
      {ChartKind::Rect, -1, 1, {7, 13}, 187 - 13},
      // bottom 177, labels from 184.
      {ChartKind::Polar, 0, 100, {8, 15}, 184 - 15},
      // Even height: centred on the bottom (183 - 6), it just touches the row below.
      {ChartKind::Polar, 0, 100, {6, 12}, 183 - 6},
      // "0" (7 wide) ends left of the vertical labels: centred on the bottom (181 - 6).
      {ChartKind::Rect, 0, 100, {7, 13}, 181 - 6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "kind " << int(c.kind) << " x from " << c.xLo << " font "
                                      << c.font.charW << "x" << c.font.lineH);
    Drawn d = DrawChart(c.kind, 0, c.font.charW, c.font.lineH, 330, 220, c.xLo, c.xHi);
    const TOsY& y = d.chart->Oy;
    ASSERT_GT(y.Nd, 1);
    EXPECT_EQ(y.LblTxt[0], "-1");
    EXPECT_TRUE(y.LblShow[0]);
    EXPECT_EQ(y.LblPos[0].y, c.top);
    // Drawn there.
    bool drawn = false;
    for (const TCanvasCall& t : d.canvas->Of(TCanvasCall::Text))
      drawn = drawn ||
              (t.text == "-1" && t.pts[0].x < d.chart->ChartRect.left - 4 && t.pts[0].y == c.top);
    EXPECT_TRUE(drawn);
  }
}

// A pixel both texts cover.
bool ShareAPixel(const Ink& a, const Ink& b) { return !SharedPixel({a, b}).empty(); }

TEST(ChartTexts, ALabelIsDroppedOnlyWhereItWouldCoverAShownText) {
  for (ChartKind kind : {ChartKind::SmithZ, ChartKind::SmithY, ChartKind::Vswr}) {
    SCOPED_TRACE(int(kind));
    // With room enough every Smith label is shown (the VSWR chart hides crowded circle labels by
    // its own rule at any size).
    Drawn big = DrawChart(kind, 0, 7, 13, 1400, 1200);
    const auto& b = dynamic_cast<const TCircRaster&>(*big.chart);
    int hidden = 0;
    for (int32_t i = 0; i < b.Nlbl; ++i) hidden += b.Kr.LblShow[size_t(i)] ? 0 : 1;
    if (kind != ChartKind::Vswr) {
      EXPECT_EQ(hidden, 0);
    }

    Drawn small = DrawChart(kind, 0, 7, 13, 330, 220);
    const auto& s = dynamic_cast<const TCircRaster&>(*small.chart);
    // The five resistance labels, the first texts of a Smith chart, stay.
    if (kind != ChartKind::Vswr) {
      for (size_t i = 0; i < 5; ++i) EXPECT_TRUE(s.Kr.LblShow[i]) << i;
    }
    // Every other label not shown would have covered a text that is drawn.
    const std::vector<Ink> drawn = InkOf(*small.canvas, 7, 13);
    const int32_t first = kind == ChartKind::Vswr ? 9 : 5;  // after the VSWR circle labels
    for (int32_t i = first; i < s.Nlbl; ++i) {
      const size_t k = size_t(i);
      QString t = s.Kr.LblTxt[k];
      while (t.endsWith(' ')) t.chop(1);
      if (s.Kr.LblShow[k] || t.isEmpty()) continue;
      const double a = t == "To Load" ? M_PI / 4 : 0.0;
      const Ink ink{t,
                    double(s.Kr.LblPos[k].x),
                    double(s.Kr.LblPos[k].y),
                    std::cos(a),
                    std::sin(a),
                    7.0 * t.size(),
                    13.0};
      EXPECT_TRUE(std::any_of(drawn.begin(), drawn.end(), [&ink](const Ink& d) {
        return ShareAPixel(ink, d);
      })) << t.toStdString();
    }
  }
}

}  // namespace
}  // namespace qz
