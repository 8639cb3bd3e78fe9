// Arbitrary text as an operator's entry or a stored number: the parsers never crash, a number
// they accept is finite, and the readers within limits always give a value inside the limits
// (or the present value when the text is unreadable, or out of range without clamping).
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "fuzzcheck.h"
#include "util/parse.h"
#include "util/valueinput.h"

using qz::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The first bytes choose the limits; the rest is the text.
  int32_t a = 0;
  int32_t b = 0;
  if (size >= 8) {
    std::memcpy(&a, data, 4);
    std::memcpy(&b, data + 4, 4);
    data += 8;
    size -= 8;
  }
  const QString text = QString::fromUtf8(qz::fuzz::Bytes(data, size));

  (void)qz::ParseInt32(text);
  (void)qz::ParseInt64(text);
  for (bool comma : {false, true}) {
    const auto d = qz::ParseDouble(text, comma);
    Check(!d || std::isfinite(*d), "ParseDouble accepted a value that is not finite", text);
  }
  for (QChar suffix : {QChar(' '), QChar('M'), QChar('k')}) {
    const qz::TParsedValue v = qz::ParseWithSuffix(text, suffix, 7.0);
    Check(!v.ok || std::isfinite(v.value), "ParseWithSuffix gave a value that is not finite", text);
    Check(v.ok || v.value == 7.0, "ParseWithSuffix failed without the fallback", text);
  }
  const qz::TParsedValue e = qz::ParseValueEntry(text);
  Check(!e.ok || std::isfinite(e.value), "ParseValueEntry gave a value that is not finite", text);

  const int32_t lo = std::min(a, b);
  const int32_t hi = std::max(a, b);
  for (bool clamp : {false, true}) {
    const int32_t i = qz::TextToIntInRange(text, 12345, lo, hi, clamp);
    Check(i >= lo && i <= hi, "TextToIntInRange outside its limits", text);
    const double flo = double(lo) / 1000.0;
    const double fhi = double(hi) / 1000.0;
    const qz::TFloatInRange f = qz::TextToFloatInRange(text, 0.5, flo, fhi, clamp);
    Check(std::isfinite(f.value), "TextToFloatInRange gave a value that is not finite", text);
    Check(f.status >= 0 && f.status <= 3, "TextToFloatInRange status unknown", text);
    if (f.status == 0 || (clamp && f.status >= 2))
      Check(f.value >= flo && f.value <= fhi, "TextToFloatInRange outside its limits", text);
  }
  return 0;
}
