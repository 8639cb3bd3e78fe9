// The scenario generator's lists, entries, set texts and scenario rows.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>

#include "common/tunerrig.h"
#include "tuner/scegen.h"
#include "util/format.h"
#include "util/numtext.h"

namespace qz {
namespace {

constexpr double kF = testing::kTunerRigFreq;

TSceGenValues Vals(int32_t start, int32_t stop, int32_t step, int32_t a1 = 0, int32_t a2 = 360) {
  TSceGenValues v;
  v.Rstart = start;
  v.Rstop = stop;
  v.Rstep = step;
  v.StartAngle = a1;
  v.StopAngle = a2;
  return v;
}

TSceGenOptions Opts(int traj, bool segment = false, bool clockwise = false) {
  TSceGenOptions o;
  o.Trajectory = traj;
  o.Segment = segment;
  o.Clockwise = clockwise;
  return o;
}

QStringList PointLines(std::initializer_list<std::pair<double, double>> pts) {
  QStringList l;
  l << QStringLiteral("#\tMHz\tRfl_Re\tRfl_Im");
  for (const auto& p : pts)
    l << QStringLiteral("\t2450.000\t%1\t%2").arg(p.first, 0, 'f', 4).arg(p.second, 0, 'f', 4);
  l << QStringLiteral("End");
  return l;
}

TEST(SceGenList, RectGridInRowOrderWithMatch) {
  const auto pts = CreateListPoints(Vals(0, 100, 50), Opts(kTrajRect));
  EXPECT_EQ(CreateListLines(pts, kF), PointLines({{-0.1, 0},
                                                  {-0.05, -0.05},
                                                  {-0.05, 0},
                                                  {-0.05, 0.05},
                                                  {0, -0.1},
                                                  {0, -0.05},
                                                  {0, 0},
                                                  {0, 0.05},
                                                  {0, 0.1},
                                                  {0.05, -0.05},
                                                  {0.05, 0},
                                                  {0.05, 0.05},
                                                  {0.1, 0},
                                                  {0, 0}}));
}

TEST(SceGenList, RectSegmentKeepsTheArcTheRingsWalk) {
  // -45..45 counter-clockwise: the right half-quadrant pair, the centre included.
  const auto pts = CreateListPoints(Vals(0, 100, 50, -45, 45), Opts(kTrajRect, true));
  EXPECT_EQ(CreateListLines(pts, kF),
            PointLines({{0, 0}, {0.05, -0.05}, {0.05, 0}, {0.05, 0.05}, {0.1, 0}, {0, 0}}));
  // Clockwise from -45 to 45 walks the other 270 degrees, both ends included.
  const auto cw = CreateListPoints(Vals(0, 100, 50, -45, 45), Opts(kTrajRect, true, true));
  // All 13 but the three at phase 0 (the centre counts as phase 0); the match added.
  EXPECT_EQ(cw.size(), size_t(13 - 3 + 1));
}

TEST(SceGenList, PointCounts) {
  struct Case {
    const char* name;
    TSceGenValues v;
    TSceGenOptions o;
    size_t points;  // without the match
  };
  const Case cases[] = {
      {"circ 0/100/50", Vals(0, 100, 50), Opts(kTrajCirc), 1 + 6 + 13},
      {"circ 0/100/40 half-even rings", Vals(0, 100, 40), Opts(kTrajCirc), 20},
      {"rect initial", TSceGenValues{}, Opts(kTrajRect), 613},
      {"circ initial", TSceGenValues{}, Opts(kTrajCirc), 661},
      {"circ segment", Vals(0, 100, 50, -45, 45), Opts(kTrajCirc, true), 8},
      {"circ segment clockwise", Vals(0, 100, 50, -45, 45), Opts(kTrajCirc, true, true), 17},
      {"circ densest", Vals(0, 1000, 10), Opts(kTrajCirc), 31731},
      {"rect densest", Vals(0, 1000, 10), Opts(kTrajRect), 31473},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TSceGenOptions o = c.o;
    o.AddMatch = false;
    EXPECT_EQ(CreateListPoints(c.v, o).size(), c.points);
    o.AddMatch = true;
    const auto with = CreateListPoints(c.v, o);
    ASSERT_EQ(with.size(), c.points + 1);
    EXPECT_EQ(with.back(), complex(0, 0));
  }
}

TEST(SceGenList, CircRingsHaveTheirMagnitudeAndStartAtRot) {
  TSceGenValues v = Vals(0, 100, 50);
  v.Rot = 90;
  TSceGenOptions o = Opts(kTrajCirc);
  o.AddMatch = false;
  const auto pts = CreateListPoints(v, o);
  ASSERT_EQ(pts.size(), 20u);
  EXPECT_NEAR(CAbs(pts[0]), 0.0, 1e-12);
  for (int i = 1; i <= 6; ++i) EXPECT_NEAR(CAbs(pts[size_t(i)]), 0.05, 1e-12);
  for (int i = 7; i < 20; ++i) EXPECT_NEAR(CAbs(pts[size_t(i)]), 0.1, 1e-12);
  // First point of each ring at Rot, the next one step further counter-clockwise.
  EXPECT_NEAR(CArgDeg(pts[1]), 90.0, 1e-9);
  EXPECT_NEAR(CArgDeg(pts[2]), 150.0, 1e-9);
  EXPECT_NEAR(CArgDeg(pts[7]), 90.0, 1e-9);
}

TEST(SceGenList, ShuttleReversesEveryOtherRing) {
  TSceGenOptions o = Opts(kTrajCirc, true);
  o.Shuttle = true;
  o.AddMatch = false;
  const auto pts = CreateListPoints(Vals(50, 100, 50, 0, 90), o);
  // Ring 50: n = round(pi/2) = 2, three points 0, 45, 90; ring 100: n = 3, from 90 back to 0.
  ASSERT_EQ(pts.size(), 3u + 4u);
  EXPECT_NEAR(CArgDeg(pts[2]), 90.0, 1e-9);
  EXPECT_NEAR(CArgDeg(pts[3]), 90.0, 1e-9);
  EXPECT_NEAR(CArgDeg(pts[4]), 60.0, 1e-9);
  EXPECT_NEAR(CArgDeg(pts[6]), 0.0, 1e-9);
}

TEST(SceGenList, NoNegativeZeroInTheText) {
  const QStringList l = CreateListLines({complex(-0.0, -1e-17)}, kF);
  EXPECT_EQ(l[1], QStringLiteral("\t2450.000\t0.0000\t0.0000"));
}

TEST(SceGenArc, Table) {
  struct Case {
    double phase, start, stop;
    bool cw, kept;
  };
  const Case cases[] = {
      {0, -45, 45, false, true},      {-45, -45, 45, false, true},   {45, -45, 45, false, true},
      {90, -45, 45, false, false},    {180, -45, 45, false, false},  {90, -45, 45, true, true},
      {0, -45, 45, true, false},      {45, -45, 45, true, true},     {10, 10, 10, false, true},
      {11, 10, 10, false, false},     {170, 170, -170, false, true}, {180, 170, -170, false, true},
      {-175, 170, -170, false, true}, {0, 170, -170, false, false},  {0, 0, 360, false, true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SegmentArcTest(c.phase, c.start, c.stop, c.cw), c.kept)
        << c.phase << " in " << c.start << ".." << c.stop << (c.cw ? " clockwise" : "");
}

TEST(SceGenEntries, WrongEntriesAreCorrectedAndListed) {
  TSceGenEntries e;
  e.Rstop = QStringLiteral("abc");  // not a number: default 800
  e.Rstep = QStringLiteral("5");    // below 10: clamped
  e.StartAngle = QStringLiteral("-400");
  e.Rot = QStringLiteral("12.5");  // rounded half to even, no error
  const TSceGenRead r = ReadSceGenEntries(e);
  EXPECT_EQ(r.v.Rstart, 0);
  EXPECT_EQ(r.v.Rstop, 800);
  EXPECT_EQ(r.v.Rstep, 10);
  EXPECT_EQ(r.v.StartAngle, -360);
  EXPECT_EQ(r.v.Rot, 12);
  EXPECT_EQ(r.v.Dwell, 500);
  EXPECT_EQ(r.texts.Rstop, QStringLiteral("800"));
  EXPECT_EQ(r.texts.Rot, QStringLiteral("12"));
  EXPECT_EQ(
      r.ErrorBoxText(),
      QStringLiteral("Incorrect inputs:  - Stop (abc)\n\r - Step (5)\n\r - Start Angle (-400)."
                     "\r\nChanged to defaults."));
  EXPECT_TRUE(ReadSceGenEntries(TSceGenEntries{}).ErrorBoxText().isEmpty());
}

TEST(SceGenInfo, Texts) {
  testing::TunerRig rig;
  const TSceGenEntries e;
  EXPECT_EQ(SceInfoLine(rig.d, false, QStringLiteral("/x/Spar.txt"),
                        GeneratedSetInfo(e, Opts(kTrajRect))),
            QStringLiteral("SceInfo = QZTU V1.0/0. Transf=NO. 0 to 700 step 50 mU. Rot=0 dg."));
  EXPECT_EQ(SceInfoLine(rig.d, true, QStringLiteral("/x/Spar.txt"), QStringLiteral(" a ")),
            QStringLiteral("SceInfo = QZTU V1.0/0. Transf=Spar.txt. a"));
  TSceGenOptions o = Opts(kTrajCirc, true, true);
  o.Shuttle = true;
  EXPECT_EQ(GeneratedSetInfo(e, o),
            QStringLiteral("0 to 700 step 50 mU. Segm 0 to 360 dg clkw+shtl. Rot=0 dg."));
  EXPECT_EQ(GeneratedSetInfo(e, Opts(kTrajCirc, true)),
            QStringLiteral("0 to 700 step 50 mU. Segm 0 to 360 dg cclkw. Rot=0 dg."));
}

// ---- rows ----

struct SceRows : ::testing::Test {
  testing::TunerRig rig;
  TSceModelCopy Copy() const { return {rig.d, rig.mot, rig.sim, TBilinTransf{}}; }
};

TEST_F(SceRows, MatchAtNominalFrequency) {
  const QStringList rows = MakeScenarioRows(Copy(), {{kF, complex(0, 0)}}, 1, 500, 1);
  EXPECT_EQ(rows, QStringList{QStringLiteral(
                      "1\t=\t0.000\t0.000\t0.000\t500\t0.000\t0.00\t2450.000\t0.0000\t0.0000")});
}

TEST_F(SceRows, RowsAreTheAutotuneOfTheConjugateSeenAtStubThree) {
  const std::vector<TSceRecord> recs = {{kF, CPolarDeg(0.5, 30)},
                                        {kF, CPolarDeg(0.3, -120)},
                                        {2.40e9, complex(-0.2, 0.1)},
                                        {kF, CPolarDeg(0.8, 179)}};
  const QStringList rows = MakeScenarioRows(Copy(), recs, 7, 250, 1);
  ASSERT_EQ(rows.size(), 4);
  for (size_t i = 0; i < recs.size(); ++i) {
    testing::TunerRig ref;
    ref.mot.Targ_mU = 0;
    ref.mot.Toler_mU = 0;
    ref.mot.HystDg = 0;
    ref.m.UpdateAtParams();
    ref.m.DerivedAt();
    ref.m.TU_FillFreqPars(recs[i].fHz);
    const complex g = recs[i].rho;
    ref.at.TU_AutoTun(CConj(g) * CPolar(1.0, 2.0 * ref.m.Freq().Theta[3]));
    const double mm = ref.m.Derived().StepMm;
    const TMotPos& p = ref.mot.TargPos;
    const QStringList t = rows[qsizetype(i)].split('\t');
    ASSERT_EQ(t.size(), 11);
    EXPECT_EQ(t[0].toInt(), 7 + int(i));
    EXPECT_EQ(t[1], QStringLiteral("="));
    EXPECT_NEAR(t[2].toDouble(), p[3] * mm, 0.0005);
    EXPECT_NEAR(t[3].toDouble(), p[2] * mm, 0.0005);
    EXPECT_NEAR(t[4].toDouble(), p[1] * mm, 0.0005);
    EXPECT_EQ(t[5], QStringLiteral("250"));
    EXPECT_NEAR(t[6].toDouble(), CAbs(g), 0.0005);
    EXPECT_NEAR(t[7].toDouble(), CArgDeg(g), 0.005);
    EXPECT_EQ(t[8], HzToMHzText(recs[i].fHz));
    EXPECT_NEAR(t[9].toDouble(), g.re, 0.00005);
    EXPECT_NEAR(t[10].toDouble(), g.im, 0.00005);
    EXPECT_GT(p[1] + p[2] + p[3], 0) << "a mismatched load needs some insertion";
  }
}

TEST_F(SceRows, WorkerCountDoesNotChangeTheText) {
  TSceGenValues v = Vals(0, 900, 100);
  const auto pts = CreateListPoints(v, Opts(kTrajCirc));
  std::vector<TSceRecord> recs;
  for (const complex& p : pts) recs.push_back({kF, p});
  int calls = 0, lastDone = 0;
  const QStringList one = MakeScenarioRows(Copy(), recs, 1, 500, 1);
  const QStringList four =
      MakeScenarioRows(Copy(), recs, 1, 500, 4, nullptr, [&](int d) { ++calls, lastDone = d; });
  ASSERT_EQ(one.size(), qsizetype(recs.size()));
  EXPECT_EQ(one, four);
  EXPECT_GT(calls, 0);
  EXPECT_EQ(lastDone, int(recs.size()));
}

TEST_F(SceRows, CancelGivesNothingAndLiveRecordsStayAsTheyWere) {
  rig.mot.Targ_mU = 30;
  rig.mot.Toler_mU = 20;
  rig.mot.HystDg = 5;
  rig.mot.TargPos = MakeMotPos(10, 20, 30);
  rig.mot.ActPos = MakeMotPos(11, 21, 31);
  rig.m.UpdateAtParams();
  rig.m.PairMode = true;
  const TMotState before = rig.mot;
  std::vector<TSceRecord> recs(200, TSceRecord{kF, CPolarDeg(0.4, 60)});
  // Cancelled at the first progress step (one worker: steps of a hundredth of the records).
  std::atomic<bool> cancel{false};
  EXPECT_TRUE(
      MakeScenarioRows(Copy(), recs, 1, 500, 1, &cancel, [&](int) { cancel = true; }).isEmpty());
  // Cancelled before the workers start.
  EXPECT_TRUE(MakeScenarioRows(Copy(), recs, 1, 500, 4, &cancel).isEmpty());
  EXPECT_FALSE(MakeScenarioRows(Copy(), recs, 1, 500, 2).isEmpty());
  EXPECT_EQ(rig.mot.Targ_mU, before.Targ_mU);
  EXPECT_EQ(rig.mot.Toler_mU, before.Toler_mU);
  EXPECT_EQ(rig.mot.HystDg, before.HystDg);
  EXPECT_EQ(rig.mot.TargPos, before.TargPos);
  EXPECT_EQ(rig.mot.ActPos, before.ActPos);
  EXPECT_TRUE(rig.m.PairMode);
}

TEST(SceRowRecords, SkipMatchesKeepsTheLastOne) {
  const std::vector<TSceRecord> recs = {
      {kF, complex(0, 0)}, {kF, complex(0.5, 0)}, {kF, complex(0.0005, 0)}, {kF, complex(0, 0)}};
  EXPECT_EQ(RowRecords(recs, true).size(), 2u);
  EXPECT_EQ(RowRecords(recs, false).size(), 4u);
  EXPECT_EQ(RowRecords({{kF, complex(0, 0)}}, true).size(), 1u);
}

TEST(SceOutput, FreshAndAppended) {
  const QString info = QStringLiteral("SceInfo = QZTU V1.0/0. Transf=NO. x");
  const TSceOutputPlan fresh = PlanSceOutput({}, true, info, QStringLiteral("y"), 2);
  EXPECT_EQ(fresh.head, (QStringList{"[Scenario Info]", info, "[Page2]"}));
  EXPECT_EQ(fresh.firstRowNo, 1);

  const QStringList old = {"[Scenario Info]", info + " ", "[Page1]",
                           "1\t=\t1.000\t2.000\t0.000\t500\t0.500\t30.00\t2450.000\t0.4330\t0.2500",
                           "2\t=\t0.000\t0.000\t0.000\t500\t0.000\t0.00\t2450.000\t0.0000\t0.0000"};
  const TSceOutputPlan add =
      PlanSceOutput(old, true, QStringLiteral("unused"), QStringLiteral(" y "), 1);
  EXPECT_EQ(add.head, (QStringList{"[Scenario Info]", info + " Add y ", "[Page1]", old[3]}));
  EXPECT_EQ(add.firstRowNo, 2);
  // Without append the output is always made anew.
  EXPECT_EQ(PlanSceOutput(old, false, info, {}, 3).head.last(), QStringLiteral("[Page3]"));
}

// The dwell of the made rows: the entry as an integer, 500 when it is none, never negative.
TEST(SceGenRows, DwellOfTheMadeRows) {
  const struct {
    const char* entry;
    int32_t ms;
  } cases[] = {{"500", 500}, {" 1200 ", 1200}, {"0", 0},    {"-5", 0},
               {"abc", 500}, {"", 500},        {"2.5", 500}};
  for (const auto& c : cases)
    EXPECT_EQ(SceMakeDwellMs(QString::fromLatin1(c.entry)), c.ms) << c.entry;
}

}  // namespace
}  // namespace qz
