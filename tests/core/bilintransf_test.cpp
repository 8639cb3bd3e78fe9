// The bilinear transform: the two-port formula against an independent reference, its inverse,
// the coefficient interpolation, the enable/active rules, loading with its result and
// the table text.
#include "core/bilintransf.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <complex>
#include <limits>
#include <random>

#include "common/readerrig.h"
#include "core/frameenc.h"
#include "util/folders.h"

namespace qz {
namespace {

using cd = std::complex<double>;
cd Std(const complex& z) { return {z.re, z.im}; }

// A transform with one table entry per matrix, as a successful load leaves it.
TBilinTransf Loaded(const TArrD& f, const std::vector<TSmatrix>& m) {
  TBilinTransf bt;
  bt.FSLoaded = true;
  bt.SToBilinAll(f, m);
  return bt;
}

TEST(BilinTransf, CreationAndCoefficients) {
  const TBilinTransf bt;
  EXPECT_EQ(bt.Path, QStringLiteral("Spar.txt"));
  EXPECT_FALSE(bt.FEnabled);
  EXPECT_FALSE(bt.GetActive());

  const TSmatrix s{{0.1, 0.2}, {0.7, -0.1}, {0.6, 0.3}, {-0.2, 0.05}};
  const TBilinCoefs k = SToBilin(s);
  const cd a = Std(s.s12) * Std(s.s21) - Std(s.s11) * Std(s.s22);
  EXPECT_NEAR(k.a.re, a.real(), 1e-15);
  EXPECT_NEAR(k.a.im, a.imag(), 1e-15);
  EXPECT_EQ(k.b, s.s11);
  EXPECT_EQ(k.c, complex(0.2, -0.05));
}

TEST(BilinTransf, IdentityTwoPortLeavesEveryReflectionUnchanged) {
  const TSmatrix through{{0, 0}, {1, 0}, {1, 0}, {0, 0}};
  const TBilinTransf bt = Loaded({1e9, 3e9}, {through, through});
  const complex rhos[] = {{0, 0}, {1, 0}, {-0.3, 0.4}, {0.999, -0.01}, {0, -1}};
  for (const complex& g : rhos) {
    for (double f : {0.0, 1e9, 2e9, 5e9}) {
      EXPECT_EQ(bt.TransformLoadToInput(g, f), g);
      EXPECT_EQ(bt.TransformInputToLoad(g, f), g);
    }
  }
}

// Random two-ports and loads: the transform matches (S11 - D G) / (1 - S22 G) computed with the
// standard library, and the inverse brings the load back.
TEST(BilinTransf, TransformMatchesReferenceAndInverseRoundTrips) {
  std::mt19937 gen(12345);
  std::uniform_real_distribution<double> u(-0.7, 0.7);
  auto rnd = [&] { return complex(u(gen), u(gen)); };
  for (int i = 0; i < 200; ++i) {
    const TSmatrix s{rnd(), complex(0.9, 0) + rnd() * 0.1, complex(0.8, 0.1) + rnd() * 0.1, rnd()};
    const TBilinTransf bt = Loaded({2.45e9}, {s});
    const complex g = rnd();
    const cd d = Std(s.s11) * Std(s.s22) - Std(s.s12) * Std(s.s21);
    const cd ref = (Std(s.s11) - d * Std(g)) / (1.0 - Std(s.s22) * Std(g));
    const complex gin = bt.TransformLoadToInput(g, 2.45e9);
    EXPECT_NEAR(gin.re, ref.real(), 1e-12);
    EXPECT_NEAR(gin.im, ref.imag(), 1e-12);
    const complex back = bt.TransformInputToLoad(gin, 2.45e9);
    EXPECT_NEAR(back.re, g.re, 1e-12);
    EXPECT_NEAR(back.im, g.im, 1e-12);
  }
}

TEST(BilinTransf, InterpolationInFileOrderAndClampingAtTheEnds) {
  TBilinTransf bt;
  bt.FBis.ff = {1e9, 2e9, 4e9};
  bt.FBis.aa = {{1, 0}, {3, 2}, {-1, 0}};
  bt.FBis.bb = {{0, 0}, {0.4, -0.8}, {0, 0}};
  bt.FBis.cc = {{0, 1}, {0, -1}, {2, 2}};
  const struct {
    double f;
    complex a, b, c;
  } cases[] = {
      {0.5e9, {1, 0}, {0, 0}, {0, 1}},              // below the table: first entry
      {1e9, {1, 0}, {0, 0}, {0, 1}},                // at the first frequency
      {1.25e9, {1.5, 0.5}, {0.1, -0.2}, {0, 0.5}},  // a quarter of the way to the second
      {2e9, {3, 2}, {0.4, -0.8}, {0, -1}},
      {3e9, {1, 1}, {0.2, -0.4}, {1, 0.5}},  // half way between the second and the third
      {4e9, {-1, 0}, {0, 0}, {2, 2}},
      {9e9, {-1, 0}, {0, 0}, {2, 2}},  // above the table: last entry
  };
  for (const auto& c : cases) {
    const TBilinCoefs k = bt.CoefsAt(c.f);
    EXPECT_NEAR(k.a.re, c.a.re, 1e-12) << c.f;
    EXPECT_NEAR(k.a.im, c.a.im, 1e-12) << c.f;
    EXPECT_NEAR(k.b.re, c.b.re, 1e-12) << c.f;
    EXPECT_NEAR(k.b.im, c.b.im, 1e-12) << c.f;
    EXPECT_NEAR(k.c.re, c.c.re, 1e-12) << c.f;
    EXPECT_NEAR(k.c.im, c.c.im, 1e-12) << c.f;
  }
  // An empty table acts as a through line instead of reading past its end.
  const TBilinTransf empty;
  EXPECT_EQ(empty.TransformLoadToInput({0.3, 0.4}, 1e9), complex(0.3, 0.4));
}

// A frequency that compares with no table entry must neither read outside the table nor turn
// the coefficients into NaN: it takes the last entry.
TEST(BilinTransf, NanFrequencyTakesTheLastEntry) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  TBilinTransf one;
  one.FBis.ff = {2e9};
  one.FBis.aa = {{0.5, 0.25}};
  one.FBis.bb = {{0.1, 0}};
  one.FBis.cc = {{0, -0.2}};
  TBilinTransf two = one;
  two.FBis.ff = {1e9, 3e9};
  two.FBis.aa = {{1, 0}, {0.5, 0.25}};
  two.FBis.bb = {{0, 0}, {0.1, 0}};
  two.FBis.cc = {{0, 0}, {0, -0.2}};
  for (const TBilinTransf* bt : {&one, &two}) {
    const TBilinCoefs k = bt->CoefsAt(nan);
    EXPECT_EQ(k.a, complex(0.5, 0.25));
    EXPECT_EQ(k.b, complex(0.1, 0));
    EXPECT_EQ(k.c, complex(0, -0.2));
  }
}

TEST(BilinTransf, EnableActiveAndClear) {
  TBilinTransf bt;
  bt.SetActive(true);
  EXPECT_FALSE(bt.FActive);  // nothing loaded

  const TSmatrix s{{0.1, 0}, {1, 0}, {1, 0}, {0, 0}};
  bt.FSLoaded = true;
  bt.SToBilinAll({1e9}, {s});
  EXPECT_TRUE(bt.FEnabled);
  EXPECT_TRUE(bt.GetActive());
  bt.SetActive(false);
  EXPECT_FALSE(bt.GetActive());
  bt.SetActive(true);
  EXPECT_TRUE(bt.GetActive());

  bt.Clear();
  EXPECT_FALSE(bt.FEnabled);
  EXPECT_FALSE(bt.GetActive());
  EXPECT_FALSE(bt.FSLoaded);
  EXPECT_EQ(bt.FBis.ff.size(), 1u);  // the table itself stays
  bt.SetActive(true);
  EXPECT_FALSE(bt.GetActive());

  // A failed read disables without touching the old table.
  bt.FEnabled = bt.FActive = true;
  bt.FSLoaded = false;
  bt.SToBilinAll({5e9, 6e9}, {s, s});
  EXPECT_FALSE(bt.FEnabled);
  EXPECT_FALSE(bt.FActive);
  EXPECT_EQ(bt.FBis.ff, TArrD({1e9}));
}

class BilinLoadTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }
  QString Write(const QString& name, const QByteArray& text) {
    const QString p = dir.filePath(name);
    QFile f(p);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
    return p;
  }
  QTemporaryDir dir;
};

