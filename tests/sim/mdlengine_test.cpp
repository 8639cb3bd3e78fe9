// The simulated analyzer's frames: layout, encodings, flags, sampling blocks and the decoding of
// every frame it builds.
#include "sim/mdlengine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "core/frame.h"
#include "core/frameenc.h"
#include "mdltesthelpers.h"
#include "sim/mdlanim.h"
#include "util/unitconv.h"

namespace qz {
namespace {

using testing::MdlRig;
using testing::ScopedRandom;

constexpr double kRhoRes = 1.0 / 4096.0;

THresults Decode(const TMerObjekt& f) {
  THresults res;
  TMotState mot;
  uint16_t nmo = 0;
  EXPECT_TRUE(DekodMerData(f, res, mot, 0.0, nmo));
  return res;
}

int SumMod256(const TMerObjekt& f, int n) {
  int s = 0;
  for (int i = 0; i < n; ++i) s += f[i];
  return s % 256;
}

TEST(MdlFrame, CwFrameLayout) {
  ScopedRandom rnd;  // every draw 0.5: no deviation
  MdlRig r;
  r.m.SimulRo = CPolarDeg(0.2, 33.0);
  r.tuner.Pos = MakeMotPos(100, 2000, 9000);
  r.tuner.Max = 3000;
  TMerObjekt f{};
  ASSERT_EQ(r.m.GetMobBytes(1, f), 29);
  EXPECT_EQ(f[0], 0x3C);
  EXPECT_EQ(f[1], 0);
  EXPECT_EQ(f[7], 255);
  EXPECT_EQ(f[26], 119);
  EXPECT_EQ(f[27], 0);
  EXPECT_EQ(f[28], SumMod256(f, 28));
  // Stub positions limited to the tuner's maximum.
  EXPECT_EQ(FrameI16(f, 20), 100);
  EXPECT_EQ(FrameI16(f, 22), 2000);
  EXPECT_EQ(FrameI16(f, 24), 3000);
  const THresults res = Decode(f);
  EXPECT_DOUBLE_EQ(res.Pinc, 5678.0);
  EXPECT_DOUBLE_EQ(res.Temp, 25.0);
  EXPECT_DOUBLE_EQ(res.FreD, 2.45e9);
  EXPECT_NEAR(res.Rho_z.re, r.m.SimulRo.re, kRhoRes);
  EXPECT_NEAR(res.Rho_z.im, r.m.SimulRo.im, kRhoRes);
  EXPECT_NEAR(res.Rho_m.re, r.m.SimulRo.re, kRhoRes);
  EXPECT_FALSE(res.FreSubst || res.TooCold || res.TooHot || res.Oflow || res.LowSignal);
  // The tuner was asked once for the frame's frequency and ran its step once.
  EXPECT_EQ(r.tuner.FillCount, 1);
  EXPECT_EQ(r.tuner.StepCount, 1);
}

TEST(MdlFrame, PowerEncoding) {
  struct Case {
    double w;
    int mant;
    int exp;
  } cases[] = {{5678, 5678, 10}, {6e6, 6000, 13}, {0.005, 5000, 4}, {2e7, 10000, 13}};
  for (const Case& c : cases) {
    ScopedRandom rnd;
    MdlRig r;
    r.m.Pow = c.w;
    r.m.Puncert = 0;
    TMerObjekt f{};
    r.m.GetMobBytes(1, f);
    EXPECT_EQ(f[2] * 256 + f[3], c.mant) << c.w;
    EXPECT_EQ(f[4], c.exp) << c.w;
  }
}

TEST(MdlFrame, TemperatureFlags) {
  struct Case {
    double t;
    uint8_t bits;
  } cases[] = {{4.9, 0x04}, {55.1, 0x08},   {5.0, 0},       {55.0, 0},
               {25.0, 0},   {4000.0, 0x08}, {-4000.0, 0x04}};
  for (const Case& c : cases) {
    ScopedRandom rnd;
    MdlRig r;
    r.m.Temp = c.t;
    r.m.ErrByte = 0x0C;  // stale temperature bits chosen by nobody are replaced
    TMerObjekt f{};
    r.m.GetMobBytes(1, f);
    EXPECT_EQ(f[1] & 0x0C, c.bits) << c.t;
    // Far beyond the 16-bit range the value stops at the limit instead of wrapping.
    EXPECT_EQ(FrameI16(f, 5), std::clamp<long>(std::lround(c.t * 10), -32767, 32767)) << c.t;
  }
}

TEST(MdlFrame, CounterOffOrOutsideWindowSendsSubstitute) {
  struct Case {
    uint8_t cntOn;
    double fHz;
    bool subst;
  } cases[] = {{0, 2.45e9, true}, {1, 2.45e9, false}, {1, 2.6e9, true}, {1, 2.51e9, false}};
  for (const Case& c : cases) {
    ScopedRandom rnd;
    MdlRig r;
    r.qv.VarPar.IsCntOn = c.cntOn;
    r.qv.VarPar.FsubstKHz = 2400000;
    r.m.f_Hz = c.fHz;
    r.m.ErrByte = kErOflow;
    TMerObjekt f{};
    r.m.GetMobBytes(1, f);
    const THresults res = Decode(f);
    EXPECT_EQ(res.FreSubst, c.subst) << c.fHz;
    EXPECT_TRUE(res.Oflow);
    EXPECT_DOUBLE_EQ(res.FreD, c.subst ? 2.4e9 : c.fHz);
    EXPECT_DOUBLE_EQ(r.tuner.LastFreq, res.FreD);
  }
}

TEST(MdlFrame, OnlyPowerAndReflectionDeviationsShrinkWithAveraging) {
  for (int avg : {1, 4}) {
    // Draw order: power, frequency, temperature (no reflection uncertainty).
    ScopedRandom rnd({0.75, 0.75, 0.75});
    MdlRig r;
    r.m.Pow = 1000;
    r.m.Puncert = 10;  // +-10 %: u = 0.75 gives +50 W at avg 1
    r.m.Funcert = 1;   // +-1 %: u = 0.75 gives +0.5 %
    r.m.Tuncert = 10;  // +-10 C: u = 0.75 gives +5 C
    TMerObjekt f{};
    r.m.GetMobBytes(avg, f);
    const THresults res = Decode(f);
    EXPECT_DOUBLE_EQ(res.Pinc, 1000 + 50.0 / std::sqrt(double(avg)));
    EXPECT_NEAR(res.FreD, 2.45e9 * 1.005, 10);
    EXPECT_DOUBLE_EQ(res.Temp, 30.0);
  }
}

TEST(MdlFrame, RandRhoMayHaveNegativeMagnitude) {
  ScopedRandom rnd({0.25, 0.75});
  MdlRig r;
  const complex z = r.m.RandRho(4, 0.2);
  // magnitude (0.25 - 0.5) * 2 * 0.2 / 2 = -0.05, phase 90 degrees
  EXPECT_NEAR(z.re, 0.0, 1e-12);
  EXPECT_NEAR(z.im, -0.05, 1e-12);
  EXPECT_EQ(rnd.src->draws, 2);
  EXPECT_EQ(r.m.RandRho(1, 0.0), complex());
  EXPECT_EQ(rnd.src->draws, 2);
}

TEST(MdlFrame, MatchWithoutUncertaintyGivesZeroLoad) {
  ScopedRandom rnd({}, 0.3);
  MdlRig r;
  r.m.SimulRo = complex();
  TMerObjekt f{};
  r.m.GetMobBytes(1, f);
  EXPECT_EQ(FrameI16(f, 16), 0);
  EXPECT_EQ(FrameI16(f, 18), 0);
  EXPECT_EQ(r.tuner.LastRloa, complex());
}

TEST(MdlEnvelope, KnownPoints) {
  EXPECT_NEAR(RectEnvelope(0.2), 0.7167590027700831, 1e-12);
  EXPECT_DOUBLE_EQ(RectEnvelope(0.7), 0.0);  // negative half cut off
  EXPECT_NEAR(PulsEnvelope(0.06), 0.6321205588285574, 1e-12);
  EXPECT_NEAR(PulsEnvelope(0.30), 0.9999999999861121, 1e-12);
  EXPECT_NEAR(PulsEnvelope(0.32), 0.3678794411663329, 1e-12);
  // Continuous at the end of the rise and across the wrap.
  EXPECT_NEAR(PulsEnvelope(0.30 - 1e-9), PulsEnvelope(0.30), 1e-6);
  EXPECT_NEAR(PulsEnvelope(0.05 - 1e-9), PulsEnvelope(0.05), 1e-6);
}

TEST(MdlBlock, RectifiedBlockWithClosingMean) {
  ScopedRandom rnd;
  MdlRig r;
  constexpr int N = 5;
  r.qv.VarPar.Waveform = wfRectified;
  r.qv.Rectif.Bsamples = true;
  r.qv.Rectif.Nvzoriek = N;
  r.qv.Rectif.Periods = 1;
  r.m.Pow = 1000;
  r.m.Puncert = 0;
  r.m.ErrByte = kErOflow;  // never in a block's frames
  r.m.Temp = 80;
  r.m.SetSmpl(true);
  const uint8_t status[N] = {0x3D, 0x3E, 0x3E, 0x3E, 0x3F};
  double sum = 0;
  TMerObjekt f{};
  for (int i = 0; i < N; ++i) {
    ASSERT_EQ(r.m.GetMobBytes(1, f), 31) << i;
    EXPECT_EQ(f[0], status[i]);
    EXPECT_EQ(f[1], 0);
    EXPECT_EQ(FrameU16(f, 20), i);
    EXPECT_EQ(f[30], SumMod256(f, 30));
    const THresults res = Decode(f);
    EXPECT_EQ(res.jx, i);
    const double expect = RectEnvelope(i / double(N)) * 1000;
    EXPECT_NEAR(res.Pinc, expect, expect * 1e-3 + 1e-9);
    sum += expect;
  }
  EXPECT_TRUE(r.sleeps.empty());
  ASSERT_EQ(r.m.GetMobBytes(1, f), 29);
  EXPECT_EQ(f[0], 0x3C);
  EXPECT_EQ(f[1], 0);
  EXPECT_NEAR(Decode(f).Pinc, sum / N, sum / N * 1e-3);
  EXPECT_EQ(r.m.smpl, 0);
  // The next block starts again at sample 0.
  r.m.GetMobBytes(1, f);
  EXPECT_EQ(f[0], 0x3D);
}

TEST(MdlBlock, PulsedClosingFrameIsUnshaped) {
  ScopedRandom rnd;
  MdlRig r;
  r.qv.VarPar.Waveform = wfPulsed;
  r.qv.Pulsed.Bsamples = true;
  r.qv.Pulsed.Nvzoriek = 3;
  r.m.Pow = 1000;
  r.m.Puncert = 0;
  TMerObjekt f{};
  for (int i = 0; i < 3; ++i) r.m.GetMobBytes(1, f);
  EXPECT_EQ(r.m.smpl, -1);
  r.m.GetMobBytes(1, f);
  EXPECT_DOUBLE_EQ(Decode(f).Pinc, 1000);
}

TEST(MdlBlock, AbsentSignalGivesNoiseOnly) {
  ScopedRandom rnd({}, 0.75);
  MdlRig r;
  r.qv.VarPar.Waveform = wfRectified;
  r.qv.Rectif.Bsamples = true;
  r.qv.Rectif.Nvzoriek = 10;
  r.m.smpl = 7;  // phase 0.7: the rectified envelope is 0
  r.m.SimulRo = complex(0.5, 0);
  r.m.Runcert = 0.1;
  TMerObjekt f{};
  r.m.GetMobBytes(1, f);
  EXPECT_FALSE(r.m.PValid);
  // Only the noise draw: magnitude 0.25 * 0.2 = 0.05 at 90 degrees.
  const THresults res = Decode(f);
  EXPECT_NEAR(res.Rho_m.re, 0.0, kRhoRes);
  EXPECT_NEAR(res.Rho_m.im, 0.05, kRhoRes);
}

TEST(MdlBlock, StaleAverageNotUsedWithoutBlockSampling) {
  ScopedRandom rnd;
  MdlRig r;
  r.qv.VarPar.Waveform = wfRectified;
  r.qv.Rectif.Bsamples = false;
  r.m.Puncert = 0;
  r.m.Pow = 1000;
  r.m.Paver = 5;
  r.m.smpl = -1;  // left by a block run
  TMerObjekt f{};
  r.m.GetMobBytes(1, f);
  EXPECT_DOUBLE_EQ(Decode(f).Pinc, 1000);
}

TEST(MdlBlock, SampleIndexWrapsAtOrPastEnd) {
  MdlRig r;
  r.qv.VarPar.Waveform = wfRectified;
  r.qv.Rectif.Bsamples = true;
  r.qv.Rectif.Nvzoriek = 5;
  struct Case {
    int from, to;
  } cases[] = {{0, 1}, {3, 4}, {4, -1}, {-1, 0}, {9, -1}};
  for (const Case& c : cases) {
    r.m.smpl = c.from;
    r.m.SetSmpl(false);
    EXPECT_EQ(r.m.smpl, c.to) << c.from;
  }
  r.qv.Rectif.Bsamples = false;
  r.m.smpl = 3;
  r.m.SetSmpl(false);
  EXPECT_EQ(r.m.smpl, 3);
  r.m.SetSmpl(true);
  EXPECT_EQ(r.m.smpl, 0);
}

TEST(MdlPause, ProportionalAndOnlyWhereDue) {
  ScopedRandom rnd;
  MdlRig r;
  r.m.WaitCyclesCount = 100;
  TMerObjekt f{};
  r.m.GetMobBytes(1, f);
  ASSERT_EQ(r.sleeps.size(), 1u);
  EXPECT_EQ(r.sleeps[0], 100 * kPauseUsPerCount);
  r.qv.VarPar.Waveform = wfPulsed;  // block sampling off: no pause
  r.m.GetMobBytes(1, f);
  EXPECT_EQ(r.sleeps.size(), 1u);
  r.qv.Pulsed.Bsamples = true;
  r.qv.Pulsed.Nvzoriek = 2;
  r.m.SetSmpl(true);
  for (int i = 0; i < 3; ++i) r.m.GetMobBytes(1, f);  // samples 0, 1 and the closing frame
  EXPECT_EQ(r.sleeps.size(), 2u);                     // after the closing frame only
  r.m.WaitCyclesCount = 0;
  r.qv.VarPar.Waveform = wfCW;
  r.m.GetMobBytes(1, f);
  EXPECT_EQ(r.sleeps.size(), 2u);
}

// A tuner that rotates: the input is the load turned by alpha, the analyzer plane the input
// turned back by beta, so a frame that mixed them up would show.
class RotTuner : public TTransparentTuner {
 public:
  complex InputFromLoad(const complex& l) const override { return CRotate(l, 0.7); }
  complex LoadFromInput(const complex& i) const override { return CRotate(i, -0.7); }
  complex TunerInputToAnalyzer(const complex& g) const override { return CRotate(g, -0.3); }
  complex AnalyzerToTunerInput(const complex& g) const override { return CRotate(g, 0.3); }
};

TEST(MdlFrame, EveryDutAndWaveformDecodesToTheModelValues) {
  for (int dut = 0; dut < 4; ++dut) {
    for (int wf = 0; wf < 5; ++wf) {
      SetRandomSource(std::make_unique<SeededRandom>(uint64_t(17 + dut * 5 + wf)));
      TMotState mot;
      TQvWin qv(mot);
      TSimState sim;
      RotTuner tuner;
      tuner.Pos = MakeMotPos(10, 20, 30);
      TMdlEngine m(qv, sim, tuner);
      m.Sleep = [](int64_t) {};
      m.Runcert = 0.05;
      m.Puncert = 3;
      m.Funcert = 0.5;
      m.Tuncert = 2;
      switch (dut) {
        case kDutDefined:
          m.SimulRo = CPolarDeg(0.4, -120);
          break;
        case kDutMatch:
          m.SimulRo = complex();
          break;
        case kDutAnimated: {
          TAnimControls c;
          c.UdMag1 = 10;
          c.UdMag2 = 60;
          c.MeasPerPositTxt = QStringLiteral("2");
          CitajAnim(m.AnimRho, c);
          m.AnimRho.Active = true;
          break;
        }
        case kDutChart:
          m.UseChart = true;
          m.SimulRo = complex(-0.3, 0.6);
          break;
      }
      qv.VarPar.Waveform = wf == 0 ? wfCW : (wf <= 2 ? wfRectified : wfPulsed);
      qv.Rectif.Bsamples = wf == 1;
      qv.Pulsed.Bsamples = wf == 3;
      qv.Rectif.Nvzoriek = 4;
      qv.Pulsed.Nvzoriek = 4;
      m.SetSmpl(true);
      for (int k = 0; k < 7; ++k) {
        const int idx = m.smpl;
        const bool block = m.BlockSampling();
        TMerObjekt f{};
        const int len = m.GetMobBytes(4, f);
        const THresults res = Decode(f);
        SCOPED_TRACE(::testing::Message() << "dut " << dut << " wf " << wf << " frame " << k);
        EXPECT_EQ(len, block && idx >= 0 ? 31 : 29);
        if (block && idx >= 0) {
          EXPECT_EQ(res.jx, idx);
        }
        EXPECT_NEAR(res.Rho_z.re, tuner.LastRloa.re, kRhoRes);
        EXPECT_NEAR(res.Rho_z.im, tuner.LastRloa.im, kRhoRes);
        const complex rin = CRotate(tuner.LastRloa, 0.7);
        EXPECT_NEAR(res.Rho_m.re, rin.re, kRhoRes);
        EXPECT_NEAR(res.Rho_m.im, rin.im, kRhoRes);
        EXPECT_NEAR(res.FreD, tuner.LastFreq, 5.0);
        EXPECT_NEAR(res.Temp, m.Temp, m.Tuncert + 0.05);
        EXPECT_EQ(res.TooCold, m.TempErrB == 4);
        EXPECT_EQ(res.FreSubst, !block && m.FreErrB == 1);
        EXPECT_LE(res.Pinc, m.Pow * 1.2 + 1);
      }
      SetRandomSource(nullptr);
    }
  }
}

TEST(MdlAnim, StepSequences) {
  struct Case {
    bool reverse;
    std::vector<double> expect;
  } cases[] = {{false, {0.3, 0.6, 0.9, 0.0, 0.3}},
               {true, {0.3, 0.6, 0.9, 1.0, 0.7, 0.4, 0.1, 0.0, 0.3}}};
  for (const Case& c : cases) {
    double a = 0, b = 1, cur = 0;
    for (double e : c.expect) {
      cur = AnimStep(a, b, c.reverse, cur, 0.3);
      EXPECT_NEAR(cur, e, 1e-12) << c.reverse;
    }
  }
  // A step larger than the range keeps the start value.
  double a = 0.2, b = 0.3;
  EXPECT_DOUBLE_EQ(AnimStep(a, b, false, 0.25, 0.5), 0.2);
  // Falling direction without reverse starts over at a.
  a = 1;
  b = 0;
  EXPECT_NEAR(AnimStep(a, b, false, 0.1, 0.3), 1.0, 1e-12);
}

TEST(MdlAnim, NextRhoDwellsAndSpirals) {
  TAnimRho an;
  TAnimControls c;
  c.UdMagC = 10;
  c.UdPhaC = 90;
  c.UdMag1 = 20;
  c.UdMag2 = 40;
  c.UdPha1 = 0;
  c.UdPha2 = 90;
  c.MagStepTxt = QStringLiteral("10");  // outside 0.1..5: 0.2 %
  c.PhaStepTxt = QStringLiteral("45");
  c.MeasPerPositTxt = QStringLiteral("x");  // unreadable: the up-down's position
  c.UdDwell = 2;
  CitajAnim(an, c);
  EXPECT_EQ(c.MagStepTxt, QStringLiteral("0.2"));
  EXPECT_DOUBLE_EQ(an.Rstep, 0.002);
  EXPECT_EQ(an.MeasPerPosit, 2);
  EXPECT_EQ(c.MeasPerPositTxt, QStringLiteral("2"));
  TAnimFlags fl;
  const complex centre = CPolarDeg(0.1, 90);
  const complex z1 = AnimNextRho(an, fl);
  const complex z2 = AnimNextRho(an, fl);
  EXPECT_EQ(z1, z2);  // two measurements per position
  EXPECT_NEAR(z1.re, centre.re + 0.2, 1e-12);
  const complex z3 = AnimNextRho(an, fl);  // moved: magnitude 0.202, phase 45
  const complex w = centre + CPolarDeg(0.202, 45);
  EXPECT_NEAR(z3.re, w.re, 1e-12);
  EXPECT_NEAR(z3.im, w.im, 1e-12);
  fl.NoSpiral = true;
  AnimNextRho(an, fl);
  AnimNextRho(an, fl);
  EXPECT_DOUBLE_EQ(an.Ma, 0.202);  // magnitude stays
  EXPECT_DOUBLE_EQ(an.Fa, 90);
}

}  // namespace
}  // namespace qz
