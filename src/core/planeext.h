#pragma once
// Plane extension: moves the reference plane of the load reflection coefficient along the line
// by a length given as an air-line equivalent in millimetres. The decoder rotates the load
// reflection coefficient by the round trip of that length at the guide wavelength,
// ExtFactor / LG radians (= 4 pi L / lambda_g).

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

  double Extension = 0.0;  // mm, air-line equivalent
  double ExtFactor = 0.0;  // Extension * pi / 250 (rad * m), 0 without an extension
  QString MsgStr;          // the extension as a length text
  bool Bexten = false;     // the extension is non-zero
};

}  // namespace qz
