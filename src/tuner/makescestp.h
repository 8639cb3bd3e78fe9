#pragma once
// The scenario generator window's setup section "MakeSce": its place, the trajectory, the seven
// entry texts as typed and the five options. The window copies its controls into the record
// before writing and applies the record after reading.

#include <QString>
#include <array>

#include "util/winpos.h"

namespace qz {

class IniFile;

// The window's place: width 640 .. screen width - 100, height 250 .. screen height - 100.
inline constexpr TPlaceRule kMakeScePlaceRule{pkTop | pkLeft | pkWidth | pkHeight,
                                              kToolWindowMargin, 640, 250, 100};
inline constexpr int kMakeSceEntries = 7;
// The keys of the entries, in the order of the window's fields.
extern const char* const kMakeSceEdKeys[kMakeSceEntries];

struct TMakeSceStp {
  WindowPos pos;      // outer place
  bool circ = false;  // "rgTrajectory" 1: circles, else lines
  std::array<QString, kMakeSceEntries> ed;
  bool clockwise = false;
  bool segment = false;
  bool addMatch = false;
  bool skipMatches = false;
  bool shuttle = false;

  void WriteStp(IniFile& ini, const QString& section) const;
  // Reads with the present values as defaults; the place is read as it stands (the window
  // keeps it on the screen).
  void ReadStp(const IniFile& ini, const QString& section);

  friend bool operator==(const TMakeSceStp& a, const TMakeSceStp& b) {
    return a.pos.left == b.pos.left && a.pos.top == b.pos.top && a.pos.width == b.pos.width &&
           a.pos.height == b.pos.height && a.circ == b.circ && a.ed == b.ed &&
           a.clockwise == b.clockwise && a.segment == b.segment && a.addMatch == b.addMatch &&
           a.skipMatches == b.skipMatches && a.shuttle == b.shuttle;
  }
};

}  // namespace qz
