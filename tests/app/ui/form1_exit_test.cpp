// The end of the program and the tool-window registry as the frame window uses them.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include "app/program.h"
#include "app/ui/form1.h"
#include "app/ui/helpviewer.h"
#include "app/ui/menurules.h"
#include "app/ui/singleinstance.h"
#include "app/ui/toolwindowentry.h"
#include "app/ui/windowcmds.h"
#include "common/form1rig.h"
#include "common/testfiles.h"
#include "display/ui/displaywindows.h"
#include "results/ui/logform.h"
#include "results/ui/qzresform.h"
#include "results/ui/qzsmallfrm.h"
#include "sim/ui/qzmdl.h"
#include "tuner/ui/qvtustpfrm.h"
#include "util/asker.h"
#include "util/folders.h"
#include "util/inifile.h"

namespace qz {
namespace {

using testing::WriteAll;

class Form1Exit : public qz::testing::StartedForm1Test {
 protected:
  // The model, logging and both results windows, shown.
  std::vector<QPointer<QWidget>> ShowToolWindows() {
    std::vector<QPointer<QWidget>> w = {form->ToolWindows().Window<TQzMdl>("Model"),
                                        form->ToolWindows().Window<TLogForm>("LogForm"),
                                        form->ToolWindows().Window<TQzResForm>("QzResForm"),
                                        form->ToolWindows().Window<TQzSmallFrm>("QzSmallFrm")};
    for (QWidget* x : w) {
      EXPECT_NE(x, nullptr);
      if (x) x->show();
    }
    return w;
  }
  QAction* FileItem(const char* name) const {
    return form->FileMenu()->findChild<QAction*>(QString::fromLatin1(name));
  }
  QStringList VisibleTopLevels() const {
    QStringList out;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->isVisible()) out << QString::fromLatin1(w->metaObject()->className());
    return out;
  }
  // Runs the application's event loop with `what` as its first event; the loop's exit code, or
  // 99 when it did not return by itself within ten seconds.
  int ExecWith(const std::function<void()>& what) {
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    guard.start(10000);
    QTimer::singleShot(0, form.get(), what);
    return QApplication::exec();
  }
};

TEST_F(Form1Exit, EveryWayOutEndsTheProgramAndGivesTheLockBack) {
  const struct {
    const char* item;
    std::optional<TMsgButton> answer;
  } cases[] = {{"miExit", mbYes}, {"miExitNoSetup", std::nullopt}, {"miExit", mbAbort}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.item);
    if (!form) SetUp();
    TSingleInstance instance(UserFolder());
    ASSERT_EQ(instance.Acquire(), TInstanceLock::Taken);
    bool exited = false;
    form->OnExit = [&] {
      exited = true;
      instance.Release();
    };
    const auto tools = ShowToolWindows();
    form->ShowHelp(3);
    QPointer<QWidget> help = form->ToolWindows().Window<THelpViewer>("HelpViewer");
    ASSERT_TRUE(help);
    if (c.answer) asker.QueueButton(*c.answer);
    EXPECT_EQ(ExecWith([&] { FileItem(c.item)->trigger(); }), 0);
    EXPECT_TRUE(exited);
    for (const QPointer<QWidget>& w : tools) EXPECT_TRUE(w.isNull());
    EXPECT_TRUE(help.isNull());
    EXPECT_TRUE(VisibleTopLevels().isEmpty()) << VisibleTopLevels().join(' ').toStdString();
    EXPECT_FALSE(form->Program().Bus.Registered());
    // The next start is the first one again.
    TSingleInstance next(UserFolder());
    EXPECT_EQ(next.Acquire(), TInstanceLock::Taken);
    next.Release();
    TearDown();
  }
}

TEST_F(Form1Exit, ClosingByTheWindowManagerEndsTheProgramToo) {
  const auto tools = ShowToolWindows();
  asker.QueueButton(mbYes);
  EXPECT_EQ(ExecWith([&] { form->close(); }), 0);
  for (const QPointer<QWidget>& w : tools) EXPECT_TRUE(w.isNull());
  EXPECT_TRUE(VisibleTopLevels().isEmpty());
}

