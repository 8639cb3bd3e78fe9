#pragma once
// The command layer as the window and setup tests see it: every operation a window calls is a
// mock that, unless a test says otherwise, does what the real layer does (its local effect and
// result 0). A test makes an operation refuse, or checks that it was called, with the usual
// expectations:
//
//   ::testing::NiceMock<TFakeQzCmd> cmd(qv, sim);
//   EXPECT_CALL(cmd, SetAveraging(10, 8)).WillOnce(::testing::Return(kErrTimeout));
//
// NiceMock keeps calls the test does not name quiet; StrictMock makes them failures.

#include <gmock/gmock.h>

#include <span>
#include <utility>

#include "comm/qzcmd.h"

namespace qz::testing {

// The real operation, as the default action of its mock.
#define QZ_FAKE_DELEGATE(op)        \
  ON_CALL(*this, op).WillByDefault( \
      [this](auto&&... a) { return TQzCmd::op(std::forward<decltype(a)>(a)...); })

class TFakeQzCmd : public TQzCmd {
 public:
  TFakeQzCmd(TQvWin& qv, TSimState& sim, TFrameSource* source = nullptr) : TQzCmd(qv, sim, source) {
    QZ_FAKE_DELEGATE(StartStop);
    QZ_FAKE_DELEGATE(StartStopAll);
    QZ_FAKE_DELEGATE(SendHush);
    QZ_FAKE_DELEGATE(UnitStartStop);
    QZ_FAKE_DELEGATE(UnitSendHush);
    QZ_FAKE_DELEGATE(StopUnit);
    QZ_FAKE_DELEGATE(ReadRunStates);
    QZ_FAKE_DELEGATE(SendCmd);
    QZ_FAKE_DELEGATE(SendCmdStopped);
    QZ_FAKE_DELEGATE(CodeRead);
    QZ_FAKE_DELEGATE(SetSampling);
    QZ_FAKE_DELEGATE(SwitchWaveform);
    QZ_FAKE_DELEGATE(SetAveraging);
    QZ_FAKE_DELEGATE(SetCounter);
    QZ_FAKE_DELEGATE(SetFreqParam);
    QZ_FAKE_DELEGATE(SetMeaStp);
    QZ_FAKE_DELEGATE(ReadMeaStp);
    QZ_FAKE_DELEGATE(SetMotRefresh);
    QZ_FAKE_DELEGATE(SetPowCalFactor);
    QZ_FAKE_DELEGATE(SetFreqOnly);
    QZ_FAKE_DELEGATE(AutotuneOnOff);
    QZ_FAKE_DELEGATE(ReadAutotuneState);
    QZ_FAKE_DELEGATE(SetAutotuneParams);
    QZ_FAKE_DELEGATE(ReadAutotuneParams);
    QZ_FAKE_DELEGATE(SingleTune);
    QZ_FAKE_DELEGATE(MoveStubs);
    QZ_FAKE_DELEGATE(ResetStubs);
    QZ_FAKE_DELEGATE(ReadMotStatus);
    QZ_FAKE_DELEGATE(SetSendTunePos);
    QZ_FAKE_DELEGATE(SetHysteresis);
    QZ_FAKE_DELEGATE(TuneStartStop);
    QZ_FAKE_DELEGATE(TunerReadOut);
    QZ_FAKE_DELEGATE(Ping);
    QZ_FAKE_DELEGATE(ServerControl);
    QZ_FAKE_DELEGATE(ReadCardDescr);
    QZ_FAKE_DELEGATE(ReadChanSetup);
    QZ_FAKE_DELEGATE(SendFile);
    QZ_FAKE_DELEGATE(ReceiveFile);
    QZ_FAKE_DELEGATE(ShowCmdResult);
  }

  MOCK_METHOD(int32_t, StartStop, (bool, uint8_t, int32_t, bool), (override));
  MOCK_METHOD(int32_t, StartStopAll, (bool, uint8_t, int32_t, bool), (override));
  MOCK_METHOD(int32_t, SendHush, (bool, uint8_t, int32_t, bool), (override));
  MOCK_METHOD(int32_t, UnitStartStop, (int, uint8_t, int32_t, bool), (override));
  MOCK_METHOD(int32_t, UnitSendHush, (int, uint8_t, int32_t, bool), (override));
  MOCK_METHOD(bool, StopUnit, (), (override));
  MOCK_METHOD(int32_t, ReadRunStates, (uint8_t&, uint8_t&), (override));
  MOCK_METHOD(int32_t, SendCmd, (uint8_t, const QString&, int, int32_t, QString*), (override));
  MOCK_METHOD(int32_t, SendCmdStopped, (uint8_t, const QString&, int, int32_t, QString*),
              (override));
  MOCK_METHOD(int32_t, CodeRead, (uint8_t, std::span<uint8_t>), (override));
  MOCK_METHOD(int32_t, SetSampling, (), (override));
  MOCK_METHOD(int32_t, SwitchWaveform, (const TVarPar&, bool, int32_t), (override));
  MOCK_METHOD(int32_t, SetAveraging, (int32_t, int32_t), (override));
  MOCK_METHOD(int32_t, SetCounter, (int32_t, uint8_t), (override));
  MOCK_METHOD(int32_t, SetFreqParam, (uint8_t, int32_t), (override));
  MOCK_METHOD(int32_t, SetMeaStp, (const TMeaStp&), (override));
  MOCK_METHOD(int32_t, ReadMeaStp, (), (override));
  MOCK_METHOD(int32_t, SetMotRefresh, (uint16_t), (override));
  MOCK_METHOD(int32_t, SetPowCalFactor, (uint8_t), (override));
  MOCK_METHOD(int32_t, SetFreqOnly, (bool, bool&), (override));
  MOCK_METHOD(int32_t, AutotuneOnOff, (uint8_t), (override));
  MOCK_METHOD(int32_t, ReadAutotuneState, (), (override));
  MOCK_METHOD(int32_t, SetAutotuneParams, (), (override));
  MOCK_METHOD(int32_t, ReadAutotuneParams, (), (override));
  MOCK_METHOD(int32_t, SingleTune, (), (override));
  MOCK_METHOD(int32_t, MoveStubs, (), (override));
  MOCK_METHOD(int32_t, ResetStubs, (), (override));
  MOCK_METHOD(int32_t, ReadMotStatus, (), (override));
  MOCK_METHOD(int32_t, SetSendTunePos, (bool), (override));
  MOCK_METHOD(int32_t, SetHysteresis, (uint8_t), (override));
  MOCK_METHOD(int32_t, TuneStartStop, (uint8_t), (override));
  MOCK_METHOD(int32_t, TunerReadOut, (), (override));
  MOCK_METHOD(int32_t, Ping, (uint8_t), (override));
  MOCK_METHOD(int32_t, ServerControl, (uint8_t), (override));
  MOCK_METHOD(int32_t, ReadCardDescr, (), (override));
  MOCK_METHOD(int32_t, ReadChanSetup, (), (override));
  MOCK_METHOD(int32_t, SendFile, (const QString&, const QString&), (override));
  MOCK_METHOD(int32_t, ReceiveFile, (const QString&, const QString&), (override));
  MOCK_METHOD(void, ShowCmdResult, (const QString&, int32_t), (override));
};

#undef QZ_FAKE_DELEGATE

}  // namespace qz::testing