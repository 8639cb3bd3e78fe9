#pragma once
// The borders of the reflection coefficients the tuner can produce ("Realizable") or match
// ("Matchable") with one pair of stubs, for the reflection-coefficient chart.
//
// Each pair of stubs (1 + 2, then 2 + 3, the third stub at zero) runs its two insertions round
// the square 0 .. working maximum; the reflection along that path is the border of the area.

#include <array>
#include <cstdint>

#include "sim/tunermodel.h"

namespace qz {

class TBilinTransf;

// Points of one border, and the scale of the stored points (reflection x 30000).
inline constexpr int kRhoAreaPts = 100;
inline constexpr double kRhoAreaScale = 30000.0;
inline constexpr int32_t kRhoAreaLimit = 32767;

struct TRhoPt {
  int32_t re = 0;
  int32_t im = 0;
  friend constexpr bool operator==(const TRhoPt&, const TRhoPt&) = default;
};
// Stubs 1 + 2 in points 0..99, stubs 2 + 3 in points 100..199.
using TRhoArea = std::array<TRhoPt, 2 * kRhoAreaPts>;

// Kind of area.
enum TRhoAreaType : int {
  kAreaNone = 0,
  kAreaRealizable = 1,  // the input reflection of the tuner on a matched load
  kAreaMatchable = 2,   // the loads the tuner matches to a matched generator
};

// Plane the area is referred to.
enum TRhoAreaPlane : int {
  kAreaOutput = 0,     // the output flange
  kAreaStub3 = 1,      // the plane of stub 3
  kAreaStub1 = 2,      // the plane of stub 1 (the tuner input)
  kAreaCal = 3,        // the reference plane
  kAreaTransform = 4,  // the tuner input through the bilinear transform (when active)
};

// Fills rar for frequency f (Hz). The tuner's per-frequency data are computed for f and the
// previous frequency's data are restored afterwards; the stub positions are not touched. Type 0
// leaves rar unchanged. bitr may be null (no transform).
void GetRhoArea(TTunerModel& model, double f, int typ, int plane, const TBilinTransf* bitr,
                TRhoArea& rar);

}  // namespace qz
