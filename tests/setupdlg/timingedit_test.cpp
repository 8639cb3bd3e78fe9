// The TX timing dialog and the measurement setup window without their windows: captions, entry
// corrections, range items, defaults, sampling labels and the commands of both Applies.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/fakeqzcmd.h"
#include "core/qvwin.h"
#include "setupdlg/mstpedit.h"
#include "setupdlg/txtimingedit.h"

namespace qz {
namespace {

using ::testing::_;
using ::testing::InSequence;
using ::testing::NiceMock;
using testing::TFakeQzCmd;

struct CmdRig {
  TMotState mot;
  TQvWin qv{mot};
  TSimState sim;
  NiceMock<TFakeQzCmd> cmd{qv, sim};
};

TEST(TimingCaptions, MaskCaptionsOfBothWindows) {
  struct Case {
    uint8_t mask;
    const char* tx;
    const char* mstp;
  } cases[] = {
      {7, "SEND EVENT MASK:  7 = 0000 0111", "SEND EVENT MASK: 7=00000111"},
      {0, "SEND EVENT MASK:  0 = 0000 0000", "SEND EVENT MASK: 0=00000000"},
      // Only bits 0..2 are shown.
      {0xFD, "SEND EVENT MASK:  5 = 0000 0101", "SEND EVENT MASK: 5=00000101"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TxMaskCaption(c.mask), c.tx);
    EXPECT_EQ(MstpMaskCaption(c.mask), c.mstp);
  }
}

TEST(TxTimingEdit, EntriesKeepOrClamp) {
  struct Case {
    const char* text;
    int32_t expect;
  } cases[] = {{"", 123}, {"abc", 123}, {"70000", 65535}, {"-5", 0}, {" 42 ", 42}, {"4.5", 123}};
  for (const Case& c : cases) {
    TTxTimingEdit e;
    e.Mstp.OnPeriod_ms = 123;
    TTxTimingView v = e.View();
    v.onPeriod = c.text;
    e.ReadEntries(v);
    EXPECT_EQ(e.Mstp.OnPeriod_ms, c.expect) << c.text;
  }
}

TEST(TxTimingEdit, DefaultsAndApplySequence) {
  CmdRig r;
  r.qv.MstpCW.TxMask = 0xFF;
  r.qv.MstpCW.OnPeriod_ms = 9;
  r.qv.MotRefreshMs = 250;
  TTxTimingEdit e;
  e.PrevezmiNapln(r.qv);
  e.Defaults();
  const TTxTimingView v = e.View();
  EXPECT_EQ(v, (TTxTimingView{"0", "0", "1000", true, true, true}));

  TMeaStp sent;
  {
    InSequence seq;
    EXPECT_CALL(r.cmd, SetMeaStp(_)).WillOnce([&](const TMeaStp& m) {
      sent = m;
      return r.cmd.TQzCmd::SetMeaStp(m);
    });
    EXPECT_CALL(r.cmd, ReadMeaStp());
    EXPECT_CALL(r.cmd, SetMotRefresh(1000));
  }
  TTxTimingView edited = v;
  edited.resultsRefresh = false;
  e.Apply(r.cmd, edited);
  // Bits 3..7 are cleared; the copies show what is in force afterwards.
  EXPECT_EQ(sent.TxMask, 5);
  EXPECT_EQ(r.qv.MstpCW.TxMask, 5);
  EXPECT_EQ(e.MotPer, 1000);
  EXPECT_EQ(e.View().motPeriod, "1000");
}

TEST(MstpEdit, RangeItemsAndDefaults) {
  struct Case {
    int8_t lo, hi;
    QStringList items;
    int ofsRangeAfterDefaults;
  } cases[] = {
      {0, 3, {"Auto", "5 mV", "50 mV", "500 mV", "5 V"}, 2},
      {1, 1, {"Auto", "50 mV"}, 1},
      {2, 3, {"Auto", "500 mV", "5 V"}, 2},
      {0, -1, {"Auto"}, -1},
      {3, 1, {"Auto"}, -1},
  };
  TDaqDescr daq;
  daq.CardName = "Card";
  daq.RangeCount = 4;
  daq.RangeNames = {"5 mV", "50 mV", "500 mV", "5 V"};
  for (const Case& c : cases) {
    TMstpEdit e;
    TChanSetup ch;
    ch.RngLo = c.lo;
    ch.RngHi = c.hi;
    e.BuildRanges(ch, daq);
    EXPECT_EQ(e.RangeItems, c.items) << int(c.lo) << ".." << int(c.hi);
    EXPECT_EQ(e.MaxItIndex, c.items.size() - 1);
    e.Defaults();
    EXPECT_EQ(e.Mstp.OfsRnge, c.ofsRangeAfterDefaults) << int(c.lo) << ".." << int(c.hi);
    EXPECT_EQ(e.Mstp.OnRnge, -1);
    // Every offered range maps to its item and back.
    for (int i = 0; i <= e.MaxItIndex; ++i) EXPECT_EQ(e.ItemOfRange(e.RangeOfItem(i)), i);
  }
}

TEST(MstpEdit, RangeLookupsGuarded) {
  TMstpEdit e;
  TChanSetup ch;
  ch.RngLo = 0;
  ch.RngHi = 3;
  e.BuildRanges(ch, TDaqDescr{});
  EXPECT_EQ(e.ItemOfRange(2), 3);
  EXPECT_EQ(e.ItemOfRange(-1), 0);
  EXPECT_EQ(e.ItemOfRange(7), 0);  // not offered
  EXPECT_EQ(e.ItemOfRange(8), 0);
  EXPECT_EQ(e.ItemOfRange(-100), 0);
  EXPECT_EQ(e.RangeOfItem(-1), -1);  // nothing selected: automatic
  EXPECT_EQ(e.RangeOfItem(5), -1);
  EXPECT_EQ(e.RangeOfItem(99), -1);
  EXPECT_EQ(e.RangeOfItem(4), 3);
}

TEST(MstpEdit, RangesAskedOnceWhenStartUpDidNot) {
  CmdRig r;
  EXPECT_CALL(r.cmd, ReadCardDescr()).Times(1);
  EXPECT_CALL(r.cmd, ReadChanSetup()).Times(1);
  TMstpEdit e;
  e.EnsureRanges(r.cmd);
  e.EnsureRanges(r.cmd);
  EXPECT_EQ(e.MaxItIndex, 4);
}

TEST(MstpEdit, SamplingLabels) {
  struct Case {
    int32_t vrpt, fs;
    TSamplingLabels labels;
  } cases[] = {
      {1024, 200000, {"5.115 ms", "5 us"}},
      {4095, 10, {"409.4 s", "100 ms"}},
      {201, 0, {"Error", "Error"}},
      {1, 3, {"0 us", "333.333 ms"}},
  };
  for (const Case& c : cases) EXPECT_EQ(SamplingLabels(c.vrpt, c.fs), c.labels) << c.fs;
}

TEST(MstpEdit, OffsetPeriodCheckedAtEveryChange) {
  TMstpEdit e;
  e.Mstp.OfsPeriod_s = 30;
  EXPECT_EQ(e.CheckOfsPeriod("5000"), "3600");
  EXPECT_EQ(e.CheckOfsPeriod(""), "3600");  // a cleared entry shows the present value again
  EXPECT_EQ(e.CheckOfsPeriod("12"), "12");
  EXPECT_EQ(e.Mstp.OfsPeriod_s, 12);
}

TEST(MstpEdit, RefreshSamplingLimitsCountAndRate) {
  TMstpEdit e;
  e.FmaxSmpl = 200000;
  const auto r = e.RefreshSampling("5000", "999999");
  EXPECT_EQ(r.vrpt, "4095");
  EXPECT_EQ(r.fsampl, "200000");
  EXPECT_EQ(r.labels, SamplingLabels(4095, 200000));
}

TEST(MstpEdit, ApplySequenceAndValues) {
  CmdRig r;
  TMstpEdit e;
  e.EnsureRanges(r.cmd);
  e.PrevezmiNapln(r.qv);
  TMstpView v = e.View();
  v.onPeriod = "100";
  v.ofsPeriod = "9999";
  v.onItem = 2;  // range 1
  v.ofsItem = -1;
  v.spare = true;
  v.vrpt = "512";
  v.trpt = "16";
  v.fsampl = "5";
  v.tcount = "8";
  v.counterOn = false;
  v.motPeriod = "70000";
  {
    InSequence seq;
    EXPECT_CALL(r.cmd, SetMeaStp(_));
    EXPECT_CALL(r.cmd, ReadMeaStp());
    EXPECT_CALL(r.cmd, SetAveraging(512, 16));
    EXPECT_CALL(r.cmd, SetFreqParam(kFreqSamplCw, 10));
    EXPECT_CALL(r.cmd, SetCounter(16, 0));
    EXPECT_CALL(r.cmd, SetMotRefresh(65535));
  }
  e.Apply(r.cmd, v);
  TMeaStp m = TMeaStp();
  m.OnPeriod_ms = 100;
  m.OfsPeriod_s = 3600;
  m.OnRnge = 1;
  m.OfsRnge = -1;
  m.TxMask = 0x0F;
  m.TxPeriod_ms = r.qv.MstpCW.TxPeriod_ms;
  EXPECT_EQ(r.qv.MstpCW, m);
  EXPECT_EQ(e.Mstp, m);
  EXPECT_EQ(e.View().spare, true);
}

}  // namespace
}  // namespace qz
