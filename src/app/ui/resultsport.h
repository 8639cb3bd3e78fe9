#pragma once
// The numeric results windows as the measurement cycle sees them: every result with analyzer
// data goes to each of the two windows that is visible. Each window puts itself in once it is
// made; the cycle is given the port only when one of them exists.

#include "app/cycleports.h"

namespace qz {

class TQzResForm;
class TQzSmallFrm;

class TResultsPort : public TCycleResults {
 public:
  void SetFull(TQzResForm* full) { full_ = full; }
  void SetSmall(TQzSmallFrm* small) { small_ = small; }
  bool Any() const { return full_ || small_; }
  void ShowResult(const THresults& res) override;

 private:
  TQzResForm* full_ = nullptr;
  TQzSmallFrm* small_ = nullptr;
};

}  // namespace qz
