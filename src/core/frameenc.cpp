#include "core/frameenc.h"

#include <algorithm>
#include <cmath>

#include "util/numutil.h"
#include "util/unitconv.h"

namespace qz {

namespace {
constexpr double kPowMax = 1e7;
constexpr int16_t kI16Lim = 32767;

// Rounds and limits a scaled value to the signed 16-bit range the frame fields carry.
int16_t ScaledToI16(double scaled) {
  if (std::isnan(scaled)) return 0;
  return int16_t(RoundToInt32(ClampLowWins(scaled, -double(kI16Lim), double(kI16Lim))));
}
}  // namespace

TPowBytes PowToBytes(double watts) {
  const double p = ClampLowWins(watts, 0.0, kPowMax);
  int e = -6;
  if (p > 1e6)
    e = 3;
  else if (p > 1e5)
    e = 2;
  else if (p > 1e4)
    e = 1;
  else if (p > 1e3)
    e = 0;
  else if (p > 100)
    e = -1;
  else if (p > 10)
    e = -2;
  else if (p > 1)
    e = -3;
  else if (p > 0.1)
    e = -4;
  else if (p > 0.01)
    e = -5;
  // Divide by a positive power of ten where possible: 10^-k is inexact as a double.
  const double q = e >= 0 ? p / Pow10(e) : p * Pow10(-e);
  TPowBytes b;
  b.Mant = uint16_t(std::min(RoundToInt32(q), 10000));
  b.ExpByte = uint8_t(e + kPowExpBias);
  return b;
}

int16_t RhoPartToFrame(double r) { return ScaledToI16(r * kRhoScale); }

int16_t TempToFrame(double celsius) { return ScaledToI16(celsius * 10.0); }

int32_t FreqToFrame(double hz) { return HzToFreqCount(hz); }

int16_t StubPosToFrame(int steps, int maxSteps) {
  const int32_t hi = std::min<int32_t>(maxSteps, kI16Lim);
  return int16_t(ClampLowWins(int32_t(steps), 0, hi));
}

uint8_t FrameChecksum(const TMerObjekt& f, int count) {
  unsigned sum = 0;
  for (int i = 0; i < count && i < kMobSize; ++i) sum += f[i];
  return uint8_t(sum & 0xFF);
}

void PutFrameU16(TMerObjekt& f, int off, uint16_t v) {
  f[off] = uint8_t(v & 0xFF);
  f[off + 1] = uint8_t(v >> 8);
}

void PutFrameI16(TMerObjekt& f, int off, int16_t v) { PutFrameU16(f, off, uint16_t(v)); }

void PutFrameI32(TMerObjekt& f, int off, int32_t v) {
  const uint32_t u = uint32_t(v);
  f[off] = uint8_t(u & 0xFF);
  f[off + 1] = uint8_t((u >> 8) & 0xFF);
  f[off + 2] = uint8_t((u >> 16) & 0xFF);
  f[off + 3] = uint8_t(u >> 24);
}

int EncodeFrame(const TFrameSpec& s, TMerObjekt& f) {
  f.fill(0);
  uint8_t st = 0;
  int cur = 1;
  if (s.Meas) {
    const uint8_t code = s.SampleCode & kStSampleCodeMask;
    const bool prfl = code == 0 && s.HasPrfl;
    st |= kStMeasBlock | code;
    if (s.FrePast) st |= kStFrePast;
    if (prfl) st |= kStReflPower;

    f[kOfsErrByte] = s.ErrByte & 0x7F;
    const TPowBytes pinc = PowToBytes(s.Pinc_W);
    f[kOfsPincMant] = uint8_t(pinc.Mant >> 8);
    f[kOfsPincMant + 1] = uint8_t(pinc.Mant & 0xFF);
    f[kOfsPincExp] = pinc.ExpByte;
    PutFrameI16(f, kOfsTemp, TempToFrame(s.Temp_C));
    f[kOfsPrflExp] = kNoPrflExp;
    PutFrameI16(f, kOfsRhoM, RhoPartToFrame(s.RhoM.re));
    PutFrameI16(f, kOfsRhoM + 2, RhoPartToFrame(s.RhoM.im));
    PutFrameI32(f, kOfsFreq, FreqToFrame(s.Freq_Hz));
    PutFrameI16(f, kOfsRhoZ, RhoPartToFrame(s.RhoZ.re));
    PutFrameI16(f, kOfsRhoZ + 2, RhoPartToFrame(s.RhoZ.im));
    cur += kMeasBlockSize;

    if (code != 0) {
      PutFrameU16(f, kOfsExtWord, s.SampleIndex);
      cur += kExtWordSize;
    } else if (prfl) {
      const TPowBytes pr = PowToBytes(s.Prfl_W);
      f[kOfsExtWord] = uint8_t(pr.Mant & 0xFF);  // low byte first here
      f[kOfsExtWord + 1] = uint8_t(pr.Mant >> 8);
      f[kOfsPrflExp] = pr.ExpByte;
      cur += kExtWordSize;
    }
  }
  if (s.Motors) {
    st |= kStMotorBlock | kStMotorAux;
    for (int k = kMotFirst; k <= kMotLast; ++k)
      PutFrameI16(f, cur + 2 * (k - 1), StubPosToFrame(s.Pos[k], s.MaxSteps));
    f[cur + 6] = s.MotStatus;
    f[cur + 7] = s.MotError;
    cur += kMotorBlockSize;
  }
  f[0] = st;
  f[cur] = FrameChecksum(f, cur);
  return cur + 1;
}

}  // namespace qz
