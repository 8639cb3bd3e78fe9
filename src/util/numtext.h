#pragma once
// Number and unit texts: frequencies, compact numbers, lengths, decibels, VSWR, binary digits
// and the S-parameter table.
//
// The compact number texts, the MHz text and the digit texts always use a point; the texts
// built from printf patterns take the decimal separator from the caller.

#include <QChar>
#include <QString>
#include <cstdint>
#include <vector>

#include "util/arrays.h"
#include "util/complex.h"
#include "util/smatrix.h"

namespace qz {

struct TNumberUnit {
  QString number;
  QString unit;
};

// Decimal digits of a Hz value ("12345") split into a number and a unit ("12.345", "kHz").
// A leading '-' is kept in front of the number and does not count as a digit.
TNumberUnit HzDigitsToText(const QString& digits);
// "2.45 GHz" (blank set) or "2.45GHz" from a frequency count.
QString FreqCountToText(int32_t n, bool blank);
// The same from a whole number of Hz.
QString HzToText(int64_t hz, bool blank);
// Hz as MHz with three decimals and a point ("2450.000").
QString HzToMHzText(double hz);

// Compact text with `digits` decimals in fixed form for 0.0996 <= |x| <= 9999.9994, otherwise
// in exponent form with digits+1 significant digits; trailing zeros removed.
QString NumberText(int digits, double x);
QString NumberText3(double x);
QString NumberText5(double x);
// Exponent form with 15 significant digits ("1.2345E+3").
QString FullNumberText(double x);
// Tidies a raw number text: blanks and other characters around it, leading zeros of the
// integer part and the exponent, trailing zeros of the fraction; the exponent padded to
// min(minExpDigits, 4) digits. leadZero keeps a "0" before a bare fraction.
QString TidyNumberText(const QString& raw, int minExpDigits, bool leadZero);

// NumberText3 of the length in " mm", " m" or " km".
QString MetresToText(double metres);
// "%7.2f" of the ratio in dB, "+oo" for |x| >= 1e16, "-oo" for |x| <= 1e-16.
QString PowerRatioToDbText(double x, QChar decSep = QChar('.'));
// "-oo" for x <= -160, else "%7.2f".
QString DbToText(double x, QChar decSep = QChar('.'));
// "%7.2f" for x < 9999, else "+oo".
QString SwrToText(double x, QChar decSep = QChar('.'));

// Binary digits padded with '0' on the left to whole bytes ("00000101").
QString WordToBinText(uint16_t v);
QString LongToBinText(uint32_t v);

struct TBinByte {
  uint8_t value = 0;
  // 0 read; 1 a character other than '0'/'1' (value = low 8 bits of its code); 2 empty text;
  // 3 more than eight digits.
  int error = 0;
};
// Reads up to eight binary digits, blanks ignored, rightmost digit is bit 0.
TBinByte BinTextToByte(const QString& text);

// Text table of S-parameters: header line, then one line per frequency (Hz, shown in MHz) with
// the four parameters converted from storedFmt to outFmt; TAB separated, CR LF line ends.
// Lines stop at the shorter of the two lists.
QString SParTableText(const TArrD& freqs, const std::vector<TSmatrix>& matrices, int storedFmt,
                      int outFmt, QChar decSep = QChar('.'));

struct TMeanDev {
  complex mean;      // in outFmt
  double dev = 0.0;  // sqrt(sre^2 + sim^2) of the sample standard deviations
  bool failed = true;
};
// Mean and deviation of complex values held in storedFmt. An empty list fails; a single value
// has deviation 0.
TMeanDev ComplexMeanDev(const TArrC& values, int storedFmt, int outFmt);

}  // namespace qz
