// The setup dialogs inside the program: created in their places of the start-up, their sections
// in the automatic setup, in saved setups and in loaded ones.

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QTemporaryDir>
#include <QTest>

#include "app/setupfiles.h"
#include "app/simcore.h"
#include "app/ui/form1.h"
#include "app/ui/helpviewer.h"
#include "common/form1rig.h"
#include "common/testfiles.h"
#include "core/qvwin.h"
#include "results/ui/qzresform.h"
#include "setupdlg/ui/mstpform.h"
#include "setupdlg/ui/powcal.h"
#include "setupdlg/ui/qzsamplform.h"
#include "setupdlg/ui/trgform.h"
#include "setupdlg/ui/txtimingform.h"
#include "util/asker.h"
#include "util/folders.h"
#include "util/inifile.h"

namespace qz {
namespace {

using testing::WriteAll;

class Form1SetupDlg : public qz::testing::StartedForm1Test {
 protected:
  void SetUp() override {
    startInSetUp = false;
    StartedForm1Test::SetUp();
  }
  // The program started over the automatic setup as it stands now.
  TForm1* Started() {
    Restart();
    return form.get();
  }
  // The frame window made, its unit not yet started.
  TForm1* Made() {
    showForm = false;
    Restart(false);
    return form.get();
  }
};

TEST_F(Form1SetupDlg, CreatedInTheirPlacesOfTheStart) {
  TForm1* f = Made();
  // The timing windows come with the other tool windows; the sampling dialog waits for the unit.
  ASSERT_NE(f->ToolWindows().Window<TTxTimingForm>("TxTimingForm"), nullptr);
  ASSERT_NE(f->ToolWindows().Window<TMstpForm>("MstpForm"), nullptr);
  EXPECT_EQ(f->ToolWindows().Window<TQzSamplForm>("QzSamplForm"), nullptr);
  EXPECT_FALSE(f->ToolWindows().Window<TMstpForm>("MstpForm")->isVisible());
  StartUnit();
  ASSERT_NE(f->ToolWindows().Window<TQzSamplForm>("QzSamplForm"), nullptr);
  // A fresh profile: the dialog opens on the CW page with the default 20 ms, and the setup's
  // large pre-trigger count is no input error.
  f->ToolWindows().Window<TQzSamplForm>("QzSamplForm")->show();
  EXPECT_EQ(f->ToolWindows().Window<TQzSamplForm>("QzSamplForm")->ActivePage(), 0);
  EXPECT_EQ(f->ToolWindows().Window<TQzSamplForm>("QzSamplForm")->Model().View.cwTime,
            (TTimeText{"20", 1}));
  f->ToolWindows().Window<TQzSamplForm>("QzSamplForm")->RefreshClick();
  EXPECT_TRUE(asker.Records(TAskRecord::Message).empty());
  f->ToolWindows().Window<TQzSamplForm>("QzSamplForm")->reject();
}

TEST_F(Form1SetupDlg, MeasurementSetupShownWhenItsSectionSaysSo) {
  WriteAll(Auto(), "[MstpForm]\r\nVisible=1\r\nTop=100\r\nLeft=100\r\n");
  TForm1* f = Started();
  ASSERT_NE(f->ToolWindows().Window<TMstpForm>("MstpForm"), nullptr);
  EXPECT_TRUE(f->ToolWindows().Window<TMstpForm>("MstpForm")->isVisible());
  // Settings changed through other commands reach the visible window.
  f->Core().Cmd.SetMeaStp([] {
    TMeaStp m;
    m.OnPeriod_ms = 321;
    return m;
  }());
  f->Core().Cmd.RefreshMeaStpWindow();
  EXPECT_EQ(f->ToolWindows().Window<TMstpForm>("MstpForm")->Model().Mstp.OnPeriod_ms, 321);
}

TEST_F(Form1SetupDlg, SaveWritesThreeSectionsLoadReadsTwo) {
  TForm1* f = Started();
  IniFile out;
  QString error;
  ASSERT_TRUE(f->Setup().WriteSetup(out, "c", error)) << error.toStdString();
  for (const char* s : {"MstpForm", "QzSamplForm", "TxTimingForm"})
    EXPECT_TRUE(out.SectionExists(s)) << s;
  // The order of the sections in the file.
  const QStringList sections = out.ReadSections();
  EXPECT_LT(sections.indexOf("MstpForm"), sections.indexOf("QzSamplForm"));
  EXPECT_LT(sections.indexOf("QzSamplForm"), sections.indexOf("TxTimingForm"));

  IniFile in;
  in.SetText(
      "[QuzarForm]\nTop=0\n[MstpForm]\nVisible=1\nTop=50\nLeft=60\n[QzSamplForm]\nTop=70\n"
      "Left=80\n[TxTimingForm]\nTop=90\nLeft=100\n");
  f->Setup().LoadSetup(in);
  EXPECT_FALSE(f->ToolWindows()
                   .Window<TMstpForm>("MstpForm")
                   ->isVisible());  // written only: a loaded setup leaves it alone
  EXPECT_EQ(f->ToolWindows().Window<TQzSamplForm>("QzSamplForm")->pos(), QPoint(80, 70));
  EXPECT_EQ(f->ToolWindows().Window<TTxTimingForm>("TxTimingForm")->pos(), QPoint(100, 90));
}

TEST_F(Form1SetupDlg, RestartReadsAllThree) {
  WriteAll(Auto(),
           "[MstpForm]\r\nVisible=1\r\nTop=50\r\nLeft=60\r\n[QzSamplForm]\r\nTop=70\r\nLeft=80\r\n"
           "[TxTimingForm]\r\nTop=90\r\nLeft=100\r\n");
  TForm1* f = Started();
  EXPECT_TRUE(f->ToolWindows().Window<TMstpForm>("MstpForm")->isVisible());
  EXPECT_EQ(f->ToolWindows().Window<TQzSamplForm>("QzSamplForm")->pos(), QPoint(80, 70));
  EXPECT_EQ(f->ToolWindows().Window<TTxTimingForm>("TxTimingForm")->pos(), QPoint(100, 90));
}

}  // namespace
}  // namespace qz

