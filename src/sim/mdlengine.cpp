#include "sim/mdlengine.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

#include "core/frameenc.h"
#include "core/qvwin.h"
#include "sim/modeltuner.h"
#include "util/random.h"

namespace qz {

namespace {

// Temperatures outside this range set the unit's "too cold" and "too hot" flags.
constexpr double kTempLow = 5.0;
constexpr double kTempHigh = 55.0;
constexpr uint8_t kTempErrCold = 4;
constexpr uint8_t kTempErrHot = 8;

// Square root of an averaging count; a count below 1 counts as 1.
double SqrtAvg(int avg) { return std::sqrt(static_cast<double>(std::max(avg, 1))); }

}  // namespace

double RectEnvelope(double phi) {
  const double a = phi + 0.05;
  const double th = 2.0 * kPi * a;
  double d = std::sin(th) + std::sin(3.0 * th) * 0.03 / (a * a + 0.08);
  if (d < 0.0) d = 0.0;
  return d * d * 1.15;
}

double PulsEnvelope(double phi) {
  const double e1 = std::exp(-25.0);
  const double e2 = std::exp(-37.5);
  const double a = (1.0 - e1) / (1.0 - e1 * e2);
  const double d = a * e2;
  double p = phi - 0.05;
  if (p < 0.0) p += 1.0;
  if (p < 0.25) return d + (1.0 - std::exp(-p / 0.01)) * (1.0 - d);
  return a * std::exp(-(p - 0.25) / 0.02);
}

TMdlEngine::TMdlEngine(TQvWin& qv, TSimState& sim, TModelTuner& tuner)
    : qv_(qv), sim_(sim), tuner_(tuner) {}

bool TMdlEngine::BlockSampling() const {
  return BlockSamplingOn(qv_.VarPar.Waveform, qv_.Rectif, qv_.Pulsed);
}

int TMdlEngine::BlockSize() const {
  const int n = qv_.VarPar.Waveform == wfPulsed ? qv_.Pulsed.Nvzoriek : qv_.Rectif.Nvzoriek;
  return std::max(n, 1);
}

void TMdlEngine::SetSmpl(bool nuluj) {
  if (nuluj) {
    smpl = 0;
    return;
  }
  if (!BlockSampling()) return;
  // At or past the end: a block size lowered between two runs must not let the index run away.
  if (smpl >= BlockSize() - 1)
    smpl = -1;
  else
    ++smpl;
}

uint8_t TMdlEngine::SampleCode() const {
  if (!BlockSampling()) return 0;
  const int n = BlockSize();
  if (smpl == 0) return 1;
  if (smpl > 0 && smpl < n - 1) return 2;
  if (smpl == n - 1) return 3;
  return 0;
}

uint8_t TMdlEngine::FrameErrByte() const {
  if (BlockSampling()) return 0;
  uint8_t e = ErrByte;
  e = FreErrB ? uint8_t(e | kErFreSubst) : uint8_t(e & ~kErFreSubst);
  e &= uint8_t(~(kErTooCold | kErTooHot));
  if (TempErrB == kTempErrCold) e |= kErTooCold;
  if (TempErrB == kTempErrHot) e |= kErTooHot;
  return e;
}

complex TMdlEngine::RandRho(int avg, double r) const {
  if (!(std::fabs(r) > 0.0)) return complex();
  const double u1 = Random();
  const double u2 = Random();
  const double mag = (u1 - 0.5) * 2.0 * std::fabs(r) / SqrtAvg(avg);
  const double pha = (u2 - 0.5) * 360.0;
  return CPolarDeg(mag, pha);
}

double TMdlEngine::GetSimPinc(int avg) {
  double b = Pow;
  if (BlockSampling() && smpl >= 0) {
    double s = 0.0;
    if (qv_.VarPar.Waveform == wfRectified) {
      const double perPeriod =
          static_cast<double>(BlockSize()) / std::max<int>(qv_.Rectif.Periods, 1);
      const double x = smpl / perPeriod;
      s = RectEnvelope(x - std::trunc(x));
    } else {
      const double x = smpl / static_cast<double>(BlockSize());
      s = PulsEnvelope(x - std::trunc(x));
    }
    PValid = s > kSignalValidLevel;
    b = s * Pow;
  }
  const double u = Random();
  double p = (u - 0.5) * Pow * Puncert * 0.02 / SqrtAvg(avg) + b * qv_.UserPowCorr;
  if (p < 0.0) p = 0.0;
  return p;
}

double TMdlEngine::GetSimFre() {
  FreErrB = 0;
  double f = 0.0;
  bool counted = false;
  if (qv_.VarPar.IsCntOn == 1) {
    const double u = Random();
    f = ((u - 0.5) * Funcert * 0.02 + 1.0) * f_Hz;
    const double nominal = qv_.FixPar.FnominKHz * 1000.0;
    const double delta = qv_.VarPar.FdeltaMHz * 1e6;
    counted = f >= nominal - delta && f <= nominal + delta;
  }
  if (!counted) {
    f = qv_.VarPar.FsubstKHz * 1000.0;
    FreErrB = 1;
  }
  tuner_.FillFreqPars(f);
  return f;
}

complex TMdlEngine::GetSimRho(int avg) {
  complex g = AnimRho.Active ? AnimNextRho(AnimRho, AnimFlags) : SimulRo;
  g = g + RandRho(avg, Runcert);
  const complex gt = tuner_.InputFromLoad(g);
  complex rm = tuner_.TunerInputToAnalyzer(gt);
  // No signal in this sample: the unit measures noise only.
  if (BlockSampling() && smpl >= 0 && !PValid) rm = RandRho(avg, Runcert);
  return rm;
}

void TMdlEngine::RhoToInput(const complex& rm, complex& rinp, complex& rloa) const {
  rinp = tuner_.AnalyzerToTunerInput(rm);
  rloa = tuner_.LoadFromInput(rinp);
}

void TMdlEngine::GetFreAndRo(int avg, double& f, complex& rinp, complex& rloa) {
  f = GetSimFre();
  const complex rm = GetSimRho(avg);
  RhoToInput(rm, rinp, rloa);
}

double TMdlEngine::GetSimTemp() {
  TempErrB = 0;
  const double u = Random();
  const double t = (u - 0.5) * 2.0 * Tuncert + Temp;
  if (t < kTempLow)
    TempErrB = kTempErrCold;
  else if (t > kTempHigh)
    TempErrB = kTempErrHot;
  return t;
}

int TMdlEngine::GetMobBytes(int avg, TMerObjekt& mob) {
  const bool block = BlockSampling();
  double p = GetSimPinc(avg);
  if (smpl == 0) {
    Paver = p;
  } else if (smpl > 0) {
    Paver += p;
  } else if (block && qv_.VarPar.Waveform == wfRectified) {
    // The closing frame of a rectified block reports the block's mean power. Only while blocks
    // are being sent: a sum left from an earlier block must not reach other frames.
    p = Paver / BlockSize();
  }

  double f = 0.0;
  complex rinp, rloa;
  GetFreAndRo(avg, f, rinp, rloa);

  if (qv_.FixPar.IsTuner) {
    const complex gn = rinp + RandRho(avg, Runcert);
    tuner_.TunerStep(gn, rloa);
  }

  const double t = GetSimTemp();

  TFrameSpec s;
  s.Meas = true;
  s.SampleCode = SampleCode();
  s.FrePast = true;
  s.ErrByte = FrameErrByte();
  s.Pinc_W = p;
  s.Temp_C = t;
  s.RhoM = rinp;
  s.RhoZ = rloa;
  s.Freq_Hz = f;
  s.HasPrfl = false;
  if (s.SampleCode != 0 && smpl >= 0) s.SampleIndex = static_cast<uint16_t>(smpl);

  SetSmpl(false);

  s.Motors = true;
  s.Pos = tuner_.Positions();
  s.MaxSteps = tuner_.MaxSteps();
  s.MotStatus = kMdlMotStatus;
  s.MotError = kMdlMotError;
  const int len = EncodeFrame(s, mob);

  if (qv_.VarPar.Waveform == wfCW || (block && smpl == 0)) Pause();
  return len;
}

void TMdlEngine::Pause() const {
  const int64_t us = static_cast<int64_t>(std::max(WaitCyclesCount, 0)) * kPauseUsPerCount;
  if (us <= 0) return;
  if (Sleep) {
    Sleep(us);
    return;
  }
  std::this_thread::sleep_for(std::chrono::microseconds(us));
}

}  // namespace qz
