#include <QApplication>
#include <clocale>
#include <cstdio>
#include <optional>

#include "app/cmdline.h"
#include "app/ui/form1.h"
#include "util/asker.h"
#include "util/firststart.h"
#include "util/folders.h"
#include "util/random.h"
#include "util/ui/qtasker.h"

int main(int argc, char* argv[]) {
  // The command line is read before any window exists so that --help and --version need no
  // display.
  QStringList args;
  for (int i = 0; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
  const qz::CommandLine cl = qz::ParseCommandLine(args);
  if (!cl.error.isEmpty()) {
    std::fprintf(stderr, "%s\n\n%s", qPrintable(cl.error), qPrintable(cl.helpText));
    return 2;
  }
  if (cl.help) {
    std::fputs(qPrintable(cl.helpText), stdout);
    return 0;
  }
  if (cl.version) {
    std::fputs(qPrintable(qz::VersionText()), stdout);
    return 0;
  }

  QApplication app(argc, argv);
  // Numbers in files and texts never follow the C library's locale.
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setApplicationName(QStringLiteral("QzSim"));
  qz::SeedRandomFromClock();
  // The per-user folder (made on the first start and filled with the shipped default files);
  // headless runs use the same folder.
  qz::ResetFolders();
  qz::SetUpUserFolder(qz::ProgramDataFolder());

  // Window runs answer questions with real dialogs; headless runs keep the scripted asker, which
  // writes messages to stderr and never blocks.
  qz::TQtAsker qtAsker;
  std::optional<qz::TScopedAsker> windowAsker;
  if (!cl.headless) windowAsker.emplace(&qtAsker);

  qz::TForm1 form;
  if (cl.headless) return 0;
  form.show();
  return app.exec();
}
