// Results as CSV: the UTC time texts, one row's fields and their decimals, the description
// lines, the rows oldest first with their stamps, and the whole-or-nothing save.
#include "core/resultscsv.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <functional>
#include <limits>

#include "common/testfiles.h"
#include "common/testframes.h"
#include "core/qvwin.h"

namespace qz {
namespace {

TEST(ResultsCsv, UtcTimesAreIsoWithMilliseconds) {
  struct Case {
    int64_t ms;
    const char* text;
  } cases[] = {
      {0, "1970-01-01T00:00:00.000Z"},
      {-1, "1969-12-31T23:59:59.999Z"},
      {951782400000, "2000-02-29T00:00:00.000Z"},
      {1781049599999, "2026-06-09T23:59:59.999Z"},
      {4107542400001, "2100-03-01T00:00:00.001Z"},
      {253402300799999, "9999-12-31T23:59:59.999Z"},
  };
  for (const Case& c : cases) EXPECT_EQ(UtcTimeText(c.ms), c.text) << c.ms;
  // Against Qt's own calendar over many instants.
  QRandomGenerator rng(38);
  for (int i = 0; i < 2000; ++i) {
    const int64_t ms = int64_t(rng.bounded(4102444800.0)) * 1000 + rng.bounded(1000);
    const QString qt = QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC).toString(Qt::ISODateWithMs);
    ASSERT_EQ(UtcTimeText(ms), qt) << ms;
  }
}

class ResultsCsvTest : public ::testing::Test {
 protected:
  ResultsCsvTest() : qv(mot) {
    qv.SetDefaults();
    tu.MmPerStep = 0.01;
    tu.MaxSteps = 5000;
    tu.StubDist[1] = 52500;
    res.je_qv = true;
    res.FreD = 2.45e9;
    res.Mag_m = 0.5;
    res.Pha_m = -12.25;
    res.Mag_z = 0.25;
    res.Pha_z = 45.5;
    res.Pinc = 1234.5;
    res.Prfl = 308.625;
    res.Pabs = 925.875;
    res.Temp = 25.54;
    res.ErrByte = 3;
    mot.ActPos = MakeMotPos(100, 250, 4999);
    mot.MotStatus = 1;
    mot.MotError = 128;
  }
  QByteArray Row(const TSwpStamp& st, int64_t record = -1) {
    QByteArray b;
    AppendCsvRow(b, st, res, mot, tu, record);
    return b;
  }
  TMotState mot;
  TQvWin qv;
  TTunerDescr tu;
  THresults res;
};

TEST_F(ResultsCsvTest, RowFieldsAndTheirDecimals) {
  const QByteArray tuner = ",1.000,2.500,49.990,1,128\r\n";
  EXPECT_EQ(CsvColumnNames(),
            "frame,time,f_MHz,mag_in,pha_in_deg,mag_load,pha_load_deg,pinc_kW,prfl_kW,pabs_kW,"
            "vswr_in,temp_C,err,st1_mm,st2_mm,st3_mm,ms1,ms2");
  EXPECT_EQ(CsvColumnNames(true).left(13), "record,frame,");
  // VSWR (1 + 0.5) / (1 - 0.5) = 3; powers to the microwatt.
  EXPECT_EQ(Row({7, 1000}),
            "7,1970-01-01T00:00:01.000Z,2450.00000,0.500000,-12.2500,0.250000,"
            "45.5000,1.234500000,0.308625000,0.925875000,3.0000,25.5,3" +
                tuner);
  EXPECT_EQ(Row({7, 1000}, 12).left(5), "12,7,");
  // A frame stored without a stamp leaves frame and time empty.
  EXPECT_TRUE(Row({}).startsWith(",,2450.00000,"));
  // A reflection of 1 or more has no finite standing-wave ratio.
  struct Vswr {
    double g;
    const char* text;
  } vswr[] = {{0.0, "1.0000"}, {0.2, "1.5000"}, {0.99, "199.0000"}, {1.0, "inf"}, {1.2, "inf"}};
  for (const Vswr& v : vswr) {
    res.Mag_m = v.g;
    const QList<QByteArray> f = Row({1, 0}).split(',');
    ASSERT_EQ(f.size(), 18);
    EXPECT_EQ(f[10], v.text) << v.g;
  }
  // Without a measurement block only the stamp and the tuner fields are filled.
  res.je_qv = false;
  EXPECT_EQ(Row({3, 0}), "3,1970-01-01T00:00:00.000Z,,,,,,,,,,," + tuner);
  EXPECT_EQ(Row({3, 0}).split(',').size(), 18);
}

// Values far from the usual ones keep the row's shape: the field text of each is worked out by
// hand (rounding on the exact value, no "-0", the engine's non-finite words, long fields and
// years beyond four digits), and the rest of the row stays as it was.
TEST_F(ResultsCsvTest, RowsOfUnusualValuesKeepTheirFields) {
  struct Case {
    const char* what;
    std::function<void(THresults&, TMotState&)> set;
    TSwpStamp stamp;
    int64_t record;
    const char* row;
  } cases[] = {
      {"tiny negatives round to zero without a sign",
       [](THresults& r, TMotState&) {
         r.Pha_m = -0.00004;
         r.Prfl = -1e-7;
         r.Temp = -0.04;
       },
       {1, 0},
       -1,
       "1,1970-01-01T00:00:00.000Z,2450.00000,0.500000,0.0000,0.250000,45.5000,1.234500000,"
       "0.000000000,0.925875000,3.0000,0.0,3,1.000,2.500,49.990,1,128\r\n"},
      {"an unreadable reflection and powers out of range",
       [](THresults& r, TMotState&) {
         r.Mag_m = std::numeric_limits<double>::quiet_NaN();
         r.Pinc = 1e15;
         r.Pabs = -std::numeric_limits<double>::infinity();
       },
       {2, 0},
       -1,
       "2,1970-01-01T00:00:00.000Z,2450.00000,NAN,-12.2500,0.250000,45.5000,"
       "1000000000000.000000000,0.308625000,-INF,inf,25.5,3,1.000,2.500,49.990,1,128\r\n"},
      {"negative tuner positions and the largest status bytes",
       [](THresults& r, TMotState& m) {
         r.je_qv = false;
         m.ActPos = MakeMotPos(-100, 0, -32768);
         m.MotStatus = 255;
         m.MotError = 255;
       },
       {9, 0},
       -1,
       "9,1970-01-01T00:00:00.000Z,,,,,,,,,,,,-1.000,0.000,-327.680,255,255\r\n"},
      {"a record number before an unstamped frame",
       [](THresults& r, TMotState&) { r.je_qv = false; },
       {},
       5,
       "5,,,,,,,,,,,,,,1.000,2.500,49.990,1,128\r\n"},
      {"the first day of year 0 and the last millisecond before it",
       [](THresults& r, TMotState&) { r.je_qv = false; },
       {3, -62167219200000},
       0,
       "0,3,0000-01-01T00:00:00.000Z,,,,,,,,,,,,1.000,2.500,49.990,1,128\r\n"},
      {"a year before year 0",
       [](THresults& r, TMotState&) { r.je_qv = false; },
       {3, -62167219200001},
       -1,
       "3,-0001-12-31T23:59:59.999Z,,,,,,,,,,,,1.000,2.500,49.990,1,128\r\n"},
      {"a five-digit year and the largest numbers",
       [](THresults& r, TMotState&) { r.je_qv = false; },
       {std::numeric_limits<int64_t>::max(), 253402300800000},
       9223372036854775807,
       "9223372036854775807,9223372036854775807,10000-01-01T00:00:00.000Z,,,,,,,,,,,,1.000,"
       "2.500,49.990,1,128\r\n"},
  };
  const THresults base = res;
  const TMotState baseMot = mot;
  for (const Case& c : cases) {
    res = base;
    mot = baseMot;
    c.set(res, mot);
    // Appended after what is already there.
    QByteArray b = "kept|";
    AppendCsvRow(b, c.stamp, res, mot, tu, c.record);
    EXPECT_EQ(b, QByteArray("kept|") + c.row) << c.what;
  }
}

TEST_F(ResultsCsvTest, PlanesAndTransformAreNamed) {
  EXPECT_EQ(CsvPlaneIn(qv, tu), "tuner input at stub 1, 52.500 mm from the input flange");
  EXPECT_EQ(CsvPlaneLoad(qv), "output flange");
  EXPECT_EQ(CsvTransform(qv), "off");
  qv.PlaneExt.SetValue(-10.0);
  EXPECT_EQ(CsvPlaneLoad(qv), "moved -10.000 mm along the waveguide towards the load");
  qv.BiTr.Path = "/data/fix.s2p";
  qv.BiTr.FEnabled = true;
  qv.BiTr.SetActive(true);
  EXPECT_EQ(CsvPlaneIn(qv, tu), "port 1 of fix.s2p (Apply two-port)");
  EXPECT_EQ(CsvTransform(qv), "/data/fix.s2p, Apply two-port");
  qv.BiTr.Direction = TBilinDir::Remove;
  EXPECT_EQ(CsvPlaneIn(qv, tu), "port 2 of fix.s2p (Remove fixture)");
  EXPECT_EQ(CsvTransform(qv), "/data/fix.s2p, Remove fixture");
}

TEST_F(ResultsCsvTest, WholeFileRowsOldestFirstAfterTheDescription) {
  qv.LastSwp.SetNwanted(3);
  for (int k = 1; k <= 5; ++k) {
    TFrameSpec s = testing::MeasSpec(1000.0 * k, complex(0.2, 0.0), complex(0.0, 0.5));
    s.Meas = k != 4;  // frame 4 carries only its motor block
    s.Pos = MakeMotPos(int16_t(10 * k), 0, 0);
    s.MaxSteps = 5000;
    qv.LastSwp.Add(testing::EncodedFrame(s), qv.StampAccepted(1000 * k));
  }
  TCsvJob job;
  job.comment = "run 3\r\nsecond line";
  job.savedUtcMs = 1781049600000;
  job.program.version = "1.2.3";
  job.program.fileInfo = "QzSim,  1234567  01-Dec-2026 08:00";
  const QByteArray bytes = ResultsCsvBytes(qv, tu, job);
  // Every line ends with CR LF.
  EXPECT_EQ(bytes.count("\n"), bytes.count("\r\n"));
  const QList<QByteArray> lines = bytes.split('\n');
  QList<QByteArray> head, rows;
  bool columns = false;
  for (QByteArray l : lines) {
    l.chop(1);
    if (l.startsWith("# ")) {
      EXPECT_FALSE(columns) << "description after the rows";
      head << l;
    } else if (l.startsWith("frame,")) {
      columns = true;
    } else if (!l.isEmpty()) {
      rows << l;
    }
  }
  ASSERT_TRUE(columns);
  EXPECT_EQ(head[0], "# program: QzmSoft Version 1.2.3 (QzSim,  1234567  01-Dec-2026 08:00)");
  EXPECT_EQ(head[1], "# unit: HW : QZTU 1.8/0, SW : V0 Simulated");
  EXPECT_EQ(head[2], "# saved: 2026-06-10T00:00:00.000Z");
  EXPECT_EQ(head[3], "# comment: run 3 second line");
  EXPECT_EQ(head[4], "# plane_extension_mm: 0.000");
  EXPECT_TRUE(head.contains("# setup: [Analyzer setup]"));
  EXPECT_TRUE(head.contains("# setup: WAVEFORM=0"));
  EXPECT_TRUE(head.contains("# setup: Mot_Refresh=1000"));
  EXPECT_EQ(head[head.size() - 2], "# frames_measured: 5");
  EXPECT_EQ(head.last(), "# rows_kept: 3");
  // The ring kept frames 3, 4, 5, in slots 2, 0, 1: written oldest first.
  ASSERT_EQ(rows.size(), 3);
  const char* starts[] = {"3,1970-01-01T00:00:03.000Z,2450.00000,", "4,1970-01-01T00:00:04.000Z,",
                          "5,1970-01-01T00:00:05.000Z,2450.00000,"};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(rows[i].toStdString());
    EXPECT_TRUE(rows[i].startsWith(starts[i]));
    const QList<QByteArray> f = rows[i].split(',');
    ASSERT_EQ(f.size(), 18);
    if (i == 1) {
      // Only the stamp and the tuner fields.
      for (int k = 2; k <= 12; ++k) EXPECT_TRUE(f[k].isEmpty()) << k;
      EXPECT_EQ(f[13], "0.400");
      continue;
    }
    // The frame's own values (as the unit's frame layout carries them).
    EXPECT_NEAR(f[3].toDouble(), 0.2, 1e-3);
    EXPECT_NEAR(f[5].toDouble(), 0.5, 1e-3);
    EXPECT_NEAR(f[6].toDouble(), 90.0, 0.1);
    EXPECT_EQ(f[7], i == 0 ? "3.000000000" : "5.000000000");
    EXPECT_NEAR(f[8].toDouble() + f[9].toDouble(), f[7].toDouble(), 1.5e-9);
    EXPECT_EQ(f[13], i == 0 ? "0.300" : "0.500");
  }
}

