#pragma once
// Frames for the tests: from raw bytes (the checksum added, or spoilt on purpose) or from a
// frame description in the unit's own layout.

#include <initializer_list>

#include "core/frameenc.h"
#include "core/records.h"

namespace qz::testing {

// A frame from its bytes before the checksum; the checksum (sum modulo 256, plus
// checksumDelta to spoil it) follows them, the rest of the buffer is 0.
inline TMerObjekt RawFrame(std::initializer_list<int> bytes, int checksumDelta = 0) {
  TMerObjekt f{};
  size_t i = 0;
  unsigned sum = 0;
  for (int b : bytes) {
    f[i++] = uint8_t(b);
    sum += uint8_t(b);
  }
  f[i] = uint8_t((sum + checksumDelta) & 0xFF);
  return f;
}

// The frame of a description, as the simulated unit sends it.
inline TMerObjekt EncodedFrame(const TFrameSpec& fspec) {
  TMerObjekt f{};
  EncodeFrame(fspec, f);
  return f;
}

// A measurement with a motor block: 2450 MHz, 25 °C, positions 0 of 5000 steps; the caller
// changes what its test is about.
inline TFrameSpec MeasSpec(double pincW = 1000.0, const complex& rhoM = complex(),
                           const complex& rhoZ = complex()) {
  TFrameSpec s;
  s.Meas = true;
  s.Freq_Hz = 2450e6;
  s.Pinc_W = pincW;
  s.Temp_C = 25.0;
  s.RhoM = rhoM;
  s.RhoZ = rhoZ;
  s.MaxSteps = 5000;
  return s;
}

}  // namespace qz::testing