#include "display/attrdlgdata.h"

#include "display/pendlgdata.h"
#include "util/format.h"
#include "util/numutil.h"

namespace qz {

int32_t ShapeOfCell(int32_t cell) { return cell >= 0 && cell < kTvarCount ? cell : -1; }

int32_t ShapeCellAt(int32_t x, int32_t y, int32_t w, int32_t h) {
  if (w <= 0 || h <= 0 || x < 0 || y < 0 || x >= w || y >= h) return -1;
  const int32_t col = ClampLowWins(x * kShapeGridCols / w, 0, kShapeGridCols - 1);
  const int32_t row = ClampLowWins(y * kShapeGridRows / h, 0, kShapeGridRows - 1);
  return row * kShapeGridCols + col;
}

void TAttrDlgData::Load(const TTraces& traces, const TTracesAtrib& spare, bool persist,
                        bool clearAndGo) {
  AtrBuf = spare;
  Mena = {};
  Ntraces = std::min(traces.Count(), kDisplayTraces);
  for (int32_t j = 0; j < Ntraces; ++j) {
    AtrBuf[size_t(j)] = traces.Trace(j)->Attr();
    Mena[size_t(j)] = traces.Trace(j)->Title;
  }
  PersBuf = persist;
  ClrGoBuf = clearAndGo;
  SelTrace = 0;
}

QStringList TAttrDlgData::Entries() const {
  QStringList e;
  for (int32_t j = 0; j < Ntraces; ++j)
    e << Format(QStringLiteral("%d:  %s"), {int(j + 1), Mena[size_t(j)]});
  return e;
}

void TAttrDlgData::Select(int32_t i) {
  if (i >= 0 && i < std::max(Ntraces, 1) && i < kDisplayTraces) SelTrace = i;
}

void TAttrDlgData::SetLineStyle(int32_t row) {
  if (row >= 0 && row < kTraceStyleCount) Sel().LinePen.Style = row;
}

bool TAttrDlgData::ChooseCell(int32_t cell) {
  const int32_t shape = ShapeOfCell(cell);
  if (shape < 0) return false;
  Sel().Dots.Tvar = shape;
  return true;
}

void TAttrDlgData::SetBorderVisible(bool on) { Sel().Dots.Border.Style = on ? psSolid : psClear; }

void TAttrDlgData::SetNoFill(bool on) { Sel().Dots.Fill.Style = on ? bsClear : bsSolid; }

void TAttrDlgData::Apply(TTraces& traces) const {
  const int32_t n = std::min(traces.Count(), Ntraces);
  for (int32_t j = 0; j < n; ++j) traces.Trace(j)->SetAttr(AtrBuf[size_t(j)]);
}

}  // namespace qz
