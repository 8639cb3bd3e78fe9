#pragma once
// The tuner picture's rig: one simulated tuner (built-in description, or another maximum of
// travel and step length), the analyzer state over its motor state and a command layer whose
// operations are mocks doing what the real layer does.

#include <gmock/gmock.h>

#include "common/fakeqzcmd.h"
#include "common/tunerrig.h"
#include "core/qvwin.h"

namespace qz::testing {

struct TpicRig : TunerRig {
  TQvWin qv{mot};
  ::testing::NiceMock<testing::TFakeQzCmd> cmd{qv, sim};

  TpicRig() = default;
  // A tuner of maxSteps steps of stepMm millimetres.
  TpicRig(int maxSteps, double stepMm) {
    d.MaxSteps = uint16_t(maxSteps);
    d.MmPerStep = stepMm;
    sim.UserMax_mm = -1.0;  // the operator's maximum insertion follows the description
    Derive();
  }
};

}  // namespace qz::testing