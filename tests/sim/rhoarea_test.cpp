#include "sim/rhoarea.h"

#include <gtest/gtest.h>

#include "common/tunerrig.h"

#include <algorithm>

#include "core/bilintransf.h"
#include "core/smatrixalg.h"

namespace qz {
namespace {

constexpr double kF = testing::kTunerRigFreq;

using Rig = testing::TunerRig;

complex PointOf(const TRhoPt& p) { return complex(p.re / kRhoAreaScale, p.im / kRhoAreaScale); }

// The path of each pair runs round the square of its two insertions: second stub in, first
// stub in, second stub out, first stub out.
TEST(GetRhoArea, PathCornersOfBothPairs) {
  Rig r;
  r.sim.UserMax_mm = 10.0;  // working maximum 1000 steps, below the described 3000
  r.m.TunerDescriptionChanged();
  r.m.TU_FillFreqPars(kF);
  ASSERT_EQ(r.m.Derived().MaxSteps, 1000);
  TRhoArea a;
  GetRhoArea(r.m, kF, kAreaRealizable, kAreaStub1, nullptr, a);
  struct Case {
    int n;
    TMotPos pos;
  };
  const Case cases[] = {
      {0, MakeMotPos(0, 0, 0)},
      {12, MakeMotPos(0, 500, 0)},
      {24, MakeMotPos(0, 1000, 0)},
      {25, MakeMotPos(0, 1000, 0)},
      {30, MakeMotPos(208, 1000, 0)},
      {49, MakeMotPos(1000, 1000, 0)},
      {74, MakeMotPos(1000, 0, 0)},
      {99, MakeMotPos(0, 0, 0)},
      {124, MakeMotPos(0, 0, 1000)},
      {149, MakeMotPos(0, 1000, 1000)},
      {174, MakeMotPos(0, 1000, 0)},
      {199, MakeMotPos(0, 0, 0)},
      {100 + 25 + 1, MakeMotPos(0, 42, 1000)},  // round(1000 / 24) = 42
  };
  for (const Case& c : cases) {
    const complex s11 = r.m.TunerChain(c.pos, kCloseNone).s11;
    const TRhoPt& p = a[static_cast<std::size_t>(c.n)];
    EXPECT_NEAR(p.re, s11.re * 30000.0, 0.5) << c.n;
    EXPECT_NEAR(p.im, s11.im * 30000.0, 0.5) << c.n;
  }
  // The stubs are transparent at zero insertion.
  EXPECT_EQ(a[0], (TRhoPt{0, 0}));
  EXPECT_EQ(a[199], (TRhoPt{0, 0}));
  // The positions of the tuner are not touched.
  EXPECT_EQ(r.mot.ActPos, MakeMotPos(0, 0, 0));
}

// Every point of the matchable border at the plane of stub 3 is a load the tuner matches with
// the stubs at the point's positions.
TEST(GetRhoArea, MatchableBorderIsMatchedByItsPositions) {
  Rig r;
  TRhoArea a;
  GetRhoArea(r.m, kF, kAreaMatchable, kAreaStub3, nullptr, a);
  const int maxSteps = r.m.Derived().MaxSteps;
  for (int n = 0; n < 25; ++n) {
    // Pair 1 + 2, first leg: stub 2 at round(n * max / 24).
    const int16_t q = static_cast<int16_t>(n * maxSteps / 24);  // exact for 3000
    const TSmatrix s = r.m.TunerChain(MakeMotPos(0, q, 0), kCloseNone);
    const complex load = PointOf(a[static_cast<std::size_t>(n)]);
    EXPECT_LT(CAbs(InputFromLoad(load, s)), 1e-4) << n;
  }
}

TEST(GetRhoArea, PlanesTurnTheBorderByTheSectionLengths) {
  Rig r;
  TRhoArea base, out, cal;
  GetRhoArea(r.m, kF, kAreaRealizable, kAreaStub1, nullptr, base);
  GetRhoArea(r.m, kF, kAreaRealizable, kAreaOutput, nullptr, out);
  GetRhoArea(r.m, kF, kAreaRealizable, kAreaCal, nullptr, cal);
  const auto& th = r.m.Freq().Theta;
  for (std::size_t n = 0; n < base.size(); n += 7) {
    const complex b = PointOf(base[n]);
    const complex o = CRotate(b, 2.0 * (th[1] + th[2] + th[3]));
    const complex c = CRotate(b, -2.0 * th[0]);
    EXPECT_NEAR(out[n].re, o.re * 30000.0, 1.5) << n;
    EXPECT_NEAR(out[n].im, o.im * 30000.0, 1.5) << n;
    EXPECT_NEAR(cal[n].re, c.re * 30000.0, 1.5) << n;
    EXPECT_NEAR(cal[n].im, c.im * 30000.0, 1.5) << n;
  }
}

TEST(GetRhoArea, MatchableBorderIsLimitedToTheLargestMagnitude) {
  Rig r;
  r.sim.MaxMag_mU = 300;
  TRhoArea a;
  GetRhoArea(r.m, kF, kAreaMatchable, kAreaOutput, nullptr, a);
  int atLimit = 0;
  for (const TRhoPt& p : a) {
    const double mag = CAbs(PointOf(p));
    EXPECT_LE(mag, 0.3 + 1e-4);
    if (mag > 0.3 - 1e-4) ++atLimit;
  }
  EXPECT_GT(atLimit, 0);
}

TEST(GetRhoArea, NoAreaLeavesTheBordersAndKeepsTheFrequency) {
  Rig r;
  TRhoArea a;
  a.fill(TRhoPt{7, -7});
  GetRhoArea(r.m, 2.5e9, kAreaNone, kAreaStub1, nullptr, a);
  for (const TRhoPt& p : a) EXPECT_EQ(p, (TRhoPt{7, -7}));
  // An area at another frequency leaves the tuner's per-frequency data at the frame's.
  const double th1 = r.m.Freq().Theta[1];
  GetRhoArea(r.m, 2.5e9, kAreaMatchable, kAreaStub1, nullptr, a);
  EXPECT_EQ(r.m.Freq().F_Hz, kF);
  EXPECT_EQ(r.m.Freq().Theta[1], th1);
}

TEST(GetRhoArea, TransformPlaneFollowsTheBilinearTransformAndStaysWithinSixteenBits) {
  // A transform that multiplies the reflection by 4 (a damaged S-parameter table can do that):
  // the points beyond 32767 / 30000 are limited, the others scaled.
  Rig r;
  TBilinTransf bt;
  bt.FBis.ff = {kF};
  bt.FBis.aa = {complex(4.0)};
  bt.FBis.bb = {complex(0.0)};
  bt.FBis.cc = {complex(0.0)};
  bt.FEnabled = true;
  bt.FActive = true;
  TRhoArea plain, through, off;
  GetRhoArea(r.m, kF, kAreaRealizable, kAreaStub1, nullptr, plain);
  GetRhoArea(r.m, kF, kAreaRealizable, kAreaTransform, &bt, through);
  int limited = 0;
  for (std::size_t n = 0; n < plain.size(); ++n) {
    const double re = 4.0 * plain[n].re;
    const double im = 4.0 * plain[n].im;
    EXPECT_NEAR(through[n].re, std::clamp(re, -32767.0, 32767.0), 2.5) << n;
    EXPECT_NEAR(through[n].im, std::clamp(im, -32767.0, 32767.0), 2.5) << n;
    if (std::abs(re) > 32767.0 || std::abs(im) > 32767.0) ++limited;
  }
  EXPECT_GT(limited, 0);
  // Switched off, the transform plane is the plane of stub 1.
  bt.FActive = false;
  GetRhoArea(r.m, kF, kAreaRealizable, kAreaTransform, &bt, off);
  EXPECT_EQ(off, plain);
}

}  // namespace
}  // namespace qz
