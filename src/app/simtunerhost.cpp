#include "app/simtunerhost.h"

#include "core/qvwin.h"
#include "sim/mdlpresenter.h"

namespace qz {

void TSimTunerHost::TunerDescrApplied(const TTunerDescr& d, double cutoffHz) {
  const bool nominalChanged = qv_.FixPar.FnominKHz != d.FnominKHz;
  ApplyTunerIdentity(d, qv_.FixPar);
  qv_.f_cutoff = cutoffHz;
  if (!nominalChanged) return;
  qv_.VarPar.FsubstKHz = d.FnominKHz;
  model_.RecheckFre();
  if (OnFreRechecked) OnFreRechecked();
}

}  // namespace qz
