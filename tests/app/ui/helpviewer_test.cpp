// The help viewer: requests resolved through the help requests, Back, Forward and Home, links
// between pages and other links, the missing page, and the search pane.

#include "app/ui/helpviewer.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QUrl>

#include "app/helppages.h"
#include "app/helpsearch.h"
#include "app/ui/helprequests.h"

namespace qz {
namespace {

const QString kShipped = QStringLiteral(QZ_TEST_DATA_DIR) + "/../../share/qzsim/help";

QString Name(const THelpViewer& v) { return v.CurrentPage().section('/', -1); }

TEST(HelpViewer, RequestsOpenTheirRowsPageAndUnknownOnesTheIndex) {
  THelpViewer v(kShipped);
  const struct {
    int topic;
    const char* keyword;
    const char* page;
  } cases[] = {
      {158, "", "model.html"},
      {91, "", "file-transfer.html"},
      {3, "", "index.html"},
      {999, "", "index.html"},
      {0, "RESULTS windows", "results-windows.html"},
      {0, "tx timing", "tx-timing.html"},
      {0, "Establishing Communication", "com-port.html"},
      {0, "no such keyword", "index.html"},
  };
  for (const auto& c : cases) {
    if (c.topic)
      v.ShowTopic(c.topic);
    else
      v.ShowKeyword(c.keyword);
    EXPECT_EQ(Name(v), c.page) << c.topic << c.keyword;
  }
  const THelpRequest* mini = HelpRequestOf("QzSmallFrm");
  ASSERT_NE(mini, nullptr);
  v.ShowRequest(*mini, mini->anchor);
  EXPECT_EQ(Name(v), "results-windows.html");
  EXPECT_EQ(v.CurrentAnchor(), "mini");
}

TEST(HelpViewer, BackForwardHomeAndLinks) {
  THelpViewer v(kShipped);
  v.ShowIndex();
  QTextBrowser* b = v.Browser();
  emit b->anchorClicked(QUrl("measuring.html"));
  EXPECT_EQ(Name(v), "measuring.html");
  emit b->anchorClicked(QUrl("charts.html#polar"));
  EXPECT_EQ(Name(v), "charts.html");
  EXPECT_EQ(v.CurrentAnchor(), "polar");
  v.Back();
  EXPECT_EQ(Name(v), "measuring.html");
  v.Back();
  EXPECT_EQ(Name(v), "index.html");
  v.Forward();
  EXPECT_EQ(Name(v), "measuring.html");
  v.Home();
  EXPECT_EQ(Name(v), "index.html");
  // Links out of the manual are not followed.
  for (const char* link :
       {"https://example.org/", "file:///etc/passwd", "../../README.md", "x.txt"}) {
    emit b->anchorClicked(QUrl(link));
    EXPECT_EQ(Name(v), "index.html") << link;
    EXPECT_EQ(v.Notice(), "Not a page of the manual") << link;
  }
}

TEST(HelpViewer, AMissingPageShowsTheIndexWithALine) {
  QTemporaryDir d;
  ASSERT_TRUE(QFile::copy(kShipped + "/index.html", d.filePath("index.html")));
  THelpViewer v(d.path());
  v.ShowTopic(158);
  EXPECT_EQ(Name(v), "index.html");
  EXPECT_EQ(v.Notice(), MissingHelpPageText(d.path(), "model.html"));
  EXPECT_TRUE(v.Notice().startsWith("The page \"model.html\" is missing from "))
      << v.Notice().toStdString();
  // The next page that exists clears the line.
  v.ShowIndex();
  EXPECT_TRUE(v.Notice().isEmpty());
}

TEST(HelpViewer, SearchPaneListsHitsAndOpensThemHighlighted) {
  THelpViewer v(kShipped);
  const QStringList titles = v.Search("autotun");
  ASSERT_FALSE(titles.isEmpty());
  EXPECT_EQ(titles.first(), "The tuner and autotune");
  auto* hits = v.findChild<QListWidget*>("lbHits");
  ASSERT_NE(hits, nullptr);
  EXPECT_EQ(hits->count(), titles.size());
  v.OpenHit(0);
  EXPECT_EQ(Name(v), "tuner-autotune.html");
  EXPECT_FALSE(v.Browser()->extraSelections().isEmpty());
  EXPECT_TRUE(v.Search("xyzzy").isEmpty());
  ASSERT_EQ(hits->count(), 1);
  EXPECT_EQ(hits->item(0)->text(), "No page contains \"xyzzy\".");
  // The contents pane lists every page in the index's order.
  auto* contents = v.findChild<QListWidget*>("lbContents");
  ASSERT_NE(contents, nullptr);
  EXPECT_EQ(contents->count(), 28);
  EXPECT_EQ(contents->item(0)->data(Qt::UserRole).toString(), "index.html");
}

}  // namespace
}  // namespace qz
