#pragma once
// What a numeric results window shows, without the window: the operator's choices (the pressed
// power row, the units of the three power rows, the reflection format, the temperature unit and
// whether the load is shown) and a copy of the result shown last. Each part of the window is
// built from here as a small view, so switching a unit redraws that part from the same result
// and never from a frame decoded since.

#include <QString>
#include <optional>

#include "core/records.h"
#include "results/restexts.h"

namespace qz {

struct TRflView {
  QString mag;    // in the window's reflection format; empty without a result
  QString phase;  // degrees; empty without a result
};

struct TFreqView {
  std::optional<QString> value;  // none: the number shown stays
  TLamp lamp;                    // full-size window
  std::optional<TColor> color;   // reduced-size window; none: the colour stays
};

struct TPowerView {
  std::array<TValueUnit, kPowerRows> rows;  // incident, reflected, absorbed
  TLamp lamp;                               // full-size window
  TColor color = clBlack;                   // reduced-size window, all six labels
};

struct TTempView {
  std::optional<QString> value;  // none: the number shown stays
  QString unit;                  // "C" or "F"
  TLamp lamp;
};

class TResView {
 public:
  // Remembers a copy of the result (nullptr: no data).
  void Napln(const THresults* res);
  bool HasResult() const { return res_.has_value(); }
  const THresults* Shown() const { return res_ ? &*res_ : nullptr; }

  TKtoryVykon KtoryVykon = Postup;
  TPowUnits PowUnits{puWatts, puWatts, puWatts};
  TRunit Runit = ruMag;
  TTunit Tunit = 0;
  bool ShowLoad = false;

  // The power row pressed by the operator.
  void SetRow(TKtoryVykon row) { KtoryVykon = row; }
  // The unit chosen for the pressed row; a unit outside the table is ignored.
  void SetRowUnit(TPunit unit);
  // The reflection format; a format outside the table is ignored.
  void SetRunit(TRunit unit);
  void ToggleTunit() { Tunit = Tunit == 0 ? 1 : 0; }
  // The power-unit menu as it opens for the pressed row.
  TPowMenuState PowMenu() const { return PowMenuState(KtoryVykon, PowUnits[KtoryVykon]); }

  TRflView Reflection() const;
  TFreqView Frequency(bool counterOn) const;
  TPowerView Power() const;
  TTempView Temperature() const;
  QString ErrorByte() const;
  QString FormatName() const { return QString::fromLatin1(kRflFormatNames[Runit]); }

 private:
  std::optional<THresults> res_;
};

}  // namespace qz
