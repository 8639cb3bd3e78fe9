// The simulated command layer: remembered run states, the waiting window, the retry box, the
// local effects of the parameter and tuner commands, and frames read through a frame source.
#include "comm/qzcmd.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <vector>

#include "comm/errcodes.h"
#include "comm/qzcmdsync.h"
#include "comm/simunitfiles.h"
#include "common/testfiles.h"
#include "common/testframes.h"
#include "core/frame.h"
#include "core/frameenc.h"
#include "core/qvwin.h"
#include "util/folders.h"

namespace qz {
namespace {

// Counts the waiting windows shown and hidden.
class TCountingAsker : public TScriptedAsker {
 public:
  TCountingAsker() { quiet = true; }
  void ShowWait(const QString& caption, const QString& message, int animation,
                int lastFrame) override {
    ++shows;
    TScriptedAsker::ShowWait(caption, message, animation, lastFrame);
  }
  void HideWait() override {
    ++hides;
    TScriptedAsker::HideWait();
  }
  int shows = 0;
  int hides = 0;
};

// Stands for the simulation model: builds a CW frame carrying the stub positions the command
// layer left in the tuner motor state, with the motor status and error bytes the simulated unit
// always sends (119 and 0).
class TFakeSource : public TFrameSource {
 public:
  explicit TFakeSource(const TMotState& mot) : mot_(mot) {}
  void GetMobBytes(int avg, TMerObjekt& mob) override {
    lastAvg = avg;
    ++calls;
    TFrameSpec s;
    s.Pinc_W = 5678.0;
    s.Temp_C = 25.0;
    s.Freq_Hz = 2.45e9;
    s.Pos = mot_.ActPos;
    s.MaxSteps = kTuDefMaxSteps;
    s.MotStatus = 119;
    s.MotError = 0;
    EncodeFrame(s, mob);
  }
  int lastAvg = 0;
  int calls = 0;

 private:
  const TMotState& mot_;
};

// A unit that refuses the run-state commands a given number of times.
class TRefusingCmd : public TQzCmd {
 public:
  using TQzCmd::TQzCmd;
  int refusals = 0;
  int attempts = 0;

 protected:
  int32_t UnitRunOperation(bool, int, uint8_t) override {
    ++attempts;
    if (refusals > 0) {
      --refusals;
      return 5;
    }
    return kCmdOk;
  }
};

class QzCmdTest : public ::testing::Test {
 protected:
  QzCmdTest() : qv(mot), cmd(qv, sim) {
    cmd.SetAsker(&asker);
    cmd.SetDebugLog([this](const QString& s) { wire.push_back(s); });
  }

  TMotState mot;
  TSimState sim;
  TQvWin qv;
  TQzCmd cmd;
  TCountingAsker asker;
  std::vector<QString> wire;
};

// ---- remembered run and send states -----------------------------------------------------------

struct RememberCase {
  uint8_t before;
  uint8_t action;
  bool remember;
  uint8_t sent;  // the action the unit receives
  uint8_t after;
};

TEST_F(QzCmdTest, RememberedStatesFollowTheActionAndTheRememberFlag) {
  const RememberCase cases[] = {
      {1, 0, false, 0, 1},  // a stop is not kept unless asked
      {1, 0, true, 0, 0},   //
      {0, 1, false, 1, 1},  // a start is always kept
      {0, 1, true, 1, 1},   //
      {0, 2, false, 0, 0},  // 2 replays the remembered state
      {1, 2, false, 1, 1},  //
      {3, 2, false, 3, 3},  // the single-series state is replayed too
      {1, 3, true, 3, 3},   // and can be remembered
      {1, 3, false, 3, 1},  //
      {0, 2, true, 0, 0},   // replaying with the flag keeps the state
  };
  const QString startStopWire[] = {QStringLiteral("<18>"), QStringLiteral("<17>"), QString(),
                                   QStringLiteral("<12>")};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << int(c.before) << " " << int(c.action) << " " << c.remember);
    TStatusAll run, send;
    for (int a = 1; a <= kQvCanMax; ++a) run[a] = send[a] = c.before;
    cmd.SetStates(run, send);

    wire.clear();
    EXPECT_EQ(cmd.StartStop(false, c.action, -1, c.remember), kCmdOk);
    ASSERT_EQ(wire.size(), 1u);
    EXPECT_EQ(wire[0], startStopWire[c.sent]);
    EXPECT_EQ(cmd.RunState(kUnitAddr), c.after);
    EXPECT_EQ(cmd.SendState(kUnitAddr), c.before);

    wire.clear();
    EXPECT_EQ(cmd.SendHush(false, c.action, -1, c.remember), kCmdOk);
    ASSERT_EQ(wire.size(), 1u);
    EXPECT_EQ(wire[0], QStringLiteral("SRS 2 %1\\n\\r").arg(c.sent));
    EXPECT_EQ(cmd.SendState(kUnitAddr), c.after);
  }
}

