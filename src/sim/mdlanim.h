#pragma once
// The animated load of the simulated analyzer: a reflection coefficient that walks round a
// centre, its magnitude offset and phase offset each stepping between a start and a stop value,
// a given number of measurements at each position.

#include <QString>
#include <cstdint>

#include "util/complex.h"

namespace qz {

struct TAnimRho {
  bool Active = false;  // the DUT type "Animated" is active
  double Rc = 0.0;      // magnitude of the centre, 0..1
  double R1 = 0.0;      // magnitude start
  double R2 = 1.0;      // magnitude stop
  double Fc = 0.0;      // phase of the centre, degrees
  double F1 = -179.0;   // phase start, degrees
  double F2 = 180.0;    // phase stop, degrees
  double Rstep = 0.002;
  double Fstep = 1.0;  // degrees
  double Ma = 0.0;     // present magnitude offset
  double Fa = 0.0;     // present phase offset, degrees
  complex RhoC;        // the centre
  int32_t i_meas = 0;  // measurements made at the present position
  int32_t MeasPerPosit = 1000;
};

// How the walk turns at its limits.
struct TAnimFlags {
  bool ReverseMag = false;  // go back on reaching a limit, instead of starting over
  bool ReversePha = false;
  bool NoSpiral = false;  // keep the magnitude at its start (a circle or arc)
  friend bool operator==(const TAnimFlags&, const TAnimFlags&) = default;
};

// Tolerance of the limit tests of AnimStep.
inline constexpr double kAnimEps = 1e-6;

// One step of cur from a towards b. A step larger than the range keeps the start value. Past
// the far end the walk either starts over at a, or (reverse) stops at b and exchanges a and b,
// so the next steps go back.
double AnimStep(double& a, double& b, bool reverse, double cur, double step);

// Moves to the next position: the magnitude (unless NoSpiral) and the phase.
void AnimAdvance(TAnimRho& an, const TAnimFlags& fl);

// The reflection coefficient of the next measurement. The first measurement after CitajAnim
// uses the start position; each position serves MeasPerPosit measurements.
complex AnimNextRho(TAnimRho& an, const TAnimFlags& fl);

// The animation controls: up-down positions (magnitudes in percent, phases in degrees), the
// editable step lists and the measurements-per-position entry with its up-down.
struct TAnimControls {
  int UdMagC = 0, UdPhaC = 0, UdMag1 = 0, UdMag2 = 100, UdPha1 = -179, UdPha2 = 180;
  QString MagStepTxt = QStringLiteral("0.2");
  QString PhaStepTxt = QStringLiteral("1");
  QString MeasPerPositTxt = QStringLiteral("1000");
  int UdDwell = 1000;
  friend bool operator==(const TAnimControls&, const TAnimControls&) = default;
};

// Limits of the animation controls.
inline constexpr int kAnimMagUdMin = 0, kAnimMagUdMax = 100;
inline constexpr int kAnimPhaUdMin = -360, kAnimPhaUdMax = 360;
inline constexpr int kDwellMin = 1, kDwellMax = 1000;
inline constexpr double kMagStepMin = 0.1, kMagStepMax = 5.0, kMagStepDef = 0.2;  // percent
inline constexpr double kPhaStepMin = 0.0, kPhaStepMax = 180.0, kPhaStepDef = 10.0;

// Reads the controls into the animation and puts it at its start. The step texts and the
// measurements-per-position entry are rewritten with the values taken.
void CitajAnim(TAnimRho& an, TAnimControls& c);

}  // namespace qz
