#include "util/formatbytes.h"

#include <QString>
#include <algorithm>
#include <bit>
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

// |x| times 10^decimals (decimals 0 .. 9) rounded to an integer, ties to even, decided on the
// exact product: the rounded product and its exact error (a fused multiply-add) are compared
// with the half way. False when the product is beyond the exact integers of a double.
// Built for processors with a fused multiply-add instruction and for those without.
// The powers of ten that a double holds exactly.
constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                             1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// a times 10^k (k 0 .. 22) as the rounded product and its exact error: a * 10^k == prod + err.
// Built for processors with a fused multiply-add instruction and for those without.
__attribute__((target_clones("fma", "default"))) void ScaledExact(double a, int k, double* prod,
                                                                  double* err) {
  *prod = a * kPow10[k];
  *err = __builtin_fma(a, kPow10[k], -*prod);
}

// prod + err (prod below 2^52, not negative) rounded to an integer, ties to even.
uint64_t RoundExact(double prod, double err) {
  const uint64_t whole = uint64_t(prod);             // the floor
  const double half = (prod - double(whole)) - 0.5;  // exact where it matters
  return whole + ((half > -err || (half == -err && (whole & 1) != 0)) ? 1 : 0);
}

// |x| times 10^decimals rounded to an integer, ties to even, decided on the exact product.
// False when the product is beyond the exact integers of a double.
bool ScaledRound(double a, int decimals, uint64_t* n) {
  double prod = 0.0, err = 0.0;
  ScaledExact(a, decimals, &prod, &err);
  if (!(prod < 4503599627370496.0)) return false;  // 2^52
  *n = RoundExact(prod, err);
  return true;
}

// The significant digits of a positive a rounded to `digits` (1 .. 15) the way the general
// conversion rounds them, and the decimal exponent of the first: a is scaled by an exact power
// of ten and rounded on the exact product. False when that power is out of reach (a at or above
// 10^digits or below 10^(digits-23)).
bool ScaledDigits(double a, int digits, uint64_t* n, int* exp10) {
  const double low = kPow10[digits - 1];
  const double high = kPow10[digits];
  // A first guess from the binary exponent (log10(2) = 0.30103), corrected below until the
  // exact scaled value lies in [10^(digits-1), 10^digits).
  const int binExp = int((std::bit_cast<uint64_t>(a) >> 52) & 0x7FF) - 1023;
  if (binExp < -1022) return false;      // subnormal
  int e = ((binExp + 1) * 78913) >> 18;  // floor((binExp + 1) * log10(2))
  for (int tries = 0; tries < 4; ++tries) {
    const int k = digits - 1 - e;  // scale by 10^k
    if (k < 0 || k > 22) return false;
    double prod = 0.0, err = 0.0;
    ScaledExact(a, k, &prod, &err);
    if (prod < low || (prod == low && err < 0)) {
      --e;
    } else if (prod > high || (prod == high && err >= 0)) {
      ++e;
    } else {
      uint64_t m = RoundExact(prod, err);
      if (m == uint64_t(high)) {  // rounded up to the next power: 9.99995 is 1.0000E+001
        m = uint64_t(low);
        ++e;
      }
      *n = m;
      *exp10 = e;
      return true;
    }
  }
  return false;
}

// The fixed field of a value whose scaled magnitude fits the exact integers of a double, with at
// most nine decimals, without a general conversion; nullptr when outside that range.
char* PutFixedScaled(char* p, double x, int decimals, const TDecSepBytes& sep) {
  if (decimals > 9) return nullptr;
  uint64_t n = 0;
  if (!ScaledRound(std::fabs(x), decimals, &n)) return nullptr;
  if (x < 0 && n != 0) *p++ = '-';
  char frac[9];
  for (int i = decimals - 1; i >= 0; --i) {
    frac[i] = char('0' + n % 10);
    n /= 10;
  }
  p = std::to_chars(p, p + 24, n).ptr;
  if (decimals == 0) return p;
  std::memcpy(p, sep.data(), size_t(sep.size()));
  p += sep.size();
  std::memcpy(p, frac, size_t(decimals));
  return p + decimals;
}

char* PutFixed(char* p, double x, int decimals, const TDecSepBytes& sep) {
  if (char* e = PutNonFinite(p, x)) return e;
  decimals = ClampLowWins(decimals, 0, kMaxFixedDecimals);
  if (char* e = PutFixedScaled(p, x, decimals, sep)) return e;
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
  uint64_t scaled = 0;
  if (x == 0.0) {
    std::memset(mant, '0', size_t(digits));
  } else if (digits <= 15 && ScaledDigits(std::fabs(x), digits, &scaled, &e)) {
    for (int i = digits - 1; i >= 0; --i) {
      mant[i] = char('0' + scaled % 10);
      scaled /= 10;
    }
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
