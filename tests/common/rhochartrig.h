#pragma once
// The reflection-coefficient chart's surroundings as the tests build them: the built-in tuner
// (tunerrig.h), an analyzer state over its motor state, and the model over that tuner, with the
// model's pause switched off.

#include "common/tunerrig.h"
#include "core/qvwin.h"
#include "sim/mdlengine.h"
#include "sim/modeltuner.h"

namespace qz::testing {

struct RhoChartRig {
  TunerRig t;
  TQvWin qv{t.mot};
  TTunerModelAdapter adapter{t.m, t.at};
  TMdlEngine model{qv, t.sim, adapter};
  RhoChartRig() {
    model.Sleep = [](int64_t) {};
  }
};

}  // namespace qz::testing