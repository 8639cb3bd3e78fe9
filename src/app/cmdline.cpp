#include "app/cmdline.h"

#include <QCommandLineParser>

#include "util/parse.h"
#include "version.h"

namespace qz {

CommandLine ParseCommandLine(const QStringList& args) {
  CommandLine cl;
  QCommandLineParser p;
  p.setApplicationDescription(QStringLiteral(QZ_FILE_DESCRIPTION));
  p.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                QStringLiteral("Show this help and exit."));
  const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                   QStringLiteral("Show the program version and exit."));
  const QCommandLineOption setup(QStringLiteral("setup"),
                                 QStringLiteral("Load the user setup FILE after start-up."),
                                 QStringLiteral("FILE"));
  const QCommandLineOption headless(
      QStringLiteral("headless"),
      QStringLiteral("Run without a window: messages go to stderr, the exit code tells success."));
  const QCommandLineOption passes(
      QStringLiteral("passes"),
      QStringLiteral("Headless: run the measurement cycle for N accepted frames."),
      QStringLiteral("N"));
  const QCommandLineOption saveResults(
      QStringLiteral("save-results"),
      QStringLiteral("Headless: write the current sweep to FILE as a results text file."),
      QStringLiteral("FILE"));
  const QCommandLineOption log(
      QStringLiteral("log"),
      QStringLiteral("Prepare the data log FILE (after the setups are read), as Prepare does."),
      QStringLiteral("FILE"));
  p.addOptions({help, version, setup, headless, passes, saveResults, log});
  cl.helpText = p.helpText();

  if (!p.parse(args)) {
    cl.error = p.errorText();
    return cl;
  }
  cl.help = p.isSet(help);
  cl.version = p.isSet(version);
  cl.headless = p.isSet(headless);
  cl.setupFile = p.value(setup);
  cl.saveResultsFile = p.value(saveResults);
  cl.logFile = p.value(log);
  if (p.isSet(passes)) {
    const auto n = ParseInt32(p.value(passes));
    if (!n || *n < 0) {
      cl.error = QStringLiteral("--passes needs a whole number of at least 0, not \"%1\".")
                     .arg(p.value(passes));
      return cl;
    }
    cl.passes = *n;
  }
  if (!p.positionalArguments().isEmpty()) {
    cl.error = QStringLiteral("Unexpected argument \"%1\".").arg(p.positionalArguments().first());
  }
  return cl;
}

QString VersionText() {
  return QStringLiteral(QZ_PROGRAM_NAME " " QZ_VERSION "\n" QZ_FILE_DESCRIPTION "\n" QZ_LEGAL_NOTICE
                                        "\n");
}

}  // namespace qz
