// The sampling setup's pages, entries, defaults and write-back, on the unit's own edge cases.

#include "setupdlg/samplsetup.h"

#include <gtest/gtest.h>

#include "core/records.h"

namespace qz {
namespace {

// A dialog over the default records, showing the page of the waveform given.
struct SamplRig {
  TFixPar fix;
  TVarPar var;
  TRectif rect;
  TPulsed puls;
  int32_t preTrg = 0;
  bool oneShot = false;
  TTrgMethod trg = 0;
  TSamplSetup s;
  void Take() { s.Take(fix, var, rect, puls, preTrg, oneShot, trg); }
};

TEST(SamplSetup, CwPageShowsTimeStepAndWarning) {
  struct Case {
    uint16_t vrpt;
    int32_t fs;
    TTimeText time, step;
    bool tooLong;
  } cases[] = {
      {4095, 10, {"409.4", 2}, {"100", 1}, true},
      {201, 10000, {"20", 1}, {"100", 0}, false},
      // 10 s exactly is not "very long".
      {101, 10, {"10", 2}, {"100", 1}, false},
  };
  for (const Case& c : cases) {
    SamplRig r;
    r.var.Vrpt = c.vrpt;
    r.var.FsamplCw = c.fs;
    r.Take();
    EXPECT_EQ(r.s.View.cwTime, c.time) << c.vrpt << " @ " << c.fs;
    EXPECT_EQ(r.s.View.cwStep, c.step) << c.vrpt << " @ " << c.fs;
    EXPECT_EQ(r.s.View.cwTooLong, c.tooLong) << c.vrpt << " @ " << c.fs;
  }
}

TEST(SamplSetup, RectifiedFiftyHertzOnePeriod) {
  SamplRig r;
  r.Take();
  EXPECT_EQ(r.s.MyRect.Fvzork, 10000);
  EXPECT_EQ(r.s.View.rcRate, "10000");
  EXPECT_EQ(r.s.View.rcCount, "201");
  EXPECT_EQ(r.s.View.rcStep, (TTimeText{"100", 0}));
  EXPECT_EQ(r.s.View.rcTime, (TTimeText{"20", 1}));
}

TEST(SamplSetup, RectifiedPeriodsLimitedToTenSeconds) {
  SamplRig r;
  r.Take();
  TSamplView e = r.s.View;
  e.rcPeriods = "1000";
  EXPECT_EQ(r.s.Read(wfRectified, e), "");  // within its own limits: no error line
  EXPECT_EQ(r.s.MyRect.Periods, 500);
  EXPECT_EQ(r.s.View.rcPeriods, "500");
}

TEST(SamplSetup, PulsedRateLimitedByFastestSampling) {
  SamplRig r;
  r.puls.Nvzoriek = 4095;
  r.puls.TsamplUs = 1000;
  r.Take();
  EXPECT_EQ(r.s.MyPuls.Fvzork, 200000);
  EXPECT_EQ(r.s.View.puRate, "200000");
  EXPECT_EQ(r.s.View.puCount, "201");
  EXPECT_EQ(r.s.MyPuls.TsamplUs, 1000);
  EXPECT_EQ(r.s.View.puTime, (TTimeText{"1", 1}));
  EXPECT_EQ(r.s.View.puMaxPeriod, (TTimeText{"100", 1}));
}

TEST(SamplSetup, EntriesCorrectedAndReported) {
  struct Case {
    int page;
    void (*edit)(TSamplView&);
    QString errors;
    void (*check)(const TSamplSetup&);
  } cases[] = {
      {wfPulsed,
       [](TSamplView& e) {
         e.puTime = {"5", 0};
       },
       " - Sampling Time (5)", [](const TSamplSetup& s) { EXPECT_GE(s.MyPuls.TsamplUs, 10); }},
      {wfRectified, [](TSamplView& e) { e.rcCount = "abc"; }, " - Sample Count (abc)",
       [](const TSamplSetup& s) {
         EXPECT_EQ(s.MyRect.Nvzoriek, 201);
         EXPECT_EQ(s.View.rcCount, "201");
       }},
      // A comma is the point; halves go to the even neighbour; no error.
      {wfCW, [](TSamplView& e) { e.cwCount = "100,5"; }, "",
       [](const TSamplSetup& s) { EXPECT_EQ(s.MyVar.Vrpt, 100); }},
      {wfCW, [](TSamplView& e) { e.cwRate = "300000"; }, " - Sampling Rate (300000)",
       [](const TSamplSetup& s) { EXPECT_EQ(s.MyVar.FsamplCw, 200000); }},
      // The common strip is read on every page.
      {wfCW, [](TSamplView& e) { e.preTrig = "5000"; }, " - Pre-Trig (5000)",
       [](const TSamplSetup& s) { EXPECT_EQ(s.MyPreTrg, 4095); }},
      {wfRectified,
       [](TSamplView& e) {
         e.rcCount = "abc";
         e.rcAccLvl = "150";
       },
       " - Sample Count (abc)\n\r - Accept Level (150)",
       [](const TSamplSetup& s) { EXPECT_EQ(RectAccLvlOf(s.MyVar.TrgMeth_AccLvl), 100); }},
      // "1 s" of the maximum period in seconds.
      {wfPulsed,
       [](TSamplView& e) {
         e.puMaxPeriod = {"1", 2};
       },
       "",
       [](const TSamplSetup& s) {
         EXPECT_EQ(s.MyPuls.TmaxMs, 1000);
         EXPECT_EQ(s.View.puMaxPeriod, (TTimeText{"1", 2}));
       }},
  };
  for (const Case& c : cases) {
    SamplRig r;
    r.Take();
    TSamplView e = r.s.View;
    c.edit(e);
    EXPECT_EQ(r.s.Read(c.page, e), c.errors) << c.errors.toStdString();
    EXPECT_EQ(r.s.MyVar.Waveform, c.page);
    c.check(r.s);
  }
}

TEST(SamplSetup, CountTimesRoundedToUnitSteps) {
  struct Case {
    int32_t typed, shown;
  } cases[] = {{1000, 992}, {1001, 1008}, {1009, 1008}, {16, 16}};
  for (const Case& c : cases) {
    for (int page : {int(wfCW), int(wfRectified), int(wfPulsed)}) {
      SamplRig r;
      r.Take();
      TSamplView e = r.s.View;
      const QString t = QString::number(c.typed);
      (page == wfCW ? e.cwCountTime : page == wfRectified ? e.rcCountTime : e.puCountTime) = t;
      r.s.Read(page, e);
      const QString shown = page == wfCW          ? r.s.View.cwCountTime
                            : page == wfRectified ? r.s.View.rcCountTime
                                                  : r.s.View.puCountTime;
      EXPECT_EQ(shown, QString::number(c.shown)) << c.typed << " page " << page;
    }
  }
}

TEST(SamplSetup, FreshProfilePreTriggerIsNoInputError) {
  SamplRig r;
  r.preTrg = 20000;
  r.Take();
  EXPECT_EQ(r.s.MyPreTrg, 4095);
  EXPECT_EQ(r.s.View.preTrig, "4095");
  EXPECT_EQ(r.s.Read(wfCW, r.s.View), "");
}

TEST(SamplSetup, TakeStartsWithoutErrors) {
  SamplRig r;
  r.Take();
  TSamplView e = r.s.View;
  e.cwCount = "x";
  EXPECT_FALSE(r.s.Read(wfCW, e).isEmpty());
  r.Take();
  EXPECT_TRUE(r.s.error_str.isEmpty());
}

TEST(SamplSetup, CommonStripSetsTriggerMethodAndSingleShot) {
  SamplRig r;
  r.Take();
  TSamplView e = r.s.View;
  e.freeRun = false;
  e.singleShot = true;
  e.counterOn = false;
  e.trgLevel = "70";
  r.s.Read(wfPulsed, e);
  EXPECT_EQ(r.s.MyTrgMethod, 1);
  EXPECT_EQ(TrgMethodOf(r.s.MyVar.TrgMeth_AccLvl), 1);
  EXPECT_TRUE(r.s.MyOneShot);
  EXPECT_EQ(r.s.MyVar.IsCntOn, 0);
  EXPECT_EQ(r.s.MyVar.MinMaxTrgLvl, 70);
}

TEST(SamplSetup, PageDefaults) {
  SamplRig r;
  r.var.Vrpt = 7;
  r.var.FsamplCw = 55;
  r.var.TcountCw = 4000;
  r.var.IsCntOn = 0;
  r.var.MinMaxTrgLvl = 10;
  r.rect.RippleFreq = 60;
  r.puls.TsamplUs = 5000;
  r.oneShot = true;
  r.preTrg = 300;
  r.trg = 1;
  r.var.TrgMeth_AccLvl = WithTrgMethod(r.var.TrgMeth_AccLvl, 1);

  r.Take();
  r.s.Defaults(wfCW);
  const TVarPar d;
  EXPECT_EQ(r.s.MyVar.Vrpt, d.Vrpt);
  EXPECT_EQ(r.s.MyVar.FsamplCw, d.FsamplCw);
  EXPECT_EQ(r.s.MyVar.TcountCw, d.TcountCw);
  EXPECT_EQ(r.s.MyVar.IsCntOn, 1);
  // The CW defaults leave triggering and the other pages alone.
  EXPECT_EQ(r.s.MyVar.MinMaxTrgLvl, 10);
  EXPECT_TRUE(r.s.MyOneShot);
  EXPECT_EQ(r.s.MyRect.RippleFreq, 60);

  for (int page : {int(wfRectified), int(wfPulsed)}) {
    r.Take();
    r.s.Defaults(page);
    EXPECT_EQ(r.s.MyVar.Waveform, page);
    EXPECT_EQ(r.s.MyVar.TrgMeth_AccLvl, d.TrgMeth_AccLvl);
    EXPECT_EQ(r.s.MyVar.MinMaxTrgLvl, d.MinMaxTrgLvl);
    EXPECT_FALSE(r.s.MyOneShot);
    EXPECT_EQ(r.s.MyPreTrg, 0);
    EXPECT_EQ(r.s.MyTrgMethod, 0);
    EXPECT_TRUE(r.s.View.freeRun);
    EXPECT_EQ(r.s.View.preTrig, "0");
  }
  EXPECT_EQ(r.s.MyPuls.TsamplUs, 1000);
  EXPECT_EQ(r.s.MyRect.RippleFreq, 60);  // the pulsed defaults keep the rectified record
}

TEST(SamplSetup, ErrorTextAndQuestions) {
  EXPECT_EQ(SamplErrorText(" - Sample Count (abc)\n\r - Accept Level (150)"),
            "Some inputs were incorrect or out of bounds:\r\n - Sample Count (abc)\n\r - Accept "
            "Level (150)\r\nSet to defaults or trimmed.");
  EXPECT_EQ(SamplDefaultsQuestion(wfCW), "Set CW sampling to defaults");
  EXPECT_EQ(SamplDefaultsQuestion(wfRectified), "Set Rectified sampling to defaults");
  EXPECT_EQ(SamplDefaultsQuestion(wfPulsed), "Set Pulsed sampling to defaults");
}

}  // namespace
}  // namespace qz
