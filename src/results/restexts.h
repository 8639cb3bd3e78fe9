#pragma once
// The texts of the numeric results windows: power rows in their units, the reflection magnitude
// in its format, phase, frequency, temperature and the unit's error byte, the status lamps with
// their colours, the window captions and the tables of the windows' popup menus. Both results
// windows use these, so the two always agree to the last character.

#include <QString>
#include <array>
#include <cstdint>

#include "core/records.h"
#include "util/colors.h"

namespace qz {

// The power row the operator pressed last; it also indexes the rows' units.
enum TKtoryVykon : int { Postup = 0, Odraz = 1, Absorb = 2 };
inline constexpr int kPowerRows = 3;

// Power units.
using TPunit = int;
inline constexpr TPunit puWatts = 0;
inline constexpr TPunit puDbm = 1;
inline constexpr TPunit puDbw = 2;
inline constexpr TPunit puDbRel = 3;
inline constexpr TPunit puPercent = 4;
inline constexpr int kPunitCount = 5;
using TPowUnits = std::array<TPunit, kPowerRows>;

// Reflection formats.
using TRunit = int;
inline constexpr TRunit ruMag = 0;
inline constexpr TRunit ruDb = 1;
inline constexpr TRunit ruSwr = 2;
inline constexpr TRunit ruPercent = 3;
inline constexpr TRunit ruMilli = 4;
inline constexpr int kRunitCount = 5;

// Temperature units: 0 degrees Celsius, 1 degrees Fahrenheit.
using TTunit = int;
inline constexpr int kTunitCount = 2;

// Menu captions (the item's tag is its index) and the texts beside the values.
extern const std::array<const char*, kPunitCount> kPowUnitCaptions;
extern const std::array<const char*, kRunitCount> kRflFormatCaptions;
extern const std::array<const char*, kRunitCount> kRflFormatNames;
extern const std::array<const char*, kTunitCount> kTempUnitNames;

// A value and the unit written beside it.
struct TValueUnit {
  QString value;
  QString unit;
  friend bool operator==(const TValueUnit&, const TValueUnit&) = default;
};

// A power of `watts` in `unit`; `pinc` (W) is the incident power the relative units refer to.
// A relative value whose ratio cannot be formed (no incident power, a non-finite ratio) reads
// "Error".
TValueUnit PowerToLabels(TPunit unit, double watts, double pinc);
// The row without a result: a value of two blanks and the unit's fixed text ("W" for watts).
TValueUnit ClearPowerLabels(TPunit unit);

// A reflection magnitude in a format.
QString ConvertToStr(TRunit format, double mag);
// Phase in degrees, "%6.1f".
QString PhaseText(double deg);
// Frequency (Hz) in MHz, "%7.2f".
QString FreqText(double hz);
// Temperature (deg C) in the unit, "%3.1f".
QString TempText(TTunit unit, double celsius);
// The error byte as decimal and binary digits ("005=00000101").
QString ErrByteText(uint8_t errByte);

// A status lamp: its colour and the text beside it.
struct TLamp {
  TColor color = clBtnFace;
  QString text;
  friend bool operator==(const TLamp&, const TLamp&) = default;
};

inline constexpr const char* kNoData = "No data";

// Lamps of the full-size window. Without a result each reads "No data" with the lamp off.
TLamp FreqLamp(const THresults* res, bool counterOn);
TLamp PowerLamp(const THresults* res);
TLamp TempLamp(const THresults* res);
// The frequency lamp after the counter was switched by command.
TLamp CounterLamp(bool on);

// Font colours of the reduced-size window. The frequency keeps its colour without a result
// (nullptr result gives no change: the function is only called with a result).
TColor SmallFreqColor(const THresults& res, bool counterOn);
TColor SmallPowerColor(const THresults* res);

// Caption of the reflection shown: the full-size window's group box or the reduced-size
// window's title.
QString RflCaptionText(bool showLoad, bool transformed, bool fullSize);

// The power-unit menu as it opens for a row: which items are enabled and which is checked.
struct TPowMenuState {
  std::array<bool, kPunitCount> enabled{};
  TPunit checked = puWatts;
};
TPowMenuState PowMenuState(TKtoryVykon row, TPunit current);

}  // namespace qz
