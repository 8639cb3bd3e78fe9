#include "core/qvwin.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "common/roundtrip.h"
#include "core/frameenc.h"
#include "util/inifile.h"

namespace qz {
namespace {

// Reads a setup text given as lines of one section.
void SetSetup(IniFile& ini, const QString& text) { ini.SetText(text.toUtf8()); }

// Records what the analyzer asks of the unit, with the state seen at each step.
class RecordingSync : public TUnitSync {
 public:
  explicit RecordingSync(const TQvWin& qv) : qv_(qv) {}
  std::vector<std::string> calls;
  int32_t rplPeriAtStop = 0, rplPeriAtWaveform = 0;
  int trgMethodAtWaveform = -1;
  uint16_t vrpt = 0, trpt = 0;

  void StopUnit() override {
    calls.push_back("StopUnit");
    rplPeriAtStop = qv_.Rectif.RplPeri_us;
  }
  void SendWaveform() override {
    calls.push_back("SendWaveform");
    rplPeriAtWaveform = qv_.Rectif.RplPeri_us;
    trgMethodAtWaveform = TrgMethodOf(qv_.VarPar.TrgMeth_AccLvl);
  }
  void SendFreqTolerance(uint16_t) override { calls.push_back("SendFreqTolerance"); }
  void SendCounter(int32_t, uint8_t) override { calls.push_back("SendCounter"); }
  void SendSubstFreq(int32_t) override { calls.push_back("SendSubstFreq"); }
  void SendFsamplCw(int32_t) override { calls.push_back("SendFsamplCw"); }
  void SendAveraging(uint16_t v, uint16_t t) override {
    calls.push_back("SendAveraging");
    vrpt = v;
    trpt = t;
  }
  void SendMeaStp(const TMeaStp&) override { calls.push_back("SendMeaStp"); }
  void RefreshMeaStpWindow() override { calls.push_back("RefreshMeaStpWindow"); }
  void SendMotRefresh(uint16_t) override { calls.push_back("SendMotRefresh"); }
  void SendAutotuneParams() override { calls.push_back("SendAutotuneParams"); }
  void SendAutotuneOnOff(bool) override { calls.push_back("SendAutotuneOnOff"); }
  void SendTunePosState(bool) override { calls.push_back("SendTunePosState"); }
  void SendHysteresis(uint8_t) override { calls.push_back("SendHysteresis"); }

