// The measurement cycle against fakes of the unit, the windows and the status bar.
#include "app/cycle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "app/simcore.h"
#include "core/frame.h"
#include "core/frameenc.h"
#include "core/qvwin.h"
#include "util/asker.h"
#include "util/clock.h"

namespace qz {
namespace {

// What the fake unit sends in a pass: a frame, or nothing.
struct PassFrame {
  bool received = true;
  TFrameSpec fspec;
};

TFrameSpec CwSpec(bool low = false) {
  TFrameSpec s;
  s.Freq_Hz = 2450e6;
  s.Pinc_W = 1000.0;
  s.Temp_C = 25.0;
  s.RhoM = complex(0.1, 0.2);
  s.RhoZ = complex(0.3, 0.0);
  s.ErrByte = low ? kErLowSignal : 0;
  return s;
}

TFrameSpec SampleSpec(uint8_t code, uint16_t index, uint8_t err = 0) {
  TFrameSpec s = CwSpec();
  s.SampleCode = code;
  s.SampleIndex = index;
  s.ErrByte = err;
  return s;
}

// Builds each pass's frame into the analyzer's buffer from a script indexed by pass number
// (1-based); ends any run that goes on far too long, so a hang fails instead of freezing.
class FakeUnit : public TCycleUnit {
 public:
  explicit FakeUnit(TQvWin& qv) : qv_(qv) {}
  std::function<PassFrame(int64_t pass)> script = [](int64_t) { return PassFrame{true, CwSpec()}; };
  TCycle* cycle = nullptr;
  int64_t limit = 100000;
  bool hung = false;

  int64_t reads = 0;
  std::vector<uint16_t> timeouts;
  std::vector<std::pair<char, int>> commands;  // 'S' start/stop, 'H' send/hush, with action
  std::vector<bool> remembered;
  int stops = 0, clears = 0, purges = 0, counterResets = 0;

  bool Measure(uint16_t timeoutMs) override {
    ++reads;
    if (timeouts.empty() || timeouts.back() != timeoutMs) timeouts.push_back(timeoutMs);
    if (reads > limit && cycle) {
      hung = true;
      cycle->RequestClose();
    }
    const PassFrame pf = script(reads);
    qv_.Mob.fill(0);
    if (!pf.received) return false;
    EncodeFrame(pf.fspec, qv_.Mob);
    return qv_.DekodMerData(qv_.Mob, qv_.Res);
  }
  int32_t StartStop(uint8_t action, bool remember) override {
    commands.push_back({'S', action});
    remembered.push_back(remember);
    return 0;
  }
  int32_t SendHush(uint8_t action, bool remember) override {
    commands.push_back({'H', action});
    remembered.push_back(remember);
    return 0;
  }
  int32_t StopWithWait() override {
    ++stops;
    return 0;
  }
  void ClearAndPurge() override { ++clears; }
  void Purge() override { ++purges; }
  void ResetSampleCounter() override { ++counterResets; }

 private:
  TQvWin& qv_;
};

class FakeStatus : public TCycleStatus {
 public:
  std::vector<QString> messages;  // every text written into the message panel
  QString message, timeout;
  std::vector<QString> timeouts;
  int32_t max = 0, pos = 0;
  bool red = false;
  std::vector<std::pair<int32_t, bool>> bar;  // (position, red) after each change

