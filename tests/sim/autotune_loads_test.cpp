// The autotune over a table of loads, graded by an independent model of the tuner: every load
// one of the two pairs of stubs can match is matched, from a fresh start and in running frames
// after a load change; every other load is reported as outside the matchable area with the
// best reflection the tuner can give it. Then the tunes an unreachable load gets over frames.
#include <gtest/gtest.h>

#include "common/indeptuner.h"
#include "common/tunerrig.h"

#include <memory>
#include <vector>

#include "core/qvwin.h"
#include "sim/autotune.h"
#include "sim/mdlengine.h"
#include "sim/modeltuner.h"
#include "util/random.h"

namespace qz {
namespace {

using testrig::cplx;
using testrig::IndepTuner;
using testrig::LoadTable;
using testrig::TableLoad;

constexpr double kTol = 0.025;  // the default tolerance

cplx C(const complex& z) { return {z.re, z.im}; }

struct Graded {
  TableLoad load;
  double best;  // the best |input reflection| of either pair, by the independent model
};

// The table graded once for the whole program.
const std::vector<Graded>& GradedTable() {
  static const std::vector<Graded> table = [] {
    testrig::TunerRig r;
    const IndepTuner t(r.d, testrig::kTunerRigFreq, r.m.Derived().MaxSteps);
    std::vector<Graded> v;
    for (const TableLoad& l : LoadTable())
      v.push_back({l, t.BestOfBoth(C(CPolarDeg(l.mag, l.deg))).mag});
    return v;
  }();
  return table;
}

bool Matchable(const Graded& g) { return g.best < 0.040; }

TEST(AutotuneLoadTable, TheIndependentModelSplitsTheTable) {
  int inside = 0, border = 0, outside = 0;
  for (const Graded& g : GradedTable()) {
    if (g.best <= 0.015)
      ++inside;
    else if (g.best < 0.040)
      ++border;
    else
      ++outside;
  }
  EXPECT_EQ(inside, 236);
  EXPECT_EQ(border, 2);
  EXPECT_EQ(outside, 50);
}

TEST(AutotuneLoadTable, FreshStartMatchesOrReportsEveryLoad) {
  for (const Graded& g : GradedTable()) {
    testrig::TunerRig r;
    const IndepTuner t(r.d, testrig::kTunerRigFreq, r.m.Derived().MaxSteps);
    const complex load = CPolarDeg(g.load.mag, g.load.deg);
    r.at.TU_AutoTun(load);
    const double got = t.InputMag(C(load), r.mot.TargPos);
    const TTuneOutcome& o = r.at.LastOutcome();
    SCOPED_TRACE(testing::Message()
                 << g.load.mag << "/" << g.load.deg << " best " << g.best << " got " << got);
    if (Matchable(g)) {
      EXPECT_LE(got, kTol);
      EXPECT_TRUE(o.Reached);
      EXPECT_TRUE(o.Text().isEmpty());
    } else {
      EXPECT_FALSE(o.Reached);
      EXPECT_TRUE(o.AtTravelEnd);
      EXPECT_TRUE(o.Text().startsWith(QStringLiteral("Load outside the matchable area: ")))
          << o.Text().toStdString();
      EXPECT_NEAR(o.GammaIn, g.best, 0.002);
      EXPECT_NEAR(got, o.GammaIn, 1e-6);
    }
  }
}

// The shared tuner with the model's frames over it.
struct FrameRig : testrig::TunerRig {
  TTunerModelAdapter tuner{m, at};
  TQvWin qv{mot};
  TMdlEngine model{qv, sim, tuner};
  TMerObjekt mob{};
  FrameRig() {
    SetRandomSource(std::make_unique<SeededRandom>(7));
    model.Sleep = [](int64_t) {};
    model.Runcert = 0.0;
    mot.AtOn = true;
  }
  ~FrameRig() { SetRandomSource(nullptr); }
  void Frames(int n) {
    for (int i = 0; i < n; ++i) model.GetMobBytes(1, mob);
  }
};

TEST(AutotuneLoadTable, RunningFramesMatchWithinThreeFramesOfAChange) {
  for (double fromDeg : {90.0, -90.0}) {
    FrameRig r;
    const IndepTuner t(r.d, testrig::kTunerRigFreq, r.m.Derived().MaxSteps);
    for (const Graded& g : GradedTable()) {
      if (!Matchable(g)) continue;
      r.model.SimulRo = CPolarDeg(0.5, fromDeg);
      r.Frames(6);
      ASSERT_LE(t.InputMag(C(r.model.SimulRo), r.mot.ActPos), kTol) << fromDeg;
      const complex load = CPolarDeg(g.load.mag, g.load.deg);
      r.model.SimulRo = load;
      r.Frames(3);
      EXPECT_LE(t.InputMag(C(load), r.mot.ActPos), kTol)
          << "from 0.5/" << fromDeg << " to " << g.load.mag << "/" << g.load.deg;
    }
  }
}

// Counts the tunes and keeps the texts of the unreached ones.
struct Watch : TAutoTuneObserver {
  int tunes = 0;
  QStringList texts;
  void OnTuneOutcome(const TAutoTune&, const TTuneOutcome& o) override {
    ++tunes;
    if (!o.Reached) texts << o.Text();
  }
};

TEST(AutotuneLoadTable, AnUnreachableLoadIsTunedOnceUntilSomethingChanges) {
  FrameRig r;
  Watch w;
  r.at.AddObserver(&w);
  r.model.SimulRo = CPolarDeg(0.9, -45.0);
  r.Frames(1000);
  EXPECT_EQ(w.tunes, 1);
  ASSERT_EQ(w.texts.size(), 1);
  EXPECT_EQ(
      w.texts[0],
      QStringLiteral("Load outside the matchable area: |Gamma in| = 0.211 (tolerance 0.025)"));
  // Another load out of reach: one more tune.
  r.model.SimulRo = CPolarDeg(0.9, -30.0);
  r.Frames(100);
  EXPECT_EQ(w.tunes, 2);
  // The stubs moved away (Reset Stubs): one more.
  r.mot.TargPos = MakeMotPos(0, 0, 0);
  r.mot.ActPos = MakeMotPos(0, 0, 0);
  r.Frames(100);
  EXPECT_EQ(w.tunes, 3);
  // Autotune off and on again forgets the unreached tune.
  r.mot.AtOn = false;
  r.Frames(2);
  r.mot.AtOn = true;
  r.Frames(100);
  EXPECT_EQ(w.tunes, 4);
  // The frequency moved by more than 0.1 %: tuned again; within it: not.
  r.model.f_Hz = 2.45e9 * 1.0009;
  r.Frames(100);
  EXPECT_EQ(w.tunes, 4);
  r.model.f_Hz = 2.45e9 * 1.002;
  r.Frames(100);
  EXPECT_EQ(w.tunes, 5);
  // A description derived anew.
  r.m.TunerDescriptionChanged();
  r.Frames(100);
  EXPECT_EQ(w.tunes, 6);
  // A load that can be matched is tuned, and reaches.
  r.model.SimulRo = CPolarDeg(0.5, 90.0);
  const int before = w.tunes;
  r.Frames(10);
  EXPECT_GT(w.tunes, before);
  EXPECT_EQ(w.texts.size(), 6);
  EXPECT_FALSE(r.at.HoldsUnreached());
  r.at.RemoveObserver(&w);
}

TEST(AutotuneLoadTable, OutcomeTexts) {
  struct Case {
    TTuneOutcome o;
    const char* text;
  };
  const Case cases[] = {
      {{true, 0.3, 0.025, true}, ""},
      {{false, 0.5770, 0.025, true},
       "Load outside the matchable area: |Gamma in| = 0.577 (tolerance 0.025)"},
      {{false, 0.0414, 0.01, false},
       "Tune ended above the tolerance: |Gamma in| = 0.041 (tolerance 0.010)"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.o.Text(), QString::fromUtf8(c.text));
}

// Max tune Mag below the load: the tune of the limited load may reach, the load as given does
// not, and the outcome says so.
TEST(AutotuneLoadTable, MaxTuneMagLeavesTheLoadAboveTheTolerance) {
  testrig::TunerRig r;
  r.sim.MaxMag_mU = 300;
  r.at.TU_AutoTun(CPolarDeg(0.6, 75.0));
  const TTuneOutcome& o = r.at.LastOutcome();
  EXPECT_FALSE(o.Reached);
  EXPECT_GT(o.GammaIn, 0.1);
  EXPECT_TRUE(o.Text().startsWith(QStringLiteral("Tune ended above the tolerance: ")))
      << o.Text().toStdString();
}

// Tolerance 0 (the scenario generator's exact tunes): the first pair stays whatever it gives.
TEST(AutotuneLoadTable, ExactTunesNeverTryTheOtherPair) {
  testrig::TunerRig r;
  r.mot.Toler_mU = 0;
  r.m.DerivedAt();
  r.at.TU_AutoTun(CPolarDeg(0.3, 0.0));  // the first pair leaves it at 0.059
  EXPECT_FALSE(r.m.PairMode);
  EXPECT_FALSE(r.at.LastOutcome().Reached);
}

}  // namespace
}  // namespace qz
