#include "util/parse.h"

#include <charconv>
#include <cmath>
#include <string>

namespace qz {

namespace {

// The trimmed text as plain ASCII, or empty when it holds anything else.
std::string AsciiTrimmed(const QString& text) {
  const QString t = text.trimmed();
  std::string out;
  out.reserve(size_t(t.size()));
  for (QChar c : t) {
    if (c.unicode() > 0x7E || c.unicode() < 0x20) return {};
    out.push_back(char(c.unicode()));
  }
  return out;
}

template <typename T>
std::optional<T> ParseInt(const QString& text) {
  std::string s = AsciiTrimmed(text);
  if (s.empty()) return std::nullopt;
  size_t start = 0;
  if (s[0] == '+') start = 1;  // from_chars does not take a leading plus
  if (start == s.size()) return std::nullopt;
  if (s[start] == '+' || (start == 1 && s[start] == '-')) return std::nullopt;
  T v{};
  const char* b = s.data() + start;
  const char* e = s.data() + s.size();
  const auto r = std::from_chars(b, e, v, 10);
  if (r.ec != std::errc() || r.ptr != e) return std::nullopt;
  return v;
}

}  // namespace

std::optional<int32_t> ParseInt32(const QString& text) { return ParseInt<int32_t>(text); }
std::optional<int64_t> ParseInt64(const QString& text) { return ParseInt<int64_t>(text); }

std::optional<double> ParseDouble(const QString& text, bool allowComma) {
  std::string s = AsciiTrimmed(text);
  if (s.empty()) return std::nullopt;
  if (allowComma) {
    const size_t comma = s.find(',');
    if (comma != std::string::npos) {
      if (s.find('.') != std::string::npos || s.find(',', comma + 1) != std::string::npos) {
        return std::nullopt;
      }
      s[comma] = '.';
    }
  }
  // Only digits, one point, sign and exponent: this rejects "nan", "inf" and hex forms.
  for (char c : s) {
    if (!((c >= '0' && c <= '9') || c == '.' || c == '+' || c == '-' || c == 'e' || c == 'E')) {
      return std::nullopt;
    }
  }
  size_t start = 0;
  if (s[0] == '+') start = 1;
  if (start == s.size() || s[start] == '+' || (start == 1 && s[start] == '-')) return std::nullopt;
  double v = 0.0;
  const char* b = s.data() + start;
  const char* e = s.data() + s.size();
  const auto r = std::from_chars(b, e, v, std::chars_format::general);
  if (r.ec != std::errc() || r.ptr != e || !std::isfinite(v)) return std::nullopt;
  return v;
}

}  // namespace qz
