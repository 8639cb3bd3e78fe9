#pragma once
// Brings the unit in line with settings just read from a setup file, through the command layer:
// each setting is sent with its own command, and each outcome goes to the command layer's
// common report, so one refused command does not keep the others from being sent.

#include "core/unitsync.h"

namespace qz {

class TQzCmd;

class TQzCmdSync : public TUnitSync {
 public:
  explicit TQzCmdSync(TQzCmd& cmd) : cmd_(cmd) {}

  void StopUnit() override;
  void SendWaveform() override;
  void SendFreqTolerance(uint16_t fdeltaMHz) override;
  void SendCounter(int32_t tcountUs, uint8_t isCntOn) override;
  void SendSubstFreq(int32_t fsubstKHz) override;
  void SendFsamplCw(int32_t fsamplHz) override;
  void SendAveraging(uint16_t vrpt, uint16_t trpt) override;
  void SendMeaStp(const TMeaStp& mstp) override;
  void RefreshMeaStpWindow() override;
  void SendMotRefresh(uint16_t ms) override;
  void SendAutotuneParams() override;
  void SendAutotuneOnOff(bool on) override;
  void SendTunePosState(bool on) override;
  void SendHysteresis(uint8_t hystDg) override;

 private:
  TQzCmd& cmd_;
};

}  // namespace qz
