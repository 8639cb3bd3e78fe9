#include "core/onesweep.h"

#include <algorithm>

#include "util/datetext.h"
#include "util/numutil.h"

namespace qz {

void TOneSweep::Init(double planeExtMm) {
  fCount = 0;
  n = -1;
  rotated_ = false;
  SystSet.PlaExt = planeExtMm;
  Kedy = 0.0;
}

void TOneSweep::SetNwanted(int32_t v) {
  fNwanted = std::max<int32_t>(v, 0);
  Swp.resize(static_cast<std::size_t>(fNwanted));
  Stamps.resize(static_cast<std::size_t>(fNwanted));
  // A smaller sweep must not leave readers or the next Add past its end.
  fCount = std::min(fCount, fNwanted);
  n = std::min(n, fNwanted - 1);
}

void TOneSweep::Add(const TMerObjekt& frame, const TSwpStamp& stamp) {
  if (fNwanted <= 0) return;
  rotated_ = false;
  n = n < fNwanted - 1 ? n + 1 : 0;
  Swp[static_cast<std::size_t>(n)] = frame;
  Stamps[static_cast<std::size_t>(n)] = stamp;
  fCount = std::max(fCount, n + 1);
}

void TOneSweep::Clear() {
  fCount = 0;
  rotated_ = false;
  // The ring starts again at slot 0: otherwise the next frame would count every blanked slot
  // before it as filled again.
  n = -1;
}

void TOneSweep::DajCas() { DajCas(QDateTime::currentDateTime()); }

void TOneSweep::DajCas(const QDateTime& t) { Kedy = DateTimeToDays(t); }

void TOneSweep::Rotuj(int32_t& preTrigger) {
  if (fCount <= 0) return;
  preTrigger = ClampLowWins(preTrigger, 0, fCount - 1);
  const int32_t s = fCount - preTrigger;
  // New slot j takes old slot (j + s) mod fCount: a left rotation by s.
  std::rotate(Swp.begin(), Swp.begin() + s % fCount, Swp.begin() + fCount);
  std::rotate(Stamps.begin(), Stamps.begin() + s % fCount, Stamps.begin() + fCount);
  rotated_ = true;
}

int32_t TOneSweep::OldestFirst(int32_t k) const {
  // Filled slots after the one written last are older than it (a wrapped ring, also after a
  // change of capacity): they come first.
  if (!rotated_ && n >= 0 && n + 1 < fCount) return (n + 1 + k) % fCount;
  return k;
}

int32_t SweepCapacity(int32_t ptsPerSwp, int waveform, const TRectif& rectif,
                      const TPulsed& pulsed) {
  if (waveform == wfRectified && rectif.Bsamples) return rectif.Nvzoriek;
  if (waveform == wfPulsed && pulsed.Bsamples) return pulsed.Nvzoriek;
  return ptsPerSwp;
}

}  // namespace qz
