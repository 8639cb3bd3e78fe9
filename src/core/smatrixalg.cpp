#include "core/smatrixalg.h"

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
  // S12 S21, not S21 squared: a two-port read from a file need not be reciprocal.
  return (gamma - s.s11) / (s.s12 * s.s21 - s.s11 * s.s22 + s.s22 * gamma);
}

complex OutputFromSource(const complex& gamma, const TSmatrix& s) {
  return s.s22 + s.s12 * s.s21 * gamma / (complex(1.0) - s.s11 * gamma);
}

TBilinCoefs SToBilin(const TSmatrix& s) {
  TBilinCoefs k;
  k.a = s.s12 * s.s21 - s.s11 * s.s22;
  k.b = s.s11;
  k.c = -s.s22;
  return k;
}

complex BilinLoadToInput(const TBilinCoefs& k, const complex& g) {
  return (k.a * g + k.b) / (complex(1.0) + k.c * g);
}

complex BilinInputToLoad(const TBilinCoefs& k, const complex& gin) {
  return (gin - k.b) / (k.a - k.c * gin);
}

}  // namespace qz
