// Plane extension: the fields SetValue derives and the rotation of the load reflection
// coefficient, alone and inside the decoder.
#include "core/planeext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/bilintransf.h"
#include "core/frameenc.h"
#include "util/unitconv.h"

namespace qz {
namespace {

TEST(PlaneExt, SetValueDerivesTheFields) {
  const struct {
    double mm;
    bool on;
    double factor;
    const char* text;
  } cases[] = {
      {0.0, false, 0.0, "0 mm"},
      {250.0, true, kPi, "250 mm"},
      {-125.0, true, -kPi / 2, "-125 mm"},
      {1500.0, true, 6 * kPi, "1.5 m"},
      {std::numeric_limits<double>::quiet_NaN(), false, 0.0, "0 mm"},
  };
  for (const auto& c : cases) {
    TPlaneExt pe;
    pe.SetValue(c.mm);
    EXPECT_EQ(pe.Bexten, c.on) << c.mm;
    EXPECT_NEAR(pe.ExtFactor, c.factor, 1e-12) << c.mm;
    EXPECT_EQ(pe.MsgStr, QString::fromLatin1(c.text)) << c.mm;
  }
  TPlaneExt pe;
  pe.SetValue(10.0);
  pe.Init();
  EXPECT_EQ(pe.Extension, 0.0);
  EXPECT_EQ(pe.ExtFactor, 0.0);
  EXPECT_FALSE(pe.Bexten);
  EXPECT_TRUE(pe.MsgStr.isEmpty());
}

TEST(PlaneExt, RotatesByTheRoundTripPhase) {
  const complex rho(0.5, 0.2);
  TPlaneExt pe;
  pe.SetValue(250.0);
  // 250 mm at a guide wavelength of 1 m: half a wavelength round trip, a rotation by pi.
  const complex r = pe.Apply(rho, 1.0);
  EXPECT_NEAR(r.re, -0.5, 1e-12);
  EXPECT_NEAR(r.im, -0.2, 1e-12);
  // 62.5 mm at 0.5 m: a quarter of pi times two.
  pe.SetValue(62.5);
  const complex q = pe.Apply(complex(1, 0), 0.5);
  EXPECT_NEAR(q.re, 0.0, 1e-12);
  EXPECT_NEAR(q.im, 1.0, 1e-12);
  // Below cut-off (LG = -1) the formula's negative angle.
  const complex n = pe.Apply(complex(1, 0), -1.0);
  EXPECT_NEAR(n.re, std::cos(-pe.ExtFactor), 1e-12);
  EXPECT_NEAR(n.im, std::sin(-pe.ExtFactor), 1e-12);
  pe.SetValue(0.0);
  EXPECT_EQ(pe.Apply(rho, 1.0), rho);
}

TEST(PlaneExt, DecoderRotatesRhoZ) {
  TFrameSpec fspec;
  fspec.Motors = false;
  fspec.Pinc_W = 10.0;
  fspec.RhoZ = complex(0.5, 0.0);
  fspec.Freq_Hz = 3e9;
  TMerObjekt frame{};
  EncodeFrame(fspec, frame);
  const double fc = 2.078e9;
  const double lg = GuideWavelength(fc, 3e9);

  TPlaneExt pe;
  const TBilinTransf bt;
  const TDecodeTransforms tr(pe, bt);
  THresults r;
  TMotState m;
  uint16_t nmo = 0;
  ASSERT_TRUE(DekodMerData(frame, r, m, fc, tr, nmo));
  EXPECT_EQ(r.Rho_z, complex(0.5, 0.0));  // no extension
  pe.SetValue(250.0 * lg);                // half a guide wavelength
  ASSERT_TRUE(DekodMerData(frame, r, m, fc, tr, nmo));
  EXPECT_NEAR(r.Rho_z.re, -0.5, 1e-12);
  EXPECT_NEAR(r.Rho_z.im, 0.0, 1e-12);
}

// The length is one along the guide, not of an air line: 10 mm in WR-340 (a = 86.36 mm) at
// 2.45 GHz turn by 4 pi L / lambda_g = 41.53 degrees, where an air line would turn by 58.84.
TEST(PlaneExt, TheLengthIsAlongTheWaveguide) {
  const double c = 299792458.0;
  const double f = 2.45e9;
  const double fc = c / (2 * 0.08636);
  const double lg = c / f / std::sqrt(1.0 - (fc / f) * (fc / f));
  TPlaneExt pe;
  pe.SetValue(10.0);
  const double turned = CArgDeg(pe.Apply(complex(1, 0), lg));
  EXPECT_NEAR(turned, 41.53, 0.005);
  EXPECT_NEAR(720.0 * 0.010 / (c / f), 58.84, 0.005);
}

}  // namespace
}  // namespace qz
