// The byte forms of the Format engine's number fields must give exactly the UTF-8 bytes of the
// engine's own fields: the data log builds its records with them.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "util/format.h"
#include "util/formatbytes.h"

namespace qz {
namespace {

const double kInf = std::numeric_limits<double>::infinity();
const double kNan = std::numeric_limits<double>::quiet_NaN();

// Values where a fast path could go wrong: ties of the last decimal, negative zero and values
// that round to zero, carries into a new digit or exponent, the extremes and the non-finite.
const double kEdgeValues[] = {0.0,      -0.0,      0.5,
                              -0.5,     0.0005,    0.0015,
                              0.00049,  -0.00049,  2.5,
                              0.125,    0.375,     -12.25,
                              9.99995,  99999.95,  1234.5,
                              0.012345, 9.99999e9, 1e-300,
                              -1e-300,  5e-324,    1.7976931348623157e308,
                              -2450.0,  1e21,      123456789012345678.0,
                              45.5,     kInf,      -kInf,
                              kNan};

TEST(FormatBytes, FieldsAreTheEnginesFields) {
  const QChar seps[] = {QChar('.'), QChar(','), QChar(0x00B7)};  // a two-byte one too
  for (const QChar sep : seps) {
    for (const double x : kEdgeValues) {
      SCOPED_TRACE(::testing::Message() << x << " sep " << int(sep.unicode()));
      for (int dec : {0, 1, 3, 4, 5}) {
        QByteArray out("x");  // appends, never replaces
        out.remove(0, 1);
        AppendFixed(out, x, dec, TDecSepBytes(sep));
        EXPECT_EQ(QString::fromUtf8(out), FormatFixed(x, dec, sep)) << "decimals " << dec;
      }
      for (int digits : {1, 2, 5, 15}) {
        QByteArray out;
        AppendExp(out, x, digits, 3, TDecSepBytes(sep));
        EXPECT_EQ(QString::fromUtf8(out), FormatExp(x, digits, 3, sep)) << "digits " << digits;
      }
    }
  }
}

TEST(FormatBytes, RandomValuesMatchTheEngine) {
  std::mt19937_64 rng(20261209);
  std::uniform_real_distribution<double> mant(-10.0, 10.0);
  std::uniform_int_distribution<int> exp10(-12, 12);
  std::uniform_int_distribution<int64_t> ints(std::numeric_limits<int64_t>::min(),
                                              std::numeric_limits<int64_t>::max());
  const TDecSepBytes comma(QChar(','));
  for (int i = 0; i < 20000; ++i) {
    const double x = mant(rng) * std::pow(10.0, exp10(rng));
    QByteArray f, e;
    AppendFixed(f, x, 3, comma);
    AppendExp(e, x, 5, 3, comma);
    ASSERT_EQ(QString::fromUtf8(f), Format(QStringLiteral("%1.3f"), {x}, QChar(','))) << x;
    ASSERT_EQ(QString::fromUtf8(e), Format(QStringLiteral("%1.5e"), {x}, QChar(','))) << x;
    const int64_t n = ints(rng) >> (i % 60);
    QByteArray d;
    AppendInt(d, n);
    ASSERT_EQ(QString::fromUtf8(d), Format(QStringLiteral("%d"), {n})) << n;
  }
}

// Exact binary fractions give exact ties at many decimals (0.125 at two, 1.0625 at three ...),
// and the largest values of the short path sit next to those of the general one.
TEST(FormatBytes, TiesAndRangeEndsMatchTheEngine) {
  const TDecSepBytes point;
  for (int decimals = 0; decimals <= 9; ++decimals) {
    for (int k = 1; k <= 12; ++k) {
      for (int n = -300; n <= 300; ++n) {
        const double x = std::ldexp(double(n), -k) + (n % 7) * 1000.0;
        QByteArray out;
        AppendFixed(out, x, decimals, point);
        ASSERT_EQ(QString::fromUtf8(out), FormatFixed(x, decimals)) << x << " " << decimals;
      }
    }
    const double edge = 4503599627370496.0 / std::pow(10.0, decimals);
    for (double x : {edge, std::nextafter(edge, 0.0), std::nextafter(edge, 1e300), -edge,
                     edge / 2 + 0.5, 0.49999999999999994, 1.4999999999999998}) {
      QByteArray out;
      AppendFixed(out, x, decimals, point);
      EXPECT_EQ(QString::fromUtf8(out), FormatFixed(x, decimals)) << x << " " << decimals;
    }
  }
}

// Exponent fields next to powers of ten, where the first digit's place changes or a rounding
// carries into it (9.99995 with five digits is 1.0000E+001), and at exact ties.
TEST(FormatBytes, ExponentFieldsAroundPowersOfTen) {
  const TDecSepBytes comma(QChar(','));
  for (int p10 = -25; p10 <= 25; ++p10) {
    const double power = std::pow(10.0, p10);
    for (const double x :
         {power, std::nextafter(power, 0.0), std::nextafter(power, 1e300), 9.99995 * power,
          9.99994999 * power, 1.00005 * power, 1.25 * power, -3.14159265 * power}) {
      for (int digits : {1, 2, 5, 15}) {
        QByteArray out;
        AppendExp(out, x, digits, 3, comma);
        ASSERT_EQ(QString::fromUtf8(out), FormatExp(x, digits, 3, QChar(',')))
            << x << " digits " << digits;
      }
    }
  }
  for (int n = 1; n < 4000; ++n) {  // n / 64: ties at four and five digits
    const double x = n / 64.0;
    QByteArray out;
    AppendExp(out, x, 4, 3, comma);
    ASSERT_EQ(QString::fromUtf8(out), FormatExp(x, 4, 3, QChar(','))) << x;
  }
}

// The forms the log's columns use, checked against the written rules of the columns.
TEST(FormatBytes, ColumnForms) {
  const TDecSepBytes point, comma(QChar(','));
  struct Case {
    double x;
    int kind;  // 0: %1.3f, 1: %1.5e
    const TDecSepBytes& sep;
    const char* text;
  };
  const Case cases[] = {
      {2450.0, 0, comma, "2450,000"}, {1.2345, 1, point, "1.2345E+000"},
      {-0.0004, 0, point, "0.000"},   {0.0625, 1, comma, "6,2500E-002"},
      {0.0, 1, point, "0.0000E+000"}, {-1e-300, 1, point, "-1.0000E-300"},
      {12.3456, 0, point, "12.346"},  {0.0005, 0, point, "0.001"},  // 0.0005 lies above
      {0.0015, 0, point, "0.002"},    {kNan, 1, point, "NAN"},
      {-kInf, 0, comma, "-INF"},
  };
  for (const Case& c : cases) {
    QByteArray out;
    if (c.kind == 0)
      AppendFixed(out, c.x, 3, c.sep);
    else
      AppendExp(out, c.x, 5, 3, c.sep);
    EXPECT_EQ(out, QByteArray(c.text)) << c.x;
  }
}

}  // namespace
}  // namespace qz
