#include "app/ui/form1control.h"

#include <QApplication>

#include "app/program.h"
#include "app/ui/form1.h"
#include "sim/ui/qzmdl.h"
#include "tuner/ui/scenario.h"
#include "tuner/ui/tpic.h"

namespace qz {

TForm1Port::TForm1Port(TForm1& form) : TProgramPort(form.Program()), form_(form) {
  SaveState = &form.SaveState();
}

bool TForm1Port::DialogOpen() const {
  return QApplication::activeModalWidget() != nullptr || form_.AskingExit();
}

bool TForm1Port::ScenarioPlaying() const {
  const TScenario* sce = form_.ScenarioWindow();
  return sce && sce->MeasuredPlaying();
}

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
  if (TQzMdl* w = form_.ModelWindow()) w->ToEntries();
  return TProgramPort::ModelEntries();
}

void TForm1Port::EditModel(const std::function<void(TMdlEngine&)>& edit) {
  TQzMdl* w = form_.ModelWindow();
  if (!w) {
    TProgramPort::EditModel(edit);
    return;
  }
  // The values go into the window's entries, then its "&Apply" reads them.
  w->ToEntries();
  edit(w->Model());
  w->FromEntries();
  w->DoApply();
}

int32_t TForm1Port::MoveStubs(const std::array<int, 3>& steps) {
  const int32_t r = TProgramPort::MoveStubs(steps);
  if (TTpic* t = form_.TunerPicture()) t->ShowMotPositAll(true);
  return r;
}

void TForm1Port::Quit(bool saveSetup) { form_.CloseWithAnswer(saveSetup); }

}  // namespace qz