TEST_F(QzCmdTest, UnitOperationsRememberLikeTheProcedures) {
  cmd.SetAllStates(0);
  EXPECT_EQ(cmd.UnitStartStop(kUnitAddr, kActStart, -1, false), kCmdOk);
  EXPECT_EQ(cmd.RunState(kUnitAddr), 1);
  EXPECT_EQ(cmd.UnitSendHush(kUnitAddr, kActStart, -1, true), kCmdOk);
  EXPECT_EQ(cmd.SendState(kUnitAddr), 1);
  EXPECT_EQ(cmd.UnitStartStop(kUnitAddr, kActStop, -1, false), kCmdOk);
  EXPECT_EQ(cmd.RunState(kUnitAddr), 1);
  // Addresses outside 1..20 and unknown actions are refused and change nothing.
  EXPECT_NE(cmd.UnitStartStop(0, kActStop, -1, true), kCmdOk);
  EXPECT_NE(cmd.UnitStartStop(21, kActStop, -1, true), kCmdOk);
  EXPECT_NE(cmd.StartStop(false, 4, -1, true), kCmdOk);
  EXPECT_NE(cmd.SendHush(false, 200, -1, true), kCmdOk);
  EXPECT_EQ(cmd.RunState(kUnitAddr), 1);
  EXPECT_EQ(cmd.SendState(kUnitAddr), 1);
}

TEST_F(QzCmdTest, StatesStartAtOneAndDamagedStatesCountAsOne) {
  for (int a = 1; a <= kQvCanMax; ++a) {
    EXPECT_EQ(cmd.RunState(a), 1);
    EXPECT_EQ(cmd.SendState(a), 1);
  }
  TStatusAll run, send;
  run[1] = 2;
  run[2] = 3;
  run[3] = 0;
  send[1] = 255;
  cmd.SetStates(run, send);
  EXPECT_EQ(cmd.RunState(1), 1);
  EXPECT_EQ(cmd.RunState(2), 3);
  EXPECT_EQ(cmd.RunState(3), 0);
  EXPECT_EQ(cmd.SendState(1), 1);
  EXPECT_EQ(cmd.SendState(2), 0);
}

TEST_F(QzCmdTest, InitUnitsTakesTheStatesFromAutoRun) {
  const struct {
    uint8_t autoRun, run, send;
  } cases[] = {{0, 0, 0}, {1, 1, 0}, {2, 0, 1}, {3, 1, 1}};
  for (const auto& c : cases) {
    qv.VarPar.AutoRun = c.autoRun;
    QString msg = QStringLiteral("x");
    EXPECT_EQ(cmd.InitUnits(msg), kCmdOk);
    EXPECT_TRUE(msg.isEmpty());
    EXPECT_EQ(cmd.RunState(kUnitAddr), c.run);
    EXPECT_EQ(cmd.SendState(kUnitAddr), c.send);
  }
}

// ---- waiting window and retry box -------------------------------------------------------------

TEST_F(QzCmdTest, WaitingWindowOnlyForBlockSampling) {
  const struct {
    TWaveform wf;
    bool rectB, pulsB, showWait;
    int pairs;
  } cases[] = {
      {wfCW, true, true, true, 0},  // never in CW, whatever the block flags
      {wfRectified, false, true, true, 0}, {wfRectified, true, false, true, 1},
      {wfPulsed, false, true, true, 1},    {wfPulsed, true, false, true, 0},
      {wfPulsed, false, true, false, 0},  // not asked for
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(int(c.wf));
    qv.VarPar.Waveform = c.wf;
    qv.Rectif.Bsamples = c.rectB;
    qv.Pulsed.Bsamples = c.pulsB;
    asker.shows = asker.hides = 0;
    asker.log.clear();
    EXPECT_EQ(cmd.StartStop(c.showWait, kActStart, -1, true), kCmdOk);
    EXPECT_EQ(asker.shows, c.pairs);
    EXPECT_EQ(asker.hides, c.pairs);
    EXPECT_FALSE(asker.waitVisible);
    EXPECT_EQ(cmd.WaitWanted(c.showWait), c.pairs == 1);
  }
}

TEST_F(QzCmdTest, WaitingWindowTexts) {
  qv.VarPar.Waveform = wfPulsed;
  qv.Pulsed.Bsamples = true;
  cmd.StartStop(true, kActStop, -1, false);
  cmd.StartStopAll(true, kActStop, -1, false);
  cmd.SendHush(true, kActStop, -1, false);
  const auto waits = asker.Records(TAskRecord::Wait);
  ASSERT_EQ(waits.size(), 3u);
  for (const auto& w : waits) EXPECT_EQ(w.caption, QStringLiteral("Wait please..."));
  EXPECT_EQ(waits[0].text, QStringLiteral("Waiting for QUZAR to Start/Stop..."));
  EXPECT_EQ(waits[1].text, QStringLiteral("Waiting for QUZARS to Start/Stop..."));
  EXPECT_EQ(waits[2].text, QStringLiteral("Waiting for QUZARS to Send/Hush..."));
  EXPECT_EQ(asker.Records(TAskRecord::Message).size(), 0u);
}

