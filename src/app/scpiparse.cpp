#include "app/scpiparse.h"

#include <QHostAddress>
#include <charconv>
#include <cmath>
#include <cstring>

#include "util/parse.h"

namespace qz {

QString ScpiErrorText(int code) {
  switch (code) {
    case kScpiNoError:
      return QStringLiteral("No error");
    case kScpiCommandError:
      return QStringLiteral("Command error");
    case kScpiSyntaxError:
      return QStringLiteral("Syntax error");
    case kScpiDataTypeError:
      return QStringLiteral("Data type error");
    case kScpiParamNotAllowed:
      return QStringLiteral("Parameter not allowed");
    case kScpiMissingParam:
      return QStringLiteral("Missing parameter");
    case kScpiUndefinedHeader:
      return QStringLiteral("Undefined header");
    case kScpiExecutionError:
      return QStringLiteral("Execution error");
    case kScpiInitIgnored:
      return QStringLiteral("Init ignored");
    case kScpiSettingsConflict:
      return QStringLiteral("Settings conflict");
    case kScpiOutOfRange:
      return QStringLiteral("Data out of range");
    case kScpiFileNameError:
      return QStringLiteral("File name error");
    case kScpiQueueOverflow:
      return QStringLiteral("Queue overflow");
    case kScpiInputOverrun:
      return QStringLiteral("Input buffer overrun");
    default:
      return QString();
  }
}

// ---- lines ----------------------------------------------------------------------------------

void TScpiLineSplitter::Feed(const char* data, qsizetype size) {
  qsizetype start = 0;
  while (start < size) {
    const void* lf = std::memchr(data + start, '\n', size_t(size - start));
    const qsizetype end = lf ? static_cast<const char*>(lf) - data : size;
    if (!dropping_) {
      partial_.append(data + start, end - start);
      // One byte more than a line may hold is allowed for the CR of a CR LF ending.
      if (partial_.size() > kScpiMaxLine + 1 ||
          (partial_.size() == kScpiMaxLine + 1 && !partial_.endsWith('\r'))) {
        partial_.clear();
        dropping_ = true;
      }
    }
    if (!lf) break;
    TLine line;
    if (dropping_) {
      line.overrun = true;
    } else {
      line.text = std::move(partial_);
      if (line.text.endsWith('\r')) line.text.chop(1);
    }
    partial_ = QByteArray();
    dropping_ = false;
    queued_ += line.text.size() + 1;
    lines_.push_back(std::move(line));
    start = end + 1;
  }
}

TScpiLineSplitter::TLine TScpiLineSplitter::TakeLine() {
  TLine l = std::move(lines_.front());
  lines_.pop_front();
  queued_ -= l.text.size() + 1;
  return l;
}

// ---- units ----------------------------------------------------------------------------------

std::vector<QByteArray> SplitScpiUnits(const QByteArray& line) {
  std::vector<QByteArray> units;
  QByteArray cur;
  char quote = 0;
  for (const char c : line) {
    if (quote) {
      cur.append(c);
      if (c == quote) quote = 0;  // a doubled quote closes and opens again
      continue;
    }
    if (c == '"' || c == '\'') quote = c;
    if (c == ';') {
      if (!cur.trimmed().isEmpty()) units.push_back(cur.trimmed());
      cur.clear();
      continue;
    }
    cur.append(c);
  }
  if (!cur.trimmed().isEmpty()) units.push_back(cur.trimmed());
  return units;
}

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t'; }
bool IsAlpha(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsKeyword(const QByteArray& k) {
  if (k.isEmpty() || !IsAlpha(k[0])) return false;
  for (const char c : k)
    if (!IsAlpha(c) && !IsDigit(c) && c != '_') return false;
  return true;
}

// Decimal numeric data: [+-](digits[.digits]|.digits)[E[+-]digits].
bool ReadNumber(const QByteArray& t, double& v) {
  qsizetype i = 0;
  const qsizetype n = t.size();
  if (i < n && (t[i] == '+' || t[i] == '-')) ++i;
  qsizetype digits = 0;
  while (i < n && IsDigit(t[i])) ++i, ++digits;
  if (i < n && t[i] == '.') {
    ++i;
    while (i < n && IsDigit(t[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < n && (t[i] == 'e' || t[i] == 'E')) {
    ++i;
    if (i < n && (t[i] == '+' || t[i] == '-')) ++i;
    qsizetype exp = 0;
    while (i < n && IsDigit(t[i])) ++i, ++exp;
    if (exp == 0) return false;
  }
  if (i != n) return false;
  const char* b = t.constData();
  // from_chars takes no leading '+'.
  if (*b == '+') ++b;
  const auto r = std::from_chars(b, t.constData() + n, v);
  // A number beyond the doubles' range is still a number: it is out of every range.
  if (r.ec == std::errc::result_out_of_range) v = (t.startsWith('-') ? -HUGE_VAL : HUGE_VAL);
  return r.ptr == t.constData() + n;
}

TScpiUnit Bad(int code) {
  TScpiUnit u;
  u.error = code;
  return u;
}

}  // namespace

TScpiUnit ParseScpiUnit(const QByteArray& unitText) {
  const QByteArray s = unitText.trimmed();
  qsizetype i = 0;
  const qsizetype n = s.size();
  TScpiUnit u;
  // The header: up to the first blank.
  while (i < n && !IsSpace(s[i])) ++i;
  QByteArray header = s.left(i);
  if (header.endsWith('?')) {
    u.query = true;
    header.chop(1);
  }
  if (header.startsWith('*')) {
    u.common = true;
    if (!IsKeyword(header.mid(1))) return Bad(kScpiSyntaxError);
    u.path << QString::fromLatin1(header);
  } else {
    if (header.startsWith(':')) {
      u.rooted = true;
      header.remove(0, 1);
    }
    for (const QByteArray& k : header.split(':')) {
      if (!IsKeyword(k)) return Bad(kScpiSyntaxError);
      u.path << QString::fromLatin1(k);
    }
  }
  // The parameters: comma-separated, blanks around them allowed.
  while (i < n && IsSpace(s[i])) ++i;
  if (i == n) return u;
  for (;;) {
    while (i < n && IsSpace(s[i])) ++i;
    if (i == n) return Bad(kScpiSyntaxError);  // a comma with nothing after it
    TScpiParam p;
    if (s[i] == '"' || s[i] == '\'') {
      const char q = s[i++];
      QByteArray text;
      bool closed = false;
      while (i < n) {
        if (s[i] == q) {
          if (i + 1 < n && s[i + 1] == q) {
            text.append(q);
            i += 2;
            continue;
          }
          ++i;
          closed = true;
          break;
        }
        text.append(s[i++]);
      }
      if (!closed) return Bad(kScpiSyntaxError);
      p.kind = TScpiParam::String;
      p.text = QString::fromUtf8(text);
    } else {
      const qsizetype b = i;
      while (i < n && s[i] != ',' && !IsSpace(s[i])) ++i;
      const QByteArray t = s.mid(b, i - b);
      if (t.isEmpty()) return Bad(kScpiSyntaxError);
      if (ReadNumber(t, p.number)) {
        p.kind = TScpiParam::Number;
      } else if (IsKeyword(t)) {
        p.kind = TScpiParam::Chars;
      } else {
        return Bad(kScpiSyntaxError);
      }
      p.text = QString::fromLatin1(t);
    }
    u.params.push_back(p);
    while (i < n && IsSpace(s[i])) ++i;
    if (i == n) return u;
    if (s[i] != ',') return Bad(kScpiSyntaxError);
    ++i;
  }
}

// ---- patterns -------------------------------------------------------------------------------

TScpiPattern::TScpiPattern(const char* pattern) : text_(QString::fromLatin1(pattern)) {
  QString rest = text_;
  while (!rest.isEmpty()) {
    TNode node;
    if (rest.startsWith(QChar('['))) {
      node.optional = true;
      const qsizetype close = rest.indexOf(QChar(']'));
      QString inner = rest.mid(1, close - 1);
      rest = rest.mid(close + 1);
      if (inner.startsWith(QChar(':'))) inner.remove(0, 1);
      node.longForm = inner;
    } else {
      if (rest.startsWith(QChar(':'))) rest.remove(0, 1);
      qsizetype end = 0;
      while (end < rest.size() && rest[end] != QChar(':') && rest[end] != QChar('[')) ++end;
      node.longForm = rest.left(end);
      rest = rest.mid(end);
    }
    for (const QChar c : node.longForm)
      if (c.isUpper() || c.isDigit()) node.shortForm += c;
    nodes_.push_back(node);
  }
}

bool TScpiPattern::Matches(const QStringList& path) const { return MatchFrom(path, 0, 0); }

bool TScpiPattern::MatchFrom(const QStringList& path, int i, size_t j) const {
  if (j == nodes_.size()) return i == path.size();
  const TNode& node = nodes_[j];
  if (i < path.size() &&
      (path[i].compare(node.shortForm, Qt::CaseInsensitive) == 0 ||
       path[i].compare(node.longForm, Qt::CaseInsensitive) == 0) &&
      MatchFrom(path, i + 1, j + 1))
    return true;
  return node.optional && MatchFrom(path, i, j + 1);
}

// ---- answers --------------------------------------------------------------------------------

QString ScpiNumber(double v) {
  if (!std::isfinite(v)) return QStringLiteral("9.9e+37");
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  return QString::fromLatin1(buf, r.ptr - buf);
}

QString ScpiString(const QString& s) {
  QString q = s;
  q.replace(QChar('"'), QStringLiteral("\"\""));
  return QChar('"') + q + QChar('"');
}

bool ParseScpiAddress(const QString& text, QString& address, int& port, QString& error) {
  QString host = QString::fromLatin1(kScpiDefaultAddress);
  QString portText = text.trimmed();
  if (portText.startsWith(QChar('['))) {
    const qsizetype close = portText.indexOf(QLatin1String("]:"));
    if (close < 0) {
      error =
          QStringLiteral("--scpi needs [ADDRESS]:PORT for an IPv6 address, not \"%1\".").arg(text);
      return false;
    }
    host = portText.mid(1, close - 1);
    portText = portText.mid(close + 2);
  } else if (const qsizetype colon = portText.lastIndexOf(QChar(':')); colon >= 0) {
    host = portText.left(colon);
    portText = portText.mid(colon + 1);
  }
  const auto n = ParseInt32(portText);
  if (!n || *n < 0 || *n > 65535) {
    error = QStringLiteral("--scpi needs a port from 0 to 65535, not \"%1\".").arg(portText);
    return false;
  }
  QHostAddress a;
  if (!a.setAddress(host)) {
    error = QStringLiteral("--scpi needs an IP address such as 127.0.0.1, not \"%1\".").arg(host);
    return false;
  }
  address = a.toString();
  port = *n;
  return true;
}

}  // namespace qz
