#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "charts/recordingcanvas.h"
#include "common/chartrig.h"

namespace qz {
namespace {

using testing::ChartKind;
using testing::MakeChart;

std::vector<QString> LabelTexts(const TCircRaster& r) {
  std::vector<QString> out;
  for (int32_t i = 0; i < r.Nlbl; ++i) out.push_back(r.Kr.LblTxt[size_t(i)]);
  return out;
}

TEST(RasterLayoutTest, ACircularChartInANarrowPanelStaysWholeInsideIt) {
  // Margins from the metrics (7 pixels a letter, 13 a line): left 7 · 7 + 1 = 50, top
  // 13 · 3 / 2 + 4 = 23, bottom panel height − 2 · 13 − 13.
  struct Case {
    int32_t w, h;
    TRectI rect;  // the rectangular chart's area
    TRectI circ;  // the circular charts' square
  };
  const Case cases[] = {
      {330, 200, {50, 23, 300, 161}, {50, 23, 188, 161}},  // wide: as high as the area
      {238, 200, {50, 23, 208, 161}, {50, 23, 188, 161}},  // exactly room for it and 50 right
      {237, 200, {50, 23, 207, 161}, {50, 23, 187, 160}},  // one pixel less: one less wide
      {239, 593, {50, 23, 209, 554}, {50, 23, 189, 162}},  // a tiled column: as wide as it fits
      {360, 853, {50, 23, 330, 814}, {50, 23, 310, 283}},
      {90, 300, {50, 23, 60, 261}, {50, 23, 288, 261}},  // narrower than both margins: kept
  };
  for (const Case& c : cases)
    for (ChartKind kind : {ChartKind::Rect, ChartKind::Polar, ChartKind::SmithZ, ChartKind::SmithY,
                           ChartKind::Vswr}) {
      TRecordingCanvas canvas;
      auto r = MakeChart(kind, canvas, c.w, c.h);
      r->pBox1Paint();
      const TRectI expected = kind == ChartKind::Rect ? c.rect : c.circ;
      EXPECT_EQ(r->ChartRect, expected) << int(kind) << " in " << c.w << " x " << c.h;
      // The whole chart, the circle included, stays inside the panel.
      if (c.w >= 100) {
        EXPECT_LE(r->ClipOf(vpSmith).box.right, c.w) << int(kind) << " in " << c.w;
      }
    }
}

TEST(RasterLayoutTest, A330By200PanelGivesTheChartRectangleAndClips) {
  struct Case {
    ChartKind kind;
    TRectI chart;
  };
  const Case cases[] = {
      {ChartKind::Rect, {50, 23, 300, 161}},
      {ChartKind::Polar, {50, 23, 188, 161}},
      {ChartKind::SmithZ, {50, 23, 188, 161}},
      {ChartKind::Vswr, {50, 23, 188, 161}},
  };
  for (const Case& c : cases) {
    TRecordingCanvas canvas;
    auto r = MakeChart(c.kind, canvas, 330, 200);
    r->pBox1Paint();
    EXPECT_EQ(r->ChartRect, c.chart) << int(c.kind);
    const TRectI clip{51, 24, c.chart.right + 2, 163};
    EXPECT_EQ(r->ClipOf(vpRaster), (TClip{TClipKind::Rect, clip})) << int(c.kind);
    EXPECT_EQ(r->ClipOf(vpSmith), (TClip{TClipKind::Ellipse, {51, 24, c.chart.right + 3, 164}}))
        << int(c.kind);
  }
}

TEST(RasterDrawTest, RectangularChartDrawsAxesLimitLineAndFrame) {
  TRecordingCanvas canvas;
  TRozne s;
  s.Lim.Va = 0.5;
  auto r = MakeChart(ChartKind::Rect, canvas, 330, 200, s, testing::AxisRange(0, 1),
                     testing::AxisRange(0, 10));
  r->Ox.Stp.Data.Bshort = true;  // short ticks in the frame colour, grid lines in grey
  r->pBox1Paint();
  const auto rects = canvas.Of(TCanvasCall::Rectangle);
  ASSERT_EQ(rects.size(), 1u);
  EXPECT_EQ(rects[0].box, (TRectI{50, 23, 301, 162}));
  EXPECT_EQ(rects[0].pen.Color, clBlack);
  EXPECT_EQ(rects[0].brush.Style, bsClear);
  int frameTicks = 0, gridLines = 0, limit = 0;
  for (const auto& l : canvas.Of(TCanvasCall::Line)) {
    if (l.pen.Color == clBlack) ++frameTicks;
    if (l.pen.Color == 0xBCBCBCu) ++gridLines;
    if (l.pen.Color == clFuchsia) {
      ++limit;
      EXPECT_EQ(l.pts[0], (TPt{50, r->Oy.Gtr(0.5)}));
      EXPECT_EQ(l.pts[1], (TPt{301, r->Oy.Gtr(0.5)}));
      EXPECT_EQ(l.pen.Style, psDot);
    }
  }
  EXPECT_EQ(frameTicks, 2 * r->Ox.Nd);
  EXPECT_EQ(gridLines, r->Oy.Nd);
  EXPECT_EQ(limit, 1);
  // Titles composed from the settings and drawn in the label colour.
  for (const auto& t : canvas.Of(TCanvasCall::Text)) EXPECT_EQ(t.font.Color, clBlue);
}

TEST(SmithChartTest, ZoomZeroHasSixteenCirclesOneLineAndEighteenLabels) {
  struct Case {
    ChartKind kind;
    std::vector<QString> labels;
  };
  const Case cases[] = {
      {ChartKind::SmithZ,
       {"0.2 ", "0.5 ", "1 ", "2 ", "5 ", "0.2", "0.5", "1", "2", "5", "-0.2", "-0.5", "-1", "-2",
        "-5", "", "R=1", "Z"}},
      {ChartKind::SmithY,
       {"0.2 ", "0.5 ", "1 ", "2 ", "5 ", "-0.2", "-0.5", "-1", "-2", "-5", "0.2", "0.5", "1", "2",
        "5", "", "R=1", "Y"}},
  };
  for (const Case& c : cases) {
    TRecordingCanvas canvas;
    auto r = MakeChart(c.kind, canvas, 330, 200);
    r->pBox1Paint();
    auto& s = dynamic_cast<TSmithRaster&>(*r);
    EXPECT_EQ(s.Nk, 16);
    EXPECT_EQ(s.Nli, 1);
    EXPECT_EQ(LabelTexts(s), c.labels);
    // Every circle but the outer one is clipped to the chart's circle.
    const auto ellipses = canvas.Of(TCanvasCall::Ellipse);
    ASSERT_GE(ellipses.size(), 16u);
    for (size_t i = 0; i < 15; ++i) EXPECT_EQ(ellipses[i].clip.kind, TClipKind::Ellipse);
    EXPECT_EQ(ellipses[15].box, (TRectI{50, 23, 189, 162}));
    EXPECT_EQ(ellipses[15].pen.Color, clBlack);
    EXPECT_NE(ellipses[15].clip.kind, TClipKind::Ellipse);
  }
}

TEST(SmithChartTest, YChartMirrorsCirclesLeftRight) {
  TRecordingCanvas cz, cy;
  auto z = MakeChart(ChartKind::SmithZ, cz, 330, 200);
  auto y = MakeChart(ChartKind::SmithY, cy, 330, 200);
  z->pBox1Paint();
  y->pBox1Paint();
  auto& sz = dynamic_cast<TSmithRaster&>(*z);
  auto& sy = dynamic_cast<TSmithRaster&>(*y);
  const int32_t l = z->ChartRect.left, rr = z->ChartRect.right + 1;
  for (size_t i = 0; i < 15; ++i) {
    // The mirror of a box [a, b) about the chart's centre is [l + rr - b, l + rr - a).
    EXPECT_NEAR(sy.Kr.TL[i].x, l + rr - sz.Kr.BR[i].x, 1) << i;
    EXPECT_EQ(sy.Kr.TL[i].y, sz.Kr.TL[i].y) << i;
  }
}

TEST(SmithChartTest, ZoomFourReactanceLabelsHaveTwoDecimals) {
  TRecordingCanvas canvas;
  TRozne s;
  s.Zoom = 4;
  auto r = MakeChart(ChartKind::SmithZ, canvas, 330, 200, s);
  r->pBox1Paint();
  const auto labels = LabelTexts(dynamic_cast<TSmithRaster&>(*r));
  const std::vector<QString> plus(labels.begin() + 5, labels.begin() + 10);
  EXPECT_EQ(plus, (std::vector<QString>{"0.02", "0.03", "0.05", "0.07", "0.08"}));
  // The radius in the three-digit number text, which writes values below 0.0996 with an exponent.
  EXPECT_EQ(labels[16], "R=5E-2");
}

TEST(SmithChartTest, ReactanceCirclesMeetTheOuterCircle) {
  const TSmithArray a = MakeSmithArray();
  struct Case {
    size_t zoom, i;
    double g, h;
  };
  const Case cases[] = {{0, 2, 0.0, 1.0}, {0, 3, 0.6, 0.8}};
  for (const Case& c : cases) {
    EXPECT_NEAR(a[c.zoom].ImZ[c.i][2], c.g, 1e-12);
    EXPECT_NEAR(a[c.zoom].ImZ[c.i][3], c.h, 1e-12);
  }
  // At every zoom level the crossing lies on both circles.
  for (const TSmithItem& it : a) {
    for (const auto& x : it.ImZ) {
      const double g = x[2], h = x[3];
      EXPECT_NEAR(g * g + h * h, it.A * it.A, 1e-9);
      EXPECT_NEAR((g - 1) * (g - 1) + (h - x[1]) * (h - x[1]), x[1] * x[1], 1e-9);
    }
  }
}

TEST(SmithChartTest, UsingDefaultsResetsTheZoom) {
  TRecordingCanvas canvas;
  TRozne s;
  s.Zoom = 3;
  TOsData y = testing::AxisRange(-1, 1);
  y.UseDflt = true;
  auto r = MakeChart(ChartKind::SmithZ, canvas, 330, 200, s, y);
  r->pBox1Paint();
  EXPECT_EQ(r->iZoom, 0);
  EXPECT_EQ(dynamic_cast<TCircRaster&>(*r).Rpolar, 1.0);
}

TEST(PolarChartTest, CirclesFollowTheStepFinder) {
  struct Case {
    double R;
    int32_t circles;  // the outer one included
    double step;
  };
  const Case cases[] = {{1.0, 6, 0.2}, {0.3, 7, 0.05}};
  for (const Case& c : cases) {
    TRecordingCanvas canvas;
    auto r = MakeChart(ChartKind::Polar, canvas, 330, 200, {}, testing::AxisRange(-c.R, c.R));
    r->pBox1Paint();
    auto& p = dynamic_cast<TCircRaster&>(*r);
    ASSERT_EQ(p.Nk, c.circles) << c.R;
    for (int32_t i = 0; i < p.Nk; ++i) {
      const double rad = i == p.Nk - 1 ? c.R : (i + 1) * c.step;
      EXPECT_EQ(p.Kr.TL[size_t(i)], (TPt{r->Ox.Gtr(-rad), r->Oy.Gtr(rad)})) << c.R << " " << i;
    }
    EXPECT_EQ(p.Nli, 4);
    EXPECT_EQ(p.Nlbl, 0);
  }
}

TEST(PolarChartTest, RadiusFromTheSetupIsLimited) {
  struct Case {
    double stored, used;
  };
  const Case cases[] = {{0.0, 1e-6},         {-5.0, 1e-6},
                        {std::nan(""), 1.0}, {1e9, 1e6},
                        {0.5, 0.5},          {-std::numeric_limits<double>::infinity(), 1e-6}};
  for (const Case& c : cases) {
    TRecordingCanvas canvas;
    TOsData y = testing::AxisRange(-1, c.stored);
    auto r = MakeChart(ChartKind::Polar, canvas, 330, 200, {}, y);
    r->pBox1Paint();
    EXPECT_EQ(dynamic_cast<TCircRaster&>(*r).Rpolar, c.used) << c.stored;
  }
}

TEST(VswrChartTest, ZoomZeroHasNineCirclesAndTheBoundary) {
  TRecordingCanvas canvas;
  auto r = MakeChart(ChartKind::Vswr, canvas, 330, 200);
  r->pBox1Paint();
  auto& v = dynamic_cast<TOvenRaster&>(*r);
  EXPECT_EQ(v.Nk, 10);
  EXPECT_EQ(v.Nli, 6);
  const auto texts = LabelTexts(v);
  ASSERT_EQ(texts.size(), 16u);
  EXPECT_EQ(texts[0], "1.2");
  EXPECT_EQ(texts[8], "20");
  EXPECT_EQ(
      std::vector<QString>(texts.begin() + 9, texts.end()),
      (std::vector<QString>{"Ref Plane: 0", "(VSWR)", "0.125", "0.25", "0.375", "To Load", "R=1"}));
  EXPECT_TRUE(v.Kr.LblShow[0]);
  EXPECT_TRUE(v.Kr.LblShow[8]);
  // "To Load" is the one text drawn turned, clockwise on screen.
  for (const auto& t : canvas.Of(TCanvasCall::Text))
    EXPECT_EQ(t.degrees, t.text == "To Load" ? -45.0 : 0.0) << t.text.toStdString();
}

TEST(VswrChartTest, CrowdedCircleLabelsAreHidden) {
  TRecordingCanvas canvas;
  auto r = MakeChart(ChartKind::Vswr, canvas, 330, 200);
  r->pBox1Paint();
  auto& v = dynamic_cast<TOvenRaster&>(*r);
  // Each shown inner label clears the previous shown one and the last one by a text height.
  int32_t prev = 0;
  for (int32_t i = 1; i < 8; ++i) {
    if (!v.Kr.LblShow[size_t(i)]) continue;
    EXPECT_LT(v.Kr.LblPos[size_t(i)].y, v.Kr.LblPos[size_t(prev)].y - 13) << i;
    EXPECT_LT(v.Kr.LblPos[8].y, v.Kr.LblPos[size_t(i)].y - 13) << i;
    prev = i;
  }
  int hidden = 0;
  for (int32_t i = 1; i < 8; ++i) hidden += v.Kr.LblShow[size_t(i)] ? 0 : 1;
  EXPECT_GT(hidden, 0);  // 1.2 .. 20 do not all fit on a 138-pixel chart
}

TEST(VswrChartTest, LimitLineIsTheCircleOfItsVswr) {
  struct Case {
    double limit, radius;
  };
  const Case cases[] = {{2.0, 1.0 / 3.0}, {0.5, 0.0}, {1.0, 0.0}, {3.0, 0.5}};
  for (const Case& c : cases) {
    EXPECT_NEAR(VswrRadius(c.limit), c.radius, 1e-15) << c.limit;
    TRecordingCanvas canvas;
    TRozne s;
    s.Lim.Va = c.limit;
    auto r = MakeChart(ChartKind::Vswr, canvas, 330, 200, s);
    r->pBox1Paint();
    int found = 0;
    for (const auto& e : canvas.Of(TCanvasCall::Ellipse)) {
      if (e.pen.Color != clFuchsia) continue;
      ++found;
      EXPECT_EQ(e.box, dynamic_cast<TCircRaster&>(*r).SetCircG(c.radius, {0, 0}));
    }
    EXPECT_EQ(found, 1) << c.limit;
  }
}

TEST(CircleBoxTest, HugeRadiusSaturatesInsteadOfOverflowing) {
  TRecordingCanvas canvas;
  auto r = MakeChart(ChartKind::Polar, canvas, 330, 200);
  r->pBox1Paint();
  const TRectI b = dynamic_cast<TCircRaster&>(*r).SetCircG(1e300, {0, 0});
  EXPECT_EQ(b.right, kPixelLimit);
  EXPECT_EQ(b.bottom, kPixelLimit);
  EXPECT_EQ(b.left, -kPixelLimit);
  EXPECT_EQ(b.top, -kPixelLimit);
}

TEST(TraceDrawTest, EmptyListDrawsOnlyTheChart) {
  for (ChartKind k : {ChartKind::Rect, ChartKind::Polar, ChartKind::SmithZ, ChartKind::Vswr}) {
    TRecordingCanvas canvas;
    auto r = MakeChart(k, canvas, 330, 200);
    TTraces empty;
    r->AssignTraces(&empty);
    r->pBox1Paint();
    EXPECT_TRUE(canvas.Of(TCanvasCall::Polyline).empty()) << int(k);
    EXPECT_TRUE(canvas.Of(TCanvasCall::Marker).empty()) << int(k);
  }
}

TEST(TraceDrawTest, PutTraceDrawsVisibleTracesInTheChartClip) {
  TRecordingCanvas canvas;
  auto r = MakeChart(ChartKind::Rect, canvas, 330, 200, {}, testing::AxisRange(0, 1),
                     testing::AxisRange(0, 1));
  TTraces list;
  testing::FillTraces(list, {testing::Sweep(5, 0, 0, 1, 1), testing::Sweep(3, 0, 1, 1, 0)});
  list.Trace(0)->Attr().Dots.Visible = true;
  list.Trace(1)->Attr().Visible = false;
  r->AssignTraces(&list);
  r->pBox1Paint();
  const auto lines = canvas.Of(TCanvasCall::Polyline);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].pts.size(), 5u);
  EXPECT_EQ(lines[0].pts.front(), (TPt{r->ChartRect.left, r->ChartRect.bottom}));
  EXPECT_EQ(lines[0].pts.back(), (TPt{r->ChartRect.right, r->ChartRect.top}));
  EXPECT_EQ(lines[0].clip, r->ClipOf(vpRaster));
  EXPECT_EQ(lines[0].pen.Color, clRed);
  EXPECT_EQ(canvas.Of(TCanvasCall::Marker).size(), 5u);
}