TEST_F(QzCmdTest, NoSecondWaitingWindowWhileOneIsUp) {
  qv.VarPar.Waveform = wfRectified;
  qv.Rectif.Bsamples = true;
  bool open = true;
  cmd.SetWaitOpenQuery([&] { return open; });
  cmd.StartStopAll(true, kActStart, -1, true);
  EXPECT_EQ(asker.shows, 0);
  open = false;
  cmd.StartStopAll(true, kActStart, -1, true);
  EXPECT_EQ(asker.shows, 1);
  EXPECT_EQ(asker.hides, 1);
}

TEST_F(QzCmdTest, StopUnitShowsOneWaitPairForPulsedBlocksAndStopsWithoutRemembering) {
  qv.VarPar.Waveform = wfPulsed;
  qv.Pulsed.Bsamples = true;
  wire.clear();
  EXPECT_TRUE(cmd.StopUnit());
  EXPECT_EQ(asker.shows, 1);
  EXPECT_EQ(asker.hides, 1);
  ASSERT_EQ(wire.size(), 1u);
  EXPECT_EQ(wire[0], QStringLiteral("<18>"));
  EXPECT_EQ(cmd.RunState(kUnitAddr), 1);
}

TEST(QzCmdRetry, RetryRepeatsAndReportsSuccessAbortReturnsThree) {
  TMotState mot;
  TSimState sim;
  TQvWin qv(mot);
  TRefusingCmd cmd(qv, sim);
  TScriptedAsker asker;
  asker.quiet = true;
  cmd.SetAsker(&asker);

  // Refused once, Retry: the second attempt succeeds and the success notice stays 1000 ms.
  cmd.refusals = 1;
  asker.QueueButton(mbRetry);
  EXPECT_EQ(cmd.StartStopAll(false, kActStart, -1, true), kCmdOk);
  EXPECT_EQ(cmd.attempts, 2);
  auto msgs = asker.Records(TAskRecord::Message);
  ASSERT_EQ(msgs.size(), 1u);
  EXPECT_EQ(msgs[0].text,
            QStringLiteral("QUZAR Start/Stop command fail.\r\n\r\nSome of possible causes:\r\n"
                           "  -  QUZAR internal Server is not running.\r\n"
                           "  -  Connection with QUZAR has not been established.\r\n"
                           "  -  Waiting for Rectified or Pulsed sampling completion.\r\n"
                           "  -  Tuner is busy."));
  EXPECT_EQ(msgs[0].buttons, TMsgButtons(mbRetry | mbAbort));
  EXPECT_EQ(msgs[0].type, TMsgType::Error);
  auto notices = asker.Records(TAskRecord::Notice);
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].text, QStringLiteral("QUZAR Start/Stop command OK"));
  EXPECT_EQ(notices[0].number, 1000);

  // Refused, Abort: code 3.
  asker.log.clear();
  cmd.refusals = 1;
  asker.QueueButton(mbAbort);
  EXPECT_EQ(cmd.SendHush(false, kActStart, -1, true), kCmdAborted);
  msgs = asker.Records(TAskRecord::Message);
  ASSERT_EQ(msgs.size(), 1u);
  EXPECT_TRUE(msgs[0].text.startsWith(QStringLiteral("QUZAR Send/Hush command fail.\r\n\r\n")));
  EXPECT_TRUE(asker.Records(TAskRecord::Notice).empty());

  // The single-unit start/stop has no retry box: the code goes back to the caller.
  asker.log.clear();
  cmd.refusals = 1;
  EXPECT_EQ(cmd.StartStop(false, kActStart, -1, true), 5);
  EXPECT_TRUE(asker.log.empty());

  // A stop that fails and is aborted: StopUnit reports it and returns false.
  asker.log.clear();
  cmd.refusals = 1;
  asker.QueueButton(mbAbort);
  EXPECT_FALSE(cmd.StopUnit());
  msgs = asker.Records(TAskRecord::Message);
  ASSERT_EQ(msgs.size(), 2u);
  EXPECT_EQ(msgs[1].text, QStringLiteral("QUZAR Stop command fail:\r\nOperation aborted"));
}

TEST_F(QzCmdTest, SendHushIsSkippedForServerVersionsOneTo34) {
  const struct {
    uint16_t ver;
    bool sent;
  } cases[] = {{0, true}, {1, false}, {34, false}, {35, true}, {60, true}};
  for (const auto& c : cases) {
    qv.SrvVerNum = c.ver;
    cmd.SetAllStates(1);
    wire.clear();
    EXPECT_EQ(cmd.SendHush(false, kActStop, -1, true), kCmdOk);
    EXPECT_EQ(wire.size(), c.sent ? 1u : 0u) << c.ver;
    EXPECT_EQ(cmd.SendState(kUnitAddr), c.sent ? 0 : 1) << c.ver;
  }
}

