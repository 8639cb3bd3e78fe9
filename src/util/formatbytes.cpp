#include "util/formatbytes.h"

#include <QString>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "util/numutil.h"

namespace qz {

namespace {

constexpr int kMaxFixedDecimals = 40;
constexpr int kMaxSignificant = 18;

char* PutText(char* p, const char* text) {
  const size_t n = std::strlen(text);
  std::memcpy(p, text, n);
  return p + n;
}

// NaN and the infinities; nullptr for a finite value.
char* PutNonFinite(char* p, double x) {
  if (std::isfinite(x)) return nullptr;
  if (std::isnan(x)) return PutText(p, "NAN");
  return PutText(p, x < 0 ? "-INF" : "INF");
}

}  // namespace

TDecSepBytes::TDecSepBytes(QChar sep) : sep_(sep) {
  const QByteArray b = QString(sep).toUtf8();
  size_ = int(std::min<qsizetype>(b.size(), qsizetype(sizeof bytes_)));
  std::memcpy(bytes_, b.constData(), size_t(size_));
}

char* PutInt(char* p, int64_t v) { return std::to_chars(p, p + 24, v).ptr; }

char* PutFixed(char* p, double x, int decimals, const TDecSepBytes& sep) {
  if (char* e = PutNonFinite(p, x)) return e;
  decimals = ClampLowWins(decimals, 0, kMaxFixedDecimals);
  // to_chars with a precision rounds the exact binary value, ties to even; the largest double
  // with 40 decimals takes 351 bytes.
  char* end = std::to_chars(p, p + (kMaxFieldBytes - 4), x, std::chars_format::fixed, decimals).ptr;
  if (p[0] == '-') {
    bool zero = true;
    for (const char* q = p; q < end && zero; ++q) zero = !(*q >= '1' && *q <= '9');
    if (zero) {  // no "-0.00"
      std::memmove(p, p + 1, size_t(end - p - 1));
      --end;
    }
  }
  if (decimals == 0) return end;
  char* point = end - decimals - 1;
  if (sep.size() == 1) {
    *point = sep.data()[0];
    return end;
  }
  std::memmove(point + sep.size(), point + 1, size_t(decimals));
  std::memcpy(point, sep.data(), size_t(sep.size()));
  return end + sep.size() - 1;
}

char* PutExp(char* p, double x, int digits, int expDigits, const TDecSepBytes& sep) {
  if (char* e = PutNonFinite(p, x)) return e;
  digits = ClampLowWins(digits, 1, kMaxSignificant);
  expDigits = ClampLowWins(expDigits, 0, 10);
  int e = 0;
  char mant[kMaxSignificant];  // the significant digits without the point
  if (x == 0.0) {
    std::memset(mant, '0', size_t(digits));
  } else {
    char buf[64];
    const char* end = std::to_chars(buf, buf + sizeof buf, std::fabs(x),
                                    std::chars_format::scientific, digits - 1)
                          .ptr;
    // d.ddde+XX
    const char* ePos = static_cast<const char*>(std::memchr(buf, 'e', size_t(end - buf)));
    mant[0] = buf[0];
    if (digits > 1) std::memcpy(mant + 1, buf + 2, size_t(digits - 1));
    std::from_chars(ePos + (ePos[1] == '+' ? 2 : 1), end, e);
  }
  if (x < 0) *p++ = '-';
  *p++ = mant[0];
  if (digits > 1) {
    std::memcpy(p, sep.data(), size_t(sep.size()));
    p += sep.size();
    std::memcpy(p, mant + 1, size_t(digits - 1));
    p += digits - 1;
  }
  *p++ = 'E';
  *p++ = e < 0 ? '-' : '+';
  char ebuf[16];
  const char* eEnd = std::to_chars(ebuf, ebuf + sizeof ebuf, e < 0 ? -e : e).ptr;
  for (int pad = expDigits - int(eEnd - ebuf); pad > 0; --pad) *p++ = '0';
  std::memcpy(p, ebuf, size_t(eEnd - ebuf));
  return p + (eEnd - ebuf);
}

void AppendInt(QByteArray& out, int64_t v) {
  char buf[kMaxFieldBytes];
  out.append(buf, PutInt(buf, v) - buf);
}

void AppendFixed(QByteArray& out, double x, int decimals, const TDecSepBytes& sep) {
  char buf[kMaxFieldBytes];
  out.append(buf, PutFixed(buf, x, decimals, sep) - buf);
}

void AppendExp(QByteArray& out, double x, int digits, int expDigits, const TDecSepBytes& sep) {
  char buf[kMaxFieldBytes];
  out.append(buf, PutExp(buf, x, digits, expDigits, sep) - buf);
}

}  // namespace qz
