#include "setupdlg/mstpedit.h"

#include "comm/qzcmd.h"
#include "core/qvwin.h"
#include "setupdlg/txtimingedit.h"
#include "util/numutil.h"
#include "util/timetext.h"

namespace qz {

namespace {

constexpr double kIntMax = 2147483647.0;

QString DigitsOf(double us) {
  return MicrosDigitsToText(RoundToInt32(ClampLowWins(us, -kIntMax, kIntMax)));
}

}  // namespace

TSamplingLabels SamplingLabels(int32_t vrpt, int32_t fsamplHz) {
  if (fsamplHz == 0) return {QStringLiteral("Error"), QStringLiteral("Error")};
  const double step = 1000000.0 / double(fsamplHz);
  return {DigitsOf(double(vrpt - 1) * step), DigitsOf(step)};
}

QString AkoMethodName(TAkoMer m) {
  static const char* const kNames[3] = {"Off", "On", "On-Off"};
  return m < 3 ? QString::fromLatin1(kNames[m]) : QString();
}

void TMstpEdit::BuildRanges(const TChanSetup& chan, const TDaqDescr& daq) {
  if (RngCreated) return;
  IndexToRng.fill(-1);
  RngToIndex.fill(0);
  RangeItems = QStringList{QStringLiteral("Auto")};
  MaxItIndex = 0;
  for (int i = 0; i <= kRngMax; ++i) {
    if (i < chan.RngLo || i > chan.RngHi) continue;
    ++MaxItIndex;
    IndexToRng[std::size_t(MaxItIndex)] = i;
    RngToIndex[std::size_t(i + 1)] = MaxItIndex;
    RangeItems << daq.RangeNames[std::size_t(i)].left(kDaqRangeNameLen);
  }
  RngCreated = true;
}

void TMstpEdit::EnsureRanges(TQzCmd& cmd) {
  if (RngCreated) return;
  // The start of the unit does not ask for the card; the first showing does.
  if (cmd.DaqDescr.CardName.isEmpty()) {
    cmd.ReadCardDescr();
    cmd.ReadChanSetup();
  }
  BuildRanges(cmd.ChanSetup, cmd.DaqDescr);
}

int TMstpEdit::ItemOfRange(int range) const {
  if (range < kRngMin || range > kRngMax) return 0;
  return RngToIndex[std::size_t(range + 1)];
}

TRangeE TMstpEdit::RangeOfItem(int item) const {
  if (item < 0 || item > MaxItIndex || item >= kRngItemsMax) return -1;
  return TRangeE(IndexToRng[std::size_t(item)]);
}

void TMstpEdit::PrevezmiNapln(const TQvWin& qv) {
  Mstp = qv.MstpCW;
  MotPer = qv.MotRefreshMs;
  VPar = qv.VarPar;
  FmaxSmpl = qv.FixPar.FmaxSmpl;
}

TMstpView TMstpEdit::View() const {
  TMstpView v;
  v.onPeriod = PeriodText(Mstp.OnPeriod_ms);
  v.ofsPeriod = PeriodText(Mstp.OfsPeriod_s);
  v.fPeriod = PeriodText(Mstp.FPeriod_ms);
  v.tPeriod = PeriodText(Mstp.TPeriod_s);
  v.txPeriod = PeriodText(Mstp.TxPeriod_ms);
  v.motPeriod = PeriodText(MotPer);
  v.resultsReady = (Mstp.TxMask & 1) != 0;
  v.resultTime = (Mstp.TxMask & 2) != 0;
  v.motorsTime = (Mstp.TxMask & 4) != 0;
  v.spare = (Mstp.TxMask & kTxMaskSpare) != 0;
  v.onItem = ItemOfRange(Mstp.OnRnge);
  v.ofsItem = ItemOfRange(Mstp.OfsRnge);
  v.ofsEqual = Mstp.OfsEqualOn;
  v.counterOn = VPar.IsCntOn == 1;
  v.vrpt = PeriodText(VPar.Vrpt);
  v.trpt = PeriodText(VPar.Trpt);
  v.tcount = PeriodText(VPar.TcountCw);
  v.fsampl = PeriodText(VPar.FsamplCw);
  return v;
}

void TMstpEdit::Defaults() {
  VPar.IsCntOn = 1;
  VPar.Vrpt = 1024;
  VPar.Trpt = 8;
  VPar.FsamplCw = FmaxSmpl;
  VPar.TcountCw = 10000;
  Mstp.OnPeriod_ms = 0;
  Mstp.OfsPeriod_s = 30;
  Mstp.FPeriod_ms = 0;
  Mstp.TPeriod_s = 30;
  Mstp.TxPeriod_ms = 0;
  Mstp.TxMask = 7;
  Mstp.OnRnge = -1;
  // The next-to-highest offered range for the offset, the only one when one is offered,
  // automatic when none is.
  const int n = MaxItIndex + 1;
  Mstp.OfsRnge = RangeOfItem(n <= 2 ? n - 1 : n - 2);
  Mstp.OfsEqualOn = true;
}

QString TMstpEdit::CheckOfsPeriod(const QString& text) {
  Mstp.OfsPeriod_s = uint16_t(TimingEntry(text, Mstp.OfsPeriod_s, 0, kPeriodSMax));
  return PeriodText(Mstp.OfsPeriod_s);
}

TMstpEdit::TSamplingRefresh TMstpEdit::RefreshSampling(const QString& vrpt, const QString& fsampl) {
  VPar.Vrpt = uint16_t(TimingEntry(vrpt, VPar.Vrpt, kAvgCountMin, kAvgCountMax));
  VPar.FsamplCw = TimingEntry(fsampl, VPar.FsamplCw, kMstpFsamplMin, FmaxSmpl);
  return {PeriodText(VPar.Vrpt), PeriodText(VPar.FsamplCw),
          SamplingLabels(VPar.Vrpt, VPar.FsamplCw)};
}

void TMstpEdit::ReadEntries(const TMstpView& v) {
  Mstp.OnPeriod_ms = uint16_t(TimingEntry(v.onPeriod, Mstp.OnPeriod_ms, 0, kPeriodMsMax));
  Mstp.OfsPeriod_s = uint16_t(TimingEntry(v.ofsPeriod, Mstp.OfsPeriod_s, 0, kPeriodSMax));
  Mstp.FPeriod_ms = uint16_t(TimingEntry(v.fPeriod, Mstp.FPeriod_ms, 0, kPeriodMsMax));
  Mstp.TPeriod_s = uint16_t(TimingEntry(v.tPeriod, Mstp.TPeriod_s, 0, kPeriodSMax));
  Mstp.TxPeriod_ms = uint16_t(TimingEntry(v.txPeriod, Mstp.TxPeriod_ms, 0, kPeriodMsMax));
  Mstp.TxMask = uint8_t(MaskOfBoxes(v.resultsReady, v.resultTime, v.motorsTime) |
                        (v.spare ? kTxMaskSpare : 0));
  Mstp.OnRnge = RangeOfItem(v.onItem);
  Mstp.OfsRnge = RangeOfItem(v.ofsItem);
  Mstp.OfsEqualOn = v.ofsEqual;
  VPar.IsCntOn = v.counterOn ? 1 : 0;
  VPar.Vrpt = uint16_t(TimingEntry(v.vrpt, VPar.Vrpt, kAvgCountMin, kAvgCountMax));
  VPar.Trpt = uint16_t(TimingEntry(v.trpt, VPar.Trpt, kAvgCountMin, kAvgCountMax));
  VPar.FsamplCw = TimingEntry(v.fsampl, VPar.FsamplCw, kMstpFsamplMin, FmaxSmpl);
  VPar.TcountCw = TimingEntry(v.tcount, VPar.TcountCw, kMstpCountTimeMinUs, kMstpCountTimeMaxUs);
  MotPer = TimingEntry(v.motPeriod, MotPer, 0, kPeriodMsMax);
}

void TMstpEdit::Apply(TQzCmd& cmd, const TMstpView& v) {
  ReadEntries(v);
  cmd.SetMeaStp(Mstp);
  cmd.ReadMeaStp();
  cmd.SetAveraging(VPar.Vrpt, VPar.Trpt);
  cmd.SetFreqParam(kFreqSamplCw, VPar.FsamplCw);
  cmd.SetCounter(VPar.TcountCw, VPar.IsCntOn);
  cmd.SetMotRefresh(uint16_t(MotPer));
  PrevezmiNapln(cmd.Qv());
}

}  // namespace qz
