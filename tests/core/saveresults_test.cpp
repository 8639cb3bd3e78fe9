#include "core/saveresults.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include "common/testframes.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTime>
#include <csignal>

#include "common/specialfiles.h"
#include "common/testfiles.h"
#include "core/frameenc.h"
#include "core/qvwin.h"

namespace qz {
namespace {

using testing::ReadAll;

class SaveResultsTest : public ::testing::Test {
 protected:
  SaveResultsTest() : qv(mot) {
    qv.SetDefaults();
    qv.LastSwp.SetNwanted(3);
    qv.LastSwp.Init(0.0);
    tu.MmPerStep = 0.01;
    tu.MaxSteps = 5000;
    job.comment = "Load test, run 3";
    job.now = QDateTime(QDate(2026, 12, 9), QTime(14, 30, 5));
    job.locale = QLocale(QLocale::English, QLocale::UnitedKingdom);
    job.program.version = "1.2.3";
    job.program.fileInfo = "QzSim,  1234567  01-Dec-2026 08:00";
  }

  static TMerObjekt Frame(double freqHz, double pinc, double pos1, bool meas = true) {
    TFrameSpec s;
    s.Meas = meas;
    s.Freq_Hz = freqHz;
    s.Pinc_W = pinc;
    s.Temp_C = 23.5;
    s.ErrByte = 0;
    s.RhoM = complex(0.25, 0.0);
    s.RhoZ = complex(0.0, 0.5);
    s.Pos = MakeMotPos(int16_t(pos1), 2000, 3000);
    s.MaxSteps = 5000;
    s.MotStatus = 1;
    s.MotError = 0;
    return testing::EncodedFrame(s);
  }

  QString PathOf(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

  QTemporaryDir dir;
  TMotState mot;
  TQvWin qv;
  TTunerDescr tu;
  TSaveTxtJob job;
};

TEST_F(SaveResultsTest, EmptySweepReportsAndWritesNothing) {
  job.path = PathOf("empty.txt");
  QString last = "old.txt";
  const TSaveTxtResult r = SaveResultsTxt(qv, tu, job, last);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.message, "No measured data available");
  EXPECT_FALSE(QFile::exists(job.path));
  EXPECT_EQ(last, "old.txt");
}

TEST_F(SaveResultsTest, UncreatableFileReportsAndRestoresPath) {
  qv.LastSwp.Add(Frame(2450e6, 100.0, 1000));
  job.path = PathOf("no such folder/r.txt");
  QString last = "old.txt";
  const TSaveTxtResult r = SaveResultsTxt(qv, tu, job, last);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.message, "File \"" + job.path + "\" cannot be opened");
  EXPECT_EQ(last, "old.txt");
  EXPECT_FALSE(QFile::exists(job.path));
}

// Results saved onto a FIFO, a folder or a device are refused with the one message; the path
// stays as it was and the last results path is not moved to it.
TEST_F(SaveResultsTest, TargetThatIsNoRegularFileIsRefused) {
  qv.LastSwp.Add(Frame(2450e6, 100.0, 1000));
  for (const testing::SpecialPath& sp : testing::SpecialPaths()) {
    SCOPED_TRACE(sp.label);
    QTemporaryDir here;
    job.path = testing::MakeSpecial(sp.kind, here.path());
    if (job.path.isEmpty()) continue;
    const unsigned before = testing::FileType(job.path);
    QString last = "old.txt";
    const TSaveTxtResult r = SaveResultsTxt(qv, tu, job, last);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, "\"" + job.path + "\" is not a regular file");
    EXPECT_EQ(last, "old.txt");
    EXPECT_EQ(testing::FileType(job.path), before);
  }
}

TEST_F(SaveResultsTest, SuccessRemembersPathAndReplacesOldFileWhole) {
  job.path = PathOf("r.txt");
  {
    QFile old(job.path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(100000, '@'));
  }
  qv.LastSwp.Add(Frame(2450e6, 100.0, 1000));
  QString last = "old.txt";
  const TSaveTxtResult r = SaveResultsTxt(qv, tu, job, last);
  ASSERT_TRUE(r.ok) << r.message.toStdString();
  EXPECT_EQ(last, job.path);
  const QByteArray bytes = ReadAll(job.path);
  EXPECT_FALSE(bytes.contains('@'));
  EXPECT_LT(bytes.size(), 100000);
  EXPECT_TRUE(bytes.startsWith("Load test, run 3\r\nNo\tf_MHz\t"));
  // Every line ends in CR LF: no bare LF anywhere.
  EXPECT_EQ(bytes.count("\n"), bytes.count("\r\n"));
  EXPECT_TRUE(bytes.endsWith("Mot_Refresh=1000\r\n"));
}

