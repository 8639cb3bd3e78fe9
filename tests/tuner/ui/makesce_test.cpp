// The scenario generator window on the offscreen platform: a cancelled generation leaves the
// scenario alone, the event loop keeps running while the rows are computed, the saved scenario
// reads back as a scenario file, the caption follows the transform and the setup round trip.
// A picture of the window is written when QZ_SCREENSHOT_DIR names a folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <thread>

#include "common/freshprofile.h"
#include "common/tunerrig.h"
#include "core/bilintransf.h"
#include "tuner/makescestp.h"
#include "tuner/scefile.h"
#include "tuner/ui/makesce.h"
#include "util/asker.h"
#include "util/inifile.h"
#include "util/ui/dialogparent.h"
#include "util/ui/screen.h"

namespace qz {
namespace {

class MakeSceWin : public qz::testing::FreshProfileTest {
 protected:
  void SetUp() override {
    FreshProfileTest::SetUp();
    if (HasFatalFailure()) return;
    asker.quiet = true;
    w = std::make_unique<TMakeSceForm>(
        rig.m, bt, [] { return testing::kTunerRigFreq; }, nullptr, &asker);
    w->workers = 2;
  }
  void TearDown() override {
    w.reset();
    FreshProfileTest::TearDown();
  }
  void SetEntry(const char* name, const QString& text) {
    w->findChild<QLineEdit*>(QString::fromLatin1(name))->setText(text);
  }
  // Runs the event loop until the window reports the end of its generation.
  bool RunUntilFinished() {
    bool finished = false;
    const auto c =
        QObject::connect(w.get(), &TMakeSceForm::GenerationFinished, [&] { finished = true; });
    QElapsedTimer t;
    t.start();
    while (!finished && t.elapsed() < 60000) QApplication::processEvents(QEventLoop::AllEvents, 20);
    QObject::disconnect(c);
    return finished;
  }

