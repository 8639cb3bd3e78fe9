#pragma once
// The program's services wired once, without any window: the core (analyzer state, simulated
// unit, command layer, cycle), the live data item and its bus, data logging with its engine
// logger, the tool-window registry and the setup files. The cycle's ports for the live data
// item and the logger are plugged in here; the headless runner and the frame window only add
// their shells (the cycle's host and status, the windows as registry entries and ports).

#include <QString>
#include <functional>

#include "app/cyclelogger.h"
#include "app/ddebus.h"
#include "app/ddeitem.h"
#include "app/programevents.h"
#include "app/saveastxt.h"
#include "app/setupfiles.h"
#include "app/simcore.h"
#include "app/toolwindows.h"
#include "results/logengine.h"
#include "results/logtext.h"

namespace qz {

class TProgram {
 public:
  // headless: the automatic setup is read but never written, and the parts without a window
  // (model, data logging) read their sections of a loaded setup themselves.
  explicit TProgram(bool headless);
  ~TProgram();
  TProgram(const TProgram&) = delete;
  TProgram& operator=(const TProgram&) = delete;

  TSimCore Core;
  TDdeItem Dde;
  TDdeBus Bus;
  TLogSystem Log;
  TQvLogText LogText;
  TEngineLogger Logger;
  TToolWindows Windows;
  TSetupFiles Setup;
  // What the windows follow (the frame window and its tool windows tell and subscribe).
  TProgramEvents Events;
  // What Save Results keeps without a window: the decimal separator of the frame window's
  // section ("SeparForTxtSave" of the automatic setup, then of a loaded setup, read as the
  // frame window reads it) and the last results file.
  TSaveAsTxtState SaveTxt;

  // Starts the unit and then creates the windows that need its settings.
  bool Start(QString& messages, int screenWidth = 1920, int screenHeight = 1080);

  // Loads a user setup (Load Setup and the command line): the file must be a regular file that
  // holds at least one section of this program; the sections it lacks leave their owners as
  // they are. False with the message otherwise (nothing is changed then).
  bool LoadSetupFile(const QString& path, QString& comment, QString& error);

  // The end of the program: the log gets its end record, the windows are destroyed in their
  // order and the bus name is given back. Once only.
  void ShutDown();
  bool IsShutDown() const { return shutDown_; }
  // The log's end record alone (written before the setup at exit).
  void EndLog();

 private:
  bool shutDown_ = false;
  bool logEnded_ = false;
};

}  // namespace qz
