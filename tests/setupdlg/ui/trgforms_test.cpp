// The single-shot commands window and the power calibration dialog on the offscreen platform:
// their controls and hints, what each showing does, the unit label, the setup section, and the
// dialog's texts through Modify, Write, Restore and Cancel.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>

#include "common/trgrig.h"
#include "common/widgets.h"
#include "setupdlg/ui/powcal.h"
#include "setupdlg/ui/trgform.h"
#include "util/asker.h"
#include "util/inifile.h"
#include "util/ui/screen.h"

namespace qz {
namespace {

using qz::testing::Child;

QString Text(QWidget& w, const char* label) { return Child<QLabel>(w, label)->text(); }

// The window over the shared rig, with a scripted asker installed.
struct FormRig : testing::TrgRig {
  TScriptedAsker asker;
  FormRig() { Install(); }
  FormRig(int maxSteps, double stepMm) : TrgRig(maxSteps, stepMm) { Install(); }
  void Install() {
    asker.quiet = true;
    SetAsker(&asker);
  }
  ~FormRig() { SetAsker(nullptr); }
  std::vector<TAskRecord> Messages() const { return asker.Records(TAskRecord::Message); }
};

// The window's shortcut of a key, as the window system would activate it (the offscreen
// platform has no active window to route keys through).
bool PressShortcut(QWidget& w, Qt::Key key) {
  for (QShortcut* s : w.findChildren<QShortcut*>()) {
    if (s->key() != QKeySequence(key)) continue;
    emit s->activated();
    return true;
  }
  return false;
}

void ClickLabel(QLabel* l) {
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(2, 2), l->mapToGlobal(QPointF(2, 2)),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), l->mapToGlobal(QPointF(2, 2)),
                      Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(l, &press);
  QApplication::sendEvent(l, &release);
}

TEST(TrgForm, ControlsCaptionsAndHints) {
  FormRig r;
  TTrgForm f(r.cmd, r.m, nullptr);
  EXPECT_EQ(f.objectName(), "TrgForm");
  EXPECT_EQ(f.windowTitle(), "Single-Shots Commands");
  EXPECT_TRUE(f.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(f.windowFlags() & Qt::WindowType_Mask, Qt::Tool);
  const struct {
    const char* name;
    const char* caption;
    const char* hint;
  } buttons[] = {
      {"btMeasure", "&Measure", "One measurement"},
      {"btFetch", "&Fetch", "Get the latest results"},
      {"btClrFifo", "Clr Fif&o", "Clear Quzar FIFO commands buffer"},
      {"btRunStop", "R&un/Stop", "Start/Stop Quzar"},
      {"btRunSendSet", "Set", "Set Run & Send states"},
      {"btRunSendQuery", "Query", "Query Run/Send status"},
      {"btAutotuneSet", "Set", "Set Autotune status"},
      {"btAutotuneQuery", "Query", "Query Autotune status"},
      {"btCompute", "&Compute", "Compute Tune Positions"},
      {"btMeaComp", "Me&aComp", "Measure & compute Tune Positions"},
      {"btMeaTun", "Mea&Tun", "Measure & move stubs to Tune Positions"},
      {"btMeaTunMea", "M&eaTunMea", "Measure, tune, measure, send data"},
      {"btReadStubs", "&Read Stubs", "Read stub positions"},
      {"btMoveStubs", "Move Stu&bs", "Move stub to Tune Positions"},
      {"btRefresh", "Refres&h", "Refresh numeric displays"},
      {"btToutQuery", "Query", "Query timeouts"},
  };
  for (const auto& b : buttons) {
    QPushButton* p = Child<QPushButton>(f, b.name);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->text(), b.caption);
    EXPECT_EQ(p->toolTip(), b.hint) << b.name;
    EXPECT_EQ(p->isDefault(), QByteArray(b.name) == "btMeaTun") << b.name;
  }
  const struct {
    const char* name;
    const char* hint;
  } boxes[] = {{"cbRunning", "Internal Quzar measurement running"},
               {"cbSending", "Quzar sends measurement data"},
               {"cbSendTunePositions", "Sends Tune Positions with measurement data"}};
  for (const auto& b : boxes) EXPECT_EQ(Child<QCheckBox>(f, b.name)->toolTip(), b.hint);
  EXPECT_EQ(Child<QLabel>(f, "lbIndic")->toolTip(), "Click to change unit");
  EXPECT_EQ(Child<QLabel>(f, "lbIndic")->cursor().shape(), Qt::PointingHandCursor);
  QStringList groups;
  for (QGroupBox* g : f.findChildren<QGroupBox*>()) groups << g->title();
  EXPECT_EQ(groups, QStringList({"QUZAR", "TUNER", "TIMEOUTS (ms)"}));
  EXPECT_EQ(Text(f, "pnCaption"), "Command #/Status:");
  EXPECT_EQ(f.CountPanel(), "");
  EXPECT_EQ(f.StatusPanel(), "");
}

TEST(TrgForm, EachShowingQueriesAndFills) {
  FormRig r(5000, 0.01);
  r.mot.ActPos = MakeMotPos(1000, 2, 3);
  r.mot.SendTunePos = true;
  r.mot.AtOn = true;
  TTrgForm f(r.cmd, r.m, nullptr);
  f.show();
  EXPECT_EQ(f.CountPanel(), "002");
  EXPECT_EQ(f.StatusPanel(), "\"Query Timeouts\" OK");
  EXPECT_EQ(Text(f, "lbQuzarTout"), "237");
  EXPECT_EQ(Text(f, "lbMotorsTout"), "628");
  EXPECT_EQ(Text(f, "lbIndic"), "Steps");
  EXPECT_EQ(Text(f, "lbAct1"), "1000");
  EXPECT_TRUE(Child<QCheckBox>(f, "cbSendTunePositions")->isChecked());
  EXPECT_TRUE(Child<QCheckBox>(f, "cbAutotune")->isChecked());
  // The unit label: mm, inch, Steps.
  const struct {
    const char* unit;
    const char* act1;
  } units[] = {{"mm", "10.00"}, {"inch", "0.394"}, {"Steps", "1000"}};
  for (const auto& u : units) {
    ClickLabel(Child<QLabel>(f, "lbIndic"));
    EXPECT_EQ(Text(f, "lbIndic"), u.unit);
    EXPECT_EQ(Text(f, "lbAct1"), u.act1);
  }
  // Closing hides; the next showing counts two more commands.
  f.close();
  EXPECT_FALSE(f.isVisible());
  f.show();
  EXPECT_EQ(f.CountPanel(), "004");
}

TEST(TrgForm, ButtonsShowTheirOutcome) {
  FormRig r;
  TTrgForm f(r.cmd, r.m, nullptr);
  f.Displays() = r.trg.Displays;  // the rig's counting callbacks
  f.show();
  r.NextFrame(MakeMotPos(5, 6, 7), 119, 0);
  Child<QPushButton>(f, "btMeasure")->click();
  EXPECT_EQ(f.StatusPanel(), "\"Measure\" OK");
  EXPECT_EQ(f.CountPanel(), "003");
  EXPECT_EQ(Text(f, "lbAct3"), "7");
  EXPECT_EQ(Text(f, "lbStat1"), "01110111 ");
  EXPECT_EQ(r.calls.napln, 1);
  r.NextFrameSpoilt();
  Child<QPushButton>(f, "btMeaTun")->click();
  EXPECT_EQ(f.StatusPanel(), "\"Measure & Tune\" FAIL");
  EXPECT_EQ(r.calls.napln, 1);
  // Enter presses the default button.
  r.NextFrame(MakeMotPos(8, 9, 10));
  ASSERT_TRUE(PressShortcut(f, Qt::Key_Return));
  EXPECT_EQ(f.StatusPanel(), "\"Measure & Tune\" OK");
  EXPECT_EQ(r.mot.TunePos, MakeMotPos(8, 9, 10));
  // Autotune: the box after Set shows the flag the command set.
  Child<QCheckBox>(f, "cbAutotune")->setChecked(true);
  Child<QPushButton>(f, "btAutotuneSet")->click();
  EXPECT_TRUE(r.mot.AtOn);
  EXPECT_TRUE(r.calls.atShown);
  EXPECT_EQ(f.StatusPanel(), "\"Autotune ON/OFF\" OK");
  Child<QCheckBox>(f, "cbSendTunePositions")->click();
  EXPECT_TRUE(r.mot.SendTunePos);
  EXPECT_EQ(f.StatusPanel(), "\"Send Tune Posit ON\" OK");
}

TEST(TrgForm, SectionReadAtCreationAndWritten) {
  FormRig r;
  IniFile ini;
  ini.SetText("[TrgForm]\nVisible=1\nTop=10\nLeft=20\nIndic=7\n");
  const TFixedScreen screen(QSize(1000, 800));
  TTrgForm f(r.cmd, r.m, &ini, nullptr, &screen);
  EXPECT_TRUE(f.isVisible());
  EXPECT_EQ(f.Cmds().Indic, kIndicSteps);
  EXPECT_EQ(f.CountPanel(), "002");
  ClickLabel(Child<QLabel>(f, "lbIndic"));
  IniFile out;
  f.WriteStp(out);
  EXPECT_EQ(out.ReadSection("TrgForm"), QStringList({"Visible", "Top", "Left", "Indic"}));
  EXPECT_EQ(out.ReadInteger("TrgForm", "Visible", 0), 1);
  EXPECT_EQ(out.ReadInteger("TrgForm", "Indic", -1), 0);
  // Hidden by the setup: stays hidden.
  IniFile hidden;
  hidden.SetText("[TrgForm]\nVisible=0\nIndic=1\n");
  TTrgForm g(r.cmd, r.m, &hidden, nullptr, &screen);
  EXPECT_FALSE(g.isVisible());
  EXPECT_EQ(g.Cmds().Indic, kIndicInch);
}

TEST(TrgForm, HelpKeyIsNoShortcutOfTheWindow) {
  // A second F1 shortcut beside the program's rule made the key ambiguous: it did nothing.
  FormRig r;
  TTrgForm f(r.cmd, r.m, nullptr);
  f.show();
  EXPECT_FALSE(PressShortcut(f, Qt::Key_F1));
}

struct PowForm {
  FormRig r;
  TPowCal d{r.cmd, nullptr, &r.asker};
};

TEST(PowCal, ControlsAndTextsAtShowing) {
  PowForm p;
  p.r.qv.UserPowCorr = 2.0f;
  EXPECT_EQ(p.d.objectName(), "PowCal");
  EXPECT_EQ(p.d.windowTitle(), "Power Measurement Calibration Factor");
  EXPECT_TRUE(Child<QRadioButton>(p.d, "rbLin")->isChecked());
  EXPECT_TRUE(Child<QPushButton>(p.d, "btWrite")->isDefault());
  const struct {
    const char* name;
    const char* hint;
  } hints[] = {{"lbMultiplier", "Click Modify to change"},
               {"btModify", "Change the Multiplier"},
               {"lbCurrent", "Click Restore to return to factory setting"},
               {"lbNew", "Click Restore to return to factory setting"},
               {"btWrite", "Write new CAL factor to memory"},
               {"btRestore", "Return CAL factor to 1"}};
  for (const auto& h : hints) EXPECT_EQ(Child<QWidget>(p.d, h.name)->toolTip(), h.hint) << h.name;
  p.d.open();
  EXPECT_EQ(p.d.MultText(), "1");
  EXPECT_EQ(p.d.CurrentText(), "2");
  EXPECT_EQ(p.d.NewText(), "2");
  Child<QRadioButton>(p.d, "rbDb")->click();
  EXPECT_EQ(p.d.MultText(), "0");
  int topic = 0;
  p.d.OnHelp = [&](int t) { topic = t; };
  Child<QPushButton>(p.d, "btHelp")->click();
  EXPECT_EQ(topic, 180);
  p.d.reject();
}

TEST(PowCal, ModifyInDecibelsThenWriteSurvivesReactivation) {
  PowForm p;
  p.r.qv.UserPowCorr = 2.0f;
  p.d.open();
  Child<QRadioButton>(p.d, "rbDb")->click();
  p.r.asker.QueueText("3");
  Child<QPushButton>(p.d, "btModify")->click();
  EXPECT_EQ(p.d.MultText(), "3");
  EXPECT_EQ(p.d.NewText(), "3.991");
  Child<QRadioButton>(p.d, "rbLin")->click();
  EXPECT_EQ(p.d.MultText(), "1.995");
  // The question box gives the activation back to the dialog when it closes: the multiplier
  // must not go back to 1.
  QEvent act(QEvent::WindowActivate);
  QApplication::sendEvent(&p.d, &act);
  EXPECT_EQ(p.d.MultText(), "1.995");
  p.r.asker.QueueButton(mbYes);
  Child<QPushButton>(p.d, "btWrite")->click();
  EXPECT_FALSE(p.d.isVisible());
  EXPECT_EQ(p.d.result(), QDialog::Accepted);
  EXPECT_EQ(p.r.qv.UserPowCorr, float(2.0 * p.d.Model().LinMult));
  ASSERT_EQ(p.r.Messages().size(), 2u);
  EXPECT_EQ(p.r.Messages()[0].text, "Confirm: Write CAL factor multiplier 1.995 = 3 dB?");
  EXPECT_EQ(p.r.Messages()[1].text, "CAL factor written successfully");
  // The next showing starts from the written factor with the multiplier 1.
  p.d.open();
  EXPECT_EQ(p.d.MultText(), "1");
  EXPECT_EQ(p.d.CurrentText(), "3.991");
  p.d.reject();
}

TEST(PowCal, CancelAndRestore) {
  PowForm p;
  p.r.qv.UserPowCorr = 4.0f;
  p.d.open();
  p.r.qv.UserPowCorr = 9.0f;  // changed behind the open dialog
  Child<QPushButton>(p.d, "btCancel")->click();
  EXPECT_FALSE(p.d.isVisible());
  EXPECT_EQ(p.r.qv.UserPowCorr, 4.0f);
  // At the upper limit, Modify and Cancel come back to the dialog.
  p.r.qv.UserPowCorr = 10.0f;
  p.d.open();
  Child<QPushButton>(p.d, "btModify")->click();
  EXPECT_TRUE(p.d.isVisible());
  EXPECT_EQ(p.d.MultText(), "1");
  p.r.asker.QueueButton(mbYes);
  Child<QPushButton>(p.d, "btRestore")->click();
  EXPECT_FALSE(p.d.isVisible());
  EXPECT_EQ(p.r.qv.UserPowCorr, 1.0f);
}

}  // namespace
}  // namespace qz
