#include "util/inifile.h"

#define SI_NO_CONVERSION
// The packaged header keeps the template bodies behind this switch; they are instantiated here.
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

#include <QFile>
#include <QStringDecoder>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <list>
#include <string>
#include <string_view>

#include "util/atomicfile.h"
#include "util/parse.h"
#include "util/readfile.h"

namespace qz {

namespace {

using Names = CSimpleIniA::TNamesDepend;

// The file's bytes as UTF-8 text: a byte-order mark is dropped, and bytes that are not valid
// UTF-8 are taken as Latin-1 (files edited on older systems).
std::string DecodeFileBytes(QByteArray bytes) {
  if (bytes.startsWith("\xEF\xBB\xBF")) bytes.remove(0, 3);
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  const QString asUtf8 = utf8.decode(bytes);
  if (!utf8.hasError()) return bytes.toStdString();
  return QString::fromLatin1(bytes).toUtf8().toStdString();
}

// The text as the reader takes it: one line per LF, CR LF or lone CR (files from older
// systems), each ended by LF. A line that opens a section without closing it, or names no
// section, is no section header; it is dropped, so that it can neither swallow the following
// lines into a name nor come back changed at every save.
std::string NormalizeLines(const std::string& text) {
  std::string out;
  out.reserve(text.size() + 1);
  size_t i = 0;
  const size_t n = text.size();
  while (i < n) {
    size_t end = i;
    while (end < n && text[end] != '\n' && text[end] != '\r') ++end;
    // A control character other than a tab is no text of a setup (a NUL would cut a name or
    // value short when it is written again, others read back differently once trimmed), so it
    // is dropped before the line is judged.
    std::string line;
    line.reserve(end - i);
    for (size_t k = i; k < end; ++k) {
      const unsigned char c = static_cast<unsigned char>(text[k]);
      if (c >= 0x20 || c == '\t') line.push_back(text[k]);
    }
    // Nor is a byte-order mark inside the text (only the file's first one is read as such):
    // a name starting with one would lose it at the next load.
    for (size_t bom; (bom = line.find("\xEF\xBB\xBF")) != std::string::npos;) line.erase(bom, 3);
    const size_t first = line.find_first_not_of(" \t");
    bool badHeader = false;
    if (first != std::string::npos && line[first] == '[') {
      const size_t close = line.find(']', first);
      // No closing bracket, or nothing between the brackets.
      badHeader =
          close == std::string::npos ||
          line.substr(first + 1, close - first - 1).find_first_not_of(" \t") == std::string::npos;
    }
    if (!badHeader) {
      out.append(line);
      out.push_back('\n');
    }
    if (end < n && text[end] == '\r' && end + 1 < n && text[end + 1] == '\n') ++end;
    i = end + 1;
  }
  return out;
}

// The reader trims only blanks and tabs around names and values; any other white space (a
// no-break space in a file name) is part of the text and is kept.
QString TrimBlanksAndTabs(const QString& text) {
  qsizetype b = 0;
  qsizetype e = text.size();
  auto blank = [&](qsizetype i) {
    return text.at(i) == QLatin1Char(' ') || text.at(i) == QLatin1Char('\t');
  };
  while (b < e && blank(b)) ++b;
  while (e > b && blank(e - 1)) --e;
  return text.mid(b, e - b);
}

// Section names, keys and values never carry a line break, another control character (a tab
// excepted) or a byte-order mark into the file: the reader would not give them back. They are
// stored trimmed of blanks and tabs, as they come back when the file is read again.
std::string Clean(const QString& text) {
  QString t;
  t.reserve(text.size());
  for (const QChar c : text)
    if ((c.unicode() >= 0x20 || c == QLatin1Char('\t')) && c.unicode() != 0xFEFF) t.append(c);
  return TrimBlanksAndTabs(t).toUtf8().toStdString();
}

std::string CleanName(const QString& text) { return Clean(text); }

QString FromStore(const char* s) { return s ? QString::fromUtf8(s) : QString(); }

}  // namespace

struct IniFile::Impl {
  CSimpleIniA ini{/*utf8*/ true, /*multiKey*/ false, /*multiLine*/ false};
  Impl() {
    ini.SetSpaces(false);
    ini.SetQuotes(false);
  }

