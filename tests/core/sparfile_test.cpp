// The S-parameter file reader: its grammar, the exact messages and what it loads, and the
// token helpers the list readers share.
#include "core/sparfile.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/texttokens.h"

namespace qz {
namespace {

constexpr double kTol = 1e-12;

const char* const kHelp = "Consult Help for correct file structure.";

QString CountMsg(int line, int header, int data, const QString& shown) {
  return QStringLiteral(
             "Conflict between column count obtained from header and data count in Line %1:\r\n"
             "   Header count = %2\r\n   Data count = %3\r\n   Line = %4\r\n"
             "May be due to incorrect file structure or incorrect decimal separator.\r\n"
             "  - Decimal separator must be POINT not comma for file analysis.\r\n"
             "  - Consult Help for correct file structure.\r\n\r\nRecord analysis aborted.")
      .arg(line)
      .arg(header)
      .arg(data)
      .arg(shown);
}

QString HeaderMsg(int line, const QString& shown) {
  return QStringLiteral(
             "Incorrect or insufficient header in Line %1:\r\n    %2\r\n\r\n%3\r\n\r\n"
             "Procedure aborted.")
      .arg(line)
      .arg(shown)
      .arg(QLatin1String(kHelp));
}

const QString kNoValid = QStringLiteral(
    "No valid data found or END statement missing.\r\nConsult Help for correct "
    "file structure.");

void ExpectC(const complex& z, double re, double im, double tol = kTol) {
  EXPECT_NEAR(z.re, re, tol);
  EXPECT_NEAR(z.im, im, tol);
}

TEST(SparFile, FullRectangularFileLoadsWithInfoMessage) {
  const QStringList lines = {
      QStringLiteral("! adapter measured on the bench"),
      QStringLiteral("*MADE = 45123.5"),
      QStringLiteral("  * info = WR340 adapter ; second run"),
      QStringLiteral("# GHz\tS11_RE S11_IM S21_RE S21_IM S12_RE S12_IM S22_RE S22_IM"),
      QStringLiteral("2.40 0.1 0.2 0.9 -0.1 0.8 0.05 0.03 -0.04"),
      QStringLiteral(""),
      QStringLiteral("\t2.50  0.11 0.21 0.91 -0.11 0.81 0.06 0.04 -0.05  ! trailing note"),
      QStringLiteral("End of data"),
  };
  const TSparFileResult r = ParseSparLines(lines);
  ASSERT_TRUE(r.valid);
  EXPECT_FALSE(r.isError);
  EXPECT_EQ(r.info, QStringLiteral("WR340 adapter"));
  EXPECT_EQ(r.message, QStringLiteral("Loaded File:\n\rWR340 adapter"));
  ASSERT_EQ(r.freqs.size(), 2u);
  ASSERT_EQ(r.matrices.size(), 2u);
  EXPECT_DOUBLE_EQ(r.freqs[0], 2.4e9);
  EXPECT_DOUBLE_EQ(r.freqs[1], 2.5e9);
  const TSmatrix& m = r.matrices[0];
  ExpectC(m.s11, 0.1, 0.2);
  ExpectC(m.s21, 0.9, -0.1);
  ExpectC(m.s12, 0.8, 0.05);
  ExpectC(m.s22, 0.03, -0.04);
  ExpectC(r.matrices[1].s22, 0.04, -0.05);
}

TEST(SparFile, UnitsScaleTheFrequency) {
  const struct {
    const char* unit;
    double hz;
  } cases[] = {{"HZ", 7.0}, {"khz", 7e3}, {"MHz", 7e6}, {"GHZ", 7e9}};
  for (const auto& c : cases) {
    const TSparFileResult r = ParseSparLines(
        {QStringLiteral("# %1 S11.RE S11.IM S21.RE S21.IM S22.RE S22.IM").arg(c.unit),
         QStringLiteral("7 0 0 1 0 0 0"), QStringLiteral("END")});
    ASSERT_TRUE(r.valid) << c.unit;
    EXPECT_DOUBLE_EQ(r.freqs[0], c.hz) << c.unit;
  }
}

// Characters 2-3 of a column token give the parameter, character 4 is free, 5.. the form; forms
// pair as real/imaginary or magnitude-type/phase-type in either order.
TEST(SparFile, HeaderGrammarAndForms) {
  const double halfDb = 20.0 * std::log10(0.5);
  const QStringList lines = {
      QStringLiteral("# MHZ s11-deg x11/MAG S22:RAD Q22 LOG A21_SWR z21.DEG"),
      QStringLiteral("100 90 0.5 %1 %2 3 -90").arg(M_PI, 0, 'g', 17).arg(halfDb, 0, 'g', 17),
      QStringLiteral("END")};
  // "Q22 LOG" is two tokens, neither recognised: S22 would lack its magnitude.
  const TSparFileResult bad = ParseSparLines(lines);
  EXPECT_FALSE(bad.valid);
  EXPECT_EQ(bad.message, HeaderMsg(0, lines[0]));

  const TSparFileResult r = ParseSparLines(
      {QStringLiteral("# MHZ s11-deg x11/MAG S22:RAD Q22_LOG A21_SWR z21.DEG"),
       QStringLiteral("100 90 0.5 %1 %2 3 -90").arg(M_PI, 0, 'g', 17).arg(halfDb, 0, 'g', 17),
       QStringLiteral("END")});
  ASSERT_TRUE(r.valid) << r.message.toStdString();
  const TSmatrix& m = r.matrices[0];
  ExpectC(m.s11, 0.0, 0.5);   // 0.5 at 90 degrees
  ExpectC(m.s22, -0.5, 0.0);  // 0.5 (-6.02 dB) at pi radians
  ExpectC(m.s21, 0.0, -0.5);  // VSWR 3 is 0.5, at -90 degrees
  EXPECT_EQ(m.s12, m.s21);    // missing S12 from S21
}

TEST(SparFile, SwrBelowOneCountsAsMatched) {
  const TSparFileResult r =
      ParseSparLines({QStringLiteral("# HZ S11_SWR S11_DEG S12_RE S12_IM S22_MAG S22_DEG"),
                      QStringLiteral("1 0.5 45 0.7 0.1 0.2 0"), QStringLiteral("END")});
  ASSERT_TRUE(r.valid);
  ExpectC(r.matrices[0].s11, 0.0, 0.0);
  ExpectC(r.matrices[0].s21, 0.7, 0.1);  // missing S21 from S12
  ExpectC(r.matrices[0].s12, 0.7, 0.1);
}

// A later column of a parameter replaces its second one; the replaced column still counts.
TEST(SparFile, LaterColumnReplacesTheSecond) {
  const TSparFileResult r =
      ParseSparLines({QStringLiteral("# HZ S11.RE S11.DEG S11.IM S21.RE S21.IM S22.RE S22.IM"),
                      QStringLiteral("5 0.1 999 0.2 1 0 0.3 0.4"), QStringLiteral("END")});
  ASSERT_TRUE(r.valid) << r.message.toStdString();
  ExpectC(r.matrices[0].s11, 0.1, 0.2);

  const QString h = QStringLiteral("# HZ S11.RE S11.IM S11.MAG S21.RE S21.IM S22.RE S22.IM");
  const TSparFileResult bad = ParseSparLines({h, QStringLiteral("END")});
  EXPECT_EQ(bad.message, HeaderMsg(0, h));
}

TEST(SparFile, HeaderRejections) {
  const char* const headers[] = {
      "#",                                                    // no unit
      "# THZ S11.RE S11.IM S21.RE S21.IM S22.RE S22.IM",      // unknown unit
      "# HZ S11.RE S11.IM S21.RE S21.IM S22.RE S22.IM junk",  // last token not recognised
      "# HZ S11.RE S11.IM S22.RE S22.IM",                     // neither S12 nor S21
      "# HZ S11.RE S11.IM S21.RE S21.IM S22.RE",              // S22 incomplete
      "# HZ S11.RE S11.RE S21.RE S21.IM S22.RE S22.IM",       // two real parts
      "# HZ S11.MAG S11.LOG S21.RE S21.IM S22.RE S22.IM",     // two magnitudes
      "# HZ S13.RE S13.IM S21.RE S21.IM S22.RE S22.IM",       // no S11
      "# HZ S11RE S11.IM S21.RE S21.IM S22.RE S22.IM",        // form must start at char 5
  };
  for (const char* h : headers) {
    const QStringList lines = {QStringLiteral("! file"), QString::fromLatin1(h),
                               QStringLiteral("1 0 0 1 0 0 0"), QStringLiteral("END")};
    const TSparFileResult r = ParseSparLines(lines);
    EXPECT_FALSE(r.valid) << h;
    EXPECT_TRUE(r.isError) << h;
    EXPECT_EQ(r.message, HeaderMsg(1, QString::fromLatin1(h))) << h;
    EXPECT_TRUE(r.freqs.empty()) << h;
  }
}

TEST(SparFile, OnlyS11AndS22FailsUntilS21IsAdded) {
  const QStringList only = {QStringLiteral("!"),
                            QStringLiteral("#\tMHZ\tS11_RE\tS11_IM\tS22_RE\tS22_IM"),
                            QStringLiteral("1 0 0 0 0"), QStringLiteral("END")};
  const TSparFileResult bad = ParseSparLines(only);
  // The line is the trimmed one, tabs shown as blanks.
  EXPECT_EQ(bad.message,
            QStringLiteral("Incorrect or insufficient header in Line 1:\r\n"
                           "    # MHZ S11_RE S11_IM S22_RE S22_IM\r\n\r\n"
                           "Consult Help for correct file structure.\r\n\r\nProcedure aborted."));

  const TSparFileResult ok =
      ParseSparLines({QStringLiteral("# MHZ S11_RE S11_IM S22_RE S22_IM S21_LOG S21_DEG"),
                      QStringLiteral("1 0.1 0 0 0.1 -20 180"), QStringLiteral("END")});
  ASSERT_TRUE(ok.valid);
  ExpectC(ok.matrices[0].s21, -0.1, 0.0);
  EXPECT_EQ(ok.matrices[0].s12, ok.matrices[0].s21);
}

TEST(SparFile, RecordCountErrors) {
  const QString h = QStringLiteral("# GHZ S11_RE S11_IM S21_RE S21_IM S22_RE S22_IM");
  const struct {
    QStringList lines;
    int line, header, data;
  } cases[] = {
      // Comma decimals stop at the first comma-number.
      {{h, QStringLiteral("2,45\t0,1 0,2 1 0 0 0"), QStringLiteral("END")}, 1, 7, 0},
      {{h, QStringLiteral("2.45 0.1 0,2 1 0 0 0"), QStringLiteral("END")}, 1, 7, 2},
      {{h, QStringLiteral("2.45 0.1 0.2 1 0 0 0 0"), QStringLiteral("END")}, 1, 7, 8},
      {{h, QStringLiteral("! c"), QStringLiteral("2.4 0 0 1 0 0 0"), QStringLiteral("2.45 0.1")},
       3,
       7,
       2},
      // A record before any header has no columns to match.
      {{QStringLiteral("2.45"), h, QStringLiteral("2.45 0 0 1 0 0 0"), QStringLiteral("END")},
       0,
       0,
       1},
      {{QStringLiteral("nan inf"), QStringLiteral("END")}, 0, 0, 0},
  };
  for (const auto& c : cases) {
    const TSparFileResult r = ParseSparLines(c.lines);
    EXPECT_FALSE(r.valid);
    EXPECT_TRUE(r.isError);
    EXPECT_TRUE(r.freqs.empty());
    const QString shown = TrimBlanks(c.lines[c.line]).replace(QLatin1Char('\t'), QLatin1Char(' '));
    EXPECT_EQ(r.message, CountMsg(c.line, c.header, c.data, shown)) << c.line;
  }
}

TEST(SparFile, BlockCommentClosesOnlyOnALaterLine) {
  const QString h = QStringLiteral("# HZ S11.RE S11.IM S21.RE S21.IM S22.RE S22.IM");
  const TSparFileResult r = ParseSparLines({
      QStringLiteral("{ comment opened and } not closed here"),
      QStringLiteral("this is no record"),
      QStringLiteral("# also ignored"),
      QStringLiteral("END still ignored"),
      QStringLiteral("text } closes"),
      h,
      QStringLiteral("1 0.5 0 1 0 0 0"),
      QStringLiteral("  { second"),
      QStringLiteral("}"),
      QStringLiteral("END"),
  });
  ASSERT_TRUE(r.valid) << r.message.toStdString();
  ASSERT_EQ(r.freqs.size(), 1u);
  ExpectC(r.matrices[0].s11, 0.5, 0.0);

  // A comment never closed swallows the rest.
  const TSparFileResult open = ParseSparLines(
      {h, QStringLiteral("1 0 0 1 0 0 0"), QStringLiteral("{"), QStringLiteral("END")});
  EXPECT_FALSE(open.valid);
  EXPECT_EQ(open.message, kNoValid);
}

TEST(SparFile, EndAndRecordCounting) {
  const QString h = QStringLiteral("# HZ S11.RE S11.IM S21.RE S21.IM S22.RE S22.IM");
  const QString rec = QStringLiteral("1 0 0 1 0 0 0");
  const struct {
    QStringList lines;
    bool valid;
    int records;
  } cases[] = {
      {{h, rec}, false, 0},                                     // no END
      {{h, QStringLiteral("END")}, false, 0},                   // END without records
      {{h, rec, QStringLiteral("end")}, true, 1},               // any case
      {{h, rec, QStringLiteral("END"), h}, false, 0},           // a header after END resets it
      {{h, rec, QStringLiteral("END"), rec}, true, 2},          // lines after END are still read
      {{h, rec, rec, h, rec, QStringLiteral("END")}, true, 1},  // a second header restarts
      {{h, rec, QStringLiteral("END"), QStringLiteral("END")}, true, 1},
  };
  int i = 0;
  for (const auto& c : cases) {
    const TSparFileResult r = ParseSparLines(c.lines);
    EXPECT_EQ(r.valid, c.valid) << i;
    EXPECT_EQ(r.message, c.valid ? QStringLiteral("Loaded File:\n\r") : kNoValid) << i;
    EXPECT_EQ(int(r.freqs.size()), c.records) << i;
    EXPECT_EQ(r.freqs.size(), r.matrices.size()) << i;
    ++i;
  }
}

TEST(SparFile, SecondHeaderNeverMixesLayouts) {
  const TSparFileResult r = ParseSparLines({
      QStringLiteral("# HZ S11.RE S11.IM S21.RE S21.IM S22.RE S22.IM"),
      QStringLiteral("1 0.1 0 1 0 0 0"),
      QStringLiteral("2 0.1 0 1 0 0 0"),
      QStringLiteral("# KHZ S11.MAG S11.DEG S12.MAG S12.DEG S22.MAG S22.DEG"),
      QStringLiteral("3 0.5 0 1 0 0 0"),
      QStringLiteral("END"),
  });
  ASSERT_TRUE(r.valid);
  ASSERT_EQ(r.freqs.size(), 1u);
  EXPECT_DOUBLE_EQ(r.freqs[0], 3000.0);
  ExpectC(r.matrices[0].s11, 0.5, 0.0);
}

TEST(SparFile, FewerThanTwoLines) {
  for (int n : {0, 1}) {
    QStringList lines;
    if (n == 1) lines << QStringLiteral("# HZ S11.RE S11.IM S21.RE S21.IM S22.RE S22.IM");
    const TSparFileResult r = ParseSparLines(lines);
    EXPECT_FALSE(r.valid);
    EXPECT_EQ(r.message, QStringLiteral("Less than 2 lines in source file: Nlines=%1\r\n"
                                        "Consult Help for correct file structure.\r\n\r\n"
                                        "Input file analysis aborted.")
                             .arg(n));
  }
}

TEST(TextTokens, LinesTokensAndNumbers) {
  EXPECT_EQ(SplitTextLines(QByteArray("a\r\nb\nc")), QStringList({"a", "b", "c"}));
  EXPECT_EQ(SplitTextLines(QByteArray("a\r\n\r\n")), QStringList({"a", ""}));
  EXPECT_TRUE(SplitTextLines(QByteArray()).isEmpty());
  // Latin-1 bytes that are not UTF-8.
  EXPECT_EQ(SplitTextLines(QByteArray("\xb5m\n")), QStringList({QString(QChar(0xB5)) + "m"}));
  EXPECT_EQ(SplitTextLines(QByteArray("\xc2\xb5m")), QStringList({QString(QChar(0xB5)) + "m"}));

  EXPECT_EQ(SplitTokens(QStringLiteral(" \ta  b\t\tc ")), QStringList({"a", "b", "c"}));
  EXPECT_EQ(TrimBlanks(QStringLiteral("\t x y \r")), QStringLiteral("x y"));

  const struct {
    const char* text;
    std::vector<double> nums;
  } cases[] = {
      {"1.5 -2e3\t+.5 x 7", {1.5, -2000.0, 0.5}},
      {"1,5 2", {}},
      {"  ", {}},
      {"3 nan 4", {3.0}},
      {"1e999 2", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(ScanNumbers(QString::fromLatin1(c.text)), c.nums) << c.text;

  const TKeywordLine k = SplitKeywordLine(QStringLiteral("* Info = some text ; comment"));
  EXPECT_EQ(k.key, QStringLiteral("INFO"));
  EXPECT_EQ(k.value, QStringLiteral("some text"));
  EXPECT_TRUE(SplitKeywordLine(QStringLiteral("*INFO")).key.isEmpty());
}

}  // namespace
}  // namespace qz
