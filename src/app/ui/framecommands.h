#pragma once
// What the frame window's command helpers (the window and picture commands, the remote
// control's port) reach of it: the window itself and its display area, the records it keeps,
// and its own commands as the operator gives them. The frame window implements it, so the
// helpers never see the frame window's class.

#include <QString>

class QMainWindow;
class QMdiArea;

namespace qz {

class TDisplayWindows;
class TProgram;
class TSetupFiles;
class TSimCore;
class TToolWindows;
struct TFrameSetup;
struct TSaveAsTxtState;

class TFrameCommands {
 public:
  virtual ~TFrameCommands() = default;

  // ---- what the frame window holds ----
  virtual QMainWindow& FrameWindow() = 0;
  virtual QMdiArea* Mdi() const = 0;
  virtual TProgram& Program() = 0;
  virtual TSimCore& Core() = 0;
  virtual TToolWindows& ToolWindows() = 0;
  virtual TDisplayWindows& Displays() = 0;
  virtual TSetupFiles& Setup() = 0;
  virtual TFrameSetup& FrameSetup() = 0;
  virtual TSaveAsTxtState& SaveState() = 0;

  // ---- its commands ----
  // Run/Pause, Stop Quzar and Finish Sweep as their buttons give them.
  virtual void miSweepClick() = 0;
  virtual void QvStop1Click() = 0;
  virtual void miFinishSwpClick() = 0;
  // A user setup loaded as Load Setup loads it (without the file dialog); false with a message
  // when the file cannot be read.
  virtual bool LoadSetupFile(const QString& path, QString& comment, QString& error) = 0;
  // The exit question is open.
  virtual bool AskingExit() const = 0;
  // The exit with its answer given: with saveSetup the automatic setup is written, else a
  // backup.
  virtual void CloseWithAnswer(bool saveSetup) = 0;
};

}  // namespace qz
