#include "sim/tunerdescr.h"

#include <cmath>
#include <cstdint>
#include <optional>
#include <type_traits>

#include "util/inifile.h"
#include "util/stpkeys.h"
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

// ---- the field table ---------------------------------------------------------------------------

template <auto M>
double Get(const TTunerDescr& d, int) {
  return double(d.*M);
}
template <auto M>
void Set(TTunerDescr& d, int, double v) {
  using T = std::remove_reference_t<decltype(d.*M)>;
  d.*M = T(v);
}
template <auto M>
double GetAt(const TTunerDescr& d, int i) {
  return double((d.*M)[i]);
}
template <auto M>
void SetAt(TTunerDescr& d, int i, double v) {
  using T = std::remove_reference_t<decltype((d.*M)[i])>;
  (d.*M)[i] = T(v);
}
template <auto M>
QString& Txt(TTunerDescr& d) {
  return d.*M;
}

using F = TDescrField;
using D = TTunerDescr;
constexpr TMemBlock kId = TMemBlock::Identity;
constexpr TMemBlock kMot = TMemBlock::Motor;
constexpr TMemBlock kCell = TMemBlock::Cell;
// Text fields of the memory file (length byte included).
constexpr int kIdentField = kTextLen + 1;
constexpr int kMotField = kMotTextLen + 1;
constexpr int kCellField = 244;

F TextField(const char* key, QString& (*text)(D&), int len, const char* def, TMemBlock b, int at,
            int field) {
  return F{key, nullptr, F::Text,        0,  0,     double(len), true,    0,   {},
           def, b,       TMemType::Text, at, field, nullptr,     nullptr, text};
}
// An integer field; `bad` is the value of an unreadable one (none: the present value stays).
F IntField(const char* key, double (*get)(const D&, int), void (*set)(D&, int, double), double lo,
           double hi, std::optional<double> bad, double def, TMemBlock b, TMemType mem, int at) {
  return F{key,     nullptr, F::Int, 0,  lo, hi,  !bad, bad.value_or(0), {def, 0, 0},
           nullptr, b,       mem,    at, 0,  get, set,  nullptr};
}