// Live drawing of point 1 of a second sweep over a first one: what is drawn, in which mode,
// where. "o" is the first sweep's pixel, "n" the new one, "m" the moving marker's last place.
TEST(LiveDrawTest, RulesOfVisibleMovingPersistAndKakaj) {
  struct Case {
    bool visible, moving, persist, kakaj;
    std::vector<std::string> calls;
  };
  const Case cases[] = {
      {false, false, false, false, {"Lx o", "Lx n"}},
      {false, false, true, false, {"Lc n"}},
      {true, false, false, false, {"Lx o", "Lx n", "Mx o", "Mx n"}},
      {true, false, true, false, {"Lc n", "Mc n"}},
      {true, true, true, false, {"Lc n", "Mc n"}},
      {true, true, false, false, {"Lx o", "Lx n", "Mx m", "Mx n"}},
      {false, true, false, false, {"Lx o", "Lx n", "Mx m", "Mx n"}},
      {false, true, true, false, {"Lc n"}},
      {false, false, false, true, {"Lx o", "Lx n", "P n"}},
      {true, true, true, true, {"Lc n", "Mc n", "P n"}},
  };
  for (const Case& c : cases) {
    TRecordingCanvas canvas;
    auto r = MakeChart(ChartKind::Rect, canvas, 330, 200, {}, testing::AxisRange(0, 1),
                       testing::AxisRange(0, 1));
    r->Persist = c.persist;
    TTraces list;
    testing::FillTraces(list, {{}});
    TDots& d = list.Trace(0)->Attr().Dots;
    d.Visible = c.visible;
    d.Moving = c.moving;
    d.Kakaj = c.kakaj;
    r->pBox1Paint();
    auto add = [&](double x, double y, int32_t i) {
      list.Trace(0)->AddXY(x, y);
      r->MoveTraceSection(list, i);
    };
    add(0.0, 0.2, 0);
    add(1.0, 0.2, 1);
    r->FillGrBufXY();
    list.Vyprazdni();
    add(0.0, 0.8, 0);
    const TPt old = {r->Ox.g0[0][1], r->Oy.g0[0][1]};
    const TPt moving = {list.Trace(0)->last_x, list.Trace(0)->last_y};
    canvas.Reset();
    add(1.0, 0.8, 1);
    const TPt now = {r->Ox.g[0][1], r->Oy.g[0][1]};
    std::vector<std::string> got;
    auto where = [&](TPt p) { return p == old ? "o" : p == now ? "n" : p == moving ? "m" : "?"; };
    for (const auto& call : canvas.calls) {
      const char* mode = call.pen.Mode == pmNotXor ? "x" : "c";
      if (call.op == TCanvasCall::Line)
        got.push_back(std::string("L") + mode + " " + where(call.pts[1]));
      else if (call.op == TCanvasCall::Marker)
        got.push_back(std::string("M") + mode + " " + where(call.pts[0]));
      else if (call.op == TCanvasCall::Pixel)
        got.push_back(std::string("P ") + where(call.pts[0]));
    }
    EXPECT_EQ(got, c.calls) << c.visible << c.moving << c.persist << c.kakaj;
  }
}

