#include "sim/autotune.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

#include "core/smatrixalg.h"
#include "util/format.h"
#include "util/numutil.h"
#include "util/unitconv.h"

namespace qz {

namespace {

constexpr double kTwoPi = 2.0 * kPi;

// a mod 2 pi in 0 .. 2 pi, floored, so the sign of a does not matter.
double Mod2Pi(double a) {
  const double r = a - kTwoPi * std::floor(a / kTwoPi);
  return r >= kTwoPi ? 0.0 : r;
}

// The angle brought to -pi .. pi.
double Wrap(double a) { return Mod2Pi(a + kPi) - kPi; }

// b lies on the counter-clockwise arc running from a to c.
bool OnArc(double b, double a, double c) { return Mod2Pi(b - a) <= Mod2Pi(c - a); }

double Mismatch(const complex& a, const complex& b) {
  const double dr = b.re - a.re;
  const double di = b.im + a.im;
  return dr * dr + di * di;
}

}  // namespace

int TuneTimeMs(double seconds) { return RoundToInt32(seconds * 1000.0); }

QString TTuneOutcome::Text() const {
  if (Reached) return QString();
  const QString head = AtTravelEnd ? QStringLiteral("Load outside the matchable area")
                                   : QStringLiteral("Tune ended above the tolerance");
  return head +
         Format(QStringLiteral(": |Gamma in| = %1.3f (tolerance %1.3f)"), {GammaIn, Tolerance});
}

TAutoTune::TAutoTune(TTunerModel& model) : m_(model) {}

void TAutoTune::AddObserver(TAutoTuneObserver* o) {
  if (o && std::find(observers_.begin(), observers_.end(), o) == observers_.end())
    observers_.push_back(o);
}

void TAutoTune::RemoveObserver(TAutoTuneObserver* o) {
  observers_.erase(std::remove(observers_.begin(), observers_.end(), o), observers_.end());
}

TTunerStepResult TAutoTune::TunerStep(const complex& gn, const complex& rloa) {
  TTunerStepResult r;
  TSimState& sim = m_.Sim();
  TMotState& mot = m_.Mot();

  bool tune = false;
  if (sim.Btune1) {
    sim.Btune1 = false;
    kept_.valid = false;
    tune = true;
  } else if (!mot.AtOn) {
    kept_.valid = false;
    return r;
  } else if (m_.AtFrameCount < mot.Skip) {
    ++m_.AtFrameCount;
    return r;
  } else {
    // A load outside the tolerance starts a burst; while it stays matched, the burst goes on
    // for three tunes in all, then the counter skips the next measurements.
    const double tol = mot.Toler_mU / 1000.0;
    const double dev = std::fabs(CAbs(gn) - mot.Targ_mU / 1000.0);
    if (dev >= tol && HeldBySameLoad(rloa)) {
      // The last tune could not match this load at this frequency with the stubs where it
      // put them: tuning again would only repeat it.
      r.HeldBack = true;
      m_.AtFrameCount = 0;
    } else if (dev >= tol) {
      tune = true;
      sim.NTunBurst = 1;
      m_.AtFrameCount = mot.Skip;
    } else if (sim.NTunBurst < kTuneBurstLen) {
      tune = true;
      ++sim.NTunBurst;
      m_.AtFrameCount = mot.Skip;
    } else {
      m_.AtFrameCount = 0;
    }
  }
  if (!tune) return r;

  TU_AutoTun(rloa);
  mot.ActPos = mot.TargPos;
  r.Tuned = true;
  if (outcome_.Reached) {
    kept_.valid = false;
  } else {
    kept_.valid = true;
    kept_.rloa = rloa;
    kept_.fHz = m_.Freq().F_Hz;
    kept_.pos = mot.ActPos;
    kept_.derived = m_.DerivedCount();
  }

  const std::vector<TAutoTuneObserver*> list = observers_;
  if (sim.WasTune1Click) {
    tuneTime_ = m_.ComputeTuneTime(sim.TuStartPos, mot.ActPos);
    sim.WasTune1Click = false;
    r.TuneTimeWritten = true;
    for (TAutoTuneObserver* o : list) o->OnTuneTime(*this, tuneTime_);
  }
  for (TAutoTuneObserver* o : list) o->OnStubsTuned(*this);
  for (TAutoTuneObserver* o : list) o->OnTuneOutcome(*this, outcome_);
  return r;
}

bool TAutoTune::HeldBySameLoad(const complex& rloa) const {
  if (!kept_.valid || kept_.derived != m_.DerivedCount()) return false;
  const TMotState& mot = m_.Mot();
  const double tol = mot.Toler_mU / 1000.0;
  if (!(CAbs(rloa - kept_.rloa) < tol)) return false;
  if (!(std::fabs(m_.Freq().F_Hz - kept_.fHz) <= kKeptFreqShare * std::fabs(kept_.fHz)))
    return false;
  return mot.ActPos == kept_.pos;
}

void TAutoTune::TU_AutoTun(const complex& rhoL) {
  const complex g = ClipMagnitude(rhoL, m_.Sim().MaxMag_mU / 1000.0);
  // The load as seen at the plane of stub 3.
  const TSmatrix& line3 = m_.Freq().Chain.Line[3];
  const complex g3 = InputFromLoad(g, line3);
  ChoosePair(g3);
  SolveAndTarget(g3);

  TMotState& mot = m_.Mot();
  const double target = mot.Targ_mU / 1000.0;
  const double tol = mot.Toler_mU / 1000.0;
  const double reach = std::max(tol, kTuneReachMin);
  double miss = std::fabs(InputMagAt(g3) - target);
  // The pair chosen first (kept by the hysteresis near a border, or the border itself
  // misjudged) may not reach a load the other pair matches. Exact tunes (tolerance 0) take
  // the first pair as it is.
  if (!(miss < reach) && tol > 0.0) {
    const bool firstMode = m_.PairMode;
    const TMotPos firstPos = mot.TargPos;
    const TSolveInfo firstInfo = info_;
    m_.PairMode = !firstMode;
    SolveAndTarget(g3);
    const double otherMiss = std::fabs(InputMagAt(g3) - target);
    if (otherMiss < reach || otherMiss < miss) {
      miss = otherMiss;
    } else {
      m_.PairMode = firstMode;
      mot.TargPos = firstPos;
      info_ = firstInfo;
    }
  }

  outcome_ = TTuneOutcome{};
  outcome_.Tolerance = tol;
  outcome_.GammaIn =
      CAbs(InputFromLoad(InputFromLoad(rhoL, line3), m_.TunerChain(mot.TargPos, kCloseNone)));
  outcome_.Reached = miss < reach && std::fabs(outcome_.GammaIn - target) < reach;
  const int maxSteps = m_.Derived().MaxSteps;
  const int a = m_.PairMode ? 2 : 1;
  outcome_.AtTravelEnd = mot.TargPos[a] >= maxSteps || mot.TargPos[a + 1] >= maxSteps;
}

void TAutoTune::SolveAndTarget(const complex& g3) {
  SolvePair(g3);
  const TMotState& mot = m_.Mot();
  TuneToTarget(g3, mot.Targ_mU / 1000.0, mot.Toler_mU / 1000.0);
}

double TAutoTune::InputMagAt(const complex& g3) const {
  return CAbs(InputFromLoad(g3, m_.TunerChain(m_.Mot().TargPos, kCloseNone)));
}

bool TAutoTune::ChoosePair(const complex& g3) {
  const TTunerFreqPars& fq = m_.Freq();
  const double t = CAbs(g3);
  const double phi = CArg(g3);
  const complex s = FindStubInsertion(t);
  const double alpha = -CArg(s);

  const double psi3 = alpha + 2.0 * (fq.Theta[2] + fq.Phi21);
  const double delta = 2.0 * (2.0 * fq.Phi21 + fq.Theta[1] + fq.Theta[2]);
  const double psi1 = alpha + delta;
  const double m1 = Wrap((psi1 + alpha) / 2.0);
  const double m2 = Wrap(m1 + kPi);
  double m;
  if (delta < kTwoPi)
    m = OnArc(m1, psi1, alpha) ? m1 : m2;
  else
    m = OnArc(m1, alpha, psi1) ? m1 : m2;
  const bool candidate = OnArc(phi, psi3, m);

  // Near a border between the two regions the present pair stays, so that a load wandering
  // along the border does not switch the pair on every tune.
  const double h = m_.Derived().HystRad;
  const double h2 = h * h;
  const bool nearBorder = CAbs2(CPolar(t, m) - g3) < h2 || CAbs2(CPolar(t, psi3) - g3) < h2;
  if (!nearBorder) m_.PairMode = candidate;
  return m_.PairMode;
}

complex TAutoTune::FindStubInsertion(double t) const {
  const double maxIns = m_.Mot().MaxInsert_mm;
  const double stepMm = m_.Derived().StepMm;
  double x = 0.0;
  double step = maxIns;
  complex s11 = m_.StubMatrix(x).s11;
  double gPrev = CAbs(s11) - t;
  for (int round = 0; round < kBisectMaxRounds; ++round) {
    x = ClampLowWins(x + step, 0.0, maxIns);
    s11 = m_.StubMatrix(x).s11;
    const double g = CAbs(s11) - t;
    if (g * gPrev <= 0.0) {
      if (std::fabs(g) < kStubInsertionTol || std::fabs(step) <= stepMm) break;
      step = -step / 2.0;
    }
    gPrev = g;
  }
  return s11;
}

TPairCtx TAutoTune::PairContext(const complex& g3, bool modeSet) const {
  const TTunerFreqPars& fq = m_.Freq();
  const std::array<TSmatrix, 4>& line = fq.Chain.Line;
  TPairCtx c;
  if (modeSet) {
    // Stubs 2 and 3; stub 1 at zero insertion between them and the generator. The pair must
    // see the matched generator through stub 1 and line 1 as its source: the output
    // reflection of that section (for this lossless section the conjugate of the load that
    // would match its input).
    c.GammaA = g3;
    c.M = line[2];
    c.GammaB = OutputFromSource(complex(0.0), Cascade(fq.S0, line[1]));
  } else {
    // Stubs 1 and 2; stub 3 at zero insertion on the load side.
    c.GammaA = InputFromLoad(g3, Cascade(line[2], fq.S0));
    c.M = line[1];
    c.GammaB = complex(0.0);
  }
  return c;
}

double TAutoTune::PairMismatch(const TPairCtx& c, double x1, double x2) const {
  const complex a = InputFromLoad(c.GammaA, m_.StubMatrix(x1));
  const complex b = OutputFromSource(c.GammaB, Cascade(m_.StubMatrix(x2), c.M));
  return Mismatch(a, b);
}

void TAutoTune::SolvePair(const complex& g3) {
  const TMotState& mot = m_.Mot();
  const bool modeSet = m_.PairMode;
  const TPairCtx c = PairContext(g3, modeSet);
  const double maxIns = mot.MaxInsert_mm;
  const int n = ClampLowWins(static_cast<int32_t>(mot.BreakUp), kBreakUpMin, kBreakUpMax);
  const double h = maxIns / n;
  const double minStep = mot.MinStep / 10.0 * m_.Derived().StepMm;

  // The two halves of the mismatch depend on one stub each.
  auto aOf = [&](double x1) { return InputFromLoad(c.GammaA, m_.StubMatrix(x1)); };
  auto sOf = [&](double x2) { return Cascade(m_.StubMatrix(x2), c.M); };

  // Grid: the first smallest mismatch, generator-side stub outer. The load-side halves are held
  // as parts so that a row of mismatches is computed in one sweep before it is searched.
  constexpr std::size_t kGrid = kBreakUpMax + 1;
  const std::size_t cells = static_cast<std::size_t>(n) + 1;
  std::array<double, kGrid> aRe{}, aIm{}, row{};
  std::array<TSmatrix, kGrid> sGrid;
  std::array<complex, kGrid> bGrid;
  for (std::size_t i = 0; i < cells; ++i) {
    const double x = static_cast<int>(i) * h;
    const complex a = aOf(x);
    aRe[i] = a.re;
    aIm[i] = a.im;
    sGrid[i] = sOf(x);
    bGrid[i] = OutputFromSource(c.GammaB, sGrid[i]);
  }
  double best = 1000.0;
  double x2 = 0.0;
  double x1 = 0.0;
  std::size_t best2 = 0;
  std::size_t best1 = 0;
  for (std::size_t i = 0; i < cells; ++i) {
    const complex b = bGrid[i];
    // Mismatch(a, b) for every a of the row.
    for (std::size_t j = 0; j < cells; ++j) {
      const double dr = b.re - aRe[j];
      const double di = b.im + aIm[j];
      row[j] = dr * dr + di * di;
    }
    for (std::size_t j = 0; j < cells; ++j) {
      if (row[j] < best) {
        best = row[j];
        x2 = static_cast<int>(i) * h;
        x1 = static_cast<int>(j) * h;
        best2 = i;
        best1 = j;
      }
    }
  }

  // Pattern search. The current values always move on to the candidates; a coordinate whose
  // current value was the better one turns its step back at half the size.
  // The candidates of one round are the current values of the next, so each round computes
  // the halves of its candidates only.
  double s2 = h;
  double s1 = h;
  double cur2 = x2;
  double cur1 = x1;
  int iter = 0;
  double q = 0.0;
  double err = best;
  const int maxIter = mot.MaxIter;
  // In the pair of stubs 2 and 3 the generator sees the pair through stub 1 at zero.
  const TSmatrix front = modeSet ? Cascade(m_.Freq().S0, m_.Freq().Chain.Line[1]) : TSmatrix{};
  complex aCur(aRe[best1], aIm[best1]);
  TSmatrix sCur = sGrid[best2];
  complex bCur = bGrid[best2];
  for (;;) {
    ++iter;
    const double cand2 = ClampLowWins(cur2 + s2, 0.0, maxIns);
    const double cand1 = ClampLowWins(cur1 + s1, 0.0, maxIns);
    const complex aCand = aOf(cand1);
    const TSmatrix sCand = sOf(cand2);
    const complex bCand = OutputFromSource(c.GammaB, sCand);
    const double e[4] = {Mismatch(aCur, bCur), Mismatch(aCand, bCur), Mismatch(aCur, bCand),
                         Mismatch(aCand, bCand)};
    int k = 0;
    for (int i = 1; i < 4; ++i)
      if (e[i] < e[k]) k = i;
    const bool keep2 = k < 2;         // (cur2, *) was best
    const bool keep1 = (k & 1) == 0;  // (*, cur1) was best
    if (keep2) s2 = -s2 / 2.0;
    if (keep1) s1 = -s1 / 2.0;
    x2 = keep2 ? cur2 : cand2;
    x1 = keep1 ? cur1 : cand1;
    err = e[k];
    const complex a = keep1 ? aCur : aCand;
    const TSmatrix& s = keep2 ? sCur : sCand;
    complex in = InputFromLoad(a, s);
    if (modeSet) in = InputFromLoad(in, front);
    q = CAbs2(in);
    cur2 = cand2;
    cur1 = cand1;
    aCur = aCand;
    sCur = sCand;
    bCur = bCand;
    if (q < kPairMatchedQ) break;
    if (std::fabs(s2) < minStep && std::fabs(s1) < minStep) break;
    if (iter >= maxIter) break;
  }

  info_ = TSolveInfo{};
  info_.Iterations = iter;
  info_.Q = q;
  info_.Err = err;
  info_.X2 = x2;
  info_.X1 = x1;

  TMotState& m = m_.Mot();
  if (modeSet)
    m.TargPos = MakeMotPos(0, m_.StepsFromMm(x2), m_.StepsFromMm(x1));
  else
    m.TargPos = MakeMotPos(m_.StepsFromMm(x2), m_.StepsFromMm(x1), 0);
}

void TAutoTune::TuneToTarget(const complex& g3, double target, double tol) {
  if (!(target >= tol)) return;
  TMotPos& pos = m_.Mot().TargPos;
  const int k = m_.PairMode ? 1 : 3;
  const int maxSteps = m_.Derived().MaxSteps;
  int step = ClampLowWins(maxSteps / 10, 1, maxSteps);
  pos[k] = 0;
  auto g = [&]() { return CAbs(InputFromLoad(g3, m_.TunerChain(pos, kCloseNone))) - target; };
  double gPrev = g();
  if (!(gPrev < 0.0)) return;
  info_.TargetRan = true;
  for (int round = 0; round < kBisectMaxRounds; ++round) {
    pos[k] = static_cast<int16_t>(ClampLowWins(pos[k] + step, 0, maxSteps));
    const double gv = g();
    if (gv * gPrev <= 0.0) {
      if (std::fabs(gv) < tol || std::abs(step) <= 2) break;
      step = -step / 2;
    }
    gPrev = gv;
  }
}

}  // namespace qz
