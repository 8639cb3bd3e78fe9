#include "sim/tunermodel.h"

#include <gtest/gtest.h>

#include "common/expectnear.h"

#include <cmath>
#include <random>

#include "core/smatrixalg.h"

namespace qz {
namespace {

constexpr double kTol = 1e-12;

using testing::ExpectNear;

struct FakeHost : TTunerHost {
  int calls = 0;
  double cutoff = -1.0;
  TFixPar fix;
  int32_t fsubstKHz = 0;
  void TunerDescrApplied(const TTunerDescr& d, double cutoffHz) override {
    ++calls;
    cutoff = cutoffHz;
    ApplyTunerIdentity(d, fix);
    fsubstKHz = d.FnominKHz;
  }
};

struct Recorder : TTunerObserver {
  std::vector<QString>* log;
  QString name;
  double maxInsertSeen = 0.0;
  Recorder(std::vector<QString>* l, QString n) : log(l), name(std::move(n)) {}
  void OnTunerDescriptionChanged(const TTunerModel& m) override {
    log->push_back(name + QStringLiteral(":descr"));
    maxInsertSeen = m.Mot().MaxInsert_mm;
  }
  void OnAtParamsChanged(const TTunerModel&) override {
    log->push_back(name + QStringLiteral(":at"));
  }
};

// A model over its own records, with the built-in description derived.
struct Fixture {
  TTunerDescr d = DefaultTunerDescr();
  TMotState mot;
  TSimState sim;
  FakeHost host;
  TTunerModel m{d, mot, sim};
  Fixture() {
    m.SetHost(&host);
    m.TunerDescriptionChanged();
  }
};

TEST(ComputeTuneTime, LargestMoveDecidesAndItsSignPicksTheRate) {
  struct Case {
    TMotPos start, stop;
    uint16_t inRate, outRate;
    double seconds;
  };
  const Case cases[] = {
      // Stub 2 moves most (-500): the in-rate.
      {MakeMotPos(0, 0, 0), MakeMotPos(300, -500, 0), 3000, 3000, 500.0 / 3000.0},
      // Stub 1 moves most (+600): the out-rate.
      {MakeMotPos(0, 0, 0), MakeMotPos(600, -500, 0), 3000, 2000, 0.3},
      // Equal moves: the first stub decides, here positive.
      {MakeMotPos(0, 0, 0), MakeMotPos(300, -300, 0), 3000, 1000, 0.3},
      {MakeMotPos(0, 0, 0), MakeMotPos(-300, 300, 0), 3000, 1000, 0.1},
      {MakeMotPos(100, 100, 100), MakeMotPos(100, 100, 1100), 500, 2000, 0.5},
      {MakeMotPos(5, 6, 7), MakeMotPos(5, 6, 7), 3000, 3000, 0.0},
      // Extreme positions do not overflow.
      {MakeMotPos(-32768, 0, 0), MakeMotPos(32767, 0, 0), 3000, 65535, 1.0},
      // A rate of 0 counts as one step per second.
      {MakeMotPos(0, 0, 0), MakeMotPos(0, -40, 0), 0, 0, 40.0},
  };
  for (const Case& c : cases) {
    Fixture f;
    f.d.InRate = c.inRate;
    f.d.OutRate = c.outRate;
    f.m.TU_MdlDerivedData();
    EXPECT_NEAR(f.m.ComputeTuneTime(c.start, c.stop), c.seconds, 1e-12)
        << c.stop[1] << " " << c.stop[2] << " " << c.stop[3];
  }
}

TEST(ComputeTuneTime, TheWorkedExampleRoundsToTheShownMilliseconds) {
  Fixture f;
  EXPECT_NEAR(f.m.ComputeTuneTime(MakeMotPos(0, 0, 0), MakeMotPos(300, -500, 0)), 0.1667, 5e-5);
}

TEST(TunerModel, DerivedDataOfTheBuiltInDescription) {
  Fixture f;
  const TTunerDerived& dv = f.m.Derived();
  EXPECT_DOUBLE_EQ(dv.StepMm, 0.01);
  EXPECT_EQ(dv.MaxSteps, 3000);
  EXPECT_DOUBLE_EQ(f.sim.UserMax_mm, 30.0);
  EXPECT_DOUBLE_EQ(f.mot.MaxInsert_mm, 30.0);
  EXPECT_DOUBLE_EQ(dv.Fnomin_Hz, 2.45e9);
  EXPECT_DOUBLE_EQ(dv.WgB_mm, 43.18);
  EXPECT_EQ(dv.SectType, kSectBeforeStubs);
  EXPECT_NEAR(dv.L_m[0], 0.060, 1e-15);
  EXPECT_NEAR(dv.L_m[1], 0.04334, 1e-15);
  EXPECT_NEAR(dv.L_m[2], 0.04334, 1e-15);
  EXPECT_NEAR(dv.L_m[3], 0.06332, 1e-15);
  // c / 2a of the 86.36 mm guide.
  EXPECT_NEAR(dv.Cutoff_Hz, 1.7357e9, 0.0001e9);
  EXPECT_DOUBLE_EQ(dv.Cutoff_Hz, 1.49896229e11 / 86.36);
  EXPECT_DOUBLE_EQ(dv.TolSq, 0.025 * 0.025);
  EXPECT_DOUBLE_EQ(dv.HystRad, 5.0 * kPi / 180.0);
}

TEST(TunerModel, TheBuiltInTunerIsTransparentAtZeroAndReflectsWhenInserted) {
  Fixture f;
  f.m.TU_FillFreqPars(2.45e9);
  // The stubs are a quarter guide wavelength apart at the nominal frequency.
  EXPECT_NEAR(f.m.Freq().Theta[1], kPi / 2, 0.002);
  EXPECT_NEAR(CAbs(f.m.Freq().S0.s11), 0.0, kTol);
  EXPECT_NEAR(CAbs(f.m.TunerChain(MakeMotPos(0, 0, 0), kCloseOutput).s11), 0.0, kTol);
  const double full = CAbs(f.m.StubMatrix(30.0).s11);
  EXPECT_GT(full, 0.7);
  EXPECT_LT(full, 0.95);
  EXPECT_LT(CAbs(f.m.StubMatrix(10.0).s11), full);
}

TEST(TunerModel, HostTakesIdentityCutoffAndSubstituteFrequency) {
  Fixture f;
  EXPECT_EQ(f.host.calls, 1);
  EXPECT_DOUBLE_EQ(f.host.cutoff, 1.49896229e11 / 86.36);
  EXPECT_EQ(f.host.fix.Manuf, f.d.Manuf);
  EXPECT_EQ(f.host.fix.Nickname, f.d.Nick);
  EXPECT_EQ(f.host.fix.MdlNme, f.d.Model);
  EXPECT_EQ(f.host.fix.WgA_um, 86360);
  EXPECT_EQ(f.host.fix.IsCoax, 0);
  EXPECT_EQ(f.host.fsubstKHz, 2450000);

  f.d.CellType = kCellCoax;
  f.d.WgA_um = 7000;
  f.d.WgB_um = 3040;
  f.m.TunerDescriptionChanged();
  EXPECT_EQ(f.host.calls, 2);
  EXPECT_DOUBLE_EQ(f.host.cutoff, 0.0);
  EXPECT_EQ(f.host.fix.IsCoax, 1);
  EXPECT_NEAR(f.m.Derived().Z0, 59.9584916 * std::log(7000.0 / 3040.0), 1e-12);
}

TEST(TunerModel, DescriptionReadSetsMaximumInsertionAndLimitsPositions) {
  struct Case {
    const char* lines;
    int maxSteps;
    double maxInsert;
  };
  const Case cases[] = {
      {"MaxSteps=2000\nMmPerStep=0.02", 2000, 40.0},
      // The operator's maximum: 12.345 mm / 0.01 mm is 1234.5 steps, rounded half to even.
      {"MaxSteps=2000\nMmPerStep=0.01\nMaxInsert_mm=12.345", 1234, 12.34},
      {"MaxSteps=2000\nMmPerStep=0.01\nMaxInsert_mm=-5", 500, 5.0},
      // An unreadable maximum stays unset: the described travel.
      {"MaxSteps=2000\nMmPerStep=0.01\nMaxInsert_mm=five", 2000, 20.0},
      // Positions are 16-bit: the working maximum stays at or below 32767.
      {"MaxSteps=65535\nMmPerStep=0.001", 32767, 32.767},
      {"MaxSteps=100\nMmPerStep=0.001\nMaxInsert_mm=1e9", 32767, 32.767},
      // Less than half a step still leaves one step.
      {"MaxSteps=100\nMmPerStep=1\nMaxInsert_mm=0.2", 1, 1.0},
  };
  for (const Case& c : cases) {
    Fixture f;
    f.mot.ActPos = MakeMotPos(2500, -7, 100);
    f.mot.TargPos = MakeMotPos(1, 2, 3);
    f.sim.UserMax_mm = 99.0;  // from an earlier setup: a read starts unset
    f.m.ReadDescrLines(QString::fromLatin1(c.lines).split(QLatin1Char('\n')));
    SCOPED_TRACE(c.lines);
    EXPECT_EQ(f.m.Derived().MaxSteps, c.maxSteps);
    EXPECT_NEAR(f.mot.MaxInsert_mm, c.maxInsert, 1e-9);
    EXPECT_NEAR(f.mot.MaxInsert_mm, f.m.Derived().MaxSteps * f.m.Derived().StepMm, 1e-12);
    EXPECT_EQ(f.mot.ActPos, MakeMotPos(static_cast<int16_t>(std::min(2500, c.maxSteps)), 0,
                                       static_cast<int16_t>(std::min(100, c.maxSteps))));
    EXPECT_EQ(f.mot.TargPos, f.mot.ActPos);
  }
}

TEST(TunerModel, DamagedStepLengthKeepsTheDefaultStep) {
  for (const double mm : {0.0, -1.0, std::nan("")}) {
    Fixture f;
    f.d.MmPerStep = mm;
    f.m.TunerDescriptionChanged();
    EXPECT_DOUBLE_EQ(f.m.Derived().StepMm, kTuDefMmPerStep);
    EXPECT_EQ(f.m.StepsFromMm(10.0), 1000);
  }
}

TEST(TunerModel, StepsFromMm) {
  Fixture f;  // 3000 steps of 0.01 mm, 30 mm
  struct Case {
    double mm;
    int steps;
  };
  const Case cases[] = {{0.0, 0},      {10.0, 1000},     {0.005, 0},     {0.015, 2},
                        {29.99, 2999}, {30.0, 3000},     {1000.0, 3000},  // beyond: the maximum
                        {-3.0, 0},     {std::nan(""), 0}};
  for (const Case& c : cases) EXPECT_EQ(f.m.StepsFromMm(c.mm), c.steps) << c.mm;
}

TEST(TunerModel, SectionTypesAndReferenceSection) {
  struct Case {
    int32_t ltot, lref;
    int type;
    double l0;
  };
  // Stubs at 60, 103.34 and 146.68 mm; d = Ltot - Lref is the reference plane's distance from
  // the input flange.
  const Case cases[] = {
      {210000, 210000, kSectBeforeStubs, 0.060},   // d = 0
      {210000, 150000, kSectBeforeStubs, 0.0},     // d = 60 mm, on stub 1
      {210000, 60000, kSectBehindStubs, 0.00332},  // d = 150 mm
      {210000, 63320, kSectBehindStubs, 0.0},      // d on stub 3
      {210000, 100000, kSectBetweenStubs, 110000e-6 - 0.14668},
  };
  for (const Case& c : cases) {
    Fixture f;
    f.d.Ltot_um = c.ltot;
    f.d.Lref_um = c.lref;
    f.m.TunerDescriptionChanged();
    f.m.TU_FillFreqPars(2.4e9);
    SCOPED_TRACE(c.lref);
    EXPECT_EQ(f.m.Derived().SectType, c.type);
    EXPECT_NEAR(f.m.Derived().L_m[0], c.l0, 1e-15);
    const TTunerFreqPars& q = f.m.Freq();
    switch (c.type) {
      case kSectBeforeStubs:
        EXPECT_FALSE(q.HasRef);
        ExpectNear(f.m.TunerInputToAnalyzer(complex(0.5, 0.1)),
                   CRotate(complex(0.5, 0.1), -2.0 * q.Theta[0]));
        break;
      case kSectBehindStubs:
        EXPECT_TRUE(q.HasRef);
        ExpectNear(q.Ref, f.m.TunerChain(MakeMotPos(0, 0, 0), kCloseRef));
        break;
      default:  // no two-port is described: a section of zero length
        EXPECT_TRUE(q.HasRef);
        ExpectNear(q.Ref, IdentityMatrix());
        ExpectNear(f.m.TunerInputToAnalyzer(complex(0.5, 0.1)), complex(0.5, 0.1));
        break;
    }
    for (const complex g : {complex(0.3, -0.4), complex(-0.9, 0.05), complex()})
      ExpectNear(f.m.AnalyzerToTunerInput(f.m.TunerInputToAnalyzer(g)), g, 1e-9);
  }
}

TTunerDescr CoaxDescr() {
  TTunerDescr d = DefaultTunerDescr();
  d.CellType = kCellCoax;
  d.WgA_um = 7000;
  d.WgB_um = 3040;
  d.FnominKHz = 915000;
  d.ShortWgA_um = 86360;
  d.ShortWgB_um = 43180;
  d.Ls_pH = 1500;
  d.Ltot_um = 210000;
  d.Lref_um = 30000;  // reference plane behind stub 3: the reference two-port holds stubs
  d.Par1 = TStubModel{};
  d.Par1.NH = 1;
  d.Par1.C[1][0] = 0.3;
  d.Par2 = TStubModel{};
  d.Par2.NH = 1;
  d.Par2.C[0][0] = 5.0;
  d.Par2.C[1][0] = 2.0;
  return d;
}

TEST(TunerModel, PerFrequencyDataDependOnlyOnTheFrequency) {
  // The coaxial stub's frequency values are computed before the stubs of the reference
  // two-port: the result at f2 does not remember an earlier frequency.
  TTunerDescr d1 = CoaxDescr(), d2 = CoaxDescr();
  TMotState mot1, mot2;
  TSimState sim1, sim2;
  TTunerModel a(d1, mot1, sim1), b(d2, mot2, sim2);
  a.TunerDescriptionChanged();
  b.TunerDescriptionChanged();
  a.TU_FillFreqPars(0.5e9);
  a.TU_FillFreqPars(0.9e9);
  b.TU_FillFreqPars(0.9e9);
  EXPECT_EQ(a.Derived().SectType, kSectBehindStubs);
  EXPECT_EQ(a.Freq().Ref, b.Freq().Ref);
  EXPECT_EQ(a.Freq().S0, b.Freq().S0);
  EXPECT_DOUBLE_EQ(a.Freq().Chain.Stub.Omega, 2.0 * kPi * 0.9e9);
  ExpectNear(a.Freq().Ref, a.TunerChain(MakeMotPos(0, 0, 0), kCloseRef));
  EXPECT_DOUBLE_EQ(a.Freq().Phi21, CArg(a.Freq().S0.s21));
}

TEST(TunerModel, FreshModelFirstFrequencyIsFinite) {
  TTunerDescr d = CoaxDescr();
  TMotState mot;
  TSimState sim;
  TTunerModel m(d, mot, sim);
  m.TU_MdlDerivedData();
  m.TU_FillFreqPars(0.915e9);
  const TSmatrix r = m.Freq().Ref;
  EXPECT_TRUE(std::isfinite(r.s11.re) && std::isfinite(r.s21.im));
  EXPECT_NEAR(CAbs2(r.s11) + CAbs2(r.s21), 1.0, kTol);
}

TEST(TunerModel, PerFrequencyValues) {
  Fixture f;
  f.m.TU_FillFreqPars(2.5725e9);  // 5 % above nominal
  const TTunerFreqPars& q = f.m.Freq();
  EXPECT_NEAR(q.Dev, 5.0, 1e-12);
  const double fc = 1.49896229e11 / 86.36;
  const double lg = 299792458.0 / std::sqrt(2.5725e9 * 2.5725e9 - fc * fc);
  EXPECT_NEAR(q.LambdaG, lg, 1e-15);
  EXPECT_NEAR(q.Theta[1], 2.0 * kPi * 0.04334 / lg, 1e-12);
  // Model 2 of the built-in description: C[1] = 0.5 + 0.005 dev, C[3] = 8 + 0.08 dev.
  EXPECT_NEAR(q.Chain.Stub.P2[1], 0.525, 1e-15);
  EXPECT_NEAR(q.Chain.Stub.P2[3], 8.4, 1e-14);
  ExpectNear(q.Chain.Line[2], LineMatrix(q.Theta[2]));
}

TEST(TunerModel, AtOrBelowCutoffTheLengthsTurnNegativeAndStayFinite) {
  Fixture f;
  f.m.TU_FillFreqPars(1.0e9);
  EXPECT_DOUBLE_EQ(f.m.Freq().LambdaG, -1.0);
  EXPECT_LT(f.m.Freq().Theta[1], 0.0);
  const TSmatrix s = f.m.TunerChain(MakeMotPos(1000, 2000, 3000), kCloseOutput);
  EXPECT_NEAR(CAbs2(s.s11) + CAbs2(s.s21), 1.0, kTol);
}

TEST(TunerModel, MissingCellTypeUsesTheWaveguideModel) {
  Fixture f;
  f.m.TU_FillFreqPars(2.45e9);
  const TSmatrix wg = f.m.StubMatrix(20.0);
  f.m.ReadDescrLines({QStringLiteral("CELLTYPE=9")});
  f.m.TU_FillFreqPars(2.45e9);
  EXPECT_EQ(f.d.CellType, 9);
  EXPECT_EQ(f.m.StubMatrix(20.0), wg);
}

TEST(TunerModel, ChainsOfTheModelAreLosslessForBothCells) {
  std::mt19937_64 g(5);
  std::uniform_int_distribution<int> pos(0, 3000);
  std::uniform_real_distribution<double> fr(0.85, 1.15);
  for (const bool coax : {false, true}) {
    TTunerDescr d = coax ? CoaxDescr() : DefaultTunerDescr();
    TMotState mot;
    TSimState sim;
    TTunerModel m(d, mot, sim);
    m.TunerDescriptionChanged();
    for (int n = 0; n < 300; ++n) {
      m.TU_FillFreqPars(fr(g) * d.FnominKHz * 1000.0);
      const TMotPos p = MakeMotPos(static_cast<int16_t>(pos(g)), static_cast<int16_t>(pos(g)),
                                   static_cast<int16_t>(pos(g)));
      const TSmatrix s = m.TunerChain(p, kCloseOutput);
      const complex z = s.s11 * CConj(s.s21) + s.s21 * CConj(s.s22);
      EXPECT_NEAR(CAbs2(s.s11) + CAbs2(s.s21), 1.0, kTol);
      EXPECT_NEAR(CAbs(z), 0.0, kTol);
    }
  }
}

TEST(TunerModel, ObserversAreToldAfterTheUpdate) {
  Fixture f;
  std::vector<QString> log;
  Recorder a(&log, QStringLiteral("a")), b(&log, QStringLiteral("b"));
  f.m.AddObserver(&a);
  f.m.AddObserver(&b);
  f.m.AddObserver(&a);  // once only
  f.d.MaxSteps = 1500;
  f.m.TunerDescriptionChanged();
  EXPECT_EQ(log, (std::vector<QString>{QStringLiteral("a:descr"), QStringLiteral("b:descr")}));
  EXPECT_DOUBLE_EQ(a.maxInsertSeen, 30.0);  // the operator's maximum of the earlier derivation

  log.clear();
  f.m.RemoveObserver(&b);
  f.mot.Toler_mU = 100;
  f.m.UpdateAtParams();
  EXPECT_EQ(log, (std::vector<QString>{QStringLiteral("a:descr"), QStringLiteral("a:at")}));
  EXPECT_DOUBLE_EQ(f.m.Derived().TolSq, 0.01);
}

TEST(TunerModel, StubStepSizes) {
  EXPECT_EQ(StubStepSizes(1000), (std::array<int, 3>{1, 10, 100}));
  EXPECT_EQ(StubStepSizes(2000), (std::array<int, 3>{1, 13, 159}));
  EXPECT_EQ(StubStepSizes(0), (std::array<int, 3>{1, 1, 1}));
}

}  // namespace
}  // namespace qz
