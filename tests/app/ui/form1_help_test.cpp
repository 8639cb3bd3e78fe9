// F1 and the Help buttons of every window of the program, over the tool-window registry and
// the help requests: each request opens its row's page (or minimises the frame window), in
// modal dialogs too, and no key has two shortcuts.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include "app/helppages.h"
#include "app/helpsearch.h"
#include "app/toolwindows.h"
#include "app/ui/helprequests.h"
#include "app/ui/helpviewer.h"
#include "common/form1rig.h"
#include "display/disptypes.h"
#include "display/ui/displaywindows.h"
#include "display/ui/gdisplform.h"
#include "setupdlg/ui/qzsamplform.h"
#include "util/asker.h"
#include "util/ui/screen.h"

namespace qz {
namespace {

// Collects the messages Qt writes; "Ambiguous shortcut" is the one no key may ever cause.
QStringList* gMessages = nullptr;
void Collect(QtMsgType, const QMessageLogContext&, const QString& msg) {
  if (gMessages) *gMessages << msg;
}

class Form1Help : public qz::testing::StartedForm1Test {
 protected:
  void SetUp() override {
    StartedForm1Test::SetUp();
    gMessages = &messages;
    previous = qInstallMessageHandler(Collect);
  }
  void TearDown() override {
    qInstallMessageHandler(previous);
    gMessages = nullptr;
    for (const QString& m : messages)
      EXPECT_FALSE(m.contains("Ambiguous shortcut")) << m.toStdString();
    StartedForm1Test::TearDown();
  }
  THelpViewer* Viewer() const { return form->ToolWindows().Window<THelpViewer>("HelpViewer"); }
  bool ViewerShown() const { return Viewer() && Viewer()->isVisible(); }
  void HideViewer() {
    if (Viewer()) Viewer()->hide();
  }
  // The viewer shows the row's page at the anchor.
  void ExpectPage(const QString& page, const QString& anchor) {
    ASSERT_TRUE(ViewerShown());
    EXPECT_TRUE(Viewer()->CurrentPage().endsWith("/help/" + page))
        << Viewer()->CurrentPage().toStdString();
    EXPECT_EQ(Viewer()->CurrentAnchor(), anchor);
    EXPECT_TRUE(Viewer()->Notice().isEmpty()) << Viewer()->Notice().toStdString();
  }
  // A child that takes the keyboard focus (the window itself when it has none).
  static QWidget* FocusChild(QWidget* w) {
    for (QWidget* c : w->findChildren<QWidget*>())
      if (c->focusPolicy() != Qt::NoFocus && c->isVisibleTo(w) && !qobject_cast<QMenu*>(c))
        return c;
    return w;
  }
  static void PressF1(QWidget* w) {
    QWidget* c = FocusChild(w);
    c->setFocus();
    QTest::keyClick(c, Qt::Key_F1);
  }

