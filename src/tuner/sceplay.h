#pragma once
// Playing a scenario page without a window. A plain play moves the stubs row by row and holds
// each row for its dwell time (optionally over and over); a measured play takes one or more
// measurements at every row and writes them, with per-row means and deviations when several
// are taken, to text files.
//
// The engine talks to the rest of the program through small ports: the stubs, the waits, the
// status text, the unit, the results windows and the output files; the measurements are the
// command layer's, and the analyzer state is used as it is. Every wait runs in slices of at most 50
// ms that let events in, so releasing the play button, closing the window or leaving the program
// ends a play within one slice, however long the dwell time; a measured play still completes both
// of its files.

#include <QByteArray>
#include <QChar>
#include <QDateTime>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

#include "core/records.h"
#include "core/resultstext.h"
#include "tuner/scepage.h"
#include "util/arrays.h"

namespace qz {

class TAsker;
class TQvWin;
class TQzCmd;
struct TSceStp;

// The longest piece of a wait before events are let in.
inline constexpr int kSceWaitSliceMs = 50;

struct TSceOutResult {
  bool ok = true;
  QString reason;  // the system's reason when not ok
};

// Where a measured play writes: a file is created empty, then lines are appended to it.
class TSceOutSink {
 public:
  virtual ~TSceOutSink() = default;
  virtual TSceOutResult Create(const QString& path) = 0;
  virtual TSceOutResult Append(const QString& path, const QByteArray& bytes) = 0;
};

// The real files: created through the atomic writer (a folder, device or FIFO is refused and
// left alone), each append written through the append helper (whole lines, checked, opened and
// closed around each append).
class TSceFileSink : public TSceOutSink {
 public:
  TSceOutResult Create(const QString& path) override;
  TSceOutResult Append(const QString& path, const QByteArray& bytes) override;
};

// What a play needs of the program; everything but the stubs and the wait has a do-nothing
// default.
class TScePlayPorts {
 public:
  virtual ~TScePlayPorts() = default;
  // The working maximum and step length of the tuner.
  virtual int MaxSteps() const = 0;
  virtual double StepMm() const = 0;
  // Sets the three target positions (motor steps), gives the move command and refreshes the
  // tuner picture.
  virtual void MoveStubs(const std::array<int, 3>& steps) = 0;
  // One slice of a wait (at most 50 ms) during which events are handled.
  virtual void Sleep(int ms) = 0;
  // Handles pending events (once per row).
  virtual void ProcessEvents() {}
  virtual QDateTime Now() const { return QDateTime::currentDateTime(); }
  virtual void SetStatus(const QString& text) { (void)text; }
  // Editing of the pages on (true) or off during a play; the tuner picture's controls follow.
  virtual void EnableEditing(bool on) { (void)on; }
  // The played row changed (the grid shows it).
  virtual void RowChanged() {}
  // The play button is released.
  virtual void Released() {}
  // "Cyclic repetition" is switched off by a measured play.
  virtual void CyclicOff() {}

  // ---- measured play ----
  // The frame window's run state and its Run/Pause command.
  virtual bool IsSweeping() const { return false; }
  virtual void RunPause() {}
  // The command that stops the unit; false when it failed.
  virtual bool StopUnit() { return true; }
  // Switches autotune off; the command's result code.
  virtual int32_t AutotuneOff() { return 0; }
  virtual void ShowCmdResult(const QString& name, int32_t code) {
    (void)name;
    (void)code;
  }
  virtual void ReleaseAtButton() {}
  // All stubs home, as the tuner picture's home button.
  virtual void AllHome() {}
  // The visible results windows show a result.
  virtual void ShowResult(const THresults& res) { (void)res; }
  // "Redraw All" of the display windows.
  virtual void RedrawAll() {}
  // The current sweep's normal point count.
  virtual int32_t NormalSweepCapacity() const { return 101; }
  // The per-user folder (with a trailing '/').
  virtual QString UserFolder() const { return QString(); }
};

// The measured play's statistics of one row.
enum TVelicinaD { vdF, vdPi, vdPr, vdPa, vdT, vdE, vdCount };
enum TVelicinaC { vcRi, vcRl, vcCount };
struct TSceStats {
  std::array<double, vdCount> MeanF{};
  std::array<double, vdCount> DeviF{};
  std::array<complex, vcCount> MeanC{};  // magnitude (re) and phase in degrees (im)
  std::array<double, vcCount> RDeviC{};
  THresults Statis;
};
// Means and sample deviations of the results measured at one row (at least one).
TSceStats ComputeStats(const std::vector<THresults>& results);
// The statistics columns of a row line.
QString StatsColumns(const TSceStats& s, QChar sep);

// The header lines of the output files (the first "WinTime" of the results header is left out,
// so every column has exactly one name).
QString Out1Header();
QString Out2Header(bool withWanted);

inline constexpr char kSceEmptyText[] =
    "More than one point should be in the scenario.\r\nProcedure aborted.";
inline constexpr char kSceSelectStartText[] = "Select starting row!";
inline constexpr char kSceNoTransformText[] =
    "Transform of input reflection coefficient is not active. Continue";
inline constexpr char kSceMeasErrorText[] = "Measurement error!\r\nRetry or abort.";

class TScePlay {
 public:
  TScePlay(TScePlayPorts& ports, TAsker& asker);

