#include "util/hints.h"

namespace qz {

HintParts SplitHint(const QString& hint) {
  const qsizetype bar = hint.indexOf(QLatin1Char('|'));
  if (bar < 0) return {hint, hint};
  return {hint.left(bar), hint.mid(bar + 1)};
}

}  // namespace qz
