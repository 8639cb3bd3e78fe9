// The waiting window: shown with its message and animation, reused, destroyed by HideWait.
#include "util/ui/cakaj.h"

#include <gtest/gtest.h>

#include <QLabel>

#include "util/ui/animation.h"
#include "util/ui/qtasker.h"
#include "util/valueinput.h"

namespace qz {
namespace {

TEST(CakajWindow, ShowReuseAndHide) {
  TQtAsker asker;
  ShowWait(QString(), QStringLiteral("Reading tuner memory"), 3, 0, asker);
  TCakaj* w = asker.Waiting();
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(w->isVisible());
  EXPECT_TRUE(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_EQ(w->windowTitle(), QStringLiteral("Wait please..."));
  EXPECT_EQ(w->FullMsg, QStringLiteral("Reading tuner memory"));
  EXPECT_EQ(w->lbSprava->text(), QStringLiteral("Reading tuner memory"));
  EXPECT_TRUE(w->Animate->Active());
  EXPECT_EQ(w->Animate->Animation(), 3);
  // The animation is centred under the message.
  EXPECT_EQ(w->Animate->x() + w->Animate->width() / 2, w->width() / 2);

  ShowWait(QStringLiteral("Loading"), QStringLiteral("Second"), 3, 4, asker);
  EXPECT_EQ(asker.Waiting(), w);  // only one waiting window at a time
  EXPECT_EQ(w->windowTitle(), QStringLiteral("Loading"));
  EXPECT_EQ(w->Animate->LoopFrames(), 4);

  HideWait(asker);
  EXPECT_EQ(asker.Waiting(), nullptr);
}

TEST(AnimationWidget, LoopsOverItsFrames) {
  TAnimation a;
  a.SetAnimation(5, 3);
  for (int i = 0; i < 3; ++i) a.Step();
  EXPECT_EQ(a.Frame(), 0);
  a.SetAnimation(4, 0);
  EXPECT_EQ(a.LoopFrames(), TAnimation::kFrames);
  a.SetAnimation(4, 99);
  EXPECT_EQ(a.LoopFrames(), TAnimation::kFrames);
}

}  // namespace
}  // namespace qz
