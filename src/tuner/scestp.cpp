#include "tuner/scestp.h"

#include "tuner/scepage.h"

namespace qz {

const TStpKeys<TSceStp>& SceKeys() {
  static const TStpKeys<TSceStp> keys =
      TStpKeys<TSceStp>()
          .Text("ScenarioPath", &TSceStp::ScenarioPath)
          .Text("FSceMeasFile", &TSceStp::FSceMeasFile)
          .Text("FSceMeasInfo", &TSceStp::FSceMeasInfo)
          .Int("Tdwell_ms", &TSceStp::Tdwell_ms, 0, kDwellMaxMs)
          .Int("MeasPerPosit", &TSceStp::FMeasPerPosit, 1, kMeasPerPositMax)
          .Int("RndCount", &TSceStp::RndCount, 1, kSceMaxRows)
          .Int("AddPeriod", &TSceStp::AddPeriod, 1, kSceMaxRows)
          .Bool("miSynchro", &TSceStp::Synchro)
          .Bool("miAddZero", &TSceStp::AddZero)
          .Bool("miAddMax", &TSceStp::AddMax)
          .Bool("sbMeasure", &TSceStp::Measure);
  return keys;
}

}  // namespace qz
