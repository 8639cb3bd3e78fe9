#pragma once
// Token-level helpers shared by the program's small text-file readers (the S-parameter file of
// the bilinear transform, the reflection-coefficient lists of the scenario generator). Each file
// format keeps its own state machine; these are only the pieces their grammars have in common.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

#include "util/readfile.h"

namespace qz {

// The text without control characters and blanks around it (everything up to a blank).
QString TrimBlanks(const QString& s);

// The text of a file as lines: UTF-8 when the bytes are valid UTF-8, Latin-1 otherwise; LF and
// CR LF both end a line; a final line end does not start another (empty) line.
QStringList SplitTextLines(const QByteArray& bytes);

// Reads a text file of the given kind as lines (SplitTextLines) through ReadRegularFile, so a
// FIFO, device, folder or a file over the kind's limit is refused without waiting. False when
// the file cannot be read; lines are then empty and `reason` (when given) tells why the file
// was refused (empty for a missing or unreadable file).
bool ReadTextLines(const QString& path, TFileKind kind, QStringList* lines,
                   QString* reason = nullptr);

// A trimmed line that carries nothing: empty, or a comment starting with "!".
bool IsIgnoredLine(const QString& trimmed);

// Tokens separated by blanks and tabs; runs of separators count as one.
QStringList SplitTokens(const QString& s);

// The leading numbers of a line: tokens read as numbers (point as decimal separator only) until
// the first token that is not a number. "1.5 2 x 3" gives 1.5 and 2; "1,5 2" gives nothing.
std::vector<double> ScanNumbers(const QString& s);

// Tabs replaced by blanks, for showing a line in a message.
QString TabsToBlanks(const QString& s);

// A keyword line "*KEY = value ; comment" (trimmed, starting with '*'): the key trimmed and
// upper-cased, the value up to a ';' trimmed. Without '=' the key is empty.
struct TKeywordLine {
  QString key;
  QString value;
};
TKeywordLine SplitKeywordLine(const QString& trimmed);

// Block comments: a line starting with "{" opens one; it ends with the first later line that
// contains "}" anywhere (a "}" on the opening line does not end it).
class TBlockComment {
 public:
  // True when the trimmed line belongs to a block comment (opening, inside or closing line).
  bool Skip(const QString& trimmed);
  bool Open() const { return open_; }

 private:
  bool open_ = false;
};

}  // namespace qz
