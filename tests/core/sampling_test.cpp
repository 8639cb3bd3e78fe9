#include "core/sampling.h"

#include <gtest/gtest.h>

#include <climits>

namespace qz {
namespace {

constexpr int32_t kFmax = 200000;  // the unit's default fastest sampling

TEST(SampleCountRule, DecidesFrequencyCountAndCode) {
  struct Case {
    const char* name;
    int32_t n;
    double windowS;
    int32_t fmax;
    int32_t f, nOut, maxN;
    int code;
  };
  const Case cases[] = {
      // 4094 intervals in 1 ms would need 4.094 MHz: the unit's 200 kHz fits 201 samples.
      {"pulsed 1 ms asks too much", 4095, 0.001, kFmax, 200000, 201, 201, 2},
      // An empty window (CW) needs an infinite rate; the count falls to its minimum.
      {"empty window", 4095, 0.0, kFmax, 200000, 21, 21, 2},
      {"rectified default", 201, 0.02, kFmax, 10000, 201, 4095, 0},
      // 20 intervals in 10 s is 2 Hz: raised to 10 Hz, which fills the window with 101.
      {"too slow raised to 10 Hz", 21, 10.0, kFmax, 10, 101, 4095, 1},
      {"count below 21 is raised", 5, 0.02, kFmax, 1000, 21, 4095, 0},
      {"count above 4095 is cut", 5000, 1.0, kFmax, 4094, 4095, 4095, 0},
      // 21 intervals in 2 s = 10.5 Hz rounds to the even 10, which gives 21 samples.
      {"frequency ties go to even (down)", 22, 2.0, kFmax, 10, 21, 4095, 0},
      {"frequency ties go to even (up)", 24, 2.0, kFmax, 12, 25, 4095, 0},
      {"exactly the fastest rate is allowed", 201, 0.001, kFmax, 200000, 201, 4095, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TSampleCountPlan p = SampleCountRule(c.n, c.windowS, c.fmax);
    EXPECT_EQ(p.Fvzork, c.f);
    EXPECT_EQ(p.Nvzoriek, c.nOut);
    EXPECT_EQ(p.MaxSamples, c.maxN);
    EXPECT_EQ(p.Code, c.code);
  }
}

TEST(SamplingPlanner, PulsedWindowOfOneMillisecondAtTheUnitsLimit) {
  TRectif r;
  TPulsed p;
  p.TsamplUs = 1000;
  p.Nvzoriek = 4095;
  int32_t maxN = -1;
  EXPECT_EQ(PlanSampling(wfPulsed, kFmax, r, p, &maxN), 2);
  EXPECT_EQ(p.Fvzork, 200000);
  EXPECT_EQ(p.Nvzoriek, 201);
  EXPECT_EQ(p.TsamplUs, 1000);  // 200 intervals at 5 µs
  EXPECT_EQ(maxN, 201);
}

TEST(SamplingPlanner, ReturnCodeIsTheWaveformWheneverTheRuleChangedSomething) {
  struct Case {
    const char* name;
    int waveform;
    uint16_t ripple, periods, nRect;
    int32_t tsampl;
    uint16_t nPuls;
    int expected;
  };
  const Case cases[] = {
      {"rectified as asked", wfRectified, 50, 1, 201, 1000, 201, 0},
      {"rectified too fast", wfRectified, 10000, 1, 4095, 1000, 201, 1},
      {"rectified too slow", wfRectified, 1, 1000, 21, 1000, 201, 1},
      {"pulsed as asked", wfPulsed, 50, 1, 201, 1000, 201, 0},
      {"pulsed too fast", wfPulsed, 50, 1, 201, 1000, 4095, 2},
      // 20 intervals in 10 s: the rule raises the rate (its code 1), the planner says pulsed.
      {"pulsed too slow", wfPulsed, 50, 1, 201, 10000000, 21, 2},
      {"CW has nothing to plan", wfCW, 50, 1, 201, 1000, 4095, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TRectif r;
    r.RippleFreq = c.ripple;
    r.Periods = c.periods;
    r.Nvzoriek = c.nRect;
    TPulsed p;
    p.TsamplUs = c.tsampl;
    p.Nvzoriek = c.nPuls;
    EXPECT_EQ(PlanSampling(c.waveform, kFmax, r, p), c.expected);
  }
}

TEST(SamplingPlanner, RectifiedPlanLimitsTheWindowAndDerivesTheRipplePeriod) {
  TRectif r;
  TPulsed p;
  r.RippleFreq = 1;
  r.Periods = 1000;  // 1000 s: cut to the 10 s limit
  r.Nvzoriek = 21;
  EXPECT_EQ(PlanSampling(wfRectified, kFmax, r, p), 1);
  EXPECT_EQ(r.Periods, 10);
  EXPECT_EQ(r.RplPeri_us, 1000000);
  EXPECT_EQ(r.Fvzork, 10);
  EXPECT_EQ(r.Nvzoriek, 101);

  TRectif d;  // defaults: 1 period of 50 Hz, 201 samples
  EXPECT_EQ(PlanSampling(wfRectified, kFmax, d, p), 0);
  EXPECT_EQ(d.Fvzork, 10000);
  EXPECT_EQ(d.Nvzoriek, 201);
  EXPECT_EQ(d.RplPeri_us, 20000);
  EXPECT_EQ(d.TcntUs, 2992);
}

TEST(SamplingPlanner, DamagedRectifiedRecordIsLimitedNotDividedByZero) {
  TRectif r;
  TPulsed p;
  r.RippleFreq = 0;
  r.Periods = 0;
  r.Nvzoriek = 0;
  r.TcntUs = 0;
  PlanSampling(wfRectified, kFmax, r, p);
  EXPECT_EQ(r.RippleFreq, 1);
  EXPECT_EQ(r.Periods, 1);
  EXPECT_EQ(r.RplPeri_us, 1000000);
  EXPECT_EQ(r.Fvzork, 20);  // 20 intervals in 1 s
  EXPECT_EQ(r.Nvzoriek, 21);
  EXPECT_EQ(r.TcntUs, 16);
}

TEST(SamplingPlanner, CountTimeAndPulsePeriodAreLimitedAndRounded) {
  struct Case {
    int32_t tcnt;
    uint16_t tmax;
    int32_t tcntOut;
    uint16_t tmaxOut;
  };
  const Case cases[] = {
      {0, 0, 16, 1},
      {24, 100, 16, 100},  // 24 is half way between 16 and 32: goes down
      {25, 100, 32, 100},
      {30, 100, 32, 100},
      {2992, 10000, 2992, 10000},
      {2000000, 60000, 1000000, 10000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tcnt);
    TRectif r;
    TPulsed p;
    p.TcntUs = c.tcnt;
    p.TmaxMs = c.tmax;
    r.TcntUs = c.tcnt;
    PlanSampling(wfPulsed, kFmax, r, p);
    EXPECT_EQ(p.TcntUs, c.tcntOut);
    EXPECT_EQ(p.TmaxMs, c.tmaxOut);
    PlanSampling(wfRectified, kFmax, r, p);
    EXPECT_EQ(r.TcntUs, c.tcntOut);
  }
}

TEST(SamplingHelpers, RoundCountTimeToMultiplesOf16) {
  const std::pair<int32_t, int32_t> cases[] = {{0, 0},   {8, 0},       {9, 16},
                                               {16, 16}, {23, 16},     {24, 16},
                                               {25, 32}, {2992, 2992}, {1000000, 1000000}};
  for (const auto& [t, expected] : cases) {
    SCOPED_TRACE(t);
    EXPECT_EQ(RoundCountTime(t), expected);
  }
}

TEST(SamplingHelpers, SamplingTimeAndStepAreRoundedHalfEvenAndLimited) {
  EXPECT_EQ(SamplingTimeUs(201, 200000), 1000);
  EXPECT_EQ(SamplingTimeUs(21, 10), 2000000);
  EXPECT_EQ(SamplingTimeUs(21, 0), INT32_MAX);
  EXPECT_EQ(SamplingTimeUs(1, 0), 0);
  EXPECT_EQ(SamplingStepUs(400000), 2);  // 2.5 goes to the even 2
  EXPECT_EQ(SamplingStepUs(0.1), 10000000);
  EXPECT_EQ(SamplingStepUs(0), INT32_MAX);
  EXPECT_EQ(SamplingStepUs(-1e-6), -INT32_MAX);
}

TEST(SamplingHelpers, LimitRippleKeepsTheWindowWithinTenSeconds) {
  struct Case {
    uint16_t ripple, periods, expected;
  };
  const Case cases[] = {{50, 1, 1}, {50, 500, 500}, {50, 501, 500}, {1, 1000, 10}, {3, 100, 30}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.periods);
    TRectif r;
    r.RippleFreq = c.ripple;
    r.Periods = c.periods;
    LimitRipple(r);
    EXPECT_EQ(r.Periods, c.expected);
  }
}

TEST(SamplingHelpers, GetMaxSamplesFollowsTheWaveformsWindow) {
  TRectif r;  // 1 period at 50 Hz: 20 ms, 4001 samples at 200 kHz
  TPulsed p;  // 1000 µs: 201 samples at 200 kHz
  EXPECT_EQ(GetMaxSamples(wfCW, kFmax, r, p), 21);
  EXPECT_EQ(GetMaxSamples(wfRectified, kFmax, r, p), 4001);
  EXPECT_EQ(GetMaxSamples(wfPulsed, kFmax, r, p), 201);
  p.TsamplUs = 100000;  // long enough for the full count
  EXPECT_EQ(GetMaxSamples(wfPulsed, kFmax, r, p), 4095);
}

}  // namespace
}  // namespace qz
