// The text entry dialog: it opens with the entry selected, takes a typed answer and closes with
// the right result.
#include "util/ui/inputform.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "util/ui/dialogdriver.h"
#include "util/ui/qtasker.h"
#include "util/valueinput.h"

namespace qz {
namespace {

using testing::TypeText;
using testing::WhenModal;

TEST(InputFormWindow, TypedAnswerWithOk) {
  TQtAsker asker;
  QString promptSeen, selectedSeen;
  bool onTop = false;
  WhenModal<TInputForm>([&](TInputForm* f) {
    promptSeen = f->lbPrompt->text();
    selectedSeen = f->edValue->selectedText();
    onTop = f->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    TypeText(f->edValue, QStringLiteral("2.5k"));  // replaces the selected entry
    f->btnOK->click();
  });
  const TInputResult r =
      asker.InputText(QStringLiteral("Title"), QStringLiteral("Gain :"), QStringLiteral("1.5k"));
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.text, QStringLiteral("2.5k"));
  EXPECT_EQ(promptSeen, QStringLiteral("Gain :"));
  EXPECT_EQ(selectedSeen, QStringLiteral("1.5k"));
  EXPECT_TRUE(onTop);
}

TEST(InputFormWindow, CancelGivesTheInitialTextBack) {
  TQtAsker asker;
  WhenModal<TInputForm>([&](TInputForm* f) {
    TypeText(f->edValue, QStringLiteral("99"));
    f->btnCancel->click();
  });
  const TInputResult r =
      asker.InputText(QStringLiteral("T"), QStringLiteral("P"), QStringLiteral("12"));
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.text, QStringLiteral("12"));
}

TEST(InputFormWindow, ValueEntryThroughTheRealDialog) {
  TQtAsker asker;
  QString title;
  WhenModal<TInputForm>([&](TInputForm* f) {
    title = f->windowTitle();
    TypeText(f->edValue, QStringLiteral("3.3u"));
    f->btnOK->click();
  });
  const TAskedValue v = AskValue(QStringLiteral("Delay"), 1.0, asker);
  EXPECT_DOUBLE_EQ(v.value, 3.3e-6);
  EXPECT_EQ(v.suffix, QChar('u'));
  EXPECT_EQ(title, QStringLiteral("Enter value  (+ optional suffix as multiplier)"));
}

TEST(InputFormWindow, LongPromptWidensTheEntryAndButtonsSitAroundTheMiddle) {
  TInputForm f;
  f.Setup(QStringLiteral("T"), ValuePrompt(QStringLiteral("A rather long prompt for a value")),
          QStringLiteral("1"));
  EXPECT_EQ(f.lbPrompt->geometry().topLeft(), QPoint(12, 8));
  EXPECT_GE(f.edValue->width(), f.lbPrompt->width());
  EXPECT_EQ(f.edValue->x(), 12);
  EXPECT_EQ(f.edValue->y(), f.lbPrompt->geometry().bottom() + 1 + 8);
  EXPECT_EQ(f.width(), f.edValue->geometry().right() + 1 + 12);
  const int mid = f.width() / 2;
  EXPECT_EQ(f.btnOK->geometry().right() + 1, mid - 4);
  EXPECT_EQ(f.btnCancel->x(), mid + 4);
  EXPECT_EQ(f.height(), f.btnOK->geometry().bottom() + 1 + 8);
  EXPECT_FALSE(f.lbPrompt->text().contains(QChar('\r')));
}

}  // namespace
}  // namespace qz
