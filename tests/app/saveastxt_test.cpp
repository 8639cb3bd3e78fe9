// The Save Results command around the results file writer: its questions and what it keeps.
#include "app/saveastxt.h"

#include <gtest/gtest.h>

#include "common/testframes.h"

#include <QTemporaryDir>

#include "common/testfiles.h"
#include "core/frameenc.h"
#include "core/qvwin.h"
#include "util/asker.h"

namespace qz {
namespace {

class SaveAsTxtTest : public ::testing::Test {
 protected:
  SaveAsTxtTest() : qv(mot) {
    asker.quiet = true;
    qv.LastSwp.SetNwanted(5);
  }
  void AddPoints(int n) {
    const TMerObjekt f = testing::EncodedFrame(testing::MeasSpec(1000.0));
    for (int i = 0; i < n; ++i) qv.LastSwp.Add(f);
  }
  QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

  TMotState mot;
  TQvWin qv;
  TTunerDescr tu;
  TScriptedAsker asker;
  TSaveAsTxtState st;
  QTemporaryDir dir;
};

TEST_F(SaveAsTxtTest, EmptySweepIsReportedWithoutAnyDialog) {
  EXPECT_FALSE(SaveAsTxt(qv, tu, st, asker));
  ASSERT_EQ(asker.log.size(), 1u);
  EXPECT_EQ(asker.log[0].kind, TAskRecord::Message);
  EXPECT_EQ(asker.log[0].text, QStringLiteral("No measured data available"));
  EXPECT_EQ(asker.log[0].type, TMsgType::Error);
}

TEST_F(SaveAsTxtTest, CancelledFileChoiceWritesNothing) {
  AddPoints(3);
  EXPECT_FALSE(SaveAsTxt(qv, tu, st, asker));
  const auto files = asker.Records(TAskRecord::SaveFile);
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0].caption, QStringLiteral("Save as TXT"));
  EXPECT_TRUE(asker.Records(TAskRecord::Input).empty());
  EXPECT_TRUE(st.lastPath.isEmpty());
}

TEST_F(SaveAsTxtTest, CommentIsTheFirstLineAndIsKeptForTheNextSave) {
  AddPoints(3);
  struct Case {
    bool answer;
    QString text;
    QString expectedFirstLine;
  };
  st.TxtFilCmnt = QStringLiteral("previous");
  for (const Case& c : {Case{true, QStringLiteral("run 7"), QStringLiteral("run 7")},
                        Case{false, QString(), QStringLiteral("run 7")}}) {
    const QString path = Path(c.answer ? "a.txt" : "b.txt");
    asker.QueueFile(path);
    if (c.answer)
      asker.QueueText(c.text);
    else
      asker.QueueCancel();
    ASSERT_TRUE(SaveAsTxt(qv, tu, st, asker));
    const QByteArray bytes = testing::ReadAll(path);
    EXPECT_TRUE(bytes.startsWith(c.expectedFirstLine.toUtf8() + "\r\nNo\t"));
    EXPECT_EQ(st.TxtFilCmnt, c.expectedFirstLine);
    EXPECT_EQ(st.lastPath, path);
    const auto inputs = asker.Records(TAskRecord::Input);
    EXPECT_EQ(inputs.back().caption, QStringLiteral("Enter Comment"));
    EXPECT_EQ(inputs.back().text, QStringLiteral("Comment :"));
  }
}

TEST_F(SaveAsTxtTest, UnwritableFileIsReportedAndTheLastPathStays) {
  AddPoints(1);
  st.lastPath = Path("old.txt");
  asker.QueueFile(Path("no/such/folder/x.txt"));
  EXPECT_FALSE(SaveAsTxt(qv, tu, st, asker));
  const auto msgs = asker.Records(TAskRecord::Message);
  ASSERT_EQ(msgs.size(), 1u);
  EXPECT_TRUE(msgs[0].text.contains(QStringLiteral("cannot be opened")));
  EXPECT_EQ(st.lastPath, Path("old.txt"));
}

}  // namespace
}  // namespace qz