namespace qz {
namespace {

TEST_F(Form1SetupDlg, HelpOfAModalDialogStaysUsable) {
  TForm1* f = Started();
  TQzSamplForm* d = f->ToolWindows().Window<TQzSamplForm>("QzSamplForm");
  ASSERT_NE(d, nullptr);
  d->show();
  ASSERT_TRUE(d->isModal());
  d->findChild<QPushButton*>("btHelp")->click();
  ASSERT_NE(f->ToolWindows().Window<THelpViewer>("HelpViewer"), nullptr);
  EXPECT_TRUE(f->ToolWindows().Window<THelpViewer>("HelpViewer")->isVisible());
  EXPECT_EQ(f->ToolWindows().Window<THelpViewer>("HelpViewer")->parentWidget(), d);
  EXPECT_FALSE(f->isMinimized());
  d->reject();
  EXPECT_EQ(f->ToolWindows().Window<THelpViewer>("HelpViewer")->parentWidget(), f);
  EXPECT_TRUE(f->ToolWindows().Window<THelpViewer>("HelpViewer")->isVisible());
}

// The View menu's item of the single-shot commands window.
QAction* TrgViewItem(TForm1& f) {
  emit f.ViewMenu()->aboutToShow();
  for (QAction* a : f.ViewMenu()->actions())
    if (a->text() == "Singl&e-Shots Commands") return a;
  return nullptr;
}

TEST_F(Form1SetupDlg, SingleShotWindowFromTheViewMenu) {
  TForm1* f = Started();
  TTrgForm* w = f->ToolWindows().Window<TTrgForm>("TrgForm");
  ASSERT_NE(w, nullptr);
  EXPECT_FALSE(w->isVisible());
  QAction* item = TrgViewItem(*f);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->statusTip(), "Open special Comands Window");
  EXPECT_FALSE(item->isChecked());
  item->trigger();
  EXPECT_TRUE(w->isVisible());
  EXPECT_TRUE(TrgViewItem(*f)->isChecked());
  EXPECT_EQ(w->CountPanel(), "002");
  EXPECT_EQ(w->StatusPanel(), "\"Query Timeouts\" OK");
  TrgViewItem(*f)->trigger();
  EXPECT_FALSE(w->isVisible());
  EXPECT_FALSE(TrgViewItem(*f)->isChecked());
}

TEST_F(Form1SetupDlg, SingleShotCommandsReachTheResultsAndTheTuner) {
  TForm1* f = Started();
  TTrgForm* w = f->ToolWindows().Window<TTrgForm>("TrgForm");
  ASSERT_NE(w, nullptr);
  ASSERT_NE(f->ToolWindows().Window<TQzResForm>("QzResForm"), nullptr);
  f->ToolWindows().Window<TQzResForm>("QzResForm")->show();
  f->ToolWindows().Window<TQzResForm>("QzResForm")->FlushRefresh();
  const QString before = f->ToolWindows().Window<TQzResForm>("QzResForm")->FreqPanel()->text();
  w->show();
  w->findChild<QPushButton*>("btMeaTun")->click();
  EXPECT_EQ(w->StatusPanel(), "\"Measure & Tune\" OK");
  f->ToolWindows().Window<TQzResForm>("QzResForm")->FlushRefresh();
  EXPECT_NE(f->ToolWindows().Window<TQzResForm>("QzResForm")->FreqPanel()->text(), before);
  const TMotState& mot = f->Core().Mot;
  EXPECT_EQ(mot.TunePos, mot.ActPos);
  // The positions shown are the tuner picture's, in steps at first.
  EXPECT_EQ(w->findChild<QLabel*>("lbAct1")->text(), QString::number(mot.ActPos[1]));
  // Autotune through the window: the tuner picture's AT button follows.
  w->findChild<QCheckBox*>("cbAutotune")->setChecked(true);
  w->findChild<QPushButton*>("btAutotuneSet")->click();
  EXPECT_TRUE(mot.AtOn);
  // F1 opens the window's own help page.
  QTest::keyClick(w->findChild<QPushButton*>("btMeaTun"), Qt::Key_F1);
  ASSERT_NE(f->ToolWindows().Window<THelpViewer>("HelpViewer"), nullptr);
  EXPECT_TRUE(f->ToolWindows()
                  .Window<THelpViewer>("HelpViewer")
                  ->CurrentPage()
                  .endsWith("help/single-shot-commands.html"))
      << f->ToolWindows().Window<THelpViewer>("HelpViewer")->CurrentPage().toStdString();
  EXPECT_FALSE(f->isMinimized());
}

TEST_F(Form1SetupDlg, SingleShotSectionReadOnlyAtStart) {
  WriteAll(Auto(), "[TrgForm]\r\nVisible=1\r\nTop=40\r\nLeft=50\r\nIndic=0\r\n");
  TForm1* f = Started();
  ASSERT_NE(f->ToolWindows().Window<TTrgForm>("TrgForm"), nullptr);
  EXPECT_TRUE(f->ToolWindows().Window<TTrgForm>("TrgForm")->isVisible());
  EXPECT_EQ(f->ToolWindows().Window<TTrgForm>("TrgForm")->Cmds().Indic, kIndicMm);
  // A loaded setup leaves the window alone; saving writes its section.
  IniFile in;
  in.SetText("[QuzarForm]\nTop=0\n[TrgForm]\nVisible=0\nIndic=1\n");
  f->Setup().LoadSetup(in);
  EXPECT_TRUE(f->ToolWindows().Window<TTrgForm>("TrgForm")->isVisible());
  EXPECT_EQ(f->ToolWindows().Window<TTrgForm>("TrgForm")->Cmds().Indic, kIndicMm);
  IniFile out;
  QString error;
  ASSERT_TRUE(f->Setup().WriteSetup(out, "c", error)) << error.toStdString();
  EXPECT_EQ(out.ReadInteger("TrgForm", "Visible", 0), 1);
  EXPECT_EQ(out.ReadInteger("TrgForm", "Indic", -1), 0);
}

TEST_F(Form1SetupDlg, PowerCalibrationDialogCreatedAtStart) {
  TForm1* f = Made();
  TPowCal* d = f->ToolWindows().Window<TPowCal>("PowCalDlg");
  ASSERT_NE(d, nullptr);
  EXPECT_FALSE(d->isVisible());
  StartUnit();
  f->show();
  f->Core().Qv.UserPowCorr = 2.0f;
  d->open();
  EXPECT_TRUE(d->isModal());
  EXPECT_EQ(d->CurrentText(), "2");
  // Help opens the viewer at the dialog's page, usable beside the modal dialog.
  d->findChild<QPushButton*>("btHelp")->click();
  ASSERT_NE(f->ToolWindows().Window<THelpViewer>("HelpViewer"), nullptr);
  EXPECT_TRUE(f->ToolWindows()
                  .Window<THelpViewer>("HelpViewer")
                  ->CurrentPage()
                  .endsWith("help/power-calibration.html"));
  EXPECT_EQ(f->ToolWindows().Window<THelpViewer>("HelpViewer")->parentWidget(), d);
  EXPECT_FALSE(f->isMinimized());
  asker.QueueButton(mbYes);
  d->findChild<QPushButton*>("btRestore")->click();
  EXPECT_FALSE(d->isVisible());
  EXPECT_EQ(f->Core().Qv.UserPowCorr, 1.0f);
  EXPECT_EQ(f->ToolWindows().Window<THelpViewer>("HelpViewer")->parentWidget(), f);
}

}  // namespace
}  // namespace qz
