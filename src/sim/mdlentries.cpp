#include "sim/mdlentries.h"

#include <cmath>

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
  m.UseChart = false;
  e.MagStepIdx = 1;
  e.Anim.MagStepTxt = MagStepItems()[1];
  e.PhaStepIdx = 3;
  e.Anim.PhaStepTxt = PhaStepItems()[3];
  e.RFormat = kRflMag;
  e.Mag = QStringLiteral("0.2");
  e.UdPha = 33;
  m.Runcert = 0.0;
  m.f_Hz = 2.45e9;
  m.Funcert = 0.0;
  m.Pow = 5678.0;
  m.Paver = 0.0;
  m.Puncert = 5.0;
  m.Temp = 25.0;
  m.Tuncert = 0.0;
  sim.Btune1 = false;
  sim.WasTune1Click = false;
  sim.MotRunning = false;
  sim.GoDirect = false;
  m.ErrByte = 0;
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

void WriteStp(const TMdlEngine& m, IniFile& ini) {
  const TMdlEntries& e = m.Ent;
  const QString s = Sec();
  ini.WriteInteger(s, QStringLiteral("Top"), e.Top);
  ini.WriteInteger(s, QStringLiteral("Left"), e.Left);
  ini.WriteInteger(s, QStringLiteral("DutType"), e.DutType);
  ini.WriteString(s, QStringLiteral("RhoMag"), e.Mag);
  ini.WriteInteger(s, QStringLiteral("RFormat"), e.RFormat);
  ini.WriteString(s, QStringLiteral("RhoPha"), e.Pha);
  ini.WriteInteger(s, QStringLiteral("UpDnPha"), e.UdPha);
  ini.WriteString(s, QStringLiteral("RUncert"), e.RhoUncert);
  for (const TAnimUd& a : kAnimUds) ini.WriteInteger(s, QString::fromLatin1(a.key), e.Anim.*a.ud);
  ini.WriteInteger(s, QStringLiteral("AniPause"), e.UdPause);
  ini.WriteInteger(s, QStringLiteral("AniDwell"), e.Anim.UdDwell);
  ini.WriteInteger(s, QStringLiteral("AniMagS"), e.MagStepIdx);
  ini.WriteInteger(s, QStringLiteral("AniPhaS"), e.PhaStepIdx);
  ini.WriteString(s, QStringLiteral("AniMagTxt"), e.Anim.MagStepTxt);
  ini.WriteString(s, QStringLiteral("AniPhaTxt"), e.Anim.PhaStepTxt);
  ini.WriteString(s, QStringLiteral("Pinc"), e.Pow);
  ini.WriteString(s, QStringLiteral("PUncert"), e.Puncert);
  ini.WriteInteger(s, QStringLiteral("ErrByte"), m.ErrByte);
  ini.WriteString(s, QStringLiteral("Freq"), e.Fre);
  ini.WriteString(s, QStringLiteral("FUncert"), e.Funcert);
  ini.WriteString(s, QStringLiteral("Temp"), e.Temp);
  ini.WriteString(s, QStringLiteral("TUncert"), e.Tuncert);
  ini.WriteString(s, QStringLiteral("MdlResPath"), m.MdlResPath);
  ini.WriteBool(s, QStringLiteral("cbReverseMag"), e.Flags.ReverseMag);
  ini.WriteBool(s, QStringLiteral("cbReversePha"), e.Flags.ReversePha);
  ini.WriteBool(s, QStringLiteral("cbNoSpiral"), e.Flags.NoSpiral);
  ini.WriteBool(s, QStringLiteral("Visible"), e.Visible);
  m.Tuner().WriteDescr(ini, s);
}

void ReadStp(TMdlEngine& m, const IniFile& ini, int screenWidth, int screenHeight) {
  TMdlEntries& e = m.Ent;
  const QString s = Sec();
  WindowPos pos;
  pos.left = e.Left;
  pos.top = e.Top;
  pos = ReadWindowPos(ini, s, pos, screenWidth, screenHeight, kToolWindowMargin);
  e.Left = pos.left;
  e.Top = pos.top;

  auto readInt = [&](const char* key, int current, int lo, int hi) {
    return ClampInt(ini.ReadInteger(s, QString::fromLatin1(key), current), lo, hi);
  };
  auto readStr = [&](const char* key, const QString& def) {
    return ini.ReadString(s, QString::fromLatin1(key), def);
  };

  e.DutType = readInt("DutType", e.DutType, kDutDefined, kDutChart);
  e.Mag = readStr("RhoMag", QStringLiteral("0.2"));
  e.RFormat = readInt("RFormat", e.RFormat, kRflMag, kRflVswr);
  e.Pha = readStr("RhoPha", QStringLiteral("45"));
  e.UdPha = readInt("UpDnPha", e.UdPha, kPhaUdMin, kPhaUdMax);
  e.RhoUncert = readStr("RUncert", QStringLiteral("0"));
  for (const TAnimUd& a : kAnimUds) {
    e.Anim.*a.ud = readInt(a.key, e.Anim.*a.ud, a.lo, a.hi);
    e.*a.text = IntStr(e.Anim.*a.ud);
  }
  e.UdPause = readInt("AniPause", e.UdPause, kPauseMin, kPauseMax);
  e.Pause = IntStr(e.UdPause);
  e.Anim.UdDwell = readInt("AniDwell", e.Anim.UdDwell, kDwellMin, kDwellMax);
  e.Anim.MeasPerPositTxt = IntStr(e.Anim.UdDwell);
  e.MagStepIdx = readInt("AniMagS", e.MagStepIdx, 0, int(MagStepItems().size()) - 1);
  e.PhaStepIdx = readInt("AniPhaS", e.PhaStepIdx, 0, int(PhaStepItems().size()) - 1);
  // An editable list shows its chosen item unless a text of its own was kept.
  const QString magTxt = readStr("AniMagTxt", QString()).trimmed();
  const QString phaTxt = readStr("AniPhaTxt", QString()).trimmed();
  e.Anim.MagStepTxt = magTxt.isEmpty() ? MagStepItems()[e.MagStepIdx] : magTxt;
  e.Anim.PhaStepTxt = phaTxt.isEmpty() ? PhaStepItems()[e.PhaStepIdx] : phaTxt;
  e.Pow = readStr("Pinc", QStringLiteral("6"));
  e.Puncert = readStr("PUncert", QStringLiteral("0"));
  m.ErrByte = uint8_t(readInt("ErrByte", m.ErrByte, 0, 255));
  e.Fre = readStr("Freq", HzToMHzText(m.f_Hz));
  e.Funcert = readStr("FUncert", QStringLiteral("0"));
  e.Temp = readStr("Temp", QStringLiteral("25"));
  e.Tuncert = readStr("TUncert", QStringLiteral("0"));
  m.MdlResPath = readStr("MdlResPath", QString());
  e.MdlResPath = m.MdlResPath;
  e.Flags.ReverseMag = ini.ReadBool(s, QStringLiteral("cbReverseMag"), e.Flags.ReverseMag);
  e.Flags.ReversePha = ini.ReadBool(s, QStringLiteral("cbReversePha"), e.Flags.ReversePha);
  e.Flags.NoSpiral = ini.ReadBool(s, QStringLiteral("cbNoSpiral"), e.Flags.NoSpiral);
  e.Visible = ini.ReadBool(s, QStringLiteral("Visible"), e.Visible);

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
