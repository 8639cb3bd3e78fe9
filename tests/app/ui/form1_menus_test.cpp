#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QStatusTipEvent>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include "app/ui/communmenu.h"
#include "app/ui/form1.h"
#include "app/ui/menurules.h"
#include "app/ui/toolicons.h"
#include "app/ui/windowlist.h"
#include "charts/ui/rasterpanel.h"
#include "comm/ui/dlgcomport.h"
#include "common/form1rig.h"
#include "display/ui/displaywindows.h"

namespace qz {
namespace {

class Form1Menus : public qz::testing::StartedForm1Test {};

TEST(WindowListText, LettersForTheFirstNineOnly) {
  EXPECT_EQ(WindowListText(1, "Mag - Input"), "&1 Mag - Input");
  EXPECT_EQ(WindowListText(9, "Power"), "&9 Power");
  EXPECT_EQ(WindowListText(10, "Power"), "10 Power");
  EXPECT_EQ(WindowListText(11, "A&B"), "11 A&&B");
}

TEST_F(Form1Menus, TheWindowMenuListsElevenWindowsChecksTheActiveAndRestoresAMinimisedOne) {
  form->Displays().CloseAll();
  std::vector<TGDisplForm*> wins;
  for (int i = 0; i < 11; ++i) wins.push_back(form->Displays().NewDisplay());
  QMdiSubWindow* third = form->Mdi()->subWindowList(QMdiArea::CreationOrder).at(2);
  third->showMinimized();
  form->Mdi()->setActiveSubWindow(form->Mdi()->subWindowList(QMdiArea::CreationOrder).at(4));
  // The list stays usable during a run; the rest of the menu waits.
  form->EnableForRun(false);
  emit form->WindowMenu()->aboutToShow();
  const QList<QAction*> items = form->WindowList()->Items();
  ASSERT_EQ(items.size(), 11);
  for (int i = 0; i < 11; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(items[i]->text(), WindowListText(i + 1, wins[size_t(i)]->windowTitle()));
    EXPECT_EQ(items[i]->isChecked(), i == 4);
    EXPECT_TRUE(items[i]->isEnabled());
  }
  EXPECT_TRUE(items[0]->text().startsWith("&1 "));
  EXPECT_TRUE(items[9]->text().startsWith("10 "));
  EXPECT_TRUE(form->WindowMenu()->menuAction()->isEnabled());
  EXPECT_FALSE(form->findChild<QAction*>("miNewDisplay")->isEnabled());
  items[2]->trigger();
  EXPECT_FALSE(third->isMinimized());
  EXPECT_EQ(form->Mdi()->currentSubWindow(), third);
  form->EnableForRun(true);
  emit form->WindowMenu()->aboutToShow();
  EXPECT_TRUE(form->WindowList()->Items()[2]->isChecked());
  EXPECT_TRUE(form->findChild<QAction*>("miNewDisplay")->isEnabled());
}

TEST_F(Form1Menus, ThePointerReadoutReachesTheHintPanel) {
  TGDisplForm* w = form->Displays().NewDisplay();
  w->RecreateDisplay(kXReS11, diZSmith);
  QApplication::processEvents();
  TRasterPanel* p = w->Panel();
  const QRect c = p->ChartRect();
  const QPoint centre = c.center();
  QMouseEvent move(QEvent::MouseMove, QPointF(centre), p->mapToGlobal(QPointF(centre)),
                   Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(p, &move);
  EXPECT_TRUE(form->HintPanel()->text().startsWith("Mag 0.0"))
      << form->HintPanel()->text().toStdString();
  EXPECT_TRUE(form->HintPanel()->text().contains("  z "))
      << form->HintPanel()->text().toStdString();
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(p, &leave);
  EXPECT_EQ(form->HintPanel()->text(), QString());
}

TEST_F(Form1Menus, AFreshProfileTellsHowToMeasureUntilTheFirstRun) {
  const QString hint = QString::fromLatin1(kFreshProfileHint);
  EXPECT_EQ(hint, "Press F9 or the Start button to measure");
  form->SetFreshProfile(true);
  EXPECT_EQ(form->HintPanel()->text(), hint);
  QStatusTipEvent tip("Save results");
  QApplication::sendEvent(form.get(), &tip);
  EXPECT_EQ(form->HintPanel()->text(), "Save results");
  emit form->FileMenu()->aboutToHide();
  EXPECT_EQ(form->HintPanel()->text(), hint);
  // A run starts: the panel clears and stays empty from then on.
  form->EnableForRun(false);
  EXPECT_EQ(form->HintPanel()->text(), QString());
  form->EnableForRun(true);
  QStatusTipEvent none("");
  QApplication::sendEvent(form.get(), &none);
  EXPECT_EQ(form->HintPanel()->text(), QString());
  // Leaving the menu bar clears a menu title's hint.
  form->HintPanel()->setText("Quzar system functions");
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(form->menuBar(), &leave);
  EXPECT_EQ(form->HintPanel()->text(), QString());
}

TEST_F(Form1Menus, CheckableItemsWithAButtonsPictureShowTheirCheckMark) {
  QAction* view = form->findChild<QAction*>("miTunView");
  ASSERT_NE(view, nullptr);
  EXPECT_FALSE(view->icon().isNull());
  int checkable = 0;
  for (QMenu* m : form->menuBar()->findChildren<QMenu*>())
    for (QAction* a : m->actions())
      if (a->isCheckable() && !a->icon().isNull()) {
        ++checkable;
        EXPECT_FALSE(a->isIconVisibleInMenu()) << a->text().toStdString();
      }
  EXPECT_GE(checkable, 1);
}

TEST_F(Form1Menus, TheSaveButtonsShowTheirOwnPictures) {
  auto image = [](const QIcon& i) { return i.pixmap(16, 16).toImage(); };
  QAction* res = form->findChild<QAction*>("tbSaveResults");
  QAction* stp = form->findChild<QAction*>("tbSaveSetup");
  ASSERT_TRUE(res && stp);
  EXPECT_EQ(image(res->icon()), image(BadgeIcon("Res")));
  EXPECT_EQ(image(stp->icon()), image(form->style()->standardIcon(QStyle::SP_DialogSaveButton)));
}

TEST_F(Form1Menus, ASharedLetterTriggersItsOneEnabledItem) {
  QMenu* commun = form->CommunMenu();
  emit commun->aboutToShow();
  // "&COM Port..." and the disabled "&CAN Bus" share C.
  EXPECT_EQ(SoleEnabledItemOfLetter(commun, 'c'), form->CommunItems()->ComPortAction());
  bool opened = false;
  form->CommunItems()->OnDialog = [&](TDlgComPort& d) {
    opened = true;
    QTimer::singleShot(0, &d, [&d] { d.CancelButton()->click(); });
  };
  commun->popup(form->mapToGlobal(QPoint(10, 10)));
  QKeyEvent c(QEvent::KeyPress, Qt::Key_C, Qt::NoModifier, "c");
  QApplication::sendEvent(commun, &c);
  EXPECT_TRUE(opened);
  EXPECT_FALSE(commun->isVisible());
  // Two enabled items with one letter: Qt moves between them, nothing is triggered here.
  QMenu m;
  m.addAction("&Alpha");
  m.addAction("&Apple");
  EXPECT_EQ(SoleEnabledItemOfLetter(&m, 'a'), nullptr);
  m.actions()[1]->setEnabled(false);
  EXPECT_EQ(SoleEnabledItemOfLetter(&m, 'a'), m.actions()[0]);
}

// The item of a menu with the given text.
QAction* ItemOf(QMenu* menu, const QString& text) {
  for (QAction* a : menu->actions())
    if (a->text().startsWith(text)) return a;
  return nullptr;
}

TEST_F(Form1Menus, InARunTheQuzarMenusOLetterStopsTheUnitOtherwiseItMovesBetweenItsItems) {
  QMenu* quzar = nullptr;
  for (QAction* a : form->menuBar()->actions())
    if (a->text() == "&Quzar") quzar = a->menu();
  ASSERT_NE(quzar, nullptr);
  QAction* stop = ItemOf(quzar, "St&op Quzar");
  QAction* counter = ItemOf(quzar, "C&ounter");
  ASSERT_TRUE(stop && counter);
  int stops = 0;
  QObject::connect(stop, &QAction::triggered, [&stops] { ++stops; });
  // Stopping stays usable in a run; the counter waits for its end.
  struct Case {
    bool inRun;
    int stops;
    bool menuOpen;
  };
  for (const Case& c : {Case{true, 1, false}, Case{false, 1, true}}) {
    SCOPED_TRACE(c.inRun);
    form->EnableForRun(!c.inRun);
    emit quzar->aboutToShow();
    EXPECT_EQ(counter->isEnabled(), !c.inRun);
    EXPECT_TRUE(stop->isEnabled());
    quzar->popup(form->mapToGlobal(QPoint(10, 10)));
    QKeyEvent o(QEvent::KeyPress, Qt::Key_O, Qt::NoModifier, "o");
    QApplication::sendEvent(quzar, &o);
    EXPECT_EQ(stops, c.stops);
    EXPECT_EQ(quzar->isVisible(), c.menuOpen);
    if (c.menuOpen) {
      EXPECT_EQ(quzar->activeAction(), stop);  // Qt's move to the first of two
    }
    quzar->hide();
  }
  form->EnableForRun(true);
}

TEST_F(Form1Menus, AltMThenCOpensTheComPortDialog) {
  // "Co&mmun" is the one top-level menu of M; its "&COM Port..." shares C with the disabled
  // "&CAN Bus".
  int ms = 0;
  for (QAction* a : form->menuBar()->actions())
    if (QKeySequence::mnemonic(a->text()) == QKeySequence(Qt::ALT | Qt::Key_M)) ++ms;
  EXPECT_EQ(ms, 1);
  bool opened = false;
  form->CommunItems()->OnDialog = [&](TDlgComPort& d) {
    opened = true;
    QTimer::singleShot(0, &d, [&d] { d.CancelButton()->click(); });
  };
  form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  QTest::keyClick(form.get(), Qt::Key_M, Qt::AltModifier);
  QApplication::processEvents();
  QWidget* popup = QApplication::activePopupWidget();
  ASSERT_EQ(popup, form->CommunMenu());
  QTest::keyClick(popup, Qt::Key_C);
  EXPECT_TRUE(opened);
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

}  // namespace
}  // namespace qz
