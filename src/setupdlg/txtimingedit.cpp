#include "setupdlg/txtimingedit.h"

#include "comm/qzcmd.h"
#include "core/qvwin.h"
#include "util/format.h"
#include "util/numtext.h"
#include "util/strtools.h"
#include "util/valueinput.h"

namespace qz {

namespace {

QString MaskDigits(uint8_t m) { return PadText(LongToBinText(m), 8, QLatin1Char('0'), true); }

}  // namespace

QString TxMaskCaption(uint8_t mask) {
  const uint8_t m = mask & kTxMaskShown;
  return Format(QStringLiteral("SEND EVENT MASK: %2d = %s"),
                {int(m), GroupDigits(MaskDigits(m), 4)});
}

QString MstpMaskCaption(uint8_t mask) {
  const uint8_t m = mask & kTxMaskShown;
  return Format(QStringLiteral("SEND EVENT MASK: %d=%s"), {int(m), MaskDigits(m)});
}

uint8_t MaskOfBoxes(bool resultsReady, bool resultsRefresh, bool motorsRefresh) {
  return uint8_t((resultsReady ? 1 : 0) | (resultsRefresh ? 2 : 0) | (motorsRefresh ? 4 : 0));
}

int32_t TimingEntry(const QString& text, int32_t current, int32_t lo, int32_t hi) {
  return TextToIntInRange(text, current, lo, hi, true);
}

QString PeriodText(int32_t v) { return Format(QStringLiteral("%d"), {v}); }

void TTxTimingEdit::PrevezmiNapln(const TQvWin& qv) {
  Mstp = qv.MstpCW;
  MotPer = qv.MotRefreshMs;
  VPar = qv.VarPar;
}

TTxTimingView TTxTimingEdit::View() const {
  TTxTimingView v;
  v.onPeriod = PeriodText(Mstp.OnPeriod_ms);
  v.txPeriod = PeriodText(Mstp.TxPeriod_ms);
  v.motPeriod = PeriodText(MotPer);
  v.resultsReady = (Mstp.TxMask & 1) != 0;
  v.resultsRefresh = (Mstp.TxMask & 2) != 0;
  v.motorsRefresh = (Mstp.TxMask & 4) != 0;
  return v;
}

void TTxTimingEdit::Defaults() {
  Mstp.OnPeriod_ms = 0;
  Mstp.TxPeriod_ms = 0;
  Mstp.TxMask = 7;
  MotPer = 1000;
}

void TTxTimingEdit::ReadEntries(const TTxTimingView& v) {
  Mstp.OnPeriod_ms = uint16_t(TimingEntry(v.onPeriod, Mstp.OnPeriod_ms, 0, kPeriodMsMax));
  Mstp.TxPeriod_ms = uint16_t(TimingEntry(v.txPeriod, Mstp.TxPeriod_ms, 0, kPeriodMsMax));
  MotPer = TimingEntry(v.motPeriod, MotPer, 0, kPeriodMsMax);
  Mstp.TxMask = MaskOfBoxes(v.resultsReady, v.resultsRefresh, v.motorsRefresh);
}

void TTxTimingEdit::Apply(TQzCmd& cmd, const TTxTimingView& v) {
  ReadEntries(v);
  cmd.SetMeaStp(Mstp);
  cmd.ReadMeaStp();
  cmd.SetMotRefresh(uint16_t(MotPer));
  PrevezmiNapln(cmd.Qv());
}

}  // namespace qz
