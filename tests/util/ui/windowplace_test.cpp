// Window places on real windows (offscreen, a fixed screen): the same measure written and read,
// default places of tool windows clear of the frame window's bars, the frame window's first place
// inside the available area.
#include "util/ui/windowplace.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QToolBar>
#include <QVBoxLayout>
#include <memory>

#include "util/inifile.h"
#include "util/ui/screen.h"

namespace qz {
namespace {

// The window system has framed and placed the window.
void Settle() {
  for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

// A frame window with a menu and a tool bar, as the program's.
std::unique_ptr<QMainWindow> Frame() {
  auto f = std::make_unique<QMainWindow>();
  f->menuBar()->addMenu(QStringLiteral("&File"))->addAction(QStringLiteral("E&xit"));
  f->addToolBar(QStringLiteral("Standard"))->addAction(QStringLiteral("Run"));
  f->setCentralWidget(new QWidget);
  return f;
}

// A tool window laid out by a layout (its size is known only from the layout).
QWidget* LaidOutTool(QWidget* parent) {
  auto* w = new QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint);
  auto* l = new QVBoxLayout(w);
  for (int i = 0; i < 6; ++i) l->addWidget(new QLabel(QStringLiteral("Row %1 of the tool").arg(i)));
  return w;
}

class WindowPlaceUi : public ::testing::Test {
 protected:
  TFixedScreen screen{QSize(1280, 1024), QRect(0, 24, 1280, 1000)};
  TScopedScreen scoped{&screen};
};

TEST_F(WindowPlaceUi, ToolWindowsOpenWhereTheyWereClosedAfterTenRestarts) {
  auto frame = Frame();
  frame->show();
  IniFile ini;
  ini.SetText("[T]\r\nVisible=1\r\nTop=300\r\nLeft=200\r\n");
  for (int restart = 0; restart < 10; ++restart) {
    for (bool laidOut : {false, true}) {
      const QString section = laidOut ? QStringLiteral("L") : QStringLiteral("T");
      if (restart == 0 && laidOut)
        ini.SetText(ini.Text() + "[L]\r\nVisible=1\r\nTop=120\r\nLeft=40\r\n");
      std::unique_ptr<QWidget> w(laidOut ? LaidOutTool(frame.get())
                                         : new QWidget(frame.get(), Qt::Tool));
      if (!laidOut) w->setFixedSize(187, 53);
      ReadWindowPlace(ini, section, *w, kToolPlaceRule);
      Settle();
      EXPECT_TRUE(w->isVisible());
      WriteWindowPlace(ini, section, *w, kToolPlaceRule);
      EXPECT_EQ(ini.ReadInteger(section, "Top", -1), laidOut ? 120 : 300) << restart;
      EXPECT_EQ(ini.ReadInteger(section, "Left", -1), laidOut ? 40 : 200) << restart;
      // The outer frame is where the setup says; the client area lies inside it.
      EXPECT_EQ(w->frameGeometry().topLeft(), QPoint(laidOut ? 40 : 200, laidOut ? 120 : 300));
      EXPECT_GE(w->geometry().top(), w->frameGeometry().top());
    }
  }
}

TEST_F(WindowPlaceUi, ToolWindowsWithoutAPlaceCascadeBelowTheFramesBars) {
  auto frame = Frame();
  frame->move(0, 24);
  frame->resize(1000, 800);
  frame->show();
  Settle();
  const int barsBottom = frame->centralWidget()->mapToGlobal(QPoint(0, 0)).y();
  IniFile empty;
  std::vector<std::unique_ptr<QWidget>> tools;
  std::vector<QPoint> corners;
  for (int i = 0; i < 4; ++i) {
    tools.emplace_back(LaidOutTool(frame.get()));
    ReadWindowPlace(empty, QStringLiteral("None"), *tools.back(), kToolPlaceRule);
    tools.back()->show();
    Settle();
    const QRect f = tools.back()->frameGeometry();
    EXPECT_GE(f.top(), barsBottom) << "tool " << i << " covers the menu or tool bar";
    EXPECT_EQ(std::count(corners.begin(), corners.end(), f.topLeft()), 0) << "tool " << i;
    corners.push_back(f.topLeft());
  }
  // A second read without a position leaves a placed window where it is.
  const QPoint before = tools[0]->pos();
  ReadWindowPlace(empty, QStringLiteral("None"), *tools[0], kToolPlaceRule);
  EXPECT_EQ(tools[0]->pos(), before);
}

TEST_F(WindowPlaceUi, TheFrameWindowOpensInsideTheAvailableArea) {
  auto frame = Frame();
  PlaceInsideAvailable(*frame, screen, kAssumedFrameMargins);
  frame->show();
  Settle();
  const QRect f = frame->frameGeometry();
  EXPECT_TRUE(screen.Available().contains(f))
      << f.x() << "," << f.y() << " " << f.width() << "x" << f.height();
  EXPECT_GE(f.top(), 24);  // the title bar is on the screen, below the panel
}

TEST_F(WindowPlaceUi, TheFrameWindowsSizeIsLimited) {
  auto frame = Frame();
  IniFile ini;
  ini.SetText("[QuzarForm]\r\nTop=-40\r\nLeft=5\r\nWidth=100\r\nHeight=99999\r\n");
  const TWindowPlace p = ReadWindowPlace(ini, QStringLiteral("QuzarForm"), *frame, kFramePlaceRule);
  EXPECT_EQ(p.top, 0);
  EXPECT_EQ(frame->size(), QSize(400, 1014));
  IniFile out;
  WriteWindowPlace(out, QStringLiteral("QuzarForm"), *frame, kFramePlaceRule);
  EXPECT_EQ(out.ReadSection(QStringLiteral("QuzarForm")),
            QStringList({"Top", "Left", "Width", "Height"}));
  EXPECT_EQ(out.ReadInteger("QuzarForm", "Width", 0), 400);
}

}  // namespace
}  // namespace qz