TEST_F(QzCmdTest, ShowCmdResultShowsNothing) {
  for (int32_t code : {0, 1, 3, 43, -1}) cmd.ShowCmdResult(QStringLiteral("Motors"), code);
  EXPECT_TRUE(asker.log.empty());
  EXPECT_EQ(asker.shows, 0);
}

// ---- frames -----------------------------------------------------------------------------------

TEST_F(QzCmdTest, ResetStubsThenOneFrameGivesZeroPositionsAndStatus119) {
  TFakeSource src(mot);
  cmd.SetFrameSource(&src);
  mot.AtOn = false;
  mot.ActPos = MakeMotPos(1234, 55, 4000);
  mot.TargPos = MakeMotPos(10, 20, 30);
  mot.MotStatus = 0;
  mot.MotError = 9;
  EXPECT_EQ(cmd.ResetStubs(), kCmdOk);
  EXPECT_EQ(mot.TargPos, MakeMotPos(0, 0, 0));
  ASSERT_TRUE(cmd.ReadFrame(qv.ContMeaTout));

  // The motor block of the frame itself.
  const int m = MotorBlockOffset(qv.Mob[0]);
  EXPECT_EQ(FrameI16(qv.Mob, m), 0);
  EXPECT_EQ(FrameI16(qv.Mob, m + 2), 0);
  EXPECT_EQ(FrameI16(qv.Mob, m + 4), 0);
  EXPECT_EQ(qv.Mob[m + 6], 119);
  EXPECT_EQ(qv.Mob[m + 7], 0);

  // And as the decoder reads it.
  TMotState decoded;
  decoded.ActPos = MakeMotPos(7, 7, 7);
  THresults res;
  uint16_t nmo = 0;
  ASSERT_TRUE(DekodMerData(qv.Mob, res, decoded, qv.f_cutoff, nmo));
  EXPECT_TRUE(res.su_mot);
  EXPECT_EQ(decoded.ActPos, MakeMotPos(0, 0, 0));
  EXPECT_EQ(decoded.MotStatus, 119);
  EXPECT_EQ(decoded.MotError, 0);
}

TEST_F(QzCmdTest, MoveStubsThenOneFrameCarriesTheTargets) {
  TFakeSource src(mot);
  cmd.SetFrameSource(&src);
  mot.AtOn = false;
  mot.TargPos = MakeMotPos(100, 200, 300);
  EXPECT_EQ(cmd.MoveStubs(), kCmdOk);
  EXPECT_EQ(mot.ActPos, MakeMotPos(100, 200, 300));
  ASSERT_TRUE(cmd.ReadFrame(-1));
  TMotState decoded;
  THresults res;
  uint16_t nmo = 0;
  ASSERT_TRUE(DekodMerData(qv.Mob, res, decoded, qv.f_cutoff, nmo));
  EXPECT_EQ(decoded.ActPos, MakeMotPos(100, 200, 300));
}

TEST_F(QzCmdTest, ReadFramePassesTheAveragingCountAndFailsWithoutSource) {
  qv.Mob.fill(0xAB);
  EXPECT_FALSE(cmd.ReadFrame(1000));
  EXPECT_EQ(qv.Mob[0], 0xAB);
  TFakeSource src(mot);
  cmd.SetFrameSource(&src);
  cmd.SetAveraging(37, 8);
  EXPECT_TRUE(cmd.ReadFrame(1000));
  EXPECT_EQ(src.lastAvg, 37);
  EXPECT_EQ(src.calls, 1);
}

// Measure is the frame read plus its decoding into the latest result; whatever fails leaves a
// result that cannot pass for a new one.
TEST_F(QzCmdTest, MeasureDecodesIntoTheLatestResultOnlyWhenAFrameArrivesWhole) {
  struct Spoiling : TFrameSource {
    void GetMobBytes(int, TMerObjekt& mob) override { mob = testing::RawFrame({0x55, 1, 2, 3}, 1); }
  } spoilt;
  TFakeSource good(mot);
  struct Case {
    const char* name;
    TFrameSource* source;
    bool ok;
    int reads;  // calls of the good source
  };
  for (const Case& c : {Case{"no source", nullptr, false, 0}, Case{"spoilt", &spoilt, false, 0},
                        Case{"whole", &good, true, 1}}) {
    SCOPED_TRACE(c.name);
    good.calls = 0;
    qv.Res = THresults{};
    qv.Res.je_qv = true;
    qv.Res.Pinc = 11.0;
    qv.Mob.fill(0xAB);
    cmd.SetFrameSource(c.source);
    EXPECT_EQ(cmd.Measure(1000), c.ok);
    EXPECT_EQ(good.calls, c.reads);
    if (c.ok) {
      EXPECT_TRUE(qv.Res.je_qv);
      EXPECT_DOUBLE_EQ(qv.Res.Pinc, 5678.0);
      EXPECT_NEAR(qv.Res.FreD, 2.45e9, 1e6);
    } else if (!c.source) {
      // Nothing was read: the buffer and the latest result are untouched.
      EXPECT_EQ(qv.Mob[0], 0xAB);
      EXPECT_TRUE(qv.Res.je_qv);
      EXPECT_DOUBLE_EQ(qv.Res.Pinc, 11.0);
    }
  }
  cmd.SetFrameSource(nullptr);
}

