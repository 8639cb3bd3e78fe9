// The run clock: UTC milliseconds that follow the monotonic counter from their start, so they
// never go back, and the program-wide one that tests replace.
#include "util/clock.h"

#include <gtest/gtest.h>

namespace qz {
namespace {

TEST(RunClock, FollowsTheCounterInWholeMilliseconds) {
  ManualClock steady(0, 5'000'000'000);
  RunClock rc(1'700'000'000'000, &steady);
  struct Step {
    int64_t advanceNs;
    int64_t want;
  } steps[] = {
      {0, 1'700'000'000'000},
      {999'999, 1'700'000'000'000},
      {1, 1'700'000'000'001},
      {2'500'000, 1'700'000'000'003},
      {86'400'000'000'000, 1'700'086'400'003},
  };
  for (const Step& s : steps) {
    steady.AdvanceNs(s.advanceNs);
    EXPECT_EQ(rc.UtcMs(), s.want) << s.advanceNs;
  }
}

TEST(RunClock, ProgramWideOneFollowsTheProgramClockAndIsReplaceable) {
  auto manual = std::make_unique<ManualClock>(0, 1'000'000);
  ManualClock& m = *manual;
  SetProgramClock(std::move(manual));
  SetProgramRunClock(std::make_unique<RunClock>(42'000));
  EXPECT_EQ(RunUtcMs(), 42'000);
  m.AdvanceMs(1500);
  EXPECT_EQ(RunUtcMs(), 43'500);
  // A replaced program clock standing earlier never takes the time back.
  SetProgramClock(std::make_unique<ManualClock>(0, 0));
  EXPECT_GE(RunUtcMs(), 42'000);
  SetProgramClock(nullptr);
  SetProgramRunClock(nullptr);
  // The system's run clock starts at the present UTC time (after 2020-01-01).
  EXPECT_GT(RunUtcMs(), 1'577'836'800'000);
}

}  // namespace
}  // namespace qz
