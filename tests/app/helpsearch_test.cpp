// The search of the manual: every word must begin some word of a page, letter case ignored;
// title hits first; tags and the head are no text.

#include "app/helpsearch.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <utility>

#include "common/readerrig.h"

namespace qz {
namespace {

const QString kShipped = QStringLiteral(QZ_TEST_DATA_DIR) + "/../../share/qzsim/help";

void Write(const QString& path, const QByteArray& text) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(text);
}

QStringList Files(const std::vector<THelpHit>& hits) {
  QStringList l;
  for (const THelpHit& h : hits) l << h.file;
  return l;
}

TEST(HelpSearch, AutotuneInAnyCaseOrAsAPrefixFindsTheTunerPagesFirst) {
  const THelpIndex index(kShipped);
  ASSERT_EQ(index.Pages().size(), 28u);
  for (const char* q : {"autotune", "AUTOTUNE", "autotun"}) {
    SCOPED_TRACE(q);
    const QStringList f = Files(index.Search(q));
    ASSERT_FALSE(f.isEmpty());
    EXPECT_EQ(f.first(), "tuner-autotune.html");
    for (const char* p : {"tuner-view.html", "system-info.html", "single-shot-commands.html"})
      EXPECT_TRUE(f.contains(p)) << p;
  }
  EXPECT_TRUE(index.Search("xyzzy").empty());
  EXPECT_EQ(THelpIndex::NoHitsText(" xyzzy "), "No page contains \"xyzzy\".");
  // The contents follow the index's links: the index first, then its first link.
  ASSERT_GE(index.Contents().size(), 28);
  EXPECT_EQ(index.Contents().mid(0, 2), QStringList({"index.html", "measuring.html"}));
}

TEST(HelpSearch, RulesOfTheSearch) {
  QTemporaryDir d;
  Write(d.filePath("index.html"),
        "<html><head><title>Index</title><style>stubby</style></head><body><a "
        "href=\"b.html\">b</a> <a href=\"a.html#x\">a</a></body></html>");
  Write(d.filePath("a.html"),
        "<html><head><title>Stub motors</title></head><body><p id=\"x\">The stub moves; "
        "&Gamma;&nbsp;tuning &amp; more.</p></body></html>");
  Write(d.filePath("b.html"),
        "<html><head><title>Other</title></head><body>stub stub stub tuning "
        "<!-- motors --></body></html>");
  const THelpIndex index(d.path());
  EXPECT_EQ(index.Contents(), QStringList({"index.html", "b.html", "a.html"}));
  const struct {
    const char* query;
    QStringList files;
  } cases[] = {
      // Title hit first, although the other page holds the word more often.
      {"stub", {"a.html", "b.html"}},
      // Every word must occur, each as the beginning of a word.
      {"stub motors", {"a.html"}},
      {"tun stu", {"b.html", "a.html"}},
      {"ub", {}},
      // The head, styles and comments are no text; entities are decoded.
      {"stubby", {}},
      {"\u0393", {"a.html"}},
      {"", {}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Files(index.Search(QString::fromUtf8(c.query))), c.files) << c.query;
  const auto hits = index.Search("moves");
  ASSERT_EQ(hits.size(), 1u);
  EXPECT_EQ(hits[0].title, "Stub motors");
  EXPECT_TRUE(hits[0].excerpt.contains("The stub moves; \u0393 tuning & more."))
      << hits[0].excerpt.toStdString();
  EXPECT_EQ(THelpIndex::Anchors("<p id=\"x\"><a name=\"y\"></a><h2 id=\"z\">"),
            QStringList({"x", "y", "z"}));
  EXPECT_EQ(THelpIndex::Links("<a class=\"k\" href=\"a.html#x\">a</a><A HREF=\"b.html\">"),
            QStringList({"a.html#x", "b.html"}));
}

// A page that is no regular file (a FIFO, a link to /dev/zero, a folder named like a page) is
// left out at once; the others are read.
TEST(HelpSearch, PagesThatAreNoRegularFilesAreLeftOutAtOnce) {
  QTemporaryDir d;
  Write(d.filePath("index.html"),
        "<html><head><title>Index</title></head><body>stub</body></html>");
  for (const auto& [input, name] : {std::pair{testing::ReaderInput::Fifo, "pipe.html"},
                                    std::pair{testing::ReaderInput::DevZeroLink, "zero.html"},
                                    std::pair{testing::ReaderInput::Folder, "dir.html"}})
    ASSERT_TRUE(testing::MakeReaderInput(input, d.filePath(name), 0)) << name;
  testing::Watchdog dog("THelpIndex");
  const THelpIndex index(d.path());
  EXPECT_EQ(index.Contents(), QStringList({"index.html"}));
  EXPECT_EQ(Files(index.Search("stub")), QStringList({"index.html"}));
}

}  // namespace
}  // namespace qz
