// The letters of a tool window's buttons in the frame window program: the frame window's menu
// bar carries many letters, and Qt keeps them working while a tool window of its is active.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include "app/simcore.h"
#include "app/ui/form1.h"
#include "common/form1rig.h"
#include "sim/tunerdescr.h"
#include "tuner/tunmem.h"
#include "tuner/ui/qvtustpfrm.h"

namespace qz {
namespace {

using ToolWindowLettersInTheProgram = qz::testing::StartedForm1Test;

// System Info's "Load &Mem" shares M with the frame window's "Co&mmun": in the active System
// Info window Alt+M loads a memory file and opens no menu.
TEST_F(ToolWindowLettersInTheProgram, AltMInSystemInfoPressesLoadMem) {
  TQvTuStpFrm* sys = form->ToolWindows().Window<TQvTuStpFrm>("TuStpFrm");
  ASSERT_NE(sys, nullptr);
  int ms = 0;
  for (QAction* a : form->menuBar()->actions())
    if (QKeySequence::mnemonic(a->text()) == QKeySequence(Qt::ALT | Qt::Key_M)) ++ms;
  ASSERT_EQ(ms, 1);

  TMotState mot;
  TTunMemContent c = TunMemContentOf(DefaultTunerDescr(), mot);
  c.Descr.MaxSteps = 2000;
  const QString file = dir.filePath(QStringLiteral("Tu2000.mem"));
  QString error;
  ASSERT_TRUE(WriteTunMemFile(file, c, 2, error)) << error.toStdString();
  ASSERT_NE(sys->Cell(tpMotors, mrMaxSteps, 1), "2000 / 20 mm");

  sys->show();
  sys->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(sys));
  asker.QueueFile(file);
  QWidget* to = QApplication::focusWidget() ? QApplication::focusWidget() : sys;
  QTest::keyClick(to, Qt::Key_M, Qt::AltModifier);
  QTRY_COMPARE(sys->Cell(tpMotors, mrMaxSteps, 1), QStringLiteral("2000 / 20 mm"));
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

}  // namespace
}  // namespace qz