// Reading reports through its result: the file's information, or why it was refused; the
// transform follows the last read.
TEST_F(BilinLoadTest, ReadReportsThroughItsResultAndEnables) {
  const QString p =
      Write("adapter.txt",
            "* INFO = Adapter A\r\n# GHZ S11_RE S11_IM S21_RE S21_IM S22_RE S22_IM\r\n"
            "2 0.5 0 1 0 0 0\r\nEND\r\n");
  TBilinTransf bt;
  const TSparLoad good = bt.LoadAndConvert(p);
  EXPECT_TRUE(good.valid);
  EXPECT_FALSE(good.isError);
  EXPECT_EQ(good.message, QStringLiteral("Loaded File:\n\rAdapter A"));
  EXPECT_TRUE(bt.FSLoaded);
  EXPECT_TRUE(bt.GetActive());
  EXPECT_EQ(bt.Path, p);
  EXPECT_EQ(bt.StartPath(), p);
  // S11 = 0.5, through otherwise: a matched load reads 0.5.
  EXPECT_EQ(bt.TransformLoadToInput({0, 0}, 2e9), complex(0.5, 0));

  // A bad file then disables the transform until a good one is read.
  const QString bad = Write("bad.txt", "# GHZ S11_RE S11_IM S22_RE S22_IM\n1 0 0 0 0\nEND\n");
  const TSparLoad r = bt.LoadAndConvert(bad);
  EXPECT_FALSE(r.valid);
  EXPECT_TRUE(r.isError);
  EXPECT_TRUE(r.message.startsWith(QStringLiteral("Incorrect or insufficient header in Line 0:")));
  EXPECT_FALSE(bt.FEnabled);
  EXPECT_FALSE(bt.GetActive());

  // A file that cannot be read.
  const QString missing = dir.filePath("missing.txt");
  const TSparLoad m = bt.LoadAndConvert(missing);
  EXPECT_TRUE(m.isError);
  EXPECT_EQ(m.message, QStringLiteral("Unable to read file:\r\n    ") + missing +
                           QStringLiteral("\r\n\r\nInput file analysis aborted."));
  EXPECT_FALSE(bt.FEnabled);
}