// ---- tuner commands ---------------------------------------------------------------------------

TEST_F(QzCmdTest, SingleTuneRequestsATuneFromThePresentPositions) {
  mot.ActPos = MakeMotPos(11, 22, 33);
  mot.ErrFlags = kMotErrReadFail | 0x05;
  sim.Btune1 = false;
  sim.WasTune1Click = false;
  cmd.SetAllStates(1);
  EXPECT_EQ(cmd.SingleTune(), kCmdOk);
  EXPECT_EQ(sim.TuStartPos, MakeMotPos(11, 22, 33));
  EXPECT_TRUE(sim.Btune1);
  EXPECT_TRUE(sim.WasTune1Click);
  EXPECT_EQ(mot.ErrFlags, 0x05);                  // the frame wait succeeded; motor errors stay
  EXPECT_EQ(mot.ActPos, MakeMotPos(11, 22, 33));  // the tune itself comes with the next frame
  EXPECT_EQ(cmd.RunState(kUnitAddr), 1);          // stopped, hushed and restored
  EXPECT_EQ(cmd.SendState(kUnitAddr), 1);
}

TEST_F(QzCmdTest, AutotuneOnOffAndQuery) {
  const struct {
    bool before;
    uint8_t value;
    bool after;
  } cases[] = {{false, 1, true},
               {true, 0, false},
               {true, kAtQuery, true},
               {false, kAtQuery, false},
               {true, 7, true}};
  for (const auto& c : cases) {
    mot.AtOn = c.before;
    EXPECT_EQ(cmd.AutotuneOnOff(c.value), kCmdOk);
    EXPECT_EQ(mot.AtOn, c.after) << int(c.value);
  }
}

TEST_F(QzCmdTest, MotorStatusReadAndTuneFlags) {
  mot.MotStatus = 3;
  mot.MotError = 0x81;
  EXPECT_EQ(cmd.ReadMotStatus(), kCmdOk);
  EXPECT_EQ(mot.MotStatus, 119);
  EXPECT_EQ(mot.MotError, 0);
  EXPECT_EQ(cmd.SetSendTunePos(true), kCmdOk);
  EXPECT_TRUE(mot.SendTunePos);
  EXPECT_EQ(cmd.SetHysteresis(9), kCmdOk);
  EXPECT_EQ(mot.HystDg, 9);
}

// ---- measurement settings ---------------------------------------------------------------------

TEST_F(QzCmdTest, AveragingAndCounterLandInTheAnalyzerState) {
  std::vector<bool> lamp;
  cmd.SetCounterLamp([&](bool on) { lamp.push_back(on); });
  EXPECT_EQ(cmd.SetAveraging(512, 16), kCmdOk);
  EXPECT_EQ(qv.VarPar.Vrpt, 512);
  EXPECT_EQ(qv.VarPar.Trpt, 16);
  EXPECT_EQ(cmd.SetCounter(30000, 0), kCmdOk);
  EXPECT_EQ(qv.VarPar.TcountCw, 30000);
  EXPECT_EQ(qv.VarPar.IsCntOn, 0);
  EXPECT_EQ(cmd.SetCounter(1000, 1), kCmdOk);
  EXPECT_EQ(qv.VarPar.IsCntOn, 1);
  EXPECT_EQ(lamp, (std::vector<bool>{false, true}));
  // Counts outside 1..4095 are limited: 0 would divide the simulated deviations by zero.
  cmd.SetAveraging(0, 5000);
  EXPECT_EQ(qv.VarPar.Vrpt, 1);
  EXPECT_EQ(qv.VarPar.Trpt, 4095);
}

