#include "core/smatrixalg.h"

#include <gtest/gtest.h>

#include "common/expectnear.h"

#include <cmath>
#include <random>

namespace qz {
namespace {

using testing::ExpectNear;

class Rand {
 public:
  double Uni(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(g_); }
  complex InDisc(double r) { return CPolar(Uni(0.0, r), Uni(-kPi, kPi)); }
  // A reciprocal two-port with moderate values (no resonance).
  TSmatrix Reciprocal() {
    const complex s21 = InDisc(1.0);
    return TSmatrix{InDisc(0.9), s21, s21, InDisc(0.9)};
  }

 private:
  std::mt19937_64 g_{20240611};
};

TEST(LineMatrix, IsMatchedWithTransmissionEToMinusJTheta) {
  for (const double th : {0.0, 0.3, kPi / 2, -1.2, 7.0}) {
    const TSmatrix m = LineMatrix(th);
    ExpectNear(m.s11, complex());
    ExpectNear(m.s22, complex());
    ExpectNear(m.s21, complex(std::cos(th), -std::sin(th)));
    EXPECT_EQ(m.s12, m.s21);
  }
}

TEST(LineMatrix, ALoadSeenThroughALineTurnsByMinusTwoTheta) {
  Rand r;
  for (int n = 0; n < 200; ++n) {
    const complex g = r.InDisc(1.0);
    const double th = r.Uni(-10.0, 10.0);
    ExpectNear(InputFromLoad(g, LineMatrix(th)), CRotate(g, -2.0 * th));
    // The other side of the line sees a source turned the same way.
    ExpectNear(OutputFromSource(g, LineMatrix(th)), CRotate(g, -2.0 * th));
  }
}

TEST(Cascade, WithTheIdentityOnEitherSideChangesNothing) {
  Rand r;
  for (int n = 0; n < 200; ++n) {
    const TSmatrix a = r.Reciprocal();
    ExpectNear(Cascade(a, IdentityMatrix()), a);
    ExpectNear(Cascade(IdentityMatrix(), a), a);
  }
}

TEST(Cascade, OfTwoLinesIsTheLineOfTheSummedLength) {
  ExpectNear(Cascade(LineMatrix(0.4), LineMatrix(1.1)), LineMatrix(1.5));
}

TEST(Cascade, TerminatingTheCascadeEqualsTerminatingTheParts) {
  // Looking into A then B towards a load equals looking into A loaded by what B shows; from
  // the load side likewise with a source behind A.
  Rand r;
  for (int n = 0; n < 300; ++n) {
    const TSmatrix a = r.Reciprocal();
    const TSmatrix b = r.Reciprocal();
    const complex load = r.InDisc(1.0);
    const complex source = r.InDisc(1.0);
    const TSmatrix ab = Cascade(a, b);
    ExpectNear(InputFromLoad(load, ab), InputFromLoad(InputFromLoad(load, b), a), 1e-9);
    ExpectNear(OutputFromSource(source, ab), OutputFromSource(OutputFromSource(source, a), b),
               1e-9);
  }
}

TEST(Cascade, KnownValuesOfAMismatchBeforeALine) {
  // A step of reflection 0.5 (S21 = sqrt(0.75)) followed by a quarter-wave line.
  const double t = std::sqrt(0.75);
  const TSmatrix step{complex(0.5), complex(t), complex(t), complex(-0.5)};
  const TSmatrix c = Cascade(step, LineMatrix(kPi / 2));
  ExpectNear(c.s11, complex(0.5));
  ExpectNear(c.s21, complex(0.0, -t));
  ExpectNear(c.s12, c.s21);
  ExpectNear(c.s22, complex(0.5));  // -0.5 turned by -pi
}

TEST(LoadFromInput, UndoesInputFromLoad) {
  Rand r;
  for (int n = 0; n < 300; ++n) {
    const TSmatrix s = r.Reciprocal();
    const complex load = r.InDisc(1.0);
    ExpectNear(LoadFromInput(InputFromLoad(load, s), s), load, 1e-9);
  }
}

// A two-port read from a file need not be reciprocal: the inverse uses S12 S21.
TEST(LoadFromInput, UndoesInputFromLoadOfANonReciprocalTwoPort) {
  const TSmatrix s{complex(0.1, 0.2), complex(0.8, 0.0), complex(0.3, -0.4), complex(-0.2, 0.1)};
  for (const complex load : {complex(0.5, 0.0), complex(0.0, -0.7), complex(-0.3, 0.3)}) {
    ExpectNear(LoadFromInput(InputFromLoad(load, s), s), load, 1e-12);
  }
}

// The bilinear form is the same two-port relation: its coefficients give InputFromLoad and
// LoadFromInput, reciprocal or not.
TEST(Bilinear, CoefficientsGiveTheSameTwoPortRelation) {
  Rand r;
  for (int n = 0; n < 200; ++n) {
    TSmatrix s = r.Reciprocal();
    if (n % 2) s.s12 = r.InDisc(1.0);
    const TBilinCoefs k = SToBilin(s);
    const complex load = r.InDisc(1.0);
    const complex in = InputFromLoad(load, s);
    ExpectNear(BilinLoadToInput(k, load), in, 1e-9);
    ExpectNear(BilinInputToLoad(k, in), LoadFromInput(in, s), 1e-9);
  }
  // A plain through line changes nothing; its coefficients are the default ones.
  const TBilinCoefs through = SToBilin(IdentityMatrix());
  EXPECT_EQ(through.b, complex());
  EXPECT_EQ(through.c, complex());
  ExpectNear(through.a, TBilinCoefs{}.a);
}

TEST(InputFromLoad, MatchedLoadShowsS11AndShortShowsTheFormula) {
  const TSmatrix s{complex(0.1, 0.2), complex(0.3, -0.4), complex(0.3, -0.4), complex(-0.2, 0.1)};
  ExpectNear(InputFromLoad(complex(), s), s.s11);
  // Short circuit: S11 - S21^2 / (1 + S22).
  ExpectNear(InputFromLoad(complex(-1.0), s), s.s11 - s.s21 * s.s21 / (complex(1.0) + s.s22));
}

TEST(TwoPortAlgebra, ResonanceStaysFinite) {
  // 1 - S22 * load = 0: the guarded quotient keeps the result finite.
  const TSmatrix s{complex(), complex(1.0), complex(1.0), complex(1.0)};
  const complex g = InputFromLoad(complex(1.0), s);
  EXPECT_TRUE(std::isfinite(g.re) && std::isfinite(g.im));
  const TSmatrix c = Cascade(s, s);
  EXPECT_TRUE(std::isfinite(c.s11.re) && std::isfinite(c.s21.re) && std::isfinite(c.s22.re));
}

}  // namespace
}  // namespace qz
