// The sender's encoders: exact byte values of each encoding, and the round trip through the
// decoder for every frame length.
#include "core/frameenc.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>

#include "core/frame.h"

namespace qz {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(PowToBytes, ExponentAndMantissaTable) {
  struct Case {
    double watts;
    int mant, expByte;
  } cases[] = {
      {5678, 5678, 10},   {6000000, 6000, 13},  {0.005, 5000, 4},     {2e7, 10000, 13},
      {1e7, 10000, 13},   {1e6, 10000, 12},     {1000.0, 10000, 9},   {1000.5, 1000, 10},
      {1234.5, 1234, 10}, {1235.5, 1236, 10},   {10.0, 10000, 7},     {0.0125, 1250, 5},
      {0.01, 10000, 4},   {1e-5, 10, 4},        {0.0, 0, 4},          {-3.0, 0, 4},
      {kNaN, 0, 4},       {99999.5, 10000, 11}, {123456.0, 1235, 12},
  };
  for (const auto& c : cases) {
    const TPowBytes b = PowToBytes(c.watts);
    EXPECT_EQ(b.Mant, c.mant) << c.watts;
    EXPECT_EQ(b.ExpByte, c.expByte) << c.watts;
  }
}

TEST(FrameEncoders, FieldTables) {
  struct RhoCase {
    double r;
    int v;
  } rho[] = {{1.0, 4096},     {-1.0, -4096},   {8.0, 32767},      {-9.0, -32767},
             {0.5 / 4096, 0}, {1.5 / 4096, 2}, {-2.5 / 4096, -2}, {kNaN, 0}};
  for (const auto& c : rho) EXPECT_EQ(RhoPartToFrame(c.r), c.v) << c.r;

  struct TempCase {
    double t;
    int v;
  } temp[] = {{25.0, 250},     {-12.34, -123},    {0.25, 2},       {0.75, 8},
              {4000.0, 32767}, {-4000.0, -32767}, {3276.8, 32767}, {kNaN, 0}};
  for (const auto& c : temp) EXPECT_EQ(TempToFrame(c.t), c.v) << c.t;

  struct FreCase {
    double hz;
    int32_t v;
  } fre[] = {{2.45e9, 245000000}, {25.0, 2}, {35.0, 4}, {1e12, 2147483647}, {-1e12, -2147483647}};
  for (const auto& c : fre) EXPECT_EQ(FreqToFrame(c.hz), c.v) << c.hz;

  struct PosCase {
    int steps, max, v;
  } pos[] = {{-5, 5000, 0}, {6000, 5000, 5000}, {1234, 5000, 1234}, {40000, 65535, 32767}};
  for (const auto& c : pos) EXPECT_EQ(StubPosToFrame(c.steps, c.max), c.v) << c.steps;
}

TEST(FrameEncoders, ChecksumAndByteOrder) {
  TMerObjekt f{};
  PutFrameI16(f, 0, -2);
  PutFrameI32(f, 2, 0x12345678);
  PutFrameU16(f, 6, 0xABCD);
  EXPECT_EQ(f[0], 0xFE);
  EXPECT_EQ(f[1], 0xFF);
  EXPECT_EQ(f[2], 0x78);
  EXPECT_EQ(f[5], 0x12);
  EXPECT_EQ(f[6], 0xCD);
  EXPECT_EQ(f[7], 0xAB);
  EXPECT_EQ(FrameChecksum(f, 8), uint8_t(0xFE + 0xFF + 0x78 + 0x56 + 0x34 + 0x12 + 0xCD + 0xAB));
}

TEST(EncodeFrame, LengthAndStatusByteTable) {
  struct Case {
    std::string name;
    bool meas;
    int code;
    bool prfl, frePast, motors;
    int len, status;
  } cases[] = {
      {"motors only", false, 0, false, false, true, 10, 0x30},
      {"measurement only", true, 0, false, false, false, 21, 0x04},
      {"reflected power", true, 0, true, false, false, 23, 0x44},
      {"middle sample", true, 2, false, false, false, 23, 0x06},
      {"sample wins over reflected power", true, 1, true, false, false, 23, 0x05},
      {"model frame", true, 0, false, true, true, 29, 0x3C},
      {"last sample with motors", true, 3, false, true, true, 31, 0x3F},
      {"reflected power with motors", true, 0, true, false, true, 31, 0x74},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TFrameSpec s;
    s.Meas = c.meas;
    s.SampleCode = uint8_t(c.code);
    s.HasPrfl = c.prfl;
    s.FrePast = c.frePast;
    s.Motors = c.motors;
    TMerObjekt f;
    f.fill(0xAA);
    EXPECT_EQ(EncodeFrame(s, f), c.len);
    EXPECT_EQ(f[0], c.status);
    EXPECT_EQ(FrameLength(f[0]), c.len);
    EXPECT_EQ(f[c.len - 1], FrameChecksum(f, c.len - 1));
    for (int i = c.len; i < kMobSize; ++i) EXPECT_EQ(f[i], 0) << i;
    if (c.meas) {
      EXPECT_EQ(f[kOfsPrflExp], c.prfl && c.code == 0 ? 4 : 255);
    }
  }
}

// Random physical values -> encoders -> frame -> decoder give the values back within the
// resolution of each encoding.
TEST(EncodeFrame, RoundTripThroughTheDecoderForEveryLength) {
  std::mt19937_64 gen(20240611);
  std::uniform_real_distribution<double> u01(0.0, 1.0);
  auto uni = [&](double lo, double hi) { return lo + (hi - lo) * u01(gen); };
  constexpr int kMaxSteps = 5000;

  struct Shape {
    int len;
    bool meas, motors, prfl;
    int code;
  } shapes[] = {{10, false, true, false, 0}, {21, true, false, false, 0},
                {23, true, false, true, 0},  {23, true, false, false, 2},
                {29, true, true, false, 0},  {31, true, true, false, 1},
                {31, true, true, true, 0}};

  for (const auto& sh : shapes) {
    for (int iter = 0; iter < 500; ++iter) {
      SCOPED_TRACE(::testing::Message() << "length " << sh.len << " iteration " << iter);
      TFrameSpec s;
      s.Meas = sh.meas;
      s.Motors = sh.motors;
      s.HasPrfl = sh.prfl;
      s.SampleCode = uint8_t(sh.code);
      s.FrePast = u01(gen) < 0.5;
      s.ErrByte = uint8_t(gen() & 0x3F);  // never invalid
      s.Pinc_W = std::pow(10.0, uni(-7.0, 7.0));
      const double mag = uni(0.0, 1.0);
      s.RhoM = CPolar(mag, uni(-kPi, kPi));
      s.RhoZ = CPolar(uni(0.0, 1.0), uni(-kPi, kPi));
      s.Prfl_W = s.Pinc_W * mag * mag;
      s.Temp_C = uni(-50.0, 200.0);
      s.Freq_Hz = uni(1e8, 2e10);
      s.SampleIndex = uint16_t(gen() & 0xFFFF);
      s.MaxSteps = kMaxSteps;
      s.Pos = MakeMotPos(int16_t(gen() % (kMaxSteps + 1)), int16_t(gen() % (kMaxSteps + 1)),
                         int16_t(gen() % (kMaxSteps + 1)));
      s.MotStatus = uint8_t(gen() & 0xFF);
      s.MotError = uint8_t(gen() & 0x87);
      TMerObjekt f;
      ASSERT_EQ(EncodeFrame(s, f), sh.len);

      THresults r;
      TMotState m;
      m.ErrFlags = kMotErrReadFail;
      uint16_t nmo = 0;
      ASSERT_TRUE(DekodMerData(f, r, m, 0.0, nmo));
      EXPECT_EQ(nmo, sh.len - 1);
      EXPECT_EQ(r.je_qv, sh.meas);
      EXPECT_EQ(r.su_mot, sh.motors);
      if (sh.meas) {
        // Four significant digits, or 0.5 in the last place of the 1e-6 W decade.
        const double pTol = std::max(5.0e-4 * s.Pinc_W, 0.5e-6) * (1 + 1e-9);
        EXPECT_NEAR(r.Pinc, s.Pinc_W, pTol);
        EXPECT_NEAR(r.Temp, s.Temp_C, 0.05 + 1e-9);
        EXPECT_NEAR(r.FreD, s.Freq_Hz, 5.0 + 1e-6);
        const double rTol = 0.5 / 4096 + 1e-12;
        EXPECT_NEAR(r.Rho_m.re, s.RhoM.re, rTol);
        EXPECT_NEAR(r.Rho_m.im, s.RhoM.im, rTol);
        EXPECT_NEAR(r.Rho_z.re, s.RhoZ.re, rTol);
        EXPECT_NEAR(r.Rho_z.im, s.RhoZ.im, rTol);
        EXPECT_EQ(r.ErrByte, s.ErrByte);
        EXPECT_EQ(r.FrePast, s.FrePast);
        EXPECT_EQ(r.Oflow, (s.ErrByte & 0x02) != 0);
        EXPECT_EQ(r.FreSubst, (s.ErrByte & 0x20) != 0);
        if (sh.code != 0) {
          EXPECT_EQ(r.jx, s.SampleIndex);
        }
        if (sh.prfl) {
          const double prTol = std::max(5.0e-4 * s.Prfl_W, 0.5e-6) * (1 + 1e-9);
          EXPECT_NEAR(r.Prfl, s.Prfl_W, prTol + pTol);
        } else {
          EXPECT_NEAR(r.Prfl, r.Mag_m * r.Mag_m * r.Pinc, 1e-12 * r.Pinc);
        }
        EXPECT_LE(r.Prfl, r.Pinc);
        EXPECT_DOUBLE_EQ(r.Pabs, r.Pinc - r.Prfl);
      }
      if (sh.motors) {
        EXPECT_EQ(m.MotStatus, s.MotStatus);
        EXPECT_EQ(m.MotError, s.MotError);
        EXPECT_EQ(m.ErrFlags, kMotErrReadFail | (s.MotError & 7));
        EXPECT_EQ((s.MotError & 0x80) ? m.TunePos : m.ActPos, s.Pos);
      }

      // The same frame with a wrong checksum is rejected, and its flags are still written.
      TMerObjekt bad = f;
      bad[sh.len - 1] = uint8_t(bad[sh.len - 1] + 1 + gen() % 255);
      THresults rb;
      rb.Pinc = -1.0;
      TMotState mb;
      EXPECT_FALSE(DekodMerData(bad, rb, mb, 0.0, nmo));
      EXPECT_EQ(rb.je_qv, sh.meas);
      EXPECT_EQ(rb.su_mot, sh.motors);
      EXPECT_EQ(rb.FrePast, sh.meas && s.FrePast);
      if (sh.meas) {
        EXPECT_EQ(rb.ErrByte, s.ErrByte);
        EXPECT_EQ(rb.PulsErr, (s.ErrByte & 0x01) != 0);
        EXPECT_EQ(rb.LowSignal, (s.ErrByte & 0x10) != 0);
      }
      EXPECT_EQ(rb.Pinc, -1.0);
      EXPECT_EQ(mb.ActPos, TMotPos{});
      EXPECT_EQ(mb.MotStatus, 0);
    }
  }
}

TEST(EncodeFrame, OutOfRangeValuesAreLimitedNotWrapped) {
  TFrameSpec s;
  s.Pinc_W = 5e7;
  s.Temp_C = 5000.0;  // 50000 in 0.1 C would wrap to a negative 16-bit value
  s.RhoM = complex(9.0, -9.0);
  s.MaxSteps = 5000;
  s.Pos = MakeMotPos(-10, 5001, 32767);
  TMerObjekt f;
  ASSERT_EQ(EncodeFrame(s, f), 29);
  THresults r;
  TMotState m;
  uint16_t nmo = 0;
  ASSERT_TRUE(DekodMerData(f, r, m, 0.0, nmo));
  EXPECT_DOUBLE_EQ(r.Pinc, 1e7);
  EXPECT_DOUBLE_EQ(r.Temp, 3276.7);
  EXPECT_DOUBLE_EQ(r.Rho_m.re, 32767.0 / 4096.0);
  EXPECT_DOUBLE_EQ(r.Rho_m.im, -32767.0 / 4096.0);
  EXPECT_EQ(m.ActPos, MakeMotPos(0, 5000, 5000));
}

}  // namespace
}  // namespace qz
