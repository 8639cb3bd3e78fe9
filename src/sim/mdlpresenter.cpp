#include "sim/mdlpresenter.h"

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

int ClampInt(int32_t v, int lo, int hi) { return ClampLowWins(v, lo, hi); }

QString Sec() { return QString::fromLatin1(kMdlSection); }

}  // namespace

void TMdlPresenter::ShowMag() {
  TMdlEngine& m = m_;
  TMdlEntries& e = Ent;
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

void TMdlPresenter::CitajMag() {
  TMdlEngine& m = m_;
  TMdlEntries& e = Ent;
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

void TMdlPresenter::RflFormatChanged(int format) {
  Ent.RFormat = ClampInt(format, kRflMag, kRflVswr);
  ShowMag();
}

void TMdlPresenter::CitajPha() {
  TMdlEngine& m = m_;
  const TFloatInRange r = TextToFloatInRange(Ent.Pha, m.Faza, kPhaUdMin, kPhaUdMax, true);
  if (r.status != 1) m.Faza = r.value;
  Ent.UdPha = RoundToInt32(m.Faza);
}

void TMdlPresenter::AnimEntryLeft(int which) {
  if (which < 0 || which >= int(AnimEntries().size())) return;
  const TAnimEntry& a = AnimEntries()[size_t(which)];
  const auto v = ParseDouble((Ent.*a.text).trimmed(), true);
  if (!v) return;
  Ent.Anim.*a.ud = ClampInt(RoundToInt32(*v), a.lo, a.hi);
}

void TMdlPresenter::CitajFre() {
  TMdlEngine& m = m_;
  const TParsedValue v = ParseWithSuffix(Ent.Fre, QChar('M'), m.f_Hz);
  if (!v.ok) return;
  const double nominal = m.Qv().FixPar.FnominKHz * 1000.0;
  double f = v.value;
  if (f < kFreLowFactor * nominal || f > kFreHighFactor * nominal) f = nominal;
  m.f_Hz = f;
}

void TMdlPresenter::RecheckFre() {
  TMdlEngine& m = m_;
  CitajFre();
  Ent.Fre = FreqCountToText(HzToFreqCount(m.f_Hz), false);
}

void TMdlPresenter::ErrItemClicked(int item, bool checked) {
  TMdlEngine& m = m_;
  TMdlEntries& e = Ent;
  if (item == 0) {
    e.ErrOflow = checked;
    if (checked) e.ErrLowSignal = false;
  } else {
    e.ErrLowSignal = checked;
    if (checked) e.ErrOflow = false;
  }
  m.ErrByte = uint8_t((e.ErrOflow ? kErOflow : 0) | (e.ErrLowSignal ? kErLowSignal : 0));
}

void TMdlPresenter::ErrByteToList() {
  TMdlEngine& m = m_;
  Ent.ErrOflow = (m.ErrByte & kErOflow) != 0;
  Ent.ErrLowSignal = (m.ErrByte & kErLowSignal) != 0;
}

void TMdlPresenter::ShowValues() {
  TMdlEngine& m = m_;
  TMdlEntries& e = Ent;
  ShowMag();
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

void TMdlPresenter::SetAnimFlag(bool TAnimFlags::*flag, bool on) {
  Ent.Flags.*flag = on;
  FlagsToModel();
}

void TMdlPresenter::AnimControlsChanged() {
  CitajAnim(m_.AnimRho, Ent.Anim);
  FlagsToModel();
}

void TMdlPresenter::FlagsToModel() { m_.AnimFlags = Ent.Flags; }

void TMdlPresenter::Apply() {
  TMdlEngine& m = m_;
  TMdlEntries& e = Ent;
  FlagsToModel();
  m.WaitCyclesCount = TextToIntInRange(e.Pause, e.UdPause, kPauseMin, kPauseMax, true);
  e.UdPause = m.WaitCyclesCount;
  e.Pause = IntStr(m.WaitCyclesCount);

  m.UseChart = false;
  m.AnimRho.Active = false;
  switch (e.DutType) {
    case kDutDefined:
      CitajMag();
      CitajPha();
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
  CitajFre();
  m.Funcert = ReadOrKeep(e.Funcert, m.Funcert, 0.0, kPercentMax);
  m.Temp = ReadOrKeep(e.Temp, m.Temp, -kTempLimit, kTempLimit);
  m.Tuncert = ReadOrKeep(e.Tuncert, m.Tuncert, -kTempLimit, kTempLimit);

  ShowValues();

  if (m.UseChart && Hooks.ChartRho) m.SimulRo = Hooks.ChartRho();
  if (Hooks.ChartApplied) Hooks.ChartApplied(m.UseChart);
}

void TMdlPresenter::InitModel(const IniFile* autoSetup, int screenWidth, int screenHeight) {
  TMdlEngine& m = m_;
  TMdlEntries& e = Ent;
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
  ShowValues();
  e.Pause = IntStr(e.UdPause);
  e.Anim.MeasPerPositTxt = IntStr(e.Anim.UdDwell);
  if (autoSetup) ReadStp(*autoSetup, screenWidth, screenHeight);
  ErrByteToList();
  CitajMag();
  CitajPha();
  m.SimulRo = CPolarDeg(m.Mg11, m.Faza);
  Apply();
  m.Rloss = AmplToDb(m.Mg11);
  m.Swr = RhoToSwr(m.Mg11);
  sim.NTunBurst = 1;
  m.SetSmpl(true);
}

TMdlStp TMdlPresenter::Stp() const { return TMdlStp{Ent, m_.ErrByte, m_.MdlResPath}; }

void TMdlPresenter::WriteStp(IniFile& ini) const {
  Stp().WriteStp(ini, Sec());
  m_.Tuner().WriteDescr(ini, Sec());
}

void TMdlPresenter::ReadStp(const IniFile& ini, int screenWidth, int screenHeight) {
  TMdlEngine& m = m_;
  const QString s = Sec();
  TMdlStp r{Ent, m.ErrByte, m.MdlResPath};
  // A missing frequency shows the model's own.
  r.Ent.Fre = HzToMHzText(m.f_Hz);
  r.ReadStp(ini, s);
  WindowPos pos;
  pos.left = r.Ent.Left;
  pos.top = r.Ent.Top;
  pos = LimitWindowPos(pos, screenWidth, screenHeight, kToolWindowMargin);
  r.Ent.Left = pos.left;
  r.Ent.Top = pos.top;
  Ent = r.Ent;
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
  FlagsToModel();
  if (Hooks.TunerDescrRead) Hooks.TunerDescrRead();
}

void TMdlPresenter::LoadStp(const IniFile& ini, int screenWidth, int screenHeight) {
  ReadStp(ini, screenWidth, screenHeight);
  ErrByteToList();
  Apply();
}

}  // namespace qz
