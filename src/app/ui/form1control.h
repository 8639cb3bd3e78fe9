#pragma once
// The remote control's port in the window program: the calls reach the frame window's own
// commands (Run/Pause, Stop Quzar, Finish Sweep, the setup files, Save Results, the exit) and
// the model window, so a call changes what the operator sees as the command would; while a
// modal dialog or the exit question is open every call is refused.

#include "app/controlport.h"

namespace qz {

class TFrameCommands;
class TQzMdl;

class TForm1Port : public TProgramPort {
 public:
  explicit TForm1Port(TFrameCommands& form);

  bool DialogOpen() const override;
  bool ScenarioPlaying() const override;
  void RunPause() override;
  void StopUnit() override;
  void ToggleFinishSweep() override;
  bool LoadSetup(const QString& path, QString& comment, QString& error) override;
  bool SaveSetup(const QString& path, const QString& comment, QString& error) override;
  TMdlEntries ModelEntries() override;
  void EditModel(const std::function<void(TMdlPresenter&)>& edit) override;
  int32_t MoveStubs(const std::array<int, 3>& steps) override;
  void Quit(bool saveSetup) override;

 private:
  TQzMdl* ModelWindow() const;
  TFrameCommands& form_;
};

}  // namespace qz
