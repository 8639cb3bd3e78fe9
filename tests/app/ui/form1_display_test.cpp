#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <functional>

#include "app/simcore.h"
#include "app/ui/form1.h"
#include "common/testfiles.h"
#include "core/qvwin.h"
#include "display/ui/displaywindows.h"
#include "display/ui/gdisplform.h"
#include "util/asker.h"
#include "util/folders.h"

namespace qz {
namespace {

// The frame window started on a profile of its own, with display windows driven by real runs.
class Form1Displays : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    qputenv("QZSIM_PROFILE", dir.path().toLocal8Bit());
    ResetFolders();
    MakeUserFolder(QString::fromLatin1(kUserSubfolder), true);
    asker.quiet = true;
    f = std::make_unique<TForm1>();
    QString msg;
    ASSERT_TRUE(f->StartUnit(msg)) << msg.toStdString();
    f->resize(1000, 800);
    f->show();
    f->CreateDisplaysFromSetup();
  }
  void TearDown() override {
    if (f) f->ExitNoSetupClick();
    ResetFolders();
  }
  // A run that lasts until `until` says so (checked at every pumped event round).
  void RunUntil(const std::function<bool()>& until) {
    QTimer t;
    t.setInterval(0);
    QObject::connect(&t, &QTimer::timeout, [&] {
      if (until()) {
        t.stop();
        f->miSweepClick();
      }
    });
    t.start();
    f->miSweepClick();
  }
  int64_t Passes() { return f->Core().Cycle.AcceptedFrames(); }
  // The window's empty grid, as the reference of what traces add.
  static QImage Blank(TGDisplForm* w) {
    w->ClearChart();
    return w->Panel()->Image().copy();
  }
  // Pixels that differ from the empty grid, optionally only right of x.
  static int Drawn(TGDisplForm* w, const QImage& blank, int fromX = 0) {
    const QImage& img = w->Panel()->Image();
    if (img.size() != blank.size()) return -1;
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
      for (int x = fromX; x < img.width(); ++x)
        if (img.pixel(x, y) != blank.pixel(x, y)) ++n;
    return n;
  }

  QTemporaryDir dir;
  TScriptedAsker asker;
  TScopedAsker scoped{&asker};
  std::unique_ptr<TForm1> f;
};

TEST_F(Form1Displays, FreshProfileOpensOneInputMagnitudeWindow) {
  const auto w = f->Displays().Windows();
  ASSERT_EQ(w.size(), 1u);
  EXPECT_EQ(w[0]->windowTitle(), "Mag - Input");
  EXPECT_EQ(f->Mdi()->subWindowList().size(), 1);
}

TEST_F(Form1Displays, ClearAndGoOffKeepsTheChartWhenARunStarts) {
  TGDisplForm* keep = f->Displays().Windows()[0];
  keep->SetClearAndGo(false);
  TGDisplForm* clear = f->Displays().NewDisplay();
  QCoreApplication::processEvents();
  const QImage blankKeep = Blank(keep), blankClear = Blank(clear);
  RunUntil([&] { return Passes() >= 60; });
  f->Displays().RedrawAll();
  QCoreApplication::processEvents();
  const int before = Drawn(keep, blankKeep);
  ASSERT_GT(before, 50);
  ASSERT_GT(Drawn(clear, blankClear), 50);
  // The second run is looked at right after its first pass.
  int keptAtStart = -1, clearedAtStart = -1;
  int64_t passesAtLook = 0;
  RunUntil([&] {
    if (Passes() < 1) return false;
    passesAtLook = Passes();
    keptAtStart = Drawn(keep, blankKeep);
    clearedAtStart = Drawn(clear, blankClear);
    return true;
  });
  EXPECT_LE(passesAtLook, 2);
  EXPECT_GE(keptAtStart, before - 10);
  EXPECT_GE(clearedAtStart, 0);
  EXPECT_LT(clearedAtStart, 30);
}