TEST(LiveDrawTest, TraceWithoutThePointIsSkipped) {
  TRecordingCanvas canvas;
  auto r = MakeChart(ChartKind::Rect, canvas, 330, 200, {}, testing::AxisRange(0, 1),
                     testing::AxisRange(0, 1));
  TTraces list;
  testing::FillTraces(list, {testing::Sweep(3, 0, 0, 1, 1), testing::Sweep(2, 0, 1, 1, 0)});
  for (int32_t j = 0; j < 2; ++j) list.Trace(j)->Attr().Dots.Moving = false;
  r->AssignTraces(&list);
  r->pBox1Paint();
  r->FillGrBufXY();
  // The new sweep of trace 0 runs the other way, so its points differ from the previous one's.
  list.Trace(0)->Clear();
  for (const auto& [x, y] : testing::Sweep(3, 0, 1, 1, 0)) list.Trace(0)->AddXY(x, y);
  canvas.Reset();
  r->MoveTraceSection(list, 2);
  const auto lines = canvas.Of(TCanvasCall::Line);
  // Trace 0 draws its segment 1..2 (the previous drawing holds point 2: removed first); trace 1
  // holds no point 2 and draws nothing.
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(r->Ox.g[1].size(), 2u);
  r->MoveTraceSection(list, 7);  // no trace holds it
  EXPECT_EQ(canvas.Of(TCanvasCall::Line).size(), 2u);
}

