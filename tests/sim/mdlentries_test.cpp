// The model window's entries as plain data: reading them ("&Apply"), rewriting them, the
// creation sequence and section "Model" of the setup file.
#include "sim/mdlpresenter.h"

#include <gtest/gtest.h>

#include <cmath>

#include "mdltesthelpers.h"
#include "util/folders.h"
#include "util/inifile.h"
#include "util/unitconv.h"

namespace qz {
namespace {

using testing::MdlRig;
using testing::ScopedRandom;

constexpr int kScrW = 1920, kScrH = 1080;

TEST(MdlEntries, CitajMagInEachFormat) {
  struct Case {
    int fmt;
    const char* text;
    double mg;  // expected Mg11 (start: 0.2)
    int fmtAfter;
  } cases[] = {
      {kRflMag, "0.5", 0.5, kRflMag},
      {kRflMag, "0,25", 0.25, kRflMag},  // comma as decimal point
      {kRflMag, "1.5", 0.2, kRflMag},    // out of range keeps
      {kRflMag, "abc", 0.2, kRflMag},
      {kRflDb, "-6.020599913", 0.5, kRflDb},
      {kRflDb, "-160", 0.0, kRflDb},
      {kRflDb, "-200", 0.2, kRflDb},  // out of range keeps the stored -13.98 dB
      {kRflDb, "3", 0.2, kRflDb},
      {kRflVswr, "3", 0.5, kRflVswr},
      {kRflVswr, "10000", 1.0, kRflVswr},
      {kRflVswr, "0.5", 0.2, kRflVswr},
      {7, "0.3", 0.3, kRflMag},  // an unknown format goes back to "Mag"
  };
  for (const Case& c : cases) {
    MdlRig r;
    r.m.Mg11 = 0.2;
    r.m.Rloss = AmplToDb(0.2);
    r.m.Swr = 1.5;
    r.p.Ent.RFormat = c.fmt;
    r.p.Ent.Mag = QString::fromLatin1(c.text);
    r.p.CitajMag();
    EXPECT_NEAR(r.m.Mg11, c.mg, 1e-9) << c.text;
    // The VSWR format keeps the VSWR as typed (10000 stays 10000 for a magnitude of 1).
    if (c.fmt != kRflVswr) {
      EXPECT_NEAR(r.m.Swr, RhoToSwr(r.m.Mg11), 1e-6) << c.text;
    }
    EXPECT_NEAR(r.m.Rloss, AmplToDb(r.m.Mg11), 1e-6) << c.text;
    EXPECT_EQ(r.p.Ent.RFormat, c.fmtAfter);
  }
}

TEST(MdlEntries, FormatChangeRewritesFromStoredValue) {
  MdlRig r;
  r.p.Ent.Mag = QStringLiteral("0.5");
  r.p.CitajMag();
  r.p.RflFormatChanged(kRflDb);
  EXPECT_EQ(r.p.Ent.Mag, QStringLiteral("-6.02"));
  r.p.RflFormatChanged(kRflVswr);
  EXPECT_EQ(r.p.Ent.Mag, QStringLiteral("3"));
  r.p.RflFormatChanged(kRflMag);
  EXPECT_EQ(r.p.Ent.Mag, QStringLiteral("0.5"));
}

TEST(MdlEntries, ApplyDefinedKeepsFractionalPhaseInLoadOnly) {
  MdlRig r;
  r.p.Ent.DutType = kDutDefined;
  r.p.Ent.Mag = QStringLiteral("0.3");
  r.p.Ent.Pha = QStringLiteral("12,6");
  r.p.Apply();
  EXPECT_NEAR(CAbs(r.m.SimulRo), 0.3, 1e-12);
  EXPECT_NEAR(CArgDeg(r.m.SimulRo), 12.6, 1e-9);
  EXPECT_EQ(r.p.Ent.UdPha, 13);
  EXPECT_DOUBLE_EQ(r.m.Faza, 13);
  EXPECT_EQ(r.p.Ent.Pha, QStringLiteral("13"));
  // A phase out of range is clamped.
  r.p.Ent.Pha = QStringLiteral("300");
  r.p.Apply();
  EXPECT_NEAR(CArgDeg(r.m.SimulRo), 180, 1e-9);
}

TEST(MdlEntries, ApplyReadsEveryEntry) {
  MdlRig r;
  TMdlEntries& e = r.p.Ent;
  e.DutType = kDutMatch;
  r.m.SimulRo = complex(0.5, 0.5);
  e.Pause = QStringLiteral("20000");
  e.RhoUncert = QStringLiteral("0.05");
  e.Pow = QStringLiteral("7");
  e.Puncert = QStringLiteral("150");  // out of range: unchanged
  e.Fre = QStringLiteral("2400");
  e.Funcert = QStringLiteral("1");
  e.Temp = QStringLiteral("-20");
  e.Tuncert = QStringLiteral("x");
  r.p.Apply();
  EXPECT_EQ(r.m.SimulRo, complex());
  EXPECT_EQ(r.m.WaitCyclesCount, 10000);
  EXPECT_EQ(e.Pause, QStringLiteral("10000"));
  EXPECT_EQ(e.UdPause, 10000);
  EXPECT_DOUBLE_EQ(r.m.Runcert, 0.05);
  EXPECT_DOUBLE_EQ(r.m.Pow, 7000);
  EXPECT_DOUBLE_EQ(r.m.Puncert, 5);
  EXPECT_DOUBLE_EQ(r.m.f_Hz, 2.4e9);
  EXPECT_DOUBLE_EQ(r.m.Funcert, 1);
  EXPECT_DOUBLE_EQ(r.m.Temp, -20);
  EXPECT_DOUBLE_EQ(r.m.Tuncert, 0);
  // ShowValues rewrote the entries.
  EXPECT_EQ(e.Pow, QStringLiteral("7"));
  EXPECT_EQ(e.Puncert, QStringLiteral("5"));
  EXPECT_EQ(e.Tuncert, QStringLiteral("0"));
  EXPECT_EQ(e.Fre, QStringLiteral("2.4GHz"));

  e.Pause = QStringLiteral("abc");
  e.UdPause = 300;
  e.Pow = QStringLiteral("0");     // below the least power: clamped
  e.Fre = QStringLiteral("1000");  // far from the nominal 2.45 GHz
  r.p.Apply();
  EXPECT_EQ(r.m.WaitCyclesCount, 300);
  EXPECT_DOUBLE_EQ(r.m.Pow, 1e-9);
  EXPECT_DOUBLE_EQ(r.m.f_Hz, 2.45e9);
  e.Pow = QStringLiteral("none");
  e.Fre = QStringLiteral("2.5 GHz");
  r.p.Apply();
  EXPECT_DOUBLE_EQ(r.m.Pow, 1e-9);
  EXPECT_DOUBLE_EQ(r.m.f_Hz, 2.5e9);
}

TEST(MdlEntries, ApplyAnimatedAndChart) {
  MdlRig r;
  complex mouse(0.1, -0.2);
  int applied = 0;
  bool usedChart = false;
  r.p.Hooks.ChartRho = [&] { return mouse; };
  r.p.Hooks.ChartApplied = [&](bool use) {
    ++applied;
    usedChart = use;
  };
  r.p.Ent.DutType = kDutAnimated;
  r.p.Ent.Anim.UdMag1 = 30;
  r.p.Apply();
  EXPECT_TRUE(r.m.AnimRho.Active);
  EXPECT_FALSE(r.m.UseChart);
  EXPECT_DOUBLE_EQ(r.m.AnimRho.Ma, 0.3);
  EXPECT_EQ(applied, 1);
  EXPECT_FALSE(usedChart);
  r.p.Ent.DutType = kDutChart;
  r.p.Apply();
  EXPECT_FALSE(r.m.AnimRho.Active);
  EXPECT_TRUE(r.m.UseChart);
  EXPECT_EQ(r.m.SimulRo, mouse);
  EXPECT_TRUE(usedChart);
  // Unset hooks are skipped.
  r.p.Hooks = TMdlHooks{};
  r.p.Apply();
  EXPECT_EQ(r.m.SimulRo, mouse);
}

TEST(MdlEntries, NewNominalFrequencyRechecksTheEntry) {
  MdlRig r;
  r.p.Ent.Fre = QStringLiteral("2450");
  r.qv.FixPar.FnominKHz = 915000;
  r.p.RecheckFre();
  EXPECT_DOUBLE_EQ(r.m.f_Hz, 915e6);
  EXPECT_EQ(r.p.Ent.Fre, QStringLiteral("915MHz"));
  r.p.Ent.Fre = QStringLiteral("950");
  r.p.RecheckFre();
  EXPECT_DOUBLE_EQ(r.m.f_Hz, 950e6);
}

TEST(MdlEntries, AnimationEntryFeedsUpDownOnlyWhenNumber) {
  MdlRig r;
  r.p.Ent.AniPha1 = QStringLiteral("-45,6");
  r.p.AnimEntryLeft(4);
  EXPECT_EQ(r.p.Ent.Anim.UdPha1, -46);
  r.p.Ent.AniMag2 = QStringLiteral("bad");
  r.p.AnimEntryLeft(3);
  EXPECT_EQ(r.p.Ent.Anim.UdMag2, 100);
  r.p.Ent.AniMagC = QStringLiteral("250");
  r.p.AnimEntryLeft(0);
  EXPECT_EQ(r.p.Ent.Anim.UdMagC, 100);
}

TEST(MdlEntries, ErrorItemsExcludeEachOther) {
  MdlRig r;
  r.p.ErrItemClicked(0, true);
  EXPECT_EQ(r.m.ErrByte, 2);
  r.p.ErrItemClicked(1, true);
  EXPECT_EQ(r.m.ErrByte, 16);
  EXPECT_FALSE(r.p.Ent.ErrOflow);
  r.p.ErrItemClicked(1, false);
  EXPECT_EQ(r.m.ErrByte, 0);
  r.m.ErrByte = 18;
  r.p.ErrByteToList();
  EXPECT_TRUE(r.p.Ent.ErrOflow && r.p.Ent.ErrLowSignal);
}

TEST(MdlCreate, WithoutSetupUsesCreationValues) {
  MdlRig r;
  r.sim.NTunBurst = 3;
  r.sim.Btune1 = true;
  r.m.smpl = 4;
  r.p.InitModel(nullptr, kScrW, kScrH);
  EXPECT_DOUBLE_EQ(r.m.Pow, 5678);
  EXPECT_DOUBLE_EQ(r.m.Puncert, 5);
  EXPECT_DOUBLE_EQ(r.m.Faza, 33);
  EXPECT_NEAR(CAbs(r.m.SimulRo), 0.2, 1e-12);
  EXPECT_NEAR(CArgDeg(r.m.SimulRo), 33, 1e-9);
  EXPECT_EQ(r.p.Ent.Pow, QStringLiteral("5.678"));
  EXPECT_EQ(r.p.Ent.Fre, QStringLiteral("2.45GHz"));
  EXPECT_EQ(r.p.Ent.Anim.MagStepTxt, QStringLiteral("0.2"));
  EXPECT_EQ(r.p.Ent.Anim.PhaStepTxt, QStringLiteral("1"));
  EXPECT_EQ(r.sim.NTunBurst, 1);
  EXPECT_FALSE(r.sim.Btune1);
  EXPECT_DOUBLE_EQ(r.sim.UserMax_mm, -1);
  EXPECT_EQ(r.m.smpl, 0);
}

TEST(MdlCreate, SetupValuesAreInForceAtStart) {
  MdlRig r;
  IniFile ini;
  ini.SetText(
      "[Other]\r\nTop=5\r\n[model]\r\nPINC=3\r\nrhomag=0.6\r\nRhoPha=-90\r\nDutType=0\r\n"
      "ErrByte=16\r\nTemp=70\r\nAniPause=700\r\nMaxSteps=4000\r\n");
  r.p.InitModel(&ini, kScrW, kScrH);
  EXPECT_DOUBLE_EQ(r.m.Pow, 3000);
  EXPECT_NEAR(CAbs(r.m.SimulRo), 0.6, 1e-12);
  EXPECT_NEAR(CArgDeg(r.m.SimulRo), -90, 1e-9);
  EXPECT_EQ(r.m.ErrByte, 16);
  EXPECT_TRUE(r.p.Ent.ErrLowSignal);
  EXPECT_DOUBLE_EQ(r.m.Temp, 70);
  EXPECT_EQ(r.m.WaitCyclesCount, 700);
  // The tuner description reader saw the lines of the whole file, without section lines.
  EXPECT_TRUE(r.tuner.DescrLines.contains(QStringLiteral("MaxSteps=4000")));
  EXPECT_TRUE(r.tuner.DescrLines.contains(QStringLiteral("Top=5")));
  for (const QString& l : r.tuner.DescrLines) EXPECT_FALSE(l.startsWith('['));
  // A frame now carries the setup's values.
  ScopedRandom rnd;
  TMerObjekt f{};
  r.m.GetMobBytes(1, f);
  EXPECT_EQ(f[2] * 256 + f[3], 3000);
  EXPECT_EQ(f[1] & 0x18, 0x18);  // low signal and too hot
}

TEST(MdlSetup, RoundTripRestoresEveryEntry) {
  MdlRig a;
  TMdlEntries& e = a.p.Ent;
  e.Top = 120;
  e.Left = 340;
  e.Visible = true;
  e.DutType = kDutAnimated;
  e.Mag = QStringLiteral("-3.5");
  e.RFormat = kRflDb;
  e.Pha = QStringLiteral("-77");
  e.UdPha = -77;
  e.RhoUncert = QStringLiteral("0.01");
  e.Anim.UdMagC = 12;
  e.Anim.UdPhaC = -300;
  e.Anim.UdMag1 = 5;
  e.Anim.UdMag2 = 95;
  e.Anim.UdPha1 = -90;
  e.Anim.UdPha2 = 270;
  e.UdPause = 1200;
  e.Anim.UdDwell = 50;
  e.MagStepIdx = 4;
  e.PhaStepIdx = 8;
  e.Anim.MagStepTxt = QStringLiteral("2");
  e.Anim.PhaStepTxt = QStringLiteral("7.5");
  e.Pow = QStringLiteral("0.25");
  e.Puncert = QStringLiteral("2");
  a.m.ErrByte = 2;
  e.Fre = QStringLiteral("2.46GHz");
  e.Funcert = QStringLiteral("0.1");
  e.Temp = QStringLiteral("33");
  e.Tuncert = QStringLiteral("1.5");
  a.m.MdlResPath = QStringLiteral("/tmp/res, with; odd=chars.txt");
  e.Flags = {true, true, true};
  IniFile ini;
  a.p.WriteStp(ini);
  EXPECT_EQ(ini.ReadInteger(QStringLiteral("Model"), QStringLiteral("MaxSteps"), 0), a.tuner.Max);

  MdlRig b;
  b.p.ReadStp(ini, kScrW, kScrH);
  const TMdlEntries& g = b.p.Ent;
  EXPECT_EQ(g.Top, 120);
  EXPECT_EQ(g.Left, 340);
  EXPECT_TRUE(g.Visible);
  EXPECT_EQ(g.DutType, kDutAnimated);
  EXPECT_EQ(g.Mag, e.Mag);
  EXPECT_EQ(g.RFormat, kRflDb);
  EXPECT_EQ(g.Pha, e.Pha);
  EXPECT_EQ(g.UdPha, -77);
  EXPECT_EQ(g.RhoUncert, e.RhoUncert);
  EXPECT_EQ(g.Anim.UdMagC, 12);
  EXPECT_EQ(g.Anim.UdPhaC, -300);
  EXPECT_EQ(g.Anim.UdMag1, 5);
  EXPECT_EQ(g.Anim.UdMag2, 95);
  EXPECT_EQ(g.Anim.UdPha1, -90);
  EXPECT_EQ(g.Anim.UdPha2, 270);
  EXPECT_EQ(g.AniPha2, QStringLiteral("270"));
  EXPECT_EQ(g.UdPause, 1200);
  EXPECT_EQ(g.Pause, QStringLiteral("1200"));
  EXPECT_EQ(g.Anim.UdDwell, 50);
  EXPECT_EQ(g.MagStepIdx, 4);
  EXPECT_EQ(g.PhaStepIdx, 8);
  EXPECT_EQ(g.Anim.MagStepTxt, QStringLiteral("2"));
  EXPECT_EQ(g.Anim.PhaStepTxt, QStringLiteral("7.5"));
  EXPECT_EQ(g.Pow, e.Pow);
  EXPECT_EQ(g.Puncert, e.Puncert);
  EXPECT_EQ(b.m.ErrByte, 2);
  EXPECT_EQ(g.Fre, e.Fre);
  EXPECT_EQ(g.Funcert, e.Funcert);
  EXPECT_EQ(g.Temp, e.Temp);
  EXPECT_EQ(g.Tuncert, e.Tuncert);
  EXPECT_EQ(b.m.MdlResPath, a.m.MdlResPath);
  EXPECT_TRUE(g.Flags.ReverseMag && g.Flags.ReversePha && g.Flags.NoSpiral);
  EXPECT_TRUE(b.tuner.DescrLines.contains(QStringLiteral("MaxSteps=5000")));
}

TEST(MdlSetup, ReadLimitsAndDefaults) {
  MdlRig r;
  IniFile ini;
  ini.SetText(
      "[MODEL]\r\ntop=99999\r\nLeft=-5\r\nDutType=9\r\nRFormat=-1\r\nUpDnPha=400\r\nAniMagC=500\r\n"
      "AniPhaC=-999\r\nAniPause=abc\r\nAniDwell=0\r\nAniMagS=99\r\nErrByte=300\r\n");
  r.p.Ent.UdPause = 400;
  int told = 0;
  r.p.Hooks.TunerDescrRead = [&] { ++told; };
  r.sim.UserMax_mm = 12;
  r.p.ReadStp(ini, 800, 600);
  const TMdlEntries& e = r.p.Ent;
  EXPECT_EQ(e.Top, 550);
  EXPECT_EQ(e.Left, 0);
  EXPECT_EQ(e.DutType, kDutChart);
  EXPECT_EQ(e.RFormat, kRflMag);
  EXPECT_EQ(e.UdPha, 180);
  EXPECT_EQ(e.Anim.UdMagC, 100);
  EXPECT_EQ(e.Anim.UdPhaC, -360);
  EXPECT_EQ(e.UdPause, 400);  // unreadable: current
  EXPECT_EQ(e.Anim.UdDwell, 1);
  EXPECT_EQ(e.MagStepIdx, 5);
  EXPECT_EQ(e.Anim.MagStepTxt, QStringLiteral("5"));
  EXPECT_EQ(r.m.ErrByte, 255);
  // Absent keys take their defaults.
  EXPECT_EQ(e.Mag, QStringLiteral("0.2"));
  EXPECT_EQ(e.Pha, QStringLiteral("45"));
  EXPECT_EQ(e.Pow, QStringLiteral("6"));
  EXPECT_EQ(e.Fre, QStringLiteral("2450.000"));
  EXPECT_DOUBLE_EQ(r.sim.UserMax_mm, -1);
  EXPECT_EQ(told, 1);
}

TEST(MdlSetup, LoadAfterStartAppliesWhatItShows) {
  MdlRig r;
  r.p.InitModel(nullptr, kScrW, kScrH);
  IniFile ini;
  ini.SetText("[Model]\r\nDutType=0\r\nRhoMag=0.7\r\nRhoPha=10\r\nPinc=2\r\nRUncert=0.02\r\n");
  r.p.LoadStp(ini, kScrW, kScrH);
  EXPECT_NEAR(CAbs(r.m.SimulRo), 0.7, 1e-12);
  EXPECT_DOUBLE_EQ(r.m.Pow, 2000);
  EXPECT_DOUBLE_EQ(r.m.Runcert, 0.02);
}

// The section's keys in the order the setup has always held them; a record written and read
// into a fresh one comes back equal, the texts beside the up-downs following the up-downs.
// A record that differs from a fresh one in every key.
TMdlStp EveryKeyChanged() {
  TMdlStp a;
  TMdlEntries& e = a.Ent;
  e.Top = 12;
  e.Left = -40;
  e.Visible = true;
  e.DutType = kDutChart;
  e.Mag = QStringLiteral("1.5");
  e.RFormat = kRflVswr;
  e.Pha = QStringLiteral("abc");
  e.UdPha = 170;
  e.RhoUncert = QStringLiteral("0.01");
  e.Anim.UdMagC = 7;
  e.AniMagC = QStringLiteral("7");
  e.Anim.UdPha2 = -360;
  e.AniPha2 = QStringLiteral("-360");
  e.Anim.UdPhaC = -20;
  e.AniPhaC = QStringLiteral("-20");
  e.Anim.UdMag1 = 5;
  e.AniMag1 = QStringLiteral("5");
  e.Anim.UdMag2 = 90;
  e.AniMag2 = QStringLiteral("90");
  e.Anim.UdPha1 = -100;
  e.AniPha1 = QStringLiteral("-100");
  e.UdPause = 100;
  e.Pause = QStringLiteral("100");
  e.Anim.UdDwell = 3;
  e.Anim.MeasPerPositTxt = QStringLiteral("3");
  e.MagStepIdx = 0;
  e.PhaStepIdx = 10;
  e.Anim.MagStepTxt = QStringLiteral("0.3");
  e.Anim.PhaStepTxt = QStringLiteral("180");
  e.Pow = QStringLiteral("1");
  e.Puncert = QStringLiteral("1");
  e.Fre = QStringLiteral("2440");
  e.Funcert = QStringLiteral("2");
  e.Temp = QStringLiteral("-4");
  e.Tuncert = QStringLiteral("0.5");
  e.Flags = {true, true, true};
  a.ErrByte = 18;
  a.MdlResPath = QStringLiteral("/tmp/r.txt");
  e.MdlResPath = a.MdlResPath;
  return a;
}

TEST(MdlSetup, WholeRecordRoundTripInTheSectionsOrder) {
  const TMdlStp a = EveryKeyChanged();
  IniFile ini;
  a.WriteStp(ini, QStringLiteral("Model"));
  EXPECT_EQ(ini.ReadSection(QStringLiteral("Model")),
            (QStringList{"Top",        "Left",    "DutType",    "RhoMag",       "RFormat",
                         "RhoPha",     "UpDnPha", "RUncert",    "AniMagC",      "AniPhaC",
                         "AniMag1",    "AniMag2", "AniPha1",    "AniPha2",      "AniPause",
                         "AniDwell",   "AniMagS", "AniPhaS",    "AniMagTxt",    "AniPhaTxt",
                         "Pinc",       "PUncert", "ErrByte",    "Freq",         "FUncert",
                         "Temp",       "TUncert", "MdlResPath", "cbReverseMag", "cbReversePha",
                         "cbNoSpiral", "Visible"}));
  EXPECT_EQ(ini.ReadString(QStringLiteral("Model"), QStringLiteral("cbReversePha"), {}),
            QStringLiteral("1"));
  TMdlStp b;
  b.ReadStp(ini, QStringLiteral("Model"));
  EXPECT_EQ(b, a);
}

// One key's text, as the remote "value of a model key" query answers it: what a saved section
// holds for that key, key by key.
TEST(MdlSetup, EachKeysTextIsWhatTheSavedSectionHolds) {
  struct Case {
    const char* key;
    const char* text;
  };
  const Case cases[] = {
      {"Top", "12"},         {"Left", "-40"},
      {"DutType", "3"},      {"RhoMag", "1.5"},
      {"RFormat", "2"},      {"RhoPha", "abc"},
      {"UpDnPha", "170"},    {"RUncert", "0.01"},
      {"AniMagC", "7"},      {"AniPhaC", "-20"},
      {"AniMag1", "5"},      {"AniMag2", "90"},
      {"AniPha1", "-100"},   {"AniPha2", "-360"},
      {"AniPause", "100"},   {"AniDwell", "3"},
      {"AniMagS", "0"},      {"AniPhaS", "10"},
      {"AniMagTxt", "0.3"},  {"AniPhaTxt", "180"},
      {"Pinc", "1"},         {"PUncert", "1"},
      {"ErrByte", "18"},     {"Freq", "2440"},
      {"FUncert", "2"},      {"Temp", "-4"},
      {"TUncert", "0.5"},    {"MdlResPath", "/tmp/r.txt"},
      {"cbReverseMag", "1"}, {"cbReversePha", "1"},
      {"cbNoSpiral", "1"},   {"Visible", "1"},
  };
  const TMdlStp a = EveryKeyChanged();
  IniFile saved;
  a.WriteStp(saved, QStringLiteral("Model"));
  QStringList named;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    const QString key = QString::fromLatin1(c.key);
    named << key;
    const std::optional<QString> text = a.TextOf(key);
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(*text, QString::fromUtf8(c.text));
    EXPECT_EQ(*text, saved.ReadString(QStringLiteral("Model"), key, QStringLiteral("?")));
  }
  // The table names every key of the section, and the section has no other.
  EXPECT_EQ(named, saved.ReadSection(QStringLiteral("Model")));
  EXPECT_EQ(named, TMdlStp::KeyNames());
  // Names the section does not have (the name as written only).
  for (const char* other : {"", "Model", "rhomag", "Top ", "Tuner"})
    EXPECT_FALSE(a.TextOf(QString::fromLatin1(other)).has_value()) << other;
}

// The setup shipped beside the program gives the model small uncertainties, so that a first run
// shows live numbers: reflection radius 0.01, power 1 %, temperature 0.5 °C.
TEST(MdlCreate, ShippedDefaultSetupGivesSmallUncertainties) {
  IniFile ini(InProgramFolder(QStringLiteral("QzSim0.ini")));
  ASSERT_TRUE(ini.SectionExists(QStringLiteral("Model"))) << ini.FileName().toStdString();
  MdlRig r;
  r.p.InitModel(&ini, kScrW, kScrH);
  EXPECT_DOUBLE_EQ(r.m.Runcert, 0.01);
  EXPECT_DOUBLE_EQ(r.m.Puncert, 1.0);
  EXPECT_DOUBLE_EQ(r.m.Tuncert, 0.5);
  EXPECT_DOUBLE_EQ(r.m.Funcert, 0.0);
}

}  // namespace
}  // namespace qz
