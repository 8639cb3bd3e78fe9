// Cost of one autotune and of the matchable-area borders of the simulated tuner.
#include <benchmark/benchmark.h>

#include "core/smatrixalg.h"
#include "sim/autotune.h"
#include "sim/rhoarea.h"

namespace qz {
namespace {

constexpr double kF = 2.45e9;

struct Rig {
  TTunerDescr d = DefaultTunerDescr();
  TMotState mot;
  TSimState sim;
  TTunerModel m{d, mot, sim};
  TAutoTune at{m};
  Rig() {
    m.TunerDescriptionChanged();
    m.TU_FillFreqPars(kF);
  }
};

// Loads the tuner matches, spread over both pairs of stubs.
void BM_AutoTunDefaults(benchmark::State& state) {
  Rig r;
  std::vector<complex> loads;
  for (int k = 0; k < 16; ++k) {
    const int16_t a = static_cast<int16_t>(200 + 170 * k);
    const int16_t b = static_cast<int16_t>(2800 - 150 * k);
    const TMotPos p = k % 2 ? MakeMotPos(a, b, 0) : MakeMotPos(0, a, b);
    loads.push_back(LoadFromInput(complex(0.0), r.m.TunerChain(p, kCloseOutput)));
  }
  std::size_t i = 0;
  for (auto _ : state) {
    r.at.TU_AutoTun(loads[i]);
    benchmark::DoNotOptimize(r.mot.TargPos);
    i = (i + 1) % loads.size();
  }
}
BENCHMARK(BM_AutoTunDefaults)->Unit(benchmark::kMicrosecond);

// Break-up 50 and 65535 iterations on a load no pair can match.
void BM_AutoTunUnmatchable(benchmark::State& state) {
  Rig r;
  r.mot.BreakUp = 50;
  r.mot.MaxIter = 65535;
  const complex load = CPolarDeg(0.99, 10.0);
  int iterations = 0;
  for (auto _ : state) {
    r.at.TU_AutoTun(load);
    iterations = r.at.LastSolve().Iterations;
    benchmark::DoNotOptimize(r.mot.TargPos);
  }
  state.counters["iterations"] = iterations;
}
BENCHMARK(BM_AutoTunUnmatchable)->Unit(benchmark::kMicrosecond);

// A load the pair of stubs 1 and 2 (the pair a fresh start tries) cannot match: 0.3 at 0 deg.
void BM_AutoTunFailingFirstPair(benchmark::State& state) {
  Rig r;
  const complex load = CPolarDeg(0.3, 0.0);
  for (auto _ : state) {
    r.m.PairMode = false;
    r.at.TU_AutoTun(load);
    benchmark::DoNotOptimize(r.mot.TargPos);
  }
}
BENCHMARK(BM_AutoTunFailingFirstPair)->Unit(benchmark::kMicrosecond);

// The three unmatchable loads of the autotune test's iteration limit, with the smallest step:
// the whole set took under a second when that test timed it.
void BM_AutoTunUnmatchableLoads(benchmark::State& state) {
  Rig r;
  r.mot.MaxIter = 65535;
  r.mot.BreakUp = 50;
  r.mot.MinStep = 1;
  const complex loads[] = {CPolarDeg(0.99, 0.0), CPolarDeg(0.999, 123.0), complex(5.0, -7.0)};
  for (auto _ : state) {
    for (const complex& load : loads) {
      r.at.TU_AutoTun(load);
      benchmark::DoNotOptimize(r.mot.TargPos);
    }
  }
}
BENCHMARK(BM_AutoTunUnmatchableLoads)->Unit(benchmark::kMillisecond);

void BM_GetRhoArea(benchmark::State& state) {
  Rig r;
  TRhoArea a;
  for (auto _ : state) {
    GetRhoArea(r.m, kF, kAreaMatchable, kAreaOutput, nullptr, a);
    benchmark::DoNotOptimize(a);
  }
}
BENCHMARK(BM_GetRhoArea)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace qz
