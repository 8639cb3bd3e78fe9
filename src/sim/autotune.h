#pragma once
// The autotune of the simulated tuner: once per frame it decides whether a tune is due, and a
// tune finds the stub positions that match the present load.
//
// TAutoTune works on top of TTunerModel (description, derived and per-frequency data, the shared
// records). The per-frequency data must already be filled for the frame's frequency
// (TU_FillFreqPars) when TunerStep runs.
//
// What TunerStep reads and writes:
// - reads the autotune parameters of the motor state (on/off, tolerance, skipped measurements,
//   target, maximum iterations, break-up, minimum step, maximum insertion), the derived
//   hysteresis, the simulation state's MaxMag_mU, Btune1, WasTune1Click, TuStartPos, NTunBurst;
// - writes the motor state's target and actual positions (a simulated stub arrives at once),
//   the simulation state's Btune1, WasTune1Click and NTunBurst, the model's frame counter
//   (AtFrameCount) and stub-pair mode (PairMode);
// - after a single tune: the tune time (seconds, TuneTime());
// - after every tune: its outcome (LastOutcome()); a tune that could not reach the target is
//   remembered with its load, frequency and positions and not repeated while they stay;
// - tells its observers that the stubs moved, after a single tune the tune time (the
//   analyzer state follows it through TTuneTimeFollower, so the frame time-out waits for it),
//   and the outcome of every tune.

#include <QString>
#include <vector>

#include "sim/tunermodel.h"
#include "util/complex.h"
#include "util/smatrix.h"

namespace qz {

// The per-frame decisions of TunerStep.
inline constexpr int kTuneBurstLen = 3;          // tunes in a burst while the load stays matched
inline constexpr double kPairMatchedQ = 2.5e-5;  // |reflection|^2 that ends the pair search
inline constexpr int kBreakUpMin = 1;
inline constexpr int kBreakUpMax = 50;
inline constexpr int kBisectMaxRounds = 101;        // rounds of the stub and target searches
inline constexpr double kStubInsertionTol = 0.005;  // |S11| accuracy of FindStubInsertion
// The least distance from the target that counts as reached: the pair search's own end
// (|reflection|^2 < 2.5e-5).
inline constexpr double kTuneReachMin = 0.005;
// A load within the tolerance of the one a tune could not match, at a frequency within this
// share of it, with the stubs where that tune put them, is not tuned again.
inline constexpr double kKeptFreqShare = 0.001;

class TAutoTune;

// How the last tune ended.
struct TTuneOutcome {
  // The input reflection came within the tolerance of the target (at least kTuneReachMin),
  // for the load tuned and for the load as given (they differ beyond the Max tune Mag limit).
  bool Reached = true;
  double GammaIn = 0.0;  // |input reflection| for the load as given, at the positions found
  double Tolerance = 0.0;
  // A stub of the pair that tuned stands at the working maximum: the load lies outside what
  // the tuner can match.
  bool AtTravelEnd = false;
  // Empty when reached, else the operator's text.
  QString Text() const;
  friend bool operator==(const TTuneOutcome&, const TTuneOutcome&) = default;
};

// Windows that show the autotune's work (the tuner picture).
class TAutoTuneObserver {
 public:
  virtual ~TAutoTuneObserver() = default;
  // A tune moved the stubs: actual positions = target positions.
  virtual void OnStubsTuned(const TAutoTune&) {}
  // A single tune finished; seconds is the time a real motor set needs (the picture shows
  // TuneTimeMsText of it).
  virtual void OnTuneTime(const TAutoTune&, double /*seconds*/) {}
  // Every tune ends with its outcome (LastOutcome), told after OnStubsTuned.
  virtual void OnTuneOutcome(const TAutoTune&, const TTuneOutcome&) {}
};

// What one call of TunerStep did.
struct TTunerStepResult {
  bool Tuned = false;
  bool TuneTimeWritten = false;
  bool HeldBack = false;  // a tune was due, but the load and stubs are those of an unreached tune
};

// What the last SolvePair did (for tests and diagnostics).
struct TSolveInfo {
  int Iterations = 0;
  double Q = 0.0;          // |reflection|^2 at the final pair
  double Err = 0.0;        // mismatch at the final pair
  double X2 = 0.0;         // generator-side stub of the pair, mm
  double X1 = 0.0;         // load-side stub of the pair, mm
  bool TargetRan = false;  // TuneToTarget moved the free stub
};

// The fixed parts of the stub pair: the load side, the generator side, the line between.
struct TPairCtx {
  complex GammaA;  // load side, seen at the load-side stub
  complex GammaB;  // generator side, seen from the generator-side stub
  TSmatrix M;      // the line between the two stubs
};

// Milliseconds shown for a tune time in seconds (round half to even).
int TuneTimeMs(double seconds);

class TAutoTune {
 public:
  explicit TAutoTune(TTunerModel& model);

