#include "core/qvwin.h"

#include <algorithm>
#include <cmath>

#include "core/frame.h"
#include "util/inifile.h"
#include "util/numutil.h"

namespace qz {

namespace {

// c / 2 in mm/s: divided by a in mm it gives the cut-off frequency in Hz.
constexpr double kHalfLightMmPerS = 1.49896229e11;
constexpr int32_t kTcountMinRecMax = 1073741823;
constexpr int32_t kTcountMinRecFallback = 1000;
constexpr uint16_t kToutMaxMs = 65535;

// Limits of the setup values that are not the planner's.
constexpr int32_t kFsubstMinKHz = 100;
constexpr int32_t kLevelMax = 100;
constexpr int32_t kAtMilliMax = 1000;
constexpr int32_t kDelay5bMax = 31;
constexpr int32_t kSmoothMin = 1;
constexpr int32_t kByteMax = 255;
constexpr int32_t kWordMax = 65535;
constexpr int32_t kSecondsMax = 3600;
constexpr int32_t kRangeMin = -1, kRangeMax = 7;
constexpr uint8_t kTxMaskBits = 0x07;

}  // namespace

QString QvSetupSection(int unitIndex) {
  return QStringLiteral("QvTuStp") + QString::number(unitIndex);
}

double CutoffFrequency(const TFixPar& fix) {
  if (fix.IsCoax != 0 || fix.WgA_um <= 0) return 0.0;
  return kHalfLightMmPerS / (double(fix.WgA_um) / 1000.0);
}

TQvWin::TQvWin(TMotState& mot) : mot_(mot) { f_cutoff = CutoffFrequency(FixPar); }

void TQvWin::SetDefaults() {
  FixPar = TFixPar();
  VarPar = TVarPar();
  Rectif = TRectif();
  Pulsed = TPulsed();
  f_cutoff = CutoffFrequency(FixPar);
  UserPowCorr = 1.0f;
  PtsPerSwp = kPtsPerSwpDef;
  MstpCW = TMeaStp();
  mot_.Smooth = kAtDefSmooth;
  MotRefreshMs = kMotRefreshDefMs;
  SrvVerNum = 0;
  SrvInfo = QStringLiteral("Simulated");
}

bool TQvWin::DekodMerData(const TMerObjekt& frame, THresults& res) {
  const TDecodeTransforms tr(PlaneExt, BiTr);
  return qz::DekodMerData(frame, res, mot_, f_cutoff, tr, Nmo);
}

int32_t TQvWin::GetTcountMinRecommended_us() const {
  const double span = double(FixPar.FnominKHz) * 1000.0 - double(VarPar.FdeltaMHz) * 1e6;
  const double t = double(FixPar.Divider) * 1e5 / 4e-6 / span;
  // An unknown nominal frequency must not make the recommendation meaningless.
  if (span == 0.0 || !std::isfinite(t)) return kTcountMinRecFallback;
  return std::min(RoundToInt32(t), kTcountMinRecMax);
}

int TQvWin::PlanSampling(int waveform, int32_t* maxSamples) {
  return qz::PlanSampling(waveform, FixPar.FmaxSmpl, Rectif, Pulsed, maxSamples);
}

int32_t TQvWin::GetMaxSamples() const {
  return qz::GetMaxSamples(VarPar.Waveform, FixPar.FmaxSmpl, Rectif, Pulsed);
}

int TQvWin::DeriveSampling(int waveform) {
  if (waveform != wfRectified && waveform != wfPulsed) return 0;
  return PlanSampling(waveform) != 0 ? waveform : 0;
}

uint16_t TQvWin::FrameTimeoutMs(int32_t asked) const {
  double b = 0.0;
  int32_t blockSamples = 0;
  switch (VarPar.Waveform) {
    case wfRectified: {
      // A ripple frequency of 0 would make the wait endless.
      const double rf =
          ClampLowWins(double(Rectif.RippleFreq), double(kRippleFreqMin), double(kRippleFreqMax));
      b = double(Rectif.Periods) * 2.0 / rf * 1000.0 + 16.0 + double(Rectif.Nvzoriek) * 0.169;
      blockSamples = Rectif.Nvzoriek;
      break;
    }
    case wfPulsed:
      b = double(Pulsed.TsamplUs) / 1000.0 + (double(Pulsed.TmaxMs) + 254.0) +
          double(Pulsed.Nvzoriek) * 0.111;
      blockSamples = Pulsed.Nvzoriek;
      break;
    default:
      b = double(VarPar.Vrpt - 1) / double(VarPar.FsamplCw) * 1000.0 + 4.5 +
          double(VarPar.Vrpt) * 0.0448 + double(VarPar.TcountCw / 1000);
      break;
  }
  double t = b + 1000.0 + 20.0;
  if (mot_.AtOn)
    t += TuneTimeMs;
  else
    t = std::max(t, TuneTimeMs);
  if (asked == kToutForCycle && BlockSamplingOn(VarPar.Waveform, Rectif, Pulsed))
    t += double(blockSamples) * 3.5;
  if (!std::isfinite(t)) return kToutMaxMs;
  t = std::max(t, 1000.0);
  return uint16_t(std::min<int64_t>(RoundToInt64(t), kToutMaxMs));
}

void TQvWin::WriteStp(int unitIndex, IniFile& setup, const QString& info) const {
  const QString sec = QvSetupSection(unitIndex);
  auto wi = [&](const char* key, int64_t v) { setup.WriteInteger(sec, QLatin1String(key), v); };
  auto wb = [&](const char* key, bool v) { setup.WriteBool(sec, QLatin1String(key), v); };

  setup.WriteString(sec, QStringLiteral("SetupInfo"), info);
  wi("Points", PtsPerSwp);
  setup.WriteFloat(sec, QStringLiteral("PlaneExt"), PlaneExt.Extension);
  wi("Vrpt", VarPar.Vrpt);
  wi("Trpt", VarPar.Trpt);
  wi("IsCntOn", VarPar.IsCntOn);
  wi("TcountCw", VarPar.TcountCw);
  wi("FdeltaMHz", VarPar.FdeltaMHz);
  wi("FsubstKHz", VarPar.FsubstKHz);
  wi("FsamplCw", VarPar.FsamplCw);
  wi("MotRefreshMs", MotRefreshMs);
  wi("Waveform", VarPar.Waveform);
  wi("LineFreq", Rectif.RippleFreq);
  wi("Periods", Rectif.Periods);
  wi("NvzRect", Rectif.Nvzoriek);
  wi("TcntRect", Rectif.TcntUs);
  wb("BsmplRect", Rectif.Bsamples);
  wi("TsmplPuls", Pulsed.TsamplUs);
  wi("TmaxMsPuls", Pulsed.TmaxMs);
  wi("NvzPuls", Pulsed.Nvzoriek);
  wi("TcntPuls", Pulsed.TcntUs);
  wb("BsmplPuls", Pulsed.Bsamples);
  wi("TrgLevel", VarPar.MinMaxTrgLvl);
  wi("TrgMethod", TrgMethod);
  wi("Rect_Acc_Lvl", RectAccLvlOf(VarPar.TrgMeth_AccLvl));
  wi("Puls_Acc_Lvl", PulsAccLvlOf(VarPar.TrgMeth_AccLvl));
  setup.WriteString(sec, QStringLiteral("BilinTrPath"), BiTr.Path);
  wb("IsOn", mot_.AtOn);
  wi("Toler_mU", mot_.Toler_mU);
  wi("Targ_mU", mot_.Targ_mU);
  wi("Skip", mot_.Skip);
  wi("Delay5b", mot_.Delay5b);
  wi("Smooth", mot_.Smooth);
  wb("WaitRF", mot_.WaitRF);
  wi("HystDg", mot_.HystDg);
  wb("SendTunePos", mot_.SendTunePos);
  wi("OnPeriod_ms", MstpCW.OnPeriod_ms);
  wi("OfsPeriod_s", MstpCW.OfsPeriod_s);
  wi("FPeriod_ms", MstpCW.FPeriod_ms);
  wi("TPeriod_s", MstpCW.TPeriod_s);
  wi("TxPeriod_ms", MstpCW.TxPeriod_ms);
  wi("TxMask", MstpCW.TxMask);
  wi("OnRnge", MstpCW.OnRnge);
  wi("OfsRnge", MstpCW.OfsRnge);
  wb("OfsEqualOn", MstpCW.OfsEqualOn);
}

QString TQvWin::ReadStp(int unitIndex, const IniFile& setup, TUnitSync* sync) {
  const QString sec = QvSetupSection(unitIndex);
  // An integer limited to lo..hi; a missing or unreadable value gives def (then limited too).
  auto ri = [&](const char* key, int32_t lo, int32_t hi, int32_t def) {
    return ClampLowWins(setup.ReadInteger(sec, QLatin1String(key), def), lo, hi);
  };
  auto rb = [&](const char* key, bool def) { return setup.ReadBool(sec, QLatin1String(key), def); };

  const QString info = setup.ReadString(sec, QStringLiteral("SetupInfo"), QString());
  PtsPerSwp = ri("Points", kPtsPerSwpMin, kPtsPerSwpMax, PtsPerSwp);
  PlaneExt.SetValue(ClampLowWins(setup.ReadFloat(sec, QStringLiteral("PlaneExt"), 0.0),
                                 -kPlaneExtMaxMm, kPlaneExtMaxMm));
  VarPar.Vrpt = uint16_t(ri("Vrpt", kAvgCountMin, kAvgCountMax, VarPar.Vrpt));
  VarPar.Trpt = uint16_t(ri("Trpt", kAvgCountMin, kAvgCountMax, VarPar.Trpt));
  VarPar.IsCntOn = uint8_t(setup.ReadInteger(sec, QStringLiteral("IsCntOn"), 1) & 1);
  VarPar.TcountCw = ri("TcountCw", kCountTimeMinUs, kCountTimeMaxUs, VarPar.TcountCw);
  VarPar.FdeltaMHz = uint16_t(ri("FdeltaMHz", 1, FixPar.FnominKHz / 2000, VarPar.FdeltaMHz));
  VarPar.FsubstKHz = ri("FsubstKHz", kFsubstMinKHz, INT32_MAX, VarPar.FsubstKHz);
  VarPar.FsamplCw = ri("FsamplCw", kSmplFreqMin, FixPar.FmaxSmpl, VarPar.FsamplCw);
  MotRefreshMs = uint16_t(ri("MotRefreshMs", kMotRefreshMinMs, kWordMax, MotRefreshMs));
  VarPar.Waveform = TWaveform(ri("Waveform", wfCW, wfPulsed, VarPar.Waveform));
  // The sampling values get the ranges the planner enforces: a ripple frequency of 0 would
  // divide by zero in the ripple period and the frame time-out.
  Rectif.RippleFreq = uint16_t(ri("LineFreq", kRippleFreqMin, kRippleFreqMax, Rectif.RippleFreq));
  Rectif.Periods = uint16_t(ri("Periods", kPeriodsMin, kPeriodsMax, Rectif.Periods));
  Rectif.Nvzoriek = uint16_t(ri("NvzRect", kSmplCountMin, kSmplCountMax, Rectif.Nvzoriek));
  Rectif.TcntUs = ri("TcntRect", kCountTimeMinUs, kCountTimeMaxUs, Rectif.TcntUs);
  Rectif.Bsamples = rb("BsmplRect", Rectif.Bsamples);
  Pulsed.TsamplUs = ri("TsmplPuls", kSmplTimeMinUs, kSmplTimeMaxUs, Pulsed.TsamplUs);
  Pulsed.TmaxMs =
      uint16_t(ri("TmaxMsPuls", kPulsPeriodMaxMsMin, kPulsPeriodMaxMsMax, Pulsed.TmaxMs));
  Pulsed.Nvzoriek = uint16_t(ri("NvzPuls", kSmplCountMin, kSmplCountMax, Pulsed.Nvzoriek));
  Pulsed.TcntUs = ri("TcntPuls", kCountTimeMinUs, kCountTimeMaxUs, Pulsed.TcntUs);
  Pulsed.Bsamples = rb("BsmplPuls", Pulsed.Bsamples);
  VarPar.MinMaxTrgLvl = uint8_t(ri("TrgLevel", 0, kLevelMax, VarPar.MinMaxTrgLvl));
  TrgMethod = TTrgMethod(ri("TrgMethod", 0, 1, TrgMethod));
  VarPar.TrgMeth_AccLvl = WithRectAccLvl(
      VarPar.TrgMeth_AccLvl, ri("RECT_ACC_LVL", 0, kLevelMax, RectAccLvlOf(VarPar.TrgMeth_AccLvl)));
  VarPar.TrgMeth_AccLvl = WithPulsAccLvl(
      VarPar.TrgMeth_AccLvl, ri("PULS_ACC_LVL", 0, kLevelMax, PulsAccLvlOf(VarPar.TrgMeth_AccLvl)));
  BiTr.Path = setup.ReadString(sec, QStringLiteral("BilinTrPath"), BiTr.Path);
  mot_.AtOn = rb("ISON", mot_.AtOn);
  mot_.Toler_mU = uint16_t(ri("TOLER_MU", 0, kAtMilliMax, mot_.Toler_mU));
  mot_.Targ_mU = uint16_t(ri("TARG_MU", 0, kAtMilliMax, mot_.Targ_mU));
  mot_.Skip = uint8_t(ri("SKIP", 0, kByteMax, mot_.Skip));
  mot_.Delay5b = uint8_t(ri("DELAY5B", 0, kDelay5bMax, mot_.Delay5b));
  mot_.Smooth = uint8_t(ri("SMOOTH", kSmoothMin, kByteMax, mot_.Smooth));
  mot_.WaitRF = rb("WAITRF", mot_.WaitRF);
  mot_.HystDg = uint8_t(ri("HYSTDG", 0, kByteMax, mot_.HystDg));
  mot_.SendTunePos = rb("SendTunePos", false);
  MstpCW.OnPeriod_ms = uint16_t(ri("OnPeriod_ms", 0, kWordMax, MstpCW.OnPeriod_ms));
  MstpCW.OfsPeriod_s = uint16_t(ri("OfsPeriod_s", 0, kSecondsMax, MstpCW.OfsPeriod_s));
  MstpCW.FPeriod_ms = uint16_t(ri("FPeriod_ms", 0, kWordMax, MstpCW.FPeriod_ms));
  MstpCW.TPeriod_s = uint16_t(ri("TPeriod_s", 0, kSecondsMax, MstpCW.TPeriod_s));
  MstpCW.TxPeriod_ms = uint16_t(ri("TxPeriod_ms", 0, kWordMax, MstpCW.TxPeriod_ms));
  MstpCW.TxMask = uint8_t(ri("TxMask", 0, kByteMax, MstpCW.TxMask) & kTxMaskBits);
  MstpCW.OnRnge = TRangeE(ri("OnRnge", kRangeMin, kRangeMax, MstpCW.OnRnge));
  MstpCW.OfsRnge = TRangeE(ri("OfsRnge", kRangeMin, kRangeMax, MstpCW.OfsRnge));
  MstpCW.OfsEqualOn = rb("OfsEqualOn", MstpCW.OfsEqualOn);

  if (sync) BringUnitInLine(*sync);
  return info;
}

void TQvWin::BringUnitInLine(TUnitSync& sync) {
  sync.StopUnit();
  RectifDerived(Rectif);
  // The unit takes the operator's trigger method with the waveform settings.
  VarPar.TrgMeth_AccLvl = WithTrgMethod(VarPar.TrgMeth_AccLvl, TrgMethod);
  sync.SendWaveform();
  sync.SendFreqTolerance(VarPar.FdeltaMHz);
  sync.SendCounter(VarPar.TcountCw, VarPar.IsCntOn);
  sync.SendSubstFreq(VarPar.FsubstKHz);
  sync.SendFsamplCw(VarPar.FsamplCw);
  sync.SendAveraging(VarPar.Vrpt, VarPar.Trpt);
  if (SrvVerNum > kSrvVerMeaStp) sync.SendMeaStp(MstpCW);
  sync.RefreshMeaStpWindow();
  sync.SendMotRefresh(MotRefreshMs);
  sync.SendAutotuneParams();
  sync.SendAutotuneOnOff(mot_.AtOn);
  sync.SendTunePosState(mot_.SendTunePos);
  if (SrvVerNum > kSrvVerMeaStp) sync.SendHysteresis(mot_.HystDg);
}

}  // namespace qz
