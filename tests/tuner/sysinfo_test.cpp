// The system information texts of the built-in tuner and the operator's edits of the autotune
// parameters, the largest magnitude to tune and the maximum stub insertion.
#include <gtest/gtest.h>

#include <functional>

#include "comm/errcodes.h"
#include "common/tpicrig.h"
#include "sim/tunermodel.h"
#include "tuner/atparamedit.h"
#include "tuner/sysinfotext.h"
#include "util/asker.h"

namespace qz {
namespace {

using ::testing::_;
using ::testing::Return;

// A refusal of the unit (any code but 0).
constexpr int32_t kFail = 8;

struct SysInfo : testing::TpicRig {
  TScriptedAsker asker;
  TAtParamEdit edit{m, cmd, &asker};
  int watermarks = 0;
  SysInfo() {
    asker.quiet = true;
    edit.RenewWatermark = [this] { ++watermarks; };
  }
  // The prompt of the last value entry.
  QString LastPrompt() const {
    const auto r = asker.Records(TAskRecord::Input);
    return r.empty() ? QString() : r.back().text;
  }
};

TEST(SysInfoText, BuiltInTuner) {
  testing::TunerRig rig;
  EXPECT_EQ(TunerIdentityTexts(rig.d, false),
            (QStringList{"Quzar Tuner", "QZTU-340", "Vostrel", "QZTU V1.0", "0",
                         "86.36 mm x 43.18 mm", "2.45 GHz"}));
  EXPECT_EQ(MotorTexts(rig.m),
            (QStringList{"0.010 mm", "3000 / 30 mm", "3000 Hz", "3000 Hz", "1000 ms"}));
  const auto labels = SketchLabels(rig.m);
  EXPECT_EQ(QStringList(labels.begin(), labels.end()),
            (QStringList{"150", "106.66", "63.32", "210", "210", "30"}));
}

TEST(SysInfoText, IdentityOfTheAnalyzer) {
  TFixPar fix;
  fix.SerNum = 1234;
  fix.ModelNo = 2;
  fix.ModifNo = 17;
  EXPECT_EQ(QuzarIdentityTexts(fix), (QStringList{"Quzar", "QZTU", "Vostrel", "QZTU V2.17", "1234",
                                                  "86.36 mm x 43.18 mm", "2.45 GHz"}));
}

TEST(SysInfoText, GuideAndFrequencyTexts) {
  EXPECT_EQ(WaveguideText(72140, 34040, false), "72.14 mm x 34.04 mm");
  // A coaxial line: inner conductor first, then outer.
  EXPECT_EQ(WaveguideText(16000, 7000, true), "Coaxial 7 mm/16 mm");
  // Above 2^31 Hz x 10 a 32-bit frequency count would overflow.
  EXPECT_EQ(NominalFreqText(24125000), "24.125 GHz");
  EXPECT_EQ(NominalFreqText(915000), "915 MHz");
}

TEST(SysInfoText, AutotunePage) {
  TMotState mot;
  TSimState sim;
  mot.WaitRF = false;
  mot.Targ_mU = 40;
  EXPECT_EQ(AutotuneTexts(mot, sim),
            (QStringList{"40", "25", "1", "1", "NO", "0", "5  (87 mU)", "1000", ""}));
  EXPECT_EQ(HysteresisText(5), "5  (87 mU)");
  EXPECT_EQ(HysteresisText(0), "0  (0 mU)");
  EXPECT_EQ(HysteresisText(255), "255  (4451 mU)");
}

TEST(SysInfoText, StepSizesOfThePicture) {
  EXPECT_EQ(StubStepSizes(2000), (std::array<int, 3>{1, 13, 159}));
  EXPECT_EQ(StubStepSizes(1000), (std::array<int, 3>{1, 10, 100}));
}

// The rows that the unit keeps: a changed answer is sent and reported by name, a refusal
// restores the value; out-of-range answers are limited to the row's range.
TEST(AtParamEdit, SentRowsStoreReportAndRestore) {
  struct Case {
    int row;
    const char* prompt;
    const char* name;
    std::function<int(const TMotState&)> get;
    const char* answer;
    int expected;
    bool hysteresisCommand;
  } cases[] = {
      {atrTarget, kAskTarget, "Target", [](const TMotState& s) { return int(s.Targ_mU); }, "40", 40,
       false},
      {atrToler, kAskToler, "Tolerance", [](const TMotState& s) { return int(s.Toler_mU); }, "5000",
       1000, false},
      {atrSkip, kAskSkip, "Skipped Measurements", [](const TMotState& s) { return int(s.Skip); },
       "7", 7, false},
      {atrSmooth, kAskSmooth, "Smoothing count", [](const TMotState& s) { return int(s.Smooth); },
       "300", 255, false},
      {atrDelay, kAskDelay, "Tuning delay", [](const TMotState& s) { return int(s.Delay5b); }, "40",
       31, false},
      {atrHyst, kAskHyst, "Hysteresis", [](const TMotState& s) { return int(s.HystDg); }, "12", 12,
       true},
  };
  for (const bool fails : {false, true}) {
    for (const Case& c : cases) {
      SysInfo r;
      const int old = c.get(r.mot);
      const int32_t code = fails ? kFail : 0;
      if (c.hysteresisCommand) {
        EXPECT_CALL(r.cmd, SetHysteresis(uint8_t(c.expected))).WillOnce(Return(code));
        EXPECT_CALL(r.cmd, SetAutotuneParams()).Times(0);
      } else {
        EXPECT_CALL(r.cmd, SetAutotuneParams()).WillOnce(Return(code));
        EXPECT_CALL(r.cmd, SetHysteresis(_)).Times(0);
      }
      EXPECT_CALL(r.cmd, ShowCmdResult(QString::fromLatin1(c.name), code));
      r.asker.QueueText(QString::fromLatin1(c.answer));
      r.edit.EditRow(c.row);
      EXPECT_TRUE(r.LastPrompt().startsWith(QString::fromLatin1(c.prompt))) << c.name;
      EXPECT_EQ(c.get(r.mot), fails ? old : c.expected) << c.name << fails;
      ::testing::Mock::VerifyAndClearExpectations(&r.cmd);
    }
  }
}

TEST(AtParamEdit, AnUnchangedAnswerSendsNothing) {
  SysInfo r;
  EXPECT_CALL(r.cmd, SetAutotuneParams()).Times(0);
  EXPECT_CALL(r.cmd, ShowCmdResult(_, _)).Times(0);
  r.asker.QueueText(QStringLiteral("25"));
  r.edit.EditToler();
  r.asker.QueueCancel();
  r.edit.EditTarget();
  EXPECT_EQ(r.mot.Toler_mU, 25);
}

TEST(AtParamEdit, WaitForRfTogglesAtOnceAndTwiceReturns) {
  SysInfo r;
  const bool first = r.mot.WaitRF;
  EXPECT_CALL(r.cmd, SetAutotuneParams()).Times(2);
  EXPECT_CALL(r.cmd, ShowCmdResult(QString("Wait for RF"), 0)).Times(2);
  r.edit.EditRow(atrWaitRF);
  EXPECT_EQ(r.mot.WaitRF, !first);
  r.edit.EditRow(atrWaitRF);
  EXPECT_EQ(r.mot.WaitRF, first);
  EXPECT_TRUE(r.asker.log.empty());  // nothing asked
}

TEST(AtParamEdit, AFailedToggleKeepsTheSetting) {
  SysInfo r;
  const bool first = r.mot.WaitRF;
  EXPECT_CALL(r.cmd, SetAutotuneParams()).WillOnce(Return(kFail));
  r.edit.ToggleWaitRF();
  EXPECT_EQ(r.mot.WaitRF, first);
}

TEST(AtParamEdit, MaxTuneMagnitudeStaysInTheModel) {
  SysInfo r;
  EXPECT_CALL(r.cmd, SetAutotuneParams()).Times(0);
  EXPECT_CALL(r.cmd, ShowCmdResult(_, _)).Times(0);
  r.asker.QueueText(QStringLiteral("800"));
  r.edit.EditRow(atrMaxMag);
  EXPECT_EQ(r.sim.MaxMag_mU, 800);
  EXPECT_EQ(r.watermarks, 1);
  EXPECT_TRUE(r.LastPrompt().startsWith(QString::fromLatin1(kAskMaxMag)));
}

// The defaults: the on flag is kept, the hysteresis follows only once the unit took the rest,
// and the largest magnitude to tune is 1000 whatever the unit answered.
TEST(AtParamEdit, Defaults) {
  struct Case {
    int32_t paramsCode;
    int32_t hystCode;
    bool applied;
    bool hystSent;
  } cases[] = {{0, 0, true, true}, {kFail, 0, false, false}, {0, kFail, false, true}};
  for (const Case& c : cases) {
    SysInfo r;
    TMotState& s = r.mot;
    s.AtOn = true;
    s.Toler_mU = 100;
    s.Skip = 4;
    s.Delay5b = 9;
    s.Smooth = 6;
    s.WaitRF = false;
    s.Targ_mU = 300;
    s.HystDg = 20;
    r.sim.MaxMag_mU = 500;
    const TMotState before = s;
    EXPECT_CALL(r.cmd, SetAutotuneParams()).WillOnce(Return(c.paramsCode));
    EXPECT_CALL(r.cmd, SetHysteresis(kAtDefHystDg))
        .Times(c.hystSent ? 1 : 0)
        .WillRepeatedly(Return(c.hystCode));
    EXPECT_CALL(r.cmd, ShowCmdResult(QString("Autotune Defaults"),
                                     c.paramsCode != 0 ? c.paramsCode : c.hystCode));
    r.asker.QueueButton(mbYes);
    EXPECT_TRUE(r.edit.SetDefaults());
    EXPECT_EQ(r.asker.log.front().text, "Set autotune parameters to defaults?");
    if (c.applied) {
      EXPECT_EQ(s.Toler_mU, 25);
      EXPECT_EQ(s.Skip, 1);
      EXPECT_EQ(s.Delay5b, 0);
      EXPECT_EQ(s.Smooth, 1);
      EXPECT_TRUE(s.WaitRF);
      EXPECT_EQ(s.Targ_mU, 0);
      EXPECT_EQ(s.HystDg, 5);
    } else {
      EXPECT_EQ(s.Toler_mU, before.Toler_mU);
      EXPECT_EQ(s.Skip, before.Skip);
      EXPECT_EQ(s.Delay5b, before.Delay5b);
      EXPECT_EQ(s.Smooth, before.Smooth);
      EXPECT_EQ(s.WaitRF, before.WaitRF);
      EXPECT_EQ(s.Targ_mU, before.Targ_mU);
      EXPECT_EQ(s.HystDg, before.HystDg);
    }
    EXPECT_TRUE(s.AtOn);
    EXPECT_EQ(r.sim.MaxMag_mU, 1000);
    EXPECT_EQ(r.watermarks, 1);
  }
}

TEST(AtParamEdit, DefaultsAnsweredNoChangeNothing) {
  SysInfo r;
  r.mot.Toler_mU = 100;
  r.sim.MaxMag_mU = 500;
  EXPECT_CALL(r.cmd, SetAutotuneParams()).Times(0);
  r.asker.QueueButton(mbNo);
  EXPECT_FALSE(r.edit.SetDefaults());
  EXPECT_EQ(r.mot.Toler_mU, 100);
  EXPECT_EQ(r.sim.MaxMag_mU, 500);
}

TEST(AtParamEdit, MaxStubInsertion) {
  struct Case {
    const char* answer;
    const char* motors;
    std::array<int, 3> steps;
  } cases[] = {{"20", "2000 / 20 mm", {1, 13, 159}},
               {"10", "1000 / 10 mm", {1, 10, 100}},
               {"0", "3000 / 30 mm", {1, 14, 208}},       // the tuner's own travel
               {"99", "4318 / 43.18 mm", {1, 16, 265}}};  // limited to the guide's B side
  for (const Case& c : cases) {
    SysInfo r;
    r.asker.QueueText(QString::fromLatin1(c.answer));
    r.edit.EditMaxInsert();
    EXPECT_TRUE(r.LastPrompt().contains(QString::fromLatin1(kAskMaxInsert))) << c.answer;
    EXPECT_EQ(MotorTexts(r.m)[mrMaxSteps], c.motors) << c.answer;
    EXPECT_EQ(StubStepSizes(r.m.Derived().MaxSteps), c.steps) << c.answer;
    EXPECT_DOUBLE_EQ(r.mot.MaxInsert_mm, r.m.Derived().MaxSteps * 0.01) << c.answer;
    EXPECT_EQ(r.watermarks, 1);
  }
}

TEST(AtParamEdit, LoadMemErrorTexts) {
  EXPECT_EQ(TAtParamEdit::LoadMemErrorText(95, QStringLiteral("/x/tun.mem")),
            ErrorText(95) + QStringLiteral(": /x/tun.mem"));
  EXPECT_EQ(ErrorText(96), "Memory file invalid or incompatible");
}

}  // namespace
}  // namespace qz