TEST_F(QzCmdTest, FrequencyParameters) {
  qv.FixPar.FnominKHz = 2450000;
  qv.VarPar.FdeltaMHz = 61;  // window 2389000 .. 2511000 kHz
  const struct {
    int32_t value, subst;
  } substCases[] = {{2450500, 2450500}, {2600000, 2511000}, {2300000, 2389000},
                    {2511000, 2511000}, {2388999, 2389000}, {-5, 2389000}};
  for (const auto& c : substCases) {
    EXPECT_EQ(cmd.SetFreqParam(kFreqSubst, c.value), kCmdOk);
    EXPECT_EQ(qv.VarPar.FsubstKHz, c.subst) << c.value;
  }
  EXPECT_EQ(cmd.SetFreqParam(kFreqDelta, 100), kCmdOk);
  EXPECT_EQ(qv.VarPar.FdeltaMHz, 100);
  cmd.SetFreqParam(kFreqSubst, 2600000);
  EXPECT_EQ(qv.VarPar.FsubstKHz, 2550000);

  EXPECT_EQ(cmd.SetFreqParam(kFreqSamplCw, 150000), kCmdOk);
  EXPECT_EQ(qv.VarPar.FsamplCw, 150000);
  cmd.SetFreqParam(kFreqSamplCw, 0);  // a zero rate is limited to the 10 Hz minimum
  EXPECT_EQ(qv.VarPar.FsamplCw, 10);
  cmd.SetFreqParam(kFreqSamplCw, 900000);
  EXPECT_EQ(qv.VarPar.FsamplCw, qv.FixPar.FmaxSmpl);

  const TVarPar before = qv.VarPar;
  EXPECT_EQ(cmd.SetFreqParam(99, 12345), kCmdOk);
  EXPECT_EQ(qv.VarPar.FsubstKHz, before.FsubstKHz);
  EXPECT_EQ(qv.VarPar.FdeltaMHz, before.FdeltaMHz);
  EXPECT_EQ(qv.VarPar.FsamplCw, before.FsamplCw);
}

TEST_F(QzCmdTest, SamplingAndWaveformSetTheSweepCapacity) {
  qv.PtsPerSwp = 101;
  qv.Pulsed.TsamplUs = 1000;
  qv.Pulsed.Nvzoriek = 201;
  qv.Rectif.RippleFreq = 50;
  qv.Rectif.Periods = 1;
  qv.Rectif.Nvzoriek = 301;

  qv.VarPar.Waveform = wfPulsed;
  qv.Pulsed.Bsamples = true;
  EXPECT_EQ(cmd.SetSampling(), kCmdOk);
  EXPECT_EQ(qv.LastSwp.Nwanted(), 201);
  qv.Pulsed.Bsamples = false;
  cmd.SetSampling();
  EXPECT_EQ(qv.LastSwp.Nwanted(), 101);
  qv.VarPar.Waveform = wfCW;
  qv.Pulsed.Bsamples = true;
  cmd.SetSampling();
  EXPECT_EQ(qv.LastSwp.Nwanted(), 101);

  // Switching uses the new waveform's settings and stores the waveform.
  TVarPar vp = qv.VarPar;
  vp.Waveform = wfRectified;
  qv.Rectif.Bsamples = true;
  EXPECT_EQ(cmd.SwitchWaveform(vp, true, -1), kCmdOk);
  EXPECT_EQ(qv.VarPar.Waveform, wfRectified);
  EXPECT_EQ(qv.LastSwp.Nwanted(), 301);
  vp.Waveform = wfCW;
  cmd.SwitchWaveform(vp, true, -1);
  EXPECT_EQ(qv.VarPar.Waveform, wfCW);
  EXPECT_EQ(qv.LastSwp.Nwanted(), 101);
  // Parameter commands restore the run and send states they found.
  EXPECT_EQ(cmd.RunState(kUnitAddr), 1);
  EXPECT_EQ(cmd.SendState(kUnitAddr), 1);
}

TEST_F(QzCmdTest, SamplingPlansTheBlockBeforeSending) {
  // 4095 samples in a 1000 us window are more than the unit can take at 200 kHz: 201.
  qv.VarPar.Waveform = wfPulsed;
  qv.Pulsed.Bsamples = true;
  qv.Pulsed.TsamplUs = 1000;
  qv.Pulsed.Nvzoriek = 4095;
  cmd.SetSampling();
  EXPECT_EQ(qv.Pulsed.Nvzoriek, 201);
  EXPECT_EQ(qv.Pulsed.Fvzork, 200000);
  EXPECT_EQ(qv.LastSwp.Nwanted(), 201);
}

TEST_F(QzCmdTest, MeasurementSetupAndMotorRefreshAreStored) {
  TMeaStp m;
  m.OnPeriod_ms = 12;
  m.TxMask = 5;
  m.OfsRnge = 2;
  EXPECT_EQ(cmd.SetMeaStp(m), kCmdOk);
  EXPECT_EQ(qv.MstpCW, m);
  EXPECT_EQ(cmd.ReadMeaStp(), kCmdOk);
  EXPECT_EQ(qv.MstpCW, m);
  EXPECT_EQ(cmd.SetMotRefresh(32768), kCmdOk);
  EXPECT_EQ(qv.MotRefreshMs, 32768);
}

// ---- unit reads and file transfer -------------------------------------------------------------

