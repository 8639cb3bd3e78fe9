#include "app/cycle.h"

#include <algorithm>

#include "core/frame.h"
#include "core/qvwin.h"
#include "util/asker.h"
#include "util/clock.h"
#include "util/format.h"
#include "util/valueinput.h"

namespace qz {

const char* const kHintStartQuzar = "Start Quzar";
const char* const kHintPauseMonitor = "Pause monitoring (Quzar remains running)";
const char* const kMsgLowSignal = "Low Signal";
const char* const kMsgComTimeout = "COM Timeout";
const char* const kMsgNoTrigger = "No Trigger";
const char* const kMsgStopOk = "Quzar Stop OK";
const char* const kMsgLogWithSamples =
    "For data logging with Rectified or Pulsed sampling mode,\r\n"
    "sending individual samples must be disabled.\r\n"
    "Please unpress \"Show Individual Samples\" toolbar button\r\n"
    "or uncheck Send Sampling in Quzar Sampling Setup window.\r\n"
    "\r\n"
    "Data logging has been cancelled.";

QString TimeoutPanelText(uint16_t ms) {
  return Format(QStringLiteral("Tmout = %d ms"), {unsigned(ms)});
}

TCycle::TCycle(TQvWin& qv, const TCyclePorts& ports) : qv_(qv) { SetPorts(ports); }

void TCycle::SetPorts(const TCyclePorts& ports) {
  ports_ = ports;
  if (!ports_.displays) ports_.displays = &noDisplays_;
  if (!ports_.results) ports_.results = &noResults_;
  if (!ports_.logger) ports_.logger = &noLogger_;
  if (!ports_.publisher) ports_.publisher = &noPublisher_;
  if (!ports_.status) ports_.status = &noStatus_;
  if (!ports_.host) ports_.host = &noHost_;
}

void TCycle::AddRunEnable(TRunEnable* e) {
  if (e && std::find(enables_.begin(), enables_.end(), e) == enables_.end()) enables_.push_back(e);
}

void TCycle::RemoveRunEnable(TRunEnable* e) {
  enables_.erase(std::remove(enables_.begin(), enables_.end(), e), enables_.end());
}

TAsker& TCycle::Ask() const { return ports_.asker ? *ports_.asker : Asker(); }

void TCycle::miSweepClick() {
  if (Sweeping) {
    // Re-entered from inside the loop: the loop ends later, at its stop test.
    qv_.MaKoncit = true;
    ports_.host->SetRunHint(QString::fromLatin1(kHintStartQuzar));
    return;
  }
  if (!ports_.unit) return;
  // The run's number is known to those told of its start.
  qv_.BeginRun();
  ports_.host->SetRunHint(QString::fromLatin1(kHintPauseMonitor));
  ports_.host->SetRunButtonDown(true);
  // A copy: a window may unregister itself while being told.
  const std::vector<TRunEnable*> enables = enables_;
  for (TRunEnable* e : enables) e->EnableForRun(false);
  Run();
}

void TCycle::QvStop1Click() {
  if (Sweeping) {
    qv_.ImmedStop = true;
    miSweepClick();
  }
  if (!ports_.unit) return;
  if (ports_.unit->StopWithWait() == 0)
    ShowTransient(QString::fromLatin1(kMsgStopOk), kStopOkNoticeMs, Ask());
}

void TCycle::RequestClose() {
  closeRequested_ = true;
  qv_.MozeKoncit = true;
  qv_.MaKoncit = true;
  qv_.Skonci = true;
  // A closing window cannot wait for a sweep to complete: nothing would be left to draw it.
  qv_.ImmedStop = true;
}

void TCycle::Run() {
  StartRun();
  do {
    OnePass();
  } while (!qv_.Skonci);
  EndRun();
}

void TCycle::StartRun() {
  Sweeping = true;
  closeRequested_ = false;
  TCycleDisplays& dsp = *ports_.displays;
  dsp.ResetTraces(true);
  dsp.ForgetPreviousDrawing();
  dsp.ClearDisplays();

  const int wf = qv_.VarPar.Waveform;
  sampled_ = BlockSamplingOn(wf, qv_.Rectif, qv_.Pulsed);
  if (sampled_)
    ports_.status->SetProgressMax(wf == wfRectified ? qv_.Rectif.Nvzoriek : qv_.Pulsed.Nvzoriek);

  TCycleUnit& unit = *ports_.unit;
  // A failing command is reported by the command layer; the run goes on.
  unit.StartStop(kRunActStop, false);
  unit.SendHush(kRunActSend, true);
  const bool single = sampled_ && ports_.host->SingleShotArmed();
  unit.StartStop(single ? kRunActSingleSeries : kRunActRun, true);

  qv_.Skonci = false;
  qv_.MaKoncit = false;
  unit.ClearAndPurge();

  qv_.LastSwp.Init(qv_.PlaneExt.Extension);
  qv_.ImmedStop = false;

  TCycleLogger& log = *ports_.logger;
  if (sampled_) {
    qv_.MozeKoncit = false;
    if (log.Armed()) {
      Ask().MessageBox(QString::fromLatin1(kMsgLogWithSamples), TMsgType::Warning, mbOK);
      log.Cancel();
    }
  } else {
    qv_.MozeKoncit = true;
    log.MeasurementStarted();
  }

  waitFirst_ = true;
  firstSmpl_ = false;
  lastSmpl_ = false;
  notSmpl_ = !sampled_;
  swpDone_ = false;
  smplCount_ = -1;
  ClearMessages();

  qv_.ContMeaTout = qv_.FrameTimeoutMs(kToutForCycle);
  ports_.status->SetMessage(QString());
  ports_.status->SetTimeoutText(QString());
  ports_.status->SetTimeoutText(TimeoutPanelText(qv_.ContMeaTout));

  unit.ResetSampleCounter();
  passes_ = 0;
  pumped_ = false;
  accepted_ = 0;
}

void TCycle::OnePass() {
  ++passes_;
  bool accepted = FetchFrame();
  // Taken before the series rules below: a sample frame ignored while waiting for the first
  // sample of a series is still a frame, so a series in progress is not interrupted by events.
  const bool noFrame = !accepted;
  if (accepted) {
    PublishAndShow();
    if (qv_.Res.je_qv) accepted = SeriesRules();
    // Every accepted frame takes the next number of the program-wide count, stored or not.
    if (accepted) stamp_ = qv_.StampAccepted(frameUtcMs_);
    if (accepted && qv_.Res.je_qv) {
      StoreAndDraw();
      SignalMessage();
    }
  }
  LinkMessages();
  if (accepted) ++accepted_;
  StopTest(noFrame);
}

bool TCycle::FetchFrame() {
  const bool received = ports_.unit->Measure(qv_.ContMeaTout);
  frameUtcMs_ = RunUtcMs();
  return received;
}

void TCycle::PublishAndShow() {
  const THresults& res = qv_.Res;
  ports_.publisher->PublishIfDue(res);
  notSmpl_ = (qv_.Mob[0] & kStSampleCodeMask) == 0;
  if (notSmpl_ && res.je_qv) ports_.results->ShowResult(res);
}

bool TCycle::SeriesRules() {
  const THresults& res = qv_.Res;
  TCycleStatus& st = *ports_.status;
  if (sampled_) {
    const int code = qv_.Mob[0] & kStSampleCodeMask;
    firstSmpl_ = code == 1;
    lastSmpl_ = code == 3;
    // Frames before the first sample of a series are not part of it.
    if (waitFirst_ && !firstSmpl_) return false;
    if (firstSmpl_) {
      smplCount_ = -1;
      qv_.LastSwp.Init(qv_.PlaneExt.Extension);
      st.SetProgressRed(false);
    }
    if (!notSmpl_) ++smplCount_;
    if (res.je_jx) {
      st.SetProgress(res.jx);
      if (res.jx != smplCount_) st.SetProgressRed(true);
    }
  }
  if (waitFirst_) {
    // The first frame of the run: a message that does not apply is cleared once.
    lowShown_ = !res.LowSignal;
    comShown_ = !qv_.PcComErr;
    trgShown_ = res.PulsErr;
    waitFirst_ = false;
  }
  return true;
}

void TCycle::StoreAndDraw() {
  const THresults& res = qv_.Res;
  TCycleDisplays& dsp = *ports_.displays;
  const bool store = sampled_ ? !notSmpl_ : !(SuspOnLow && res.LowSignal);
  if (!store) return;
  TOneSweep& swp = qv_.LastSwp;
  swp.Add(qv_.Mob, stamp_);
  if (!sampled_) {
    dsp.DrawPointAll(swp.Last());
    if (ports_.logger->LoggingOn()) ports_.logger->WriteRecord(res, stamp_);
    swpDone_ = swp.Last() == swp.Nwanted() - 1;
    if (swpDone_) {
      dsp.KeepPreviousDrawing();
      dsp.ResetTraces(false);
    }
  } else if (lastSmpl_) {
    swp.Rotuj(n_pretrg);
    dsp.FillSweepAll(swp);
    dsp.ClearDisplays();
    dsp.DrawSweepAll(swp);
  }
}

void TCycle::SignalMessage() {
  const THresults& res = qv_.Res;
  // The signal is back after a pause: what arrived meanwhile is stale.
  if (!res.LowSignal && lowShown_ && SuspOnLow) ports_.unit->Purge();
  if (res.LowSignal)
    ShowMessage(kMsgLowSignal, lowShown_);
  else
    ClearLowSignal();
}

void TCycle::LinkMessages() {
  if (qv_.PcComErr)
    ShowMessage(kMsgComTimeout, comShown_);
  else if (qv_.Res.PulsErr)
    ShowMessage(kMsgNoTrigger, trgShown_);
}

void TCycle::StopTest(bool noFrame) {
  ports_.host->PassDone();
  const THresults& res = qv_.Res;
  qv_.MozeKoncit =
      !sampled_ || noFrame || notSmpl_ || res.PulsErr || passes_ % kPumpEveryPasses == 0;

  // A series of samples always counts as complete where the loop may end: it has no sweep of
  // its own to wait for.
  auto finishMet = [&] { return qv_.ImmedStop || !finishSwp_ || swpDone_ || sampled_; };
  if (qv_.MozeKoncit) {
    if (sampled_ && ports_.host->SingleShotArmed()) qv_.MaKoncit = true;
    // While the end waits only for Finish Sweep (which may never come when nothing is stored),
    // the operator must still be able to stop or uncheck it.
    const bool waitingForFinish = qv_.MaKoncit && !finishMet();
    if ((!qv_.MaKoncit || waitingForFinish) && !closeRequested_) {
      // The events are looked at about every millisecond: often enough for the operator, and
      // the frames in between need not pay for a look each.
      const int64_t now = pumpIntervalNs_ > 0 ? ProgramClock().Nanoseconds() : 0;
      if (!pumped_ || now - lastPumpNs_ >= pumpIntervalNs_) {
        pumped_ = true;
        lastPumpNs_ = now;
        ports_.host->Pump();
      }
    }
  }
  qv_.Skonci = closeRequested_ || (qv_.MozeKoncit && qv_.MaKoncit && finishMet());
}

void TCycle::EndRun() {
  TOneSweep& swp = qv_.LastSwp;
  // An incomplete series is discarded.
  if (sampled_ && !notSmpl_) swp.Init(qv_.PlaneExt.Extension);

  qv_.EndRun();
  Sweeping = false;
  ports_.host->SetRunButtonDown(false);
  ports_.logger->RunEnded(accepted_);
  ports_.logger->EventLoggingOff();
  const std::vector<TRunEnable*> enables = enables_;
  for (TRunEnable* e : enables) e->EnableForRun(true);
  TCycleStatus& st = *ports_.status;
  st.SetMessage(QString());
  st.SetTimeoutText(QString());
  st.SetProgress(0);
  st.SetProgressRed(false);

  swp.DajCas();

  TCycleDisplays& dsp = *ports_.displays;
  if (swp.Count() > 0 && swp.Last() != swp.Count() - 1) {
    const int32_t i = swp.Last() + 1;
    if (qv_.DekodMerData(swp.Frame(i), qv_.Res) && qv_.Res.je_qv) dsp.DrawPointAll(i);
  }
  dsp.EraseMovingDots();
  dsp.FillSweepAll(swp);
  dsp.DrawSweepAll(swp);
}

void TCycle::ShowMessage(const char* text, bool& shownFlag) {
  if (!shownFlag) ports_.status->SetMessage(QString::fromLatin1(text));
  shownFlag = true;
}

void TCycle::ClearLowSignal() {
  if (!lowShown_) return;
  ports_.status->SetMessage(QString());
  lowShown_ = comShown_ = trgShown_ = false;
}

void TCycle::ClearMessages() { lowShown_ = comShown_ = trgShown_ = false; }

}  // namespace qz
