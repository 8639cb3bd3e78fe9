#include "sim/stubmatrix.h"

#include <cmath>

#include "core/smatrixalg.h"
#include "util/numutil.h"

namespace qz {

namespace {

int LimitDeg(int n) { return n < 0 ? 0 : (n > kStubDegMax ? kStubDegMax : n); }

bool Finite(const complex& z) { return std::isfinite(z.re) && std::isfinite(z.im); }

bool Finite(const TSmatrix& s) {
  return Finite(s.s11) && Finite(s.s12) && Finite(s.s21) && Finite(s.s22);
}

// The stub polynomial, here where every stub matrix evaluates it twice.
inline double Poly(const TStubCoefs& p, int nh, double u) {
  const int n = LimitDeg(nh);
  double sum = 0.0;
  double pw = 1.0;
  for (int i = 0; i <= n; ++i) {
    sum += p[static_cast<std::size_t>(i)] * pw;
    pw *= u;
  }
  return sum;
}

TSmatrix Symmetric(const complex& s11, const complex& s21) { return TSmatrix{s11, s21, s21, s11}; }

// Series reactance X and shunt susceptance B as a symmetric T network (normalised).
TSmatrix WaveguideStub(double x, double b) {
  const double t = x * b;
  const double u = 2.0 * (1.0 - t);
  const double v = (2.0 - t) * x;
  const complex n(u, v + b);
  return Symmetric(complex(0.0, v - b) / n, complex(2.0) / n);
}

TSmatrix CoaxStub(double xMm, double p1, double p2, const TStubPars& p) {
  const double g = p.Omega * (p1 * 1e-12) * p.Z0;
  const double k = p.K * std::tan(2.0 * kPi * (p2 + xMm) / (1000.0 * p.LambdaS));
  const double xl = p.Omega * p.Ls_pH * 1e-12;
  // The shorted line in parallel with the inductance; either of them zero shorts the stub.
  double par = 0.0;
  if (k != 0.0 && xl != 0.0) {
    const double sum = 1.0 / k + 1.0 / xl;
    par = sum != 0.0 ? 1.0 / sum : kInvLimit;
  }
  const double m = par / p.Z0;
  const double d = 1.0 - g * m;
  const double w = 1.0 / (d * d + m * m);
  const double y = (2.0 * g - m * (1.0 + g * g)) * w * d;
  const complex z = CInv(complex(w, y));
  const complex s11 = (z - complex(1.0)) / (z + complex(1.0));
  const complex s21 = CInv(complex(d, g + m * (1.0 - g * g) / 2.0));
  return Symmetric(s11, s21);
}

}  // namespace

TStubCoefs StubCoefValues(const TStubModel& model, double dev) {
  TStubCoefs p{};
  const int nh = LimitDeg(model.NH);
  for (int i = 0; i <= nh; ++i) {
    const int nf = LimitDeg(model.NF[static_cast<std::size_t>(i)]);
    double sum = 0.0;
    double pw = 1.0;
    for (int j = 0; j <= nf; ++j) {
      sum += model.C[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] * pw;
      pw *= dev;
    }
    p[static_cast<std::size_t>(i)] = sum;
  }
  return p;
}

double StubPoly(const TStubCoefs& p, int nh, double u) { return Poly(p, nh, u); }

TSmatrix StubMatrix(double xMm, const TStubPars& p) {
  const double u = p.WgB_mm > 0.0 ? xMm / p.WgB_mm : 0.0;
  const double p1 = Poly(p.P1, p.NH1, u);
  const double p2 = Poly(p.P2, p.NH2, u);
  const TSmatrix s = p.CellType == kCellCoax ? CoaxStub(xMm, p1, p2, p) : WaveguideStub(p1, p2);
  return Finite(s) ? s : IdentityMatrix();
}

TSmatrix TunerChain(const TMotPos& pos, int closing, const TChainPars& c) {
  const auto stub = [&c](int16_t steps) { return StubMatrix(steps * c.StepMm, c.Stub); };
  TSmatrix s = stub(pos[1]);
  s = Cascade(s, c.Line[1]);
  s = Cascade(s, stub(pos[2]));
  s = Cascade(s, c.Line[2]);
  s = Cascade(s, stub(pos[3]));
  if (closing == kCloseOutput) s = Cascade(s, c.Line[3]);
  if (closing == kCloseRef) s = Cascade(s, c.Line[0]);
  return s;
}

}  // namespace qz
