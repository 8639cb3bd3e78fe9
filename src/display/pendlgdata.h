#pragma once
// The line-properties dialog's copy of a pen and the coupling of its "Visible" box with its
// style: an invisible pen is a clear one, and making a clear pen visible again draws it solid.

#include <QStringList>
#include <cstdint>

#include "charts/pen.h"

namespace qz {

// The style names; the trace dialog lists the first five, the pen dialog all six.
const QStringList& PenStyleNames();
inline constexpr int32_t kTraceStyleCount = 5;
inline constexpr int32_t kPenStyleCount = 6;
// The list row of a style among the first `listed` names; -1 (no row) for a style not listed,
// so that showing it never changes it.
int32_t PenStyleRow(int32_t style, int32_t listed);

// The width fields of the dialogs.
inline constexpr int32_t kPenWidthMin = 1;
inline constexpr int32_t kPenWidthMax = 11;

class TPenDlgData {
 public:
  void Load(const TPen& pen) { PenBuf = pen; }
  bool Visible() const { return PenBuf.Style != psClear; }
  // Unchecked: the pen becomes clear; checked while clear: solid.
  void SetVisible(bool on);
  // A style chosen from the list (0..5); the list's rows beyond it are ignored.
  void SetStyle(int32_t style);

  TPen PenBuf;
};

}  // namespace qz
