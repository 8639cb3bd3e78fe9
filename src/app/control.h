#pragma once
// Remote control of the program by other programs: the rules every call obeys, apart from the
// bus that carries the calls. Each call does what the operator's own command does; the window
// program and the headless run each give the control a port that reaches those commands.
//
// Rules: while a modal dialog of the window program is open, every call is refused ("busy: a
// dialog is open"). During a run, the calls whose menu or control the run disables (LoadSetup,
// SaveSetup, SaveResults, SaveResultsCsv, AutoTune, MoveStubs) are refused ("busy: running"); the
// model's values, Pause, Stop, Finish and Quit stay available, as the model window and the first
// three items of the Quzar menu do. A refused call changes nothing.

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "app/chartrequest.h"
#include "app/resultrecord.h"
#include "sim/mdlentries.h"

namespace qz {

class TMdlPresenter;
class TQvWin;

// How a call ended, as the bus reports it.
enum class TControlStatus {
  Ok,
  Busy,          // a dialog is open, or a run holds what the call needs
  WrongState,    // "running", "not running"
  InvalidValue,  // a value out of its limits, a text that does not read, a path refused
  NotWritable,   // a path refused before any write: not writable, a special file, the running log
  Failed,        // the command was carried out and failed (the reason is its message)
};

struct TControlResult {
  TControlStatus status = TControlStatus::Ok;
  QString error;  // empty when status is Ok
  bool ok() const { return status == TControlStatus::Ok; }
};

// A command-layer call's answer: its result code and the code's text.
struct TControlCmdAnswer {
  TControlResult result;
  int32_t code = 0;
  QString text;
};

// Texts of the refusals.
inline constexpr const char* kNoTuner = "The unit has no tuner.";
inline constexpr const char* kBusyRunning = "busy: running";
inline constexpr const char* kBusyDialog = "busy: a dialog is open";
inline constexpr const char* kBusyScenario = "busy: a scenario is playing";
inline constexpr const char* kStateRunning = "running";
inline constexpr const char* kStateNotRunning = "not running";

// Reasons told when a run ends.
inline constexpr const char* kEndPaused = "paused";
inline constexpr const char* kEndStopped = "stopped";
inline constexpr const char* kEndPassesDone = "passes done";
inline constexpr const char* kEndClosing = "closing";
// A run asked for that never began: a dialog opened, the operator's own run came first and
// ended, or the unit did not start it.
inline constexpr const char* kEndNotStarted = "not started";
// The reason of a run that has just ended, from what ended it.
QString RunEndReason(bool closing, bool immedStop, bool passesDone);

// What the control needs of the program. Each operation is the operator's command without its
// dialogs.
class TControlPort {
 public:
  virtual ~TControlPort() = default;
  // A modal dialog (or a question) of the window program is open.
  virtual bool DialogOpen() const = 0;
  virtual bool Running() const = 0;
  virtual int64_t FramesAccepted() const = 0;
  // A scenario is being played with measurements: it owns the unit and the run until it ends.
  virtual bool ScenarioPlaying() const { return false; }
  // Run/Pause: from idle the run starts and the call returns when it has ended; during a run the
  // end is requested.
  virtual void RunPause() = 0;
  // Stop Quzar.
  virtual void StopUnit() = 0;
  // Finish Sweep: its check mark and the command that toggles it.
  virtual bool FinishSweep() const = 0;
  virtual void ToggleFinishSweep() = 0;
  virtual bool LoadSetup(const QString& path, QString& comment, QString& error) = 0;
  virtual bool SaveSetup(const QString& path, const QString& comment, QString& error) = 0;
  virtual bool SaveResults(const QString& path, const QString& comment, QString& error) = 0;
  // The current sweep as CSV (core/resultscsv.h).
  virtual bool SaveResultsCsv(const QString& path, const QString& comment, QString& error) = 0;
  // The model's entries as the model window shows them, and the nominal frequency (Hz) its
  // frequency entry is checked against.
  virtual TMdlEntries ModelEntries() = 0;
  // The model as section "Model" of a setup saved now keeps it.
  virtual TMdlStp ModelStp() {
    const TMdlEntries e = ModelEntries();
    return TMdlStp{e, 0, e.MdlResPath};
  }
  virtual double NominalFreqHz() const = 0;
  // Edits the model's entries (written into the model window's controls when it exists), then
  // "&Apply".
  virtual void EditModel(const std::function<void(TMdlPresenter&)>& edit) = 0;
  // The tuner: a single tune through the command layer; the stubs moved to target positions
  // (motor steps) through the command layer; the travel in steps and the step length in mm.
  virtual bool HasTuner() const = 0;
  virtual int32_t SingleTune() = 0;
  // After a single tune: the text of its outcome, empty when it reached the target (a load out
  // of reach, a tune ended above the tolerance).
  virtual QString TuneOutcomeText() const { return QString(); }
  virtual int32_t MoveStubs(const std::array<int, 3>& steps) = 0;
  virtual int MaxSteps() const = 0;
  virtual double StepMm() const = 0;
  // The program's exit without its question; saveSetup is the answer the question would get.
  virtual void Quit(bool saveSetup) = 0;
  // The data log the program has prepared or is writing (empty when none).
  virtual QString RunningLogPath() const { return QString(); }
  // The analyzer state whose frames the typed reads give, and the stub step in mm the live
  // item uses (none: nothing has been measured).
  virtual const TQvWin* Analyzer() const { return nullptr; }
  virtual double MmPerStep() const { return 0.0; }
};

// A file that a call is to write: a name is given, an existing file is a regular file that is
// not read-only and not `runningLog` (the same name, or the same device and inode), and its
// folder exists and takes a new file (tried by creating one and removing it again). Empty when
// it may be written, else the reason.
QString WritablePathProblem(const QString& path, const QString& runningLog = QString());
inline constexpr const char* kRunningLogText =
    "\"%1\" is the running data log; it is not overwritten.";

// The keys of section "Model" that SetModelValue sets, in the section's order (the window
// place and the tuner description are not among them).
QStringList ModelKeyNames();
// Checks `text` as the value of `key` against the key's limits (`now` and `nominalHz` give the
// limits that depend on other entries); empty with `edit` set to the change of the entries when
// it may be set, else the reason, naming the limits.
QString ModelValueEdit(const QString& key, const QString& text, const TMdlEntries& now,
                       double nominalHz, std::function<void(TMdlPresenter&)>& edit);

class TControl {
 public:
  explicit TControl(TControlPort& port);
  ~TControl();
  TControl(const TControl&) = delete;
  TControl& operator=(const TControl&) = delete;

