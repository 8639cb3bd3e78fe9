#pragma once
// The numeric results windows as the measurement cycle sees them: every result with analyzer
// data goes to each of the two windows that is visible.

#include "app/cycleports.h"

namespace qz {

class TQzResForm;
class TQzSmallFrm;

class TResultsPort : public TCycleResults {
 public:
  TResultsPort(TQzResForm* full, TQzSmallFrm* small) : full_(full), small_(small) {}
  void ShowResult(const THresults& res) override;

 private:
  TQzResForm* full_;
  TQzSmallFrm* small_;
};

}  // namespace qz
