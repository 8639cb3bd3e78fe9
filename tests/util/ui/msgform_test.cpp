// The transient notice: shown and painted while the program pauses, then gone.
#include "util/ui/msgform.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <vector>

#include "util/ui/qtasker.h"
#include "util/valueinput.h"

namespace qz {
namespace {

TEST(MsgFormWindow, ShownForTheLimitedTimeThenGone) {
  TQtAsker asker;
  std::vector<int> slept;
  bool visible = false, onTop = false;
  QString caption, text;
  int width = 0, life = -1;
  asker.sleeper = [&](int ms) {
    slept.push_back(ms);
    TMsgForm* f = asker.Notice();
    ASSERT_NE(f, nullptr);
    visible = f->isVisible();
    onTop = f->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    caption = f->windowTitle();
    text = f->lbMsg->text();
    width = f->width();
    life = f->LifeTimeMs;
  };
  ShowTransient(QStringLiteral("OK"), 20000, asker);
  ASSERT_EQ(slept.size(), 1u);
  EXPECT_EQ(slept[0], 10000);
  EXPECT_EQ(life, 10000);
  EXPECT_TRUE(visible);
  EXPECT_TRUE(onTop);
  EXPECT_EQ(caption, QStringLiteral("Wait..."));
  EXPECT_EQ(text, QStringLiteral("OK"));
  EXPECT_EQ(width, 105);  // a short message keeps the minimum width
  EXPECT_EQ(asker.Notice(), nullptr);
}

TEST(MsgFormWindow, LongMessageSetsTheWidth) {
  TMsgForm f;
  f.SetMessage(QStringLiteral("Wait..."),
               QStringLiteral("A notice long enough to need more than the minimum width"));
  EXPECT_GT(f.lbMsg->width(), 80);
  EXPECT_EQ(f.width(), f.lbMsg->width() + 24);
  EXPECT_EQ(f.lbMsg->y(), 12);
  EXPECT_EQ(f.height(), f.lbMsg->geometry().bottom() + 1 + 12);
}

}  // namespace
}  // namespace qz