  // Runs a task from the event loop right after the present call has been answered (a
  // zero-time timer; tests run the tasks themselves).
  std::function<void(std::function<void()>)> Defer;
  // Told with the reason when a run ends.
  std::function<void(const QString&)> OnRunEnded;
  // Told when a run begins: its number and the number its first frame takes.
  std::function<void(uint32_t, uint64_t)> OnRunStarted;

  TControlResult Run();
  TControlResult Pause();
  TControlResult Stop();
  TControlResult Finish(bool on);
  TControlResult LoadSetup(const QString& path);
  TControlResult SaveSetup(const QString& path, const QString& comment);
  TControlResult SaveResults(const QString& path, const QString& comment);
  TControlResult SaveResultsCsv(const QString& path, const QString& comment);
  TControlResult SetModelLoad(double magnitude, double phaseDeg);
  TControlResult SetModelValue(const QString& key, const QString& value);
  // The text key `key` of the model (a name of ModelKeyNames(), letter case ignored) has in a
  // setup saved now. A reading: never refused; an unknown key is an invalid value.
  TControlResult ModelValueText(const QString& key, QString& text);
  TControlCmdAnswer AutoTune();
  TControlCmdAnswer MoveStubs(double mm1, double mm2, double mm3);
  TControlResult Quit(bool saveSetup);
  // The chart of the last sweep as display type `type` (a name of ChartTypeNames()), width x
  // height pixels (a side of 0 takes its default), written by the file's extension. Refused
  // during a run, as the picture commands are.
  TControlResult SaveChart(const QString& type, const QString& path, uint32_t width,
                           uint32_t height);

  // The record of the last accepted frame. A reading: never refused; before the first frame it
  // fails with "No measured data available".
  TControlResult GetResult(TResultRecord& record);
  // The records of the frames the current sweep holds after frame `sinceFrame`, oldest first,
  // at most kResultRowsMax; `missed` counts the later frames that are not among them and no
  // longer held (core of the rules: app/resultrecord.h). A frame beyond the newest accepted one
  // is an invalid value naming the newest.
  TControlResult GetResults(uint64_t sinceFrame, std::vector<TResultRecord>& rows,
                            uint64_t& missed);

  // Draws and writes the chart for SaveChart (type name, file, width, height); set by the
  // program, whose window layer renders charts. Without it SaveChart fails.
  std::function<TChartResult(const QString&, const QString&, uint32_t, uint32_t)> ChartSaver;

  // A run is in progress, or one was started and begins right after the answer.
  bool Running() const;
  // A run asked for but not begun has no frames yet (not the last run's).
  int64_t FramesAccepted() const { return runPending_ ? 0 : port_.FramesAccepted(); }
  // The error of the last call (empty after a call that succeeded).
  const QString& LastError() const { return lastError_; }

  // The program tells the end of every run (whoever started it) with its reason, and the
  // start of every run with its number and the number of its first frame. A run asked for by
  // Run that never begins is told ended ("not started"), so that Running is false again and a
  // caller waiting for the end is not left waiting.
  void RunEnded(const QString& reason);
  void RunStarted(uint32_t run, uint64_t firstFrame);

 private:
  // The refusal that applies before anything is done (empty result when none).
  TControlResult Refusal(bool disabledInRun);
  TControlResult Done(TControlResult r);
  // The refusal of a path to be written (NotWritable), empty result when it may be written.
  TControlResult PathRefusal(const QString& path) const;
  // A save that failed: NotWritable when the path turns out not to take a file (the writer
  // could not create it), else Failed with the writer's message.
  TControlResult SaveFailed(const QString& path, const QString& error) const;

  TControlPort& port_;
  bool runPending_ = false;
  // Runs the program has told begun (a run asked for began when this grew during its start).
  uint64_t runsStarted_ = 0;
  QString lastError_;
  std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

}  // namespace qz