  QStringList messages;
  QtMessageHandler previous = nullptr;
};

TEST_F(Form1Help, TwentyFourRowsAndEveryRegisteredWindowHasOne) {
  EXPECT_EQ(HelpRequests().size(), 24u);
  int open = 0, minimise = 0;
  QStringList pages;
  for (const THelpRequest& r : HelpRequests()) {
    (r.action == THelpAction::Minimise ? minimise : open)++;
    if (!pages.contains(r.page)) pages << r.page;
    EXPECT_EQ(HelpRequestOf(r.origin), &r) << "two rows of " << r.origin.toStdString();
  }
  EXPECT_EQ(open, 22);
  EXPECT_EQ(minimise, 2);
  EXPECT_EQ(pages.size(), 21);
  form->ShowHelp(kHelpContentsTopic);
  int registered = 0;
  const TToolWindows& reg = form->ToolWindows();
  for (const QStringList& order :
       {reg.CreateOrder(TCreatePoint::FrameStart), reg.CreateOrder(TCreatePoint::UnitStart),
        reg.CreateOrder(TCreatePoint::OnDemand)}) {
    for (const QString& section : order) {
      const TToolWindowEntry* e = form->ToolWindows().Find(section);
      if (!e) continue;
      ++registered;
      SCOPED_TRACE(section.toStdString());
      EXPECT_EQ(e->helpRow, section);
      ASSERT_NE(HelpRequestOf(e->helpRow), nullptr);
      ASSERT_TRUE(e->object);
      ASSERT_NE(e->object(), nullptr);
      EXPECT_EQ(HelpRowMark(e->object()), section);
    }
  }
  EXPECT_EQ(registered, 18);
}

TEST_F(Form1Help, F1AndHelpButtonsOfEveryToolWindowOpenTheirRowsPage) {
  form->ShowHelp(kHelpContentsTopic);
  HideViewer();
  for (const THelpRequest& r : HelpRequests()) {
    const TToolWindowEntry* e = form->ToolWindows().Find(r.origin);
    if (!e) continue;
    if (r.origin == "AboutBox") continue;  // modal with its texts: its own test
    SCOPED_TRACE(r.origin.toStdString());
    auto* w = qobject_cast<QWidget*>(e->object());
    ASSERT_NE(w, nullptr);
    if (w != Viewer()) HideViewer();
    w->show();
    w->raise();
    QApplication::setActiveWindow(w);
    // Results (Mini) is titled "Input" or "Load"; its caption is the View menu item's.
    if (r.origin != "QzSmallFrm") {
      EXPECT_TRUE(w->windowTitle().startsWith(r.caption)) << w->windowTitle().toStdString();
    }
    PressF1(w);
    if (r.action == THelpAction::Minimise) {
      EXPECT_TRUE(form->isMinimized());
      EXPECT_FALSE(ViewerShown());
      form->showNormal();
    } else {
      ExpectPage(HelpPageFile(r), r.anchor);
      EXPECT_FALSE(form->isMinimized());
    }
    // The Help button asks for the same page.
    const QString button = r.how.section(',', 0, 0).trimmed();
    if (button != "F1" && button != "menu" && button != "menu F1") {
      if (w != Viewer()) HideViewer();
      QAbstractButton* b = w->findChild<QAbstractButton*>(button);
      for (QAbstractButton* x : w->findChildren<QAbstractButton*>())
        if (!b && x->text() == "&Help") b = x;
      if (b) {
        b->click();
      } else if (auto* a = w->findChild<QAction*>(button)) {
        a->trigger();
      } else {
        ADD_FAILURE() << "no button " << button.toStdString();
      }
      ExpectPage(HelpPageFile(r), r.anchor);
    }
    if (auto* d = qobject_cast<QDialog*>(w))
      d->reject();
    else if (w != Viewer())
      w->hide();
  }
}

TEST_F(Form1Help, F1InTheModalAboutBoxOpensTheFramePagesPart) {
  QAction* about = form->findChild<QAction*>("miAbout");
  ASSERT_NE(about, nullptr);
  QString title, page, anchor;
  QTimer::singleShot(0, form.get(), [&] {
    auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!box) return;
    title = box->windowTitle();
    PressF1(box);
    if (Viewer()) {
      page = Viewer()->CurrentPage();
      anchor = Viewer()->CurrentAnchor();
    }
    box->accept();
  });
  about->trigger();
  EXPECT_EQ(title, "About QzmSoft");
  EXPECT_TRUE(page.endsWith("/help/frame-window.html")) << page.toStdString();
  EXPECT_EQ(anchor, "about");
}

TEST_F(Form1Help, F1InTheFrameAndInEachDisplayTypeOpensItsPart) {
  QApplication::setActiveWindow(form.get());
  PressF1(form->findChild<QMdiArea*>());
  ExpectPage("frame-window.html", "");
  const THelpRequest* row = HelpRequestOf(kHelpOriginDisplay);
  ASSERT_NE(row, nullptr);
  TGDisplForm* d = form->Displays().NewDisplay();
  ASSERT_NE(d, nullptr);
  for (int32_t t : OfferedTypes()) {
    SCOPED_TRACE(t);
    d->RecreateDisplay(XTypeOf(t), t);
    EXPECT_TRUE(d->windowTitle().startsWith(DispTypeInfo(t).caption))
        << d->windowTitle().toStdString();
    HideViewer();
    PressF1(d);
    ExpectPage("charts.html", DispTypeInfo(t).caption.toLower());
  }
}

TEST_F(Form1Help, F1InTheModalSamplingSetupKeepsTheViewerUsable) {
  TQzSamplForm* d = form->ToolWindows().Window<TQzSamplForm>("QzSamplForm");
  ASSERT_NE(d, nullptr);
  d->show();
  ASSERT_TRUE(d->isModal());
  PressF1(d);
  ExpectPage("sampling-setup.html", "");
  EXPECT_EQ(Viewer()->parentWidget(), d);
  d->reject();
  EXPECT_EQ(Viewer()->parentWidget(), form.get());
}

TEST_F(Form1Help, HelpMenuContentsAndTheMeasurementSetupsOwnAnswer) {
  QAction* contents = nullptr;
  for (QMenu* m : form->findChildren<QMenu*>())
    for (QAction* a : m->actions())
      if (a->text() == "&Contents") contents = a;
  ASSERT_NE(contents, nullptr);
  contents->trigger();
  ExpectPage("index.html", "");
  EXPECT_FALSE(form->isMinimized());
  // CW Measurement Setup's button keeps its answer; its F1 opens the page.
  HideViewer();
  QWidget* m = qobject_cast<QWidget*>(form->ToolWindows().Find("MstpForm")->object());
  m->show();
  for (QAbstractButton* b : m->findChildren<QAbstractButton*>())
    if (b->text() == "&Help") b->click();
  const auto msgs = asker.Records(TAskRecord::Message);
  ASSERT_FALSE(msgs.empty());
  EXPECT_EQ(msgs.back().text, "Info: Help cancelled");
  EXPECT_FALSE(ViewerShown());
  PressF1(m);
  ExpectPage("measurement-setup.html", "");
}

TEST_F(Form1Help, ADialogWithoutARowTakesItsParentsPage) {
  // A value entry, a message box or a pen dialog opened over a window asks for that window's
  // page.
  auto* trg = qobject_cast<QWidget*>(form->ToolWindows().Find("TrgForm")->object());
  ASSERT_NE(trg, nullptr);
  trg->show();
  QDialog entry(trg);
  auto* edit = new QLineEdit(&entry);
  entry.show();
  QApplication::setActiveWindow(&entry);
  PressF1(edit);
  ExpectPage("single-shot-commands.html", "");
  // A window of no row at all leaves the key alone.
  HideViewer();
  QDialog lone;
  auto* other = new QLineEdit(&lone);
  lone.show();
  PressF1(other);
  EXPECT_FALSE(ViewerShown());
}

TEST_F(Form1Help, LabelsBoxHelpOpensTheLabelsPage) {
  TGDisplForm* d = form->Displays().NewDisplay();
  ASSERT_NE(d, nullptr);
  asker.QueueButton(mbHelp);
  d->ShowLabelsHelp();
  ExpectPage("labels.html", "");
}

TEST_F(Form1Help, TheViewerOpensBesideTheAskingToolWindowInsideTheScreen) {
  // A wide screen with a panel along its top: the viewer fits beside a tool window.
  const TFixedScreen screen(QSize(1920, 1200), QRect(0, 30, 1920, 1170));
  const TScopedScreen scoped(&screen);
  const QRect avail = screen.Available();
  auto* model = qobject_cast<QWidget*>(form->ToolWindows().Find("Model")->object());
  ASSERT_NE(model, nullptr);
  enum Side { Right, Left };
  struct Case {
    QPoint at;  // the model window's place
    bool f1;    // F1, else its Help button
    Side side;
    bool lifted;  // the viewer would run past the screen's bottom
  };
  const Case cases[] = {
      {{40, 100}, true, Right, false},
      {{40, 100}, false, Right, false},
      {{1920 - 60 - 400, 300}, true, Left, false},
      {{300, 1200 - 120}, true, Right, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.at.x() << "," << c.at.y() << (c.f1 ? " F1" : " Help"));
    HideViewer();
    model->show();
    model->move(c.at);
    model->raise();
    QApplication::setActiveWindow(model);
    if (c.f1)
      PressF1(model);
    else
      model->findChild<QAbstractButton*>("btHelp")->click();
    ExpectPage("model.html", QString());
    const QRect asking = model->frameGeometry();
    const QRect viewer = Viewer()->frameGeometry();
    EXPECT_TRUE(avail.contains(viewer))
        << viewer.x() << "," << viewer.y() << " " << viewer.width() << "x" << viewer.height();
    EXPECT_FALSE(viewer.intersects(asking));
    // Right beside it (a window frame's width of 8 pixels at most between them, where the window
    // system has not framed the viewer yet).
    if (c.side == Right) {
      EXPECT_EQ(viewer.left(), asking.right() + 1);
    } else {
      EXPECT_LE(asking.left() - viewer.right() - 1, 8);
      EXPECT_GE(asking.left() - viewer.right() - 1, 0);
    }
    if (c.lifted) {
      EXPECT_LT(viewer.top(), asking.top());
      // Lifted no further than a title bar's height (34) above the screen's bottom.
      EXPECT_LE(avail.bottom() - viewer.bottom(), 34);
    } else {
      EXPECT_EQ(viewer.top(), asking.top());
    }
    // Asked again while showing, it stays where it is.
    PressF1(model);
    EXPECT_EQ(Viewer()->frameGeometry(), viewer);
  }
  model->hide();
}

}  // namespace
}  // namespace qz
