// Pictures of the windows for a look by eye: the frame window with its tool windows during a
// run, every display type, the model's pages, both results windows, the single-shot commands
// and power calibration windows, and the measurement setup windows. Not a test of the suite:
// built with the benchmarks and run by hand, with QZ_SCREENSHOT_DIR naming the folder for the
// pictures,
//   QZ_SCREENSHOT_DIR=/tmp/shots build/bench/window_shots
// on the offscreen platform, or with QT_QPA_PLATFORM=xcb under a real display (the
// single-shot and setup windows then grab the whole screen, with the window manager's frames).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QMdiArea>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>
#include <initializer_list>
#include <memory>
#include <vector>

#include "app/simcore.h"
#include "app/ui/form1.h"
#include "common/fakeqzcmd.h"
#include "common/freshprofile.h"
#include "common/sampleresult.h"
#include "common/testfiles.h"
#include "common/trgrig.h"
#include "core/qvwin.h"
#include "display/disptypes.h"
#include "display/ui/displaywindows.h"
#include "display/ui/gdisplform.h"
#include "results/ui/logform.h"
#include "results/ui/qzresform.h"
#include "results/ui/qzsmallfrm.h"
#include "setupdlg/ui/mstpform.h"
#include "setupdlg/ui/powcal.h"
#include "setupdlg/ui/qzsamplform.h"
#include "setupdlg/ui/trgform.h"
#include "setupdlg/ui/txtimingform.h"
#include "sim/mdltesthelpers.h"
#include "sim/ui/qzmdl.h"
#include "util/asker.h"

