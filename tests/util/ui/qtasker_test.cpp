// Message boxes of the window program: a yes/no question answered with a click.
#include "util/ui/qtasker.h"

#include <gtest/gtest.h>

#include <QMessageBox>
#include <QPushButton>

#include "util/ui/dialogdriver.h"
#include "util/valueinput.h"

namespace qz {
namespace {

using testing::WhenModal;

TEST(QtAskerWindow, YesNoQuestionAnsweredYes) {
  TQtAsker asker;
  QString text;
  WhenModal<QMessageBox>([&](QMessageBox* b) {
    text = b->text();
    b->button(QMessageBox::Yes)->click();
  });
  EXPECT_TRUE(AskYesNo(QStringLiteral("Save setup"), asker));
  EXPECT_EQ(text, QStringLiteral("Save setup?"));
}

TEST(QtAskerWindow, EscapeAnswersTheCancelLikeButton) {
  TQtAsker asker;
  WhenModal<QMessageBox>([&](QMessageBox* b) { b->reject(); });
  EXPECT_EQ(
      asker.MessageBox(QStringLiteral("Quzar setting fail."), TMsgType::Error, mbAbort | mbRetry),
      mbAbort);
}

TEST(QtAskerWindow, RetryClickedAndCaptionByType) {
  TQtAsker asker;
  QString caption;
  WhenModal<QMessageBox>([&](QMessageBox* b) {
    caption = b->windowTitle();
    b->button(QMessageBox::Retry)->click();
  });
  EXPECT_EQ(asker.MessageBox(QStringLiteral("x\r\ny"), TMsgType::Error, mbAbort | mbRetry),
            mbRetry);
  EXPECT_EQ(caption, QStringLiteral("Error"));
}

}  // namespace
}  // namespace qz