// Removing a not-xor drawing and drawing it again changes no pixel: where a point of the new
// sweep lands on the very pixel of the previous sweep's (and so does the point before it), the
// segment and the dot are left alone, and a moving marker that would move onto its own pixel
// stays. With Persist every point is drawn (copy drawing is not undone).
TEST(LiveDrawTest, APointThatStaysOnItsPixelIsNotDrawnAgain) {
  struct Case {
    const char* name;
    bool persist;
    bool moved;  // the new sweep's last point lies elsewhere
    size_t lines, markers;
  };
  const Case cases[] = {
      {"stays", false, false, 0, 0},
      {"moves", false, true, 2, 2},  // old and new segment, old and new dot
      {"persist", true, false, 1, 1},
  };
  for (const Case& c : cases) {
    TRecordingCanvas canvas;
    auto r = MakeChart(ChartKind::Rect, canvas, 330, 200, {}, testing::AxisRange(0, 1),
                       testing::AxisRange(0, 1));
    r->Persist = c.persist;
    TTraces list;
    testing::FillTraces(list, {testing::Sweep(3, 0, 0, 1, 1)});
    TDots& d = list.Trace(0)->Attr().Dots;
    d.Visible = true;
    d.Moving = false;
    r->AssignTraces(&list);
    r->pBox1Paint();
    r->FillGrBufXY();
    list.Trace(0)->Clear();
    for (const auto& [x, y] : testing::Sweep(3, 0, 0, 1, c.moved ? 0.5 : 1))
      list.Trace(0)->AddXY(x, y);
    canvas.Reset();
    r->MoveTraceSection(list, 2);
    EXPECT_EQ(canvas.Of(TCanvasCall::Line).size(), c.lines) << c.name;
    EXPECT_EQ(canvas.Of(TCanvasCall::Marker).size(), c.markers) << c.name;
  }

  // The moving marker: drawn at point 1; point 2 lies on the same pixel, so it stays.
  TRecordingCanvas canvas;
  auto r = MakeChart(ChartKind::Rect, canvas, 330, 200, {}, testing::AxisRange(0, 1),
                     testing::AxisRange(0, 1));
  TTraces list;
  testing::FillTraces(list, {{{0, 0}, {0.5, 0.5}, {0.5, 0.5}, {1, 1}}});
  list.Trace(0)->Attr().Dots.Moving = true;
  r->AssignTraces(&list);
  r->pBox1Paint();
  canvas.Reset();
  r->MoveTraceSection(list, 1);
  r->MoveTraceSection(list, 2);
  EXPECT_EQ(canvas.Of(TCanvasCall::Marker).size(), 1u);
  r->MoveTraceSection(list, 3);  // moves on: removed there, drawn here
  EXPECT_EQ(canvas.Of(TCanvasCall::Marker).size(), 3u);
}