  Names SortedSections() const {
    Names names;
    ini.GetAllSections(names);
    names.sort(CSimpleIniA::Entry::LoadOrder());
    return names;
  }
  Names SortedKeys(const std::string& section) const {
    Names names;
    ini.GetAllKeys(section.c_str(), names);
    names.sort(CSimpleIniA::Entry::LoadOrder());
    return names;
  }
  const char* Value(const QString& section, const QString& key) const {
    return ini.GetValue(CleanName(section).c_str(), CleanName(key).c_str(), nullptr);
  }
};

IniFile::IniFile() : d_(std::make_unique<Impl>()) {}

IniFile::IniFile(const QString& path) : d_(std::make_unique<Impl>()), path_(path) { Reload(); }

IniFile::~IniFile() = default;

bool IniFile::Reload() {
  d_->ini.Reset();
  modified_ = false;
  error_.clear();
  if (path_.isEmpty()) return true;
  const TReadFileResult r = ReadRegularFile(path_, TFileKind::Setup);
  if (r.status == TReadFileStatus::Missing) return true;
  if (r.status == TReadFileStatus::NotRegularFile || r.status == TReadFileStatus::TooLarge) {
    error_ = r.reason;
    return false;
  }
  if (!r.ok()) {
    error_ = QStringLiteral("Cannot read file \"%1\".\r\n%2").arg(path_, r.cause);
    return false;
  }
  d_->ini.LoadData(NormalizeLines(DecodeFileBytes(r.bytes)));
  return true;
}

void IniFile::SetText(const QByteArray& bytes) {
  d_->ini.Reset();
  d_->ini.LoadData(NormalizeLines(DecodeFileBytes(bytes)));
  modified_ = true;
}

QByteArray IniFile::Text() const {
  std::string out;
  d_->ini.Save(out, /*addSignature*/ false);
  // A section without a name and without keys leaves only blank lines, which the next load
  // would not find again.
  out.erase(0, out.find_first_not_of('\n') == std::string::npos ? out.size()
                                                                : out.find_first_not_of('\n'));
  // Comment lines at the very start of a file are read back as the file's own comment, which
  // is written with a blank line after it. A comment that belonged to the first section or key
  // gets that blank line now, so that the next load and save give the same bytes.
  if (!out.empty() && (out[0] == ';' || out[0] == '#')) {
    size_t pos = 0;
    while (pos < out.size() && (out[pos] == ';' || out[pos] == '#')) {
      const size_t nl = out.find('\n', pos);
      if (nl == std::string::npos) {
        pos = out.size();
        break;
      }
      pos = nl + 1;
    }
    if (pos < out.size() && out[pos] != '\n') out.insert(pos, 1, '\n');
  }
  // The library ends lines with LF here; the files we write use CR LF. Stored text never holds a
  // line break of its own, so every LF is a line end.
  // The library also puts two blank lines between sections; one is kept.
  QByteArray bytes;
  bytes.reserve(qsizetype(out.size() + out.size() / 16));
  int newlines = 0;
  for (char c : out) {
    if (c == '\n') {
      if (++newlines > 2) continue;
      bytes.append('\r');
    } else {
      newlines = 0;
    }
    bytes.append(c);
  }
  return bytes;
}

QStringList IniFile::Lines() const {
  QString text = QString::fromUtf8(Text());
  text.remove(QLatin1Char('\r'));
  QStringList lines = text.split(QLatin1Char('\n'));
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  return lines;
}

QStringList IniFile::SectionLines(const QString& section) const {
  QStringList lines;
  const std::string s = CleanName(section);
  for (const auto& key : d_->SortedKeys(s)) {
    lines << FromStore(key.pItem) + QLatin1Char('=') +
                 FromStore(d_->ini.GetValue(s.c_str(), key.pItem, ""));
  }
  return lines;
}

QStringList IniFile::ReadSections() const {
  QStringList out;
  for (const auto& e : d_->SortedSections()) out << FromStore(e.pItem);
  return out;
}

QStringList IniFile::ReadSection(const QString& section) const {
  QStringList out;
  for (const auto& e : d_->SortedKeys(CleanName(section))) out << FromStore(e.pItem);
  return out;
}

bool IniFile::SectionExists(const QString& section) const {
  return d_->ini.SectionExists(CleanName(section).c_str());
}

bool IniFile::ValueExists(const QString& section, const QString& key) const {
  return d_->Value(section, key) != nullptr;
}

void IniFile::EraseSection(const QString& section) {
  if (d_->ini.Delete(CleanName(section).c_str(), nullptr)) modified_ = true;
}

void IniFile::DeleteKey(const QString& section, const QString& key) {
  if (d_->ini.Delete(CleanName(section).c_str(), CleanName(key).c_str())) modified_ = true;
}

QString IniFile::ReadString(const QString& section, const QString& key, const QString& def) const {
  const char* v = d_->Value(section, key);
  return v ? QString::fromUtf8(v) : def;
}

int32_t IniFile::ReadInteger(const QString& section, const QString& key, int32_t def) const {
  const char* v = d_->Value(section, key);
  if (!v) return def;
  return ParseInt32(QString::fromUtf8(v)).value_or(def);
}

double IniFile::ReadFloat(const QString& section, const QString& key, double def) const {
  const char* v = d_->Value(section, key);
  if (!v) return def;
  return ParseDouble(QString::fromUtf8(v), /*allowComma*/ false).value_or(def);
}

bool IniFile::ReadBool(const QString& section, const QString& key, bool def) const {
  const char* v = d_->Value(section, key);
  if (!v) return def;
  const auto n = ParseDouble(QString::fromUtf8(v), /*allowComma*/ false);
  if (!n) return def;
  return *n != 0.0;
}

void IniFile::WriteString(const QString& section, const QString& key, const QString& value) {
  const std::string s = CleanName(section);
  const std::string k = CleanName(key);
  if (k.empty()) return;  // a line "=value" could not be read back
  // Blanks and tabs around a value are not kept by the file format; store what a reader will
  // see.
  const std::string v = Clean(value);
  const char* old = d_->ini.GetValue(s.c_str(), k.c_str(), nullptr);
  if (old && v == old) return;
  d_->ini.SetValue(s.c_str(), k.c_str(), v.c_str());
  modified_ = true;
}

void IniFile::WriteInteger(const QString& section, const QString& key, int64_t value) {
  WriteString(section, key, QString::number(value));
}

void IniFile::WriteFloat(const QString& section, const QString& key, double value) {
  WriteString(section, key, FloatText(value));
}

void IniFile::WriteBool(const QString& section, const QString& key, bool value) {
  WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

QString IniFile::FloatText(double value) {
  if (!std::isfinite(value)) value = 0.0;
  char buf[400];
  // Without a precision to_chars gives the shortest text that reads back as the same value, in
  // the C locale's form (always a point). Values of everyday size are written without an
  // exponent so that the file stays easy to read.
  const double a = std::fabs(value);
  const bool plain = a == 0.0 || (a >= 1e-4 && a < 1e15);
  const auto r = plain ? std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed)
                       : std::to_chars(buf, buf + sizeof buf, value);
  return QString::fromLatin1(buf, r.ptr - buf);
}

bool IniFile::UpdateFile() {
  if (!SaveAs(path_)) return false;
  modified_ = false;
  return true;
}

bool IniFile::SaveAs(const QString& path) {
  error_.clear();
  if (path.isEmpty()) {
    error_ = QStringLiteral("No file name given for the setup.");
    return false;
  }
  // The new content goes to a temporary file beside the old one and replaces it only when it
  // has been written completely. A setup that could not be read back is not written at all.
  const QByteArray bytes = Text();
  if (ExceedsLimit(bytes.size(), TFileKind::Setup)) {
    error_ = TooLargeToWriteText(path, TFileKind::Setup);
    return false;
  }
  const AtomicWriteResult w = WriteFileAtomic(path, bytes);
  if (w.status == AtomicWriteStatus::NotRegularFile) {
    error_ = w.reason;
    return false;
  }
  if (!w.ok()) {
    error_ = QStringLiteral("Cannot write file \"%1\".\r\n%2").arg(path, w.reason);
    return false;
  }
  return true;
}

}  // namespace qz
