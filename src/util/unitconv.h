#pragma once
// Conversions between physical units: decibels, standing-wave ratio, temperatures, guide
// wavelength, day counts and the integer frequency count carried in frames.

#include <cstdint>

#include "util/arrays.h"
#include "util/complex.h"

namespace qz {

// A frequency count is a signed 32-bit number of steps of this size.
inline constexpr double FreqStepHz = 10.0;

// Decibel values that stand for "nothing" (a zero or negative amplitude or power).
inline constexpr double kDbFloor = -160.0;
// The VSWR shown for a reflection magnitude within 1e-4 of 1.
inline constexpr double kSwrOfTotalReflection = 9999.999;
// The largest reflection magnitude ClipMagnitude lets through.
inline constexpr double kMaxRhoMagnitude = 0.99995;

double Pow10(double x);
// 20*log10(x); -160 for x <= 1e-8.
double AmplToDb(double x);
double DbToAmpl(double x);
// 10*log10(x); -160 for x <= 1e-16.
double PowRatioToDb(double x);
double WattToDbm(double x);
// (1+m)/(1-m); the mirrored form above 1; 9999.999 for |m - 1| <= 1e-4.
double RhoToSwr(double m);
// VSWR to reflection magnitude; a VSWR below 1 (or NaN) counts as 1.
double SwrToRho(double s);
double CelsiusToFahrenheit(double c);
// Wavelength in the guide in metres for cut-off fc and frequency f (Hz); -1 at or below
// cut-off.
double GuideWavelength(double fc, double f);
// A difference of two day-counting date-time values in seconds.
double DaysToSeconds(double d);

double FreqCountToHz(int32_t n);
// x/10 limited to +-2147483647 and rounded half to even; NaN gives 0.
int32_t HzToFreqCount(double x);

// x rounded to `digits` significant digits (ties to even); 0 when |x| <= |zeroLimit|.
// Non-finite x is returned unchanged, as is x when the scale would leave the double range.
double RoundSignificant(int digits, double zeroLimit, double x);

// z limited to the magnitude min(|limit|, 0.99995), phase kept; a NaN limit counts as 0.99995.
complex ClipMagnitude(const complex& z, double limit);

// Position and value of the largest and the smallest element of a range.
struct TMinMax {
  int maxIndex = -1;
  double maxValue = 0.0;
  int minIndex = -1;
  double minValue = 0.0;
};

// Scans first..last (first raised to 0, last lowered to the last index). Ties keep the lowest
// index. An empty array or a first past the end gives indexes -1 and values 0.
TMinMax MinMaxIndex(const TArrD& values, int first, int last);
// The whole array.
TMinMax MinMaxIndex(const TArrD& values);

}  // namespace qz
