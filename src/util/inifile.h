#pragma once
// Setup files: sections in square brackets and "key=value" lines.
//
// One IniFile holds the whole file in memory. Reads and writes work on that copy; UpdateFile
// writes it back in one piece. Section and key names match without regard to letter case, the
// file's order of sections and keys is kept (new ones go to the end), and values are stored raw:
// a comma, semicolon, backslash or quote in a value stays exactly as it is.
//
// Files are read whether they have LF or CR LF line ends, a UTF-8 byte-order mark or Latin-1
// bytes; they are written as UTF-8 without a mark, with CR LF line ends, as "key=value" without
// blanks. A save goes to a temporary file that replaces the old one only when it is complete, so
// a failed save (full disk, unwritable folder) leaves the previous file whole.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>

namespace qz {

class IniFile {
 public:
  // An empty file without a path (for text built in memory).
  IniFile();
  // Loads `path` when it exists; a missing file gives an empty setup that UpdateFile creates.
  explicit IniFile(const QString& path);
  ~IniFile();
  IniFile(const IniFile&) = delete;
  IniFile& operator=(const IniFile&) = delete;

  const QString& FileName() const { return path_; }

  // Reads the file again from disk, dropping unsaved changes. False (and ErrorText set) when an
  // existing file cannot be read; the content is then empty.
  bool Reload();
  // Replaces the content with the given text (as if it were the file's bytes).
  void SetText(const QByteArray& bytes);
  // The content as it would be written (UTF-8, CR LF).
  QByteArray Text() const;
  // The content as lines (without line ends), for readers that parse the lines themselves.
  QStringList Lines() const;
  // The "key=value" lines of one section in file order ("" when it does not exist).
  QStringList SectionLines(const QString& section) const;

  // Names of all sections, in file order.
  QStringList ReadSections() const;
  // Names of the keys of one section, in file order (empty when the section is missing).
  QStringList ReadSection(const QString& section) const;
  bool SectionExists(const QString& section) const;
  bool ValueExists(const QString& section, const QString& key) const;
  void EraseSection(const QString& section);
  void DeleteKey(const QString& section, const QString& key);

  // The value, or `def` when the key is missing (an empty value is returned as it is).
  QString ReadString(const QString& section, const QString& key, const QString& def) const;
  // A decimal integer of the 32-bit range making up the whole value, else `def`.
  int32_t ReadInteger(const QString& section, const QString& key, int32_t def) const;
  // A finite number with a point as decimal separator, else `def` ("nan", "inf" give `def`).
  double ReadFloat(const QString& section, const QString& key, double def) const;
  // 1 or 0; any other number counts as true when it is not zero; text gives `def`.
  bool ReadBool(const QString& section, const QString& key, bool def) const;

  // Line breaks in section names, keys and values are removed, so a value can never start a new
  // line (or a new section) in the file.
  void WriteString(const QString& section, const QString& key, const QString& value);
  void WriteInteger(const QString& section, const QString& key, int64_t value);
  // The shortest text that reads back as the same double, with a point ("0.1", "2450000000",
  // "1e-20"). NaN and infinities are written as 0.
  void WriteFloat(const QString& section, const QString& key, double value);
  void WriteBool(const QString& section, const QString& key, bool value);

  // True when the content changed since it was loaded or saved.
  bool Modified() const { return modified_; }

  // Writes the content to FileName(). On failure the old file stays as it was, the result is
  // false and ErrorText() tells why.
  bool UpdateFile();
  // The same to another path; the content's own path does not change.
  bool SaveAs(const QString& path);
  const QString& ErrorText() const { return error_; }

  // The shortest round-trip text of a double used by WriteFloat.
  static QString FloatText(double value);

 private:
  struct Impl;
  std::unique_ptr<Impl> d_;
  QString path_;
  QString error_;
  bool modified_ = false;
};

}  // namespace qz
