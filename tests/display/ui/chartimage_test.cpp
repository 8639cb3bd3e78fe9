#include "display/ui/chartimage.h"

#include <gtest/gtest.h>

#include <QImage>

#include "common/testframes.h"
#include "display/disptypes.h"

namespace qz {
namespace {

// An analyzer state whose last sweep holds n frames of one input reflection coefficient.
struct SweepRig {
  explicit SweepRig(const complex& rho, int n = 20) : qv(mot) {
    qv.LastSwp.SetNwanted(n);
    for (int i = 0; i < n; ++i)
      qv.LastSwp.Add(testing::EncodedFrame(testing::MeasSpec(1000.0, rho, rho)));
  }
  TMotState mot;
  TQvWin qv;
};

// The pixels where a chart with the sweep differs from the same chart without it.
struct Diff {
  int count = 0;
  double cx = 0.0, cy = 0.0;  // their centroid
};
Diff Difference(const QImage& a, const QImage& b) {
  Diff d;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, y) != b.pixel(x, y)) {
        ++d.count;
        d.cx += x;
        d.cy += y;
      }
  if (d.count) {
    d.cx /= d.count;
    d.cy /= d.count;
  }
  return d;
}

TEST(SweepChart, EveryTypeHasTheAskedSizeAndShowsTheSweep) {
  TMotState mot;
  const TQvWin empty(mot);
  SweepRig rig(complex(0.3, 0.2));
  for (int32_t t : OfferedTypes()) {
    SCOPED_TRACE(DispTypeInfo(t).caption.toStdString());
    const QImage none = RenderSweepChart(empty, t, 320, 240, false);
    const QImage with = RenderSweepChart(rig.qv, t, 320, 240, false);
    EXPECT_EQ(none.size(), QSize(320, 240));
    EXPECT_EQ(with.size(), QSize(320, 240));
    EXPECT_GT(Difference(with, none).count, 0);
    // Drawing is repeatable: the same sweep gives the same picture.
    EXPECT_EQ(RenderSweepChart(rig.qv, t, 320, 240, false), with);
  }
}

// The row of the trace's line: the one row with a long run of the first trace's red.
int LineRow(const QImage& img) {
  int found = -1;
  for (int y = 0; y < img.height(); ++y) {
    int red = 0;
    for (int x = 0; x < img.width(); ++x) red += img.pixel(x, y) == qRgb(255, 0, 0);
    if (red > img.width() / 2) {
      EXPECT_EQ(found, -1) << "a second line at row " << y;
      found = y;
    }
  }
  return found;
}

TEST(SweepChart, AMagnitudeLineLiesWhereItsValueIsOnTheDefaultScale) {
  // Mag's default range is 0 .. 1: 0.75 lies above 0.25 and 0.5 halfway between them.
  const int y25 =
      LineRow(RenderSweepChart(SweepRig(complex(0.25, 0.0)).qv, diMag, 400, 300, false));
  const int y50 = LineRow(RenderSweepChart(SweepRig(complex(0.0, 0.5)).qv, diMag, 400, 300, false));
  const int y75 =
      LineRow(RenderSweepChart(SweepRig(complex(-0.75, 0.0)).qv, diMag, 400, 300, false));
  ASSERT_GE(y25, 0);
  ASSERT_GE(y75, 0);
  EXPECT_LT(y75, y25);
  EXPECT_NEAR(y50, (y25 + y75) / 2.0, 1.0);
}

// A sweep of one value draws no line: its marker on the newest point shows where it lies. The
// Smith chart has positive real parts to the right and positive imaginary parts up; the VSWR
// chart is turned so that an angle of 180 degrees lies straight up.
TEST(SweepChart, ACircularChartShowsTheValueInItsQuarter) {
  struct Case {
    int32_t type;
    complex a, b;    // b lies ...
    bool right, up;  // ... to the right of a / above a
  } cases[] = {
      {diZSmith, complex(-0.5, 0.0), complex(0.5, 0.0), true, false},
      {diZSmith, complex(0.0, -0.5), complex(0.0, 0.5), false, true},
      {diPolar, complex(0.0, -0.5), complex(0.0, 0.5), false, true},
      {diOven, complex(0.5, 0.0), complex(-0.5, 0.0), false, true},
      {diOven, complex(0.0, -0.5), complex(0.0, 0.5), true, false},
  };
  TMotState mot;
  const TQvWin empty(mot);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    const QImage none = RenderSweepChart(empty, c.type, 400, 300, false);
    const Diff a = Difference(RenderSweepChart(SweepRig(c.a).qv, c.type, 400, 300, false), none);
    const Diff b = Difference(RenderSweepChart(SweepRig(c.b).qv, c.type, 400, 300, false), none);
    ASSERT_GT(a.count, 0);
    ASSERT_GT(b.count, 0);
    if (c.right) {
      EXPECT_GT(b.cx, a.cx + 20);
      EXPECT_NEAR(b.cy, a.cy, 1.0);
    }
    if (c.up) {
      EXPECT_LT(b.cy, a.cy - 20);
      EXPECT_NEAR(b.cx, a.cx, 1.0);
    }
  }
}

}  // namespace
}  // namespace qz
