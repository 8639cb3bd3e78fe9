#include "tuner/scefile.h"

#include <QStringDecoder>
#include <cmath>

#include "util/atomicfile.h"
#include "util/fileops.h"
#include "util/format.h"
#include "util/parse.h"
#include "util/readfile.h"
#include "util/strtools.h"

namespace qz {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// A value written on one line: line breaks and other control characters (but a tab) become
// blanks, so a comment or extra text can never start a line of its own.
QString OneFileLine(const QString& s) {
  QString t = s;
  for (QChar& c : t) {
    if (c.unicode() < 0x20 && c != QLatin1Char('\t')) c = QLatin1Char(' ');
  }
  return t;
}

QString DecodeBytes(const QByteArray& bytes) {
  QStringDecoder dec(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = dec.decode(bytes);
  if (dec.hasError()) text = QString::fromLatin1(bytes);
  // Control characters other than tabs and line ends, and byte-order marks, are dropped, so a
  // name or text never holds what a save would have to change.
  QString clean;
  clean.reserve(text.size());
  for (const QChar c : text) {
    const bool control = c.unicode() < 0x20 && c != QLatin1Char('\t') && c != QLatin1Char('\n') &&
                         c != QLatin1Char('\r');
    if (!control && c.unicode() != 0xFEFF) clean.append(c);
  }
  return clean;
}

// A number of a row: a point as the separator, finite.
bool StubNumber(const QString& s) {
  const auto v = ParseDouble(s, false);
  return v && std::isfinite(*v);
}

// Reads one row's value; false when it is no row.
bool ReadRowValue(QString value, TSceRow& row) {
  for (int i = 0; i < 3; ++i) {
    row.S[size_t(i)] = CutWord(value);
    if (!StubNumber(row.S[size_t(i)])) return false;
  }
  row.T = CutWord(value);
  if (!ParseInt32(row.T)) return false;
  row.Extra = value.trimmed();
  return true;
}

struct TSection {
  QString name;
  bool info = false;
  int page = -1;  // index into the pages being built
  bool failed = false;
  int counted = 0;   // lines counted in this section (all its parts)
  int rowsSeen = 0;  // rows of the page met in the file (also beyond the limit)
};

}  // namespace

QByteArray SceFileBytes(const TSceBook& book) {
  QString out = QStringLiteral("[") + QLatin1String(kSceInfoSection) + QStringLiteral("]") + kCrLf;
  const QString info = OneFileLine(book.Info).trimmed();
  out += QStringLiteral("SceInfo = ") + (info.isEmpty() ? QStringLiteral("(none)") : info) + kCrLf;
  for (int i = 0; i < book.Count(); ++i) {
    const TScePage& p = book.Page(i);
    if (p.LastRow() == 0) continue;
    out += QLatin1Char('[') + OneFileLine(p.Name) + QLatin1Char(']') + kCrLf;
    for (int r = 1; r <= p.LastRow(); ++r) {
      const TSceRow& row = p.Row(r);
      out += Format(QStringLiteral("%d\t=\t%s\t%s\t%s\t%s"),
                    {r, OneFileLine(row.S[0]), OneFileLine(row.S[1]), OneFileLine(row.S[2]),
                     OneFileLine(row.T)});
      const QString extra = OneFileLine(row.Extra).trimmed();
      if (!extra.isEmpty()) out += QLatin1Char('\t') + extra;
      out += kCrLf;
    }
  }
  return out.toUtf8();
}

QString SceLineErrorText(const QString& section, int row, const QString& line) {
  QString shown = line;
  shown.replace(QLatin1Char('\t'), QLatin1Char(' '));
  return QStringLiteral("Error reading scenario file at Section \"") + section +
         QStringLiteral("\", Row ") + Format(QStringLiteral("%d"), {row}) +
         QStringLiteral(".\r\nError line: \"") + shown + QStringLiteral("\"\r\nOperation aborted.");
}

QString SceTruncatedText(const QString& page, int rows) {
  return QStringLiteral("Page \"") + page + QStringLiteral("\" holds ") +
         Format(QStringLiteral("%d"), {rows}) + QStringLiteral(" rows; only the first ") +
         Format(QStringLiteral("%d"), {kSceMaxRows}) + QStringLiteral(" were loaded.");
}

TSceReadResult ReadSceBytes(const QByteArray& bytes) {
  TSceReadResult res;
  QString text = DecodeBytes(bytes);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  const QStringList lines = text.split(QLatin1Char('\n'));

  std::vector<TSection> sections;  // one per distinct name
  std::vector<TScePage> pages;
  std::vector<std::vector<TSceRow>> rows;
  TSection* cur = nullptr;
  bool anySection = false;

  for (const QString& raw : lines) {
    const QString line = raw.trimmed();
    if (line.isEmpty() || line.startsWith(QLatin1Char(';'))) continue;
    const qsizetype open = line.indexOf(QLatin1Char('['));
    const qsizetype close = line.lastIndexOf(QLatin1Char(']'));
    if (line.startsWith(QLatin1Char('[')) && close > open) {
      anySection = true;
      const QString name = line.mid(open + 1, close - open - 1).trimmed();
      cur = nullptr;
      for (TSection& s : sections) {
        if (s.name.compare(name, Qt::CaseInsensitive) == 0) cur = &s;
      }
      if (!cur) {
        TSection s;
        s.name = name;
        s.info = name.compare(QLatin1String(kSceInfoSection), Qt::CaseInsensitive) == 0;
        if (!s.info) {
          s.page = int(pages.size());
          TScePage p;
          p.Name = name;
          pages.push_back(p);
          rows.emplace_back();
        }
        sections.push_back(s);
        cur = &sections.back();
      }
      continue;
    }
    if (!cur || cur->failed) continue;
    ++cur->counted;
    if (cur->info) {
      QString value = raw;
      const qsizetype eq = value.indexOf(QLatin1Char('='));
      if (eq >= 0 &&
          value.left(eq).trimmed().compare(QLatin1String("SceInfo"), Qt::CaseInsensitive) == 0) {
        res.info = value.mid(eq + 1).trimmed();
      }
      continue;
    }
    QString value = line;
    const QString key = SplitKeyValue(value);
    TSceRow row;
    if (key.trimmed().isEmpty() || !ReadRowValue(value, row)) {
      cur->failed = true;
      res.errors << SceLineErrorText(cur->name, cur->counted, line);
      continue;
    }
    ++cur->rowsSeen;
    std::vector<TSceRow>& pr = rows[size_t(cur->page)];
    if (int(pr.size()) < kSceMaxRows) pr.push_back(row);
  }

  if (!anySection) {
    res.errors << QString::fromLatin1(kSceInvalidText);
    return res;
  }
  if (res.info.isEmpty()) res.info = QStringLiteral("(none)");
  if (!res.errors.isEmpty()) return res;
  for (const TSection& s : sections) {
    if (s.info) continue;
    pages[size_t(s.page)].SetRows(std::move(rows[size_t(s.page)]));
    if (s.rowsSeen > kSceMaxRows) res.truncated << SceTruncatedText(s.name, s.rowsSeen);
  }
  res.pages = std::move(pages);
  res.ok = true;
  return res;
}

QString SaveSceFile(const QString& path, const TSceBook& book) {
  const QByteArray bytes = SceFileBytes(book);
  if (ExceedsLimit(bytes.size(), TFileKind::Scenario))
    return TooLargeToWriteText(path, TFileKind::Scenario);
  const AtomicWriteResult r = WriteFileAtomic(path, bytes);
  if (r.ok()) return QString();
  const QString reason =
      r.status == AtomicWriteStatus::NotRegularFile ? NotRegularFileText(path) : r.reason;
  return QStringLiteral("Scenario file \"") + path + QStringLiteral("\" could not be saved: ") +
         reason;
}

}  // namespace qz
