// The scripted asker (tests and headless runs) and the program-wide accessor.
#include "util/asker.h"

#include <gtest/gtest.h>

namespace qz {
namespace {

TEST(EscapeButton, TheCancelLikeButtonOfEachSet) {
  struct Case {
    TMsgButtons buttons;
    TMsgButton escape;
  };
  const Case cases[] = {
      {mbYes | mbNo, mbNo},
      {mbYes | mbNo | mbCancel, mbCancel},
      {mbAbort | mbRetry, mbAbort},
      {mbOK | mbRetry, mbOK},
      {mbOK, mbOK},
      {mbYes | mbNo | mbAbort, mbNo},
      {mbRetry | mbIgnore, mbIgnore},
      {mbHelp, mbHelp},
      {mbHelp | mbOK, mbOK},
      {mbNone, mbOK},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EscapeButton(c.buttons), c.escape) << c.buttons;
  }
}

TEST(ScriptedAsker, MessageBoxesAnswerFromTheQueueOrWithEscape) {
  TScriptedAsker a;
  a.quiet = true;
  a.QueueButton(mbRetry);
  a.QueueButton(mbYes);  // not offered by the second box: Escape instead
  EXPECT_EQ(
      a.MessageBox(QStringLiteral("Quzar Memory Read fail."), TMsgType::Error, mbAbort | mbRetry),
      mbRetry);
  EXPECT_EQ(a.MessageBox(QStringLiteral("x"), TMsgType::Error, mbAbort | mbRetry), mbAbort);
  // Queue empty: a retry loop in a headless run ends with Abort, never loops for ever.
  EXPECT_EQ(a.MessageBox(QStringLiteral("x"), TMsgType::Error, mbAbort | mbRetry), mbAbort);
  const auto boxes = a.Records(TAskRecord::Message);
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0].text, QStringLiteral("Quzar Memory Read fail."));
  EXPECT_EQ(boxes[0].type, TMsgType::Error);
  EXPECT_EQ(boxes[0].buttons, TMsgButtons(mbAbort | mbRetry));
}

TEST(ScriptedAsker, ConveniencesAreOneButtonBoxesAndConfirmIsYesNo) {
  TScriptedAsker a;
  a.quiet = true;
  a.ShowError(QStringLiteral("No measured data available"));
  a.ShowInfo(QStringLiteral("i"));
  a.ShowWarning(QStringLiteral("w"));
  a.QueueButton(mbYes);
  EXPECT_TRUE(a.Confirm(QStringLiteral("Overwrite?")));
  EXPECT_FALSE(a.Confirm(QStringLiteral("Overwrite?")));
  const auto boxes = a.Records(TAskRecord::Message);
  ASSERT_EQ(boxes.size(), 5u);
  EXPECT_EQ(boxes[0].type, TMsgType::Error);
  EXPECT_EQ(boxes[0].buttons, TMsgButtons(mbOK));
  EXPECT_EQ(boxes[1].type, TMsgType::Information);
  EXPECT_EQ(boxes[2].type, TMsgType::Warning);
  EXPECT_EQ(boxes[3].type, TMsgType::Confirmation);
  EXPECT_EQ(boxes[3].buttons, TMsgButtons(mbYes | mbNo));
  EXPECT_EQ(boxes[3].text, QStringLiteral("Overwrite?"));  // exact text, nothing added
}

TEST(ScriptedAsker, TextEntriesAnswerOrCancelWithTheInitialText) {
  TScriptedAsker a;
  a.QueueText(QStringLiteral("12"));
  a.QueueCancel();
  TInputResult r = a.InputText(QStringLiteral("T"), QStringLiteral("P"), QStringLiteral("5"));
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.text, QStringLiteral("12"));
  r = a.InputText(QStringLiteral("T"), QStringLiteral("P"), QStringLiteral("5"));
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.text, QStringLiteral("5"));
  r = a.InputText(QStringLiteral("T"), QStringLiteral("P"), QStringLiteral("6"));  // empty queue
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.text, QStringLiteral("6"));
  const auto inputs = a.Records(TAskRecord::Input);
  ASSERT_EQ(inputs.size(), 3u);
  EXPECT_EQ(inputs[2].caption, QStringLiteral("T"));
  EXPECT_EQ(inputs[2].text, QStringLiteral("P"));
  EXPECT_EQ(inputs[2].extra, QStringLiteral("6"));
}

TEST(ScriptedAsker, FileChoicesFromTheQueueElseCancelled) {
  TScriptedAsker a;
  a.QueueFile(QStringLiteral("/tmp/a.sce"));
  EXPECT_EQ(a.OpenFileName(QStringLiteral("Open"), QString(), QStringLiteral("*.sce|*.sce")),
            QStringLiteral("/tmp/a.sce"));
  EXPECT_TRUE(a.SaveFileName(QStringLiteral("Prepare Log File"), QStringLiteral("/tmp/x.txt"),
                             QString(), QStringLiteral("txt"))
                  .isEmpty());
  const auto saves = a.Records(TAskRecord::SaveFile);
  ASSERT_EQ(saves.size(), 1u);
  EXPECT_EQ(saves[0].caption, QStringLiteral("Prepare Log File"));
  EXPECT_EQ(saves[0].text, QStringLiteral("/tmp/x.txt"));
}

