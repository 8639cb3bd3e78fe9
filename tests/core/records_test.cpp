// The packed trigger word and the measurement setup record's wire form.
#include "core/records.h"

#include <gtest/gtest.h>

namespace qz {
namespace {

TEST(TrgMethAccLvl, DefaultWordUnpacks) {
  const TVarPar v;
  EXPECT_EQ(RectAccLvlOf(v.TrgMeth_AccLvl), 25);
  EXPECT_EQ(PulsAccLvlOf(v.TrgMeth_AccLvl), 50);
  EXPECT_EQ(TrgMethodOf(v.TrgMeth_AccLvl), 0);
}

TEST(TrgMethAccLvl, SettingAPartLimitsItAndKeepsTheOthers) {
  struct Case {
    int which;  // 0 method, 1 rectified, 2 pulsed
    int value, method, rect, puls;
  } cases[] = {
      {0, 1, 1, 25, 50},    {0, 2, 2, 25, 50},    {0, 3, 2, 25, 50}, {0, -1, 0, 25, 50},
      {1, 100, 0, 100, 50}, {1, 127, 0, 100, 50}, {1, -5, 0, 0, 50}, {2, 0, 0, 25, 0},
      {2, 101, 0, 25, 100}, {2, 77, 0, 25, 77},
  };
  for (const auto& c : cases) {
    uint16_t w = 6425;
    if (c.which == 0) w = WithTrgMethod(w, c.value);
    if (c.which == 1) w = WithRectAccLvl(w, c.value);
    if (c.which == 2) w = WithPulsAccLvl(w, c.value);
    EXPECT_EQ(TrgMethodOf(w), c.method) << c.which << " " << c.value;
    EXPECT_EQ(RectAccLvlOf(w), c.rect) << c.which << " " << c.value;
    EXPECT_EQ(PulsAccLvlOf(w), c.puls) << c.which << " " << c.value;
  }
  EXPECT_EQ(WithTrgMethod(WithPulsAccLvl(WithRectAccLvl(0, 25), 50), 0), 6425);
  EXPECT_EQ(WithTrgMethod(0, 2), 0x8000);
}

TEST(TMeaStp, FifteenLittleEndianBytes) {
  TMeaStp m;
  m.OnPeriod_ms = 0x1234;
  m.OfsPeriod_s = 3600;
  m.TxPeriod_ms = 65535;
  m.OnRnge = -1;
  m.OfsRnge = 7;
  m.OfsEqualOn = false;
  m.AkoOnOff = 1;
  const TMeaStpBytes b = MeaStpToBytes(m);
  EXPECT_EQ(b[0], 0x34);
  EXPECT_EQ(b[1], 0x12);
  EXPECT_EQ(b[2], 0x10);
  EXPECT_EQ(b[3], 0x0E);
  EXPECT_EQ(b[8], 0xFF);
  EXPECT_EQ(b[9], 0xFF);
  EXPECT_EQ(b[10], 7);
  EXPECT_EQ(b[11], 0xFF);
  EXPECT_EQ(b[12], 7);
  EXPECT_EQ(b[13], 0);
  EXPECT_EQ(b[14], 1);
  EXPECT_EQ(MeaStpFromBytes(b), m);
  EXPECT_EQ(MeaStpFromBytes(MeaStpToBytes(TMeaStp{})), TMeaStp{});
}

TEST(TMotState, AutotuneDefaultsKeepOnFlagAndHysteresis) {
  TMotState m;
  m.AtOn = true;
  m.Toler_mU = 300;
  m.Skip = 9;
  m.Delay5b = 31;
  m.Smooth = 200;
  m.WaitRF = false;
  m.Targ_mU = 100;
  m.HystDg = 40;
  SetAutotuneDefaults(m);
  EXPECT_TRUE(m.AtOn);
  EXPECT_EQ(m.Toler_mU, 25);
  EXPECT_EQ(m.Skip, 1);
  EXPECT_EQ(m.Delay5b, 0);
  EXPECT_EQ(m.Smooth, 1);
  EXPECT_TRUE(m.WaitRF);
  EXPECT_EQ(m.Targ_mU, 0);
  EXPECT_EQ(m.HystDg, 40);
}

TEST(TIndexedArray, OneBasedIndexing) {
  TMotPos p = MakeMotPos(10, 20, 30);
  EXPECT_EQ(p[1], 10);
  EXPECT_EQ(p[3], 30);
  EXPECT_EQ(p.v[0], 10);
  TRflKanD v;
  v[4] = 2.5;
  EXPECT_EQ(v.v[3], 2.5);
  EXPECT_EQ(TStatusAll::size(), 20);
}

}  // namespace
}  // namespace qz
