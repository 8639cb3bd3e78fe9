#include "charts/smithraster.h"

#include <cmath>

#include "util/format.h"
#include "util/numtext.h"

namespace qz {

const std::array<TSmithZoom, kMaxZoom + 1>& SmithZoomTable() {
  static const std::array<TSmithZoom, kMaxZoom + 1> table{{
      {1.0, {0.2, 0.5, 1, 2, 5}, {0.2, 0.5, 1, 2, 5}},
      {0.5, {0.4, 0.6, 1, 1.5, 2.5}, {0.2, 0.4, 0.7, 0.9, 1.1}},
      {0.3, {0.6, 0.8, 1, 1.3, 1.6}, {0.1, 0.2, 0.3, 0.4, 0.5}},
      {0.1, {0.85, 0.9, 1, 1.1, 1.2}, {0.04, 0.07, 0.1, 0.14, 0.17}},
      {0.05, {0.92, 0.96, 1, 1.04, 1.08}, {0.017, 0.033, 0.05, 0.067, 0.083}},
  }};
  return table;
}

TSmithArray MakeSmithArray() {
  TSmithArray out;
  for (size_t z = 0; z < out.size(); ++z) {
    const TSmithZoom& t = SmithZoomTable()[z];
    TSmithItem& it = out[z];
    it.A = t.A;
    const double A = t.A;
    for (size_t i = 0; i < 5; ++i) {
      const double r = t.r[i];
      it.ReZ[i] = {r, 1.0 / (1.0 + r), 1.0 - 2.0 / (1.0 + r), 0.0};
      const double x = t.x[i];
      // Crossing of the reactance circle (centre (1, 1/x), radius 1/x) with the circle of
      // radius A around the origin.
      const double x2 = x * x;
      const double d = x2 * (A * A + 1.0) / (x2 + 1.0);
      const double c = x * (A * A + 1.0) / 2.0;
      const double disc = std::max(0.0, d * d - 4.0 * (c * c - A * A) / (x2 + 1.0));
      const double g = (d - std::sqrt(disc)) / 2.0;
      const double h = std::sqrt(std::max(0.0, A * A - g * g));
      it.ImZ[i] = {x, 1.0 / x, g, h};
    }
  }
  return out;
}

QString SmithNumberText(double v) {
  QString s = Format("%.2f", {v}, QChar('.'));
  if (s.contains('.')) {
    while (s.endsWith('0')) s.chop(1);
    if (s.endsWith('.')) s.chop(1);
  }
  if (s == "-0") s = "0";
  return s;
}

TSmithRaster::TSmithRaster(const TRozne& settings, const TOsData& ySettings,
                           const TOsData& xSettings, TSmith typ)
    : TCircRaster(settings, ySettings, xSettings), Typ(typ), SmithArray(MakeSmithArray()) {}

void TSmithRaster::MakeAxisTitles() {
  Ox.Title.clear();
  Oy.Title.clear();
}

void TSmithRaster::FindRpolar() {
  if (Oy.Stp.Data.UseDflt) iZoom = 0;
  Rpolar = SmithArray[size_t(iZoom)].A;
}

void TSmithRaster::BuildGrid() {
  const TSmithItem& it = SmithArray[size_t(iZoom)];
  const double sg = Typ == YSmith ? -1.0 : 1.0;
  for (const auto& rz : it.ReZ) AddCircle(SetCircG(rz[1], {sg * (1.0 - rz[1]), 0.0}));
  for (const auto& xz : it.ImZ) {
    AddCircle(SetCircG(xz[1], {sg, xz[1]}));
    AddCircle(SetCircG(xz[1], {sg, -xz[1]}));
  }
  AddOuterCircle();
  const int32_t cy = Oy.Gtr(0.0);
  AddLine({ChartRect.left, cy}, {ChartRect.right, cy});

  for (const auto& rz : it.ReZ) {
    const QString txt = SmithNumberText(rz[0]) + " ";
    const int32_t w = Canv->TextWidth(txt), h = Canv->TextHeight(txt);
    AddLabel(txt, {Ox.Gtr(sg * rz[2]) - w / 2, cy - h - 2});
  }
  const int32_t cx = (ChartRect.left + ChartRect.right) / 2;
  std::array<TPt, 5> at{};
  std::array<QString, 5> plus;
  for (size_t i = 0; i < 5; ++i) {
    at[i] = PixelOf({sg * it.ImZ[i][2], it.ImZ[i][3]});
    plus[i] = SmithNumberText(sg * it.ImZ[i][0]);
  }
  auto left = [cx](int32_t px, int32_t w) {
    if (px < cx - 20) return px - 1 - w;
    if (px > cx + 20) return px + 1;
    return px - w / 2;
  };
  for (size_t i = 0; i < 5; ++i) {
    const int32_t w = Canv->TextWidth(plus[i]), h = Canv->TextHeight(plus[i]);
    AddLabel(plus[i], {left(at[i].x, w), at[i].y - h - 1});
  }
  for (size_t i = 0; i < 5; ++i) {
    const QString minus = plus[i].startsWith('-') ? plus[i].mid(1) : "-" + plus[i];
    const int32_t w = Canv->TextWidth(minus);
    AddLabel(minus, {left(at[i].x, w), 2 * cy - at[i].y + 1});
  }
  AddLabel(QString(), {0, 0});
  const QString rTxt = "R=" + NumberText3(it.A);
  const int32_t h = Canv->TextHeight(rTxt);
  AddLabel(rTxt, {ChartRect.left, ChartRect.top - h - 1});
  const QString letter = Typ == YSmith ? "Y" : "Z";
  AddLabel(letter, {ChartRect.right - Canv->TextWidth(letter), ChartRect.top - h - 1});
}

void TSmithRaster::Kruznice() {
  // Every circle but the outer one stays inside the chart's circle.
  DrawCircles(Nk - 1);
}

void TSmithRaster::Draw() {
  Kruznice();
  DrawLimitLine();
  SetVport(vpCely);
  DrawFrame();
  DrawCircleLabels();
}

}  // namespace qz
