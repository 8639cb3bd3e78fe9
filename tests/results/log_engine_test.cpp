// The logging schedule and its file: continuous and timed logging, limits, stop, program exit,
// pausing, the separator, and failed writes that must never be counted or hidden.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <map>
#include <set>

#include "common/specialfiles.h"
#include "common/testfiles.h"
#include "core/qvwin.h"
#include "core/resultscsv.h"
#include "results/logengine.h"
#include "util/inifile.h"

namespace qz {
namespace {

// Files in memory; chosen append calls (counted from 1) fail without changing the file.
class FakeSink : public TLogSink {
 public:
  TLogIoResult Create(const QString& path) override {
    if (path.startsWith(QStringLiteral("/bad/"))) return {false, QStringLiteral("No such dir")};
    files[path].clear();
    return {true, {}};
  }
  TLogIoResult Append(const QString& path, const QByteArray& bytes) override {
    ++appendCalls;
    if (failCalls.count(appendCalls) || (failFrom > 0 && appendCalls >= failFrom))
      return {false, QStringLiteral("No space left on device")};
    if (!files.count(path)) return {false, QStringLiteral("No such file or directory")};
    files[path] += bytes;
    return {true, {}};
  }
  std::map<QString, QByteArray> files;
  std::set<int> failCalls;
  int failFrom = 0;
  int appendCalls = 0;
};

// Counts the calls and passes them on to the real files.
class CountingFileSink : public TLogSink {
 public:
  TLogIoResult Create(const QString& path) override { return real.Create(path); }
  TLogIoResult Append(const QString& path, const QByteArray& bytes) override {
    ++appendCalls;
    return real.Append(path, bytes);
  }
  void Close() override { real.Close(); }
  TLogFileSink real;
  int appendCalls = 0;
};

class FakeTimer : public TLogTimer {
 public:
  void SetOnTick(std::function<void()> f) override { onTick = std::move(f); }
  void Start(int ms) override {
    interval = ms;
    active = true;
  }
  void Stop() override { active = false; }
  bool Active() const override { return active; }
  void Fire() {
    if (active && onTick) onTick();
  }
  std::function<void()> onTick;
  int interval = 0;
  bool active = false;
};

const QString kPath = QStringLiteral("/logs/run.txt");

class LogEngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    res.je_qv = true;
    res.FreD = 2.45e9;
    res.Mag_m = 0.5;
    res.Pha_m = -12.25;
    res.Pinc = 1234.5;
    res.Prfl = 308.625;
    res.Temp = 25.5;
    res.Mag_z = 0.25;
    res.Pha_z = 45.5;
    prog.version = QStringLiteral("1.0.0");
    prog.fileInfo = QStringLiteral("QzSim 1000 bytes");
    eng.SetWriteProc(&text);
    eng.wallClock = [this] { return wall; };
    eng.locale = QLocale::c();
  }

  void Prepare(const TLogEntries& e, TLogEngine& engine, const QString& path = kPath) {
    engine.SetEntries(e);
    ASSERT_TRUE(engine.Prepare(path));
    ASSERT_EQ(engine.GetStatus(), lsReady);
  }
  void Prepare(const TLogEntries& e) { Prepare(e, eng); }

  // Measurement passes, 100 ms apart, each handing the result over when a record is due.
  void Passes(int n, TLogEngine& engine) {
    for (int i = 0; i < n; ++i) {
      clock.AdvanceMs(100);
      if (engine.LoggingOn()) engine.ZapisData(res);
    }
  }
  void Passes(int n) { Passes(n, eng); }

  QStringList Lines(const QString& path = kPath) {
    return QString::fromUtf8(sink.files[path]).split(QStringLiteral("\r\n"));
  }
  // The data lines: every line with the 17 columns of a record whose first column is a number.
  QStringList DataLines(const QString& path = kPath) { return DataLinesOf(Lines(path)); }
  static QStringList DataLinesOf(const QStringList& lines) {
    QStringList d;
    for (const QString& l : lines) {
      const QStringList cols = l.split(QLatin1Char('\t'));
      bool num = false;
      cols[0].toInt(&num);
      if (num && cols.size() == 17) d << l;
    }
    return d;
  }
  static QList<int> Numbers(const QStringList& data) {
    QList<int> n;
    for (const QString& l : data) n << l.section(QLatin1Char('\t'), 0, 0).toInt();
    return n;
  }