TEST_F(Form1Exit, NoAtTheQuestionKeepsEverythingRunning) {
  const auto tools = ShowToolWindows();
  const bool busBefore = form->Program().Bus.Registered();
  bool exited = false;
  form->OnExit = [&] { exited = true; };
  asker.QueueButton(mbNo);
  FileItem("miExit")->trigger();
  QCoreApplication::processEvents();
  EXPECT_FALSE(exited);
  EXPECT_TRUE(form->isVisible());
  for (const QPointer<QWidget>& w : tools) {
    ASSERT_FALSE(w.isNull());
    EXPECT_TRUE(w->isVisible());
  }
  EXPECT_EQ(form->Program().Bus.Registered(), busBefore);
  EXPECT_FALSE(form->Program().IsShutDown());
}

// A window registered once (the system information window): its View item, its place in the
// setup, its load, its run rule, and an exit that destroys it.
TEST_F(Form1Exit, AWindowRegisteredOnceTakesItsPlaceEverywhere) {
  // It belongs to the windows made once the unit has started.
  EXPECT_EQ(form->ToolWindows().CreatePointOf("TuStpFrm"), TCreatePoint::UnitStart);
  QPointer<TQvTuStpFrm> sys = form->ToolWindows().Window<TQvTuStpFrm>("TuStpFrm");
  ASSERT_TRUE(sys);

  // The View menu, in the menu's order.
  emit form->ViewMenu()->aboutToShow();
  QStringList view;
  QAction* item = nullptr;
  for (QAction* a : form->ViewMenu()->actions()) {
    if (a->isSeparator()) continue;
    view << a->text();
    if (a->text() == "&System Info") item = a;
  }
  EXPECT_EQ(view,
            QStringList({"&Results (Mini)", "Results (Ma&xi)", "&System Info", "&Logging Window",
                         "Singl&e-Shots Commands", "Standard &Toolbar", "Sig&nal Toolbar"}));
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->statusTip(), "Show system info/modify autotune params");
  const bool was = sys->isVisible();
  item->trigger();
  EXPECT_NE(sys->isVisible(), was);
  // The items are made anew each time the menu opens, checked while their window is visible.
  emit form->ViewMenu()->aboutToShow();
  item = nullptr;
  for (QAction* a : form->ViewMenu()->actions())
    if (a->text() == "&System Info") item = a;
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->isChecked(), sys->isVisible());
  if (!sys->isVisible()) item->trigger();
  ASSERT_TRUE(sys->isVisible());

  // Written in its place of the order.
  QString err;
  ASSERT_TRUE(form->Setup().WriteAutoSetup(err)) << err.toStdString();
  IniFile a(InUserFolder("QzSim0.ini"));
  EXPECT_EQ(a.ReadSections(),
            QStringList({"QuzarForm", "QvTuStp1", "QzResForm", "QzSmallFrm", "LogForm", "TuStpFrm",
                         "TrgForm", "MstpForm", "QzSamplForm", "TxTimingForm", "TunPic",
                         "TuScenarioForm", "Model", "RhoChart", "MakeSce"}));
  EXPECT_EQ(a.ReadInteger("TuStpFrm", "Visible", 0), 1);

  // Read from a setup that holds only its section; the other owners stay as they are.
  const QRect geometry = form->geometry();
  const int32_t points = form->Core().Qv.PtsPerSwp;
  const QString path = dir.filePath("only.stp");
  WriteAll(path, "[TuStpFrm]\r\nVisible=0\r\n");
  QString comment;
  ASSERT_TRUE(form->LoadSetupFile(path, comment, err)) << err.toStdString();
  EXPECT_FALSE(sys->isVisible());
  EXPECT_EQ(form->geometry(), geometry);
  EXPECT_EQ(form->Core().Qv.PtsPerSwp, points);
  EXPECT_TRUE(comment.isEmpty());

  // Its pages wait for the end of a run.
  bool sawRun = false;
  QTimer probe;
  probe.setInterval(10);
  QObject::connect(&probe, &QTimer::timeout, [&] {
    if (!form->IsSweeping()) return;
    sawRun = true;
    EXPECT_FALSE(sys->Pages()->isEnabled());
    EXPECT_TRUE(
        form->ToolWindows().Window<TQzMdl>("Model")->isEnabled());  // the model stays usable
    probe.stop();
    form->miSweepClick();
  });
  probe.start();
  form->miSweepClick();
  EXPECT_TRUE(sawRun);
  EXPECT_TRUE(sys->Pages()->isEnabled());

  // Closing it by hand only hides it; the exit destroys it.
  sys->show();
  sys->close();
  ASSERT_TRUE(sys);
  EXPECT_FALSE(sys->isVisible());
  sys->show();
  form->ExitNoSetupClick();
  EXPECT_TRUE(sys.isNull());
}

