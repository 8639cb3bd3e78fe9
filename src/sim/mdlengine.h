#pragma once
// The simulated analyzer: the model state behind the model window and the building of one
// result frame in the unit's own layout.
//
// Every frame carries a load reflection coefficient (defined, matched, animated or picked on the
// chart) seen through the simulated tuner, an incident power (continuous, or shaped as a
// rectified or pulsed waveform when the unit sends the samples of a block), the counted
// frequency, the temperature, the operator's error flags and random uncertainty on all of them.
// The random draws come from the program-wide generator (util/random.h).

#include <QString>
#include <cstdint>
#include <functional>

#include "core/records.h"
#include "sim/mdlanim.h"
#include "util/complex.h"

namespace qz {

class TQvWin;
class TModelTuner;

// Magnitude deviations of the closing frame and the pause.
inline constexpr double kSignalValidLevel = 0.1;  // envelope level above which a signal exists
// Microseconds of pause per count of the "Pause" setting.
inline constexpr int kPauseUsPerCount = 20;
// Motor status and error bytes of every model frame.
inline constexpr uint8_t kMdlMotStatus = 0x77;
inline constexpr uint8_t kMdlMotError = 0;

// The model's values at creation, and again when the model is started (before the automatic
// setup is read).
struct TMdlDefaults {
  double Mg11 = 0.2;
  double Faza = 45.0;
  bool UseChart = false;
  uint8_t ErrByte = 0;
  double Runcert = 0.0;
  double f_Hz = 2.45e9;
  double Funcert = 0.0;
  double Pow = 5678.0;
  double Paver = 0.0;
  double Puncert = 5.0;
  double Temp = 25.0;
  double Tuncert = 0.0;
};
inline constexpr TMdlDefaults kMdlDefaults{};

// Envelopes of the shaped incident power over one period (phase 0..1), maximum about 1.
double RectEnvelope(double phi);
double PulsEnvelope(double phi);

class TMdlEngine {
 public:
  // qv: the analyzer state (waveform, sampling, counter settings, power correction); sim: the
  // simulation state shared with the tuner and the command layer; tuner: the simulated tuner.
  TMdlEngine(TQvWin& qv, TSimState& sim, TModelTuner& tuner);
  TMdlEngine(const TMdlEngine&) = delete;
  TMdlEngine& operator=(const TMdlEngine&) = delete;

  TQvWin& Qv() { return qv_; }
  const TQvWin& Qv() const { return qv_; }
  TSimState& Sim() { return sim_; }
  const TSimState& Sim() const { return sim_; }
  TModelTuner& Tuner() { return tuner_; }
  const TModelTuner& Tuner() const { return tuner_; }

  // The "R" and "No spiral" boxes of the animation, in force at once (the entries' presenter
  // keeps them in step with its record).
  TAnimFlags AnimFlags;
  // Replaces the pause's sleep (tests); receives microseconds.
  std::function<void(int64_t us)> Sleep;

  // Model state.
  double Mg11 = kMdlDefaults.Mg11;
  double Rloss = -13.979400086720377;  // of Mg11 0.2
  double Swr = 1.5;
  double Faza = kMdlDefaults.Faza;
  uint8_t ErrByte = kMdlDefaults.ErrByte;
  uint8_t FreErrB = 0;
  uint8_t TempErrB = 0;
  TAnimRho AnimRho;
  int32_t WaitCyclesCount = 0;
  int32_t smpl = 0;
  bool PValid = true;
  double Paver = kMdlDefaults.Paver;
  bool UseChart = kMdlDefaults.UseChart;
  complex SimulRo;
  double Runcert = kMdlDefaults.Runcert;
  double f_Hz = kMdlDefaults.f_Hz;
  double Funcert = kMdlDefaults.Funcert;
  double Pow = kMdlDefaults.Pow;
  double Puncert = kMdlDefaults.Puncert;
  double Temp = kMdlDefaults.Temp;
  double Tuncert = kMdlDefaults.Tuncert;
  QString MdlResPath;

  // Builds one frame into mob; returns its length (29, or 31 with a sample index). avg is the
  // unit's averaging count: the power and reflection deviations shrink with its square root.
  int GetMobBytes(int avg, TMerObjekt& mob);
  // The frequency (Hz) and the reflection coefficients at the tuner input and of the load.
  void GetFreAndRo(int avg, double& f, complex& rinp, complex& rloa);
  // true: start of a run (sample index 0); false: the next sample index of a block.
  void SetSmpl(bool nuluj);

  // The pieces of a frame (public for tests).
  double GetSimPinc(int avg);
  double GetSimFre();
  complex GetSimRho(int avg);
  void RhoToInput(const complex& rm, complex& rinp, complex& rloa) const;
  complex RandRho(int avg, double r) const;
  double GetSimTemp();
  // Sample position code (0..3) and the error byte of the next frame.
  uint8_t SampleCode() const;
  uint8_t FrameErrByte() const;
  // The samples of a block are being sent (rectified or pulsed with individual samples on).
  bool BlockSampling() const;
  // Samples per block of the present waveform (at least 1).
  int BlockSize() const;

 private:
  void Pause() const;

  TQvWin& qv_;
  TSimState& sim_;
  TModelTuner& tuner_;
};

}  // namespace qz
