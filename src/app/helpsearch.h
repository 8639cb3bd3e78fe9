#pragma once
// The search of the manual: every page of the help folder read once, its tags stripped and its
// entities decoded. A search finds the pages where every word of the query begins some word of
// the page (letter case ignored: "autotun" finds "autotuning"); pages whose title holds every
// word come first, then the pages with more hits, then the index's order.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace qz {

struct THelpPageText {
  QString file;   // "model.html"
  QString title;  // the page's <title>, else its file name
  QString text;   // the text without tags, runs of white space as one space
};

// One page as the folder holds it: its file name and its bytes as read.
struct THelpPageSource {
  QString file;
  QByteArray bytes;
};

struct THelpHit {
  QString file;
  QString title;
  QString excerpt;  // one line of the page around the first hit
};

class THelpIndex {
 public:
  THelpIndex() = default;
  // Reads every "*.html" of the folder (a page that cannot be read, or that is no regular file,
  // is left out).
  explicit THelpIndex(const QString& folder);
  // The same over pages already read, in name order (an empty page is left out).
  explicit THelpIndex(const std::vector<THelpPageSource>& pages);

  const std::vector<THelpPageText>& Pages() const { return pages_; }
  const THelpPageText* Page(const QString& file) const;
  // The pages in the order the index page links them first, then the others by name.
  QStringList Contents() const { return contents_; }
  std::vector<THelpHit> Search(const QString& query) const;

  // "No page contains "xyz"."
  static QString NoHitsText(const QString& query);
  // The words of a text in lower case (letters and digits).
  static QStringList Words(const QString& text);
  // The text of a page: tags and the head's contents removed, entities decoded, white space
  // folded.
  static QString PlainText(const QString& html);
  static QString TitleOf(const QString& html);
  // The targets of the page's links (href values) in their order.
  static QStringList Links(const QString& html);
  // The anchors of the page (id and name values).
  static QStringList Anchors(const QString& html);

 private:
  void Build(const std::vector<THelpPageSource>& pages);

  std::vector<THelpPageText> pages_;
  QStringList contents_;
};

}  // namespace qz
