// Touchstone version 1 files for the bilinear transform, written by the fixture script in
// tests/data from its formula: the four forms of one fixture give the same matrices, the
// refusals name what is wrong, and the two directions of the transform undo each other.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>

#include "common/expectnear.h"
#include "core/bilintransf.h"
#include "core/sparfile.h"
#include "util/complex.h"

namespace qz {
namespace {

using testing::ExpectNear;

const QString kPython = QStringLiteral("/usr/bin/python3");

class TouchstoneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    if (!QFileInfo::exists(kPython)) GTEST_SKIP() << "no /usr/bin/python3";
    QProcess p;
    p.start(kPython, {QStringLiteral(QZ_TEST_DATA_DIR "/touchstone_fixture.py"), dir.path()});
    ASSERT_TRUE(p.waitForFinished(60000));
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
  }
  QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
  struct Loaded {
    TSparLoad load;
    TArrD freqs;
    std::vector<TSmatrix> m;
  };
  Loaded Load(const QString& path) {
    Loaded l;
    TBilinTransf bt;
    l.load = bt.LoadSParams(path, l.freqs, l.m);
    return l;
  }
  QString Write(const char* name, const char* text) {
    QFile f(Path(name));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
    return Path(name);
  }
  QTemporaryDir dir;
};

// The fixture's formula, as the script writes it.
TSmatrix Fixture(double fHz) {
  const double x = (fHz - 2.45e9) / 50e6;
  TSmatrix s;
  s.s11 = CPolarDeg(0.20, 30 + 40 * x);
  s.s21 = CPolarDeg(0.80, -100 - 60 * x);
  s.s12 = CPolarDeg(0.70, -95 - 50 * x);
  s.s22 = CPolarDeg(0.15, -60 + 20 * x);
  return s;
}

TEST_F(TouchstoneTest, FourFormsOfOneFixtureGiveItsMatrices) {
  const char* files[] = {"fixture_ri.s2p", "fixture_ma.s2p", "fixture_db.s2p", "fixture.txt"};
  for (const char* name : files) {
    SCOPED_TRACE(name);
    const Loaded l = Load(Path(name));
    ASSERT_TRUE(l.load.valid) << l.load.message.toStdString();
    EXPECT_FALSE(l.load.isError);
    ASSERT_EQ(l.freqs.size(), 11u);
    ASSERT_EQ(l.m.size(), 11u);
    for (size_t k = 0; k < 11; ++k) {
      const double f = 2.40e9 + double(k) * 10e6;
      EXPECT_NEAR(l.freqs[k], f, 1e-3) << k;
      const TSmatrix want = Fixture(f);
      ExpectNear(l.m[k], want, 1e-9);
      // Not reciprocal: S12 and S21 keep their places.
      EXPECT_GT(CAbs(l.m[k].s12 - l.m[k].s21), 0.05) << k;
    }
  }
  EXPECT_EQ(Load(Path("fixture_ri.s2p")).load.message,
            "Loaded File:\n\rTouchstone fixture_ri.s2p, 11 frequencies, 2400 to 2500 MHz");
  EXPECT_EQ(Load(Path("fixture_db.s2p")).load.message,
            "Loaded File:\n\rTouchstone fixture_db.s2p, 11 frequencies, 2400 to 2500 MHz\r\n"
            "Reference impedance 545.49 ohm, not 50: the data are used as they stand.");
}