TEST_F(ResultsCsvTest, SaveIsWholeOrNothingAndKeepsTheLastPath) {
  QTemporaryDir dir;
  TCsvJob job;
  job.path = dir.filePath("r.csv");
  QString last = "old.csv";
  const TSaveTxtResult none = SaveResultsCsv(qv, tu, job, last);
  EXPECT_EQ(none.message, "No measured data available");
  EXPECT_EQ(last, "old.csv");
  EXPECT_FALSE(QFile::exists(job.path));

  qv.LastSwp.SetNwanted(2);
  qv.LastSwp.Add(testing::EncodedFrame(testing::MeasSpec()), qv.StampAccepted(5));
  job.path = dir.filePath("no such folder/r.csv");
  const TSaveTxtResult bad = SaveResultsCsv(qv, tu, job, last);
  EXPECT_FALSE(bad.ok);
  EXPECT_TRUE(bad.message.contains("no such folder/r.csv")) << bad.message.toStdString();
  EXPECT_EQ(last, "old.csv");

  job.path = dir.filePath("r.csv");
  ASSERT_TRUE(SaveResultsCsv(qv, tu, job, last).ok);
  EXPECT_EQ(last, job.path);
  EXPECT_TRUE(testing::ReadAll(job.path).contains("\r\nframe,time,"));
  EXPECT_EQ(CsvNameFor("/data/run 1.txt"), "/data/run 1.csv");
  EXPECT_EQ(CsvNameFor("res.v2.txt"), "res.v2.csv");
  EXPECT_EQ(CsvNameFor("/data/noext"), "/data/noext.csv");
}

}  // namespace
}  // namespace qz