  TMotState mot;
  TQvWin qv{mot};
  TTunerDescr tu;
  TProgramInfo prog;
  TQvLogText text{qv, tu, prog};
  FakeSink sink;
  FakeTimer timer;
  ManualClock clock;
  TLogEngine eng{sink, timer, clock};
  THresults res;
  QDateTime wall{QDate(2024, 5, 6), QTime(7, 8, 9)};
  const QDateTime later{QDate(2024, 5, 7), QTime(23, 0, 1)};
  // The date and time texts are those of the "Saved:" line of the results file.
  QString StartStop(const QString& note) {
    const QLocale c = QLocale::c();
    return QStringLiteral("Start: ") +
           SavedDateTimeText(QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9)), c) +
           QStringLiteral("  Stop: ") + SavedDateTimeText(later, c) + QStringLiteral(" ") + note;
  }
};

TEST_F(LogEngineTest, ContinuousWithFiveRecordsCompletes) {
  TLogEntries e;
  e.records = QStringLiteral("5");
  e.info = QStringLiteral("Load test A");
  Prepare(e);
  EXPECT_TRUE(eng.Armed());
  eng.PoSpusteniMer();
  EXPECT_EQ(eng.GetStatus(), lsLogging);
  EXPECT_FALSE(timer.active);  // continuous logging needs no timer
  Passes(4);
  wall = later;
  Passes(6);

  EXPECT_EQ(eng.GetStatus(), lsCompleted);
  EXPECT_EQ(LogStatusLedColor(eng.GetStatus()), clBlue);
  EXPECT_EQ(eng.RecordNumber(), 5);
  const QStringList lines = Lines();
  EXPECT_EQ(lines[0], QStringLiteral("Load test A"));
  EXPECT_EQ(lines[1].split(QLatin1Char('\t')).size(), 17);
  EXPECT_TRUE(lines[1].startsWith(QStringLiteral("No\tTime_s\tf_MHz")));
  const QStringList data = DataLinesOf(lines);
  ASSERT_EQ(data.size(), 5);
  EXPECT_EQ(Numbers(data), (QList<int>{1, 2, 3, 4, 5}));
  // Elapsed seconds from the monotonic clock: the first result 0.1 s after the start.
  EXPECT_TRUE(data[0].startsWith(QStringLiteral("1\t0.100\t2450.000\t0.5000\t-12.250\t")));
  EXPECT_TRUE(data[4].startsWith(QStringLiteral("5\t0.500\t")));
  EXPECT_EQ(lines[7], QString());
  EXPECT_EQ(lines[8], StartStop(QString()));
  const QString all = QString::fromUtf8(sink.files[kPath]);
  EXPECT_TRUE(all.contains(QStringLiteral("[Analyzer setup]")));
  EXPECT_TRUE(all.contains(QStringLiteral("Sampling Repetition Time = 00h 00m 00s (continuous)")));
  EXPECT_TRUE(all.contains(QStringLiteral("Samples per Event = 1 (ignored)")));
  EXPECT_TRUE(all.contains(QStringLiteral("Max Number of Records = 5\r\n")));
  EXPECT_TRUE(all.endsWith(QStringLiteral("End of logging.\r\n\r\n")));
  EXPECT_FALSE(all.contains(QStringLiteral("(ended illegally)")));
}

TEST_F(LogEngineTest, TimedBurstsShareOneRecordNumber) {
  TLogEntries e;
  e.intS = 10;
  e.samples = QStringLiteral("3");
  Prepare(e);
  eng.PoSpusteniMer();
  EXPECT_TRUE(timer.active);
  EXPECT_EQ(timer.interval, 10000);
  Passes(5);
  EXPECT_EQ(Numbers(DataLines()), (QList<int>{1, 1, 1}));
  EXPECT_EQ(eng.RecordNumber(), 1);
  EXPECT_FALSE(eng.LoggingOn());
  timer.Fire();
  Passes(5);
  EXPECT_EQ(Numbers(DataLines()), (QList<int>{1, 1, 1, 2, 2, 2}));
  EXPECT_EQ(eng.RecordNumber(), 2);
  EXPECT_EQ(eng.GetStatus(), lsLogging);
}

