#include "util/format.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

#include "util/numutil.h"

namespace qz {

namespace {

constexpr int kMaxFixedDecimals = 40;
constexpr int kMaxSignificant = 18;

QString NonFinite(double x) {
  if (std::isnan(x)) return QStringLiteral("NAN");
  return x < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

bool AllZeroDigits(const std::string& s) {
  for (char c : s) {
    if (c >= '1' && c <= '9') return false;
  }
  return true;
}

QString WithSeparator(const std::string& s, QChar decSep) {
  QString out = QString::fromLatin1(s.data(), qsizetype(s.size()));
  if (decSep != QLatin1Char('.')) out.replace(QLatin1Char('.'), decSep);
  return out;
}

}  // namespace

QString FormatFixed(double x, int decimals, QChar decSep) {
  if (!std::isfinite(x)) return NonFinite(x);
  decimals = ClampLowWins(decimals, 0, kMaxFixedDecimals);
  char buf[400];
  // to_chars with a precision rounds the exact binary value, ties to even.
  const auto r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed, decimals);
  std::string s(buf, r.ptr);
  if (!s.empty() && s[0] == '-' && AllZeroDigits(s)) s.erase(0, 1);  // no "-0.00"
  return WithSeparator(s, decSep);
}

QString SignificantDigits(double x, int digits, int* exp10) {
  digits = ClampLowWins(digits, 1, kMaxSignificant);
  char buf[64];
  const auto r =
      std::to_chars(buf, buf + sizeof buf, std::fabs(x), std::chars_format::scientific, digits - 1);
  const std::string s(buf, r.ptr);  // d.ddde+XX
  const size_t e = s.find('e');
  std::string mant = s.substr(0, e);
  if (mant.size() > 1) mant.erase(1, 1);  // drop the point
  *exp10 = std::atoi(s.c_str() + e + 1);
  return QString::fromLatin1(mant.data(), qsizetype(mant.size()));
}

QString FormatExp(double x, int digits, int expDigits, QChar decSep) {
  if (!std::isfinite(x)) return NonFinite(x);
  digits = ClampLowWins(digits, 1, kMaxSignificant);
  int e = 0;
  QString d;
  if (x == 0.0) {
    d = QString(digits, QLatin1Char('0'));
  } else {
    d = SignificantDigits(x, digits, &e);
  }
  QString out;
  if (x < 0 && !(x == 0.0)) out += QLatin1Char('-');
  out += d.at(0);
  if (digits > 1) {
    out += decSep;
    out += d.mid(1);
  }
  out += QLatin1Char('E');
  out += e < 0 ? QLatin1Char('-') : QLatin1Char('+');
  out += QString::number(std::abs(e)).rightJustified(expDigits, QLatin1Char('0'));
  return out;
}

QString FormatGeneral(double x, int digits, QChar decSep) {
  if (!std::isfinite(x)) return NonFinite(x);
  if (x == 0.0) return QStringLiteral("0");
  digits = ClampLowWins(digits, 1, kMaxSignificant);
  int e = 0;
  QString d = SignificantDigits(x, digits, &e);
  while (d.size() > 1 && d.endsWith(QLatin1Char('0'))) d.chop(1);
  QString out;
  if (x < 0) out += QLatin1Char('-');
  if (e >= -5 && e + 1 <= digits) {
    if (e >= 0) {
      if (d.size() <= e + 1) {
        out += d + QString(e + 1 - d.size(), QLatin1Char('0'));
      } else {
        out += d.left(e + 1) + decSep + d.mid(e + 1);
      }
    } else {
      out += QLatin1Char('0') + QString(decSep) + QString(-e - 1, QLatin1Char('0')) + d;
    }
  } else {
    out += d.at(0);
    if (d.size() > 1) out += decSep + d.mid(1);
    out += QLatin1Char('E');
    if (e < 0) out += QLatin1Char('-');
    out += QString::number(std::abs(e));
  }
  return out;
}

QString FloatToText(double x, QChar decSep) { return FormatGeneral(x, 15, decSep); }

namespace {

int64_t ArgAsInt(const FormatArg& a) {
  const auto& v = a.value();
  if (const auto* i = std::get_if<int64_t>(&v)) return *i;
  if (const auto* d = std::get_if<double>(&v)) return SafeToInt64(std::trunc(*d));
  bool ok = false;
  const qlonglong n = std::get<QString>(v).trimmed().toLongLong(&ok);
  return ok ? n : 0;
}

double ArgAsDouble(const FormatArg& a) {
  const auto& v = a.value();
  if (const auto* d = std::get_if<double>(&v)) return *d;
  if (const auto* i = std::get_if<int64_t>(&v)) return double(*i);
  return 0.0;
}

QString ArgAsText(const FormatArg& a, QChar decSep) {
  const auto& v = a.value();
  if (const auto* s = std::get_if<QString>(&v)) return *s;
  if (const auto* i = std::get_if<int64_t>(&v)) return QString::number(*i);
  return FloatToText(std::get<double>(v), decSep);
}

QString MinDigits(QString digits, int prec) {
  if (prec > 0 && digits.size() < prec)
    digits = QString(prec - digits.size(), QLatin1Char('0')) + digits;
  return digits;
}

}  // namespace

QString Format(const QString& pattern, std::initializer_list<FormatArg> args, QChar decSep) {
  QString out;
  out.reserve(pattern.size() + 16);
  auto next = args.begin();
  const qsizetype n = pattern.size();
  qsizetype i = 0;
  while (i < n) {
    const QChar c = pattern.at(i);
    if (c != QLatin1Char('%')) {
      out += c;
      ++i;
      continue;
    }
    const qsizetype start = i;
    ++i;
    if (i < n && pattern.at(i) == QLatin1Char('%')) {
      out += QLatin1Char('%');
      ++i;
      continue;
    }
    bool left = false;
    while (i < n && pattern.at(i) == QLatin1Char('-')) {
      left = true;
      ++i;
    }
    int width = 0;
    while (i < n && pattern.at(i).isDigit() && width < 1000) {
      width = width * 10 + pattern.at(i).digitValue();
      ++i;
    }
    int prec = -1;
    if (i < n && pattern.at(i) == QLatin1Char('.')) {
      ++i;
      prec = 0;
      while (i < n && pattern.at(i).isDigit() && prec < 1000) {
        prec = prec * 10 + pattern.at(i).digitValue();
        ++i;
      }
    }
    if (i >= n) {  // unfinished specifier: copied as it stands
      out += pattern.mid(start);
      break;
    }
    const char type = char(pattern.at(i).toLower().unicode());
    ++i;
    QString field;
    const bool known = type == 'd' || type == 'u' || type == 'x' || type == 's' || type == 'f' ||
                       type == 'e' || type == 'g';
    if (!known) {
      out += pattern.mid(start, i - start);
      continue;
    }
    if (next == args.end()) continue;  // a missing argument prints nothing
    const FormatArg& a = *next++;
    switch (type) {
      case 'd': {
        const int64_t v = ArgAsInt(a);
        const uint64_t mag = v < 0 ? uint64_t(0) - uint64_t(v) : uint64_t(v);
        field = MinDigits(QString::number(mag), prec);
        if (v < 0) field.prepend(QLatin1Char('-'));
        break;
      }
      case 'u': {
        const uint64_t v = uint64_t(ArgAsInt(a)) & 0xFFFFFFFFULL;
        field = MinDigits(QString::number(v), prec);
        break;
      }
      case 'x': {
        const uint64_t v = uint64_t(ArgAsInt(a)) & 0xFFFFFFFFULL;
        field = MinDigits(QString::number(v, 16).toUpper(), prec);
        break;
      }
      case 's':
        field = ArgAsText(a, decSep);
        if (prec >= 0 && field.size() > prec) field.truncate(prec);
        break;
      case 'f':
        field = FormatFixed(ArgAsDouble(a), prec < 0 ? 2 : prec, decSep);
        break;
      case 'e':
        field = FormatExp(ArgAsDouble(a), prec < 0 ? 15 : prec, 3, decSep);
        break;
      case 'g':
        field = FormatGeneral(ArgAsDouble(a), prec < 0 ? 15 : prec, decSep);
        break;
      default:
        break;
    }
    if (field.size() < width) {
      const QString pad(width - field.size(), QLatin1Char(' '));
      field = left ? field + pad : pad + field;
    }
    out += field;
  }
  return out;
}

}  // namespace qz
