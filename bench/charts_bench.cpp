// Chart drawing speed: a full repaint of a busy rectangular chart, live drawing of one point at
// the start and at the end of a long trace, and repaints of a Smith chart over its kept grid.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cmath>
#include <memory>

#include "charts/deferredcanvas.h"
#include "charts/raster.h"
#include "charts/smithraster.h"
#include "charts/ui/imagecanvas.h"
#include "charts/ui/rasterpanel.h"

namespace qz {
namespace {

constexpr int32_t kPoints = 20001;

TOsData Range(double lo, double hi) {
  TOsData d;
  d.MinAsk = d.MinDflt = lo;
  d.MaxAsk = d.MaxDflt = hi;
  return d;
}

// Four traces of 20 001 points of a noisy sweep across the chart.
void FillFour(TTraces& list, bool markers) {
  list.Clear();
  for (int32_t j = 0; j < 4; ++j) {
    list.Pridaj("T", nullptr, 4);
    TOneTrace* t = list.Trace(j);
    t->Attr().Dots.Visible = markers;
    t->Attr().Dots.Moving = true;
    for (int32_t i = 0; i < kPoints; ++i)
      t->AddXY(i, 0.5 + 0.4 * std::sin(i * 0.001 * (j + 1)) + 0.05 * std::sin(i * 0.37));
  }
}

struct RectChart {
  TImageCanvas canvas{800, 600};
  TRaster chart{TRozne{}, Range(0, 1), Range(0, kPoints - 1)};
  TTraces list;
  explicit RectChart(bool markers) {
    chart.SetCanvas(&canvas);
    chart.SetDefaults();
    chart.SetPanelSize(800, 600);
    FillFour(list, markers);
    chart.AssignTraces(&list);
  }
};

void BM_RectRepaintLines(benchmark::State& state) {
  RectChart c(false);
  for (auto _ : state) c.chart.pBox1Paint();
}
BENCHMARK(BM_RectRepaintLines)->Unit(benchmark::kMillisecond);

void BM_RectRepaintMarkers(benchmark::State& state) {
  RectChart c(true);
  for (auto _ : state) c.chart.pBox1Paint();
}
BENCHMARK(BM_RectRepaintMarkers)->Unit(benchmark::kMillisecond);

// Live drawing of point i on every trace (segment, marker removal and marker); done twice per
// round, which leaves the image as it was.
void BM_LivePoint(benchmark::State& state) {
  RectChart c(true);
  c.chart.pBox1Paint();
  c.chart.FillGrBufXY();
  const int32_t i = int32_t(state.range(0));
  for (auto _ : state) {
    c.chart.MoveTraceSection(c.list, i);
    c.chart.MoveTraceSection(c.list, i);
  }
}
BENCHMARK(BM_LivePoint)->Arg(10)->Arg(20000)->Unit(benchmark::kMicrosecond);

// Live drawing as a display window does it during a run: three traces with their moving
// markers, points arriving one by one through the deferring canvas, sweeps of range(0) points
// kept as the previous drawing at their end, and a screen update every 3,200 points (16 ms at
// 200,000 frames per second). Reported per point.
void BM_LiveSweepDeferred(benchmark::State& state) {
  const int32_t sweepLen = int32_t(state.range(0));
  constexpr int32_t kPerUpdate = 3200;
  TImageCanvas image(330, 220);
  TDeferredCanvas live(&image);
  TRaster chart{TRozne{}, Range(0, 1), Range(0, sweepLen - 1)};
  chart.SetCanvas(&live);
  chart.SetDefaults();
  chart.SetPanelSize(330, 220);
  TTraces list;
  for (int32_t j = 0; j < 3; ++j) {
    list.Pridaj("T", nullptr, 4);
    list.Trace(j)->Attr().Dots.Moving = true;
  }
  chart.AssignTraces(&list);
  chart.pBox1Paint();
  live.Flush();
  int64_t k = 0;
  for (auto _ : state) {
    const int32_t i = int32_t(k % sweepLen);
    const int64_t s = k / sweepLen;
    for (int32_t j = 0; j < 3; ++j)
      list.Trace(j)->AddXY(i, 0.5 + 0.3 * std::sin(0.05 * i + 0.7 * double(s % 7) + j));
    chart.MoveTraceSection(list, list.MaxPoints() - 1);
    if (i == sweepLen - 1) {
      chart.FillGrBufXY();
      list.Vyprazdni();
    }
    if (++k % kPerUpdate == 0) live.Flush();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LiveSweepDeferred)->Arg(101)->Arg(20001)->Unit(benchmark::kNanosecond);

void BM_SmithRepaintKeptGrid(benchmark::State& state) {
  auto smith = std::make_unique<TSmithRaster>(TRozne{}, Range(-1, 1), Range(-1, 1), ZSmith);
  TTraces list;
  list.Pridaj("G", nullptr, 4);
  for (int32_t i = 0; i < 1001; ++i)
    list.Trace(0)->AddXY(0.8 * std::cos(i * 0.01), 0.8 * std::sin(i * 0.013));
  smith->AssignTraces(&list);
  TRasterPanel panel(std::move(smith));
  panel.resize(800, 600);
  panel.RenderNow();
  for (auto _ : state) panel.RenderNow();
  state.counters["grid_builds"] = panel.GridBuilds();
}
BENCHMARK(BM_SmithRepaintKeptGrid)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qz

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
