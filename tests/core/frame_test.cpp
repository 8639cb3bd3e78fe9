// The decoder against hand-built frames: presence rules, acceptance, the values of each field and
// what a rejected or invalid frame leaves alone.
#include "core/frame.h"

#include <gtest/gtest.h>

#include "common/testframes.h"

#include <cmath>
#include <initializer_list>
#include <string>
#include <vector>

#include "core/onesweep.h"

namespace qz {
namespace {

using testing::RawFrame;

// Measurement block bytes 1..19 with the given error byte, power bytes, rho_m and frequency.
struct MeasBytes {
  int err = 0;
  int pHi = 0x16, pLo = 0x2E, pExp = 10;  // 5678 W
  int16_t temp = 250;                     // 25.0 C
  int prflExp = 255;
  int16_t rmRe = 0, rmIm = 0;
  int32_t fre = 245000000;  // 2.45 GHz
  int16_t rzRe = 0, rzIm = 0;
};

void Append16(std::vector<int>& v, int16_t x) {
  v.push_back(uint16_t(x) & 0xFF);
  v.push_back(uint16_t(x) >> 8);
}

TMerObjekt Build(int status, const MeasBytes* m, std::initializer_list<int> ext,
                 std::initializer_list<int> motor, int checksumDelta = 0) {
  std::vector<int> v{status};
  if (m) {
    v.push_back(m->err);
    v.push_back(m->pHi);
    v.push_back(m->pLo);
    v.push_back(m->pExp);
    Append16(v, m->temp);
    v.push_back(m->prflExp);
    Append16(v, m->rmRe);
    Append16(v, m->rmIm);
    const uint32_t u = uint32_t(m->fre);
    for (int k = 0; k < 4; ++k) v.push_back((u >> (8 * k)) & 0xFF);
    Append16(v, m->rzRe);
    Append16(v, m->rzIm);
  }
  v.insert(v.end(), ext.begin(), ext.end());
  v.insert(v.end(), motor.begin(), motor.end());
  TMerObjekt f{};
  unsigned sum = 0;
  for (size_t i = 0; i < v.size(); ++i) {
    f[i] = uint8_t(v[i]);
    sum += f[i];
  }
  f[v.size()] = uint8_t((sum + checksumDelta) & 0xFF);
  return f;
}

constexpr double kFcDefault = 1.49896229e11 / 86.36;  // default waveguide, c / 2a

struct PresenceCase {
  std::string name;
  TMerObjekt frame;
  bool accepted, je_qv, su_mot, je_jx, je_prfl, qv_ok, QvInvalid;
  int nmo;
};

TEST(DekodMerData, PresenceFlagsAcceptanceAndCursor) {
  const MeasBytes ok;
  MeasBytes invalid;
  invalid.err = 0x40;
  const std::initializer_list<int> mot = {1, 0, 2, 0, 3, 0, 0x77, 0};
  const PresenceCase cases[] = {
      {"motor block only", RawFrame({0x10, 1, 0, 2, 0, 3, 0, 0x77, 0}), true, false, true, false,
       false, false, false, 9},
      {"measurement only", Build(0x04, &ok, {}, {}), true, true, false, false, false, true, false,
       20},
      {"measurement with reflected power", Build(0x44, &ok, {0x10, 0x27}, {}), true, true, false,
       false, true, true, false, 22},
      {"sample code 1 with bit 6 is a sample", Build(0x45, &ok, {5, 0}, {}), true, true, false,
       true, false, true, false, 22},
      {"model frame", Build(0x3C, &ok, {}, mot), true, true, true, false, false, true, false, 28},
      {"sample with motors", Build(0x3F, &ok, {7, 1}, mot), true, true, true, true, false, true,
       false, 30},
      {"invalid measurement alone is rejected", Build(0x04, &invalid, {}, {}), false, true, false,
       false, false, false, true, 20},
      {"invalid measurement with motors is accepted", Build(0x14, &invalid, {}, mot), true, true,
       true, false, false, false, true, 28},
      {"neither block", RawFrame({0x00}), false, false, false, false, false, false, false, 1},
      {"bit 6 without measurement block is ignored", RawFrame({0x50, 1, 0, 2, 0, 3, 0, 0, 0}), true,
       false, true, false, false, false, false, 9},
      {"wrong checksum", Build(0x3C, &ok, {}, mot, 1), false, true, true, false, false, true, false,
       28},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    THresults r;
    TMotState m;
    uint16_t nmo = 999;
    EXPECT_EQ(DekodMerData(c.frame, r, m, kFcDefault, nmo), c.accepted);
    EXPECT_EQ(r.je_qv, c.je_qv);
    EXPECT_EQ(r.su_mot, c.su_mot);
    EXPECT_EQ(r.je_jx, c.je_jx);
    EXPECT_EQ(r.je_prfl, c.je_prfl);
    EXPECT_EQ(r.qv_ok, c.qv_ok);
    EXPECT_EQ(r.QvInvalid, c.QvInvalid);
    EXPECT_EQ(nmo, c.nmo);
    EXPECT_EQ(FrameLength(c.frame[0]), c.nmo + 1);
  }
}

TEST(DekodMerData, MotorOnlyFrameChangesOnlyTheMotorState) {
  const TMerObjekt f = RawFrame({0x10, 0x10, 0x00, 0xE8, 0x03, 0x88, 0x13, 0x77, 0x05});
  THresults r;
  r.Pinc = 123.0;
  r.Fre = 42;
  r.ErrByte = 0x11;
  TMotState m;
  m.ErrFlags = kMotErrReadFail;
  uint16_t nmo = 0;
  ASSERT_TRUE(DekodMerData(f, r, m, kFcDefault, nmo));
  EXPECT_FALSE(r.je_qv);
  EXPECT_EQ(r.Pinc, 123.0);
  EXPECT_EQ(r.Fre, 42);
  EXPECT_EQ(r.ErrByte, 0x11);
  EXPECT_EQ(m.ActPos, MakeMotPos(16, 1000, 5000));
  EXPECT_EQ(m.TunePos, MakeMotPos(0, 0, 0));
  EXPECT_EQ(m.MotStatus, 0x77);
  EXPECT_EQ(m.MotError, 0x05);
  // Bits 0..2 from the frame, the read-failure bit kept.
  EXPECT_EQ(m.ErrFlags, 0x0D);
}

TEST(DekodMerData, TunePositionsWhenErrorBit7IsSet) {
  const TMerObjekt f = RawFrame({0x10, 10, 0, 20, 0, 30, 0, 0x77, 0x82});
  THresults r;
  TMotState m;
  m.ActPos = MakeMotPos(1, 2, 3);
  m.ErrFlags = 0x0F;
  uint16_t nmo = 0;
  ASSERT_TRUE(DekodMerData(f, r, m, kFcDefault, nmo));
  EXPECT_EQ(m.TunePos, MakeMotPos(10, 20, 30));
  EXPECT_EQ(m.ActPos, MakeMotPos(1, 2, 3));
  EXPECT_EQ(m.ErrFlags, 0x0A);
}

TEST(DekodMerData, InvalidMeasurementKeepsValuesButSetsFlags) {
  MeasBytes good;
  good.rmRe = 2048;
  THresults r;
  TMotState m;
  uint16_t nmo = 0;
  ASSERT_TRUE(DekodMerData(Build(0x04, &good, {}, {}), r, m, kFcDefault, nmo));
  const THresults before = r;

  MeasBytes bad;
  bad.err = 0x40 | 0x01 | 0x20;
  bad.pHi = 0x00;
  bad.pLo = 0x01;
  bad.rmRe = -4096;
  bad.fre = 100;
  const std::initializer_list<int> mot = {5, 0, 6, 0, 7, 0, 0x77, 0};
  ASSERT_TRUE(DekodMerData(Build(0x34, &bad, {}, mot), r, m, kFcDefault, nmo));
  EXPECT_FALSE(r.qv_ok);
  EXPECT_TRUE(r.PulsErr);
  EXPECT_TRUE(r.FreSubst);
  EXPECT_EQ(r.ErrByte, bad.err);
  EXPECT_EQ(r.Pinc, before.Pinc);
  EXPECT_EQ(r.Rho_m, before.Rho_m);
  EXPECT_EQ(r.Fre, before.Fre);
  EXPECT_EQ(r.Prfl, before.Prfl);
  EXPECT_EQ(m.ActPos, MakeMotPos(5, 6, 7));
  EXPECT_EQ(nmo, 28);
}

TEST(DekodMerData, RejectedFrameStillWritesErrorFlagsAndFrePast) {
  MeasBytes mb;
  mb.err = 0x1F;
  mb.fre = 777;
  THresults r;
  r.Fre = 5;
  r.Pinc = 9.0;
  TMotState m;
  m.ActPos = MakeMotPos(1, 1, 1);
  uint16_t nmo = 0;
  const std::initializer_list<int> mot = {5, 0, 6, 0, 7, 0, 0x77, 0};
  EXPECT_FALSE(DekodMerData(Build(0x3C, &mb, {}, mot, 3), r, m, kFcDefault, nmo));
  EXPECT_TRUE(r.PulsErr);
  EXPECT_TRUE(r.Oflow);
  EXPECT_TRUE(r.TooCold);
  EXPECT_TRUE(r.TooHot);
  EXPECT_TRUE(r.LowSignal);
  EXPECT_FALSE(r.FreSubst);
  EXPECT_TRUE(r.FrePast);
  EXPECT_EQ(r.ErrByte, 0x1F);
  EXPECT_EQ(r.Fre, 5);
  EXPECT_EQ(r.Pinc, 9.0);
  EXPECT_EQ(m.ActPos, MakeMotPos(1, 1, 1));
}

struct ValueCase {
  std::string name;
  int status;
  MeasBytes m;
  std::vector<int> ext;
  double Pinc, Prfl, Pabs;
};

TEST(DekodMerData, PowersTable) {
  MeasBytes p10k;  // incident power bytes 2 = 0x27, 3 = 0x10, exponent byte 10
  p10k.pHi = 0x27;
  p10k.pLo = 0x10;
  MeasBytes p10kPrfl = p10k;  // reflected power bytes 20 = 0x10, 21 = 0x27, byte 7 = 10
  p10kPrfl.prflExp = 10;
  MeasBytes mag1 = p10k;
  mag1.rmIm = 4096;  // |rho| = 1
  MeasBytes mag2 = p10k;
  mag2.rmRe = -8192;  // |rho| = 2: computed 40000 W, cut to 10000 W
  MeasBytes half = p10k;
  half.rmRe = 2048;  // |rho| = 0.5
  MeasBytes milli;   // 5000 x 10^-6 = 0.005 W
  milli.pHi = 0x13;
  milli.pLo = 0x88;
  milli.pExp = 4;
  MeasBytes big;  // 6000 x 10^3
  big.pHi = 0x17;
  big.pLo = 0x70;
  big.pExp = 13;
  MeasBytes prflSmall = p10k;  // reflected 2500 x 10^0 in a 10000 W frame
  prflSmall.prflExp = 10;
  prflSmall.rmRe = 4096;     // not used for Prfl when it is carried
  MeasBytes prflBig = p10k;  // reflected 9999 x 10^1, cut to Pinc
  prflBig.prflExp = 11;

  const ValueCase cases[] = {
      {"incident 0x2710 exp 10", 0x04, p10k, {}, 10000, 0, 10000},
      {"reflected 0x10 0x27 exp 10", 0x44, p10kPrfl, {0x10, 0x27}, 10000, 10000, 0},
      {"magnitude 1 reflects all", 0x04, mag1, {}, 10000, 10000, 0},
      {"computed Prfl above Pinc is cut", 0x04, mag2, {}, 10000, 10000, 0},
      {"magnitude 0.5 reflects a quarter", 0x04, half, {}, 10000, 2500, 7500},
      {"exponent byte 4", 0x04, milli, {}, 0.005, 0, 0.005},
      {"exponent byte 13", 0x04, big, {}, 6e6, 0, 6e6},
      {"carried Prfl used as is", 0x44, prflSmall, {0xC4, 0x09}, 10000, 2500, 7500},
      {"carried Prfl above Pinc is cut", 0x44, prflBig, {0x0F, 0x27}, 10000, 10000, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TMerObjekt f;
    if (c.ext.empty())
      f = Build(c.status, &c.m, {}, {});
    else
      f = Build(c.status, &c.m, {c.ext[0], c.ext[1]}, {});
    THresults r;
    TMotState mot;
    uint16_t nmo = 0;
    ASSERT_TRUE(DekodMerData(f, r, mot, kFcDefault, nmo));
    EXPECT_NEAR(r.Pinc, c.Pinc, 1e-9 * c.Pinc);
    EXPECT_NEAR(r.Prfl, c.Prfl, 1e-9 * c.Pinc);
    EXPECT_NEAR(r.Pabs, c.Pabs, 1e-9 * c.Pinc);
  }
}

TEST(DekodMerData, SampleCodeWithBit6CarriesTheIndexNotPower) {
  MeasBytes mb;
  mb.prflExp = 10;
  mb.rmRe = 2048;  // |rho| 0.5 -> Prfl = Pinc / 4
  THresults r;
  r.Prfl = -1.0;
  TMotState m;
  uint16_t nmo = 0;
  ASSERT_TRUE(DekodMerData(Build(0x47, &mb, {0x34, 0x12}, {}), r, m, kFcDefault, nmo));
  EXPECT_TRUE(r.je_jx);
  EXPECT_FALSE(r.je_prfl);
  EXPECT_EQ(r.jx, 0x1234);
  EXPECT_NEAR(r.Prfl, 5678.0 / 4.0, 1e-9);
}

TEST(DekodMerData, FieldValues) {
  MeasBytes mb;
  mb.temp = -123;
  mb.rmRe = 0;
  mb.rmIm = -2048;
  mb.rzRe = -4096;
  mb.rzIm = 0;
  mb.fre = 245000000;
  THresults r;
  TMotState m;
  uint16_t nmo = 0;
  ASSERT_TRUE(DekodMerData(Build(0x0C, &mb, {}, {}), r, m, kFcDefault, nmo));
  EXPECT_EQ(r.Fre, 245000000);
  EXPECT_DOUBLE_EQ(r.FreD, 2.45e9);  // beyond 32 bits once multiplied by 10
  EXPECT_DOUBLE_EQ(r.Temp, -12.3);
  EXPECT_DOUBLE_EQ(r.Mag_m, 0.5);
  EXPECT_DOUBLE_EQ(r.Pha_m, -90.0);
  EXPECT_DOUBLE_EQ(r.Mag_z, 1.0);
  EXPECT_DOUBLE_EQ(r.Pha_z, 180.0);
  EXPECT_TRUE(r.FrePast);
  // Guide wavelength of the 86.36 mm guide at 2.45 GHz is about 173.5 mm.
  EXPECT_NEAR(r.LG, 0.1735, 5e-4);
}

TEST(DekodMerData, GuideWavelengthAtAndBelowCutoff) {
  struct Case {
    int32_t fre;
    double fc;
    double lg;
  } cases[] = {
      {173570000, 1735700000.0, -1.0},           // at cut-off
      {100000000, 1735700000.0, -1.0},           // below
      {0, 0.0, -1.0},                            // no frequency on a coaxial line
      {29979245, 0.0, 1.0 + 8.0 / 299792450.0},  // coax: c / f
  };
  for (const auto& c : cases) {
    MeasBytes mb;
    mb.fre = c.fre;
    THresults r;
    TMotState m;
    uint16_t nmo = 0;
    ASSERT_TRUE(DekodMerData(Build(0x04, &mb, {}, {}), r, m, c.fc, nmo));
    EXPECT_NEAR(r.LG, c.lg, 1e-12) << c.fre;
  }
}

// A transform that records its use: halves the measured reflection and rotates the load's.
class FakeTransforms : public TFrameTransforms {
 public:
  bool bilin = true, plane = true;
  double factor = 0.0;
  mutable double seenFreq = -1.0;
  bool BilinActive() const override { return bilin; }
  complex BilinToShown(const complex& rho, double f) const override {
    seenFreq = f;
    return rho * 0.5;
  }
  bool PlaneExtOn() const override { return plane; }
  double PlaneExtFactor() const override { return factor; }
};

TEST(DekodMerData, AppliesBilinearTransformAndPlaneExtension) {
  MeasBytes mb;
  mb.rmRe = 4096;     // 1 -> 0.5 after the transform
  mb.rzRe = 2048;     // 0.5 rotated by pi -> -0.5
  mb.fre = 29979245;  // coax, LG = c / f = 1.0000000267 m
  FakeTransforms tr;
  tr.factor = kPi * (299792458.0 / 299792450.0);  // theta = factor / LG = pi
  THresults r;
  TMotState m;
  uint16_t nmo = 0;
  ASSERT_TRUE(DekodMerData(Build(0x04, &mb, {}, {}), r, m, 0.0, tr, nmo));
  EXPECT_DOUBLE_EQ(tr.seenFreq, 299792450.0);
  EXPECT_NEAR(r.Rho_m.re, 0.5, 1e-15);
  EXPECT_NEAR(r.Mag_m, 0.5, 1e-15);
  EXPECT_NEAR(r.Prfl, 0.25 * 5678.0, 1e-9);
  EXPECT_NEAR(r.Rho_z.re, -0.5, 1e-12);
  EXPECT_NEAR(r.Rho_z.im, 0.0, 1e-12);
  EXPECT_NEAR(std::fabs(r.Pha_z), 180.0, 1e-9);

  tr.bilin = false;
  tr.plane = false;
  tr.seenFreq = -1.0;
  ASSERT_TRUE(DekodMerData(Build(0x04, &mb, {}, {}), r, m, 0.0, tr, nmo));
  EXPECT_EQ(tr.seenFreq, -1.0);
  EXPECT_EQ(r.Rho_m, complex(1.0, 0.0));
  EXPECT_EQ(r.Rho_z, complex(0.5, 0.0));
}

TEST(DekodMerData, StoredFrameOverwritesMotorStateLikeALiveOne) {
  MeasBytes mb;
  TOneSweep swp;
  swp.SetNwanted(2);
  swp.Add(Build(0x3C, &mb, {}, {100, 0, 0, 0, 0, 0, 0x77, 0}));
  swp.Add(Build(0x3C, &mb, {}, {200, 0, 0, 0, 0, 0, 0x77, 0}));
  THresults r;
  TMotState m;
  uint16_t nmo = 0;
  ASSERT_TRUE(DekodMerData(swp.Frame(1), r, m, kFcDefault, nmo));
  EXPECT_EQ(m.ActPos[1], 200);
  ASSERT_TRUE(DekodMerData(swp.Frame(0), r, m, kFcDefault, nmo));
  EXPECT_EQ(m.ActPos[1], 100);
}

}  // namespace
}  // namespace qz
