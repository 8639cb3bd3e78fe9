#include "app/cmdcycleunit.h"

#include "comm/qzcmd.h"
#include "comm/t232.h"
#include "sim/mdlengine.h"

namespace qz {

bool TCmdCycleUnit::Measure(uint16_t timeoutMs) { return cmd_.Measure(timeoutMs); }

int32_t TCmdCycleUnit::StartStop(uint8_t action, bool remember) {
  return cmd_.UnitStartStop(kUnitAddr, action, kToutForCycle, remember);
}

int32_t TCmdCycleUnit::SendHush(uint8_t action, bool remember) {
  return cmd_.UnitSendHush(kUnitAddr, action, kToutForCycle, remember);
}

int32_t TCmdCycleUnit::StopWithWait() {
  return cmd_.StartStop(true, kActStop, kToutForCycle, true);
}

void TCmdCycleUnit::ClearAndPurge() { port_.Purge(); }

void TCmdCycleUnit::Purge() { port_.Purge(); }

void TCmdCycleUnit::ResetSampleCounter() { model_.SetSmpl(true); }

}  // namespace qz
