// The frame window and its tool windows as the window kit places and colours them: the frame's
// colour from the setup (system colours through the palette), the first place on a fresh
// profile, tool windows clear of the menu and tool bars, and the results window's state after
// the unit's start and after a setup load.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <memory>

#include "app/ui/form1.h"
#include "common/form1rig.h"
#include "common/testfiles.h"
#include "results/ui/logform.h"
#include "results/ui/qzresform.h"
#include "results/ui/qzsmallfrm.h"
#include "sim/ui/qzmdl.h"
#include "util/asker.h"
#include "util/folders.h"
#include "util/inifile.h"
#include "util/ui/msgform.h"
#include "util/ui/qcolor.h"
#include "util/ui/qtasker.h"
#include "util/ui/screen.h"

namespace qz {
namespace {

class Form1Kit : public qz::testing::StartedForm1Test {
 protected:
  void SetUp() override {
    startInSetUp = false;
    StartedForm1Test::SetUp();
  }
  // The program started with this text as its automatic setup (none: the fresh profile's).
  TForm1& StartedWith(const QByteArray& text = {}) {
    form.reset();
    if (!text.isEmpty()) {
      IniFile ini(InUserFolder("QzSim0.ini"));
      ini.SetText(text);
      EXPECT_TRUE(ini.UpdateFile());
    }
    Restart();
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
    return *form;
  }

  TFixedScreen screen{QSize(1280, 1024), QRect(0, 30, 1280, 994)};
  TScopedScreen scopedScreen{&screen};
};

TEST_F(Form1Kit, BkgColorOfTheSetupColoursTheDisplayArea) {
  struct Case {
    const char* value;
    QColor expected;  // null: the display area's own (workspace) colour
  };
  const Case cases[] = {
      {"-16777204", QColor()},                 // the application workspace, a system colour
      {"255", QColor(255, 0, 0)},              // 0x0000FF: red
      {"10744749", QColor(0xAD, 0xF3, 0xA3)},  // the colour at creation
  };
  for (const Case& c : cases) {
    TForm1* f = &StartedWith(QByteArray("[QuzarForm]\r\nBkgColor=") + c.value + "\r\n");
    const QColor workspace = f->Mdi()->palette().color(QPalette::Dark);
    const QColor shown = f->Mdi()->background().color();
    EXPECT_EQ(shown, c.expected.isValid() ? c.expected : workspace) << c.value;
    f->ExitNoSetupClick();
  }
}

TEST_F(Form1Kit, AFreshProfileOpensTheFrameInsideTheScreenAndNoToolWindowOverItsBars) {
  // No place of any window stored; every tool window shown.
  TForm1* f = &StartedWith(
      "[QzResForm]\r\nVisible=1\r\n[QzSmallFrm]\r\nVisible=1\r\n[LogForm]\r\nVisible=1\r\n"
      "[Model]\r\nVisible=1\r\n");
  const QRect frame = f->frameGeometry();
  EXPECT_TRUE(screen.Available().contains(frame))
      << frame.x() << "," << frame.y() << " " << frame.width() << "x" << frame.height();
  const int barsBottom = f->Mdi()->mapToGlobal(QPoint(0, 0)).y();
  std::vector<QPoint> corners;
  for (QWidget* w :
       std::initializer_list<QWidget*>{f->ToolWindows().Window<TQzResForm>("QzResForm"),
                                       f->ToolWindows().Window<TQzSmallFrm>("QzSmallFrm"),
                                       f->ToolWindows().Window<TLogForm>("LogForm"),
                                       f->ToolWindows().Window<TQzMdl>("Model")}) {
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible()) << w->objectName().toStdString();
    EXPECT_GE(w->frameGeometry().top(), barsBottom) << w->objectName().toStdString();
    EXPECT_EQ(std::count(corners.begin(), corners.end(), w->pos()), 0)
        << w->objectName().toStdString() << " opens on another tool window";
    corners.push_back(w->pos());
  }
  f->ExitNoSetupClick();
}

TEST_F(Form1Kit, FrequencyStatusSaysNoDataAfterTheStartAndCntOnAfterASetupLoad) {
  TForm1* f = &StartedWith();
  EXPECT_EQ(f->ToolWindows().Window<TQzResForm>("QzResForm")->FreqStatus()->text(),
            QStringLiteral("No data"));
  const QString path = dir.filePath("user.stp");
  testing::WriteAll(path, "[QvTuStp1]\r\nPoints=101\r\n");
  QString comment, err;
  ASSERT_TRUE(f->LoadSetupFile(path, comment, err)) << err.toStdString();
  EXPECT_EQ(f->ToolWindows().Window<TQzResForm>("QzResForm")->FreqStatus()->text(),
            QStringLiteral("Cnt ON"));
  EXPECT_EQ(f->ToolWindows()
                .Window<TQzResForm>("QzResForm")
                ->FreqLampLabel()
                ->property("lampColor")
                .toUInt(),
            clBtnFace);
  f->ExitNoSetupClick();
}

TEST_F(Form1Kit, StopShowsItsNoticePaintedDuringTheWait) {
  TForm1* f = &StartedWith();
  TQtAsker qt;
  QString shown;
  bool painted = false;
  int waited = 0;
  qt.sleeper = [&](int ms) {
    waited = ms;
    TMsgForm* n = qt.Notice();
    ASSERT_NE(n, nullptr);
    shown = n->lbMsg->text();
    // The label's text is on the notice: a grab holds pixels darker than the face.
    const QImage img = n->grab().toImage();
    const int face = qGray(n->palette().color(QPalette::Window).rgb());
    for (int y = 0; y < img.height() && !painted; ++y)
      for (int x = 0; x < img.width() && !painted; ++x)
        painted = qGray(img.pixel(x, y)) + 100 < face;
  };
  {
    TScopedAsker useQt(&qt);
    f->QvStop1Click();
  }
  EXPECT_EQ(waited, 500);
  EXPECT_EQ(shown, QStringLiteral("Quzar Stop OK"));
  EXPECT_TRUE(painted);
  f->ExitNoSetupClick();
}

}  // namespace
}  // namespace qz
