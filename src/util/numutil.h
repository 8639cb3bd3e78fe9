#pragma once
// Rounding, clamping and safe conversions shared by the whole program.
//
// Every "round" of the unit's rules is round-half-to-even on the exact double value; use
// RoundHalfEven, never std::round / qRound / lround, so that encoders, texts and the sampling
// planner agree to the last digit.

#include <cstdint>

namespace qz {

// Nearest integer value, ties to the even neighbour (0.5 -> 0, 1.5 -> 2, 2.5 -> 2, -2.5 -> -2).
// NaN and infinities are returned unchanged.
double RoundHalfEven(double x);

// Limits x to lo..hi. When the bounds cross (lo > hi) the lower bound wins, so a damaged
// setup value can never produce a result below lo. NaN gives lo.
double ClampLowWins(double x, double lo, double hi);
int64_t ClampLowWins(int64_t x, int64_t lo, int64_t hi);
int32_t ClampLowWins(int32_t x, int32_t lo, int32_t hi);

// Conversion of a double (already rounded or truncated by the caller) to an integer type
// without undefined behaviour: NaN gives 0, values beyond the range give the range ends.
int32_t SafeToInt32(double x);
int64_t SafeToInt64(double x);
uint32_t SafeToUInt32(double x);

// RoundHalfEven followed by SafeToInt32 / SafeToInt64.
int32_t RoundToInt32(double x);
int64_t RoundToInt64(double x);

// Truncation toward zero (the "trunc" of the unit's rules) with the same safety.
int32_t TruncToInt32(double x);

}  // namespace qz
