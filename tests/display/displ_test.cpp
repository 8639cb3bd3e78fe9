#include <gtest/gtest.h>

#include <QPoint>
#include <array>

#include <cmath>

#include "charts/recordingcanvas.h"
#include "charts/smithraster.h"
#include "common/testframes.h"
#include "core/qvwin.h"
#include "display/dformstp.h"
#include "display/displ.h"
#include "display/displayops.h"
#include "util/inifile.h"

namespace qz {
namespace {

TEST(DisplTest, TypeChangeAndBackRestoresTheTypesSettings) {
  TRasterDepot depot;
  int32_t lastType = -1;
  TDispl d(depot, diPower, nullptr, [&](int32_t t) { lastType = t; });
  EXPECT_EQ(lastType, diPower);
  d.SetUnit(3);  // kW
  EXPECT_EQ(d.Grf->Oy.Stp.Data.Jedn, "kW");
  EXPECT_NEAR(d.Grf->Oy.Stp.Data.MaxDflt, 10.0, 1e-9);
  d.Grf->Oy.Stp.Data.MaxAsk = 8.0;
  d.Grf->CapText = "Amp";
  d.SetTypXY(kXReS11, diZSmith, {});
  EXPECT_EQ(d.GetTypX(), kXReS11);
  EXPECT_EQ(d.Grf->iZoom, 3);
  EXPECT_TRUE(d.Grf->IsCircular());
  d.SetTypXY(kXReS11, diPower, {});  // the stored X type does not fit: Points
  EXPECT_EQ(d.GetTypX(), kXPoints);
  EXPECT_EQ(d.TracesToDraw.Count(), 3);
  EXPECT_EQ(d.Grf->Oy.Stp.Data.Jedn, "kW");
  EXPECT_EQ(d.Grf->Oy.Stp.Data.MaxAsk, 8.0);
  EXPECT_EQ(d.Grf->CapText, "Amp");
  EXPECT_EQ(lastType, diPower);
}

TEST(DisplTest, SharedLimitSetOnVswrShowsOnMagLogMagAndPolar) {
  TRasterDepot depot;
  TDispl d(depot, diVSWR);
  d.SetLimitValue(2.0);
  EXPECT_NEAR(d.Grf->LimLine.Value, 2.0, 1e-12);
  d.SetTypXY(kXPoints, diMag, {});
  EXPECT_NEAR(d.Grf->LimLine.Value, 1.0 / 3.0, 1e-12);
  d.SetTypXY(kXPoints, diLogMag, {});
  EXPECT_NEAR(d.Grf->LimLine.Value, -9.54, 0.005);
  d.SetTypXY(kXReS11, diPolar, {});
  EXPECT_NEAR(d.Grf->LimLine.Value, 1.0 / 3.0, 1e-12);
  // Own limits are not touched.
  d.SetTypXY(kXPoints, diPhase, {});
  EXPECT_EQ(d.Grf->LimLine.Value, 48.0);
}

TEST(DisplTest, AutoscaleOnSmithPicksTheSmallestChartHoldingThePoints) {
  TRasterDepot depot;
  TDispl d(depot, diZSmith);
  TAutoscaleResult r = d.Autoscale();
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.message, "No data to autoscale:\r\nMeasure or make traces visible first");
  d.TracesToDraw.Trace(0)->AddXY(0.05, -0.06);
  d.TracesToDraw.Trace(0)->AddXY(0.0, 0.08);
  r = d.Autoscale();
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(d.Grf->iZoom, 3);
  EXPECT_NEAR(SmithZoomTable()[3].A, 0.1, 1e-12);
  d.TracesToDraw.Trace(0)->AddXY(0.9, 0.0);
  d.Autoscale();
  EXPECT_EQ(d.Grf->iZoom, 0);
  // Invisible traces do not count.
  TDrawAttrib a = d.TracesToDraw.Trace(0)->Attr();
  a.Visible = false;
  d.TracesToDraw.Trace(0)->SetAttr(a);
  EXPECT_EQ(d.Autoscale().message, kNoDataToAutoscale);
}

TEST(DisplTest, AutoscaleRoundsTheExtentsAndLeavesTheDefaultRange) {
  TRasterDepot depot;
  TDispl d(depot, diMag);
  d.TracesToDraw.Trace(0)->AddXY(0, 0.123456);
  d.TracesToDraw.Trace(0)->AddXY(1, 0.456789);
  ASSERT_TRUE(d.Autoscale().ok);
  EXPECT_DOUBLE_EQ(d.Grf->Oy.Stp.Data.MinAsk, 0.123);
  EXPECT_DOUBLE_EQ(d.Grf->Oy.Stp.Data.MaxAsk, 0.457);
  EXPECT_FALSE(d.Grf->Oy.Stp.Data.UseDflt);
  EXPECT_FALSE(d.Grf->Ox.Stp.Data.UseDflt);
  d.DefaultY();
  EXPECT_TRUE(d.Grf->Oy.Stp.Data.UseDflt);
  EXPECT_FALSE(d.Grf->Ox.Stp.Data.UseDflt);

  TDispl p(depot, diPolar);
  p.TracesToDraw.Trace(0)->AddXY(0.3, 0.4);
  ASSERT_TRUE(p.Autoscale().ok);
  EXPECT_DOUBLE_EQ(p.Grf->Oy.Stp.Data.MaxAsk, 0.5);
}

TEST(DisplTest, PointAxisFollowsTheSweepLength) {
  TRasterDepot depot;
  TDispl d(depot, diMag);
  EXPECT_TRUE(d.ZmenOsX(101));
  EXPECT_EQ(d.Grf->Ox.Stp.Data.MinAsk, 0.0);
  EXPECT_EQ(d.Grf->Ox.Stp.Data.MaxAsk, 100.0);
  EXPECT_TRUE(d.ZmenOsX(1));
  EXPECT_EQ(d.Grf->Ox.Stp.Data.MaxAsk, 1.0);
  EXPECT_TRUE(d.ZmenOsX(0));
  EXPECT_EQ(d.Grf->Ox.Stp.Data.MaxAsk, 1.0);
  d.AutoX = false;
  d.ZmenOsX(500);
  EXPECT_EQ(d.Grf->Ox.Stp.Data.MaxAsk, 1.0);
  TDispl s(depot, diOven);
  EXPECT_FALSE(s.ZmenOsX(101));
}

// ---- the window's setup section ---------------------------------------------------------------

TEST(DFormStpTest, DisplaySectionsAreDFormAndDigitsAtAnyLength) {
  for (const char* s : {"DForm_1", "DForm_100", "dform_12345678", "DForm_007"})
    EXPECT_TRUE(IsDisplaySection(s)) << s;
  for (const char* s : {"DForm_", "DForm_1 DepotY_0", "DForm_100 Trace_0", "DForm_1a", "DForm",
                        "XDForm_1", "DForm_ 1"})
    EXPECT_FALSE(IsDisplaySection(s)) << s;
  EXPECT_EQ(DisplaySectionName(100), "DForm_100");
}

TEST(DFormStpTest, WholeRecordRoundTrip) {
  TDFormStp a;
  a.WindowState = 0;
  a.Top = 40;
  a.Left = 50;
  a.Width = 400;
  a.Height = 300;
  a.LgndTop = 20;
  a.LgndLeft = 200;
  a.LgndShow = false;
  a.pTimeTop = 3;
  a.pTimeLeft = 100;
  a.pTimeShow = true;
  a.ClearAndGo = false;
  a.Persist = true;
  a.sbGmaL = true;
  a.DsplTyp = diZSmith;
  a.Xaxis = kXReS11;
  a.AutoX = false;
  a.Capt.Transparent = false;
  a.Capt.Color = 0x00FFEE;
  a.Depot.Ine[diZSmith].Zoom = 2;
  a.Depot.Ine[diZSmith].Lim.Va = 0.3;
  a.Depot.Ine[diZSmith].CapText = "Load";
  a.Depot.Ine[diZSmith].CapVisible = true;
  a.Depot.OsY[diPower].Data.Nunit = 3;
  a.Depot.OsY[diPower].Data.MaxAsk = 7.5;
  a.Atr[2].LinePen.Color = 0x123456;
  a.Atr[3].Dots.Tvar = tvCross;
  // Values are stored with 15 significant digits: the shared limits' defaults (-18.416...,
  // 1.2727...) come back within that, so the record compared holds values stored exactly.
  for (int32_t t : {diLogMag, diVSWR, diOven}) a.Depot.Ine[size_t(t)].Lim.Va = 1.5;

  IniFile ini;
  a.WriteStp(ini, "DForm_1");
  EXPECT_FALSE(ini.ValueExists("DForm_1", "CaptLCaption"));
  EXPECT_FALSE(ini.ValueExists("DForm_1", "CaptLVisible"));
  EXPECT_TRUE(ini.SectionExists("DForm_1 DepotX_3"));
  EXPECT_TRUE(ini.SectionExists("DForm_1 DepotY_15"));
  EXPECT_FALSE(ini.SectionExists("DForm_1 DepotY_9"));
  EXPECT_TRUE(ini.SectionExists("DForm_1 Trace_3"));
  TDFormStp b;
  b.ReadStp(ini, "DForm_1", 330, 220);
  // LastMin/LastMax follow the requested range on reading.
  a.Depot.OsY[diPower].Data.LastMax = 7.5;
  EXPECT_TRUE(a == b);
}

// The outer place is kept only in the normal state (a minimized or maximized window keeps the
// place the file holds from its normal state); it is read in any state.
TEST(DFormStpTest, ThePlaceIsWrittenOnlyInTheNormalState) {
  for (const int32_t state : {0, 1, 2}) {
    SCOPED_TRACE(state);
    TDFormStp a;
    a.WindowState = state;
    a.Top = 40;
    // Partly off the MDI area and larger than any screen: kept as it is.
    a.Left = -15;
    a.Width = 5000;
    a.Height = 3;
    IniFile ini;
    a.WriteStp(ini, "DForm_1");
    const QStringList keys = ini.ReadSection("DForm_1");
    for (const char* k : {"Top", "Left", "Width", "Height"})
      EXPECT_EQ(keys.contains(QString::fromLatin1(k)), state == 0) << k;
    EXPECT_EQ(keys.indexOf("LgndTop"), state == 0 ? 5 : 1);
    ini.WriteInteger("DForm_1", "Top", 77);
    TDFormStp b;
    b.ReadStp(ini, "DForm_1", 330, 220);
    EXPECT_EQ(b.Top, 77);
    EXPECT_EQ(b.WindowState, state);
    if (state == 0) {
      EXPECT_EQ(ini.ReadString("DForm_1", "Left", {}), QStringLiteral("-15"));
      EXPECT_EQ((std::array{b.Left, b.Width, b.Height}), (std::array{-15, 5000, 3}));
    }
  }
}

TEST(DFormStpTest, ReadLimitsEveryDamagedValue) {
  IniFile ini;
  ini.SetText(
      "[DForm_1]\r\nDsplTyp=9\r\nX-axis=4\r\nLgndTop=900\r\nLgndLeft=-5\r\npTimeTop=500\r\n"
      "pTimeLeft=1000\r\n[DForm_1 DepotY_5]\r\nLimWidth=20\r\nZoom=7\r\nLimValue=abc\r\n"
      "[DForm_1 DepotY_0]\r\nLimWidth=0\r\nZoom=-1\r\n");
  TDFormStp r;
  r.ReadStp(ini, "DForm_1", 330, 220);
  EXPECT_EQ(r.DsplTyp, diMag);
  EXPECT_EQ(r.Xaxis, kXPoints);
  EXPECT_EQ(r.LgndTop, 210);
  EXPECT_EQ(r.LgndLeft, 1);
  EXPECT_EQ(r.pTimeTop, 215);
  EXPECT_EQ(r.pTimeLeft, 320);
  EXPECT_EQ(r.Depot.Ine[diZSmith].Lim.Wi, 11);
  EXPECT_EQ(r.Depot.Ine[diZSmith].Zoom, 4);
  EXPECT_NEAR(r.Depot.Ine[diZSmith].Lim.Va, 0.12, 1e-12);  // unreadable: kept
  EXPECT_EQ(r.Depot.Ine[diMag].Lim.Wi, 1);
  EXPECT_EQ(r.Depot.Ine[diMag].Zoom, 0);
  ini.SetText("[DForm_2]\r\nDsplTyp=40\r\n");
  r.ReadStp(ini, "DForm_2", 330, 220);
  EXPECT_EQ(r.DsplTyp, diMag);  // 19 after the clamp, not offered
}

// Legend 60 x 24 and clock 40 x 16 over a chart panel of 330 x 220: each stands whole inside,
// 1 pixel from the left and top edges at least and 2 from the right and bottom, as a dragged
// panel does; a place that fits is kept.
TEST(DFormStpTest, FitPanelsKeepsAPlaceThatFitsAndMovesTheOthersWhollyIn) {
  const QSize legend(60, 24), clock(40, 16), panel(330, 220);
  const struct {
    const char* name;
    QPoint asked;   // the same place asked for legend and clock
    QPoint legend;  // where each stands then
    QPoint clock;
  } cases[] = {
      {"inside", {30, 12}, {30, 12}, {30, 12}},
      {"the legend's last place", {268, 194}, {268, 194}, {268, 194}},
      {"one pixel beyond it", {269, 195}, {268, 194}, {269, 195}},
      {"the clock's last place", {288, 202}, {268, 194}, {288, 202}},
      {"at the client's width less 10", {320, 210}, {268, 194}, {288, 202}},
      {"far beyond", {100000, 100000}, {268, 194}, {288, 202}},
      {"left of and above", {-40, -3}, {1, 1}, {1, 1}},
      {"at the edge", {0, 0}, {1, 1}, {1, 1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TDFormStp r;
    r.LgndLeft = r.pTimeLeft = c.asked.x();
    r.LgndTop = r.pTimeTop = c.asked.y();
    r.FitPanels(legend, clock, panel);
    EXPECT_EQ(QPoint(r.LgndLeft, r.LgndTop), c.legend);
    EXPECT_EQ(QPoint(r.pTimeLeft, r.pTimeTop), c.clock);
    // Fitting again changes nothing: a place read and written again stays.
    const TDFormStp once = r;
    r.FitPanels(legend, clock, panel);
    EXPECT_TRUE(r == once);
  }
  // A panel smaller than the legend: it starts at 1, never at a negative place.
  TDFormStp r;
  r.LgndLeft = r.LgndTop = 30;
  r.FitPanels(legend, clock, QSize(50, 20));
  EXPECT_EQ(QPoint(r.LgndLeft, r.LgndTop), QPoint(1, 1));
}

TEST(DFormStpTest, DepotDefaults) {
  TRasterDepot d;
  EXPECT_EQ(d.Ine[diZSmith].Zoom, 3);
  EXPECT_EQ(d.Ine[diYSmith].Zoom, 0);
  EXPECT_EQ(d.Ine[diMag].Lim.St, psDot);
  EXPECT_EQ(d.Ine[diMag].Lim.Co, clFuchsia);
  EXPECT_EQ(d.Ine[diMag].Lim.Va, 0.12);
  EXPECT_EQ(d.Ine[diPower].Lim.Va, 1000.0);
  EXPECT_EQ(d.Ine[diFreq].Lim.Va, 2450.0);
  EXPECT_TRUE(d.OsY[diMag].Data.UseDflt);
  EXPECT_FALSE(d.OsY[diMag].Data.Bcele);
}

// ---- the frame window's operations ------------------------------------------------------------

class FakeView : public TDisplayView {
 public:
  FakeView(TRasterDepot& depot, int32_t type, TCanvas& canvas) : d(depot, type, &canvas) {
    d.Grf->SetPanelSize(330, 200);
  }
  TDispl& Displ() override { return d; }
  bool ShowLoad() const override { return load; }
  bool ClearAndGo() const override { return clearAndGo; }
  void ChartChanged() override { ++changed; }
  void RepaintAll() override { ++repainted; }
  TDispl d;
  bool load = false;
  bool clearAndGo = true;
  int changed = 0;
  int repainted = 0;
};

TEST(DisplayOpsTest, RefillLeavesTheResultAndTheMotorStateAlone) {
  TMotState mot;
  TQvWin qv(mot);
  qv.LastSwp.SetNwanted(3);
  for (int i = 0; i < 3; ++i) {
    TFrameSpec s = testing::MeasSpec(100.0 * (i + 1), complex(0.1 * i, 0));
    s.Pos[1] = int16_t(100 + i);
    qv.LastSwp.Add(testing::EncodedFrame(s));
  }
  mot.ActPos[1] = 4321;
  qv.Res.Pinc = 777;
  TRecordingCanvas canvas;
  TRasterDepot depot;
  FakeView view(depot, diPower, canvas);
  TDisplayOps ops(qv);
  ops.Add(&view);
  ops.FillTracesAll(view, qv.LastSwp);
  EXPECT_EQ(mot.ActPos[1], 4321);
  EXPECT_EQ(qv.Res.Pinc, 777);
  const TOneTrace* pinc = view.d.TracesToDraw.Trace(0);
  ASSERT_EQ(pinc->GetCount(), 3);
  EXPECT_NEAR(*pinc->GetY(2), 300.0, 1.0);
  EXPECT_EQ(*pinc->GetX(2), 2.0);
}

TEST(DisplayOpsTest, ClearDisplaysTouchesOnlyClearAndGoWindowsUnlessAll) {
  TMotState mot;
  TQvWin qv(mot);
  TRecordingCanvas canvas;
  TRasterDepot depot;
  FakeView keep(depot, diMag, canvas), clear(depot, diMag, canvas);
  keep.clearAndGo = false;
  TDisplayOps ops(qv);
  ops.Add(&keep);
  ops.Add(&clear);
  ops.Add(&clear);
  EXPECT_EQ(ops.Views().size(), 2u);
  ops.ClearDisplays(false);
  EXPECT_EQ(keep.changed, 0);
  EXPECT_EQ(clear.changed, 1);
  ops.ClearDisplays(true);
  EXPECT_EQ(keep.changed, 1);
  ops.Remove(&keep);
  EXPECT_EQ(ops.Views().size(), 1u);
}

TEST(DisplayOpsTest, LivePointsAppendFromTheCurrentResult) {
  TMotState mot;
  TQvWin qv(mot);
  TRecordingCanvas canvas;
  TRasterDepot depot;
  FakeView view(depot, diMag, canvas);
  view.load = true;
  TDisplayOps ops(qv);
  ops.Add(&view);
  qv.Res.Mag_m = 0.2;
  qv.Res.Mag_z = 0.6;
  ops.DrawPointAll(0);
  qv.Res.Mag_z = 0.5;
  ops.DrawPointAll(1);
  const TOneTrace* t = view.d.TracesToDraw.Trace(0);
  ASSERT_EQ(t->GetCount(), 2);
  EXPECT_EQ(*t->GetY(0), 0.6);
  EXPECT_EQ(*t->GetY(1), 0.5);
  ops.ResetTraces(true);
  EXPECT_EQ(t->GetCount(), 0);
  EXPECT_EQ(t->last_x, -1);
}

TEST(DisplTest, FirstTracesTakeTheStartSetsOrTheWindowsOwn) {
  TRasterDepot depot;
  TDispl d(depot, diPower);
  // Red, blue, dark green (0x00BBGGRR); square, circle, diamond of half-size 3.
  const TColor lines[] = {0x0000FF, 0xFF0000, 0x008000};
  const int32_t shapes[] = {tvSquare, tvCircle, tvDiamond};
  ASSERT_EQ(d.TracesToDraw.Count(), 3);
  for (int32_t j = 0; j < 3; ++j) {
    EXPECT_EQ(d.TracesToDraw.Trace(j)->Attr().LinePen.Color, lines[j]) << j;
    EXPECT_EQ(d.TracesToDraw.Trace(j)->Attr().Dots.Tvar, shapes[j]) << j;
  }
  EXPECT_EQ(d.TracesToDraw.Trace(2)->Attr().Dots.Dsize, 3);
  TTracesAtrib own = StartAttributes();
  own[1].LinePen.Color = 0x123456;
  TDispl w(depot, diLogPower, nullptr, {}, own);
  EXPECT_EQ(w.TracesToDraw.Trace(1)->Attr().LinePen.Color, 0x123456);
  EXPECT_EQ(w.TraceAttributes(TTracesAtrib{})[3].LinePen.Color, TTracesAtrib{}[3].LinePen.Color);
}

// A circular chart's closing drawing puts each trace's marker at its last point; a rectangular
// one draws only what its attributes ask for.
TEST(DisplayOpsTest, CircularChartsEndTheSweepDrawingWithTheLastMarker) {
  struct Case {
    int32_t type;
    size_t markers;
  };
  for (const Case c : {Case{diPolar, 1}, Case{diZSmith, 1}, Case{diOven, 1}, Case{diMag, 0}}) {
    TMotState mot;
    TQvWin qv(mot);
    qv.LastSwp.SetNwanted(4);
    for (int i = 0; i < 4; ++i)
      qv.LastSwp.Add(testing::EncodedFrame(testing::MeasSpec(100.0, complex(0.3, 0.2))));
    TRecordingCanvas canvas;
    TRasterDepot depot;
    FakeView view(depot, c.type, canvas);
    TDisplayOps ops(qv);
    ops.Add(&view);
    canvas.Reset();
    ops.DrawSweepAll(qv.LastSwp);
    const std::vector<TCanvasCall> m = canvas.Of(TCanvasCall::Marker);
    ASSERT_EQ(m.size(), c.markers) << c.type;
    if (m.empty()) continue;
    const TOneTrace& t = *view.d.TracesToDraw.Trace(0);
    EXPECT_EQ(m[0].pts.at(0), view.d.Grf->PointPixel(t, 3)) << c.type;
    EXPECT_EQ(m[0].pen.Mode, pmCopy);
    EXPECT_EQ(m[0].tvar, t.Attr().Dots.Tvar);
  }
}

}  // namespace
}  // namespace qz
