#include <gtest/gtest.h>

#include <QImage>
#include <cmath>

#include "charts/deferredcanvas.h"
#include "charts/recordingcanvas.h"
#include "charts/ui/imagecanvas.h"
#include "charts/ui/rasterpanel.h"
#include "common/chartrig.h"

namespace qz {
namespace {

using testing::ChartKind;

// How the traces of one test run look and how the points arrive.
struct LiveCase {
  const char* name;
  ChartKind kind;
  int32_t traces;         // 1..3, each with its own colours
  bool dotsVisible;       // a marker at every point
  bool moving;            // the moving marker
  bool persist;           // copy mode instead of not-xor
  bool kakaj;             // a pixel at every new point
  int32_t sweepLen;       // points per sweep
  int32_t points;         // points in all
  int32_t tick;           // points between two screen updates
  int32_t limit = 16384;  // most shapes the deferring canvas holds
  bool far = false;       // every fifth point lies far outside the panel (beyond 16-bit pixels)
  bool steady = false;    // two points in three are the same in every sweep (a steady load)
};

// The point of trace j at sweep s, index i: a wobbly curve that differs from sweep to sweep, so
// that every sweep's segments differ from the last one's and cross them.
std::pair<double, double> PointOf(ChartKind kind, int32_t j, int32_t s, int32_t i, int32_t n) {
  const double t = n > 1 ? double(i) / (n - 1) : 0.0;
  const double wobble = 0.3 * std::sin(0.7 * i + 1.3 * s + j) + 0.05 * s;
  if (kind == ChartKind::Rect) return {-0.95 + 1.9 * t, std::fmod(wobble + 0.2 * j, 0.9)};
  const double r = 0.2 + 0.5 * t + 0.2 * wobble;
  const double a = 6.0 * t + 0.4 * s + j;
  return {r * std::cos(a), r * std::sin(a)};
}

// One chart drawing on its own canvas, fed point by point as the measurement cycle does it.
struct LiveChart {
  std::unique_ptr<TRaster> raster;
  TTraces list;

