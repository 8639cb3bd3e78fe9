#include "util/strtools.h"

#include "util/parse.h"

namespace qz {

QChar BoolChar(bool b) { return b ? QLatin1Char('T') : QLatin1Char('F'); }

bool TextToBool(const QString& s) {
  if (s.isEmpty()) return false;
  const QChar c = s.at(0).toUpper();
  return c == QLatin1Char('1') || c == QLatin1Char('T') || c == QLatin1Char('Y');
}

QString CutAt(QString& s, QChar sep) {
  s = s.trimmed();
  if (s.isEmpty()) return QString();
  const bool blankLike = sep == QLatin1Char(' ') || sep == QLatin1Char('\t');
  qsizetype pos = -1;
  for (qsizetype i = 0; i < s.size(); ++i) {
    const QChar c = s.at(i);
    if (c == sep || (blankLike && (c == QLatin1Char(' ') || c == QLatin1Char('\t')))) {
      pos = i;
      break;
    }
  }
  if (pos < 0) {
    QString field = s;
    s.clear();
    return field;
  }
  const QString field = s.left(pos);
  s = s.mid(pos + 1).trimmed();
  return field;
}

QString CutWord(QString& s) { return CutAt(s, QLatin1Char(' ')); }

QString SplitKeyValue(QString& s) {
  const qsizetype eq = s.indexOf(QLatin1Char('='));
  if (eq < 0) return QString();
  const QString key = s.left(eq);
  QString rest = s.mid(eq + 1);
  const qsizetype semi = rest.indexOf(QLatin1Char(';'));
  if (semi >= 0) rest.truncate(semi);
  s = rest.trimmed();
  return key;
}

bool PrefixedInt(const QString& s, const QString& prefix, int lo, int hi, int* value) {
  const auto v = ParseInt32(s.mid(prefix.size()));
  if (!v || *v < lo || *v > hi) return false;
  if (value) *value = *v;
  return true;
}

bool PrefixedIntPair(const QString& s, const QString& prefix, int lo1, int hi1, int lo2, int hi2,
                     int* first, int* second) {
  const QString rest = s.mid(prefix.size());
  if (rest.size() < 3) return false;
  const qsizetype us = rest.indexOf(QLatin1Char('_'));
  if (us < 0) return false;
  const auto a = ParseInt32(rest.left(us));
  const auto b = ParseInt32(rest.mid(us + 1));
  if (!a || !b || *a < lo1 || *a > hi1 || *b < lo2 || *b > hi2) return false;
  if (first) *first = *a;
  if (second) *second = *b;
  return true;
}

QString GroupDigits(const QString& s, int n) {
  if (n <= 0) return s;
  QString out = s;
  for (qsizetype pos = out.size() - n; pos > 0; pos -= n) out.insert(pos, QLatin1Char(' '));
  return out;
}

QString RemoveBlanks(const QString& s) {
  QString out = s;
  out.remove(QLatin1Char(' '));
  return out;
}

QString PadText(const QString& s, int len, QChar ch, bool left) {
  if (s.size() >= len) return s;
  const QString pad(len - s.size(), ch);
  return left ? pad + s : s + pad;
}

void AppendLine(QString& msg, const QString& line) {
  if (line.isEmpty()) return;
  if (msg.isEmpty()) {
    msg = line;
  } else {
    msg += QStringLiteral("\n\r") + line;
  }
}

QString OneLine(const QString& text) {
  QString out;
  out.reserve(text.size());
  bool inBreak = false;
  for (const QChar c : text) {
    if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
      if (!inBreak) out.append(QLatin1Char(' '));
      inBreak = true;
      continue;
    }
    inBreak = false;
    out.append(c);
  }
  return out;
}

}  // namespace qz
