#pragma once
// What the scenario window keeps in its setup section "TuScenarioForm" besides its place
// ("Visible", "Top", "Left", "Height"): the last scenario file, the measured runs' output file
// and comment, the default dwell time, the measurements per row and the random filling options.

#include <QString>
#include <cstdint>

#include "util/stpkeys.h"
#include "util/winpos.h"

namespace qz {

inline constexpr char kScenarioSection[] = "TuScenarioForm";
inline constexpr int kMeasPerPositMax = 1000;
inline constexpr int kDwellMaxMs = 10000;
// The window's place: position, height and visibility.
inline constexpr TPlaceRule kScenarioPlaceRule{pkVisible | pkTop | pkLeft | pkHeight,
                                               kToolWindowMargin, 0, 0, kToolWindowMargin};

struct TSceStp {
  QString ScenarioPath;
  QString FSceMeasFile = QStringLiteral("Diduv01.txt");
  QString FSceMeasInfo;
  uint16_t Tdwell_ms = 500;
  int32_t FMeasPerPosit = 1;
  uint16_t RndCount = 10;
  uint16_t AddPeriod = 50;
  bool Synchro = false;
  bool AddZero = false;
  bool AddMax = false;
  bool Measure = false;
  bool operator==(const TSceStp&) const = default;
};

// The keys after the place; reading keeps the present values of missing keys and limits
// "MeasPerPosit" to 1..1000, the dwell time to 0..10000 and the random filling counts to
// 1..2048 (the ranges of their dialogs).
const TStpKeys<TSceStp>& SceKeys();

}  // namespace qz
