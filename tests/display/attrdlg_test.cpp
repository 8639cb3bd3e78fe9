// The trace and pen dialogs' logic: copies, the coupling of visibility and style, the shape
// grid and the preview pictures.

#include <gtest/gtest.h>

#include "charts/recordingcanvas.h"
#include "display/attrdlgdata.h"
#include "display/dlgpreview.h"
#include "display/pendlgdata.h"

namespace qz {
namespace {

TEST(PenDlgTest, VisibleAndStyleAreCoupled) {
  TPenDlgData p;
  p.Load(TPen{clRed, psDot, 3, pmCopy});
  EXPECT_TRUE(p.Visible());
  p.SetStyle(psClear);  // choosing "None"
  EXPECT_FALSE(p.Visible());
  p.SetVisible(true);  // checked again: solid
  EXPECT_EQ(p.PenBuf.Style, psSolid);
  p.SetStyle(psDashDot);
  p.SetVisible(true);  // already visible: the style stays
  EXPECT_EQ(p.PenBuf.Style, psDashDot);
  p.SetVisible(false);
  EXPECT_EQ(p.PenBuf.Style, psClear);
  p.SetStyle(6);  // no such row
  EXPECT_EQ(p.PenBuf, (TPen{clRed, psClear, 3, pmCopy}));
}

TEST(PenDlgTest, StyleRowsOfTheTwoLists) {
  EXPECT_EQ(PenStyleNames().mid(0, kTraceStyleCount),
            QStringList({"Solid", "Dashed", "Dotted", "DashDot", "DashDotDot"}));
  EXPECT_EQ(PenStyleNames().value(5), "None");
  // A clear pen has no row in the trace dialog's list of five.
  EXPECT_EQ(PenStyleRow(psClear, kTraceStyleCount), -1);
  EXPECT_EQ(PenStyleRow(psClear, kPenStyleCount), 5);
  EXPECT_EQ(PenStyleRow(psDashDotDot, kTraceStyleCount), 4);
  EXPECT_EQ(PenStyleRow(-1, kPenStyleCount), -1);
}

TEST(ShapeGridTest, CellsMapToShapesAndTheTwelfthIsEmpty) {
  // A grid of 96 x 60: cells of 24 x 20.
  const struct {
    int x, y, cell, shape;
  } cases[] = {{0, 0, 0, 0},     {30, 5, 1, 1},    {95, 19, 3, 3},   {0, 20, 4, 4},
               {50, 45, 10, 10}, {80, 50, 11, -1}, {96, 10, -1, -1}, {-1, 10, -1, -1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.x << "," << c.y);
    EXPECT_EQ(ShapeCellAt(c.x, c.y, 96, 60), c.cell);
    EXPECT_EQ(ShapeOfCell(c.cell), c.shape);
  }
}

TEST(ShapeGridTest, DrawsElevenBlueShapesAndFramesTheCurrentOne) {
  TRecordingCanvas c;
  DrawShapeGrid(c, 96, 60, 9, clBtnFace);
  const auto markers = c.Of(TCanvasCall::Marker);
  ASSERT_EQ(markers.size(), 11u);
  for (size_t i = 0; i < markers.size(); ++i) {
    EXPECT_EQ(markers[i].tvar, int32_t(i));
    EXPECT_EQ(markers[i].pen.Color, clBlue);
    EXPECT_EQ(markers[i].size, kGridDotSize);
  }
  // Shape 9 lives in cell 9: column 1, row 2 (24..48 x 40..60).
  EXPECT_EQ(markers[9].pts.at(0), (TPt{36, 50}));
  const auto frames = c.Of(TCanvasCall::Rectangle);
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].pen.Color, clBlack);
  EXPECT_EQ(frames[0].box, (TRectI{25, 41, 47, 59}));
}

