#pragma once
// What a newly derived tuner description means outside the tuner model: the unit description
// takes the tuner's identity, the analyzer its cut-off frequency, and when the nominal frequency
// changed, the substitute frequency follows it and the model's frequency entry is checked
// against the new nominal frequency.
//
// The description is derived again after every autotune edit and at every start; only a change
// of the nominal frequency may move the operator's substitute frequency or frequency entry.

#include <functional>

#include "sim/tunermodel.h"

namespace qz {

class TMdlPresenter;
class TQvWin;

class TSimTunerHost : public TTunerHost {
 public:
  TSimTunerHost(TQvWin& qv, TMdlPresenter& model) : qv_(qv), model_(model) {}

  // The model window shows its frequency entry again (unset: no window).
  std::function<void()> OnFreRechecked;

  void TunerDescrApplied(const TTunerDescr& d, double cutoffHz) override;

 private:
  TQvWin& qv_;
  TMdlPresenter& model_;
};

}  // namespace qz
