#pragma once
// The tuner as the simulated analyzer sees it: what it does to the load's reflection
// coefficient at the present stub positions and frequency, and the per-frame autotune step.
//
// The frame engine talks only to this interface, so it can be tested with a tuner that passes
// everything through unchanged, while the program plugs in the real tuner model.

#include <QString>
#include <QStringList>

#include "core/records.h"
#include "util/complex.h"

namespace qz {

class IniFile;
class TTunerModel;
class TAutoTune;

class TModelTuner {
 public:
  virtual ~TModelTuner() = default;

  // Recomputes the tuner's per-frequency data for f (Hz); every frame calls it first.
  virtual void FillFreqPars(double fHz) = 0;
  // Reflection coefficient at the tuner input when the tuner is terminated by load.
  virtual complex InputFromLoad(const complex& load) const = 0;
  // The load that gives input at the tuner input (the inverse of InputFromLoad).
  virtual complex LoadFromInput(const complex& input) const = 0;
  // Across the reference section: from the tuner input to the analyzer plane and back.
  virtual complex TunerInputToAnalyzer(const complex& g) const = 0;
  virtual complex AnalyzerToTunerInput(const complex& g) const = 0;
  // The per-frame autotune control with the measured input reflection gn and the load rloa.
  virtual void TunerStep(const complex& gn, const complex& rloa) = 0;
  // The present stub positions and the working maximum step count.
  virtual TMotPos Positions() const = 0;
  virtual int MaxSteps() const = 0;
  // The tuner description as held in a setup file: the lines of the whole file are read again
  // (the reader picks its own keys), and written into the given section.
  virtual void ReadDescrLines(const QStringList& lines) = 0;
  virtual void WriteDescr(IniFile& ini, const QString& section) const = 0;
};

// A tuner that is not there: input and load are the same, no reference section, no autotune.
// Positions and maximum are plain fields; the calls are counted for tests.
class TTransparentTuner : public TModelTuner {
 public:
  void FillFreqPars(double fHz) override {
    LastFreq = fHz;
    ++FillCount;
  }
  complex InputFromLoad(const complex& load) const override { return load; }
  complex LoadFromInput(const complex& input) const override { return input; }
  complex TunerInputToAnalyzer(const complex& g) const override { return g; }
  complex AnalyzerToTunerInput(const complex& g) const override { return g; }
  void TunerStep(const complex& gn, const complex& rloa) override {
    LastGn = gn;
    LastRloa = rloa;
    ++StepCount;
  }
  TMotPos Positions() const override { return Pos; }
  int MaxSteps() const override { return Max; }
  void ReadDescrLines(const QStringList& lines) override { DescrLines = lines; }
  void WriteDescr(IniFile& ini, const QString& section) const override;

  TMotPos Pos;
  int Max = kTuDefMaxSteps;
  double LastFreq = 0.0;
  int FillCount = 0;
  complex LastGn, LastRloa;
  int StepCount = 0;
  QStringList DescrLines;
};

// The program's tuner: the tuner model at its actual positions (closed to the output flange)
// and its autotune.
class TTunerModelAdapter : public TModelTuner {
 public:
  TTunerModelAdapter(TTunerModel& model, TAutoTune& autotune) : m_(model), at_(autotune) {}

  void FillFreqPars(double fHz) override;
  complex InputFromLoad(const complex& load) const override;
  complex LoadFromInput(const complex& input) const override;
  complex TunerInputToAnalyzer(const complex& g) const override;
  complex AnalyzerToTunerInput(const complex& g) const override;
  void TunerStep(const complex& gn, const complex& rloa) override;
  TMotPos Positions() const override;
  int MaxSteps() const override;
  void ReadDescrLines(const QStringList& lines) override;
  void WriteDescr(IniFile& ini, const QString& section) const override;

 private:
  TTunerModel& m_;
  TAutoTune& at_;
};

}  // namespace qz
