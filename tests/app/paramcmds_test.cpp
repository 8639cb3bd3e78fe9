// The parameter commands without their windows: the "changed" rule, the order of what a waveform
// change sends, restore on failure, the individual-samples modes, the signal tool bar's state,
// the menu captions and the questions.

#include "app/paramcmds.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "common/fakeqzcmd.h"
#include "core/qvwin.h"
#include "util/asker.h"

namespace qz {
namespace {

using ::testing::_;
using ::testing::InSequence;
using ::testing::NiceMock;
using ::testing::Return;
using testing::TFakeQzCmd;

constexpr int32_t kFail = 5;

class MockPort : public TParamPort {
 public:
  MOCK_METHOD(void, BlankAll, (), (override));
  MOCK_METHOD(void, RefreshXaxis, (), (override));
  MOCK_METHOD(void, ShowSamplFreq, (const QString&), (override));
  MOCK_METHOD(void, UpdateSignalBar, (const TSignalBarState&), (override));
  MOCK_METHOD(void, SetSingleShotDown, (bool), (override));
  MOCK_METHOD(void, SetFreeRunDown, (bool), (override));
  MOCK_METHOD(void, SetFreqOnlyDown, (bool), (override));
  MOCK_METHOD(void, SetAutotuneButton, (bool), (override));
  MOCK_METHOD(void, RedrawStubs, (), (override));
};

struct ParamRig {
  TMotState mot;
  TQvWin qv{mot};
  TSimState sim;
  NiceMock<TFakeQzCmd> cmd{qv, sim};
  NiceMock<MockPort> port;
  TScriptedAsker asker;
  int32_t nPretrg = 7;
  TParamCmds pc{qv, cmd, nPretrg, &port, &asker};

