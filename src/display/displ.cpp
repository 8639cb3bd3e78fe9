#include "display/displ.h"

#include "charts/circraster.h"
#include "charts/ovenraster.h"
#include "charts/smithraster.h"
#include "util/numtext.h"
#include "util/numutil.h"
#include "util/parse.h"

namespace qz {

namespace {

// A value rounded the way it is shown (three digits) and read back; nothing when the text does
// not read back.
std::optional<double> ShownRounding(double v) { return ParseDouble(NumberText3(v)); }

double ChartRadius(int32_t type, int32_t zoom) {
  if (type == diOven) return OvenZoomTable()[size_t(zoom)].R;
  return SmithZoomTable()[size_t(zoom)].A;
}

}  // namespace

TDispl::TDispl(TRasterDepot& depot, int32_t type, TCanvas* canvas,
               std::function<void(int32_t)> onTypeSet, const TTracesAtrib& atr)
    : Depot(depot), canvas_(canvas), onTypeSet_(std::move(onTypeSet)) {
  const int32_t t = OfferedTypeOrFirst(type);
  SetTypXY(XTypeOf(t), t, atr);
}

void TDispl::SetCanvas(TCanvas* canvas) {
  canvas_ = canvas;
  if (Grf) Grf->SetCanvas(canvas);
}

void TDispl::Adopt(std::unique_ptr<TRaster> raster) {
  if (host_) {
    owned_.reset();
    Grf = host_(std::move(raster));
  } else {
    owned_ = std::move(raster);
    Grf = owned_.get();
  }
}

void TDispl::SetRasterHost(TRasterHost host) {
  host_ = std::move(host);
  if (host_ && owned_) Adopt(std::move(owned_));
}

std::unique_ptr<TRaster> TDispl::VytvorNovyRaster() const {
  const TRozne& r = Depot.Ine[size_t(AkeY)];
  const TOsData& y = Depot.OsY[size_t(AkeY)].Data;
  const TOsData& x = Depot.OsX[size_t(TypX)].Data;
  switch (DispTypeInfo(AkeY).chart) {
    case TChartKind::Polar:
      return std::make_unique<TCircRaster>(r, y, x);
    case TChartKind::ZSmith:
      return std::make_unique<TSmithRaster>(r, y, x, ZSmith);
    case TChartKind::YSmith:
      return std::make_unique<TSmithRaster>(r, y, x, YSmith);
    case TChartKind::Oven:
      return std::make_unique<TOvenRaster>(r, y, x);
    case TChartKind::Rect:
      break;
  }
  return std::make_unique<TRaster>(r, y, x);
}

void TDispl::DajDoSkladu() {
  if (!Grf) return;
  Depot.OsY[size_t(AkeY)].Data = Grf->Oy.Stp.Data;
  Depot.OsX[size_t(TypX)].Data = Grf->Ox.Stp.Data;
  TRozne& r = Depot.Ine[size_t(AkeY)];
  r.Lim.Va = Grf->LimLine.Value;
  r.Lim.St = Grf->LimLine.Pen.Style;
  r.Lim.Wi = Grf->LimLine.Pen.Width;
  r.Lim.Co = Grf->LimLine.Pen.Color;
  r.Zoom = Grf->iZoom;
  r.CapText = Grf->CapText;
  r.CapVisible = Grf->CapVisible;
}

TTracesAtrib TDispl::TraceAttributes(const TTracesAtrib& fallback) const {
  TTracesAtrib a = fallback;
  for (int32_t j = 0; j < kDisplayTraces; ++j)
    if (const TOneTrace* tr = TracesToDraw.Trace(j)) a[size_t(j)] = tr->Attr();
  return a;
}

void TDispl::SpreadSharedLimit() {
  for (int32_t t = 0; t < 8; ++t)
    if (DispTypeInfo(t).sharedLimit && DispTypeInfo(t).no == t)
      Depot.Ine[size_t(t)].Lim.Va = LimitFromMag(t, LimFdrMag, Depot.OsY[size_t(t)].Data.Nasob);
}

void TDispl::SetTypXY(int32_t xType, int32_t type, const TTracesAtrib& atr) {
  if (!first_) DajDoSkladu();
  first_ = false;
  AkeY = OfferedTypeOrFirst(type);
  TypX = XTypeFor(AkeY, xType);
  const TUnits& units = DispUnits(AkeY);
  // The depot's unit index decides the factor, so that the shared limit is shown in it.
  TOsData& y = Depot.OsY[size_t(AkeY)].Data;
  y.Nunit = ClampLowWins(y.Nunit, 0, units.Pocet - 1);
  y.Nasob = units.Prevod[size_t(y.Nunit)];
  if (DispTypeInfo(AkeY).sharedLimit) SpreadSharedLimit();
  std::unique_ptr<TRaster> raster = VytvorNovyRaster();
  if (canvas_) raster->SetCanvas(canvas_);
  TRaster* r = raster.get();
  // Units, ranges and traces are set before a host shows the new chart.
  Grf = r;
  Grf->Oy.TreatUnit(Grf->Oy.Stp.Data.Nunit, units);
  Grf->Ox.TreatUnit(0, TUnits{});
  ModifDefaultY(AkeY, Grf->Oy.Stp.Data);
  TracesToDraw.Clear();
  const TDispTypeInfo& info = DispTypeInfo(AkeY);
  for (int32_t j = 0; j < info.traceCount; ++j) {
    TracesToDraw.Pridaj(info.titles[size_t(j)], nullptr, kDisplayTraces);
    if (TOneTrace* tr = TracesToDraw.Trace(j)) {
      tr->Title = info.titles[size_t(j)];
      tr->SetAttr(atr[size_t(j)]);
    }
  }
  Grf->AssignTraces(&TracesToDraw);
  Grf->LimLine.Nastav(Depot.Ine[size_t(AkeY)].Lim);
  Adopt(std::move(raster));
  if (onTypeSet_) onTypeSet_(AkeY);
}

void TDispl::ResetTracesToDraw(bool clearLast) {
  TracesToDraw.Vyprazdni();
  if (!clearLast) return;
  for (int32_t j = 0; j < TracesToDraw.Count(); ++j) {
    TOneTrace* tr = TracesToDraw.Trace(j);
    tr->last_x = -1;
    tr->last_y = -1;
  }
}

void TDispl::SetUnit(int32_t n) {
  const TUnits& units = DispUnits(AkeY);
  Grf->Oy.TreatUnit(n, units);
  ModifDefaultY(AkeY, Grf->Oy.Stp.Data);
  Depot.OsY[size_t(AkeY)].Data.Nunit = Grf->Oy.Stp.Data.Nunit;
  Depot.OsY[size_t(AkeY)].Data.Nasob = Grf->Oy.Stp.Data.Nasob;
  if (DispTypeInfo(AkeY).sharedLimit) {
    SpreadSharedLimit();
    Grf->LimLine.Value = Depot.Ine[size_t(AkeY)].Lim.Va;
  }
}

void TDispl::SetLimitValue(double value) {
  if (DispTypeInfo(AkeY).sharedLimit) {
    LimFdrMag = MagFromLimit(AkeY, value, UnitFactor());
    SpreadSharedLimit();
    Grf->LimLine.Value = Depot.Ine[size_t(AkeY)].Lim.Va;
  } else {
    Grf->LimLine.Value = value;
    Depot.Ine[size_t(AkeY)].Lim.Va = value;
  }
}

TAutoscaleResult TDispl::Autoscale() {
  if (TracesToDraw.MaxPtsVisible() <= 0) return {false, kNoDataToAutoscale};
  TOsData& y = Grf->Oy.Stp.Data;
  const TChartKind kind = DispTypeInfo(AkeY).chart;
  if (kind == TChartKind::Rect) {
    const TRange r = TracesToDraw.MinMaxYvisible();
    if (!r.ok) return {false, kInvalidData};
    const auto lo = ShownRounding(r.min);
    const auto hi = ShownRounding(r.max);
    y.MinAsk = lo ? ClampLowWins(*lo, -kAxisValueLimit, kAxisValueLimit) : 1.0;
    y.MaxAsk = hi ? ClampLowWins(*hi, -kAxisValueLimit, kAxisValueLimit) : 10.0;
  } else {
    const TRange r = TracesToDraw.MinMaxRvisible();
    if (!r.ok) return {false, kInvalidData};
    if (kind == TChartKind::Polar) {
      const auto m = ShownRounding(r.max);
      y.MaxAsk = m ? LimitPolarRadius(*m) : 1.0;
    } else {
      int32_t zoom = 0;
      for (int32_t z = kMaxZoom; z >= 1; --z)
        if (ChartRadius(AkeY, z) >= r.max) {
          zoom = z;
          break;
        }
      Grf->iZoom = zoom;
    }
  }
  y.UseDflt = false;
  Grf->Ox.Stp.Data.UseDflt = false;
  return {true, QString()};
}

void TDispl::DefaultY() {
  Grf->Oy.Stp.Data.UseDflt = true;
  Grf->Ox.Stp.Data.UseDflt = false;
}

bool TDispl::ZmenOsX(int32_t npts) {
  if (IsCircularType(AkeY)) return false;
  if (AutoX) {
    TOsData& x = Grf->Ox.Stp.Data;
    x.MinAsk = 0;
    // One point, or an empty sweep, still gives the axis a span the right way round.
    x.MaxAsk = npts - 1 <= 0 ? 1 : double(npts - 1);
    x.UseDflt = false;
  }
  return true;
}

}  // namespace qz