  testing::TunerRig rig;
  TBilinTransf bt;
  std::unique_ptr<TMakeSceForm> w;
};

TEST_F(MakeSceWin, CancelAtTheFirstStepOfTheDensestGridKeepsTheScenario) {
  SetEntry("edRstop", QStringLiteral("1000"));
  SetEntry("edRstep", QStringLiteral("10"));
  w->findChild<QWidget*>(QStringLiteral("rbCirc"))->setProperty("checked", true);
  w->CreateList();
  EXPECT_EQ(w->InputText().count(QChar('\n')) + 1, 1 + 31731 + 1 + 1);
  const QString old = QStringLiteral("[Scenario Info]\nSceInfo = old\n[Page1]");
  // The output memo is set through the input's twin: Add Sce on an empty list is refused.
  w->findChild<QWidget*>(QStringLiteral("memoOut"))->setProperty("plainText", old);
  w->workerHook = [this](int) { w->CancelGeneration(); };
  w->MakeSce(false);
  ASSERT_TRUE(RunUntilFinished());
  EXPECT_EQ(w->OutputText(), old);
  EXPECT_FALSE(w->Busy());
}

TEST_F(MakeSceWin, ClosingDuringAGenerationWaitsForIt) {
  SetEntry("edRstep", QStringLiteral("10"));
  w->CreateList();
  std::atomic<int> steps{0};
  w->workerHook = [&](int) { ++steps; };
  w->MakeSce(false);
  ASSERT_TRUE(w->Busy());
  w.reset();  // cancels and joins the worker; nothing runs on afterwards
  const int after = steps.load();
  QApplication::processEvents();
  EXPECT_EQ(steps.load(), after);
}

TEST_F(MakeSceWin, EventLoopRunsDuringGenerationAndLiveRecordsStay) {
  rig.mot.Targ_mU = 40;
  rig.mot.Toler_mU = 20;
  rig.mot.HystDg = 3;
  rig.mot.TargPos = MakeMotPos(5, 6, 7);
  const TMotState before = rig.mot;
  w->CreateList();  // initial entries: Rect, 613 points and the match
  std::atomic<bool> fired{false};
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] { fired = true; });
  timer.start(10);
  // The worker waits for the timer, so the test does not depend on the machine's speed.
  w->workerHook = [&](int) {
    for (int i = 0; i < 1000 && !fired; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
  };
  w->MakeSce(false);
  EXPECT_TRUE(w->Busy());
  ASSERT_TRUE(RunUntilFinished());
  EXPECT_TRUE(fired);
  const QStringList out = w->OutputText().split(QChar('\n'));
  // 613 grid points and the match; Skip Matches drops the grid's own centre.
  ASSERT_EQ(out.size(), 3 + 613);
  EXPECT_EQ(out[1],
            QStringLiteral("SceInfo = QZTU V1.0/0. Transf=NO. 0 to 700 step 50 mU. Rot=0 dg."));
  EXPECT_EQ(out[2], QStringLiteral("[Page1]"));
  EXPECT_TRUE(out.last().startsWith(QStringLiteral("613\t=\t0.000\t0.000\t0.000\t500\t")));
  // A picture of the window with both memos filled when QZ_SCREENSHOT_DIR names a folder.
  if (const QString shots = qEnvironmentVariable("QZ_SCREENSHOT_DIR"); !shots.isEmpty()) {
    w->show();
    QApplication::processEvents();
    EXPECT_TRUE(w->grab().save(QDir(shots).filePath(QStringLiteral("makesce.png"))));
  }
  EXPECT_EQ(rig.mot.Targ_mU, before.Targ_mU);
  EXPECT_EQ(rig.mot.Toler_mU, before.Toler_mU);
  EXPECT_EQ(rig.mot.HystDg, before.HystDg);
  EXPECT_EQ(rig.mot.TargPos, before.TargPos);

  // Saved through the atomic writer with CR LF, and read back as a scenario file.
  const QString path = QDir(dir.path()).filePath(QStringLiteral("gen.sce"));
  asker.QueueFile(path);
  QMetaObject::invokeMethod(w->findChild<QWidget*>(QStringLiteral("SaveSce")), "click");
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray bytes = f.readAll();
  EXPECT_TRUE(bytes.contains("[Page1]\r\n1\t=\t"));
  const TSceReadResult r = ReadSceBytes(bytes);
  ASSERT_TRUE(r.ok) << r.errors.join(QChar('|')).toStdString();
  ASSERT_EQ(r.pages.size(), 1u);
  EXPECT_EQ(r.pages[0].LastRow(), 613);
  EXPECT_EQ(w->ScePath(), path);
}

TEST_F(MakeSceWin, ErrorsOfTheEntriesAndAnEmptySave) {
  SetEntry("edRstep", QStringLiteral("x"));
  w->CreateList();
  EXPECT_EQ(w->findChild<QLineEdit*>(QStringLiteral("edRstep"))->text(), QStringLiteral("100"));
  QMetaObject::invokeMethod(w->findChild<QWidget*>(QStringLiteral("SaveSce")), "click");
  const auto msgs = asker.Records(TAskRecord::Message);
  ASSERT_EQ(msgs.size(), 2u);
  EXPECT_EQ(msgs[0].text, QStringLiteral("Incorrect inputs:  - Step (x).\r\nChanged to defaults."));
  EXPECT_EQ(msgs[1].text, QStringLiteral("No data to save - procedure aborted"));
}

TEST_F(MakeSceWin, CaptionOptionStatesAndSetupRoundTrip) {
  w->show();
  EXPECT_EQ(w->windowTitle(), QStringLiteral("Create Scenario (Not Transformed)"));
  bt.FEnabled = true;
  bt.FActive = true;
  w->FrmCaption();
  EXPECT_EQ(w->windowTitle(), QStringLiteral("Create Scenario (Transformed)"));
  auto* seg = w->findChild<QCheckBox*>(QStringLiteral("cbSegment"));
  auto* cw = w->findChild<QCheckBox*>(QStringLiteral("cbClockwise"));
  auto* sh = w->findChild<QCheckBox*>(QStringLiteral("cbShuttle"));
  EXPECT_FALSE(cw->isEnabled());
  EXPECT_FALSE(sh->isEnabled());
  EXPECT_FALSE(w->findChild<QLineEdit*>(QStringLiteral("edStartAngle"))->isEnabled());
  seg->setChecked(true);
  EXPECT_TRUE(cw->isEnabled());
  EXPECT_FALSE(sh->isEnabled());
  w->findChild<QWidget*>(QStringLiteral("rbCirc"))->setProperty("checked", true);
  EXPECT_TRUE(sh->isEnabled());
  SetEntry("edRot", QStringLiteral("33"));
  IniFile ini;
  w->WriteStp(ini);
  TMakeSceForm other(rig.m, bt, {}, nullptr, &asker);
  other.ReadStp(ini);
  IniFile again;
  other.WriteStp(again);
  // Entries and options read back as written (the place follows the screen's size).
  auto settings = [](const IniFile& f) {
    QStringList l = f.SectionLines(QString::fromLatin1(kMakeSceSection));
    l.removeIf([](const QString& x) {
      return x.startsWith("Top=") || x.startsWith("Left=") || x.startsWith("Width=") ||
             x.startsWith("Height=");
    });
    return l;
  };
  EXPECT_EQ(settings(again).size(), 13);
  EXPECT_EQ(settings(again), settings(ini));
  EXPECT_EQ(other.findChild<QLineEdit*>(QStringLiteral("edRot"))->text(), QStringLiteral("33"));
  // A stored size below the least one is raised to it.
  ini.WriteInteger(QString::fromLatin1(kMakeSceSection), QStringLiteral("Width"), 100);
  ini.WriteInteger(QString::fromLatin1(kMakeSceSection), QStringLiteral("Left"), -20);
  other.ReadStp(ini);
  EXPECT_EQ(other.width(), 640);
  EXPECT_EQ(other.x(), 0);
}

TEST_F(MakeSceWin, ThePlaceFollowsItsSetupWithinTheWindowsLimits) {
  const TFixedScreen screen(QSize(1280, 1024));
  const TScopedScreen scoped(&screen);
  // Its eleven buttons in two rows leave it narrower than its least stored width.
  EXPECT_LE(w->minimumSizeHint().width(), 640);
  EXPECT_LE(w->minimumWidth(), 640);
  const QString s = QString::fromLatin1(kMakeSceSection);
  struct Case {
    const char* text;
    int left, top, width, height;  // outer corner, client size
  };
  const Case cases[] = {
      {"Top=100\nLeft=200\nWidth=640\nHeight=300", 200, 100, 640, 300},
      {"Top=100\nLeft=200\nWidth=300\nHeight=100", 200, 100, 640, 250},
      {"Top=-40\nLeft=5000\nWidth=5000\nHeight=5000", 1230, 0, 1180, 924},
      {"Top=12\nLeft=34\nWidth=777\nHeight=444", 34, 12, 777, 444},
  };
  for (const Case& c : cases) {
    IniFile ini;
    ini.SetText(QByteArray("[MakeSce]\n") + c.text + "\n");
    TMakeSceForm f(rig.m, bt, {}, nullptr, &asker);
    f.ReadStp(ini);
    // The height never below what the window's controls need (more than the least stored one);
    // whatever it got is what it writes.
    const int height = std::max(c.height, f.minimumSizeHint().height());
    EXPECT_EQ(f.pos(), QPoint(c.left, c.top)) << c.text;
    f.show();
    QApplication::processEvents();
    EXPECT_EQ(f.size(), QSize(c.width, height)) << c.text << " (shown)";
    IniFile out;
    f.WriteStp(out);
    EXPECT_EQ(out.ReadInteger(s, QStringLiteral("Width"), -1), c.width) << c.text;
    EXPECT_EQ(out.ReadInteger(s, QStringLiteral("Height"), -1), height) << c.text;
  }
  // The window's rule is the setup's: corner 50 inside, width 640 .., height 250 .., sizes up
  // to the screen less 100.
  EXPECT_EQ(kMakeScePlaceRule.keys, TPlaceKeys(pkTop | pkLeft | pkWidth | pkHeight));
  EXPECT_EQ(kMakeScePlaceRule.posMargin, 50);
  EXPECT_EQ(kMakeScePlaceRule.minWidth, 640);
  EXPECT_EQ(kMakeScePlaceRule.minHeight, 250);
  EXPECT_EQ(kMakeScePlaceRule.sizeMargin, 100);
}

TEST_F(MakeSceWin, AFreshProfileOpensItBesideTheAskingWindowInsideTheScreen) {
  const TFixedScreen screen(QSize(1280, 1024), QRect(0, 0, 1280, 1000));
  const TScopedScreen scoped(&screen);
  QWidget asking(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint);
  asking.setGeometry(900, 600, 300, 380);
  asking.show();
  TMakeSceForm f(rig.m, bt, {}, nullptr, &asker);
  f.ReadStp(IniFile());
  ShowAbove(f, &asking);
  QApplication::processEvents();
  const QRect frame = f.frameGeometry();
  // Title bar and borders on the screen's available area, beside (not over) the asking window.
  EXPECT_GE(frame.top(), 0);
  EXPECT_GE(frame.left(), 0);
  EXPECT_LE(frame.right(), 1279);
  EXPECT_LE(frame.bottom(), 999);
  EXPECT_FALSE(frame.intersects(asking.frameGeometry()));
  EXPECT_TRUE(f.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  // The progress box of a generation is titled as the window.
  SetEntry("edRstop", QStringLiteral("300"));
  SetEntry("edRstep", QStringLiteral("10"));
  w->CreateList();
  w->show();
  w->MakeSce(false);
  auto* progress = w->findChild<QWidget*>(QStringLiteral("makeSceProgress"));
  ASSERT_NE(progress, nullptr);
  EXPECT_EQ(progress->windowTitle(), w->windowTitle());
  EXPECT_FALSE(progress->windowFlags().testFlag(Qt::WindowCloseButtonHint));
  EXPECT_TRUE(RunUntilFinished());
}

}  // namespace
}  // namespace qz
