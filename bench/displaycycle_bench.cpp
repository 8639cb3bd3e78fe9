// The window program's measurement cycle with display windows: the frame window with four
// display windows (Mag, LogMag, Z-Smith, Power) against the same cycle without any, results
// windows hidden, the model's pause at 0, on the offscreen platform, at 101 and at 20001 points
// per sweep, in alternating rounds. Each run lasts a fixed number of frames and is ended by a Space
// key sent to a display window (with none open, by Run/Pause). Reports frames per second, the cost
// of the displays as a share of the frame rate without them, and the longest gap of a 10 ms timer.
// Not a test: run it on a Release build.
//
//   bench_displaycycle [frames [rounds [points]]]   (defaults 20000, 9, and both 101 and 20001)

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
#include <ctime>
#include <vector>

#include "app/simcore.h"
#include "app/ui/form1.h"
#include "core/qvwin.h"
#include "display/ui/displaywindows.h"
#include "display/ui/gdisplform.h"
#include "results/ui/qzresform.h"
#include "results/ui/qzsmallfrm.h"
#include "sim/ui/qzmdl.h"
#include "util/asker.h"
#include "windowbenchrig.h"

namespace {

struct TRunFigures {
  double framesPerSecond = 0;     // per second of wall time
  double framesPerCpuSecond = 0;  // per second the cycle's thread was on a processor
  long long longestGapMs = 0;
};

// Processor time of the calling thread: on a machine shared with other work the wall-clock rate
// follows the share of the processor the run happens to get; this does not.
double ThreadCpuSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

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
  // The cycle counts the passes of the present run (from 0 at its start).
  bool ended = false;
  QTimer watch;
  watch.setInterval(0);
  QObject::connect(&watch, &QTimer::timeout, [&] {
    if (ended || form.Core().Cycle.Passes() < frames) return;
    ended = true;
    const auto wins = form.Displays().Windows();
    if (wins.empty()) {
      form.miSweepClick();
    } else {
      wins[0]->Panel()->setFocus();
      QTest::keyClick(wins[0]->Panel(), Qt::Key_Space);
    }
  });
  const double cpuStart = ThreadCpuSeconds();
  clock.start();
  tick.start();
  watch.start();
  form.miSweepClick();
  const double elapsed = double(clock.nsecsElapsed()) * 1e-9;
  const double cpu = ThreadCpuSeconds() - cpuStart;
  tick.stop();
  watch.stop();
  const int64_t done = form.Core().Cycle.Passes();
  return {done / elapsed, done / cpu, static_cast<long long>(longestGap)};
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

  bench::TBenchProgram program;
  if (!program.Start(QSize(1200, 900))) return 1;
  TForm1& form = program.form;
  form.ToolWindows().Window<TQzResForm>("QzResForm")->hide();
  form.ToolWindows().Window<TQzSmallFrm>("QzSmallFrm")->hide();

  // Runs with and without displays alternate, so that a change of the machine's speed falls on
  // both alike.
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 9;
  std::vector<int32_t> pointCounts = {101, 20001};
  if (argc > 3) pointCounts = {std::clamp(std::atoi(argv[3]), kPtsPerSwpMin, kPtsPerSwpMax)};
  for (int32_t points : pointCounts) {
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
    // A first run is not counted: it starts the model's frames and warms the caches.
    runBare();
    bare.clear();
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
    // The cost is taken per round (two neighbouring runs see nearly the same machine), from the
    // wall-clock rates and from the processor-time rates, and the median of the rounds reported.
    auto costOf = [&](double TRunFigures::*rate) {
      std::vector<double> costs;
      for (int round = 0; round < rounds; ++round)
        costs.push_back(100.0 * (1.0 - shown[size_t(round)].*rate / bare[size_t(round)].*rate));
      std::sort(costs.begin(), costs.end());
      const size_t m = costs.size() / 2;
      return costs.size() % 2 ? costs[m] : (costs[m - 1] + costs[m]) / 2;
    };
    const TRunFigures b = Median(bare), w = Median(shown);
    std::printf(
        "%d points per sweep, %lld frames, %d rounds: without displays %.0f frames/s (gap %lld "
        "ms); with four displays %.0f frames/s (gap %lld ms); displays cost %.1f %% of the frame "
        "rate (%.1f %% by processor time; medians of the rounds)\n",
        points, static_cast<long long>(frames), rounds, b.framesPerSecond, b.longestGapMs,
        w.framesPerSecond, w.longestGapMs, costOf(&TRunFigures::framesPerSecond),
        costOf(&TRunFigures::framesPerCpuSecond));
    for (int round = 0; round < rounds; ++round) {
      const TRunFigures& x = bare[size_t(round)];
      const TRunFigures& y = shown[size_t(round)];
      std::printf("  round %d: %.0f / %.0f frames/s, %.0f / %.0f frames per processor second\n",
                  round + 1, x.framesPerSecond, y.framesPerSecond, x.framesPerCpuSecond,
                  y.framesPerCpuSecond);
    }
    std::fflush(stdout);
  }
  form.ExitNoSetupClick();
  return 0;
}
