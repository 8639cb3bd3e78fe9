// The cost of continuous data logging for the measurement cycle: the headless run measures the
// same number of frames without a log and with every frame logged, and prints both frame rates
// and the share of the rate that logging costs. Build with -DQZ_BUILD_BENCH=ON (Release) and run:
//   build-rel/bench/bench_logging [FRAMES]        (default 300000; best of three runs each)
#include <QCoreApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "app/cmdline.h"
#include "app/headless.h"

namespace {

double BestRate(qz::CommandLine cl, int runs) {
  double best = 0.0;
  for (int i = 0; i < runs; ++i) {
    QStringList messages;
    const qz::THeadlessReport r = qz::RunHeadless(cl, {}, &messages);
    if (r.exitCode != qz::kExitOk || r.seconds <= 0.0) {
      std::fprintf(stderr, "run failed: %s %s\n", qPrintable(r.error),
                   qPrintable(messages.join(QLatin1Char(' '))));
      std::exit(1);
    }
    best = std::max(best, double(r.frames) / r.seconds);
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  QTemporaryDir profile;
  qputenv("QZSIM_PROFILE", profile.path().toLocal8Bit());
  QCoreApplication app(argc, argv);
  const int frames = argc > 1 ? std::max(1000, std::atoi(argv[1])) : 300000;

  qz::CommandLine cl;
  cl.headless = true;
  cl.passes = frames;
  const double plain = BestRate(cl, 3);
  cl.logFile = profile.filePath(QStringLiteral("bench.log"));
  const double logged = BestRate(cl, 3);

  std::printf("frames per run          %d\n", frames);
  std::printf("headless, no log        %.0f frames/s\n", plain);
  std::printf("headless, logging each  %.0f frames/s\n", logged);
  std::printf("cost of logging         %.1f %% of the frame rate\n",
              100.0 * (1.0 - logged / plain));
  return 0;
}
