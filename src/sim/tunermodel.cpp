#include "sim/tunermodel.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/smatrixalg.h"
#include "util/numutil.h"
#include "util/unitconv.h"

namespace qz {

namespace {

// c / 2 in mm/s: the cut-off frequency of a guide a mm wide is this divided by a.
constexpr double kHalfLightMmPerS = 1.49896229e11;
// 60 ln(D/d) ohm with the exact speed of light: the impedance factor of a coaxial line.
constexpr double kCoaxZ0Factor = 59.9584916;
constexpr double kShortFactorNum = 753.4606269235413;
constexpr double kLightMPerS = 299792458.0;

}  // namespace

void ApplyTunerIdentity(const TTunerDescr& d, TFixPar& fix) {
  fix.Manuf = CutShortString(d.Manuf);
  fix.Nickname = CutShortString(d.Nick);
  fix.MdlNme = CutShortString(d.Model);
  fix.IntMdl = CutShortString(d.IntMdl);
  fix.ModelNo = d.ModelNo;
  fix.ModifNo = d.ModifNo;
  fix.SerNum = d.SerNum;
  fix.WgA_um = d.WgA_um;
  fix.WgB_um = d.WgB_um;
  fix.FnominKHz = d.FnominKHz;
  fix.IsCoax = d.CellType == kCellCoax ? 1 : 0;
}

double TunerCutoffHz(const TTunerDescr& d) {
  if (d.CellType == kCellCoax || d.WgA_um <= 0) return 0.0;
  return kHalfLightMmPerS / (d.WgA_um / 1000.0);
}

std::array<int, 3> StubStepSizes(int maxSteps) {
  const double m = std::max(maxSteps, 1);
  return {1, RoundToInt32(std::cbrt(m)), RoundToInt32(std::cbrt(m * m))};
}

TTunerModel::TTunerModel(TTunerDescr& descr, TMotState& mot, TSimState& sim)
    : d_(descr), mot_(mot), sim_(sim) {}

void TTunerModel::AddObserver(TTunerObserver* o) {
  if (o && std::find(observers_.begin(), observers_.end(), o) == observers_.end())
    observers_.push_back(o);
}

void TTunerModel::RemoveObserver(TTunerObserver* o) {
  observers_.erase(std::remove(observers_.begin(), observers_.end(), o), observers_.end());
}

void TTunerModel::Notify(bool atParams) {
  // A copy: an observer may unsubscribe while being told.
  const std::vector<TTunerObserver*> list = observers_;
  for (TTunerObserver* o : list) {
    if (atParams)
      o->OnAtParamsChanged(*this);
    else
      o->OnTunerDescriptionChanged(*this);
  }
}

void TTunerModel::ReadDescrLines(const QStringList& lines) {
  sim_.UserMax_mm = -1.0;
  const TTunerRecords r = Records();
  for (const QString& line : lines) TU_MdlAnalyzLine(line, r);
  TunerDescriptionChanged();
}

void TTunerModel::TU_MdlDerivedData() {
  ++derivedCount_;
  // A step length from a damaged description (zero, negative, not a number) would divide by
  // zero in every insertion; such a description keeps the default step.
  const double mm = d_.MmPerStep;
  dv_.StepMm = std::isfinite(mm) && mm >= 1e-6 && mm <= 10.0 ? mm : kTuDefMmPerStep;
  if (sim_.UserMax_mm > 0.0) {
    dv_.MaxSteps = ClampLowWins(RoundToInt32(sim_.UserMax_mm / dv_.StepMm), 1, kMaxWorkingSteps);
  } else {
    dv_.MaxSteps = ClampLowWins(static_cast<int32_t>(d_.MaxSteps), 1, kMaxWorkingSteps);
    sim_.UserMax_mm = dv_.MaxSteps * dv_.StepMm;
  }

  for (int k = kMotFirst; k <= kMotLast; ++k) {
    mot_.ActPos[k] = static_cast<int16_t>(ClampLowWins(mot_.ActPos[k], 0, dv_.MaxSteps));
    mot_.TargPos[k] = mot_.ActPos[k];
  }

  dv_.RstSteps = d_.MaxRstSteps;
  dv_.InRate = d_.InRate;
  dv_.OutRate = d_.OutRate;
  dv_.Tune1Wait = 0;

  dv_.WgB_mm = d_.WgB_um / 1000.0;

  const double dist = static_cast<double>(d_.Ltot_um) - d_.Lref_um;
  const double s1 = d_.StubDist[1];
  const double s2 = d_.StubDist[2];
  const double s3 = d_.StubDist[3];
  if (dist <= s1)
    dv_.SectType = kSectBeforeStubs;
  else if (dist >= s3)
    dv_.SectType = kSectBehindStubs;
  else
    dv_.SectType = kSectBetweenStubs;
  dv_.L_m[0] = (dv_.SectType == kSectBeforeStubs ? s1 - dist : dist - s3) / 1e6;
  dv_.L_m[1] = (s2 - s1) / 1e6;
  dv_.L_m[2] = (s3 - s2) / 1e6;
  dv_.L_m[3] = (d_.Ltot_um - s3) / 1e6;

  dv_.Fnomin_Hz = d_.FnominKHz * 1000.0;
  DerivedAt();
  AtFrameCount = 0;

  dv_.Z0 = 0.0;
  dv_.ShortFactor = 0.0;
  if (d_.CellType == kCellCoax) {
    if (d_.WgA_um > 0 && d_.WgB_um > 0)
      dv_.Z0 = std::log(static_cast<double>(d_.WgA_um) / d_.WgB_um) * kCoaxZ0Factor;
    if (d_.ShortWgA_um > 0)
      dv_.ShortFactor = d_.ShortWgB_um * kShortFactorNum / d_.ShortWgA_um / kLightMPerS;
  }

  dv_.Cutoff_Hz = TunerCutoffHz(d_);
  if (host_) host_->TunerDescrApplied(d_, dv_.Cutoff_Hz);

  // The per-frequency data follow the new description at once.
  TU_FillFreqPars(fq_.F_Hz > 0.0 ? fq_.F_Hz : dv_.Fnomin_Hz);
}

void TTunerModel::DerivedAt() {
  const double t = mot_.Toler_mU / 1000.0;
  dv_.TolSq = t * t;
  dv_.HystRad = mot_.HystDg * kPi / 180.0;
}

void TTunerModel::TU_FillFreqPars(double f) {
  // Every frame fills the data for its frequency; at a steady frequency they stay as they are.
  if (freqFilledAt_ == derivedCount_ && f == fq_.F_Hz) return;
  freqFilledAt_ = derivedCount_;
  chain_.valid = false;
  fq_.F_Hz = f;
  fq_.LambdaG = GuideWavelength(dv_.Cutoff_Hz, f);
  fq_.Dev = dv_.Fnomin_Hz > 0.0 ? (f / dv_.Fnomin_Hz - 1.0) * 100.0 : 0.0;

  TStubPars& sp = fq_.Chain.Stub;
  sp.CellType = d_.CellType;
  sp.WgB_mm = dv_.WgB_mm;
  sp.NH1 = d_.Par1.NH;
  sp.NH2 = d_.Par2.NH;
  sp.P1 = StubCoefValues(d_.Par1, fq_.Dev);
  sp.P2 = StubCoefValues(d_.Par2, fq_.Dev);
  fq_.Chain.StepMm = dv_.StepMm;

  for (std::size_t i = 0; i < 4; ++i) {
    fq_.Theta[i] = 2.0 * kPi * dv_.L_m[i] / fq_.LambdaG;
    fq_.Chain.Line[i] = LineMatrix(fq_.Theta[i]);
  }

  // The coaxial stub's values at this frequency come before any stub matrix is built.
  sp.Omega = 2.0 * kPi * f;
  const double fcShort = d_.ShortWgA_um > 0 ? kHalfLightMmPerS / (d_.ShortWgA_um / 1000.0) : 0.0;
  sp.LambdaS = GuideWavelength(fcShort, f);
  sp.K = dv_.ShortFactor * sp.LambdaS * f;
  sp.Z0 = dv_.Z0;
  sp.Ls_pH = d_.Ls_pH;

  switch (dv_.SectType) {
    case kSectBehindStubs:
      fq_.HasRef = true;
      fq_.Ref = qz::TunerChain(MakeMotPos(0, 0, 0), kCloseRef, fq_.Chain);
      break;
    case kSectBetweenStubs:
      // No two-port is described for a reference plane between the stubs: it is taken as lying
      // on the tuner input (a section of zero length).
      fq_.HasRef = true;
      fq_.Ref = IdentityMatrix();
      break;
    default:
      fq_.HasRef = false;
      fq_.Ref = fq_.Chain.Line[0];
      break;
  }

  fq_.S0 = qz::StubMatrix(0.0, sp);
  fq_.Phi21 = CArg(fq_.S0.s21);
}

void TTunerModel::TunerDescriptionChanged() {
  TU_MdlDerivedData();
  mot_.MaxInsert_mm = dv_.MaxSteps * dv_.StepMm;
  Notify(false);
}

void TTunerModel::UpdateAtParams() {
  TunerDescriptionChanged();
  Notify(true);
}

TSmatrix TTunerModel::StubMatrix(double xMm) const { return qz::StubMatrix(xMm, fq_.Chain.Stub); }

TSmatrix TTunerModel::TunerChain(const TMotPos& pos, int closing) const {
  if (chain_.valid && chain_.closing == closing && chain_.pos == pos) return chain_.s;
  chain_.s = qz::TunerChain(pos, closing, fq_.Chain);
  chain_.pos = pos;
  chain_.closing = closing;
  chain_.valid = true;
  return chain_.s;
}

complex TTunerModel::TunerInputToAnalyzer(const complex& g) const {
  return fq_.HasRef ? LoadFromInput(g, fq_.Ref) : CRotate(g, -2.0 * fq_.Theta[0]);
}

complex TTunerModel::AnalyzerToTunerInput(const complex& g) const {
  return fq_.HasRef ? InputFromLoad(g, fq_.Ref) : CRotate(g, 2.0 * fq_.Theta[0]);
}

double TTunerModel::ComputeTuneTime(const TMotPos& start, const TMotPos& stop) const {
  int diff = 0;
  for (int k = kMotFirst; k <= kMotLast; ++k) {
    const int dk = static_cast<int>(stop[k]) - start[k];
    if (std::abs(dk) > std::abs(diff)) diff = dk;
  }
  // A rate of 0 steps per second would never arrive; the motors make at least one step.
  const int rate = std::max<int>(diff > 0 ? dv_.OutRate : dv_.InRate, 1);
  return std::abs(diff) / static_cast<double>(rate);
}

int16_t TTunerModel::StepsFromMm(double xMm) const {
  const double x = ClampLowWins(xMm, 0.0, mot_.MaxInsert_mm);
  const int32_t steps = ClampLowWins(RoundToInt32(x / dv_.StepMm), 0, dv_.MaxSteps);
  return static_cast<int16_t>(steps);
}

}  // namespace qz
