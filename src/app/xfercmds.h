#pragma once
// The Tools menu's commands with the unit, without their windows: sending files, receiving a
// file, the reinstallation file list and the server commands (switch, restart, halt). They talk
// to the unit through the command layer, to the operator through the asker, and to the frame
// window through a small port (status bar, ending the program).
//
// A transfer stops the unit first and gives it its run state back on every way out once the
// stop has succeeded. A receive touches the local file only after the unit has delivered it.

#include <QString>
#include <cstdint>
#include <vector>

#include "app/xferplan.h"
#include "comm/qzcmd.h"
#include "util/asker.h"

namespace qz {

// The help topic of the commands that move files to and from the unit and update its server.
inline constexpr int kXferHelpTopic = 91;

// What the commands need of the frame window.
class TXferPort {
 public:
  virtual ~TXferPort() = default;
  // The status bar's message panel ("WAIT" while files go to the unit).
  virtual void SetMessage(const QString& text) = 0;
  // The status bar's hint panel (the file being sent).
  virtual void SetStatusText(const QString& text) = 0;
  // Empties the status bar's texts.
  virtual void ClearStatus() = 0;
  // The program must end for a restart: MustTerminate is set and the frame window closes
  // through its exit question.
  virtual void Terminate() = 0;
};

// The busy windows' animations: several files, one file.
inline constexpr int kBusyAnimFiles = 4;
inline constexpr int kBusyAnimFile = 5;

class TXferCmds {
 public:
  // asker nullptr: the program's installed asker at the time of each command. The port may be
  // given later; without one the status bar and the end of the program are left out.
  explicit TXferCmds(TQzCmd& cmd, TAsker* asker = nullptr, TXferPort* port = nullptr)
      : cmd_(cmd), asker_(asker), port_(port) {}

  void SetPort(TXferPort* port) { port_ = port; }

  // Tools > "Send to Quzar": the files chosen go to the unit, one report line each. False when
  // nothing was sent (cancelled, the stop failed, a start-up file declined).
  bool SendToQuzar();
  // Tools > "Load from Quzar": one file from the unit. True when it was received and written.
  bool LoadFromQuzar();
  // Tools > "Reset" > "Make FileList": writes the list into the folder "Reinstall" of the
  // per-user folder (or where the operator chooses). True when written.
  bool MakeFileList();
  // Tools > "Switch Server" > mode (ServerMode index): after OK the server command, and the
  // program ends. True when the command went to the unit.
  bool SwitchServer(int modeIndex);
  // Tools > "Reset" > "Restart Server" and Quzar > More > "Restart Server".
  bool RestartServer();
  // Quzar > More > "Halt Server".
  bool HaltServer();
  // "Update Server" and the factory reset commands: nothing a simulation can do.
  void NotApplicable();

  // What the last send did, file by file (for the report and the tests).
  const std::vector<TSendItem>& LastSend() const { return lastSend_; }

 private:
  TAsker& Ask() const { return asker_ ? *asker_ : Asker(); }
  // The unit's run state as it was before the transfer's stop.
  void RestoreRunState();
  // The server command with its code; a refusal is shown and gives false.
  bool ServerCommand(const QString& name, uint8_t code);
  void SetMessage(const QString& t) const {
    if (port_) port_->SetMessage(t);
  }
  void SetStatusText(const QString& t) const {
    if (port_) port_->SetStatusText(t);
  }
  // Writes what the unit delivered (in tempPath) to localPath, the old file kept as ".bak";
  // false with the reason when the file could not be written (the old one then stays).
  bool PlaceReceived(const QString& tempPath, const QString& localPath, QString& reason);

  TQzCmd& cmd_;
  TAsker* asker_;
  TXferPort* port_;
  std::vector<TSendItem> lastSend_;
};

}  // namespace qz
