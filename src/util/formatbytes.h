#pragma once
// Number fields of the Format engine written as UTF-8 bytes into a text being built, for texts
// written many thousand times a second (the data log): no QString and no allocation per field.
// Each gives exactly the bytes that the UTF-8 form of the matching Format field gives:
//   Int    "%d"
//   Fixed  "%1.Nf" with N decimals (round-half-to-even on the exact value, no "-0.00")
//   Exp    "%1.Ne" with N significant digits and at least expDigits exponent digits
// NaN and infinities give "NAN", "INF" and "-INF", as in the engine.
//
// The Put forms write at p, which must have room for kMaxFieldBytes, and return the end of
// the field; the Append forms append to a byte array.

#include <QByteArray>
#include <QChar>
#include <cstdint>

namespace qz {

// The most bytes one field takes (a fixed field of the largest double with 40 decimals).
inline constexpr int kMaxFieldBytes = 400;

// The decimal separator as the UTF-8 bytes written into a text.
class TDecSepBytes {
 public:
  explicit TDecSepBytes(QChar sep = QChar('.'));
  const char* data() const { return bytes_; }
  int size() const { return size_; }
  QChar sep() const { return sep_; }

 private:
  QChar sep_;
  char bytes_[4] = {'.', 0, 0, 0};
  int size_ = 1;
};

char* PutInt(char* p, int64_t v);
char* PutFixed(char* p, double x, int decimals, const TDecSepBytes& sep);
// expDigits is at most 10.
char* PutExp(char* p, double x, int digits, int expDigits, const TDecSepBytes& sep);

void AppendInt(QByteArray& out, int64_t v);
void AppendFixed(QByteArray& out, double x, int decimals, const TDecSepBytes& sep);
void AppendExp(QByteArray& out, double x, int digits, int expDigits, const TDecSepBytes& sep);

}  // namespace qz
