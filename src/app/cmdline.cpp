#include "app/cmdline.h"

#include <sys/stat.h>

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <iterator>
#include <utility>

#include "app/ddebus.h"
#include "app/scpiparse.h"
#include "util/parse.h"
#include "version.h"

namespace qz {

QString ResolvedPath(const QString& path) {
  const QFileInfo fi(path);
  // An existing file (or a link to one) is known by its target; a new file by its resolved
  // folder and its name.
  const QString canonical = fi.canonicalFilePath();
  if (!canonical.isEmpty()) return canonical;
  const QString folder = QFileInfo(fi.absolutePath()).canonicalFilePath();
  return folder.isEmpty() ? QDir::cleanPath(fi.absoluteFilePath())
                          : folder + QChar('/') + fi.fileName();
}

bool SameFile(const QString& a, const QString& b) {
  if (ResolvedPath(a) == ResolvedPath(b)) return true;
  struct stat sa {
  }, sb{};
  return ::stat(QFile::encodeName(a).constData(), &sa) == 0 &&
         ::stat(QFile::encodeName(b).constData(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

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
  const QCommandLineOption saveCsv(
      QStringLiteral("save-csv"),
      QStringLiteral("Headless: write the current sweep to FILE as CSV (comma, point, one row a "
                     "frame after \"# key: value\" lines; pandas.read_csv(FILE, comment='#'))."),
      QStringLiteral("FILE"));
  const QCommandLineOption log(
      QStringLiteral("log"),
      QStringLiteral("Prepare the data log FILE (after the setups are read), as Prepare does."),
      QStringLiteral("FILE"));
  const QCommandLineOption logFormat(
      QStringLiteral("log-format"),
      QStringLiteral("The layout of the --log file: text (the log's own) or csv."),
      QStringLiteral("text|csv"));
  const QCommandLineOption chart(
      QStringLiteral("chart"),
      QStringLiteral("Headless: the chart of the last sweep in display TYPE (%1), WIDTHxHEIGHT "
                     "pixels (default %2x%3).")
          .arg(ChartTypeNames().join(QStringLiteral(", ")))
          .arg(kChartDefaultWidth)
          .arg(kChartDefaultHeight),
      QStringLiteral("TYPE[:WIDTHxHEIGHT]"));
  const QCommandLineOption saveChart(
      QStringLiteral("save-chart"),
      QStringLiteral("Headless: write the chart of --chart to FILE (.png, .bmp, .gif or .jpg)."),
      QStringLiteral("FILE"));
  const QCommandLineOption serve(
      QStringLiteral("serve"),
      QStringLiteral("Run without a window and answer the remote control (object /Control on the "
                     "session bus) until its Quit; --passes starts a run at once."));
  const QCommandLineOption scpi(
      QStringLiteral("scpi"),
      QStringLiteral("Window or --serve: answer SCPI lines on a TCP socket at ADDRESS (an IP "
                     "address, default 127.0.0.1; no password is asked) and PORT (0 picks one)."),
      QStringLiteral("[ADDRESS:]PORT"));
  const QCommandLineOption busName(
      QStringLiteral("bus-name"),
      QStringLiteral("The program's name on the session bus instead of %1 (both objects, in every "
                     "mode).")
          .arg(QString::fromLatin1(kDdeBusService)),
      QStringLiteral("NAME"));
  p.addOptions({help, version, setup, headless, passes, saveResults, saveCsv, log, logFormat, chart,
                saveChart, serve, scpi, busName});
  // The usage line names the program, whatever the name it was started under.
  cl.helpText = p.helpText();
  const qsizetype eol = cl.helpText.indexOf(QChar('\n'));
  cl.helpText = QStringLiteral("Usage: QzSim [options]") +
                (eol < 0 ? QStringLiteral("\n") : cl.helpText.mid(eol));

  if (!p.parse(args)) {
    cl.error = p.errorText();
    return cl;
  }
  cl.help = p.isSet(help);
  cl.version = p.isSet(version);
  cl.headless = p.isSet(headless);
  cl.serve = p.isSet(serve);
  cl.setupFile = p.value(setup);
  cl.saveResultsFile = p.value(saveResults);
  cl.saveCsvFile = p.value(saveCsv);
  cl.logFile = p.value(log);
  if (p.isSet(logFormat)) {
    cl.logFormat = p.value(logFormat).toLower();
    if (cl.logFormat != QLatin1String("text") && cl.logFormat != QLatin1String("csv")) {
      cl.error =
          QStringLiteral("--log-format needs text or csv, not \"%1\".").arg(p.value(logFormat));
      return cl;
    }
    if (!p.isSet(log)) {
      cl.error = QStringLiteral("--log-format needs --log.");
      return cl;
    }
  }
  if (p.isSet(busName)) {
    cl.busName = p.value(busName);
    if (!IsValidBusName(cl.busName)) {
      cl.error = QStringLiteral(
                     "--bus-name needs a name of the session bus such as \"local.QzSim2\" (points "
                     "between letters, digits, \"_\" and \"-\"), not \"%1\".")
                     .arg(cl.busName);
      return cl;
    }
  }
  cl.chart = p.isSet(chart);
  cl.saveChartFile = p.value(saveChart);
  if (p.isSet(scpi)) {
    if (!ParseScpiAddress(p.value(scpi), cl.scpiAddress, cl.scpiPort, cl.error)) return cl;
    if (p.isSet(headless) && !p.isSet(serve)) {
      cl.error = QStringLiteral("--scpi needs --serve or the window, not a --headless run.");
      return cl;
    }
  }
  // A file option followed by another option ("--setup --headless") takes the option for its
  // file: refused before anything else is judged.
  for (const QCommandLineOption* opt : {&setup, &log, &saveResults, &saveChart}) {
    if (p.value(*opt).startsWith(QLatin1String("--"))) {
      cl.error = QStringLiteral("--%1 needs a file name, not the option \"%2\".")
                     .arg(opt->names().first(), p.value(*opt));
      return cl;
    }
  }
  if (p.isSet(passes)) {
    const auto n = ParseInt32(p.value(passes));
    if (!n || *n < 0) {
      cl.error = QStringLiteral("--passes needs a whole number of at least 0, not \"%1\".")
                     .arg(p.value(passes));
      return cl;
    }
    cl.passes = *n;
  }
  if (cl.serve) {
    // A served run has no window; its results are saved by the control's SaveResults.
    cl.headless = true;
    if (!cl.saveResultsFile.isEmpty()) {
      cl.error = QStringLiteral(
          "--serve saves results through the remote control's SaveResults, "
          "not with --save-results.");
      return cl;
    }
    if (!cl.saveCsvFile.isEmpty()) {
      cl.error = QStringLiteral(
          "--serve saves results through the remote control's SaveResultsCsv, "
          "not with --save-csv.");
      return cl;
    }
    if (p.isSet(chart) || p.isSet(saveChart)) {
      cl.error = QStringLiteral(
          "--serve saves charts through the remote control's SaveChart, not with --chart.");
      return cl;
    }
  }
  if (!p.positionalArguments().isEmpty()) {
    cl.error = QStringLiteral("Unexpected argument \"%1\".").arg(p.positionalArguments().first());
    return cl;
  }
  // A chart is drawn from a headless run and always written to its file; its type, size and
  // format are checked before the run starts.
  if (cl.chart || p.isSet(saveChart)) {
    if (!cl.chart || !p.isSet(saveChart)) {
      cl.error = QStringLiteral("--chart and --save-chart go together.");
      return cl;
    }
    if (!cl.headless) {
      cl.error = QStringLiteral("--chart needs --headless.");
      return cl;
    }
    if (!ParseChartOption(p.value(chart), cl.chartRequest, cl.error)) return cl;
    if (!cl.saveChartFile.isEmpty() && ChartFormatOf(cl.saveChartFile) == TChartFormat::Unknown) {
      cl.error = UnknownChartFormatText(cl.saveChartFile);
      return cl;
    }
  }
  // A file option given with an empty name would silently do nothing.
  const std::pair<const QCommandLineOption*, const QString*> files[] = {
      {&setup, &cl.setupFile},
      {&log, &cl.logFile},
      {&saveResults, &cl.saveResultsFile},
      {&saveCsv, &cl.saveCsvFile},
      {&saveChart, &cl.saveChartFile}};
  for (const auto& [opt, value] : files) {
    if (p.isSet(*opt) && value->isEmpty()) {
      cl.error = QStringLiteral("--%1 needs a file name.").arg(opt->names().first());
      return cl;
    }
  }
  // The window runs no measurement of its own and saves through its menus: the options of an
  // automation run are refused rather than ignored.
  if (!cl.headless) {
    for (const QCommandLineOption* opt : {&passes, &log, &saveResults}) {
      if (p.isSet(*opt)) {
        cl.error = QStringLiteral("--%1 needs --headless.").arg(opt->names().first());
        return cl;
      }
    }
  }
  // Two options naming one file would overwrite the setup with the log, or the log with the
  // results: the run is refused before anything is written.
  for (size_t i = 0; i < std::size(files); ++i) {
    for (size_t j = i + 1; j < std::size(files); ++j) {
      if (files[i].second->isEmpty() || files[j].second->isEmpty()) continue;
      if (SameFile(*files[i].second, *files[j].second)) {
        cl.error = QStringLiteral("--%1 and --%2 name the same file \"%3\".")
                       .arg(files[i].first->names().first(), files[j].first->names().first(),
                            *files[j].second);
        return cl;
      }
    }
  }
  return cl;
}

QString VersionText() {
  return QStringLiteral(QZ_PROGRAM_NAME " " QZ_VERSION "\n" QZ_FILE_DESCRIPTION "\n" QZ_LEGAL_NOTICE
                                        "\n");
}

}  // namespace qz
