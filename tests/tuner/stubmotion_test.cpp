// The stub motors under the operator's hand: every move goes through the command layer and
// keeps to the travel of the working tuner description.
#include <gtest/gtest.h>

#include "common/tpicrig.h"
#include "tuner/stubmotion.h"

namespace qz {
namespace {

using ::testing::Return;

struct Motion : testing::TpicRig {
  explicit Motion(int maxSteps = 1000) : TpicRig(maxSteps, 0.1) {
    motion.OnShowMotPosit = [this](int mo) { shown.push_back(mo); };
  }
  TStubMotion motion{m, cmd};
  std::vector<int> shown;
};

TEST(StubMotion, StepSnapsToMultiplesAndKeepsTheOtherStubs) {
  struct Case {
    int act;
    TSmer dir;
    TStep index;
    int targ;
  } cases[] = {{37, TSmer::Dolu, 1, 40}, {37, TSmer::Hore, 1, 30},   {40, TSmer::Dolu, 1, 50},
               {40, TSmer::Hore, 1, 30}, {37, TSmer::Dolu, 0, 38},   {37, TSmer::Dolu, 2, 100},
               {5, TSmer::Hore, 1, 0},   {995, TSmer::Dolu, 1, 1000}};
  for (const Case& c : cases) {
    Motion r;
    r.mot.ActPos = MakeMotPos(11, int16_t(c.act), 22);
    r.mot.TargPos = MakeMotPos(500, 500, 500);  // stale targets are not moved to
    EXPECT_CALL(r.cmd, MoveStubs());
    EXPECT_TRUE(r.motion.Press(2, c.dir, c.index));
    EXPECT_EQ(r.mot.TargPos, MakeMotPos(11, int16_t(c.targ), 22)) << c.act;
    EXPECT_EQ(r.mot.ActPos, r.mot.TargPos) << c.act;
    EXPECT_EQ(r.shown, std::vector<int>{2});
  }
}

TEST(StubMotion, RepeatStopsAtTheEndAndAPressAtTheEndDoesNothing) {
  Motion r;
  r.mot.ActPos = MakeMotPos(0, 995, 0);
  ASSERT_TRUE(r.motion.Press(2, TSmer::Dolu, 1));
  EXPECT_EQ(r.mot.ActPos[2], 1000);
  EXPECT_FALSE(r.motion.Tick(2));  // the timer stops at its next tick
  EXPECT_EQ(r.mot.ActPos[2], 1000);
  EXPECT_CALL(r.cmd, MoveStubs()).Times(0);
  EXPECT_FALSE(r.motion.Press(2, TSmer::Dolu, 1));
}

TEST(StubMotion, AtZeroRetractDoesNothingAndZeroExtensionCommandsZeroAgain) {
  Motion r;
  {
    EXPECT_CALL(r.cmd, MoveStubs()).Times(0);
    EXPECT_FALSE(r.motion.Press(1, TSmer::Hore, 2));
  }
  ::testing::Mock::VerifyAndClearExpectations(&r.cmd);
  EXPECT_CALL(r.cmd, MoveStubs());
  r.motion.EndStop(1, false);
  EXPECT_EQ(r.mot.TargPos[1], 0);
}

TEST(StubMotion, EndStopsTypedPositionsAndResultsOfTheMoveIgnored) {
  Motion r;
  ON_CALL(r.cmd, MoveStubs()).WillByDefault(Return(-5));  // a refused move changes nothing here
  r.mot.ActPos = MakeMotPos(10, 20, 30);
  r.motion.EndStop(3, true);
  EXPECT_EQ(r.mot.TargPos, MakeMotPos(10, 20, 1000));
  r.motion.MoveTo(1, 5000);
  EXPECT_EQ(r.mot.TargPos[1], 1000);
  r.motion.MoveTo(1, -3);
  EXPECT_EQ(r.mot.TargPos[1], 0);
}

TEST(StubMotion, ATickDuringTheSameMotorsStepDoesNothing) {
  Motion r;
  r.mot.ActPos = MakeMotPos(0, 100, 0);
  ASSERT_TRUE(r.motion.Press(2, TSmer::Dolu, 1));
  // The move pumps events and a tick of the same motor arrives while its step runs.
  int nested = 0;
  EXPECT_CALL(r.cmd, MoveStubs()).WillOnce([&] {
    EXPECT_TRUE(r.motion.KrokBezi(2));
    EXPECT_TRUE(r.motion.Tick(2));
    ++nested;
    return r.cmd.TQzCmd::MoveStubs();
  });
  EXPECT_TRUE(r.motion.Tick(2));
  EXPECT_EQ(nested, 1);
  EXPECT_EQ(r.mot.ActPos[2], 120);  // one step per tick, none for the nested one
  EXPECT_FALSE(r.motion.KrokBezi(2));
}

TEST(StubMotion, StepSizesFollowTheWorkingMaximum) {
  Motion r;
  r.motion.SetStepSize(0, 10, 5000);
  EXPECT_EQ(r.motion.StepSize(), (TStepSize{1, 10, 1000}));
}

TEST(StubMotion, DragMovesTheTargetAndTheReleaseMovesTheStubs) {
  Motion r;
  const TStubScale s = GetStubDrawParams(r.motion.MaxSteps());
  r.mot.ActPos = MakeMotPos(0, 500, 0);
  EXPECT_CALL(r.cmd, MoveStubs()).Times(0);
  r.motion.BeginDrag(2, 100, StubHeight(s, 500));  // 26 px
  EXPECT_TRUE(r.motion.MouseActive());
  TStubDragPos p = r.motion.DragMove(100, s);  // no movement
  EXPECT_EQ(p.steps, 491);
  p = r.motion.DragMove(60, s);  // far above the top
  EXPECT_EQ(p.steps, 0);
  EXPECT_EQ(p.height, 4);
  p = r.motion.DragMove(82, s);  // 22 px down from the top stub
  EXPECT_EQ(p.steps, 491);
  EXPECT_EQ(r.mot.TargPos[2], 491);
  EXPECT_EQ(r.mot.ActPos[2], 491);
  ::testing::Mock::VerifyAndClearExpectations(&r.cmd);
  EXPECT_CALL(r.cmd, MoveStubs());
  r.motion.EndDrag();
  EXPECT_FALSE(r.motion.MouseActive());
  EXPECT_EQ(r.shown.back(), 2);
  r.motion.EndDrag();  // a second release sends nothing more
}

}  // namespace
}  // namespace qz