  LiveChart(const LiveCase& c, TCanvas& canvas) {
    raster = testing::MakeChart(c.kind, canvas, 330, 220);
    raster->Persist = c.persist;
    const TColor colors[] = {clRed, clBlue, 0x008000};
    for (int32_t j = 0; j < c.traces; ++j) {
      list.Pridaj(QString("T%1").arg(j), nullptr, 4);
      TDrawAttrib& a = list.Trace(j)->Attr();
      a.LinePen.Color = colors[j];
      a.Dots.Visible = c.dotsVisible;
      a.Dots.Moving = c.moving;
      a.Dots.Kakaj = c.kakaj;
      a.Dots.Tvar = j == 1 ? tvCircle : tvSquare;
      a.Dots.Border.Color = colors[(j + 1) % 3];
      a.Dots.Fill = TBrush{0x00FFFF, bsSolid};
    }
    raster->AssignTraces(&list);
    raster->pBox1Paint();
  }
  // Point i of sweep s on every trace; at the end of a sweep the drawing is kept as the
  // previous one and the traces start again.
  void Arrive(const LiveCase& c, int32_t s, int32_t i) {
    for (int32_t j = 0; j < c.traces; ++j) {
      const auto [x, y] = PointOf(c.kind, j, c.steady && i % 3 != 0 ? 0 : s, i, c.sweepLen);
      const bool far = c.far && (i + j + s) % 5 == 2;
      // Far points alternate between just beyond 16-bit pixels and very far beyond.
      list.Trace(j)->AddXY(x, !far ? y : (s + i) % 2 ? -450.0 - 50 * j : y * 1e5);
    }
    raster->MoveTraceSection(list, list.MaxPoints() - 1);
    if (i == c.sweepLen - 1) {
      raster->FillGrBufXY();
      list.Vyprazdni();
    }
  }
};

class LiveDrawingTest : public ::testing::TestWithParam<LiveCase> {};

// What the deferring canvas shows after each screen update is, pixel for pixel, what drawing
// every point at once shows at that moment; and it shows it without drawing every shape.
TEST_P(LiveDrawingTest, AtEachUpdateTheImageIsWhatPointByPointDrawingGives) {
  const LiveCase& c = GetParam();
  TImageCanvas direct(330, 220), deferredImage(330, 220);
  TDeferredCanvas deferred(&deferredImage, c.limit);
  TRecordingCanvas recording;
  LiveChart a(c, direct), b(c, deferred), r(c, recording);
  deferred.Flush();
  ASSERT_EQ(direct.Image(), deferredImage.Image());

  int32_t mostHeld = 0;
  for (int32_t k = 0; k < c.points; ++k) {
    const int32_t s = k / c.sweepLen, i = k % c.sweepLen;
    a.Arrive(c, s, i);
    b.Arrive(c, s, i);
    r.Arrive(c, s, i);
    mostHeld = std::max(mostHeld, deferred.Held());
    if ((k + 1) % c.tick == 0 || k + 1 == c.points) {
      deferred.Flush();
      ASSERT_EQ(direct.Image(), deferredImage.Image()) << c.name << " after point " << k;
    }
  }
  a.raster->EraseMovingDot(a.list);
  b.raster->EraseMovingDot(b.list);
  r.raster->EraseMovingDot(r.list);
  deferred.Flush();
  EXPECT_EQ(direct.Image(), deferredImage.Image()) << c.name << " after the moving markers";
  EXPECT_NE(direct.Image(),
            [&] {
              TImageCanvas empty(330, 220);
              LiveChart e(c, empty);
              return empty.Image();
            }())
      << c.name << ": the run drew nothing";
  // What is held is bounded by the points of one sweep, whatever the points per update: for each
  // index at most the segment and marker shown at the last update (to remove) and the new ones,
  // and two moving markers per trace; and never more than the store's limit.
  const int32_t indices = std::min(c.sweepLen, c.tick + 1);
  EXPECT_LE(mostHeld, std::min(c.limit, 4 * c.traces * indices + 2 * c.traces)) << c.name;
  // Shapes drawn and removed between two updates never reach the image: with two or more sweeps
  // per update most of them cancel, otherwise at least some (the moving marker's).
  int64_t issued = 0;
  for (const TCanvasCall& call : recording.calls)
    if ((call.op == TCanvasCall::Line || call.op == TCanvasCall::Marker) &&
        call.pen.Mode == pmNotXor)
      ++issued;
  if (!c.persist && !c.kakaj && c.tick >= 2 * c.sweepLen && c.limit > 4 * c.sweepLen) {
    EXPECT_LT(2 * deferred.Flushed(), issued) << c.name;
  } else if (!c.persist && !c.kakaj && c.tick > 1) {
    EXPECT_LT(deferred.Flushed(), issued) << c.name;
  }
}

const LiveCase kLiveCases[] = {
    // Sweeps shorter than a screen update: several wrap-arounds within one update.
    {"lineAndMovingMarker", ChartKind::Rect, 1, false, true, false, false, 101, 1000, 250},
    {"threeTraces", ChartKind::Rect, 3, false, true, false, false, 101, 700, 160},
    {"markersAtEveryPoint", ChartKind::Rect, 2, true, false, false, false, 60, 400, 90},
    {"visibleAndMoving", ChartKind::Polar, 2, true, true, false, false, 50, 300, 75},
    {"smithClip", ChartKind::SmithZ, 2, false, true, false, false, 101, 700, 333},
    {"vswrChart", ChartKind::Vswr, 1, true, false, false, false, 40, 200, 45},
    // Updates more often than sweeps, and updates after every point.
    {"longSweep", ChartKind::Rect, 3, false, true, false, false, 2001, 4500, 640},
    {"everyPoint", ChartKind::SmithY, 1, true, true, false, false, 30, 100, 1},
    // Copy-mode drawing goes through at once, in order.
    {"persist", ChartKind::Rect, 2, true, true, true, false, 50, 200, 70},
    {"kakaj", ChartKind::Rect, 2, false, true, false, true, 50, 200, 70},
    // A store too small for one update's points is flushed on the way, with the same pixels.
    {"smallStore", ChartKind::Rect, 2, true, true, false, false, 101, 600, 300, 40},
    // Segments and markers far outside the panel go through at once, among held ones.
    {"farOutside", ChartKind::Rect, 2, true, true, false, false, 60, 400, 90, 16384, true},
    {"steadyLoad", ChartKind::Rect, 2, true, true, false, false, 60, 400, 90, 16384, false, true},
    {"farOutsideSmith", ChartKind::SmithZ, 1, false, true, false, false, 40, 300, 100, 16384, true},
};

INSTANTIATE_TEST_SUITE_P(Cases, LiveDrawingTest, ::testing::ValuesIn(kLiveCases),
                         [](const auto& info) { return std::string(info.param.name); });

class SweepEndTest : public ::testing::TestWithParam<LiveCase> {};

// When a sweep is complete, every segment and marker of the sweep before has been removed and
// every one of this sweep drawn: the chart shows exactly what a fresh chart shows after drawing
// this sweep alone, however many sweeps came before and however many of their points stayed.
TEST_P(SweepEndTest, TheChartShowsTheLastSweepAlone) {
  const LiveCase& c = GetParam();
  TImageCanvas image(330, 220);
  TDeferredCanvas deferred(&image, c.limit);
  LiveChart fed(c, deferred);
  const int32_t sweeps = c.points / c.sweepLen;
  for (int32_t s = 0; s < sweeps; ++s) {
    for (int32_t i = 0; i < c.sweepLen; ++i) {
      fed.Arrive(c, s, i);
      if ((s * c.sweepLen + i + 1) % c.tick == 0) deferred.Flush();
    }
    deferred.Flush();
    TImageCanvas alone(330, 220);
    LiveChart fresh(c, alone);
    for (int32_t i = 0; i < c.sweepLen; ++i) fresh.Arrive(c, s, i);
    ASSERT_EQ(image.Image(), alone.Image()) << c.name << " after sweep " << s;
  }
}

const LiveCase kSweepCases[] = {
    {"moving", ChartKind::Rect, 2, true, true, false, false, 50, 250, 70},
    {"steady", ChartKind::Rect, 2, true, true, false, false, 50, 250, 70, 16384, false, true},
    {"steadyLines", ChartKind::Rect, 3, false, true, false, false, 101, 505, 333, 16384, false,
     true},
    {"steadySmith", ChartKind::SmithZ, 2, false, true, false, false, 40, 200, 55, 16384, false,
     true},
    {"steadyPolarDots", ChartKind::Polar, 1, true, false, false, false, 30, 150, 40, 16384, false,
     true},
};

INSTANTIATE_TEST_SUITE_P(Cases, SweepEndTest, ::testing::ValuesIn(kSweepCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Between two screen updates the points are kept, not drawn; the update draws them.
TEST(LiveDrawingPanelTest, PointsWaitForTheScreenUpdate) {
  QWidget owner;
  owner.resize(330, 220);
  TOsData r = testing::AxisRange(-1, 1);
  auto* panel = new TRasterPanel(std::make_unique<TRaster>(TRozne{}, r, r), &owner);
  TTraces list;
  testing::FillTraces(list, {{}});
  panel->Raster().AssignTraces(&list);
  owner.show();
  panel->RenderNow();
  const QImage empty = panel->Canvas().Image().copy();

  for (int32_t i = 0; i < 20; ++i) {
    list.Trace(0)->AddXY(-0.9 + 0.09 * i, 0.5 * std::sin(i));
    panel->LiveSection(list, i);
  }
  EXPECT_GT(panel->LiveCanvas().Held(), 0);
  panel->UpdateNow();
  EXPECT_EQ(panel->LiveCanvas().Held(), 0);
  EXPECT_NE(panel->Image(), empty);

  // Reading the image settles what is held.
  const QImage updated = panel->Image().copy();
  list.Trace(0)->AddXY(0.95, 0.0);
  panel->LiveSection(list, 20);
  EXPECT_GT(panel->LiveCanvas().Held(), 0);
  EXPECT_NE(panel->Image(), updated);
  EXPECT_EQ(panel->LiveCanvas().Held(), 0);
}

}  // namespace
}  // namespace qz
