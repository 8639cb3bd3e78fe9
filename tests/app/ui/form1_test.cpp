#include "app/ui/form1.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QTimer>
#include <QToolBar>

#include "app/simcore.h"
#include "common/form1rig.h"
#include "util/asker.h"
#include "version.h"

namespace qz {
namespace {

// Each test makes its frame window itself: the first two look at it before its unit starts.
class Form1 : public testing::StartedForm1Test {
 protected:
  Form1() { startInSetUp = false; }
};

TEST_F(Form1, OpensWithMdiAreaAndCaption) {
  Restart(false);
  TForm1& form = *this->form;
  ASSERT_NE(form.Mdi(), nullptr);
  EXPECT_EQ(form.centralWidget(), form.Mdi());
  EXPECT_EQ(form.windowTitle(), QString("QzmSoft - Simulation V ") + QZ_VERSION);
}

TEST_F(Form1, QuzarMenuCommandsAndHints) {
  Restart(false);
  TForm1& form = *this->form;
  EXPECT_EQ(form.RunAction()->text(), QStringLiteral("&Run/Pause"));
  EXPECT_EQ(form.RunAction()->shortcut(), QKeySequence(Qt::Key_F9));
  EXPECT_EQ(form.StopAction()->text(), QStringLiteral("St&op Quzar"));
  EXPECT_EQ(form.FinishAction()->text(), QStringLiteral("Fi&nish Sweep"));
  EXPECT_TRUE(form.FinishAction()->isCheckable());
  EXPECT_EQ(form.SaveResultsAction()->text(), QStringLiteral("Save &Results"));
  EXPECT_EQ(form.SaveResultsAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
  EXPECT_EQ(form.PlaneExtAction()->text(), QStringLiteral("Plane &Ext"));
  // The tool button's hint "Start Quzar|": tooltip before the bar, and without a long hint the
  // hint panel shows the short one.
  const QList<QAction*> buttons = form.MainToolBar()->actions();
  ASSERT_GE(buttons.size(), 2);
  EXPECT_EQ(buttons[0]->toolTip(), QStringLiteral("Start Quzar"));
  EXPECT_EQ(buttons[0]->statusTip(), QStringLiteral("Start Quzar"));
  EXPECT_EQ(buttons[1]->toolTip(), QStringLiteral("Stop Quzar to standstill"));
  // Transform menu without a table: "Load", "Active (NO)" disabled, the direction pair with
  // "Apply two-port" chosen, "Clear" disabled.
  const QList<QAction*> tr = form.TransformMenu()->actions();
  ASSERT_EQ(tr.size(), 5);
  EXPECT_EQ(tr[0]->text(), QStringLiteral("Load"));
  EXPECT_EQ(tr[1]->text(), QStringLiteral("Active (NO)"));
  EXPECT_FALSE(tr[1]->isEnabled());
  EXPECT_EQ(tr[2]->text(), QStringLiteral("Apply two-port"));
  EXPECT_TRUE(tr[2]->isChecked());
  EXPECT_EQ(tr[3]->text(), QStringLiteral("Remove fixture"));
  EXPECT_FALSE(tr[3]->isChecked());
  EXPECT_EQ(tr[4]->text(), QStringLiteral("Clear"));
  EXPECT_FALSE(tr[4]->isEnabled());
  // "Export Results (CSV)..." right below Save Results.
  const QMenu* quzarMenu = qobject_cast<QMenu*>(form.TransformMenu()->parent());
  ASSERT_NE(quzarMenu, nullptr);
  const QList<QAction*> quzar = quzarMenu->actions();
  const qsizetype at = quzar.indexOf(form.SaveResultsAction());
  ASSERT_GE(at, 0);
  ASSERT_LT(at + 1, quzar.size());
  EXPECT_EQ(quzar[at + 1]->text(), QStringLiteral("Export Results (CSV)..."));
}

TEST_F(Form1, ARunFillsTheSweepAndDisablesOnlyTheOtherControls) {
  Restart();
  ASSERT_FALSE(HasFatalFailure());
  TForm1& form = *this->form;

  bool sawRun = false;
  QTimer probe;
  probe.setInterval(20);
  QObject::connect(&probe, &QTimer::timeout, [&] {
    if (!form.IsSweeping()) return;
    sawRun = true;
    EXPECT_EQ(form.TimeoutPanel()->text(), QStringLiteral("Tmout = 1074 ms"));
    EXPECT_TRUE(form.RunAction()->isEnabled());
    EXPECT_TRUE(form.StopAction()->isEnabled());
    EXPECT_TRUE(form.FinishAction()->isEnabled());
    EXPECT_FALSE(form.SaveResultsAction()->isEnabled());
    EXPECT_FALSE(form.PlaneExtButton()->isEnabled());
    EXPECT_FALSE(form.SignalToolBar()->isEnabled());
    EXPECT_EQ(form.RunAction()->statusTip(),
              QStringLiteral("Pause monitoring (Quzar remains running)"));
    const QString shot = qEnvironmentVariable("QZ_SCREENSHOT");
    if (!shot.isEmpty()) form.grab().save(shot);
    probe.stop();
    form.miSweepClick();  // re-entered: asks the run to end
  });
  probe.start();
  form.miSweepClick();
  EXPECT_TRUE(sawRun);
  EXPECT_FALSE(form.IsSweeping());
  EXPECT_EQ(form.Core().Qv.LastSwp.Count(), std::min<int64_t>(form.Core().Cycle.Passes(), 101));
  EXPECT_GT(form.Core().Cycle.Passes(), 0);
  EXPECT_TRUE(form.SaveResultsAction()->isEnabled());
  EXPECT_TRUE(form.SignalToolBar()->isEnabled());
  EXPECT_EQ(form.TimeoutPanel()->text(), QString());
  EXPECT_EQ(form.RunAction()->statusTip(), QStringLiteral("Start Quzar"));
}

TEST_F(Form1, ClosingDuringARunWithFinishSweepEndsTheRunThenCloses) {
  Restart();
  ASSERT_FALSE(HasFatalFailure());
  TForm1& form = *this->form;
  form.miFinishSwpClick();
  EXPECT_TRUE(form.FinishAction()->isChecked());
  // Abort at the exit question: close without saving.
  asker.QueueButton(mbAbort);
  QTimer::singleShot(30, &form, [&] { form.close(); });
  form.miSweepClick();
  EXPECT_FALSE(form.IsSweeping());
  EXPECT_TRUE(form.Core().Cycle.CloseRequested());
  // The close itself comes once the loop is off the stack.
  EXPECT_TRUE(form.isVisible());
  QCoreApplication::processEvents();
  EXPECT_FALSE(form.isVisible());
  // The question was asked once, during the run; the close after the run asks nothing more.
  EXPECT_EQ(asker.Records(TAskRecord::Message).size(), 1u);
}

}  // namespace
}  // namespace qz
