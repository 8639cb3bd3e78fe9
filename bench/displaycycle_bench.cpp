// The window program's measurement cycle with display windows: the frame window with four
// display windows (Mag, LogMag, Z-Smith, Power) against the same cycle without any, results
// windows hidden, the model's pause at 0, on the offscreen platform, at 101 and at 20001 points
// per sweep, in alternating rounds. Each run lasts a fixed number of frames and is ended by a Space
// key sent to a display window (with none open, by Run/Pause). Reports frames per second, the cost
// of the displays as a share of the frame rate without them, and the longest gap of a 10 ms timer.
// Not a test: run it on a Release build.
//
//   bench_displaycycle [frames [rounds]]   (defaults 20000 and 4)

#include <QApplication>
#include <QElapsedTimer>
#include <QMdiArea>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/simcore.h"
#include "app/ui/form1.h"
#include "display/ui/displaywindows.h"
#include "display/ui/gdisplform.h"
#include "results/ui/qzresform.h"
#include "results/ui/qzsmallfrm.h"
#include "sim/ui/qzmdl.h"
#include "util/asker.h"
#include "windowbenchrig.h"

namespace {

struct TRunFigures {
  double framesPerSecond = 0;
  long long longestGapMs = 0;
};

TRunFigures RunFrames(qz::TForm1& form, int64_t frames) {
  QElapsedTimer clock;
  qint64 lastTick = -1;
  qint64 longestGap = 0;
  QTimer tick;
  tick.setTimerType(Qt::PreciseTimer);
  tick.setInterval(10);
  QObject::connect(&tick, &QTimer::timeout, [&] {
    const qint64 now = clock.elapsed();
    if (lastTick >= 0) longestGap = std::max(longestGap, now - lastTick);
    lastTick = now;
  });
  const int64_t start = form.Core().Cycle.Passes();
  bool ended = false;
  QTimer watch;
  watch.setInterval(0);
  QObject::connect(&watch, &QTimer::timeout, [&] {
    if (ended || form.Core().Cycle.Passes() - start < frames) return;
    ended = true;
    const auto wins = form.Displays().Windows();
    if (wins.empty()) {
      form.miSweepClick();
    } else {
      wins[0]->Panel()->setFocus();
      QTest::keyClick(wins[0]->Panel(), Qt::Key_Space);
    }
  });
  clock.start();
  tick.start();
  watch.start();
  form.miSweepClick();
  const double elapsed = clock.elapsed() / 1000.0;
  tick.stop();
  watch.stop();
  const int64_t done = form.Core().Cycle.Passes() - start;
  return {done / elapsed, static_cast<long long>(longestGap)};
}

// The run with the median frame rate and, over all runs, the longest timer gap.
TRunFigures Median(std::vector<TRunFigures> runs) {
  long long gap = 0;
  for (const TRunFigures& r : runs) gap = std::max(gap, r.longestGapMs);
  std::sort(runs.begin(), runs.end(), [](const TRunFigures& a, const TRunFigures& b) {
    return a.framesPerSecond < b.framesPerSecond;
  });
  TRunFigures m = runs[runs.size() / 2];
  m.longestGapMs = gap;
  return m;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace qz;
  QTemporaryDir profile;
  bench::UseOffscreenAndProfile(profile);
  QApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C");
  const int64_t frames = argc > 1 ? std::max(100, std::atoi(argv[1])) : 20000;

  TScriptedAsker asker;
  asker.quiet = true;
  TScopedAsker scoped(&asker);
  TForm1 form;
  if (!bench::StartAtFullSpeed(form)) return 1;
  form.resize(1200, 900);
  form.show();
  bench::ModelWithoutPause(form);
  form.ResForm()->hide();
  form.SmallFrm()->hide();

  // Runs with and without displays alternate, so that a change of the machine's load falls on
  // both alike; the median run of each kind is reported.
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 4;
  for (int32_t points : {101, 20001}) {
    form.Core().Qv.PtsPerSwp = points;
    std::vector<TRunFigures> bare, shown;
    auto runBare = [&] {
      form.Displays().CloseAll();
      // Closed windows go with their timers before the run (there is no outer event loop here).
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
      for (int i = 0; i < 10; ++i) QApplication::processEvents();
      bare.push_back(RunFrames(form, frames));
    };
    auto runShown = [&] {
      form.Displays().CloseAll();
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
      for (int32_t type : {diMag, diLogMag, diZSmith, diPower}) {
        TGDisplForm* w = form.Displays().CreateDisplay();
        w->RecreateDisplay(XTypeOf(type), type);
      }
      form.Mdi()->tileSubWindows();
      for (int i = 0; i < 10; ++i) QApplication::processEvents();
      shown.push_back(RunFrames(form, frames));
    };
    // Each round in the other order than the one before (bare-shown, shown-bare, ...).
    for (int round = 0; round < rounds; ++round) {
      if (round % 2 == 0) {
        runBare();
        runShown();
      } else {
        runShown();
        runBare();
      }
    }
    const TRunFigures b = Median(bare), w = Median(shown);
    std::printf(
        "%d points per sweep, %lld frames, median of %d: without displays %.0f frames/s (gap %lld "
        "ms); with four displays %.0f frames/s (gap %lld ms); displays cost %.1f %% of the frame "
        "rate\n",
        points, static_cast<long long>(frames), rounds, b.framesPerSecond, b.longestGapMs,
        w.framesPerSecond, w.longestGapMs, 100.0 * (1.0 - w.framesPerSecond / b.framesPerSecond));
    for (int round = 0; round < rounds; ++round)
      std::printf("  round %d: %.0f / %.0f frames/s\n", round + 1,
                  bare[size_t(round)].framesPerSecond, shown[size_t(round)].framesPerSecond);
    std::fflush(stdout);
  }
  form.ExitNoSetupClick();
  return 0;
}
