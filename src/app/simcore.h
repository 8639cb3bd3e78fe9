#pragma once
// The program's core without any window: the analyzer state, the simulated unit (model and
// tuner), the command layer, the serial port object, the automatic setup file and the
// measurement cycle, created and started in the order the program needs them. The frame window
// owns one; a headless run uses one on its own.

#include <QString>
#include <QStringList>
#include <memory>

#include "app/cmdcycleunit.h"
#include "app/cycle.h"
#include "app/modelsource.h"
#include "app/paramcmds.h"
#include "app/simtunerhost.h"
#include "comm/qzcmd.h"
#include "comm/qzcmdsync.h"
#include "comm/t232.h"
#include "core/qvwin.h"
#include "core/records.h"
#include "sim/autotune.h"
#include "sim/mdlengine.h"
#include "sim/mdlpresenter.h"
#include "sim/modeltuner.h"
#include "sim/tunermodel.h"
#include "sim/tunetimefollower.h"
#include "util/inifile.h"

namespace qz {

// Name of the automatic setup in the per-user folder and of the frame window's section.
inline constexpr const char* kAutoSetupName = "QzSim0.ini";
inline constexpr const char* kFormSection = "QuzarForm";
// Messages of the start-up.
extern const char* const kMsgFatalInit;      // "Fatal error in Quzar initialization process."
extern const char* const kMsgMemReadFail;    // "Quzar Memory Read fail."
extern const char* const kMsgTunerMemFail;   // "TUNER Memory Read fail."
extern const char* const kMsgWillTerminate;  // "QzmSoft will now terminate."

// The start-up lines of a file that is there but not read; `cause` says why ("not a regular
// file", "too large: a setup file may have at most 16 MiB", "Permission denied").
QString AutoSetupNotReadText(const QString& path, const QString& cause);
QString ConfigNotReadText(const QString& path, const QString& cause);

class TSimCore {
 public:
  // headless: the automatic setup is read but never written.
  explicit TSimCore(bool headless);
  TSimCore(const TSimCore&) = delete;
  TSimCore& operator=(const TSimCore&) = delete;

  // The single program-wide records.
  TMotState Mot;
  // Until a setup holds a description (a profile without the shipped setup), the built-in one.
  TTunerDescr Descr = DefaultTunerDescr();
  TSimState Sim;

  TQvWin Qv;
  TTunerModel TunerModel;
  TAutoTune AutoTune;
  // The frame time-out waits for the last tune.
  TTuneTimeFollower TuneTimeFollower{Qv};
  TTunerModelAdapter TunerAdapter;
  TMdlEngine Model;
  // The model window's entries and their operations, with or without the window.
  TMdlPresenter MdlPresenter{Model};
  // The unit description, cut-off and substitute frequency follow the tuner description.
  TSimTunerHost TunerHost{Qv, MdlPresenter};
  TModelFrameSource Source;
  TQzCmd Cmd;
  TQzCmdSync Sync;
  T232 Port;
  TCmdCycleUnit Unit;
  TCycle Cycle;
  // The parameter commands; the frame window gives them its port.
  TParamCmds Params{Qv, Cmd, Cycle.n_pretrg};

  bool Headless() const { return headless_; }
  // The automatic setup file (open for the whole run once Start has run).
  IniFile& AutoIni() { return *autoIni_; }

  // Starts the simulated unit: the automatic setup opened, the model created from it, the
  // connection opened, the unit initialised and its memories read, the analyzer section read
  // (which sends every setting) and the remembered run and send states restored. False when
  // the program has to end; `messages` then holds the reasons (one per line).
  bool Start(QString& messages, int screenWidth = 1920, int screenHeight = 1080);
  bool Started() const { return started_; }

  // Opens the automatic setup of the per-user folder (once; Start does it when nobody did).
  // A file that is there but cannot be read (no regular file, too large, unreadable) leaves the
  // defaults in force and a start-up line; it is then never written over: the setup held in
  // memory has no file, and the exit writes a backup instead.
  void OpenAutoSetup();
  bool AutoSetupRefused() const { return autoRefused_; }
  // One line for each start-up file that is there but was not read, in the order they were
  // met: the automatic setup, then "RS232.CFG" and "RS232.STP". A missing file is no line.
  // A headless run prints them; the window shows them together once it is up.
  const QStringList& StartupLines() const { return startupLines_; }
  // The model window has run the model's creation sequence with the automatic setup, so the
  // start of the unit does not run it a second time.
  bool ModelInitialised = false;
  // The comment of the analyzer section read at start-up.
  QString StartComment;

 private:
  bool headless_;
  bool started_ = false;
  bool autoOpened_ = false;
  bool autoRefused_ = false;
  QStringList startupLines_;
  int screenW_ = 1920, screenH_ = 1080;
  std::unique_ptr<IniFile> autoIni_;
};

}  // namespace qz