TEST_F(TouchstoneTest, WhatTheTransformCannotUseIsRefusedAndDisablesIt) {
  const QString falling =
      Write("falling.s2p", "# MHZ S RI\n2400 0 0 1 0 1 0 0 0\n2390 0 0 1 0 1 0 0 0\n");
  const QString count =
      Write("count.s2p", "# MHZ S RI\n2400 0 0 1 0 1 0 0 0\n2410 0 0 1 0 1 0 0\n");
  const QString empty = Write("empty.s2p", "! nothing but a comment\n# GHZ S MA R 50\n");
  const struct {
    QString path;
    const char* says;
  } cases[] = {
      {Path("one_port.s1p"),
       "Touchstone file one_port.s1p is a file of 1 port: the transform needs a two-port file "
       "(.s2p)."},
      {Path("one_port_records.s2p"),
       "Touchstone file one_port_records.s2p holds one-port records: the transform needs a "
       "two-port file (.s2p) in Line 1:\r\n    2.40 0.1 20"},
      {Path("four_port.s4p"), "is a file of 4 ports: the transform needs a two-port file (.s2p)."},
      {Path("y_params.s2p"), "holds Y-parameters: the transform needs S-parameters in Line 0"},
      {Path("version2.s2p"), "is of Touchstone version 2 (\"[Version]\")"},
      {falling, "the frequencies must rise in Line 2:\r\n    2390 0 0 1 0 1 0 0 0"},
      {count, "a two-port record holds 9 numbers, not 8 in Line 2:"},
      {empty, "Touchstone file empty.s2p holds no data"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path.toStdString());
    TBilinTransf bt;
    const TSparLoad r = bt.LoadAndConvert(c.path);
    EXPECT_FALSE(r.valid);
    EXPECT_TRUE(r.isError);
    EXPECT_TRUE(r.message.contains(QString::fromLatin1(c.says))) << r.message.toStdString();
    EXPECT_TRUE(r.message.endsWith("\r\n\r\nProcedure aborted.")) << r.message.toStdString();
    EXPECT_EQ(r.message.count("Procedure aborted."), 1);
    EXPECT_FALSE(bt.FEnabled);
    EXPECT_FALSE(bt.GetActive());
  }
  // The program's own format is still read by its own rules: a header of columns.
  EXPECT_FALSE(IsTouchstoneOptionLine(" MHZ S11_RE S11_IM S22_RE S22_IM S21_LOG S21_DEG"));
  EXPECT_TRUE(IsTouchstoneOptionLine(" mhz RI  s R 75"));
  // A bare "#" is the program's own header without a unit.
  EXPECT_FALSE(IsTouchstoneOptionLine(""));
  EXPECT_FALSE(IsTouchstoneOptionLine(" GHZ S RI R"));
}

// The noise parameters after a two-port's data are skipped; comments and blanks anywhere.
TEST_F(TouchstoneTest, NoiseRecordsAfterTheDataAreSkipped) {
  const QString p = Write("noise.S2P",
                          "! amplifier\n\n# ghz ma s\n"
                          "2.40 0.1 10 0.9 -20 0.8 -25 0.2 30 ! first\n"
                          "2.50 0.1 11 0.9 -21 0.8 -26 0.2 31\n"
                          "! noise parameters\n2.40 1.2 0.5 20 0.45\n2.45 1.3 0.5 22 0.46\n");
  const Loaded l = Load(p);
  ASSERT_TRUE(l.load.valid) << l.load.message.toStdString();
  ASSERT_EQ(l.freqs.size(), 2u);
  EXPECT_EQ(l.freqs[1], 2.5e9);
  ExpectNear(l.m[1].s21, CPolarDeg(0.9, -21), 1e-12);
  ExpectNear(l.m[1].s12, CPolarDeg(0.8, -26), 1e-12);
  EXPECT_EQ(l.load.message,
            "Loaded File:\n\rTouchstone noise.S2P, 2 frequencies, 2400 to 2500 MHz");
}

TEST_F(TouchstoneTest, RemoveFixtureUndoesApplyAndEqualsApplyingTheInverse) {
  TBilinTransf fix, inv;
  ASSERT_TRUE(fix.LoadAndConvert(Path("fixture_ri.s2p")).valid);
  ASSERT_TRUE(inv.LoadAndConvert(Path("inverse_ri.s2p")).valid);
  const complex g = CPolarDeg(0.6, 45.0);
  for (double f : {2.40e9, 2.45e9, 2.455e9}) {
    fix.Direction = TBilinDir::Apply;
    const complex applied = fix.ToShown(g, f);
    EXPECT_GT(CAbs(applied - g), 0.01) << f;
    fix.Direction = TBilinDir::Remove;
    ExpectNear(fix.ToShown(applied, f), g, 1e-9);
    // FromShown is the way back in either direction.
    ExpectNear(fix.FromShown(fix.ToShown(g, f), f), g, 1e-9);
  }
  fix.Direction = TBilinDir::Remove;
  inv.Direction = TBilinDir::Apply;
  for (int k = 0; k <= 10; ++k) {
    const double f = 2.40e9 + k * 10e6;
    ExpectNear(fix.ToShown(g, f), inv.ToShown(g, f), 1e-9);
  }
}

}  // namespace
}  // namespace qz
