#pragma once
// The remote control's port as a mock: the state queries answer what the test sets, and every
// command the control may carry out is counted in `actions`, so a test can tell that a refused
// call changed nothing.
//
//   ::testing::NiceMock<TFakeControlPort> port;
//   port.running = true;
//   TControl c(port);
//   EXPECT_EQ(c.LoadSetup("x").error, "busy: running");
//   EXPECT_EQ(port.actions, 0);

#include <gmock/gmock.h>

#include "app/control.h"

namespace qz::testing {

class TFakeControlPort : public TControlPort {
 public:
  bool dialog = false;
  bool running = false;
  bool finish = false;
  bool tuner = true;
  int actions = 0;
  TMdlEntries entries;

  TFakeControlPort() {
    using ::testing::_;
    using ::testing::Return;
    ON_CALL(*this, DialogOpen()).WillByDefault([this] { return dialog; });
    ON_CALL(*this, Running()).WillByDefault([this] { return running; });
    ON_CALL(*this, FinishSweep()).WillByDefault([this] { return finish; });
    ON_CALL(*this, HasTuner()).WillByDefault([this] { return tuner; });
    ON_CALL(*this, ModelEntries()).WillByDefault([this] { return entries; });
    ON_CALL(*this, NominalFreqHz()).WillByDefault(Return(2.45e9));
    ON_CALL(*this, MaxSteps()).WillByDefault(Return(3000));
    ON_CALL(*this, StepMm()).WillByDefault(Return(0.01));
    ON_CALL(*this, RunPause()).WillByDefault([this] { ++actions; });
    ON_CALL(*this, StopUnit()).WillByDefault([this] { ++actions; });
    ON_CALL(*this, ToggleFinishSweep()).WillByDefault([this] {
      ++actions;
      finish = !finish;
    });
    ON_CALL(*this, LoadSetup(_, _, _)).WillByDefault([this] {
      ++actions;
      return true;
    });
    ON_CALL(*this, SaveSetup(_, _, _)).WillByDefault([this] {
      ++actions;
      return true;
    });
    ON_CALL(*this, SaveResults(_, _, _)).WillByDefault([this] {
      ++actions;
      return true;
    });
    ON_CALL(*this, SaveResultsCsv(_, _, _)).WillByDefault([this] {
      ++actions;
      return true;
    });
    ON_CALL(*this, EditModel(_)).WillByDefault([this] { ++actions; });
    ON_CALL(*this, SingleTune()).WillByDefault([this] {
      ++actions;
      return 0;
    });
    ON_CALL(*this, MoveStubs(_)).WillByDefault([this] {
      ++actions;
      return 0;
    });
    ON_CALL(*this, Quit(_)).WillByDefault([this] { ++actions; });
  }

  MOCK_METHOD(bool, DialogOpen, (), (const, override));
  MOCK_METHOD(bool, Running, (), (const, override));
  MOCK_METHOD(bool, ScenarioPlaying, (), (const, override));
  MOCK_METHOD(int64_t, FramesAccepted, (), (const, override));
  MOCK_METHOD(void, RunPause, (), (override));
  MOCK_METHOD(void, StopUnit, (), (override));
  MOCK_METHOD(bool, FinishSweep, (), (const, override));
  MOCK_METHOD(void, ToggleFinishSweep, (), (override));
  MOCK_METHOD(bool, LoadSetup, (const QString&, QString&, QString&), (override));
  MOCK_METHOD(bool, SaveSetup, (const QString&, const QString&, QString&), (override));
  MOCK_METHOD(bool, SaveResults, (const QString&, const QString&, QString&), (override));
  MOCK_METHOD(bool, SaveResultsCsv, (const QString&, const QString&, QString&), (override));
  MOCK_METHOD(TMdlEntries, ModelEntries, (), (override));
  MOCK_METHOD(double, NominalFreqHz, (), (const, override));
  MOCK_METHOD(void, EditModel, (const std::function<void(TMdlPresenter&)>&), (override));
  MOCK_METHOD(bool, HasTuner, (), (const, override));
  MOCK_METHOD(int32_t, SingleTune, (), (override));
  MOCK_METHOD(QString, TuneOutcomeText, (), (const, override));
  MOCK_METHOD(int32_t, MoveStubs, ((const std::array<int, 3>&)), (override));
  MOCK_METHOD(int, MaxSteps, (), (const, override));
  MOCK_METHOD(double, StepMm, (), (const, override));
  MOCK_METHOD(void, Quit, (bool), (override));
  MOCK_METHOD(QString, RunningLogPath, (), (const, override));
  MOCK_METHOD(const TQvWin*, Analyzer, (), (const, override));
  MOCK_METHOD(double, MmPerStep, (), (const, override));
};

}  // namespace qz::testing
