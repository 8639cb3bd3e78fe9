#include "sim/stubmatrix.h"

#include <gtest/gtest.h>

#include "common/expectnear.h"

#include <cmath>
#include <random>

#include "core/smatrixalg.h"

namespace qz {
namespace {

constexpr double kTol = 1e-12;

void ExpectLosslessReciprocal(const TSmatrix& s) {
  const complex z = s.s11 * CConj(s.s21) + s.s21 * CConj(s.s22);
  EXPECT_NEAR(CAbs2(s.s11) + CAbs2(s.s21), 1.0, kTol);
  EXPECT_NEAR(CAbs2(s.s22) + CAbs2(s.s12), 1.0, kTol);
  EXPECT_NEAR(z.re, 0.0, kTol);
  EXPECT_NEAR(z.im, 0.0, kTol);
  EXPECT_EQ(s.s12, s.s21);
}

using testing::ExpectNear;

class Rand {
 public:
  double Uni(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(g_); }
  int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(g_); }

  // Random stub polynomials and, for a coaxial cell, random line and stub values.
  TStubPars Pars(int cellType) {
    TStubPars p;
    p.CellType = cellType;
    p.WgB_mm = Uni(5.0, 60.0);
    p.NH1 = Int(0, 4);
    p.NH2 = Int(0, 4);
    for (int i = 0; i <= 4; ++i) {
      p.P1[static_cast<std::size_t>(i)] = Uni(-2.0, 2.0);
      p.P2[static_cast<std::size_t>(i)] = Uni(-2.0, 2.0);
    }
    if (cellType == kCellCoax) {
      // p1 in pF, p2 in mm for the coaxial model.
      for (int i = 0; i <= 4; ++i) {
        p.P1[static_cast<std::size_t>(i)] = Uni(-1.0, 1.0);
        p.P2[static_cast<std::size_t>(i)] = Uni(-20.0, 20.0);
      }
      const double f = Uni(0.4e9, 3e9);
      p.Omega = 2.0 * kPi * f;
      p.Z0 = Uni(20.0, 80.0);
      p.LambdaS = Uni(0.05, 0.5);
      p.K = Uni(0.1, 200.0);
      p.Ls_pH = Uni(-5000.0, 5000.0);
    }
    return p;
  }

  TChainPars Chain(int cellType) {
    TChainPars c;
    c.Stub = Pars(cellType);
    c.StepMm = Uni(0.001, 0.05);
    for (auto& l : c.Line) l = LineMatrix(Uni(-20.0, 20.0));
    return c;
  }

