// The remote control in the window program: a run started by a call disables what the Run
// button's run disables, the model window shows the values set, an open dialog or exit question
// answers "busy", and Quit ends the program as the exit does, without its question.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QToolBar>
#include <functional>

#include "app/control.h"
#include "app/program.h"
#include "app/ui/form1.h"
#include "common/form1rig.h"
#include "common/privatebus.h"
#include "setupdlg/ui/powcal.h"
#include "sim/ui/qzmdl.h"
#include "util/asker.h"
#include "util/inifile.h"

namespace qz {
namespace {

using testing::WaitFor;

// A scripted asker that lets the test act while a question is open.
class THookAsker : public TScriptedAsker {
 public:
  std::function<void()> during;
  TMsgButton MessageBox(const QString& text, TMsgType type, TMsgButtons buttons,
                        const QString& caption) override {
    if (during) std::exchange(during, nullptr)();
    return TScriptedAsker::MessageBox(text, type, buttons, caption);
  }
};

class Form1Control : public qz::testing::StartedForm1Test {
 protected:
  void SetUp() override {
    hook.quiet = true;
    StartedForm1Test::SetUp();
    if (HasFatalFailure()) return;
    form->Control().OnRunEnded = [this](const QString& r) { ends << r; };
  }
  TControl& C() { return form->Control(); }

  // Enabled state of every menu bar item, Quzar menu item and tool button.
  QMap<QString, bool> Enabled() const {
    QMap<QString, bool> m;
    auto add = [&m](const QString& where, const QList<QAction*>& actions) {
      int i = 0;
      for (QAction* a : actions)
        m.insert(where + QString::number(i++) + ":" + a->text(), a->isEnabled());
    };
    add("bar", form->menuBar()->actions());
    add("quzar", form->QuzarMenu()->actions());
    add("main", form->MainToolBar()->actions());
    add("signal", form->SignalToolBar()->actions());
    return m;
  }
  // Runs `during` once a run is in progress (events are handled meanwhile), then pauses the run
  // and waits for its end.
  void DuringRun(const std::function<void()>& start, const std::function<void()>& during) {
    bool done = false;
    std::function<void()> probe;
    probe = [&] {
      if (!form->IsSweeping()) {
        QTimer::singleShot(1, form.get(), probe);
        return;
      }
      during();
      form->miSweepClick();
      done = true;
    };
    QTimer::singleShot(0, form.get(), probe);
    start();
    ASSERT_TRUE(WaitFor([&] { return done && !form->IsSweeping(); }));
  }

