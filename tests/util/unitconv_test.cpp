#include "util/unitconv.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace qz {
namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

TEST(UnitConv, DecibelConversionsAndTheirFloors) {
  struct Case {
    const char* what;
    double got;
    double want;
  } cases[] = {
      {"AmplToDb(10)", AmplToDb(10.0), 20.0},
      {"AmplToDb(1e-8) floor", AmplToDb(1e-8), -160.0},
      {"AmplToDb(0)", AmplToDb(0.0), -160.0},
      {"AmplToDb(-1)", AmplToDb(-1.0), -160.0},
      {"DbToAmpl(20)", DbToAmpl(20.0), 10.0},
      {"DbToAmpl(-6.0206)", DbToAmpl(-20.0 * std::log10(2.0)), 0.5},
      {"PowRatioToDb(100)", PowRatioToDb(100.0), 20.0},
      {"PowRatioToDb(1e-16) floor", PowRatioToDb(1e-16), -160.0},
      {"PowRatioToDb(-3)", PowRatioToDb(-3.0), -160.0},
      {"WattToDbm(1)", WattToDbm(1.0), 30.0},
      {"WattToDbm(1 mW)", WattToDbm(0.001), 0.0},
      {"WattToDbm(0)", WattToDbm(0.0), -160.0},
      {"Pow10(2)", Pow10(2.0), 100.0},
      {"Pow10(-1)", Pow10(-1.0), 0.1},
      {"CelsiusToFahrenheit(100)", CelsiusToFahrenheit(100.0), 212.0},
      {"CelsiusToFahrenheit(-40)", CelsiusToFahrenheit(-40.0), -40.0},
      {"DaysToSeconds(1.5)", DaysToSeconds(1.5), 129600.0},
      {"FreqCountToHz", FreqCountToHz(245000000), 2450000000.0},
      {"FreqCountToHz negative", FreqCountToHz(-3), -30.0},
  };
  for (const Case& c : cases)
    EXPECT_NEAR(c.got, c.want, 1e-12 * std::max(1.0, std::fabs(c.want))) << c.what;
}

TEST(UnitConv, SwrAndRhoKeepTheBandAroundTotalReflection) {
  struct Case {
    double m;
    double swr;
  } cases[] = {
      {0.0, 1.0},         {0.5, 3.0}, {1.0, 9999.999}, {0.9999, 9999.999},
      {1.0001, 9999.999}, {3.0, 2.0}, {0.99, 199.0},
  };
  for (const Case& c : cases) EXPECT_NEAR(RhoToSwr(c.m), c.swr, 1e-9) << "m = " << c.m;

  struct Back {
    double s;
    double rho;
  } back[] = {{0.5, 0.0}, {kNaN, 0.0}, {1.0, 0.0}, {3.0, 0.5}, {-2.0, 0.0}, {kInf, 1.0}};
  for (const Back& b : back) EXPECT_DOUBLE_EQ(SwrToRho(b.s), b.rho) << "s = " << b.s;
}

TEST(UnitConv, GuideWavelengthIsMinusOneAtOrBelowCutOff) {
  EXPECT_EQ(GuideWavelength(2e9, 2e9), -1.0);
  EXPECT_EQ(GuideWavelength(3e9, 2e9), -1.0);
  EXPECT_DOUBLE_EQ(GuideWavelength(0.0, 299792458.0), 1.0);
  EXPECT_DOUBLE_EQ(GuideWavelength(3.0, 5.0), 299792458.0 / 4.0);
}