// An exit with no event loop running (nothing to leave) ends the program as any other, and a
// loop started afterwards runs until it is left.
TEST_F(Form1Exit, AnExitOutsideAnEventLoopLeavesLaterLoopsRunning) {
  bool exited = false;
  form->OnExit = [&] { exited = true; };
  form->ExitNoSetupClick();
  EXPECT_TRUE(exited);
  EXPECT_FALSE(form->isVisible());
  QEventLoop loop;
  bool ran = false;
  QTimer::singleShot(0, &loop, [&] {
    ran = true;
    loop.exit(7);
  });
  EXPECT_EQ(loop.exec(), 7);
  EXPECT_TRUE(ran);
}

TEST_F(Form1Exit, ControlsSayThemselvesWhetherTheyStayEnabledDuringARun) {
  // A button added later without saying so waits for the end of the run like the others.
  QAction* extra = form->MainToolBar()->addAction("Extra");
  bool sawRun = false;
  QTimer probe;
  probe.setInterval(10);
  QObject::connect(&probe, &QTimer::timeout, [&] {
    if (!form->IsSweeping()) return;
    sawRun = true;
    EXPECT_FALSE(extra->isEnabled());
    EXPECT_TRUE(form->MainToolBar()->actions()[0]->isEnabled());
    EXPECT_TRUE(form->MainToolBar()->actions()[1]->isEnabled());
    EXPECT_TRUE(form->QuzarMenu()->menuAction()->isEnabled());
    EXPECT_FALSE(form->FileMenu()->menuAction()->isEnabled());
    // The first three items of the Quzar menu stay, the later ones wait.
    EXPECT_FALSE(form->TransformMenu()->menuAction()->isEnabled());
    probe.stop();
    form->miSweepClick();
  });
  probe.start();
  form->miSweepClick();
  EXPECT_TRUE(sawRun);
  EXPECT_TRUE(extra->isEnabled());
  EXPECT_TRUE(form->FileMenu()->menuAction()->isEnabled());
}

TEST_F(Form1Exit, MenusWithoutItemsStayHiddenUntilTheirFirstItem) {
  QStringList hidden;
  for (QAction* a : form->menuBar()->actions())
    if (!a->isVisible()) hidden << a->text();
  EXPECT_EQ(hidden, QStringList());
  QMenu* tools = form->menuBar()->addMenu("Empty");
  HideWhileEmpty(tools);
  tools->addSeparator();
  EXPECT_FALSE(tools->menuAction()->isVisible());
  QAction* item = tools->addAction("Something");
  EXPECT_TRUE(tools->menuAction()->isVisible());
  delete item;
  EXPECT_FALSE(tools->menuAction()->isVisible());
}

