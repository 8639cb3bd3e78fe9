#pragma once
// Scenario files (".sce"): the pages of a scenario as a line-based text of sections, read and
// written over the file's own bytes. The setup-file reader is not used: it would drop lines
// without "=" (a damaged row must be refused, not skipped) and write keys back its own way.
//
//   [Scenario Info]
//   SceInfo = <comment, "(none)" when empty>
//   [<page name>]
//   1<TAB>=<TAB>S1<TAB>S2<TAB>S3<TAB>T[<TAB>extra text]
//
// Written as UTF-8 with CR LF line ends and no blank lines; read from UTF-8 (Latin-1 when the
// bytes are no valid UTF-8), with LF or CR LF line ends. Blank lines and lines starting with
// ";" are skipped and not counted.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

#include "tuner/scepage.h"

namespace qz {

// The file text of a book: every page with rows, in page order.
QByteArray SceFileBytes(const TSceBook& book);

// Scenario Save (and the save at exit): the book's file text written in one piece, so the old
// file stays whole whatever stops the save. A text its own reader would refuse as too large is
// not written. Empty on success, else the message for the operator.
QString SaveSceFile(const QString& path, const TSceBook& book);

struct TSceReadResult {
  bool ok = false;              // every section was read; pages holds the whole book
  QString info;                 // the comment ("(none)" when missing or empty)
  std::vector<TScePage> pages;  // in file order (only when ok)
  QStringList errors;           // one message per failing section, or "Scenario file invalid"
  QStringList truncated;        // one information message per page cut to 2048 rows
};
// Reads a scenario file's bytes; nothing is half-made: pages come back only when no line failed.
TSceReadResult ReadSceBytes(const QByteArray& bytes);

// The message for a failing line: section name, row within the section, the line (tabs as
// blanks).
QString SceLineErrorText(const QString& section, int row, const QString& line);
// The information for a page that held more rows than a page takes.
QString SceTruncatedText(const QString& page, int rows);
inline constexpr char kSceInvalidText[] = "Scenario file invalid";

}  // namespace qz
