#include "core/texttokens.h"

#include <QStringDecoder>

#include "util/parse.h"
#include "util/strtools.h"

namespace qz {

namespace {

bool IsBlankOrControl(QChar c) { return c.unicode() <= 0x20; }

bool IsSeparator(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

}  // namespace

QString TrimBlanks(const QString& s) {
  qsizetype b = 0;
  qsizetype e = s.size();
  while (b < e && IsBlankOrControl(s.at(b))) ++b;
  while (e > b && IsBlankOrControl(s.at(e - 1))) --e;
  return s.mid(b, e - b);
}

QStringList SplitTextLines(const QByteArray& bytes) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = utf8.decode(bytes);
  if (utf8.hasError()) text = QString::fromLatin1(bytes);
  QStringList lines;
  qsizetype start = 0;
  while (start < text.size()) {
    qsizetype end = text.indexOf(QLatin1Char('\n'), start);
    const bool last = end < 0;
    if (last) end = text.size();
    qsizetype stop = end;
    if (stop > start && text.at(stop - 1) == QLatin1Char('\r')) --stop;
    lines.append(text.mid(start, stop - start));
    start = end + 1;
  }
  return lines;
}

bool ReadTextLines(const QString& path, TFileKind kind, QStringList* lines, QString* reason) {
  lines->clear();
  const TReadFileResult r = ReadRegularFile(path, kind);
  const bool refused =
      r.status == TReadFileStatus::NotRegularFile || r.status == TReadFileStatus::TooLarge;
  if (reason) *reason = refused ? r.reason : QString();
  if (!r.ok()) return false;
  *lines = SplitTextLines(r.bytes);
  return true;
}

bool IsIgnoredLine(const QString& trimmed) {
  return trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('!'));
}

QStringList SplitTokens(const QString& s) {
  QStringList out;
  qsizetype i = 0;
  const qsizetype n = s.size();
  while (i < n) {
    while (i < n && IsSeparator(s.at(i))) ++i;
    const qsizetype b = i;
    while (i < n && !IsSeparator(s.at(i))) ++i;
    if (i > b) out.append(s.mid(b, i - b));
  }
  return out;
}

std::vector<double> ScanNumbers(const QString& s) {
  std::vector<double> out;
  for (const QString& t : SplitTokens(s)) {
    const auto v = ParseDouble(t, false);
    if (!v) break;
    out.push_back(*v);
  }
  return out;
}

QString TabsToBlanks(const QString& s) {
  QString out = s;
  out.replace(QLatin1Char('\t'), QLatin1Char(' '));
  return out;
}

TKeywordLine SplitKeywordLine(const QString& trimmed) {
  QString rest = trimmed.startsWith(QLatin1Char('*')) ? trimmed.mid(1) : trimmed;
  TKeywordLine k;
  k.key = TrimBlanks(SplitKeyValue(rest)).toUpper();
  if (!k.key.isEmpty()) k.value = TrimBlanks(rest);
  return k;
}

bool TBlockComment::Skip(const QString& trimmed) {
  if (open_) {
    if (trimmed.contains(QLatin1Char('}'))) open_ = false;
    return true;
  }
  if (trimmed.startsWith(QLatin1Char('{'))) {
    open_ = true;
    return true;
  }
  return false;
}

}  // namespace qz