namespace qz {
namespace {

// The folder the pictures go to; the shot is skipped when none is named.
QDir ShotDir() { return QDir(QString::fromLocal8Bit(qgetenv("QZ_SCREENSHOT_DIR"))); }

#define QZ_NEED_SHOT_DIR()                              \
  if (qEnvironmentVariableIsEmpty("QZ_SCREENSHOT_DIR")) \
  GTEST_SKIP() << "QZ_SCREENSHOT_DIR is not set"

// The window shown at a fixed place, the events let in for a while, then the whole screen.
void ShootScreen(QWidget& w, const QString& name) {
  w.move(40, 40);
  w.show();
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < 1200) QApplication::processEvents();
  const QPixmap px = QGuiApplication::primaryScreen()->grabWindow(0);
  EXPECT_TRUE(px.save(ShotDir().filePath(name)));
  w.hide();
}

std::unique_ptr<TForm1> StartedForm1() {
  auto f = std::make_unique<TForm1>();
  QString msg;
  EXPECT_TRUE(f->StartUnit(msg)) << msg.toStdString();
  f->show();
  return f;
}

using Shots = testing::FreshProfileTest;

// The frame window with its tool windows during a run, as one picture.
TEST_F(Shots, FrameWindowWithToolWindows) {
  QZ_NEED_SHOT_DIR();
  testing::WriteAll(Auto(),
                    "[QuzarForm]\r\nTop=0\r\nLeft=0\r\nWidth=1200\r\nHeight=900\r\n"
                    "[QzResForm]\r\nVisible=1\r\nTop=60\r\nLeft=860\r\n"
                    "[QzSmallFrm]\r\nVisible=1\r\nTop=380\r\nLeft=860\r\n"
                    "[LogForm]\r\nVisible=1\r\nTop=330\r\nLeft=20\r\n"
                    "[Model]\r\nVisible=1\r\nTop=70\r\nLeft=20\r\n");
  auto f = StartedForm1();
  f->resize(1200, 900);
  // The picture is taken while the run goes on, then the run is paused.
  QImage img(f->size(), QImage::Format_RGB32);
  QTimer::singleShot(300, f.get(), [&] {
    QPainter p(&img);
    p.drawPixmap(0, 0, f->grab());
    for (QWidget* w :
         std::initializer_list<QWidget*>{f->findChild<TQzMdl*>(), f->findChild<TLogForm*>(),
                                         f->findChild<TQzResForm*>(), f->findChild<TQzSmallFrm*>()})
      if (w && w->isVisible()) p.drawPixmap(w->pos() - f->pos(), w->grab());
    p.end();
    f->miSweepClick();
  });
  f->miSweepClick();
  EXPECT_TRUE(img.save(ShotDir().filePath("form1_tools.png")));
  f->ExitNoSetupClick();
}

// Every display type after a run, as one picture.
TEST_F(Shots, EveryDisplayType) {
  QZ_NEED_SHOT_DIR();
  auto f = StartedForm1();
  f->CreateDisplaysFromSetup();
  f->resize(1400, 1000);
  TGDisplForm* first = f->Displays().Windows()[0];
  std::vector<TGDisplForm*> wins{first};
  for (size_t i = 1; i < OfferedTypes().size(); ++i) wins.push_back(f->Displays().NewDisplay());
  for (size_t i = 0; i < wins.size(); ++i) {
    wins[i]->RecreateDisplay(XTypeOf(OfferedTypes()[i]), OfferedTypes()[i]);
    wins[i]->SetClockVisible(true);
  }
  f->Mdi()->tileSubWindows();
  QTimer t;
  t.setInterval(0);
  QObject::connect(&t, &QTimer::timeout, [&] {
    if (f->Core().Cycle.AcceptedFrames() >= 250) {
      t.stop();
      f->miSweepClick();
    }
  });
  t.start();
  f->miSweepClick();
  f->Displays().RedrawAll();
  QCoreApplication::processEvents();
  EXPECT_TRUE(f->grab().save(ShotDir().filePath("displays.png")));
  f->ExitNoSetupClick();
}

// Every page of the model window.
TEST(WindowShots, ModelPages) {
  QZ_NEED_SHOT_DIR();
  testing::MdlRig r;
  TQzMdl win(r.p, nullptr);
  win.show();
  auto* tabs = win.findChild<QTabWidget*>();
  ASSERT_NE(tabs, nullptr);
  for (int i = 0; i < tabs->count(); ++i) {
    tabs->setCurrentIndex(i);
    QCoreApplication::processEvents();
    EXPECT_TRUE(win.grab().save(ShotDir().filePath(QStringLiteral("model_page%1.png").arg(i))));
  }
}

// Both results windows showing a result with every warning.
TEST(WindowShots, ResultsWindows) {
  QZ_NEED_SHOT_DIR();
  TMotState mot;
  TQvWin qv{mot};
  qv.PlaneExt.MsgStr = QStringLiteral("12.5 mm");
  TQzResForm f(qv, nullptr);
  TQzSmallFrm s(qv, nullptr);
  f.SetExtCaption();
  THresults r = testing::SampleResult();
  r.Oflow = true;
  r.TooHot = true;
  f.Napln(&r);
  s.Napln(&r);
  EXPECT_TRUE(f.grab().save(ShotDir().filePath(QStringLiteral("qzresform.png"))));
  EXPECT_TRUE(s.grab().save(ShotDir().filePath(QStringLiteral("qzsmallfrm.png"))));
}

// The single-shot commands window after a measurement, and the power calibration dialog.
TEST(WindowShots, SingleShotAndPowerCalibration) {
  QZ_NEED_SHOT_DIR();
  testing::TrgRig r(5000, 0.01);
  TScriptedAsker asker;
  asker.quiet = true;
  TScopedAsker scoped{&asker};
  TTrgForm f(r.cmd, r.m, nullptr);
  r.NextFrame(MakeMotPos(1200, 2400, 600), 119, 0);
  f.show();
  auto* measure = f.findChild<QPushButton*>(QStringLiteral("btMeasure"));
  ASSERT_NE(measure, nullptr);
  measure->click();
  ShootScreen(f, "trgform.png");
  r.qv.UserPowCorr = 2.0f;
  TPowCal d(r.cmd, nullptr, &asker);
  ShootScreen(d, "powcal.png");
}

// The sampling setup (CW and pulsed), transmitter timing and measurement setup windows.
TEST(WindowShots, MeasurementSetupWindows) {
  QZ_NEED_SHOT_DIR();
  TMotState mot;
  TQvWin qv{mot};
  TSimState sim;
  ::testing::NiceMock<testing::TFakeQzCmd> cmd{qv, sim};
  TScriptedAsker asker;
  asker.quiet = true;
  TScopedAsker scoped{&asker};
  int32_t pretrg = 0;
  bool oneShot = false;
  TQzSamplForm s;
  s.AssignPointers(
      &qv.FixPar, &qv.VarPar, &qv.TrgMethod, [&] { return oneShot; },
      [&](bool on) { oneShot = on; }, &pretrg, &qv.Pulsed, &qv.Rectif);
  s.Pages()->setCurrentIndex(2);
  ShootScreen(s, "sampl_cw.png");
  qv.VarPar.Waveform = wfPulsed;
  ShootScreen(s, "sampl_pulsed.png");
  TTxTimingForm tx(cmd);
  ShootScreen(tx, "txtiming.png");
  TMstpForm m(cmd);
  ShootScreen(m, "mstp.png");
}

}  // namespace
}  // namespace qz
