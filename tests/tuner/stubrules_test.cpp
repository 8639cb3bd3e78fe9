// The tuner picture's rules without a window: steps, repeat, step sizes, stub drawing, motor
// errors and the extended-plane marker.
#include <gtest/gtest.h>

#include "tuner/stubrules.h"

namespace qz {
namespace {

TEST(StubRules, StepGoesToTheNextMultipleInItsDirection) {
  struct Case {
    int act, size;
    TSmer dir;
    int next;
  } cases[] = {
      {37, 10, TSmer::Dolu, 40}, {37, 10, TSmer::Hore, 30}, {40, 10, TSmer::Dolu, 50},
      {40, 10, TSmer::Hore, 30}, {0, 10, TSmer::Hore, -10}, {995, 10, TSmer::Dolu, 1000},
      {5, 1, TSmer::Dolu, 6},    {5, 1, TSmer::Hore, 4},    {250, 100, TSmer::Hore, 200},
  };
  for (const Case& c : cases)
    EXPECT_EQ(NextStepPosition(c.act, c.size, c.dir), c.next) << c.act << " by " << c.size;
}

TEST(StubRules, PressAndRepeatStopAtTheEndsOfTheTravel) {
  EXPECT_FALSE(StepPressAllowed(1000, 1000, TSmer::Dolu));
  EXPECT_FALSE(StepPressAllowed(1200, 1000, TSmer::Dolu));  // beyond, from a longer tuner
  EXPECT_TRUE(StepPressAllowed(1000, 1000, TSmer::Hore));
  EXPECT_FALSE(StepPressAllowed(0, 1000, TSmer::Hore));
  EXPECT_TRUE(StepPressAllowed(0, 1000, TSmer::Dolu));
  EXPECT_FALSE(RepeatContinues(1000, 1000));
  EXPECT_FALSE(RepeatContinues(0, 1000));
  EXPECT_TRUE(RepeatContinues(999, 1000));
  EXPECT_TRUE(RepeatContinues(1, 1000));
}

TEST(StubRules, StepIndexFromKeysAndButton) {
  struct Case {
    bool ctrl, shift, right;
    TStep index;
  } cases[] = {{true, false, false, 0},
               {true, true, true, 0},
               {false, true, false, 2},
               {false, false, true, 2},
               {false, false, false, 1}};
  for (const Case& c : cases)
    EXPECT_EQ(StepIndexFor(c.ctrl, c.shift, c.right), c.index) << c.ctrl << c.shift << c.right;
}

TEST(StubRules, StepSizesStayWithinTheTravel) {
  EXPECT_EQ(LimitStepSizes(0, 10, 5000, 1000), (TStepSize{1, 10, 1000}));
  EXPECT_EQ(LimitStepSizes(-3, 14, 208, 3000), (TStepSize{1, 14, 208}));
  EXPECT_EQ(LimitStepSizes(1, 10, 100, 0), (TStepSize{1, 1, 1}));  // a maximum of 0 counts as 1
}

TEST(StubRules, StubHeightsAndTheirStepsBack) {
  const TStubScale s = GetStubDrawParams(1000);
  EXPECT_EQ(s.Qgra, 4);
  EXPECT_DOUBLE_EQ(s.Kgra, 0.0448);
  struct Case {
    int pos, height;
  } heights[] = {{0, 4}, {500, 26}, {1000, 48}, {1, 4}, {23, 5}, {-50, 4}, {1500, 48}};
  for (const Case& c : heights) EXPECT_EQ(StubHeight(s, c.pos), c.height) << c.pos;

  struct Back {
    int height, steps, shown;
  } back[] = {{26, 491, 26}, {4, 0, 4},      {-30, 0, 4},
              {48, 982, 48}, {60, 1000, 48}, {200, 1000, 48}};
  for (const Back& b : back) {
    const TStubDragPos p = StubHeightToSteps(s, b.height);
    EXPECT_EQ(p.steps, b.steps) << b.height;
    EXPECT_EQ(p.height, b.shown) << b.height;
  }
  // A maximum of 0 (a damaged description) scales like one step instead of dividing by zero.
  EXPECT_EQ(GetStubDrawParams(0).MaxSteps, 1);
}

TEST(StubRules, MotorErrorsAsShown) {
  using L = TStubLook;
  struct Case {
    uint8_t flags;
    TMotErrView view;
  } cases[] = {
      {0x0A,
       {QStringLiteral("Read Stub Position Fail"), true, {L::Hatched, L::Hatched, L::Hatched}}},
      {0x08,
       {QStringLiteral("Read Stub Position Fail"), true, {L::Hatched, L::Hatched, L::Hatched}}},
      {0x05, {QStringLiteral("Motors Error"), true, {L::Red, L::Solid, L::Red}}},
      {0x02, {QStringLiteral("Motors Error"), true, {L::Solid, L::Red, L::Solid}}},
      {0x00, {QString(), false, {L::Solid, L::Solid, L::Solid}}},
      {0x80, {QString(), false, {L::Solid, L::Solid, L::Solid}}},  // the tune-position bit
  };
  for (const Case& c : cases) EXPECT_EQ(ShowMotErr(c.flags), c.view) << int(c.flags);
}

TEST(StubRules, ExtendedPlaneMarkerFollowsTheExtension) {
  const int x0 = 213, sym = 12, text = 60;
  struct Case {
    double ext;
    int markerX;
    bool visible;
  } cases[] = {{0.0, x0, false},     {0.0009, x0, false},       {-0.0009, x0, false},
               {-1.0, x0 - 9, true}, {1.0, x0 + sym + 5, true}, {250.0, x0 + sym + 5, true}};
  for (const Case& c : cases) {
    const TExtMarker m = PlaceExtMarker(c.ext, x0, sym, text);
    EXPECT_EQ(m.markerX, c.markerX) << c.ext;
    EXPECT_EQ(m.visible, c.visible) << c.ext;
    EXPECT_EQ(m.symbolX, c.markerX - sym) << c.ext;
    EXPECT_EQ(m.textX, c.markerX - sym - 4 - text) << c.ext;
  }
}

}  // namespace
}  // namespace qz
