#pragma once
// The remote control's port over the program's services: each call reaches the command the
// operator uses (the cycle's Run/Pause, Stop Quzar and Finish Sweep, the setup files, Save
// Results, the model's "&Apply", the command layer's single tune and stub move). The headless
// run uses it as it stands; the window program puts its windows' own commands in front.
//
// It also watches the runs of the cycle, so that the end of every run is told with its reason,
// whoever started it.

#include <functional>

#include "app/control.h"
#include "app/cycleports.h"
#include "app/saveastxt.h"

namespace qz {

class TProgram;

class TProgramPort : public TControlPort, public TRunEnable {
 public:
  explicit TProgramPort(TProgram& program);
  ~TProgramPort() override;
  TProgramPort(const TProgramPort&) = delete;
  TProgramPort& operator=(const TProgramPort&) = delete;

  // Told with the reason when a run ends, and with its number and the number of its first
  // frame when one begins.
  std::function<void(const QString&)> OnRunEnded;
  std::function<void(uint32_t, uint64_t)> OnRunStarted;
  // The run in progress ends because its number of frames has been reached.
  void PassesDone() { passesDone_ = true; }
  // What Save Results keeps between two saves: the program's (the window program gives its
  // own).
  TSaveAsTxtState* SaveState = nullptr;

  bool DialogOpen() const override { return false; }
  bool Running() const override;
  int64_t FramesAccepted() const override;
  void RunPause() override;
  void StopUnit() override;
  bool FinishSweep() const override;
  void ToggleFinishSweep() override;
  bool LoadSetup(const QString& path, QString& comment, QString& error) override;
  bool SaveSetup(const QString& path, const QString& comment, QString& error) override;
  bool SaveResults(const QString& path, const QString& comment, QString& error) override;
  bool SaveResultsCsv(const QString& path, const QString& comment, QString& error) override;
  TMdlEntries ModelEntries() override;
  TMdlStp ModelStp() override;
  double NominalFreqHz() const override;
  void EditModel(const std::function<void(TMdlPresenter&)>& edit) override;
  bool HasTuner() const override;
  // The single tune through the command layer, then one frame through the model (neither
  // stored, drawn nor logged), so that the stubs move at once as the unit's would.
  int32_t SingleTune() override;
  QString TuneOutcomeText() const override { return tuneText_; }
  int32_t MoveStubs(const std::array<int, 3>& steps) override;
  int MaxSteps() const override;
  double StepMm() const override;
  // The headless exit: nothing is written; a run ends first. `Quitting` is then set and
  // OnQuit told once no run is in progress.
  void Quit(bool saveSetup) override;
  // The data log while it is prepared (Ready) or written (Logging).
  QString RunningLogPath() const override;
  const TQvWin* Analyzer() const override;
  double MmPerStep() const override;
  bool Quitting() const { return quitting_; }
  std::function<void()> OnQuit;

  // TRunEnable: the start and the end of a run.
  void EnableForRun(bool enabled) override;

 protected:
  TProgram& program_;

 private:
  bool passesDone_ = false;
  QString tuneText_;
  bool quitting_ = false;
};

}  // namespace qz