TEST_F(LogEngineTest, UnlimitedLogRunsUntilStop) {
  Prepare(TLogEntries{});
  eng.PoSpusteniMer();
  Passes(200);
  EXPECT_EQ(eng.GetStatus(), lsLogging);
  eng.Stop();
  EXPECT_EQ(eng.GetStatus(), lsAborted);
  EXPECT_EQ(LogStatusLedColor(eng.GetStatus()), clSilver);
  EXPECT_EQ(DataLines().size(), 200);
  const QString all = QString::fromUtf8(sink.files[kPath]);
  EXPECT_TRUE(all.contains(QStringLiteral("Max Sampling Duration = 00d 00h 00m 00s (unlimited)")));
  EXPECT_TRUE(all.contains(QStringLiteral("Max Number of Records = 0 (unlimited)")));
  // A second Stop does nothing.
  const QByteArray before = sink.files[kPath];
  eng.Stop();
  EXPECT_EQ(sink.files[kPath], before);
}

TEST_F(LogEngineTest, DurationLimitUsesMonotonicElapsedTime) {
  TLogEntries e;
  e.durS = 1;
  Prepare(e);
  eng.PoSpusteniMer();
  Passes(10);  // 1.0 s: not yet beyond the limit
  EXPECT_EQ(eng.GetStatus(), lsLogging);
  Passes(1);
  EXPECT_EQ(eng.GetStatus(), lsCompleted);
  EXPECT_EQ(DataLines().size(), 11);
  EXPECT_EQ(eng.ElapsedText(), QStringLiteral("00:00:01.10"));
}

TEST_F(LogEngineTest, ProgramExitEndsAnOpenLogIllegallyOnce) {
  Prepare(TLogEntries{});
  eng.PoSpusteniMer();
  Passes(3);
  wall = later;
  eng.ProgramExit();
  EXPECT_EQ(eng.GetStatus(), lsIllegalEnd);
  const QStringList lines = Lines();
  EXPECT_TRUE(lines.contains(StartStop(QStringLiteral("(ended illegally)"))));
  const QByteArray once = sink.files[kPath];
  eng.ProgramExit();
  EXPECT_EQ(sink.files[kPath], once);
  // A finished or never-started log is left alone.
  TLogEngine other{sink, timer, clock};
  other.SetWriteProc(&text);
  Prepare(TLogEntries{}, other, QStringLiteral("/logs/b.txt"));
  other.ProgramExit();
  EXPECT_EQ(other.GetStatus(), lsReady);
  EXPECT_TRUE(sink.files[QStringLiteral("/logs/b.txt")].isEmpty());
}

TEST_F(LogEngineTest, FailedWriteIsNotCountedAndEndsTheLog) {
  struct Case {
    const char* name;
    bool exitWriteFails;
  };
  for (const Case c : {Case{"exit write fails again", true}, Case{"exit write succeeds", false}}) {
    SCOPED_TRACE(c.name);
    FakeSink s;
    FakeTimer t;
    TLogEngine engine{s, t, clock};
    engine.SetWriteProc(&text);
    engine.SetEntries(TLogEntries{});
    ASSERT_TRUE(engine.Prepare(kPath));
    engine.PoSpusteniMer();
    s.failCalls = {4};  // call 1 header, 2 and 3 data lines, 4 the third data line
    if (c.exitWriteFails) s.failFrom = 4;
    for (int i = 0; i < 10; ++i) {
      clock.AdvanceMs(100);
      if (engine.LoggingOn()) engine.ZapisData(res);
    }
    EXPECT_EQ(s.appendCalls, 4);
    EXPECT_EQ(engine.RecordNumber(), 2);
    EXPECT_EQ(engine.GetStatus(), lsIllegalEnd);
    EXPECT_FALSE(engine.LoggingOn());
    const QStringList msgs = engine.TakeMessages();
    ASSERT_EQ(msgs.size(), 1);
    EXPECT_TRUE(msgs[0].contains(kPath));
    EXPECT_TRUE(msgs[0].contains(QStringLiteral("No space left on device")));
    const QStringList lines = QString::fromUtf8(s.files[kPath]).split(QStringLiteral("\r\n"));
    EXPECT_EQ(DataLinesOf(lines).size(), 2);

    engine.ProgramExit();
    EXPECT_EQ(s.appendCalls, 5);  // the illegal-end record is attempted once
    EXPECT_EQ(engine.TakeMessages().size(), 0);
    EXPECT_EQ(engine.GetStatus(), lsIllegalEnd);
    EXPECT_EQ(s.files[kPath].contains("(ended illegally)"), !c.exitWriteFails);
    engine.ProgramExit();
    EXPECT_EQ(s.appendCalls, 5);
    EXPECT_TRUE(engine.HadFailure());
  }
}

