#pragma once
// The shared tuner with the model's frames over it: the built-in tuner, the analyzer state on its
// motor record, the model engine with autotune on, no uncertainty of the load and a seeded random
// source (given back at the end).

#include <QStringList>
#include <memory>

#include "common/tunerrig.h"
#include "core/qvwin.h"
#include "sim/autotune.h"
#include "sim/mdlengine.h"
#include "sim/modeltuner.h"
#include "util/random.h"

namespace qz::testing {

struct FrameRig : TunerRig {
  TTunerModelAdapter tuner{m, at};
  TQvWin qv{mot};
  TMdlEngine model{qv, sim, tuner};
  TMerObjekt mob{};
  FrameRig() {
    SetRandomSource(std::make_unique<SeededRandom>(7));
    model.Sleep = [](int64_t) {};
    model.Runcert = 0.0;
    mot.AtOn = true;
  }
  ~FrameRig() { SetRandomSource(nullptr); }
  FrameRig(const FrameRig&) = delete;
  FrameRig& operator=(const FrameRig&) = delete;
  void Frames(int n) {
    for (int i = 0; i < n; ++i) model.GetMobBytes(1, mob);
  }
};

// Counts the tunes and keeps the texts of the unreached ones.
struct TuneWatch : TAutoTuneObserver {
  int tunes = 0;
  QStringList texts;
  void OnTuneOutcome(const TAutoTune&, const TTuneOutcome& o) override {
    ++tunes;
    if (!o.Reached) texts << o.Text();
  }
};

}  // namespace qz::testing