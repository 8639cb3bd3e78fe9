#include "core/sampling.h"

#include <algorithm>
#include <cmath>

#include "util/numutil.h"

namespace qz {

namespace {

int32_t LimitCount(double n) { return ClampLowWins(RoundToInt32(n), kSmplCountMin, kSmplCountMax); }

// The ripple frequency and period count the planner works with: a damaged record must never
// make the window undefined.
double LimitedRippleFreq(const TRectif& r) {
  return ClampLowWins(double(r.RippleFreq), double(kRippleFreqMin), double(kRippleFreqMax));
}
double LimitedPeriods(const TRectif& r) {
  return ClampLowWins(double(r.Periods), double(kPeriodsMin), double(kPeriodsMax));
}

}  // namespace

TSampleCountPlan SampleCountRule(int32_t n, double windowS, int32_t fmaxHz) {
  TSampleCountPlan p;
  const int32_t nAsked = ClampLowWins(n, kSmplCountMin, kSmplCountMax);
  // For an empty window the quotient is infinite and the conversion gives the largest value.
  const int32_t f = RoundToInt32(double(nAsked - 1) / windowS);
  if (f > fmaxHz) {
    p.Fvzork = fmaxHz;
    p.Nvzoriek = LimitCount(double(fmaxHz) * windowS + 1.0);
    p.MaxSamples = p.Nvzoriek;
    p.Code = 2;
  } else if (f < kSmplFreqMin) {
    p.Fvzork = kSmplFreqMin;
    p.Nvzoriek = LimitCount(double(kSmplFreqMin) * windowS + 1.0);
    p.MaxSamples = kSmplCountMax;
    p.Code = 1;
  } else {
    p.Fvzork = f;
    p.Nvzoriek = LimitCount(double(f) * windowS + 1.0);
    p.MaxSamples = kSmplCountMax;
    p.Code = 0;
  }
  return p;
}

double SamplingWindowS(int waveform, const TRectif& rectif, const TPulsed& pulsed) {
  switch (waveform) {
    case wfRectified:
      return LimitedPeriods(rectif) / LimitedRippleFreq(rectif);
    case wfPulsed:
      return double(std::max(pulsed.TsamplUs, kSmplTimeMinUs)) / 1e6;
    default:
      return 0.0;
  }
}

void LimitRipple(TRectif& rectif) {
  const double rf = LimitedRippleFreq(rectif);
  if (double(rectif.Periods) / rf > kRippleWindowMaxS)
    rectif.Periods = uint16_t(TruncToInt32(rf * kRippleWindowMaxS));
}

void RectifDerived(TRectif& rectif) {
  LimitRipple(rectif);
  rectif.RplPeri_us = RoundToInt32(1e6 / LimitedRippleFreq(rectif));
}

namespace {

// Rounded and limited to +-2147483647; an undefined value (0 / 0) gives 0.
int32_t RoundSymmetric(double x) {
  return int32_t(ClampLowWins(RoundToInt64(x), -int64_t(INT32_MAX), int64_t(INT32_MAX)));
}

}  // namespace

int32_t SamplingTimeUs(int32_t n, double fHz) { return RoundSymmetric(double(n - 1) / fHz * 1e6); }

int32_t SamplingStepUs(double fHz) { return RoundSymmetric(1e6 / fHz); }

int32_t RoundCountTime(int32_t tUs) { return SafeToInt32(double((int64_t(tUs) + 7) / 16 * 16)); }

namespace {

int32_t PlannedCountTime(int32_t tUs) {
  return RoundCountTime(ClampLowWins(tUs, kCountTimeMinUs, kCountTimeMaxUs));
}

}  // namespace

int PlanSampling(int waveform, int32_t fmaxHz, TRectif& rectif, TPulsed& pulsed,
                 int32_t* maxSamples) {
  TSampleCountPlan p;
  if (waveform == wfRectified) {
    rectif.RippleFreq = uint16_t(LimitedRippleFreq(rectif));
    rectif.Periods = uint16_t(LimitedPeriods(rectif));
    RectifDerived(rectif);
    p = SampleCountRule(rectif.Nvzoriek, SamplingWindowS(wfRectified, rectif, pulsed), fmaxHz);
    rectif.Fvzork = p.Fvzork;
    rectif.Nvzoriek = uint16_t(p.Nvzoriek);
    rectif.TcntUs = PlannedCountTime(rectif.TcntUs);
  } else if (waveform == wfPulsed) {
    p = SampleCountRule(pulsed.Nvzoriek, SamplingWindowS(wfPulsed, rectif, pulsed), fmaxHz);
    pulsed.Fvzork = p.Fvzork;
    pulsed.Nvzoriek = uint16_t(p.Nvzoriek);
    pulsed.TsamplUs = SamplingTimeUs(pulsed.Nvzoriek, pulsed.Fvzork);
    pulsed.TmaxMs =
        uint16_t(ClampLowWins(int32_t(pulsed.TmaxMs), kPulsPeriodMaxMsMin, kPulsPeriodMaxMsMax));
    pulsed.TcntUs = PlannedCountTime(pulsed.TcntUs);
  } else {
    if (maxSamples) *maxSamples = GetMaxSamples(waveform, fmaxHz, rectif, pulsed);
    return 0;
  }
  if (maxSamples) *maxSamples = p.MaxSamples;
  return p.Code == 0 ? 0 : waveform;
}

int32_t GetMaxSamples(int waveform, int32_t fmaxHz, const TRectif& rectif, const TPulsed& pulsed) {
  return SampleCountRule(kSmplCountMax, SamplingWindowS(waveform, rectif, pulsed), fmaxHz)
      .MaxSamples;
}

}  // namespace qz
