#pragma once
// The geometry of the reflection-coefficient chart: where the usable square lies in the drawing
// area, how a reflection coefficient maps to a pixel and back for the chosen chart radius, and
// the grid of the chart.
//
// The drawing area is a square of odd width, so that the centre falls on a whole pixel and the
// horizontal and vertical grid lines are symmetric about it.

#include <array>
#include <cstdint>

#include "charts/charttypes.h"
#include "util/complex.h"

namespace qz {

// The chart radii the operator can choose ("Polar Radius" " 1", " 0.5", " 0.25").
inline constexpr int kRhoRadiusCount = 3;
double RhoRadius(int index);

// Grey of the inner circles and the grid lines.
inline constexpr uint32_t kRhoGridGrey = 0xBCBCBC;

// Five bounding boxes of the grid circles (inner first) and four grid lines.
using TKruz = std::array<TRectI, 5>;
using TLi = std::array<TSegment, 4>;

// The client height of the chart window: at least minBottom + 2, and always odd.
int32_t RhoClientHeight(int32_t height, int32_t minBottom);

struct TRhoMap {
  int32_t X1 = 2;                    // left usable pixel
  int32_t X2 = 2;                    // right usable pixel
  double Stred = 2.0;                // centre (both coordinates)
  double Dlzka = 1.0;                // radius in pixels
  double Rshift = 0.0, Rmult = 1.0;  // reflection -> pixel
  double Pshift = 0.0, Pmult = 1.0;  // pixel -> reflection
  double R = 1.0;                    // chart radius
  TKruz Kr{};
  TLi Li{};

  // The drawing area starts at `left` and is `width` pixels wide.
  void Layout(int32_t left, int32_t width);
  // The mappings and the grid for chart radius r.
  void Scale(double r);

  // A reflection coefficient as a pixel (rounded half to even). Values far outside the chart
  // are saturated to the 32-bit range rather than overflowing.
  TPt ToPixel(const complex& g) const;
  // A pixel as a reflection coefficient.
  complex ToRho(TPt p) const;
};

}  // namespace qz
