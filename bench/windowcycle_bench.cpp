// The window program's measurement cycle at full speed: the frame window with both results
// windows and the logging window visible, the model's pause at 0, on the offscreen platform.
// Reports the frames per second and the longest gap of a 10 ms timer that runs meanwhile (the
// window stays responsive when that gap stays short). Not a test: run it on a Release build.
//
//   bench_windowcycle [seconds]   (default 5)
//   QZ_BENCH_EVERY=S   also the rate of every S seconds of the measured run
//   QZ_BENCH_RUNS=N    N runs of that length in one process, the rate of each

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>

#include "app/simcore.h"
#include "app/ui/form1.h"
#include "results/ui/logform.h"
#include "results/ui/qzresform.h"
#include "results/ui/qzsmallfrm.h"
#include "sim/ui/qzmdl.h"
#include "util/asker.h"
#include "windowbenchrig.h"

int main(int argc, char** argv) {
  using namespace qz;
  QTemporaryDir profile;
  bench::UseOffscreenAndProfile(profile);
  QApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C");
  const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;

  bench::TBenchProgram program;
  if (!program.Start()) return 1;
  TForm1& form = program.form;
  form.ToolWindows().Window<TQzResForm>("QzResForm")->show();
  form.ToolWindows().Window<TQzSmallFrm>("QzSmallFrm")->show();
  form.ToolWindows().Window<TLogForm>("LogForm")->show();
  for (int i = 0; i < 10; ++i) QApplication::processEvents();

  // A 10 ms timer: the longest time between two of its ticks while the cycle runs.
  QElapsedTimer clock;
  qint64 lastTick = -1;
  qint64 longestGap = 0;
  QTimer tick;
  tick.setTimerType(Qt::PreciseTimer);
  tick.setInterval(10);
  QObject::connect(&tick, &QTimer::timeout, [&] {
    const qint64 now = clock.elapsed();
    if (lastTick >= 0) longestGap = std::max(longestGap, now - lastTick);
    if (qEnvironmentVariableIsSet("QZ_BENCH_GAPS") && lastTick >= 0 && now - lastTick > 20)
      std::printf("gap of %lld ms at %lld ms\n", static_cast<long long>(now - lastTick),
                  static_cast<long long>(now));
    lastTick = now;
  });
  // QZ_BENCH_EVERY=S prints the frame rate of every S seconds, to see whether it holds.
  QTimer every;
  int64_t everyPasses = 0;
  QElapsedTimer everyClock;
  if (const int s = qEnvironmentVariableIntValue("QZ_BENCH_EVERY"); s > 0) {
    every.setInterval(s * 1000);
    QObject::connect(&every, &QTimer::timeout, [&] {
      const int64_t p = form.Core().Cycle.Passes();
      std::printf("%6.1f s: %.0f frames/s\n", clock.elapsed() / 1000.0,
                  (p - everyPasses) * 1000.0 / std::max<qint64>(1, everyClock.restart()));
      std::fflush(stdout);
      everyPasses = p;
    });
  }
  // QZ_BENCH_RUNS=N first makes N-1 runs of the same length, each started and paused as the
  // operator does, printing the rate of each; a rate that falls from run to run shows a cost
  // that grows with every run.
  for (int run = 1; run < qEnvironmentVariableIntValue("QZ_BENCH_RUNS"); ++run) {
    QElapsedTimer runClock;
    runClock.start();
    QTimer::singleShot(seconds * 1000, &form, [&] { form.miSweepClick(); });
    form.miSweepClick();
    std::printf("run %d: %.0f frames/s\n", run,
                form.Core().Cycle.Passes() * 1000.0 / std::max<qint64>(1, runClock.elapsed()));
    std::fflush(stdout);
  }
  // The run is ended as a second Run/Pause does; its counters start with it.
  QTimer::singleShot(seconds * 1000, &form, [&] { form.miSweepClick(); });
  clock.start();
  tick.start();
  if (every.interval() > 0) {
    everyClock.start();
    every.start();
  }
  form.miSweepClick();  // returns when the run has ended
  const double elapsed = clock.elapsed() / 1000.0;
  tick.stop();
  const int64_t frames = form.Core().Cycle.Passes();
  std::printf(
      "window cycle: %lld frames in %.2f s = %.0f frames/s; longest gap of a 10 ms timer "
      "%lld ms\n",
      static_cast<long long>(frames), elapsed, frames / elapsed,
      static_cast<long long>(longestGap));
  std::printf("results window shows: %s\n",
              qPrintable(form.ToolWindows().Window<TQzResForm>("QzResForm")->MagPanel()->text()));
  form.ExitNoSetupClick();
  return 0;
}
