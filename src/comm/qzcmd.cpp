#include "comm/qzcmd.h"

#include <algorithm>
#include <climits>

#include "comm/simunitfiles.h"
#include "core/onesweep.h"
#include "core/sampling.h"
#include "util/numutil.h"
#include "util/valueinput.h"

namespace qz {

const char* const kWaitStartStopAll = "Waiting for QUZARS to Start/Stop...";
const char* const kWaitStartStopOne = "Waiting for QUZAR to Start/Stop...";
const char* const kWaitSendHush = "Waiting for QUZARS to Send/Hush...";
const char* const kStopUnitFail = "QUZAR Stop command fail:\r\nOperation aborted";

namespace {

// The waiting window plays the searching animation to its end.
constexpr int kWaitAnimation = 3;
// How long the notice after a successful retry stays up.
constexpr int kRetryOkMs = 1000;
// Server versions 1..34 do not know the send/hush command; 0 means not known (a recent one).
constexpr uint16_t kSrvVerSendHushMin = 35;
// Code byte whose read clears its three outputs.
constexpr uint8_t kCodeClearingRead = 66;

bool ValidAddr(int addr) { return addr >= 1 && addr <= kQvCanMax; }

// A remembered state is 0, 1 or 3; anything else (a damaged setup) counts as the start-up 1.
uint8_t SaneState(uint8_t s) { return (s == 0 || s == 1 || s == kActState3) ? s : 1; }

}  // namespace

QString RunStateFailText(bool sendHush) {
  return (sendHush ? QStringLiteral("QUZAR Send/Hush command fail.")
                   : QStringLiteral("QUZAR Start/Stop command fail.")) +
         QStringLiteral(
             "\r\n\r\nSome of possible causes:"
             "\r\n  -  QUZAR internal Server is not running."
             "\r\n  -  Connection with QUZAR has not been established."
             "\r\n  -  Waiting for Rectified or Pulsed sampling completion."
             "\r\n  -  Tuner is busy.");
}

QString RunStateOkText(bool sendHush) {
  return sendHush ? QStringLiteral("QUZAR Send/Hush command OK")
                  : QStringLiteral("QUZAR Start/Stop command OK");
}

TQzCmd::TQzCmd(TQvWin& qv, TSimState& sim, TFrameSource* source)
    : qv_(qv), sim_(sim), source_(source) {
  SetAllStates(1);
}

// ---- remembered states ------------------------------------------------------------------------

uint8_t TQzCmd::RunState(int addr) const { return ValidAddr(addr) ? runStat_[addr] : 0; }

uint8_t TQzCmd::SendState(int addr) const { return ValidAddr(addr) ? sendStat_[addr] : 0; }

void TQzCmd::SetAllStates(uint8_t value) {
  for (auto& s : runStat_) s = SaneState(value);
  for (auto& s : sendStat_) s = SaneState(value);
}

void TQzCmd::SetStates(const TStatusAll& run, const TStatusAll& send) {
  for (int a = 1; a <= kQvCanMax; ++a) {
    runStat_[a] = SaneState(run[a]);
    sendStat_[a] = SaneState(send[a]);
  }
}

// ---- reports ----------------------------------------------------------------------------------

void TQzCmd::ShowCmdResult(const QString& name, int32_t code) {
  // Without a unit every command succeeds; nothing is worth telling the operator.
  (void)name;
  (void)code;
}

bool TQzCmd::WaitWanted(bool showWait) const {
  if (!showWait) return false;
  if (!BlockSamplingOn(qv_.VarPar.Waveform, qv_.Rectif, qv_.Pulsed)) return false;
  if (waitShown_) return false;
  return !(waitOpenQuery_ && waitOpenQuery_());
}

void TQzCmd::Log(const TWire& w) const {
  if (debugLog_) debugLog_(WireLogText(w));
}

// ---- run control ------------------------------------------------------------------------------

int32_t TQzCmd::UnitRunOperation(bool sendHush, int addr, uint8_t action) {
  (void)sendHush;
  (void)addr;
  (void)action;
  return kCmdOk;
}

int32_t TQzCmd::UnitOp(bool sendHush, int addr, uint8_t action, bool remember) {
  if (!ValidAddr(addr) || action > kActState3) return kCmdBadAction;
  uint8_t& state = sendHush ? sendStat_[addr] : runStat_[addr];
  const uint8_t a = action == kActRemembered ? state : action;
  if (a == kActStart || remember) state = a;
  Log(sendHush ? WireSrs(kActRemembered, a) : WireStartStop(a));
  return UnitRunOperation(sendHush, addr, a);
}

int32_t TQzCmd::RunStateProcedure(bool sendHush, bool allUnits, bool withRetry, bool showWait,
                                  uint8_t action, bool remember) {
  if (action > kActState3) return kCmdBadAction;
  if (sendHush && qv_.SrvVerNum >= 1 && qv_.SrvVerNum < kSrvVerSendHushMin) return kCmdOk;
  const bool wanted = WaitWanted(showWait);
  const QString message = QString::fromLatin1(
      sendHush ? kWaitSendHush : (allUnits ? kWaitStartStopAll : kWaitStartStopOne));
  bool retried = false;
  for (;;) {
    if (wanted) {
      ShowWait(QString(), message, kWaitAnimation, 0, Ask());
      waitShown_ = true;
    }
    int32_t rc = kCmdOk;
    for (int addr : units_) {
      const int32_t r = UnitOp(sendHush, addr, action, remember);
      if (r != kCmdOk && rc == kCmdOk) rc = r;
    }
    if (wanted) {
      HideWait(Ask());
      waitShown_ = false;
    }
    if (rc == kCmdOk) {
      if (retried) ShowTransient(RunStateOkText(sendHush), kRetryOkMs, Ask());
      return kCmdOk;
    }
    if (!withRetry) return rc;
    const TMsgButton b =
        Ask().MessageBox(RunStateFailText(sendHush), TMsgType::Error, mbRetry | mbAbort);
    if (b != mbRetry) return kCmdAborted;
    retried = true;
  }
}

int32_t TQzCmd::StartStop(bool showWait, uint8_t action, int32_t timeoutMs, bool remember) {
  (void)timeoutMs;
  return RunStateProcedure(false, false, false, showWait, action, remember);
}

int32_t TQzCmd::StartStopAll(bool showWait, uint8_t action, int32_t timeoutMs, bool remember) {
  (void)timeoutMs;
  return RunStateProcedure(false, true, true, showWait, action, remember);
}

int32_t TQzCmd::SendHush(bool showWait, uint8_t action, int32_t timeoutMs, bool remember) {
  (void)timeoutMs;
  return RunStateProcedure(true, true, true, showWait, action, remember);
}

int32_t TQzCmd::UnitStartStop(int addr, uint8_t action, int32_t timeoutMs, bool remember) {
  (void)timeoutMs;
  return UnitOp(false, addr, action, remember);
}

int32_t TQzCmd::UnitSendHush(int addr, uint8_t action, int32_t timeoutMs, bool remember) {
  (void)timeoutMs;
  if (qv_.SrvVerNum >= 1 && qv_.SrvVerNum < kSrvVerSendHushMin) return kCmdOk;
  return UnitOp(true, addr, action, remember);
}

bool TQzCmd::StopUnit() {
  if (StartStopAll(true, kActStop, kToutForCycle, false) == kCmdOk) return true;
  Ask().ShowError(QString::fromLatin1(kStopUnitFail));
  return false;
}

int32_t TQzCmd::ReadRunStates(uint8_t& run, uint8_t& send) {
  (void)run;
  (void)send;
  Log(WireSrs(kActRemembered, kActRemembered));
  return kCmdOk;
}

void TQzCmd::BeginParamCmd() {
  for (int addr : units_) {
    UnitOp(false, addr, kActStop, false);
    UnitOp(true, addr, kActStop, false);
  }
}

void TQzCmd::EndParamCmd() {
  for (int addr : units_) {
    UnitOp(true, addr, kActRemembered, false);
    UnitOp(false, addr, kActRemembered, false);
  }
}

// ---- frames -----------------------------------------------------------------------------------

bool TQzCmd::ReadFrame(int32_t timeoutMs) {
  (void)timeoutMs;
  // Without a source there is no frame; the old buffer must not pass for a new one.
  if (!source_) return false;
  source_->GetMobBytes(std::max<int>(1, qv_.VarPar.Vrpt), qv_.Mob);
  return true;
}

bool TQzCmd::Measure(int32_t timeoutMs) {
  if (!ReadFrame(timeoutMs)) return false;
  return qv_.DekodMerData(qv_.Mob, qv_.Res);
}

int32_t TQzCmd::WaitFrame(int kind, int32_t timeoutMs) {
  (void)kind;
  (void)timeoutMs;
  Mot().ErrFlags = static_cast<uint8_t>(Mot().ErrFlags & ~kMotErrReadFail);
  return kCmdOk;
}

int32_t TQzCmd::SendCmd(uint8_t code, const QString& text, int waitKind, int32_t timeoutMs,
                        QString* reply) {
  (void)waitKind;
  (void)timeoutMs;
  Log(WireCode(code, text));
  if (reply) reply->clear();
  return kCmdOk;
}

int32_t TQzCmd::SendCmdStopped(uint8_t code, const QString& text, int waitKind, int32_t timeoutMs,
                               QString* reply) {
  BeginParamCmd();
  const int32_t rc = SendCmd(code, text, waitKind, timeoutMs, reply);
  EndParamCmd();
  return rc;
}

int32_t TQzCmd::CodeRead(uint8_t code, std::span<uint8_t> outputs) {
  Log(WireCode(code));
  if (code == kCodeClearingRead) std::fill(outputs.begin(), outputs.end(), uint8_t(0));
  return kCmdOk;
}

// ---- measurement settings ---------------------------------------------------------------------

int32_t TQzCmd::SetSampling() {
  BeginParamCmd();
  const int w = qv_.VarPar.Waveform;
  qv_.DeriveSampling(w);
  qv_.LastSwp.SetNwanted(SweepCapacity(qv_.PtsPerSwp, w, qv_.Rectif, qv_.Pulsed));
  Log(WireSampling(w, qv_.VarPar, qv_.Rectif, qv_.Pulsed));
  EndParamCmd();
  return kCmdOk;
}

int32_t TQzCmd::SwitchWaveform(const TVarPar& vp, bool showWait, int32_t timeoutMs) {
  (void)showWait;
  (void)timeoutMs;
  BeginParamCmd();
  const int w = std::clamp<int>(vp.Waveform, wfCW, wfPulsed);
  qv_.VarPar.Waveform = static_cast<TWaveform>(w);
  qv_.LastSwp.SetNwanted(SweepCapacity(qv_.PtsPerSwp, w, qv_.Rectif, qv_.Pulsed));
  Log(WireSwitchWaveform(w));
  EndParamCmd();
  return kCmdOk;
}

int32_t TQzCmd::SetAveraging(int32_t vrpt, int32_t trpt) {
  BeginParamCmd();
  // A count of 0 would divide the simulated deviations by zero.
  qv_.VarPar.Vrpt = static_cast<uint16_t>(ClampLowWins(vrpt, kAvgCountMin, kAvgCountMax));
  qv_.VarPar.Trpt = static_cast<uint16_t>(ClampLowWins(trpt, kAvgCountMin, kAvgCountMax));
  Log(WireAveraging(qv_.VarPar.Vrpt, qv_.VarPar.Trpt));
  EndParamCmd();
  return kCmdOk;
}

int32_t TQzCmd::SetCounter(int32_t tcountUs, uint8_t isCntOn) {
  BeginParamCmd();
  qv_.VarPar.TcountCw = tcountUs;
  qv_.VarPar.IsCntOn = isCntOn != 0 ? 1 : 0;
  Log(WireCounter(qv_.VarPar.TcountCw, qv_.VarPar.IsCntOn));
  EndParamCmd();
  if (counterLamp_) counterLamp_(qv_.VarPar.IsCntOn == 1);
  return kCmdOk;
}

int32_t TQzCmd::SetFreqParam(uint8_t code, int32_t value) {
  BeginParamCmd();
  switch (code) {
    case kFreqDelta:
      qv_.VarPar.FdeltaMHz = static_cast<uint16_t>(ClampLowWins(value, 0, 65535));
      break;
    case kFreqSubst: {
      const int64_t nom = qv_.FixPar.FnominKHz;
      const int64_t tol = int64_t(qv_.VarPar.FdeltaMHz) * 1000;
      qv_.VarPar.FsubstKHz =
          static_cast<int32_t>(ClampLowWins(int64_t(value), std::max<int64_t>(nom - tol, INT32_MIN),
                                            std::min<int64_t>(nom + tol, INT32_MAX)));
      break;
    }
    case kFreqSamplCw:
      // A rate of 0 would make the frame time-out and the sampling step undefined.
      qv_.VarPar.FsamplCw = ClampLowWins(value, kSmplFreqMin, qv_.FixPar.FmaxSmpl);
      break;
    default:
      break;
  }
  Log(WireFreqParam(code, value));
  EndParamCmd();
  return kCmdOk;
}

int32_t TQzCmd::SetMeaStp(const TMeaStp& m) {
  BeginParamCmd();
  qv_.MstpCW = m;
  Log(WireMeaStp(m));
  EndParamCmd();
  return kCmdOk;
}

int32_t TQzCmd::ReadMeaStp() {
  Log(WireReadMeaStp());
  return kCmdOk;
}

int32_t TQzCmd::SetMotRefresh(uint16_t periodMs) {
  BeginParamCmd();
  qv_.MotRefreshMs = periodMs;
  Log(WireMotRefresh(periodMs));
  EndParamCmd();
  return kCmdOk;
}

int32_t TQzCmd::SetPowCalFactor(uint8_t flag) {
  Log(WirePowCal(double(qv_.UserPowCorr), flag));
  return kCmdOk;
}

int32_t TQzCmd::SetFreqOnly(bool on, bool& confirmed) {
  FreqOnly = on;
  confirmed = on;
  return kCmdOk;
}

int32_t TQzCmd::SetMeasOutput(uint8_t value) {
  (void)value;
  return kCmdOk;
}

// ---- tuner ------------------------------------------------------------------------------------

int32_t TQzCmd::AutotuneOnOff(uint8_t value) {
  if (value == 0 || value == 1) Mot().AtOn = value == 1;
  Log(WireAutotuneOnOff(value));
  return kCmdOk;
}

int32_t TQzCmd::ReadAutotuneState() {
  Log(WireAutotuneState(Mot().AtOn));
  return kCmdOk;
}

int32_t TQzCmd::SetAutotuneParams() {
  Log(WireAutotuneParams(Mot()));
  return kCmdOk;
}

int32_t TQzCmd::ReadAutotuneParams() {
  Log(WireReadAutotuneParams());
  return kCmdOk;
}

int32_t TQzCmd::SingleTune() {
  sim_.TuStartPos = Mot().ActPos;
  sim_.Btune1 = true;
  sim_.WasTune1Click = true;
  BeginParamCmd();
  Log(WireSingleTune());
  WaitFrame(2, kToutForCycle);
  EndParamCmd();
  return kCmdOk;
}

int32_t TQzCmd::MoveStubs() {
  Mot().ActPos = Mot().TargPos;
  Log(WireMoveStubs(Mot().TargPos));
  return kCmdOk;
}

int32_t TQzCmd::ResetStubs() {
  Mot().TargPos = MakeMotPos(0, 0, 0);
  Mot().ActPos = MakeMotPos(0, 0, 0);
  Log(WireResetStubs());
  return kCmdOk;
}

int32_t TQzCmd::ReadMotStatus() {
  Mot().MotStatus = kSimMotStatus;
  Mot().MotError = 0;
  return kCmdOk;
}

int32_t TQzCmd::SetSendTunePos(bool on) {
  Mot().SendTunePos = on;
  return kCmdOk;
}

int32_t TQzCmd::SetHysteresis(uint8_t hystDg) {
  Mot().HystDg = hystDg;
  return kCmdOk;
}

int32_t TQzCmd::TuneStartStop(uint8_t n) {
  Log(WireTuneStartStop(n));
  return kCmdOk;
}

int32_t TQzCmd::TunerReadOut() {
  Log(WireTunerReadOut());
  return kCmdOk;
}

int32_t TQzCmd::SetTunerOutput() { return kCmdOk; }

// ---- unit and server --------------------------------------------------------------------------

int32_t TQzCmd::Ping(uint8_t address) {
  Log(WirePing(address));
  return kCmdOk;
}

int32_t TQzCmd::ServerControl(uint8_t subCode) {
  Log(WireServerControl(subCode));
  return kCmdOk;
}

int32_t TQzCmd::ReadCardDescr() {
  DaqDescr = TDaqDescr{};
  DaqDescr.CardName = QStringLiteral("Simulated");
  const char* const names[] = {"5 mV", "50 mV", "500 mV", "5 V"};
  DaqDescr.RangeCount = 4;
  for (int i = 0; i < 4; ++i) DaqDescr.RangeNames[std::size_t(i)] = QString::fromLatin1(names[i]);
  return kCmdOk;
}

int32_t TQzCmd::ReadChanSetup() {
  ChanSetup.Active = 1;
  ChanSetup.Rnge = 3;
  ChanSetup.RngLo = 0;
  ChanSetup.RngHi = 3;
  return kCmdOk;
}

bool TQzCmd::ReadServerVersion() {
  // The simulated unit has no server program: its version stays unknown.
  return false;
}

bool TQzCmd::ConnectionCheck(QString& message) {
  Log(WireConnectionCheck());
  message.clear();
  return true;
}

// ---- start-up and file transfer ---------------------------------------------------------------

int32_t TQzCmd::OpenConnection(QString& reason) {
  reason.clear();
  return kCmdOk;
}

int32_t TQzCmd::InitUnits(QString& message) {
  message.clear();
  for (int addr : units_) {
    UnitOp(false, addr, kActStop, false);
    UnitOp(true, addr, kActStop, false);
  }
  for (int addr : units_) {
    runStat_[addr] = qv_.VarPar.AutoRun & 1;
    sendStat_[addr] = (qv_.VarPar.AutoRun >> 1) & 1;
  }
  return kCmdOk;
}

int32_t TQzCmd::ReadUnitMemory() { return kCmdOk; }

int32_t TQzCmd::ReadTunerMemory() { return kCmdOk; }

int32_t TQzCmd::SendFile(const QString& localPath, const QString& unitPath) {
  Log(TWire{-1, QStringLiteral("send ") + localPath + QStringLiteral(" -> ") + unitPath});
  return TSimUnitFiles().Send(localPath, unitPath);
}

int32_t TQzCmd::ReceiveFile(const QString& unitPath, const QString& localPath) {
  Log(TWire{-1, QStringLiteral("receive ") + unitPath + QStringLiteral(" -> ") + localPath});
  return TSimUnitFiles().Receive(unitPath, localPath);
}

}  // namespace qz