 private:
  std::mt19937_64 g_{77};
};

class StubProperty : public ::testing::TestWithParam<int> {};

TEST_P(StubProperty, EveryStubIsLosslessAndReciprocal) {
  Rand r;
  for (int n = 0; n < 2000; ++n) {
    SCOPED_TRACE(n);
    const TStubPars p = r.Pars(GetParam());
    ExpectLosslessReciprocal(StubMatrix(r.Uni(0.0, 60.0), p));
  }
}

TEST_P(StubProperty, EveryChainIsLosslessAndReciprocal) {
  Rand r;
  for (int n = 0; n < 500; ++n) {
    SCOPED_TRACE(n);
    const TChainPars c = r.Chain(GetParam());
    const TMotPos pos =
        MakeMotPos(static_cast<int16_t>(r.Int(0, 3000)), static_cast<int16_t>(r.Int(0, 3000)),
                   static_cast<int16_t>(r.Int(0, 3000)));
    for (const int closing : {kCloseNone, kCloseOutput, kCloseRef}) {
      const TSmatrix s = TunerChain(pos, closing, c);
      const complex z = s.s11 * CConj(s.s21) + s.s21 * CConj(s.s22);
      EXPECT_NEAR(CAbs2(s.s11) + CAbs2(s.s21), 1.0, kTol);
      EXPECT_NEAR(CAbs2(s.s22) + CAbs2(s.s21), 1.0, kTol);
      EXPECT_NEAR(CAbs(z), 0.0, kTol);
      EXPECT_EQ(s.s12, s.s21);
    }
  }
}

// 1 waveguide, 2 coaxial; 0 and 7 (unknown types) are taken as waveguide cells.
INSTANTIATE_TEST_SUITE_P(CellTypes, StubProperty, ::testing::Values(1, 2, 0, 7));

TStubPars Waveguide(double x, double b) {
  TStubPars p;
  p.CellType = kCellWaveguide;
  p.WgB_mm = 40.0;
  p.P1[0] = x;
  p.P2[0] = b;
  return p;
}

TEST(StubMatrix, WaveguideShuntSusceptanceAlone) {
  // A normalised shunt admittance y = jB reflects -y/(2+y) and passes 2/(2+y).
  for (const double b : {0.5, 1.0, -2.0, 3.0}) {
    const TSmatrix s = StubMatrix(10.0, Waveguide(0.0, b));
    const complex y(0.0, b);
    ExpectNear(s.s11, -y / (complex(2.0) + y));
    ExpectNear(s.s21, complex(2.0) / (complex(2.0) + y));
    EXPECT_EQ(s.s22, s.s11);
  }
}

TEST(StubMatrix, WaveguideSeriesArmsAlone) {
  // Two series arms of reactance X: z = j2X reflects z/(2+z).
  for (const double x : {0.25, -0.7, 1.5}) {
    const TSmatrix s = StubMatrix(10.0, Waveguide(x, 0.0));
    const complex z(0.0, 2.0 * x);
    ExpectNear(s.s11, z / (complex(2.0) + z));
    ExpectNear(s.s21, complex(2.0) / (complex(2.0) + z));
  }
}

TEST(StubMatrix, PolynomialsAreInTheRelativeInsertion) {
  // p2 = 0.5 u + 8 u^3 with u = x / b.
  TStubPars p;
  p.CellType = kCellWaveguide;
  p.WgB_mm = 40.0;
  p.NH2 = 3;
  p.P2[1] = 0.5;
  p.P2[3] = 8.0;
  const double u = 20.0 / 40.0;
  const double b = 0.5 * u + 8.0 * u * u * u;
  ExpectNear(StubMatrix(20.0, p).s11, complex(-b * b, -2.0 * b) / (4.0 + b * b));
}

TEST(StubMatrix, UnknownCellTypesUseTheWaveguideModel) {
  TStubPars p = Waveguide(0.3, 1.2);
  const TSmatrix wg = StubMatrix(5.0, p);
  for (const int type : {0, 3, 255}) {
    p.CellType = type;
    EXPECT_EQ(StubMatrix(5.0, p), wg) << type;
  }
}

TEST(StubMatrix, CoaxWithShortedStubIsTheSeriesCapacitanceAlone) {
  // With the inductance 0 the stub is shorted (m = 0): d = 1, S21 = 1/(1 + jg),
  // S11 = (Z - 1)/(Z + 1) with Z = 1/(1 + j2g), that is -jg/(1 + jg).
  TStubPars p;
  p.CellType = kCellCoax;
  p.WgB_mm = 3.0;
  p.P1[0] = 0.8;  // pF
  p.Omega = 2.0 * kPi * 1e9;
  p.Z0 = 50.0;
  p.K = 10.0;
  p.LambdaS = 0.3;
  p.Ls_pH = 0.0;
  const double g = p.Omega * 0.8e-12 * 50.0;
  const TSmatrix s = StubMatrix(2.0, p);
  const complex den(1.0, g);
  ExpectNear(s.s21, complex(1.0) / den);
  ExpectNear(s.s11, complex(0.0, -g) / den);
}

TEST(StubMatrix, ADescriptionWithoutDimensionsGivesAFiniteStub) {
  TStubPars p = Waveguide(0.0, 0.0);
  p.WgB_mm = 0.0;
  p.NH2 = 1;
  p.P2[1] = 1.0;
  const TSmatrix wg = StubMatrix(10.0, p);
  EXPECT_EQ(wg, IdentityMatrix());  // u taken as 0: no susceptance
  p.CellType = kCellCoax;           // Z0 = 0: the line model cannot be evaluated
  const TSmatrix cx = StubMatrix(10.0, p);
  EXPECT_TRUE(std::isfinite(cx.s11.re) && std::isfinite(cx.s21.re));
  EXPECT_NEAR(CAbs2(cx.s11) + CAbs2(cx.s21), 1.0, kTol);
}

TEST(StubCoefValues, EvaluatesEachCoefficientInTheDeviation) {
  TStubModel m;
  m.NH = 2;
  m.NF = {0, 2, 1};
  m.C[0] = {3.0, 99.0};  // 99 is above NF[0] and not used
  m.C[1] = {1.0, 2.0, 3.0};
  m.C[2] = {-1.0, 0.5};
  m.C[3] = {42.0};  // above NH
  const TStubCoefs p = StubCoefValues(m, 2.0);
  EXPECT_DOUBLE_EQ(p[0], 3.0);
  EXPECT_DOUBLE_EQ(p[1], 1.0 + 2.0 * 2.0 + 3.0 * 4.0);
  EXPECT_DOUBLE_EQ(p[2], -1.0 + 0.5 * 2.0);
  EXPECT_DOUBLE_EQ(p[3], 0.0);
  EXPECT_DOUBLE_EQ(StubPoly(p, 2, 3.0), 3.0 + 17.0 * 3.0 + 0.0 * 9.0);
}

TEST(TunerChain, ZeroInsertionOfTransparentStubsIsTheSumOfTheLines) {
  TChainPars c;
  c.Stub = Waveguide(0.0, 0.0);
  c.StepMm = 0.01;
  c.Line = {LineMatrix(0.1), LineMatrix(0.2), LineMatrix(0.3), LineMatrix(0.4)};
  const TMotPos zero = MakeMotPos(0, 0, 0);
  const auto expectLine = [](const TSmatrix& s, double th) {
    ExpectNear(s.s11, complex());
    ExpectNear(s.s21, LineMatrix(th).s21);
  };
  expectLine(TunerChain(zero, kCloseNone, c), 0.5);
  expectLine(TunerChain(zero, kCloseOutput, c), 0.9);
  expectLine(TunerChain(zero, kCloseRef, c), 0.6);
}

TEST(TunerChain, PositionsInStepsAreInsertionsOfStepsTimesStepLength) {
  TChainPars c;
  c.Stub = Waveguide(0.0, 0.0);
  c.Stub.NH2 = 1;
  c.Stub.P2 = {0.0, 2.0};
  c.StepMm = 0.02;
  c.Line = {IdentityMatrix(), IdentityMatrix(), IdentityMatrix(), IdentityMatrix()};
  // Only stub 2 inserted: 500 steps = 10 mm.
  const TSmatrix s = TunerChain(MakeMotPos(0, 500, 0), kCloseNone, c);
  const TSmatrix one = StubMatrix(10.0, c.Stub);
  ExpectNear(s.s11, one.s11);
  ExpectNear(s.s21, one.s21);
}

}  // namespace
}  // namespace qz
