#include "setupdlg/samplsetup.h"

#include "core/sampling.h"
#include "util/format.h"
#include "util/numutil.h"
#include "util/timetext.h"
#include "util/valueinput.h"

namespace qz {

namespace {

constexpr int kTimeDigits = 7;

QString IntText(int64_t v) { return Format(QStringLiteral("%d"), {static_cast<long long>(v)}); }

TTimeText TimeText(int32_t us) {
  const TMicrosText t = MicrosToText(us, kTimeDigits);
  return {t.value, t.unitIndex};
}

QString L(const char* s) { return QString::fromLatin1(s); }

// An integer entry; the default stays inside limits that a damaged record may have crossed.
int32_t ReadInt(const QString& text, const char* label, int32_t lo, int32_t hi, int32_t def,
                QString& errors) {
  return ValidateIntEdit(text, L(label), lo, hi, ClampLowWins(def, lo, hi), errors);
}

}  // namespace

QString TimeUnitName(int unit) {
  switch (unit) {
    case 1:
      return QStringLiteral("ms");
    case 2:
      return QStringLiteral("s");
    default:
      return QStringLiteral("us");
  }
}

QString SamplErrorText(const QString& lines) {
  return QStringLiteral("Some inputs were incorrect or out of bounds:\r\n") + lines +
         QStringLiteral("\r\nSet to defaults or trimmed.");
}

QString SamplDefaultsQuestion(int page) {
  switch (page) {
    case wfRectified:
      return QStringLiteral("Set Rectified sampling to defaults");
    case wfPulsed:
      return QStringLiteral("Set Pulsed sampling to defaults");
    default:
      return QStringLiteral("Set CW sampling to defaults");
  }
}

void TSamplSetup::Take(const TFixPar& fix, const TVarPar& var, const TRectif& rect,
                       const TPulsed& puls, int32_t preTrg, bool oneShot, TTrgMethod trgMethod) {
  MyFix = fix;
  MyVar = var;
  MyRect = rect;
  MyPuls = puls;
  // The frame window keeps a larger count (its setup default); in use it is limited to the
  // series length anyway, so the dialog takes it within its own range without calling it an
  // input error.
  MyPreTrg = ClampLowWins(preTrg, 0, kPreTrgMax);
  MyOneShot = oneShot;
  MyTrgMethod = trgMethod;
  error_str.clear();
  ShowAll();
}

void TSamplSetup::ShowAll() {
  ShowPage(wfCW);
  ShowPage(wfRectified);
  ShowPage(wfPulsed);
}

void TSamplSetup::ShowCommon() {
  View.freeRun = MyTrgMethod == 0;
  View.trgLevel = IntText(MyVar.MinMaxTrgLvl);
  View.preTrig = IntText(MyPreTrg);
  View.counterOn = (MyVar.IsCntOn & 1) != 0;
  View.singleShot = MyOneShot;
}

void TSamplSetup::ShowPage(int page) {
  TSamplView& v = View;
  const int32_t fmax = MyFix.FmaxSmpl;
  if (page == wfRectified) {
    PlanSampling(wfRectified, fmax, MyRect, MyPuls);
    v.rcRippleFreq = IntText(MyRect.RippleFreq);
    v.rcPeriods = IntText(MyRect.Periods);
    v.rcTime = TimeText(SamplingTimeUs(MyRect.Nvzoriek, MyRect.Fvzork));
    v.rcStep = TimeText(SamplingStepUs(MyRect.Fvzork));
    v.rcCount = IntText(MyRect.Nvzoriek);
    v.rcRate = IntText(MyRect.Fvzork);
    v.rcAccLvl = IntText(RectAccLvlOf(MyVar.TrgMeth_AccLvl));
    MyRect.TcntUs = RoundCountTime(MyRect.TcntUs);
    v.rcCountTime = IntText(MyRect.TcntUs);
    v.rcSamples = MyRect.Bsamples;
  } else if (page == wfPulsed) {
    PlanSampling(wfPulsed, fmax, MyRect, MyPuls);
    v.puTime = TimeText(MyPuls.TsamplUs);
    v.puCount = IntText(MyPuls.Nvzoriek);
    v.puRate = IntText(MyPuls.Fvzork);
    v.puStep = TimeText(SamplingStepUs(MyPuls.Fvzork));
    v.puMaxPeriod = TimeText(SafeToInt32(double(MyPuls.TmaxMs) * 1000.0));
    v.puAccLvl = IntText(PulsAccLvlOf(MyVar.TrgMeth_AccLvl));
    MyPuls.TcntUs = RoundCountTime(MyPuls.TcntUs);
    v.puCountTime = IntText(MyPuls.TcntUs);
    v.puSamples = MyPuls.Bsamples;
  } else {
    v.cwCount = IntText(MyVar.Vrpt);
    v.cwRate = IntText(MyVar.FsamplCw);
    MyVar.TcountCw = RoundCountTime(MyVar.TcountCw);
    v.cwCountTime = IntText(MyVar.TcountCw);
    const int32_t t = SamplingTimeUs(MyVar.Vrpt, MyVar.FsamplCw);
    v.cwTime = TimeText(t);
    v.cwTooLong = t > kLongSamplingUs;
    v.cwStep = TimeText(SamplingStepUs(MyVar.FsamplCw));
  }
  ShowCommon();
}

void TSamplSetup::ReadCw(const TSamplView& e) {
  const TVarPar d;
  QString& err = error_str;
  MyVar.Vrpt =
      uint16_t(ReadInt(e.cwCount, kLblSampleCount, kAvgCountMin, kAvgCountMax, d.Vrpt, err));
  MyVar.FsamplCw =
      ReadInt(e.cwRate, kLblSamplingRate, kSmplFreqMin, MyFix.FmaxSmpl, d.FsamplCw, err);
  MyVar.TcountCw = RoundCountTime(
      ReadInt(e.cwCountTime, kLblCountTime, kCountTimeMinUs, kCountTimeMaxUs, d.TcountCw, err));
}

void TSamplSetup::ReadRect(const TSamplView& e) {
  const TRectif d;
  const TVarPar dv;
  QString& err = error_str;
  MyRect.RippleFreq = uint16_t(
      ReadInt(e.rcRippleFreq, kLblRippleFreq, kRippleFreqMin, kRippleFreqMax, d.RippleFreq, err));
  MyRect.Periods =
      uint16_t(ReadInt(e.rcPeriods, kLblRipplePeriods, kPeriodsMin, kPeriodsMax, d.Periods, err));
  // The window of whole periods stays within its limit before the count is planned on it.
  LimitRipple(MyRect);
  MyRect.Nvzoriek =
      uint16_t(ReadInt(e.rcCount, kLblSampleCount, kSmplCountMin, kSmplCountMax, d.Nvzoriek, err));
  const int acc =
      ReadInt(e.rcAccLvl, kLblAcceptLevel, 0, kAccLvlMax, RectAccLvlOf(dv.TrgMeth_AccLvl), err);
  MyVar.TrgMeth_AccLvl = WithRectAccLvl(MyVar.TrgMeth_AccLvl, acc);
  MyRect.TcntUs = RoundCountTime(
      ReadInt(e.rcCountTime, kLblCountTime, kCountTimeMinUs, kCountTimeMaxUs, d.TcntUs, err));
  MyRect.Bsamples = e.rcSamples;
}

void TSamplSetup::ReadPuls(const TSamplView& e) {
  const TPulsed d;
  const TVarPar dv;
  QString& err = error_str;
  const TValidatedTime t = ValidateTimeEdit(e.puTime.value, e.puTime.unit, L(kLblSamplingTime),
                                            kSmplTimeMinUs, kSmplTimeMaxUs, d.TsamplUs, err);
  MyPuls.TsamplUs = t.us;
  View.puTime = {t.text, t.unitIndex};
  MyPuls.Nvzoriek =
      uint16_t(ReadInt(e.puCount, kLblSampleCount, kSmplCountMin, kSmplCountMax, d.Nvzoriek, err));
  const TValidatedTime m = ValidateTimeEdit(
      e.puMaxPeriod.value, e.puMaxPeriod.unit, L(kLblMaxPeriod), kPulsPeriodMaxMsMin * 1000,
      kPulsPeriodMaxMsMax * 1000, int32_t(d.TmaxMs) * 1000, err);
  MyPuls.TmaxMs =
      uint16_t(ClampLowWins(RoundToInt32(double(m.us) / 1000.0), int32_t(kPulsPeriodMaxMsMin),
                            int32_t(kPulsPeriodMaxMsMax)));
  View.puMaxPeriod = {m.text, m.unitIndex};
  const int acc =
      ReadInt(e.puAccLvl, kLblAcceptLevel, 0, kAccLvlMax, PulsAccLvlOf(dv.TrgMeth_AccLvl), err);
  MyVar.TrgMeth_AccLvl = WithPulsAccLvl(MyVar.TrgMeth_AccLvl, acc);
  MyPuls.TcntUs = RoundCountTime(
      ReadInt(e.puCountTime, kLblCountTime, kCountTimeMinUs, kCountTimeMaxUs, d.TcntUs, err));
  MyPuls.Bsamples = e.puSamples;
}

void TSamplSetup::ReadCommon(const TSamplView& e) {
  const TVarPar d;
  QString& err = error_str;
  MyTrgMethod = e.freeRun ? 0 : 1;
  MyVar.TrgMeth_AccLvl = WithTrgMethod(MyVar.TrgMeth_AccLvl, MyTrgMethod);
  MyVar.MinMaxTrgLvl =
      uint8_t(ReadInt(e.trgLevel, kLblTrigLevel, 0, kAccLvlMax, d.MinMaxTrgLvl, err));
  MyPreTrg = ReadInt(e.preTrig, kLblPreTrig, 0, kPreTrgMax, 0, err);
  MyVar.IsCntOn = e.counterOn ? 1 : 0;
  MyOneShot = e.singleShot;
}

const QString& TSamplSetup::Read(int page, const TSamplView& entries) {
  error_str.clear();
  const int p = ClampLowWins(int32_t(page), int32_t(wfCW), int32_t(wfPulsed));
  MyVar.Waveform = TWaveform(p);
  if (p == wfRectified)
    ReadRect(entries);
  else if (p == wfPulsed)
    ReadPuls(entries);
  else
    ReadCw(entries);
  ReadCommon(entries);
  ShowPage(p);
  return error_str;
}

void TSamplSetup::CommonDefaults() {
  const TVarPar d;
  MyVar.IsCntOn = d.IsCntOn;
  MyVar.TrgMeth_AccLvl = d.TrgMeth_AccLvl;
  MyVar.MinMaxTrgLvl = d.MinMaxTrgLvl;
  MyTrgMethod = TTrgMethod(TrgMethodOf(d.TrgMeth_AccLvl));
  MyOneShot = false;
  MyPreTrg = 0;
}

void TSamplSetup::Defaults(int page) {
  const TVarPar d;
  if (page == wfRectified) {
    MyRect = TRectif();
    MyVar.Waveform = wfRectified;
    CommonDefaults();
  } else if (page == wfPulsed) {
    MyPuls = TPulsed();
    MyVar.Waveform = wfPulsed;
    CommonDefaults();
  } else {
    page = wfCW;
    MyVar.Waveform = wfCW;
    MyVar.Vrpt = d.Vrpt;
    MyVar.TcountCw = d.TcountCw;
    MyVar.FsamplCw = d.FsamplCw;
    MyVar.IsCntOn = d.IsCntOn;
  }
  ShowPage(page);
}

void TSamplSetup::WriteBack(TFixPar& fix, TVarPar& var, TRectif& rect, TPulsed& puls,
                            int32_t& preTrg, bool& oneShot, TTrgMethod& trgMethod) const {
  fix = MyFix;
  var = MyVar;
  rect = MyRect;
  puls = MyPuls;
  preTrg = MyPreTrg;
  oneShot = MyOneShot;
  trgMethod = MyTrgMethod;
}

}  // namespace qz
