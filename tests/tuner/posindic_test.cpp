// Stub positions as texts and as typed entries.
#include <gtest/gtest.h>

#include "tuner/posindic.h"
#include "util/asker.h"

namespace qz {
namespace {

TEST(PosIndic, UnitCyclingShowsTheSamePosition) {
  // 1234 steps of 0.1 mm: mm, inch, steps and back to mm.
  TIndic ind = kIndicMm;
  const char* expected[] = {"123.40", "4.858", "1234", "123.40"};
  const char* names[] = {"mm", "inch", "Steps", "mm"};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(ShowIndic(1234, ind, 0.1), QString::fromLatin1(expected[i])) << i;
    EXPECT_EQ(IndicName(ind), QString::fromLatin1(names[i])) << i;
    ind = NextIndic(ind);
  }
  EXPECT_EQ(NextIndic(7), kIndicMm);
}

TEST(PosIndic, TextsUseTheGivenDecimalPoint) {
  EXPECT_EQ(ShowIndic(1234, kIndicMm, 0.1, QChar(',')), QStringLiteral("123,40"));
  EXPECT_EQ(ShowIndic(-5, kIndicSteps, 0.1), QStringLiteral("-5"));
}

TEST(PosIndic, TypedPositionBackToSteps) {
  struct Case {
    TIndic ind;
    const char* answer;  // nullptr: Cancel
    int present, maxSteps;
    double stepMm;
    const char* prompt;
    int steps;
  } cases[] = {
      {kIndicMm, "12.34", 0, 3000, 0.01, "Set Motor 2 to mm ", 1234},
      {kIndicMm, "12,34", 0, 3000, 0.01, "Set Motor 2 to mm ", 1234},
      {kIndicInch, "0.1", 0, 3000, 0.01, "Set Motor 2 to inch ", 254},
      {kIndicSteps, "777", 5, 3000, 0.01, "Set Motor 2 to steps ", 777},
      {kIndicSteps, "5000", 5, 3000, 0.01, "Set Motor 2 to steps ", 3000},
      {kIndicMm, "99", 5, 3000, 0.01, "Set Motor 2 to mm ", 3000},  // above the travel
      {kIndicMm, nullptr, 1234, 3000, 0.01, "Set Motor 2 to mm ", 1234},
      {kIndicInch, nullptr, 1234, 3000, 0.1, "Set Motor 2 to inch ", 1234},
      {kIndicSteps, nullptr, 17, 3000, 0.1, "Set Motor 2 to steps ", 17},
  };
  for (const Case& c : cases) {
    TScriptedAsker asker;
    asker.quiet = true;
    if (c.answer)
      asker.QueueText(QString::fromLatin1(c.answer));
    else
      asker.QueueCancel();
    EXPECT_EQ(AskStubPosition(2, c.ind, c.present, c.maxSteps, c.stepMm, asker), c.steps)
        << c.answer;
    const auto asked = asker.Records(TAskRecord::Input);
    ASSERT_FALSE(asked.empty());
    EXPECT_TRUE(asked.front().text.contains(QString::fromLatin1(c.prompt)))
        << asked.front().text.toStdString();
  }
}

}  // namespace
}  // namespace qz