TEST(PreviewTest, MarkersAndLineFollowTheAttributes) {
  struct Case {
    const char* name;
    bool visible, line, dots, moving, pixels;
    bool wantLine;
    std::vector<TPt> wantMarkers, wantPixels;
  };
  const TPt q3{150, 20}, q2{100, 20}, q1{50, 20};
  const Case cases[] = {
      {"line only", true, true, false, false, false, true, {}, {}},
      {"markers at three points", true, false, true, false, false, false, {q3, q2, q1}, {}},
      {"moving marker at the newest point", true, true, false, true, false, true, {q3}, {}},
      {"moving wins over all markers", true, true, true, true, false, true, {q3}, {}},
      {"pixels", true, false, false, false, true, false, {}, {q3, q2, q1}},
      {"invisible trace draws nothing", false, true, true, false, true, false, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TDrawAttrib a;
    a.Visible = c.visible;
    a.LineVisible = c.line;
    a.Dots.Visible = c.dots;
    a.Dots.Moving = c.moving;
    a.Dots.Kakaj = c.pixels;
    const TPreviewPlan p = AttrPreviewPlan(a, 200, 40);
    EXPECT_EQ(p.line, c.wantLine);
    EXPECT_EQ(p.from, (TPt{20, 20}));
    EXPECT_EQ(p.to, (TPt{180, 20}));
    EXPECT_EQ(p.markers, c.wantMarkers);
    EXPECT_EQ(p.pixels, c.wantPixels);
  }
}

TEST(PreviewTest, LineShapesUseASolidPenOfTheMarkerLineWidth) {
  TDrawAttrib a;
  a.LinePen = TPen{clGreen, psDash, 2, pmNotXor};
  a.Dots.Visible = true;
  a.Dots.Moving = false;
  a.Dots.Border = TPen{clRed, psDot, 1, pmCopy};
  a.Dots.LineWidth = 4;
  for (int32_t shape : {tvPlus, tvCross, tvAsterisk, tvSquare}) {
    SCOPED_TRACE(shape);
    a.Dots.Tvar = shape;
    TRecordingCanvas c;
    DrawAttrPreview(c, a, 200, 40, clWhite);
    const auto lines = c.Of(TCanvasCall::Line);
    ASSERT_EQ(lines.size(), 1u);
    // The preview is drawn over, not inverted.
    EXPECT_EQ(lines[0].pen, (TPen{clGreen, psDash, 2, pmCopy}));
    const auto marks = c.Of(TCanvasCall::Marker);
    ASSERT_EQ(marks.size(), 3u);
    const bool lineShape = shape != tvSquare;
    EXPECT_EQ(marks[0].pen.Style, lineShape ? psSolid : psDot);
    EXPECT_EQ(marks[0].pen.Width, lineShape ? 4 : 1);
  }
}

TEST(PreviewTest, PenPreviewIsEmptyForAClearPen) {
  TRecordingCanvas c;
  DrawPenPreview(c, TPen{clBlue, psDashDot, 3, pmCopy}, 100, 21, clWhite);
  const auto lines = c.Of(TCanvasCall::Line);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].pts, (std::vector<TPt>{{10, 10}, {90, 10}}));
  c.Reset();
  DrawPenPreview(c, TPen{clBlue, psClear, 3, pmCopy}, 100, 21, clWhite);
  EXPECT_TRUE(c.Of(TCanvasCall::Line).empty());
  EXPECT_EQ(c.Of(TCanvasCall::Fill).size(), 1u);
}

// Three traces with distinct attributes, as a Power display has them.
TTraces PowerTraces() {
  TTraces t;
  const char* titles[] = {"Pinc", "Prefl", "Pabs"};
  for (int32_t j = 0; j < 3; ++j) {
    t.Pridaj(titles[j], nullptr, kDisplayTraces);
    t.Trace(j)->Title = titles[j];
    TDrawAttrib a;
    a.LinePen.Color = TColor(0x10 * (j + 1));
    a.Dots.Tvar = j;
    t.Trace(j)->SetAttr(a);
  }
  return t;
}

TEST(AttrDlgTest, EditsReachOnlyTheChosenTraceAndOnlyOnApply) {
  TTraces traces = PowerTraces();
  TTracesAtrib spare;
  spare[3].LinePen.Color = clAqua;
  TAttrDlgData d;
  d.Load(traces, spare, true, false);
  EXPECT_EQ(d.Entries(), QStringList({"1:  Pinc", "2:  Prefl", "3:  Pabs"}));
  EXPECT_EQ(d.SelTrace, 0);
  EXPECT_TRUE(d.PersBuf);
  EXPECT_FALSE(d.ClrGoBuf);
  EXPECT_EQ(d.AtrBuf[3].LinePen.Color, clAqua);

  d.Select(1);
  d.Sel().LinePen.Color = clRed;
  d.Sel().LinePen.Width = 4;
  EXPECT_TRUE(d.ChooseCell(9));
  EXPECT_FALSE(d.ChooseCell(11));  // the empty cell
  EXPECT_EQ(d.Sel().Dots.Tvar, 9);
  d.SetBorderVisible(false);
  d.SetNoFill(true);
  EXPECT_EQ(traces.Trace(1)->Attr(), PowerTraces().Trace(1)->Attr());  // not yet

  TDrawAttrib want = PowerTraces().Trace(1)->Attr();
  want.LinePen.Color = clRed;
  want.LinePen.Width = 4;
  want.Dots.Tvar = 9;
  want.Dots.Border.Style = psClear;
  want.Dots.Fill.Style = bsClear;
  d.Apply(traces);
  EXPECT_EQ(traces.Trace(1)->Attr(), want);
  EXPECT_EQ(traces.Trace(0)->Attr(), PowerTraces().Trace(0)->Attr());
  EXPECT_EQ(traces.Trace(2)->Attr(), PowerTraces().Trace(2)->Attr());
}

TEST(AttrDlgTest, ValuesBeyondTheListsSurviveUntilChanged) {
  TTraces traces = PowerTraces();
  TDrawAttrib odd = traces.Trace(0)->Attr();
  odd.LinePen.Style = psClear;
  odd.LinePen.Width = 50;
  odd.Dots.LineWidth = 80;
  traces.Trace(0)->SetAttr(odd);
  TAttrDlgData d;
  d.Load(traces, {}, false, true);
  EXPECT_EQ(PenStyleRow(d.Sel().LinePen.Style, kTraceStyleCount), -1);
  d.SetLineStyle(5);  // no such row in the list of five
  d.Apply(traces);
  EXPECT_EQ(traces.Trace(0)->Attr(), odd);
  d.SetLineStyle(psDot);
  d.Apply(traces);
  EXPECT_EQ(traces.Trace(0)->Attr().LinePen.Style, psDot);
  EXPECT_EQ(traces.Trace(0)->Attr().LinePen.Width, 50);
}

}  // namespace
}  // namespace qz
