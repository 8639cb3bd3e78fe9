#pragma once
// The complex number of the system: two doubles with the unit's own guards.
//
// Not std::complex: the quotient replaces a tiny |b|^2 by 1e-40 and the reciprocal of a
// (near) zero value is the fixed 1e20 - j*1e20, so results stay finite whatever the model or a
// file feeds in.

namespace qz {

struct complex {
  double re = 0.0;
  double im = 0.0;

  constexpr complex() = default;
  constexpr complex(double r, double i = 0.0) : re(r), im(i) {}

  friend constexpr bool operator==(const complex&, const complex&) = default;
};

// How a complex value is held: 0 rectangular (re, im); 1 magnitude (re) and phase in radians
// (im); 2 magnitude and phase in degrees.
enum TCfmt : int { cfRect = 0, cfMagRad = 1, cfMagDeg = 2 };

inline constexpr double kPi = 3.14159265358979323846;
inline constexpr double kDivFloor = 1e-40;  // |b|^2 below this counts as this in a/b
inline constexpr double kInvLimit = 1e20;   // 1/z of a near-zero z is kInvLimit - j*kInvLimit

complex CPolar(double mag, double phaseRad);
complex CPolarDeg(double mag, double phaseDeg);
double CAbs2(const complex& z);  // squared magnitude
double CAbs(const complex& z);   // magnitude, scaled by the larger part so it never overflows
double CArg(const complex& z);   // phase in radians, atan2(im, re)
double CArgDeg(const complex& z);
complex CConj(const complex& z);
complex CAdd(const complex& a, const complex& b);
complex CSub(const complex& a, const complex& b);
complex CMul(const complex& a, const complex& b);
complex CScale(const complex& a, double k);
complex CDiv(const complex& a, const complex& b);    // a*conj(b)/|b|^2, |b|^2 floored at 1e-40
complex CInv(const complex& z);                      // conj(z)/|z|^2, or 1e20 - j1e20
complex CRotate(const complex& z, double angleRad);  // z * e^(j*angle)

// Conversions between the held forms of TCfmt.
complex CfmtToRect(const complex& z, int fmt);
complex RectToCfmt(const complex& z, int fmt);

inline complex operator+(const complex& a, const complex& b) { return CAdd(a, b); }
inline complex operator-(const complex& a, const complex& b) { return CSub(a, b); }
inline complex operator-(const complex& a) { return complex(-a.re, -a.im); }
inline complex operator*(const complex& a, const complex& b) { return CMul(a, b); }
inline complex operator*(const complex& a, double k) { return CScale(a, k); }
inline complex operator*(double k, const complex& a) { return CScale(a, k); }
inline complex operator/(const complex& a, const complex& b) { return CDiv(a, b); }

}  // namespace qz
