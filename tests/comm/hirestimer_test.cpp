#include <gtest/gtest.h>

#include "comm/hirestimer.h"

namespace qz {
namespace {

TEST(ElapsedMs, ModularDifferenceWithSmallNegativesKept) {
  const struct {
    uint32_t start;
    uint32_t now;
    int32_t elapsed;
  } cases[] = {
      {0, 0, 0},
      {100, 250, 150},
      {0xFFFFFFF0u, 0x10u, 32},      // the counter wrapped
      {250, 200, -50},               // start stamp slightly ahead of now
      {199, 100, -99},               // last value returned as it is
      {200, 100, 2147483647},        // -100: counts as a very long time
      {0, 0x7FFFFFFFu, 2147483647},  // largest positive difference
      {0, 0x80000000u, 2147483647},  // most negative difference
      {0x80000000u, 0x80000000u + 60000, 60000},
  };
  for (const auto& c : cases) {
    ManualClock clock(c.now);
    EXPECT_EQ(ElapsedMs(c.start, clock), c.elapsed) << c.start << " " << c.now;
  }
}

TEST(TimedOut, TrueOnlyWhenMoreThanTheLimitPassed) {
  const struct {
    uint32_t start;
    uint32_t now;
    int32_t limit;
    bool out;
  } cases[] = {
      {1000, 61000, 60000, false},  // exactly the limit
      {1000, 61001, 60000, true},
      {1000, 950, 0, false},  // -50 ms
      {1000, 900, 0, true},   // -100 ms counts as long past
      {0xFFFFFF00u, 0x100u, 511, true},
      {0xFFFFFF00u, 0x100u, 512, false},
  };
  for (const auto& c : cases) {
    ManualClock clock(c.now);
    EXPECT_EQ(TimedOut(c.start, c.limit, clock), c.out) << c.start << " " << c.now;
  }
}

TEST(THiResTimer, StoppedTimerReportsExpired) {
  ManualClock clock;
  THiResTimer t(&clock);
  EXPECT_FALSE(t.Running());
  EXPECT_TRUE(t.TimerExpired());
  EXPECT_TRUE(t.TimerExpired());
}

TEST(THiResTimer, PeriodZeroExpiresAtOnceAndStaysExpired) {
  ManualClock clock(5000, 123456789);
  THiResTimer t(&clock);
  t.StartTimer(0);
  EXPECT_TRUE(t.Running());
  EXPECT_TRUE(t.TimerExpired());
  EXPECT_FALSE(t.Running());
  EXPECT_TRUE(t.TimerExpired());
}

TEST(THiResTimer, ExpiresWhenPeriodPassedThenLatchesUntilRestarted) {
  ManualClock clock(0, 1000);
  THiResTimer t(&clock);
  t.StartTimer(10);
  EXPECT_EQ(t.Period(), 100000);  // 100 ns units
  EXPECT_FALSE(t.TimerExpired());
  clock.AdvanceNs(9999999);  // 10 ms less 1 ns
  EXPECT_FALSE(t.TimerExpired());
  EXPECT_TRUE(t.Running());
  clock.AdvanceNs(1);
  EXPECT_TRUE(t.TimerExpired());
  EXPECT_TRUE(t.TimerExpired());  // latched without time passing
  EXPECT_EQ(t.Elapsed(), 0);
  t.StartTimer(10);  // a new start runs a full period again
  EXPECT_FALSE(t.TimerExpired());
  clock.AdvanceMs(10);
  EXPECT_TRUE(t.TimerExpired());
}

TEST(THiResTimer, WithoutHighResolutionCountsTicks) {
  ManualClock clock(0xFFFFFFFEu, 0, /*highResolution=*/false);
  THiResTimer t(&clock);
  EXPECT_FALSE(t.HighResolution());
  t.StartTimer(3);
  clock.AdvanceMs(2);  // across the tick counter's wrap
  EXPECT_EQ(t.Elapsed(), 20000);
  EXPECT_FALSE(t.TimerExpired());
  clock.AdvanceMs(1);
  EXPECT_TRUE(t.TimerExpired());
}

TEST(SteadyClock, CountersAdvanceTogetherAndNeverBack) {
  SteadyClock c;
  const int64_t ns0 = c.Nanoseconds();
  const uint32_t ms0 = c.TickMs();
  int64_t last = ns0;
  for (int i = 0; i < 1000; ++i) {
    const int64_t ns = c.Nanoseconds();
    ASSERT_GE(ns, last);
    last = ns;
  }
  const int64_t dNs = c.Nanoseconds() - ns0;
  const uint32_t dMs = c.TickMs() - ms0;
  EXPECT_LE(int64_t(dMs), dNs / 1000000 + 1);
  EXPECT_TRUE(c.HasHighResolution());
  // The program-wide clock can be replaced and restored.
  auto manual = std::make_unique<ManualClock>(42);
  SetProgramClock(std::move(manual));
  EXPECT_EQ(TickCount(), 42u);
  SetProgramClock(nullptr);
  EXPECT_NE(dynamic_cast<SteadyClock*>(&ProgramClock()), nullptr);
}

}  // namespace
}  // namespace qz
