// The reflection-coefficient chart without its window: geometry, the chosen value and its
// fields, the grid, the area borders and the marker as drawn on a recording canvas.
#include "display/rhopad.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "charts/recordingcanvas.h"
#include "common/rhochartrig.h"
#include "core/records.h"

namespace qz {
namespace {

TEST(RhoMap, LayoutAndMappingOfAnOddSquare) {
  TRhoMap m;
  m.Layout(0, 301);
  EXPECT_EQ(m.X1, 2);
  EXPECT_EQ(m.X2, 298);
  EXPECT_EQ(m.Stred, 150.0);
  EXPECT_EQ(m.Dlzka, 149.0);
  struct Case {
    double r;
    complex g;
    TPt px;
  } cases[] = {
      {1.0, {0.0, 0.0}, {150, 150}},
      {1.0, {1.0, 0.0}, {299, 150}},
      {1.0, {0.0, 1.0}, {150, 1}},
      {0.5, {0.5, 0.0}, {299, 150}},
      {0.25, {-0.25, -0.25}, {1, 299}},
      // 0.3 x 149 = 44.7 pixels from the centre.
      {1.0, {0.3, -0.3}, {195, 195}},
      {1.0, {-0.3, 0.3}, {105, 105}},
      // Far outside the chart the pixel saturates instead of overflowing.
      {1.0, {1e300, -1e300}, {INT32_MAX, INT32_MAX}},
      {0.25, {-1e308, 1e308}, {INT32_MIN, INT32_MIN}},
  };
  for (const Case& c : cases) {
    m.Scale(c.r);
    EXPECT_EQ(m.ToPixel(c.g), c.px) << c.r << " " << c.g.re << " " << c.g.im;
  }
  m.Scale(0.5);
  const complex g = m.ToRho(TPt{299, 150});
  EXPECT_DOUBLE_EQ(g.re, 0.5);
  EXPECT_DOUBLE_EQ(g.im, 0.0);
  m.Scale(1.0);
  const complex top = m.ToRho(TPt{150, 1});
  EXPECT_DOUBLE_EQ(top.re, 0.0);
  EXPECT_DOUBLE_EQ(top.im, 1.0);
}

TEST(RhoMap, ClientHeightIsAtLeastTheControlsAndOdd) {
  struct Case {
    int32_t h, minBottom, want;
  } cases[] = {{300, 200, 301}, {301, 200, 301}, {100, 200, 203}, {100, 199, 201}, {202, 200, 203}};
  for (const Case& c : cases) EXPECT_EQ(RhoClientHeight(c.h, c.minBottom), c.want) << c.h;
}

TEST(RhoMap, GridCirclesAndLines) {
  TRhoMap m;
  m.Layout(0, 301);
  m.Scale(1.0);
  // Radius k/5 of 149 pixels: 29.8, 59.6, 89.4, 119.2, 149.
  const TRectI want[5] = {{120, 120, 180, 180},
                          {90, 90, 210, 210},
                          {61, 61, 239, 239},
                          {31, 31, 269, 269},
                          {1, 1, 299, 299}};
  for (int k = 0; k < 5; ++k) EXPECT_EQ(m.Kr[size_t(k)], want[k]) << k;
  // 149 / sqrt(2) = 105.36.
  EXPECT_EQ(m.Li[0], (TSegment{1, 150, 299, 150}));
  EXPECT_EQ(m.Li[1], (TSegment{150, 1, 150, 299}));
  EXPECT_EQ(m.Li[2], (TSegment{45, 255, 255, 45}));
  EXPECT_EQ(m.Li[3], (TSegment{45, 45, 255, 255}));
  // A smaller radius zooms: the same pixels stand for a quarter of the values.
  m.Scale(0.25);
  for (int k = 0; k < 5; ++k) EXPECT_EQ(m.Kr[size_t(k)], want[k]) << k;
}

TEST(RhoPad, ChoosingByPointerAndByTyping) {
  struct Case {
    const char* what;
    int radius;
    bool typed;
    TPt at;
    const char* mag;
    const char* deg;
    complex g;
    TRhoFields fields;
  } cases[] = {
      {"right end at radius 0.5",
       1,
       false,
       {299, 150},
       "",
       "",
       {0.5, 0.0},
       {"0.500", "   0.0", "  3.00"}},
      {"centre", 0, false, {150, 150}, "", "", {0.0, 0.0}, {"0.000", "   0.0", "  1.00"}},
      {"typed outside the chart",
       0,
       true,
       {},
       "2",
       "90",
       {0.0, 2.0},
       {"2.000", "  90.0", "  3.00"}},
      {"comma as point",
       0,
       true,
       {},
       "0,5",
       "-135.5",
       CPolarDeg(0.5, -135.5),
       {"0.500", "-135.5", "  3.00"}},
      // Text that is not a number keeps the present value (0.25 at 45 degrees).
      {"magnitude not a number",
       0,
       true,
       {},
       "abc",
       "90",
       {0.0, 0.25},
       {"0.250", "  90.0", "  1.67"}},
      {"phase not a number",
       0,
       true,
       {},
       "0.5",
       "",
       CPolarDeg(0.5, 45.0),
       {"0.500", "  45.0", "  3.00"}},
  };
  for (const Case& c : cases) {
    TRhoPad p;
    p.Layout(0, 301);
    p.SetRadius(c.radius);
    p.SetRho(CPolarDeg(0.25, 45.0));
    if (c.typed)
      p.ReadFields(QString::fromLatin1(c.mag), QString::fromLatin1(c.deg));
    else
      p.PickAt(c.at);
    EXPECT_NEAR(p.MouseRho.re, c.g.re, 1e-12) << c.what;
    EXPECT_NEAR(p.MouseRho.im, c.g.im, 1e-12) << c.what;
    EXPECT_EQ(p.Fields, c.fields) << c.what;
  }
}

TEST(RhoPad, MarkerOutsideTheChartAndFarAway) {
  TRhoPad p;
  p.Layout(0, 301);
  TRecordingCanvas c;
  p.ReadFields(QStringLiteral("2"), QStringLiteral("90"));
  p.Redraw(c);
  // j2 lies 298 pixels above the centre: outside the drawing area, so nothing is drawn.
  EXPECT_EQ(p.x0, 150);
  EXPECT_EQ(p.y0, -148);
  EXPECT_TRUE(c.Of(TCanvasCall::Rectangle).empty());

  // A huge magnitude stays as typed; the marker's pixel saturates.
  p.ReadFields(QStringLiteral("1e300"), QStringLiteral("0"));
  c.Reset();
  p.MoveMarker(c);
  EXPECT_EQ(p.fMag, 1e300);
  EXPECT_EQ(p.MouseRho.re, 1e300);
  EXPECT_EQ(p.x0, INT32_MAX);
  EXPECT_EQ(p.y0, 150);
  EXPECT_TRUE(c.Of(TCanvasCall::Rectangle).empty());

  // Back inside: a not-xor square of half-size 3 at the new place only.
  p.ReadFields(QStringLiteral("0.3"), QStringLiteral("180"));
  c.Reset();
  p.MoveMarker(c);
  const auto sq = c.Of(TCanvasCall::Rectangle);
  ASSERT_EQ(sq.size(), 1u);
  EXPECT_EQ(sq[0].box, (TRectI{102, 147, 109, 154}));  // centre (105, 150)
  EXPECT_EQ(sq[0].pen.Mode, pmNotXor);
  // Moving it draws the old square again (removing it), then the new one.
  p.ReadFields(QStringLiteral("0"), QStringLiteral("0"));
  c.Reset();
  p.MoveMarker(c);
  const auto mv = c.Of(TCanvasCall::Rectangle);
  ASSERT_EQ(mv.size(), 2u);
  EXPECT_EQ(mv[0].box, (TRectI{102, 147, 109, 154}));
  EXPECT_EQ(mv[1].box, (TRectI{147, 147, 154, 154}));
}

TEST(RhoPad, RepaintKeepsTheMarkerWhereItWasRedrawPlacesItAtTheValue) {
  TRhoPad p;
  p.Layout(0, 301);
  p.ReadFields(QStringLiteral("0.3"), QStringLiteral("180"));
  TRecordingCanvas c;
  p.Redraw(c);
  ASSERT_EQ(c.Of(TCanvasCall::Rectangle).size(), 1u);
  // The value changes without moving the marker: a repaint shows it at its last place.
  p.SetRho(complex());
  c.Reset();
  p.Repaint(c);
  auto sq = c.Of(TCanvasCall::Rectangle);
  ASSERT_EQ(sq.size(), 1u);
  EXPECT_EQ(sq[0].box, (TRectI{102, 147, 109, 154}));
  EXPECT_EQ(c.Of(TCanvasCall::Fill).size(), 1u);
  // A redraw forgets the old place (the image was cleared) and draws only the new square.
  c.Reset();
  p.Redraw(c);
  sq = c.Of(TCanvasCall::Rectangle);
  ASSERT_EQ(sq.size(), 1u);
  EXPECT_EQ(sq[0].box, (TRectI{147, 147, 154, 154}));
}

TEST(RhoPad, GridAreasAndTextsAsDrawn) {
  TRhoPad p;
  p.Layout(0, 301);
  p.RhoArea.fill(TRhoPt{9000, -9000});  // 0.3 - j0.3
  p.RhoArea[100] = TRhoPt{-30000, 0};
  p.MaxText = QStringLiteral("50.00 mm");
  p.UnitText = QStringLiteral("QZTU V1.8/0");
  p.FreqText = QStringLiteral("2.45 GHz");
  for (int kind : {kAreaNone, kAreaMatchable}) {
    p.AreaKind = kind;
    p.SetRadius(0);
    TRecordingCanvas c;
    p.Redraw(c);
    const auto fills = c.Of(TCanvasCall::Fill);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].box, (TRectI{0, 0, 301, 301}));
    EXPECT_EQ(fills[0].color, clWhite);
    const auto el = c.Of(TCanvasCall::Ellipse);
    ASSERT_EQ(el.size(), 5u);
    for (size_t k = 0; k < 4; ++k) EXPECT_EQ(el[k].pen.Color, kRhoGridGrey) << k;
    EXPECT_EQ(el[4].pen.Color, clBlack);
    EXPECT_EQ(el[4].box, (TRectI{1, 1, 299, 299}));
    const auto li = c.Of(TCanvasCall::Line);
    ASSERT_EQ(li.size(), 4u);
    for (const auto& l : li) EXPECT_EQ(l.pen.Color, kRhoGridGrey);
    const auto poly = c.Of(TCanvasCall::Polygon);
    if (kind == kAreaNone) {
      EXPECT_TRUE(poly.empty());
      EXPECT_TRUE(c.Texts().empty());
      continue;
    }
    ASSERT_EQ(poly.size(), 2u);
    EXPECT_EQ(poly[0].pen.Color, clBlue);
    EXPECT_EQ(poly[1].pen.Color, clFuchsia);
    for (const auto& q : poly) {
      EXPECT_EQ(q.pen.Width, 2);
      EXPECT_EQ(q.brush.Style, bsClear);
      EXPECT_EQ(q.pts.size(), 100u);
    }
    EXPECT_EQ(poly[0].pts[0], (TPt{195, 195}));
    EXPECT_EQ(poly[1].pts[0], (TPt{1, 150}));
    const auto texts = c.Of(TCanvasCall::Text);
    ASSERT_EQ(texts.size(), 5u);
    EXPECT_EQ(texts[0].text, "1 + 2");
    EXPECT_EQ(texts[0].font.Color, clBlue);
    EXPECT_TRUE(texts[0].font.Bold);
    EXPECT_EQ(texts[1].text, "2 + 3");
    EXPECT_EQ(texts[1].font.Color, clFuchsia);
    EXPECT_TRUE(texts[1].font.Bold);
    EXPECT_GT(texts[1].pts[0].y, texts[0].pts[0].y);
    EXPECT_EQ(texts[2].text, "50.00 mm");
    EXPECT_GT(texts[2].pts[0].x, 150);  // top right
    EXPECT_LT(texts[2].pts[0].y, 150);
    EXPECT_EQ(texts[3].text, "QZTU V1.8/0");
    EXPECT_LT(texts[3].pts[0].x, 150);  // bottom left
    EXPECT_GT(texts[3].pts[0].y, 150);
    EXPECT_EQ(texts[4].text, "2.45 GHz");
    EXPECT_GT(texts[4].pts[0].x, 150);  // bottom right
    EXPECT_GT(texts[4].pts[0].y, 150);
    // A new radius moves the borders' pixels with it.
    p.SetRadius(1);
    EXPECT_EQ(p.Wmark[0], (TPt{239, 239}));  // 0.6 x 149 = 89.4
  }
}