TEST(UnitConv, HzToFreqCountRoundsTiesToEvenAndClamps) {
  struct Case {
    double hz;
    int32_t count;
  } cases[] = {
      {25.0, 2},
      {35.0, 4},
      {15.0, 2},
      {-25.0, -2},
      {24.0, 2},
      {26.0, 3},
      {2450e6, 245000000},
      {1e12, 2147483647},
      {-1e12, -2147483647},
      {kInf, 2147483647},
      {-kInf, -2147483647},
      {kNaN, 0},
      {0.0, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(HzToFreqCount(c.hz), c.count) << "hz = " << c.hz;
}

TEST(UnitConv, RoundSignificant) {
  struct Case {
    int digits;
    double zeroLimit;
    double x;
    double want;
  } cases[] = {
      {3, 0.0, 1234.5678, 1230.0}, {3, 0.0, -1234.5678, -1230.0},
      {3, 0.0, 0.0123456, 0.0123}, {3, 0.0, 999.6, 1000.0},
      {2, 0.0, 1000.0, 1000.0},    {1, 0.0, 25.0, 20.0},  // tie to even
      {1, 0.0, 35.0, 40.0},        {3, 0.01, 0.005, 0.0},
      {3, -0.01, 0.01, 0.0},  // |x| <= |zeroLimit|
      {3, 0.0, 0.0, 0.0},
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(RoundSignificant(c.digits, c.zeroLimit, c.x), c.want, 1e-12)
        << c.digits << " digits of " << c.x;
  }
}

TEST(UnitConv, RoundSignificantOfNonFiniteAndExtremeValuesStaysDefined) {
  EXPECT_TRUE(std::isnan(RoundSignificant(3, 0.0, kNaN)));
  EXPECT_EQ(RoundSignificant(3, 0.0, kInf), kInf);
  EXPECT_EQ(RoundSignificant(3, 0.0, -kInf), -kInf);
  const double tiny = std::numeric_limits<double>::denorm_min();
  EXPECT_TRUE(std::isfinite(RoundSignificant(3, 0.0, tiny)));
  EXPECT_TRUE(std::isfinite(RoundSignificant(400, 0.0, 1e300)));
  EXPECT_NEAR(RoundSignificant(3, 0.0, 1.23456e300), 1.23e300, 1e288);
}

TEST(UnitConv, ClipMagnitudeKeepsThePhase) {
  struct Case {
    complex z;
    double limit;
    complex want;
  } cases[] = {
      {{0.6, 0.8}, 0.5, {0.3, 0.4}},
      {{0.6, 0.8}, -0.5, {0.3, 0.4}},
      {{0.6, 0.8}, 2.0, {0.6 * 0.99995, 0.8 * 0.99995}},
      {{0.6, 0.8}, kNaN, {0.6 * 0.99995, 0.8 * 0.99995}},
      {{0.3, 0.4}, 0.9, {0.3, 0.4}},
      {{0.3, 0.4}, 0.5, {0.3, 0.4}},
      {{-2.0, 0.0}, 0.5, {-0.5, 0.0}},
  };
  for (const Case& c : cases) {
    const complex r = ClipMagnitude(c.z, c.limit);
    EXPECT_NEAR(r.re, c.want.re, 1e-12) << c.z.re << "," << c.z.im << " limit " << c.limit;
    EXPECT_NEAR(r.im, c.want.im, 1e-12) << c.z.re << "," << c.z.im << " limit " << c.limit;
  }
}

TEST(UnitConv, MinMaxIndexTiesKeepTheLowestIndexAndBadRangesReadNothing) {
  const TArrD v = {3, 1, 4, 1, 5, 9, 2, 6};
  struct Case {
    const char* what;
    TArrD values;
    int first, last;
    int maxIndex;
    double maxValue;
    int minIndex;
    double minValue;
  } cases[] = {
      {"whole range", v, 0, 7, 5, 9, 1, 1},
      {"inner range", v, 2, 4, 4, 5, 3, 1},
      {"first raised, last lowered", v, -3, 100, 5, 9, 1, 1},
      {"single element", v, 6, 6, 6, 2, 6, 2},
      {"first after last", v, 5, 2, 5, 9, 5, 9},
      {"ties of the largest", {7, 7, 7}, 0, 2, 0, 7, 0, 7},
      {"empty array", {}, 0, 5, -1, 0, -1, 0},
      {"first past the end", v, 8, 9, -1, 0, -1, 0},
      {"first far past the end", v, 1000, 2000, -1, 0, -1, 0},
  };
  for (const Case& c : cases) {
    const TMinMax r = MinMaxIndex(c.values, c.first, c.last);
    EXPECT_EQ(r.maxIndex, c.maxIndex) << c.what;
    EXPECT_EQ(r.maxValue, c.maxValue) << c.what;
    EXPECT_EQ(r.minIndex, c.minIndex) << c.what;
    EXPECT_EQ(r.minValue, c.minValue) << c.what;
  }
  const TMinMax whole = MinMaxIndex(v);
  EXPECT_EQ(whole.maxIndex, 5);
  EXPECT_EQ(whole.minIndex, 1);
  EXPECT_EQ(MinMaxIndex(TArrD{}).maxIndex, -1);
}

}  // namespace
}  // namespace qz
