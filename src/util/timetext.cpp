#include "util/timetext.h"

#include <cstdlib>

#include "util/format.h"
#include "util/numutil.h"
#include "util/unitconv.h"

namespace qz {

TMicrosText MicrosToText(int32_t t, int digits, QChar decSep) {
  const int64_t a = std::llabs(int64_t(t));
  TMicrosText r;
  double divisor = 1.0;
  if (a < 1000) {
    r.unitIndex = 0;
    r.unit = QStringLiteral("us");
  } else if (a < 1000000) {
    divisor = 1000.0;
    r.unitIndex = 1;
    r.unit = QStringLiteral("ms");
  } else {
    divisor = 1000000.0;
    r.unitIndex = 2;
    r.unit = QStringLiteral("s");
  }
  digits = ClampLowWins(digits, 1, 16);
  r.value = FloatToText(RoundSignificant(digits, 0.0, double(t) / divisor), decSep);
  return r;
}

QString MicrosToUnitText(int32_t t, int digits, QChar decSep) {
  const TMicrosText m = MicrosToText(t, digits, decSep);
  return Format(QStringLiteral("%s %s"), {m.value, m.unit});
}

QString MicrosDigitsToText(int32_t t) {
  // Negative times are not expected; the sign is kept in front so the text stays readable.
  const bool negative = t < 0;
  QString d = QString::number(std::llabs(int64_t(t)));
  QString unit = QStringLiteral(" us");
  int shift = 0;
  if (d.size() >= 7) {
    unit = QStringLiteral(" s");
    shift = 6;
  } else if (d.size() >= 4) {
    unit = QStringLiteral(" ms");
    shift = 3;
  }
  if (shift > 0) {
    d.insert(d.size() - shift, QLatin1Char('.'));
    while (d.size() > 1 && d.endsWith(QLatin1Char('0'))) d.chop(1);
    if (d.endsWith(QLatin1Char('.'))) d.chop(1);
  }
  if (negative) d.prepend(QLatin1Char('-'));
  return d + unit;
}

}  // namespace qz
