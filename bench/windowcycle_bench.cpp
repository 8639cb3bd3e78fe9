// The window program's measurement cycle at full speed: the frame window with both results
// windows and the logging window visible, the model's pause at 0, on the offscreen platform.
// Reports the frames per second and the longest gap of a 10 ms timer that runs meanwhile (the
// window stays responsive when that gap stays short). Not a test: run it on a Release build.
//
//   bench_windowcycle [seconds]   (default 5)

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
  form.ResForm()->show();
  form.SmallFrm()->show();
  form.LogWindow()->show();
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
  // Ends the run as a second Run/Pause does.
  QTimer::singleShot(seconds * 1000, &form, [&] { form.miSweepClick(); });

  const int64_t passes0 = form.Core().Cycle.Passes();
  clock.start();
  tick.start();
  form.miSweepClick();  // returns when the run has ended
  const double elapsed = clock.elapsed() / 1000.0;
  tick.stop();
  const int64_t frames = form.Core().Cycle.Passes() - passes0;
  std::printf(
      "window cycle: %lld frames in %.2f s = %.0f frames/s; longest gap of a 10 ms timer "
      "%lld ms\n",
      static_cast<long long>(frames), elapsed, frames / elapsed,
      static_cast<long long>(longestGap));
  std::printf("results window shows: %s\n", qPrintable(form.ResForm()->MagPanel()->text()));
  form.ExitNoSetupClick();
  return 0;
}
