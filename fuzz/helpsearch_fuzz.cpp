// Arbitrary bytes as pages of the manual and a query typed into its search: the first line is
// the query, the rest the pages ("index.html", "page1.html", ... apart at each NUL byte). The
// index never crashes, lists every page once (the index page first), and a search gives each
// page at most once, exactly the pages where every word of the query begins some word, the
// title hits first, each with a short excerpt.
#include <QSet>
#include <algorithm>

#include "app/helpsearch.h"
#include "fuzzcheck.h"

using qz::fuzz::Check;

namespace {

bool EveryWordBegins(const QStringList& query, const QStringList& words) {
  return std::all_of(query.cbegin(), query.cend(), [&words](const QString& q) {
    return std::any_of(words.cbegin(), words.cend(),
                       [&q](const QString& w) { return w.startsWith(q); });
  });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes = qz::fuzz::Bytes(data, size);
  const qsizetype eol = bytes.indexOf('\n');
  const QString query = QString::fromUtf8(eol < 0 ? bytes : bytes.left(eol));
  std::vector<qz::THelpPageSource> sources;
  if (eol >= 0) {
    const QList<QByteArray> parts = bytes.mid(eol + 1).split('\0');
    for (qsizetype i = 0; i < parts.size() && i < 16; ++i)
      sources.push_back(
          {i == 0 ? QStringLiteral("index.html") : QStringLiteral("page%1.html").arg(i), parts[i]});
  }
  for (const qz::THelpPageSource& s : sources) {
    const QString html = QString::fromUtf8(s.bytes);
    (void)qz::THelpIndex::Links(html);
    (void)qz::THelpIndex::Anchors(html);
    (void)qz::THelpIndex::TitleOf(html);
  }

  const qz::THelpIndex index(sources);
  const QStringList contents = index.Contents();
  Check(contents.size() == qsizetype(index.Pages().size()), "contents and pages differ in number");
  Check(QSet<QString>(contents.cbegin(), contents.cend()).size() == contents.size(),
        "a page listed twice in the contents", contents.join(QChar(' ')));
  for (const QString& f : contents) Check(index.Page(f) != nullptr, "a listed page is missing", f);
  if (index.Page(QStringLiteral("index.html")))
    Check(contents.first() == QStringLiteral("index.html"), "the index page is not first");

  const QStringList q = qz::THelpIndex::Words(query);
  const std::vector<qz::THelpHit> hits = index.Search(query);
  QSet<QString> seen;
  bool titleHitsOver = false;
  for (const qz::THelpHit& h : hits) {
    const qz::THelpPageText* p = index.Page(h.file);
    Check(p != nullptr, "a hit that is no page", h.file);
    Check(!seen.contains(h.file), "a page found twice", h.file);
    seen.insert(h.file);
    const QStringList titleWords = qz::THelpIndex::Words(p->title);
    Check(EveryWordBegins(q, qz::THelpIndex::Words(p->text) + titleWords),
          "a hit without every word", h.file + QStringLiteral(": ") + query);
    const bool inTitle = EveryWordBegins(q, titleWords);
    Check(!(inTitle && titleHitsOver), "a title hit after a page without one", h.file);
    if (!inTitle) titleHitsOver = true;
    Check(h.excerpt.size() <= 122, "an excerpt longer than a line", h.excerpt);
  }
  // Every page holding all the words is found (none when the query has no word).
  qsizetype holding = 0;
  if (!q.isEmpty())
    for (const qz::THelpPageText& p : index.Pages())
      if (EveryWordBegins(q, qz::THelpIndex::Words(p.text) + qz::THelpIndex::Words(p.title)))
        ++holding;
  Check(qsizetype(hits.size()) == holding, "the hits are not the pages holding every word", query);
  Check(qz::THelpIndex::NoHitsText(query).contains(query.trimmed()), "the message lost the query");
  return 0;
}
