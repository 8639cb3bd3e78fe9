// The shared stand-in of the command layer: by default it does what the layer does; a test
// makes single operations refuse. Reading a setup sends every setting even when one of them is
// refused, since each outcome only goes to the common report.
#include "common/fakeqzcmd.h"

#include <gtest/gtest.h>

#include "comm/qzcmdsync.h"
#include "core/qvwin.h"
#include "util/inifile.h"

namespace qz {
namespace {

using ::testing::_;
using ::testing::NiceMock;
using ::testing::Return;
using testing::TFakeQzCmd;

constexpr int32_t kRefused = 5;

struct CmdRig {
  TMotState mot;
  TQvWin qv{mot};
  TSimState sim;
  NiceMock<TFakeQzCmd> cmd{qv, sim};
  CmdRig() { qv.SetDefaults(); }
};

TEST(FakeQzCmd, DefaultsAreTheLayersOwnLocalEffects) {
  CmdRig r;
  r.mot.TargPos = MakeMotPos(10, 20, 30);
  EXPECT_EQ(r.cmd.MoveStubs(), kCmdOk);
  EXPECT_EQ(r.mot.ActPos, MakeMotPos(10, 20, 30));
  EXPECT_EQ(r.cmd.SetAveraging(5000, 0), kCmdOk);
  EXPECT_EQ(r.qv.VarPar.Vrpt, 4095);  // limited as the layer limits it
  EXPECT_EQ(r.qv.VarPar.Trpt, 1);
}

TEST(FakeQzCmd, ARefusedCommandKeepsTheOthersOfASetupRead) {
  CmdRig r;
  TQzCmdSync sync(r.cmd);
  IniFile ini;
  ini.SetText("[QvTuStp1]\r\nVrpt=10\r\nTrpt=8\r\n");
  {
    ::testing::InSequence order;
    EXPECT_CALL(r.cmd, StopUnit());
    EXPECT_CALL(r.cmd, SetSampling());
    EXPECT_CALL(r.cmd, SetFreqParam(kFreqDelta, _));
    EXPECT_CALL(r.cmd, SetCounter(_, _));
    EXPECT_CALL(r.cmd, SetFreqParam(kFreqSubst, _));
    EXPECT_CALL(r.cmd, SetFreqParam(kFreqSamplCw, _));
    EXPECT_CALL(r.cmd, SetAveraging(10, 8)).WillOnce(Return(kRefused));
    EXPECT_CALL(r.cmd, SetMotRefresh(_));
    EXPECT_CALL(r.cmd, SetAutotuneParams());
    EXPECT_CALL(r.cmd, AutotuneOnOff(_));
    EXPECT_CALL(r.cmd, SetSendTunePos(_));
  }
  r.qv.ReadStp(1, ini, &sync);
}

}  // namespace
}  // namespace qz
