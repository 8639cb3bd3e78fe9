#include "charts/ovenraster.h"

#include <algorithm>
#include <cmath>

#include "util/numtext.h"

namespace qz {

const std::array<TOvenZoom, kMaxZoom + 1>& OvenZoomTable() {
  static const std::array<TOvenZoom, kMaxZoom + 1> table{{
      {1.0, {1.2, 1.5, 2, 3, 4, 5, 7, 10, 20}},
      {0.5, {1.2, 1.4, 1.6, 1.8, 2, 2.2, 2.4, 2.6}},
      {0.3, {1.1, 1.2, 1.3, 1.4, 1.5, 1.6, 1.7, 1.8}},
      {0.1, {1.05, 1.1, 1.15, 1.2}},
      {0.05, {1.02, 1.04, 1.06, 1.08, 1.1}},
  }};
  return table;
}

double VswrRadius(double s) {
  // NaN and values below 1 (no reflection) give the centre.
  if (!(s >= 1.0)) s = 1.0;
  if (std::isinf(s)) return 1.0;
  return (s - 1.0) / (s + 1.0);
}

void TOvenRaster::MakeAxisTitles() {
  Ox.Title.clear();
  Oy.Title.clear();
}

void TOvenRaster::FindRpolar() {
  if (Oy.Stp.Data.UseDflt) iZoom = 0;
  Rpolar = OvenZoomTable()[size_t(iZoom)].R;
}

void TOvenRaster::BuildGrid() {
  const TOvenZoom& z = OvenZoomTable()[size_t(iZoom)];
  const double R = z.R;
  const int32_t cx = Ox.Gtr(0.0);
  const int32_t cy = Oy.Gtr(0.0);
  const int32_t n = int32_t(z.s.size());
  std::vector<int32_t> heights;
  for (double s : z.s) {
    const double rad = VswrRadius(s);
    AddCircle(SetCircG(rad, {0.0, 0.0}));
    const QString txt = NumberText3(s);
    const int32_t h = Canv->TextHeight(txt);
    heights.push_back(h);
    AddLabel(txt, {cx + 4, Oy.Gtr(rad) - h / 2});
  }
  AddOuterCircle();
  // Circle labels that would crowd their neighbour or the outermost one are hidden.
  const int32_t lastTop = Kr.LblPos[size_t(n - 1)].y;
  for (int32_t i = 1; i < n - 1; ++i) {
    const size_t k = size_t(i);
    const int32_t y = Kr.LblPos[k].y;
    bool show = lastTop < y - heights[k];
    if (Kr.LblShow[k - 1]) show = show && y < Kr.LblPos[k - 1].y - heights[k - 1];
    Kr.LblShow[k] = show;
  }
  if (n > 0) {
    Kr.LblShow[0] = true;
    Kr.LblShow[size_t(n - 1)] = true;
  }

  const double r0 = VswrRadius(z.s.front());
  for (double deg : {45.0, 135.0, 225.0, 315.0}) {
    const double a = deg * M_PI / 180.0;
    AddLine(PixelOf({r0 * std::cos(a), r0 * std::sin(a)}),
            PixelOf({R * std::cos(a), R * std::sin(a)}));
  }
  AddLine({ChartRect.left, cy}, {ChartRect.right, cy});
  AddLine({cx, ChartRect.top}, {cx, ChartRect.bottom});

  auto w = [this](const QString& t) { return Canv->TextWidth(t); };
  auto h = [this](const QString& t) { return Canv->TextHeight(t); };
  const QString ref = "Ref Plane: 0";
  const QString rTxt = "R=" + NumberText3(R);
  // "Ref Plane: 0 (VSWR)" stands right of "R=..." where a small chart leaves no room left of
  // the centre line.
  const int32_t refLeft = std::max(cx + 4 - w(ref), ChartRect.left + w(rTxt) + 4);
  const int32_t shift = refLeft - (cx + 4 - w(ref));
  AddLabel(ref, {refLeft, ChartRect.top - h(ref) - 2});
  AddLabel("(VSWR)", {cx + 12 + shift, ChartRect.top - h(ref) - 2});
  AddLabel("0.125", {Ox.Gtr(R) + 4, cy - h("0.125") / 2});
  AddLabel("0.25", {cx - w("0.25") / 2, ChartRect.bottom + 2});
  AddLabel("0.375", {Ox.Gtr(-R) - 4 - w("0.375"), cy - h("0.375") / 2});
  const TPt at = PixelOf({R / std::sqrt(2.0), R / std::sqrt(2.0)});
  AddLabel(kToLoad, {at.x, at.y - (w(kToLoad) / 2 + h(kToLoad) / 2)});
  AddLabel(rTxt, {ChartRect.left, ChartRect.top - h(rTxt) - 1});
}

void TOvenRaster::DrawLimitLine() {
  if (LimLine.Pen.Style == psClear) return;
  SetVport(ClipPort);
  Circ(LimLine.Pen, VswrRadius(LimLine.Value), {0.0, 0.0});
}

void TOvenRaster::Draw() {
  Kruznice();
  DrawLimitLine();
  SetVport(vpCely);
  DrawFrame();
  DrawCircleLabels();
}

}  // namespace qz
