#pragma once
// Closeness of complex numbers and scattering matrices, part by part, with the failing part
// named in the message.

#include <gtest/gtest.h>

#include "util/complex.h"
#include "util/smatrix.h"

namespace qz::testing {

inline constexpr double kNearTol = 1e-12;

inline void ExpectNear(const complex& a, const complex& b, double tol = kNearTol) {
  EXPECT_NEAR(a.re, b.re, tol) << "real part";
  EXPECT_NEAR(a.im, b.im, tol) << "imaginary part";
}

inline void ExpectNear(const TSmatrix& a, const TSmatrix& b, double tol = kNearTol) {
  {
    SCOPED_TRACE("S11");
    ExpectNear(a.s11, b.s11, tol);
  }
  {
    SCOPED_TRACE("S12");
    ExpectNear(a.s12, b.s12, tol);
  }
  {
    SCOPED_TRACE("S21");
    ExpectNear(a.s21, b.s21, tol);
  }
  {
    SCOPED_TRACE("S22");
    ExpectNear(a.s22, b.s22, tol);
  }
}

}  // namespace qz::testing