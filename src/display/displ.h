#pragma once
// One display window's chart: the raster of its type (recreated at every type change), the trace
// list, the window's shared limit of the reflection displays and the type's settings kept in the
// window's depot.

#include <cstdint>
#include <functional>
#include <memory>

#include "charts/canvas.h"
#include "charts/raster.h"
#include "charts/traces.h"
#include "display/displdefaults.h"
#include "display/disptypes.h"
#include "display/rasterdepot.h"

namespace qz {

// What autoscaling found; message is empty on success.
struct TAutoscaleResult {
  bool ok = false;
  QString message;
};
inline const QString kNoDataToAutoscale =
    QStringLiteral("No data to autoscale:\r\nMeasure or make traces visible first");
inline const QString kInvalidData = QStringLiteral("Invalid data");

class TDispl {
 public:
  // The chart of `type` from the depot (not owned; it must outlive the chart), trace j drawn with
  // attribute set j (a fresh program's sets unless the window gives its own). onTypeSet is told
  // every type set, so that new windows can take the latest one.
  TDispl(TRasterDepot& depot, int32_t type, TCanvas* canvas = nullptr,
         std::function<void(int32_t)> onTypeSet = {}, const TTracesAtrib& atr = StartAttributes());

  // Stores the present settings (not the first time), sets the type and its horizontal type,
  // recomputes the shared limit, makes a new raster from the depot, sets the units, scales the
  // default range and creates the type's traces with the given attributes.
  void SetTypXY(int32_t xType, int32_t type, const TTracesAtrib& atr);
  // A raster of the present type's kind from the depot's settings.
  std::unique_ptr<TRaster> VytvorNovyRaster() const;
  int32_t GetTypX() const { return TypX; }
  int32_t GetTypY() const { return AkeY; }
  // The present axis, limit, zoom and caption settings into the depot.
  void DajDoSkladu();
  // The next SetTypXY does not store the present chart (the depot was just read).
  void SkipNextStore() { first_ = true; }

  TAutoscaleResult Autoscale();
  // Vertical axis on its default range, horizontal on its requested one.
  void DefaultY();
  // Empties the trace points; with clearLast also forgets the moving markers.
  void ResetTracesToDraw(bool clearLast);
  // Unit n of the vertical axis: default range rescaled, limit re-applied.
  void SetUnit(int32_t n);
  // The limit entered on the present type; a shared limit updates every reflection type.
  void SetLimitValue(double value);
  // Rectangular charts: with AutoX the point axis becomes 0 .. npts - 1. True for rectangular.
  bool ZmenOsX(int32_t npts);
  // The unit factor of the vertical axis.
  double UnitFactor() const { return Grf ? Grf->Oy.Stp.Data.Nasob : 1.0; }
  void SetCanvas(TCanvas* canvas);
  // A window that keeps the chart in its panel takes every raster made from now on (and the
  // present one at once); the host returns the raster it now holds.
  using TRasterHost = std::function<TRaster*(std::unique_ptr<TRaster>)>;
  void SetRasterHost(TRasterHost host);
  // Attributes of the traces as they are now.
  TTracesAtrib TraceAttributes(const TTracesAtrib& fallback) const;

  int32_t TypX = kXPoints;
  int32_t AkeY = diMag;
  double LimFdrMag = kDefaultLimFdrMag;
  TRasterDepot& Depot;
  // The chart: owned here, or by the host that shows it (see SetRasterHost).
  TRaster* Grf = nullptr;
  TTraces TracesToDraw;
  bool AutoX = true;

 private:
  // The shared limit on every reflection type of the depot.
  void SpreadSharedLimit();

  void Adopt(std::unique_ptr<TRaster> raster);

  std::unique_ptr<TRaster> owned_;
  TRasterHost host_;
  TCanvas* canvas_ = nullptr;
  std::function<void(int32_t)> onTypeSet_;
  bool first_ = true;
};

}  // namespace qz
