#pragma once
// Plane extension: moves the reference plane of the load reflection coefficient along the
// waveguide by a length in millimetres (positive: towards the load). The decoder rotates the
// load reflection coefficient by the round trip of that length at the guide wavelength,
// ExtFactor / LG radians (= 4 pi L / lambda_g). The length is one along the guide itself, not
// an air-line equivalent: 10 mm in WR-340 at 2.45 GHz turn by 41.53 degrees, where 10 mm of air
// line would turn by 58.84.

#include <QString>

#include "util/complex.h"

namespace qz {

class TPlaneExt {
 public:
  TPlaneExt() { Init(); }

  // All fields zero, no extension.
  void Init();
  // Sets the extension in mm; a value that is not a finite number counts as 0.
  void SetValue(double mm);

  // The load reflection coefficient moved to the extended plane at guide wavelength lg
  // (metres); unchanged when there is no extension. A result below cut-off (lg = -1) is
  // rotated by the negative angle the formula gives.
  complex Apply(const complex& rhoZ, double lg) const;

  double Extension = 0.0;  // mm along the waveguide, positive towards the load
  double ExtFactor = 0.0;  // Extension * pi / 250 (rad * m), 0 without an extension
  QString MsgStr;          // the extension as a length text
  bool Bexten = false;     // the extension is non-zero
};

}  // namespace qz
