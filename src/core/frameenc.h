#pragma once
// The sender's half of the frame contract: how physical values become frame bytes. The simulated
// unit builds its frames with these, so every frame it sends is one a real unit could have sent.
// All roundings are half-to-even.

#include <cstdint>

#include "core/frame.h"
#include "core/records.h"
#include "util/complex.h"

namespace qz {

// A power as mantissa and biased exponent byte: watts = Mant x 10^(ExpByte - 10).
struct TPowBytes {
  uint16_t Mant = 0;
  uint8_t ExpByte = 0;
};

// The power is limited to 0..1e7 W (NaN counts as 0); the exponent is the first of 3, 2, ... -5
// whose decade the power exceeds, else -6; the mantissa (at most 10000) carries four significant
// digits.
TPowBytes PowToBytes(double watts);

// A reflection coefficient part as value x 4096, limited to +-32767 (NaN gives 0).
int16_t RhoPartToFrame(double r);
// A temperature in 0.1 C, limited to +-32767 so that it cannot wrap in 16 bits (NaN gives 0).
int16_t TempToFrame(double celsius);
// A frequency as a count of 10 Hz steps.
int32_t FreqToFrame(double hz);
// A stub position limited to 0..maxSteps (and to the 16-bit range).
int16_t StubPosToFrame(int steps, int maxSteps);

// Sum of the first count bytes modulo 256.
uint8_t FrameChecksum(const TMerObjekt& f, int count);

// Little-endian field writers.
void PutFrameI16(TMerObjekt& f, int off, int16_t v);
void PutFrameU16(TMerObjekt& f, int off, uint16_t v);
void PutFrameI32(TMerObjekt& f, int off, int32_t v);

// Everything one frame can carry, in physical units.
struct TFrameSpec {
  bool Meas = true;          // measurement block present
  uint8_t SampleCode = 0;    // 0 none, 1 first, 2 middle, 3 last sample of a series
  bool FrePast = false;      // the frequency is the result of a previous count
  uint8_t ErrByte = 0;       // error bits 0..6 (bit 7 is sent as 0)
  double Pinc_W = 0.0;       // incident power
  double Temp_C = 0.0;       // temperature
  complex RhoM;              // measured reflection coefficient
  complex RhoZ;              // load reflection coefficient
  double Freq_Hz = 0.0;      // frequency
  bool HasPrfl = false;      // reflected power carried (only with sample code 0)
  double Prfl_W = 0.0;       // reflected power
  uint16_t SampleIndex = 0;  // sample index (with a sample code 1..3)

  bool Motors = true;    // motor block present
  TMotPos Pos;           // stub positions
  int MaxSteps = 32767;  // positions are limited to 0..MaxSteps
  uint8_t MotStatus = 0;
  uint8_t MotError = 0;  // bit 7: the positions are tune positions
};

// Builds the frame from its description, bytes after the checksum set to 0; returns its length
// (10, 21, 23, 29 or 31; 2 for a frame with neither block, which a receiver rejects).
int EncodeFrame(const TFrameSpec& fspec, TMerObjekt& frame);

}  // namespace qz
