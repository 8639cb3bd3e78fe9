#pragma once
// The sampling planner: from the operator's wishes (sample count, sampling window) and the unit's
// fastest sampling, it fixes what the unit is actually told to do for the rectified and pulsed
// waveforms. The sampling dialog, the sample-count command and the command layer share these
// helpers so that they all agree to the last sample.

#include <cstdint>

#include "core/records.h"

namespace qz {

// Limits of the unit's sampling.
inline constexpr int32_t kSmplCountMin = 21;
inline constexpr int32_t kSmplCountMax = 4095;
inline constexpr int32_t kSmplFreqMin = 10;          // Hz
inline constexpr uint16_t kRippleFreqMin = 1;        // Hz
inline constexpr uint16_t kRippleFreqMax = 10000;    // Hz
inline constexpr uint16_t kPeriodsMin = 1;           // line periods sampled
inline constexpr uint16_t kPeriodsMax = 1000;        //
inline constexpr double kRippleWindowMaxS = 10.0;    // a rectified window never exceeds this
inline constexpr int32_t kCountTimeMinUs = 16;       // frequency counting time
inline constexpr int32_t kCountTimeMaxUs = 1000000;  //
inline constexpr int32_t kSmplTimeMinUs = 10;        // pulsed sampling window
inline constexpr int32_t kSmplTimeMaxUs = 10000000;  //
inline constexpr uint16_t kPulsPeriodMaxMsMin = 1;   // longest expected time between pulses
inline constexpr uint16_t kPulsPeriodMaxMsMax = 10000;

// What the sample-count rule decided.
struct TSampleCountPlan {
  int32_t Fvzork = 0;                  // sampling frequency, Hz
  int32_t Nvzoriek = 0;                // sample count
  int32_t MaxSamples = kSmplCountMax;  // the largest count the window allows
  // 0 as asked; 1 the frequency was raised to its minimum; 2 the count was cut because the unit
  // cannot sample faster.
  int Code = 0;
};

// The sample-count rule: n requested samples spread over a window of windowS seconds, with the
// unit sampling at most fmaxHz.
TSampleCountPlan SampleCountRule(int32_t n, double windowS, int32_t fmaxHz);

// The sampling window (s) of a waveform: rectified Periods / RippleFreq, pulsed TsamplUs / 1e6
// with TsamplUs at least 10, CW 0.
double SamplingWindowS(int waveform, const TRectif& rectif, const TPulsed& pulsed);

// Keeps a rectified window within 10 s by cutting the number of line periods.
void LimitRipple(TRectif& rectif);
// The derived values of the rectified waveform: the window limit and the ripple period (µs).
void RectifDerived(TRectif& rectif);

// round((n - 1) / f * 1e6), limited to the 32-bit range (0 for an undefined quotient).
int32_t SamplingTimeUs(int32_t n, double fHz);
// round(1e6 / f), limited to the 32-bit range.
int32_t SamplingStepUs(double fHz);
// The unit counts in steps of 16 µs: the nearest multiple, halves going down.
int32_t RoundCountTime(int32_t tUs);

// Plans the sampling of a waveform (1 rectified, 2 pulsed) and writes the result into its record.
// Returns 0 when the sample-count rule kept the request, otherwise the waveform number; maxSamples
// (when given) receives the largest allowed sample count. CW has nothing to plan: 0.
int PlanSampling(int waveform, int32_t fmaxHz, TRectif& rectif, TPulsed& pulsed,
                 int32_t* maxSamples = nullptr);

// The largest sample count the waveform's present window allows (21 for CW).
int32_t GetMaxSamples(int waveform, int32_t fmaxHz, const TRectif& rectif, const TPulsed& pulsed);

}  // namespace qz
