#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <clocale>
#include <cstdio>
#include <memory>
#include <optional>

#include "app/cmdline.h"
#include "app/ddebus.h"
#include "app/headless.h"
#include "app/signalexit.h"
#include "app/simcore.h"
#include "app/ui/chartfile.h"
#include "app/ui/form1.h"
#include "app/ui/signalclose.h"
#include "app/ui/singleinstance.h"
#include "app/ui/startupbox.h"
#include "app/ui/windowstart.h"
#include "comm/portlist.h"
#include "util/asker.h"
#include "util/firststart.h"
#include "util/folders.h"
#include "util/pumpevents.h"
#include "util/random.h"
#include "util/strtools.h"
#include "util/ui/qtasker.h"

namespace {

QtMessageHandler previousHandler = nullptr;

// A run without a screen has no runtime folder of a desktop session: Qt's notice about it is no
// message of the run and stays out of its output.
void HeadlessMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (text.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set"))) return;
  if (previousHandler) previousHandler(type, context, text);
}

}  // namespace

int main(int argc, char* argv[]) {
  // A terminating signal ends every mode as Exit does; the handlers are there before anything
  // could be lost.
  qz::TSignalExit::Install();
  // The command line is read before any window exists so that --help and --version need no
  // display.
  QStringList args;
  for (int i = 0; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
  const qz::CommandLine cl = qz::ParseCommandLine(args);
  if (!cl.error.isEmpty()) {
    // One line that a script can show as it is; --help gives the options.
    std::fprintf(stderr, "%s\n", qPrintable(qz::OneLine(cl.error)));
    return qz::kExitBadArguments;
  }
  if (cl.help) {
    std::fputs(qPrintable(cl.helpText), stdout);
    return qz::kExitOk;
  }
  if (cl.version) {
    std::fputs(qPrintable(qz::VersionText()), stdout);
    return qz::kExitOk;
  }

  // Both objects on the session bus go under the name the command line gives.
  if (!cl.busName.isEmpty()) qz::SetDdeBusService(cl.busName);
  // A headless run needs no display at all; one that draws charts needs fonts and images,
  // which the GUI application gives on the offscreen platform without any screen.
  const bool headlessGui = cl.chart;
  std::unique_ptr<QCoreApplication> app;
  if (cl.serve) {
    // A served run draws charts without a display: the GUI application on the offscreen
    // platform.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    previousHandler = qInstallMessageHandler(HeadlessMessages);
    app = std::make_unique<QApplication>(argc, argv);
  } else if (cl.headless && !headlessGui) {
    app = std::make_unique<QCoreApplication>(argc, argv);
  } else if (cl.headless) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    previousHandler = qInstallMessageHandler(HeadlessMessages);
    app = std::make_unique<QGuiApplication>(argc, argv);
  } else {
    app = std::make_unique<QApplication>(argc, argv);
  }
  // Numbers in files and texts never follow the C library's locale.
  std::setlocale(LC_NUMERIC, "C");
  QCoreApplication::setApplicationName(QStringLiteral("QzSim"));
  qz::SeedRandomFromClock();
  // The per-user folder (made on the first start and filled with the shipped default files);
  // headless runs use the same folder.
  qz::ResetFolders();
  const bool freshProfile = qz::SetUpUserFolder(qz::ProgramDataFolder()) == 1;
  // The computer's serial ports, listed once for the whole run.
  qz::FillProgramPortLists();

  if (cl.headless) {
    // The scripted asker answers every question with its default and prints messages to
    // stderr; the exit code tells the outcome.
    qz::THeadlessAsker headlessAsker;
    qz::TScopedAsker scoped(&headlessAsker);
    QStringList messages;
    const qz::TChartSaver chartSaver = [](const qz::TQvWin& qv, const qz::TChartRequest& req,
                                          const QString& path) {
      return qz::SaveSweepChart(qv, req, path);
    };
    const qz::THeadlessReport r = cl.serve
                                      ? qz::ServeHeadless(cl, &messages, chartSaver)
                                      : qz::RunHeadless(cl, qz::PumpEvents, &messages, chartSaver);
    for (const QString& m : messages)
      std::fprintf(stderr, "QzSim: %s\n", qPrintable(qz::OneLine(m)));
    if (r.exitCode != qz::kExitOk) {
      std::fprintf(stderr, "QzSim: %s\n", qPrintable(qz::OneLine(r.error)));
      if (qz::TSignalExit::Requested()) {
        // Something due was not written: the exit code tells it, not the signal.
        std::fprintf(stderr, "QzSim: %s\n",
                     qPrintable(qz::TSignalExit::EndedText(qz::TSignalExit::Signal(), r.frames)));
        return qz::kExitFailure;
      }
      return r.exitCode;
    }
    if (!cl.serve) {
      if (cl.passes > 0) std::printf("%s\n", qPrintable(qz::HeadlessSummary(r)));
      if (!r.ddeItem.isEmpty())
        std::printf("Live data item: %s\n", qPrintable(qz::OneLine(r.ddeItem)));
      if (!cl.saveResultsFile.isEmpty())
        std::printf("Results saved to %s\n", qPrintable(qz::OneLine(cl.saveResultsFile)));
      if (cl.chart) std::printf("Chart saved to %s\n", qPrintable(qz::OneLine(cl.saveChartFile)));
    }
    if (qz::TSignalExit::Requested()) {
      // Everything due is written: the program ends by the signal that asked for it.
      std::fflush(stdout);
      std::fprintf(stderr, "QzSim: %s\n",
                   qPrintable(qz::TSignalExit::EndedText(qz::TSignalExit::Signal(), r.frames)));
      qz::TSignalExit::RaiseAgain();
      return qz::kExitFailure;
    }
    return qz::kExitOk;
  }

  // One window program per per-user folder: a second start asks the running one to come to the
  // front and ends without touching any file.
  qz::TSingleInstance instance(qz::UserFolder());
  const qz::TInstanceLock lock = instance.Acquire();
  if (lock == qz::TInstanceLock::Held) {
    // The running program is told to come to the front; when it does not answer, the operator
    // learns that its window could not be found.
    const QString title = QString::fromLatin1(qz::kAppTitle);
    const bool found = instance.RaiseRunning();
    const QString text = found ? qz::AlreadyRunningText(title) : qz::NotFoundText(title);
    std::fprintf(stderr, "%s\n", qPrintable(qz::OneLine(text)));
    // Nobody could answer a box on a platform without a visible screen.
    const QString platform = QGuiApplication::platformName();
    if (platform != QStringLiteral("offscreen") && platform != QStringLiteral("minimal")) {
      qz::TQtAsker asker;
      if (found)
        asker.ShowWarning(text);
      else
        asker.ShowInfo(text);
    }
    return qz::kExitFailure;
  }

  // Window runs answer questions with real dialogs.
  qz::TQtAsker qtAsker;
  qz::TScopedAsker windowAsker(&qtAsker);

  qz::TForm1 form;
  // A first start tells the operator how to measure until the first run.
  form.SetFreshProfile(freshProfile);
  instance.OnRaise = [&form] { form.BringToFront(); };
  // A next start may begin as soon as this one's window has closed.
  form.OnExit = [&instance] { instance.Release(); };
  // Without the lock the program still starts, and tells once it is up.
  QStringList lockLines;
  if (lock == qz::TInstanceLock::Unavailable)
    lockLines << qz::LockUnavailableText(instance.LockPath(), instance.Reason());
  QString messages;
  if (!form.StartUnit(messages)) {
    qz::Asker().ShowInfo(messages + QStringLiteral("\r\n") +
                         QStringLiteral("QzmSoft will now terminate."));
    return qz::kExitFailure;
  }
  form.CreateDisplaysFromSetup();
  // From here a terminating signal is Exit answered Yes (open boxes closed first).
  qz::CloseOnSignal(form);
  if (!cl.setupFile.isEmpty()) {
    QString comment, err;
    if (!form.LoadSetupFile(cl.setupFile, comment, err)) qz::Asker().ShowError(err);
  }
  // The instrument socket over the window's remote control; a port that cannot be had is told
  // once the window is up, which runs on without it.
  std::unique_ptr<qz::TWindowScpi> scpi;
  if (cl.scpiPort >= 0) {
    scpi = std::make_unique<qz::TWindowScpi>(form);
    if (QString why; !scpi->Listen(cl.scpiAddress, cl.scpiPort, why)) lockLines << why;
  }
  form.show();
  qz::ShowStartupLinesOnceUp(form, lockLines);
  qz::OuterLoopStarts();
  const int rc = app->exec();
  if (qz::TSignalExit::Requested()) {
    std::fprintf(stderr, "QzSim: %s\n",
                 qPrintable(qz::TSignalExit::EndedText(qz::TSignalExit::Signal(),
                                                       form.Core().Cycle.AcceptedFrames())));
    // The exit wrote what it had to (else it would not have ended): the signal ends it.
    if (rc == 0) qz::TSignalExit::RaiseAgain();
    return qz::kExitFailure;
  }
  return rc;
}
