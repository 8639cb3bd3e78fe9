#pragma once
// The program's own printf-style Format engine.
//
// Every number text shown to the operator or written to a file is built here, never with
// snprintf / QString::asprintf / QString::number, so the results do not depend on the C locale
// and the decimal separator is always chosen by the caller.
//
// Supported: %% %d %u %x %s %f %e %g with the flag '-' (left align), a width (padding with
// blanks) and a precision; "%0.3f" is width 0 with 3 decimals.
//   %s     precision is the largest number of characters taken from the text.
//   %x     upper-case hexadecimal, precision is the minimum number of digits.
//   %d     precision is the minimum number of digits ("%2.2d" of 8 is "08"); "%.d" of 0 is "0".
//   %f     precision is the number of decimals, 2 when none is given ("%f" of 1.5 is "1.50").
//   %e     precision is the number of significant digits (15 when none is given); upper-case E,
//          sign and at least three exponent digits ("%1.5e" of 1234.5 is "1.2345E+003").
//   %g     precision is the number of significant digits (15 when none is given); trailing zeros
//          removed; fixed notation when the value is at least 0.00001 in magnitude and has no more
//          digits before the point than the precision, otherwise "d.dddE+dd" with the shortest
//          exponent ("1E20", "1.5E-7").
// Negative zero is printed as zero. NaN and infinities print "NAN", "INF" and "-INF".
// An argument of the wrong kind is converted (an integer for %f, a double for %d is truncated),
// a missing argument prints nothing; the engine never throws or crashes on a bad pattern.

#include <QChar>
#include <QString>
#include <cstdint>
#include <initializer_list>
#include <variant>

namespace qz {

class FormatArg {
 public:
  FormatArg(int v) : v_(int64_t(v)) {}
  FormatArg(unsigned v) : v_(int64_t(v)) {}
  FormatArg(long v) : v_(int64_t(v)) {}
  FormatArg(unsigned long v) : v_(int64_t(v)) {}
  FormatArg(long long v) : v_(int64_t(v)) {}
  FormatArg(unsigned long long v) : v_(int64_t(v)) {}
  FormatArg(double v) : v_(v) {}
  FormatArg(float v) : v_(double(v)) {}
  FormatArg(const QString& v) : v_(v) {}
  FormatArg(const char* v) : v_(QString::fromUtf8(v)) {}
  FormatArg(QChar c) : v_(QString(c)) {}

  const std::variant<int64_t, double, QString>& value() const { return v_; }

 private:
  std::variant<int64_t, double, QString> v_;
};

// Formats `pattern` with `args`; `decSep` is the decimal separator of %f, %e and %g.
QString Format(const QString& pattern, std::initializer_list<FormatArg> args,
               QChar decSep = QChar('.'));

// Building blocks of the engine, also used directly by the number texts.
// Fixed notation with `decimals` decimals, round-half-to-even on the exact binary value.
QString FormatFixed(double x, int decimals, QChar decSep = QChar('.'));
// Exponent notation with `digits` significant digits (1..18), "E", sign, at least `expDigits`
// exponent digits.
QString FormatExp(double x, int digits, int expDigits, QChar decSep = QChar('.'));
// General notation (%g rule above) with `digits` significant digits (1..18).
QString FormatGeneral(double x, int digits, QChar decSep = QChar('.'));
// The shortest general float text: FormatGeneral with 15 significant digits.
QString FloatToText(double x, QChar decSep = QChar('.'));

// Decimal digits of a value rounded half-to-even to `digits` significant digits: returns the
// digit string (exactly `digits` characters) and the decimal exponent of its first digit
// (value = 0.d1d2d3... * 10^(exp10+1)). x must be finite and non-zero.
QString SignificantDigits(double x, int digits, int* exp10);

}  // namespace qz
