#include "app/helpsearch.h"

#include <QDir>
#include <QRegularExpression>
#include <algorithm>

#include "app/helppages.h"
#include "util/readfile.h"

namespace qz {

namespace {

QString DecodeEntities(const QString& s) {
  static const QRegularExpression re(QStringLiteral("&(#x?[0-9a-fA-F]+|[a-zA-Z]+);"));
  static const struct {
    const char* name;
    char16_t ch;
  } named[] = {
      {"amp", u'&'},        {"lt", u'<'},          {"gt", u'>'},         {"quot", u'"'},
      {"apos", u'\''},      {"nbsp", u' '},        {"deg", u'\u00B0'},   {"middot", u'\u00B7'},
      {"times", u'\u00D7'}, {"minus", u'\u2212'},  {"Gamma", u'\u0393'}, {"ang", u'\u2220'},
      {"micro", u'\u00B5'}, {"mdash", u'\u2014'},  {"ndash", u'\u2013'}, {"hellip", u'\u2026'},
      {"pi", u'\u03C0'},    {"plusmn", u'\u00B1'}, {"le", u'\u2264'},    {"ge", u'\u2265'}};
  QString out;
  qsizetype at = 0;
  auto it = re.globalMatch(s);
  while (it.hasNext()) {
    const QRegularExpressionMatch m = it.next();
    out += s.mid(at, m.capturedStart() - at);
    const QString e = m.captured(1);
    QString rep = m.captured(0);
    if (e.startsWith(QChar('#'))) {
      bool ok = false;
      const uint code = e.startsWith(QStringLiteral("#x")) || e.startsWith(QStringLiteral("#X"))
                            ? e.mid(2).toUInt(&ok, 16)
                            : e.mid(1).toUInt(&ok, 10);
      if (ok && code > 0 && code < 0x110000)
        rep = QString::fromUcs4(reinterpret_cast<const char32_t*>(&code), 1);
    } else {
      for (const auto& n : named)
        if (e == QLatin1String(n.name)) rep = QString(QChar(n.ch));
    }
    out += rep;
    at = m.capturedEnd();
  }
  out += s.mid(at);
  return out;
}

QStringList AttributeValues(const QString& html, const char* pattern) {
  const QRegularExpression re(QString::fromLatin1(pattern),
                              QRegularExpression::CaseInsensitiveOption);
  QStringList out;
  auto it = re.globalMatch(html);
  while (it.hasNext()) out << DecodeEntities(it.next().captured(1));
  return out;
}

}  // namespace

QString THelpIndex::PlainText(const QString& html) {
  QString s = html;
  static const QRegularExpression head(
      QStringLiteral("<(head|script|style)\\b.*?</\\1\\s*>"),
      QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
  static const QRegularExpression comment(QStringLiteral("<!--.*?-->"),
                                          QRegularExpression::DotMatchesEverythingOption);
  static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
  static const QRegularExpression space(QStringLiteral("\\s+"));
  s.remove(head);
  s.remove(comment);
  s.replace(tag, QStringLiteral(" "));
  s = DecodeEntities(s);
  s.replace(space, QStringLiteral(" "));
  return s.trimmed();
}

QString THelpIndex::TitleOf(const QString& html) {
  static const QRegularExpression re(
      QStringLiteral("<title>(.*?)</title>"),
      QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
  const QRegularExpressionMatch m = re.match(html);
  return m.hasMatch() ? PlainText(m.captured(1)) : QString();
}

QStringList THelpIndex::Links(const QString& html) {
  return AttributeValues(html, "<a\\b[^>]*\\bhref\\s*=\\s*\"([^\"]*)\"");
}

QStringList THelpIndex::Anchors(const QString& html) {
  return AttributeValues(html, "<[a-z0-9]+\\b[^>]*\\b(?:id|name)\\s*=\\s*\"([^\"]*)\"");
}

QStringList THelpIndex::Words(const QString& text) {
  QStringList words;
  QString w;
  for (const QChar c : text) {
    if (c.isLetterOrNumber()) {
      w += c.toLower();
    } else if (!w.isEmpty()) {
      words << w;
      w.clear();
    }
  }
  if (!w.isEmpty()) words << w;
  return words;
}

THelpIndex::THelpIndex(const QString& folder) {
  const QDir dir(folder);
  std::vector<THelpPageSource> pages;
  for (const QString& n : dir.entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name)) {
    // A page that is no regular file (a FIFO, a link to a device) is never opened.
    TReadFileResult in = ReadRegularFile(dir.filePath(n), TFileKind::Other);
    if (in.ok()) pages.push_back({n, std::move(in.bytes)});
  }
  Build(pages);
}

THelpIndex::THelpIndex(const std::vector<THelpPageSource>& pages) { Build(pages); }

void THelpIndex::Build(const std::vector<THelpPageSource>& pages) {
  QString indexHtml;
  for (const THelpPageSource& source : pages) {
    const QString& n = source.file;
    const QString html = QString::fromUtf8(source.bytes);
    if (html.isEmpty()) continue;
    THelpPageText p;
    p.file = n;
    p.title = TitleOf(html);
    if (p.title.isEmpty()) p.title = n;
    p.text = PlainText(html);
    pages_.push_back(std::move(p));
    if (n == QLatin1String(kHelpIndexPage)) indexHtml = html;
  }
  if (Page(QString::fromLatin1(kHelpIndexPage))) contents_ << QString::fromLatin1(kHelpIndexPage);
  for (QString link : Links(indexHtml)) {
    link = link.section(QChar('#'), 0, 0);
    if (!contents_.contains(link) && Page(link)) contents_ << link;
  }
  for (const THelpPageText& p : pages_)
    if (!contents_.contains(p.file)) contents_ << p.file;
}

const THelpPageText* THelpIndex::Page(const QString& file) const {
  for (const THelpPageText& p : pages_)
    if (p.file == file) return &p;
  return nullptr;
}

QString THelpIndex::NoHitsText(const QString& query) {
  return QStringLiteral("No page contains \"%1\".").arg(query.trimmed());
}

std::vector<THelpHit> THelpIndex::Search(const QString& query) const {
  const QStringList q = Words(query);
  if (q.isEmpty()) return {};
  struct Ranked {
    int titleHit;
    int hits;
    qsizetype order;
    THelpHit hit;
  };
  std::vector<Ranked> found;
  for (const THelpPageText& p : pages_) {
    const QStringList words = Words(p.text);
    const QStringList titleWords = Words(p.title);
    auto prefixOf = [](const QStringList& ws, const QString& w) {
      return std::count_if(ws.cbegin(), ws.cend(),
                           [&w](const QString& x) { return x.startsWith(w); });
    };
    int hits = 0;
    bool all = true;
    bool inTitle = true;
    for (const QString& w : q) {
      const auto n = prefixOf(words, w) + prefixOf(titleWords, w);
      if (n == 0) {
        all = false;
        break;
      }
      hits += int(n);
      if (prefixOf(titleWords, w) == 0) inTitle = false;
    }
    if (!all) continue;
    // The excerpt: the sentence part around the first word of the query.
    const QString lower = p.text.toLower();
    qsizetype at = -1;
    {
      const QRegularExpression re(QStringLiteral("(?<![\\p{L}\\p{N}])") +
                                  QRegularExpression::escape(q.first()));
      const QRegularExpressionMatch m = re.match(lower);
      at = m.hasMatch() ? m.capturedStart() : 0;
    }
    const qsizetype from = std::max<qsizetype>(0, at - 40);
    QString ex = p.text.mid(from, 120).trimmed();
    if (from > 0) ex = QStringLiteral("\u2026") + ex;
    if (from + 120 < p.text.size()) ex += QStringLiteral("\u2026");
    found.push_back({inTitle ? 1 : 0, hits, contents_.indexOf(p.file), {p.file, p.title, ex}});
  }
  std::stable_sort(found.begin(), found.end(), [](const Ranked& a, const Ranked& b) {
    if (a.titleHit != b.titleHit) return a.titleHit > b.titleHit;
    if (a.hits != b.hits) return a.hits > b.hits;
    return a.order < b.order;
  });
  std::vector<THelpHit> out;
  for (Ranked& r : found) out.push_back(std::move(r.hit));
  return out;
}

}  // namespace qz