  void SetMessage(const QString& t) override {
    message = t;
    messages.push_back(t);
  }
  void SetTimeoutText(const QString& t) override {
    timeout = t;
    timeouts.push_back(t);
  }
  void SetProgressMax(int32_t m) override { max = m; }
  void SetProgress(int32_t p) override {
    pos = p;
    bar.push_back({pos, red});
  }
  void SetProgressRed(bool r) override {
    red = r;
    bar.push_back({pos, red});
  }
};

class FakeDisplays : public TCycleDisplays {
 public:
  std::vector<int32_t> points;
  int fills = 0, sweepDraws = 0, clears = 0, keeps = 0, resetsAll = 0, resetsPart = 0;
  int32_t lastFillCount = -1;
  void ResetTraces(bool all) override { ++(all ? resetsAll : resetsPart); }
  void KeepPreviousDrawing() override { ++keeps; }
  void ClearDisplays() override { ++clears; }
  void DrawPointAll(int32_t i) override { points.push_back(i); }
  void FillSweepAll(const TOneSweep& s) override {
    ++fills;
    lastFillCount = s.Count();
  }
  void DrawSweepAll(const TOneSweep&) override { ++sweepDraws; }
};

class FakeLogger : public TCycleLogger {
 public:
  bool armed = false, on = false;
  int cancels = 0, starts = 0, records = 0, offs = 0;
  bool Armed() const override { return armed; }
  void Cancel() override { ++cancels; }
  void MeasurementStarted() override { ++starts; }
  bool LoggingOn() const override { return on; }
  void WriteRecord(const THresults&, const TSwpStamp& st) override {
    ++records;
    stamps.push_back(st);
  }
  std::vector<TSwpStamp> stamps;
  void EventLoggingOff() override { ++offs; }
};

class FakeResults : public TCycleResults {
 public:
  int shown = 0;
  void ShowResult(const THresults&) override { ++shown; }
};

class FakePublisher : public TCyclePublisher {
 public:
  int calls = 0;
  void PublishIfDue(const THresults&) override { ++calls; }
};

class FakeHost : public TCycleHost {
 public:
  std::function<void(int64_t pass)> onPump;
  TCycle* cycle = nullptr;
  std::vector<QString> hints;
  std::vector<bool> button;
  bool singleShot = false;
  std::vector<int64_t> pumps;  // pass numbers at which events were pumped

  void SetRunHint(const QString& h) override { hints.push_back(h); }
  void SetRunButtonDown(bool d) override { button.push_back(d); }
  bool SingleShotArmed() const override { return singleShot; }
  void Pump() override {
    pumps.push_back(cycle->Passes());
    if (onPump) onPump(cycle->Passes());
  }
  std::function<void(int64_t pass)> onPassDone;
  void PassDone() override {
    if (onPassDone) onPassDone(cycle->Passes());
  }
};

class FakeEnable : public TRunEnable {
 public:
  std::vector<bool> calls;
  void EnableForRun(bool e) override { calls.push_back(e); }
};

class CycleTest : public ::testing::Test {
 protected:
  CycleTest() : qv(mot), unit(qv) {
    asker.quiet = true;
    qv.LastSwp.SetNwanted(qv.PtsPerSwp);
    TCyclePorts p;
    p.unit = &unit;
    p.displays = &displays;
    p.results = &results;
    p.logger = &logger;
    p.publisher = &publisher;
    p.status = &status;
    p.host = &host;
    p.asker = &asker;
    cycle = std::make_unique<TCycle>(qv, p);
    unit.cycle = cycle.get();
    host.cycle = cycle.get();
    // These tests count the pumps by pass: every pass that may pump does.
    cycle->SetPumpIntervalNs(0);
  }

  // Sampled mode: rectified waveform with individual samples sent, n samples per series.
  void Sampled(uint16_t n) {
    qv.VarPar.Waveform = wfRectified;
    qv.Rectif.Bsamples = true;
    qv.Rectif.Nvzoriek = n;
    qv.LastSwp.SetNwanted(n);
  }

  // A continuous stream of series of n samples, each followed by a closing non-sample frame.
  static std::function<PassFrame(int64_t)> Series(int n) {
    return [n](int64_t pass) {
      const int64_t k = (pass - 1) % (n + 1);
      if (k == n) return PassFrame{true, CwSpec()};
      const uint8_t code = k == 0 ? 1 : (k == n - 1 ? 3 : 2);
      return PassFrame{true, SampleSpec(code, uint16_t(k))};
    };
  }