std::vector<TDescrField> MakeFields() {
  const auto none = std::nullopt;
  std::vector<F> f = {
      TextField("TuManuf", Txt<&D::Manuf>, kTextLen, "Vostrel", kId, 0, kIdentField),
      TextField("TuNick", Txt<&D::Nick>, kTextLen, "Quzar Tuner", kId, 33, kIdentField),
      TextField("TuModel", Txt<&D::Model>, kTextLen, "QZTU-340", kId, 66, kIdentField),
      TextField("TuIntMdl", Txt<&D::IntMdl>, kTextLen, "QZTU", kId, 99, kIdentField),
      // Held in a byte: a larger number would wrap round to another model.
      IntField("ModelNo", Get<&D::ModelNo>, Set<&D::ModelNo>, 0, 255, 0, 1, kId, TMemType::U8, 132),
      IntField("ModifNo", Get<&D::ModifNo>, Set<&D::ModifNo>, 0, 255, 0, 0, kId, TMemType::U8, 133),
      IntField("SerNum", Get<&D::SerNum>, Set<&D::SerNum>, 0, 65535, 0, 0, kId, TMemType::U16, 134),
      IntField("WgA_um", Get<&D::WgA_um>, Set<&D::WgA_um>, 1, 1000000, none, 86360, kId,
               TMemType::I32, 136),
      IntField("WgB_um", Get<&D::WgB_um>, Set<&D::WgB_um>, 1, 1000000, none, 43180, kId,
               TMemType::I32, 140),
      IntField("FnominKHz", Get<&D::FnominKHz>, Set<&D::FnominKHz>, 1, 100000000, none, 2450000,
               kId, TMemType::I32, 144),
      IntField("CellType", Get<&D::CellType>, Set<&D::CellType>, 0, 255, 0, kCellWaveguide, kId,
               TMemType::I32, 148),
      // The guide wavelength at 2.45 GHz is 173.4 mm; the stubs stand a quarter of it apart.
      // The reference plane is the input flange.
      IntField("Ltot_um", Get<&D::Ltot_um>, Set<&D::Ltot_um>, 1, 10000000, none, 210000, kId,
               TMemType::I32, 152),
      IntField("Lref_um", Get<&D::Lref_um>, Set<&D::Lref_um>, -10000000, 10000000, none, 210000,
               kId, TMemType::I32, 156),
      F{"StubDist",
        nullptr,
        F::Int,
        3,
        0,
        10000000,
        true,
        0,
        {60000, 103340, 146680},
        nullptr,
        kId,
        TMemType::I32,
        160,
        4,
        GetAt<&D::StubDist>,
        SetAt<&D::StubDist>,
        nullptr},
      IntField("StubDia_um", Get<&D::StubDia_um>, Set<&D::StubDia_um>, 1, 1000000, none, 20000,
               kCell, TMemType::I32, 0),
      IntField("StubRe_um", Get<&D::StubRe_um>, Set<&D::StubRe_um>, 1, 1000000, none, 10000, kCell,
               TMemType::I32, 4),
      IntField("StubZeroExt_um", Get<&D::StubZeroExt_um>, Set<&D::StubZeroExt_um>, -1000000,
               1000000, 0, 0, kCell, TMemType::I32, 8),
      TextField("StubChokeInfo", Txt<&D::StubChokeInfo>, kInfoLen, "Quarter-wave choke", kCell, 24,
                kCellField),
      IntField("ShortWgA_um", Get<&D::ShortWgA_um>, Set<&D::ShortWgA_um>, 1, 1000000, none, 86360,
               kCell, TMemType::I32, 12),
      IntField("ShortWgB_um", Get<&D::ShortWgB_um>, Set<&D::ShortWgB_um>, 1, 1000000, none, 43180,
               kCell, TMemType::I32, 16),
      IntField("Ls_pH", Get<&D::Ls_pH>, Set<&D::Ls_pH>, -kInt32Max, kInt32Max, none, 0, kCell,
               TMemType::I32, 20),
      TextField("AddInfo", Txt<&D::AddInfo>, kInfoLen, "Built-in description", kCell, 268,
                kCellField),
      TextField("MotManuf", Txt<&D::MotManuf>, kMotTextLen, "Vostrel", kMot, 32, kMotField),
      TextField("MotModel", Txt<&D::MotModel>, kMotTextLen, "ST57", kMot, 41, kMotField),
      IntField("MaxSteps", Get<&D::MaxSteps>, Set<&D::MaxSteps>, 10, 65535, 5000, 3000, kMot,
               TMemType::U16, 8),
      IntField("MaxRstSteps", Get<&D::MaxRstSteps>, Set<&D::MaxRstSteps>, 100, 65535, 6000, 3300,
               kMot, TMemType::U16, 14),
      F{"MmPerStep",
        nullptr,
        F::Real,
        0,
        1e-6,
        10.0,
        true,
        0,
        {0.01, 0, 0},
        nullptr,
        kMot,
        TMemType::F64,
        0,
        0,
        Get<&D::MmPerStep>,
        Set<&D::MmPerStep>,
        nullptr},
      IntField("InRate", Get<&D::InRate>, Set<&D::InRate>, 500, 65535, 3000, 3000, kMot,
               TMemType::U16, 10),
      IntField("OutRate", Get<&D::OutRate>, Set<&D::OutRate>, 500, 65535, 3000, 3000, kMot,
               TMemType::U16, 12),
      IntField("Ramp", Get<&D::Ramp>, Set<&D::Ramp>, 0, 65535, none, 200, kMot, TMemType::U16, 16),
      IntField("MinRate", Get<&D::MinRate>, Set<&D::MinRate>, 10, 65535, 500, 500, kMot,
               TMemType::U16, 18),
      IntField("RstRate", Get<&D::RstRate>, Set<&D::RstRate>, 10, 65535, 800, 800, kMot,
               TMemType::U16, 20),
      IntField("RstAddIn", Get<&D::RstAddIn>, Set<&D::RstAddIn>, 0, 1000, 5, 5, kMot, TMemType::U16,
               22),
      IntField("RstAddOut", Get<&D::RstAddOut>, Set<&D::RstAddOut>, 0, 1000, 5, 5, kMot,
               TMemType::U16, 24),
      F{"Nzero",
        nullptr,
        F::Int,
        3,
        0,
        1000,
        true,
        0,
        {0, 0, 0},
        nullptr,
        kMot,
        TMemType::U16,
        26,
        2,
        GetAt<&D::Nzero>,
        SetAt<&D::Nzero>,
        nullptr},
  };
  // The older name of the reference length.
  for (F& x : f)
    if (QLatin1String(x.key) == QLatin1String("Lref_um")) x.alias = "Lcal_um";
  return f;
}