TEST(ScriptedAsker, SeveralFilesFromTheirQueueElseASingleFileElseCancelled) {
  TScriptedAsker a;
  a.QueueFiles({QStringLiteral("/x/a.cfg"), QStringLiteral("/x/b.mem")});
  a.QueueFile(QStringLiteral("/x/c.cfg"));
  EXPECT_EQ(a.OpenFileNames("Send", "/x/", "F"),
            QStringList({QStringLiteral("/x/a.cfg"), QStringLiteral("/x/b.mem")}));
  EXPECT_EQ(a.OpenFileNames("Send", "/x/", "F"), QStringList({QStringLiteral("/x/c.cfg")}));
  EXPECT_TRUE(a.OpenFileNames("Send", "/x/", "F").isEmpty());
  const auto r = a.Records(TAskRecord::OpenFile);
  ASSERT_EQ(r.size(), 3u);
  EXPECT_EQ(r[0].caption, QStringLiteral("Send"));
  EXPECT_EQ(r[0].extra, QStringLiteral("F"));
  EXPECT_EQ(r[2].number, 1);
}

TEST(ScriptedAsker, IndexedSaveDialogRecordsItsIndexAndAnswersFromTheQueue) {
  TScriptedAsker a;
  a.quiet = true;
  // No index queued: the one it opened with stays.
  a.QueueFile(QStringLiteral("/x/a"));
  int index = 2;
  EXPECT_EQ(a.SaveFileNameIndexed("T", "/x/1.gif", "F", "gif", index), QStringLiteral("/x/a"));
  EXPECT_EQ(index, 2);
  // A queued index is the operator's choice; a cancelled dialog leaves the index alone.
  a.QueueFile(QStringLiteral("/x/b"));
  a.QueueFilterIndex(3);
  EXPECT_EQ(a.SaveFileNameIndexed("T", "/x/1.gif", "F", "gif", index), QStringLiteral("/x/b"));
  EXPECT_EQ(index, 3);
  a.QueueFilterIndex(1);
  EXPECT_EQ(a.SaveFileNameIndexed("T", "/x/1.jpg", "F", "jpg", index), QString());
  EXPECT_EQ(index, 3);
  const auto r = a.Records(TAskRecord::SaveFile);
  ASSERT_EQ(r.size(), 3u);
  EXPECT_EQ(r[0].number, 2);
  EXPECT_EQ(r[2].number, 3);
  EXPECT_EQ(r[2].text, QStringLiteral("/x/1.jpg"));
}

TEST(ScriptedAsker, MessagesGoToStderrOnOneLineUnlessQuiet) {
  TScriptedAsker a;
  ::testing::internal::CaptureStderr();
  a.ShowError(QStringLiteral("Measurement error!\r\nRetry or abort."));
  a.ShowNotice(QStringLiteral("Wait..."), QStringLiteral("Scenario completed"), 1500);
  std::string out = ::testing::internal::GetCapturedStderr();
  // A message of several lines is one line on the terminal (its line breaks become one blank).
  EXPECT_EQ(out, "Error: Measurement error! Retry or abort.\nScenario completed\n");
  a.quiet = true;
  ::testing::internal::CaptureStderr();
  a.ShowError(QStringLiteral("silent"));
  out = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(out, "");
}

TEST(AskerAccessor, InstallAndRestore) {
  TAsker& fallback = Asker();
  EXPECT_NE(dynamic_cast<TScriptedAsker*>(&fallback), nullptr);
  TScriptedAsker mine;
  {
    TScopedAsker guard(&mine);
    EXPECT_EQ(&Asker(), &mine);
    TScriptedAsker inner;
    {
      TScopedAsker guard2(&inner);
      EXPECT_EQ(&Asker(), &inner);
    }
    EXPECT_EQ(&Asker(), &mine);
  }
  EXPECT_EQ(&Asker(), &fallback);
  EXPECT_EQ(SetAsker(nullptr), nullptr);
}

TEST(FileFilterToQt, PairsBecomeQtFilters) {
  struct Case {
    const char* in;
    const char* out;
  };
  const Case cases[] = {
      {"Text file (*.txt, *.log)|*.txt;*.log|Any file (*.*)|*.*",
       "Text file (*.txt *.log);;Any file (*.*)"},
      {"Scenario|*.sce", "Scenario (*.sce)"},
      {"|*.mem", "*.mem (*.mem)"},
      {"", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FileFilterToQt(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
  }
}

TEST(ScriptedAsker, ColourAndFontChoicesFromTheQueueElseCancelled) {
  TScriptedAsker a;
  a.quiet = true;
  TFontRec chosen;
  chosen.Name = "Serif";
  chosen.Size = 12;
  chosen.Bold = true;
  a.QueueColor(clYellow);
  a.QueueFont(chosen);
  TColor c = clRed;
  TFontRec f;
  EXPECT_TRUE(a.AskColor(c));
  EXPECT_EQ(c, clYellow);
  EXPECT_TRUE(a.AskFont(f));
  EXPECT_EQ(f, chosen);
  // Queues empty: cancelled, and the values stay as they were.
  EXPECT_FALSE(a.AskColor(c));
  EXPECT_EQ(c, clYellow);
  EXPECT_FALSE(a.AskFont(f));
  EXPECT_EQ(f, chosen);
  EXPECT_EQ(a.Records(TAskRecord::Color).size(), 2u);
  EXPECT_EQ(a.Records(TAskRecord::Font).size(), 2u);
}

}  // namespace
}  // namespace qz