TEST(RhoPad, AreasFetchedForKindPlaneAndFrequency) {
  testing::RhoChartRig r;
  TRhoPad p;
  p.Layout(0, 301);
  p.FetchAreas(r.t.m, 2.45e9, nullptr, r.qv.FixPar);
  // No area chosen: nothing is fetched, the texts are there for when one is.
  for (const TRhoPt& pt : p.RhoArea) EXPECT_EQ(pt, TRhoPt{});
  EXPECT_EQ(p.FreqText, "2.45 GHz");
  EXPECT_EQ(p.UnitText, "QZTU V1.8/0");
  // The built-in tuner: 3000 steps of 0.01 mm.
  EXPECT_EQ(p.MaxText, "30.00 mm");

  p.AreaKind = kAreaMatchable;
  p.FetchAreas(r.t.m, 2.45e9, nullptr, r.qv.FixPar);
  TRhoArea direct{};
  GetRhoArea(r.t.m, 2.45e9, kAreaMatchable, kAreaOutput, nullptr, direct);
  EXPECT_EQ(p.RhoArea, direct);
  EXPECT_EQ(p.Wmark[7], p.Map.ToPixel(complex(direct[7].re / 30000.0, direct[7].im / 30000.0)));
  // Another plane and another frequency give other borders.
  const TRhoArea atOutput = p.RhoArea;
  p.AreaPlane = kAreaStub1;
  p.FetchAreas(r.t.m, 2.45e9, nullptr, r.qv.FixPar);
  EXPECT_NE(p.RhoArea, atOutput);
  const TRhoArea atStub1 = p.RhoArea;
  p.FetchAreas(r.t.m, 2.40e9, nullptr, r.qv.FixPar);
  EXPECT_NE(p.RhoArea, atStub1);
  EXPECT_EQ(p.FreqText, "2.4 GHz");
  // The simulation's own frequency data are left as they were.
  EXPECT_EQ(r.t.m.Freq().F_Hz, testing::kTunerRigFreq);
}

}  // namespace
}  // namespace qz
