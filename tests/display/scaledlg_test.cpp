// The chart-scaling dialog's logic: what it shows for each kind of display, what OK, Back and
// closing store.

#include <gtest/gtest.h>

#include <algorithm>

#include "charts/recordingcanvas.h"
#include "display/scaledlgdata.h"

namespace qz {
namespace {

struct OkCase {
  const char* name;
  int32_t npts;
  bool automatic;
  const char *xmin, *xmax, *ymin, *ymax;
  double wantXmin, wantXmax, wantYmin, wantYmax;
};

TEST(ScaleDlgTest, OkOnARectangularDisplayStoresTheRanges) {
  const OkCase cases[] = {
      {"one point follows the sweep", 1, true, "5", "6", "0", "1", 0, 1, 0, 1},
      {"an empty sweep still gives a span", 0, true, "5", "6", "0", "1", 0, 1, 0, 1},
      {"101 points follow the sweep", 101, true, "5", "6", "0", "1", 0, 100, 0, 1},
      {"reversed X and Y are swapped", 101, false, "10", "2", "0.9", "-0.1", 2, 10, -0.1, 0.9},
      {"unreadable texts give the defaults", 101, false, "x", "", "y", "nan", 0, 100, 1, 10},
      {"beyond the limits is clamped", 5, false, "-1e40", "3e39", "-2e38", "1e300", -1e38, 1e38,
       -1e38, 1e38},
      {"a comma is a decimal point", 5, false, "0,5", " 7 ", "-0,25", "0,75", 0.5, 7, -0.25, 0.75},
  };
  for (const OkCase& c : cases) {
    SCOPED_TRACE(c.name);
    TRasterDepot depot;
    TDispl d(depot, diMag);
    TScaleDlgData s;
    s.Load(d, c.npts);
    s.F.Automatic = c.automatic;
    s.F.Xmin = c.xmin;
    s.F.Xmax = c.xmax;
    s.F.Ymin = c.ymin;
    s.F.Ymax = c.ymax;
    s.Ok(d);
    const TOsData& x = d.Grf->Ox.Stp.Data;
    const TOsData& y = d.Grf->Oy.Stp.Data;
    EXPECT_EQ(d.AutoX, c.automatic);
    EXPECT_DOUBLE_EQ(x.MinAsk, c.wantXmin);
    EXPECT_DOUBLE_EQ(x.MaxAsk, c.wantXmax);
    EXPECT_DOUBLE_EQ(y.MinAsk, c.wantYmin);
    EXPECT_DOUBLE_EQ(y.MaxAsk, c.wantYmax);
    EXPECT_DOUBLE_EQ(y.LastMin, c.wantYmin);
    EXPECT_DOUBLE_EQ(y.LastMax, c.wantYmax);
    EXPECT_FALSE(x.UseDflt);
    EXPECT_FALSE(y.UseDflt);
  }
}

TEST(ScaleDlgTest, PolarRadiusIsReadWithinItsLimits) {
  const std::pair<const char*, double> cases[] = {{"abc", 1.0}, {"0", 1e-6},  {"1e9", 1e6},
                                                  {"0.4", 0.4}, {"inf", 1.0}, {"-3", 1e-6}};
  for (const auto& [text, want] : cases) {
    SCOPED_TRACE(text);
    TRasterDepot depot;
    TDispl d(depot, diPolar);
    const TOsData xBefore = d.Grf->Ox.Stp.Data;
    TScaleDlgData s;
    s.Load(d, 101);
    s.F.PolarR = text;
    s.Ok(d);
    EXPECT_DOUBLE_EQ(d.Grf->Oy.Stp.Data.MaxAsk, want);
    EXPECT_DOUBLE_EQ(d.Grf->Oy.Stp.Data.LastMax, want);
    EXPECT_FALSE(d.Grf->Oy.Stp.Data.UseDflt);
    // The horizontal axis only leaves its default range.
    TOsData x = xBefore;
    x.UseDflt = false;
    EXPECT_EQ(d.Grf->Ox.Stp.Data, x);
  }
}

struct ShowCase {
  const char* name;
  int32_t type;
  int32_t npts;
  bool autoX;
  TScaleEnabling want;
};

TEST(ScaleDlgTest, EnablingAndFocusFollowTheDisplayKind) {
  using F = TScaleFocus;
  const ShowCase cases[] = {
      // Automatic, X fields, X emptied, Y fields, POLAR R, SMITH R, focus
      {"rectangular, one point",
       diMag,
       1,
       true,
       {false, false, false, true, false, false, F::Ymax}},
      {"rectangular, one point, fixed axis",
       diMag,
       1,
       false,
       {false, true, false, true, false, false, F::Ymax}},
      {"rectangular, 101 points",
       diPower,
       101,
       true,
       {true, false, false, true, false, false, F::Ymax}},
      {"rectangular, 101 points, fixed axis",
       diPower,
       101,
       false,
       {true, true, false, true, false, false, F::Ymax}},
      {"polar", diPolar, 101, true, {false, false, true, false, true, false, F::PolarR}},
      {"Z-Smith", diZSmith, 101, true, {false, false, true, false, false, true, F::SmithR}},
      {"Y-Smith", diYSmith, 101, true, {false, false, true, false, false, true, F::SmithR}},
      {"VSWR chart", diOven, 101, true, {false, false, true, false, false, true, F::SmithR}},
  };
  for (const ShowCase& c : cases) {
    SCOPED_TRACE(c.name);
    TRasterDepot depot;
    TDispl d(depot, c.type);
    d.AutoX = c.autoX;
    TScaleDlgData s;
    s.Load(d, c.npts);
    EXPECT_EQ(s.Enabling(), c.want);
    EXPECT_EQ(s.F.Automatic, c.autoX);
    // Only the fields of the display's kind carry texts; a zoom is chosen only on the zoomed
    // charts.
    EXPECT_EQ(s.F.Ymax.isEmpty(), !c.want.Yfields);
    EXPECT_EQ(s.F.Xmin.isEmpty(), c.want.Xemptied);
    EXPECT_EQ(s.F.PolarR.isEmpty(), !c.want.PolarR);
    EXPECT_EQ(s.F.SmithZoom >= 0, c.want.SmithR);
  }
}

TEST(ScaleDlgTest, FieldsShowTheRequestedRangesAndTogglingAutomaticFreesTheXFields) {
  TRasterDepot depot;
  TDispl d(depot, diLogMag);
  d.Grf->Ox.Stp.Data.MinAsk = 0;
  d.Grf->Ox.Stp.Data.MaxAsk = 250;
  d.Grf->Oy.Stp.Data.Bcele = true;
  TScaleDlgData s;
  s.Load(d, 101);
  TScaleFields want;
  want.Xmin = "0";
  want.Xmax = "250";
  want.Ymin = "-40";
  want.Ymax = "0";
  want.Automatic = true;
  want.Integral = true;
  EXPECT_EQ(s.F, want);
  EXPECT_FALSE(s.Enabling().Xfields);
  s.F.Automatic = false;
  EXPECT_TRUE(s.Enabling().Xfields);
}

TEST(ScaleDlgTest, BackRestoresTheLastRangeEnteredByHand) {
  TRasterDepot depot;
  TDispl d(depot, diMag);
  TScaleDlgData s;
  s.Load(d, 11);
  s.F.Ymin = "0.1";
  s.F.Ymax = "0.3";
  s.Ok(d);
  d.Autoscale();                    // no data: nothing changes
  d.Grf->Oy.Stp.Data.MinAsk = 0.5;  // as an autoscale would
  s.Load(d, 11);
  EXPECT_EQ(s.F.Ymin, "0.5");
  s.F.Ymax = "99";
  s.Back(d);
  EXPECT_EQ(s.F.Ymin, "0.1");
  EXPECT_EQ(s.F.Ymax, "0.3");

  TDispl p(depot, diPolar);
  p.Grf->Oy.Stp.Data.LastMax = 0.75;
  s.Load(p, 11);
  s.F.PolarR = "2";
  s.Back(p);
  EXPECT_EQ(s.F.PolarR, "0.75");
  EXPECT_DOUBLE_EQ(s.PolarR, 0.75);
}

TEST(ScaleDlgTest, ClosingStoresIntegralAndNothingElse) {
  TRasterDepot depot;
  TDispl d(depot, diPhase);
  const TOsData xBefore = d.Grf->Ox.Stp.Data;
  TOsData yWant = d.Grf->Oy.Stp.Data;
  TScaleDlgData s;
  s.Load(d, 101);
  s.F.Ymin = "-10";
  s.F.Automatic = false;
  s.F.Integral = !yWant.Bcele;
  s.Close(d);
  yWant.Bcele = !yWant.Bcele;
  EXPECT_EQ(d.Grf->Oy.Stp.Data, yWant);
  EXPECT_EQ(d.Grf->Ox.Stp.Data, xBefore);
  EXPECT_TRUE(d.AutoX);
}

TEST(ScaleDlgTest, OkAtSmithZoomTwoShowsTheChartOfRadiusPointThree) {
  for (int32_t type : {diZSmith, diOven}) {
    SCOPED_TRACE(type);
    TRasterDepot depot;
    TRecordingCanvas canvas;
    TDispl d(depot, type, &canvas);
    TScaleDlgData s;
    s.Load(d, 101);
    EXPECT_EQ(s.F.SmithZoom, type == diZSmith ? 3 : 0);
    s.F.SmithZoom = 2;
    s.Ok(d);
    EXPECT_EQ(d.Grf->iZoom, 2);
    EXPECT_FALSE(d.Grf->Ox.Stp.Data.UseDflt);
    EXPECT_FALSE(d.Grf->Oy.Stp.Data.UseDflt);
    d.Grf->SetPanelSize(330, 220);
    d.Grf->pBox1Paint();
    const std::vector<QString> texts = canvas.Texts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), QString("R=0.3")), texts.end());
  }
}

TEST(ScaleDlgTest, NoZoomChosenKeepsTheChartsZoom) {
  TRasterDepot depot;
  TDispl d(depot, diZSmith);
  TScaleDlgData s;
  s.Load(d, 101);
  s.F.SmithZoom = -1;
  s.Ok(d);
  EXPECT_EQ(d.Grf->iZoom, 3);
}

}  // namespace
}  // namespace qz
