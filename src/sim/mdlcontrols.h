#pragma once
// The controls of the model window as plain data: the text of every entry and the position of
// every up-down, kept apart as the window keeps them (an entry may hold text its up-down has not
// taken). The model holds this record; the window copies its controls into it and back, and the
// operations of sim/mdlentries.h read it into the model and rewrite it from the model.

#include <QString>
#include <QStringList>

#include "sim/mdlanim.h"

namespace qz {

// DUT types of the "Type" group.
enum TDutType : int { kDutDefined = 0, kDutMatch = 1, kDutAnimated = 2, kDutChart = 3 };
// Formats of the magnitude entry.
enum TRflFormat : int { kRflMag = 0, kRflDb = 1, kRflVswr = 2 };

// Items of the step lists.
const QStringList& MagStepItems();  // "0.1" .. "5" (percent)
const QStringList& PhaStepItems();  // "0.1" .. "180" (degrees)

// Limits of the up-downs.
inline constexpr int kPhaUdMin = -180, kPhaUdMax = 180;
inline constexpr int kPauseMin = 0, kPauseMax = 10000, kPauseStep = 100;
inline constexpr int kDwellStep = 10;

// The section of the setup file.
inline constexpr const char* kMdlSection = "Model";

struct TMdlEntries {
  int Top = 0, Left = 0;
  bool Visible = false;

  // "DUT" page.
  int DutType = kDutDefined;
  QString Mag = QStringLiteral("0.2");
  int RFormat = kRflMag;
  QString Pha = QStringLiteral("45");
  int UdPha = 45;
  QString RhoUncert = QStringLiteral("0");

  // "Animation" page: the six entries (centre, start, stop of magnitude in percent and phase in
  // degrees) beside the up-downs they feed.
  QString AniMagC = QStringLiteral("0"), AniPhaC = QStringLiteral("0");
  QString AniMag1 = QStringLiteral("0"), AniMag2 = QStringLiteral("100");
  QString AniPha1 = QStringLiteral("-179"), AniPha2 = QStringLiteral("180");
  TAnimControls Anim;
  int MagStepIdx = 1;  // "0.2"
  int PhaStepIdx = 3;  // "1"
  TAnimFlags Flags;

  // "File" page (inactive).
  QString MdlResPath;

  // "Freq/Power/Temp" page.
  QString Fre, Funcert = QStringLiteral("0");
  QString Pow = QStringLiteral("5.678"), Puncert = QStringLiteral("5");
  QString Temp = QStringLiteral("25"), Tuncert = QStringLiteral("0");
  bool ErrOflow = false;      // "Bit 1: Overflow (2)"
  bool ErrLowSignal = false;  // "Bit 4: Low Signal (16)"

  // Below the pages.
  QString Pause = QStringLiteral("0");
  int UdPause = 0;

  friend bool operator==(const TMdlEntries&, const TMdlEntries&) = default;
};

}  // namespace qz
