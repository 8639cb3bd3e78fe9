#include "app/controlport.h"

#include "app/program.h"
#include "sim/autotune.h"
#include "sim/mdlengine.h"
#include "sim/mdlpresenter.h"
#include "sim/tunermodel.h"

namespace qz {

TProgramPort::TProgramPort(TProgram& program) : SaveState(&program.SaveTxt), program_(program) {
  program_.Core.Cycle.AddRunEnable(this);
}

TProgramPort::~TProgramPort() { program_.Core.Cycle.RemoveRunEnable(this); }

bool TProgramPort::Running() const { return program_.Core.Cycle.IsSweeping(); }

int64_t TProgramPort::FramesAccepted() const { return program_.Core.Cycle.AcceptedFrames(); }

void TProgramPort::RunPause() { program_.Core.Cycle.miSweepClick(); }

void TProgramPort::StopUnit() { program_.Core.Cycle.QvStop1Click(); }

bool TProgramPort::FinishSweep() const { return program_.Core.Cycle.FinishSweep(); }

void TProgramPort::ToggleFinishSweep() { program_.Core.Cycle.miFinishSwpClick(); }

bool TProgramPort::LoadSetup(const QString& path, QString& comment, QString& error) {
  return program_.LoadSetupFile(path, comment, error);
}

bool TProgramPort::SaveSetup(const QString& path, const QString& comment, QString& error) {
  return program_.Setup.SaveSetupAs(path, comment, error);
}

bool TProgramPort::SaveResults(const QString& path, const QString& comment, QString& error) {
  SaveState->preTrig = program_.Core.Cycle.n_pretrg;
  return SaveAsTxtTo(program_.Core.Qv, program_.Core.Descr, *SaveState, path, comment, error);
}

bool TProgramPort::SaveResultsCsv(const QString& path, const QString& comment, QString& error) {
  return SaveAsCsvTo(program_.Core.Qv, program_.Core.Descr, *SaveState, path, comment, error);
}

TMdlEntries TProgramPort::ModelEntries() { return program_.Core.MdlPresenter.Ent; }

TMdlStp TProgramPort::ModelStp() {
  const TMdlEngine& m = program_.Core.Model;
  return TMdlStp{ModelEntries(), m.ErrByte, m.MdlResPath};
}

double TProgramPort::NominalFreqHz() const { return program_.Core.Qv.FixPar.FnominKHz * 1000.0; }

void TProgramPort::EditModel(const std::function<void(TMdlPresenter&)>& edit) {
  TMdlPresenter& p = program_.Core.MdlPresenter;
  edit(p);
  p.Apply();
}

QString TProgramPort::RunningLogPath() const {
  const TLogEngine& e = program_.Log.engine;
  const TLogStatus s = e.GetStatus();
  return s == lsReady || s == lsLogging ? e.LogFileName() : QString();
}

const TQvWin* TProgramPort::Analyzer() const { return &program_.Core.Qv; }

double TProgramPort::MmPerStep() const { return program_.Core.Descr.MmPerStep; }

bool TProgramPort::HasTuner() const { return program_.Core.Qv.FixPar.IsTuner != 0; }

int32_t TProgramPort::SingleTune() {
  tuneText_.clear();
  TSimCore& core = program_.Core;
  const int32_t r = core.Cmd.SingleTune();
  if (r != kCmdOk) return r;
  // The unit tunes at once; the model tunes with its next frame, built here as the single-shot
  // commands build theirs.
  TQvWin& qv = core.Qv;
  core.Model.GetMobBytes(std::max<int>(1, qv.VarPar.Vrpt), qv.Mob);
  (void)qv.DekodMerData(qv.Mob, qv.Res);
  if (!core.Sim.Btune1) tuneText_ = core.AutoTune.LastOutcome().Text();
  return r;
}

int32_t TProgramPort::MoveStubs(const std::array<int, 3>& steps) {
  TMotState& mot = program_.Core.Mot;
  mot.TargPos = MakeMotPos(int16_t(steps[0]), int16_t(steps[1]), int16_t(steps[2]));
  return program_.Core.Cmd.MoveStubs();
}

int TProgramPort::MaxSteps() const {
  return std::max(1, program_.Core.TunerModel.Derived().MaxSteps);
}

double TProgramPort::StepMm() const { return program_.Core.TunerModel.Derived().StepMm; }

void TProgramPort::Quit(bool saveSetup) {
  // A run without a window never writes a setup at its end, whatever the answer.
  (void)saveSetup;
  quitting_ = true;
  if (Running()) {
    // The run ends after its pass; the end is told below.
    program_.Core.Cycle.RequestClose();
    return;
  }
  if (OnQuit) OnQuit();
}

void TProgramPort::EnableForRun(bool enabled) {
  if (!enabled) {
    passesDone_ = false;
    const TQvWin& qv = program_.Core.Qv;
    if (OnRunStarted) OnRunStarted(qv.CurrentRun(), uint64_t(qv.FramesAccepted()) + 1);
    return;
  }
  const TCycle& c = program_.Core.Cycle;
  const QString reason =
      RunEndReason(c.CloseRequested() || quitting_, program_.Core.Qv.ImmedStop, passesDone_);
  passesDone_ = false;
  if (OnRunEnded) OnRunEnded(reason);
  if (quitting_ && OnQuit) OnQuit();
}

}  // namespace qz
