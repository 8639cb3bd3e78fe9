#include "sim/autotune.h"

#include <gtest/gtest.h>

#include "common/tunerrig.h"

#include <vector>

#include "core/qvwin.h"
#include "core/smatrixalg.h"
#include "sim/tunetimefollower.h"

namespace qz {
namespace {

constexpr double kF = testing::kTunerRigFreq;

// The built-in tuner at its nominal frequency.
struct Rig : testing::TunerRig {
  using TunerRig::TunerRig;

  // The reflection coefficient at the tuner input with the stubs at their actual positions.
  double InputMag(const complex& load) const {
    return CAbs(InputFromLoad(load, m.TunerChain(mot.ActPos, kCloseOutput)));
  }
  // A load (output flange) that the tuner matches exactly at positions pos.
  complex MatchedBy(const TMotPos& pos) const {
    return LoadFromInput(complex(0.0), m.TunerChain(pos, kCloseOutput));
  }
};

struct Counter : TAutoTuneObserver {
  int tuned = 0;
  int times = 0;
  double seconds = -1.0;
  void OnStubsTuned(const TAutoTune&) override { ++tuned; }
  void OnTuneTime(const TAutoTune&, double s) override {
    ++times;
    seconds = s;
  }
};

TEST(AutoTune, BreakUpIsLimitedToOneToFifty) {
  const complex load = CPolarDeg(0.5, 60.0);
  struct Case {
    uint16_t given, used;
  };
  for (const Case c : {Case{0, 1}, Case{60, 50}, Case{65535, 50}}) {
    Rig a, b;
    a.mot.BreakUp = c.given;
    b.mot.BreakUp = c.used;
    a.at.TU_AutoTun(load);
    b.at.TU_AutoTun(load);
    SCOPED_TRACE(c.given);
    EXPECT_EQ(a.mot.TargPos, b.mot.TargPos);
    EXPECT_EQ(a.at.LastSolve().Iterations, b.at.LastSolve().Iterations);
    EXPECT_DOUBLE_EQ(a.at.LastSolve().X1, b.at.LastSolve().X1);
    EXPECT_DOUBLE_EQ(a.at.LastSolve().X2, b.at.LastSolve().X2);
  }
}

TEST(AutoTune, StepsBeyondTheMaximumInsertionGiveTheWorkingMaximum) {
  Rig r;
  r.sim.UserMax_mm = 12.0;
  r.m.TunerDescriptionChanged();
  ASSERT_EQ(r.m.Derived().MaxSteps, 1200);
  EXPECT_EQ(r.m.StepsFromMm(r.mot.MaxInsert_mm + 5.0), 1200);
  EXPECT_EQ(r.m.StepsFromMm(-3.0), 0);
}

// Autotune on, three skipped measurements, a load outside the tolerance that the first tune
// matches: one tune, two more on the next frames, one checked frame without a tune, then three
// skipped frames and a check again (still matched: no tune).
TEST(TunerStep, BurstOfThreeThenSkippedFrames) {
  Rig r;
  r.mot.AtOn = true;
  r.mot.Skip = 3;
  r.m.AtFrameCount = 3;  // the counter has run out: the next frame is checked
  Counter obs;
  r.at.AddObserver(&obs);
  const complex load = CPolarDeg(0.4, 30.0);
  const complex far = CPolarDeg(0.4, 30.0);  // |Gn| seen before the tune
  const complex near = complex(0.01, 0.0);   // within the tolerance of 25 mU
  std::vector<bool> tuned;
  std::vector<int> counter;
  for (int frame = 0; frame < 9; ++frame) {
    const TTunerStepResult res = r.at.TunerStep(frame == 0 ? far : near, load);
    tuned.push_back(res.Tuned);
    counter.push_back(r.m.AtFrameCount);
    EXPECT_FALSE(res.TuneTimeWritten);
  }
  EXPECT_EQ(tuned, (std::vector<bool>{true, true, true, false, false, false, false, false, false}));
  EXPECT_EQ(counter, (std::vector<int>{3, 3, 3, 0, 1, 2, 3, 0, 1}));
  EXPECT_EQ(obs.tuned, 3);
  EXPECT_EQ(obs.times, 0);
  EXPECT_EQ(r.sim.NTunBurst, 3);
  EXPECT_EQ(r.mot.ActPos, r.mot.TargPos);
  EXPECT_LT(r.InputMag(load), 0.025);
}

TEST(TunerStep, LoadLeavingTheToleranceStartsANewBurst) {
  Rig r;
  r.mot.AtOn = true;
  r.mot.Skip = 0;
  const complex load = CPolarDeg(0.3, -100.0);
  const complex near = complex(0.0, 0.01);
  const complex far = complex(0.2, 0.0);
  // Targ 0, tolerance 25: |Gn| 0.2 is out, 0.01 in.
  EXPECT_TRUE(r.at.TunerStep(far, load).Tuned);
  EXPECT_EQ(r.sim.NTunBurst, 1);
  EXPECT_TRUE(r.at.TunerStep(near, load).Tuned);
  EXPECT_EQ(r.sim.NTunBurst, 2);
  EXPECT_TRUE(r.at.TunerStep(far, load).Tuned);
  EXPECT_EQ(r.sim.NTunBurst, 1);
  EXPECT_TRUE(r.at.TunerStep(near, load).Tuned);
  EXPECT_TRUE(r.at.TunerStep(near, load).Tuned);
  EXPECT_EQ(r.sim.NTunBurst, 3);
  EXPECT_FALSE(r.at.TunerStep(near, load).Tuned);
  // With no skipped measurements every frame is checked.
  EXPECT_FALSE(r.at.TunerStep(near, load).Tuned);
  EXPECT_TRUE(r.at.TunerStep(far, load).Tuned);
}

TEST(TunerStep, ToleranceIsMeasuredFromTheTarget) {
  Rig r;
  r.mot.AtOn = true;
  r.mot.Skip = 0;
  r.mot.Targ_mU = 200;
  r.mot.Toler_mU = 25;
  r.sim.NTunBurst = 3;  // no burst running
  const complex load = CPolarDeg(0.3, 45.0);
  EXPECT_FALSE(r.at.TunerStep(complex(0.21, 0.0), load).Tuned);   // |0.21 - 0.2| < 0.025
  EXPECT_TRUE(r.at.TunerStep(complex(0.0, 0.0), load).Tuned);     // 0.2 off the target
  EXPECT_TRUE(r.at.TunerStep(complex(0.0, -0.225), load).Tuned);  // exactly the tolerance
}

TEST(TunerStep, AutotuneOffDoesNothing) {
  Rig r;
  r.mot.AtOn = false;
  r.m.AtFrameCount = 0;
  const TMotPos before = r.mot.ActPos;
  for (int i = 0; i < 5; ++i) EXPECT_FALSE(r.at.TunerStep(complex(0.9), complex(0.9)).Tuned);
  EXPECT_EQ(r.m.AtFrameCount, 0);
  EXPECT_EQ(r.mot.ActPos, before);
}

TEST(TunerStep, SingleTuneWithAutotuneOffWritesTheTuneTimeOnce) {
  Rig r;
  TQvWin qv(r.mot);
  TTuneTimeFollower follower(qv);
  r.at.AddObserver(&follower);
  Counter obs;
  r.at.AddObserver(&obs);
  r.mot.AtOn = false;
  r.mot.ActPos = MakeMotPos(100, 200, 300);
  r.sim.TuStartPos = r.mot.ActPos;
  r.sim.Btune1 = true;
  r.sim.WasTune1Click = true;
  const complex load = CPolarDeg(0.5, 170.0);

  const TTunerStepResult res = r.at.TunerStep(complex(0.5), load);
  EXPECT_TRUE(res.Tuned);
  EXPECT_TRUE(res.TuneTimeWritten);
  EXPECT_FALSE(r.sim.Btune1);
  EXPECT_FALSE(r.sim.WasTune1Click);
  EXPECT_LT(r.InputMag(load), 0.025);
  // The largest move at 3000 steps per second either way.
  int largest = 0;
  for (int k = 1; k <= 3; ++k) {
    const int dk = r.mot.ActPos[k] - r.sim.TuStartPos[k];
    if (std::abs(dk) > std::abs(largest)) largest = dk;
  }
  ASSERT_NE(largest, 0);
  EXPECT_DOUBLE_EQ(r.at.TuneTime(), std::abs(largest) / 3000.0);
  EXPECT_DOUBLE_EQ(qv.TuneTimeMs, std::abs(largest) / 3.0);
  EXPECT_EQ(obs.times, 1);
  EXPECT_EQ(obs.tuned, 1);
  EXPECT_DOUBLE_EQ(obs.seconds, r.at.TuneTime());

  // The next frame neither tunes nor writes a time.
  qv.TuneTimeMs = -1.0;
  EXPECT_FALSE(r.at.TunerStep(complex(0.5), load).Tuned);
  EXPECT_EQ(obs.times, 1);
  EXPECT_EQ(qv.TuneTimeMs, -1.0);
  // A request without the time flag tunes without writing a time.
  r.sim.Btune1 = true;
  EXPECT_TRUE(r.at.TunerStep(complex(0.5), load).Tuned);
  EXPECT_EQ(obs.times, 1);
  EXPECT_EQ(qv.TuneTimeMs, -1.0);
}

TEST(TunerStep, TuneTimeShownInWholeMilliseconds) {
  struct Case {
    double s;
    int ms;
  };
  for (const Case c :
       {Case{500.0 / 3000.0, 167}, Case{0.3, 300}, Case{0.0005, 0}, Case{0.0015, 2}, Case{0.0, 0}})
    EXPECT_EQ(TuneTimeMs(c.s), c.ms) << c.s;
}

// Stubs that are transparent at zero insertion and a matched load with target 0: the pair
// search ends in its first iteration at zero and the target search does not run.
TEST(AutoTune, MatchedLoadEndsAtOnceAtZero) {
  Rig r;
  const TStubCoefs& p1 = r.m.Freq().Chain.Stub.P1;
  const TStubCoefs& p2 = r.m.Freq().Chain.Stub.P2;
  ASSERT_EQ(p1[0], 0.0);
  ASSERT_EQ(p2[0], 0.0);
  r.mot.TargPos = MakeMotPos(5, 6, 7);
  for (bool mode : {false, true}) {
    r.m.PairMode = mode;
    r.at.TU_AutoTun(complex(0.0));
    EXPECT_EQ(r.at.LastSolve().Iterations, 1);
    EXPECT_LT(r.at.LastSolve().Q, 2.5e-5);
    EXPECT_FALSE(r.at.LastSolve().TargetRan);
    EXPECT_EQ(r.mot.TargPos, MakeMotPos(0, 0, 0));
  }
}

// Loads that one pair of stubs matches exactly: the autotune finds a match within the tolerance,
// whichever pair it tries first (a pair that cannot match gives way to the other one).
TEST(AutoTune, MatchesLoadsInsideTheMatchableArea) {
  const std::vector<TMotPos> positions = {
      MakeMotPos(600, 900, 0),   MakeMotPos(1500, 300, 0),  MakeMotPos(2500, 2000, 0),
      MakeMotPos(300, 2700, 0),  MakeMotPos(1200, 1200, 0), MakeMotPos(0, 700, 1400),
      MakeMotPos(0, 1800, 1100), MakeMotPos(0, 2600, 2600), MakeMotPos(0, 400, 2200),
      MakeMotPos(0, 1000, 2900), MakeMotPos(2000, 0, 0),    MakeMotPos(0, 0, 1700)};
  Rig r;
  for (const TMotPos& p : positions) {
    const complex load = r.MatchedBy(p);
    r.at.TU_AutoTun(load);
    r.mot.ActPos = r.mot.TargPos;
    EXPECT_LT(r.InputMag(load), 0.025)
        << "pos " << p[1] << "," << p[2] << "," << p[3] << " |load| " << CAbs(load) << " mode "
        << r.m.PairMode << " it " << r.at.LastSolve().Iterations << " q " << r.at.LastSolve().Q
        << " x " << r.at.LastSolve().X2 << "," << r.at.LastSolve().X1 << " -> " << r.mot.TargPos[1]
        << "," << r.mot.TargPos[2] << "," << r.mot.TargPos[3];
    for (int k = 1; k <= 3; ++k) {
      EXPECT_GE(r.mot.TargPos[k], 0);
      EXPECT_LE(r.mot.TargPos[k], r.m.Derived().MaxSteps);
    }
    // One stub of a pair search stays out.
    EXPECT_EQ(r.mot.TargPos[r.m.PairMode ? 1 : 3], 0);
  }
}

// The pair of stubs 2 and 3 sees the generator through stub 1 at zero insertion. With a stub
// that reflects even at zero insertion the match must still be found.
TEST(AutoTune, PairTwoThreeMatchesThroughAReflectingFirstStub) {
  TTunerDescr d = DefaultTunerDescr();
  d.Par2.C[0][0] = 0.3;  // shunt susceptance at zero insertion
  Rig r(&d);
  ASSERT_GT(CAbs(r.m.Freq().S0.s11), 0.1);
  r.mot.HystDg = 180;  // keeps the pair mode whatever the load
  r.m.UpdateAtParams();
  r.m.TU_FillFreqPars(kF);
  for (const TMotPos& p :
       {MakeMotPos(0, 800, 1500), MakeMotPos(0, 2000, 600), MakeMotPos(0, 1300, 2400)}) {
    const complex load = r.MatchedBy(p);
    r.m.PairMode = true;
    r.at.TU_AutoTun(load);
    ASSERT_TRUE(r.m.PairMode);
    r.mot.ActPos = r.mot.TargPos;
    EXPECT_LT(r.InputMag(load), 0.025) << p[2] << "," << p[3];
  }
}

TEST(AutoTune, TargetAboveToleranceDetunesToTheTarget) {
  Rig r;
  r.mot.Targ_mU = 200;
  r.mot.Toler_mU = 25;
  for (const TMotPos& p : {MakeMotPos(600, 900, 0), MakeMotPos(0, 1800, 500)}) {
    const complex load = r.MatchedBy(p);
    r.at.TU_AutoTun(load);
    r.mot.ActPos = r.mot.TargPos;
    EXPECT_TRUE(r.at.LastSolve().TargetRan);
    EXPECT_NEAR(r.InputMag(load), 0.2, 0.025);
  }
  // A target below the tolerance is not sought.
  r.mot.Targ_mU = 20;
  r.at.TU_AutoTun(r.MatchedBy(MakeMotPos(600, 900, 0)));
  EXPECT_FALSE(r.at.LastSolve().TargetRan);
}

TEST(AutoTune, UnmatchableLoadEndsWithinTheIterationLimit) {
  Rig r;
  r.mot.MaxIter = 65535;
  r.mot.BreakUp = 50;
  r.mot.MinStep = 1;
  // (How long these take is bench_autotune's BM_AutoTunUnmatchableLoads.)
  for (const complex& load : {CPolarDeg(0.99, 0.0), CPolarDeg(0.999, 123.0), complex(5.0, -7.0)}) {
    r.at.TU_AutoTun(load);
    EXPECT_LE(r.at.LastSolve().Iterations, 65535);
    for (int k = 1; k <= 3; ++k) {
      EXPECT_GE(r.mot.TargPos[k], 0);
      EXPECT_LE(r.mot.TargPos[k], r.m.Derived().MaxSteps);
    }
  }
  // A limit of one iteration is honoured.
  r.mot.MaxIter = 1;
  r.at.TU_AutoTun(CPolarDeg(0.99, 0.0));
  EXPECT_EQ(r.at.LastSolve().Iterations, 1);
}

TEST(AutoTune, LargestMagnitudeLimitsTheLoadTuned) {
  // A load beyond the largest magnitude is tuned as that magnitude in the same direction.
  Rig a, b;
  a.sim.MaxMag_mU = 300;
  b.sim.MaxMag_mU = 300;
  a.at.TU_AutoTun(CPolarDeg(0.9, 75.0));
  b.at.TU_AutoTun(CPolarDeg(0.3, 75.0));
  EXPECT_EQ(a.mot.TargPos, b.mot.TargPos);
}

TEST(ChoosePair, HysteresisKeepsThePresentPair) {
  Rig r;
  r.mot.HystDg = 180;  // every load lies near a border
  r.m.DerivedAt();
  for (bool mode : {false, true}) {
    r.m.PairMode = mode;
    for (double deg = -180.0; deg < 180.0; deg += 15.0)
      EXPECT_EQ(r.at.ChoosePair(CPolarDeg(0.6, deg)), mode) << deg;
  }
}

TEST(ChoosePair, WithoutHysteresisTheLoadAloneDecides) {
  Rig r;
  r.mot.HystDg = 0;
  r.m.DerivedAt();
  int set = 0;
  int clear = 0;
  for (double deg = -180.0; deg < 180.0; deg += 5.0) {
    const complex g = CPolarDeg(0.6, deg);
    r.m.PairMode = false;
    const bool a = r.at.ChoosePair(g);
    r.m.PairMode = true;
    const bool b = r.at.ChoosePair(g);
    EXPECT_EQ(a, b) << deg;
    EXPECT_EQ(r.m.PairMode, b);
    (a ? set : clear)++;
  }
  // Both pairs have their share of the chart.
  EXPECT_GT(set, 0);
  EXPECT_GT(clear, 0);
}

TEST(FindStubInsertion, FindsTheInsertionOfTheGivenMagnitude) {
  Rig r;
  const double maxMag = CAbs(r.m.StubMatrix(r.mot.MaxInsert_mm).s11);
  for (double t : {0.1, 0.3, 0.5, 0.7}) {
    ASSERT_LT(t, maxMag);
    EXPECT_NEAR(CAbs(r.at.FindStubInsertion(t)), t, 0.005) << t;
  }
  // Beyond the full insertion the full insertion's reflection comes back.
  EXPECT_NEAR(CAbs(r.at.FindStubInsertion(std::min(1.0, maxMag + 0.05))), maxMag, 1e-12);
}

TEST(PairMismatch, ZeroExactlyAtTheMatchingPair) {
  Rig r;
  const TMotPos p = MakeMotPos(700, 1100, 0);  // stubs 1 and 2, stub 3 at zero
  const complex load = r.MatchedBy(p);
  const complex g3 = InputFromLoad(load, r.m.Freq().Chain.Line[3]);
  const TPairCtx c = r.at.PairContext(g3, false);
  const double step = r.m.Derived().StepMm;
  EXPECT_NEAR(r.at.PairMismatch(c, 1100 * step, 700 * step), 0.0, 1e-20);
  EXPECT_GT(r.at.PairMismatch(c, 1000 * step, 700 * step), 1e-4);
}

}  // namespace
}  // namespace qz
