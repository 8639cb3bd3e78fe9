#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>
#include <QToolBar>

#include "app/picture.h"
#include "app/simcore.h"
#include "app/ui/aboutbox.h"
#include "app/ui/form1.h"
#include "app/ui/windowcmds.h"
#include "common/form1rig.h"
#include "core/resultstext.h"
#include "display/ui/displaywindows.h"
#include "display/ui/gdisplform.h"
#include "util/ui/qcolor.h"
#include "util/ui/screen.h"

namespace qz {
namespace {

// The frame window on a profile of its own, shown, with the display window of the default setup.
class Form1Pictures : public testing::StartedForm1Test {
 protected:
  void SetUp() override {
    showForm = false;
    StartedForm1Test::SetUp();
    if (HasFatalFailure()) return;
    f = form.get();
    f->resize(1000, 800);
    f->show();
    f->CreateDisplaysFromSetup();
    QCoreApplication::processEvents();
    ASSERT_EQ(f->Displays().Windows().size(), 1u);
  }
  void TearDown() override {
    if (f) f->ExitNoSetupClick();
    StartedForm1Test::TearDown();
  }
  TWindowCmds& Cmds() { return f->WindowCmds(); }
  QString In(const char* name) const {
    return QDir(UserFolder()).filePath(QString::fromUtf8(name));
  }
  QStringList Texts(QMenu* m) {
    emit m->aboutToShow();
    QStringList t;
    for (QAction* a : m->actions()) t << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return t;
  }
  QMdiSubWindow* Active() {
    QMdiSubWindow* sw = f->Mdi()->activeSubWindow();
    return sw ? sw : f->Mdi()->currentSubWindow();
  }

  TForm1* f = nullptr;
};

TEST_F(Form1Pictures, FileMenuCaptionsFollowTypeAreaAndSeparator) {
  EXPECT_EQ(Texts(f->FileMenu()),
            (QStringList{"S&ave Setup", "L&oad Setup", "Open User Folder", "-", "&Copy Picture",
                         "&Save Picture", "Picture Area  (Main)", "Picture type  (BMP)", "-",
                         "Separator (Point)", "-", "E&xit", "Exit (no setup)"}));
  EXPECT_EQ(Cmds().CopyPictureAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_C));
  EXPECT_EQ(Cmds().SavePictureAction()->statusTip(),
            QStringLiteral("Save picture area to a picture file"));
  EXPECT_EQ(Texts(Cmds().PictureTypeMenu()), (QStringList{"BMP", "GIF", "JPEG", "PNG"}));
  EXPECT_EQ(Cmds().PictureTypeMenu()->actions()[3]->statusTip(),
            QStringLiteral("Lossless, full colour"));
  EXPECT_EQ(Texts(Cmds().PictureAreaMenu()), (QStringList{"Main Window", "Active Chart"}));
  EXPECT_EQ(Cmds().PictureTypeMenu()->actions()[1]->statusTip(),
            QStringLiteral("Best compression - recommended"));
  EXPECT_EQ(Cmds().PictureAreaMenu()->actions()[1]->statusTip(),
            QStringLiteral("Only chart area of the currently active Display Window"));

