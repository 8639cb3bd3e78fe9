#include "util/complex.h"

#include <cmath>

namespace qz {

complex CPolar(double mag, double phaseRad) {
  return complex(mag * std::cos(phaseRad), mag * std::sin(phaseRad));
}

complex CPolarDeg(double mag, double phaseDeg) { return CPolar(mag, phaseDeg * kPi / 180.0); }

double CAbs(const complex& z) {
  const double a = std::fabs(z.re);
  const double b = std::fabs(z.im);
  if (a == 0.0 && b == 0.0) return 0.0;
  if (a >= b) {
    const double q = b / a;
    return a * std::sqrt(1.0 + q * q);
  }
  const double q = a / b;
  return b * std::sqrt(1.0 + q * q);
}

double CArg(const complex& z) { return std::atan2(z.im, z.re); }
double CArgDeg(const complex& z) { return CArg(z) * 180.0 / kPi; }
complex CInv(const complex& z) {
  const double d = CAbs2(z);
  if (d < kDivFloor) return complex(kInvLimit, -kInvLimit);
  return complex(z.re / d, -z.im / d);
}

complex CRotate(const complex& z, double angleRad) { return CMul(z, CPolar(1.0, angleRad)); }

complex CfmtToRect(const complex& z, int fmt) {
  switch (fmt) {
    case cfMagRad:
      return CPolar(z.re, z.im);
    case cfMagDeg:
      return CPolarDeg(z.re, z.im);
    default:
      return z;
  }
}

complex RectToCfmt(const complex& z, int fmt) {
  switch (fmt) {
    case cfMagRad:
      return complex(CAbs(z), CArg(z));
    case cfMagDeg:
      return complex(CAbs(z), CArgDeg(z));
    default:
      return z;
  }
}

}  // namespace qz
