#pragma once
// Two-port algebra on 2 x 2 scattering matrices, the one copy the program has: the tuner model
// builds its chains with it and the bilinear transform of the measured reflection coefficient
// applies it per frequency.
//
// Port 1 faces the generator (the tuner input), port 2 the load. The divisions use the complex
// type's guarded quotient, so a network at resonance gives large but finite numbers instead of
// infinities that would spread through a cascade.

#include "util/complex.h"
#include "util/smatrix.h"

namespace qz {

// A lossless matched line of electrical length theta (radians): S11 = S22 = 0,
// S12 = S21 = e^(-j theta).
TSmatrix LineMatrix(double theta);

// The zero-length line: passes every wave unchanged.
TSmatrix IdentityMatrix();

// A followed by B (A towards the input, B towards the load).
TSmatrix Cascade(const TSmatrix& a, const TSmatrix& b);

// The reflection coefficient at the input of s terminated by the load gamma.
complex InputFromLoad(const complex& gamma, const TSmatrix& s);

// The load that makes the input of s show gamma (the inverse of InputFromLoad).
complex LoadFromInput(const complex& gamma, const TSmatrix& s);

// The reflection coefficient at the output of s fed by a source of reflection gamma.
complex OutputFromSource(const complex& gamma, const TSmatrix& s);

// InputFromLoad written as a bilinear map of the load G:
//   Gin = (a G + b) / (1 + c G),  a = S12 S21 - S11 S22,  b = S11,  c = -S22,
// and back: G = (Gin - b) / (a - c Gin). A table of these coefficients over frequency can be
// interpolated entry by entry, which a table of matrices cannot.
struct TBilinCoefs {
  complex a = complex(1.0);
  complex b;
  complex c;
};
TBilinCoefs SToBilin(const TSmatrix& s);
complex BilinLoadToInput(const TBilinCoefs& k, const complex& g);
complex BilinInputToLoad(const TBilinCoefs& k, const complex& gin);

}  // namespace qz
