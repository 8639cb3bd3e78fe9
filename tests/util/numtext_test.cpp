#include "util/numtext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "util/unitconv.h"

namespace qz {
namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();

QString L(const char* s) { return QString::fromLatin1(s); }

TEST(NumText, FrequencyTexts) {
  struct Count {
    int32_t n;
    bool blank;
    const char* text;
  } counts[] = {
      {245000000, true, "2.45 GHz"},
      {91500000, true, "915 MHz"},
      {0, true, "0 Hz"},
      {245000000, false, "2.45GHz"},
      {100, true, "1 kHz"},
      {1, true, "10 Hz"},
      {99, true, "990 Hz"},
      {-100, true, "-1 kHz"},  // the sign is no digit
      {std::numeric_limits<int32_t>::min(), true, "-21.47483648 GHz"},
  };
  for (const Count& c : counts) EXPECT_EQ(FreqCountToText(c.n, c.blank), L(c.text)) << c.n;

  struct Hz {
    int64_t hz;
    const char* text;
  } hzs[] = {
      {12345, "12.345 kHz"},
      {999, "999 Hz"},
      {1000, "1 kHz"},
      {1000000000, "1 GHz"},
      {1234567, "1.234567 MHz"},
      {2450000000LL, "2.45 GHz"},
      {100000, "100 kHz"},
      {0, "0 Hz"},
      {10, "10 Hz"},
      {123456789012LL, "123.456789012 GHz"},
  };
  for (const Hz& c : hzs) EXPECT_EQ(HzToText(c.hz, true), L(c.text)) << c.hz;

  const TNumberUnit t = HzDigitsToText(QStringLiteral("12345"));
  EXPECT_EQ(t.number, QStringLiteral("12.345"));
  EXPECT_EQ(t.unit, QStringLiteral("kHz"));
}

TEST(NumText, HzToMHzTextHasThreeDecimalsAndAPoint) {
  EXPECT_EQ(HzToMHzText(2450e6), QStringLiteral("2450.000"));
  EXPECT_EQ(HzToMHzText(915.5e6), QStringLiteral("915.500"));
  EXPECT_EQ(HzToMHzText(1234.0), QStringLiteral("0.001"));
  EXPECT_EQ(HzToMHzText(kNaN), QStringLiteral("NAN"));
  EXPECT_EQ(HzToMHzText(std::numeric_limits<double>::infinity()), QStringLiteral("INF"));
}

TEST(NumText, NumberTextSwitchesFormsAtTheFixedRangeLimits) {
  struct Case {
    int digits;
    double x;
    const char* text;
  } cases[] = {
      {3, 0.5, "0.5"},
      {3, 1234.5678, "1234.568"},
      {3, 2.0, "2"},
      {3, 12345.678, "1.235E+4"},
      {3, -0.05, "-5E-2"},
      {3, 9999.9996, "1E+4"},
      {3, 0.0995, "9.95E-2"},
      {3, 0.0996, "0.1"},
      {3, 0.0, "0"},
      {3, -1234.5678, "-1234.568"},
      {3, 9999.9994, "9999.999"},
      {3, 1e20, "1E+20"},
      {3, 1.5e-7, "1.5E-7"},
      {5, 3.14159265, "3.14159"},
      {5, 0.001, "1E-3"},
      {5, 123456.0, "1.23456E+5"},
  };
  for (const Case& c : cases) EXPECT_EQ(NumberText(c.digits, c.x), L(c.text)) << c.x;
  EXPECT_EQ(NumberText3(1234.5678), QStringLiteral("1234.568"));
  EXPECT_EQ(NumberText5(1234.5678), QStringLiteral("1234.5678"));
}

TEST(NumText, FullNumberText) {
  struct Case {
    double x;
    const char* text;
  } cases[] = {
      {2.5, "2.5E+0"},
      {1234.5, "1.2345E+3"},
      {0.0, "0"},
      {-0.001, "-1E-3"},
      {1.0 / 3.0, "3.33333333333333E-1"},
      {1e-300, "1E-300"},
  };
  for (const Case& c : cases) EXPECT_EQ(FullNumberText(c.x), L(c.text)) << c.x;
}

TEST(NumText, TidyNumberText) {
  struct Case {
    const char* raw;
    int minExp;
    bool leadZero;
    const char* text;
  } cases[] = {
      {" -000.000E+0000", 0, true, "0"},
      {"007", 0, true, "7"},
      {"1.500E-0003", 0, true, "1.5E-3"},
      {"1.500E-0003", 1, true, "1.5E-3"},
      {"1.500E-0003", 2, true, "1.5E-03"},
      {"2E+0000", 1, true, "2E+0"},
      {"1E+0", 3, true, "1E+000"},
      {"1E+5", 9, true, "1E+0005"},  // never more than four exponent digits of padding
      {".5", 0, false, ".5"},
      {".5", 0, true, "0.5"},
      {"000.250", 0, false, ".25"},
      {"", 0, true, "0"},
      {"abc", 0, true, "0"},
      {"1.5e+3", 0, true, "1.5E+3"},
      {"x12.50y", 0, true, "12.5"},
      {"1.2E", 0, true, "1.2"},  // an empty exponent counts as none
      {"1.2E+", 0, true, "1.2"},
      {"+3.10", 0, true, "+3.1"},
      {"-0.0", 0, true, "0"},
      {"5E7", 0, true, "5E7"},
      {"  12.0  ", 0, true, "12"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TidyNumberText(L(c.raw), c.minExp, c.leadZero), L(c.text))
        << "'" << c.raw << "' " << c.minExp;
  }
}

TEST(NumText, MetresToText) {
  struct Case {
    double x;
    const char* text;
  } cases[] = {
      {0.5, "500 mm"}, {12.3456, "12.346 m"}, {1500.0, "1.5 km"}, {0.001234, "1.234 mm"},
      {-2.0, "-2 m"},  {0.0, "0 mm"},         {999.9, "999.9 m"},
  };
  for (const Case& c : cases) EXPECT_EQ(MetresToText(c.x), L(c.text)) << c.x;
}

TEST(NumText, DecibelAndSwrTextsTakeTheSeparator) {
  struct Case {
    const char* what;
    QString got;
    const char* text;
  } cases[] = {
      {"ratio 100", PowerRatioToDbText(100.0), "  20.00"},
      {"ratio 1e16", PowerRatioToDbText(1e16), "+oo"},
      {"ratio -1e17", PowerRatioToDbText(-1e17), "+oo"},
      {"ratio 1e-16", PowerRatioToDbText(1e-16), "-oo"},
      {"ratio 0", PowerRatioToDbText(0.0), "-oo"},
      {"ratio -5", PowerRatioToDbText(-5.0), "-160.00"},
      {"ratio 0.5 comma", PowerRatioToDbText(0.5, ','), "  -3,01"},
      {"dB -160", DbToText(-160.0), "-oo"},
      {"dB -170", DbToText(-170.0), "-oo"},
      {"dB -159.999", DbToText(-159.999), "-160.00"},
      {"dB pi", DbToText(3.14159), "   3.14"},
      {"dB pi comma", DbToText(3.14159, ','), "   3,14"},
      {"dB wide", DbToText(12345.678), "12345.68"},
      {"swr 1.5", SwrToText(1.5), "   1.50"},
      {"swr 9998.99", SwrToText(9998.99), "9998.99"},
      {"swr 9999", SwrToText(9999.0), "+oo"},
      {"swr of rho 1", SwrToText(RhoToSwr(1.0)), "+oo"},
      {"swr comma", SwrToText(2.25, ','), "   2,25"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.got, L(c.text)) << c.what;
}

TEST(NumText, BinaryTexts) {
  struct Word {
    uint32_t v;
    const char* text;
  } words[] = {
      {0, "00000000"},           {5, "00000101"},   {4660, "0001001000110100"},
      {256, "0000000100000000"}, {255, "11111111"}, {65535, "1111111111111111"},
  };
  for (const Word& w : words) {
    EXPECT_EQ(WordToBinText(uint16_t(w.v)), L(w.text)) << w.v;
    EXPECT_EQ(LongToBinText(w.v), L(w.text)) << w.v;
  }
  EXPECT_EQ(LongToBinText(0x10000u), QStringLiteral("000000010000000000000000"));
  EXPECT_EQ(LongToBinText(0xFFFFFFFFu), QString(32, QLatin1Char('1')));

  struct Byte {
    QString text;
    int value;
    int error;
  } bytes[] = {
      {QStringLiteral("1 0 1"), 5, 0},
      {QStringLiteral("102"), '2', 1},  // the stopping character's code
      {QStringLiteral("1x1"), 'x', 1},
      {QStringLiteral("111111111"), 0, 3},
      {QStringLiteral(""), 0, 2},
      {QStringLiteral("   "), 0, 2},
      {QStringLiteral("11111111"), 255, 0},
      {QStringLiteral("0"), 0, 0},
      {QStringLiteral("1000 0000"), 128, 0},
      {QString(QChar(0x142)) + QStringLiteral("1"), 0x42, 1},  // low 8 bits of the code
  };
  for (const Byte& b : bytes) {
    const TBinByte r = BinTextToByte(b.text);
    EXPECT_EQ(int(r.value), b.value) << b.text.toStdString();
    EXPECT_EQ(r.error, b.error) << b.text.toStdString();
  }
}

TEST(NumText, SParTableText) {
  const QString header0 =
      QStringLiteral("f_MHz\tS11.re\tS11.im\tS12.re\tS12.im\tS21.re\tS21.im\tS22.re\tS22.im\r\n");
  EXPECT_EQ(SParTableText({}, {}, 0, 0), header0);
  EXPECT_EQ(SParTableText({}, {}, 0, 1),
            QStringLiteral("f_MHz\tS11.mg\tS11.rad\tS12.mg\tS12.rad\tS21.mg\tS21.rad\tS22.mg\t"
                           "S22.rad\r\n"));

  const TArrD f = {2450e6};
  const std::vector<TSmatrix> m = {{{0.5, -0.25}, {0.0, 1.0}, {1.0, 0.0}, {0.0, 0.0}}};
  EXPECT_EQ(SParTableText(f, m, 0, 0),
            header0 + QStringLiteral("2450.00\t0.5000\t-0.2500\t0.0000\t1.0000\t1.0000\t0.0000\t"
                                     "0.0000\t0.0000\r\n"));
  // |0.5 - j0.25| = 0.55902, phase -26.565 degrees.
  EXPECT_EQ(SParTableText(f, m, 0, 2, ','),
            QStringLiteral("f_MHz\tS11.mg\tS11.deg\tS12.mg\tS12.deg\tS21.mg\tS21.deg\tS22.mg\t"
                           "S22.deg\r\n2450,00\t0,5590\t-26,57\t1,0000\t90,00\t1,0000\t0,00\t"
                           "0,0000\t0,00\r\n"));
  EXPECT_TRUE(SParTableText(f, m, 0, 1)
                  .endsWith(QStringLiteral(
                      "2450.00\t0.5590\t-0.464\t1.0000\t1.571\t1.0000\t0.000\t0.0000\t0.000\r\n")));
  // Stored as magnitude and degrees, written as rectangular parts.
  const std::vector<TSmatrix> polar = {{{1.0, 90.0}, {1.0, 180.0}, {2.0, 0.0}, {0.5, -90.0}}};
  EXPECT_EQ(SParTableText({915e6}, polar, 2, 0),
            header0 + QStringLiteral("915.00\t0.0000\t1.0000\t-1.0000\t0.0000\t2.0000\t0.0000\t"
                                     "0.0000\t-0.5000\r\n"));
  // A frequency without its matrix gets no line.
  EXPECT_EQ(SParTableText({915e6, 2450e6}, polar, 2, 0).count(QStringLiteral("\r\n")), 2);
}

TEST(NumText, ComplexMeanDev) {
  struct Case {
    const char* what;
    TArrC values;
    int storedFmt, outFmt;
    complex mean;
    double dev;
    bool failed;
  } cases[] = {
      {"two real values", {{1, 0}, {3, 0}}, 0, 0, {2, 0}, std::sqrt(2.0), false},
      {"empty list", {}, 0, 0, {0, 0}, 0.0, true},
      {"single value", {{0.3, -0.4}}, 0, 0, {0.3, -0.4}, 0.0, false},
      {"imaginary spread", {{0, 1}, {0, 3}, {0, 5}}, 0, 0, {0, 3}, 2.0, false},
      {"stored in degrees", {{1, 90}, {1, -90}}, 2, 0, {0, 0}, std::sqrt(2.0), false},
      {"mean in degrees", {{0, 1}, {0, 3}}, 0, 2, {2, 90}, std::sqrt(2.0), false},
  };
  for (const Case& c : cases) {
    const TMeanDev r = ComplexMeanDev(c.values, c.storedFmt, c.outFmt);
    EXPECT_NEAR(r.mean.re, c.mean.re, 1e-12) << c.what;
    EXPECT_NEAR(r.mean.im, c.mean.im, 1e-12) << c.what;
    EXPECT_NEAR(r.dev, c.dev, 1e-12) << c.what;
    EXPECT_EQ(r.failed, c.failed) << c.what;
  }
}

}  // namespace
}  // namespace qz
