#pragma once
// Two-port algebra of the tuner model on 2 x 2 scattering matrices.
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

}  // namespace qz
