#include "comm/wireforms.h"

#include "util/format.h"
#include "util/numtext.h"

namespace qz {

namespace {

TWire Text(const QString& t) { return TWire{-1, t}; }

QString Num(int64_t v) { return Format(QStringLiteral("%d"), {static_cast<long long>(v)}); }

}  // namespace

TWire WireStartStop(int action) {
  switch (action) {
    case 0:
      return TWire{kCtlStop, QString()};
    case 1:
      return TWire{kCtlStart, QString()};
    case 3:
      return TWire{kCtlState3, QString()};
    default:
      return TWire{};
  }
}

TWire WireSrs(int runState, int sendState) {
  return Text(Format(QStringLiteral("SRS %d %d\n\r"), {runState, sendState}));
}

TWire WireSampling(int waveform, const TVarPar& vp, const TRectif& rectif, const TPulsed& pulsed) {
  QString t = QStringLiteral("SIG ") + Num(waveform) + QLatin1Char(' ') + Num(vp.TrgMeth_AccLvl) +
              QLatin1Char(' ') + Num(vp.MinMaxTrgLvl);
  if (waveform == wfRectified) {
    t += QLatin1Char(' ') + Num(rectif.RippleFreq) + QLatin1Char(' ') + Num(rectif.Periods) +
         QLatin1Char(' ') + Num(rectif.Nvzoriek) + QLatin1Char(' ') + Num(rectif.TcntUs) +
         (rectif.Bsamples ? QStringLiteral(" 1") : QStringLiteral(" 0"));
  } else if (waveform == wfPulsed) {
    t += QLatin1Char(' ') + Num(pulsed.TsamplUs) + QLatin1Char(' ') + Num(pulsed.TmaxMs) +
         QLatin1Char(' ') + Num(pulsed.Nvzoriek) + QLatin1Char(' ') + Num(pulsed.TcntUs) +
         (pulsed.Bsamples ? QStringLiteral(" 1") : QStringLiteral(" 0"));
  }
  return Text(t + QStringLiteral("\r\n"));
}

TWire WireSwitchWaveform(int waveform) {
  return Text(QStringLiteral("SIG ") + Num(waveform) + QStringLiteral("\r\n"));
}

TWire WireAveraging(int vrpt, int trpt) {
  return Text(Format(QStringLiteral("AVR %d %d\n\r"), {vrpt, trpt}));
}

TWire WireCounter(int32_t tcountUs, int isCntOn) {
  return Text(QStringLiteral("XXX ") + Num(tcountUs) + QLatin1Char(' ') + Num(isCntOn) +
              QStringLiteral("\r\n"));
}

TWire WireFreqParam(int code, int32_t value) {
  return TWire{code & 0xFF, QStringLiteral("FRE ") + Num(value) + QStringLiteral("\r\n")};
}

TWire WireMeaStp(const TMeaStp& m) {
  QString t = QStringLiteral("HSO");
  for (int64_t v :
       {int64_t(m.OnPeriod_ms), int64_t(m.OfsPeriod_s), int64_t(m.FPeriod_ms), int64_t(m.TPeriod_s),
        int64_t(m.TxPeriod_ms), int64_t(m.TxMask), int64_t(m.OnRnge), int64_t(m.OfsRnge),
        int64_t(m.OfsEqualOn ? 1 : 0), int64_t(m.AkoOnOff)})
    t += QLatin1Char(' ') + Num(v);
  return Text(t + QStringLiteral("\r\n"));
}

TWire WireReadMeaStp() { return Text(QStringLiteral("HRO 4\r\n")); }

TWire WireMotRefresh(int periodMs) {
  return Text(QStringLiteral("XXX ") + Num(periodMs) + QStringLiteral("\r\n"));
}

TWire WirePowCal(double userPowCorr, int flag) {
  return Text(QStringLiteral("PCR ") + NumberText5(userPowCorr) + QLatin1Char(' ') + Num(flag) +
              QStringLiteral("\r\n"));
}

TWire WireAutotuneOnOff(int value) { return Text(Format(QStringLiteral("ATC %d\r\n"), {value})); }

TWire WireAutotuneState(bool on) {
  return Text(on ? QStringLiteral("ATC T\r\n") : QStringLiteral("ATC F\r\n"));
}

TWire WireAutotuneParams(const TMotState& m) {
  return Text(Format(
      QStringLiteral("ATP %d %d %d %s %d %d\r\n"),
      {int(m.Toler_mU), int(m.Skip), int(m.Smooth),
       m.WaitRF ? QStringLiteral("W") : QStringLiteral("N"), int(m.Targ_mU), int(m.Delay5b)}));
}

TWire WireReadAutotuneParams() { return Text(QStringLiteral("ATP READ\r\n")); }

TWire WireSingleTune() { return Text(QStringLiteral("ATC S\r\n")); }

TWire WireMoveStubs(const TMotPos& target) {
  QString t = QStringLiteral("MPO");
  for (int k = kMotFirst; k <= kMotLast; ++k)
    t += QLatin1Char(' ') + Format(QStringLiteral("%5d"), {int(target[k])});
  return Text(t + QStringLiteral("\r\n"));
}

TWire WireResetStubs() { return TWire{kCodeResetStubs, QString()}; }

TWire WireTuneStartStop(int n) {
  return Text(QStringLiteral("TSO 1 ") + Num(n) + QStringLiteral("\r\n"));
}

TWire WireTunerReadOut() { return Text(QStringLiteral("TRO 1\r\n")); }

TWire WirePing(int address) { return Text(Format(QStringLiteral("PNG %d\r\n"), {address})); }

TWire WireServerControl(int subCode) {
  if (subCode == kSrvRestart) return TWire{kSrvRestart, QString()};
  if (subCode >= 15 && subCode <= 18)
    return Text(QStringLiteral("RSS ") + Num(subCode) + QStringLiteral("\r\n"));
  return TWire{kSrvOtherByte, QString()};
}

TWire WireConnectionCheck() { return Text(QString::fromLatin1(kFoxText)); }

TWire WireCode(int code, const QString& text) { return TWire{code & 0xFF, text}; }

QString WireLogText(const TWire& w) {
  QString out;
  if (w.Code >= 0) out += QLatin1Char('<') + Num(w.Code) + QLatin1Char('>');
  for (QChar c : w.Text) {
    if (c == QLatin1Char('\r'))
      out += QStringLiteral("\\r");
    else if (c == QLatin1Char('\n'))
      out += QStringLiteral("\\n");
    else if (c.unicode() < 32 || c.unicode() == 127)
      out += QLatin1Char('<') + Num(c.unicode()) + QLatin1Char('>');
    else
      out += c;
  }
  return out;
}

}  // namespace qz