// A write cut short (a file size limit standing for a full disk) is reported, the old file of
// that name stays whole and the last results path is not moved to a file that was not written.
TEST_F(SaveResultsTest, ShortWriteKeepsOldFileAndPath) {
  job.path = PathOf("r.txt");
  {
    QFile old(job.path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("previous results\r\n");
  }
  for (int k = 0; k < 3; ++k) qv.LastSwp.Add(Frame(2450e6, 100.0, 1000));
  QString last = "old.txt";
  TSaveTxtResult r;
  {
    testing::FileSizeLimit limit(300);
    ASSERT_TRUE(limit.ok());
    r = SaveResultsTxt(qv, tu, job, last);
  }
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(r.message.startsWith("Cannot write file \"" + job.path + "\".\r\n"))
      << r.message.toStdString();
  EXPECT_EQ(last, "old.txt");
  EXPECT_EQ(ReadAll(job.path), QByteArray("previous results\r\n"));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"r.txt"});
}

TEST_F(SaveResultsTest, CommaSeparatorInNumbersOnly) {
  qv.LastSwp.Add(Frame(2450e6, 100.0, 1000));
  job.decSep = QChar(',');
  const QStringList lines = ResultsFileText(qv, tu, job).split("\r\n");
  ASSERT_GE(lines.size(), 3);
  const QStringList cols = lines[2].split('\t');
  ASSERT_EQ(cols.size(), 16);
  EXPECT_EQ(cols[1], "2450,000");
  EXPECT_EQ(cols[10], "10,000");
  EXPECT_EQ(cols[15], "46365,60422");
  // The stamp and header are not numbers of a result and keep their form.
  EXPECT_TRUE(lines.contains("MaxInsertion=50 mm"));
}

TEST_F(SaveResultsTest, LinesFollowStorageOrder) {
  // Four frames into a 3-slot ring: the fourth overwrites slot 0.
  for (int k = 1; k <= 4; ++k) qv.LastSwp.Add(Frame(2400e6 + k * 1e6, 100.0, 100 * k));
  const QStringList lines = ResultsFileText(qv, tu, job).split("\r\n");
  ASSERT_GE(lines.size(), 5);
  EXPECT_TRUE(lines[2].startsWith("1\t2404.000\t"));
  EXPECT_TRUE(lines[3].startsWith("2\t2402.000\t"));
  EXPECT_TRUE(lines[4].startsWith("3\t2403.000\t"));
  EXPECT_EQ(lines[5], "");
  EXPECT_EQ(lines[6], "Saved: 09/12/2026 14:30:05");
}

TEST_F(SaveResultsTest, PreTriggerLineOnlyOutsideCwWithSamplesShown) {
  qv.LastSwp.Add(Frame(2450e6, 100.0, 1000));
  job.preTrig = 17;
  struct Case {
    TWaveform wf;
    bool shown;
    bool written;
  };
  const Case cases[] = {
      {wfCW, true, false},
      {wfRectified, false, false},
      {wfRectified, true, true},
      {wfPulsed, true, true},
  };
  for (const Case& c : cases) {
    qv.VarPar.Waveform = c.wf;
    job.showIndividualSamples = c.shown;
    const QString text = ResultsFileText(qv, tu, job);
    EXPECT_EQ(text.contains("Plane Ext=\r\nPreTrig = 17\r\n\r\n[Analyzer setup]"), c.written)
        << int(c.wf) << c.shown;
    if (!c.written) {
      EXPECT_TRUE(text.contains("Plane Ext=\r\n\r\n[Analyzer setup]"));
    }
  }
}

// A fixed sweep, program information, clock and locale give exactly the stored file.
TEST_F(SaveResultsTest, GoldenFile) {
  qv.LastSwp.Add(Frame(2450e6, 1234.5, 1000));
  qv.LastSwp.Add(Frame(2451.5e6, 50.0, 1200, /*meas*/ false));
  qv.LastSwp.Add(Frame(2452e6, 0.25, 1400));
  qv.PlaneExt.SetValue(12.5);
  qv.VarPar.Waveform = wfPulsed;
  job.showIndividualSamples = true;
  job.preTrig = 5;
  job.path = PathOf("golden.txt");
  QString last;
  ASSERT_TRUE(SaveResultsTxt(qv, tu, job, last).ok);
  const QByteArray got = ReadAll(job.path);
  const QByteArray want = ReadAll(QStringLiteral(QZ_TEST_DATA_DIR "/results_golden.txt"));
  EXPECT_EQ(got.toStdString(), want.toStdString());
  if (got != want) {
    // Left beside the temporary files for comparison by hand.
    QFile out(QDir::temp().filePath(QStringLiteral("results_golden.actual.txt")));
    if (out.open(QIODevice::WriteOnly)) out.write(got);
  }
}

}  // namespace
}  // namespace qz