  TMotState mot;
  TQvWin qv;
  FakeUnit unit;
  FakeStatus status;
  FakeDisplays displays;
  FakeLogger logger;
  FakeResults results;
  FakePublisher publisher;
  FakeHost host;
  TScriptedAsker asker;
  std::unique_ptr<TCycle> cycle;
};

// The events are pumped at the first pass of a run and then once a millisecond has passed on
// the program clock, not at every pass; every pass is told to the host.
TEST_F(CycleTest, EventsArePumpedOnceAMillisecondOnTheProgramClock) {
  auto owned = std::make_unique<ManualClock>();
  ManualClock* clock = owned.get();
  SetProgramClock(std::move(owned));
  cycle->SetPumpIntervalNs(kPumpIntervalNs);
  std::vector<int64_t> told;
  host.onPassDone = [&](int64_t pass) {
    told.push_back(pass);
    clock->AdvanceNs(400000);  // 0.4 ms a pass
    if (pass == 10) cycle->miSweepClick();
  };
  cycle->miSweepClick();
  SetProgramClock(nullptr);
  EXPECT_EQ(host.pumps, (std::vector<int64_t>{1, 4, 7}));
  EXPECT_EQ(told, (std::vector<int64_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
  EXPECT_EQ(cycle->Passes(), 10);
}

TEST_F(CycleTest, DefaultCwTimeoutIsShownAsTmout1074) {
  host.onPump = [&](int64_t) { cycle->miSweepClick(); };
  cycle->miSweepClick();
  EXPECT_EQ(qv.ContMeaTout, 1074);
  ASSERT_FALSE(status.timeouts.empty());
  EXPECT_TRUE(status.timeouts.size() >= 2);
  EXPECT_EQ(status.timeouts[status.timeouts.size() - 2], QStringLiteral("Tmout = 1074 ms"));
  EXPECT_EQ(unit.timeouts, std::vector<uint16_t>{1074});
  // Both panels are empty again after the run.
  EXPECT_EQ(status.timeout, QString());
  EXPECT_EQ(status.message, QString());
}

TEST_F(CycleTest, RunPauseEndsAfterTheNextPassOrWhenTheSweepIsFull) {
  struct Case {
    bool finish;
    int64_t pressAt;  // pass during which Run/Pause is pressed again
    int64_t endsAt;   // pass after which the loop has ended
  };
  for (const Case& c : {Case{false, 1, 1}, Case{false, 37, 37}, Case{true, 10, 101},
                        Case{true, 101, 101}, Case{true, 150, 202}}) {
    SCOPED_TRACE(::testing::Message() << "finish " << c.finish << " press " << c.pressAt);
    unit.reads = 0;
    cycle->SetFinishSweep(c.finish);
    host.onPump = [&](int64_t pass) {
      if (pass == c.pressAt) cycle->miSweepClick();
    };
    cycle->miSweepClick();
    EXPECT_FALSE(cycle->IsSweeping());
    EXPECT_EQ(cycle->Passes(), c.endsAt);
    EXPECT_EQ(qv.LastSwp.Count(), std::min<int64_t>(c.endsAt, 101));
    if (c.finish) {
      EXPECT_EQ(qv.LastSwp.Last(), 100);
    }
  }
}

TEST_F(CycleTest, StartSendsStopSendRunAndEndRestoresControls) {
  FakeEnable e1, e2;
  cycle->AddRunEnable(&e1);
  cycle->AddRunEnable(&e2);
  host.onPump = [&](int64_t pass) {
    if (pass == 3) {
      EXPECT_TRUE(cycle->IsSweeping());
      EXPECT_EQ(e1.calls, std::vector<bool>{false});
      cycle->miSweepClick();
    }
  };
  cycle->miSweepClick();
  EXPECT_EQ(unit.commands, (std::vector<std::pair<char, int>>{{'S', 0}, {'H', 1}, {'S', 1}}));
  EXPECT_EQ(unit.remembered, (std::vector<bool>{false, true, true}));
  EXPECT_EQ(unit.clears, 1);
  EXPECT_EQ(unit.counterResets, 1);
  EXPECT_EQ(e1.calls, (std::vector<bool>{false, true}));
  EXPECT_EQ(e2.calls, (std::vector<bool>{false, true}));
  EXPECT_EQ(host.hints, (std::vector<QString>{QString::fromLatin1(kHintPauseMonitor),
                                              QString::fromLatin1(kHintStartQuzar)}));
  EXPECT_EQ(host.button, (std::vector<bool>{true, false}));
  EXPECT_EQ(logger.starts, 1);
  EXPECT_EQ(logger.offs, 1);
  // Each accepted frame went to the DDE item and the results windows, and was drawn.
  EXPECT_EQ(publisher.calls, 3);
  EXPECT_EQ(results.shown, 3);
  EXPECT_EQ(displays.points, (std::vector<int32_t>{0, 1, 2}));
  EXPECT_EQ(displays.resetsAll, 1);
  EXPECT_EQ(displays.fills, 1);
  EXPECT_EQ(displays.sweepDraws, 1);
  EXPECT_NE(qv.LastSwp.Kedy, 0.0);
}

TEST_F(CycleTest, AfterTheRingWrapsTheEndDrawsTheFollowingPoint) {
  qv.LastSwp.SetNwanted(5);
  host.onPump = [&](int64_t pass) {
    if (pass == 7) cycle->miSweepClick();
  };
  cycle->miSweepClick();
  // Points 0..4, 0, 1 during the run; the point after the last written (slot 2) at the end.
  EXPECT_EQ(displays.points, (std::vector<int32_t>{0, 1, 2, 3, 4, 0, 1, 2}));
  // The full sweep marked the previous drawing once and emptied the traces to draw.
  EXPECT_EQ(displays.keeps, 1);
  EXPECT_EQ(displays.resetsPart, 1);
}

TEST_F(CycleTest, LoggingRecordsEveryStoredPointWhenOn) {
  logger.on = true;
  host.onPump = [&](int64_t pass) {
    if (pass == 4) cycle->miSweepClick();
  };
  cycle->miSweepClick();
  EXPECT_EQ(logger.records, 4);
}

TEST_F(CycleTest, LowSignalWithSuspendStoresNothingAndPurgesOnceWhenItClears) {
  cycle->SuspOnLow = true;
  unit.script = [](int64_t pass) { return PassFrame{true, CwSpec(pass <= 5 || pass == 9)}; };
  host.onPump = [&](int64_t pass) {
    if (pass == 12) cycle->miSweepClick();
  };
  cycle->miSweepClick();
  // Passes 1-5 and 9 are low: 6 of 12 stored.
  EXPECT_EQ(qv.LastSwp.Count(), 6);
  EXPECT_EQ(displays.points.size(), 6u);
  // The signal came back twice (pass 6 and pass 10), each time the input was purged once.
  EXPECT_EQ(unit.purges, 2);
  // The panel showed the message once per low period and was emptied when it cleared.
  const QString low = QString::fromLatin1(kMsgLowSignal);
  EXPECT_EQ(std::count(status.messages.begin(), status.messages.end(), low), 2);
}

TEST_F(CycleTest, LowSignalWithoutSuspendIsStoredAndNeverPurges) {
  unit.script = [](int64_t pass) { return PassFrame{true, CwSpec(pass <= 3)}; };
  host.onPump = [&](int64_t pass) {
    if (pass == 6) cycle->miSweepClick();
  };
  cycle->miSweepClick();
  EXPECT_EQ(qv.LastSwp.Count(), 6);
  EXPECT_EQ(unit.purges, 0);
  const QString low = QString::fromLatin1(kMsgLowSignal);
  EXPECT_EQ(std::count(status.messages.begin(), status.messages.end(), low), 1);
}

TEST_F(CycleTest, FirstGoodFrameClearsAnEmptyPanelOnlyOnce) {
  host.onPump = [&](int64_t pass) {
    if (pass == 5) cycle->miSweepClick();
  };
  cycle->miSweepClick();
  // Emptied once at the start, once by the first frame (no low signal) and once at the end;
  // nothing else is written.
  for (const QString& m : status.messages) EXPECT_EQ(m, QString());
  EXPECT_EQ(status.messages.size(), 3u);
}

TEST_F(CycleTest, ComTimeoutAndNoTriggerMessages) {
  // PcComErr wins over a trigger error; each is written once however long it lasts.
  unit.script = [&](int64_t pass) {
    TFrameSpec s = CwSpec();
    if (pass >= 3) s.ErrByte = kErPulsErr;
    qv.PcComErr = pass >= 6;
    return PassFrame{true, s};
  };
  host.onPump = [&](int64_t pass) {
    if (pass == 8) cycle->miSweepClick();
  };
  cycle->miSweepClick();
  const std::vector<QString> expected = {
      QString(), QString(),  // start and the first frame's clearing
      QString::fromLatin1(kMsgNoTrigger), QString::fromLatin1(kMsgComTimeout),
      QString()};  // end of run
  EXPECT_EQ(status.messages, expected);
}

TEST_F(CycleTest, SampledSeriesIgnoresFramesBeforeTheFirstSampleAndRotates) {
  Sampled(21);
  cycle->n_pretrg = 2;
  // Two stray frames of a series in progress, then a whole series and its closing frame.
  auto series = Series(21);
  unit.script = [&](int64_t pass) {
    if (pass <= 2) return PassFrame{true, SampleSpec(2, uint16_t(7 + pass))};
    return series(pass - 2);
  };
  host.onPump = [&](int64_t pass) {
    if (pass == 24) cycle->miSweepClick();
  };
  cycle->miSweepClick();
  EXPECT_EQ(unit.commands.back(), (std::pair<char, int>{'S', kRunActRun}));
  // The ignored frames are sample frames of a series in progress: no events are pumped on
  // them nor inside the series, only after the series' closing frame.
  EXPECT_EQ(host.pumps, (std::vector<int64_t>{24}));
  EXPECT_EQ(status.max, 21);
  ASSERT_EQ(qv.LastSwp.Count(), 21);
  // Rotated: the last two samples (indexes 19, 20) come first.
  THresults r;
  uint16_t nmo = 0;
  TMotState m;
  ASSERT_TRUE(DekodMerData(qv.LastSwp.Frame(0), r, m, 0.0, nmo));
  EXPECT_EQ(r.jx, 19);
  ASSERT_TRUE(DekodMerData(qv.LastSwp.Frame(2), r, m, 0.0, nmo));
  EXPECT_EQ(r.jx, 0);
  EXPECT_EQ(displays.fills, 2);  // the complete series, then the end of the run
  EXPECT_EQ(displays.lastFillCount, 21);
  EXPECT_FALSE(status.red);
  // Only the closing frame is a result for the numeric windows.
  EXPECT_EQ(results.shown, 1);
}

TEST_F(CycleTest, SingleShotEndsByItselfAfterOneSeries) {
  Sampled(21);
  host.singleShot = true;
  unit.script = Series(21);
  cycle->miSweepClick();
  EXPECT_EQ(unit.commands.back(), (std::pair<char, int>{'S', kRunActSingleSeries}));
  EXPECT_EQ(cycle->Passes(), 22);
  EXPECT_EQ(qv.LastSwp.Count(), 21);
  EXPECT_TRUE(host.pumps.empty());
}

TEST_F(CycleTest, SkippedSampleIndexTurnsTheBarRedUntilTheNextSeries) {
  Sampled(21);
  auto series = Series(21);
  unit.script = [&](int64_t pass) {
    PassFrame f = series(pass);
    if (pass == 6) f.fspec.SampleIndex = 6;  // index 5 lost
    return f;
  };
  std::vector<bool> redAtPass;
  host.onPump = [&](int64_t pass) {
    redAtPass.push_back(status.red);
    if (pass == 44) cycle->miSweepClick();
  };
  cycle->miSweepClick();
  // Pumps come after each closing frame (passes 22 and 44): red after the first series, normal
  // after the second.
  EXPECT_EQ(host.pumps, (std::vector<int64_t>{22, 44}));
  EXPECT_EQ(redAtPass, (std::vector<bool>{true, false}));
  EXPECT_FALSE(status.red);
  EXPECT_EQ(status.pos, 0);
}

TEST_F(CycleTest, StopInTheMiddleOfASeriesLeavesAnEmptySweep) {
  Sampled(21);
  auto series = Series(21);
  // A complete series first, then a lost frame in the middle of the second one.
  unit.script = [&](int64_t pass) {
    if (pass == 30) return PassFrame{false, {}};
    return series(pass);
  };
  host.onPump = [&](int64_t pass) {
    if (pass == 30) cycle->QvStop1Click();
  };
  cycle->miSweepClick();
  EXPECT_EQ(cycle->Passes(), 30);
  EXPECT_EQ(qv.LastSwp.Count(), 0);
  EXPECT_EQ(unit.stops, 1);
  const auto notices = asker.Records(TAskRecord::Notice);
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].text, QString::fromLatin1(kMsgStopOk));
}

TEST_F(CycleTest, SampledRunWithLoggingArmedCancelsLogging) {
  Sampled(21);
  logger.armed = true;
  host.onPump = [&](int64_t) { cycle->miSweepClick(); };
  cycle->miSweepClick();
  EXPECT_EQ(logger.cancels, 1);
  EXPECT_EQ(logger.starts, 0);
  const auto msgs = asker.Records(TAskRecord::Message);
  ASSERT_EQ(msgs.size(), 1u);
  EXPECT_EQ(msgs[0].text, QString::fromLatin1(kMsgLogWithSamples));
  EXPECT_FALSE(cycle->IsSweeping());
}

// The runs below never ended before: the fake unit requests a close after 100000 passes and
// marks the run as hung.
TEST_F(CycleTest, FinishSweepInSampledModeEndsAfterTheSeries) {
  Sampled(21);
  unit.script = Series(21);
  cycle->SetFinishSweep(true);
  host.onPump = [&](int64_t pass) {
    if (pass == 22) cycle->miSweepClick();
  };
  cycle->miSweepClick();
  EXPECT_FALSE(unit.hung);
  EXPECT_EQ(cycle->Passes(), 22);
  EXPECT_EQ(qv.LastSwp.Count(), 21);
}

TEST_F(CycleTest, FinishSweepWithNothingStoredCanStillBeEnded) {
  enum How { Uncheck, Stop };
  struct Case {
    const char* name;
    bool received;
    bool low;
    How how;
  };
  for (const Case& c :
       {Case{"low, uncheck", true, true, Uncheck}, Case{"low, stop", true, true, Stop},
        Case{"no frames, uncheck", false, false, Uncheck},
        Case{"no frames, stop", false, false, Stop}}) {
    SCOPED_TRACE(c.name);
    unit.reads = 0;
    unit.hung = false;
    cycle->SuspOnLow = true;
    cycle->SetFinishSweep(true);
    unit.script = [&](int64_t) { return PassFrame{c.received, CwSpec(c.low)}; };
    host.onPump = [&](int64_t pass) {
      if (pass == 5) cycle->miSweepClick();
      if (pass == 40) {
        if (c.how == Uncheck)
          cycle->miFinishSwpClick();
        else
          cycle->QvStop1Click();
      }
    };
    cycle->miSweepClick();
    EXPECT_FALSE(unit.hung);
    EXPECT_EQ(cycle->Passes(), 40);
    EXPECT_EQ(qv.LastSwp.Count(), 0);
  }
}

TEST_F(CycleTest, CloseDuringARunWithFinishSweepEndsAfterThePassAndPumpsNoMore) {
  cycle->SetFinishSweep(true);
  host.onPump = [&](int64_t pass) {
    if (pass == 10) cycle->RequestClose();
  };
  cycle->miSweepClick();
  EXPECT_FALSE(unit.hung);
  EXPECT_EQ(cycle->Passes(), 10);
  EXPECT_EQ(host.pumps.back(), 10);
  EXPECT_TRUE(cycle->CloseRequested());
  EXPECT_FALSE(cycle->IsSweeping());
}

TEST_F(CycleTest, MotorOnlyFramesCountAsAcceptedButAreNotStored) {
  unit.script = [](int64_t pass) {
    TFrameSpec s = CwSpec();
    if (pass % 2 == 0) s.Meas = false;
    return PassFrame{true, s};
  };
  host.onPump = [&](int64_t pass) {
    if (pass == 6) cycle->miSweepClick();
  };
  cycle->miSweepClick();
  EXPECT_EQ(cycle->AcceptedFrames(), 6);
  EXPECT_EQ(qv.LastSwp.Count(), 3);
}

// The program's own unit over the command layer: with the frame source taken away, no pass
// finds a frame, so the cycle accepts none and the sweep stays empty; with it back, every pass
// does.
TEST(CycleOverTheCommandLayer, AcceptsNoFrameWithoutAFrameSource) {
  TSimCore core(true);
  TScriptedAsker asker;
  asker.quiet = true;
  struct PassHost : TCycleHost {
    TCycle* cycle = nullptr;
    int64_t endAt = 0;
    void Pump() override {}
    void PassDone() override {
      if (cycle->Passes() == endAt) cycle->miSweepClick();
    }
  } host;
  host.cycle = &core.Cycle;
  TCyclePorts p = core.Cycle.Ports();
  p.host = &host;
  p.asker = &asker;
  core.Cycle.SetPorts(p);
  core.Qv.LastSwp.SetNwanted(core.Qv.PtsPerSwp);  // as the unit's start sets it
  struct Case {
    bool withSource;
    int64_t accepted;
  };
  for (const Case& c : {Case{false, 0}, Case{true, 20}}) {
    SCOPED_TRACE(c.withSource);
    core.Cmd.SetFrameSource(c.withSource ? &core.Source : nullptr);
    host.endAt = 20;
    core.Cycle.miSweepClick();
    EXPECT_EQ(core.Cycle.Passes(), 20);
    EXPECT_EQ(core.Cycle.AcceptedFrames(), c.accepted);
    EXPECT_EQ(core.Qv.LastSwp.Count(), c.accepted);
  }
}

// Every accepted frame takes the next number of one count that runs on over runs, a blanked
// sweep and frames that are not stored, and the number of its run; its receive time is the run
// clock's when it was read.
TEST_F(CycleTest, StoredFramesAreStampedWithTheProgramWideCountAndReceiveTime) {
  auto manual = std::make_unique<ManualClock>(0, 0);
  ManualClock& m = *manual;
  SetProgramClock(std::move(manual));
  SetProgramRunClock(std::make_unique<RunClock>(1'000'000));
  unit.script = [&m](int64_t pass) {
    m.AdvanceMs(10);  // each frame arrives 10 ms after the one before
    TFrameSpec s = CwSpec();
    if (pass == 3) s.Meas = false;  // accepted, not stored
    return PassFrame{true, s};
  };
  qv.LastSwp.SetNwanted(4);
  logger.on = true;
  host.onPump = [&](int64_t pass) {
    if (pass == 5) cycle->miSweepClick();
  };
  cycle->miSweepClick();
  // Frames 1, 2, 4, 5 stored (3 had no measurement block); the ring keeps 4 of them.
  const TOneSweep& swp = qv.LastSwp;
  ASSERT_EQ(swp.Count(), 4);
  const std::vector<TSwpStamp> want = {
      {1, 1'000'010, 1}, {2, 1'000'020, 1}, {4, 1'000'040, 1}, {5, 1'000'050, 1}};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(swp.Stamp(i), want[size_t(i)]) << i;
  EXPECT_EQ(logger.stamps, want);
  // A new run after Blank All goes on counting.
  qv.LastSwp.Clear();
  unit.reads = 0;
  host.onPump = [&](int64_t pass) {
    if (pass == 2) cycle->miSweepClick();
  };
  cycle->miSweepClick();
  EXPECT_EQ(cycle->AcceptedFrames(), 2);
  EXPECT_EQ(qv.FramesAccepted(), 7);
  EXPECT_EQ(swp.Stamp(0).frame, 6);
  EXPECT_EQ(swp.Stamp(1).frame, 7);
  EXPECT_EQ(swp.Stamp(1).run, 2u);
  EXPECT_LT(swp.Stamp(0).utcMs, swp.Stamp(1).utcMs);
  // Between runs none is in progress; the last accepted frame is kept with its stamp.
  EXPECT_EQ(qv.CurrentRun(), 0u);
  EXPECT_EQ(qv.RunsBegun(), 2u);
  EXPECT_EQ(qv.LastAcceptedStamp(), swp.Stamp(1));
  EXPECT_EQ(qv.LastAcceptedFrame(), swp.Frame(1));
  SetProgramRunClock(nullptr);
  SetProgramClock(nullptr);
}

}  // namespace
}  // namespace qz
