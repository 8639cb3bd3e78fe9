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
#include "common/form1rig.h"
#include "common/testfiles.h"
#include "core/qvwin.h"
#include "display/ui/displaywindows.h"
#include "display/ui/gdisplform.h"
#include "sim/mdlentries.h"
#include "sim/ui/qzmdl.h"
#include "util/asker.h"
#include "util/folders.h"

namespace qz {
namespace {

// The frame window started on a profile of its own, with display windows driven by real runs.
class Form1Displays : public qz::testing::StartedForm1Test {
 protected:
  void SetUp() override {
    showForm = false;
    StartedForm1Test::SetUp();
    if (HasFatalFailure()) return;
    f = form.get();
    f->resize(1000, 800);
    f->show();
    f->CreateDisplaysFromSetup();
  }
  void TearDown() override {
    if (f) f->ExitNoSetupClick();
    StartedForm1Test::TearDown();
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

  TForm1* f = nullptr;
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

// What a window's traces look like: line colour and marker shape of each.
std::vector<std::pair<TColor, int32_t>> Looks(TGDisplForm* w) {
  std::vector<std::pair<TColor, int32_t>> r;
  const TTraces& t = w->Displ().TracesToDraw;
  for (int32_t j = 0; j < t.Count(); ++j)
    r.emplace_back(t.Trace(j)->Attr().LinePen.Color, t.Trace(j)->Attr().Dots.Tvar);
  return r;
}

TEST_F(Form1Displays, PowerTracesTakeTheirOwnSetsInEveryNewWindow) {
  // Red, blue, dark green (0x00BBGGRR); square, circle, diamond.
  const std::vector<std::pair<TColor, int32_t>> start{
      {0x0000FF, tvSquare}, {0xFF0000, tvCircle}, {0x008000, tvDiamond}};
  TGDisplForm* first = f->Displays().Windows()[0];
  first->RecreateDisplay(kXPoints, diPower);
  EXPECT_EQ(Looks(first), start) << "the window made at start-up";
  f->Mdi()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(first->parentWidget()));
  TGDisplForm* copied = f->Displays().NewDisplay();
  EXPECT_EQ(copied->Displ().AkeY, diPower);
  EXPECT_EQ(Looks(copied), start) << "New Display from a Power window";
  f->Displays().CloseAll();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  f->Displays().ResetDisplayDefaults();
  TGDisplForm* fresh = f->Displays().NewDisplay();
  fresh->RecreateDisplay(kXPoints, diPower);
  EXPECT_EQ(Looks(fresh), start) << "after ResetDisplayDefaults";
}

TEST_F(Form1Displays, LogPowerAtAMatchedLoadShowsThePincRowDuringAndAfterTheRun) {
  auto* mdl = f->ToolWindows().Window<TQzMdl>("Model");
  ASSERT_NE(mdl, nullptr);
  mdl->ToEntries();
  mdl->Presenter().Ent.DutType = kDutMatch;
  mdl->FromEntries();
  mdl->DoApply();
  f->Core().Cycle.SetPumpIntervalNs(0);
  TGDisplForm* w = f->Displays().Windows()[0];
  w->RecreateDisplay(kXPoints, diLogPower);
  QCoreApplication::processEvents();
  const QImage blank = Blank(w);
  // Pixels off the empty grid on the row of the last Pinc point.
  const auto onPincRow = [&] {
    const TOneTrace* pinc = w->Displ().TracesToDraw.Trace(0);
    if (pinc->GetCount() == 0) return -1;
    const int y = w->Displ().Grf->PointPixel(*pinc, pinc->GetCount() - 1).y;
    const QImage& img = w->Panel()->Image();
    int n = 0;
    for (int x = 0; x < img.width(); ++x)
      if (img.pixel(x, y) != blank.pixel(x, y)) ++n;
    return n;
  };
  const int32_t n = f->Core().Qv.LastSwp.Nwanted();
  int during = -1;
  RunUntil([&] {
    if (Passes() < n / 2) return false;
    during = onPincRow();
    return true;
  });
  // Pinc and Pabs are equal there (nothing is reflected), drawn in two colours.
  const THresults& res = f->Core().Qv.Res;
  EXPECT_NEAR(res.Pinc, res.Pabs, res.Pinc * 1e-6);
  EXPECT_GT(during, n / 4) << "during the run";
  QCoreApplication::processEvents();
  EXPECT_GT(onPincRow(), n / 4) << "after the run";
}

}  // namespace
}  // namespace qz
