#pragma once
// One simulated tuner as the tests build it: the built-in tuner description, its own motor and
// simulation records, the tuner model with the description derived and the per-frequency data
// filled at the nominal frequency, and the autotune over it.

#include "core/records.h"
#include "sim/autotune.h"
#include "sim/tunerdescr.h"
#include "sim/tunermodel.h"

namespace qz::testing {

inline constexpr double kTunerRigFreq = 2.45e9;

struct TunerRig {
  TTunerDescr d = DefaultTunerDescr();
  TMotState mot;
  TSimState sim;
  TTunerModel m{d, mot, sim};
  TAutoTune at{m};

  // descr: another description instead of the built-in one.
  explicit TunerRig(const TTunerDescr* descr = nullptr) {
    if (descr) d = *descr;
    Derive();
  }
  // The description (or the operator's maximum insertion) changed: derive it again and fill
  // the per-frequency data at the rig's frequency.
  void Derive() {
    m.TunerDescriptionChanged();
    m.TU_FillFreqPars(kTunerRigFreq);
  }
};

}  // namespace qz::testing