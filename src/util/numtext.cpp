#include "util/numtext.h"

#include <algorithm>
#include <cmath>

#include "util/format.h"
#include "util/numutil.h"
#include "util/unitconv.h"

namespace qz {

namespace {

// Inserts a point before the last `shift` digits (shift > 0), then removes trailing zeros
// (never the first character) and a trailing point.
QString PointBeforeLast(const QString& digits, int shift) {
  if (shift <= 0) return digits;
  QString d = digits;
  if (d.size() <= shift) d = QString(shift + 1 - d.size(), QLatin1Char('0')) + d;
  d.insert(d.size() - shift, QLatin1Char('.'));
  while (d.size() > 1 && d.endsWith(QLatin1Char('0'))) d.chop(1);
  if (d.endsWith(QLatin1Char('.'))) d.chop(1);
  return d;
}

QString JoinNumberUnit(const TNumberUnit& t, bool blank) {
  return blank ? t.number + QLatin1Char(' ') + t.unit : t.number + t.unit;
}

// Magnitude digits of a whole number; the sign is returned apart.
QString MagnitudeDigits(int64_t v, bool* negative) {
  *negative = v < 0;
  const uint64_t mag = v < 0 ? uint64_t(0) - uint64_t(v) : uint64_t(v);
  return QString::number(mag);
}

bool IsNumberChar(QChar c) {
  return c.isDigit() || c == QLatin1Char('+') || c == QLatin1Char('-') || c == QLatin1Char('.') ||
         c == QLatin1Char('E');
}

}  // namespace

TNumberUnit HzDigitsToText(const QString& digits) {
  QString d = digits;
  QString sign;
  if (d.startsWith(QLatin1Char('-'))) {
    sign = QStringLiteral("-");
    d.remove(0, 1);
  }
  const qsizetype len = d.size();
  TNumberUnit r;
  if (len < 4) {
    r.unit = QStringLiteral("Hz");
  } else if (len <= 6) {
    r.unit = QStringLiteral("kHz");
    d = PointBeforeLast(d, 3);
  } else if (len <= 9) {
    r.unit = QStringLiteral("MHz");
    d = PointBeforeLast(d, 6);
  } else {
    r.unit = QStringLiteral("GHz");
    d = PointBeforeLast(d, 9);
  }
  r.number = sign + d;
  return r;
}

QString FreqCountToText(int32_t n, bool blank) {
  bool negative = false;
  QString d = MagnitudeDigits(n, &negative);
  if (n != 0) d += QLatin1Char('0');  // one count is 10 Hz
  if (negative) d.prepend(QLatin1Char('-'));
  return JoinNumberUnit(HzDigitsToText(d), blank);
}

QString HzToText(int64_t hz, bool blank) {
  bool negative = false;
  QString d = MagnitudeDigits(hz, &negative);
  if (negative) d.prepend(QLatin1Char('-'));
  return JoinNumberUnit(HzDigitsToText(d), blank);
}

QString HzToMHzText(double hz) { return FormatFixed(hz / 1e6, 3, QLatin1Char('.')); }

QString NumberText(int digits, double x) {
  if (x == 0.0) return QStringLiteral("0");
  const double a = std::fabs(x);
  QString raw;
  if (a >= 0.0996 && a <= 9999.9994) {
    const int d = std::min(digits, 9 - TruncToInt32(std::log10(a)));
    raw = FormatFixed(x, d, QLatin1Char('.'));
  } else {
    raw = FormatExp(x, digits + 1, 4, QLatin1Char('.'));
    const int width = digits + 9;
    if (raw.size() < width) raw.prepend(QString(width - raw.size(), QLatin1Char(' ')));
  }
  return TidyNumberText(raw, 0, true);
}

QString NumberText3(double x) { return NumberText(3, x); }

QString NumberText5(double x) { return NumberText(5, x); }

QString FullNumberText(double x) {
  QString raw = FormatExp(x, 15, 4, QLatin1Char('.'));
  if (raw.size() < 23) raw.prepend(QString(23 - raw.size(), QLatin1Char(' ')));
  return TidyNumberText(raw, 1, true);
}

QString TidyNumberText(const QString& raw, int minExpDigits, bool leadZero) {
  if (raw.isEmpty()) return QStringLiteral("0");
  QString s = raw.toUpper();
  qsizetype b = 0;
  qsizetype e = s.size();
  while (b < e && !IsNumberChar(s.at(b))) ++b;
  while (e > b && !IsNumberChar(s.at(e - 1))) --e;
  s = s.mid(b, e - b);
  if (s.isEmpty()) return QStringLiteral("0");

  QString sign;
  if (s.at(0) == QLatin1Char('+') || s.at(0) == QLatin1Char('-')) {
    sign = s.at(0);
    s.remove(0, 1);
  }

  QString intPart, fraction, expSign, exponent;
  bool hasExp = false;
  const qsizetype ePos = s.indexOf(QLatin1Char('E'));
  QString mantissa = s;
  if (ePos >= 0) {
    mantissa = s.left(ePos);
    exponent = s.mid(ePos + 1);
    if (!exponent.isEmpty() &&
        (exponent.at(0) == QLatin1Char('+') || exponent.at(0) == QLatin1Char('-'))) {
      expSign = exponent.at(0);
      exponent.remove(0, 1);
    }
    hasExp = !exponent.isEmpty();
  }
  const qsizetype pPos = mantissa.indexOf(QLatin1Char('.'));
  if (pPos >= 0) {
    intPart = mantissa.left(pPos);
    fraction = mantissa.mid(pPos + 1);
  } else {
    intPart = mantissa;
  }

  while (intPart.startsWith(QLatin1Char('0'))) intPart.remove(0, 1);
  if (intPart.isEmpty() && leadZero) intPart = QStringLiteral("0");
  while (fraction.endsWith(QLatin1Char('0'))) fraction.chop(1);

  if (fraction.isEmpty() && (intPart.isEmpty() || intPart == QLatin1String("0"))) {
    return QStringLiteral("0");
  }

  QString out = sign + intPart;
  if (!fraction.isEmpty()) out += QLatin1Char('.') + fraction;
  if (hasExp) {
    while (exponent.size() > 1 && exponent.startsWith(QLatin1Char('0'))) exponent.remove(0, 1);
    const int pad = std::min(minExpDigits, 4);
    if (exponent.size() < pad) exponent.prepend(QString(pad - exponent.size(), QLatin1Char('0')));
    out += QLatin1Char('E') + expSign + exponent;
  }
  return out;
}

QString MetresToText(double metres) {
  const double a = std::fabs(metres);
  if (a < 1.0) return NumberText3(1000.0 * metres) + QStringLiteral(" mm");
  if (a < 1000.0) return NumberText3(metres) + QStringLiteral(" m");
  return NumberText3(metres / 1000.0) + QStringLiteral(" km");
}

QString PowerRatioToDbText(double x, QChar decSep) {
  const double a = std::fabs(x);
  if (a >= 1e16) return QStringLiteral("+oo");
  if (a <= 1e-16) return QStringLiteral("-oo");
  return Format(QStringLiteral("%7.2f"), {PowRatioToDb(x)}, decSep);
}

QString DbToText(double x, QChar decSep) {
  if (x <= kDbFloor) return QStringLiteral("-oo");
  return Format(QStringLiteral("%7.2f"), {x}, decSep);
}

QString SwrToText(double x, QChar decSep) {
  if (x < 9999.0) return Format(QStringLiteral("%7.2f"), {x}, decSep);
  return QStringLiteral("+oo");
}

QString LongToBinText(uint32_t v) {
  if (v == 0) return QStringLiteral("00000000");
  QString bits;
  for (uint32_t m = v; m != 0; m >>= 1)
    bits.prepend((m & 1u) ? QLatin1Char('1') : QLatin1Char('0'));
  const qsizetype padded = (bits.size() + 7) / 8 * 8;
  return bits.rightJustified(padded, QLatin1Char('0'));
}

QString WordToBinText(uint16_t v) { return LongToBinText(v); }

TBinByte BinTextToByte(const QString& text) {
  QString s = text;
  s.remove(QLatin1Char(' '));
  TBinByte r;
  if (s.isEmpty()) {
    r.error = 2;
    return r;
  }
  if (s.size() > 8) {
    r.error = 3;
    return r;
  }
  unsigned v = 0;
  for (qsizetype i = s.size() - 1, bit = 0; i >= 0; --i, ++bit) {
    const QChar c = s.at(i);
    if (c == QLatin1Char('1')) {
      v |= 1u << bit;
    } else if (c != QLatin1Char('0')) {
      r.error = 1;
      r.value = uint8_t(c.unicode() & 0xFFu);
      return r;
    }
  }
  r.value = uint8_t(v);
  return r;
}

QString SParTableText(const TArrD& freqs, const std::vector<TSmatrix>& matrices, int storedFmt,
                      int outFmt, QChar decSep) {
  QString first = QStringLiteral("re"), second = QStringLiteral("im");
  QString pattern = QStringLiteral("\t%.4f\t%.4f");
  if (outFmt == cfMagRad) {
    first = QStringLiteral("mg");
    second = QStringLiteral("rad");
    pattern = QStringLiteral("\t%.4f\t%.3f");
  } else if (outFmt == cfMagDeg) {
    first = QStringLiteral("mg");
    second = QStringLiteral("deg");
    pattern = QStringLiteral("\t%.4f\t%.2f");
  }
  const QString crlf = QStringLiteral("\r\n");
  QString out = QStringLiteral("f_MHz");
  const QString head = QStringLiteral("\tS%d.") + first + QStringLiteral("\tS%d.") + second;
  for (int i = 1; i <= 2; ++i) {
    for (int j = 1; j <= 2; ++j) out += Format(head, {10 * i + j, 10 * i + j});
  }
  out += crlf;
  const size_t lines = std::min(freqs.size(), matrices.size());
  for (size_t k = 0; k < lines; ++k) {
    out += Format(QStringLiteral("%.2f"), {freqs[k] / 1e6}, decSep);
    const TSmatrix& m = matrices[k];
    for (const complex* s : {&m.s11, &m.s12, &m.s21, &m.s22}) {
      const complex v = RectToCfmt(CfmtToRect(*s, storedFmt), outFmt);
      out += Format(pattern, {v.re, v.im}, decSep);
    }
    out += crlf;
  }
  return out;
}

TMeanDev ComplexMeanDev(const TArrC& values, int storedFmt, int outFmt) {
  TMeanDev r;
  if (values.empty()) return r;
  const double n = double(values.size());
  double sumRe = 0.0, sumIm = 0.0;
  for (const complex& v : values) {
    const complex z = CfmtToRect(v, storedFmt);
    sumRe += z.re;
    sumIm += z.im;
  }
  const complex mean(sumRe / n, sumIm / n);
  double ssRe = 0.0, ssIm = 0.0;
  for (const complex& v : values) {
    const complex z = CfmtToRect(v, storedFmt);
    ssRe += (z.re - mean.re) * (z.re - mean.re);
    ssIm += (z.im - mean.im) * (z.im - mean.im);
  }
  // A single value has no spread; the sample divisor n - 1 would be zero.
  r.dev = values.size() > 1 ? std::sqrt((ssRe + ssIm) / (n - 1.0)) : 0.0;
  r.mean = RectToCfmt(mean, outFmt);
  r.failed = false;
  return r;
}

}  // namespace qz
