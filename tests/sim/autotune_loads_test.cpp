// The autotune over a table of loads, graded by an independent model of the tuner: every load
// one of the two pairs of stubs can match is matched, from a fresh start and in running frames
// after a load change; every other load is reported as outside the matchable area with the
// best reflection the tuner can give it.
#include <gtest/gtest.h>

#include "common/framerig.h"
#include "common/indeptuner.h"
#include "common/tunerrig.h"

#include <vector>

#include "sim/autotune.h"

namespace qz {
namespace {

using testing::cplx;
using testing::IndepTuner;
using testing::LoadTable;
using testing::TableLoad;

constexpr double kTol = 0.025;  // the default tolerance

cplx C(const complex& z) { return {z.re, z.im}; }

struct Graded {
  TableLoad load;
  double best;  // the best |input reflection| of either pair, by the independent model
};

// The table graded once for the whole program.
const std::vector<Graded>& GradedTable() {
  static const std::vector<Graded> table = [] {
    testing::TunerRig r;
    const IndepTuner t(r.d, testing::kTunerRigFreq, r.m.Derived().MaxSteps);
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
    testing::TunerRig r;
    const IndepTuner t(r.d, testing::kTunerRigFreq, r.m.Derived().MaxSteps);
    const complex load = CPolarDeg(g.load.mag, g.load.deg);
    r.at.TU_AutoTun(load);
    const double got = t.InputMag(C(load), r.mot.TargPos);
    const TTuneOutcome& o = r.at.LastOutcome();
    SCOPED_TRACE(::testing::Message()
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

using testing::FrameRig;

TEST(AutotuneLoadTable, RunningFramesMatchWithinThreeFramesOfAChange) {
  for (double fromDeg : {90.0, -90.0}) {
    FrameRig r;
    const IndepTuner t(r.d, testing::kTunerRigFreq, r.m.Derived().MaxSteps);
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
  testing::TunerRig r;
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
  testing::TunerRig r;
  r.mot.Toler_mU = 0;
  r.m.DerivedAt();
  r.at.TU_AutoTun(CPolarDeg(0.3, 0.0));  // the first pair leaves it at 0.059
  EXPECT_FALSE(r.m.PairMode);
  EXPECT_FALSE(r.at.LastOutcome().Reached);
}

}  // namespace
}  // namespace qz
