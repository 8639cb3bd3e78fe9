#include "core/planeext.h"

#include <cmath>

#include "util/numtext.h"

namespace qz {

void TPlaneExt::Init() {
  Extension = 0.0;
  ExtFactor = 0.0;
  MsgStr.clear();
  Bexten = false;
}

void TPlaneExt::SetValue(double mm) {
  // A damaged setup value must not turn every later result into NaN.
  if (!std::isfinite(mm)) mm = 0.0;
  Extension = mm;
  Bexten = mm != 0.0;
  ExtFactor = Bexten ? mm * kPi / 250.0 : 0.0;
  MsgStr = MetresToText(mm / 1000.0);
}

complex TPlaneExt::Apply(const complex& rhoZ, double lg) const {
  if (!Bexten) return rhoZ;
  return CRotate(rhoZ, ExtFactor / lg);
}

}  // namespace qz
