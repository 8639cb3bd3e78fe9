#include "sim/rhoarea.h"

#include "core/bilintransf.h"
#include "util/numutil.h"

namespace qz {

namespace {

int32_t Scaled(double v) {
  return ClampLowWins(RoundToInt32(v * kRhoAreaScale), -kRhoAreaLimit, kRhoAreaLimit);
}

complex LimitMagnitude(const complex& z, double limit) {
  const double m = CAbs(z);
  if (!(m > limit)) return z;
  return CScale(z, limit / m);
}

}  // namespace

void GetRhoArea(TTunerModel& model, double f, int typ, int plane, const TBilinTransf* bitr,
                TRhoArea& rar) {
  const double oldF = model.Freq().F_Hz;
  model.TU_FillFreqPars(f);
  if (typ == kAreaRealizable || typ == kAreaMatchable) {
    const TTunerFreqPars& fq = model.Freq();
    const std::array<double, 4>& th = fq.Theta;
    const bool bilin = bitr && bitr->GetActive();
    const int maxSteps = model.Derived().MaxSteps;
    const double maxMag = model.Sim().MaxMag_mU / 1000.0;

    std::array<int16_t, 25> q{};
    for (int k = 0; k <= 24; ++k)
      q[static_cast<std::size_t>(k)] = static_cast<int16_t>(
          ClampLowWins(RoundToInt32(static_cast<double>(k) * maxSteps / 24.0), 0, maxSteps));

    for (int p = 0; p < 2; ++p) {
      const int first = p == 0 ? 1 : 2;
      const int second = first + 1;
      TMotPos pos = MakeMotPos(0, 0, 0);
      int n = 0;
      auto point = [&]() {
        const TSmatrix s = model.TunerChain(pos, kCloseNone);
        complex rho;
        if (typ == kAreaMatchable) {
          rho = CConj(s.s22);
          switch (plane) {
            case kAreaOutput:
              rho = CRotate(rho, 2.0 * th[3]);
              break;
            case kAreaStub3:
              break;
            case kAreaStub1:
              rho = CRotate(rho, -2.0 * (th[1] + th[2]));
              break;
            case kAreaCal:
              rho = CRotate(rho, -2.0 * (th[0] + th[1] + th[2]));
              break;
            case kAreaTransform:
              rho = CRotate(rho, -2.0 * (th[1] + th[2]));
              if (bilin) rho = bitr->FromShown(rho, f);
              break;
            default:
              break;
          }
          rho = LimitMagnitude(rho, maxMag);
        } else {
          rho = s.s11;
          switch (plane) {
            case kAreaOutput:
              rho = CRotate(rho, 2.0 * (th[1] + th[2] + th[3]));
              break;
            case kAreaStub3:
              rho = CRotate(rho, 2.0 * (th[1] + th[2]));
              break;
            case kAreaStub1:
              break;
            case kAreaCal:
              rho = CRotate(rho, -2.0 * th[0]);
              break;
            case kAreaTransform:
              if (bilin) rho = bitr->ToShown(rho, f);
              break;
            default:
              break;
          }
        }
        rar[static_cast<std::size_t>(p * kRhoAreaPts + n)] = TRhoPt{Scaled(rho.re), Scaled(rho.im)};
        ++n;
      };
      // Round the square: second stub in, first stub in, second out, first out.
      for (int k = 0; k <= 24; ++k) {
        pos[second] = q[static_cast<std::size_t>(k)];
        point();
      }
      for (int k = 0; k <= 24; ++k) {
        pos[first] = q[static_cast<std::size_t>(k)];
        point();
      }
      for (int k = 24; k >= 0; --k) {
        pos[second] = q[static_cast<std::size_t>(k)];
        point();
      }
      for (int k = 24; k >= 0; --k) {
        pos[first] = q[static_cast<std::size_t>(k)];
        point();
      }
    }
  }
  // Drawing an area must not change the frame the simulation computes next.
  if (oldF > 0.0) model.TU_FillFreqPars(oldF);
}

}  // namespace qz