  // The command layer (with its analyzer state) and the tuner description of measured plays,
  // and where their files go (the real files when not set).
  void SetMeasurement(TQzCmd* cmd, const TTunerDescr* tu);
  void SetSink(TSceOutSink* sink) { sink_ = sink; }
  void SetProgramInfo(const TProgramInfo& info) { prog_ = info; }

  // Plays the page plainly from its selected row; cyclic starts again at row 1 until released.
  void PlayPlain(TScePage& page, bool cyclic);
  // A measured play of the page; stp gives the measurements per row and keeps the output file
  // and comment; sep is the decimal separator of the files. True when the run started.
  bool PlayMeasured(TScePage& page, TSceStp& stp, QChar sep);

  // The play button was released (or the window closed, or the program is leaving): the play
  // ends within one wait slice.
  void Release() { released_ = true; }
  // A play (of either kind) is in progress, also while a measured play prepares the unit.
  bool Playing() const { return playing_; }
  bool MeasuredPlaying() const { return playing_ && measured_; }
  // The page being played (nullptr when none).
  const TScePage* PlayedPage() const { return playing_ ? page_ : nullptr; }

  // A wait of ms milliseconds in slices; false when the play was released meanwhile.
  bool Wait(int64_t ms);
  // The stubs to the row's positions.
  void GoToRow(const TScePage& page, int32_t row);

  // PrepareUnit: 0 or the error number 1..3 (the message is shown by the caller).
  int PrepareUnit();
  static QString PrepareErrorText(int code);

 private:
  struct TOut {
    QString path;
    bool used = false;
    bool failed = false;
  };
  // Appends to an output file; a first failure ends the run with one message.
  void Put(TOut& out, const QString& text);
  // One measurement through the command layer; true when its result is valid.
  bool MeasureOne(THresults& res);
  void Finish(bool plain);
  // The steps of a measured play. PrepareOutputFiles asks for the file and creates both files
  // (false: the run ends, the message shown); WriteOutputHeaders asks for the comment and
  // writes both headers; PlayRow plays one row with its measurements (false when the run is
  // released or aborted meanwhile); WriteTail completes both files, also after an abort.
  bool PrepareOutputFiles(TSceStp& stp, int mpp);
  void WriteOutputHeaders(TScePage& page, TSceStp& stp);
  bool PlayRow(TScePage& page, int mpp, QChar sep, int32_t& counter,
               std::vector<THresults>& rowResults);
  void WriteTail(const QDateTime& start, bool rowsRemain);

  TScePlayPorts& ports_;
  TAsker& asker_;
  TQzCmd* cmd_ = nullptr;
  TQvWin* qv_ = nullptr;
  const TTunerDescr* tu_ = nullptr;
  TSceOutSink* sink_ = nullptr;
  TSceFileSink fileSink_;
  TProgramInfo prog_;
  bool released_ = false;
  bool playing_ = false;
  bool measured_ = false;
  bool aborted_ = false;
  bool writeErrorShown_ = false;
  bool wanted_ = false;  // the page has wanted values (the second file's extra columns)
  TScePage* page_ = nullptr;
  TOut out1_, out2_;
};

}  // namespace qz