  TTunerModel& Model() { return m_; }
  const TTunerModel& Model() const { return m_; }

  void AddObserver(TAutoTuneObserver* o);
  void RemoveObserver(TAutoTuneObserver* o);

  // Once per frame while the tuner is present. gn is the input reflection coefficient as the
  // unit would measure it (with its random deviation), rloa the load reflection coefficient.
  TTunerStepResult TunerStep(const complex& gn, const complex& rloa);

  // Target positions that match the load rhoL (load reference plane). When the pair of stubs
  // chosen first cannot reach the target (and the tolerance is above 0), the other pair is
  // solved too and taken when it reaches, or when neither does and it ends closer. Sets
  // LastOutcome.
  void TU_AutoTun(const complex& rhoL);
  const TTuneOutcome& LastOutcome() const { return outcome_; }

  // The stub-pair mode for the load g3 seen at stub 3 (true: stubs 2 and 3), with hysteresis
  // against the present mode; writes the model's PairMode and returns it.
  bool ChoosePair(const complex& g3);
  // S11 of a single stub at the insertion whose reflection magnitude is t.
  complex FindStubInsertion(double t) const;
  // The fixed parts of the pair for the load g3 in the given mode.
  TPairCtx PairContext(const complex& g3, bool modeSet) const;
  // Mismatch of the pair at insertions x1 (load side) and x2 (generator side), mm.
  double PairMismatch(const TPairCtx& c, double x1, double x2) const;
  // Grid and pattern search over the pair of the present mode; writes the target positions.
  void SolvePair(const complex& g3);
  // Moves the free stub until the input reflection reaches the target (only when target >= tol).
  void TuneToTarget(const complex& g3, double target, double tol);

  // Seconds of the last single tune.
  double TuneTime() const { return tuneTime_; }
  const TSolveInfo& LastSolve() const { return info_; }

  // An unreached tune is remembered so that it is not repeated for the same load, frequency and
  // stub positions (TunerStep); a tune that reaches, a single tune, autotune off and a derived
  // description forget it.
  bool HoldsUnreached() const { return kept_.valid; }
  void ForgetUnreached() { kept_.valid = false; }

 private:
  // |input reflection| at the target positions for the load g3 seen at stub 3.
  double InputMagAt(const complex& g3) const;
  // The load, frequency and stub positions are those of the remembered unreached tune.
  bool HeldBySameLoad(const complex& rloa) const;
  // The pair of the present mode: solve, then move the free stub to the target.
  void SolveAndTarget(const complex& g3);

  struct TKept {
    bool valid = false;
    complex rloa;
    double fHz = 0.0;
    TMotPos pos;
    uint64_t derived = 0;
  };
  TTunerModel& m_;
  std::vector<TAutoTuneObserver*> observers_;
  double tuneTime_ = 0.0;
  TSolveInfo info_;
  TTuneOutcome outcome_;
  TKept kept_;
};

}  // namespace qz
