#pragma once
// The tuner picture's geometry in pixels, computed once so that windows and tests share it: the
// generator, the flanges, the guide and the load in a row (each overlapping its left neighbour by
// 2 pixels), three motor housings with their buttons above the guide, the stubs hanging from the
// guide's top, and the plane markers below it.

#include <QRect>
#include <QSize>
#include <array>

namespace qz {

struct TTpicLayout {
  QRect tuneTime;  // pTuneTime, top left
  QRect gen, flng1, guide, flng2, load;
  std::array<QRect, 3> mot;    // motor housings 1..3 (index 0..2)
  std::array<QRect, 3> motNo;  // the number label in each housing
  std::array<QRect, 3> lbMotor;
  std::array<int, 3> stubX{};  // left edge of each stub (23 pixels wide, top at the guide's top)
  // Step buttons per motor: zero extension, back, deeper, max extension.
  std::array<QRect, 3> sbTop, sbUp, sbDn, sbBott;
  QRect indic;   // the unit box right of motor 3
  QRect motErr;  // the error label below the guide
  int markerY = 0, markerH = 0;
  int pla1X = 0;    // input-plane marker: the centre line of stub 1
  int load_x0 = 0;  // the load reference plane: centre of the output flange
  int symbolW = 0;  // width of a reflection symbol
  int extTextW = 0;
  QSize client;
};

inline constexpr int kMotorWidth = 47;
inline constexpr int kStubWidth = 23;
inline constexpr int kFlangeWidth = 7;
inline constexpr int kGenWidth = 33;
inline constexpr int kGuideWidth = 171;
inline constexpr int kLoadWidth = 45;
inline constexpr int kMotorPitch = 52;  // motors 1 and 3 left and right of motor 2

// textH: the height of one line of the window's font (labels, buttons); the widths are fixed.
TTpicLayout BuildTpicLayout(int textH = 14);

}  // namespace qz
