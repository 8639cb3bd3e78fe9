#include "util/hints.h"

namespace qz {

HintParts SplitHint(const QString& hint) {
  const qsizetype bar = hint.indexOf(QLatin1Char('|'));
  if (bar < 0) return {hint, hint};
  HintParts p{hint.left(bar), hint.mid(bar + 1)};
  // A control without a long hint shows its short one in the hint panel too.
  if (p.statusTip.trimmed().isEmpty()) p.statusTip = p.tooltip;
  return p;
}

}  // namespace qz
