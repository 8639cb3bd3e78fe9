// The tunes a load out of the tuner's reach gets over running model frames: one, and one more
// only when the load, the stubs (the operator's Reset Stubs through the command layer), the
// autotune switch, the frequency or the tuner description change.
#include <gtest/gtest.h>

#include "common/framerig.h"

#include "comm/qzcmd.h"

namespace qz {
namespace {

using testing::FrameRig;
using testing::TuneWatch;

TEST(UnreachedTune, AnUnreachableLoadIsTunedOnceUntilSomethingChanges) {
  FrameRig r;
  TQzCmd cmd{r.qv, r.sim};
  TuneWatch w;
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
  // Reset Stubs drives the stubs home: one more tune, and it puts them back.
  const TMotPos tuned = r.mot.ActPos;
  ASSERT_NE(tuned, MakeMotPos(0, 0, 0));
  ASSERT_EQ(cmd.ResetStubs(), kCmdOk);
  EXPECT_EQ(r.mot.ActPos, MakeMotPos(0, 0, 0));
  r.Frames(100);
  EXPECT_EQ(w.tunes, 3);
  EXPECT_EQ(r.mot.ActPos, tuned);
  // Autotune off and on again (the command layer's switch) forgets the unreached tune.
  ASSERT_EQ(cmd.AutotuneOnOff(0), kCmdOk);
  r.Frames(2);
  ASSERT_EQ(cmd.AutotuneOnOff(1), kCmdOk);
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

}  // namespace
}  // namespace qz
