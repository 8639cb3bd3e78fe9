#include "app/ui/resultsport.h"

#include "results/ui/qzresform.h"
#include "results/ui/qzsmallfrm.h"

namespace qz {

void TResultsPort::ShowResult(const THresults& res) {
  if (full_ && full_->isVisible()) full_->Napln(&res);
  if (small_ && small_->isVisible()) small_->Napln(&res);
}

}  // namespace qz
