#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "util/numutil.h"

namespace qz {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(RoundHalfEven, TiesGoToTheEvenNeighbour) {
  const struct {
    double x, r;
  } cases[] = {
      {0.5, 0.0},
      {1.5, 2.0},
      {2.5, 2.0},
      {-2.5, -2.0},
      {-1.5, -2.0},
      {-0.5, 0.0},
      {2.4999, 2.0},
      {2.5001, 3.0},
      {0.49999999999999994, 0.0},
      {1e300, 1e300},
      {4503599627370497.0, 4503599627370497.0},
      {-7.0, -7.0},
  };
  for (const auto& c : cases) EXPECT_EQ(RoundHalfEven(c.x), c.r) << c.x;
  EXPECT_TRUE(std::isnan(RoundHalfEven(kNaN)));
  EXPECT_EQ(RoundHalfEven(kInf), kInf);
}

TEST(ClampLowWins, LowerBoundWinsWhenBoundsCross) {
  EXPECT_EQ(ClampLowWins(5.0, 0.0, 10.0), 5.0);
  EXPECT_EQ(ClampLowWins(-1.0, 0.0, 10.0), 0.0);
  EXPECT_EQ(ClampLowWins(11.0, 0.0, 10.0), 10.0);
  EXPECT_EQ(ClampLowWins(5.0, 10.0, 0.0), 10.0);
  EXPECT_EQ(ClampLowWins(kNaN, 1.0, 10.0), 1.0);
  EXPECT_EQ(ClampLowWins(int32_t(5), int32_t(10), int32_t(0)), 10);
  EXPECT_EQ(ClampLowWins(int64_t(-3), int64_t(0), int64_t(9)), 0);
}

TEST(SafeConversions, NoUndefinedIntegerConversion) {
  EXPECT_EQ(SafeToInt32(kNaN), 0);
  EXPECT_EQ(SafeToInt32(kInf), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(SafeToInt32(-kInf), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(SafeToInt32(3e9), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(SafeToInt32(-3.7), -3);
  EXPECT_EQ(SafeToInt64(1e30), std::numeric_limits<int64_t>::max());
  EXPECT_EQ(SafeToUInt32(-1.0), 0u);
  EXPECT_EQ(SafeToUInt32(5e9), 4294967295u);
  EXPECT_EQ(RoundToInt32(2.5), 2);
  EXPECT_EQ(RoundToInt32(-3.5), -4);
  EXPECT_EQ(TruncToInt32(-3.9), -3);
}

}  // namespace
}  // namespace qz
