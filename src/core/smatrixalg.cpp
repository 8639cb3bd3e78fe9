#include "sim/smatrixalg.h"

#include <cmath>

namespace qz {

TSmatrix LineMatrix(double theta) {
  const complex t(std::cos(theta), -std::sin(theta));
  return TSmatrix{complex(), t, t, complex()};
}

TSmatrix IdentityMatrix() { return LineMatrix(0.0); }

TSmatrix Cascade(const TSmatrix& a, const TSmatrix& b) {
  const complex d = complex(1.0) - a.s22 * b.s11;
  TSmatrix r;
  r.s11 = a.s11 + a.s12 * a.s21 * b.s11 / d;
  r.s21 = a.s21 * b.s21 / d;
  r.s12 = r.s21;
  r.s22 = b.s22 + b.s21 * b.s12 * a.s22 / d;
  return r;
}

complex InputFromLoad(const complex& gamma, const TSmatrix& s) {
  return s.s11 + s.s12 * s.s21 * gamma / (complex(1.0) - s.s22 * gamma);
}

complex LoadFromInput(const complex& gamma, const TSmatrix& s) {
  return (gamma - s.s11) / (s.s21 * s.s21 - s.s11 * s.s22 + s.s22 * gamma);
}

complex OutputFromSource(const complex& gamma, const TSmatrix& s) {
  return s.s22 + s.s12 * s.s21 * gamma / (complex(1.0) - s.s11 * gamma);
}

}  // namespace qz
