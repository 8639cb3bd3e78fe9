// Every question, notice and file dialog of the window program belongs to the active window and
// stays above the stay-on-top tool windows; a transient notice is painted before its wait.
#include "util/ui/dialogparent.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <memory>

#include "util/ui/cakaj.h"
#include "util/ui/dialogdriver.h"
#include "util/ui/inputform.h"
#include "util/ui/msgform.h"
#include "util/ui/qtasker.h"
#include "util/ui/robimm.h"
#include "util/valueinput.h"

namespace qz {
namespace {

using testing::WhenModal;

struct Seen {
  QWidget* parent = nullptr;
  bool onTop = false;
};

Seen Look(QWidget* dialog) {
  return {dialog->parentWidget(), dialog->windowFlags().testFlag(Qt::WindowStaysOnTopHint)};
}

void Activate(QWidget* w) {
  w->show();
  w->activateWindow();
  for (int i = 0; i < 5 && QApplication::activeWindow() != w; ++i) QApplication::processEvents();
}

// The frame window and a stay-on-top tool window of it.
class DialogParentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    frame = std::make_unique<QMainWindow>();
    frame->resize(600, 400);
    tool = new QWidget(frame.get(), Qt::Tool | Qt::WindowStaysOnTopHint);
    tool->resize(200, 100);
    frame->show();
  }
  std::unique_ptr<QMainWindow> frame;
  QWidget* tool = nullptr;
  TQtAsker asker;
};

TEST_F(DialogParentTest, QuestionsEntriesAndFileDialogsBelongToTheActiveToolWindow) {
  Activate(tool);
  ASSERT_EQ(QApplication::activeWindow(), tool);
  EXPECT_EQ(DialogParent(), tool);

  Seen box, entry, open, save;
  WhenModal<QMessageBox>([&](QMessageBox* b) {
    box = Look(b);
    b->button(QMessageBox::Yes)->click();
  });
  EXPECT_TRUE(AskYesNo(QStringLiteral("Save setup"), asker));
  Activate(tool);
  WhenModal<TInputForm>([&](TInputForm* f) {
    entry = Look(f);
    f->reject();
  });
  asker.InputText(QStringLiteral("Enter Comment"), QStringLiteral("Comment :"), QString());
  Activate(tool);
  WhenModal<QFileDialog>([&](QFileDialog* d) {
    open = Look(d);
    d->reject();
  });
  asker.OpenFileName(QStringLiteral("Load System Setup"), QString(), QString());
  Activate(tool);
  WhenModal<QFileDialog>([&](QFileDialog* d) {
    save = Look(d);
    d->reject();
  });
  asker.SaveFileName(QStringLiteral("Prepare Log File"), QString(), QString(), "txt");

  for (const Seen& s : {box, entry, open, save}) {
    EXPECT_EQ(s.parent, tool);
    EXPECT_TRUE(s.onTop);
  }
}

TEST_F(DialogParentTest, ADialogOfTheFrameWindowStillStaysAboveAVisibleToolWindow) {
  tool->show();
  Activate(frame.get());
  ASSERT_EQ(QApplication::activeWindow(), frame.get());
  Seen box;
  WhenModal<QMessageBox>([&](QMessageBox* b) {
    box = Look(b);
    b->accept();
  });
  asker.ShowInfo(QStringLiteral("Setup info:\r\ncarry"));
  EXPECT_EQ(box.parent, frame.get());
  EXPECT_TRUE(box.onTop);

  // With no stay-on-top window showing, a dialog of the frame window needs no such flag.
  tool->hide();
  WhenModal<QMessageBox>([&](QMessageBox* b) {
    box = Look(b);
    b->accept();
  });
  asker.ShowInfo(QStringLiteral("x"));
  EXPECT_FALSE(box.onTop);
}

TEST_F(DialogParentTest, NoticeWaitingAndBusyWindowsBelongToTheActiveWindow) {
  Activate(tool);
  asker.sleeper = [](int) {};
  asker.ShowNotice(QStringLiteral("Wait..."), QStringLiteral("Quzar Stop OK"), 500);
  ASSERT_NE(asker.Notice(), nullptr);
  EXPECT_EQ(asker.Notice()->parentWidget(), tool);
  asker.HideNotice();
  Activate(tool);
  asker.ShowWait(QString(), QStringLiteral("Moving stubs"), 3, 0);
  ASSERT_NE(asker.Waiting(), nullptr);
  EXPECT_EQ(asker.Waiting()->parentWidget(), tool);
  EXPECT_TRUE(asker.Waiting()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  asker.HideWait();
  Activate(tool);
  asker.ShowBusy(QString(), 4, 0);
  ASSERT_NE(asker.Busy(), nullptr);
  EXPECT_EQ(asker.Busy()->parentWidget(), tool);
  EXPECT_TRUE(asker.Busy()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  asker.HideBusy();
}

// Counts the paints a widget receives.
class PaintCounter : public QObject {
 public:
  int paints = 0;
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) ++paints;
    return false;
  }
};

TEST_F(DialogParentTest, ATransientNoticeIsPaintedBeforeItsWait) {
  Activate(tool);
  PaintCounter counter;
  int paintsAtWait = -1;
  int waitedMs = 0;
  QString textAtWait;
  bool textPixels = false;
  asker.sleeper = [&](int ms) {
    waitedMs = ms;
    TMsgForm* n = asker.Notice();
    ASSERT_NE(n, nullptr);
    paintsAtWait = counter.paints;
    textAtWait = n->lbMsg->text();
    // What the notice shows during its wait: dark text pixels on the light face.
    const QImage img = n->grab().toImage();
    const QColor face = n->palette().color(QPalette::Window);
    for (int y = 0; y < img.height() && !textPixels; ++y)
      for (int x = 0; x < img.width() && !textPixels; ++x)
        textPixels = qGray(img.pixel(x, y)) + 100 < qGray(face.rgb());
  };
  // The counter is attached as the notice is shown.
  struct Attach : QObject {
    PaintCounter* c;
    bool eventFilter(QObject* o, QEvent* e) override {
      if (e->type() == QEvent::Show)
        if (auto* n = qobject_cast<TMsgForm*>(o)) n->lbMsg->installEventFilter(c);
      return false;
    }
  } attach;
  attach.c = &counter;
  qApp->installEventFilter(&attach);
  ShowTransient(QStringLiteral("Quzar Stop OK"), 500, asker);
  qApp->removeEventFilter(&attach);
  EXPECT_EQ(waitedMs, 500);
  EXPECT_EQ(textAtWait, QStringLiteral("Quzar Stop OK"));
  EXPECT_GT(paintsAtWait, 0) << "the notice's text was not painted before the wait";
  EXPECT_TRUE(textPixels);
  EXPECT_EQ(asker.Notice(), nullptr);  // gone after its wait
}

}  // namespace
}  // namespace qz
