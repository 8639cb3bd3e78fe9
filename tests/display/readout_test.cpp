#include "display/readout.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

#include <array>
#include <cmath>

#include "charts/recordingcanvas.h"
#include "display/displ.h"
#include "display/disptypes.h"

namespace qz {
namespace {

// A display of `type` laid out as a new display window's chart (client 330 x 220 less the bars).
struct ReadoutRig {
  explicit ReadoutRig(int32_t type) : d(depot, type, &canvas) {
    d.Grf->SetPanelSize(330, 200);
    d.Grf->FindRasterParams();
  }
  // One point of reflection coefficient rho added as the display converts it.
  TPt PixelOf(complex rho) {
    d.TracesToDraw.Trace(0)->Clear();
    AddConverted(d.TracesToDraw, d.AkeY, 0, {rho.re, rho.im, 0.0}, 2);
    return d.Grf->PointPixel(*d.TracesToDraw.Trace(0), 0);
  }
  // The largest reflection-coefficient step of one pixel on this chart.
  double PixelSpan() const {
    const TRectI& c = d.Grf->ChartRect;
    return 2.0 * std::fabs(d.Grf->Ox.MaxLin - d.Grf->Ox.MinLin) / double(c.right - c.left);
  }
  TRecordingCanvas canvas;
  TRasterDepot depot;
  TDispl d;
};

TEST(PointerReadout, ReflectionTextsOfEachCircularChart) {
  const complex g = CPolarDeg(0.5, -90.0);
  struct Case {
    int32_t type;
    const char* text;
  };
  const Case cases[] = {
      {diZSmith, "Mag 0.500  Deg -90.0  VSWR 3.00  z 0.600-j0.800"},
      {diYSmith, "Mag 0.500  Deg -90.0  VSWR 3.00  y 0.600+j0.800"},
      {diOven, "Mag 0.500  Deg -90.0  VSWR 3.00"},
      {diPolar, "Mag 0.500  Deg -90.0  VSWR 3.00"},
  };
  for (const Case& c : cases) EXPECT_EQ(RhoReadout(c.type, g), QString::fromLatin1(c.text));
  // A matched point and the open end.
  EXPECT_EQ(RhoReadout(diZSmith, complex(0, 0)),
            QStringLiteral("Mag 0.000  Deg 0.0  VSWR 1.00  z 1.000+j0.000"));
  EXPECT_EQ(RhoReadout(diYSmith, complex(-0.6, 0)),
            QStringLiteral("Mag 0.600  Deg 180.0  VSWR 4.00  y 4.000+j0.000"));
}

TEST(PointerReadout, ThePixelOfAPointReadsItsReflectionBackWithinAPixel) {
  const complex points[] = {CPolarDeg(0.5, -90.0), CPolarDeg(0.8, 30.0), CPolarDeg(0.3, 170.0),
                            complex(0.0, 0.0)};
  for (int32_t type : {int32_t(diPolar), int32_t(diZSmith), int32_t(diYSmith), int32_t(diOven)}) {
    ReadoutRig rig(type);
    for (const complex g : points) {
      const TPt p = rig.PixelOf(g);
      const std::optional<complex> read = RhoAtPixel(*rig.d.Grf, type, p);
      ASSERT_TRUE(read) << type;
      EXPECT_LE(CAbs(CSub(*read, g)), rig.PixelSpan()) << "type " << type << " at " << CAbs(g);
    }
  }
}

TEST(PointerReadout, TheVswrChartIsTurnedSoThatMinus90DegreesLiesLeft) {
  ReadoutRig rig(diOven);
  const TRectI& c = rig.d.Grf->ChartRect;
  const int32_t cx = (c.left + c.right) / 2, cy = (c.top + c.bottom) / 2;
  const TPt left = rig.PixelOf(CPolarDeg(0.5, -90.0));
  EXPECT_LT(left.x, cx - 20);
  EXPECT_NEAR(left.y, cy, 1);
  const TPt up = rig.PixelOf(CPolarDeg(0.5, 180.0));
  EXPECT_LT(up.y, cy - 20);
  // Within a pixel of 0.5 at -90 degrees.
  const QString text = PointerReadout(*rig.d.Grf, rig.d.TracesToDraw, diOven, left);
  EXPECT_TRUE(
      QRegularExpression(QStringLiteral("^Mag 0\\.(49|50)\\d  Deg -(8[89]|9[012])\\.\\d  VSWR "))
          .match(text)
          .hasMatch())
      << text.toStdString();
}

TEST(PointerReadout, NothingBeyondTheUnitCircleOrOutsideTheChart) {
  for (int32_t type : {int32_t(diPolar), int32_t(diZSmith), int32_t(diOven)}) {
    ReadoutRig rig(type);
    const TRectI& c = rig.d.Grf->ChartRect;
    EXPECT_EQ(PointerReadout(*rig.d.Grf, rig.d.TracesToDraw, type, TPt{c.left + 1, c.top + 1}),
              QString());
    EXPECT_EQ(PointerReadout(*rig.d.Grf, rig.d.TracesToDraw, type, TPt{c.right + 5, c.top + 50}),
              QString());
  }
}

TEST(PointerReadout, PowerReadsTheNearestRecordOfEveryVisibleTrace) {
  ReadoutRig rig(diPower);
  rig.d.ZmenOsX(100);
  rig.d.Grf->FindRasterParams();
  for (int32_t i = 0; i < 100; ++i)
    AddConverted(rig.d.TracesToDraw, diPower, i, {1000.0 + i, 10.25 + i, 990.0 - 0.5 * i}, 3);
  const TOneTrace& pinc = *rig.d.TracesToDraw.Trace(0);
  const TPt p57 = rig.d.Grf->PointPixel(pinc, 57);
  const QString expected = QStringLiteral("Pt 57:  Pinc 1057 W  Prefl 67.25 W  Pabs 961.5 W");
  for (int dx : {-1, 0, 1})
    EXPECT_EQ(RectReadout(*rig.d.Grf, rig.d.TracesToDraw, TPt{p57.x + dx, p57.y + 7}), expected)
        << dx;
  // A hidden trace is left out.
  rig.d.TracesToDraw.Trace(1)->Attr().Visible = false;
  EXPECT_EQ(RectReadout(*rig.d.Grf, rig.d.TracesToDraw, p57),
            QStringLiteral("Pt 57:  Pinc 1057 W  Pabs 961.5 W"));
}

TEST(PointerReadout, PastTheSweepThereIsNoData) {
  ReadoutRig rig(diMag);
  rig.d.ZmenOsX(200);
  rig.d.Grf->FindRasterParams();
  for (int32_t i = 0; i < 100; ++i) AddConverted(rig.d.TracesToDraw, diMag, i, {0.25, 0, 0}, 1);
  TOneTrace probe;
  probe.AddXY(150, 0.1);
  const TPt p = rig.d.Grf->PointPixel(probe, 0);
  EXPECT_EQ(RectReadout(*rig.d.Grf, rig.d.TracesToDraw, p), QStringLiteral("Pt 150: no data"));
  probe.Clear();
  probe.AddXY(99, 0.1);
  EXPECT_EQ(RectReadout(*rig.d.Grf, rig.d.TracesToDraw, rig.d.Grf->PointPixel(probe, 0)),
            QStringLiteral("Pt 99:  Mag 0.25"));
}

}  // namespace
}  // namespace qz
