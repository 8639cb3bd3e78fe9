// The reflection-coefficient list reader and the scenario text made from its sets.
#include <gtest/gtest.h>

#include "common/tunerrig.h"
#include "tuner/rholist.h"
#include "util/asker.h"

namespace qz {
namespace {

constexpr double kF = testing::kTunerRigFreq;
const QString kHead = QStringLiteral("#\tMHz\tRfl_Re\tRfl_Im");

struct RhoList : ::testing::Test {
  TScriptedAsker asker;
  RhoList() { asker.quiet = true; }
  QStringList Messages() const {
    QStringList m;
    for (const TAskRecord& r : asker.Records(TAskRecord::Message)) m << r.text;
    return m;
  }
};

TEST(RhoListMsg, ExactTexts) {
  EXPECT_EQ(RhoHeaderCountMsg(3, QStringLiteral("#\tMHz\tA")),
            QStringLiteral("Incorrect header column count in Line 3:\r\n    # MHz A\r\n\r\n"
                           "Consult Help for correct file structure.\r\n\r\n"
                           "Record analysis aborted: Press Abort to skip all records."));
  EXPECT_EQ(RhoHeaderNoPairMsg(),
            QStringLiteral("Incorrect header - indicates no valid data.\r\nConsult Help for "
                           "correct file structure.\r\n\r\nData ignored: Press Abort to skip all "
                           "records."));
  EXPECT_EQ(RhoColumnCountMsg(2, 3, 2, QStringLiteral("1\t2")),
            QStringLiteral("Conflict between column count obtained from header and data count "
                           "in Line 2:\r\n   Header count = 3\r\n   Data count = 2\r\n"
                           "   Line = 1 2\r\n"
                           "May be due to incorrect file structure or incorrect decimal "
                           "separator.\r\n"
                           "  - Decimal separator must be POINT not comma for file analysis.\r\n"
                           "  - Consult Help for correct file structure.\r\n\r\n"
                           "Record analysis aborted: Press Abort to skip all records."));
  EXPECT_EQ(RhoTooFewLinesMsg(1),
            QStringLiteral("Less than 2 lines in source file: Nlines=1\r\nConsult Help for "
                           "correct file structure.\r\n\r\nProcedure aborted."));
}

TEST_F(RhoList, AbortAtAHeaderErrorStopsReading) {
  asker.QueueButton(mbAbort);
  const TRhoListRead r = ReadRhoList({"# MHz RFL_RE RFL_IM RFL_MAG RFL_DEG RFL_SWR",
                                      "2450 0.1 0 0 0 1", kHead, "\t2450\t0.1\t0", "End"},
                                     asker);
  EXPECT_TRUE(r.aborted);
  EXPECT_TRUE(r.sets.empty());
  EXPECT_EQ(Messages(),
            (QStringList{RhoHeaderCountMsg(0, "# MHz RFL_RE RFL_IM RFL_MAG RFL_DEG RFL_SWR"),
                         RhoNoValidDataMsg()}));
}

TEST_F(RhoList, OkAfterErrorsReadsOnButDropsTheSet) {
  // Set 1 has a short record: not used. A header without a usable pair: its data ignored.
  asker.QueueButton(mbOK);
  asker.QueueButton(mbOK);
  const TRhoListRead r =
      ReadRhoList({kHead, "2450 0.1 0", "2450 0.2", "End", "# MHz RFL_IM RFL_RE", "2450 0.3 0",
                   "END", "*INFO = third ; note", kHead, "2450 0.4 0", "End"},
                  asker);
  EXPECT_FALSE(r.aborted);
  ASSERT_EQ(r.sets.size(), 1u);
  EXPECT_EQ(r.sets[0].info, QStringLiteral("third"));
  ASSERT_EQ(r.sets[0].recs.size(), 1u);
  EXPECT_DOUBLE_EQ(r.sets[0].recs[0].rho.re, 0.4);
  EXPECT_EQ(Messages(),
            (QStringList{RhoColumnCountMsg(2, 3, 2, "2450 0.2"), RhoHeaderNoPairMsg()}));
}

TEST_F(RhoList, LastLineClosesTheSetAndIsNotData) {
  const TRhoListRead r = ReadRhoList({kHead, "\t2450\t0.1\t0", "\t2450\t0.2\t0"}, asker);
  ASSERT_EQ(r.sets.size(), 1u);
  EXPECT_EQ(r.sets[0].recs.size(), 1u);
}

TEST_F(RhoList, TooShortAndEmpty) {
  EXPECT_TRUE(ReadRhoList({kHead}, asker).tooShort);
  EXPECT_TRUE(ReadRhoList({"! only", "{ a", "2450 1 2 }", "End"}, asker).sets.empty());
  EXPECT_EQ(Messages(), (QStringList{RhoTooFewLinesMsg(1), RhoNoValidDataMsg()}));
}

TEST_F(RhoList, ColumnKindsAndUnits) {
  struct Case {
    const char* header;
    const char* record;
    double fHz, mag, deg;
  };
  const Case cases[] = {
      {"# MHz RFL_LOG RFL_DEG", "2450 -6.0206 30", 2.45e9, 0.5, 30},
      {"# RFL_SWR RFL_DEG", "2450 3 -90", 2.45e9, 0.5, -90},
      {"# GHz RFL_MAG RFL_RAD", "2.4 0.25 1.5707963267948966", 2.4e9, 0.25, 90},
      {"# khz x RFL_RE RFL_IM", "2450000 0 0.5", 2.45e9, 0.5, 90},
      {"# Hz RFL_MAG RFL_RE RFL_IM", "2450000000 0.9 0 -0.5", 2.45e9, 0.5, -90},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.header);
    const TRhoListRead r = ReadRhoList({c.header, c.record, "End"}, asker);
    ASSERT_EQ(r.sets.size(), 1u);
    ASSERT_EQ(r.sets[0].recs.size(), 1u);
    const TSceRecord& rec = r.sets[0].recs[0];
    EXPECT_DOUBLE_EQ(rec.fHz, c.fHz);
    EXPECT_NEAR(CAbs(rec.rho), c.mag, 1e-5);
    EXPECT_NEAR(CArgDeg(rec.rho), c.deg, 1e-9);
  }
}

// ---- sets into scenario text ----

struct RhoSets : RhoList {
  testing::TunerRig rig;
  TSceSetJob Job(bool append) const {
    TSceSetJob j;
    j.copy = {rig.d, rig.mot, rig.sim, TBilinTransf{}};
    j.append = append;
    return j;
  }
};

TEST_F(RhoSets, MatchOnlyListKeepsTheMatch) {
  const TRhoListRead r = ReadRhoList({kHead, "\t2450.000\t0.0000\t0.0000", "End"}, asker);
  ASSERT_EQ(r.sets.size(), 1u);
  const QStringList out = SceOutputOfSets({}, r.sets, Job(false));
  ASSERT_EQ(out.size(), 4);
  EXPECT_EQ(out[3], QStringLiteral(
                        "1\t=\t0.000\t0.000\t0.000\t500\t0.000\t0.00\t2450.000\t0.0000\t0.0000"));
}

TEST_F(RhoSets, MakeLeavesTheLastSetAddAppends) {
  const TRhoListRead r = ReadRhoList({kHead, "*INFO=one", "2450 0.1 0", "2450 0 0", "End", kHead,
                                      "*INFO=two", "2450 0.2 0", "2450 0 0", "End"},
                                     asker);
  ASSERT_EQ(r.sets.size(), 2u);
  const QStringList made = SceOutputOfSets({"old"}, r.sets, Job(false));
  ASSERT_EQ(made.size(), 5);
  EXPECT_EQ(made[0], QStringLiteral("[Scenario Info]"));
  EXPECT_EQ(made[1], QStringLiteral("SceInfo = QZTU V1.0/0. Transf=NO. two"));
  EXPECT_EQ(made[2], QStringLiteral("[Page2]"));
  EXPECT_TRUE(made[3].startsWith(QStringLiteral("1\t=\t")));
  EXPECT_TRUE(made[3].endsWith(QStringLiteral("\t0.200\t0.00\t2450.000\t0.2000\t0.0000")));
  EXPECT_TRUE(made[4].startsWith(QStringLiteral("2\t=\t0.000\t0.000\t0.000\t")));

  // Add: the trailing match row goes, the numbers continue, SceInfo gets " Add one ".
  TSceSetJob add = Job(true);
  const QStringList added = SceOutputOfSets(made, {r.sets[0]}, add);
  ASSERT_EQ(added.size(), 6);
  EXPECT_EQ(added[1], QStringLiteral("SceInfo = QZTU V1.0/0. Transf=NO. two Add one "));
  EXPECT_EQ(added[3], made[3]);
  EXPECT_TRUE(added[4].startsWith(QStringLiteral("2\t=\t")));
  EXPECT_TRUE(added[4].endsWith(QStringLiteral("\t0.100\t0.00\t2450.000\t0.1000\t0.0000")));
  EXPECT_TRUE(added[5].startsWith(QStringLiteral("3\t=\t0.000\t0.000\t0.000\t")));
}

TEST_F(RhoSets, GeneratedListDescribesItselfAndCancelKeepsTheOutput) {
  TSceSetJob j = Job(false);
  j.generated = QStringLiteral("0 to 700 step 50 mU. Rot=0 dg.");
  TRhoSet s;
  s.info = QStringLiteral("x");
  s.recs = {{kF, complex(0.3, 0.1)}, {kF, complex(0, 0)}};
  EXPECT_EQ(SceOutputOfSets({}, {s}, j)[1],
            QStringLiteral("SceInfo = QZTU V1.0/0. Transf=NO. x. 0 to 700 step 50 mU. Rot=0 dg."));
  std::atomic<bool> cancel{true};
  EXPECT_EQ(SceOutputOfSets({"kept"}, {s}, j, &cancel), QStringList{"kept"});
}

}  // namespace
}  // namespace qz
