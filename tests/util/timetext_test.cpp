#include "util/timetext.h"

#include <gtest/gtest.h>

#include <limits>

namespace qz {
namespace {

TEST(TimeText, MicrosToTextChoosesTheUnitAndRoundsToSignificantDigits) {
  struct Case {
    int32_t t;
    int digits;
    QChar sep;
    const char* value;
    int unitIndex;
    const char* unit;
  } cases[] = {
      {1234, 3, '.', "1.23", 1, "ms"},
      {999, 3, '.', "999", 0, "us"},
      {1000, 3, '.', "1", 1, "ms"},
      {999999, 3, '.', "1000", 1, "ms"},  // rounding may reach 1000 in the smaller unit
      {1500000, 3, '.', "1.5", 2, "s"},
      {-1234, 3, '.', "-1.23", 1, "ms"},
      {1234, 3, ',', "1,23", 1, "ms"},
      {0, 3, '.', "0", 0, "us"},
      {1234, 0, '.', "1", 1, "ms"},            // digits raised to 1
      {1234567, 20, '.', "1.234567", 2, "s"},  // digits lowered to 16
      {std::numeric_limits<int32_t>::min(), 3, '.', "-2150", 2, "s"},
  };
  for (const Case& c : cases) {
    const TMicrosText r = MicrosToText(c.t, c.digits, c.sep);
    EXPECT_EQ(r.value, QString::fromLatin1(c.value)) << c.t;
    EXPECT_EQ(r.unitIndex, c.unitIndex) << c.t;
    EXPECT_EQ(r.unit, QString::fromLatin1(c.unit)) << c.t;
  }
}

TEST(TimeText, MicrosToUnitTextJoinsWithOneBlank) {
  EXPECT_EQ(MicrosToUnitText(1234, 3), QStringLiteral("1.23 ms"));
  EXPECT_EQ(MicrosToUnitText(250, 3), QStringLiteral("250 us"));
  EXPECT_EQ(MicrosToUnitText(2500000, 3, ','), QStringLiteral("2,5 s"));
}

TEST(TimeText, MicrosDigitsToTextIsExact) {
  struct Case {
    int32_t t;
    const char* text;
  } cases[] = {
      {1500, "1.5 ms"},
      {2000000, "2 s"},
      {999, "999 us"},
      {0, "0 us"},
      {1000, "1 ms"},
      {123456, "123.456 ms"},
      {100000, "100 ms"},
      {1000001, "1.000001 s"},
      {2147483647, "2147.483647 s"},
      {1234560, "1.23456 s"},
      {-1500, "-1.5 ms"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MicrosDigitsToText(c.t), QString::fromLatin1(c.text)) << c.t;
}

}  // namespace
}  // namespace qz
