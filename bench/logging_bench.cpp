// The cost of continuous data logging for the measurement cycle: the headless run measures the
// same number of frames without a log, with every frame logged as text and as CSV, and prints
// the frame rates and the share of the rate that logging costs. Build with -DQZ_BUILD_BENCH=ON
// (Release) and run:
//   build-rel/bench/bench_logging [FRAMES [plain|log|csv]]
// (default 300000 frames; best of three runs each; "plain", "log" or "csv" runs only that kind.)
// It also prints the processor time per frame of the cycle's thread and of the whole program,
// which a busy machine changes far less than the frame rates, and the share of a core the log's
// writer thread takes. The cycle pumps the events as the program's headless run does.
#include <QCoreApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "app/cmdline.h"
#include "app/headless.h"

namespace {

double ThreadCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

double ProcessCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

struct Rates {
  double framesPerS = 0.0;    // best wall-clock rate
  double cycleCpuUs = 1e9;    // least processor time of the cycle's thread per frame
  double processCpuUs = 1e9;  // least processor time of all threads per frame
  double otherShare = 1e9;    // least processor time of the other threads per second of run
};

Rates BestRate(qz::CommandLine cl, int runs) {
  Rates best;
  for (int i = 0; i < runs; ++i) {
    QStringList messages;
    const double cpu0 = ThreadCpuSeconds();
    const double proc0 = ProcessCpuSeconds();
    const qz::THeadlessReport r = qz::RunHeadless(
        cl, [] { QCoreApplication::processEvents(QEventLoop::AllEvents); }, &messages);
    const double cpu = ThreadCpuSeconds() - cpu0;
    const double proc = ProcessCpuSeconds() - proc0;
    if (r.exitCode != qz::kExitOk || r.seconds <= 0.0) {
      std::fprintf(stderr, "run failed: %s %s\n", qPrintable(r.error),
                   qPrintable(messages.join(QLatin1Char(' '))));
      std::exit(1);
    }
    best.framesPerS = std::max(best.framesPerS, double(r.frames) / r.seconds);
    best.cycleCpuUs = std::min(best.cycleCpuUs, 1e6 * cpu / double(r.frames));
    best.processCpuUs = std::min(best.processCpuUs, 1e6 * proc / double(r.frames));
    best.otherShare = std::min(best.otherShare, (proc - cpu) / r.seconds);
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
  // A second argument "plain", "log" or "csv" runs only that kind (for a profiler).
  const QByteArray only = argc > 2 ? QByteArray(argv[2]) : QByteArray();
  auto wanted = [&only](const char* kind) { return only.isEmpty() || only == kind; };
  const Rates plain = wanted("plain") ? BestRate(cl, 3) : Rates{};
  cl.logFile = profile.filePath(QStringLiteral("bench.log"));
  const Rates logged = wanted("log") ? BestRate(cl, 3) : Rates{};
  cl.logFile = profile.filePath(QStringLiteral("bench.csv"));
  cl.logFormat = QStringLiteral("csv");
  const Rates csv = wanted("csv") ? BestRate(cl, 3) : Rates{};

  std::printf("frames per run          %d\n", frames);
  std::printf("headless, no log        %.0f frames/s\n", plain.framesPerS);
  std::printf("headless, logging each  %.0f frames/s\n", logged.framesPerS);
  std::printf("cost of logging         %.1f %% of the frame rate\n",
              100.0 * (1.0 - logged.framesPerS / plain.framesPerS));
  std::printf("headless, CSV log       %.0f frames/s\n", csv.framesPerS);
  std::printf("cost of CSV logging     %.1f %% of the frame rate\n",
              100.0 * (1.0 - csv.framesPerS / plain.framesPerS));
  // Processor time tells the same apart from the machine's load: the cycle's own thread, and
  // every thread of the program (the log's writer included).
  std::printf("cycle thread, no log    %.3f us/frame\n", plain.cycleCpuUs);
  std::printf("cycle thread, logging   %.3f us/frame (%.1f %% more)\n", logged.cycleCpuUs,
              100.0 * (logged.cycleCpuUs / plain.cycleCpuUs - 1.0));
  std::printf("cycle thread, CSV log   %.3f us/frame (%.1f %% more)\n", csv.cycleCpuUs,
              100.0 * (csv.cycleCpuUs / plain.cycleCpuUs - 1.0));
  std::printf("all threads, logging    %.3f us/frame (no log %.3f, CSV %.3f)\n",
              logged.processCpuUs, plain.processCpuUs, csv.processCpuUs);
  std::printf("log writer              %.1f %% of a core\n", 100.0 * logged.otherShare);
  return 0;
}
