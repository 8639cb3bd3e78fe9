// The "Scenario" window on the offscreen platform: pages as tabs, files loaded and refused, a
// play that moves the stubs and one that is stopped during a long dwell, typed cells, the
// popup menu and the setup section. A picture of the window during a play is written when
// QZ_SCREENSHOT_DIR names a folder.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QToolButton>

#include "common/freshprofile.h"
#include "common/scerig.h"
#include "common/tpicrig.h"
#include "tuner/scefile.h"
#include "tuner/ui/scenario.h"
#include "util/folders.h"
#include "util/inifile.h"

namespace qz {
namespace {

class ScenarioWin : public qz::testing::FreshProfileTest {
 protected:
  void SetUp() override {
    FreshProfileTest::SetUp();
    if (HasFatalFailure()) return;
    rig.cmd.SetFrameSource(&frames);
    w = std::make_unique<TScenario>(rig.m, rig.cmd, rig.qv, nullptr, nullptr, nullptr, &asker);
  }
  void TearDown() override {
    w.reset();
    FreshProfileTest::TearDown();
  }
  QString WriteFile(const char* name, const QByteArray& bytes) {
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
  }
  QToolButton* Button(const char* name) const {
    auto* b = w->findChild<QToolButton*>(QString::fromLatin1(name));
    EXPECT_NE(b, nullptr) << name;
    return b;
  }
  QStringList TabNames() const {
    QStringList n;
    for (int i = 0; i < w->Tabs()->count(); ++i) n << w->Tabs()->tabText(i);
    return n;
  }

  testing::TpicRig rig;
  testing::SceFrames frames;
  std::unique_ptr<TScenario> w;
};

TEST_F(ScenarioWin, EveryShowingAfterACloseStartsANewPage) {
  EXPECT_EQ(w->windowTitle(), QStringLiteral("Scenario"));
  EXPECT_EQ(w->objectName(), QStringLiteral("Scenario"));
  EXPECT_TRUE(w->windowFlags() & Qt::WindowStaysOnTopHint);
  w->show();
  EXPECT_EQ(TabNames(), QStringList{QStringLiteral("Page1")});
  EXPECT_EQ(w->Table(0)->objectName(), QStringLiteral("ts_1"));
  w->hide();
  w->show();
  EXPECT_EQ(TabNames().size(), 1);  // hiding is no close
  w->close();
  EXPECT_FALSE(w->isVisible());
  w->show();
  EXPECT_EQ(TabNames(), (QStringList{QStringLiteral("Page1"), QStringLiteral("Page2")}));
  // Tabs are named by the count of pages made, also after a page went.
  w->Book().SetActive(0);
  asker.QueueButton(mbYes);
  w->DeletePageClick();
  w->NewPageClick();
  EXPECT_EQ(TabNames(), (QStringList{QStringLiteral("Page2"), QStringLiteral("Page1")}));
  EXPECT_EQ(w->Table(1)->objectName(), QStringLiteral("ts_3"));
}

TEST_F(ScenarioWin, LoadShowsThePagesAndARefusedFileChangesNothing) {
  w->show();
  const QString good =
      WriteFile("good.sce",
                "[Scenario Info]\r\nSceInfo = test\r\n[Alpha]\r\n1\t=\t1.000\t2.000\t"
                "3.000\t500\tX\r\n[Beta]\r\n1=0 0 0 0\r\n2=1 1 1 1\r\n");
  ASSERT_TRUE(w->LoadFile(good));
  EXPECT_EQ(TabNames(), (QStringList{QStringLiteral("Alpha"), QStringLiteral("Beta")}));
  EXPECT_EQ(w->windowTitle(), QStringLiteral("good.sce"));
  EXPECT_EQ(w->Stp().ScenarioPath, good);
  EXPECT_EQ(w->Book().Info, QStringLiteral("test"));
  EXPECT_EQ(w->Table(0)->model()->index(0, 2).data().toString(), QStringLiteral("3.000"));
  EXPECT_EQ(w->Table(1)->model()->rowCount(), 3);  // two rows and the empty one
  EXPECT_EQ(w->Book().Page(0).Row(1).Extra, QStringLiteral("X"));

  const QString bad = WriteFile("bad.sce", "[Page1]\r\n3=1.0 2.0\r\n");
  EXPECT_FALSE(w->LoadFile(bad));
  EXPECT_EQ(asker.log.back().text,
            QStringLiteral("Error reading scenario file at Section \"Page1\", Row 1.\r\n"
                           "Error line: \"3=1.0 2.0\"\r\nOperation aborted."));
  EXPECT_EQ(TabNames(), (QStringList{QStringLiteral("Alpha"), QStringLiteral("Beta")}));
  EXPECT_EQ(w->windowTitle(), QStringLiteral("good.sce"));
}

TEST_F(ScenarioWin, SaveAndSaveAtExitWriteTheBook) {
  w->show();
  w->Book().Active().InsertRow(MakeSceRow(500, 1, 2, 3));
  const QString path = dir.filePath(QStringLiteral("out.sce"));
  asker.QueueFile(path);
  asker.QueueText(QStringLiteral("my comment"));
  w->SaveClick();
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), QByteArray("[Scenario Info]\r\nSceInfo = my comment\r\n[Page1]\r\n"
                                    "1\t=\t1.000\t2.000\t3.000\t500\r\n"));
  EXPECT_EQ(w->windowTitle(), QStringLiteral("out.sce"));
  EXPECT_EQ(w->SaveAtExit(), QString());
  EXPECT_TRUE(QFile::exists(InUserFolder(QStringLiteral("QzSim0.sce"))));

