#pragma once
// The unit's result frame: its layout and the one decoder every frame passes through, live or
// read again from a stored sweep.
//
// Layout (multi-byte fields little-endian, except the big-endian incident power mantissa):
//   0      status byte
//   1..19  measurement block (status bit 2): error byte, incident power mantissa (2..3) and
//          exponent + 10 (4), temperature in 0.1 C (5..6), reflected power exponent + 10 (7),
//          measured reflection coefficient x 4096 (8..11), frequency in 10 Hz (12..15), load
//          reflection coefficient x 4096 (16..19)
//   20..21 extension word: sample index (sample code 1..3) or reflected power mantissa (code 0
//          and status bit 6)
//   m..m+7 motor block (status bit 4): three stub positions, motor status, motor error byte
//   last   checksum: sum of the preceding bytes modulo 256
// Possible lengths: 10, 21, 23, 29 and 31 bytes.

#include <cstdint>

#include "core/records.h"
#include "util/complex.h"

namespace qz {

// Status byte bits.
inline constexpr uint8_t kStSampleCodeMask = 0x03;  // 0 none, 1 first, 2 middle, 3 last sample
inline constexpr uint8_t kStMeasBlock = 0x04;
inline constexpr uint8_t kStFrePast = 0x08;
inline constexpr uint8_t kStMotorBlock = 0x10;
inline constexpr uint8_t kStMotorAux = 0x20;  // set with the motor block, not interpreted
inline constexpr uint8_t kStReflPower = 0x40;

// Error byte bits.
inline constexpr uint8_t kErPulsErr = 0x01;
inline constexpr uint8_t kErOflow = 0x02;
inline constexpr uint8_t kErTooCold = 0x04;
inline constexpr uint8_t kErTooHot = 0x08;
inline constexpr uint8_t kErLowSignal = 0x10;
inline constexpr uint8_t kErFreSubst = 0x20;
inline constexpr uint8_t kErQvInvalid = 0x40;

// Block sizes and fixed offsets.
inline constexpr int kMeasBlockSize = 19;
inline constexpr int kExtWordSize = 2;
inline constexpr int kMotorBlockSize = 8;
inline constexpr int kOfsErrByte = 1;
inline constexpr int kOfsPincMant = 2;  // high byte first
inline constexpr int kOfsPincExp = 4;
inline constexpr int kOfsTemp = 5;
inline constexpr int kOfsPrflExp = 7;
inline constexpr int kOfsRhoM = 8;
inline constexpr int kOfsFreq = 12;
inline constexpr int kOfsRhoZ = 16;
inline constexpr int kOfsExtWord = 20;
// The exponent bytes are biased by this.
inline constexpr int kPowExpBias = 10;
// Reflection coefficient parts are carried as value x this.
inline constexpr double kRhoScale = 4096.0;
// Byte 7 when the frame carries no reflected power.
inline constexpr uint8_t kNoPrflExp = 255;

// The number of bytes a frame with this status byte has, checksum included.
int FrameLength(uint8_t status);
// Offset of the motor block in a frame with this status byte (1 without a measurement block).
int MotorBlockOffset(uint8_t status);

// What the decoder applies to the reflection coefficients. The default applies nothing; the
// analyzer state hands in its bilinear transform and plane extension.
class TFrameTransforms {
 public:
  virtual ~TFrameTransforms() = default;
  // The bilinear transform is active: the measured reflection coefficient is replaced by the
  // one the transform shows at the frequency (Hz), in its direction.
  virtual bool BilinActive() const { return false; }
  virtual complex BilinToShown(const complex& rho, double freqHz) const {
    (void)freqHz;
    return rho;
  }
  // Plane extension is on: the load reflection coefficient is rotated by factor / LG radians.
  virtual bool PlaneExtOn() const { return false; }
  virtual double PlaneExtFactor() const { return 0.0; }
};

// Checks and decodes a frame into res and the tuner motor state. fCutoff is the waveguide's
// cut-off frequency (0 for a coaxial line); nmo receives the byte position reached.
//
// The frame is accepted when its checksum matches and it carries a valid measurement or motor
// data. The presence flags, the error flags of a measurement block and FrePast are written even
// for a rejected frame (callers may read them); the measured values and the motor state only for
// an accepted one. The measured values of an invalid measurement keep their previous contents.
bool DekodMerData(const TMerObjekt& frame, THresults& res, TMotState& mot, double fCutoff,
                  const TFrameTransforms& tr, uint16_t& nmo);

// The same with no transforms applied.
bool DekodMerData(const TMerObjekt& frame, THresults& res, TMotState& mot, double fCutoff,
                  uint16_t& nmo);

// Little-endian field readers of the frame.
int16_t FrameI16(const TMerObjekt& f, int off);
uint16_t FrameU16(const TMerObjekt& f, int off);
int32_t FrameI32(const TMerObjekt& f, int off);

}  // namespace qz
