#include "app/paramcmds.h"

#include <algorithm>

#include "core/onesweep.h"
#include "core/sampling.h"
#include "util/format.h"
#include "util/numtext.h"
#include "util/numutil.h"
#include "util/timetext.h"
#include "util/unitconv.h"
#include "util/valueinput.h"

namespace qz {

const char* const kTitleWaveform = "Waveform";
const char* const kTitleCountTime = "Count Time";
const char* const kTitleSampleCount = "Sample Count";
const char* const kTitleVoltAveraging = "Voltage Averaging";
const char* const kTitleSamplingTime = "Sampling Time";
const char* const kTitleTriggerLevel = "Trigger Level";
const char* const kTitleFreeRun = "Free Run";
const char* const kTitleSamplesOnOff = "Send Samples ON/OFF";
const char* const kTitleFreqToler = "Set Frequency Tolerance";
const char* const kTitleSubstFreq = "Set Substitute Frequency";
const char* const kTitleFreqOnly = "Set Frequency Profile Measurement";
const char* const kTitleSamplFreq = "Sampling Frequency";
const char* const kTitleMotRefresh = "Motors Refresh Period";
const char* const kTitleAutotune = "Autotune ON/OFF";

const char* const kNoDataYet = "No data available: make measurement first";
const char* const kSubstReenter = "Error: Bad input or out of bounds.\r\nPlease re-enter.";
const char* const kFsamplCancelled = "Input incorrect or out of bounds - operation cancelled";
const char* const kFreqOnlyAdvice =
    "    You are advised to close Result Windows: updating them is excessively "
    "time-consuming.\r\n    For the same reason, you may wish to close all graphical displays "
    "except Freq display.";
const char* const kSamplFreqCaptionDefault = "200.000 kHz";

namespace {

constexpr int kWaitAnimation = 3;
// Above this many seconds of time-out the wait window says how long it may take.
constexpr int32_t kWaitShowToutAboveS = 4;
constexpr int32_t kSamplTimeMinUs = 10;
constexpr int32_t kSamplTimeMaxUs = 10000000;
constexpr int32_t kVrptMax = 4095;
constexpr int32_t kSamplesMin = 21;
constexpr int32_t kFsamplMinHz = 10;
constexpr int32_t kMotRefreshMaxMs = 65535;
// 10 Hz counts per MHz and per kHz.
constexpr double kCountsPerMHz = 100000.0;
constexpr double kCountsPerKHz = 100.0;

QString L1(const char* s) { return QString::fromLatin1(s); }

QString Paren(const QString& caption, const QString& value) {
  return caption + QStringLiteral("  (") + value + QStringLiteral(")");
}

QString Num(int64_t n) {
  return Format(QStringLiteral("%d"), {static_cast<long long>(n)}, QChar('.'));
}

QString WaveformName(int w) {
  switch (w) {
    case wfRectified:
      return QStringLiteral("Rectified");
    case wfPulsed:
      return QStringLiteral("Pulsed");
    default:
      return QStringLiteral("CW");
  }
}

// A kHz value as a frequency count, formed in 64 bits and saturated.
int32_t KHzToCount(int64_t khz) { return HzToFreqCount(double(khz) * 1000.0); }

}  // namespace

TSignalBarState SignalBarState(int waveform, bool bsamples, int trgMethod) {
  const bool cw = waveform == wfCW;
  const bool samples = !cw && bsamples;
  TSignalBarState s;
  s.cwDown = cw;
  s.rectDown = waveform == wfRectified;
  s.pulsDown = waveform == wfPulsed;
  s.samplesDown = samples;
  s.samplesEnabled = !cw;
  s.singleShotEnabled = samples;
  s.preEnabled = samples;
  s.trgLevelEnabled = !cw;
  s.freeRunEnabled = !cw;
  s.freeRunDown = trgMethod == 0;
  s.samplTimeEnabled = waveform == wfPulsed;
  s.freqOnlyEnabled = cw;
  s.pointsEnabled = cw || !bsamples;
  s.progressVisible = samples;
  return s;
}

int SamplesMode(bool samplesDown, bool singleShotDown) {
  if (!samplesDown) return 0;
  return singleShotDown ? 2 : 1;
}

TQuzarMenuState QuzarMenuState(const TQvWin& qv, const QString& planeExtText,
                               bool transformActive) {
  const TVarPar& v = qv.VarPar;
  const int w = v.Waveform;
  const bool bsamples = BlockSamplingOn(w, qv.Rectif, qv.Pulsed);
  TQuzarMenuState m;
  m.planeExt = Paren(QStringLiteral("Plane &Ext"), planeExtText);
  m.points = Paren(QStringLiteral("&Points per Sweep"), Num(qv.PtsPerSwp));
  m.pointsEnabled = w == wfCW || !bsamples;
  const int32_t tc =
      w == wfCW ? v.TcountCw : (w == wfRectified ? qv.Rectif.TcntUs : qv.Pulsed.TcntUs);
  m.countTime =
      Paren(QStringLiteral("Count &Time ") + WaveformName(w).left(6), MicrosDigitsToText(tc));
  m.freqToler = Paren(QStringLiteral("&Freq Toler"), Num(v.FdeltaMHz) + QStringLiteral(" MHz"));
  m.counter = Paren(QStringLiteral("C&ounter"),
                    v.IsCntOn == 1 ? QStringLiteral("ON") : QStringLiteral("OFF"));
  m.counterChecked = v.IsCntOn == 1;
  m.powCal = Paren(QStringLiteral("&Pow Cal Factor"), NumberText3(double(qv.UserPowCorr)));
  m.substFreq = Paren(QStringLiteral("Su&bstit Freq"), HzToText(int64_t(v.FsubstKHz) * 1000, true));
  m.transformChecked = transformActive;
  return m;
}

TTunerMenuState TunerMenuState(const TQvWin& qv) {
  const TMotState& m = qv.Mot();
  auto yesNo = [](bool b) { return b ? QStringLiteral("YES") : QStringLiteral("NO"); };
  TTunerMenuState t;
  t.autotune =
      Paren(QStringLiteral("&Autotune"), m.AtOn ? QStringLiteral("ON") : QStringLiteral("OFF"));
  t.autotuneChecked = m.AtOn;
  t.active = Paren(QStringLiteral("&Active"), yesNo(m.AtOn));
  t.activeChecked = m.AtOn;
  t.toler = Paren(QStringLiteral("&Toler"), Num(m.Toler_mU));
  t.target = Paren(QStringLiteral("Target"), Num(m.Targ_mU));
  t.smooth = Paren(QStringLiteral("S&mooth"), Num(m.Smooth));
  t.delay = Paren(QStringLiteral("De&lay"), Num(m.Delay5b));
  t.waitRf = Paren(QStringLiteral("Wait &RF"), yesNo(m.WaitRF));
  t.skip = Paren(QStringLiteral("&Skip"), Num(m.Skip));
  t.motRefresh =
      Paren(QStringLiteral("&Motors Refresh"), Num(qv.MotRefreshMs) + QStringLiteral(" ms"));
  t.hysteresis = Paren(QStringLiteral("&Hysteresis"), Num(m.HystDg));
  return t;
}

QString CountTimePrompt(TQvWin& qv) {
  switch (qv.VarPar.Waveform) {
    case wfRectified: {
      // A ripple frequency of 0 (a damaged setup) is taken as 1 Hz rather than dividing by it.
      const double f = std::max<double>(qv.Rectif.RippleFreq, 1.0);
      qv.Rectif.RplPeri_us = RoundToInt32(1e6 / f);
      return QStringLiteral("Note: Ripple Period = ") + MicrosDigitsToText(qv.Rectif.RplPeri_us) +
             QStringLiteral("\r\nRecommended max. counting time: ") +
             MicrosDigitsToText(RoundToInt32(375000.0 / f)) +
             QStringLiteral(
                 "\r\n\r\nFrequency counting time in microseconds for Rectified waveform");
    }
    case wfPulsed:
      return QStringLiteral("Frequency counting time in microseconds for Pulsed waveform");
    default:
      return QStringLiteral("Recommended min count time for full accuracy:  ") +
             MicrosDigitsToText(qv.GetTcountMinRecommended_us()) +
             QStringLiteral("\r\nMax value - automatically used if exceeded:  ") +
             MicrosDigitsToText(kCountTimeMaxUs) +
             QStringLiteral("\r\n\r\nFrequency counting time in microseconds for CW mode");
  }
}

QString WaveformWaitCaption(int32_t timeoutMs) {
  const int32_t s = timeoutMs / 1000;
  if (s > kWaitShowToutAboveS)
    return QStringLiteral("Wait (Tout=") + Num(s) + QStringLiteral(" s)...");
  return QString();
}

QString WaveformWaitText(const QString& title) {
  return QStringLiteral("\"") + title + QStringLiteral("\" command running...");
}

TParamCmds::TParamCmds(TQvWin& qv, TQzCmd& cmd, int32_t& nPretrg, TParamPort* port, TAsker* asker)
    : qv_(qv), cmd_(cmd), nPretrg_(nPretrg), port_(port), asker_(asker) {}

bool& TParamCmds::CurBsamples() {
  return qv_.VarPar.Waveform == wfPulsed ? qv_.Pulsed.Bsamples : qv_.Rectif.Bsamples;
}

QString TParamCmds::SamplFreqCaption() const {
  const int w = qv_.VarPar.Waveform;
  const int32_t hz =
      w == wfCW ? qv_.VarPar.FsamplCw : (w == wfRectified ? qv_.Rectif.Fvzork : qv_.Pulsed.Fvzork);
  return HzToText(hz, true);
}

TSignalBarState TParamCmds::BarState() const {
  const int w = qv_.VarPar.Waveform;
  const bool b = w == wfPulsed ? qv_.Pulsed.Bsamples : (w == wfRectified && qv_.Rectif.Bsamples);
  return SignalBarState(w, b, qv_.TrgMethod);
}

void TParamCmds::UpdateSignalBar() { Port().UpdateSignalBar(BarState()); }

int32_t TParamCmds::SendWaveform(int32_t timeoutMs, bool showWait, bool report,
                                 const QString& title) {
  if (showWait) {
    const int32_t ms = timeoutMs == kToutForCycle ? qv_.FrameTimeoutMs(kToutForCycle) : timeoutMs;
    ShowWait(WaveformWaitCaption(ms), WaveformWaitText(title), kWaitAnimation, 0, Ask());
  }
  qv_.VarPar.TrgMeth_AccLvl = WithTrgMethod(qv_.VarPar.TrgMeth_AccLvl, qv_.TrgMethod);
  const int32_t r = cmd_.SetSampling();
  if (showWait) HideWait(Ask());
  if (report) cmd_.ShowCmdResult(title, r);
  if (r == kCmdOk) {
    Port().ShowSamplFreq(SamplFreqCaption());
    Port().BlankAll();
    UpdateSignalBar();
    Port().RefreshXaxis();
  }
  return r;
}

int32_t TParamCmds::ApplySampling() {
  Port().BlankAll();
  qv_.LastSwp.Init(qv_.PlaneExt.Extension);
  TVarPar& v = qv_.VarPar;
  int32_t r = kCmdOk;
  if (v.Waveform == wfCW) {
    r = cmd_.SetAveraging(v.Vrpt, v.Trpt);
    if (r == kCmdOk) r = cmd_.SetFreqParam(kFreqSamplCw, v.FsamplCw);
    if (r != kCmdOk) return r;
  }
  r = cmd_.SetCounter(v.TcountCw, v.IsCntOn);
  if (r != kCmdOk) return r;
  return SendWaveform(kToutForCycle, true, true, L1(kTitleWaveform));
}

int32_t TParamCmds::SamplingSetupAccepted() {
  const int32_t r = ApplySampling();
  Port().SetFreeRunDown(qv_.TrgMethod == 0);
  return r;
}

void TParamCmds::PointsPerSweep() {
  const int32_t v = AskIntegerInRange(QStringLiteral("Number of points per sweep"), qv_.PtsPerSwp,
                                      kPtsPerSwpMin, kPtsPerSwpMax, Ask());
  if (v == qv_.PtsPerSwp) return;
  qv_.PtsPerSwp = v;
  qv_.LastSwp.SetNwanted(SweepCapacity(v, qv_.VarPar.Waveform, qv_.Rectif, qv_.Pulsed));
  Port().RefreshXaxis();
}

void TParamCmds::Counter() {
  const uint8_t on = qv_.VarPar.IsCntOn == 1 ? 0 : 1;
  if (cmd_.SetCounter(qv_.VarPar.TcountCw, on) != kCmdOk) {
    Ask().Beep(0, 0);
    return;
  }
  cmd_.RefreshMeaStpWindow();
}

void TParamCmds::CountTime() {
  const QString prompt = CountTimePrompt(qv_);
  TVarPar& v = qv_.VarPar;
  const int w = v.Waveform;
  int32_t& stored =
      w == wfCW ? v.TcountCw : (w == wfRectified ? qv_.Rectif.TcntUs : qv_.Pulsed.TcntUs);
  const int32_t old = stored;
  // The unit counts in steps of 16 us: the time kept (and shown) is the one it will count.
  const int32_t n =
      RoundCountTime(AskIntegerInRange(prompt, old, kCountTimeMinUs, kCountTimeMaxUs, Ask()));
  if (n == old) return;
  stored = n;
  if (w == wfCW) {
    const int32_t r = cmd_.SetCounter(n, v.IsCntOn);
    cmd_.ShowCmdResult(L1(kTitleCountTime), r);
    if (r != kCmdOk) {
      v.TcountCw = old;
      return;
    }
    cmd_.RefreshMeaStpWindow();
    return;
  }
  if (SendWaveform(kToutForCycle, true, true, L1(kTitleCountTime)) != kCmdOk) stored = old;
}

void TParamCmds::FreqToler() {
  TVarPar& v = qv_.VarPar;
  const int32_t cur = HzToFreqCount(double(v.FdeltaMHz) * 1e6);
  const int32_t hi = KHzToCount(qv_.FixPar.FnominKHz);
  const TFreqAnswer a = AskFreqCount(
      QStringLiteral("Enter maximum deviation of counted frequency from nominal\r\n"
                     "to be accepted as valid"),
      cur, int32_t(kCountsPerMHz), std::max<int32_t>(hi, int32_t(kCountsPerMHz)), true, Ask());
  if (a.cancelled) return;
  // Whole MHz, truncated: the unit takes nothing finer.
  const int32_t mhz = std::clamp<int32_t>(int32_t(double(a.value) / kCountsPerMHz), 0, 65535);
  if (mhz == v.FdeltaMHz) return;
  const uint16_t old = v.FdeltaMHz;
  v.FdeltaMHz = static_cast<uint16_t>(mhz);
  const int32_t r = cmd_.SetFreqParam(kFreqDelta, mhz);
  cmd_.ShowCmdResult(L1(kTitleFreqToler), r);
  if (r != kCmdOk) v.FdeltaMHz = old;
}

void TParamCmds::SubstFreq() {
  TVarPar& v = qv_.VarPar;
  const int64_t nom = qv_.FixPar.FnominKHz;
  const int64_t tolKHz = int64_t(v.FdeltaMHz) * 1000;
  const int32_t lo = KHzToCount(nom - tolKHz);
  const int32_t hi = KHzToCount(nom + tolKHz);
  const int32_t cur = KHzToCount(v.FsubstKHz);
  const QString prompt =
      QStringLiteral("Enter substitute frequency Quzar should send\r\nin case of disabled counter");
  for (;;) {
    const TFreqAnswer a = AskFreqCount(prompt, cur, lo, hi, false, Ask());
    if (a.cancelled) return;
    if (a.error) {
      Ask().ShowError(L1(kSubstReenter));
      continue;
    }
    // kHz, rounded half to even; "changed" compares in the unit sent.
    const int32_t khz = RoundToInt32(double(a.value) / kCountsPerKHz);
    if (khz == v.FsubstKHz) return;
    const int32_t old = v.FsubstKHz;
    v.FsubstKHz = khz;
    const int32_t r = cmd_.SetFreqParam(kFreqSubst, khz);
    cmd_.ShowCmdResult(L1(kTitleSubstFreq), r);
    if (r != kCmdOk) v.FsubstKHz = old;
    return;
  }
}

void TParamCmds::SamplingTime() {
  int32_t& t = qv_.Pulsed.TsamplUs;
  const int32_t old = t;
  const int32_t n = AskIntegerInRange(
      QStringLiteral(
          "Note: the value may be modified by software.\r\n\r\nSampling time in microseconds"),
      old, kSamplTimeMinUs, kSamplTimeMaxUs, Ask());
  if (n != old) {
    t = n;
    if (SendWaveform(kToutForCycle, true, true, L1(kTitleSamplingTime)) != kCmdOk) t = old;
  }
  UpdateSignalBar();
}

void TParamCmds::SampleCount() {
  TVarPar& v = qv_.VarPar;
  const int w = v.Waveform;
  if (w == wfCW) {
    const int32_t n = AskIntegerInRange(
        QStringLiteral("Voltage measurement averaging for CW signal"), v.Vrpt, 1, kVrptMax, Ask());
    if (n != v.Vrpt) {
      const uint16_t old = v.Vrpt;
      const int32_t r = cmd_.SetAveraging(n, v.Trpt);
      cmd_.ShowCmdResult(L1(kTitleVoltAveraging), r);
      if (r == kCmdOk) {
        cmd_.RefreshMeaStpWindow();
        Port().BlankAll();
      } else {
        v.Vrpt = old;
      }
    }
  } else {
    uint16_t& count = w == wfRectified ? qv_.Rectif.Nvzoriek : qv_.Pulsed.Nvzoriek;
    const QString prompt =
        w == wfRectified
            ? QStringLiteral(
                  "Note: the value may be modified by software.\r\n\r\nNumber of samples "
                  "for Rectified waveform")
            : QStringLiteral("Number of samples for Pulsed waveform");
    const int32_t hi = std::clamp<int32_t>(qv_.GetMaxSamples(), kSamplesMin, 65535);
    const uint16_t old = count;
    const int32_t n = AskIntegerInRange(prompt, old, kSamplesMin, hi, Ask());
    if (n != old) {
      count = static_cast<uint16_t>(n);
      if (SendWaveform(kToutForCycle, true, true, L1(kTitleSampleCount)) != kCmdOk) count = old;
    }
  }
  Port().RefreshXaxis();
  UpdateSignalBar();
}

void TParamCmds::PreTrigger() {
  const int32_t count = qv_.LastSwp.Count();
  if (count <= 0) {
    Ask().ShowInfo(L1(kNoDataYet));
    return;
  }
  nPretrg_ = AskIntegerInRange(QStringLiteral("Points to show before triggering event"), nPretrg_,
                               0, count - 1, Ask());
}

void TParamCmds::TriggerLevel() {
  uint8_t& lvl = qv_.VarPar.MinMaxTrgLvl;
  const uint8_t old = lvl;
  const int32_t n = AskIntegerInRange(QStringLiteral("Trigger level"), old, 0, 100, Ask());
  if (n != old) {
    lvl = static_cast<uint8_t>(n);
    if (SendWaveform(kToutForCycle, true, true, L1(kTitleTriggerLevel)) != kCmdOk) lvl = old;
  }
  UpdateSignalBar();
}

void TParamCmds::FreeRun() {
  const TTrgMethod old = qv_.TrgMethod;
  qv_.TrgMethod = old == 0 ? 1 : 0;
  if (SendWaveform(kToutForCycle, true, true, L1(kTitleFreeRun)) != kCmdOk) {
    qv_.TrgMethod = old;
    qv_.VarPar.TrgMeth_AccLvl = WithTrgMethod(qv_.VarPar.TrgMeth_AccLvl, old);
  }
  UpdateSignalBar();
}

void TParamCmds::SetWaveform(int waveform) {
  const int w = std::clamp(waveform, int(wfCW), int(wfPulsed));
  const TWaveform old = qv_.VarPar.Waveform;
  if (w != old) {
    qv_.VarPar.Waveform = static_cast<TWaveform>(w);
    if (ApplySampling() != kCmdOk) {
      qv_.VarPar.Waveform = old;
      qv_.LastSwp.SetNwanted(SweepCapacity(qv_.PtsPerSwp, old, qv_.Rectif, qv_.Pulsed));
    }
  }
  UpdateSignalBar();
}

void TParamCmds::SamplingFreq() {
  TVarPar& v = qv_.VarPar;
  if (v.Waveform == wfCW) {
    const int32_t old = v.FsamplCw;
    const TFreqAnswer a = AskFreqHz(
        QStringLiteral("Note: the value may be modified by software.\r\n\r\nEnter sampling rate "
                       "for CW signal waveform"),
        old, kFsamplMinHz, std::max(qv_.FixPar.FmaxSmpl, kFsamplMinHz), false, Ask());
    if (a.value == old) {
      if (a.error && !a.cancelled) Ask().ShowWarning(L1(kFsamplCancelled));
    } else {
      v.FsamplCw = a.value;
      const int32_t r = cmd_.SetFreqParam(kFreqSamplCw, a.value);
      // A refused rate is told like every other refused setting, under the button's name.
      cmd_.ShowCmdResult(L1(kTitleSamplFreq), r);
      if (r == kCmdOk)
        cmd_.RefreshMeaStpWindow();
      else
        v.FsamplCw = old;
    }
  }
  Port().ShowSamplFreq(SamplFreqCaption());
}

bool TParamCmds::FreqOnly(bool on) {
  bool confirmed = cmd_.FreqOnly;
  const int32_t r = cmd_.SetFreqOnly(on, confirmed);
  cmd_.ShowCmdResult(L1(kTitleFreqOnly), r);
  Port().SetFreqOnlyDown(confirmed);
  if (r == kCmdOk && on && confirmed) Ask().ShowInfo(L1(kFreqOnlyAdvice));
  return confirmed;
}

void TParamCmds::Samples(bool samplesDown, bool singleShotDown) {
  const int mode = SamplesMode(samplesDown, singleShotDown);
  if (mode == 1) Port().SetSingleShotDown(false);
  if (mode == 2) Port().SetSingleShotDown(true);
  if (qv_.VarPar.Waveform != wfCW) {
    bool& cur = CurBsamples();
    const bool want = mode != 0;
    if (want != cur) {
      const bool oldRect = qv_.Rectif.Bsamples, oldPuls = qv_.Pulsed.Bsamples;
      cur = want;
      if (SendWaveform(kToutForCycle, true, true, L1(kTitleSamplesOnOff)) != kCmdOk) {
        qv_.Rectif.Bsamples = oldRect;
        qv_.Pulsed.Bsamples = oldPuls;
        qv_.LastSwp.SetNwanted(
            SweepCapacity(qv_.PtsPerSwp, qv_.VarPar.Waveform, qv_.Rectif, qv_.Pulsed));
      }
    }
  }
  UpdateSignalBar();
}

void TParamCmds::Home() {
  if (cmd_.ResetStubs() == kCmdOk) Port().RedrawStubs();
}

void TParamCmds::MotorsRefresh() {
  const uint16_t old = qv_.MotRefreshMs;
  const int32_t n = AskIntegerInRange(QStringLiteral("Period [ms] of sending motors data"), old, 0,
                                      kMotRefreshMaxMs, Ask());
  if (n == old) return;
  qv_.MotRefreshMs = static_cast<uint16_t>(n);
  const int32_t r = cmd_.SetMotRefresh(static_cast<uint16_t>(n));
  cmd_.ShowCmdResult(L1(kTitleMotRefresh), r);
  if (r != kCmdOk) {
    qv_.MotRefreshMs = old;
    return;
  }
  cmd_.RefreshMeaStpWindow();
}

void TParamCmds::AutotuneActive() {
  const bool on = !qv_.Mot().AtOn;
  const int32_t r = cmd_.AutotuneOnOff(on ? 1 : 0);
  cmd_.ShowCmdResult(L1(kTitleAutotune), r);
  Port().SetAutotuneButton(qv_.Mot().AtOn);
}

}  // namespace qz
