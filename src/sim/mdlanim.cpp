#include "sim/mdlanim.h"

#include <cmath>
#include <utility>

#include "util/format.h"
#include "util/numutil.h"
#include "util/valueinput.h"

namespace qz {

double AnimStep(double& a, double& b, bool reverse, double cur, double step) {
  if (step > std::fabs(b - a)) return a;
  if (a < b) {
    if (cur < a - kAnimEps)
      cur = a;
    else
      cur += step;
    if (cur > b + kAnimEps) {
      if (reverse) {
        cur = b;
        std::swap(a, b);
      } else {
        cur = a;
      }
    }
  } else {
    if (cur > a + kAnimEps)
      cur = a;
    else
      cur -= step;
    if (cur < b - kAnimEps) {
      if (reverse) {
        cur = b;
        std::swap(a, b);
      } else {
        cur = a;
      }
    }
  }
  return cur;
}

void AnimAdvance(TAnimRho& an, const TAnimFlags& fl) {
  if (!fl.NoSpiral) an.Ma = AnimStep(an.R1, an.R2, fl.ReverseMag, an.Ma, an.Rstep);
  an.Fa = AnimStep(an.F1, an.F2, fl.ReversePha, an.Fa, an.Fstep);
}

complex AnimNextRho(TAnimRho& an, const TAnimFlags& fl) {
  if (an.i_meas == 0) {
    an.i_meas = 1;
  } else if (an.i_meas >= an.MeasPerPosit) {
    // ">=": a position never serves more measurements than asked, whatever the count held.
    AnimAdvance(an, fl);
    an.i_meas = 1;
  } else {
    ++an.i_meas;
  }
  return an.RhoC + CPolarDeg(an.Ma, an.Fa);
}

void CitajAnim(TAnimRho& an, TAnimControls& c) {
  an.Rc = c.UdMagC / 100.0;
  an.Fc = c.UdPhaC;
  an.RhoC = CPolarDeg(an.Rc, an.Fc);
  an.R1 = c.UdMag1 / 100.0;
  an.R2 = c.UdMag2 / 100.0;
  an.F1 = c.UdPha1;
  an.F2 = c.UdPha2;

  TFloatInRange ms = TextToFloatInRange(c.MagStepTxt, kMagStepDef, kMagStepMin, kMagStepMax, false);
  const double magStep = ms.status == 0 ? ms.value : kMagStepDef;
  an.Rstep = magStep / 100.0;
  TFloatInRange ps = TextToFloatInRange(c.PhaStepTxt, kPhaStepDef, kPhaStepMin, kPhaStepMax, false);
  an.Fstep = ps.status == 0 ? ps.value : kPhaStepDef;
  c.MagStepTxt = FloatToText(magStep);
  c.PhaStepTxt = FloatToText(an.Fstep);

  an.Ma = an.R1;
  an.Fa = an.F1;
  an.i_meas = 0;

  const int32_t n = TextToIntInRange(c.MeasPerPositTxt, c.UdDwell, kDwellMin, kDwellMax, true);
  an.MeasPerPosit = n;
  c.UdDwell = n;
  c.MeasPerPositTxt = Format(QStringLiteral("%d"), {n});
}

}  // namespace qz
