#pragma once
// The VSWR chart: constant-VSWR circles around the origin of the reflection coefficient plane
// with a wavelength scale around it, at five zoom levels.

#include <array>
#include <vector>

#include "charts/circraster.h"

namespace qz {

// Outer radius and the VSWR values whose circles are drawn, per zoom level.
struct TOvenZoom {
  double R;
  std::vector<double> s;
};
const std::array<TOvenZoom, kMaxZoom + 1>& OvenZoomTable();
// Radius of the circle of constant VSWR s (s below 1 counts as 1).
double VswrRadius(double s);

class TOvenRaster : public TCircRaster {
 public:
  using TCircRaster::TCircRaster;

  void MakeAxisTitles() override;
  void Draw() override;
  void DrawLimitLine() override;
  void FindRpolar() override;
  void BuildGrid() override;
  TCaptUpDn CaptionSide() const override { return capBott; }

 protected:
  bool AxesDrawn() const override { return false; }
};

}  // namespace qz
