// Pictures of the manual: starts the program's frame window on the offscreen platform with a
// profile of its own, the shipped setup with every uncertainty 0 and a fixed random seed, runs
// the measurement, puts each window of the help requests into its usual state and writes its
// picture to <help folder>/img/<page>.png. A window that is not shown, or a picture that is not
// written, ends the tool with its name and exit code 1.
//
//   helppictures <help folder of the build>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <clocale>
#include <cstdio>
#include <functional>

#include "app/control.h"
#include "app/picencode.h"
#include "app/simcore.h"
#include "app/ui/communmenu.h"
#include "app/ui/form1.h"
#include "app/ui/helpviewer.h"
#include "comm/portlist.h"
#include "comm/ui/dlgcomport.h"
#include "display/disptypes.h"
#include "display/ui/displaywindows.h"
#include "display/ui/gdisplform.h"
#include "tuner/ui/scenario.h"
#include "tuner/ui/tpic.h"
#include "util/asker.h"
#include "util/atomicfile.h"
#include "util/firststart.h"
#include "util/folders.h"
#include "util/random.h"
#include "util/ui/screen.h"

namespace qz {
namespace {

int gFailures = 0;

void Fail(const QString& what) {
  std::fprintf(stderr, "helppictures: %s\n", qPrintable(what));
  ++gFailures;
}

// Grabs a shown window at its size and writes it as PNG.
void Picture(QWidget* w, const QString& folder, const QString& name) {
  if (!w || !w->isVisible()) {
    Fail(name + ": the window is not shown");
    return;
  }
  QApplication::processEvents();
  const QImage img = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const TTrueImage t = TrueImageOf(reinterpret_cast<const uint32_t*>(img.constBits()), img.width(),
                                   img.height(), img.bytesPerLine() / 4);
  QByteArray png;
  QString error;
  if (!EncodePng(t, png, error)) {
    Fail(name + ": " + error);
    return;
  }
  const AtomicWriteResult r = WriteFileAtomic(folder + "/img/" + name + ".png", png);
  if (!r.ok()) Fail(name + ": " + r.reason);
}

QWidget* Tool(TForm1& f, const char* section) {
  const TToolWindowEntry* e = f.ToolWindows().Find(QString::fromLatin1(section));
  return e && e->object ? qobject_cast<QWidget*>(e->object()) : nullptr;
}

// Runs the measurement until `passes` frames were accepted.
void RunPasses(TForm1& f, int64_t passes) {
  QTimer t;
  t.setInterval(0);
  QObject::connect(&t, &QTimer::timeout, [&] {
    if (f.Core().Cycle.AcceptedFrames() >= passes) {
      t.stop();
      f.miSweepClick();
    }
  });
  t.start();
  f.miSweepClick();
}

void ShowAndShoot(QWidget* w, const QString& folder, const QString& name) {
  if (w) {
    w->show();
    w->raise();
  }
  Picture(w, folder, name);
  if (auto* d = qobject_cast<QDialog*>(w))
    d->reject();
  else if (w)
    w->hide();
}

int Run(const QString& folder) {
  if (!QDir().mkpath(folder + "/img")) {
    Fail(folder + "/img: the folder cannot be made");
    return 1;
  }
  TScriptedAsker asker;
  asker.quiet = true;
  TScopedAsker scoped(&asker);
  TForm1 f;
  QString msg;
  if (!f.StartUnit(msg)) {
    Fail("the unit did not start: " + msg);
    return 1;
  }
  f.resize(1100, 800);
  f.move(0, 0);
  f.show();
  TControl& c = f.Control();
  for (const char* key : {"RUncert", "PUncert", "TUncert"}) c.SetModelValue(key, "0");
  c.SetModelLoad(0.5, 90);
  // A display window of the usual type beside the others.
  TGDisplForm* disp = f.Displays().NewDisplay();
  if (disp) disp->RecreateDisplay(XTypeOf(diZSmith), diZSmith);
  // Autotune on, then the measurement.
  if (TTpic* tp = f.ToolWindows().Window<TTpic>("TunPic")) {
    tp->show();
    if (QAction* at = tp->findChild<QAction*>("sbAuto")) {
      at->setChecked(true);
      at->trigger();
      if (!at->isChecked()) at->trigger();
    }
  }
  // The windows that show every result are open during the run.
  for (const char* section : {"QzResForm", "QzSmallFrm", "TrgForm"})
    if (QWidget* w = Tool(f, section)) w->show();
  RunPasses(f, 200);
  if (f.Core().Cycle.AcceptedFrames() < 200)
    Fail(QStringLiteral("the measurement accepted %1 of 200 frames")
             .arg(f.Core().Cycle.AcceptedFrames()));

  Picture(&f, folder, "index");
  Picture(&f, folder, "frame-window");
  // The Tools menu, open.
  if (QMenu* tools = f.ToolsMenu()) {
    tools->popup(f.mapToGlobal(QPoint(200, 30)));
    QApplication::processEvents();
    Picture(tools, folder, "file-transfer");
    tools->hide();
  }
  ShowAndShoot(f.ToolWindows().Window<TTpic>("TunPic"), folder, "tuner-view");
  // A scenario of five rows.
  if (TScenario* s = f.ToolWindows().Window<TScenario>("TuScenarioForm")) {
    s->show();
    QToolButton* add = s->findChild<QToolButton*>("sbAdd");
    for (int i = 0; i < 5 && add; ++i) {
      c.MoveStubs(2.0 * i, 4.0 + i, 6.0 - i);
      add->click();
    }
    ShowAndShoot(s, folder, "scenario");
  } else {
    Fail("scenario: the window is not made");
  }
  const struct {
    const char* section;
    const char* page;
  } tools[] = {{"Model", "model"},
               {"MakeSce", "scenario-generator"},
               {"TuStpFrm", "system-info"},
               {"QzResForm", "results-windows"},
               {"LogForm", "data-logging"},
               {"QzSamplForm", "sampling-setup"},
               {"TxTimingForm", "tx-timing"},
               {"MstpForm", "measurement-setup"},
               {"TrgForm", "single-shot-commands"},
               {"PowCalDlg", "power-calibration"},
               {"ScaleDlg", "chart-dialogs"},
               {"RhoChart", "reflection-chart"}};
  for (const auto& t : tools) ShowAndShoot(Tool(f, t.section), folder, QString::fromLatin1(t.page));
  // The reduced-size results window beside the full-size one.
  ShowAndShoot(Tool(f, "QzSmallFrm"), folder, "results-mini");
  // Every display type.
  for (int32_t t : OfferedTypes()) {
    if (!disp) break;
    disp->RecreateDisplay(XTypeOf(t), t);
    f.Displays().RedrawAll();
    Picture(disp, folder, "charts-" + DispTypeInfo(t).caption.toLower());
  }
  if (disp) {
    disp->RecreateDisplay(XTypeOf(diZSmith), diZSmith);
    f.Displays().RedrawAll();
    Picture(disp, folder, "charts");
    Picture(disp, folder, "labels");
  }
  // The COM port dialog, while it is open.
  if (TCommunMenu* m = f.CommunItems()) {
    m->OnDialog = [&](TDlgComPort& d) {
      QTimer::singleShot(0, &d, [&] {
        Picture(&d, folder, "com-port");
        d.ContinueButton()->click();
      });
    };
    m->ComPortClick();
    m->OnDialog = nullptr;
  }
  // The viewer at the index.
  f.ShowHelp(3);
  Picture(f.ToolWindows().Window<THelpViewer>("HelpViewer"), folder, "help-viewer");
  return gFailures == 0 ? 0 : 1;
}

}  // namespace
}  // namespace qz

// The offscreen platform's notes on what it cannot do are no news here.
void Messages(QtMsgType type, const QMessageLogContext&, const QString& msg) {
  if (msg.startsWith(QStringLiteral("This plugin does not support")) ||
      msg.startsWith(QStringLiteral("QStandardPaths:")))
    return;
  if (type != QtDebugMsg) std::fprintf(stderr, "helppictures: %s\n", qPrintable(msg));
}

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: helppictures <help folder>\n");
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir profile;
  if (!profile.isValid()) {
    std::fprintf(stderr, "helppictures: no temporary profile folder\n");
    return 1;
  }
  qputenv("QZSIM_PROFILE", profile.path().toLocal8Bit());
  qInstallMessageHandler(Messages);
  QApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C");
  QCoreApplication::setApplicationName(QStringLiteral("QzSim"));
  const qz::TFixedScreen screen(QSize(1280, 1024));
  qz::TScopedScreen scopedScreen(&screen);
  qz::SetRandomSource(std::make_unique<qz::SeededRandom>(39));
  qz::ResetFolders();
  qz::SetUpUserFolder(qz::ProgramDataFolder());
  qz::FillProgramPortLists();
  return qz::Run(QString::fromLocal8Bit(argv[1]));
}
