#pragma once
// The operator's hand on the stub motors, without a window: steps with repeat, end stops,
// typed positions and dragging. Every move writes the target positions of the shared motor
// state and asks the command layer to move the stubs (the simulated tuner takes them at once);
// the window only runs the repeat timers and draws what it is told.

#include <array>
#include <functional>

#include "tuner/stubrules.h"

namespace qz {

class TQzCmd;
class TTunerModel;
struct TMotState;

class TStubMotion {
 public:
  TStubMotion(TTunerModel& model, TQzCmd& cmd);

  // The working maximum of the tuner description (at least 1) and its step length.
  int MaxSteps() const;
  double StepMm() const;
  TMotState& Mot();
  const TMotState& Mot() const;

  // The step sizes of index 0..2, each limited to 1 .. maximum.
  void SetStepSize(int st1, int st2, int st3);
  const TStepSize& StepSize() const { return stepSize_; }
  TStep Steps(int mo) const { return steps_[size_t(mo - 1)]; }

  // Told after motor mo (1..3) has moved, so its text and stub are shown anew.
  std::function<void(int mo)> OnShowMotPosit;

  // A press on a step button of motor mo: the targets start at the actual positions; at the end
  // stop of the direction nothing happens (false), else one step is made and the repeat may start
  // (true).
  bool Press(int mo, TSmer dir, TStep index);
  // One repeat tick of motor mo: skipped while a step of that motor is being made; otherwise one
  // step. False once the target has reached an end of the travel (the repeat stops).
  bool Tick(int mo);
  // One step of motor mo in its running direction and size.
  void UrobKrok(int mo);
  bool KrokBezi(int mo) const { return krokBezi_[size_t(mo - 1)]; }

  // The end-stop buttons: motor mo to 0 (zero extension) or to the maximum.
  void EndStop(int mo, bool maxExtension);
  // A typed position of motor mo in steps (limited to the travel).
  void MoveTo(int mo, int steps);

  // Dragging a stub: the press (the stub's drawn height and the mouse y), each move (returns the
  // position and the height to draw) and the release, which moves the stubs.
  void BeginDrag(int mo, int y, int height);
  TStubDragPos DragMove(int y, const TStubScale& scale);
  void EndDrag();
  bool MouseActive() const { return mouseActive_; }
  int DragMotor() const { return dragMo_; }

 private:
  void TargetsFromActual();
  void Move(int mo);

  TTunerModel& model_;
  TQzCmd& cmd_;
  TStepSize stepSize_ = kDefaultStepSize;
  std::array<TStep, 3> steps_{1, 1, 1};
  std::array<TSmer, 3> smery_{TSmer::Dolu, TSmer::Dolu, TSmer::Dolu};
  std::array<bool, 3> krokBezi_{false, false, false};
  bool mouseActive_ = false;
  int dragMo_ = 0;
  int tmpMouseY_ = 0;
  int dragHeight_ = 0;
};

}  // namespace qz