  // Choosing sets the frame window's fields; the captions and checks follow at the next opening.
  Cmds().PictureTypeMenu()->actions()[2]->trigger();
  Cmds().PictureAreaMenu()->actions()[1]->trigger();
  Cmds().SeparatorMenu()->actions()[1]->trigger();
  EXPECT_EQ(f->FrameSetup().PicTyp, kPicJpeg);
  EXPECT_EQ(f->FrameSetup().PicArea, kPicAreaChart);
  EXPECT_EQ(f->SaveState().SeparForTxtSave, QChar(','));
  const QStringList t = Texts(f->FileMenu());
  EXPECT_EQ(t[6], QStringLiteral("Picture Area  (Chart)"));
  EXPECT_EQ(t[7], QStringLiteral("Picture type  (JPEG)"));
  EXPECT_EQ(t[9], QStringLiteral("Separator (Comma)"));
  EXPECT_TRUE(Cmds().PictureTypeMenu()->actions()[2]->isChecked());
  EXPECT_FALSE(Cmds().PictureTypeMenu()->actions()[0]->isChecked());
  EXPECT_TRUE(Cmds().SeparatorMenu()->actions()[1]->isChecked());
}

TEST_F(Form1Pictures, WindowMenuItemsShortcutsAndHints) {
  EXPECT_EQ(Texts(f->WindowMenu()),
            (QStringList{"&New Display", "&Arrange", "&Focus to Display", "&Main Window Color...",
                         "&Impress All", "&Blank All", "&Redraw All", "&Close All",
                         // the display windows
                         "-", "&1 Mag - Input"}));
  EXPECT_EQ(Texts(Cmds().ArrangeMenu()),
            (QStringList{"&Cascade", "Tile &Horiz", "Tile &Vert", "&Arrange Icons", "-", "&Normal",
                         "Max &Frame", "Max &Displ", "&Max Frame && Displ"}));
  const QList<QAction*> a = Cmds().ArrangeMenu()->actions();
  EXPECT_EQ(a[0]->statusTip(), QStringLiteral("Cascade Display Windows"));
  EXPECT_EQ(a[3]->statusTip(), QStringLiteral("Arrange minimized windows at mainframe bottom"));
  EXPECT_EQ(a[8]->statusTip(),
            QStringLiteral("Maximize frame window and Display Window within frame window"));
  EXPECT_EQ(f->WindowMenu()->actions()[2]->shortcut(), QKeySequence(Qt::Key_F8));
}

TEST_F(Form1Pictures, SavingChartAreaWritesTheChartOfTheActiveWindow) {
  f->FrameSetup().PicArea = kPicAreaChart;
  TGDisplForm* w = f->Displays().Windows()[0];
  asker.QueueFile(In("chart.bmp"));
  Cmds().BmpToFileOrClipb(true);
  QFile file(In("chart.bmp"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QImage img = QImage::fromData(file.readAll(), "BMP");
  // The client below the window's menu bar, less the tool panel and one pixel each way.
  const int clientH = w->height() - w->MenuBar()->height();
  EXPECT_EQ(img.width(), w->width() - w->ToolBar()->width() - 1);
  EXPECT_EQ(img.height(), clientH - 1);
  // Every pixel is one of the 16 colours.
  for (int y = 0; y < img.height(); y += 7)
    for (int x = 0; x < img.width(); x += 7) {
      const uint32_t c = img.pixel(x, y) & 0xFFFFFF;
      ASSERT_NE(std::find(Palette16().begin(), Palette16().end(), c), Palette16().end());
    }
}

TEST_F(Form1Pictures, SavingWithEachTypeSetsThePictureType) {
  struct Case {
    const char* chosen;
    int filter;
    const char* written;
    int32_t type;
  } cases[] = {{"m.gif", 1, "m.gif", kPicGif},
               {"m.BMP", 3, "m.jpg", kPicJpeg},
               {"n", 1, "n.bmp", kPicBmp},
               // A PNG name under the BMP filter is written as PNG under that very name.
               {"a.png", 1, "a.png", kPicPng},
               {"p", 4, "p.png", kPicPng}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.chosen);
    asker.QueueFile(In(c.chosen));
    asker.QueueFilterIndex(c.filter);
    Cmds().SavePictureAction()->trigger();
    EXPECT_EQ(f->FrameSetup().PicTyp, c.type);
    // The main window's picture is the display area.
    const QImage img(In(c.written));
    EXPECT_EQ(img.size(), f->Mdi()->size());
  }
}

TEST_F(Form1Pictures, ClipboardGetsABitmapOrTheJpegBytes) {
  QClipboard* cb = QApplication::clipboard();
  f->FrameSetup().PicTyp = kPicGif;
  cb->clear();
  Cmds().CopyPictureAction()->trigger();
  ASSERT_NE(cb->mimeData(), nullptr);
  EXPECT_TRUE(cb->mimeData()->hasImage());
  EXPECT_FALSE(cb->mimeData()->hasFormat(QStringLiteral("image/gif")));
  EXPECT_EQ(cb->image().size(), f->Mdi()->size());

  f->FrameSetup().PicTyp = kPicJpeg;
  cb->clear();
  Cmds().CopyPictureAction()->trigger();
  ASSERT_NE(cb->mimeData(), nullptr);
  const QByteArray jpeg = cb->mimeData()->data(QStringLiteral("image/jpeg"));
  EXPECT_EQ(jpeg.left(2), QByteArray("\xFF\xD8", 2));
  EXPECT_TRUE(cb->mimeData()->hasImage());
}

// PNG pictures keep the window's own colours: the frame window's background (RGB AD F3 A3)
// is no colour of the 16-colour palette.
TEST_F(Form1Pictures, PngPicturesAndTheClipboardKeepFullColour) {
  const QRgb frame = qRgb(0xAD, 0xF3, 0xA3);
  ASSERT_EQ(std::find(Palette16().begin(), Palette16().end(), frame & 0xFFFFFF), Palette16().end());
  f->Displays().Windows()[0]->parentWidget()->resize(200, 150);
  QCoreApplication::processEvents();
  auto countFrame = [&](const QImage& img) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x) n += (img.pixel(x, y) & 0xFFFFFF) == (frame & 0xFFFFFF);
    return n;
  };
  asker.QueueFile(In("full.png"));
  asker.QueueFilterIndex(1);
  Cmds().SavePictureAction()->trigger();
  QFile file(In("full.png"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  EXPECT_EQ(bytes.left(4), QByteArray("\x89PNG", 4));
  const QImage saved = QImage::fromData(bytes, "PNG");
  ASSERT_FALSE(saved.isNull());
  EXPECT_EQ(saved.size(), f->Mdi()->size());
  EXPECT_GT(countFrame(saved), 1000);
  EXPECT_EQ(f->FrameSetup().PicTyp, kPicPng);
  EXPECT_EQ(Texts(f->FileMenu())[7], QStringLiteral("Picture type  (PNG)"));
  EXPECT_TRUE(Cmds().PictureTypeMenu()->actions()[3]->isChecked());

  QClipboard* cb = QApplication::clipboard();
  cb->clear();
  Cmds().CopyPictureAction()->trigger();
  const QImage copied = cb->image();
  EXPECT_EQ(copied.size(), f->Mdi()->size());
  EXPECT_EQ(countFrame(copied), countFrame(saved));
  // The same picture as GIF keeps the background exact in place of its least used colour.
  f->FrameSetup().PicTyp = kPicGif;
  Cmds().CopyPictureAction()->trigger();
  EXPECT_GE(countFrame(cb->image()), countFrame(saved));
}

// The 16-colour files of the main window keep its background: 173, 243, 163 exactly in BMP and
// GIF, within the JPEG's loss.
TEST_F(Form1Pictures, SixteenColourPicturesKeepTheBackgroundColour) {
  ASSERT_EQ(f->FrameSetup().BkgColor, 10744749);
  f->Displays().Windows()[0]->parentWidget()->resize(200, 150);
  QCoreApplication::processEvents();
  struct Case {
    const char* name;
    int tolerance;
  };
  for (const Case c : {Case{"bkg.bmp", 0}, Case{"bkg.gif", 0}, Case{"bkg.jpg", 24}}) {
    SCOPED_TRACE(c.name);
    asker.QueueFile(In(c.name));
    Cmds().SavePictureAction()->trigger();
    const QImage img(In(c.name));
    ASSERT_EQ(img.size(), f->Mdi()->size());
    // Far from the display window, in the middle of the empty area.
    for (const QPoint p : {QPoint(img.width() - 20, img.height() - 20),
                           QPoint(img.width() / 2 + 150, img.height() / 2 + 120)}) {
      const QRgb px = img.pixel(p);
      EXPECT_NEAR(qRed(px), 173, c.tolerance);
      EXPECT_NEAR(qGreen(px), 243, c.tolerance);
      EXPECT_NEAR(qBlue(px), 163, c.tolerance);
    }
  }
}

TEST_F(Form1Pictures, WithoutDisplayWindowsCopyAndSaveDoNothing) {
  f->Displays().CloseAll();
  QCoreApplication::processEvents();
  ASSERT_TRUE(f->Displays().Windows().empty());
  QClipboard* cb = QApplication::clipboard();
  cb->setText(QStringLiteral("kept"));
  Cmds().CopyPictureAction()->trigger();
  EXPECT_EQ(cb->text(), QStringLiteral("kept"));
  Cmds().SavePictureAction()->trigger();
  EXPECT_TRUE(asker.Records(TAskRecord::SaveFile).empty());
  EXPECT_TRUE(asker.Records(TAskRecord::Message).empty());
}

TEST_F(Form1Pictures, AMinimisedChartIsReportedAndNothingIsWritten) {
  f->FrameSetup().PicArea = kPicAreaChart;
  Active()->showMinimized();
  QCoreApplication::processEvents();
  QClipboard* cb = QApplication::clipboard();
  cb->setText(QStringLiteral("kept"));
  Cmds().BmpToFileOrClipb(false);
  Cmds().BmpToFileOrClipb(true);
  EXPECT_EQ(cb->text(), QStringLiteral("kept"));
  EXPECT_TRUE(asker.Records(TAskRecord::SaveFile).empty());
  const auto msgs = asker.Records(TAskRecord::Message);
  ASSERT_EQ(msgs.size(), 2u);
  EXPECT_EQ(msgs[0].text, QStringLiteral("Nothing to picture: the window is minimised"));
}

TEST_F(Form1Pictures, ArrangingThreeDisplayWindows) {
  f->Displays().NewDisplay();
  f->Displays().NewDisplay();
  QCoreApplication::processEvents();
  ASSERT_EQ(f->Mdi()->subWindowList().size(), 3);
  const QSize area = f->Mdi()->viewport()->size();
  const QRect frame = f->geometry();

  Cmds().ArrangeWindows(2);  // Max Displ
  EXPECT_EQ(f->geometry(), frame);
  ASSERT_NE(Active(), nullptr);
  EXPECT_TRUE(Active()->isMaximized());

  Cmds().ArrangeWindows(0);  // Normal
  EXPECT_FALSE(Active()->isMaximized());
  EXPECT_EQ(Active()->geometry(), QRect(0, 0, area.width() - 30, area.height() - 30));
  EXPECT_EQ(f->geometry(), frame);

  auto expectInsideApart = [&](const std::vector<QMdiSubWindow*>& ws) {
    const QRect all(QPoint(0, 0), area);
    for (size_t i = 0; i < ws.size(); ++i) {
      EXPECT_TRUE(all.contains(ws[i]->geometry())) << i;
      for (size_t j = i + 1; j < ws.size(); ++j)
        EXPECT_FALSE(ws[i]->geometry().intersects(ws[j]->geometry())) << i << " " << j;
    }
  };
  std::vector<QMdiSubWindow*> all;
  for (QMdiSubWindow* sw : f->Mdi()->subWindowList()) all.push_back(sw);
  // Strips of a third would be lower (narrower) than a new display window: a 2 x 2 grid, filled
  // row by row (Horiz) or column by column (Vert).
  ASSERT_LT(area.height() / 3, all[0]->widget()->sizeHint().height());
  ASSERT_LT(area.width() / 3, all[0]->widget()->sizeHint().width());
  const QSize cell(area.width() / 2, area.height() / 2);
  Cmds().TileHoriz();
  expectInsideApart(all);
  EXPECT_EQ(all[0]->geometry(), QRect(QPoint(0, 0), cell));
  EXPECT_EQ(all[1]->pos(), QPoint(cell.width(), 0));
  EXPECT_EQ(all[2]->pos(), QPoint(0, cell.height()));
  Cmds().TileVert();
  expectInsideApart(all);
  EXPECT_EQ(all[1]->pos(), QPoint(0, cell.height()));
  EXPECT_EQ(all[2]->pos(), QPoint(cell.width(), 0));
  // A frame window large enough for three strips of a new window's height gets them.
  f->resize(1000, 1100);
  QCoreApplication::processEvents();
  const QSize tall = f->Mdi()->viewport()->size();
  ASSERT_GE(tall.height() / 3, all[0]->size().height() - all[0]->widget()->height() +
                                   all[0]->widget()->sizeHint().height());
  Cmds().TileHoriz();
  EXPECT_EQ(all[0]->geometry(), QRect(0, 0, tall.width(), tall.height() / 3));
  EXPECT_EQ(all[2]->geometry().bottom(), tall.height() - 1);

  for (QMdiSubWindow* sw : all) sw->showMinimized();
  QCoreApplication::processEvents();
  Cmds().ArrangeIcons();
  for (QMdiSubWindow* sw : all) EXPECT_TRUE(QRect(QPoint(0, 0), tall).contains(sw->geometry()));
  for (QMdiSubWindow* sw : all) EXPECT_EQ(sw->geometry().bottom(), tall.height() - 1);
}

TEST_F(Form1Pictures, MaxFrameCoversTheWorkAreaAndKeepsTheChildNormal) {
  const TFixedScreen screen(QSize(1280, 1024), QRect(0, 24, 1280, 1000));
  TScopedScreen scoped(&screen);
  f->resize(700, 500);
  QCoreApplication::processEvents();
  Active()->showMaximized();
  Cmds().ArrangeWindows(1);  // Max Frame
  QCoreApplication::processEvents();
  EXPECT_TRUE(screen.Available().contains(f->frameGeometry()));
  EXPECT_GT(f->width(), 1200);
  EXPECT_GT(f->height(), 900);
  EXPECT_FALSE(Active()->isMaximized());
  EXPECT_EQ(Active()->pos(), QPoint(0, 0));
  // Placed in the display area of the frame window's new size.
  EXPECT_EQ(Active()->size(), f->Mdi()->viewport()->size() - QSize(30, 30));

  Cmds().ArrangeWindows(3);  // Max Frame && Displ
  EXPECT_TRUE(Active()->isMaximized());
}

TEST_F(Form1Pictures, FocusToDisplayGivesTheKeyboardToTheActiveDisplayWindow) {
  f->Displays().NewDisplay();
  QCoreApplication::processEvents();
  QMdiSubWindow* sw = Active();
  ASSERT_NE(sw, nullptr);
  f->MainToolBar()->setFocus();
  f->findChild<QAction*>(QStringLiteral("miFocusToDisplay"))->trigger();
  QCoreApplication::processEvents();
  EXPECT_EQ(f->Mdi()->currentSubWindow(), sw);
  QWidget* focus = QApplication::focusWidget();
  ASSERT_NE(focus, nullptr);
  EXPECT_TRUE(focus == sw->widget() || sw->widget()->isAncestorOf(focus));
}

TEST_F(Form1Pictures, MainWindowColourIsAskedPresetAndApplied) {
  f->FrameSetup().BkgColor = 0x123456;
  // Cancelled: nothing changes.
  Cmds().MainWindowColor();
  EXPECT_EQ(f->FrameSetup().BkgColor, 0x123456u);
  ASSERT_EQ(asker.Records(TAskRecord::Color).size(), 1u);

  asker.QueueColor(0x00FF8040);
  // A double click on the empty display area asks too.
  f->Displays().CloseAll();
  QCoreApplication::processEvents();
  QWidget* vp = f->Mdi()->viewport();
  QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(5, 5), vp->mapToGlobal(QPointF(5, 5)),
                  Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(vp, &dbl);
  EXPECT_EQ(asker.Records(TAskRecord::Color).size(), 2u);
  EXPECT_EQ(f->FrameSetup().BkgColor, 0x00FF8040u);
  EXPECT_EQ(f->Mdi()->background().color(), ToQColor(0x00FF8040));
}

TEST_F(Form1Pictures, AboutShowsTheProgramAndUnitModally) {
  TAboutBox* box = Cmds().AboutBox();
  ASSERT_NE(box, nullptr);
  bool seen = false;
  Cmds().RunModal = [&](QDialog& d) {
    seen = &d == box && d.isModal();
    return 0;
  };
  QAction* about = f->findChild<QAction*>(QStringLiteral("miAbout"));
  ASSERT_NE(about, nullptr);
  EXPECT_EQ(about->text(), QStringLiteral("&About..."));
  EXPECT_EQ(about->statusTip(), QStringLiteral("Program information"));
  about->trigger();
  EXPECT_TRUE(seen);
  const TAboutStrings s = GetAboutStrings(f->Core().Qv, CurrentProgramInfo());
  EXPECT_EQ(box->windowTitle(), s.title);
  EXPECT_EQ(box->ProgramLabel()->text(), s.program);
  EXPECT_TRUE(box->UnitLabel()->text().startsWith(QStringLiteral("HW : ")));
  EXPECT_TRUE(box->UnitLabel()->text().contains(QStringLiteral("\nSW : V")));
}

}  // namespace
}  // namespace qz
