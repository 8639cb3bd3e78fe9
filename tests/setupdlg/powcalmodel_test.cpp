// The power calibration factor without its window: the bounds of the multiplier for a factor,
// the entry that is refused and asked again, the Write and Restore questions, and Cancel.

#include "setupdlg/powcalmodel.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/fakeqzcmd.h"
#include "core/qvwin.h"
#include "util/asker.h"

namespace qz {
namespace {

using ::testing::NiceMock;
using ::testing::Return;
using testing::TFakeQzCmd;

struct PowRig {
  TMotState mot;
  TQvWin qv{mot};
  TSimState sim;
  NiceMock<TFakeQzCmd> cmd{qv, sim};
  TScriptedAsker asker;
  TPowCalModel m{cmd};
  explicit PowRig(float factor = 1.0f) {
    asker.quiet = true;
    qv.UserPowCorr = factor;
    m.Activate();
  }
  std::vector<TAskRecord> Messages() const { return asker.Records(TAskRecord::Message); }
  std::vector<TAskRecord> Inputs() const { return asker.Records(TAskRecord::Input); }
};

TEST(PowCalModel, BoundsOfTheMultiplierNarrowedOnlyInsideTheLimits) {
  struct Case {
    float factor;
    bool lin;
    double lo, hi;
    const char* range;  // the end of the prompt (compact texts: below 0.0996 in exponent form)
  };
  const Case cases[] = {
      {1.0f, true, 0.1, 10.0, "(Lin)   (0.1 to 10)"},
      {1.0f, false, -10.0, 10.0, "(dB)   (-10 to 10)"},
      {2.0f, true, 0.05, 4.995, "(Lin)   (5E-2 to 4.995)"},
      {2.0f, false, -13.0103, 6.9887, "(dB)   (-13.0103 to 6.9887)"},
      {0.5f, true, 0.2002, 20.0, "(Lin)   (0.2002 to 20)"},
      {10.0f, true, 0.01, 0.999, "(Lin)   (1E-2 to 0.999)"},
  };
  for (const Case& c : cases) {
    PowRig r(c.factor);
    r.m.Lin = c.lin;
    const TPowCalAsk a = r.m.ModifyAsk();
    EXPECT_NEAR(a.lo, c.lo, 5e-5) << c.factor << c.lin;
    EXPECT_NEAR(a.hi, c.hi, 5e-5) << c.factor << c.lin;
    EXPECT_EQ(a.start, c.lin ? 1.0 : 0.0);
    r.m.Modify(r.asker);  // no answer queued: Cancel
    ASSERT_EQ(r.Inputs().size(), 1u);
    EXPECT_TRUE(r.Inputs()[0].text.endsWith(QString::fromLatin1(c.range) + " :"))
        << r.Inputs()[0].text.toStdString();
    EXPECT_TRUE(r.Inputs()[0].text.contains("Calibration Factor Multiplier"));
  }
}

TEST(PowCalModel, ThreeDecibelsWrittenAsTheFloatProduct) {
  PowRig r(2.0f);
  r.m.Lin = false;
  r.asker.QueueText("3");
  r.m.Modify(r.asker);
  EXPECT_EQ(r.m.LogMult, 3.0);
  EXPECT_NEAR(r.m.LinMult, 1.99526231, 1e-8);
  EXPECT_EQ(r.m.MultText(), "3");
  r.m.Lin = true;
  EXPECT_EQ(r.m.MultText(), "1.995");
  EXPECT_EQ(r.m.CurrentText(), "2");
  EXPECT_EQ(r.m.NewText(), "3.991");
  EXPECT_EQ(r.m.WriteQuestion(), "Confirm: Write CAL factor multiplier 1.995 = 3 dB");

  EXPECT_CALL(r.cmd, SetPowCalFactor(1)).Times(1);
  r.asker.QueueButton(mbYes);
  EXPECT_TRUE(r.m.Write(r.asker));
  EXPECT_EQ(r.qv.UserPowCorr, float(2.0 * r.m.LinMult));
  const auto msgs = r.Messages();
  ASSERT_EQ(msgs.size(), 2u);
  EXPECT_EQ(msgs[0].text, "Confirm: Write CAL factor multiplier 1.995 = 3 dB?");
  EXPECT_EQ(msgs[1].text, "CAL factor written successfully");
}

TEST(PowCalModel, WriteAnsweredNoChangesNothing) {
  PowRig r(2.0f);
  r.m.LinMult = 1.5;
  EXPECT_CALL(r.cmd, SetPowCalFactor(::testing::_)).Times(0);
  r.asker.QueueButton(mbNo);
  EXPECT_FALSE(r.m.Write(r.asker));
  EXPECT_EQ(r.qv.UserPowCorr, 2.0f);
}

TEST(PowCalModel, FailedCommandIsReportedButTheFactorStays) {
  struct Case {
    bool restore;
    const char* message;
    float factor;
  };
  const Case cases[] = {{false, "ERROR while writing CAL factor", 3.0f},
                        {true, "ERROR while restoring CAL factor", 1.0f}};
  for (const Case& c : cases) {
    PowRig r(2.0f);
    r.m.LinMult = 1.5;
    EXPECT_CALL(r.cmd, SetPowCalFactor(1)).WillOnce(Return(2));
    r.asker.QueueButton(mbYes);
    EXPECT_TRUE(c.restore ? r.m.Restore(r.asker) : r.m.Write(r.asker));
    EXPECT_EQ(r.qv.UserPowCorr, c.factor);
    ASSERT_EQ(r.Messages().size(), 2u);
    EXPECT_EQ(r.Messages()[1].text, c.message);
    EXPECT_EQ(r.Messages()[1].type, TMsgType::Error);
  }
}

TEST(PowCalModel, RestoreGivesUnityFromAnyFactor) {
  for (float f : {0.1f, 0.37f, 2.0f, 10.0f}) {
    PowRig r(f);
    r.asker.QueueButton(mbYes);
    EXPECT_TRUE(r.m.Restore(r.asker));
    EXPECT_EQ(r.qv.UserPowCorr, 1.0f) << f;
    ASSERT_EQ(r.Messages().size(), 2u);
    EXPECT_EQ(r.Messages()[0].text, "Confirm: Restore CAL factor to unity?");
    EXPECT_EQ(r.Messages()[1].text, "CAL factor restored successfully");
    // Answered No: the factor stays.
    PowRig n(f);
    n.asker.QueueButton(mbNo);
    EXPECT_FALSE(n.m.Restore(n.asker));
    EXPECT_EQ(n.qv.UserPowCorr, f);
  }
}

TEST(PowCalModel, CancelRestoresTheFactorOfTheOpening) {
  PowRig r(2.5f);
  r.qv.UserPowCorr = 7.0f;
  r.m.Cancel();
  EXPECT_EQ(r.qv.UserPowCorr, 2.5f);
}

TEST(PowCalModel, OutOfBoundsIsRefusedAndAskedAgainFromThePreviousValue) {
  PowRig r(1.0f);
  r.asker.QueueText("20");
  r.asker.QueueText("2.5");
  r.m.Modify(r.asker);
  EXPECT_EQ(r.m.LinMult, 2.5);
  EXPECT_NEAR(r.m.LogMult, 3.9794, 1e-4);
  ASSERT_EQ(r.Messages().size(), 1u);
  EXPECT_EQ(r.Messages()[0].text, "Error: Bad input or out of bounds.\r\nPlease re-enter.");
  ASSERT_EQ(r.Inputs().size(), 2u);
  EXPECT_EQ(r.Inputs()[1].extra, "1");
}

TEST(PowCalModel, CancelAtALimitEndsModifyUnchanged) {
  // At 10 the start multiplier 1 lies above the narrowed bound 0.999.
  for (bool lin : {true, false}) {
    PowRig r(10.0f);
    r.m.Lin = lin;
    r.asker.QueueCancel();
    r.m.Modify(r.asker);
    EXPECT_EQ(r.m.LinMult, 1.0);
    EXPECT_EQ(r.m.LogMult, 0.0);
    EXPECT_EQ(r.Inputs().size(), 1u);
    EXPECT_TRUE(r.Messages().empty());
  }
}

TEST(PowCalModel, ActivationTakesThePresentFactor) {
  PowRig r(2.0f);
  r.m.LinMult = 3.0;
  r.m.LogMult = 4.77;
  r.qv.UserPowCorr = 4.0f;
  r.m.Activate();
  EXPECT_EQ(r.m.OriPowCorr, 4.0);
  EXPECT_EQ(r.m.LinCalFact, 4.0);
  EXPECT_NEAR(r.m.LogCalFact, 6.0206, 1e-4);
  EXPECT_EQ(r.m.LinMult, 1.0);
  EXPECT_EQ(r.m.LogMult, 0.0);
  EXPECT_EQ(r.m.CurrentText(), "4");
  EXPECT_EQ(r.m.NewText(), "4");
}

}  // namespace
}  // namespace qz
