#include "sim/modeltuner.h"

#include "core/smatrixalg.h"
#include "sim/autotune.h"
#include "sim/tunerdescr.h"
#include "sim/tunermodel.h"
#include "util/inifile.h"
#include "util/stpkeys.h"

namespace qz {

void TTransparentTuner::WriteDescr(IniFile& ini, const QString& section) const {
  // A tuner without a description keeps only its travel; nothing of it is read back.
  static const TStpKeys<TTransparentTuner> keys =
      TStpKeys<TTransparentTuner>()
          .Int("MaxSteps", &TTransparentTuner::Max, 0, 65535)
          .WrittenOnly();
  keys.Write(*this, ini, section);
}

void TTunerModelAdapter::FillFreqPars(double fHz) { m_.TU_FillFreqPars(fHz); }

complex TTunerModelAdapter::InputFromLoad(const complex& load) const {
  return qz::InputFromLoad(load, m_.TunerChain(m_.Mot().ActPos, kCloseOutput));
}

complex TTunerModelAdapter::LoadFromInput(const complex& input) const {
  return qz::LoadFromInput(input, m_.TunerChain(m_.Mot().ActPos, kCloseOutput));
}

complex TTunerModelAdapter::TunerInputToAnalyzer(const complex& g) const {
  return m_.TunerInputToAnalyzer(g);
}

complex TTunerModelAdapter::AnalyzerToTunerInput(const complex& g) const {
  return m_.AnalyzerToTunerInput(g);
}

void TTunerModelAdapter::TunerStep(const complex& gn, const complex& rloa) {
  at_.TunerStep(gn, rloa);
}

TMotPos TTunerModelAdapter::Positions() const { return m_.Mot().ActPos; }

int TTunerModelAdapter::MaxSteps() const { return m_.Derived().MaxSteps; }

void TTunerModelAdapter::ReadDescrLines(const QStringList& lines) { m_.ReadDescrLines(lines); }

void TTunerModelAdapter::WriteDescr(IniFile& ini, const QString& section) const {
  WriteTunerDescr(ini, section, m_.Descr(), m_.Mot(), m_.Sim());
}

}  // namespace qz
