// Tuner memory files: both versions load the description they were written from, a damaged or
// unknown file changes nothing, and every value keeps to the rule of its description key.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>

#include "common/golden.h"
#include "common/readerrig.h"
#include "common/testfiles.h"
#include "common/tunerrig.h"
#include "tuner/tunmem.h"

namespace qz {
namespace {

// Where the data of each record of the writer's version-2 file of a waveguide tuner start: the
// header, identity, motor and cell records come first, then the two tables and the autotune.
constexpr int kRec = kTunMemV2RecSize;
constexpr int kV2Ident = kRec * 1 + 1;
constexpr int kV2Motor = kRec * 2 + 1;
constexpr int kV2Par2 = kRec * 5 + 1;
constexpr int kV2Auto = kRec * 6 + 1;

void PutI32(QByteArray& b, int at, int32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = char((uint32_t(v) >> (8 * i)) & 0xFF);
}
void PutU16(QByteArray& b, int at, uint16_t v) {
  b[at] = char(v & 0xFF);
  b[at + 1] = char(v >> 8);
}
void PutF64(QByteArray& b, int at, double v) {
  uint64_t u = 0;
  std::memcpy(&u, &v, sizeof u);
  for (int i = 0; i < 8; ++i) b[at + i] = char((u >> (8 * i)) & 0xFF);
}

TTunMemContent BuiltIn() {
  TMotState mot;
  return TunMemContentOf(DefaultTunerDescr(), mot);
}

// A present description that differs from the built-in one in every block, so a load shows.
TTunMemContent Other() {
  TTunMemContent c = BuiltIn();
  c.Descr.Nick = QStringLiteral("Old tuner");
  c.Descr.WgA_um = 72140;
  c.Descr.MaxSteps = 1234;
  c.Descr.StubChokeInfo = QStringLiteral("old choke");
  c.Descr.Par1.C[5][5] = 1.0;
  c.MaxIter = 77;
  c.BreakUp = 11;
  return c;
}

struct TunMemFiles : ::testing::Test {
  QTemporaryDir dir;
  testing::TunerRig rig;
  QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
  QString Put(const char* name, const QByteArray& bytes) {
    const QString p = Path(name);
    testing::WriteAll(p, bytes);
    return p;
  }
};

TEST(TunMem, ShippedFileIsTheBuiltInDescriptionOfVersion2) {
  const QString shipped =
      QStringLiteral(QZ_TEST_DATA_DIR) + QStringLiteral("/../../share/qzsim/TunQztu340.mem");
  const QByteArray written = TunMemBytes(BuiltIn(), 2);
  const QByteArray file = testing::ReadAll(shipped);
  if (file != written) {
    // The writer's form, for renewing the shipped file after a deliberate change.
    const QString fresh = QDir::temp().filePath(QStringLiteral("TunQztu340.mem"));
    testing::WriteAll(fresh, written);
    ADD_FAILURE() << "shipped memory file differs from the writer's " << fresh.toStdString();
  }
  EXPECT_EQ(written.size(), 7 * kTunMemV2RecSize);  // one cell block
  EXPECT_EQ(written.mid(1, 12), QByteArray("\x0bTUNERMEM002"));
}

// A description whose every field differs from the built-in one and from its neighbours, so
// that a value in the wrong place or of the wrong width shows in the bytes.
TTunMemContent Distinct(uint8_t cellType) {
  TTunMemContent c = BuiltIn();
  TTunerDescr& d = c.Descr;
  d.Manuf = QStringLiteral("Maker A");
  d.Nick = QStringLiteral("Nick B");
  d.Model = QStringLiteral("Model C");
  d.IntMdl = QStringLiteral("Int D");
  d.ModelNo = 201;
  d.ModifNo = 202;
  d.SerNum = 60003;
  d.WgA_um = 70004;
  d.WgB_um = 30005;
  d.FnominKHz = 915006;
  d.CellType = cellType;
  d.Ltot_um = 250007;
  d.Lref_um = -12008;
  d.StubDist[1] = 50009;
  d.StubDist[2] = 90010;
  d.StubDist[3] = 130011;
  d.StubDia_um = 19012;
  d.StubRe_um = 9013;
  d.StubZeroExt_um = -314;
  d.StubChokeInfo = QStringLiteral("choke E");
  d.AddInfo = QStringLiteral("info F");
  d.ShortWgA_um = 70015;
  d.ShortWgB_um = 30016;
  d.Ls_pH = -17017;
  d.MotManuf = QStringLiteral("MotG");
  d.MotModel = QStringLiteral("MotH");
  d.MaxSteps = 4018;
  d.MmPerStep = 0.0125;
  d.MaxRstSteps = 4419;
  d.InRate = 2020;
  d.OutRate = 2121;
  d.Ramp = 222;
  d.MinRate = 623;
  d.RstRate = 924;
  d.RstAddIn = 25;
  d.RstAddOut = 26;
  d.Nzero[1] = 27;
  d.Nzero[2] = 28;
  d.Nzero[3] = 29;
  for (TStubModel* m : {&d.Par1, &d.Par2}) {
    const double base = m == &d.Par1 ? 1.0 : 2.0;
    m->NH = m == &d.Par1 ? 4 : 9;
    for (int i = 0; i < 10; ++i) {
      m->NF[size_t(i)] = (i + int(base)) % 4;
      for (int j = 0; j < 10; ++j) m->C[size_t(i)][size_t(j)] = base * 100 + i * 10 + j + 0.25;
    }
  }
  c.MaxIter = 3031;
  c.BreakUp = 32;
  c.HystDg = 33;
  return c;
}

// The bytes of both versions stay as the landed writer made them: the built-in description
// (version 2 is the shipped file) and descriptions with every field set, of both cell types.
TEST(TunMem, BytesOfBothVersionsAsBefore) {
  const struct {
    TTunMemContent content;
    int version;
    const char* golden;
  } cases[] = {
      {BuiltIn(), 1, "tunmem_builtin_v1.golden"},
      {BuiltIn(), 2, "tunmem_builtin_v2.golden"},
      {Distinct(kCellWaveguide), 1, "tunmem_distinct_v1.golden"},
      {Distinct(kCellWaveguide), 2, "tunmem_distinct_v2.golden"},
      {Distinct(kCellCoax), 2, "tunmem_distinct_coax_v2.golden"},
  };
  for (const auto& c : cases)
    qz::testing::ExpectGolden(TunMemBytes(c.content, c.version), QString::fromLatin1(c.golden));
  EXPECT_EQ(testing::ReadAll(qz::testing::GoldenPath("tunmem_builtin_v2.golden")),
            testing::ReadAll(QStringLiteral(QZ_TEST_DATA_DIR) +
                             QStringLiteral("/../../share/qzsim/TunQztu340.mem")));
}

TEST(TunMem, BothVersionsOfTheBuiltInDescriptionLoadTheSameRecords) {
  for (const int version : {1, 2}) {
    TTunMemContent out;
    ASSERT_EQ(ReadTunMem(TunMemBytes(BuiltIn(), version), Other(), out), kTunMemOk) << version;
    TTunMemContent expected = BuiltIn();
    expected.HystDg = Other().HystDg;  // the file's hysteresis is never taken
    // Version 1 has no cell block: those fields keep the present ones.
    if (version == 1) expected.Descr.StubChokeInfo = Other().Descr.StubChokeInfo;
    EXPECT_TRUE(out == expected) << version;
  }
}

TEST(TunMem, IdentificationGivesTheVersion) {
  const auto first = [](const QByteArray& head) {
    QByteArray b(kTunMemIdRecSize, '\0');
    b.replace(0, head.size(), head);
    return b;
  };
  struct Case {
    QByteArray bytes;
    int version;
  } cases[] = {
      {first("\x0bTUNERMEM001"), 1},
      {first(QByteArray("\0\x0bTUNERMEM002", 13)), 2},
      {first("\x0b"
             "ABCDEFGH123"),
       123},
      {first("\x0aTUNERMEM00"), -1},                       // 10 characters
      {first("\x0bTUNERMEM0x2"), -1},                      // not a digit
      {first(QByteArray("\x01\x0bTUNERMEM002", 13)), -1},  // byte 0 neither 11 nor 0
      {QByteArray("\x0bTUNERMEM001"), -1},                 // shorter than one record
      {QByteArray(), -1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(TunMemVersion(c.bytes), c.version) << c.bytes.toHex().data();
}

TEST_F(TunMemFiles, RefusedFilesLeaveTheTunerAsItWas) {
  const QByteArray v2 = TunMemBytes(BuiltIn(), 2);
  const QByteArray v1 = TunMemBytes(BuiltIn(), 1);
  QByteArray noText = v2;
  noText[1] = 5;
  QByteArray version5 = v2;
  version5.replace(2 + 8, 3, "005");
  QByteArray kind3 = v2;
  PutI32(kind3, kV2Ident + 148, 3);
  QByteArray kind2NoCoaxBlock = v2;
  PutI32(kind2NoCoaxBlock, kV2Ident + 148, kCellCoax);
  struct Case {
    const char* what;
    QByteArray bytes;
  } cases[] = {
      {"first record without an 11-character text", noText},
      {"version 2 without type 7", TunMemBytes(BuiltIn(), 2, 1u << tmrAutotune)},
      {"version 2 without type 1", TunMemBytes(BuiltIn(), 2, 1u << tmrIdentity)},
      {"version 2 without type 5", TunMemBytes(BuiltIn(), 2, 1u << tmrStubModel1)},
      {"version 2 without its cell block", TunMemBytes(BuiltIn(), 2, 1u << tmrCellWaveguide)},
      {"a coaxial tuner without type 4", kind2NoCoaxBlock},
      {"description kind 3", kind3},
      {"version 005", version5},
      {"version 1 cut short", v1.left(519)},
      {"only the header", v2.left(kTunMemV2RecSize)},
      {"empty", QByteArray()},
  };
  for (const Case& c : cases) {
    rig.sim.UserMax_mm = 25.0;
    rig.Derive();
    const TTunerDescr before = rig.d;
    const TMotState motBefore = rig.mot;
    EXPECT_EQ(LoadTunMemFile(Put("bad.mem", c.bytes), rig.m), kTunMemInvalid) << c.what;
    EXPECT_TRUE(rig.d == before) << c.what;
    EXPECT_EQ(rig.mot.MaxIter, motBefore.MaxIter) << c.what;
    EXPECT_EQ(rig.sim.UserMax_mm, 25.0) << c.what;
  }
}

TEST_F(TunMemFiles, AFileThatCannotBeOpenedGives95) {
  EXPECT_EQ(LoadTunMemFile(Path("missing.mem"), rig.m), kTunMemNotFound);
  EXPECT_EQ(LoadTunMemFile(dir.path(), rig.m), kTunMemNotFound);
}

TEST_F(TunMemFiles, ALoadReplacesTheDescriptionAndUnsetsTheOperatorsMaximum) {
  TTunMemContent c = BuiltIn();
  c.Descr.MaxSteps = 2000;
  c.MaxIter = 250;
  c.BreakUp = 40;
  rig.sim.UserMax_mm = 12.0;
  rig.mot.HystDg = 9;
  ASSERT_TRUE([&] {
    QString error;
    return WriteTunMemFile(Path("t.mem"), c, 2, error);
  }());
  ASSERT_EQ(LoadTunMemFile(Path("t.mem"), rig.m), kTunMemOk);
  EXPECT_TRUE(rig.d == c.Descr);
  EXPECT_EQ(rig.mot.MaxIter, 250);
  EXPECT_EQ(rig.mot.BreakUp, 40);
  EXPECT_EQ(rig.mot.HystDg, 9);
  EXPECT_LT(rig.sim.UserMax_mm, 0.0);
  rig.Derive();
  EXPECT_EQ(rig.m.Derived().MaxSteps, 2000);
}

// Values a maker's file may hold that the program cannot work with take the rule of their
// description key: the key's default, or the value held.
TEST(TunMem, ValuesFollowTheRulesOfTheirKeys) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    const char* what;
    std::function<void(QByteArray&)> damage;
    std::function<bool(const TTunMemContent&)> holds;
  } cases[] = {
      {"step length 0 keeps the present one", [](QByteArray& b) { PutF64(b, kV2Motor, 0.0); },
       [](const TTunMemContent& c) { return c.Descr.MmPerStep == Other().Descr.MmPerStep; }},
      {"step length NaN keeps the present one", [nan](QByteArray& b) { PutF64(b, kV2Motor, nan); },
       [](const TTunMemContent& c) { return c.Descr.MmPerStep == Other().Descr.MmPerStep; }},
      {"pull-in rate 0 is 3000", [](QByteArray& b) { PutU16(b, kV2Motor + 10, 0); },
       [](const TTunMemContent& c) { return c.Descr.InRate == 3000; }},
      {"maximum steps 3 is 5000", [](QByteArray& b) { PutU16(b, kV2Motor + 8, 3); },
       [](const TTunMemContent& c) { return c.Descr.MaxSteps == 5000; }},
      {"guide width 0 keeps the present one", [](QByteArray& b) { PutI32(b, kV2Ident + 136, 0); },
       [](const TTunMemContent& c) { return c.Descr.WgA_um == Other().Descr.WgA_um; }},
      {"nominal frequency -1 keeps the present one",
       [](QByteArray& b) { PutI32(b, kV2Ident + 144, -1); },
       [](const TTunMemContent& c) { return c.Descr.FnominKHz == Other().Descr.FnominKHz; }},
      {"a coefficient NaN is 0", [nan](QByteArray& b) { PutF64(b, kV2Par2 + 11 + 8 * 10, nan); },
       [](const TTunMemContent& c) { return c.Descr.Par2.C[1][0] == 0.0; }},
      {"a coefficient 1e40 is 0", [](QByteArray& b) { PutF64(b, kV2Par2 + 11 + 8 * 10, 1e40); },
       [](const TTunMemContent& c) { return c.Descr.Par2.C[1][0] == 0.0; }},
      {"degree 12 is 0", [](QByteArray& b) { b[kV2Par2] = 12; },
       [](const TTunMemContent& c) { return c.Descr.Par2.NH == 0; }},
      {"maximum iterations 0 is 100", [](QByteArray& b) { PutI32(b, kV2Auto, 0); },
       [](const TTunMemContent& c) { return c.MaxIter == 100; }},
      {"break-up 2 is 30", [](QByteArray& b) { PutU16(b, kV2Auto + 4, 2); },
       [](const TTunMemContent& c) { return c.BreakUp == 30; }},
      {"a name's length byte 200 is cut to the field",
       [](QByteArray& b) { b[kV2Ident + 33] = char(200); },
       [](const TTunMemContent& c) { return c.Descr.Nick.size() == 32; }},
      {"a motor text's length byte 255 is cut to 8",
       [](QByteArray& b) { b[kV2Motor + 32] = char(255); },
       [](const TTunMemContent& c) { return c.Descr.MotManuf.size() == 8; }},
  };
  for (const Case& c : cases) {
    QByteArray b = TunMemBytes(BuiltIn(), 2);
    ASSERT_EQ(b[kV2Par2 - 1], char(tmrStubModel2));
    ASSERT_EQ(b[kV2Auto - 1], char(tmrAutotune));
    c.damage(b);
    TTunMemContent out;
    ASSERT_EQ(ReadTunMem(b, Other(), out), kTunMemOk) << c.what;
    EXPECT_TRUE(c.holds(out)) << c.what;
  }
}

TEST(TunMem, Version1ExpandsItsCompactTablesWithRowZeroClear) {
  TTunMemContent c = BuiltIn();
  c.Descr.Par1 = TStubModel{};
  c.Descr.Par1.NH = 4;
  c.Descr.Par1.NF = {0, 3, 0, 0, 2};
  c.Descr.Par1.C[1][3] = -2.5;
  c.Descr.Par1.C[4][2] = 1e-9;
  c.Descr.Par1.C[0][0] = 7.0;  // not in the compact table
  TTunMemContent cur = Other();
  cur.Descr.Par1.C[0][0] = 9.0;
  TTunMemContent out;
  ASSERT_EQ(ReadTunMem(TunMemBytes(c, 1), cur, out), kTunMemOk);
  TStubModel expected = c.Descr.Par1;
  expected.C[0][0] = 0.0;
  EXPECT_TRUE(out.Descr.Par1 == expected);
  EXPECT_EQ(out.Descr.CellType, kCellWaveguide);
}

TEST_F(TunMemFiles, AFailedWriteKeepsTheOldFile) {
  const QString p = Put("keep.mem", QByteArray("old"));
  QString error;
  EXPECT_FALSE(WriteTunMemFile(dir.path(), BuiltIn(), 2, error));
  EXPECT_FALSE(error.isEmpty());
  EXPECT_EQ(testing::ReadAll(p), QByteArray("old"));
}

}  // namespace
}  // namespace qz

