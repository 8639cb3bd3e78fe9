#pragma once
// Hints are stored as "short|long": the tooltip is the text before the first '|', the status tip
// the text after it. Without '|' both are the whole text; with nothing but blanks after it the
// status tip is the tooltip.

#include <QString>

namespace qz {

struct HintParts {
  QString tooltip;
  QString statusTip;
};

HintParts SplitHint(const QString& hint);

}  // namespace qz
