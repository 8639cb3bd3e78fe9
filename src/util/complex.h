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
double CAbs(const complex& z);  // magnitude, scaled by the larger part so it never overflows
double CArg(const complex& z);  // phase in radians, atan2(im, re)
double CArgDeg(const complex& z);

// The arithmetic is inline: the tuner model spends most of its time in it. Each operation keeps
// its one expression, so a result has the same bits wherever it is computed.
inline constexpr double CAbs2(const complex& z) { return z.re * z.re + z.im * z.im; }
inline constexpr complex CConj(const complex& z) { return complex(z.re, -z.im); }
inline constexpr complex CAdd(const complex& a, const complex& b) {
  return complex(a.re + b.re, a.im + b.im);
}
inline constexpr complex CSub(const complex& a, const complex& b) {
  return complex(a.re - b.re, a.im - b.im);
}
inline constexpr complex CMul(const complex& a, const complex& b) {
  return complex(a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re);
}
inline constexpr complex CScale(const complex& a, double k) { return complex(a.re * k, a.im * k); }
// a*conj(b)/|b|^2, |b|^2 floored at 1e-40.
inline constexpr complex CDiv(const complex& a, const complex& b) {
  double d = CAbs2(b);
  if (d < kDivFloor) d = kDivFloor;
  const complex n = CMul(a, CConj(b));
  return complex(n.re / d, n.im / d);
}
complex CInv(const complex& z);                      // conj(z)/|z|^2, or 1e20 - j1e20
complex CRotate(const complex& z, double angleRad);  // z * e^(j*angle)

// Conversions between the held forms of TCfmt.
complex CfmtToRect(const complex& z, int fmt);
complex RectToCfmt(const complex& z, int fmt);

inline constexpr complex operator+(const complex& a, const complex& b) { return CAdd(a, b); }
inline constexpr complex operator-(const complex& a, const complex& b) { return CSub(a, b); }
inline constexpr complex operator-(const complex& a) { return complex(-a.re, -a.im); }
inline constexpr complex operator*(const complex& a, const complex& b) { return CMul(a, b); }
inline constexpr complex operator*(const complex& a, double k) { return CScale(a, k); }
inline constexpr complex operator*(double k, const complex& a) { return CScale(a, k); }
inline constexpr complex operator/(const complex& a, const complex& b) { return CDiv(a, b); }

}  // namespace qz
