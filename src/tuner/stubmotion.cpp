#include "tuner/stubmotion.h"

#include <algorithm>

#include "comm/qzcmd.h"
#include "sim/tunermodel.h"
#include "util/numutil.h"

namespace qz {

TStubMotion::TStubMotion(TTunerModel& model, TQzCmd& cmd) : model_(model), cmd_(cmd) {}

int TStubMotion::MaxSteps() const { return std::max(1, model_.Derived().MaxSteps); }
double TStubMotion::StepMm() const { return model_.Derived().StepMm; }
TMotState& TStubMotion::Mot() { return model_.Mot(); }
const TMotState& TStubMotion::Mot() const { return model_.Mot(); }

void TStubMotion::SetStepSize(int st1, int st2, int st3) {
  stepSize_ = LimitStepSizes(st1, st2, st3, MaxSteps());
}

void TStubMotion::TargetsFromActual() { Mot().TargPos = Mot().ActPos; }

void TStubMotion::Move(int mo) {
  // The simulated tuner takes the targets at once; the result of the move is not needed.
  (void)cmd_.MoveStubs();
  if (OnShowMotPosit) OnShowMotPosit(mo);
}

bool TStubMotion::Press(int mo, TSmer dir, TStep index) {
  TargetsFromActual();
  if (!StepPressAllowed(Mot().ActPos[mo], MaxSteps(), dir)) return false;
  smery_[size_t(mo - 1)] = dir;
  steps_[size_t(mo - 1)] = std::clamp(index, 0, 2);
  UrobKrok(mo);
  return true;
}

bool TStubMotion::Tick(int mo) {
  // A tick that arrives while the same motor's step is still being made does nothing.
  if (KrokBezi(mo)) return true;
  UrobKrok(mo);
  return RepeatContinues(Mot().TargPos[mo], MaxSteps());
}

void TStubMotion::UrobKrok(int mo) {
  const size_t i = size_t(mo - 1);
  krokBezi_[i] = true;
  const int s = stepSize_[size_t(steps_[i])];
  const int next = NextStepPosition(Mot().ActPos[mo], s, smery_[i]);
  Mot().TargPos[mo] = int16_t(ClampLowWins(int32_t(next), 0, int32_t(MaxSteps())));
  Move(mo);
  krokBezi_[i] = false;
}

void TStubMotion::EndStop(int mo, bool maxExtension) {
  TargetsFromActual();
  Mot().TargPos[mo] = int16_t(maxExtension ? MaxSteps() : 0);
  Move(mo);
}

void TStubMotion::MoveTo(int mo, int steps) {
  TargetsFromActual();
  Mot().TargPos[mo] = int16_t(ClampLowWins(int32_t(steps), 0, int32_t(MaxSteps())));
  Move(mo);
}

void TStubMotion::BeginDrag(int mo, int y, int height) {
  mouseActive_ = true;
  dragMo_ = mo;
  TargetsFromActual();
  tmpMouseY_ = y;
  dragHeight_ = height;
}

TStubDragPos TStubMotion::DragMove(int y, const TStubScale& scale) {
  if (!mouseActive_) return {Mot().ActPos[dragMo_ ? dragMo_ : 1], dragHeight_};
  // Downwards is deeper.
  const TStubDragPos p = StubHeightToSteps(scale, dragHeight_ + (y - tmpMouseY_));
  dragHeight_ = p.height;
  Mot().TargPos[dragMo_] = int16_t(p.steps);
  // The stub is shown where it is dragged; the move at the release makes it so.
  Mot().ActPos = Mot().TargPos;
  tmpMouseY_ = y;
  return p;
}

void TStubMotion::EndDrag() {
  if (!mouseActive_) return;
  mouseActive_ = false;
  Move(dragMo_);
}

}  // namespace qz