TEST_F(LogEngineTest, FailedEndRecordNeverClaimsCompleted) {
  TLogEntries e;
  e.records = QStringLiteral("2");
  Prepare(e);
  eng.PoSpusteniMer();
  sink.failCalls = {4};  // header, two data lines, then the end record
  Passes(5);
  EXPECT_EQ(eng.GetStatus(), lsIllegalEnd);
  EXPECT_EQ(eng.TakeMessages().size(), 1);
}

TEST_F(LogEngineTest, TickClosesACutShortBurst) {
  struct Case {
    const char* records;
    TLogStatus afterTick;
  };
  for (const Case c : {Case{"0", lsLogging}, Case{"1", lsCompleted}}) {
    SCOPED_TRACE(c.records);
    sink.files.clear();
    TLogEntries e;
    e.intS = 10;
    e.samples = QStringLiteral("3");
    e.records = QString::fromLatin1(c.records);
    Prepare(e);
    eng.PoSpusteniMer();
    Passes(2);
    eng.EventLoggingOff();  // the run pauses inside the burst
    EXPECT_EQ(eng.GetStatus(), lsLogging);
    Passes(3);
    EXPECT_EQ(DataLines().size(), 2);
    timer.Fire();
    EXPECT_EQ(eng.RecordNumber(), 1);
    EXPECT_EQ(eng.GetStatus(), c.afterTick);
    eng.PoSpusteniMer();  // the run continues
    Passes(4);
    if (c.afterTick == lsLogging)
      EXPECT_EQ(Numbers(DataLines()), (QList<int>{1, 1, 2, 2, 2}));
    else
      EXPECT_EQ(Numbers(DataLines()), (QList<int>{1, 1}));
    // A tick that finds no result of the new event counts nothing.
    const int32_t rn = eng.RecordNumber();
    if (c.afterTick == lsLogging) {
      timer.Fire();
      eng.EventLoggingOff();
      timer.Fire();
      EXPECT_EQ(eng.RecordNumber(), rn);
      eng.Stop();
    }
  }
}

TEST_F(LogEngineTest, PausedRunContinuesTheSameLog) {
  Prepare(TLogEntries{});
  eng.PoSpusteniMer();
  Passes(3);
  eng.EventLoggingOff();
  eng.PoSpusteniMer();
  Passes(2);
  eng.Stop();
  const QStringList lines = Lines();
  EXPECT_EQ(lines.filter(QRegularExpression(QStringLiteral("^No\\t"))).size(), 1);
  EXPECT_EQ(Numbers(DataLines()), (QList<int>{1, 2, 3, 4, 5}));
}

TEST_F(LogEngineTest, CommaSeparatorOnlyInTheLogWhileLogging) {
  TLogEntries e;
  e.comma = true;
  Prepare(e);
  eng.PoSpusteniMer();
  EXPECT_EQ(eng.DecimalSepar(), QChar(','));
  Passes(2);
  const QStringList data = DataLines();
  ASSERT_EQ(data.size(), 2);
  for (const QString& l : data) {
    EXPECT_FALSE(l.contains(QLatin1Char('.'))) << l.toStdString();
    EXPECT_TRUE(l.contains(QStringLiteral("2450,000"))) << l.toStdString();
    EXPECT_TRUE(l.contains(QStringLiteral("1,2345E+000"))) << l.toStdString();
  }
  eng.Stop();
  EXPECT_EQ(eng.DecimalSepar(), QChar('.'));
  EXPECT_EQ(eng.ElapsedText(), QStringLiteral("00:00:00.20"));
}

