#pragma once
// Builders for chart tests: a chart of each kind on a canvas of a given panel size, and trace
// lists from point tables.

#include <memory>
#include <utility>
#include <vector>

#include "charts/canvas.h"
#include "charts/circraster.h"
#include "charts/ovenraster.h"
#include "charts/raster.h"
#include "charts/smithraster.h"
#include "charts/traces.h"

namespace qz::testing {

enum class ChartKind { Rect, Polar, SmithZ, SmithY, Vswr };

inline TOsData AxisRange(double lo, double hi) {
  TOsData d;
  d.MinAsk = d.MinDflt = lo;
  d.MaxAsk = d.MaxDflt = hi;
  return d;
}

// A chart of the kind on `canvas`, laid out for a panel of w x h pixels.
inline std::unique_ptr<TRaster> MakeChart(ChartKind kind, TCanvas& canvas, int32_t w, int32_t h,
                                          const TRozne& settings = {}, TOsData y = AxisRange(-1, 1),
                                          TOsData x = AxisRange(-1, 1)) {
  std::unique_ptr<TRaster> r;
  switch (kind) {
    case ChartKind::Rect:
      r = std::make_unique<TRaster>(settings, y, x);
      break;
    case ChartKind::Polar:
      r = std::make_unique<TCircRaster>(settings, y, x);
      break;
    case ChartKind::SmithZ:
      r = std::make_unique<TSmithRaster>(settings, y, x, ZSmith);
      break;
    case ChartKind::SmithY:
      r = std::make_unique<TSmithRaster>(settings, y, x, YSmith);
      break;
    case ChartKind::Vswr:
      r = std::make_unique<TOvenRaster>(settings, y, x);
      break;
  }
  r->SetCanvas(&canvas);
  r->SetDefaults();
  r->SetPanelSize(w, h);
  return r;
}

using PointList = std::vector<std::pair<double, double>>;

// A list with one trace per point table, default attributes.
inline void FillTraces(TTraces& list, const std::vector<PointList>& traces) {
  list.Clear();
  for (size_t j = 0; j < traces.size(); ++j) {
    list.Pridaj(QString("T%1").arg(j), nullptr, 4);
    for (const auto& [x, y] : traces[j]) list.Trace(int32_t(j))->AddXY(x, y);
  }
}

// A straight sweep of n points from (x0, y0) to (x1, y1).
inline PointList Sweep(int32_t n, double x0, double y0, double x1, double y1) {
  PointList out;
  for (int32_t i = 0; i < n; ++i) {
    const double t = n > 1 ? double(i) / (n - 1) : 0.0;
    out.emplace_back(x0 + t * (x1 - x0), y0 + t * (y1 - y0));
  }
  return out;
}

}  // namespace qz::testing