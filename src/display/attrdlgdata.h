#pragma once
// The trace-properties dialog's copies: the attributes of each trace of a display window, its
// persistence and clear-and-go switches, and the edits the controls make on the chosen trace.
// Nothing reaches the window before OK, and a value the operator did not touch goes back as it
// was read (a clear line pen or a width beyond a field's range included).

#include <QStringList>
#include <array>
#include <cstdint>

#include "charts/traces.h"

namespace qz {

// The marker-shape grid: 4 columns x 3 rows, shapes 0..10 in reading order, the last cell
// empty.
inline constexpr int32_t kShapeGridCols = 4;
inline constexpr int32_t kShapeGridRows = 3;
// The shape of a cell; -1 for the empty cell and outside the grid.
int32_t ShapeOfCell(int32_t cell);
// The cell under a point of a grid of w x h pixels; -1 outside.
int32_t ShapeCellAt(int32_t x, int32_t y, int32_t w, int32_t h);

// Ranges of the number fields.
inline constexpr int32_t kDotSizeMin = 1, kDotSizeMax = 11;
inline constexpr int32_t kDotLineWidthMin = 1, kDotLineWidthMax = 5;
inline constexpr int32_t kBorderWidthMin = 1, kBorderWidthMax = 5;

class TAttrDlgData {
 public:
  // Copies of the traces' attributes and titles (slots beyond the traces keep `spare`); the
  // first trace is chosen.
  void Load(const TTraces& traces, const TTracesAtrib& spare, bool persist, bool clearAndGo);
  // "Trace to Edit": the number counted from 1, ":  " and the title.
  QStringList Entries() const;
  void Select(int32_t i);
  TDrawAttrib& Sel() { return AtrBuf[size_t(SelTrace)]; }
  const TDrawAttrib& Sel() const { return AtrBuf[size_t(SelTrace)]; }

  // The edits of the controls that are more than a copy of the control's value.
  // A line style from the list of five (other rows are ignored).
  void SetLineStyle(int32_t row);
  // The shape of a grid cell; false, and nothing changes, for the empty cell.
  bool ChooseCell(int32_t cell);
  // The marker border is drawn solid or not at all.
  bool BorderVisible() const { return Sel().Dots.Border.Style != psClear; }
  void SetBorderVisible(bool on);
  // The marker inside is filled or left clear.
  bool NoFill() const { return Sel().Dots.Fill.Style == bsClear; }
  void SetNoFill(bool on);

  // OK: every trace receives its edited copy.
  void Apply(TTraces& traces) const;

  int32_t Ntraces = 0;
  TTracesAtrib AtrBuf;
  bool PersBuf = false;
  bool ClrGoBuf = true;
  std::array<QString, kDisplayTraces> Mena;
  int32_t SelTrace = 0;
};

}  // namespace qz