// A fixed schedule, clock, program information and locale give exactly the stored log: comment,
// header, data lines (one without a measurement block), the end record with the setup stamp and
// the settings block. Other programs read these files: the bytes must not change. The stored
// log is what the logger wrote before frames carried stamps and logs could be CSV.
TEST_F(LogEngineTest, GoldenTextLog) {
  qv.PlaneExt.SetValue(12.5);
  mot.ActPos = MakeMotPos(100, 200, 300);
  mot.MotStatus = 3;
  mot.MotError = 1;
  TLogEntries e;
  e.info = QStringLiteral("Golden log");
  e.records = QStringLiteral("0");
  Prepare(e);
  eng.PoSpusteniMer();
  for (int i = 0; i < 4; ++i) {
    clock.AdvanceMs(250);
    wall = wall.addMSecs(250);
    THresults r = res;
    r.FreD = 2.45e9 + i * 1.5e6;
    r.Pinc = 1234.5 * (i + 1);
    r.je_qv = i != 2;
    eng.ZapisData(r);
  }
  wall = later;
  eng.Stop();
  const QByteArray got = sink.files[kPath];
  const QByteArray want = testing::ReadAll(QStringLiteral(QZ_TEST_DATA_DIR "/textlog_golden.txt"));
  EXPECT_EQ(got.toStdString(), want.toStdString());
  if (got != want) {
    // Left beside the temporary files for comparison by hand.
    QFile out(QDir::temp().filePath(QStringLiteral("textlog_golden.actual.txt")));
    if (out.open(QIODevice::WriteOnly)) out.write(got);
  }
}

// A CSV log: the description and settings lines, the named columns with the record first, one
// row per result with its frame's stamp, and the closing lines; the comma choice is ignored.
TEST_F(LogEngineTest, CsvLogHasDescriptionRowsAndClosingLines) {
  int64_t utc = 1781049600000;  // 2026-06-10T00:00:00.000Z
  eng.utcClock = [&utc] { return utc; };
  TLogEntries e;
  e.csv = true;
  e.comma = true;
  e.info = QStringLiteral("csv run");
  Prepare(e);
  eng.PoSpusteniMer();
  for (int i = 1; i <= 3; ++i) {
    clock.AdvanceMs(100);
    utc += 100;
    eng.ZapisData(res, TSwpStamp{40 + i, utc});
  }
  utc = 1781049601234;
  eng.Stop();
  const QStringList lines = Lines();
  ASSERT_GT(lines.size(), 10);
  EXPECT_TRUE(lines[0].startsWith("# program: QzmSoft Version")) << lines[0].toStdString();
  EXPECT_TRUE(lines.contains("# log_started: 2026-06-10T00:00:00.000Z"));
  EXPECT_TRUE(lines.contains("# comment: csv run"));
  EXPECT_TRUE(lines.contains("# logging: Sampling Repetition Time = 00h 00m 00s (continuous)"));
  EXPECT_FALSE(lines.join('\n').contains("frames_measured"));
  const qsizetype h = lines.indexOf(QString::fromLatin1(CsvColumnNames(true)));
  ASSERT_GT(h, 0);
  for (qsizetype i = 0; i < h; ++i) EXPECT_TRUE(lines[i].startsWith("# ")) << i;
  ASSERT_GE(lines.size(), h + 7);
  for (int k = 1; k <= 3; ++k) {
    const QString row = lines[h + k];
    EXPECT_TRUE(row.startsWith(QStringLiteral("%1,%2,2026-06-10T00:00:00.%3Z,2450.00000,0.500000,")
                                   .arg(k)
                                   .arg(40 + k)
                                   .arg(k * 100)))
        << row.toStdString();
    EXPECT_EQ(row.split(',').size(), 19);
  }
  EXPECT_EQ(lines[h + 4], "# stopped: 2026-06-10T00:00:01.234Z");
  EXPECT_EQ(lines[h + 5], "# records: 3");
  EXPECT_EQ(lines[h + 6], "");
  EXPECT_EQ(lines.size(), h + 7);

  // Ended by the program's exit: marked as such.
  Prepare(e);
  eng.PoSpusteniMer();
  eng.ZapisData(res, TSwpStamp{50, utc});
  eng.ProgramExit();
  EXPECT_TRUE(Lines().contains("# stopped: 2026-06-10T00:00:01.234Z (ended illegally)"));
  EXPECT_TRUE(Lines().contains("# records: 1"));
}

TEST_F(LogEngineTest, EveryWayOutOfALiveLogStopsTheSchedule) {
  TLogEntries e;
  e.intS = 5;
  e.comma = true;
  Prepare(e);
  eng.PoSpusteniMer();
  ASSERT_TRUE(timer.active);
  eng.Cancel();
  EXPECT_EQ(eng.GetStatus(), lsNotReady);
  EXPECT_FALSE(timer.active);
  EXPECT_FALSE(eng.LoggingOn());
  EXPECT_EQ(eng.DecimalSepar(), QChar('.'));
  EXPECT_TRUE(eng.HadFailure());
  Passes(3);
  EXPECT_TRUE(DataLines().isEmpty());
}

