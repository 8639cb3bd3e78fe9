#include "display/scaledlgdata.h"

#include <utility>

#include "charts/circraster.h"
#include "charts/ossetup.h"
#include "util/numtext.h"
#include "util/numutil.h"
#include "util/valueinput.h"

namespace qz {

namespace {

// The radius a polar chart accepts, as its own autoscaling does.
constexpr double kPolarRadiusMin = 1e-6;
constexpr double kPolarRadiusMax = 1e6;

// An entry as a number within the axis limits; a text that is not a number gives `def`.
double AxisEntry(const QString& text, double def) {
  return TextToFloatInRange(text, def, -kAxisValueLimit, kAxisValueLimit, true).value;
}

}  // namespace

void TScaleDlgData::Load(const TDispl& displ, int32_t npts) {
  Npts = npts;
  const TChartKind kind = DispTypeInfo(displ.AkeY).chart;
  Pravouhly = kind == TChartKind::Rect;
  Kruhovy = !Pravouhly;
  Polar = kind == TChartKind::Polar;
  Smith = kind == TChartKind::ZSmith || kind == TChartKind::YSmith || kind == TChartKind::Oven;
  const TOsData& x = displ.Grf->Ox.Stp.Data;
  const TOsData& y = displ.Grf->Oy.Stp.Data;
  F = TScaleFields{};
  F.Automatic = displ.AutoX;
  F.Integral = y.Bcele;
  if (Pravouhly) {
    Xmin = x.MinAsk;
    Xmax = x.MaxAsk;
    Ymin = y.MinAsk;
    Ymax = y.MaxAsk;
    F.Xmin = NumberText3(Xmin);
    F.Xmax = NumberText3(Xmax);
    F.Ymin = NumberText3(Ymin);
    F.Ymax = NumberText3(Ymax);
  }
  if (Polar) {
    PolarR = y.MaxAsk;
    F.PolarR = NumberText3(PolarR);
  }
  if (Smith) {
    SmithZoom = ClampLowWins(displ.Grf->iZoom, 0, kMaxZoom);
    F.SmithZoom = SmithZoom;
  }
}

TScaleEnabling TScaleDlgData::Enabling() const {
  TScaleEnabling e;
  e.Automatic = Pravouhly && Npts > 1;
  e.Xfields = Pravouhly && !F.Automatic;
  e.Xemptied = Kruhovy;
  e.Yfields = Pravouhly;
  e.PolarR = Polar;
  e.SmithR = Smith;
  e.Focus = Polar ? TScaleFocus::PolarR : Smith ? TScaleFocus::SmithR : TScaleFocus::Ymax;
  return e;
}

void TScaleDlgData::Ok(TDispl& displ) {
  TOsData& x = displ.Grf->Ox.Stp.Data;
  TOsData& y = displ.Grf->Oy.Stp.Data;
  if (Pravouhly) {
    displ.AutoX = F.Automatic;
    if (F.Automatic) {
      Xmin = 0.0;
      Xmax = double(Npts) - 1.0;
      // One point (or none) still gives the axis a span.
      if (Xmax <= Xmin) Xmax = Xmin + 1.0;
    } else {
      Xmin = AxisEntry(F.Xmin, 0.0);
      Xmax = AxisEntry(F.Xmax, 100.0);
    }
    Ymin = AxisEntry(F.Ymin, 1.0);
    Ymax = AxisEntry(F.Ymax, 10.0);
    if (Xmin > Xmax) std::swap(Xmin, Xmax);
    if (Ymin > Ymax) std::swap(Ymin, Ymax);
    x.MinAsk = Xmin;
    x.MaxAsk = Xmax;
    y.MinAsk = Ymin;
    y.MaxAsk = Ymax;
    y.LastMin = Ymin;
    y.LastMax = Ymax;
  }
  if (Polar) {
    PolarR = TextToFloatInRange(F.PolarR, 1.0, kPolarRadiusMin, kPolarRadiusMax, true).value;
    y.MaxAsk = PolarR;
    y.LastMax = PolarR;
  }
  if (Smith && F.SmithZoom >= 0) {
    SmithZoom = ClampLowWins(F.SmithZoom, 0, kMaxZoom);
    displ.Grf->iZoom = SmithZoom;
  }
  x.UseDflt = false;
  y.UseDflt = false;
}

void TScaleDlgData::Back(const TDispl& displ) {
  const TOsData& y = displ.Grf->Oy.Stp.Data;
  if (Pravouhly) {
    Ymin = y.LastMin;
    Ymax = y.LastMax;
    F.Ymin = NumberText3(Ymin);
    F.Ymax = NumberText3(Ymax);
  }
  if (Polar) {
    PolarR = y.LastMax;
    F.PolarR = NumberText3(PolarR);
  }
}

void TScaleDlgData::Close(TDispl& displ) const { displ.Grf->Oy.Stp.Data.Bcele = F.Integral; }

}  // namespace qz