TEST_F(QzCmdTest, CardDescriptionAndChannelSetup) {
  EXPECT_EQ(cmd.ReadCardDescr(), kCmdOk);
  EXPECT_EQ(cmd.DaqDescr.CardName, QStringLiteral("Simulated"));
  ASSERT_EQ(cmd.DaqDescr.RangeCount, 4);
  EXPECT_EQ(cmd.DaqDescr.RangeNames[0], QStringLiteral("5 mV"));
  EXPECT_EQ(cmd.DaqDescr.RangeNames[1], QStringLiteral("50 mV"));
  EXPECT_EQ(cmd.DaqDescr.RangeNames[2], QStringLiteral("500 mV"));
  EXPECT_EQ(cmd.DaqDescr.RangeNames[3], QStringLiteral("5 V"));
  EXPECT_TRUE(cmd.DaqDescr.RangeNames[4].isEmpty());
  EXPECT_EQ(cmd.ReadChanSetup(), kCmdOk);
  EXPECT_EQ(cmd.ChanSetup.Active, 1);
  EXPECT_EQ(cmd.ChanSetup.Rnge, 3);
  EXPECT_EQ(cmd.ChanSetup.RngLo, 0);
  EXPECT_EQ(cmd.ChanSetup.RngHi, 3);
}

TEST_F(QzCmdTest, VersionConnectionAndRunStateReads) {
  EXPECT_FALSE(cmd.ReadServerVersion());
  EXPECT_EQ(qv.SrvVerNum, 0);
  QString msg = QStringLiteral("old");
  EXPECT_TRUE(cmd.ConnectionCheck(msg));
  EXPECT_TRUE(msg.isEmpty());
  uint8_t run = 7, send = 9;
  EXPECT_EQ(cmd.ReadRunStates(run, send), kCmdOk);
  EXPECT_EQ(run, 7);
  EXPECT_EQ(send, 9);
  QString reason = QStringLiteral("x");
  EXPECT_EQ(cmd.OpenConnection(reason), kCmdOk);
  EXPECT_TRUE(reason.isEmpty());
  EXPECT_EQ(cmd.ReadUnitMemory(), kCmdOk);
  EXPECT_EQ(cmd.ReadTunerMemory(), kCmdOk);
}

TEST_F(QzCmdTest, CodeReadsClearOnlyForCode66) {
  uint8_t out[3] = {1, 2, 3};
  EXPECT_EQ(cmd.CodeRead(10, out), kCmdOk);
  EXPECT_EQ(out[0], 1);
  EXPECT_EQ(out[2], 3);
  EXPECT_EQ(cmd.CodeRead(66, out), kCmdOk);
  EXPECT_EQ(out[0], 0);
  EXPECT_EQ(out[1], 0);
  EXPECT_EQ(out[2], 0);
  QString reply = QStringLiteral("stale");
  EXPECT_EQ(cmd.SendCmdStopped(85, QString(), 1, -1, &reply), kCmdOk);
  EXPECT_TRUE(reply.isEmpty());
}

// The unit's disk is a folder of the test's own.
class QzCmdFilesTest : public QzCmdTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(unitDir.isValid());
    ASSERT_TRUE(localDir.isValid());
    // The unit keeps its files in the per-user folder's "SimUnit/".
    SetUserFolder(unitDir.path() + QStringLiteral("/"));
  }
  void TearDown() override { ResetFolders(); }
  // The unit's disk, one level below the test's folder: a name that climbed out of it would
  // reach the files beside it.
  QString Disk() const { return unitDir.filePath(QStringLiteral("SimUnit")); }
  QString Local(const char* name) const { return localDir.filePath(QString::fromLatin1(name)); }
  QTemporaryDir unitDir;
  QTemporaryDir localDir;
};

TEST_F(QzCmdFilesTest, AFileSentComesBackIdenticalWhateverTheCaseOfItsName) {
  // Every byte value, line ends of both kinds and a zero byte.
  QByteArray bytes;
  for (int i = 0; i < 256; ++i) bytes.append(char(i));
  bytes.append("\r\n[Tuner]\nName=x\r\n");
  testing::WriteAll(Local("qzm.cfg"), bytes);
  ASSERT_EQ(cmd.SendFile(Local("qzm.cfg"), QStringLiteral("C:\\SRV\\QZM.CFG")), kCmdOk);
  EXPECT_EQ(testing::ReadAll(Disk() + QStringLiteral("/SRV/QZM.CFG")), bytes);
  // The receive of the transfer command names it as the operator typed it.
  ASSERT_EQ(cmd.ReceiveFile(QStringLiteral("c:\\srv\\Qzm.cfg"), Local("back.cfg")), kCmdOk);
  EXPECT_EQ(testing::ReadAll(Local("back.cfg")), bytes);
  // A second send replaces the unit's copy; an empty file is a file too.
  testing::WriteAll(Local("qzm.cfg"), QByteArray());
  ASSERT_EQ(cmd.SendFile(Local("qzm.cfg"), QStringLiteral("C:\\SRV\\QZM.CFG")), kCmdOk);
  ASSERT_EQ(cmd.ReceiveFile(QStringLiteral("C:\\SRV\\QZM.CFG"), Local("back.cfg")), kCmdOk);
  EXPECT_TRUE(QFileInfo::exists(Local("back.cfg")));
  EXPECT_EQ(testing::ReadAll(Local("back.cfg")), QByteArray());
}