TEST_F(LogEngineTest, PrepareWhileLoggingEndsTheOldLogFirst) {
  Prepare(TLogEntries{});
  eng.PoSpusteniMer();
  Passes(2);
  const QString second = QStringLiteral("/logs/second.txt");
  ASSERT_TRUE(eng.Prepare(second));
  EXPECT_EQ(eng.GetStatus(), lsReady);
  EXPECT_EQ(eng.LogFileName(), second);
  EXPECT_TRUE(sink.files[kPath].endsWith("End of logging.\r\n\r\n"));
  EXPECT_TRUE(sink.files[second].isEmpty());
}

TEST_F(LogEngineTest, FailedPrepareKeepsTheOldNameAndSaysSo) {
  Prepare(TLogEntries{});
  EXPECT_FALSE(eng.Prepare(QStringLiteral("/bad/x.txt")));
  EXPECT_EQ(eng.GetStatus(), lsNotReady);
  EXPECT_EQ(eng.LogFileName(), kPath);
  EXPECT_EQ(eng.TakeMessages(),
            QStringList{QStringLiteral("File \"/bad/x.txt\" cannot be opened")});
  eng.PrepareCancelled();
  EXPECT_EQ(eng.GetStatus(), lsNotReady);
}

TEST_F(LogEngineTest, LoadingASetupNeverRedirectsALiveLog) {
  IniFile ini;
  ini.SetText(QByteArray("[LogForm]\r\nLogFileName=/elsewhere/other.txt\r\nudIntS=7\r\n"));
  Prepare(TLogEntries{});
  eng.ReadStp(ini);
  EXPECT_EQ(eng.LogFileName(), kPath);
  EXPECT_EQ(eng.Entries().intS, 7);
  eng.PoSpusteniMer();
  eng.ReadStp(ini);
  EXPECT_EQ(eng.LogFileName(), kPath);
  eng.Stop();
  eng.ReadStp(ini);
  EXPECT_EQ(eng.LogFileName(), QStringLiteral("/elsewhere/other.txt"));
}

TEST_F(LogEngineTest, NothingIsWrittenWithoutWriteProcedure) {
  TLogEngine bare{sink, timer, clock};
  Prepare(TLogEntries{}, bare);
  bare.PoSpusteniMer();
  Passes(3, bare);
  EXPECT_TRUE(sink.files[kPath].isEmpty());
}

// ---- real files ---------------------------------------------------------------------------

// A disk that is full from the start fails the comment and header: no data line is attempted,
// nothing is counted, and the one message names the file and the system's reason.
TEST_F(LogEngineTest, FullDiskFailsTheFirstWrite) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("log.txt"));
  CountingFileSink real;
  FakeTimer t;
  TLogEngine engine{real, t, clock};
  engine.SetWriteProc(&text);
  ASSERT_TRUE(engine.Prepare(path));
  engine.PoSpusteniMer();
  {
    testing::FileSizeLimit limit(10);
    ASSERT_TRUE(limit.ok());
    Passes(3, engine);
  }
  EXPECT_EQ(real.appendCalls, 1);
  EXPECT_EQ(engine.RecordNumber(), 0);
  EXPECT_EQ(engine.GetStatus(), lsIllegalEnd);
  EXPECT_TRUE(testing::ReadAll(path).isEmpty());
  const QStringList msgs = engine.TakeMessages();
  ASSERT_EQ(msgs.size(), 1);
  EXPECT_TRUE(msgs[0].contains(path));
  EXPECT_TRUE(msgs[0].contains(QStringLiteral("File too large"))) << msgs[0].toStdString();
}

// A log is a file: a FIFO, folder or device chosen as the log is refused when it is prepared,
// with the one message, and stays what it was (opening a FIFO would also wait for a reader).
TEST_F(LogEngineTest, PathThatIsNoRegularFileIsRefusedWhenPrepared) {
  for (const testing::SpecialPath& sp : testing::SpecialPaths()) {
    SCOPED_TRACE(sp.label);
    QTemporaryDir dir;
    const QString path = testing::MakeSpecial(sp.kind, dir.path());
    if (path.isEmpty()) continue;
    const unsigned before = testing::FileType(path);
    TLogFileSink real;
    FakeTimer t;
    TLogEngine engine{real, t, clock};
    engine.SetWriteProc(&text);
    EXPECT_FALSE(engine.Prepare(path));
    EXPECT_EQ(engine.GetStatus(), lsNotReady);
    EXPECT_TRUE(engine.HadFailure());
    EXPECT_EQ(engine.TakeMessages(), QStringList{"\"" + path + "\" is not a regular file"});
    EXPECT_EQ(testing::FileType(path), before);
  }
}

