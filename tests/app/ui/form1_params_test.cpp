// The parameter items in the frame window: the signal tool bar's buttons and hints, the state
// it shows after a waveform change, the single-shot arming the cycle asks for, and the captions
// the Quzar and Tuner menus take when they open.

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QToolBar>

#include "app/paramcmds.h"
#include "app/simcore.h"
#include "app/ui/form1.h"
#include "common/form1rig.h"
#include "common/widgets.h"
#include "util/asker.h"

namespace qz {
namespace {

using qz::testing::Child;

// The items as the frame window makes them, before its unit starts.
class Form1Params : public qz::testing::StartedForm1Test {
 protected:
  void SetUp() override {
    showForm = false;
    startInSetUp = false;
    StartedForm1Test::SetUp();
    if (HasFatalFailure()) return;
    Restart(false);
  }
  QAction* Find(const char* name) const { return Child<QAction>(*form, name); }
  void Open(QMenu* m) const { emit m->aboutToShow(); }
};

TEST_F(Form1Params, SignalBarButtonsAndHints) {
  struct Case {
    const char* name;
    const char* tooltip;
  };
  const Case cases[] = {
      {"sbRect", "Rectified sampling mode"},
      {"sbPuls", "Pulsed sampling mode"},
      {"sbSamples", "Show individual samples in non-CW mode"},
      {"sbOneShot", "Single-shot individual samples measurement in non-CW mode"},
      {"sbPre", "Number of pre-trigger points to display"},
      {"sbTrgLvl", "Triggering level (%)"},
      {"sbFreeRun", "Free Run - measure without triggering"},
      {"sbSamplTime", "Sampling duration"},
      {"sbCount", "Sample count"},
      {"sbFsampl", "Set sampling frequency"},
      {"sbFreqOnly", "Frequency only measurement"},
  };
  for (const Case& c : cases) {
    QAction* a = Find(c.name);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->toolTip(), QString::fromLatin1(c.tooltip)) << c.name;
  }
  // "Pts" and "Tc" stand just before the plane-extension button of the main tool bar.
  const QList<QAction*> main = form->MainToolBar()->actions();
  const qsizetype pts = main.indexOf(Find("tbPts"));
  ASSERT_GE(pts, 0);
  EXPECT_EQ(main.value(pts + 1), Find("tbTc"));
  EXPECT_EQ(main.value(pts + 2), form->PlaneExtButton());
  EXPECT_EQ(Find("tbPts")->toolTip(), QStringLiteral("Points per sweep"));
  EXPECT_EQ(Find("tbTc")->toolTip(), QStringLiteral("Count time"));
  EXPECT_EQ(Find("sbCw")->text(), QStringLiteral("CW"));
  EXPECT_EQ(Find("sbPre")->text(), QStringLiteral("Pre"));
  // Start-up state: CW pressed, only the CW buttons usable.
  EXPECT_TRUE(Find("sbCw")->isChecked());
  EXPECT_FALSE(Find("sbSamples")->isEnabled());
  EXPECT_TRUE(Find("sbFreqOnly")->isEnabled());
  EXPECT_FALSE(Find("sbSamplTime")->isEnabled());
}

TEST_F(Form1Params, PulsedButtonSwitchesTheWaveformAndTheBar) {
  Find("sbPuls")->trigger();
  EXPECT_EQ(form->Core().Qv.VarPar.Waveform, wfPulsed);
  EXPECT_TRUE(Find("sbPuls")->isChecked());
  EXPECT_FALSE(Find("sbCw")->isChecked());
  EXPECT_TRUE(Find("sbSamplTime")->isEnabled());
  EXPECT_FALSE(Find("sbFreqOnly")->isEnabled());
  EXPECT_FALSE(form->SingleShotArmed());

  // Samples on, then single shot: the cycle sees the armed single shot.
  Find("sbSamples")->trigger();
  EXPECT_TRUE(form->Core().Qv.Pulsed.Bsamples);
  EXPECT_TRUE(Find("sbOneShot")->isEnabled());
  Find("sbOneShot")->trigger();
  EXPECT_TRUE(form->SingleShotArmed());
}

TEST_F(Form1Params, PtsAfterARunFollowsTheIndividualSamples) {
  EXPECT_TRUE(Find("tbPts")->isEnabled());
  Find("sbRect")->trigger();
  EXPECT_TRUE(Find("tbPts")->isEnabled());  // rectified without samples: a sweep of points
  Find("sbSamples")->trigger();
  ASSERT_TRUE(form->Core().Qv.Rectif.Bsamples);
  EXPECT_FALSE(Find("tbPts")->isEnabled());  // at once, not only after a run
  form->EnableForRun(false);
  EXPECT_FALSE(form->SignalToolBar()->isEnabled());
  EXPECT_FALSE(Find("tbPts")->isEnabled());
  form->EnableForRun(true);
  EXPECT_TRUE(form->SignalToolBar()->isEnabled());
  EXPECT_FALSE(Find("tbPts")->isEnabled());  // the sweep holds the samples of one block
  EXPECT_TRUE(Find("tbTc")->isEnabled());
  Find("sbCw")->trigger();
  form->EnableForRun(false);
  form->EnableForRun(true);
  EXPECT_TRUE(Find("tbPts")->isEnabled());
}

TEST_F(Form1Params, FrequencyOnlyButtonTakesTheConfirmedStateAndAdvisesOnce) {
  QAction* f = Find("sbFreqOnly");
  ASSERT_FALSE(f->isChecked());
  f->trigger();
  EXPECT_TRUE(f->isChecked());
  EXPECT_TRUE(form->Core().Cmd.FreqOnly);
  auto infos = asker.Records(TAskRecord::Message);
  ASSERT_EQ(infos.size(), 1u);
  EXPECT_TRUE(infos[0].text.startsWith(
      QStringLiteral("    You are advised to close Result Windows: updating them is excessively "
                     "time-consuming.\r\n    For the same reason, you may wish to close all "
                     "graphical displays except Freq display.")));
  // Switching off says nothing more.
  f->trigger();
  EXPECT_FALSE(f->isChecked());
  EXPECT_FALSE(form->Core().Cmd.FreqOnly);
  EXPECT_EQ(asker.Records(TAskRecord::Message).size(), 1u);
}

TEST_F(Form1Params, MenuCaptionsWhenTheMenusOpen) {
  Open(form->QuzarMenu());
  EXPECT_EQ(Find("miPoints")->text(), QStringLiteral("&Points per Sweep  (101)"));
  EXPECT_EQ(Find("miCounter")->text(), QStringLiteral("C&ounter  (ON)"));
  EXPECT_TRUE(Find("miCounter")->isChecked());
  EXPECT_EQ(Find("miCountTime")->text(), QStringLiteral("Count &Time CW  (20 ms)"));
  EXPECT_EQ(Find("miFreqToler")->text(), QStringLiteral("&Freq Toler  (61 MHz)"));
  EXPECT_EQ(Find("miSubstFreq")->text(), QStringLiteral("Su&bstit Freq  (2.45 GHz)"));
  Open(qobject_cast<QMenu*>(Find("miPowCal")->parent()));
  EXPECT_EQ(Find("miPowCal")->text(), QStringLiteral("&Pow Cal Factor  (1)"));
  // Run/Pause, Stop and Finish Sweep stay the first three items.
  const QList<QAction*> q = form->QuzarMenu()->actions();
  ASSERT_GE(q.size(), 3);
  EXPECT_EQ(q[0], form->RunAction());
  EXPECT_EQ(q[1], form->StopAction());
  EXPECT_EQ(q[2], form->FinishAction());

  QMenu* tuner = Find("miTunView")->associatedObjects().isEmpty()
                     ? nullptr
                     : qobject_cast<QMenu*>(Find("miTunView")->associatedObjects().first());
  ASSERT_NE(tuner, nullptr);
  Open(tuner);
  EXPECT_EQ(Find("miAtActive")->text(), QStringLiteral("&Active  (NO)"));
  EXPECT_EQ(Find("miMotRefresh")->text(), QStringLiteral("&Motors Refresh  (1000 ms)"));
  EXPECT_EQ(Find("miAtWaitRf")->text(), QStringLiteral("Wait &RF  (YES)"));
  EXPECT_EQ(Find("miAtHyst")->text(), QStringLiteral("&Hysteresis  (5)"));
}

}  // namespace
}  // namespace qz
