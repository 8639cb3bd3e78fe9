#include "sim/tunerdescr.h"

#include <cmath>
#include <cstdint>

#include "util/inifile.h"
#include "util/strtools.h"
#include "util/valueinput.h"

namespace qz {

namespace {

constexpr int kTextLen = 32;
constexpr int kInfoLen = 255;
constexpr int kMotTextLen = 8;
constexpr double kCoefLimit = 1e39;
constexpr int32_t kInt32Max = 2147483647;

// The number part of a value: a "; comment" after it is not part of the number.
QString NumPart(const QString& value) {
  const qsizetype semi = value.indexOf(QLatin1Char(';'));
  return (semi >= 0 ? value.left(semi) : value).trimmed();
}

int32_t Int(const QString& value, int32_t def, int32_t lo, int32_t hi) {
  return TextToIntInRange(NumPart(value), def, lo, hi, false);
}

double Real(const QString& value, double def, double lo, double hi) {
  return TextToFloatInRange(NumPart(value), def, lo, hi, false).value;
}

template <typename T>
T IntAs(const QString& value, int32_t def, int32_t lo, int32_t hi) {
  return static_cast<T>(Int(value, def, lo, hi));
}

TStubModel& ModelOf(TTunerDescr& d, bool second) { return second ? d.Par2 : d.Par1; }

std::size_t Ix(int i) { return static_cast<std::size_t>(i); }

// The prefixed keys; false when the key is none of them.
bool AnalyzPrefixed(const QString& key, const QString& value, const TTunerRecords& r) {
  TTunerDescr& d = r.Descr;
  int i = 0;
  int j = 0;
  const auto starts = [&key](const char* prefix) { return key.startsWith(QLatin1String(prefix)); };

  if (starts("STUBDIST")) {
    if (PrefixedInt(key, QStringLiteral("STUBDIST"), 1, 3, &i))
      d.StubDist[i] = Int(value, d.StubDist[i], 0, 10000000);
    return true;
  }
  if (starts("NZERO")) {
    if (PrefixedInt(key, QStringLiteral("NZERO"), 1, 3, &i))
      d.Nzero[i] = IntAs<uint16_t>(value, d.Nzero[i], 0, 1000);
    return true;
  }
  for (const bool second : {false, true}) {
    TStubModel& m = ModelOf(d, second);
    const QString par = second ? QStringLiteral("PAR2") : QStringLiteral("PAR1");
    const QString nf = par + QStringLiteral("NF");
    const QString coef = par + QStringLiteral("COEF");
    if (key.startsWith(nf)) {
      if (PrefixedInt(key, nf, 0, 9, &i)) m.NF[Ix(i)] = Int(value, 0, 0, 9);
      return true;
    }
    if (key.startsWith(coef)) {
      if (PrefixedIntPair(key, coef, 0, 9, 0, 9, &i, &j))
        m.C[Ix(i)][Ix(j)] = Real(value, 0.0, -kCoefLimit, kCoefLimit);
      return true;
    }
    // The older form of the stub model: X the first model, B the second.
    const QString nfOld = second ? QStringLiteral("NFB") : QStringLiteral("NFX");
    const QString pole = second ? QStringLiteral("POLEB") : QStringLiteral("POLEX");
    if (key.startsWith(nfOld)) {
      if (PrefixedInt(key, nfOld, 1, 4, &i)) m.NF[Ix(i)] = Int(value, 0, 0, 3);
      return true;
    }
    if (key.startsWith(pole)) {
      if (PrefixedIntPair(key, pole, 1, 4, 0, 3, &i, &j))
        m.C[Ix(i)][Ix(j)] = Real(value, 0.0, -kCoefLimit, kCoefLimit);
      return true;
    }
  }
  return false;
}

}  // namespace

bool TU_MdlAnalyzIni(const QString& rawKey, const QString& value, const TTunerRecords& r) {
  const QString key = rawKey.trimmed().toUpper();
  TTunerDescr& d = r.Descr;
  const auto is = [&key](const char* k) { return key == QLatin1String(k); };

  if (is("TUMANUF")) {
    d.Manuf = CutShortString(value, kTextLen);
  } else if (is("TUNICK")) {
    d.Nick = CutShortString(value, kTextLen);
  } else if (is("TUMODEL")) {
    d.Model = CutShortString(value, kTextLen);
  } else if (is("TUINTMDL")) {
    d.IntMdl = CutShortString(value, kTextLen);
  } else if (is("MODELNO")) {
    // Held in a byte: a larger number would wrap round to another model.
    d.ModelNo = IntAs<uint8_t>(value, 0, 0, 255);
  } else if (is("MODIFNO")) {
    d.ModifNo = IntAs<uint8_t>(value, 0, 0, 255);
  } else if (is("SERNUM")) {
    d.SerNum = IntAs<uint16_t>(value, 0, 0, 65535);
  } else if (is("WGA_UM")) {
    d.WgA_um = Int(value, d.WgA_um, 1, 1000000);
  } else if (is("WGB_UM")) {
    d.WgB_um = Int(value, d.WgB_um, 1, 1000000);
  } else if (is("FNOMINKHZ")) {
    d.FnominKHz = Int(value, d.FnominKHz, 1, 100000000);
  } else if (is("CELLTYPE")) {
    d.CellType = IntAs<uint8_t>(value, 0, 0, 255);
  } else if (is("LTOT_UM")) {
    d.Ltot_um = Int(value, d.Ltot_um, 1, 10000000);
  } else if (is("LREF_UM") || is("LCAL_UM")) {
    d.Lref_um = Int(value, d.Lref_um, -10000000, 10000000);
  } else if (is("STUBDIA_UM")) {
    d.StubDia_um = Int(value, d.StubDia_um, 1, 1000000);
  } else if (is("STUBRE_UM")) {
    d.StubRe_um = Int(value, d.StubRe_um, 1, 1000000);
  } else if (is("SHORTWGA_UM")) {
    d.ShortWgA_um = Int(value, d.ShortWgA_um, 1, 1000000);
  } else if (is("SHORTWGB_UM")) {
    d.ShortWgB_um = Int(value, d.ShortWgB_um, 1, 1000000);
  } else if (is("STUBZEROEXT_UM")) {
    d.StubZeroExt_um = Int(value, 0, -1000000, 1000000);
  } else if (is("STUBCHOKEINFO")) {
    d.StubChokeInfo = CutShortString(value, kInfoLen);
  } else if (is("ADDINFO")) {
    d.AddInfo = CutShortString(value, kInfoLen);
  } else if (is("LS_PH")) {
    d.Ls_pH = Int(value, d.Ls_pH, -kInt32Max, kInt32Max);
  } else if (is("MOTMANUF")) {
    d.MotManuf = CutShortString(value, kMotTextLen);
  } else if (is("MOTMODEL")) {
    d.MotModel = CutShortString(value, kMotTextLen);
  } else if (is("MMPERSTEP")) {
    d.MmPerStep = Real(value, d.MmPerStep, 1e-6, 10.0);
  } else if (is("MAXSTEPS")) {
    d.MaxSteps = IntAs<uint16_t>(value, 5000, 10, 65535);
  } else if (is("MAXINSERT_MM")) {
    // An unreadable value leaves the operator's maximum unset (negative), not some made-up one.
    const TFloatInRange v = TextToFloatInRange(NumPart(value), -1.0, -1e12, 1e12, false);
    r.Sim.UserMax_mm = v.status == 0 ? std::fabs(v.value) : -1.0;
  } else if (is("MAXMAG_MU")) {
    r.Sim.MaxMag_mU = IntAs<uint16_t>(value, 1000, 0, 1000);
  } else if (is("MAXRSTSTEPS")) {
    d.MaxRstSteps = IntAs<uint16_t>(value, 6000, 100, 65535);
  } else if (is("INRATE")) {
    d.InRate = IntAs<uint16_t>(value, 3000, 500, 65535);
  } else if (is("OUTRATE")) {
    d.OutRate = IntAs<uint16_t>(value, 3000, 500, 65535);
  } else if (is("RAMP")) {
    d.Ramp = IntAs<uint16_t>(value, d.Ramp, 0, 65535);
  } else if (is("MINRATE")) {
    d.MinRate = IntAs<uint16_t>(value, 500, 10, 65535);
  } else if (is("RSTRATE")) {
    d.RstRate = IntAs<uint16_t>(value, 800, 10, 65535);
  } else if (is("RSTADDIN")) {
    d.RstAddIn = IntAs<uint16_t>(value, 5, 0, 1000);
  } else if (is("RSTADDOUT")) {
    d.RstAddOut = IntAs<uint16_t>(value, 5, 0, 1000);
  } else if (is("PAR1NH")) {
    d.Par1.NH = Int(value, 0, 0, 9);
  } else if (is("PAR2NH")) {
    d.Par2.NH = Int(value, 0, 0, 9);
  } else if (is("NHX") || is("NHB")) {
    TStubModel& m = ModelOf(d, is("NHB"));
    m.NH = Int(value, 1, 1, 4);
    m.C[0].fill(0.0);
  } else if (is("MAXITER")) {
    // The limits are 16-bit in the motor state: 65536 would become 0 and never end a search.
    r.Mot.MaxIter = IntAs<uint16_t>(value, kAtDefMaxIter, 1, 65535);
  } else if (is("BREAKUP")) {
    r.Mot.BreakUp = IntAs<uint16_t>(value, kAtDefBreakUp, 5, 65535);
  } else if (is("MINSTEP")) {
    r.Mot.MinStep = IntAs<uint16_t>(value, kAtDefMinStep, 1, 65535);
  } else {
    return AnalyzPrefixed(key, value, r);
  }
  return true;
}

bool TU_MdlAnalyzLine(const QString& line, const TTunerRecords& r) {
  QString s = line;
  while (s.endsWith(QLatin1Char('\r')) || s.endsWith(QLatin1Char('\n'))) s.chop(1);
  const QString lead = s.trimmed();
  if (lead.startsWith(QLatin1Char(';')) || lead.startsWith(QLatin1Char('['))) return false;
  const qsizetype eq = s.indexOf(QLatin1Char('='));
  if (eq <= 0) return false;
  return TU_MdlAnalyzIni(s.left(eq), s.mid(eq + 1).trimmed(), r);
}

void WriteTunerDescr(IniFile& ini, const QString& section, const TTunerDescr& d,
                     const TMotState& mot, const TSimState& sim) {
  for (const QString& key : ini.ReadSection(section)) {
    const QString k = key.toUpper();
    if (k.startsWith(QLatin1String("PAR1NF")) || k.startsWith(QLatin1String("PAR1COEF")) ||
        k.startsWith(QLatin1String("PAR2NF")) || k.startsWith(QLatin1String("PAR2COEF")))
      ini.DeleteKey(section, key);
  }
  const auto str = [&](const char* key, const QString& v) {
    ini.WriteString(section, QLatin1String(key), v);
  };
  const auto num = [&](const QString& key, int64_t v) { ini.WriteInteger(section, key, v); };
  const auto n = [&](const char* key, int64_t v) { num(QLatin1String(key), v); };

  str("TuManuf", d.Manuf);
  str("TuNick", d.Nick);
  str("TuModel", d.Model);
  str("TuIntMdl", d.IntMdl);
  n("ModelNo", d.ModelNo);
  n("ModifNo", d.ModifNo);
  n("SerNum", d.SerNum);
  n("WgA_um", d.WgA_um);
  n("WgB_um", d.WgB_um);
  n("FnominKHz", d.FnominKHz);
  n("CellType", d.CellType);
  n("Ltot_um", d.Ltot_um);
  n("Lref_um", d.Lref_um);
  for (int k = 1; k <= 3; ++k) num(QStringLiteral("StubDist%1").arg(k), d.StubDist[k]);
  n("StubDia_um", d.StubDia_um);
  n("StubRe_um", d.StubRe_um);
  n("StubZeroExt_um", d.StubZeroExt_um);
  str("StubChokeInfo", d.StubChokeInfo);
  n("ShortWgA_um", d.ShortWgA_um);
  n("ShortWgB_um", d.ShortWgB_um);
  n("Ls_pH", d.Ls_pH);
  str("AddInfo", d.AddInfo);
  str("MotManuf", d.MotManuf);
  str("MotModel", d.MotModel);
  n("MaxSteps", d.MaxSteps);
  n("MaxRstSteps", d.MaxRstSteps);
  ini.WriteFloat(section, QStringLiteral("MmPerStep"), d.MmPerStep);
  n("InRate", d.InRate);
  n("OutRate", d.OutRate);
  n("Ramp", d.Ramp);
  n("MinRate", d.MinRate);
  n("RstRate", d.RstRate);
  n("RstAddIn", d.RstAddIn);
  n("RstAddOut", d.RstAddOut);
  for (int k = 1; k <= 3; ++k) num(QStringLiteral("Nzero%1").arg(k), d.Nzero[k]);
  for (const bool second : {false, true}) {
    const TStubModel& m = second ? d.Par2 : d.Par1;
    const QString par = second ? QStringLiteral("Par2") : QStringLiteral("Par1");
    const int nh = m.NH < 0 ? 0 : (m.NH > 9 ? 9 : m.NH);
    num(par + QStringLiteral("Nh"), nh);
    for (int i = 0; i <= nh; ++i) num(par + QStringLiteral("Nf%1").arg(i), m.NF[Ix(i)]);
    for (int i = 0; i <= nh; ++i) {
      const int nf = m.NF[Ix(i)] < 0 ? 0 : (m.NF[Ix(i)] > 9 ? 9 : m.NF[Ix(i)]);
      for (int j = 0; j <= nf; ++j)
        ini.WriteFloat(section, par + QStringLiteral("Coef%1_%2").arg(i).arg(j), m.C[Ix(i)][Ix(j)]);
    }
  }
  n("MaxIter", mot.MaxIter);
  n("Breakup", mot.BreakUp);
  n("MinStep", mot.MinStep);
  n("MaxMag_mU", sim.MaxMag_mU);
  // The reader takes the absolute value: an unset maximum (negative) is not written, or it
  // would come back as a maximum of its own.
  if (sim.UserMax_mm > 0.0)
    ini.WriteFloat(section, QStringLiteral("MaxInsert_mm"), sim.UserMax_mm);
  else
    ini.DeleteKey(section, QStringLiteral("MaxInsert_mm"));
}

TTunerDescr DefaultTunerDescr() {
  TTunerDescr d;
  d.Manuf = QStringLiteral("Vostrel");
  d.Nick = QStringLiteral("Quzar Tuner");
  d.Model = QStringLiteral("QZTU-340");
  d.IntMdl = QStringLiteral("QZTU");
  d.ModelNo = 1;
  d.ModifNo = 0;
  d.SerNum = 0;
  d.WgA_um = 86360;
  d.WgB_um = 43180;
  d.FnominKHz = 2450000;
  d.CellType = kCellWaveguide;
  // The guide wavelength at 2.45 GHz is 173.4 mm; the stubs stand a quarter of it apart. The
  // reference plane is the input flange.
  d.Ltot_um = 210000;
  d.Lref_um = 210000;
  d.StubDist[1] = 60000;
  d.StubDist[2] = 103340;
  d.StubDist[3] = 146680;
  d.StubDia_um = 20000;
  d.StubRe_um = 10000;
  d.StubZeroExt_um = 0;
  d.StubChokeInfo = QStringLiteral("Quarter-wave choke");
  d.AddInfo = QStringLiteral("Built-in description");
  d.ShortWgA_um = 86360;
  d.ShortWgB_um = 43180;
  d.Ls_pH = 0;
  d.MotManuf = QStringLiteral("Vostrel");
  d.MotModel = QStringLiteral("ST57");
  d.MaxSteps = 3000;
  d.MmPerStep = 0.01;
  d.MaxRstSteps = 3300;
  d.InRate = 3000;
  d.OutRate = 3000;
  d.Ramp = 200;
  d.MinRate = 500;
  d.RstRate = 800;
  d.RstAddIn = 5;
  d.RstAddOut = 5;
  for (int k = 1; k <= 3; ++k) d.Nzero[k] = 0;
  // Model 1, the series reactance: small, growing with the square of the insertion.
  d.Par1 = TStubModel{};
  d.Par1.NH = 2;
  d.Par1.C[2][0] = 0.05;
  // Model 2, the shunt susceptance: grows steeply as the stub nears the opposite wall, and in
  // proportion to the frequency (1 % per percent of deviation).
  d.Par2 = TStubModel{};
  d.Par2.NH = 3;
  d.Par2.NF[1] = 1;
  d.Par2.NF[3] = 1;
  d.Par2.C[1][0] = 0.5;
  d.Par2.C[1][1] = 0.005;
  d.Par2.C[3][0] = 8.0;
  d.Par2.C[3][1] = 0.08;
  return d;
}

}  // namespace qz
