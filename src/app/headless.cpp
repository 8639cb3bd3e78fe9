#include "app/headless.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <memory>

#include "app/control.h"
#include "app/controlbus.h"
#include "app/controlport.h"
#include "app/deferredcalls.h"
#include "app/program.h"
#include "app/scpiserver.h"
#include "app/signalexit.h"
#include "core/resultscsv.h"
#include "core/saveresults.h"
#include "sim/autotune.h"
#include "util/clock.h"
#include "util/fileops.h"
#include "util/format.h"
#include "util/inifile.h"
#include "util/pumpevents.h"
#include "util/strtools.h"

namespace qz {

namespace {

// Ends the run as Run/Pause would once the wanted number of frames has been accepted.
class THeadlessHost : public TCycleHost {
 public:
  THeadlessHost(TCycle& cycle, int64_t frames, const std::function<void()>& pump)
      : cycle_(cycle), frames_(frames), pump_(pump) {}
  void Pump() override {
    if (pump_) pump_();
  }
  void PassDone() override {
    // A terminating signal ends the run as its number of frames would: after this pass.
    if (cycle_.IsSweeping() && !ended_ &&
        (cycle_.AcceptedFrames() >= frames_ || TSignalExit::Requested())) {
      ended_ = true;
      cycle_.miSweepClick();
    }
  }

 private:
  TCycle& cycle_;
  int64_t frames_;
  const std::function<void()>& pump_;
  bool ended_ = false;
};

// The serving program's host: the events are handled once per pass, and the first run ends
// once its number of frames has been accepted. The limit belongs to that run alone: once it has
// ended, for whatever reason, the runs a client starts go on until they are paused.
class TServeHost : public TCycleHost {
 public:
  TServeHost(TCycle& cycle, TProgramPort& port, int64_t frames)
      : cycle_(cycle), port_(port), frames_(frames) {}
  void Pump() override { PumpEvents(); }
  void PassDone() override {
    if (frames_ > 0 && cycle_.IsSweeping() && cycle_.AcceptedFrames() >= frames_) {
      frames_ = 0;
      port_.PassesDone();
      cycle_.miSweepClick();
    }
  }
  void RunEnded() { frames_ = 0; }

 private:
  TCycle& cycle_;
  TProgramPort& port_;
  int64_t frames_;
};

// A run without a window tells every tune that could not reach the target, one line each.
class TTuneOutcomeLines : public TAutoTuneObserver {
 public:
  TTuneOutcomeLines(TAutoTune& at, QStringList* messages) : at_(at), messages_(messages) {
    at_.AddObserver(this);
  }
  ~TTuneOutcomeLines() override { at_.RemoveObserver(this); }
  TTuneOutcomeLines(const TTuneOutcomeLines&) = delete;
  TTuneOutcomeLines& operator=(const TTuneOutcomeLines&) = delete;
  void OnTuneOutcome(const TAutoTune&, const TTuneOutcome& o) override {
    if (o.Reached) return;
    if (messages_) {
      *messages_ << o.Text();
    } else {
      std::fprintf(stderr, "QzSim: %s\n", qPrintable(o.Text()));
      std::fflush(stderr);
    }
  }

