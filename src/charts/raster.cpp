#include "charts/raster.h"

#include <algorithm>
#include <cmath>
#include <exception>

#include "charts/axispaint.h"
#include "util/numutil.h"

namespace qz {

TRaster::TRaster(const TRozne& settings, const TOsData& ySettings, const TOsData& xSettings)
    : Ox(xSettings), Oy(ySettings), LimLine(settings.Lim) {
  iZoom = ClampLowWins(settings.Zoom, 0, kMaxZoom);
  CapText = settings.CapText;
  CapVisible = settings.CapVisible;
  TRaster::SetDefaults();
}

void TRaster::SetDefaults() {
  Persist = false;
  FrmColor = clBlack;
  GrdColor = 0xBCBCBC;
  LblColor = clBlue;
  PanelColor = clWindow;
  Font = TFontRec{};
  Font.Color = clRed;
  Font.Size = 8;
  ClipPort = vpRaster;
  if (Canv) {
    Canv->Font = Font;
    Canv->Pen = TPen{clBlack, psSolid, 1, pmCopy};
    Canv->Brush = TBrush{clWhite, bsClear};
  }
}

void TRaster::SetPanelSize(int32_t width, int32_t height) {
  panelW_ = std::max(0, width);
  panelH_ = std::max(0, height);
}

void TRaster::PageLayoutConstants() {
  const int32_t w = Canv->TextWidth("0");
  const int32_t h = Canv->TextHeight("M");
  ChartRect.top = (3 * h) / 2 + 4;
  ChartRect.bottom = panelH_ - 2 * h - 13;
  ChartRect.left = 7 * w + 1;
  ChartRect.right = panelW_ - 30;
}

void TRaster::MakeAxisTitles() { MakeRectAxisTitles(Ox, Oy); }

std::vector<TTextBox> TRaster::TextBoxes() const {
  std::vector<TTextBox> out;
  if (!Canv) return out;
  for (const TOs* axis : {static_cast<const TOs*>(&Ox), static_cast<const TOs*>(&Oy)})
    for (const TPlacedText& t : axis->Labels()) out.push_back(TextBoxOf(*Canv, t.text, t.pos));
  return out;
}

void TRaster::FindRasterParams() {
  PageLayoutConstants();
  Ox.FindParams(ChartRect, *Canv);
  Oy.FindParams(ChartRect, *Canv);
  KeepCornerLabelsApart(*Canv);
  MakeAxisTitles();
  Ox.PlaceTitle(*Canv);
  Oy.PlaceTitle(*Canv);
}

void TRaster::KeepCornerLabelsApart(const TTextMetrics& metrics) {
  std::vector<TTextBox> below;
  for (int32_t i = 0; i < Ox.Nd; ++i) {
    const size_t k = size_t(i);
    if (Ox.LblShow[k]) below.push_back(TextBoxOf(metrics, Ox.LblTxt[k], Ox.LblPos[k]));
  }
  if (below.empty() || Oy.Nd <= 0) return;
  // Labels from the bottom up, each checked against the ones below it that stay shown.
  std::vector<TTextBox> shown;
  const int32_t last = Oy.Nd - 1;
  for (int32_t i = 0; i <= last; ++i) {
    const size_t k = size_t(i);
    if (!Oy.LblShow[k]) continue;
    TTextBox box = TextBoxOf(metrics, Oy.LblTxt[k], Oy.LblPos[k]);
    int32_t top = Oy.LblPos[k].y;
    for (const TTextBox& x : below)
      if (Overlaps(box, x)) top = std::min(top, int32_t(x.y[0]) - metrics.TextHeight(Oy.LblTxt[k]));
    if (top != Oy.LblPos[k].y) {
      Oy.LblPos[k].y = top;
      box = TextBoxOf(metrics, Oy.LblTxt[k], Oy.LblPos[k]);
    }
    if (i != last && OverlapsAny(box, shown)) {
      Oy.LblShow[k] = false;
      continue;
    }
    shown.push_back(std::move(box));
  }
}

TClip TRaster::ClipOf(TVport kind) const {
  const TRectI& r = ChartRect;
  switch (kind) {
    case vpRaster:
      return TClip{TClipKind::Rect, {r.left + 1, r.top + 1, r.right + 2, r.bottom + 2}};
    case vpSmith:
      return TClip{TClipKind::Ellipse, {r.left + 1, r.top + 1, r.right + 3, r.bottom + 3}};
    default:
      return TClip{TClipKind::Rect, {0, 0, panelW_, panelH_}};
  }
}

void TRaster::SetVport(TVport kind) {
  Vport = kind;
  if (Canv) Canv->SetClip(ClipOf(kind));
}

void TRaster::ClrVport(TVport kind) {
  if (!Canv) return;
  if (kind == vpCely) {
    Canv->FillRect({0, 0, panelW_, panelH_}, PanelColor);
  } else {
    Canv->FillRect({ChartRect.left, ChartRect.top, ChartRect.right + 1, ChartRect.bottom + 1},
                   PanelColor);
  }
}

void TRaster::DrawFrame() {
  Canv->Pen = TPen{FrmColor, psSolid, 1, pmCopy};
  Canv->Brush.Style = bsClear;
  Canv->Rectangle({ChartRect.left, ChartRect.top, ChartRect.right + 1, ChartRect.bottom + 1});
}

void TRaster::Draw() {
  SetVport(vpCely);
  Canv->Pen = TPen{FrmColor, psSolid, 1, pmCopy};
  DrawAxis(Ox, *Canv, FrmColor, GrdColor, LblColor);
  DrawAxis(Oy, *Canv, FrmColor, GrdColor, LblColor);
  DrawLimitLine();
  SetVport(vpCely);
  DrawFrame();
}

void TRaster::DrawLimitLine() {
  // A limit outside the axis range stays off the labels around the chart.
  SetVport(ClipPort);
  DrawLimLine(LimLine, Oy, Ox.Gstart, Ox.Gstop, *Canv);
}

void TRaster::PrepareRepaint() {
  Canv->Font = Font;
  Canv->Brush = TBrush{clWhite, bsClear};
  Canv->Pen = TPen{clBlack, psSolid, 1, pmCopy};
  SetVport(vpCely);
  FindRasterParams();
}

bool TRaster::DrawTraces() {
  bool ok = true;
  try {
    PutTrace();
  } catch (const std::exception&) {
    // A trace that cannot be drawn leaves the grid, the caption and the labels on the chart.
    ok = false;
  }
  Canv->Pen = TPen{clBlack, psSolid, 1, pmCopy};
  Canv->Brush.Style = bsClear;
  // The previous-drawing buffers now describe exactly what the repaint drew; moving markers
  // are not part of a repaint.
  for (size_t j = 0; j < 4; ++j) {
    const TOneTrace* t = GTraces ? GTraces->Trace(int32_t(j)) : nullptr;
    const bool drawn = ok && t && t->Attr().Visible;
    Ox.g0[j] = drawn ? Ox.g[j] : std::vector<int32_t>{};
    Oy.g0[j] = drawn ? Oy.g[j] : std::vector<int32_t>{};
    if (t) {
      TOneTrace* mt = GTraces->Trace(int32_t(j));
      mt->last_x = -1;
      mt->last_y = -1;
    }
  }
  return ok;
}

void TRaster::pBox1Paint() {
  if (!Canv) return;
  ClrVport(vpCely);
  PrepareRepaint();
  Draw();
  DrawTraces();
}

void TRaster::Redraw() {
  if (!Canv) return;
  ClrVport(vpRaster);
  pBox1Paint();
}

void TRaster::ClrRaster() {
  if (!Canv) return;
  ClrVport(vpCely);
  PrepareRepaint();
  Draw();
  ForgetDrawn();
}

void TRaster::ClrPaintPnl() {
  if (!Canv) return;
  ClrVport(vpCely);
  ForgetDrawn();
}

void TRaster::ForgetDrawn() {
  ClrGrBufXY();
  if (!GTraces) return;
  for (int32_t j = 0; j < GTraces->Count(); ++j) {
    TOneTrace* t = GTraces->Trace(j);
    t->last_x = -1;
    t->last_y = -1;
  }
}

void TRaster::FindGtrXY() {
  Ox.FindGtr();
  Oy.FindGtr();
}
void TRaster::ClrGrBufXY() {
  Ox.ClrGrBuf();
  Oy.ClrGrBuf();
}
void TRaster::FillGrBufXY() {
  Ox.FillGrBuf();
  Oy.FillGrBuf();
}

TPt TRaster::PointPixel(const TOneTrace& trace, int32_t i) const {
  const double x = trace.GetX(i).value_or(NAN);
  const double y = trace.GetY(i).value_or(NAN);
  return TPt{Ox.Gtr(Ox.Stp.Data.Blin ? x : std::log10(x)),
             Oy.Gtr(Oy.Stp.Data.Blin ? y : std::log10(y))};
}

void TRaster::FillTracePixels(const TOneTrace& trace, size_t j) {
  const int32_t n = trace.GetCount();
  auto& gx = Ox.g[j];
  auto& gy = Oy.g[j];
  gx.resize(size_t(n));
  gy.resize(size_t(n));
  for (int32_t i = 0; i < n; ++i) {
    const TPt p = PointPixel(trace, i);
    gx[size_t(i)] = p.x;
    gy[size_t(i)] = p.y;
  }
}

std::vector<TPt> TRaster::BufferPoints(size_t j, bool previous) const {
  const auto& gx = previous ? Ox.g0[j] : Ox.g[j];
  const auto& gy = previous ? Oy.g0[j] : Oy.g[j];
  const size_t n = std::min(gx.size(), gy.size());
  std::vector<TPt> pts(n);
  for (size_t i = 0; i < n; ++i) pts[i] = TPt{gx[i], gy[i]};
  return pts;
}

void TRaster::DotG(int32_t shape, int32_t size, TCanvas& canvas, TPt p) {
  canvas.Marker(shape, size, p);
}

void TRaster::SetCanvForDots(TCanvas& canvas, const TOneTrace& trace) {
  const TDots& d = trace.Attr().Dots;
  canvas.Pen = d.Border;
  if (d.IsLineShape()) {
    canvas.Pen.Style = psSolid;
    canvas.Pen.Width = d.LineWidth;
  }
  canvas.Brush = d.Fill;
}

void TRaster::PutTrace() {
  if (!GTraces || GTraces->Count() == 0 || !Canv) return;
  const size_t count = size_t(std::min(GTraces->Count(), 4));
  for (size_t j = 0; j < count; ++j) {
    const TOneTrace* t = GTraces->Trace(int32_t(j));
    if (t->Attr().Visible) FillTracePixels(*t, j);
  }
  SetVport(ClipPort);
  PenBuf = Canv->Pen;
  for (size_t j = 0; j < count; ++j) {
    const TOneTrace* t = GTraces->Trace(int32_t(j));
    const TDrawAttrib& a = t->Attr();
    if (!a.Visible) continue;
    scratch_ = BufferPoints(j, false);
    if (a.LineVisible) {
      Canv->Pen = a.LinePen;
      Canv->Polyline(scratch_);
    }
    if (a.Dots.Visible) {
      SetCanvForDots(*Canv, *t);
      for (const TPt& p : scratch_) DotG(a.Dots.Tvar, a.Dots.Dsize, *Canv, p);
    }
  }
  Canv->Pen = PenBuf;
}

void TRaster::MoveTrace(TTraces& list) {
  if (!Canv) return;
  const size_t count = size_t(std::min(list.Count(), 4));
  SetVport(ClipPort);
  PenBuf = Canv->Pen;
  for (size_t j = 0; j < count; ++j) {
    const TOneTrace* t = list.Trace(int32_t(j));
    const TDrawAttrib& a = t->Attr();
    if (!a.Visible) continue;
    FillTracePixels(*t, j);
    const std::vector<TPt> before = BufferPoints(j, true);
    const std::vector<TPt> now = BufferPoints(j, false);
    if (a.LineVisible) {
      Canv->Pen = PenIn(a.LinePen, pmNotXor);
      Canv->Polyline(before);
      Canv->Polyline(now);
    }
    if (a.Dots.Visible) {
      SetCanvForDots(*Canv, *t);
      Canv->Pen.Mode = pmNotXor;
      for (const TPt& p : before) DotG(a.Dots.Tvar, a.Dots.Dsize, *Canv, p);
      for (const TPt& p : now) DotG(a.Dots.Tvar, a.Dots.Dsize, *Canv, p);
    }
  }
  FillGrBufXY();
  Canv->Pen = PenBuf;
}

void TRaster::MoveTraceSection(TTraces& list, int32_t i) {
  if (!Canv || i < 0) return;
  const size_t count = size_t(std::min(list.Count(), 4));
  const TPenMode mode = Persist ? pmCopy : pmNotXor;
  const size_t k = size_t(i);
  bool clipSet = false;
  for (size_t j = 0; j < count; ++j) {
    TOneTrace* t = list.Trace(int32_t(j));
    // A trace that does not hold point i (full, or a record without this point) is left alone.
    if (i >= t->GetCount()) continue;
    auto& gx = Ox.g[j];
    auto& gy = Oy.g[j];
    const size_t n = size_t(t->GetCount());
    if (gx.size() < n || gy.size() < n) {
      // Points that arrived without being drawn get their pixels too, so a segment never starts
      // at a pixel that was never computed.
      const size_t from = std::min(gx.size(), gy.size());
      gx.resize(std::max(gx.size(), n));
      gy.resize(std::max(gy.size(), n));
      for (size_t q = from; q < n; ++q) {
        const TPt p = PointPixel(*t, int32_t(q));
        gx[q] = p.x;
        gy[q] = p.y;
      }
    }
    const TPt now = PointPixel(*t, i);
    gx[k] = now.x;
    gy[k] = now.y;
    const TDrawAttrib& a = t->Attr();
    if (!a.Visible) continue;
    if (!clipSet) {
      SetVport(ClipPort);
      PenBuf = Canv->Pen;
      clipSet = true;
    }
    const auto& px = Ox.g0[j];
    const auto& py = Oy.g0[j];
    const bool previousHolds = !Persist && px.size() > k && py.size() > k;
    // Removing a not-xor drawing and making the very same one again leaves every pixel as it
    // was: where the point did not move on the screen (a steady load), both are left out.
    const bool pointStays = previousHolds && px[k] == now.x && py[k] == now.y;
    if (a.LineVisible && i > 0) {
      const TPt from{gx[k - 1], gy[k - 1]};
      if (!(pointStays && px[k - 1] == from.x && py[k - 1] == from.y)) {
        if (previousHolds) {
          Canv->Pen = PenIn(a.LinePen, pmNotXor);
          Canv->Line({px[k - 1], py[k - 1]}, {px[k], py[k]});
        }
        Canv->Pen = PenIn(a.LinePen, mode);
        Canv->Line(from, now);
      }
    }
    const TDots& d = a.Dots;
    if (d.Visible || d.Moving) {
      SetCanvForDots(*Canv, *t);
      if (d.Visible && !d.Moving) {
        if (!pointStays) {
          if (previousHolds) {
            Canv->Pen.Mode = pmNotXor;
            DotG(d.Tvar, d.Dsize, *Canv, {px[k], py[k]});
          }
          Canv->Pen.Mode = mode;
          DotG(d.Tvar, d.Dsize, *Canv, now);
        }
      } else if (d.Visible && Persist) {
        Canv->Pen.Mode = pmCopy;
        DotG(d.Tvar, d.Dsize, *Canv, now);
      } else if (!Persist) {
        Canv->Pen.Mode = pmNotXor;
        const bool shown = t->last_x >= 0 && t->last_y >= 0;
        if (!(shown && t->last_x == now.x && t->last_y == now.y)) {
          if (shown) DotG(d.Tvar, d.Dsize, *Canv, {t->last_x, t->last_y});
          DotG(d.Tvar, d.Dsize, *Canv, now);
        }
        t->last_x = now.x;
        t->last_y = now.y;
      }
    }
    if (d.Kakaj) Canv->Pixel(now, a.LinePen.Color);
  }
  if (clipSet) Canv->Pen = PenBuf;
}

void TRaster::EraseMovingDot(TTraces& list) {
  if (!Canv || Persist) return;
  bool clipSet = false;
  for (int32_t j = 0; j < list.Count(); ++j) {
    TOneTrace* t = list.Trace(j);
    const TDots& d = t->Attr().Dots;
    if (!d.Moving || t->last_x < 0 || t->last_y < 0) continue;
    if (!clipSet) {
      SetVport(ClipPort);
      PenBuf = Canv->Pen;
      clipSet = true;
    }
    SetCanvForDots(*Canv, *t);
    Canv->Pen.Mode = pmNotXor;
    DotG(d.Tvar, d.Dsize, *Canv, {t->last_x, t->last_y});
    t->last_x = -1;
    t->last_y = -1;
  }
  if (clipSet) Canv->Pen = PenBuf;
}

TPt TRaster::CaptionAnchor(int32_t captionFontSize) const {
  const int32_t x = (ChartRect.left + ChartRect.right) / 2;
  if (CaptionSide() == capTop) return TPt{x, ChartRect.top - 4};
  return TPt{x, Ox.NamePos.y + captionFontSize + 1};
}

}  // namespace qz