 private:
  const TQvWin& qv_;
};

TEST(TQvWin, CreationAndDefaults) {
  TMotState mot;
  TQvWin qv(mot);
  EXPECT_EQ(qv.ContMeaTout, 2000);
  EXPECT_EQ(qv.BiTr.Path, QStringLiteral("Spar.txt"));
  EXPECT_DOUBLE_EQ(qv.TuneTimeMs, 1000.0);

  // Everything SetDefaults resets, changed first.
  qv.VarPar.Vrpt = 5;
  qv.Rectif.Periods = 9;
  qv.Pulsed.TsamplUs = 77;
  qv.FixPar.IsCoax = 1;
  qv.UserPowCorr = 3.0f;
  qv.PtsPerSwp = 5;
  qv.MstpCW.TxMask = 1;
  qv.MotRefreshMs = 5000;
  qv.SrvVerNum = 40;
  qv.SrvInfo = "x";
  mot.Smooth = 9;
  qv.SetDefaults();
  EXPECT_EQ(qv.VarPar.Vrpt, 201);
  EXPECT_EQ(qv.Rectif.Periods, 1);
  EXPECT_EQ(qv.Pulsed.TsamplUs, 1000);
  EXPECT_EQ(qv.FixPar.IsCoax, 0);
  EXPECT_EQ(qv.UserPowCorr, 1.0f);
  EXPECT_EQ(qv.PtsPerSwp, 101);
  EXPECT_EQ(qv.MstpCW, TMeaStp());
  EXPECT_EQ(qv.MstpCW.OnRnge, -1);
  EXPECT_EQ(qv.MotRefreshMs, 1000);
  EXPECT_EQ(qv.SrvVerNum, 0);
  EXPECT_EQ(qv.SrvInfo, QStringLiteral("Simulated"));
  EXPECT_EQ(mot.Smooth, 1);
  // c / 2a for a = 86.36 mm.
  EXPECT_NEAR(qv.f_cutoff, 1.7357e9, 0.0001e9);
  EXPECT_NEAR(qv.f_cutoff, 299792458.0 / (2 * 0.08636), 1.0);
}

TEST(TQvWin, CoaxialLineHasNoCutoff) {
  TFixPar fix;
  fix.IsCoax = 1;
  EXPECT_EQ(CutoffFrequency(fix), 0.0);
  fix.IsCoax = 0;
  fix.WgA_um = 0;  // a damaged description must not divide by zero
  EXPECT_EQ(CutoffFrequency(fix), 0.0);
}

TEST(TQvWin, RecommendedCountTime) {
  struct Case {
    const char* name;
    int32_t fnominKHz;
    uint16_t fdeltaMHz;
    uint16_t divider;
    int32_t expected;
  };
  const Case cases[] = {
      // 32 * 1e5 / 4e-6 / (2.45e9 - 61e6) = 334.9
      {"defaults", 2450000, 61, 32, 335},
      {"nominal equal to tolerance", 61000, 61, 32, 1000},
      {"tiny span is capped", 1001, 1, 65535, 1073741823},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TMotState mot;
    TQvWin qv(mot);
    qv.FixPar.FnominKHz = c.fnominKHz;
    qv.VarPar.FdeltaMHz = c.fdeltaMHz;
    qv.FixPar.Divider = c.divider;
    EXPECT_EQ(qv.GetTcountMinRecommended_us(), c.expected);
  }
}

TEST(TQvWin, SamplingPlannerWorksOnTheObjectsRecords) {
  TMotState mot;
  TQvWin qv(mot);
  EXPECT_EQ(qv.GetMaxSamples(), 21);  // CW
  qv.Pulsed.Nvzoriek = 4095;
  int32_t maxN = 0;
  EXPECT_EQ(qv.PlanSampling(wfPulsed, &maxN), 2);
  EXPECT_EQ(qv.Pulsed.Fvzork, 200000);
  EXPECT_EQ(qv.Pulsed.Nvzoriek, 201);
  EXPECT_EQ(maxN, 201);
  qv.VarPar.Waveform = wfPulsed;
  EXPECT_EQ(qv.GetMaxSamples(), 201);

  EXPECT_EQ(qv.DeriveSampling(wfCW), 0);
  EXPECT_EQ(qv.DeriveSampling(wfRectified), 0);  // the defaults fit
  EXPECT_EQ(qv.Rectif.Fvzork, 10000);
  qv.Rectif.Nvzoriek = 4095;
  EXPECT_EQ(qv.DeriveSampling(wfRectified), 1);
  EXPECT_EQ(qv.Rectif.Nvzoriek, 4001);
  qv.Pulsed.Nvzoriek = 4095;
  EXPECT_EQ(qv.DeriveSampling(wfPulsed), 2);
}

TEST(TQvWin, FrameTimeout) {
  struct Case {
    const char* name;
    std::function<void(TQvWin&, TMotState&)> set;
    int32_t asked;
    uint16_t expected;
  };
  const Case cases[] = {
      // 200 / 10000 * 1000 + 4.5 + 201 * 0.0448 + 20 + 1020 = 1073.5048
      {"CW defaults", [](TQvWin&, TMotState&) {}, -1, 1074},
      // TcountCw div 1000 is an integer division: 20999 counts as 20 ms.
      {"CW count time is whole ms", [](TQvWin& q, TMotState&) { q.VarPar.TcountCw = 20999; }, -1,
       1074},
      {"CW with autotune adds the tune time", [](TQvWin&, TMotState& m) { m.AtOn = true; }, -1,
       2074},
      {"a long tune time is waited for", [](TQvWin& q, TMotState&) { q.TuneTimeMs = 1500.0; }, -1,
       1500},
      // 1 * 2 / 50 * 1000 + 16 + 201 * 0.169 + 1020 = 1109.969
      {"rectified", [](TQvWin& q, TMotState&) { q.VarPar.Waveform = wfRectified; }, -1, 1110},
      // + 201 * 3.5 for the individual samples when the cycle asks
      {"rectified samples, cycle",
       [](TQvWin& q, TMotState&) {
         q.VarPar.Waveform = wfRectified;
         q.Rectif.Bsamples = true;
       },
       -1, 1813},
      {"rectified samples, command",
       [](TQvWin& q, TMotState&) {
         q.VarPar.Waveform = wfRectified;
         q.Rectif.Bsamples = true;
       },
       500, 1110},
      // 1000 / 1000 + 354 + 201 * 0.111 + 1020 = 1397.311
      {"pulsed", [](TQvWin& q, TMotState&) { q.VarPar.Waveform = wfPulsed; }, -1, 1397},
      {"pulsed samples, cycle",
       [](TQvWin& q, TMotState&) {
         q.VarPar.Waveform = wfPulsed;
         q.Pulsed.Bsamples = true;
       },
       -1, 2101},
      {"limited to 65535",
       [](TQvWin& q, TMotState&) {
         q.VarPar.Waveform = wfRectified;
         q.Rectif.RippleFreq = 1;
         q.Rectif.Periods = 1000;
       },
       -1, 65535},
      // A ripple frequency of 0 is computed as 1 Hz: 2000 + 16 + 33.969 + 1020.
      {"ripple frequency 0",
       [](TQvWin& q, TMotState&) {
         q.VarPar.Waveform = wfRectified;
         q.Rectif.RippleFreq = 0;
       },
       -1, 3070},
      {"CW sampling frequency 0", [](TQvWin& q, TMotState&) { q.VarPar.FsamplCw = 0; }, -1, 65535},
      {"CW sampling frequency 0, one sample",
       [](TQvWin& q, TMotState&) {
         q.VarPar.FsamplCw = 0;
         q.VarPar.Vrpt = 1;
       },
       -1, 65535},
      // 4.5 + 0.0448 + 1020 with nothing to wait for
      {"shortest CW time-out",
       [](TQvWin& q, TMotState&) {
         q.TuneTimeMs = 0.0;
         q.VarPar.Vrpt = 1;
         q.VarPar.TcountCw = 16;
       },
       -1, 1025},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TMotState mot;
    TQvWin qv(mot);
    c.set(qv, mot);
    EXPECT_EQ(qv.FrameTimeoutMs(c.asked), c.expected);
  }
}

TEST(TQvWin, DekodMerDataUsesTheObjectsCutoffPlaneExtensionAndMotorState) {
  TFrameSpec fspec;
  fspec.Pinc_W = 1000.0;
  fspec.Temp_C = 25.0;
  fspec.RhoM = complex(0.5, 0.0);
  fspec.RhoZ = complex(0.25, 0.0);
  fspec.Freq_Hz = 2.45e9;
  fspec.Pos = MakeMotPos(100, 200, 300);
  TMerObjekt frame{};
  EncodeFrame(fspec, frame);

  TMotState mot;
  TQvWin qv(mot);
  THresults res;
  ASSERT_TRUE(qv.DekodMerData(frame, res));
  EXPECT_EQ(qv.Nmo, 28);  // the checksum's position
  EXPECT_EQ(mot.ActPos, MakeMotPos(100, 200, 300));
  const double fc = 299792458.0 / (2 * 0.08636);
  const double lg = 299792458.0 / std::sqrt(2.45e9 * 2.45e9 - fc * fc);
  EXPECT_NEAR(res.LG, lg, 1e-12);
  EXPECT_NEAR(res.Rho_z.re, 0.25, 1e-12);

  // The load coefficient turns by 4 pi L / lg for an extension L.
  qv.PlaneExt.SetValue(125.0);
  ASSERT_TRUE(qv.DekodMerData(frame, res));
  const double theta = 4.0 * std::numbers::pi * 0.125 / lg;
  EXPECT_NEAR(res.Rho_z.re, 0.25 * std::cos(theta), 1e-12);
  EXPECT_NEAR(res.Rho_z.im, 0.25 * std::sin(theta), 1e-12);

  // A coaxial line has no cut-off.
  qv.FixPar.IsCoax = 1;
  qv.f_cutoff = CutoffFrequency(qv.FixPar);
  ASSERT_TRUE(qv.DekodMerData(frame, res));
  EXPECT_NEAR(res.LG, 299792458.0 / 2.45e9, 1e-12);
}

// ---- the setup section ----------------------------------------------------------------------

// The analyzer state and the motor state it writes beside its own, as one setup rig.
struct QvSetupRig {
  TMotState mot;
  TQvWin qv{mot};
  void Write(IniFile& ini) const { qv.WriteStp(1, ini, QStringLiteral("bench setup")); }
  void Read(const IniFile& ini) { qv.ReadStp(1, ini, nullptr); }
};

const qz::testing::TPerturbs<QvSetupRig>& QvPerturbs() {
  using R = QvSetupRig;
  static const qz::testing::TPerturbs<R> p = {
      {"Points", [](R& r) { r.qv.PtsPerSwp = 555; }},
      {"PlaneExt", [](R& r) { r.qv.PlaneExt.SetValue(-12.375); }},
      {"Vrpt", [](R& r) { r.qv.VarPar.Vrpt = 333; }},
      {"Trpt", [](R& r) { r.qv.VarPar.Trpt = 17; }},
      {"IsCntOn", [](R& r) { r.qv.VarPar.IsCntOn = 0; }},
      {"TcountCw", [](R& r) { r.qv.VarPar.TcountCw = 40000; }},
      {"FdeltaMHz", [](R& r) { r.qv.VarPar.FdeltaMHz = 100; }},
      {"FsubstKHz", [](R& r) { r.qv.VarPar.FsubstKHz = 2400000; }},
      {"FsamplCw", [](R& r) { r.qv.VarPar.FsamplCw = 50000; }},
      {"MotRefreshMs", [](R& r) { r.qv.MotRefreshMs = 250; }},
      {"Waveform", [](R& r) { r.qv.VarPar.Waveform = wfPulsed; }},
      {"LineFreq", [](R& r) { r.qv.Rectif.RippleFreq = 60; }},
      {"Periods", [](R& r) { r.qv.Rectif.Periods = 3; }},
      {"NvzRect", [](R& r) { r.qv.Rectif.Nvzoriek = 301; }},
      {"TcntRect", [](R& r) { r.qv.Rectif.TcntUs = 4000; }},
      {"BsmplRect", [](R& r) { r.qv.Rectif.Bsamples = true; }},
      {"TsmplPuls", [](R& r) { r.qv.Pulsed.TsamplUs = 2500; }},
      {"TmaxMsPuls", [](R& r) { r.qv.Pulsed.TmaxMs = 250; }},
      {"NvzPuls", [](R& r) { r.qv.Pulsed.Nvzoriek = 401; }},
      {"TcntPuls", [](R& r) { r.qv.Pulsed.TcntUs = 64; }},
      {"BsmplPuls", [](R& r) { r.qv.Pulsed.Bsamples = true; }},
      {"TrgLevel", [](R& r) { r.qv.VarPar.MinMaxTrgLvl = 70; }},
      {"TrgMethod", [](R& r) { r.qv.TrgMethod = 1; }},
      {"Rect_Acc_Lvl",
       [](R& r) { r.qv.VarPar.TrgMeth_AccLvl = WithRectAccLvl(r.qv.VarPar.TrgMeth_AccLvl, 33); }},
      {"Puls_Acc_Lvl",
       [](R& r) { r.qv.VarPar.TrgMeth_AccLvl = WithPulsAccLvl(r.qv.VarPar.TrgMeth_AccLvl, 66); }},
      {"BilinTrPath", [](R& r) { r.qv.BiTr.Path = QStringLiteral("/data/my spar, v2.txt"); }},
      {"BilinTrDir", [](R& r) { r.qv.BiTr.Direction = TBilinDir::Remove; }},
      {"IsOn", [](R& r) { r.mot.AtOn = true; }},
      {"Toler_mU", [](R& r) { r.mot.Toler_mU = 40; }},
      {"Targ_mU", [](R& r) { r.mot.Targ_mU = 10; }},
      {"Skip", [](R& r) { r.mot.Skip = 3; }},
      {"Delay5b", [](R& r) { r.mot.Delay5b = 12; }},
      {"Smooth", [](R& r) { r.mot.Smooth = 4; }},
      {"WaitRF", [](R& r) { r.mot.WaitRF = false; }},
      {"HystDg", [](R& r) { r.mot.HystDg = 9; }},
      {"SendTunePos", [](R& r) { r.mot.SendTunePos = true; }},
      {"OnPeriod_ms", [](R& r) { r.qv.MstpCW.OnPeriod_ms = 100; }},
      {"OfsPeriod_s", [](R& r) { r.qv.MstpCW.OfsPeriod_s = 60; }},
      {"FPeriod_ms", [](R& r) { r.qv.MstpCW.FPeriod_ms = 200; }},
      {"TPeriod_s", [](R& r) { r.qv.MstpCW.TPeriod_s = 90; }},
      {"TxPeriod_ms", [](R& r) { r.qv.MstpCW.TxPeriod_ms = 500; }},
      {"TxMask", [](R& r) { r.qv.MstpCW.TxMask = 5; }},
      {"OnRnge", [](R& r) { r.qv.MstpCW.OnRnge = 2; }},
      {"OfsRnge", [](R& r) { r.qv.MstpCW.OfsRnge = -1; }},
      {"OfsEqualOn", [](R& r) { r.qv.MstpCW.OfsEqualOn = false; }},
  };
  return p;
}

TEST(TQvWinSetup, WriteThenReadRestoresEveryField) {
  const std::function<std::unique_ptr<QvSetupRig>()> fresh = [] {
    return std::make_unique<QvSetupRig>();
  };
  qz::testing::ExpectRoundTrip(fresh, QvPerturbs());

  // Every key of the section has its change.
  IniFile ini;
  QvSetupRig a;
  for (const auto& [name, change] : QvPerturbs()) change(a);
  a.Write(ini);
  QStringList perturbed;
  for (const auto& p : QvPerturbs()) perturbed << QString::fromLatin1(p.first);
  EXPECT_EQ(QStringList{"SetupInfo"} + perturbed, ini.ReadSection(QStringLiteral("QvTuStp1")));
  // Written with the system's own key spelling.
  EXPECT_EQ(ini.ReadSection(QStringLiteral("QvTuStp1")).at(24), QStringLiteral("Rect_Acc_Lvl"));

  TMotState motB;
  TQvWin b(motB);
  EXPECT_EQ(b.ReadStp(1, ini, nullptr), QStringLiteral("bench setup"));
  EXPECT_EQ(b.PlaneExt.Extension, -12.375);
  EXPECT_TRUE(b.PlaneExt.Bexten);
  EXPECT_EQ(RectAccLvlOf(b.VarPar.TrgMeth_AccLvl), 33);
  EXPECT_EQ(PulsAccLvlOf(b.VarPar.TrgMeth_AccLvl), 66);
  EXPECT_EQ(b.BiTr.Path, QStringLiteral("/data/my spar, v2.txt"));
  TMeaStp expected = a.qv.MstpCW;
  EXPECT_EQ(b.MstpCW, expected);

  // Read back and written again, the section is the same text, its keys in the setup's order.
  IniFile again;
  b.WriteStp(1, again, QStringLiteral("bench setup"));
  EXPECT_EQ(again.Text(), ini.Text());
  EXPECT_EQ(
      ini.ReadSection(QStringLiteral("QvTuStp1")),
      (QStringList{"SetupInfo",    "Points",      "PlaneExt",    "Vrpt",        "Trpt",
                   "IsCntOn",      "TcountCw",    "FdeltaMHz",   "FsubstKHz",   "FsamplCw",
                   "MotRefreshMs", "Waveform",    "LineFreq",    "Periods",     "NvzRect",
                   "TcntRect",     "BsmplRect",   "TsmplPuls",   "TmaxMsPuls",  "NvzPuls",
                   "TcntPuls",     "BsmplPuls",   "TrgLevel",    "TrgMethod",   "Rect_Acc_Lvl",
                   "Puls_Acc_Lvl", "BilinTrPath", "BilinTrDir",  "IsOn",        "Toler_mU",
                   "Targ_mU",      "Skip",        "Delay5b",     "Smooth",      "WaitRF",
                   "HystDg",       "SendTunePos", "OnPeriod_ms", "OfsPeriod_s", "FPeriod_ms",
                   "TPeriod_s",    "TxPeriod_ms", "TxMask",      "OnRnge",      "OfsRnge",
                   "OfsEqualOn"}));
}

TEST(TQvWinSetup, WrittenTextUsesPointsAndOnesAndZeros) {
  TMotState mot;
  TQvWin qv(mot);
  qv.PlaneExt.SetValue(2.5);
  qv.Rectif.Bsamples = true;
  IniFile ini;
  qv.WriteStp(2, ini, QString());
  const QStringList lines = ini.SectionLines(QStringLiteral("QvTuStp2"));
  EXPECT_TRUE(lines.contains(QStringLiteral("PlaneExt=2.5")));
  EXPECT_TRUE(lines.contains(QStringLiteral("BsmplRect=1")));
  EXPECT_TRUE(lines.contains(QStringLiteral("BsmplPuls=0")));
  EXPECT_TRUE(lines.contains(QStringLiteral("TrgMethod=0")));
  EXPECT_TRUE(lines.contains(QStringLiteral("OnRnge=-1")));
  EXPECT_EQ(lines.size(), 46);
  EXPECT_TRUE(lines.contains(QStringLiteral("BilinTrDir=0")));
}

TEST(TQvWinSetup, ValuesAreLimitedOnRead) {
  struct Case {
    const char* line;
    std::function<int64_t(const TQvWin&, const TMotState&)> get;
    int64_t expected;
  };
  using Q = const TQvWin&;
  using M = const TMotState&;
  const Case cases[] = {
      {"TrgMethod=2", [](Q q, M) { return q.TrgMethod; }, 1},
      // The transform's direction: 1 Remove fixture, anything else Apply two-port.
      {"BilinTrDir=1", [](Q q, M) { return int(q.BiTr.Direction); }, 1},
      {"BilinTrDir=2", [](Q q, M) { return int(q.BiTr.Direction); }, 0},
      {"BilinTrDir=-1", [](Q q, M) { return int(q.BiTr.Direction); }, 0},
      {"BilinTrDir=x", [](Q q, M) { return int(q.BiTr.Direction); }, 0},
      {"TxMask=255", [](Q q, M) { return q.MstpCW.TxMask; }, 7},
      {"TxMask=13", [](Q q, M) { return q.MstpCW.TxMask; }, 5},
      {"TxMask=300", [](Q q, M) { return q.MstpCW.TxMask; }, 7},
      {"LineFreq=0", [](Q q, M) { return q.Rectif.RippleFreq; }, 1},
      {"LineFreq=20000", [](Q q, M) { return q.Rectif.RippleFreq; }, 10000},
      {"Periods=0", [](Q q, M) { return q.Rectif.Periods; }, 1},
      {"Periods=5000", [](Q q, M) { return q.Rectif.Periods; }, 1000},
      {"NvzRect=5", [](Q q, M) { return q.Rectif.Nvzoriek; }, 21},
      {"NvzRect=70000", [](Q q, M) { return q.Rectif.Nvzoriek; }, 4095},
      {"TcntRect=0", [](Q q, M) { return q.Rectif.TcntUs; }, 16},
      {"TcntRect=-5", [](Q q, M) { return q.Rectif.TcntUs; }, 16},
      {"TsmplPuls=5", [](Q q, M) { return q.Pulsed.TsamplUs; }, 10},
      {"TsmplPuls=99999999", [](Q q, M) { return q.Pulsed.TsamplUs; }, 10000000},
      {"TmaxMsPuls=0", [](Q q, M) { return q.Pulsed.TmaxMs; }, 1},
      {"TmaxMsPuls=20000", [](Q q, M) { return q.Pulsed.TmaxMs; }, 10000},
      {"NvzPuls=0", [](Q q, M) { return q.Pulsed.Nvzoriek; }, 21},
      {"TcntPuls=2000000", [](Q q, M) { return q.Pulsed.TcntUs; }, 1000000},
      {"Points=0", [](Q q, M) { return q.PtsPerSwp; }, 1},
      {"Points=30000", [](Q q, M) { return q.PtsPerSwp; }, 20001},
      {"Vrpt=0", [](Q q, M) { return q.VarPar.Vrpt; }, 1},
      {"Trpt=5000", [](Q q, M) { return q.VarPar.Trpt; }, 4095},
      {"IsCntOn=2", [](Q q, M) { return q.VarPar.IsCntOn; }, 0},
      {"IsCntOn=3", [](Q q, M) { return q.VarPar.IsCntOn; }, 1},
      {"TcountCw=10", [](Q q, M) { return q.VarPar.TcountCw; }, 16},
      {"FdeltaMHz=5000", [](Q q, M) { return q.VarPar.FdeltaMHz; }, 1225},
      {"FdeltaMHz=0", [](Q q, M) { return q.VarPar.FdeltaMHz; }, 1},
      {"FsubstKHz=5", [](Q q, M) { return q.VarPar.FsubstKHz; }, 100},
      {"FsamplCw=300000", [](Q q, M) { return q.VarPar.FsamplCw; }, 200000},
      {"FsamplCw=1", [](Q q, M) { return q.VarPar.FsamplCw; }, 10},
      {"MotRefreshMs=50", [](Q q, M) { return q.MotRefreshMs; }, 100},
      {"MotRefreshMs=70000", [](Q q, M) { return q.MotRefreshMs; }, 65535},
      {"Waveform=7", [](Q q, M) { return q.VarPar.Waveform; }, 2},
      {"Waveform=-1", [](Q q, M) { return q.VarPar.Waveform; }, 0},
      {"TrgLevel=150", [](Q q, M) { return q.VarPar.MinMaxTrgLvl; }, 100},
      {"Rect_Acc_Lvl=101", [](Q q, M) { return RectAccLvlOf(q.VarPar.TrgMeth_AccLvl); }, 100},
      {"Puls_Acc_Lvl=-3", [](Q q, M) { return PulsAccLvlOf(q.VarPar.TrgMeth_AccLvl); }, 0},
      {"Toler_mU=2000", [](Q, M m) { return m.Toler_mU; }, 1000},
      {"Targ_mU=-1", [](Q, M m) { return m.Targ_mU; }, 0},
      {"Skip=300", [](Q, M m) { return m.Skip; }, 255},
      {"Delay5b=40", [](Q, M m) { return m.Delay5b; }, 31},
      {"Smooth=0", [](Q, M m) { return m.Smooth; }, 1},
      {"HystDg=256", [](Q, M m) { return m.HystDg; }, 255},
      {"OnPeriod_ms=70000", [](Q q, M) { return q.MstpCW.OnPeriod_ms; }, 65535},
      {"OfsPeriod_s=4000", [](Q q, M) { return q.MstpCW.OfsPeriod_s; }, 3600},
      {"TPeriod_s=-2", [](Q q, M) { return q.MstpCW.TPeriod_s; }, 0},
      {"OnRnge=-5", [](Q q, M) { return q.MstpCW.OnRnge; }, -1},
      {"OfsRnge=9", [](Q q, M) { return q.MstpCW.OfsRnge; }, 7},
      // Text where a number belongs keeps the present value.
      {"Vrpt=many", [](Q q, M) { return q.VarPar.Vrpt; }, 201},
      {"LineFreq=", [](Q q, M) { return q.Rectif.RippleFreq; }, 50},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    TMotState mot;
    TQvWin qv(mot);
    IniFile ini;
    SetSetup(ini, QStringLiteral("[QvTuStp1]\r\n") + QLatin1String(c.line) + "\r\n");
    qv.ReadStp(1, ini, nullptr);
    EXPECT_EQ(c.get(qv, mot), c.expected);
  }
}

// A setup without the direction (written before it existed) reads Apply two-port, whatever was
// chosen before.
TEST(TQvWinSetup, AbsentTransformDirectionReadsApply) {
  TMotState mot;
  TQvWin qv(mot);
  qv.BiTr.Direction = TBilinDir::Remove;
  IniFile ini;
  SetSetup(ini, QStringLiteral("[QvTuStp1]\r\nBilinTrPath=a.s2p\r\n"));
  qv.ReadStp(1, ini, nullptr);
  EXPECT_EQ(qv.BiTr.Direction, TBilinDir::Apply);
}

TEST(TQvWinSetup, PlaneExtensionIsLimitedAndDefaultsToZero) {
  struct Case {
    const char* line;
    double expected;
  };
  const Case cases[] = {{"PlaneExt=12.5", 12.5},       {"PlaneExt=5e6", 1000000.0},
                        {"PlaneExt=-5e6", -1000000.0}, {"PlaneExt=abc", 0.0},
                        {"PlaneExt=nan", 0.0},         {"Other=1", 0.0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    TMotState mot;
    TQvWin qv(mot);
    qv.PlaneExt.SetValue(7.0);
    IniFile ini;
    SetSetup(ini, QStringLiteral("[QvTuStp1]\r\n") + QLatin1String(c.line) + "\r\n");
    qv.ReadStp(1, ini, nullptr);
    EXPECT_EQ(qv.PlaneExt.Extension, c.expected);
    EXPECT_EQ(qv.PlaneExt.Bexten, c.expected != 0.0);
  }
}

TEST(TQvWinSetup, MissingKeysKeepPresentValuesExceptTheirOwnDefaults) {
  TMotState mot;
  TQvWin qv(mot);
  qv.VarPar.Vrpt = 99;
  qv.VarPar.IsCntOn = 0;
  mot.SendTunePos = true;
  mot.AtOn = true;
  qv.BiTr.Path = QStringLiteral("keep.txt");
  IniFile ini;
  SetSetup(ini, QStringLiteral("[QvTuStp1]\r\nPoints=7\r\n"));
  EXPECT_EQ(qv.ReadStp(1, ini, nullptr), QString());
  EXPECT_EQ(qv.PtsPerSwp, 7);
  EXPECT_EQ(qv.VarPar.Vrpt, 99);
  EXPECT_TRUE(mot.AtOn);
  EXPECT_EQ(qv.BiTr.Path, QStringLiteral("keep.txt"));
  EXPECT_EQ(qv.VarPar.IsCntOn, 1);  // counter on unless the setup says otherwise
  EXPECT_FALSE(mot.SendTunePos);    // a setup without the key switches sending off
}

TEST(TQvWinSetup, KeysAndSectionAreFoundInAnyLetterCase) {
  TMotState mot;
  TQvWin qv(mot);
  IniFile ini;
  SetSetup(ini, QStringLiteral("[qvtustp1]\r\nrect_acc_lvl=40\r\nVRPT=300\r\nlinefreq=60\r\n"
                               "isOn=1\r\nsendtunepos=1\r\ntxmask=3\r\nbilintrpath=a.txt\r\n"));
  qv.ReadStp(1, ini, nullptr);
  EXPECT_EQ(RectAccLvlOf(qv.VarPar.TrgMeth_AccLvl), 40);
  EXPECT_EQ(qv.VarPar.Vrpt, 300);
  EXPECT_EQ(qv.Rectif.RippleFreq, 60);
  EXPECT_TRUE(mot.AtOn);
  EXPECT_TRUE(mot.SendTunePos);
  EXPECT_EQ(qv.MstpCW.TxMask, 3);
  EXPECT_EQ(qv.BiTr.Path, QStringLiteral("a.txt"));
}

TEST(TQvWinSetup, EachUnitHasItsOwnSection) {
  TMotState mot;
  TQvWin qv(mot);
  qv.VarPar.Vrpt = 1234;
  IniFile ini;
  qv.WriteStp(2, ini, QStringLiteral("two"));
  EXPECT_EQ(QvSetupSection(2), QStringLiteral("QvTuStp2"));
  EXPECT_FALSE(ini.SectionExists(QStringLiteral("QvTuStp1")));

  TMotState mot2;
  TQvWin other(mot2);
  EXPECT_EQ(other.ReadStp(1, ini, nullptr), QString());
  EXPECT_EQ(other.VarPar.Vrpt, 201);
  EXPECT_EQ(other.ReadStp(2, ini, nullptr), QStringLiteral("two"));
  EXPECT_EQ(other.VarPar.Vrpt, 1234);
}

TEST(TQvWinSetup, LineFrequencyZeroIsReadSafely) {
  TMotState mot;
  TQvWin qv(mot);
  RecordingSync sync(qv);
  IniFile ini;
  SetSetup(ini, QStringLiteral("[QvTuStp1]\r\nWaveform=1\r\nLineFreq=0\r\nPeriods=0\r\n"));
  qv.ReadStp(1, ini, &sync);
  EXPECT_EQ(qv.Rectif.RippleFreq, 1);
  EXPECT_EQ(qv.Rectif.Periods, 1);
  EXPECT_EQ(qv.Rectif.RplPeri_us, 1000000);
  // 1 * 2 / 1 * 1000 + 16 + 201 * 0.169 + 1020 = 3069.969
  EXPECT_EQ(qv.FrameTimeoutMs(kToutForCycle), 3070);
}

TEST(TQvWinSetup, AfterReadingTheUnitIsBroughtInLineInOrder) {
  const std::vector<std::string> common = {"StopUnit",     "SendWaveform",  "SendFreqTolerance",
                                           "SendCounter",  "SendSubstFreq", "SendFsamplCw",
                                           "SendAveraging"};
  const std::vector<std::string> tail = {"RefreshMeaStpWindow", "SendMotRefresh",
                                         "SendAutotuneParams", "SendAutotuneOnOff",
                                         "SendTunePosState"};
  for (uint16_t ver : {uint16_t(0), uint16_t(35), uint16_t(36)}) {
    SCOPED_TRACE(ver);
    TMotState mot;
    TQvWin qv(mot);
    qv.SrvVerNum = ver;
    RecordingSync sync(qv);
    IniFile ini;
    SetSetup(ini,
             QStringLiteral("[QvTuStp1]\r\nVrpt=17\r\nTrpt=3\r\nTrgMethod=1\r\nLineFreq=40\r\n"));
    qv.ReadStp(1, ini, &sync);

    std::vector<std::string> expected = common;
    if (ver > 35) expected.push_back("SendMeaStp");
    expected.insert(expected.end(), tail.begin(), tail.end());
    if (ver > 35) expected.push_back("SendHysteresis");
    EXPECT_EQ(sync.calls, expected);

    // The derived rectified values are recomputed after the stop, before the waveform is sent,
    // and the waveform settings carry the trigger method read.
    EXPECT_EQ(sync.rplPeriAtStop, -1);
    EXPECT_EQ(sync.rplPeriAtWaveform, 25000);
    EXPECT_EQ(sync.trgMethodAtWaveform, 1);
    EXPECT_EQ(sync.vrpt, 17);
    EXPECT_EQ(sync.trpt, 3);
  }
}

}  // namespace
}  // namespace qz