TEST_F(BilinLoadTest, CancelDisablesAndABareNameStartsInTheUserFolder) {
  TBilinTransf bt;
  EXPECT_EQ(bt.StartPath(), UserFolder() + QStringLiteral("Spar.txt"));
  bt.FSLoaded = true;
  bt.SToBilinAll({1e9}, {TSmatrix{}});
  ASSERT_TRUE(bt.GetActive());
  bt.LoadCancelled();
  EXPECT_FALSE(bt.GetActive());
  EXPECT_FALSE(bt.FSLoaded);
  EXPECT_EQ(bt.Path, QStringLiteral("Spar.txt"));
  EXPECT_EQ(bt.FBis.ff, TArrD({1e9}));  // the table itself stays
}

TEST(BilinTransf, BiStructToStrInEachOutputForm) {
  TBilinTransf bt;
  bt.FBis.ff = {2.45e9};
  bt.FBis.aa = {{1, 0}};
  bt.FBis.bb = {{0, 0.5}};
  bt.FBis.cc = {{-0.5, 0}};
  EXPECT_EQ(bt.BiStructToStr(0, 0),
            QStringLiteral("f_MHz\ta.re\ta.im\tb.re\tb.im\tc.re\tc.im\r\n"
                           "2450.00\t1.0000\t0.0000\t0.0000\t0.5000\t-0.5000\t0.0000\r\n"));
  EXPECT_EQ(bt.BiStructToStr(0, 1),
            QStringLiteral("f_MHz\ta.mg\ta.rad\tb.mg\tb.rad\tc.mg\tc.rad\r\n"
                           "2450.00\t1.0000\t0.000\t0.5000\t1.571\t0.5000\t3.142\r\n"));
  EXPECT_EQ(bt.BiStructToStr(0, 2),
            QStringLiteral("f_MHz\ta.mg\ta.deg\tb.mg\tb.deg\tc.mg\tc.deg\r\n"
                           "2450.00\t1.0000\t0.00\t0.5000\t90.00\t0.5000\t180.00\r\n"));
  // Values held as magnitude and degrees are read as such.
  TBilinTransf held;
  held.FBis.ff = {1e6};
  held.FBis.aa = {{2, 90}};
  held.FBis.bb = {{1, 180}};
  held.FBis.cc = {{0, 0}};
  EXPECT_EQ(held.BiStructToStr(2, 0),
            QStringLiteral("f_MHz\ta.re\ta.im\tb.re\tb.im\tc.re\tc.im\r\n"
                           "1.00\t0.0000\t2.0000\t-1.0000\t0.0000\t0.0000\t0.0000\r\n"));
  EXPECT_EQ(TBilinTransf().BiStructToStr(0, 2),
            QStringLiteral("f_MHz\ta.mg\ta.deg\tb.mg\tb.deg\tc.mg\tc.deg\r\n"));
}

