#include "sim/rhoarea.h"

#include "core/bilintransf.h"
#include "core/smatrixalg.h"
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

constexpr int kGridPts = 25;  // positions along one side of the square

// The tuner chain along the walk round the square: the stubs stand only at the grid positions,
// so their matrices are computed once, and the chain is built again only from the first stub
// that moved (the same cascades in the same order as the model's TunerChain).
class TChainWalk {
 public:
  TChainWalk(const TChainPars& c, const std::array<int16_t, kGridPts>& q) : c_(c) {
    for (std::size_t k = 0; k < q.size(); ++k) stub_[k] = StubMatrix(q[k] * c.StepMm, c.Stub);
  }
  // The chain with stub i (1..3) at grid position at[i].
  const TSmatrix& At(const std::array<int, 4>& at) {
    int from = 4;
    for (int i = 3; i >= 1; --i)
      if (at[static_cast<std::size_t>(i)] != at_[static_cast<std::size_t>(i)]) from = i;
    if (from <= 1) part1_ = Cascade(Stub(at[1]), c_.Line[1]);
    if (from <= 2) part2_ = Cascade(Cascade(part1_, Stub(at[2])), c_.Line[2]);
    if (from <= 3) chain_ = Cascade(part2_, Stub(at[3]));
    at_ = at;
    return chain_;
  }

 private:
  const TSmatrix& Stub(int k) const { return stub_[static_cast<std::size_t>(k)]; }
  const TChainPars& c_;
  std::array<TSmatrix, kGridPts> stub_{};
  std::array<int, 4> at_{-1, -1, -1, -1};
  TSmatrix part1_, part2_, chain_;
};

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
    const bool matchable = typ == kAreaMatchable;

    std::array<int16_t, kGridPts> q{};
    for (int k = 0; k < kGridPts; ++k)
      q[static_cast<std::size_t>(k)] = static_cast<int16_t>(ClampLowWins(
          RoundToInt32(static_cast<double>(k) * maxSteps / (kGridPts - 1.0)), 0, maxSteps));

    // The turn of the plane, the same for every point.
    double turn = 0.0;
    bool turned = true;
    if (matchable) {
      switch (plane) {
        case kAreaOutput:
          turn = 2.0 * th[3];
          break;
        case kAreaStub1:
        case kAreaTransform:
          turn = -2.0 * (th[1] + th[2]);
          break;
        case kAreaCal:
          turn = -2.0 * (th[0] + th[1] + th[2]);
          break;
        default:
          turned = false;
          break;
      }
    } else {
      switch (plane) {
        case kAreaOutput:
          turn = 2.0 * (th[1] + th[2] + th[3]);
          break;
        case kAreaStub3:
          turn = 2.0 * (th[1] + th[2]);
          break;
        case kAreaCal:
          turn = -2.0 * th[0];
          break;
        default:
          turned = false;
          break;
      }
    }
    const complex rot = CPolar(1.0, turn);

    TChainWalk walk(fq.Chain, q);
    for (int p = 0; p < 2; ++p) {
      const int first = p == 0 ? 1 : 2;
      const int second = first + 1;
      std::array<int, 4> at{0, 0, 0, 0};
      int n = 0;
      auto point = [&]() {
        const TSmatrix& s = walk.At(at);
        complex rho = matchable ? CConj(s.s22) : s.s11;
        if (turned) rho = CMul(rho, rot);
        if (plane == kAreaTransform && bilin)
          rho = matchable ? bitr->FromShown(rho, f) : bitr->ToShown(rho, f);
        if (matchable) rho = LimitMagnitude(rho, maxMag);
        rar[static_cast<std::size_t>(p * kRhoAreaPts + n)] = TRhoPt{Scaled(rho.re), Scaled(rho.im)};
        ++n;
      };
      // Round the square: second stub in, first stub in, second out, first out.
      for (int k = 0; k < kGridPts; ++k) {
        at[static_cast<std::size_t>(second)] = k;
        point();
      }
      for (int k = 0; k < kGridPts; ++k) {
        at[static_cast<std::size_t>(first)] = k;
        point();
      }
      for (int k = kGridPts - 1; k >= 0; --k) {
        at[static_cast<std::size_t>(second)] = k;
        point();
      }
      for (int k = kGridPts - 1; k >= 0; --k) {
        at[static_cast<std::size_t>(first)] = k;
        point();
      }
    }
  }
  // Drawing an area must not change the frame the simulation computes next.
  if (oldF > 0.0) model.TU_FillFreqPars(oldF);
}

}  // namespace qz
