#pragma once
// The Smith chart (impedance Z or admittance Y, the latter mirrored left-right) at five zoom
// levels, each showing a smaller part of the reflection coefficient plane around its centre.

#include <array>

#include "charts/circraster.h"

namespace qz {

enum TSmith : int32_t { ZSmith = 0, YSmith = 1 };

// One zoom level: the displayed radius A, five resistance circles (r, 1/(1 + r), the label
// point 1 - 2/(1 + r) on the real axis, 0) and five reactance circles (x, 1/x, and the point
// (g, h) where the circle meets the outer circle of radius A).
struct TSmithItem {
  double A = 1.0;
  std::array<std::array<double, 4>, 5> ReZ{};
  std::array<std::array<double, 4>, 5> ImZ{};
};
using TSmithArray = std::array<TSmithItem, kMaxZoom + 1>;

// The zoom table: A, the five r values and the five x values of each level.
struct TSmithZoom {
  double A;
  std::array<double, 5> r;
  std::array<double, 5> x;
};
const std::array<TSmithZoom, kMaxZoom + 1>& SmithZoomTable();
// The geometry of every zoom level (computed from the table).
TSmithArray MakeSmithArray();
// A value with two decimals, trailing zeros and a bare point removed ("0.2", "1", "-0.05").
QString SmithNumberText(double v);

class TSmithRaster : public TCircRaster {
 public:
  TSmithRaster(const TRozne& settings, const TOsData& ySettings, const TOsData& xSettings,
               TSmith typ = ZSmith);

  void MakeAxisTitles() override;
  void Draw() override;
  void FindRpolar() override;
  void Kruznice() override;
  void BuildGrid() override;
  TCaptUpDn CaptionSide() const override { return capBott; }

  TSmith Typ = ZSmith;
  TSmithArray SmithArray;

 protected:
  bool AxesDrawn() const override { return false; }
};

}  // namespace qz
