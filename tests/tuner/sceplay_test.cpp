// Playing scenarios with fake ports: plain and cyclic plays, the sliced waits, measured plays
// and their files, and every way a measured play is refused or ends early.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "common/scerig.h"
#include "util/fileops.h"

namespace qz {
namespace {

using testing::SceRig;
using testing::SceRows;

// The rows the stubs were sent to, told by stub 1 (row r stands at r mm = 100 r steps).
std::vector<int> RowsVisited(const testing::FakeScePorts& p) {
  std::vector<int> v;
  for (const auto& m : p.moves) v.push_back(m[0] / 100);
  return v;
}

QList<QByteArray> Lines(const QByteArray& file) { return file.split('\n'); }

int Fields(const QByteArray& line) { return int(line.trimmed().count('\t')) + 1; }

TEST(ScePlay, PlainPlayFromTheSelectedRow) {
  SceRig rig;
  TScePage page = SceRows(4, 20);
  page.Select(2);
  rig.play.PlayPlain(page, false);
  EXPECT_EQ(RowsVisited(rig.ports), (std::vector<int>{2, 3, 4}));
  EXPECT_EQ(rig.ports.moves[0], (std::array<int, 3>{200, 400, 600}));
  EXPECT_EQ(rig.ports.sleptMs, 60);
  EXPECT_EQ(rig.ports.status.front(), QStringLiteral("Progress: 2 of 4"));
  EXPECT_EQ(rig.ports.status.back(), QString());  // cleared at the end
  EXPECT_EQ(rig.ports.editing, (std::vector<bool>{false, true}));
  EXPECT_EQ(rig.ports.released, 1);
  EXPECT_EQ(rig.ports.pumps, 3);  // once a row
  EXPECT_FALSE(rig.play.Playing());
}

TEST(ScePlay, CyclicPlayRestartsAtRowOneUntilReleased) {
  SceRig rig;
  TScePage page = SceRows(3, 0);
  page.Select(1);
  rig.ports.onMove = [&](int n) {
    if (n == 8) rig.play.Release();
  };
  rig.play.PlayPlain(page, true);
  EXPECT_EQ(RowsVisited(rig.ports), (std::vector<int>{1, 2, 3, 1, 2, 3, 1, 2}));
  EXPECT_FALSE(rig.play.Playing());
}

TEST(ScePlay, ALongDwellEndsWithinOneSliceOfARelease) {
  SceRig rig;
  TScePage page = SceRows(2, 2073600000);  // 24 days
  page.Select(1);
  rig.ports.onSleep = [&](int) { rig.play.Release(); };
  rig.play.PlayPlain(page, true);
  EXPECT_EQ(rig.ports.slices, 1);
  EXPECT_LE(rig.ports.sleptMs, kSceWaitSliceMs);
  EXPECT_EQ(rig.ports.moves.size(), 1u);
}

TEST(ScePlay, WaitsAreCutIntoSlices) {
  SceRig rig;
  EXPECT_TRUE(rig.play.Wait(120));
  EXPECT_EQ(rig.ports.slices, 3);  // 50 + 50 + 20
  EXPECT_EQ(rig.ports.sleptMs, 120);
  EXPECT_TRUE(rig.play.Wait(0));
  EXPECT_EQ(rig.ports.slices, 3);
}

TEST(ScePlay, PlainPlayRefusals) {
  SceRig rig;
  TScePage empty;
  rig.play.PlayPlain(empty, false);
  TScePage page = SceRows(2);
  page.Select(3);  // the empty row
  rig.play.PlayPlain(page, false);
  EXPECT_EQ(rig.Messages(), (QStringList{QString::fromLatin1(kSceEmptyText),
                                         QString::fromLatin1(kSceSelectStartText)}));
  EXPECT_EQ(rig.ports.released, 2);
  EXPECT_TRUE(rig.ports.moves.empty());
}

TEST(ScePlay, OneMeasurementPerRowWritesNoStatisticsFile) {
  SceRig rig;
  TScePage page = SceRows(3);
  rig.AnswerStart();
  rig.asker.QueueText(QStringLiteral("first run"));
  ASSERT_TRUE(rig.play.PlayMeasured(page, rig.stp, QChar('.')));
  EXPECT_EQ(rig.sink.files.keys(), (QStringList{QStringLiteral("/data/run.txt")}));
  EXPECT_EQ(rig.stp.FSceMeasFile, QStringLiteral("/data/run.txt"));
  EXPECT_EQ(rig.stp.FSceMeasInfo, QStringLiteral("first run"));
  const QList<QByteArray> lines = Lines(rig.sink.files.value(QStringLiteral("/data/run.txt")));
  EXPECT_EQ(lines[0], QByteArray("first run (run.txt)\r"));
  EXPECT_EQ(lines[1].trimmed(), Out1Header().toUtf8());
  // The header names each column once; every line has as many fields.
  EXPECT_EQ(Out1Header().count(QStringLiteral("WinTime")), 1);
  for (int i = 2; i <= 4; ++i) {
    EXPECT_EQ(Fields(lines[i]), Fields(lines[1])) << i;
    EXPECT_TRUE(lines[i].startsWith(QByteArray::number(i - 1) + "\t2450.000")) << lines[i].data();
  }
  EXPECT_EQ(rig.frames.lastAvg, rig.qv.VarPar.Vrpt);
  EXPECT_EQ(rig.ports.shown, 3);
  EXPECT_EQ(rig.ports.homes, 1);
  EXPECT_EQ(rig.ports.cyclicOff, 1);
  EXPECT_EQ(rig.ports.redraws, 1);
  EXPECT_EQ(rig.qv.LastSwp.Count(), 3);
  EXPECT_EQ(rig.qv.LastSwp.Nwanted(), 101);  // its normal capacity again
  const QString all = QString::fromUtf8(rig.sink.files.value(QStringLiteral("/data/run.txt")));
  EXPECT_FALSE(all.contains(QStringLiteral("Scenario interrupted")));
  EXPECT_TRUE(all.contains(QStringLiteral("[Analyzer setup]")));
  const auto waits = rig.asker.Records(TAskRecord::Wait);
  ASSERT_EQ(waits.size(), 1u);
  EXPECT_EQ(waits[0].text, QStringLiteral("Scenario completed"));
}

TEST(ScePlay, SeveralMeasurementsPerRowGiveStatisticsLinesAsWideAsTheirHeader) {
  SceRig rig;
  rig.stp.FMeasPerPosit = 3;
  TScePage page = SceRows(3);
  page.Row(1).Extra = QStringLiteral("0.300\t45.00\t2450.000\t0.2121\t0.2121");
  page.Row(3).Extra = QStringLiteral("0.100\t90.00\t2450.000\t0.0000\t0.1000");
  rig.AnswerStart();
  ASSERT_TRUE(rig.play.PlayMeasured(page, rig.stp, QChar(',')));
  const QList<QByteArray> out2 = Lines(rig.sink.files.value(QStringLiteral("/data/run.rkd")));
  ASSERT_GE(out2.size(), 5);
  EXPECT_EQ(out2[1].trimmed(), Out2Header(true).toUtf8());
  for (int i = 2; i <= 4; ++i) EXPECT_EQ(Fields(out2[i]), Fields(out2[1])) << out2[i].data();
  // Each row carries its own wanted values, a row without them empty columns.
  EXPECT_TRUE(out2[2].contains("\t0.300\t45.00\t2450.000\t0.2121\t0.2121\t"));
  EXPECT_TRUE(out2[3].contains("\t\t\t\t\t"));
  EXPECT_TRUE(out2[4].contains("\t0.100\t90.00\t"));
  // Nine measurements in Out1; numbers with the separator passed.
  const QList<QByteArray> out1 = Lines(rig.sink.files.value(QStringLiteral("/data/run.txt")));
  EXPECT_TRUE(out1[10].startsWith("9\t2450,000")) << out1[10].data();
  EXPECT_EQ(rig.qv.LastSwp.Count(), 9);
}

TEST(ScePlay, StatisticsOfOneRow) {
  std::vector<THresults> rs(3);
  const double pinc[] = {100.0, 110.0, 120.0};
  for (int i = 0; i < 3; ++i) {
    rs[size_t(i)].FreD = 2.45e9;
    rs[size_t(i)].Pinc = pinc[i];
    rs[size_t(i)].Pabs = pinc[i] * 0.5;
    rs[size_t(i)].ErrByte = uint8_t(i == 2 ? 3 : 0);
    rs[size_t(i)].Rho_m = complex(0.5, 0.0);
    rs[size_t(i)].Rho_z = complex(0.0, 0.2);
  }
  const TSceStats s = ComputeStats(rs);
  EXPECT_DOUBLE_EQ(s.MeanF[vdPi], 110.0);
  EXPECT_DOUBLE_EQ(s.DeviF[vdPi], 10.0);  // sample deviation
  EXPECT_DOUBLE_EQ(s.DeviF[vdF], 0.0);
  EXPECT_EQ(s.Statis.ErrByte, 1);
  EXPECT_TRUE(s.Statis.je_qv);
  EXPECT_NEAR(s.Statis.Mag_z, 0.2, 1e-12);
  EXPECT_NEAR(s.Statis.Pha_z, 90.0, 1e-9);
  EXPECT_EQ(
      StatsColumns(s, QChar('.')),
      QStringLiteral("\t5.5000E-002\t0.000\t0.0000\t10.0000\t0.0000\t0.00\t1.73\t0.0000\t5.0000"));
}

TEST(ScePlay, AbortCompletesBothFiles) {
  SceRig rig;
  rig.stp.FMeasPerPosit = 2;
  TScePage page = SceRows(4);
  rig.frames.spoilt = {3, 4};  // the first of row 2, then its retry
  rig.AnswerStart();
  rig.asker.QueueCancel();  // the comment
  rig.asker.QueueButton(mbRetry);
  rig.asker.QueueButton(mbAbort);
  ASSERT_TRUE(rig.play.PlayMeasured(page, rig.stp, QChar('.')));
  for (const QString& f : {QStringLiteral("/data/run.txt"), QStringLiteral("/data/run.rkd")}) {
    const QString text = QString::fromUtf8(rig.sink.files.value(f));
    EXPECT_TRUE(text.contains(QStringLiteral("\r\nStart: "))) << f.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Scenario interrupted\r\n"))) << f.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("[Tuner setup]"))) << f.toStdString();
  }
  EXPECT_EQ(rig.Messages().count(QString::fromLatin1(kSceMeasErrorText)), 2);
  EXPECT_EQ(rig.asker.Records(TAskRecord::Wait).at(0).text, QStringLiteral("Scenario aborted"));
  EXPECT_EQ(rig.ports.moves.size(), 2u);  // row 3 was never reached
}

TEST(ScePlay, RefusedMeasuredPlays) {
  struct Case {
    const char* what;
    std::function<void(SceRig&)> setUp;
    const char* message;  // the last message, or nullptr for none
    bool created;
  };
  const Case cases[] = {
      {"pulsed with samples",
       [](SceRig& r) {
         r.qv.VarPar.Waveform = wfPulsed;
         r.qv.Pulsed.Bsamples = true;
         r.asker.QueueButton(mbYes);
       },
       "Error 1: Sending of individual samples must be switched off.\r\nProcedure aborted.", false},
      {"the unit does not stop",
       [](SceRig& r) {
         r.ports.stopOk = false;
         r.asker.QueueButton(mbYes);
       },
       "Error 2: Quzar could not be stopped.\r\nProcedure aborted.", false},
      {"autotune stays on",
       [](SceRig& r) {
         r.ports.atCode = 7;
         r.asker.QueueButton(mbYes);
       },
       "Error 3: Autotuning could not be switched off.\r\nProcedure aborted.", false},
      {"no to the transform question", [](SceRig& r) { r.asker.QueueButton(mbNo); }, nullptr,
       false},
      {"released while the stubs go home",
       [](SceRig& r) {
         r.AnswerStart();
         r.ports.onHome = [&r] {
           EXPECT_TRUE(r.play.MeasuredPlaying());  // Run/Pause is held from the start
           r.play.Release();
         };
       },
       nullptr, false},
      {"no output file chosen", [](SceRig& r) { r.asker.QueueButton(mbYes); }, "Procedure aborted.",
       false},
      {"output file cannot be made",
       [](SceRig& r) {
         r.AnswerStart();
         r.sink.failCreate.insert(QStringLiteral("/data/run.txt"));
       },
       "Error 4: Output files could not be created.\r\nProcedure aborted.", false},
  };
  for (const Case& c : cases) {
    SceRig rig;
    c.setUp(rig);
    TScePage page = SceRows(2);
    EXPECT_FALSE(rig.play.PlayMeasured(page, rig.stp, QChar('.'))) << c.what;
    if (c.message) {
      ASSERT_FALSE(rig.Messages().isEmpty()) << c.what;
      EXPECT_EQ(rig.Messages().back(), QString::fromLatin1(c.message)) << c.what;
    }
    EXPECT_TRUE(rig.sink.files.isEmpty()) << c.what;
    EXPECT_TRUE(rig.ports.moves.empty()) << c.what;
    EXPECT_EQ(rig.ports.released, 1) << c.what;
    EXPECT_EQ(rig.stp.FSceMeasFile, QStringLiteral("Diduv01.txt")) << c.what;
  }
  SceRig rig;
  rig.ports.sweeping = true;
  rig.ports.atCode = 7;
  rig.asker.QueueButton(mbYes);
  TScePage page = SceRows(2);
  rig.play.PlayMeasured(page, rig.stp, QChar('.'));
  EXPECT_EQ(rig.ports.runPauses, 1);  // the running measurement was stopped first
  EXPECT_EQ(rig.ports.cmdResults, (std::vector<QString>{QStringLiteral("Autotune ON/OFF 7")}));
}

TEST(ScePlay, AFailingOutputFileEndsTheRunWithOneMessage) {
  SceRig rig;
  rig.stp.FMeasPerPosit = 2;
  TScePage page = SceRows(5);
  rig.AnswerStart();
  rig.sink.appendsLeft = 5;  // both headers, then a few lines
  ASSERT_TRUE(rig.play.PlayMeasured(page, rig.stp, QChar('.')));
  const QStringList msgs = rig.Messages();
  ASSERT_EQ(msgs.size(), 1);
  EXPECT_TRUE(msgs[0].startsWith(QStringLiteral("Output file \"/data/run.")));
  EXPECT_TRUE(msgs[0].contains(QStringLiteral("No space left on device")));
  EXPECT_LT(rig.ports.moves.size(), 5u);
  EXPECT_FALSE(rig.play.Playing());
}

TEST(SceFileSink, RealFilesAreCreatedAppendedAndNeverMadeAgain) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  TSceFileSink sink;
  const QString path = dir.filePath(QStringLiteral("run.txt"));
  ASSERT_TRUE(QFile(path).open(QIODevice::WriteOnly));  // an older file is emptied
  ASSERT_TRUE(sink.Create(path).ok);
  EXPECT_TRUE(sink.Append(path, "a\r\n").ok);
  EXPECT_TRUE(sink.Append(path, "b\r\n").ok);
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), QByteArray("a\r\nb\r\n"));
  f.close();
  // A file deleted during the run is reported, not made again without its header.
  ASSERT_TRUE(QFile::remove(path));
  const TSceOutResult gone = sink.Append(path, "c\r\n");
  EXPECT_FALSE(gone.ok);
  EXPECT_FALSE(gone.reason.isEmpty());
  EXPECT_FALSE(QFile::exists(path));
  // A folder is no output file, and is left alone.
  const TSceOutResult folder = sink.Create(dir.path());
  EXPECT_FALSE(folder.ok);
  EXPECT_EQ(folder.reason, NotRegularFileText(dir.path()));
  EXPECT_TRUE(QDir(dir.path()).exists());
  EXPECT_FALSE(sink.Create(dir.filePath(QStringLiteral("no/such/folder/x.txt"))).ok);
}

}  // namespace
}  // namespace qz
