#pragma once
// The rules of the tuner picture that need no window: where a step of a stub motor goes, when a
// step button may start and when its repeat ends, the step sizes, the drawing scale of the
// stubs, how motor errors are shown and where the extended-plane marker stands.

#include <QString>
#include <array>
#include <cstdint>

namespace qz {

// Direction of a step: Dolu deeper into the guide (larger positions), Hore back (smaller).
enum class TSmer { Dolu, Hore };

// Step-size index 0..2 (fine, medium, coarse) and the sizes in motor steps.
using TStep = int;
using TStepSize = std::array<uint16_t, 3>;
inline constexpr TStepSize kDefaultStepSize{1, 10, 100};

// The next multiple of the step size beyond `act` in the direction (integer division; going back
// from an exact multiple goes one whole multiple back), not yet limited to the travel.
int NextStepPosition(int act, int size, TSmer dir);
// A press of a step button starts nothing when the stub already stands at the end stop of its
// direction.
bool StepPressAllowed(int act, int maxSteps, TSmer dir);
// After a repeat step: the repeat goes on while the target is strictly inside the travel.
bool RepeatContinues(int targ, int maxSteps);
// Ctrl: fine (0); Shift or the right button: coarse (2); else medium (1).
TStep StepIndexFor(bool ctrl, bool shift, bool rightButton);
// Each size limited to 1 .. maximum.
TStepSize LimitStepSizes(int st1, int st2, int st3, int maxSteps);

// ---- the stubs as drawn ----

inline constexpr int kGuideHeight = 60;  // pixels
inline constexpr int kStubQgra = 4;      // drawn depth of a stub at position 0

// Pixels per motor step: 80 % of the guide less the stub's own 4 pixels spans the travel.
struct TStubScale {
  int Qgra = kStubQgra;
  double Kgra = (kGuideHeight - kStubQgra) * 0.8 / 3000.0;
  int MaxSteps = 3000;
};
// The scale for a working maximum (at least 1 step).
TStubScale GetStubDrawParams(int maxSteps);
// The drawn height of a stub at position p; a position outside the travel (left by an earlier,
// longer tuner) is drawn at the end of the travel, never past the guide.
int StubHeight(const TStubScale& s, int p);
// A dragged stub's height back in steps (round half to even, limited to the travel); at an end
// stop the height is set again from the position, so the stub never shows beyond it.
struct TStubDragPos {
  int steps = 0;
  int height = 0;
};
TStubDragPos StubHeightToSteps(const TStubScale& s, int height);

// ---- motor errors ----

enum class TStubLook { Solid, Red, Hatched };
struct TMotErrView {
  QString label;  // "Read Stub Position Fail", "Motors Error" or empty
  bool visible = false;
  std::array<TStubLook, 3> stubs{TStubLook::Solid, TStubLook::Solid, TStubLook::Solid};
  bool operator==(const TMotErrView&) const = default;
};
// Bit 3: the last reading failed, all stubs hatched; else bits 0..2: the motors in error red.
TMotErrView ShowMotErr(uint8_t flags);

// ---- the extended-plane marker ----

struct TExtMarker {
  int markerX = 0;  // left edge of the marker
  int symbolX = 0;  // the load reflection symbol, directly left of the marker
  int textX = 0;    // the extension text, 4 pixels left of the symbol
  bool visible = false;
  bool operator==(const TExtMarker&) const = default;
};
// extMm: the plane extension; loadX0: the load reference plane; widths of the symbol and the
// text.
TExtMarker PlaceExtMarker(double extMm, int loadX0, int symbolWidth, int textWidth);

}  // namespace qz
