#include "core/resultstext.h"

#include <gtest/gtest.h>

#include "common/testframes.h"

#include <QDate>
#include <QStringList>
#include <QTime>
#include <cmath>
#include <limits>
#include <random>

#include "core/frameenc.h"
#include "core/qvwin.h"
#include "util/datetext.h"
#include "util/versioninfo.h"

namespace qz {
namespace {

// 9 Dec 2026 14:30:05 local time: day 46365 since 30 Dec 1899, 52205 s into the day.
QDateTime FixedNow() { return QDateTime(QDate(2026, 12, 9), QTime(14, 30, 5)); }

THresults SampleResult() {
  THresults r;
  r.je_qv = true;
  r.FreD = 2450e6;
  r.Mag_m = 0.25;
  r.Pha_m = -45.5;
  r.Pinc = 1234.5;
  r.Prfl = 12.5;
  r.Temp = 25.25;  // exactly between 25.2 and 25.3: half to even gives 25.2
  r.ErrByte = 16;
  r.Mag_z = 0.5;
  r.Pha_z = 90.0;
  return r;
}

TMotState SampleMotors() {
  TMotState m;
  m.ActPos = MakeMotPos(100, 2500, 4999);
  m.MotStatus = 3;
  m.MotError = 128;
  return m;
}

TTunerDescr SampleTuner() {
  TTunerDescr t;
  t.MmPerStep = 0.01;
  t.MaxSteps = 5000;
  return t;
}

int Columns(const QString& line) { return int(line.split(QLatin1Char('\t')).size()); }

TEST(ResultsText, HeadersNameTheColumnsInOrder) {
  EXPECT_EQ(SaveTxtHeader(true).split(QLatin1Char('\t')),
            QStringList({"No", "f_MHz", "Mag", "Pha_dg", "Pi_kW", "Pr_kW", "Temp_C", "Err", "MagL",
                         "PhaL_dg", "St1_mm", "St2_mm", "St3_mm", "MS1", "MS2", "WinTime"}));
  EXPECT_EQ(SaveTxtHeader(false),
            "No\tf_MHz\tMag\tPha_dg\tPi_kW\tPr_kW\tTemp_C\tErr\tMagL\tPhaL_dg"
            "\tSteps1\tSteps2\tSteps3\tMS1\tMS2\tWinTime");
  EXPECT_EQ(LogHeader(true),
            "No\tTime_s\tf_MHz\tMag\tPha_dg\tPi_kW\tPr_kW\tTemp_C\tErr\tMagL\tPhaL_dg"
            "\tSt1_mm\tSt2_mm\tSt3_mm\tMS1\tMS2\tWinTime");
  EXPECT_EQ(TunHeader(true), "\tSt1_mm\tSt2_mm\tSt3_mm\tMS1\tMS2");
  EXPECT_EQ(TunHeader(false), "\tSteps1\tSteps2\tSteps3\tMS1\tMS2");
}

TEST(ResultsText, MeasurementColumnsInBothSeparators) {
  const THresults r = SampleResult();
  struct Case {
    QChar sep;
    const char* cols;
  };
  const Case cases[] = {
      {QChar('.'), "2450.000\t0.2500\t-45.500\t1.2345E+000\t1.2500E-002\t25.2\t16\t0.5000\t90.000"},
      {QChar(','), "2450,000\t0,2500\t-45,500\t1,2345E+000\t1,2500E-002\t25,2\t16\t0,5000\t90,000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(QString(c.sep).toStdString());
    const QString cols = QString::fromLatin1(c.cols);
    EXPECT_EQ(MeasToString(r, c.sep), cols);
    EXPECT_EQ(MeasToString(7, r, c.sep), "7\t" + cols);
    // 12.3456 s to three decimals.
    EXPECT_EQ(MeasToString(7, r, 12.3456, c.sep), "7\t12" + QString(c.sep) + "346\t" + cols);
  }
}

TEST(ResultsText, EveryVariantIsEmptyWithoutMeasurementBlock) {
  THresults r = SampleResult();
  r.je_qv = false;
  EXPECT_EQ(MeasToString(r, QChar('.')), "");
  EXPECT_EQ(MeasToString(3, r, QChar('.')), "");
  EXPECT_EQ(MeasToString(3, r, 1.0, QChar('.')), "");
}

TEST(ResultsText, TunerColumnsInMillimetresAndSteps) {
  const TMotState m = SampleMotors();
  const TTunerDescr t = SampleTuner();
  EXPECT_EQ(TunToString(true, m, t, QChar('.')), "\t1.000\t25.000\t49.990\t3\t128");
  EXPECT_EQ(TunToString(true, m, t, QChar(',')), "\t1,000\t25,000\t49,990\t3\t128");
  EXPECT_EQ(TunToString(false, m, t, QChar(',')), "\t100\t2500\t4999\t3\t128");
}

TEST(ResultsText, WinTimeIsTheLocalDayNumber) {
  struct Case {
    QDateTime t;
    QChar sep;
    const char* text;
  };
  const Case cases[] = {
      {FixedNow(), QChar('.'), "\t46365.60422"},
      {FixedNow(), QChar(','), "\t46365,60422"},
      {QDateTime(QDate(2000, 1, 1), QTime(0, 0)), QChar('.'), "\t36526.00000"},
      {QDateTime(QDate(1899, 12, 30), QTime(18, 0)), QChar('.'), "\t0.75000"},
  };
  for (const Case& c : cases) EXPECT_EQ(WinTime(c.t, c.sep), QString::fromLatin1(c.text));
}

TEST(ResultsText, LogLineTrimsAndCountsColumns) {
  const TMotState m = SampleMotors();
  const TTunerDescr t = SampleTuner();
  THresults r = SampleResult();
  const QString line = GetLogString(r, 4, 12.3456, m, t, QChar('.'), FixedNow());
  EXPECT_EQ(line,
            "5\t12.346\t2450.000\t0.2500\t-45.500\t1.2345E+000\t1.2500E-002\t25.2\t16\t0.5000"
            "\t90.000\t1.000\t25.000\t49.990\t3\t128\t46365.60422");
  EXPECT_EQ(Columns(line), Columns(LogHeader(true)));
  // Without a measurement the tuner text loses its leading tab.
  r.je_qv = false;
  EXPECT_EQ(GetLogString(r, 4, 1.0, m, t, QChar('.'), FixedNow()),
            "1.000\t25.000\t49.990\t3\t128\t46365.60422");
}

// The log's own byte path gives the bytes of the general log line for any record: random
// results with and without a measurement, negative and non-finite values, stub positions of
// both signs, both separators and times before and after day zero.
TEST(ResultsText, LogLineBytesAreTheGeneralLine) {
  std::mt19937_64 rng(9122026);
  std::uniform_real_distribution<double> u(-1.0, 1.0);
  std::uniform_int_distribution<int> pos(-32768, 32767);
  std::uniform_int_distribution<int> byte(0, 255);
  const double odd[] = {0.0,
                        -0.0,
                        std::numeric_limits<double>::quiet_NaN(),
                        std::numeric_limits<double>::infinity(),
                        0.00025,
                        -2.5e-7};
  auto value = [&](double scale) {
    const int pick = byte(rng);
    if (pick < 8) return odd[pick % 6];
    return u(rng) * scale * std::pow(10.0, int(u(rng) * 4));
  };
  QByteArray bytes;
  for (int i = 0; i < 20000; ++i) {
    THresults r;
    r.je_qv = byte(rng) >= 32;
    r.FreD = value(3e9);
    r.Mag_m = value(1.0);
    r.Pha_m = value(180.0);
    r.Pinc = value(1e4);
    r.Prfl = value(1e3);
    r.Temp = value(100.0);
    r.ErrByte = uint8_t(byte(rng));
    r.Mag_z = value(1.0);
    r.Pha_z = value(180.0);
    TMotState m;
    m.ActPos = MakeMotPos(int16_t(pos(rng)), int16_t(pos(rng)), int16_t(pos(rng)));
    m.MotStatus = uint8_t(byte(rng));
    m.MotError = uint8_t(byte(rng));
    TTunerDescr t;
    t.MmPerStep = i % 3 == 0 ? 0.01 : std::fabs(value(0.1));
    const int32_t record = int32_t(rng() % 10000000);
    const double seconds = std::fabs(value(1e5));
    const QDateTime now = FixedNow().addSecs(int64_t(u(rng) * 4e9));
    const QChar sep = i % 2 ? QChar(',') : QChar('.');
    bytes.resize(0);
    AppendLogString(bytes, r, record, seconds, m, t, TDecSepBytes(sep), DateTimeToDays(now));
    ASSERT_EQ(QString::fromUtf8(bytes), GetLogString(r, record, seconds, m, t, sep, now))
        << "record " << i;
  }
}

TEST(ResultsText, LogLineBytesOfTheSampleRecord) {
  THresults r = SampleResult();
  QByteArray out;
  AppendLogString(out, r, 4, 12.3456, SampleMotors(), SampleTuner(), TDecSepBytes(QChar(',')),
                  DateTimeToDays(FixedNow()));
  EXPECT_EQ(out,
            "5\t12,346\t2450,000\t0,2500\t-45,500\t1,2345E+000\t1,2500E-002\t25,2\t16\t0,5000"
            "\t90,000\t1,000\t25,000\t49,990\t3\t128\t46365,60422");
  r.je_qv = false;
  out.resize(0);
  AppendLogString(out, r, 4, 1.0, SampleMotors(), SampleTuner(), TDecSepBytes(QChar('.')),
                  DateTimeToDays(FixedNow()));
  EXPECT_EQ(out, "1.000\t25.000\t49.990\t3\t128\t46365.60422");
}

class ResultsLineTest : public ::testing::Test {
 protected:
  ResultsLineTest() : qv(mot) {
    qv.SetDefaults();
    qv.LastSwp.SetNwanted(4);
    qv.LastSwp.Init(0.0);
  }
  static TMerObjekt Frame(double pinc, bool meas = true) {
    TFrameSpec s;
    s.Meas = meas;
    s.Freq_Hz = 2450e6;
    s.Pinc_W = pinc;
    s.Temp_C = 25.0;
    s.RhoM = complex(0.25, 0.0);
    s.RhoZ = complex(0.5, 0.0);
    s.Pos = MakeMotPos(100, 2500, 4999);
    s.MaxSteps = 5000;
    s.MotStatus = 3;
    return testing::EncodedFrame(s);
  }
  TMotState mot;
  TQvWin qv;
  TTunerDescr tu = SampleTuner();
};

TEST_F(ResultsLineTest, StoredFrameGivesSixteenColumns) {
  qv.LastSwp.Add(Frame(1234.5));
  const QString line = ResultsLine(qv, 0, tu, QChar('.'), FixedNow());
  const QStringList cols = line.split(QLatin1Char('\t'));
  ASSERT_EQ(cols.size(), 16);
  EXPECT_EQ(cols[0], "1");
  EXPECT_EQ(cols[1], "2450.000");
  // The frame carries the power with four significant digits: 1234.5 W arrives as 1234 W.
  EXPECT_EQ(cols[4], "1.2340E+000");
  EXPECT_EQ(cols[10], "1.000");
  EXPECT_EQ(cols[12], "49.990");
  EXPECT_EQ(cols[15], "46365.60422");
}

TEST_F(ResultsLineTest, MotorOnlyFrameAndDamagedFrame) {
  qv.LastSwp.Add(Frame(100.0, /*meas*/ false));
  TMerObjekt bad = Frame(100.0);
  bad[3] ^= 0x01;  // checksum no longer matches
  qv.LastSwp.Add(bad);
  EXPECT_EQ(ResultsLine(qv, 0, tu, QChar('.'), FixedNow()),
            "\t1.000\t25.000\t49.990\t3\t0\t46365.60422");
  EXPECT_EQ(ResultsLine(qv, 1, tu, QChar('.'), FixedNow()), "");
  // A slot outside the sweep gives no line rather than reading past it.
  EXPECT_EQ(ResultsLine(qv, 7, tu, QChar('.'), FixedNow()), "");
}

TEST_F(ResultsLineTest, AboutStringsAndSaveTxtInfo) {
  TProgramInfo p;
  p.version = "1.2.3";
  p.fileInfo = "QzSim,  1234567  09-Dec-2026 10:00";
  p.description = "QzSim impedance analyzer";
  const TAboutStrings a = GetAboutStrings(qv, p);
  EXPECT_EQ(a.title, "About QzmSoft");
  EXPECT_EQ(a.program, "QzmSoft Version 1.2.3");
  EXPECT_EQ(a.unit, "HW : QZTU 1.8/0\r\nSW : V0 Simulated");
  EXPECT_EQ(a.bestSrvVer, 59);
  EXPECT_EQ(a.description, "QzSim impedance analyzer");

  qv.PlaneExt.SetValue(12.5);
  qv.FixPar.SerNum = 417;
  EXPECT_EQ(GetSaveTxtInfo(qv, p),
            "\r\nQzmSoft Version 1.2.3 (QzSim,  1234567  09-Dec-2026 10:00)\r\n"
            "HW : QZTU 1.8/417\r\nSW : V0 Simulated\r\nPlane Ext=12.5 mm");
}

TEST_F(ResultsLineTest, ProgramInfoComesFromVersionInfo) {
  VersionInfoRec v;
  v.infoLine = "QzSim,  10  x";
  v.fileVersion = "9.8";
  v.fileDescription = "d";
  v.legalNotice = "n";
  const TProgramInfo p = ProgramInfoOf(v);
  EXPECT_EQ(p.version, "9.8");
  EXPECT_EQ(p.fileInfo, "QzSim,  10  x");
  EXPECT_EQ(p.legalNotice, "n");
  EXPECT_FALSE(CurrentProgramInfo().version.isEmpty());
}

TEST_F(ResultsLineTest, StampWithDefaultSettings) {
  const QString expected =
      "[Analyzer setup]\r\n"
      "WAVEFORM=0\r\nAUTORUN=1\r\n\r\n"
      "RECT_LINFRE=50\r\nRECT_PERIODS=1\r\nRECT_NSAMPL=201\r\nRECT_TCNT_US=2992\r\n"
      "RECT_ACC_LVL=25\r\n\r\n"
      "PULS_TSAMPL_US=1000\r\nPULS_NSAMPL=201\r\nPULS_TCNT_US=32\r\nPULS_TMAX_MS=100\r\n"
      "PULS_ACC_LVL=50\r\n\r\n"
      "TCOUNTCW_US=20000\r\nVRPT=201\r\nTRPT=8\r\nFSAMPL_CW=10000\r\nISCNTON=1\r\n"
      "FSUBST_KHZ=2450000\r\nFDELTA_MHZ=61\r\nTRGMETHOD=0\r\nTRGLEVEL=50\r\n\r\n"
      "OnPeriod_ms=0\r\nOfsPeriod_s=30\r\nFPeriod_ms=0\r\nTPeriod_s=30\r\nTxPeriod_ms=1000\r\n"
      "TxMask=7\r\nOnRnge=-1\r\nOfsRnge=3\r\nOfsEqualOn=TRUE\r\n\r\n"
      "[Tuner setup]\r\n"
      "MaxInsertion=50 mm\r\nAutotune=OFF\r\nToler_mU=25\r\nTarg_mU=0\r\nSkip=1\r\n"
      "Delay5b=0\r\nSmooth=1\r\nWaitRF=ON\r\nHystDg=5\r\nSendTunePos=NO\r\n"
      "Mot_Refresh=1000\r\n";
  EXPECT_EQ(WriteStamp(qv, tu), expected);
}

TEST_F(ResultsLineTest, StampFollowsChangedSettings) {
  mot.AtOn = true;
  mot.WaitRF = false;
  mot.SendTunePos = true;
  qv.MstpCW.OfsEqualOn = false;
  qv.TrgMethod = 1;
  qv.VarPar.Waveform = wfPulsed;
  qv.VarPar.TrgMeth_AccLvl = WithPulsAccLvl(WithRectAccLvl(0, 70), 90);
  tu.MaxSteps = 3333;
  const QStringList lines = WriteStamp(qv, tu).split("\r\n");
  for (const char* l :
       {"WAVEFORM=2", "RECT_ACC_LVL=70", "PULS_ACC_LVL=90", "TRGMETHOD=1", "OfsEqualOn=FALSE",
        "MaxInsertion=33.33 mm", "Autotune=ON", "WaitRF=OFF", "SendTunePos=YES"})
    EXPECT_TRUE(lines.contains(QString::fromLatin1(l))) << l;
}

TEST(ResultsText, SavedDateTimeHasSecondsAndNoZone) {
  const QDateTime t = FixedNow();
  EXPECT_EQ(SavedDateTimeText(t, QLocale(QLocale::English, QLocale::UnitedKingdom)),
            "09/12/2026 14:30:05");
  EXPECT_EQ(SavedDateTimeText(t, QLocale(QLocale::German, QLocale::Germany)), "09.12.26 14:30:05");
  EXPECT_EQ(SavedDateTimeText(t, QLocale::c()), "9 Dec 2026 14:30:05");
}

}  // namespace
}  // namespace qz
