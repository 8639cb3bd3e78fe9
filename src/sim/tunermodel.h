#pragma once
// The simulated tuner: derived data of the tuner description, the per-frequency data, the tuner
// two-port at given stub positions, the motor arithmetic (tune time, steps of an insertion) and
// the update that follows every change of the description.
//
// The model works on the program's shared records (description, motor state, simulation state),
// which it does not own. What a description change means for other objects (the unit
// description, the analyzer's cut-off frequency, the substitute frequency, the model window's
// frequency entry) goes through TTunerHost; windows that show the tuner subscribe as
// TTunerObserver. The autotune builds on this class through its public operations.

#include <QStringList>
#include <array>
#include <cstdint>
#include <vector>

#include "core/records.h"
#include "sim/stubmatrix.h"
#include "sim/tunerdescr.h"
#include "util/smatrix.h"

namespace qz {

class TTunerModel;

// The largest working maximum: positions are signed 16-bit motor steps.
inline constexpr int kMaxWorkingSteps = 32767;

// Reference plane relative to the stubs.
enum TSectType : int {
  kSectBeforeStubs = 0,  // section 0 runs from the reference plane to stub 1
  kSectBehindStubs = 1,  // section 0 runs from stub 3 to the reference plane
  kSectBetweenStubs = 2,
};

struct TTunerDerived {
  double StepMm = kTuDefMmPerStep;  // working step length, mm per motor step
  int MaxSteps = kTuDefMaxSteps;    // working maximum steps, 1..32767
  uint16_t RstSteps = 0;
  uint16_t InRate = 3000;   // steps per second, pulling the stub in (negative moves)
  uint16_t OutRate = 3000;  // steps per second, positive moves
  int Tune1Wait = 0;
  double Fnomin_Hz = 0.0;
  double WgB_mm = 0.0;
  int SectType = kSectBeforeStubs;
  std::array<double, 4> L_m{};  // section lengths 0..3, m
  double Z0 = 0.0;              // coaxial line impedance, ohm
  double ShortFactor = 0.0;     // short-circuit factor of the coaxial stub
  double TolSq = 0.0;           // (tolerance / 1000)^2
  double HystRad = 0.0;         // hysteresis, radians
  double Cutoff_Hz = 0.0;       // of the guide (0 for a coaxial cell)
};

struct TTunerFreqPars {
  double F_Hz = 0.0;
  double LambdaG = 0.0;  // guide wavelength, m (-1 at or below cut-off)
  double Dev = 0.0;      // (f / nominal - 1) x 100
  std::array<double, 4> Theta{};
  TChainPars Chain;  // stub coefficients, line matrices, step length, coaxial values
  TSmatrix S0;       // a stub at zero insertion
  double Phi21 = 0.0;
  bool HasRef = false;  // the reference section is a two-port (else a line of Theta[0])
  TSmatrix Ref;
};

// Side effects of a derived description on objects outside the tuner model.
class TTunerHost {
 public:
  virtual ~TTunerHost() = default;
  // The unit description takes the tuner's identity (ApplyTunerIdentity), the analyzer its
  // cut-off frequency, the substitute frequency becomes the nominal one (kHz), and the model
  // window checks its frequency entry again.
  virtual void TunerDescrApplied(const TTunerDescr& d, double cutoffHz) = 0;
};

// Windows that show the tuner.
class TTunerObserver {
 public:
  virtual ~TTunerObserver() = default;
  // The description or the operator's maximum insertion changed and was derived anew.
  virtual void OnTunerDescriptionChanged(const TTunerModel&) {}
  // The autotune parameters changed (after OnTunerDescriptionChanged).
  virtual void OnAtParamsChanged(const TTunerModel&) {}
};

// Identity fields of the unit description taken from the tuner description.
void ApplyTunerIdentity(const TTunerDescr& d, TFixPar& fix);
// c / 2a of the guide; 0 for a coaxial cell or a guide without width.
double TunerCutoffHz(const TTunerDescr& d);
// Step sizes of the tuner picture's buttons: 1, round(cbrt(max)), round(cbrt(max^2)).
std::array<int, 3> StubStepSizes(int maxSteps);

class TTunerModel {
 public:
  TTunerModel(TTunerDescr& descr, TMotState& mot, TSimState& sim);

  void SetHost(TTunerHost* host) { host_ = host; }
  void AddObserver(TTunerObserver* o);
  void RemoveObserver(TTunerObserver* o);

  TTunerDescr& Descr() { return d_; }
  const TTunerDescr& Descr() const { return d_; }
  TMotState& Mot() { return mot_; }
  const TMotState& Mot() const { return mot_; }
  TSimState& Sim() { return sim_; }
  const TSimState& Sim() const { return sim_; }
  const TTunerDerived& Derived() const { return dv_; }
  const TTunerFreqPars& Freq() const { return fq_; }
  TTunerRecords Records() { return TTunerRecords{d_, mot_, sim_}; }

  // Reads the description from the lines of a setup file: the operator's maximum insertion is
  // unset first, every description line is applied, then TunerDescriptionChanged runs.
  void ReadDescrLines(const QStringList& lines);

  // Recomputes the working data from the description (and limits the positions to them).
  void TU_MdlDerivedData();
  // Squared tolerance and hysteresis angle from the autotune parameters.
  void DerivedAt();
  // The per-frequency data for f (Hz). Nothing is computed again for the frequency of the last
  // call when nothing has been derived since.
  void TU_FillFreqPars(double f);

  // The common update after any change of the description or of the maximum insertion:
  // derived data, the motor state's maximum insertion, positions within the working maximum,
  // targets at the actual positions; then the observers.
  void TunerDescriptionChanged();
  // TunerDescriptionChanged, then the observers of the autotune parameters.
  void UpdateAtParams();

  // Two-ports at the present frequency. TunerChain keeps its last result until the positions,
  // the closing or the per-frequency data change.
  TSmatrix StubMatrix(double xMm) const;
  TSmatrix TunerChain(const TMotPos& pos, int closing) const;

  // The reference section between the analyzer plane and the tuner input, both directions.
  complex TunerInputToAnalyzer(const complex& g) const;
  complex AnalyzerToTunerInput(const complex& g) const;

  // Seconds a real motor set needs from start to stop: the largest move (the first stub on
  // equal moves) at the out-rate when positive, else the in-rate.
  double ComputeTuneTime(const TMotPos& start, const TMotPos& stop) const;
  // Motor steps of an insertion, limited to the maximum insertion and the working maximum.
  int16_t StepsFromMm(double xMm) const;

  // Counts the derivations of the description (TU_MdlDerivedData): what was computed from an
  // earlier count is out of date.
  uint64_t DerivedCount() const { return derivedCount_; }

  // Working values of the autotune.
  uint16_t AtFrameCount = 0;
  bool PairMode = false;  // set: stubs 2 and 3 tune with stub 1 at 0; clear: stubs 1 and 2

 private:
  void Notify(bool atParams);

  TTunerDescr& d_;
  TMotState& mot_;
  TSimState& sim_;
  TTunerHost* host_ = nullptr;
  std::vector<TTunerObserver*> observers_;
  TTunerDerived dv_;
  TTunerFreqPars fq_;
  uint64_t derivedCount_ = 0;
  // The per-frequency data were filled after this derivation (0: never).
  uint64_t freqFilledAt_ = 0;
  // The last chain and what it was built from (a new fill of the frequency data forgets it).
  struct TChainMemo {
    bool valid = false;
    TMotPos pos;
    int closing = 0;
    TSmatrix s;
  };
  mutable TChainMemo chain_;
};

}  // namespace qz
