#pragma once
// Keeps the analyzer state's tune time equal to the last single tune's, so the frame time-out
// waits for the stubs: an observer of the autotune, registered before any window.

#include "core/qvwin.h"
#include "sim/autotune.h"

namespace qz {

class TTuneTimeFollower : public TAutoTuneObserver {
 public:
  explicit TTuneTimeFollower(TQvWin& qv) : qv_(qv) {}
  void OnTuneTime(const TAutoTune&, double seconds) override { qv_.TuneTimeMs = seconds * 1000.0; }

 private:
  TQvWin& qv_;
};

}  // namespace qz