// The decoder replaces the measured reflection coefficient only while the transform is active.
TEST(BilinTransf, DecoderUsesTheRealObjects) {
  TFrameSpec fspec;
  fspec.Motors = false;
  fspec.Pinc_W = 100.0;
  fspec.RhoM = complex(0.25, 0);
  fspec.Freq_Hz = 2.45e9;
  TMerObjekt frame{};
  EncodeFrame(fspec, frame);

  TPlaneExt pe;
  TBilinTransf bt = Loaded({2.45e9}, {TSmatrix{{0.5, 0}, {1, 0}, {1, 0}, {0, 0}}});
  const TDecodeTransforms tr(pe, bt);
  THresults r;
  TMotState m;
  uint16_t nmo = 0;
  ASSERT_TRUE(DekodMerData(frame, r, m, 0.0, tr, nmo));
  EXPECT_NEAR(r.Rho_m.re, 0.75, 1e-12);
  bt.SetActive(false);
  ASSERT_TRUE(DekodMerData(frame, r, m, 0.0, tr, nmo));
  EXPECT_NEAR(r.Rho_m.re, 0.25, 1e-12);
}

}  // namespace
}  // namespace qz

namespace qz {
namespace {

// The S-parameter reader refuses what is no regular file or too large at once, with the
// reason in its message; an empty or binary file is analysed as before (and found wanting).
TEST(BilinLoadReader, SpecialFilesAreRefusedAtOnce) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  testing::CheckReaderTable(
      "TBilinTransf::LoadSParams", dir.filePath(QStringLiteral("adapter.txt")), 16 << 20,
      "is too large: an S-parameter file may have at most 16 MiB", [](const QString& path) {
        TBilinTransf bt;
        TArrD freqs;
        std::vector<TSmatrix> m;
        const TSparLoad r = bt.LoadSParams(path, freqs, m);
        const bool refused = r.message.startsWith(QStringLiteral("Unable to read file:"));
        EXPECT_FALSE(r.valid);
        return testing::ReaderOutcome{!refused, r.message};
      });
}

}  // namespace
}  // namespace qz
