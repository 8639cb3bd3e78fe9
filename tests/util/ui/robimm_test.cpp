// The busy window: caption, information line updates, destroyed by HideBusy.
#include "util/ui/robimm.h"

#include <gtest/gtest.h>

#include <QLabel>

#include "util/ui/animation.h"
#include "util/ui/qtasker.h"
#include "util/valueinput.h"

namespace qz {
namespace {

TEST(RobimMWindow, ShowInfoAndHide) {
  TQtAsker asker;
  ShowBusy(QString(), 4, 0, asker);
  TRobimM* w = asker.Busy();
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(w->isVisible());
  EXPECT_TRUE(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_EQ(w->windowTitle(), QStringLiteral("System Busy"));
  EXPECT_TRUE(w->lbInfo->text().isEmpty());
  EXPECT_TRUE(w->Animate->Active());

  SetBusyInfo(QStringLiteral("Copying QzSim0.ini"), asker);
  EXPECT_EQ(w->lbInfo->text(), QStringLiteral("Copying QzSim0.ini"));

  ShowBusy(QStringLiteral("Transfer"), 5, 0, asker);
  EXPECT_EQ(asker.Busy(), w);
  EXPECT_EQ(w->windowTitle(), QStringLiteral("Transfer"));
  EXPECT_TRUE(w->lbInfo->text().isEmpty());  // a new show empties the line

  HideBusy(asker);
  EXPECT_EQ(asker.Busy(), nullptr);
  SetBusyInfo(QStringLiteral("after"), asker);  // ignored without a window
}

}  // namespace
}  // namespace qz
