#include <gtest/gtest.h>

#include "util/format.h"

namespace qz {
namespace {

struct FormatCase {
  const char* pattern;
  std::vector<FormatArg> args;
  const char* point;  // with '.' as separator
  const char* comma;  // with ',' as separator
};

QString FormatCaseText(const FormatCase& c, QChar sep) {
  // Format takes an initializer list; feed the arguments one by one through a small switch.
  switch (c.args.size()) {
    case 0:
      return Format(c.pattern, {}, sep);
    case 1:
      return Format(c.pattern, {c.args[0]}, sep);
    case 2:
      return Format(c.pattern, {c.args[0], c.args[1]}, sep);
    default:
      return Format(c.pattern, {c.args[0], c.args[1], c.args[2]}, sep);
  }
}

TEST(Format, EveryFormWithPointAndComma) {
  const FormatCase cases[] = {
      // integers: precision is the minimum digit count, "%.d" of 0 still prints 0
      {"%d", {42}, "42", "42"},
      {"%d", {-7}, "-7", "-7"},
      {"%2.2d", {8}, "08", "08"},
      {"%4.4d", {2026}, "2026", "2026"},
      {"%.2d", {5}, "05", "05"},
      {"%.d", {0}, "0", "0"},
      {"%3.3d=%s", {7, "x"}, "007=x", "007=x"},
      {"%.3d", {-5}, "-005", "-005"},
      {"%5d|", {42}, "   42|", "   42|"},
      {"%-5d|", {42}, "42   |", "42   |"},
      {"%u", {3000000000LL}, "3000000000", "3000000000"},
      {"%x", {255}, "FF", "FF"},
      {"%.4x", {255}, "00FF", "00FF"},
      {"%d", {2.9}, "2", "2"},
      // texts
      {"%s", {"abc"}, "abc", "abc"},
      {"%.2s", {"abc"}, "ab", "ab"},
      {"%5s|", {"ab"}, "   ab|", "   ab|"},
      {"%s (%s)", {"a", "b"}, "a (b)", "a (b)"},
      // fixed: 2 decimals when none is given, ties of the exact value to even
      {"%f", {1.5}, "1.50", "1,50"},
      {"%.3f", {2.0}, "2.000", "2,000"},
      {"%7.2f", {-160.0}, "-160.00", "-160,00"},
      {"%7.2f", {3.14159}, "   3.14", "   3,14"},
      {"%0.0f", {2.5}, "2", "2"},
      {"%0.0f", {3.5}, "4", "4"},
      {"%.2f", {0.125}, "0.12", "0,12"},
      {"%.2f", {0.375}, "0.38", "0,38"},
      {"%.2f", {1.005}, "1.00", "1,00"},  // 1.005 is stored as 1.00499999...
      {"%.1f", {-0.04}, "0.0", "0,0"},    // never "-0.0"
      {"%f", {-0.0}, "0.00", "0,00"},
      {"%.2f", {7}, "7.00", "7,00"},
      {"%0.2f mm", {12.345678}, "12.35 mm", "12,35 mm"},
      // exponent: precision counts significant digits, at least three exponent digits
      {"%1.5e", {1234.5}, "1.2345E+003", "1,2345E+003"},
      {"%1.5e", {0.0}, "0.0000E+000", "0,0000E+000"},
      {"%1.5e", {-1.23456e-4}, "-1.2346E-004", "-1,2346E-004"},
      {"%1.3e", {1e300}, "1.00E+300", "1,00E+300"},
      {"%e", {1.0}, "1.00000000000000E+000", "1,00000000000000E+000"},
      {"%1.1e", {7.0}, "7E+000", "7E+000"},
      // general: fixed while the digits before the point fit and the value is >= 0.00001
      {"%g", {0.5}, "0.5", "0,5"},
      {"%.5g", {123.456}, "123.46", "123,46"},
      {"%.5g", {123456.0}, "1.2346E5", "1,2346E5"},
      {"%.5g", {0.00001}, "0.00001", "0,00001"},
      {"%.5g", {0.000001}, "1E-6", "1E-6"},
      {"%.5g", {99999.5}, "1E5", "1E5"},
      {"%g", {1e20}, "1E20", "1E20"},
      {"%g", {100.0}, "100", "100"},
      {"%g", {-2.5}, "-2.5", "-2,5"},
      {"%g", {-0.0}, "0", "0"},
      {"%s%.5g%s", {"x", 0.5, "\t"}, "x0.5\t", "x0,5\t"},
      // the pattern itself
      {"100%%", {}, "100%", "100%"},
      {"%d %d", {1}, "1 ", "1 "},  // a missing argument prints nothing
      {"a%qb", {1}, "a%qb", "a%qb"},
      {"tail%5", {1}, "tail%5", "tail%5"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatCaseText(c, QChar('.')), QString::fromUtf8(c.point)) << c.pattern;
    EXPECT_EQ(FormatCaseText(c, QChar(',')), QString::fromUtf8(c.comma)) << c.pattern << " (comma)";
  }
}

TEST(Format, NonFiniteValuesNeverCrash) {
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(Format("%f", {std::numeric_limits<double>::quiet_NaN()}), "NAN");
  EXPECT_EQ(Format("%1.5e", {inf}), "INF");
  EXPECT_EQ(Format("%g", {-inf}), "-INF");
  EXPECT_EQ(Format("%d", {inf}), "9223372036854775807");
}

TEST(Format, ShortestGeneralText) {
  const struct {
    double x;
    const char* text;
  } cases[] = {
      {0.1, "0.1"},       {1.0 / 3.0, "0.333333333333333"},
      {1234.5, "1234.5"}, {123456789012345.0, "123456789012345"},
      {1e15, "1E15"},     {2.5e-7, "2.5E-7"},
      {-0.001, "-0.001"}, {0.0, "0"},
  };
  for (const auto& c : cases) EXPECT_EQ(FloatToText(c.x), c.text) << c.x;
}

TEST(Format, SignificantDigitsRoundsHalfEvenOnExactValue) {
  int e = 0;
  EXPECT_EQ(SignificantDigits(1234.5, 4, &e), "1234");  // exact tie: even
  EXPECT_EQ(e, 3);
  EXPECT_EQ(SignificantDigits(1235.5, 4, &e), "1236");
  EXPECT_EQ(SignificantDigits(0.000999, 2, &e), "10");  // rounds up into the next decade
  EXPECT_EQ(e, -3);
}

}  // namespace
}  // namespace qz