 private:
  TAutoTune& at_;
  QStringList* messages_;
};

// Runs a call of the scripted asker without its line on stderr.
template <typename F>
void Silently(TScriptedAsker& a, F&& f) {
  const bool was = a.quiet;
  a.quiet = true;
  f();
  a.quiet = was;
}

}  // namespace

void THeadlessAsker::ShowWait(const QString& caption, const QString& message, int animation,
                              int lastFrame) {
  Silently(*this, [&] { TScriptedAsker::ShowWait(caption, message, animation, lastFrame); });
}

void THeadlessAsker::ShowBusy(const QString& caption, int animation, int lastFrame) {
  Silently(*this, [&] { TScriptedAsker::ShowBusy(caption, animation, lastFrame); });
}

void THeadlessAsker::SetBusyInfo(const QString& text) {
  Silently(*this, [&] { TScriptedAsker::SetBusyInfo(text); });
}

namespace {
// The report of a run that failed: exit code 1 and the reason on one line.
THeadlessReport Failed(THeadlessReport rep, const QString& why) {
  rep.exitCode = kExitFailure;
  rep.error = why;
  rep.error.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(QChar('\n'), QChar(' '));
  return rep;
}
// Starts the unit, reads the user setup once (its sections override those of the automatic
// setup, as in a window run) and prepares the data log the command line names.
bool StartWithSetupAndLog(TProgram& program, const CommandLine& cl, QString& why) {
  const bool started = program.Start(why);
  // A start-up file that is there but was not read is told at once; the run goes on with the
  // defaults.
  for (const QString& line : program.Core.StartupLines())
    std::fprintf(stderr, "QzSim: %s\n", OneLine(line).toLocal8Bit().constData());
  if (!started) return false;
  if (!cl.setupFile.isEmpty()) {
    QString comment;
    if (!program.LoadSetupFile(cl.setupFile, comment, why)) return false;
  }
  if (!cl.logFile.isEmpty()) {
    TLogEngine& e = program.Log.engine;
    if (!cl.logFormat.isEmpty()) {
      TLogEntries entries = e.Entries();
      entries.csv = cl.logFormat == QLatin1String("csv");
      e.SetEntries(entries);
    }
    e.Prepare(cl.logFile);
  }
  return true;
}
}  // namespace

THeadlessReport RunHeadless(const CommandLine& cl, const std::function<void()>& pump,
                            QStringList* messages, const TChartSaver& saveChart) {
  THeadlessReport rep;
  auto fail = [&](const QString& why) { return Failed(rep, why); };

  // A target that would be refused or replaced against its read-only mark is told before the
  // run, not after it (a missing folder is reported by the save itself).
  for (const QString& target : {cl.saveResultsFile, cl.chart ? cl.saveChartFile : QString()}) {
    if (target.isEmpty()) continue;
    if (IsNonRegularFile(target)) return fail(NotRegularFileText(target));
    if (IsReadOnlyFile(target))
      return fail(QStringLiteral("\"%1\" is read-only; it is not overwritten.").arg(target));
  }

  TProgram program(true);
  TSimCore& core = program.Core;
  if (QString why; !StartWithSetupAndLog(program, cl, why)) return fail(why);
  TLogSystem& log = program.Log;
  // Whatever happens below, a log still running gets its end record and its messages are told.
  auto finishLog = [&]() {
    program.EndLog();
    if (messages) *messages << log.engine.TakeMessages();
  };

  if (cl.passes > 0) {
    const TTuneOutcomeLines tuneLines(core.AutoTune, messages);
    THeadlessHost host(core.Cycle, cl.passes, pump);
    TCyclePorts ports = core.Cycle.Ports();
    ports.host = &host;
    core.Cycle.SetPorts(ports);
    const auto t0 = std::chrono::steady_clock::now();
    core.Cycle.miSweepClick();
    rep.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    rep.frames = core.Cycle.AcceptedFrames();
    rep.passes = core.Cycle.Passes();
    ports.host = nullptr;
    core.Cycle.SetPorts(ports);
  }
  rep.points = core.Qv.LastSwp.Count();

  if (!cl.saveResultsFile.isEmpty()) {
    TSaveTxtJob job;
    job.path = cl.saveResultsFile;
    job.comment = QString();
    job.decSep = program.SaveTxt.SeparForTxtSave;
    job.now = QDateTime::currentDateTime();
    job.program = CurrentProgramInfo();
    job.preTrig = core.Cycle.n_pretrg;
    QString lastPath;
    const TSaveTxtResult r = SaveResultsTxt(core.Qv, core.Descr, job, lastPath);
    if (!r.ok) {
      finishLog();
      return fail(r.message);
    }
  }
  if (!cl.saveCsvFile.isEmpty()) {
    TCsvJob job;
    job.path = cl.saveCsvFile;
    job.savedUtcMs = RunUtcMs();
    job.program = CurrentProgramInfo();
    QString lastPath;
    const TSaveTxtResult r = SaveResultsCsv(core.Qv, core.Descr, job, lastPath);
    if (!r.ok) {
      finishLog();
      return fail(r.message);
    }
  }
  if (cl.chart) {
    const TChartResult r =
        saveChart
            ? saveChart(core.Qv, cl.chartRequest, cl.saveChartFile)
            : TChartResult{kExitFailure, QStringLiteral("Charts cannot be drawn in this run.")};
    if (!r.ok()) {
      finishLog();
      rep.exitCode = r.code;
      rep.error = r.error;
      return rep;
    }
  }
  rep.ddeItem = program.Dde.DdeStr();
  const bool logFailed = log.engine.HadFailure();
  finishLog();
  if (logFailed) return fail(QStringLiteral("Data logging failed."));
  return rep;
}

THeadlessReport ServeHeadless(const CommandLine& cl, QStringList* messages,
                              const TChartSaver& saveChart) {
  THeadlessReport rep;
  auto fail = [&](const QString& why) { return Failed(rep, why); };

  TProgram program(true);
  // Without the bus, or with its name held by another program of the user, nobody could reach
  // the control: the run ends before anything is started, unless the instrument socket serves
  // it alone.
  const bool scpi = cl.scpiPort >= 0;
  if (!program.Bus.Registered() && !scpi)
    return fail(QStringLiteral("The remote control cannot be served: ") + program.Bus.ErrorText());
  TSimCore& core = program.Core;
  if (QString why; !StartWithSetupAndLog(program, cl, why)) return fail(why);
  TLogSystem& log = program.Log;

  TProgramPort port(program);
  TControl control(port);
  // A run a call asks for starts from the event loop once the call has been answered.
  TDeferredCalls deferred;
  control.Defer = deferred.Deferrer();
  TControlBus bus(control);
  port.OnQuit = [] { QCoreApplication::exit(kExitOk); };
  if (saveChart) {
    control.ChartSaver = [&core, &saveChart](const QString& type, const QString& path,
                                             uint32_t width, uint32_t height) {
      TChartRequest req;
      const TChartResult check = ChartRequestOf(type, width, height, path, req);
      return check.ok() ? saveChart(core.Qv, req, path) : check;
    };
  }
  if (!program.Bus.Registered()) {
    std::fprintf(stderr, "QzSim: %s\n",
                 qPrintable(OneLine(QStringLiteral("No remote control on the session bus (") +
                                    program.Bus.ErrorText() +
                                    QStringLiteral("); the instrument socket serves alone."))));
  } else if (!bus.Register()) {
    return fail(QStringLiteral("The remote control cannot be served: ") + bus.ErrorText());
  }
  TScpiProgramSource scpiSource(program);
  std::unique_ptr<TScpiServer> scpiServer;
  if (scpi) {
    scpiServer = std::make_unique<TScpiServer>(control, scpiSource.Source());
    if (QString why; !ListenAndTell(*scpiServer, cl.scpiAddress, cl.scpiPort, why))
      return fail(why);
  }

  // A server lives long: its lines go out as the tunes end.
  const TTuneOutcomeLines tuneLines(core.AutoTune, nullptr);
  TServeHost host(core.Cycle, port, cl.passes);
  port.OnRunEnded = [&control, &host](const QString& reason) {
    host.RunEnded();
    control.RunEnded(reason);
  };
  port.OnRunStarted = [&control](uint32_t run, uint64_t firstFrame) {
    control.RunStarted(run, firstFrame);
  };
  TCyclePorts ports = core.Cycle.Ports();
  ports.host = &host;
  core.Cycle.SetPorts(ports);
  // A terminating signal is a Quit without saving: a run in progress or asked for ends with
  // "closing" and the program after it.
  TSignalExit::OnSignal([&control, &port] {
    if (!control.Quit(false).ok()) port.Quit(false);
  });
  if (cl.passes > 0 && !TSignalExit::Requested()) control.Run();
  QCoreApplication::exec();
  TSignalExit::OnSignal({});

  rep.frames = core.Cycle.AcceptedFrames();
  rep.passes = core.Cycle.Passes();
  rep.points = core.Qv.LastSwp.Count();
  rep.ddeItem = program.Dde.DdeStr();
  bus.Unregister();
  scpiServer.reset();
  ports.host = nullptr;
  core.Cycle.SetPorts(ports);
  const bool logFailed = log.engine.HadFailure();
  program.EndLog();
  if (messages) *messages << log.engine.TakeMessages();
  if (logFailed) return fail(QStringLiteral("Data logging failed."));
  return rep;
}

QString HeadlessSummary(const THeadlessReport& r) {
  const double fps = r.seconds > 0.0 ? double(r.frames) / r.seconds : 0.0;
  return Format(QStringLiteral("Measured %d frames in %1.3f s (%1.0f frames per second)."),
                {r.frames, r.seconds, fps});
}

}  // namespace qz