TEST(LiveDrawTest, PreviousDrawingShorterThanTheIndexIsNotRemoved) {
  TRecordingCanvas canvas;
  auto r = MakeChart(ChartKind::Rect, canvas, 330, 200, {}, testing::AxisRange(0, 1),
                     testing::AxisRange(0, 1));
  TTraces list;
  testing::FillTraces(list, {testing::Sweep(2, 0, 0, 1, 1)});
  list.Trace(0)->Attr().Dots.Moving = false;
  r->pBox1Paint();  // the previous drawing is now the two drawn points
  list.Trace(0)->AddXY(0.5, 0.5);
  canvas.Reset();
  r->MoveTraceSection(list, 2);
  ASSERT_EQ(canvas.Of(TCanvasCall::Line).size(), 1u);
}

TEST(LiveDrawTest, RepaintAndClearForgetWhatIsNoLongerOnTheChart) {
  TRecordingCanvas canvas;
  auto r = MakeChart(ChartKind::Rect, canvas, 330, 200, {}, testing::AxisRange(0, 1),
                     testing::AxisRange(0, 1));
  TTraces list;
  testing::FillTraces(list, {testing::Sweep(4, 0, 0, 1, 1)});
  r->AssignTraces(&list);
  for (int32_t i = 0; i < 4; ++i) r->MoveTraceSection(list, i);
  r->FillGrBufXY();
  ASSERT_GE(list.Trace(0)->last_x, 0);

  r->pBox1Paint();  // repaint: the previous drawing is what the repaint drew
  EXPECT_EQ(r->Ox.g0[0], r->Ox.g[0]);
  EXPECT_EQ(list.Trace(0)->last_x, -1);
  canvas.Reset();
  r->EraseMovingDot(list);
  EXPECT_TRUE(canvas.Of(TCanvasCall::Marker).empty());

  r->MoveTraceSection(list, 3);
  r->ClrRaster();
  EXPECT_TRUE(r->Ox.g0[0].empty());
  EXPECT_EQ(list.Trace(0)->last_x, -1);
  r->MoveTraceSection(list, 3);
  r->ClrPaintPnl();
  EXPECT_TRUE(r->Oy.g0[0].empty());
  EXPECT_EQ(list.Trace(0)->last_y, -1);
}

