#include "util/formatbytes.h"

#include <QString>
#include <charconv>
#include <cmath>
#include <cstring>

#include "util/numutil.h"

namespace qz {

namespace {

constexpr int kMaxFixedDecimals = 40;
constexpr int kMaxSignificant = 18;

bool AppendNonFinite(QByteArray& out, double x) {
  if (std::isfinite(x)) return false;
  if (std::isnan(x)) {
    out.append("NAN", 3);
  } else if (x < 0) {
    out.append("-INF", 4);
  } else {
    out.append("INF", 3);
  }
  return true;
}

// Appends the digits of buf[0..n) with the point replaced by the separator.
void AppendWithSep(QByteArray& out, const char* buf, const char* end, const TDecSepBytes& sep) {
  const char* point = static_cast<const char*>(std::memchr(buf, '.', size_t(end - buf)));
  if (!point) {
    out.append(buf, end - buf);
    return;
  }
  out.append(buf, point - buf);
  out.append(sep.data(), sep.size());
  out.append(point + 1, end - point - 1);
}

}  // namespace

TDecSepBytes::TDecSepBytes(QChar sep) : sep_(sep) {
  const QByteArray b = QString(sep).toUtf8();
  size_ = int(std::min<qsizetype>(b.size(), qsizetype(sizeof bytes_)));
  std::memcpy(bytes_, b.constData(), size_t(size_));
}

void AppendInt(QByteArray& out, int64_t v) {
  char buf[24];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  out.append(buf, r.ptr - buf);
}

void AppendFixed(QByteArray& out, double x, int decimals, const TDecSepBytes& sep) {
  if (AppendNonFinite(out, x)) return;
  decimals = ClampLowWins(decimals, 0, kMaxFixedDecimals);
  char buf[400];
  // to_chars with a precision rounds the exact binary value, ties to even.
  const auto r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed, decimals);
  const char* begin = buf;
  if (buf[0] == '-') {
    bool zero = true;
    for (const char* p = buf; p < r.ptr && zero; ++p) zero = !(*p >= '1' && *p <= '9');
    if (zero) ++begin;  // no "-0.00"
  }
  AppendWithSep(out, begin, r.ptr, sep);
}

void AppendExp(QByteArray& out, double x, int digits, int expDigits, const TDecSepBytes& sep) {
  if (AppendNonFinite(out, x)) return;
  digits = ClampLowWins(digits, 1, kMaxSignificant);
  int e = 0;
  char mant[kMaxSignificant + 1];  // the significant digits without the point
  if (x == 0.0) {
    std::memset(mant, '0', size_t(digits));
  } else {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, std::fabs(x), std::chars_format::scientific,
                                 digits - 1);
    // d.ddde+XX
    const char* ePos = static_cast<const char*>(std::memchr(buf, 'e', size_t(r.ptr - buf)));
    mant[0] = buf[0];
    if (digits > 1) std::memcpy(mant + 1, buf + 2, size_t(digits - 1));
    std::from_chars(ePos + (ePos[1] == '+' ? 2 : 1), r.ptr, e);
  }
  if (x < 0) out.append('-');
  out.append(mant[0]);
  if (digits > 1) {
    out.append(sep.data(), sep.size());
    out.append(mant + 1, digits - 1);
  }
  out.append('E');
  out.append(e < 0 ? '-' : '+');
  char ebuf[16];
  const auto er = std::to_chars(ebuf, ebuf + sizeof ebuf, e < 0 ? -e : e);
  for (qsizetype pad = expDigits - (er.ptr - ebuf); pad > 0; --pad) out.append('0');
  out.append(ebuf, er.ptr - ebuf);
}

}  // namespace qz