  THookAsker hook;
  TScopedAsker hookScope{&hook};
  QStringList ends;
};

TEST_F(Form1Control, RunDisablesWhatTheRunButtonDisables) {
  const QMap<QString, bool> idle = Enabled();
  QMap<QString, bool> byButton, byCall;
  DuringRun([&] { form->RunAction()->trigger(); }, [&] { byButton = Enabled(); });
  EXPECT_EQ(Enabled(), idle);
  DuringRun([&] { EXPECT_TRUE(C().Run().ok()); }, [&] { byCall = Enabled(); });
  EXPECT_EQ(Enabled(), idle);
  EXPECT_EQ(byCall, byButton);
  EXPECT_NE(byCall, idle);
  EXPECT_FALSE(byCall.value("quzar4:Save &Results", true));
  EXPECT_TRUE(byCall.value("quzar0:&Run/Pause", false));
  EXPECT_EQ(ends, (QStringList{"paused", "paused"}));
}

TEST_F(Form1Control, CallsDuringARunFollowTheRunsRules) {
  QStringList errors;
  DuringRun([&] { ASSERT_TRUE(C().Run().ok()); },
            [&] {
              errors << C().SaveResults(dir.filePath("r.txt"), "").error
                     << C().LoadSetup(Auto()).error << C().AutoTune().result.error
                     << C().Run().error << C().SetModelLoad(0.3, 30.0).error
                     << C().Finish(true).error;
            });
  EXPECT_EQ(errors,
            (QStringList{"busy: running", "busy: running", "busy: running", "running", "", ""}));
  EXPECT_TRUE(form->FinishAction()->isChecked());
}

TEST_F(Form1Control, TheModelWindowShowsTheValuesSet) {
  TQzMdl* w = form->ToolWindows().Window<TQzMdl>("Model");
  ASSERT_NE(w, nullptr);
  ASSERT_TRUE(C().SetModelLoad(0.5, 90.0).ok());
  ASSERT_TRUE(C().SetModelValue("Temp", "31.5").ok());
  w->ToEntries();  // what the window's controls hold
  const TMdlEntries& e = w->Presenter().Ent;
  EXPECT_EQ(e.DutType, kDutDefined);
  EXPECT_EQ(e.Mag, "0.5");
  EXPECT_EQ(e.Pha, "90");
  EXPECT_EQ(e.Temp, "31.5");
  EXPECT_DOUBLE_EQ(w->Model().Mg11, 0.5);
  EXPECT_DOUBLE_EQ(w->Model().Temp, 31.5);
}

TEST_F(Form1Control, AnOpenDialogOrTheExitQuestionAnswersBusy) {
  // A modal dialog of the window program.
  QString inDialog;
  QTimer::singleShot(0, form.get(), [&] {
    inDialog = C().SetModelLoad(0.5, 0.0).error;
    if (QWidget* d = QApplication::activeModalWidget()) static_cast<QDialog*>(d)->reject();
  });
  form->OpenPowCal();
  EXPECT_EQ(inDialog, "busy: a dialog is open");

  // The exit question: every call is refused; No keeps the program running.
  QStringList inQuestion;
  hook.during = [&] { inQuestion << C().Quit(false).error << C().Run().error << C().Stop().error; };
  hook.QueueButton(mbNo);
  form->ExitClick();
  EXPECT_EQ(inQuestion, QStringList(3, "busy: a dialog is open"));
  EXPECT_TRUE(form->isVisible());
  EXPECT_TRUE(C().SetModelLoad(0.5, 0.0).ok());
}

TEST_F(Form1Control, QuitEndsTheProgramWithoutItsQuestion) {
  for (bool save : {true, false}) {
    SCOPED_TRACE(save);
    if (!form) SetUp();
    ASSERT_TRUE(C().SetModelLoad(0.25, 45.0).ok());
    bool exited = false;
    form->OnExit = [&] { exited = true; };
    // A run is in progress when Quit comes: it ends first ("closing").
    QTimer::singleShot(0, form.get(), [&] { ASSERT_TRUE(C().Run().ok()); });
    std::function<void()> quitWhenRunning;
    quitWhenRunning = [&] {
      if (!form->IsSweeping()) {
        QTimer::singleShot(1, form.get(), quitWhenRunning);
        return;
      }
      EXPECT_TRUE(C().Quit(save).ok());
    };
    QTimer::singleShot(0, form.get(), quitWhenRunning);
    QTimer guard;
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    guard.start(testing::kBusWaitMs);
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_TRUE(exited);
    EXPECT_EQ(ends, QStringList{"closing"});
    EXPECT_TRUE(hook.Records(TAskRecord::Message).empty());  // nothing was asked
    const IniFile autoIni(Auto());
    if (save) {
      EXPECT_EQ(autoIni.ReadString("Model", "RhoMag", ""), "0.25");
      EXPECT_TRUE(form->LastBackupPath().isEmpty());
    } else {
      EXPECT_FALSE(form->LastBackupPath().isEmpty());
      EXPECT_EQ(IniFile(form->LastBackupPath()).ReadString("Model", "RhoMag", ""), "0.25");
    }
    ends.clear();
    TearDown();
  }
}

}  // namespace
}  // namespace qz