TEST_F(Form1Displays, BlankAllThenImpressAllDrawsNothing) {
  f->Displays().NewDisplay()->RecreateDisplay(kXPoints, diPower);
  RunUntil([&] { return Passes() >= 30; });
  QCoreApplication::processEvents();
  const auto wins = f->Displays().Windows();
  // Impress All over empty charts draws the last sweep...
  for (TGDisplForm* w : wins) {
    const QImage blank = Blank(w);
    f->Displays().ImpressAll();
    EXPECT_GT(Drawn(w, blank), 20);
  }
  // ...and nothing once Blank All has emptied it.
  f->Displays().BlankAll();
  EXPECT_EQ(f->Core().Qv.LastSwp.Count(), 0);
  std::vector<QImage> blanks;
  for (TGDisplForm* w : wins) blanks.push_back(w->Panel()->Image().copy());
  f->Displays().ImpressAll();
  for (size_t i = 0; i < wins.size(); ++i) {
    EXPECT_EQ(wins[i]->Displ().TracesToDraw.MaxPoints(), 0);
    EXPECT_EQ(Drawn(wins[i], blanks[i]), 0);
  }
}

TEST_F(Form1Displays, SecondSweepReplacesTheFirstSegmentBySegment) {
  // The look is taken at a pump: pumped at every pass, it comes at the pass it waits for.
  f->Core().Cycle.SetPumpIntervalNs(0);
  TGDisplForm* w = f->Displays().Windows()[0];
  QCoreApplication::processEvents();
  const QImage blank = Blank(w);
  const int32_t n = f->Core().Qv.LastSwp.Nwanted();
  ASSERT_GT(n, 20);
  // A quarter into the second sweep (looked at during the run): the new points on the left,
  // the old sweep still on the right.
  int32_t points = -1;
  int right = 0, all = 0;
  RunUntil([&] {
    if (Passes() < n + n / 4) return false;
    const TRectI& chart = w->Displ().Grf->ChartRect;
    const int middle = (chart.left + chart.right) / 2;
    points = w->Displ().TracesToDraw.Trace(0)->GetCount();
    right = Drawn(w, blank, middle + 5);
    all = Drawn(w, blank);
    return true;
  });
  EXPECT_GT(points, 0);
  EXPECT_LE(points, n / 4 + 3);
  EXPECT_GT(right, 20);
  EXPECT_GT(all, right);
}

TEST_F(Form1Displays, RefillsLeaveTheMotorStateAndTheResult) {
  RunUntil([&] { return Passes() >= 20; });
  const TMotState mot = f->Core().Mot;
  const double pinc = f->Core().Qv.Res.Pinc;
  TGDisplForm* w = f->Displays().Windows()[0];
  f->Core().Mot.ActPos[1] = int16_t(mot.ActPos[1] + 7);
  w->RecreateDisplay(kXPoints, diPower);
  f->Displays().ImpressAll();
  f->Displays().RedrawAll();
  f->Displays().NewDisplay();
  EXPECT_EQ(f->Core().Mot.ActPos[1], mot.ActPos[1] + 7);
  EXPECT_EQ(f->Core().Qv.Res.Pinc, pinc);
  EXPECT_GT(w->Displ().TracesToDraw.MaxPoints(), 0);
}

TEST_F(Form1Displays, TransformChangeRefreshesTheCaptionsAndARunDisablesTheWindows) {
  TGDisplForm* w = f->Displays().Windows()[0];
  bool disabledDuringRun = false;
  TGDisplForm* madeDuringRun = nullptr;
  RunUntil([&] {
    disabledDuringRun = !w->ToolBar()->isEnabled();
    madeDuringRun = f->Displays().CreateDisplay();
    return true;
  });
  EXPECT_TRUE(disabledDuringRun);
  ASSERT_NE(madeDuringRun, nullptr);
  EXPECT_TRUE(w->ToolBar()->isEnabled());
  EXPECT_TRUE(madeDuringRun->ToolBar()->isEnabled());
}

TEST_F(Form1Displays, AWindowClosedDuringARunLeavesAtOnceAndTheRunGoesOn) {
  TGDisplForm* gone = f->Displays().NewDisplay();
  QPointer<TGDisplForm> watch(gone);
  size_t leftDuringRun = 0;
  int64_t closedAt = 0;
  RunUntil([&] {
    if (closedAt == 0 && Passes() >= 5) {
      gone->parentWidget()->close();
      leftDuringRun = f->Displays().Windows().size();
      closedAt = Passes();
    }
    return closedAt > 0 && Passes() >= closedAt + 20;
  });
  EXPECT_EQ(leftDuringRun, 1u);
  EXPECT_GE(Passes(), closedAt + 20);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(watch.isNull());
  EXPECT_EQ(f->Displays().Windows()[0]->Displ().TracesToDraw.MaxPoints(),
            f->Core().Qv.LastSwp.Count());
}

}  // namespace
}  // namespace qz
