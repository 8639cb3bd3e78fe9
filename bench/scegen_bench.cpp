// "Create List" and "Make Sce" of the scenario generator on the densest grids the entries allow
// (Step 10 mU over 0 .. 1000 mU), with one worker and with every core (workers 0); traj 1 is
// "Circ" (31,731 points), 0 "Rect" (31,473 points and the match).
#include <benchmark/benchmark.h>

#include <QThread>

#include "sim/tunerdescr.h"
#include "sim/tunermodel.h"
#include "tuner/scegen.h"

namespace qz {
namespace {

constexpr double kF = 2.45e9;

void Densest(benchmark::State& state) {
  const int traj = int(state.range(0));
  const int workers = state.range(1) ? int(state.range(1)) : QThread::idealThreadCount();
  TSceModelCopy copy;
  copy.descr = DefaultTunerDescr();
  {
    // The records as the program holds them: derived once from the description.
    TTunerModel m(copy.descr, copy.mot, copy.sim);
    m.TunerDescriptionChanged();
  }
  TSceGenValues v;
  v.Rstart = 0;
  v.Rstop = 1000;
  v.Rstep = 10;
  TSceGenOptions o;
  o.Trajectory = traj;
  size_t rows = 0;
  for (auto _ : state) {
    const auto pts = CreateListPoints(v, o);
    const QStringList list = CreateListLines(pts, kF);
    std::vector<TSceRecord> recs;
    recs.reserve(pts.size());
    for (const complex& p : pts) recs.push_back({kF, p});
    const QStringList out = MakeScenarioRows(copy, RowRecords(recs, true), 1, 500, workers);
    rows = size_t(out.size());
    benchmark::DoNotOptimize(list);
  }
  state.counters["rows"] = double(rows);
  state.counters["workers"] = workers;
}
BENCHMARK(Densest)
    ->ArgNames({"traj", "workers"})
    ->Args({kTrajCirc, 1})
    ->Args({kTrajCirc, 0})
    ->Args({kTrajRect, 0})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2)
    ->UseRealTime();

}  // namespace
}  // namespace qz
