// The tuner picture in the frame window: created once the unit has started, reached through the
// Tuner menu's View and the tool button, told about runs and plane-extension changes, and kept
// in the automatic setup.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "app/program.h"
#include "app/simcore.h"
#include "app/ui/form1.h"
#include "common/form1rig.h"
#include "common/freshprofile.h"
#include "common/testfiles.h"
#include "common/widgets.h"
#include "sim/tunerdescr.h"
#include "tuner/tunmem.h"
#include "tuner/ui/qvtustpfrm.h"
#include "tuner/ui/scenario.h"
#include "tuner/ui/tpic.h"
#include "util/asker.h"
#include "util/folders.h"
#include "util/inifile.h"

namespace qz {
namespace {

using qz::testing::Child;

class Form1Tuner : public qz::testing::StartedForm1Test {
 protected:
  void BeforeStart() override {
    // The tuner picture is not made before the unit has started.
    EXPECT_EQ(form->ToolWindows().Window<TTpic>("TunPic"), nullptr);
  }
  QAction* Find(const char* name) const { return Child<QAction>(*form, name); }
};

TEST_F(Form1Tuner, ReachedThroughTheTunerMenuAndTheToolButton) {
  TTpic* t = form->ToolWindows().Window<TTpic>("TunPic");
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->objectName(), QStringLiteral("Tpic"));
  EXPECT_EQ(t->windowTitle(), QStringLiteral("Tuner View"));
  // The step sizes of the working tuner (not the 1, 10, 100 of its creation): the autotune
  // parameters were updated after the picture was created.
  const std::array<int, 3> s = StubStepSizes(form->Core().TunerModel.Derived().MaxSteps);
  EXPECT_NE(s[1], 10);
  EXPECT_EQ(t->Motion().StepSize(), (TStepSize{uint16_t(s[0]), uint16_t(s[1]), uint16_t(s[2])}));
  QAction* view = Find("miTunView");
  QAction* button = Find("tbTuner");
  EXPECT_TRUE(button->isVisible());
  EXPECT_EQ(button->toolTip(), QStringLiteral("Show/Hide Tuner"));
  const bool was = t->isVisible();
  view->trigger();
  EXPECT_NE(t->isVisible(), was);
  EXPECT_EQ(view->isChecked(), t->isVisible());
  button->trigger();
  EXPECT_EQ(t->isVisible(), was);
  EXPECT_EQ(view->isChecked(), was);
}

TEST_F(Form1Tuner, ARunStopsTheRepeatAndPlaneExtensionMovesTheMarker) {
  TTpic* t = form->ToolWindows().Window<TTpic>("TunPic");
  ASSERT_NE(t, nullptr);
  t->MouseHeld = [] { return true; };
  t->StepPress(2, TSmer::Dolu, Qt::NoModifier, false);
  ASSERT_TRUE(t->TimerActive(2));
  form->ToolWindows().EnableForRun(false);  // a run starts
  EXPECT_FALSE(t->TimerActive(2));
  EXPECT_FALSE(t->ControlsEnabled());
  form->ToolWindows().EnableForRun(true);
  EXPECT_TRUE(t->ControlsEnabled());

  asker.QueueText(QStringLiteral("-1"));
  form->PlaneExtButton()->trigger();
  EXPECT_TRUE(t->ExtMarker().visible);
  EXPECT_EQ(t->ExtMarker().markerX, t->Layout().load_x0 - 9);
}

TEST_F(Form1Tuner, ItsSectionIsKeptInTheAutomaticSetup) {
  TTpic* t = form->ToolWindows().Window<TTpic>("TunPic");
  ASSERT_NE(t, nullptr);
  t->IndicClick();
  t->IndicClick();
  QString err;
  ASSERT_TRUE(form->Setup().WriteAutoSetup(err)) << err.toStdString();
  IniFile a(InUserFolder("QzSim0.ini"));
  EXPECT_EQ(a.ReadInteger("TunPic", "Indic", -1), 2);
  for (const char* key : {"Visible", "Top", "Left", "Bcolor"})
    EXPECT_TRUE(a.ValueExists("TunPic", QString::fromLatin1(key))) << key;
}

// The system information window: made with the unit, reached through its tool button, showing
// the working tuner and the unit description it gave, and following a loaded analyzer section.
TEST_F(Form1Tuner, SystemInfoFollowsTheTunerAndTheSetup) {
  TQvTuStpFrm* sys = form->ToolWindows().Window<TQvTuStpFrm>("TuStpFrm");
  ASSERT_NE(sys, nullptr);
  EXPECT_EQ(sys->Cell(tpMotors, mrMaxSteps, 1), "3000 / 30 mm");
  // The unit description took the tuner's identity.
  EXPECT_EQ(sys->Cell(tpQuzar, 0, 1), "Quzar Tuner");
  EXPECT_EQ(sys->Cell(tpQuzar, 1, 1), "QZTU-340");
  QAction* button = Find("tbSys");
  EXPECT_EQ(button->toolTip(), "Show/hide system info");
  const bool was = sys->isVisible();
  button->trigger();
  EXPECT_NE(sys->isVisible(), was);
  button->trigger();
  EXPECT_EQ(sys->isVisible(), was);

  // The watermark hook is called when set, and nothing breaks while it is not.
  int marks = 0;
  asker.QueueText(QStringLiteral("700"));
  sys->GridClicked(tpAutotune, atrMaxMag);
  QObject::connect(&form->Program().Events, &TProgramEvents::TunerDescrChanged, form.get(),
                   [&marks] { ++marks; });
  asker.QueueText(QStringLiteral("600"));
  sys->GridClicked(tpAutotune, atrMaxMag);
  EXPECT_EQ(marks, 1);
  EXPECT_EQ(sys->Cell(tpAutotune, atrMaxMag, 1), "600");

  const QString path = dir.filePath(QStringLiteral("at.stp"));
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("[QvTuStp1]\r\nToler_mU=77\r\n");
  f.close();
  QString comment, err;
  ASSERT_TRUE(form->LoadSetupFile(path, comment, err)) << err.toStdString();
  EXPECT_EQ(sys->Cell(tpAutotune, atrToler, 1), "77");
}

// "Load &Mem" starts where the shipped memory files are, tells a loaded file in the frame
// window's hint panel, and starts the next time in the folder the last file came from.
TEST_F(Form1Tuner, LoadMemStartsInTheTunerMemoryFolderAndTellsTheLoadedFile) {
  TQvTuStpFrm* sys = form->ToolWindows().Window<TQvTuStpFrm>("TuStpFrm");
  ASSERT_NE(sys, nullptr);
  const QString tunMem = UserFolder() + QStringLiteral("TunMem/");
  const QString other = dir.filePath(QStringLiteral("bench/"));
  ASSERT_TRUE(QDir().mkpath(tunMem));
  ASSERT_TRUE(QDir().mkpath(other));
  TMotState mot;
  TTunMemContent c = TunMemContentOf(DefaultTunerDescr(), mot);
  c.Descr.MaxSteps = 2000;
  QString error;
  ASSERT_TRUE(WriteTunMemFile(other + QStringLiteral("Tu2000.mem"), c, 2, error));

  form->HintPanel()->clear();
  asker.QueueFile(other + QStringLiteral("Tu2000.mem"));
  sys->LoadButton()->click();
  EXPECT_EQ(sys->Cell(tpMotors, mrMaxSteps, 1), "2000 / 20 mm");
  EXPECT_EQ(form->HintPanel()->text(), "Tuner memory loaded: Tu2000.mem");
  // A refused file says so in its box and tells no load.
  form->HintPanel()->clear();
  testing::WriteAll(other + QStringLiteral("bad.mem"), QByteArray(30, 'x'));
  asker.QueueFile(other + QStringLiteral("bad.mem"));
  sys->LoadButton()->click();
  EXPECT_EQ(form->HintPanel()->text(), QString());
  // A cancelled dialog changes nothing either.
  sys->LoadButton()->click();

  const auto opens = asker.Records(TAskRecord::OpenFile);
  ASSERT_EQ(opens.size(), 3u);
  EXPECT_EQ(opens[0].text, tunMem + QStringLiteral("tun.mem"));
  EXPECT_EQ(opens[1].text, other + QStringLiteral("tun.mem"));
  EXPECT_EQ(opens[2].text, other + QStringLiteral("tun.mem"));
  const auto boxes = asker.Records(TAskRecord::Message);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Memory file invalid or incompatible: " + other + "bad.mem");
}

// The scenario window: created after the tuner picture, shown through Tuner > Scenario and the
// picture's scenario button, which follows it.
TEST_F(Form1Tuner, ScenarioThroughTheTunerMenuAndThePictureButton) {
  TScenario* s = form->ToolWindows().Window<TScenario>("TuScenarioForm");
  ASSERT_NE(s, nullptr);
  EXPECT_TRUE(form->ToolWindows().Created(QStringLiteral("TuScenarioForm")));
  QAction* item = Find("miTunScenario");
  auto* scen =
      form->ToolWindows().Window<TTpic>("TunPic")->findChild<QAction*>(QStringLiteral("sbScenar"));
  ASSERT_NE(scen, nullptr);
  EXPECT_FALSE(s->isVisible());
  item->trigger();
  EXPECT_TRUE(s->isVisible());
  EXPECT_TRUE(scen->isChecked());
  EXPECT_TRUE(scen->isEnabled());
  scen->trigger();  // the picture's button hides it again
  EXPECT_FALSE(s->isVisible());
  EXPECT_FALSE(item->isChecked());
  s->show();
  EXPECT_TRUE(scen->isChecked());
  s->close();
  EXPECT_FALSE(scen->isChecked());

  QString err;
  ASSERT_TRUE(form->Setup().WriteAutoSetup(err)) << err.toStdString();
  IniFile a(InUserFolder("QzSim0.ini"));
  for (const char* key : {"Visible", "Top", "Left", "Height", "Tdwell_ms", "MeasPerPosit"})
    EXPECT_TRUE(a.ValueExists("TuScenarioForm", QString::fromLatin1(key))) << key;
}

// A measured play owns the unit: Run/Pause does nothing until it ends, and a stopped play still
// completes its file.
TEST_F(Form1Tuner, RunPauseWaitsForAMeasuredPlay) {
  TScenario* s = form->ToolWindows().Window<TScenario>("TuScenarioForm");
  ASSERT_NE(s, nullptr);
  s->show();
  for (int i = 1; i <= 3; ++i) s->Book().Active().InsertRow(MakeSceRow(10000, i, i, i));
  s->SetMeasure(true);
  const QString out = dir.filePath(QStringLiteral("meas.txt"));
  asker.QueueButton(mbYes);  // the transform is not active: go on
  asker.QueueFile(out);
  bool sweptMeanwhile = true;
  // Once the rows are being played (the preparation may let events in before).
  std::function<void()> stopWhenPlaying = [&] {
    if (!s->Play().PlayedPage()) {
      QTimer::singleShot(50, s, stopWhenPlaying);
      return;
    }
    form->RunAction()->trigger();
    sweptMeanwhile = form->IsSweeping();
    s->StopPlay();
  };
  QTimer::singleShot(100, s, stopWhenPlaying);
  s->PlayClick(true);
  EXPECT_FALSE(sweptMeanwhile);
  EXPECT_FALSE(s->Playing());
  QFile f(out);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QString text = QString::fromUtf8(f.readAll());
  EXPECT_TRUE(text.contains(QStringLiteral("Scenario interrupted"))) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("[Tuner setup]")));
}

// Leaving the program during a play: the play ends first, then the program closes, and the
// pages are kept in "QzSim0.sce".
TEST_F(Form1Tuner, ExitDuringAPlayEndsThePlayFirst) {
  QPointer<TScenario> s = form->ToolWindows().Window<TScenario>("TuScenarioForm");
  ASSERT_TRUE(s);
  s->show();
  for (int i = 1; i <= 3; ++i) s->Book().Active().InsertRow(MakeSceRow(10000, i, i, i));
  s->Book().Active().Select(1);
  bool exited = false;
  form->OnExit = [&] { exited = true; };
  asker.QueueButton(mbYes);  // save the setup
  QTimer guard;
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
  guard.start(8000);
  QTimer::singleShot(100, form.get(), [&] { form->ExitClick(); });
  QTimer::singleShot(0, form.get(), [&] { s->PlayClick(true); });
  EXPECT_EQ(QApplication::exec(), 0);
  EXPECT_TRUE(exited);
  EXPECT_TRUE(s.isNull());
  EXPECT_TRUE(QFile::exists(InUserFolder("QzSim0.sce")));
}

}  // namespace
}  // namespace qz
