#include "comm/qzcmdsync.h"

#include "comm/qzcmd.h"

namespace qz {

void TQzCmdSync::StopUnit() { cmd_.StopUnit(); }

void TQzCmdSync::SendWaveform() {
  cmd_.ShowCmdResult(QStringLiteral("Waveform"), cmd_.SetSampling());
}

void TQzCmdSync::SendFreqTolerance(uint16_t fdeltaMHz) {
  cmd_.ShowCmdResult(QStringLiteral("Set Frequency Tolerance"),
                     cmd_.SetFreqParam(kFreqDelta, fdeltaMHz));
}

void TQzCmdSync::SendCounter(int32_t tcountUs, uint8_t isCntOn) {
  cmd_.ShowCmdResult(QStringLiteral("Counter"), cmd_.SetCounter(tcountUs, isCntOn));
}

void TQzCmdSync::SendSubstFreq(int32_t fsubstKHz) {
  cmd_.ShowCmdResult(QStringLiteral("Set Substitute Frequency"),
                     cmd_.SetFreqParam(kFreqSubst, fsubstKHz));
}

void TQzCmdSync::SendFsamplCw(int32_t fsamplHz) {
  cmd_.ShowCmdResult(QStringLiteral("Sampling Frequency"),
                     cmd_.SetFreqParam(kFreqSamplCw, fsamplHz));
}

void TQzCmdSync::SendAveraging(uint16_t vrpt, uint16_t trpt) {
  cmd_.ShowCmdResult(QStringLiteral("Voltage Averaging"), cmd_.SetAveraging(vrpt, trpt));
}

void TQzCmdSync::SendMeaStp(const TMeaStp& mstp) {
  cmd_.ShowCmdResult(QStringLiteral("Measurement Setup"), cmd_.SetMeaStp(mstp));
}

void TQzCmdSync::RefreshMeaStpWindow() { cmd_.RefreshMeaStpWindow(); }

void TQzCmdSync::SendMotRefresh(uint16_t ms) {
  cmd_.ShowCmdResult(QStringLiteral("Motors Refresh Period"), cmd_.SetMotRefresh(ms));
}

void TQzCmdSync::SendAutotuneParams() {
  cmd_.ShowCmdResult(QStringLiteral("Autotune Parameters"), cmd_.SetAutotuneParams());
}

void TQzCmdSync::SendAutotuneOnOff(bool on) {
  cmd_.ShowCmdResult(QStringLiteral("Autotune ON/OFF"), cmd_.AutotuneOnOff(on ? 1 : 0));
}

void TQzCmdSync::SendTunePosState(bool on) {
  cmd_.ShowCmdResult(
      on ? QStringLiteral("Send Tune Posit ON") : QStringLiteral("Send Tune Posit OFF"),
      cmd_.SetSendTunePos(on));
}

void TQzCmdSync::SendHysteresis(uint8_t hystDg) {
  cmd_.ShowCmdResult(QStringLiteral("Hysteresis"), cmd_.SetHysteresis(hystDg));
}

}  // namespace qz
