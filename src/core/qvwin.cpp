#include "core/qvwin.h"

#include <algorithm>
#include <cmath>

#include "core/frame.h"
#include "util/inifile.h"
#include "util/numutil.h"
#include "util/stpkeys.h"

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

bool TQvWin::DekodStored(const TMerObjekt& frame, THresults& res) const {
  TMotState scratch = mot_;
  return DekodStored(frame, res, scratch);
}

bool TQvWin::DekodStored(const TMerObjekt& frame, THresults& res, TMotState& mot) const {
  const TDecodeTransforms tr(PlaneExt, BiTr);
  uint16_t nmo = 0;
  return qz::DekodMerData(frame, res, mot, f_cutoff, tr, nmo);
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

namespace {

// A field of the analyzer state or of the records it holds.
#define QV_FIELD(expr) \
  [](TQvWin & q) -> auto& { return q.expr; }

// The analyzer's section in the order it is written (after "SetupInfo"). Some limits follow the
// unit's description, so the table is made for the description in force.
TStpKeys<TQvWin> QvKeys(const TFixPar& fix) {
  TStpKeys<TQvWin> k;
  k.Int("Points", QV_FIELD(PtsPerSwp), kPtsPerSwpMin, kPtsPerSwpMax)
      .Custom(
          "PlaneExt",
          [](const TQvWin& q, IniFile& ini, const QString& s) {
            ini.WriteFloat(s, QStringLiteral("PlaneExt"), q.PlaneExt.Extension);
          },
          [](TQvWin& q, const IniFile& ini, const QString& s) {
            q.PlaneExt.SetValue(ClampLowWins(ini.ReadFloat(s, QStringLiteral("PlaneExt"), 0.0),
                                             -kPlaneExtMaxMm, kPlaneExtMaxMm));
          })
      .Int("Vrpt", QV_FIELD(VarPar.Vrpt), kAvgCountMin, kAvgCountMax)
      .Int("Trpt", QV_FIELD(VarPar.Trpt), kAvgCountMin, kAvgCountMax)
      .Custom(
          "IsCntOn",
          [](const TQvWin& q, IniFile& ini, const QString& s) {
            ini.WriteInteger(s, QStringLiteral("IsCntOn"), q.VarPar.IsCntOn);
          },
          // Only the counter bit is taken; a missing key switches the counter on.
          [](TQvWin& q, const IniFile& ini, const QString& s) {
            q.VarPar.IsCntOn = uint8_t(ini.ReadInteger(s, QStringLiteral("IsCntOn"), 1) & 1);
          })
      .Int("TcountCw", QV_FIELD(VarPar.TcountCw), kCountTimeMinUs, kCountTimeMaxUs)
      .Int("FdeltaMHz", QV_FIELD(VarPar.FdeltaMHz), 1, fix.FnominKHz / 2000)
      .Int("FsubstKHz", QV_FIELD(VarPar.FsubstKHz), kFsubstMinKHz, INT32_MAX)
      .Int("FsamplCw", QV_FIELD(VarPar.FsamplCw), kSmplFreqMin, fix.FmaxSmpl)
      .Int("MotRefreshMs", QV_FIELD(MotRefreshMs), kMotRefreshMinMs, kWordMax)
      .Int("Waveform", QV_FIELD(VarPar.Waveform), wfCW, wfPulsed)
      // The sampling values get the ranges the planner enforces: a ripple frequency of 0 would
      // divide by zero in the ripple period and the frame time-out.
      .Int("LineFreq", QV_FIELD(Rectif.RippleFreq), kRippleFreqMin, kRippleFreqMax)
      .Int("Periods", QV_FIELD(Rectif.Periods), kPeriodsMin, kPeriodsMax)
      .Int("NvzRect", QV_FIELD(Rectif.Nvzoriek), kSmplCountMin, kSmplCountMax)
      .Int("TcntRect", QV_FIELD(Rectif.TcntUs), kCountTimeMinUs, kCountTimeMaxUs)
      .Bool("BsmplRect", QV_FIELD(Rectif.Bsamples))
      .Int("TsmplPuls", QV_FIELD(Pulsed.TsamplUs), kSmplTimeMinUs, kSmplTimeMaxUs)
      .Int("TmaxMsPuls", QV_FIELD(Pulsed.TmaxMs), kPulsPeriodMaxMsMin, kPulsPeriodMaxMsMax)
      .Int("NvzPuls", QV_FIELD(Pulsed.Nvzoriek), kSmplCountMin, kSmplCountMax)
      .Int("TcntPuls", QV_FIELD(Pulsed.TcntUs), kCountTimeMinUs, kCountTimeMaxUs)
      .Bool("BsmplPuls", QV_FIELD(Pulsed.Bsamples))
      .Int("TrgLevel", QV_FIELD(VarPar.MinMaxTrgLvl), 0, kLevelMax)
      .Int("TrgMethod", QV_FIELD(TrgMethod), 0, 1)
      // The accept levels are parts of the packed trigger word.
      .Custom(
          "Rect_Acc_Lvl",
          [](const TQvWin& q, IniFile& ini, const QString& s) {
            ini.WriteInteger(s, QStringLiteral("Rect_Acc_Lvl"),
                             RectAccLvlOf(q.VarPar.TrgMeth_AccLvl));
          },
          [](TQvWin& q, const IniFile& ini, const QString& s) {
            uint16_t& w = q.VarPar.TrgMeth_AccLvl;
            w = WithRectAccLvl(
                w, ClampLowWins(ini.ReadInteger(s, QStringLiteral("Rect_Acc_Lvl"), RectAccLvlOf(w)),
                                0, kLevelMax));
          })
      .Custom(
          "Puls_Acc_Lvl",
          [](const TQvWin& q, IniFile& ini, const QString& s) {
            ini.WriteInteger(s, QStringLiteral("Puls_Acc_Lvl"),
                             PulsAccLvlOf(q.VarPar.TrgMeth_AccLvl));
          },
          [](TQvWin& q, const IniFile& ini, const QString& s) {
            uint16_t& w = q.VarPar.TrgMeth_AccLvl;
            w = WithPulsAccLvl(
                w, ClampLowWins(ini.ReadInteger(s, QStringLiteral("Puls_Acc_Lvl"), PulsAccLvlOf(w)),
                                0, kLevelMax));
          })
      .Text("BilinTrPath", QV_FIELD(BiTr.Path))
      // The transform's direction: 1 Remove fixture; missing or anything else Apply two-port.
      .Custom(
          "BilinTrDir",
          [](const TQvWin& q, IniFile& ini, const QString& s) {
            ini.WriteInteger(s, QStringLiteral("BilinTrDir"),
                             q.BiTr.Direction == TBilinDir::Remove ? 1 : 0);
          },
          [](TQvWin& q, const IniFile& ini, const QString& s) {
            q.BiTr.Direction = ini.ReadInteger(s, QStringLiteral("BilinTrDir"), 0) == 1
                                   ? TBilinDir::Remove
                                   : TBilinDir::Apply;
          })
      .Bool("IsOn", QV_FIELD(Mot().AtOn))
      .Int("Toler_mU", QV_FIELD(Mot().Toler_mU), 0, kAtMilliMax)
      .Int("Targ_mU", QV_FIELD(Mot().Targ_mU), 0, kAtMilliMax)
      .Int("Skip", QV_FIELD(Mot().Skip), 0, kByteMax)
      .Int("Delay5b", QV_FIELD(Mot().Delay5b), 0, kDelay5bMax)
      .Int("Smooth", QV_FIELD(Mot().Smooth), kSmoothMin, kByteMax)
      .Bool("WaitRF", QV_FIELD(Mot().WaitRF))
      .Int("HystDg", QV_FIELD(Mot().HystDg), 0, kByteMax)
      .Bool("SendTunePos", QV_FIELD(Mot().SendTunePos), false)
      .Int("OnPeriod_ms", QV_FIELD(MstpCW.OnPeriod_ms), 0, kWordMax)
      .Int("OfsPeriod_s", QV_FIELD(MstpCW.OfsPeriod_s), 0, kSecondsMax)
      .Int("FPeriod_ms", QV_FIELD(MstpCW.FPeriod_ms), 0, kWordMax)
      .Int("TPeriod_s", QV_FIELD(MstpCW.TPeriod_s), 0, kSecondsMax)
      .Int("TxPeriod_ms", QV_FIELD(MstpCW.TxPeriod_ms), 0, kWordMax)
      .Custom(
          "TxMask",
          [](const TQvWin& q, IniFile& ini, const QString& s) {
            ini.WriteInteger(s, QStringLiteral("TxMask"), q.MstpCW.TxMask);
          },
          // Only the three channel bits are taken.
          [](TQvWin& q, const IniFile& ini, const QString& s) {
            q.MstpCW.TxMask =
                uint8_t(ClampLowWins(ini.ReadInteger(s, QStringLiteral("TxMask"), q.MstpCW.TxMask),
                                     0, kByteMax) &
                        kTxMaskBits);
          })
      .Int("OnRnge", QV_FIELD(MstpCW.OnRnge), kRangeMin, kRangeMax)
      .Int("OfsRnge", QV_FIELD(MstpCW.OfsRnge), kRangeMin, kRangeMax)
      .Bool("OfsEqualOn", QV_FIELD(MstpCW.OfsEqualOn));
  return k;
}

#undef QV_FIELD

// The operator's comment that heads the analyzer's section.
const TStpKeys<QString>& InfoKeys() {
  static const TStpKeys<QString> keys = TStpKeys<QString>().Text(
      "SetupInfo", [](QString& info) -> QString& { return info; }, QString());
  return keys;
}

}  // namespace

void TQvWin::WriteStp(int unitIndex, IniFile& setup, const QString& info) const {
  const QString sec = QvSetupSection(unitIndex);
  InfoKeys().Write(info, setup, sec);
  QvKeys(FixPar).Write(*this, setup, sec);
}

QString TQvWin::ReadStp(int unitIndex, const IniFile& setup, TUnitSync* sync) {
  const QString sec = QvSetupSection(unitIndex);
  QString info;
  InfoKeys().Read(info, setup, sec);
  QvKeys(FixPar).Read(*this, setup, sec);
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