TEST_F(Form1Exit, TheMainToolBarHoldsItsSixteenButtonsInOrderWithIconsAndHints) {
  // The bar's order and hints as the operator's documentation lists them; only run and stop
  // stay usable during a run.
  const struct {
    const char* tip;
    const char* statusTip;
    const char* menuItem;  // the menu item of the same command, showing the same picture
  } want[] = {{"Start Quzar", "", nullptr},
              {"Stop Quzar to standstill", "", nullptr},
              {"Show/hide system info", "", nullptr},
              {"Points per sweep", "", "miPoints"},
              {"Count time", "", "miCountTime"},
              {"Plane extension", "", nullptr},
              {"Open new display window", " ", "miNewDisplay"},
              {"Cascade", "", "miCascade"},
              {"Save results", "", nullptr},
              {"Save picture", "", "miSavePic"},
              {"Load system setup", "", "miLoadSetup"},
              {"Save system setup", "", "miSaveSetup"},
              {"Impress all", "", "miImpressAll"},
              {"Clear all", "", "miBlankAll"},
              {"Redraw all", "", "miRedrawAll"},
              {"Show/Hide Tuner", "", nullptr}};
  const QList<QAction*> buttons = form->MainToolBar()->actions();
  ASSERT_EQ(buttons.size(), int(std::size(want)));
  EXPECT_EQ(form->MainToolBar()->toolButtonStyle(), Qt::ToolButtonIconOnly);
  for (int i = 0; i < buttons.size(); ++i) {
    SCOPED_TRACE(want[i].tip);
    EXPECT_FALSE(buttons[i]->icon().isNull());
    // (The plane extension's hint also tells the extension.)
    EXPECT_TRUE(buttons[i]->toolTip().startsWith(QString::fromLatin1(want[i].tip)))
        << buttons[i]->toolTip().toStdString();
    if (i != 5) {
      // A hint without its long part shows the short one in the hint panel.
      const QString longHint = QString::fromLatin1(want[i].statusTip);
      EXPECT_EQ(buttons[i]->statusTip(),
                longHint.trimmed().isEmpty() ? QString::fromLatin1(want[i].tip) : longHint);
    }
    EXPECT_EQ(StaysEnabledInRun(buttons[i]), i < 2);
    if (want[i].menuItem) {
      auto* item = form->findChild<QAction*>(QString::fromLatin1(want[i].menuItem));
      ASSERT_NE(item, nullptr);
      EXPECT_EQ(item->icon().cacheKey(), buttons[i]->icon().cacheKey());
    }
    // No caption that says something else than the button does.
    EXPECT_NE(buttons[i]->text(), "Save");
    EXPECT_NE(buttons[i]->text(), "Setup");
  }
  EXPECT_EQ(form->RunAction()->icon().cacheKey(), buttons[0]->icon().cacheKey());
  EXPECT_EQ(form->SaveResultsAction()->icon().cacheKey(), buttons[8]->icon().cacheKey());
}

TEST_F(Form1Exit, CascadeAndSavePictureButtonsRunTheirMenuCommands) {
  // The cascade button arranges the display windows as the menu item does.
  form->show();
  form->Displays().NewDisplay();
  form->Displays().NewDisplay();
  QAction* cascade = form->findChild<QAction*>(QStringLiteral("tbCascade"));
  ASSERT_NE(cascade, nullptr);
  int cascaded = 0;
  QObject::connect(form->WindowCmds().CascadeAction(), &QAction::triggered, [&] { ++cascaded; });
  cascade->trigger();
  EXPECT_EQ(cascaded, 1);
  // Save picture asks for the file as the menu item does and writes it.
  TScriptedAsker asker;
  asker.quiet = true;
  TScopedAsker scoped(&asker);
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("bar.bmp"));
  asker.QueueFile(file);
  QAction* pic = form->findChild<QAction*>(QStringLiteral("tbSavePicture"));
  ASSERT_NE(pic, nullptr);
  pic->trigger();
  EXPECT_EQ(asker.Records(TAskRecord::SaveFile).size(), 1u);
  QFile written(file);
  ASSERT_TRUE(written.open(QIODevice::ReadOnly));
  EXPECT_EQ(written.read(2), QByteArray("BM"));
}

TEST_F(Form1Exit, OpenUserFolderWithoutAFileBrowserSaysSoWithThePath) {
  QUrl asked;
  form->OpenUrl = [&](const QUrl& u) {
    asked = u;
    return false;
  };
  form->findChild<QAction*>("miOpenUserFolder")->trigger();
  EXPECT_EQ(asked, QUrl::fromLocalFile(UserFolder()));
  const auto m = asker.Records(TAskRecord::Message);
  ASSERT_EQ(m.size(), 1u);
  EXPECT_EQ(m[0].type, TMsgType::Error);
  EXPECT_TRUE(m[0].text.contains(UserFolder())) << m[0].text.toStdString();
  // A browser that opens says nothing.
  form->OpenUrl = [](const QUrl&) { return true; };
  form->OpenUserFolderClick();
  EXPECT_EQ(asker.Records(TAskRecord::Message).size(), 1u);
}

TEST_F(Form1Exit, TheHintIsClearedWhenAMenuCloses) {
  for (QMenu* m : {form->FileMenu(), form->ViewMenu(), form->TransformMenu()}) {
    form->HintPanel()->setText("Save results");
    emit m->aboutToHide();
    EXPECT_EQ(form->HintPanel()->text(), QString()) << m->title().toStdString();
  }
}

}  // namespace
}  // namespace qz
