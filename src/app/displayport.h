#pragma once
// The display windows as the measurement cycle sees them: every call goes to the frame window's
// operations over the open display windows.

#include "app/cycleports.h"
#include "display/displayops.h"

namespace qz {

class TDisplayPort : public TCycleDisplays {
 public:
  explicit TDisplayPort(TDisplayOps& ops) : ops_(ops) {}
  void ResetTraces(bool all) override { ops_.ResetTraces(all); }
  void ForgetPreviousDrawing() override { ops_.ForgetPreviousDrawing(); }
  void KeepPreviousDrawing() override { ops_.KeepPreviousDrawing(); }
  // At the start of a run and before a sampled series: only the clear-and-go windows.
  void ClearDisplays() override { ops_.ClearDisplays(false); }
  void DrawPointAll(int32_t index) override { ops_.DrawPointAll(index); }
  void FillSweepAll(const TOneSweep& swp) override { ops_.FillSweepAll(swp); }
  void DrawSweepAll(const TOneSweep& swp) override { ops_.DrawSweepAll(swp); }
  void EraseMovingDots() override { ops_.EraseMovingDots(); }

 private:
  TDisplayOps& ops_;
};

}  // namespace qz