// While logging the file stays open and every record is in the file as soon as it is written
// (a killed program loses nothing); the end of the log closes it.
TEST_F(LogEngineTest, FileStaysOpenAndEveryRecordIsWrittenThrough) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("log.txt"));
  TLogFileSink real;
  FakeTimer t;
  TLogEngine engine{real, t, clock};
  engine.SetWriteProc(&text);
  ASSERT_TRUE(engine.Prepare(path));
  EXPECT_FALSE(real.IsOpen());
  engine.PoSpusteniMer();
  for (int i = 1; i <= 3; ++i) {
    Passes(1, engine);
    EXPECT_TRUE(real.IsOpen());
    const QStringList data = DataLinesOf(QString::fromUtf8(testing::ReadAll(path)).split("\r\n"));
    EXPECT_EQ(data.size(), i);
  }
  engine.Stop();
  EXPECT_FALSE(real.IsOpen());
  EXPECT_EQ(engine.GetStatus(), lsAborted);
  EXPECT_TRUE(testing::ReadAll(path).endsWith("End of logging.\r\n\r\n"));
}

// A log file deleted while the log runs is reported at the next record, which is not counted,
// and the file is not created again.
TEST_F(LogEngineTest, FileDeletedWhileLoggingEndsTheLogAtTheNextRecord) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("log.txt"));
  TLogFileSink real;
  real.SetGoneCheckIntervalMs(0);
  FakeTimer t;
  TLogEngine engine{real, t, clock};
  engine.SetWriteProc(&text);
  ASSERT_TRUE(engine.Prepare(path));
  engine.PoSpusteniMer();
  Passes(2, engine);
  ASSERT_TRUE(QFile::remove(path));
  Passes(1, engine);
  EXPECT_EQ(engine.GetStatus(), lsIllegalEnd);
  EXPECT_EQ(engine.RecordNumber(), 2);
  EXPECT_FALSE(real.IsOpen());
  EXPECT_FALSE(QFile::exists(path));
  const QStringList msgs = engine.TakeMessages();
  ASSERT_EQ(msgs.size(), 1);
  EXPECT_TRUE(msgs[0].startsWith("Cannot write file \"" + path + "\"")) << msgs[0].toStdString();
  engine.ProgramExit();
  EXPECT_FALSE(QFile::exists(path));
}

TEST_F(LogEngineTest, RealFileKeepsOnlyWholeLinesAndIsNeverRecreated) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(QStringLiteral("log.txt"));
  TLogFileSink real;
  FakeTimer t;
  TLogEngine engine{real, t, clock};
  engine.SetWriteProc(&text);
  ASSERT_TRUE(engine.Prepare(path));
  engine.PoSpusteniMer();
  Passes(2, engine);
  const QByteArray good = testing::ReadAll(path);
  ASSERT_FALSE(good.isEmpty());
  {
    testing::FileSizeLimit limit(good.size() + 20);  // the next line does not fit
    ASSERT_TRUE(limit.ok());
    Passes(1, engine);
  }
  EXPECT_EQ(engine.GetStatus(), lsIllegalEnd);
  EXPECT_EQ(testing::ReadAll(path), good);  // cut back to the whole lines
  EXPECT_EQ(engine.RecordNumber(), 2);
  EXPECT_EQ(engine.TakeMessages().size(), 1);

  // A deleted log file is not created again by appending.
  ASSERT_TRUE(engine.Prepare(path));
  engine.PoSpusteniMer();
  ASSERT_TRUE(QFile::remove(path));
  Passes(1, engine);
  EXPECT_FALSE(QFile::exists(path));
  EXPECT_EQ(engine.GetStatus(), lsIllegalEnd);
  const QStringList msgs = engine.TakeMessages();
  ASSERT_EQ(msgs.size(), 1);
  EXPECT_TRUE(msgs[0].contains(path));
}

}  // namespace
}  // namespace qz