// The prefixed keys; false when the key is none of them.
bool AnalyzPrefixed(const QString& key, const QString& value, const TTunerRecords& r) {
  TTunerDescr& d = r.Descr;
  int i = 0;
  int j = 0;
  for (const TDescrField& f : TunerDescrFields()) {
    if (f.count == 0) continue;
    const QString prefix = QString::fromLatin1(f.key).toUpper();
    if (!key.startsWith(prefix)) continue;
    if (PrefixedInt(key, prefix, 1, f.count, &i)) f.Apply(d, i, value);
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

const std::vector<TDescrField>& TunerDescrFields() {
  static const std::vector<TDescrField> fields = MakeFields();
  return fields;
}

QString TDescrField::KeyOf(int index) const {
  const QString k = QString::fromLatin1(key);
  return count == 0 ? k : k + QString::number(index);
}

void TDescrField::Apply(TTunerDescr& d, int index, const QString& value) const {
  switch (kind) {
    case Text:
      text(d) = CutShortString(value, int(hi));
      return;
    case Int: {
      const double present = get(d, index);
      set(d, index, qz::Int(value, int32_t(badKeeps ? present : bad), int32_t(lo), int32_t(hi)));
      return;
    }
    case Real:
      set(d, index, qz::Real(value, badKeeps ? get(d, index) : bad, lo, hi));
      return;
  }
}

bool TU_MdlAnalyzIni(const QString& rawKey, const QString& value, const TTunerRecords& r) {
  const QString key = rawKey.trimmed().toUpper();
  TTunerDescr& d = r.Descr;
  const auto is = [&key](const char* k) { return key == QString::fromLatin1(k).toUpper(); };

  for (const TDescrField& f : TunerDescrFields()) {
    if (f.count == 0 && (is(f.key) || (f.alias && is(f.alias)))) {
      f.Apply(d, 0, value);
      return true;
    }
  }
  if (is("MAXINSERT_MM")) {
    // An unreadable value leaves the operator's maximum unset (negative), not some made-up one.
    const TFloatInRange v = TextToFloatInRange(NumPart(value), -1.0, -1e12, 1e12, false);
    r.Sim.UserMax_mm = v.status == 0 ? std::fabs(v.value) : -1.0;
  } else if (is("MAXMAG_MU")) {
    r.Sim.MaxMag_mU = IntAs<uint16_t>(value, 1000, 0, 1000);
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

namespace {

// What the description's section is written from.
struct TDescrOut {
  const TTunerDescr& d;
  const TMotState& mot;
  const TSimState& sim;
};

// The description keys are read line by line (TU_MdlAnalyzIni); this table only writes them.
const TStpKeys<TDescrOut>& DescrOutKeys() {
  using O = TDescrOut;
  static const TStpKeys<O> keys = [] {
    TStpKeys<O> k;
    // Stub-model keys of an earlier, larger description go first.
    k.Custom(
        "Par*",
        [](const O&, IniFile& ini, const QString& section) {
          for (const QString& key : ini.ReadSection(section)) {
            const QString u = key.toUpper();
            if (u.startsWith(QLatin1String("PAR1NF")) || u.startsWith(QLatin1String("PAR1COEF")) ||
                u.startsWith(QLatin1String("PAR2NF")) || u.startsWith(QLatin1String("PAR2COEF")))
              ini.DeleteKey(section, key);
          }
        },
        nullptr);
    for (const TDescrField& f : TunerDescrFields()) {
      k.Custom(
          f.key,
          [&f](const O& o, IniFile& ini, const QString& section) {
            for (int n = f.count == 0 ? 0 : 1; n <= f.count; ++n) {
              if (f.kind == TDescrField::Text)
                ini.WriteString(section, f.KeyOf(n), f.text(const_cast<TTunerDescr&>(o.d)));
              else if (f.kind == TDescrField::Real)
                ini.WriteFloat(section, f.KeyOf(n), f.get(o.d, n));
              else
                ini.WriteInteger(section, f.KeyOf(n), int64_t(f.get(o.d, n)));
            }
          },
          nullptr);
    }
    k.Custom(
        "Par1, Par2",
        [](const O& o, IniFile& ini, const QString& section) {
          for (const bool second : {false, true}) {
            const TStubModel& m = second ? o.d.Par2 : o.d.Par1;
            const QString par = second ? QStringLiteral("Par2") : QStringLiteral("Par1");
            const int nh = m.NH < 0 ? 0 : (m.NH > 9 ? 9 : m.NH);
            ini.WriteInteger(section, par + QStringLiteral("Nh"), nh);
            for (int i = 0; i <= nh; ++i)
              ini.WriteInteger(section, par + QStringLiteral("Nf%1").arg(i), m.NF[Ix(i)]);
            for (int i = 0; i <= nh; ++i) {
              const int nf = m.NF[Ix(i)] < 0 ? 0 : (m.NF[Ix(i)] > 9 ? 9 : m.NF[Ix(i)]);
              for (int j = 0; j <= nf; ++j)
                ini.WriteFloat(section, par + QStringLiteral("Coef%1_%2").arg(i).arg(j),
                               m.C[Ix(i)][Ix(j)]);
            }
          }
        },
        nullptr);
    k.Custom(
        "MaxIter, Breakup, MinStep, MaxMag_mU",
        [](const O& o, IniFile& ini, const QString& section) {
          ini.WriteInteger(section, QStringLiteral("MaxIter"), o.mot.MaxIter);
          ini.WriteInteger(section, QStringLiteral("Breakup"), o.mot.BreakUp);
          ini.WriteInteger(section, QStringLiteral("MinStep"), o.mot.MinStep);
          ini.WriteInteger(section, QStringLiteral("MaxMag_mU"), o.sim.MaxMag_mU);
        },
        nullptr);
    // The reader takes the absolute value: an unset maximum (negative) is not written, or it
    // would come back as a maximum of its own.
    k.Custom(
        "MaxInsert_mm",
        [](const O& o, IniFile& ini, const QString& section) {
          if (o.sim.UserMax_mm > 0.0)
            ini.WriteFloat(section, QStringLiteral("MaxInsert_mm"), o.sim.UserMax_mm);
          else
            ini.DeleteKey(section, QStringLiteral("MaxInsert_mm"));
        },
        nullptr);
    return k;
  }();
  return keys;
}

}  // namespace

void WriteTunerDescr(IniFile& ini, const QString& section, const TTunerDescr& d,
                     const TMotState& mot, const TSimState& sim) {
  DescrOutKeys().Write(TDescrOut{d, mot, sim}, ini, section);
}

TTunerDescr DefaultTunerDescr() {
  TTunerDescr d;
  for (const TDescrField& f : TunerDescrFields()) {
    if (f.kind == TDescrField::Text)
      f.text(d) = QString::fromLatin1(f.defText);
    else if (f.count == 0)
      f.set(d, 0, f.def[0]);
    else
      for (int k = 1; k <= f.count; ++k) f.set(d, k, f.def[size_t(k - 1)]);
  }
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
