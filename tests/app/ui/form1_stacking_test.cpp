// With stay-on-top tool windows showing, every dialog and window the operator opens from the
// frame window comes up active and above them, and a dialog is wide enough for its title and
// has a close button only.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QMenu>
#include <QMessageBox>
#include <functional>

#include "app/program.h"
#include "app/programevents.h"
#include "app/ui/form1.h"
#include "app/ui/helpviewer.h"
#include "common/form1rig.h"
#include "results/logsettings.h"
#include "results/ui/qzresform.h"
#include "results/ui/qzsmallfrm.h"
#include "tuner/sysinfotext.h"
#include "tuner/ui/makesce.h"
#include "util/ui/dialogdriver.h"
#include "util/ui/qtasker.h"

namespace qz {
namespace {

using testing::WhenModal;

class Form1Stacking : public testing::StartedForm1Test {
 protected:
  void SetUp() override {
    StartedForm1Test::SetUp();
    if (HasFatalFailure()) return;
    for (const char* s : {kSmallFrmSection, kResFormSection, kLogSection, kTuStpSection}) {
      QWidget* w = form->ToolWindows().Window<QWidget>(QString::fromLatin1(s));
      ASSERT_NE(w, nullptr) << s;
      w->show();
      tools.push_back(w);
    }
    Activate(tools.back());
  }
  static void Activate(QWidget* w) {
    w->activateWindow();
    for (int i = 0; i < 10 && QApplication::activeWindow() != w; ++i) QApplication::processEvents();
  }
  QAction* Action(const QString& name) {
    if (QAction* a = form->findChild<QAction*>(name)) return a;
    for (QAction* a : form->findChildren<QAction*>())
      if (a->text() == name) return a;
    return nullptr;
  }
  std::vector<QWidget*> tools;
};

struct Seen {
  bool up = false;
  bool active = false;
  bool onTop = false;
  bool closeOnly = false;
  int width = 0;
  int titleWidth = 0;
};

Seen Look(QWidget* d) {
  // What the window system does with a raise and an activation arrives as events.
  for (int i = 0; i < 20 && QApplication::activeWindow() != d; ++i) QApplication::processEvents();
  Seen s;
  s.up = d->isVisible();
  s.active = QApplication::activeWindow() == d;
  const Qt::WindowFlags f = d->windowFlags();
  s.onTop = f.testFlag(Qt::WindowStaysOnTopHint);
  s.closeOnly =
      f.testFlag(Qt::WindowCloseButtonHint) && !f.testFlag(Qt::WindowContextHelpButtonHint) &&
      !f.testFlag(Qt::WindowMinimizeButtonHint) && !f.testFlag(Qt::WindowMaximizeButtonHint);
  s.width = d->width();
  s.titleWidth = QFontMetrics(QApplication::font()).horizontalAdvance(d->windowTitle());
  return s;
}

TEST_F(Form1Stacking, EveryDialogOfTheMenusOpensActiveAboveFourToolWindows) {
  const char* const items[] = {"miSamplSetup", "miTxTiming", "miPowCal", "miComPort", "&About..."};
  for (const char* item : items) {
    QAction* a = Action(QString::fromLatin1(item));
    ASSERT_NE(a, nullptr) << item;
    Activate(tools.back());
    Seen seen;
    QString shown;
    WhenModal<QDialog>([&](QDialog* d) {
      seen = Look(d);
      shown = d->windowTitle();
      d->reject();
    });
    a->trigger();
    // The COM port dialog answers a cancel with a notice of its own.
    while (QWidget* m = QApplication::activeModalWidget()) m->close();
    EXPECT_TRUE(seen.up) << item;
    EXPECT_TRUE(seen.active) << item << " (" << shown.toStdString() << ")";
    EXPECT_TRUE(seen.onTop) << item;
    EXPECT_TRUE(seen.closeOnly) << item;
    EXPECT_GE(seen.width, seen.titleWidth + 120) << item << " (" << shown.toStdString() << ")";
  }
}

TEST_F(Form1Stacking, TheHelpViewerAndTheGeneratorOpenActiveAndStayOnTop) {
  form->ShowHelp(3);
  QApplication::processEvents();
  auto* help = form->ToolWindows().Window<THelpViewer>(QStringLiteral("HelpViewer"));
  ASSERT_NE(help, nullptr);
  Seen h = Look(help);
  EXPECT_TRUE(h.up);
  EXPECT_TRUE(h.active);
  EXPECT_TRUE(h.onTop);
  help->hide();

  Activate(tools.back());
  emit form->Program().Events.ScenarioPathChosen(QStringLiteral("a.sce"));
  QApplication::processEvents();
  auto* gen = form->ToolWindows().Window<TMakeSceForm>(QString::fromLatin1(kMakeSceSection));
  ASSERT_NE(gen, nullptr);
  Seen g = Look(gen);
  EXPECT_TRUE(g.up);
  EXPECT_TRUE(g.active);
  EXPECT_TRUE(g.onTop);
  // Inside the screen's available area, title bar included.
  const QRect avail = gen->screen()->availableGeometry();
  EXPECT_TRUE(avail.contains(gen->frameGeometry().topLeft()));
}

TEST_F(Form1Stacking, AMessageBoxIsAtLeastItsTitleWideAndHasACloseButtonOnly) {
  Seen seen;
  WhenModal<QMessageBox>([&](QMessageBox* b) {
    seen = Look(b);
    b->accept();
  });
  TQtAsker asker;
  asker.MessageBox(QStringLiteral("ok"), TMsgType::Information, mbOK,
                   QStringLiteral("A rather long caption of a short notice"));
  EXPECT_TRUE(seen.active);
  EXPECT_TRUE(seen.onTop);
  EXPECT_TRUE(seen.closeOnly);
  EXPECT_GE(seen.width, seen.titleWidth + 120);
}

}  // namespace
}  // namespace qz
