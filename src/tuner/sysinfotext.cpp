#include "tuner/sysinfotext.h"

#include "sim/tunermodel.h"
#include "util/complex.h"
#include "util/format.h"
#include "util/numtext.h"

namespace qz {

const QStringList& IdentityCaptions() {
  static const QStringList c = {QStringLiteral("Name"),
                                QStringLiteral("Model"),
                                QStringLiteral("Manufacturer"),
                                QStringLiteral("   Internal model"),
                                QStringLiteral("   Serial No"),
                                QStringLiteral("Waveguide"),
                                QStringLiteral("Nominal frequency")};
  return c;
}

const QStringList& MotorCaptions() {
  static const QStringList c = {QStringLiteral("Step size"), QStringLiteral("Max steps / Travel"),
                                QStringLiteral("Pull-in rate"), QStringLiteral("Pull-out rate"),
                                QStringLiteral("Full travel time")};
  return c;
}

const QStringList& AutotuneCaptions() {
  static const QStringList c = {QStringLiteral("Target [milliunits]"),
                                QStringLiteral("Tolerance [milliunits]"),
                                QStringLiteral("Skipped measurements"),
                                QStringLiteral("Smoothing count"),
                                QStringLiteral("Wait if RF power is low"),
                                QStringLiteral("Tuning delay (0..31)"),
                                QStringLiteral("Hysteresis (degrees)"),
                                QStringLiteral("Max tune Mag [milliunits]"),
                                QStringLiteral("[Defaults...]")};
  return c;
}

QString WaveguideText(int32_t a_um, int32_t b_um, bool coax) {
  const QString a = NumberText3(a_um / 1000.0);
  const QString b = NumberText3(b_um / 1000.0);
  if (coax)
    return QStringLiteral("Coaxial ") + b + QStringLiteral(" mm/") + a + QStringLiteral(" mm");
  return a + QStringLiteral(" mm x ") + b + QStringLiteral(" mm");
}

QString NominalFreqText(int32_t kHz) { return HzToText(int64_t(kHz) * 1000, true); }

namespace {

QString VersionText(const QString& intMdl, int major, int minor) {
  return Format(QStringLiteral("%s V%d.%d"), {intMdl, major, minor});
}

QString Int(int64_t v) { return Format(QStringLiteral("%d"), {v}); }

}  // namespace

QStringList QuzarIdentityTexts(const TFixPar& fix) {
  return {fix.Nickname,
          fix.MdlNme,
          fix.Manuf,
          VersionText(fix.IntMdl, fix.ModelNo, fix.ModifNo),
          Int(fix.SerNum),
          WaveguideText(fix.WgA_um, fix.WgB_um, fix.IsCoax != 0),
          NominalFreqText(fix.FnominKHz)};
}

QStringList TunerIdentityTexts(const TTunerDescr& d, bool coax) {
  return {d.Nick,
          d.Model,
          d.Manuf,
          VersionText(d.IntMdl, d.ModelNo, d.ModifNo),
          Int(d.SerNum),
          WaveguideText(d.WgA_um, d.WgB_um, coax),
          NominalFreqText(d.FnominKHz)};
}

QStringList MotorTexts(const TTunerModel& m) {
  const TTunerDerived& dv = m.Derived();
  // The rates come from checked description values; a zero rate of a record built in code
  // still shows no travel time rather than an infinite one.
  const double travelMs = dv.InRate > 0 ? dv.MaxSteps * 1000.0 / dv.InRate : 0.0;
  return {Format(QStringLiteral("%0.3f mm"), {dv.StepMm}),
          Format(QStringLiteral("%d / %s mm"), {dv.MaxSteps, NumberText3(dv.MaxSteps * dv.StepMm)}),
          Format(QStringLiteral("%d Hz"), {int(dv.InRate)}),
          Format(QStringLiteral("%d Hz"), {int(dv.OutRate)}),
          Format(QStringLiteral("%0.0f ms"), {travelMs})};
}

QString HysteresisText(uint8_t hystDg) {
  return Format(QStringLiteral("%d  (%0.0f mU)"), {int(hystDg), hystDg * 1000.0 * kPi / 180.0});
}

QStringList AutotuneTexts(const TMotState& mot, const TSimState& sim) {
  return {Int(mot.Targ_mU),
          Int(mot.Toler_mU),
          Int(mot.Skip),
          Int(mot.Smooth),
          mot.WaitRF ? QStringLiteral("YES") : QStringLiteral("NO"),
          Int(mot.Delay5b),
          HysteresisText(mot.HystDg),
          Int(sim.MaxMag_mU),
          QString()};
}

std::array<QString, kSketchLabelCount> SketchLabels(const TTunerModel& m) {
  const TTunerDescr& d = m.Descr();
  const auto mm = [](double um) { return NumberText3(um / 1000.0); };
  return {mm(double(d.Ltot_um) - d.StubDist[1]),
          mm(double(d.Ltot_um) - d.StubDist[2]),
          mm(double(d.Ltot_um) - d.StubDist[3]),
          mm(d.Ltot_um),
          mm(d.Lref_um),
          NumberText3(m.Derived().MaxSteps * m.Derived().StepMm)};
}

}  // namespace qz
