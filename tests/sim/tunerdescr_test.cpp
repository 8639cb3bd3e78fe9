#include "sim/tunerdescr.h"

#include <gtest/gtest.h>

#include <QFile>
#include <algorithm>
#include <functional>
#include <vector>

#include "util/inifile.h"

namespace qz {
namespace {

struct Records {
  TTunerDescr d;
  TMotState mot;
  TSimState sim;
  TTunerRecords r() { return TTunerRecords{d, mot, sim}; }
  bool Line(const QString& line) { return TU_MdlAnalyzLine(line, r()); }
};

// One integer key: a value within range is taken, the others give the default.
struct IntCase {
  const char* key;
  const char* value;
  std::function<int64_t(const Records&)> get;
  int64_t expected;
};

TEST(TU_MdlAnalyzIni, IntegerRangesAndDefaults) {
  const auto modelNo = [](const Records& x) { return int64_t{x.d.ModelNo}; };
  const auto modifNo = [](const Records& x) { return int64_t{x.d.ModifNo}; };
  const auto maxIter = [](const Records& x) { return int64_t{x.mot.MaxIter}; };
  const auto breakUp = [](const Records& x) { return int64_t{x.mot.BreakUp}; };
  const auto minStep = [](const Records& x) { return int64_t{x.mot.MinStep}; };
  const auto maxSteps = [](const Records& x) { return int64_t{x.d.MaxSteps}; };
  const auto cell = [](const Records& x) { return int64_t{x.d.CellType}; };
  const auto wga = [](const Records& x) { return int64_t{x.d.WgA_um}; };
  const auto lref = [](const Records& x) { return int64_t{x.d.Lref_um}; };
  const auto inRate = [](const Records& x) { return int64_t{x.d.InRate}; };
  const auto outRate = [](const Records& x) { return int64_t{x.d.OutRate}; };
  const auto maxMag = [](const Records& x) { return int64_t{x.sim.MaxMag_mU}; };
  const auto rstAdd = [](const Records& x) { return int64_t{x.d.RstAddIn}; };
  const auto zeroExt = [](const Records& x) { return int64_t{x.d.StubZeroExt_um}; };
  const auto lsph = [](const Records& x) { return int64_t{x.d.Ls_pH}; };
  const auto ser = [](const Records& x) { return int64_t{x.d.SerNum}; };
  const IntCase cases[] = {
      // Identity bytes: 0..255, else 0 (a byte cannot hold more).
      {"MODELNO", "255", modelNo, 255},
      {"MODELNO", "256", modelNo, 0},
      {"MODIFNO", "-1", modifNo, 0},
      {"MODIFNO", "7", modifNo, 7},
      {"SERNUM", "65535", ser, 65535},
      {"SERNUM", "65536", ser, 0},
      // Search limits stored in 16 bits: never wrap round to 0.
      {"MAXITER", "65535", maxIter, 65535},
      {"MAXITER", "65536", maxIter, 100},
      {"MAXITER", "0", maxIter, 100},
      {"MAXITER", "1", maxIter, 1},
      {"BREAKUP", "5", breakUp, 5},
      {"BREAKUP", "4", breakUp, 30},
      {"BREAKUP", "70000", breakUp, 30},
      {"MINSTEP", "0", minStep, 2},
      {"MINSTEP", "65535", minStep, 65535},
      {"MINSTEP", "x", minStep, 2},
      {"MAXSTEPS", "9", maxSteps, 5000},
      {"MAXSTEPS", "10", maxSteps, 10},
      {"MAXSTEPS", "65535", maxSteps, 65535},
      {"CELLTYPE", "2", cell, 2},
      {"CELLTYPE", "256", cell, 0},
      {"CELLTYPE", "", cell, 0},
      // "default current": the value held stays.
      {"WGA_UM", "0", wga, 12345},
      {"WGA_UM", "1000001", wga, 12345},
      {"WGA_UM", "1000000", wga, 1000000},
      {"LREF_UM", "-10000000", lref, -10000000},
      {"LCAL_UM", "-20", lref, -20},
      {"LREF_UM", "10000001", lref, 777},
      {"INRATE", "499", inRate, 3000},
      {"OUTRATE", "65535", outRate, 65535},
      {"MAXMAG_MU", "1001", maxMag, 1000},
      {"MAXMAG_MU", "0", maxMag, 0},
      {"RSTADDIN", "1001", rstAdd, 5},
      {"STUBZEROEXT_UM", "-1000001", zeroExt, 0},
      {"STUBZEROEXT_UM", "-1000000", zeroExt, -1000000},
      {"LS_PH", "-2147483647", lsph, -2147483647},
      {"LS_PH", "-2147483648", lsph, 99},
      // A comment after the number does not make it unreadable.
      {"MAXSTEPS", "1234 ; steps", maxSteps, 1234},
  };
  for (const IntCase& c : cases) {
    Records x;
    x.d.WgA_um = 12345;
    x.d.Lref_um = 777;
    x.d.Ls_pH = 99;
    x.d.MaxSteps = 1;
    x.mot.MaxIter = x.mot.BreakUp = x.mot.MinStep = 9;
    x.d.CellType = 9;
    x.d.InRate = x.d.OutRate = 1;
    x.sim.MaxMag_mU = 3;
    x.d.RstAddIn = 1;
    x.d.StubZeroExt_um = 4;
    x.d.ModelNo = x.d.ModifNo = 9;
    x.d.SerNum = 9;
    EXPECT_TRUE(TU_MdlAnalyzIni(QString::fromLatin1(c.key), QString::fromLatin1(c.value), x.r()));
    EXPECT_EQ(c.get(x), c.expected) << c.key << "=" << c.value;
  }
}

TEST(TU_MdlAnalyzIni, RealKeys) {
  Records x;
  x.d.MmPerStep = 0.02;
  EXPECT_TRUE(x.Line(QStringLiteral("MmPerStep=0.005")));
  EXPECT_DOUBLE_EQ(x.d.MmPerStep, 0.005);
  EXPECT_TRUE(x.Line(QStringLiteral("MmPerStep=11")));  // above 10 mm: kept
  EXPECT_DOUBLE_EQ(x.d.MmPerStep, 0.005);
  EXPECT_TRUE(x.Line(QStringLiteral("MmPerStep=0,001")));  // a comma counts as the point
  EXPECT_DOUBLE_EQ(x.d.MmPerStep, 0.001);
  EXPECT_TRUE(x.Line(QStringLiteral("MmPerStep=nan")));
  EXPECT_DOUBLE_EQ(x.d.MmPerStep, 0.001);

  EXPECT_TRUE(x.Line(QStringLiteral("MaxInsert_mm=-12.5")));
  EXPECT_DOUBLE_EQ(x.sim.UserMax_mm, 12.5);
  // Unreadable: the operator's maximum is left unset.
  EXPECT_TRUE(x.Line(QStringLiteral("MaxInsert_mm=abc")));
  EXPECT_DOUBLE_EQ(x.sim.UserMax_mm, -1.0);

  EXPECT_TRUE(x.Line(QStringLiteral("Par1Coef2_3=1.5e38")));
  EXPECT_DOUBLE_EQ(x.d.Par1.C[2][3], 1.5e38);
  EXPECT_TRUE(x.Line(QStringLiteral("Par1Coef2_3=2e39")));  // beyond +-1e39: default 0
  EXPECT_DOUBLE_EQ(x.d.Par1.C[2][3], 0.0);
}

TEST(TU_MdlAnalyzIni, TextsAreCut) {
  Records x;
  const QString longText(40, QLatin1Char('M'));
  x.Line(QStringLiteral("TuManuf=") + longText);
  EXPECT_EQ(x.d.Manuf, QString(32, QLatin1Char('M')));
  x.Line(QStringLiteral("TuNick=Nick"));
  x.Line(QStringLiteral("TuModel=Model"));
  x.Line(QStringLiteral("TuIntMdl=Int"));
  EXPECT_EQ(x.d.Nick, QStringLiteral("Nick"));
  EXPECT_EQ(x.d.Model, QStringLiteral("Model"));
  EXPECT_EQ(x.d.IntMdl, QStringLiteral("Int"));
  x.Line(QStringLiteral("MotManuf=ABCDEFGHIJ"));
  x.Line(QStringLiteral("MotModel=XY"));
  EXPECT_EQ(x.d.MotManuf, QStringLiteral("ABCDEFGH"));
  EXPECT_EQ(x.d.MotModel, QStringLiteral("XY"));
  x.Line(QStringLiteral("AddInfo=") + QString(300, QLatin1Char('a')));
  EXPECT_EQ(x.d.AddInfo.size(), 255);
  // A text keeps its semicolons and equals signs.
  x.Line(QStringLiteral("StubChokeInfo=choke; lambda/4 = 30 mm"));
  EXPECT_EQ(x.d.StubChokeInfo, QStringLiteral("choke; lambda/4 = 30 mm"));
}

TEST(TU_MdlAnalyzIni, PrefixedKeysAndTheirIndexes) {
  Records x;
  x.d.StubDist[1] = x.d.StubDist[2] = x.d.StubDist[3] = 5;
  EXPECT_TRUE(x.Line(QStringLiteral("StubDist2=1000")));
  EXPECT_EQ(x.d.StubDist[2], 1000);
  x.Line(QStringLiteral("STUBDIST4=2000"));  // index outside 1..3: line ignored
  x.Line(QStringLiteral("STUBDIST0=2000"));
  x.Line(QStringLiteral("STUBDIST=2000"));
  EXPECT_EQ(x.d.StubDist[1], 5);
  EXPECT_EQ(x.d.StubDist[3], 5);
  x.Line(QStringLiteral("StubDist3=10000001"));  // out of range: current
  EXPECT_EQ(x.d.StubDist[3], 5);

  x.Line(QStringLiteral("NZERO3=17"));
  EXPECT_EQ(x.d.Nzero[3], 17);
  x.Line(QStringLiteral("NZERO3=1001"));
  EXPECT_EQ(x.d.Nzero[3], 17);

  x.Line(QStringLiteral("Par1Nh=4"));
  x.Line(QStringLiteral("Par2NH=10"));  // out of range: default 0
  EXPECT_EQ(x.d.Par1.NH, 4);
  EXPECT_EQ(x.d.Par2.NH, 0);
  x.Line(QStringLiteral("Par1Nf9=3"));
  x.Line(QStringLiteral("Par2Nf0=10"));
  EXPECT_EQ(x.d.Par1.NF[9], 3);
  EXPECT_EQ(x.d.Par2.NF[0], 0);
  x.d.Par1.NF[0] = 6;
  x.Line(QStringLiteral("Par1Nf10=3"));  // index 10: ignored
  EXPECT_EQ(x.d.Par1.NF[0], 6);

  x.Line(QStringLiteral("Par2Coef9_9=-2.5"));
  x.Line(QStringLiteral("par2coef0_0=4"));
  EXPECT_DOUBLE_EQ(x.d.Par2.C[9][9], -2.5);
  EXPECT_DOUBLE_EQ(x.d.Par2.C[0][0], 4.0);
  x.Line(QStringLiteral("Par2Coef10_1=7"));
  x.Line(QStringLiteral("Par2Coef1-1=7"));
  x.Line(QStringLiteral("Par2Coef11=7"));
  EXPECT_DOUBLE_EQ(x.d.Par2.C[1][0], 0.0);
  EXPECT_DOUBLE_EQ(x.d.Par2.C[1][1], 0.0);

  // The older form: X the first model, B the second.
  x.d.Par1.C[0] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  x.d.Par1.C[1][0] = 11;
  x.Line(QStringLiteral("NHX=3"));
  EXPECT_EQ(x.d.Par1.NH, 3);
  for (double c : x.d.Par1.C[0]) EXPECT_EQ(c, 0.0);
  EXPECT_EQ(x.d.Par1.C[1][0], 11);
  x.Line(QStringLiteral("NHB=5"));  // outside 1..4: default 1
  EXPECT_EQ(x.d.Par2.NH, 1);
  x.Line(QStringLiteral("NFX4=3"));
  x.Line(QStringLiteral("NFB1=4"));  // outside 0..3: 0
  x.Line(QStringLiteral("NFX0=2"));  // index outside 1..4
  EXPECT_EQ(x.d.Par1.NF[4], 3);
  EXPECT_EQ(x.d.Par2.NF[1], 0);
  EXPECT_EQ(x.d.Par1.NF[0], 6);
  EXPECT_DOUBLE_EQ(x.d.Par2.C[0][0], 0.0);  // cleared by NHB
  x.d.Par2.C[0][0] = 4.0;
  x.Line(QStringLiteral("POLEX4_3=0.25"));
  x.Line(QStringLiteral("POLEB1_0=-8"));
  x.Line(QStringLiteral("POLEB0_0=9"));  // i outside 1..4
  x.Line(QStringLiteral("POLEB1_4=9"));  // j outside 0..3
  EXPECT_DOUBLE_EQ(x.d.Par1.C[4][3], 0.25);
  EXPECT_DOUBLE_EQ(x.d.Par2.C[1][0], -8.0);
  EXPECT_DOUBLE_EQ(x.d.Par2.C[0][0], 4.0);
  EXPECT_DOUBLE_EQ(x.d.Par2.C[1][4], 0.0);
}

TEST(TU_MdlAnalyzLine, CaseBlanksCrLfCommentsAndUnknownKeys) {
  Records x;
  EXPECT_TRUE(x.Line(QStringLiteral("MaxSteps=1234\r\n")));
  EXPECT_EQ(x.d.MaxSteps, 1234);
  EXPECT_TRUE(x.Line(QStringLiteral("  maxsteps = 2345\r")));
  EXPECT_EQ(x.d.MaxSteps, 2345);
  EXPECT_TRUE(x.Line(QStringLiteral("TuNick=Name\r")));
  EXPECT_EQ(x.d.Nick, QStringLiteral("Name"));

  EXPECT_FALSE(x.Line(QStringLiteral(";MaxSteps=100")));
  EXPECT_FALSE(x.Line(QStringLiteral("[MaxSteps=100]")));
  EXPECT_FALSE(x.Line(QStringLiteral("MaxSteps")));
  EXPECT_FALSE(x.Line(QString()));
  EXPECT_FALSE(x.Line(QStringLiteral("Visible=1")));
  EXPECT_FALSE(x.Line(QStringLiteral("MaxStepsX=100")));
  EXPECT_EQ(x.d.MaxSteps, 2345);
}

TTunerDescr ReadBack(const IniFile& ini, TMotState* mot = nullptr, TSimState* sim = nullptr) {
  Records x;
  x.d = TTunerDescr{};
  for (const QString& line : ini.Lines()) x.Line(line);
  if (mot) *mot = x.mot;
  if (sim) *sim = x.sim;
  return x.d;
}

void ExpectSameDescr(const TTunerDescr& a, const TTunerDescr& b) {
  EXPECT_EQ(a.Manuf, b.Manuf);
  EXPECT_EQ(a.Nick, b.Nick);
  EXPECT_EQ(a.Model, b.Model);
  EXPECT_EQ(a.IntMdl, b.IntMdl);
  EXPECT_EQ(a.ModelNo, b.ModelNo);
  EXPECT_EQ(a.ModifNo, b.ModifNo);
  EXPECT_EQ(a.SerNum, b.SerNum);
  EXPECT_EQ(a.WgA_um, b.WgA_um);
  EXPECT_EQ(a.WgB_um, b.WgB_um);
  EXPECT_EQ(a.FnominKHz, b.FnominKHz);
  EXPECT_EQ(a.CellType, b.CellType);
  EXPECT_EQ(a.Ltot_um, b.Ltot_um);
  EXPECT_EQ(a.Lref_um, b.Lref_um);
  EXPECT_EQ(a.StubDist, b.StubDist);
  EXPECT_EQ(a.StubDia_um, b.StubDia_um);
  EXPECT_EQ(a.StubRe_um, b.StubRe_um);
  EXPECT_EQ(a.StubZeroExt_um, b.StubZeroExt_um);
  EXPECT_EQ(a.StubChokeInfo, b.StubChokeInfo);
  EXPECT_EQ(a.AddInfo, b.AddInfo);
  EXPECT_EQ(a.ShortWgA_um, b.ShortWgA_um);
  EXPECT_EQ(a.ShortWgB_um, b.ShortWgB_um);
  EXPECT_EQ(a.Ls_pH, b.Ls_pH);
  EXPECT_EQ(a.MotManuf, b.MotManuf);
  EXPECT_EQ(a.MotModel, b.MotModel);
  EXPECT_EQ(a.MaxSteps, b.MaxSteps);
  EXPECT_EQ(a.MmPerStep, b.MmPerStep);
  EXPECT_EQ(a.MaxRstSteps, b.MaxRstSteps);
  EXPECT_EQ(a.InRate, b.InRate);
  EXPECT_EQ(a.OutRate, b.OutRate);
  EXPECT_EQ(a.Ramp, b.Ramp);
  EXPECT_EQ(a.MinRate, b.MinRate);
  EXPECT_EQ(a.RstRate, b.RstRate);
  EXPECT_EQ(a.RstAddIn, b.RstAddIn);
  EXPECT_EQ(a.RstAddOut, b.RstAddOut);
  EXPECT_EQ(a.Nzero, b.Nzero);
  for (const bool second : {false, true}) {
    const TStubModel& ma = second ? a.Par2 : a.Par1;
    const TStubModel& mb = second ? b.Par2 : b.Par1;
    EXPECT_EQ(ma.NH, mb.NH);
    for (int i = 0; i <= ma.NH; ++i) {
      const auto iu = static_cast<std::size_t>(i);
      EXPECT_EQ(ma.NF[iu], mb.NF[iu]);
      for (int j = 0; j <= ma.NF[iu]; ++j)
        EXPECT_EQ(ma.C[iu][static_cast<std::size_t>(j)], mb.C[iu][static_cast<std::size_t>(j)]);
    }
  }
}

TEST(WriteTunerDescr, ReadsBackAsWritten) {
  TTunerDescr d = DefaultTunerDescr();
  d.CellType = kCellCoax;
  d.Lref_um = -1234;
  d.Ls_pH = -5000;
  d.StubZeroExt_um = -77;
  d.AddInfo = QStringLiteral("semi; colon");
  d.Par1.C[2][0] = 0.1 + 0.2;  // needs every digit
  TMotState mot;
  mot.MaxIter = 65535;
  mot.BreakUp = 50;
  mot.MinStep = 7;
  TSimState sim;
  sim.MaxMag_mU = 800;
  sim.UserMax_mm = 22.5;

  IniFile ini;
  WriteTunerDescr(ini, QStringLiteral("Model"), d, mot, sim);
  TMotState mot2;
  TSimState sim2;
  ExpectSameDescr(ReadBack(ini, &mot2, &sim2), d);
  EXPECT_EQ(mot2.MaxIter, 65535);
  EXPECT_EQ(mot2.BreakUp, 50);
  EXPECT_EQ(mot2.MinStep, 7);
  EXPECT_EQ(sim2.MaxMag_mU, 800);
  EXPECT_DOUBLE_EQ(sim2.UserMax_mm, 22.5);

  const QStringList keys = ini.ReadSection(QStringLiteral("Model"));
  EXPECT_EQ(keys.first(), QStringLiteral("TuManuf"));
  EXPECT_EQ(keys.last(), QStringLiteral("MaxInsert_mm"));
  EXPECT_TRUE(keys.contains(QStringLiteral("StubDist3")));
  EXPECT_TRUE(keys.contains(QStringLiteral("Nzero1")));
  EXPECT_TRUE(keys.contains(QStringLiteral("Par2Coef3_1")));
  EXPECT_FALSE(keys.contains(QStringLiteral("Par2Coef3_2")));  // above NF[3]
}

TEST(WriteTunerDescr, DropsStubModelKeysOfALargerEarlierDescription) {
  IniFile ini;
  ini.WriteString(QStringLiteral("Model"), QStringLiteral("Par1Coef8_8"), QStringLiteral("5"));
  ini.WriteString(QStringLiteral("Model"), QStringLiteral("Par2Nf7"), QStringLiteral("3"));
  ini.WriteString(QStringLiteral("Model"), QStringLiteral("Freq"), QStringLiteral("2450"));
  WriteTunerDescr(ini, QStringLiteral("Model"), DefaultTunerDescr(), TMotState{}, TSimState{});
  EXPECT_FALSE(ini.ValueExists(QStringLiteral("Model"), QStringLiteral("Par1Coef8_8")));
  EXPECT_FALSE(ini.ValueExists(QStringLiteral("Model"), QStringLiteral("Par2Nf7")));
  EXPECT_TRUE(ini.ValueExists(QStringLiteral("Model"), QStringLiteral("Freq")));
}

TEST(DefaultTunerDescr, IsAWaveguideTunerForTheDefaultGuide) {
  const TTunerDescr d = DefaultTunerDescr();
  EXPECT_EQ(d.WgA_um, 86360);
  EXPECT_EQ(d.WgB_um, 43180);
  EXPECT_EQ(d.FnominKHz, 2450000);
  EXPECT_EQ(d.CellType, kCellWaveguide);
  EXPECT_LT(d.StubDist[1], d.StubDist[2]);
  EXPECT_LT(d.StubDist[2], d.StubDist[3]);
  EXPECT_LT(d.StubDist[3], d.Ltot_um);
  // Full travel stays inside the guide's narrow side.
  EXPECT_LT(d.MaxSteps * d.MmPerStep, d.WgB_um / 1000.0);
}

TEST(DefaultTunerDescr, TheShippedDefaultSetupHoldsIt) {
  IniFile ini(QStringLiteral(QZ_TEST_DATA_DIR "/../../share/qzsim/QzSim0.ini"));
  ASSERT_TRUE(ini.SectionExists(QStringLiteral("Model")));
  TMotState mot;
  TSimState sim;
  ExpectSameDescr(ReadBack(ini, &mot, &sim), DefaultTunerDescr());
  EXPECT_EQ(mot.MaxIter, kAtDefMaxIter);
  EXPECT_EQ(mot.BreakUp, kAtDefBreakUp);
  EXPECT_EQ(mot.MinStep, kAtDefMinStep);
  EXPECT_EQ(sim.MaxMag_mU, 1000);
}

// The field table places every field of a block in bytes of its own, inside the block, and
// every key is written and read under one name.
TEST(TunerDescrFields, BlocksHoldEachFieldInBytesOfItsOwn) {
  const struct {
    TMemBlock block;
    int size;
  } blocks[] = {{TMemBlock::Identity, 172}, {TMemBlock::Motor, 54}, {TMemBlock::Cell, 512}};
  const auto width = [](const TDescrField& f) {
    switch (f.mem) {
      case TMemType::U8:
        return 1;
      case TMemType::U16:
        return 2;
      case TMemType::I32:
        return 4;
      case TMemType::F64:
        return 8;
      case TMemType::Text:
        return f.step;
    }
    return 0;
  };
  for (const auto& b : blocks) {
    std::vector<int> owner(size_t(b.size), -1);
    for (size_t n = 0; n < TunerDescrFields().size(); ++n) {
      const TDescrField& f = TunerDescrFields()[n];
      if (f.block != b.block) continue;
      for (int k = 0; k < std::max(f.count, 1); ++k) {
        const int at = f.offset + (f.count ? f.step * k : 0);
        for (int byte = at; byte < at + width(f); ++byte) {
          ASSERT_LT(byte, b.size) << f.key;
          EXPECT_EQ(owner[size_t(byte)], -1) << f.key << " overlaps at " << byte;
          owner[size_t(byte)] = int(n);
        }
      }
    }
  }
  QStringList keys;
  for (const TDescrField& f : TunerDescrFields()) {
    EXPECT_NE(f.block, TMemBlock::None) << f.key;
    for (int k = f.count ? 1 : 0; k <= f.count; ++k) keys << f.KeyOf(k).toUpper();
  }
  keys.removeDuplicates();
  int total = 0;
  for (const TDescrField& f : TunerDescrFields()) total += std::max(f.count, 1);
  EXPECT_EQ(keys.size(), total);
}

// The written keys read back through the table into the same description, for the built-in
// one and for one whose every number sits at the end of its range.
TEST(TunerDescrFields, EveryKeyAtItsLimitsReadsBack) {
  for (const bool high : {false, true}) {
    TTunerDescr d = DefaultTunerDescr();
    for (const TDescrField& f : TunerDescrFields()) {
      for (int k = f.count ? 1 : 0; k <= f.count; ++k) {
        if (f.kind == TDescrField::Text)
          f.text(d) = QString(int(f.hi), QChar(high ? 'z' : 'a'));
        else
          f.set(d, k, high ? f.hi : f.lo);
      }
    }
    TMotState mot;
    TSimState sim;
    IniFile ini;
    WriteTunerDescr(ini, QStringLiteral("Model"), d, mot, sim);
    TTunerDescr back;
    TMotState mot2;
    TSimState sim2;
    for (const QString& key : ini.ReadSection(QStringLiteral("Model")))
      TU_MdlAnalyzIni(key, ini.ReadString(QStringLiteral("Model"), key, QString()),
                      TTunerRecords{back, mot2, sim2});
    EXPECT_TRUE(back == d) << high;
  }
}

}  // namespace
}  // namespace qz
