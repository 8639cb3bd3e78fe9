#pragma once
// The scattering matrix of one stub at a given insertion, and the chain of the three stubs with
// the line sections between them.
//
// A stub is described by two polynomials in the relative insertion u = x / b (x the insertion,
// b the narrow guide dimension, both mm). Their coefficients are themselves polynomials in the
// relative frequency deviation, evaluated once per frequency (StubCoefValues). A waveguide cell
// reads the two polynomials as the series reactance and the shunt susceptance of a symmetric T
// network; a coaxial cell as a series capacitance and the electrical extension of a shorted
// stub line in parallel with an inductance. Both are lossless and reciprocal.

#include <array>

#include "core/records.h"
#include "util/smatrix.h"

namespace qz {

// Largest degree of a stub polynomial and of its coefficients.
inline constexpr int kStubDegMax = 9;

using TStubCoefs = std::array<double, kStubDegMax + 1>;

// The coefficient values P[i] = sum over j = 0..NF[i] of C[i][j] * dev^j for i = 0..NH; entries
// above NH are 0. Degrees outside 0..9 (a damaged description) are limited to that range.
TStubCoefs StubCoefValues(const TStubModel& model, double dev);

// sum over i = 0..nh of p[i] * u^i (nh limited to 0..9).
double StubPoly(const TStubCoefs& p, int nh, double u);

// Everything StubMatrix needs at one frequency.
struct TStubPars {
  int CellType = kCellWaveguide;  // 2 coaxial; every other value is taken as a waveguide cell
  double WgB_mm = 0.0;            // scale of the relative insertion
  int NH1 = 0;
  int NH2 = 0;
  TStubCoefs P1{};  // model 1 at the present frequency
  TStubCoefs P2{};  // model 2 at the present frequency
  // Coaxial cell only.
  double Omega = 0.0;    // 2 pi f
  double Z0 = 0.0;       // line impedance, ohm
  double K = 0.0;        // short-circuit factor x short guide wavelength x f
  double LambdaS = 0.0;  // short-circuit guide wavelength, m
  double Ls_pH = 0.0;    // inductance in parallel with the shorted stub line, pH
};

// The stub at insertion x_mm (S11 = S22, S12 = S21). Values that would leave the double range
// (a description with a zero dimension, a resonance exactly hit) give the transparent stub.
TSmatrix StubMatrix(double x_mm, const TStubPars& p);

// How TunerChain ends after stub 3.
enum TChainClosing : int {
  kCloseNone = 0,    // at stub 3
  kCloseOutput = 1,  // section 3 up to the output flange
  kCloseRef = 2,     // section 0 (reference plane behind stub 3)
};

// Everything TunerChain needs at one frequency.
struct TChainPars {
  TStubPars Stub;
  double StepMm = 0.0;             // stub travel per motor step
  std::array<TSmatrix, 4> Line{};  // the sections 0..3 as lines
};

// The tuner two-port with the stubs at the given positions (motor steps).
TSmatrix TunerChain(const TMotPos& pos, int closing, const TChainPars& c);

}  // namespace qz
