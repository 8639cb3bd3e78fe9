// The wire forms of the unit's commands, as the debug log shows them.
#include "comm/wireforms.h"

#include <gtest/gtest.h>

namespace qz {
namespace {

TEST(WireForms, TextCommandsAreExact) {
  TMotState m;
  m.Toler_mU = 25;
  m.Skip = 1;
  m.Smooth = 4;
  m.WaitRF = true;
  m.Targ_mU = 100;
  m.Delay5b = 31;
  TMeaStp mstp;  // 0 30 0 30 1000 7 -1 3 1 2
  const struct {
    TWire got;
    const char* text;
  } cases[] = {
      {WireSrs(2, 1), "SRS 2 1\n\r"},
      {WireAveraging(201, 8), "AVR 201 8\n\r"},
      {WireCounter(20000, 1), "XXX 20000 1\r\n"},
      {WireMotRefresh(1000), "XXX 1000\r\n"},
      {WireSwitchWaveform(2), "SIG 2\r\n"},
      {WireReadMeaStp(), "HRO 4\r\n"},
      {WireMeaStp(mstp), "HSO 0 30 0 30 1000 7 -1 3 1 2\r\n"},
      {WirePowCal(1.0, 1), "PCR 1 1\r\n"},
      {WireAutotuneOnOff(1), "ATC 1\r\n"},
      {WireAutotuneState(true), "ATC T\r\n"},
      {WireAutotuneState(false), "ATC F\r\n"},
      {WireAutotuneParams(m), "ATP 25 1 4 W 100 31\r\n"},
      {WireReadAutotuneParams(), "ATP READ\r\n"},
      {WireSingleTune(), "ATC S\r\n"},
      {WireMoveStubs(MakeMotPos(100, 2000, 30000)), "MPO   100  2000 30000\r\n"},
      {WireTuneStartStop(5), "TSO 1 5\r\n"},
      {WireTunerReadOut(), "TRO 1\r\n"},
      {WirePing(1), "PNG 1\r\n"},
      {WireServerControl(16), "RSS 16\r\n"},
      {WireConnectionCheck(), "The Quick Brown Fox"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.got.Text, QString::fromLatin1(c.text));
    EXPECT_EQ(c.got.Code, -1) << c.text;
  }
}

TEST(WireForms, ControlBytes) {
  EXPECT_EQ(WireStartStop(0).Code, 18);
  EXPECT_EQ(WireStartStop(1).Code, 17);
  EXPECT_EQ(WireStartStop(3).Code, 12);
  EXPECT_EQ(WireStartStop(2).Code, -1);
  EXPECT_EQ(WireResetStubs().Code, 69);
  EXPECT_EQ(WireServerControl(80).Code, 80);
  EXPECT_TRUE(WireServerControl(80).Text.isEmpty());
  for (int sub : {14, 19, 34, 96, 97, 98}) {
    EXPECT_EQ(WireServerControl(sub).Code, 34) << sub;
    EXPECT_TRUE(WireServerControl(sub).Text.isEmpty());
  }
  const TWire f = WireFreqParam(7, 2450000);
  EXPECT_EQ(f.Code, 7);
  EXPECT_EQ(f.Text, QStringLiteral("FRE 2450000\r\n"));
}

TEST(WireForms, SamplingCarriesTheWaveformsFields) {
  TVarPar vp;
  vp.TrgMeth_AccLvl = 6425;
  vp.MinMaxTrgLvl = 50;
  TRectif r;
  r.RippleFreq = 50;
  r.Periods = 2;
  r.Nvzoriek = 301;
  r.TcntUs = 2992;
  r.Bsamples = true;
  TPulsed p;
  p.TsamplUs = 1000;
  p.TmaxMs = 100;
  p.Nvzoriek = 201;
  p.TcntUs = 32;
  p.Bsamples = false;
  EXPECT_EQ(WireSampling(wfRectified, vp, r, p).Text,
            QStringLiteral("SIG 1 6425 50 50 2 301 2992 1\r\n"));
  EXPECT_EQ(WireSampling(wfPulsed, vp, r, p).Text,
            QStringLiteral("SIG 2 6425 50 1000 100 201 32 0\r\n"));
  EXPECT_EQ(WireSampling(wfCW, vp, r, p).Text, QStringLiteral("SIG 0 6425 50\r\n"));
}

TEST(WireForms, LogTextShowsControlCharacters) {
  EXPECT_EQ(WireLogText(WireStartStop(1)), QStringLiteral("<17>"));
  EXPECT_EQ(WireLogText(WireSrs(0, 1)), QStringLiteral("SRS 0 1\\n\\r"));
  EXPECT_EQ(WireLogText(WireFreqParam(75, 10000)), QStringLiteral("<75>FRE 10000\\r\\n"));
  EXPECT_EQ(WireLogText(TWire{-1, QStringLiteral("a\tb")}), QStringLiteral("a<9>b"));
}

}  // namespace
}  // namespace qz
