#pragma once
// The measurement cycle's view of the unit, over the command layer, the serial port layer and
// the simulation model.

#include "app/cycleports.h"

namespace qz {

class TQzCmd;
class T232;
class TMdlEngine;

class TCmdCycleUnit : public TCycleUnit {
 public:
  TCmdCycleUnit(TQzCmd& cmd, T232& port, TMdlEngine& model)
      : cmd_(cmd), port_(port), model_(model) {}

  bool Measure(uint16_t timeoutMs) override;
  int32_t StartStop(uint8_t action, bool remember) override;
  int32_t SendHush(uint8_t action, bool remember) override;
  int32_t StopWithWait() override;
  void ClearAndPurge() override;
  void Purge() override;
  void ResetSampleCounter() override;

 private:
  TQzCmd& cmd_;
  T232& port_;
  TMdlEngine& model_;
};

}  // namespace qz
