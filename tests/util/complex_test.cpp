#include <gtest/gtest.h>

#include <cmath>

#include "util/complex.h"

namespace qz {
namespace {

TEST(Complex, DivisionAndReciprocalGuards) {
  // a/0: |b|^2 counts as 1e-40, and a*conj(0) is 0, so the quotient is 0, never NaN.
  const complex q0 = CDiv(complex(1, 0), complex(0, 0));
  EXPECT_EQ(q0.re, 0.0);
  EXPECT_EQ(q0.im, 0.0);
  // A tiny divisor is floored: (1+j)/1e-30 = (1+j)*1e-30/1e-40.
  const complex qt = CDiv(complex(1, 1), complex(1e-30, 0));
  EXPECT_DOUBLE_EQ(qt.re, 1e10);
  EXPECT_DOUBLE_EQ(qt.im, 1e10);
  // 1/0 is the fixed limit 1e20 - j*1e20.
  EXPECT_EQ(CInv(complex(0, 0)), complex(1e20, -1e20));
  EXPECT_EQ(CInv(complex(1e-21, 0)), complex(1e20, -1e20));
  const complex r = CInv(complex(0, 2));
  EXPECT_DOUBLE_EQ(r.re, 0.0);
  EXPECT_DOUBLE_EQ(r.im, -0.5);
  const complex d = complex(3, 4) / complex(1, 2);  // (3+4j)/(1+2j) = 2.2 - 0.4j
  EXPECT_DOUBLE_EQ(d.re, 2.2);
  EXPECT_DOUBLE_EQ(d.im, -0.4);
}

TEST(Complex, MagnitudePhaseAndPolar) {
  EXPECT_DOUBLE_EQ(CAbs(complex(3, 4)), 5.0);
  EXPECT_DOUBLE_EQ(CAbs(complex(1e200, 1e200)), std::sqrt(2.0) * 1e200);  // no overflow
  EXPECT_EQ(CAbs(complex(0, 0)), 0.0);
  EXPECT_DOUBLE_EQ(CAbs2(complex(3, 4)), 25.0);
  EXPECT_DOUBLE_EQ(CArgDeg(complex(0, 1)), 90.0);
  EXPECT_DOUBLE_EQ(CArg(complex(-1, 0)), kPi);
  const complex p = CPolarDeg(2, 90);
  EXPECT_NEAR(p.re, 0.0, 1e-15);
  EXPECT_DOUBLE_EQ(p.im, 2.0);
  const complex rot = CRotate(complex(1, 0), kPi / 2);
  EXPECT_NEAR(rot.re, 0.0, 1e-15);
  EXPECT_DOUBLE_EQ(rot.im, 1.0);
  const complex m = complex(1, 2) * complex(3, -1);  // 3 - j + 6j + 2 = 5 + 5j
  EXPECT_EQ(m, complex(5, 5));
  EXPECT_EQ(CConj(complex(1, 2)), complex(1, -2));
}

TEST(Complex, HeldFormsConvertBothWays) {
  const complex z(0.3, -0.4);
  for (int fmt : {cfRect, cfMagRad, cfMagDeg}) {
    const complex back = CfmtToRect(RectToCfmt(z, fmt), fmt);
    EXPECT_NEAR(back.re, z.re, 1e-15) << fmt;
    EXPECT_NEAR(back.im, z.im, 1e-15) << fmt;
  }
  const complex md = RectToCfmt(complex(0, -0.5), cfMagDeg);
  EXPECT_DOUBLE_EQ(md.re, 0.5);
  EXPECT_DOUBLE_EQ(md.im, -90.0);
}

}  // namespace
}  // namespace qz