  // Nothing to save.
  w->Book().DeleteAll();
  w->SaveClick();
  EXPECT_EQ(asker.log.back().text, QStringLiteral("No data to save - procedure aborted"));
}

TEST_F(ScenarioWin, PlayMovesTheStubsAndReleasesTheButton) {
  w->show();
  TScePage& p = w->Book().Active();
  p.InsertRow(MakeSceRow(0, 1.0, 2.0, 3.0));
  p.InsertRow(MakeSceRow(0, 4.0, 5.0, 6.0));
  p.Select(1);
  Button("sbPlay")->click();
  const double mm = rig.m.Derived().StepMm;
  EXPECT_EQ(rig.mot.ActPos[1], int(RoundHalfEven(4.0 / mm)));
  EXPECT_EQ(rig.mot.ActPos[3], int(RoundHalfEven(6.0 / mm)));
  EXPECT_FALSE(Button("sbPlay")->isChecked());
  EXPECT_EQ(w->StatusText(), QString());
  EXPECT_TRUE(w->EditingEnabled());
}

TEST_F(ScenarioWin, StopEndsALongDwellAtOnce) {
  w->show();
  w->resize(420, 300);
  TScePage& p = w->Book().Active();
  for (int i = 1; i <= 4; ++i) p.InsertRow(MakeSceRow(10000, i, i, i));
  p.Select(1);
  bool sawPlaying = false;
  QString status;
  int slicesAtRelease = -1;
  QTimer::singleShot(150, w.get(), [&] {
    sawPlaying = w->Playing();
    status = w->StatusText();
    slicesAtRelease = w->WaitSlices();
    EXPECT_FALSE(w->EditingEnabled());
    EXPECT_FALSE(Button("sbAdd")->isEnabled());
    const QByteArray shots = qgetenv("QZ_SCREENSHOT_DIR");
    if (!shots.isEmpty()) {
      w->grab().save(
          QDir(QString::fromLocal8Bit(shots)).filePath(QStringLiteral("scenario_play.png")));
    }
    Button("sbPlay")->click();  // released
  });
  Button("sbPlay")->click();
  // The release ends the play within the wait slice it falls into: no slice follows it, and
  // the 10 s dwell (200 slices) is not waited out.
  EXPECT_GE(slicesAtRelease, 1);
  EXPECT_EQ(w->WaitSlices(), slicesAtRelease);
  EXPECT_LT(w->WaitSlices(), 200);
  EXPECT_TRUE(sawPlaying);
  EXPECT_EQ(status, QStringLiteral("Progress: 1 of 4"));
  EXPECT_FALSE(w->Playing());
  EXPECT_TRUE(w->EditingEnabled());
}

TEST_F(ScenarioWin, TypedCellsAndTheDwellDialog) {
  w->show();
  w->Book().Active().InsertRow(MakeSceRow(500, 1, 2, 3));
  QAbstractItemModel* m = w->Table(0)->model();
  EXPECT_TRUE(m->setData(m->index(0, 1), QStringLiteral("7,25")));
  EXPECT_EQ(m->index(0, 1).data().toString(), QStringLiteral("7.250"));
  EXPECT_FALSE(m->setData(m->index(0, 1), QStringLiteral("abc")));
  EXPECT_EQ(m->index(0, 1).data().toString(), QStringLiteral("7.250"));
  EXPECT_FALSE(m->flags(m->index(0, 3)) & Qt::ItemIsEditable);  // the dwell has its dialog
  asker.QueueText(QStringLiteral("1234"));
  w->CellClick(1, 4);
  EXPECT_EQ(asker.Records(TAskRecord::Input).back().extra, QStringLiteral("500"));
  EXPECT_EQ(w->Book().Active().Row(1).T, QStringLiteral("1234"));
}

TEST_F(ScenarioWin, MenuCaptionsMeasureAndSetup) {
  w->show();
  w->UpdateMenuCaptions();
  QStringList texts;
  for (QAction* a : w->PopupMenu()->actions()) texts << a->text();
  for (const char* t : {"&Dwell time  (500 ms)", "C&ount  (10)", "Adding &Period  (50)",
                        "Meas/Posit (1)", "Create"}) {
    EXPECT_TRUE(texts.contains(QString::fromLatin1(t))) << t;
  }
  asker.QueueText(QStringLiteral("3"));
  w->MeasPerPositClick();
  asker.QueueText(QStringLiteral("5000"));  // beyond 2048: limited
  w->CountClick();
  w->UpdateMenuCaptions();
  texts.clear();
  for (QAction* a : w->PopupMenu()->actions()) texts << a->text();
  EXPECT_TRUE(texts.contains(QStringLiteral("Meas/Posit (3)")));
  EXPECT_TRUE(texts.contains(QStringLiteral("C&ount  (2048)")));
  // Create waits for the generator.
  EXPECT_FALSE(Button("sbCre")->isEnabled());

  Button("sbMeasure")->click();
  EXPECT_TRUE(w->Stp().Measure);
  IniFile ini;
  w->WriteStp(ini);
  EXPECT_EQ(ini.ReadInteger("TuScenarioForm", "MeasPerPosit", 0), 3);
  EXPECT_EQ(ini.ReadString("TuScenarioForm", "sbMeasure", ""), QStringLiteral("1"));
  ini.WriteInteger("TuScenarioForm", "MeasPerPosit", 99999);
  ini.WriteString("TuScenarioForm", "sbMeasure", "0");
  w->ReadStp(ini);
  EXPECT_EQ(w->Stp().FMeasPerPosit, kMeasPerPositMax);
  EXPECT_FALSE(Button("sbMeasure")->isChecked());
}

}  // namespace
}  // namespace qz
