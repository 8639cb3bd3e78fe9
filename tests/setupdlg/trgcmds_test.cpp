// The single-shot commands without their window: what each button sends, its status line and
// count, the refresh after a success only, the position texts and the unit kept in the setup.

#include "setupdlg/trgcmds.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "common/trgrig.h"
#include "sim/mdlengine.h"
#include "sim/modeltuner.h"
#include "util/complex.h"
#include "util/inifile.h"

namespace qz {
namespace {

using ::testing::_;
using ::testing::Return;
using testing::TrgRig;

// Every button that sends a code: the code, the wait kind and the status name.
TEST(TrgCmds, ButtonsSendTheirCodesWithTheFrameTimeout) {
  struct Case {
    const char* name;
    std::function<bool(TTrgCmds&)> press;
    uint8_t code;
    int waitKind;
  };
  const Case cases[] = {
      {"Measure", &TTrgCmds::Measure, 85, 1},
      {"Fetch", &TTrgCmds::Fetch, 39, 1},
      {"Clear Quzar FIFO", &TTrgCmds::ClrFifo, 84, 5},
      {"Compute", &TTrgCmds::Compute, 86, 2},
      {"Measure & Compute", &TTrgCmds::MeaComp, 87, 4},
      {"Measure & Tune", &TTrgCmds::MeaTun, 88, 3},
      {"Measure-Tune-Measure", &TTrgCmds::MeaTunMea, 89, 3},
  };
  for (const Case& c : cases) {
    TrgRig r;
    r.qv.VarPar.Vrpt = 0;  // the model is asked for at least one sample
    const int32_t tout = r.qv.FrameTimeoutMs(kToutForCycle);
    EXPECT_CALL(r.cmd, SendCmd(c.code, QString(), c.waitKind, tout, nullptr)).Times(1);
    EXPECT_TRUE(c.press(r.trg)) << c.name;
    EXPECT_EQ(r.trg.StatusText(), QStringLiteral("\"%1\" OK").arg(QString::fromUtf8(c.name)));
    EXPECT_EQ(r.trg.CountText(), "001") << c.name;
    if (r.source.calls > 0) {
      EXPECT_EQ(r.source.lastAvg, 1) << c.name;
    }
    ::testing::Mock::VerifyAndClearExpectations(&r.cmd);
  }
}

TEST(TrgCmds, CountIsAWrappingByteOfThreeDigits) {
  TrgRig r;
  const struct {
    int presses;
    const char* text;
  } steps[] = {{1, "001"}, {9, "010"}, {245, "255"}, {1, "000"}, {1, "001"}};
  for (const auto& s : steps) {
    for (int i = 0; i < s.presses; ++i) r.trg.QueryRunSend();
    EXPECT_EQ(r.trg.CountText(), s.text);
  }
  EXPECT_EQ(r.trg.CmdCount, 1);
}

TEST(TrgCmds, PositionTextsInEachUnit) {
  // 1000 steps of 0.01 mm: 10 mm, 0.394 inch.
  TrgRig r(5000, 0.01);
  r.mot.ActPos = MakeMotPos(1000, 0, 4999);
  r.mot.TunePos = MakeMotPos(1, 250, 1000);
  r.mot.MotStatus = 119;
  r.mot.MotError = 0x81;
  const struct {
    TIndic ind;
    TTrgPositions expect;
  } cases[] = {
      {kIndicInch, {{"0.394", "0.000", "1.968"}, {"0.000", "0.098", "0.394"}, "", ""}},
      {kIndicMm, {{"10.00", "0.00", "49.99"}, {"0.01", "2.50", "10.00"}, "", ""}},
      {kIndicSteps, {{"1000", "0", "4999"}, {"1", "250", "1000"}, "", ""}},
  };
  for (auto c : cases) {
    r.trg.Indic = c.ind;
    c.expect.stat1 = "01110111 ";
    c.expect.stat2 = "10000001 ";
    EXPECT_EQ(r.trg.Positions(), c.expect) << c.ind;
  }
}

TEST(TrgCmds, UnitLabelCyclesAndRedrawsThePicture) {
  TrgRig r;
  EXPECT_EQ(r.trg.Indic, kIndicSteps);
  const char* const names[] = {"mm", "inch", "Steps", "mm"};
  for (const char* n : names) {
    r.trg.IndicClick();
    EXPECT_EQ(r.trg.IndicText(), n);
  }
  EXPECT_EQ(r.calls.showAll, 4);
  // No command: the count stays.
  EXPECT_EQ(r.trg.CmdCount, 0);
}

TEST(TrgCmds, ShowingRunsBothQueries) {
  TrgRig r;
  r.trg.Showing();
  EXPECT_EQ(r.trg.CountText(), "002");
  EXPECT_EQ(r.trg.StatusText(), "\"Query Timeouts\" OK");
  EXPECT_EQ(r.trg.QuzarTout(), "237");
  EXPECT_EQ(r.trg.MotorsTout(), "628");
  r.trg.Showing();
  EXPECT_EQ(r.trg.CountText(), "004");
}

TEST(TrgCmds, MeasureDecodesTheModelFrameAndRefreshes) {
  TrgRig r;
  r.NextFrame(MakeMotPos(10, 20, 30), 119, 0);
  EXPECT_TRUE(r.trg.Measure());
  EXPECT_EQ(r.source.calls, 1);
  EXPECT_TRUE(r.qv.Res.je_qv);
  EXPECT_EQ(r.mot.ActPos, MakeMotPos(10, 20, 30));
  EXPECT_EQ(r.trg.Positions().stat1, "01110111 ");
  EXPECT_EQ(r.calls.napln, 1);
  EXPECT_EQ(r.calls.showAll, 1);
}

// A failed command is counted and reads FAIL; nothing is refreshed.
TEST(TrgCmds, FailureReadsFailAndRefreshesNothing) {
  struct Case {
    const char* status;
    std::function<void(TrgRig&)> arrange;
    std::function<bool(TTrgCmds&)> press;
  };
  const Case cases[] = {
      {"\"Measure\" FAIL", [](TrgRig& r) { r.NextFrameSpoilt(); }, &TTrgCmds::Measure},
      {"\"Measure & Compute\" FAIL", [](TrgRig& r) { r.NextFrameSpoilt(); }, &TTrgCmds::MeaComp},
      {"\"Measure & Tune\" FAIL", [](TrgRig& r) { r.NextFrameSpoilt(); }, &TTrgCmds::MeaTun},
      // Without a frame source the command layer measures nothing.
      {"\"Measure\" FAIL", [](TrgRig& r) { r.cmd.SetFrameSource(nullptr); }, &TTrgCmds::Measure},
      {"\"Measure & Tune\" FAIL", [](TrgRig& r) { r.cmd.SetFrameSource(nullptr); },
       &TTrgCmds::MeaTun},
      {"\"Fetch\" FAIL",
       [](TrgRig& r) { EXPECT_CALL(r.cmd, SendCmd(39, _, _, _, _)).WillOnce(Return(2)); },
       &TTrgCmds::Fetch},
      {"\"Compute\" FAIL",
       [](TrgRig& r) { EXPECT_CALL(r.cmd, SendCmd(86, _, _, _, _)).WillOnce(Return(2)); },
       &TTrgCmds::Compute},
      {"\"Clear Quzar FIFO\" FAIL",
       [](TrgRig& r) { EXPECT_CALL(r.cmd, SendCmd(84, _, _, _, _)).WillOnce(Return(2)); },
       &TTrgCmds::ClrFifo},
      {"\"Move Stubs\" FAIL",
       [](TrgRig& r) { EXPECT_CALL(r.cmd, MoveStubs()).WillOnce(Return(2)); },
       &TTrgCmds::MoveStubs},
      {"\"Read Stubs\" FAIL", [](TrgRig& r) { r.calls.readShowResult = false; },
       &TTrgCmds::ReadStubs},
      {"\"Autotune ON/OFF\" FAIL",
       [](TrgRig& r) { EXPECT_CALL(r.cmd, AutotuneOnOff(_)).WillOnce(Return(2)); },
       [](TTrgCmds& t) { return t.AutotuneSet(true); }},
  };
  for (const Case& c : cases) {
    TrgRig r;
    r.mot.TunePos = MakeMotPos(7, 7, 7);
    c.arrange(r);
    EXPECT_FALSE(c.press(r.trg)) << c.status;
    EXPECT_EQ(r.trg.StatusText(), c.status);
    EXPECT_EQ(r.trg.CountText(), "001") << c.status;
    EXPECT_EQ(r.calls.napln, 0) << c.status;
    EXPECT_EQ(r.calls.showAll, 0) << c.status;
    // A tune that failed leaves the tune positions as they were.
    EXPECT_EQ(r.mot.TunePos, MakeMotPos(7, 7, 7)) << c.status;
  }
}

TEST(TrgCmds, AutotuneSetSwitchesQueryLeavesTheFlag) {
  TrgRig r;
  EXPECT_CALL(r.cmd, AutotuneOnOff(1)).Times(1);
  EXPECT_TRUE(r.trg.AutotuneSet(true));
  EXPECT_TRUE(r.mot.AtOn);
  EXPECT_TRUE(r.calls.atShown);
  EXPECT_EQ(r.trg.StatusText(), "\"Autotune ON/OFF\" OK");
  ::testing::Mock::VerifyAndClearExpectations(&r.cmd);

  for (bool flag : {true, false}) {
    r.mot.AtOn = flag;
    EXPECT_CALL(r.cmd, AutotuneOnOff(kAtQuery)).Times(1);
    EXPECT_TRUE(r.trg.AutotuneQuery());
    EXPECT_EQ(r.mot.AtOn, flag);
    EXPECT_EQ(r.calls.atShown, flag);
    EXPECT_EQ(r.trg.StatusText(), "\"Query Autotune\" OK");
    ::testing::Mock::VerifyAndClearExpectations(&r.cmd);
  }
}

TEST(TrgCmds, SendTunePositionsNamesTheFlag) {
  TrgRig r;
  ::testing::InSequence seq;
  EXPECT_CALL(r.cmd, SetSendTunePos(true)).Times(1);
  EXPECT_CALL(r.cmd, SetSendTunePos(false)).Times(1);
  r.trg.SendTunePositions(true);
  EXPECT_TRUE(r.mot.SendTunePos);
  EXPECT_EQ(r.trg.StatusText(), "\"Send Tune Posit ON\" OK");
  r.trg.SendTunePositions(false);
  EXPECT_FALSE(r.trg.SendTunePosFlag());
  EXPECT_EQ(r.trg.StatusText(), "\"Send Tune Posit OFF\" OK");
}

TEST(TrgCmds, ReadStubsWithoutThePictureAsksTheLayer) {
  TrgRig r;
  r.trg.Displays = {};
  EXPECT_CALL(r.cmd, ReadMotStatus()).Times(1);
  EXPECT_TRUE(r.trg.ReadStubs());
  EXPECT_EQ(r.trg.Positions().stat1, "01110111 ");
  EXPECT_EQ(r.trg.StatusText(), "\"Read Stubs\" OK");
}

TEST(TrgCmds, ErrorsOfTheDisplaysAreIgnored) {
  TrgRig r;
  r.trg.Displays.Napln = [](const THresults&) { throw std::runtime_error("results"); };
  r.trg.Displays.ShowMotPositAll = [] { throw 1; };
  EXPECT_TRUE(r.trg.Measure());
  EXPECT_EQ(r.trg.StatusText(), "\"Measure\" OK");
  EXPECT_EQ(r.trg.IgnoredErrors(), 2);
}

TEST(TrgCmds, IndicOfTheSetupLimitedToItsRange) {
  const struct {
    const char* text;
    TIndic expect;
  } cases[] = {{"0", 0}, {"1", 1}, {"2", 2}, {"-1", 0}, {"7", 2}, {"x", 2}, {nullptr, 2}};
  for (const auto& c : cases) {
    TrgRig r;
    IniFile ini;
    if (c.text) ini.WriteString("TrgForm", "Indic", c.text);
    r.trg.ReadIndic(ini);
    EXPECT_EQ(r.trg.Indic, c.expect) << (c.text ? c.text : "(none)");
    IniFile out;
    r.trg.WriteIndic(out);
    EXPECT_EQ(out.ReadInteger("TrgForm", "Indic", -9), c.expect);
  }
}

// With the real model: a tune from a mismatched load, then a move to the tune positions that
// does not move anything.
TEST(TrgCmds, MeaTunThenMoveStubsWithTheRealModel) {
  TrgRig r;
  TTunerModelAdapter tuner{r.m, r.at};
  TMdlEngine model{r.qv, r.sim, tuner};
  model.Sleep = [](int64_t) {};
  model.SimulRo = CPolarDeg(0.5, 60);
  struct ModelSource : TFrameSource {
    TMdlEngine& m;
    explicit ModelSource(TMdlEngine& e) : m(e) {}
    void GetMobBytes(int avg, TMerObjekt& mob) override { m.GetMobBytes(avg, mob); }
  } source{model};
  r.cmd.SetFrameSource(&source);
  TTrgCmds trg{r.cmd, r.m};
  r.mot.AtOn = false;
  r.mot.ActPos = MakeMotPos(0, 0, 0);
  r.mot.TunePos = MakeMotPos(0, 0, 0);

  EXPECT_TRUE(trg.MeaTun());
  EXPECT_EQ(trg.StatusText(), "\"Measure & Tune\" OK");
  const TMotPos tuned = r.mot.ActPos;
  EXPECT_NE(tuned, MakeMotPos(0, 0, 0));
  EXPECT_EQ(r.mot.TunePos, tuned);
  EXPECT_FALSE(r.sim.Btune1);
  EXPECT_FALSE(r.mot.AtOn);

  EXPECT_TRUE(trg.MoveStubs());
  EXPECT_EQ(r.mot.TargPos, tuned);
  EXPECT_EQ(r.mot.ActPos, tuned);
  // The next measurement finds the load matched where the tune left it.
  EXPECT_TRUE(trg.Measure());
  EXPECT_EQ(r.mot.ActPos, tuned);
  EXPECT_LT(r.qv.Res.Mag_m, 0.05);
  EXPECT_EQ(trg.CountText(), "003");
}

}  // namespace
}  // namespace qz