  ParamRig() {
    asker.quiet = true;
    qv.SetDefaults();
    qv.LastSwp.SetNwanted(qv.PtsPerSwp);
  }
  void SetWave(TWaveform w) {
    qv.VarPar.Waveform = w;
    qv.DeriveSampling(w);
  }
  // Nothing at all may go to the unit.
  void ExpectNothingSent() {
    EXPECT_CALL(cmd, SetSampling()).Times(0);
    EXPECT_CALL(cmd, SetCounter(_, _)).Times(0);
    EXPECT_CALL(cmd, SetAveraging(_, _)).Times(0);
    EXPECT_CALL(cmd, SetFreqParam(_, _)).Times(0);
    EXPECT_CALL(cmd, SetMotRefresh(_)).Times(0);
  }
  std::vector<TAskRecord> Messages() const { return asker.Records(TAskRecord::Message); }
  std::vector<TAskRecord> Inputs() const { return asker.Records(TAskRecord::Input); }
};

TEST(ParamCmds, EnteringTheCurrentValueSendsNothing) {
  struct Case {
    const char* name;
    TWaveform wave;
    const char* answer;
    std::function<void(TParamCmds&)> run;
  };
  const Case cases[] = {
      {"points", wfCW, "101", [](TParamCmds& p) { p.PointsPerSweep(); }},
      {"count time CW", wfCW, "20000", [](TParamCmds& p) { p.CountTime(); }},
      {"count time pulsed", wfPulsed, "32", [](TParamCmds& p) { p.CountTime(); }},
      {"averaging", wfCW, "201", [](TParamCmds& p) { p.SampleCount(); }},
      {"samples", wfRectified, "201", [](TParamCmds& p) { p.SampleCount(); }},
      {"sampling time", wfPulsed, "1000", [](TParamCmds& p) { p.SamplingTime(); }},
      {"trigger level", wfPulsed, "50", [](TParamCmds& p) { p.TriggerLevel(); }},
      {"motors refresh", wfCW, "1000", [](TParamCmds& p) { p.MotorsRefresh(); }},
      {"freq toler", wfCW, "61", [](TParamCmds& p) { p.FreqToler(); }},
      {"freq toler truncated", wfCW, "61.9", [](TParamCmds& p) { p.FreqToler(); }},
      {"substitute", wfCW, "2.45G", [](TParamCmds& p) { p.SubstFreq(); }},
      {"substitute rounded to kHz", wfCW, "2450000.4k", [](TParamCmds& p) { p.SubstFreq(); }},
      {"sampling freq", wfCW, "10k", [](TParamCmds& p) { p.SamplingFreq(); }},
      {"same waveform", wfPulsed, nullptr, [](TParamCmds& p) { p.SetWaveform(wfPulsed); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ParamRig r;
    r.SetWave(c.wave);
    r.ExpectNothingSent();
    EXPECT_CALL(r.port, BlankAll()).Times(0);
    if (c.answer) r.asker.QueueText(QString::fromLatin1(c.answer));
    const TVarPar before = r.qv.VarPar;
    c.run(r.pc);
    EXPECT_EQ(r.qv.VarPar.TcountCw, before.TcountCw);
    EXPECT_EQ(r.qv.VarPar.FdeltaMHz, before.FdeltaMHz);
    EXPECT_EQ(r.qv.VarPar.FsubstKHz, before.FsubstKHz);
    EXPECT_EQ(r.qv.VarPar.Waveform, c.wave);
    EXPECT_TRUE(r.Messages().empty());
    ::testing::Mock::VerifyAndClearExpectations(&r.cmd);
  }
}

TEST(ParamCmds, PreTriggerNeedsAMeasuredSweep) {
  ParamRig r;
  r.SetWave(wfPulsed);
  r.pc.PreTrigger();
  ASSERT_EQ(r.Messages().size(), 1u);
  EXPECT_EQ(r.Messages()[0].text, QStringLiteral("No data available: make measurement first"));
  EXPECT_TRUE(r.Inputs().empty());
  EXPECT_EQ(r.nPretrg, 7);

  // With five points the entry is limited to 0..4.
  for (int i = 0; i < 5; ++i) r.qv.LastSwp.Add(TMerObjekt{});
  r.asker.QueueText(QStringLiteral("9"));
  r.pc.PreTrigger();
  EXPECT_EQ(r.nPretrg, 4);
  ASSERT_EQ(r.Inputs().size(), 1u);
  EXPECT_EQ(r.Inputs()[0].text,
            QStringLiteral("Points to show before triggering event (0 to 4) :"));
}

TEST(ParamCmds, CwToPulsedBlanksEmptiesTheSweepThenSendsCounterAndSampling) {
  ParamRig r;
  r.qv.LastSwp.Add(TMerObjekt{});
  EXPECT_CALL(r.cmd, SetAveraging(_, _)).Times(0);
  EXPECT_CALL(r.cmd, SetFreqParam(_, _)).Times(0);
  {
    InSequence s;
    EXPECT_CALL(r.port, BlankAll());
    EXPECT_CALL(r.cmd, SetCounter(20000, 1));
    EXPECT_CALL(r.cmd, SetSampling());
    EXPECT_CALL(r.cmd, ShowCmdResult(QStringLiteral("Waveform"), 0));
    EXPECT_CALL(r.port, BlankAll());  // the send's own Blank All after success
  }
  r.pc.SetWaveform(wfPulsed);
  EXPECT_EQ(r.qv.VarPar.Waveform, wfPulsed);
  EXPECT_EQ(r.qv.LastSwp.Count(), 0);
}

TEST(ParamCmds, PulsedToCwSendsAveragingRateCounterAndSampling) {
  ParamRig r;
  r.SetWave(wfPulsed);
  {
    InSequence s;
    EXPECT_CALL(r.cmd, SetAveraging(201, 8));
    EXPECT_CALL(r.cmd, SetFreqParam(kFreqSamplCw, 10000));
    EXPECT_CALL(r.cmd, SetCounter(20000, 1));
    EXPECT_CALL(r.cmd, SetSampling());
  }
  EXPECT_CALL(r.port, ShowSamplFreq(QStringLiteral("10 kHz")));
  r.pc.SetWaveform(wfCW);
  EXPECT_EQ(r.qv.VarPar.Waveform, wfCW);
}

TEST(ParamCmds, AFailedSendRestoresTheOldValue) {
  struct Case {
    const char* name;
    TWaveform wave;
    const char* answer;
    std::function<void(TParamCmds&)> run;
    std::function<int64_t(const TQvWin&)> value;
    int64_t old;
  };
  const Case cases[] = {
      {"waveform", wfCW, nullptr, [](TParamCmds& p) { p.SetWaveform(wfRectified); },
       [](const TQvWin& q) { return int64_t(q.VarPar.Waveform); }, wfCW},
      {"count time", wfRectified, "5000", [](TParamCmds& p) { p.CountTime(); },
       [](const TQvWin& q) { return int64_t(q.Rectif.TcntUs); }, 2992},
      {"trigger level", wfPulsed, "70", [](TParamCmds& p) { p.TriggerLevel(); },
       [](const TQvWin& q) { return int64_t(q.VarPar.MinMaxTrgLvl); }, 50},
      {"free run", wfPulsed, nullptr, [](TParamCmds& p) { p.FreeRun(); },
       [](const TQvWin& q) { return int64_t(q.TrgMethod); }, 0},
      {"sampling time", wfPulsed, "2000", [](TParamCmds& p) { p.SamplingTime(); },
       [](const TQvWin& q) { return int64_t(q.Pulsed.TsamplUs); }, 1000},
      {"sample count", wfPulsed, "101", [](TParamCmds& p) { p.SampleCount(); },
       [](const TQvWin& q) { return int64_t(q.Pulsed.Nvzoriek); }, 201},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ParamRig r;
    r.SetWave(c.wave);
    EXPECT_CALL(r.cmd, SetSampling()).WillOnce(Return(kFail));
    EXPECT_CALL(r.cmd, ShowCmdResult(_, kFail));
    EXPECT_CALL(r.port, BlankAll()).Times(c.wave == wfCW ? 1 : 0);  // only the waveform change
    if (c.answer) r.asker.QueueText(QString::fromLatin1(c.answer));
    c.run(r.pc);
    EXPECT_EQ(c.value(r.qv), c.old);
  }
}

TEST(ParamCmds, FailedParameterSendsRestoreOrBeep) {
  {
    ParamRig r;
    EXPECT_CALL(r.cmd, SetMotRefresh(500)).WillOnce(Return(kFail));
    r.asker.QueueText(QStringLiteral("500"));
    r.pc.MotorsRefresh();
    EXPECT_EQ(r.qv.MotRefreshMs, 1000);
  }
  {
    ParamRig r;
    EXPECT_CALL(r.cmd, SetCounter(20000, 0)).WillOnce(Return(kFail));
    r.pc.Counter();
    EXPECT_EQ(r.qv.VarPar.IsCntOn, 1);
    EXPECT_EQ(r.asker.beeps, 1);
  }
  {
    ParamRig r;
    EXPECT_CALL(r.cmd, SetFreqParam(kFreqSamplCw, 50000)).WillOnce(Return(kFail));
    EXPECT_CALL(r.cmd, ShowCmdResult(QStringLiteral("Sampling Frequency"), kFail));
    r.asker.QueueText(QStringLiteral("50k"));
    r.pc.SamplingFreq();
    EXPECT_EQ(r.qv.VarPar.FsamplCw, 10000);
  }
}

TEST(ParamCmds, SamplesModes) {
  struct Case {
    TWaveform wave;
    bool rectB, pulsB;   // before
    bool down, oneShot;  // the buttons after the click
    bool fail;
    int singleShotCall;  // -1 none, 0 released, 1 pressed
    bool sent;
    bool rectAfter, pulsAfter;
  };
  const Case cases[] = {
      {wfRectified, false, false, true, false, false, 0, true, true, false},
      {wfRectified, false, false, true, true, false, 1, true, true, false},
      {wfRectified, true, false, true, true, false, 1, false, true, false},
      {wfPulsed, false, true, false, true, false, -1, true, false, false},
      {wfPulsed, false, false, false, false, false, -1, false, false, false},
      {wfPulsed, true, false, true, false, true, 0, true, true, false},
      {wfRectified, true, true, false, false, true, -1, true, true, true},
      {wfCW, false, false, true, false, false, 0, false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << int(c.wave) << c.rectB << c.pulsB << c.down << c.oneShot);
    ParamRig r;
    r.SetWave(c.wave);
    r.qv.Rectif.Bsamples = c.rectB;
    r.qv.Pulsed.Bsamples = c.pulsB;
    if (c.sent)
      EXPECT_CALL(r.cmd, SetSampling()).WillOnce(Return(c.fail ? kFail : kCmdOk));
    else
      EXPECT_CALL(r.cmd, SetSampling()).Times(0);
    if (c.sent) EXPECT_CALL(r.cmd, ShowCmdResult(QStringLiteral("Send Samples ON/OFF"), _));
    if (c.singleShotCall < 0)
      EXPECT_CALL(r.port, SetSingleShotDown(_)).Times(0);
    else
      EXPECT_CALL(r.port, SetSingleShotDown(c.singleShotCall == 1));
    r.pc.Samples(c.down, c.oneShot);
    EXPECT_EQ(r.qv.Rectif.Bsamples, c.rectAfter);
    EXPECT_EQ(r.qv.Pulsed.Bsamples, c.pulsAfter);
  }
  EXPECT_EQ(SamplesMode(false, true), 0);
  EXPECT_EQ(SamplesMode(true, false), 1);
  EXPECT_EQ(SamplesMode(true, true), 2);
}

TEST(ParamCmds, SignalBarState) {
  TSignalBarState cw;
  cw.cwDown = true;
  cw.freqOnlyEnabled = true;
  cw.pointsEnabled = true;
  cw.freeRunDown = true;
  // Bsamples never counts in CW.
  EXPECT_EQ(SignalBarState(wfCW, true, 0), cw);

  TSignalBarState rect;
  rect.rectDown = true;
  rect.samplesEnabled = true;
  rect.trgLevelEnabled = true;
  rect.freeRunEnabled = true;
  rect.pointsEnabled = true;
  EXPECT_EQ(SignalBarState(wfRectified, false, 1), rect);

  TSignalBarState puls;
  puls.pulsDown = true;
  puls.samplesDown = true;
  puls.samplesEnabled = true;
  puls.singleShotEnabled = true;
  puls.preEnabled = true;
  puls.trgLevelEnabled = true;
  puls.freeRunEnabled = true;
  puls.freeRunDown = true;
  puls.samplTimeEnabled = true;
  puls.progressVisible = true;
  EXPECT_EQ(SignalBarState(wfPulsed, true, 0), puls);
}

TEST(ParamCmds, MenuCaptionsWithTheDefaults) {
  ParamRig r;
  const TQuzarMenuState q = QuzarMenuState(r.qv, QStringLiteral("0 mm"), false);
  EXPECT_EQ(q.planeExt, QStringLiteral("Plane &Ext  (0 mm)"));
  EXPECT_EQ(q.points, QStringLiteral("&Points per Sweep  (101)"));
  EXPECT_TRUE(q.pointsEnabled);
  EXPECT_EQ(q.countTime, QStringLiteral("Count &Time CW  (20 ms)"));
  EXPECT_EQ(q.freqToler, QStringLiteral("&Freq Toler  (61 MHz)"));
  EXPECT_EQ(q.counter, QStringLiteral("C&ounter  (ON)"));
  EXPECT_TRUE(q.counterChecked);
  EXPECT_EQ(q.powCal, QStringLiteral("&Pow Cal Factor  (1)"));
  EXPECT_EQ(q.substFreq, QStringLiteral("Su&bstit Freq  (2.45 GHz)"));
  EXPECT_FALSE(q.transformChecked);

  // Six characters of the waveform name; Points off while individual samples are sent.
  r.SetWave(wfRectified);
  r.qv.Rectif.Bsamples = true;
  const TQuzarMenuState q2 = QuzarMenuState(r.qv, QString(), true);
  EXPECT_EQ(q2.countTime, QStringLiteral("Count &Time Rectif  (2.992 ms)"));
  EXPECT_FALSE(q2.pointsEnabled);
  EXPECT_TRUE(q2.transformChecked);

  const TTunerMenuState t = TunerMenuState(r.qv);
  EXPECT_EQ(t.active, QStringLiteral("&Active  (NO)"));
  EXPECT_FALSE(t.activeChecked);
  EXPECT_EQ(t.autotune, QStringLiteral("&Autotune  (OFF)"));
  EXPECT_EQ(t.waitRf, QStringLiteral("Wait &RF  (YES)"));
  EXPECT_EQ(t.motRefresh, QStringLiteral("&Motors Refresh  (1000 ms)"));
  EXPECT_EQ(t.hysteresis, QStringLiteral("&Hysteresis  (5)"));
}

TEST(ParamCmds, CountTimeKeepsTheTimeTheUnitCounts) {
  // Steps of 16 us, halves going down: 1000 -> 992, 1008 -> 1008, 1016 -> 1024.
  const struct {
    const char* answer;
    int32_t kept;
  } cases[] = {{"1000", 992}, {"1008", 1008}, {"1023", 1024}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answer);
    ParamRig r;
    EXPECT_CALL(r.cmd, SetCounter(c.kept, _));
    r.asker.QueueText(QString::fromLatin1(c.answer));
    r.pc.CountTime();
    EXPECT_EQ(r.qv.VarPar.TcountCw, c.kept);
    ::testing::Mock::VerifyAndClearExpectations(&r.cmd);
  }
  ParamRig r;
  EXPECT_CALL(r.cmd, SetCounter(992, _));
  r.asker.QueueText(QStringLiteral("1000"));
  r.pc.CountTime();
  EXPECT_TRUE(QuzarMenuState(r.qv, QString(), false).countTime.endsWith(QStringLiteral("(992 us)")))
      << QuzarMenuState(r.qv, QString(), false).countTime.toStdString();
}

TEST(ParamCmds, CountTimePrompts) {
  ParamRig r;
  EXPECT_EQ(CountTimePrompt(r.qv),
            QStringLiteral("Recommended min count time for full accuracy:  335 us\r\n"
                           "Max value - automatically used if exceeded:  1 s\r\n\r\n"
                           "Frequency counting time in microseconds for CW mode"));
  r.SetWave(wfRectified);
  EXPECT_TRUE(CountTimePrompt(r.qv).startsWith(
      QStringLiteral("Note: Ripple Period = 20 ms\r\nRecommended max. counting time: 7.5 ms")));
  EXPECT_EQ(r.qv.Rectif.RplPeri_us, 20000);
  // A damaged setup's ripple frequency of 0 must not divide by zero.
  r.qv.Rectif.RippleFreq = 0;
  EXPECT_TRUE(CountTimePrompt(r.qv).startsWith(QStringLiteral("Note: Ripple Period = 1 s")));
  r.SetWave(wfPulsed);
  EXPECT_EQ(CountTimePrompt(r.qv),
            QStringLiteral("Frequency counting time in microseconds for Pulsed waveform"));
}

TEST(ParamCmds, WaveformWaitWindowShowsLongTimeOuts) {
  struct Case {
    uint16_t periods;
    const char* caption;
  };
  for (const Case& c : {Case{100, "Wait (Tout=5 s)..."}, Case{75, "Wait please..."}}) {
    ParamRig r;
    r.SetWave(wfRectified);
    r.qv.Rectif.RippleFreq = 50;
    r.qv.Rectif.Periods = c.periods;
    r.qv.DeriveSampling(wfRectified);
    r.pc.SendWaveform(-1, true, true, QStringLiteral("Waveform"));
    const auto waits = r.asker.Records(TAskRecord::Wait);
    ASSERT_EQ(waits.size(), 1u) << c.periods;
    EXPECT_EQ(waits[0].caption, QString::fromLatin1(c.caption)) << c.periods;
    EXPECT_EQ(waits[0].text, QStringLiteral("\"Waveform\" command running..."));
  }
  EXPECT_EQ(WaveformWaitCaption(4999), QString());
  EXPECT_EQ(WaveformWaitCaption(5000), QStringLiteral("Wait (Tout=5 s)..."));
}

TEST(ParamCmds, SendWaveformPacksTheTriggerMethod) {
  ParamRig r;
  r.SetWave(wfPulsed);
  r.qv.TrgMethod = 1;
  r.qv.VarPar.TrgMeth_AccLvl = WithTrgMethod(r.qv.VarPar.TrgMeth_AccLvl, 0);
  EXPECT_CALL(r.port, BlankAll());
  EXPECT_CALL(r.port, RefreshXaxis());
  EXPECT_EQ(r.pc.SendWaveform(3000, false, false, QStringLiteral("X")), 0);
  EXPECT_EQ(TrgMethodOf(r.qv.VarPar.TrgMeth_AccLvl), 1);
  EXPECT_TRUE(r.asker.Records(TAskRecord::Wait).empty());
}

TEST(ParamCmds, FreqToleranceGoesOutInWholeMHzLimitedToTheNominal) {
  ParamRig r;
  EXPECT_CALL(r.cmd, SetFreqParam(kFreqDelta, 2450));
  EXPECT_CALL(r.cmd, ShowCmdResult(QStringLiteral("Set Frequency Tolerance"), 0));
  r.asker.QueueText(QStringLiteral("3G"));
  r.pc.FreqToler();
  EXPECT_EQ(r.qv.VarPar.FdeltaMHz, 2450);
}

TEST(ParamCmds, SubstituteOutsideTheToleranceIsAskedAgain) {
  {
    ParamRig r;
    r.ExpectNothingSent();
    r.asker.QueueText(QStringLiteral("2.6G"));  // then Cancel
    r.pc.SubstFreq();
    ASSERT_EQ(r.Messages().size(), 1u);
    EXPECT_EQ(r.Messages()[0].text,
              QStringLiteral("Error: Bad input or out of bounds.\r\nPlease re-enter."));
    EXPECT_EQ(r.Inputs().size(), 2u);
    EXPECT_EQ(r.qv.VarPar.FsubstKHz, 2450000);
  }
  {
    ParamRig r;
    EXPECT_CALL(r.cmd, SetFreqParam(kFreqSubst, 2460000));
    r.asker.QueueText(QStringLiteral("2.6G"));
    r.asker.QueueText(QStringLiteral("2460"));
    r.pc.SubstFreq();
    EXPECT_EQ(r.Inputs().size(), 2u);
    EXPECT_EQ(r.qv.VarPar.FsubstKHz, 2460000);
  }
}

TEST(ParamCmds, WrongSamplingRateEntryIsCancelledWithAMessage) {
  ParamRig r;
  r.ExpectNothingSent();
  EXPECT_CALL(r.port, ShowSamplFreq(QStringLiteral("10 kHz")));
  r.asker.QueueText(QStringLiteral("1G"));
  r.pc.SamplingFreq();
  ASSERT_EQ(r.Messages().size(), 1u);
  EXPECT_EQ(r.Messages()[0].text,
            QStringLiteral("Input incorrect or out of bounds - operation cancelled"));
  EXPECT_EQ(r.qv.VarPar.FsamplCw, 10000);
}

}  // namespace
}  // namespace qz
