#include "core/frame.h"

#include <cmath>

#include "util/unitconv.h"

namespace qz {

namespace {

bool ExtWordPresent(uint8_t status) {
  if (!(status & kStMeasBlock)) return false;
  return (status & kStSampleCodeMask) != 0 || (status & kStReflPower) != 0;
}

// Power in W from a mantissa and a biased exponent byte.
double PowFromBytes(unsigned mant, uint8_t expByte) {
  return double(mant) * Pow10(double(int(expByte) - kPowExpBias));
}

constexpr double kRadToDeg = 180.0 / kPi;

}  // namespace

int16_t FrameI16(const TMerObjekt& f, int off) {
  return int16_t(uint16_t(f[off] | (unsigned(f[off + 1]) << 8)));
}

uint16_t FrameU16(const TMerObjekt& f, int off) {
  return uint16_t(f[off] | (unsigned(f[off + 1]) << 8));
}

int32_t FrameI32(const TMerObjekt& f, int off) {
  const uint32_t u = uint32_t(f[off]) | (uint32_t(f[off + 1]) << 8) | (uint32_t(f[off + 2]) << 16) |
                     (uint32_t(f[off + 3]) << 24);
  return int32_t(u);
}

int MotorBlockOffset(uint8_t status) {
  int m = 1;
  if (status & kStMeasBlock) m += kMeasBlockSize;
  if (ExtWordPresent(status)) m += kExtWordSize;
  return m;
}

int FrameLength(uint8_t status) {
  int len = MotorBlockOffset(status);
  if (status & kStMotorBlock) len += kMotorBlockSize;
  return len + 1;
}

bool DekodMerData(const TMerObjekt& frame, THresults& res, TMotState& mot, double fCutoff,
                  uint16_t& nmo) {
  const TFrameTransforms none;
  return DekodMerData(frame, res, mot, fCutoff, none, nmo);
}

bool DekodMerData(const TMerObjekt& frame, THresults& res, TMotState& mot, double fCutoff,
                  const TFrameTransforms& tr, uint16_t& nmo) {
  const uint8_t st = frame[0];
  int cur = 1;

  // Presence and error flags; written whether or not the frame is accepted.
  res.je_qv = (st & kStMeasBlock) != 0;
  if (res.je_qv) {
    cur += kMeasBlockSize;
    const uint8_t e = frame[kOfsErrByte];
    res.ErrByte = e;
    res.PulsErr = (e & kErPulsErr) != 0;
    res.Oflow = (e & kErOflow) != 0;
    res.TooCold = (e & kErTooCold) != 0;
    res.TooHot = (e & kErTooHot) != 0;
    res.LowSignal = (e & kErLowSignal) != 0;
    res.FreSubst = (e & kErFreSubst) != 0;
    res.QvInvalid = (e & kErQvInvalid) != 0;
  }
  res.je_jx = res.je_qv && (st & kStSampleCodeMask) != 0;
  res.je_prfl = !res.je_jx && res.je_qv && (st & kStReflPower) != 0;
  if (res.je_jx || res.je_prfl) cur += kExtWordSize;
  res.su_mot = (st & kStMotorBlock) != 0;
  if (res.su_mot) cur += kMotorBlockSize;
  res.qv_ok = res.je_qv && !res.QvInvalid;

  // The checksum byte follows the last present part; at most at offset 30.
  unsigned sum = 0;
  for (int i = 0; i < cur; ++i) sum += frame[i];
  const bool accepted = uint8_t(sum & 0xFF) == frame[cur] && (res.qv_ok || res.su_mot);
  res.FrePast = (st & kStFrePast) != 0;
  nmo = uint16_t(cur);
  if (!accepted) return false;

  cur = 1;
  if (res.je_qv && res.qv_ok) {
    res.Pinc = PowFromBytes(unsigned(frame[2]) * 256u + frame[3], frame[kOfsPincExp]);
    res.Temp = FrameI16(frame, kOfsTemp) / 10.0;
    res.Rho_m =
        complex(FrameI16(frame, kOfsRhoM) / kRhoScale, FrameI16(frame, kOfsRhoM + 2) / kRhoScale);
    res.Fre = FrameI32(frame, kOfsFreq);
    res.Rho_z =
        complex(FrameI16(frame, kOfsRhoZ) / kRhoScale, FrameI16(frame, kOfsRhoZ + 2) / kRhoScale);
    cur += kMeasBlockSize;

    if (res.je_jx) {
      res.jx = FrameU16(frame, kOfsExtWord);
      cur += kExtWordSize;
    } else if (res.je_prfl) {
      res.Prfl = PowFromBytes(unsigned(frame[21]) * 256u + frame[20], frame[kOfsPrflExp]);
      cur += kExtWordSize;
    }

    // In double: ten times the count overflows 32 bits above 214 MHz.
    res.FreD = double(res.Fre) * FreqStepHz;

    if (tr.BilinActive()) res.Rho_m = tr.BilinToShown(res.Rho_m, res.FreD);

    res.LG = GuideWavelength(fCutoff, res.FreD);

    if (tr.PlaneExtOn()) res.Rho_z = CRotate(res.Rho_z, tr.PlaneExtFactor() / res.LG);

    res.Mag_m = CAbs(res.Rho_m);
    res.Pha_m = std::atan2(res.Rho_m.im, res.Rho_m.re) * kRadToDeg;
    res.Mag_z = CAbs(res.Rho_z);
    res.Pha_z = std::atan2(res.Rho_z.im, res.Rho_z.re) * kRadToDeg;

    if (!res.je_prfl) res.Prfl = res.Mag_m * res.Mag_m * res.Pinc;
    if (res.Pinc < res.Prfl) res.Prfl = res.Pinc;
    res.Pabs = res.Pinc - res.Prfl;
  } else if (res.je_qv) {
    cur += (res.je_jx || res.je_prfl) ? kMeasBlockSize + kExtWordSize : kMeasBlockSize;
  }

  if (res.su_mot) {
    TMotPos pos;
    for (int k = kMotFirst; k <= kMotLast; ++k) pos[k] = FrameI16(frame, cur + 2 * (k - 1));
    mot.MotStatus = frame[cur + 6];
    const uint8_t me = frame[cur + 7];
    mot.MotError = me;
    // Bits 0..2 come from the unit; the read-failure bit belongs to the command layer.
    mot.ErrFlags = uint8_t((mot.ErrFlags & ~kMotErrMotorsMask) | (me & kMotErrMotorsMask));
    if (me & kMotErrTunePos)
      mot.TunePos = pos;
    else
      mot.ActPos = pos;
    cur += kMotorBlockSize;
  }
  nmo = uint16_t(cur);
  return true;
}

}  // namespace qz