namespace qz {
namespace {

// A FIFO, a link to /dev/zero or a folder is "not found" (95) and a file over 4 MiB invalid, at
// once; an empty or binary file is read and refused by its content as before. The tuner stays.
TEST_F(TunMemFiles, SpecialFilesAreRefusedAtOnce) {
  const TTunerDescr before = rig.m.Descr();
  int i = 0;
  const int32_t codes[] = {kTunMemNotFound, kTunMemNotFound, kTunMemNotFound,
                           kTunMemInvalid,  kTunMemInvalid,  kTunMemInvalid};
  testing::CheckReaderTable(
      "LoadTunMemFile", Path("Tu.mem"), 4 << 20, "too large", [&](const QString& path) {
        const int32_t code = LoadTunMemFile(path, rig.m);
        EXPECT_EQ(code, codes[i]) << i;
        ++i;
        // Refused kinds give their verdict: "not found" names the non-regular ones.
        const QString text = code == kTunMemNotFound
                                 ? QStringLiteral("is not a regular file")
                                 : (i == 4 ? QStringLiteral("too large") : QString());
        return testing::ReaderOutcome{i > 4, text};
      });
  EXPECT_EQ(i, 6);
  EXPECT_TRUE(rig.m.Descr() == before);
}

}  // namespace
}  // namespace qz