TEST_F(QzCmdFilesTest, AbsentOrRefusedFilesAnswerTheirCodesAndTouchNothing) {
  testing::WriteAll(Local("keep.cfg"), "keep me");
  testing::WriteAll(Local("a.cfg"), "a");
  testing::WriteAll(unitDir.filePath(QStringLiteral("X")), "beside the unit's disk");
  ASSERT_EQ(cmd.SendFile(Local("a.cfg"), QStringLiteral("C:\\SRV\\A.CFG")), kCmdOk);
  const struct {
    const char* unitPath;
    uint32_t code;
  } receives[] = {
      {"c:\\srv\\Qzm.cfg", 43},      // never sent
      {"c:\\srv\\user\\A.CFG", 43},  // another folder of the unit
      {"c:\\srv", 43},               // a folder, no file
      {"c:\\srv\\..\\..\\x", 43},    // outside the unit's disk
      {"", 43},
  };
  for (const auto& c : receives) {
    SCOPED_TRACE(c.unitPath);
    const int32_t rc = cmd.ReceiveFile(QString::fromLatin1(c.unitPath), Local("keep.cfg"));
    EXPECT_EQ(uint32_t(rc), c.code);
    EXPECT_EQ(testing::ReadAll(Local("keep.cfg")), QByteArray("keep me"));
  }
  EXPECT_EQ(ErrorText(43), QStringLiteral("File not found in server system"));

  const struct {
    QString localPath;
    const char* unitPath;
    uint32_t code;
  } sends[] = {
      {Local("none.cfg"), "C:\\SRV\\NONE.CFG", 48},   // "File not found in master PC"
      {localDir.path(), "C:\\SRV\\DIR.CFG", 48},      // a folder is no file
      {Local("a.cfg"), "C:\\..\\A.CFG", 11},          // outside the unit's disk
      {Local("a.cfg"), "C:\\SRV\\A.CFG\\B.CFG", 11},  // below a file
  };
  for (const auto& c : sends) {
    SCOPED_TRACE(c.unitPath);
    EXPECT_EQ(uint32_t(cmd.SendFile(c.localPath, QString::fromLatin1(c.unitPath))), c.code);
  }
  // Nothing arrived beside the one file sent, and nothing outside the unit's folder.
  const auto all = QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot;
  EXPECT_EQ(QDir(unitDir.path()).entryList(all, QDir::Name), QStringList({"SimUnit", "X"}));
  EXPECT_EQ(QDir(Disk()).entryList(all), QStringList({"SRV"}));
  EXPECT_EQ(QDir(Disk() + "/SRV").entryList(all), QStringList({"A.CFG"}));
}

TEST_F(QzCmdFilesTest, TheUnitsFolderIsSimUnitInThePerUserFolderByDefault) {
  TSimUnitFiles files;
  EXPECT_EQ(files.Folder(), UserFolder() + QStringLiteral("SimUnit/"));
  EXPECT_EQ(files.LocalPath(QStringLiteral("c:\\srv\\fact\\Tun.cfg")),
            UserFolder() + QStringLiteral("SimUnit/SRV/FACT/TUN.CFG"));
  EXPECT_EQ(files.LocalPath(QStringLiteral("C:\\AUTOEXEC.BAT")),
            UserFolder() + QStringLiteral("SimUnit/AUTOEXEC.BAT"));
}

// ---- bringing the unit in line after a setup read ----------------------------------------------

TEST_F(QzCmdTest, BringUnitInLineStoresEverySettingThroughTheLayer) {
  int refreshes = 0;
  int lamps = 0;
  cmd.SetMeaStpRefresh([&] { ++refreshes; });
  cmd.SetCounterLamp([&](bool) { ++lamps; });
  TQzCmdSync sync(cmd);
  qv.VarPar.FdeltaMHz = 50;
  qv.VarPar.FsubstKHz = 9000000;  // far outside the window: limited to 2500000
  qv.VarPar.Vrpt = 64;
  qv.MotRefreshMs = 500;
  qv.VarPar.Waveform = wfRectified;
  qv.Rectif.Bsamples = true;
  qv.Rectif.Nvzoriek = 301;
  mot.AtOn = true;
  mot.SendTunePos = true;
  qv.BringUnitInLine(sync);
  EXPECT_EQ(qv.VarPar.FsubstKHz, 2500000);
  EXPECT_EQ(qv.VarPar.Vrpt, 64);
  EXPECT_EQ(qv.MotRefreshMs, 500);
  EXPECT_EQ(qv.LastSwp.Nwanted(), 301);
  EXPECT_TRUE(mot.AtOn);
  EXPECT_TRUE(mot.SendTunePos);
  EXPECT_EQ(refreshes, 1);
  EXPECT_EQ(lamps, 1);
  EXPECT_TRUE(asker.Records(TAskRecord::Message).empty());
}

}  // namespace
}  // namespace qz
