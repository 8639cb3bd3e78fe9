// Scenario files: what is written, what is read back, and what a damaged file gives.
#include <gtest/gtest.h>

#include "tuner/scefile.h"

namespace qz {
namespace {

TSceBook ThreePageBook() {
  TSceBook b;
  b.Info = QStringLiteral("Three pages; a comment");
  b.NewPage();
  b.Active().InsertRow(MakeSceRow(500, 1.0, 2.0, 3.0));
  TSceRow x = MakeSceRow(250, 10.5, 0.0, 49.999);
  x.Extra = QStringLiteral("0.300\t45.00\t2450.000\t0.2121\t0.2121");
  b.Active().InsertRow(x);
  b.NewPage();  // stays empty: not written
  b.NewPage();
  b.Active().Name = QStringLiteral("Zweite Seite \u00e4");
  b.Active().InsertRow(MakeSceRow(0, 0, 0, 0));
  b.NewPage();
  for (int i = 0; i < 5; ++i) b.Active().InsertRow(MakeSceRow(i * 100, i, i * 2, i * 3));
  return b;
}

TSceBook BookOf(const TSceReadResult& r) {
  TSceBook b;
  b.Info = r.info;
  b.ReplacePages(r.pages);
  return b;
}

TEST(SceFile, SaveLoadSaveIsByteIdenticalAndKeepsEveryRow) {
  const TSceBook book = ThreePageBook();
  const QByteArray first = SceFileBytes(book);
  const TSceReadResult r = ReadSceBytes(first);
  ASSERT_TRUE(r.ok) << r.errors.join(QLatin1Char('\n')).toStdString();
  EXPECT_EQ(SceFileBytes(BookOf(r)), first);
  // Every page with rows comes back whole (the empty page was not written).
  ASSERT_EQ(r.pages.size(), 3u);
  EXPECT_EQ(r.info, book.Info);
  EXPECT_EQ(r.pages[0].Rows(), book.Page(0).Rows());
  EXPECT_EQ(r.pages[1].Name, book.Page(2).Name);
  EXPECT_EQ(r.pages[1].Rows(), book.Page(2).Rows());
  EXPECT_EQ(r.pages[2].Rows(), book.Page(3).Rows());
}

TEST(SceFile, WrittenForm) {
  TSceBook b;
  b.NewPage();
  b.Active().InsertRow(MakeSceRow(500, 1.0, 2.0, 3.0));
  EXPECT_EQ(SceFileBytes(b), QByteArray("[Scenario Info]\r\nSceInfo = (none)\r\n[Page1]\r\n"
                                        "1\t=\t1.000\t2.000\t3.000\t500\r\n"));
  b.Info = QStringLiteral("two\r\nlines");
  EXPECT_TRUE(SceFileBytes(b).startsWith("[Scenario Info]\r\nSceInfo = two  lines\r\n"));
}

TEST(SceFile, ReadsRowsTextsAndComments) {
  const QByteArray text =
      "; a comment line\n"
      "[Scenario Info]\n"
      "SceInfo = QZTU V1.2/3. Transf=NO; made today\n"
      "[Page1]\n"
      "3\t=\t1.000\t2.000\t3.000\t500\tX\n"
      "\n"
      "7 = 4 5 6 10\n"
      "[Other]\n"
      "1=0.5\t0.5\t0.5\t0\n"
      "[page1]\n"  // continues Page1
      "9=1 1 1 1 wanted  value\n";
  const TSceReadResult r = ReadSceBytes(text);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.info, QStringLiteral("QZTU V1.2/3. Transf=NO; made today"));
  ASSERT_EQ(r.pages.size(), 2u);
  EXPECT_EQ(r.pages[0].Name, QStringLiteral("Page1"));
  ASSERT_EQ(r.pages[0].LastRow(), 3);
  EXPECT_EQ(r.pages[0].Row(1).Extra, QStringLiteral("X"));
  EXPECT_EQ(r.pages[0].Row(2).S[2], QStringLiteral("6"));
  EXPECT_EQ(r.pages[0].Row(2).Extra, QString());
  EXPECT_EQ(r.pages[0].Row(3).Extra, QStringLiteral("wanted  value"));
  EXPECT_EQ(r.pages[1].Row(1).T, QStringLiteral("0"));
}

TEST(SceFile, DamagedFilesAreRefusedWholeWithTheLineNamed) {
  struct Case {
    const char* what;
    const char* text;
    const char* error;
  };
  const Case cases[] = {
      {"too few fields", "[Page1]\r\n3=1.0 2.0\r\n",
       "Error reading scenario file at Section \"Page1\", Row 1.\r\nError line: \"3=1.0 2.0\"\r\n"
       "Operation aborted."},
      {"no section", "1=1 2 3 4\r\n", "Scenario file invalid"},
      {"empty", "", "Scenario file invalid"},
      {"infinite", "[P]\n1=1e999 2 3 4\n",
       "Error reading scenario file at Section \"P\", Row 1.\r\nError line: \"1=1e999 2 3 4\"\r\n"
       "Operation aborted."},
      {"nan", "[P]\n1=nan 2 3 4\n", nullptr},
      {"comma", "[P]\n1=1,5 2 3 4\n", nullptr},
      {"dwell no integer", "[P]\n1=1 2 3 4.5\n", nullptr},
      {"dwell beyond 32 bits", "[P]\n1=1 2 3 2147483648\n", nullptr},
      {"no key", "[P]\n=1 2 3 4\n", nullptr},
      {"no equals sign, tabs shown as blanks", "[P]\n1=1 2 3 4\n; skipped\n\n2\t1\t2\n",
       "Error reading scenario file at Section \"P\", Row 2.\r\nError line: \"2 1 2\"\r\n"
       "Operation aborted."},
  };
  for (const Case& c : cases) {
    const TSceReadResult r = ReadSceBytes(QByteArray(c.text));
    EXPECT_FALSE(r.ok) << c.what;
    EXPECT_TRUE(r.pages.empty()) << c.what;
    ASSERT_EQ(r.errors.size(), 1) << c.what;
    if (c.error) {
      EXPECT_EQ(r.errors[0], QString::fromUtf8(c.error)) << c.what;
    }
  }
}

TEST(SceFile, EveryFailingSectionIsNamed) {
  const TSceReadResult r = ReadSceBytes("[A]\n1=1 2 3 4\n2=x\n3=y\n[B]\n1=1 2 3 4\n[C]\n1=z\n");
  EXPECT_FALSE(r.ok);
  ASSERT_EQ(r.errors.size(), 2);
  EXPECT_TRUE(r.errors[0].contains(QStringLiteral("\"A\", Row 2.")));
  EXPECT_TRUE(r.errors[1].contains(QStringLiteral("\"C\", Row 1.")));
}

TEST(SceFile, EncodingsLineEndsAndLongPages) {
  // Latin-1 bytes and a byte-order mark.
  const TSceReadResult latin = ReadSceBytes("[Seite \xe4]\r1=1 2 3 4\r");
  ASSERT_TRUE(latin.ok);
  EXPECT_EQ(latin.pages[0].Name, QStringLiteral("Seite \u00e4"));
  const TSceReadResult bom = ReadSceBytes("\xef\xbb\xbf[P]\n1=1 2 3 4\n");
  ASSERT_TRUE(bom.ok);
  EXPECT_EQ(bom.pages[0].Name, QStringLiteral("P"));

  // Only the Scenario Info section: valid, no pages (the window adds an empty one).
  const TSceReadResult info = ReadSceBytes("[Scenario Info]\nSceInfo=\n");
  ASSERT_TRUE(info.ok);
  EXPECT_TRUE(info.pages.empty());
  EXPECT_EQ(info.info, QStringLiteral("(none)"));

  QByteArray big = "[Long]\n";
  for (int i = 1; i <= kSceMaxRows + 5; ++i) big += QByteArray::number(i) + "=1 2 3 4\n";
  const TSceReadResult r = ReadSceBytes(big);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.pages[0].LastRow(), kSceMaxRows);
  ASSERT_EQ(r.truncated.size(), 1);
  EXPECT_EQ(r.truncated[0],
            QStringLiteral("Page \"Long\" holds 2053 rows; only the first 2048 were loaded."));
}

}  // namespace
}  // namespace qz
