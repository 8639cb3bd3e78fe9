#pragma once
// Small text helpers of the file readers: fields, keys, prefixed numbers, padding.

#include <QChar>
#include <QString>

namespace qz {

// 'T' or 'F'.
QChar BoolChar(bool b);
// True when the first character is '1', 'T' or 'Y' (any case); false for an empty text.
bool TextToBool(const QString& s);

// Takes the first field of s up to `sep` (a blank and a tab stand for each other), trims and
// keeps the rest in s. Without a separator the whole trimmed s is the field and s becomes empty.
QString CutAt(QString& s, QChar sep);
// CutAt with a blank.
QString CutWord(QString& s);

// "key=value ; comment": returns the key (untrimmed) and leaves the trimmed value in s. Without
// '=' the key is empty and s is unchanged.
QString SplitKeyValue(QString& s);

// Skips as many characters as `prefix` has and reads the rest as an integer in lo..hi.
bool PrefixedInt(const QString& s, const QString& prefix, int lo, int hi, int* value);
// Skips the prefix length and reads "<a>_<b>" with a in lo1..hi1 and b in lo2..hi2.
bool PrefixedIntPair(const QString& s, const QString& prefix, int lo1, int hi1, int lo2, int hi2,
                     int* first, int* second);

// One blank every n characters counted from the right ("1234567", 3 -> "1 234 567"); n <= 0
// leaves the text as it is.
QString GroupDigits(const QString& s, int n);
// Deletes every blank.
QString RemoveBlanks(const QString& s);
// Pads s with ch on the left (left set) or the right to len characters; longer texts unchanged.
QString PadText(const QString& s, int len, QChar ch, bool left);
// The text as one line for the terminal or a log: every run of CR and LF becomes one blank, so
// a message of several lines (or a file name holding a line break) never splits the output.
QString OneLine(const QString& text);
// Adds a line to a message: the line alone when msg is empty, else after LF CR.
void AppendLine(QString& msg, const QString& line);

}  // namespace qz
