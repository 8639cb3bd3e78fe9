#include "charts/circraster.h"

#include <algorithm>
#include <cmath>

#include "charts/axispaint.h"
#include "charts/rangefinder.h"
#include "util/numutil.h"

namespace qz {

namespace {
int32_t Saturate(int64_t v) {
  return int32_t(ClampLowWins(v, -int64_t(kPixelLimit), int64_t(kPixelLimit)));
}
}  // namespace

double LimitPolarRadius(double r) {
  if (std::isnan(r)) return 1.0;
  return ClampLowWins(r, 1e-6, 1e6);
}

TCircRaster::TCircRaster(const TRozne& settings, const TOsData& ySettings, const TOsData& xSettings)
    : TRaster(settings, ySettings, xSettings) {
  TCircRaster::SetDefaults();
}

void TCircRaster::SetDefaults() {
  TRaster::SetDefaults();
  NcircWanted = 6;
  CircLblColor = clBlue;
}

void TCircRaster::PageLayoutConstants() {
  TRaster::PageLayoutConstants();
  // A square as high as the chart area. A panel too narrow for it (a tiled column) gets a square
  // as wide as the panel leaves with the left margin's room on the right too, for the labels
  // there; the square stays at the top. Panels narrower than both margins keep the height's.
  const int32_t byHeight = ChartRect.bottom - ChartRect.top;
  const int32_t byWidth = panelW_ - 2 * ChartRect.left;
  const int32_t side = byWidth > 0 ? std::min(byHeight, byWidth) : byHeight;
  ChartRect.right = ChartRect.left + side;
  ChartRect.bottom = ChartRect.top + side;
}

void TCircRaster::FindRpolar() {
  const TOsData& y = Oy.Stp.Data;
  // The radius comes from the setup; a zero, negative or unreadable one would leave the chart
  // without a scale.
  Rpolar = LimitPolarRadius(y.UseDflt ? y.MaxDflt : y.MaxAsk);
}

void TCircRaster::MakeAxisTitles() {
  Ox.Title = Ox.Stp.Data.Meno;
  Oy.Title = Oy.Stp.Data.Meno;
}

void TCircRaster::FindRasterParams() {
  PageLayoutConstants();
  FindRpolar();
  Ox.FindParamsFixed(ChartRect, -Rpolar, Rpolar, Rpolar, *Canv);
  Oy.FindParamsFixed(ChartRect, -Rpolar, Rpolar, Rpolar, *Canv);
  KeepCornerLabelsApart(*Canv);
  MakeAxisTitles();
  Ox.PlaceTitle(*Canv);
  Oy.PlaceTitle(*Canv);
  Kr.LblShow.fill(true);
  Nk = 0;
  Nlbl = 0;
  Nli = 0;
  BuildGrid();
  DropCoveringLabels();
}

TTextBox TCircRaster::LabelBox(int32_t i) const {
  const size_t k = size_t(i);
  return TextBoxOf(*Canv, Kr.LblTxt[k], Kr.LblPos[k], Kr.LblTxt[k] == kToLoad ? -45.0 : 0.0);
}

void TCircRaster::DropCoveringLabels() {
  std::vector<TTextBox> shown = AxesDrawn() ? TRaster::TextBoxes() : std::vector<TTextBox>{};
  for (int32_t i = 0; i < Nlbl; ++i) {
    const size_t k = size_t(i);
    if (!Kr.LblShow[k] || Kr.LblTxt[k].isEmpty()) continue;
    TTextBox box = LabelBox(i);
    if (OverlapsAny(box, shown))
      Kr.LblShow[k] = false;
    else
      shown.push_back(std::move(box));
  }
}

std::vector<TTextBox> TCircRaster::TextBoxes() const {
  std::vector<TTextBox> out = AxesDrawn() ? TRaster::TextBoxes() : std::vector<TTextBox>{};
  if (!Canv) return out;
  for (int32_t i = 0; i < Nlbl; ++i) {
    const size_t k = size_t(i);
    if (Kr.LblShow[k] && !Kr.LblTxt[k].isEmpty()) out.push_back(LabelBox(i));
  }
  return out;
}

TRectI TCircRaster::SetCircG(double r, TPtD c) const {
  return TRectI{Ox.Gtr(c.x - r), Oy.Gtr(c.y + r), Saturate(int64_t(Ox.Gtr(c.x + r)) + 1),
                Saturate(int64_t(Oy.Gtr(c.y - r)) + 1)};
}

void TCircRaster::Circ(const TPen& pen, double r, TPtD c) {
  Canv->Pen = pen;
  Canv->Brush.Style = bsClear;
  Canv->Ellipse(SetCircG(r, c));
}

void TCircRaster::AddCircle(const TRectI& box) {
  if (Nk >= kMaxCircles) return;
  Kr.TL[size_t(Nk)] = TPt{box.left, box.top};
  Kr.BR[size_t(Nk)] = TPt{box.right, box.bottom};
  ++Nk;
}

void TCircRaster::AddOuterCircle() {
  AddCircle({ChartRect.left, ChartRect.top, ChartRect.right + 1, ChartRect.bottom + 1});
}

void TCircRaster::AddLine(TPt from, TPt to) {
  if (Nli >= kMaxCircLines) return;
  Li.Zac[size_t(Nli)] = from;
  Li.Kon[size_t(Nli)] = to;
  ++Nli;
}

void TCircRaster::AddLabel(const QString& text, TPt pos) {
  if (Nlbl >= kMaxCircles) return;
  Kr.LblTxt[size_t(Nlbl)] = text;
  Kr.LblPos[size_t(Nlbl)] = pos;
  ++Nlbl;
}

void TCircRaster::BuildGrid() {
  const double R = std::max(1e-12, Oy.MaxLin);
  const TLinSteps steps = FindLinSteps(0.0, R, NcircWanted);
  auto countFor = [R](double step) {
    if (!(step > 0)) return int32_t(0);
    return int32_t(std::min(double(kMaxCircles - 1), std::floor((R + R / 1000.0) / step)));
  };
  double step = steps.coarse;
  int32_t k = countFor(step);
  const int32_t kFine = countFor(steps.fine);
  if (kFine <= NcircWanted) {
    step = steps.fine;
    k = kFine;
  }
  for (int32_t i = 1; i <= k; ++i) AddCircle(SetCircG(i * step, {0.0, 0.0}));
  AddCircle(SetCircG(R, {0.0, 0.0}));
  for (double deg : {45.0, 135.0, 225.0, 315.0}) {
    const double a = deg * M_PI / 180.0;
    AddLine(PixelOf({step * std::cos(a), step * std::sin(a)}),
            PixelOf({R * std::cos(a), R * std::sin(a)}));
  }
}

void TCircRaster::DrawCircles(int32_t clippedUpTo) {
  Canv->Brush.Style = bsClear;
  for (int32_t i = 0; i < Nk; ++i) {
    const bool last = i == Nk - 1;
    SetVport(i < clippedUpTo ? vpSmith : vpCely);
    Canv->Pen = TPen{last ? FrmColor : GrdColor, psSolid, 1, pmCopy};
    const size_t k = size_t(i);
    Canv->Ellipse({Kr.TL[k].x, Kr.TL[k].y, Kr.BR[k].x, Kr.BR[k].y});
  }
  SetVport(vpCely);
  Canv->Pen = TPen{GrdColor, psSolid, 1, pmCopy};
  for (int32_t i = 0; i < Nli; ++i) Canv->Line(Li.Zac[size_t(i)], Li.Kon[size_t(i)]);
}

void TCircRaster::Kruznice() { DrawCircles(0); }

void TCircRaster::DrawCircleLabels() {
  SetVport(vpCely);
  const TColor saved = Canv->Font.Color;
  Canv->Font.Color = CircLblColor;
  for (int32_t i = 0; i < Nlbl; ++i) {
    const size_t k = size_t(i);
    if (!Kr.LblShow[k] || Kr.LblTxt[k].isEmpty()) continue;
    if (Kr.LblTxt[k] == kToLoad)
      Canv->TextRotated(Kr.LblPos[k], Kr.LblTxt[k], -45.0);
    else
      Canv->Text(Kr.LblPos[k], Kr.LblTxt[k]);
  }
  Canv->Font.Color = saved;
}

void TCircRaster::DrawLimitLine() {
  if (LimLine.Pen.Style == psClear) return;
  SetVport(ClipPort);
  Circ(LimLine.Pen, LimLine.Value, {0.0, 0.0});
}

void TCircRaster::Draw() {
  SetVport(vpCely);
  DrawAxis(Ox, *Canv, FrmColor, GrdColor, LblColor);
  DrawAxis(Oy, *Canv, FrmColor, GrdColor, LblColor);
  Kruznice();
  DrawLimitLine();
  SetVport(vpCely);
  DrawFrame();
}

}  // namespace qz
