#include "sim/mdlentries.h"

#include <cmath>
#include <cstdint>

#include "core/qvwin.h"
#include "sim/mdlengine.h"
#include "sim/modeltuner.h"
#include "util/format.h"
#include "util/inifile.h"
#include "util/numtext.h"
#include "util/numutil.h"
#include "util/parse.h"
#include "util/stpkeys.h"
#include "util/unitconv.h"
#include "util/valueinput.h"
#include "util/winpos.h"

namespace qz {

namespace {

QString IntStr(int n) { return Format(QStringLiteral("%d"), {n}); }

// Limits of the entries read by "&Apply".
constexpr double kRuncertMax = 1e12;
constexpr double kPowMinKw = 1e-12;
constexpr double kPowMaxKw = 10000.0;
constexpr double kPercentMax = 100.0;
constexpr double kTempLimit = 1e12;
constexpr double kSwrMax = 100000.0;
// Frequencies this far from the nominal one are taken as a typing error.
constexpr double kFreLowFactor = 0.9;
constexpr double kFreHighFactor = 1.1;

// A value read within lo..hi, else the present one.
double ReadOrKeep(const QString& text, double current, double lo, double hi) {
  const TFloatInRange r = TextToFloatInRange(text, current, lo, hi, false);
  return r.status == 0 ? r.value : current;
}

void ShowMag(TMdlEngine& m) {
  TMdlEntries& e = m.Ent;
  switch (e.RFormat) {
    case kRflDb:
      e.Mag = NumberText(2, m.Rloss);
      break;
    case kRflVswr:
      e.Mag = NumberText(3, m.Swr);
      break;
    default:
      e.Mag = NumberText3(m.Mg11);
      break;
  }
}

int ClampInt(int32_t v, int lo, int hi) { return ClampLowWins(v, lo, hi); }

// The up-downs of the six animation entries with their limits.
struct TAnimUd {
  QString TMdlEntries::*text;
  int TAnimControls::*ud;
  int lo, hi;
  const char* key;
};
const TAnimUd kAnimUds[6] = {
    {&TMdlEntries::AniMagC, &TAnimControls::UdMagC, kAnimMagUdMin, kAnimMagUdMax, "AniMagC"},
    {&TMdlEntries::AniPhaC, &TAnimControls::UdPhaC, kAnimPhaUdMin, kAnimPhaUdMax, "AniPhaC"},
    {&TMdlEntries::AniMag1, &TAnimControls::UdMag1, kAnimMagUdMin, kAnimMagUdMax, "AniMag1"},
    {&TMdlEntries::AniMag2, &TAnimControls::UdMag2, kAnimMagUdMin, kAnimMagUdMax, "AniMag2"},
    {&TMdlEntries::AniPha1, &TAnimControls::UdPha1, kAnimPhaUdMin, kAnimPhaUdMax, "AniPha1"},
    {&TMdlEntries::AniPha2, &TAnimControls::UdPha2, kAnimPhaUdMin, kAnimPhaUdMax, "AniPha2"},
};

QString Sec() { return QString::fromLatin1(kMdlSection); }

}  // namespace

const QStringList& MagStepItems() {
  static const QStringList items{"0.1", "0.2", "0.5", "1", "2", "5"};
  return items;
}

const QStringList& PhaStepItems() {
  static const QStringList items{"0.1", "0.2", "0.5", "1", "2", "5", "10", "20", "45", "90", "180"};
  return items;
}

void CitajMag(TMdlEngine& m) {
  TMdlEntries& e = m.Ent;
  if (e.RFormat == kRflDb) {
    m.Rloss = ReadOrKeep(e.Mag, m.Rloss, kDbFloor, 0.0);
    m.Mg11 = m.Rloss <= kDbFloor ? 0.0 : DbToAmpl(m.Rloss);
    m.Swr = RhoToSwr(m.Mg11);
  } else if (e.RFormat == kRflVswr) {
    m.Swr = ReadOrKeep(e.Mag, m.Swr, 1.0, kSwrMax);
    m.Mg11 = m.Swr >= kSwrOfTotalReflection ? 1.0 : (m.Swr - 1.0) / (m.Swr + 1.0);
    m.Rloss = AmplToDb(m.Mg11);
  } else {
    e.RFormat = kRflMag;
    m.Mg11 = ReadOrKeep(e.Mag, m.Mg11, 0.0, 1.0);
    m.Rloss = AmplToDb(m.Mg11);
    m.Swr = RhoToSwr(m.Mg11);
  }
}

void RflFormatChanged(TMdlEngine& m, int format) {
  m.Ent.RFormat = ClampInt(format, kRflMag, kRflVswr);
  ShowMag(m);
}

void CitajPha(TMdlEngine& m) {
  const TFloatInRange r = TextToFloatInRange(m.Ent.Pha, m.Faza, kPhaUdMin, kPhaUdMax, true);
  if (r.status != 1) m.Faza = r.value;
  m.Ent.UdPha = RoundToInt32(m.Faza);
}

void AnimEntryLeft(TMdlEngine& m, int which) {
  if (which < 0 || which >= 6) return;
  const TAnimUd& a = kAnimUds[which];
  const auto v = ParseDouble((m.Ent.*a.text).trimmed(), true);
  if (!v) return;
  m.Ent.Anim.*a.ud = ClampInt(RoundToInt32(*v), a.lo, a.hi);
}

void CitajFre(TMdlEngine& m) {
  const TParsedValue v = ParseWithSuffix(m.Ent.Fre, QChar('M'), m.f_Hz);
  if (!v.ok) return;
  const double nominal = m.Qv().FixPar.FnominKHz * 1000.0;
  double f = v.value;
  if (f < kFreLowFactor * nominal || f > kFreHighFactor * nominal) f = nominal;
  m.f_Hz = f;
}

void RecheckFre(TMdlEngine& m) {
  CitajFre(m);
  m.Ent.Fre = FreqCountToText(HzToFreqCount(m.f_Hz), false);
}

void ErrItemClicked(TMdlEngine& m, int item, bool checked) {
  TMdlEntries& e = m.Ent;
  if (item == 0) {
    e.ErrOflow = checked;
    if (checked) e.ErrLowSignal = false;
  } else {
    e.ErrLowSignal = checked;
    if (checked) e.ErrOflow = false;
  }
  m.ErrByte = uint8_t((e.ErrOflow ? kErOflow : 0) | (e.ErrLowSignal ? kErLowSignal : 0));
}

void ErrByteToList(TMdlEngine& m) {
  m.Ent.ErrOflow = (m.ErrByte & kErOflow) != 0;
  m.Ent.ErrLowSignal = (m.ErrByte & kErLowSignal) != 0;
}

void ShowValues(TMdlEngine& m) {
  TMdlEntries& e = m.Ent;
  ShowMag(m);
  m.Faza = e.UdPha;
  e.Pha = IntStr(e.UdPha);
  e.RhoUncert = NumberText3(m.Runcert);
  e.Puncert = NumberText3(m.Puncert);
  e.Funcert = NumberText3(m.Funcert);
  e.Temp = NumberText3(m.Temp);
  e.Tuncert = NumberText3(m.Tuncert);
  e.Pow = NumberText5(m.Pow / 1000.0);
  e.Fre = FreqCountToText(HzToFreqCount(m.f_Hz), false);
}

void Apply(TMdlEngine& m) {
  TMdlEntries& e = m.Ent;
  m.WaitCyclesCount = TextToIntInRange(e.Pause, e.UdPause, kPauseMin, kPauseMax, true);
  e.UdPause = m.WaitCyclesCount;
  e.Pause = IntStr(m.WaitCyclesCount);

  m.UseChart = false;
  m.AnimRho.Active = false;
  switch (e.DutType) {
    case kDutDefined:
      CitajMag(m);
      CitajPha(m);
      m.SimulRo = CPolarDeg(m.Mg11, m.Faza);
      break;
    case kDutMatch:
      m.SimulRo = complex();
      break;
    case kDutAnimated:
      m.AnimRho.Active = true;
      CitajAnim(m.AnimRho, e.Anim);
      break;
    case kDutChart:
      m.UseChart = true;
      break;
    default:
      break;
  }

  m.Runcert = ReadOrKeep(e.RhoUncert, m.Runcert, 0.0, kRuncertMax);
  const TFloatInRange p = TextToFloatInRange(e.Pow, m.Pow / 1000.0, kPowMinKw, kPowMaxKw, true);
  if (p.status != 1) m.Pow = p.value * 1000.0;
  e.Pow = NumberText5(m.Pow / 1000.0);
  m.Puncert = ReadOrKeep(e.Puncert, m.Puncert, 0.0, kPercentMax);
  CitajFre(m);
  m.Funcert = ReadOrKeep(e.Funcert, m.Funcert, 0.0, kPercentMax);
  m.Temp = ReadOrKeep(e.Temp, m.Temp, -kTempLimit, kTempLimit);
  m.Tuncert = ReadOrKeep(e.Tuncert, m.Tuncert, -kTempLimit, kTempLimit);

  ShowValues(m);

  if (m.UseChart && m.Hooks.ChartRho) m.SimulRo = m.Hooks.ChartRho();
  if (m.Hooks.ChartApplied) m.Hooks.ChartApplied(m.UseChart);
}

void InitModel(TMdlEngine& m, const IniFile* autoSetup, int screenWidth, int screenHeight) {
  TMdlEntries& e = m.Ent;
  TSimState& sim = m.Sim();
  sim.UserMax_mm = -1.0;
  sim.MaxMag_mU = 1000;
  m.UseChart = kMdlDefaults.UseChart;
  e.MagStepIdx = 1;
  e.Anim.MagStepTxt = MagStepItems()[1];
  e.PhaStepIdx = 3;
  e.Anim.PhaStepTxt = PhaStepItems()[3];
  e.RFormat = kRflMag;
  e.Mag = QStringLiteral("0.2");
  e.UdPha = 33;
  m.Runcert = kMdlDefaults.Runcert;
  m.f_Hz = kMdlDefaults.f_Hz;
  m.Funcert = kMdlDefaults.Funcert;
  m.Pow = kMdlDefaults.Pow;
  m.Paver = kMdlDefaults.Paver;
  m.Puncert = kMdlDefaults.Puncert;
  m.Temp = kMdlDefaults.Temp;
  m.Tuncert = kMdlDefaults.Tuncert;
  sim.Btune1 = false;
  sim.WasTune1Click = false;
  sim.MotRunning = false;
  sim.GoDirect = false;
  m.ErrByte = kMdlDefaults.ErrByte;
  ShowValues(m);
  e.Pause = IntStr(e.UdPause);
  e.Anim.MeasPerPositTxt = IntStr(e.Anim.UdDwell);
  if (autoSetup) ReadStp(m, *autoSetup, screenWidth, screenHeight);
  ErrByteToList(m);
  CitajMag(m);
  CitajPha(m);
  m.SimulRo = CPolarDeg(m.Mg11, m.Faza);
  Apply(m);
  m.Rloss = AmplToDb(m.Mg11);
  m.Swr = RhoToSwr(m.Mg11);
  sim.NTunBurst = 1;
  m.SetSmpl(true);
}

namespace {

using TMdlKeys = TStpKeys<TMdlStp>;

// An entry field of the record.
template <class T>
auto EntField(T TMdlEntries::*f) {
  return [f](TMdlStp& r) -> T& { return r.Ent.*f; };
}
template <class T>
auto AnimField(T TAnimControls::*f) {
  return [f](TMdlStp& r) -> T& { return r.Ent.Anim.*f; };
}
template <class T>
auto FlagField(T TAnimFlags::*f) {
  return [f](TMdlStp& r) -> T& { return r.Ent.Flags.*f; };
}

// The text of an editable step list: its own text when one was kept, else its chosen item.
TMdlKeys::Reader StepText(const char* key, QString TAnimControls::*text, int TMdlEntries::*idx,
                          const QStringList& (*items)()) {
  const QString k = QString::fromLatin1(key);
  return [=](TMdlStp& r, const IniFile& ini, const QString& s) {
    const QString t = ini.ReadString(s, k, QString()).trimmed();
    r.Ent.Anim.*text = t.isEmpty() ? items()[r.Ent.*idx] : t;
  };
}

TMdlKeys::Writer TextWriter(const char* key, QString TAnimControls::*text) {
  const QString k = QString::fromLatin1(key);
  return [=](const TMdlStp& r, IniFile& ini, const QString& s) {
    ini.WriteString(s, k, r.Ent.Anim.*text);
  };
}

// Section "Model" in the order it is written. The window place is read unlimited here; the
// window keeps it on its screen.
const TMdlKeys& MdlKeys() {
  static const TMdlKeys keys = [] {
    TMdlKeys k;
    k.Int("Top", EntField(&TMdlEntries::Top), INT32_MIN, INT32_MAX)
        .Int("Left", EntField(&TMdlEntries::Left), INT32_MIN, INT32_MAX)
        .Int("DutType", EntField(&TMdlEntries::DutType), kDutDefined, kDutChart)
        .Text("RhoMag", EntField(&TMdlEntries::Mag), QStringLiteral("0.2"))
        .Int("RFormat", EntField(&TMdlEntries::RFormat), kRflMag, kRflVswr)
        .Text("RhoPha", EntField(&TMdlEntries::Pha), QStringLiteral("45"))
        .Int("UpDnPha", EntField(&TMdlEntries::UdPha), kPhaUdMin, kPhaUdMax)
        .Text("RUncert", EntField(&TMdlEntries::RhoUncert), QStringLiteral("0"));
    for (const TAnimUd& a : kAnimUds) k.Int(a.key, AnimField(a.ud), a.lo, a.hi);
    k.Int("AniPause", EntField(&TMdlEntries::UdPause), kPauseMin, kPauseMax)
        .Int("AniDwell", AnimField(&TAnimControls::UdDwell), kDwellMin, kDwellMax)
        .Int("AniMagS", EntField(&TMdlEntries::MagStepIdx), 0, int(MagStepItems().size()) - 1)
        .Int("AniPhaS", EntField(&TMdlEntries::PhaStepIdx), 0, int(PhaStepItems().size()) - 1)
        .Custom("AniMagTxt", TextWriter("AniMagTxt", &TAnimControls::MagStepTxt),
                StepText("AniMagTxt", &TAnimControls::MagStepTxt, &TMdlEntries::MagStepIdx,
                         &MagStepItems))
        .Custom("AniPhaTxt", TextWriter("AniPhaTxt", &TAnimControls::PhaStepTxt),
                StepText("AniPhaTxt", &TAnimControls::PhaStepTxt, &TMdlEntries::PhaStepIdx,
                         &PhaStepItems))
        .Text("Pinc", EntField(&TMdlEntries::Pow), QStringLiteral("6"))
        .Text("PUncert", EntField(&TMdlEntries::Puncert), QStringLiteral("0"))
        .Int("ErrByte", &TMdlStp::ErrByte, 0, 255)
        .Text("Freq", EntField(&TMdlEntries::Fre))
        .Text("FUncert", EntField(&TMdlEntries::Funcert), QStringLiteral("0"))
        .Text("Temp", EntField(&TMdlEntries::Temp), QStringLiteral("25"))
        .Text("TUncert", EntField(&TMdlEntries::Tuncert), QStringLiteral("0"))
        .Text("MdlResPath", &TMdlStp::MdlResPath, QString())
        .Bool("cbReverseMag", FlagField(&TAnimFlags::ReverseMag))
        .Bool("cbReversePha", FlagField(&TAnimFlags::ReversePha))
        .Bool("cbNoSpiral", FlagField(&TAnimFlags::NoSpiral))
        .Bool("Visible", EntField(&TMdlEntries::Visible));
    return k;
  }();
  return keys;
}

}  // namespace

void TMdlStp::WriteStp(IniFile& ini, const QString& section) const {
  MdlKeys().Write(*this, ini, section);
}

void TMdlStp::ReadStp(const IniFile& ini, const QString& section) {
  MdlKeys().Read(*this, ini, section);
  // The entries beside the up-downs show the up-downs' values.
  for (const TAnimUd& a : kAnimUds) Ent.*a.text = IntStr(Ent.Anim.*a.ud);
  Ent.Pause = IntStr(Ent.UdPause);
  Ent.Anim.MeasPerPositTxt = IntStr(Ent.Anim.UdDwell);
  Ent.MdlResPath = MdlResPath;
}

void WriteStp(const TMdlEngine& m, IniFile& ini) {
  const TMdlStp r{m.Ent, m.ErrByte, m.MdlResPath};
  r.WriteStp(ini, Sec());
  m.Tuner().WriteDescr(ini, Sec());
}

void ReadStp(TMdlEngine& m, const IniFile& ini, int screenWidth, int screenHeight) {
  const QString s = Sec();
  TMdlStp r{m.Ent, m.ErrByte, m.MdlResPath};
  // A missing frequency shows the model's own.
  r.Ent.Fre = HzToMHzText(m.f_Hz);
  r.ReadStp(ini, s);
  WindowPos pos;
  pos.left = r.Ent.Left;
  pos.top = r.Ent.Top;
  pos = LimitWindowPos(pos, screenWidth, screenHeight, kToolWindowMargin);
  r.Ent.Left = pos.left;
  r.Ent.Top = pos.top;
  m.Ent = r.Ent;
  m.ErrByte = r.ErrByte;
  m.MdlResPath = r.MdlResPath;

  // The tuner description: every line of the whole file as it stands now, the reader picks the
  // description's keys wherever they are.
  m.Sim().UserMax_mm = -1.0;
  QStringList lines;
  for (const QString& line : ini.Lines())
    if (!line.startsWith(QLatin1Char(';')) && !line.startsWith(QLatin1Char('[')))
      lines.append(line);
  m.Tuner().ReadDescrLines(lines);
  if (m.Hooks.TunerDescrRead) m.Hooks.TunerDescrRead();
}

void LoadStp(TMdlEngine& m, const IniFile& ini, int screenWidth, int screenHeight) {
  ReadStp(m, ini, screenWidth, screenHeight);
  ErrByteToList(m);
  Apply(m);
}

}  // namespace qz
