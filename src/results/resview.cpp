#include "results/resview.h"

namespace qz {

void TResView::Napln(const THresults* res) {
  if (res)
    res_ = *res;
  else
    res_.reset();
}

void TResView::SetRowUnit(TPunit unit) {
  if (unit < 0 || unit >= kPunitCount) return;
  // The incident power is never shown relative to itself.
  if (KtoryVykon == Postup && (unit == puDbRel || unit == puPercent)) return;
  PowUnits[KtoryVykon] = unit;
}

void TResView::SetRunit(TRunit unit) {
  if (unit >= 0 && unit < kRunitCount) Runit = unit;
}

TRflView TResView::Reflection() const {
  if (!res_) return {};
  const double mag = ShowLoad ? res_->Mag_z : res_->Mag_m;
  const double pha = ShowLoad ? res_->Pha_z : res_->Pha_m;
  return {ConvertToStr(Runit, mag), PhaseText(pha)};
}

TFreqView TResView::Frequency(bool counterOn) const {
  TFreqView v;
  v.lamp = FreqLamp(Shown(), counterOn);
  if (res_) {
    v.value = FreqText(res_->FreD);
    v.color = SmallFreqColor(*res_, counterOn);
  }
  return v;
}

TPowerView TResView::Power() const {
  TPowerView v;
  v.lamp = PowerLamp(Shown());
  v.color = SmallPowerColor(Shown());
  if (!res_) {
    for (int i = 0; i < kPowerRows; ++i) v.rows[i] = ClearPowerLabels(PowUnits[i]);
    return v;
  }
  const double p[kPowerRows] = {res_->Pinc, res_->Prfl, res_->Pabs};
  for (int i = 0; i < kPowerRows; ++i) v.rows[i] = PowerToLabels(PowUnits[i], p[i], res_->Pinc);
  return v;
}

TTempView TResView::Temperature() const {
  TTempView v;
  v.unit = QString::fromLatin1(kTempUnitNames[Tunit == 1 ? 1 : 0]);
  v.lamp = TempLamp(Shown());
  if (res_) v.value = TempText(Tunit, res_->Temp);
  return v;
}

QString TResView::ErrorByte() const {
  return res_ ? ErrByteText(res_->ErrByte) : QString::fromLatin1(kNoData);
}

}  // namespace qz
