#include "setupdlg/trgcmds.h"

#include <algorithm>
#include <exception>

#include "comm/qzcmd.h"
#include "core/qvwin.h"
#include "sim/tunermodel.h"
#include "util/format.h"
#include "util/inifile.h"
#include "util/numtext.h"
#include "util/numutil.h"
#include "util/stpkeys.h"
#include "util/strtools.h"

namespace qz {

namespace {
// The position texts use a point, as the tuner picture's do.
const QChar kPosDecSep('.');
}  // namespace

TTrgCmds::TTrgCmds(TQzCmd& cmd, const TTunerModel& tuner) : cmd_(cmd), tuner_(tuner) {}

template <typename F>
void TTrgCmds::Guarded(F&& f) {
  try {
    f();
  } catch (const std::exception&) {
    ++ignoredErrors_;
  } catch (...) {
    ++ignoredErrors_;
  }
}

bool TTrgCmds::Done(const QString& name, bool ok) {
  ++CmdCount;  // byte arithmetic: 255 + 1 is 0
  count_ = PadText(Format(QStringLiteral("%d"), {int64_t(CmdCount)}), 3, QChar('0'), true);
  status_ = QChar('"') + name + QStringLiteral("\" ") +
            (ok ? QStringLiteral("OK") : QStringLiteral("FAIL"));
  return ok;
}

int32_t TTrgCmds::Tout() const { return cmd_.Qv().FrameTimeoutMs(kToutForCycle); }

bool TTrgCmds::FrameAndDecode() { return cmd_.Measure(Tout()); }

bool TTrgCmds::MeasureCmd(uint8_t code, int waitKind, const QString& name, bool tune) {
  // The unit's answer to the command is the frame itself: its decoding tells the outcome.
  cmd_.SendCmd(code, QString(), waitKind, Tout());
  if (tune) cmd_.Sim().Btune1 = true;
  const bool ok = FrameAndDecode();
  if (ok) {
    if (tune) cmd_.Mot().TunePos = cmd_.Mot().ActPos;
    Refresh();
  }
  return Done(name, ok);
}

bool TTrgCmds::Measure() {
  return MeasureCmd(kTrgCodeMeasure, 1, QStringLiteral("Measure"), false);
}

bool TTrgCmds::Fetch() {
  const bool ok = cmd_.SendCmd(kTrgCodeFetch, QString(), 1, Tout()) == kCmdOk;
  if (ok) Refresh();
  return Done(QStringLiteral("Fetch"), ok);
}

bool TTrgCmds::ClrFifo() {
  const bool ok = cmd_.SendCmd(kTrgCodeClrFifo, QString(), 5, Tout()) == kCmdOk;
  return Done(QStringLiteral("Clear Quzar FIFO"), ok);
}

bool TTrgCmds::QueryRunSend() { return Done(QStringLiteral("Query Run/Send"), true); }

bool TTrgCmds::AutotuneSet(bool on) {
  const bool ok = cmd_.AutotuneOnOff(on ? 1 : 0) == kCmdOk;
  if (Displays.SetAtButton) Guarded([&] { Displays.SetAtButton(AtOn()); });
  return Done(QStringLiteral("Autotune ON/OFF"), ok);
}

bool TTrgCmds::AutotuneQuery() {
  const bool ok = cmd_.AutotuneOnOff(kAtQuery) == kCmdOk;
  if (Displays.SetAtButton) Guarded([&] { Displays.SetAtButton(AtOn()); });
  return Done(QStringLiteral("Query Autotune"), ok);
}

bool TTrgCmds::Compute() {
  // The tuner description holds no command time-out of its own; the layer sends nothing, so
  // the frame time-out stands for it.
  const bool ok = cmd_.SendCmd(kTrgCodeCompute, QString(), 2, Tout()) == kCmdOk;
  if (ok) Refresh();
  return Done(QStringLiteral("Compute"), ok);
}

bool TTrgCmds::MeaComp() {
  return MeasureCmd(kTrgCodeMeaComp, 4, QStringLiteral("Measure & Compute"), false);
}

bool TTrgCmds::MeaTun() {
  return MeasureCmd(kTrgCodeMeaTun, 3, QStringLiteral("Measure & Tune"), true);
}

bool TTrgCmds::MeaTunMea() {
  return MeasureCmd(kTrgCodeMeaTunMea, 3, QStringLiteral("Measure-Tune-Measure"), true);
}

bool TTrgCmds::ReadStubs() {
  bool ok = false;
  if (Displays.ReadShow) {
    // A reading that raised an error did not complete: it counts as failed.
    Guarded([&] { ok = Displays.ReadShow(); });
  } else {
    ok = cmd_.ReadMotStatus() == kCmdOk;
  }
  if (ok) Refresh();
  return Done(QStringLiteral("Read Stubs"), ok);
}

bool TTrgCmds::MoveStubs() {
  cmd_.Mot().TargPos = cmd_.Mot().TunePos;
  const bool ok = cmd_.MoveStubs() == kCmdOk;
  if (ok) Refresh();
  return Done(QStringLiteral("Move Stubs"), ok);
}

bool TTrgCmds::SendTunePositions(bool on) {
  cmd_.Mot().SendTunePos = on;
  const bool ok = cmd_.SetSendTunePos(on) == kCmdOk;
  return Done(QStringLiteral("Send Tune Posit ") +
                  (SendTunePosFlag() ? QStringLiteral("ON") : QStringLiteral("OFF")),
              ok);
}

void TTrgCmds::Refresh() {
  const THresults& res = cmd_.Qv().Res;
  if (res.je_qv && Displays.Napln) Guarded([&] { Displays.Napln(res); });
  if (Displays.ShowMotPositAll) Guarded([&] { Displays.ShowMotPositAll(); });
}

void TTrgCmds::IndicClick() {
  Indic = NextIndic(Indic);
  if (Displays.ShowMotPositAll) Guarded([&] { Displays.ShowMotPositAll(); });
}

bool TTrgCmds::QueryTimeouts() {
  quzarTout_ = Format(QStringLiteral("%d"), {int64_t(kTrgQuzarToutMs)});
  motorsTout_ = Format(QStringLiteral("%d"), {int64_t(kTrgMotorsToutMs)});
  return Done(QStringLiteral("Query Timeouts"), true);
}

void TTrgCmds::Showing() {
  QueryRunSend();
  QueryTimeouts();
}

TTrgPositions TTrgCmds::Positions() const {
  const TMotState& mot = cmd_.Mot();
  const double step = tuner_.Derived().StepMm;
  TTrgPositions p;
  for (int mo = 1; mo <= 3; ++mo) {
    p.act[size_t(mo - 1)] = ShowIndic(mot.ActPos[mo], Indic, step, kPosDecSep);
    p.tune[size_t(mo - 1)] = ShowIndic(mot.TunePos[mo], Indic, step, kPosDecSep);
  }
  p.stat1 = LongToBinText(mot.MotStatus) + QChar(' ');
  p.stat2 = LongToBinText(mot.MotError) + QChar(' ');
  return p;
}

bool TTrgCmds::AtOn() const { return cmd_.Mot().AtOn; }

bool TTrgCmds::SendTunePosFlag() const { return cmd_.Mot().SendTunePos; }

namespace {

const TStpKeys<TTrgCmds>& IndicKeys() {
  static const TStpKeys<TTrgCmds> keys =
      TStpKeys<TTrgCmds>().Int("Indic", &TTrgCmds::Indic, kIndicMm, kIndicSteps);
  return keys;
}

}  // namespace

void TTrgCmds::WriteIndic(IniFile& ini) const {
  IndicKeys().Write(*this, ini, QString::fromLatin1(kTrgSection));
}

void TTrgCmds::ReadIndic(const IniFile& ini) {
  IndicKeys().Read(*this, ini, QString::fromLatin1(kTrgSection));
}

}  // namespace qz
