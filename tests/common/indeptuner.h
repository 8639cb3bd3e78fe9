#pragma once
// An independent model of a waveguide three-stub tuner for checking the autotune: normalised
// impedances carried through the line sections and the stubs (each a T network of series jX,
// shunt jB, series jX) in std::complex<double>, written from the physics, not from the
// program's two-port code. Used to grade the positions the autotune finds and to find the best
// reflection each pair of stubs can reach for a load.

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <vector>

#include "core/records.h"

namespace qz::testing {

using cplx = std::complex<double>;

struct IndepTuner {
  double stepMm = 0.01;
  int maxSteps = 3000;
  double bMm = 43.18;             // narrow guide side: scale of the relative insertion
  std::array<double, 10> px{};    // series reactance polynomial in u (at the frequency)
  std::array<double, 10> pb{};    // shunt susceptance polynomial in u
  std::array<double, 4> tanBl{};  // tan(beta L) of the sections 0..3
  std::array<cplx, 4> rot{};      // e^(-2j beta L) of the sections

  // The tuner of description d at frequency f (Hz), the working maximum steps given.
  IndepTuner(const TTunerDescr& d, double f, int maxStepsWorking) {
    const double c = 299792458.0;
    const double fc = c / (2.0 * d.WgA_um * 1e-6);
    const double lambdaG = c / f / std::sqrt(1.0 - (fc / f) * (fc / f));
    const double beta = 2.0 * 3.14159265358979323846 / lambdaG;
    const double dev = (f / (d.FnominKHz * 1000.0) - 1.0) * 100.0;
    stepMm = d.MmPerStep;
    maxSteps = maxStepsWorking;
    bMm = d.WgB_um / 1000.0;
    for (int i = 0; i <= d.Par1.NH; ++i)
      for (int j = 0; j <= d.Par1.NF[i]; ++j) px[i] += d.Par1.C[i][j] * std::pow(dev, j);
    for (int i = 0; i <= d.Par2.NH; ++i)
      for (int j = 0; j <= d.Par2.NF[i]; ++j) pb[i] += d.Par2.C[i][j] * std::pow(dev, j);
    const double ref = double(d.Ltot_um) - d.Lref_um;
    const std::array<double, 4> len = {
        (double(d.StubDist[1]) - ref) * 1e-6, (double(d.StubDist[2]) - d.StubDist[1]) * 1e-6,
        (double(d.StubDist[3]) - d.StubDist[2]) * 1e-6, (double(d.Ltot_um) - d.StubDist[3]) * 1e-6};
    for (int k = 0; k < 4; ++k) {
      tanBl[k] = std::tan(beta * len[k]);
      rot[k] = std::polar(1.0, -2.0 * beta * len[k]);
    }
  }

  static double Poly(const std::array<double, 10>& p, double u) {
    double s = 0.0;
    for (int i = 9; i >= 0; --i) s = s * u + p[i];
    return s;
  }
  // Impedance z seen through a line with tan(beta L) = t.
  static cplx Line(cplx z, double t) {
    const cplx jt(0.0, t);
    return (z + jt) / (1.0 + z * jt);
  }
  // Impedance z seen through a stub inserted `steps` motor steps.
  cplx Stub(cplx z, int steps) const {
    const double u = steps * stepMm / bMm;
    const cplx jx(0.0, Poly(px, u));
    const cplx jb(0.0, Poly(pb, u));
    z += jx;
    z = 1.0 / (1.0 / z + jb);
    return z + jx;
  }
  static cplx Z(cplx g) { return (1.0 + g) / (1.0 - g); }
  static cplx G(cplx z) { return (z - 1.0) / (z + 1.0); }

  // |reflection| at the tuner input (stub 1) with the load at the output flange.
  double InputMag(cplx load, const TMotPos& pos) const {
    cplx z = Line(Z(load), tanBl[3]);
    z = Stub(z, pos[3]);
    z = Line(z, tanBl[2]);
    z = Stub(z, pos[2]);
    z = Line(z, tanBl[1]);
    z = Stub(z, pos[1]);
    return std::abs(G(z));
  }

  struct Best {
    double mag = 1e9;
    TMotPos pos;
  };

  // The best |reflection| of one pair (pair23: stubs 2 and 3 with stub 1 out; else stubs 1 and
  // 2 with stub 3 out): every 25 steps, then every step round the five best cells.
  Best BestOfPair(cplx load, bool pair23) const {
    const cplx zl = Line(Z(load), tanBl[3]);
    // Generator-side stub g, load-side stub l.
    auto mag = [&](int l, int g) {
      cplx z;
      if (pair23) {
        z = Line(Stub(zl, l), tanBl[2]);
        z = Stub(Line(Stub(z, g), tanBl[1]), 0);
      } else {
        z = Line(Stub(Line(Stub(zl, 0), tanBl[2]), l), tanBl[1]);
        z = Stub(z, g);
      }
      return std::abs(G(z));
    };
    struct Cell {
      double m;
      int l, g;
    };
    std::vector<Cell> cells;
    for (int l = 0; l <= maxSteps; l += 25)
      for (int g = 0; g <= maxSteps; g += 25) cells.push_back({mag(l, g), l, g});
    std::partial_sort(cells.begin(), cells.begin() + 5, cells.end(),
                      [](const Cell& a, const Cell& b) { return a.m < b.m; });
    Best b;
    auto take = [&](double m, int l, int g) {
      if (m < b.mag) {
        b.mag = m;
        b.pos =
            pair23 ? MakeMotPos(0, int16_t(g), int16_t(l)) : MakeMotPos(int16_t(g), int16_t(l), 0);
      }
    };
    for (int c = 0; c < 5; ++c) {
      const Cell k = cells[c];
      for (int l = std::max(0, k.l - 25); l <= std::min(maxSteps, k.l + 25); ++l)
        for (int g = std::max(0, k.g - 25); g <= std::min(maxSteps, k.g + 25); ++g)
          take(mag(l, g), l, g);
    }
    return b;
  }
  Best BestOfBoth(cplx load) const {
    const Best a = BestOfPair(load, false);
    const Best b = BestOfPair(load, true);
    return b.mag < a.mag ? b : a;
  }
};

// The load table: |Gamma| 0.05, 0.1, 0.2 ... 0.8, 0.85, 0.9, 0.95 at -180 ... 165 degrees.
struct TableLoad {
  double mag, deg;
};
inline std::vector<TableLoad> LoadTable() {
  std::vector<TableLoad> v;
  for (double m : {0.05, 0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.85, 0.9, 0.95})
    for (int deg = -180; deg <= 165; deg += 15) v.push_back({m, double(deg)});
  return v;
}

}  // namespace qz::testing