#include "app/ui/form1control.h"

#include <QApplication>

#include "app/program.h"
#include "app/saveastxt.h"
#include "app/setupfiles.h"
#include "app/toolwindows.h"
#include "app/ui/framecommands.h"
#include "sim/mdlentries.h"
#include "sim/ui/qzmdl.h"

namespace qz {

TForm1Port::TForm1Port(TFrameCommands& form) : TProgramPort(form.Program()), form_(form) {
  SaveState = &form.SaveState();
}

TQzMdl* TForm1Port::ModelWindow() const {
  return form_.ToolWindows().Window<TQzMdl>(QString::fromLatin1(kMdlSection));
}

bool TForm1Port::DialogOpen() const {
  return QApplication::activeModalWidget() != nullptr || form_.AskingExit();
}

bool TForm1Port::ScenarioPlaying() const { return form_.ToolWindows().HoldsUnit(); }

void TForm1Port::RunPause() { form_.miSweepClick(); }

void TForm1Port::StopUnit() { form_.QvStop1Click(); }

void TForm1Port::ToggleFinishSweep() { form_.miFinishSwpClick(); }

bool TForm1Port::LoadSetup(const QString& path, QString& comment, QString& error) {
  if (!form_.LoadSetupFile(path, comment, error)) return false;
  form_.FrameSetup().UserStpPath = path;
  return true;
}

bool TForm1Port::SaveSetup(const QString& path, const QString& comment, QString& error) {
  form_.FrameSetup().UserStpPath = path;
  return form_.Setup().SaveSetupAs(path, comment, error);
}

TMdlEntries TForm1Port::ModelEntries() {
  // The entries as the window shows them, typed text included.
  if (TQzMdl* w = ModelWindow()) w->ToEntries();
  return TProgramPort::ModelEntries();
}

void TForm1Port::EditModel(const std::function<void(TMdlPresenter&)>& edit) {
  TQzMdl* w = ModelWindow();
  if (!w) {
    TProgramPort::EditModel(edit);
    return;
  }
  // The values go into the window's entries, then its "&Apply" reads them.
  w->EditAndApply(edit);
}

int32_t TForm1Port::MoveStubs(const std::array<int, 3>& steps) {
  const int32_t r = TProgramPort::MoveStubs(steps);
  emit form_.Program().Events.StubsMoved();
  return r;
}

void TForm1Port::Quit(bool saveSetup) { form_.CloseWithAnswer(saveSetup); }

}  // namespace qz
