#include "display/displayops.h"

#include <algorithm>

namespace qz {

namespace {

void AddResult(TDisplayView& view, const THresults& res, int32_t i) {
  TDispl& d = view.Displ();
  std::array<double, 3> v{};
  const int32_t n = Convert(d.AkeY, res, v, view.ShowLoad() && IsRflType(d.AkeY), d.UnitFactor());
  AddConverted(d.TracesToDraw, d.AkeY, i, v, n);
}

// A circular chart's closing drawing: every visible trace's marker at its last point, so that a
// load that stood still (all points on one pixel) still shows where it is.
void PutLastMarkers(TDispl& d) {
  TRaster& g = *d.Grf;
  if (!g.IsCircular() || !g.Canv) return;
  const TPen keep = g.Canv->Pen;
  bool clipSet = false;
  for (int32_t j = 0; j < std::min(d.TracesToDraw.Count(), kDisplayTraces); ++j) {
    const TOneTrace* t = d.TracesToDraw.Trace(j);
    const TDrawAttrib& a = t->Attr();
    if (!a.Visible || !(a.Dots.Visible || a.Dots.Moving) || t->GetCount() <= 0) continue;
    if (!clipSet) {
      g.SetVport(g.ClipPort);
      clipSet = true;
    }
    TRaster::SetCanvForDots(*g.Canv, *t);
    g.Canv->Pen.Mode = pmCopy;
    TRaster::DotG(a.Dots.Tvar, a.Dots.Dsize, *g.Canv, g.PointPixel(*t, t->GetCount() - 1));
  }
  g.Canv->Pen = keep;
}

}  // namespace

void TDisplayOps::Add(TDisplayView* view) {
  if (view && std::find(views_.begin(), views_.end(), view) == views_.end()) views_.push_back(view);
}

void TDisplayOps::Remove(TDisplayView* view) {
  views_.erase(std::remove(views_.begin(), views_.end(), view), views_.end());
}

void TDisplayOps::FillTracesAll(TDisplayView& view, const TOneSweep& swp) const {
  view.Displ().TracesToDraw.Vyprazdni();
  THresults res;
  for (int32_t i = 0; i < swp.Count(); ++i) {
    if (!qv_.DekodStored(swp.Frame(i), res) || !res.je_qv) continue;
    AddResult(view, res, i);
  }
}

void TDisplayOps::FillTracesOne(TDisplayView& view, int32_t i) const {
  AddResult(view, qv_.Res, i);
}

void TDisplayOps::ResetTraces(bool clearLast) {
  for (TDisplayView* v : views_) v->Displ().ResetTracesToDraw(clearLast);
}

void TDisplayOps::RefreshXaxis() {
  const int32_t npts = qv_.LastSwp.Nwanted();
  for (TDisplayView* v : views_)
    if (v->Displ().ZmenOsX(npts)) v->RepaintAll();
}

void TDisplayOps::DrawPointAll(int32_t i) {
  for (TDisplayView* v : views_) {
    FillTracesOne(*v, i);
    TDispl& d = v->Displ();
    d.Grf->MoveTraceSection(d.TracesToDraw, d.TracesToDraw.MaxPoints() - 1);
    v->ChartChanged();
  }
}

void TDisplayOps::DrawSweepAll(const TOneSweep& swp) {
  for (TDisplayView* v : views_) {
    FillTracesAll(*v, swp);
    v->Displ().Grf->PutTrace();
    PutLastMarkers(v->Displ());
    v->ChartChanged();
  }
}

void TDisplayOps::FillSweepAll(const TOneSweep& swp) {
  for (TDisplayView* v : views_) FillTracesAll(*v, swp);
}

void TDisplayOps::EraseMovingDots() {
  for (TDisplayView* v : views_) {
    TDispl& d = v->Displ();
    d.Grf->EraseMovingDot(d.TracesToDraw);
    v->ChartChanged();
  }
}

void TDisplayOps::ClearDisplays(bool all) {
  for (TDisplayView* v : views_)
    if (all || v->ClearAndGo()) v->ClearChart();
}

void TDisplayOps::KeepPreviousDrawing() {
  for (TDisplayView* v : views_) v->Displ().Grf->FillGrBufXY();
}

void TDisplayOps::ForgetPreviousDrawing() {
  for (TDisplayView* v : views_) v->Displ().Grf->ClrGrBufXY();
}

void TDisplayOps::RedrawStoredSweeps(const std::vector<const TOneSweep*>& sweeps) {
  ForgetPreviousDrawing();
  ClearDisplays(true);
  for (const TOneSweep* s : sweeps)
    if (s) DrawSweepAll(*s);
}

}  // namespace qz