TEST(LiveDrawTest, MoveTraceReplacesThePreviousDrawing) {
  TRecordingCanvas canvas;
  auto r = MakeChart(ChartKind::Rect, canvas, 330, 200, {}, testing::AxisRange(0, 1),
                     testing::AxisRange(0, 1));
  TTraces list;
  testing::FillTraces(list, {testing::Sweep(3, 0, 0, 1, 1)});
  r->AssignTraces(&list);
  r->pBox1Paint();
  const std::vector<int32_t> before = r->Oy.g[0];
  list.Trace(0)->Clear();
  for (const auto& [x, y] : testing::Sweep(3, 0, 1, 1, 0)) list.Trace(0)->AddXY(x, y);
  canvas.Reset();
  r->MoveTrace(list);
  const auto lines = canvas.Of(TCanvasCall::Polyline);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].pen.Mode, pmNotXor);
  EXPECT_EQ(lines[0].pts[0].y, before[0]);
  EXPECT_EQ(lines[1].pts[0].y, r->ChartRect.top);
  EXPECT_EQ(r->Oy.g0[0], r->Oy.g[0]);
}

TEST(CaptionTest, AnchorAboveOrBelowByKind) {
  TRecordingCanvas c1, c2;
  auto rect = MakeChart(ChartKind::Rect, c1, 330, 200);
  auto smith = MakeChart(ChartKind::SmithZ, c2, 330, 200);
  rect->pBox1Paint();
  smith->pBox1Paint();
  EXPECT_EQ(rect->CaptionAnchor(8), (TPt{175, 19}));
  EXPECT_EQ(smith->CaptionSide(), capBott);
  EXPECT_EQ(smith->CaptionAnchor(8), (TPt{119, smith->Ox.NamePos.y + 9}));
}

}  // namespace
}  // namespace qz
