#include <gtest/gtest.h>

#include "util/hints.h"
#include "util/parse.h"
#include "util/random.h"

namespace qz {
namespace {

TEST(Parse, IntegersAreWholeTextAndInRange) {
  const struct {
    const char* text;
    std::optional<int32_t> v;
  } cases[] = {
      {"12", 12},    {" 12 ", 12},       {"+5", 5},   {"-5", -5},  {"2147483647", 2147483647},
      {"12abc", {}}, {"3000000000", {}}, {"1e3", {}}, {"", {}},    {"  ", {}},
      {"nan", {}},   {"0x10", {}},       {"--1", {}}, {"+-1", {}}, {"12.7", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseInt32(c.text), c.v) << c.text;
  EXPECT_EQ(ParseInt64("3000000000"), 3000000000LL);
}

TEST(Parse, DoublesRejectNanInfAndGarbage) {
  const struct {
    const char* text;
    bool comma;
    std::optional<double> v;
  } cases[] = {
      {"1.5", false, 1.5},  {"-2.5e-3", false, -0.0025},
      {" 7 ", false, 7.0},  {"1,5", true, 1.5},
      {"1,5", false, {}},   {"1,5.3", true, {}},
      {"1,5,3", true, {}},  {"nan", false, {}},
      {"inf", false, {}},   {"-inf", false, {}},
      {"1e999", false, {}}, {"0x1p3", false, {}},
      {"12abc", false, {}}, {"", false, {}},
      {"+", false, {}},     {"+.5", false, 0.5},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseDouble(c.text, c.comma), c.v) << c.text;
}

TEST(Hints, ShortBeforeFirstBarLongAfterIt) {
  EXPECT_EQ(SplitHint("Run|Start or pause the measurement").tooltip, "Run");
  EXPECT_EQ(SplitHint("Run|Start or pause the measurement").statusTip,
            "Start or pause the measurement");
  EXPECT_EQ(SplitHint("a|b|c").statusTip, "b|c");
  EXPECT_EQ(SplitHint("plain").tooltip, "plain");
  EXPECT_EQ(SplitHint("plain").statusTip, "plain");
  // Without a long hint (nothing or blanks after the bar) the hint panel shows the short one.
  EXPECT_EQ(SplitHint("Save results|").tooltip, "Save results");
  EXPECT_EQ(SplitHint("Save results|").statusTip, "Save results");
  EXPECT_EQ(SplitHint("Open new display window| ").statusTip, "Open new display window");
  EXPECT_EQ(SplitHint("|").statusTip, "");
}

class FixedRandom : public RandomSource {
 public:
  double Next() override { return 0.25; }
};

TEST(Random, UniformInUnitIntervalAndReplaceable) {
  SeededRandom r(12345);
  double lo = 1, hi = 0, sum = 0;
  for (int i = 0; i < 10000; ++i) {
    const double v = r.Next();
    ASSERT_GE(v, 0.0);
    ASSERT_LT(v, 1.0);
    lo = std::min(lo, v);
    hi = std::max(hi, v);
    sum += v;
  }
  EXPECT_LT(lo, 0.01);
  EXPECT_GT(hi, 0.99);
  EXPECT_NEAR(sum / 10000, 0.5, 0.02);

  SetRandomSource(std::make_unique<FixedRandom>());
  EXPECT_EQ(Random(), 0.25);
  SetRandomSource(nullptr);
  EXPECT_NE(Random(), 0.25);
}

}  // namespace
}  // namespace qz
