#pragma once
// Texts of times held as signed 32-bit microseconds.

#include <QChar>
#include <QString>
#include <cstdint>

namespace qz {

struct TMicrosText {
  QString value;      // shortest float text of the rounded value, caller's decimal separator
  int unitIndex = 0;  // 0 us, 1 ms, 2 s
  QString unit;       // "us", "ms", "s"
};

// The time in us (|t| < 1000), ms (|t| < 1000000) or s, rounded to `digits` significant
// digits (limited to 1..16).
TMicrosText MicrosToText(int32_t t, int digits, QChar decSep = QChar('.'));
// "1.23 ms".
QString MicrosToUnitText(int32_t t, int digits, QChar decSep = QChar('.'));
// The exact digits with a point and " us", " ms" or " s" ("1.5 ms", "2 s", "999 us").
QString MicrosDigitsToText(int32_t t);

}  // namespace qz
