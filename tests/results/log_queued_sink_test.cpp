// The log written on the writer's own thread: records reach the file in order and without being
// asked for, a full queue makes the cycle wait instead of dropping, and a failed write leaves
// the same file, counts and message as writing each record at once would.

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

#include "common/testfiles.h"
#include "core/qvwin.h"
#include "results/logengine.h"
#include "results/logqueuedsink.h"

namespace qz {
namespace {

using namespace std::chrono_literals;

// Files in memory on a disk of limited size: an append that does not fit fails whole (as the
// real sink cuts a failed write back). Appends can be held at a gate.
class LimitedDiskSink : public TLogSink {
 public:
  TLogIoResult Create(const QString& path) override {
    std::lock_guard<std::mutex> l(m);
    files[path].clear();
    return {true, {}};
  }
  TLogIoResult Append(const QString& path, const QByteArray& bytes) override {
    std::unique_lock<std::mutex> l(m);
    ++appendCalls;
    held.notify_all();
    held.wait(l, [this] { return open; });
    if (!files.count(path)) return {false, QStringLiteral("No such file or directory")};
    qsizetype total = 0;
    for (const auto& f : files) total += f.second.size();
    if (total + bytes.size() > diskBytes) return {false, QStringLiteral("No space left on device")};
    files[path] += bytes;
    return {true, {}};
  }
  QByteArray File(const QString& path) {
    std::lock_guard<std::mutex> l(m);
    return files[path];
  }
  void SetOpen(bool o) {
    std::lock_guard<std::mutex> l(m);
    open = o;
    held.notify_all();
  }
  // Waits until the writer is at the gate (or has passed it) n times.
  bool WaitForAppends(int n) {
    std::unique_lock<std::mutex> l(m);
    return held.wait_for(l, 5s, [&] { return appendCalls >= n; });
  }

  std::mutex m;
  std::condition_variable held;
  std::map<QString, QByteArray> files;
  qsizetype diskBytes = 1 << 30;
  bool open = true;
  int appendCalls = 0;
};

const QString kPath = QStringLiteral("/logs/run.txt");

QByteArray Record(int i) { return QByteArray::number(i) + "\r\n"; }

TEST(LogQueuedSink, RecordsReachTheFileInOrder) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("log.txt"));
  TLogFileSink file;
  TLogQueuedSink sink(file, 4096);
  ASSERT_TRUE(sink.Create(path).ok);
  QByteArray expected;
  for (int i = 0; i < 30000; ++i) {
    ASSERT_TRUE(sink.Queue(path, Record(i), i).ok);
    expected += Record(i);
  }
  ASSERT_TRUE(sink.Drain().ok);
  EXPECT_EQ(testing::ReadAll(path), expected);
  sink.Close();
  EXPECT_FALSE(file.IsOpen());
}

// A long log at the default bound (the writer gathers records for a millisecond, the cycle
// waits for room when half the ring and more is taken): every record whole, in order, once.
TEST(LogQueuedSink, AMillionRecordsArriveWholeAndInOrder) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("log.txt"));
  TLogFileSink file;
  TLogQueuedSink sink(file);
  ASSERT_TRUE(sink.Create(path).ok);
  constexpr int kRecords = 1000000;
  for (int i = 0; i < kRecords; ++i) ASSERT_TRUE(sink.Queue(path, Record(i), i).ok);
  ASSERT_TRUE(sink.Drain().ok);
  sink.Close();
  const QByteArray all = testing::ReadAll(path);
  const QList<QByteArray> lines = all.split('\n');
  ASSERT_EQ(lines.size(), kRecords + 1);  // the text after the last line end is empty
  EXPECT_TRUE(lines.last().isEmpty());
  for (int i = 0; i < kRecords; ++i) {
    if (lines[i] != QByteArray::number(i) + "\r") {
      FAIL() << "line " << i << ": " << lines[i].constData();
    }
  }
}

// The writer does not wait for a Drain: a lone record is in the file within a millisecond or
// so, so a program killed after it loses nothing.
TEST(LogQueuedSink, LoneRecordIsWrittenWithoutBeingAsked) {
  {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("log.txt"));
    TLogFileSink file;
    TLogQueuedSink sink(file);
    ASSERT_TRUE(sink.Create(path).ok);
    for (int i = 0; i < 3; ++i) {
      std::this_thread::sleep_for(2ms);  // the writer is asleep by now
      ASSERT_TRUE(sink.Queue(path, Record(i), i).ok);
      const auto until = std::chrono::steady_clock::now() + 5s;
      while (testing::ReadAll(path).size() < (i + 1) * 3 &&
             std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(100us);
      EXPECT_EQ(testing::ReadAll(path).size(), (i + 1) * 3);
    }
  }
}

// While the writer is held, the cycle can hand over records up to the bound and then waits;
// when the writer goes on, every record is written.
TEST(LogQueuedSink, FullQueueMakesTheCycleWaitAndLosesNothing) {
  LimitedDiskSink disk;
  TLogQueuedSink sink(disk, 40);  // bytes being written and waiting
  ASSERT_TRUE(sink.Create(kPath).ok);
  disk.SetOpen(false);
  ASSERT_TRUE(sink.Queue(kPath, "first record\r\n", 0).ok);
  ASSERT_TRUE(disk.WaitForAppends(1));  // the writer holds it at the gate
  ASSERT_TRUE(sink.Queue(kPath, "0123456789\r\n", 1).ok);
  ASSERT_TRUE(sink.Queue(kPath, "0123456789\r\n", 2).ok);  // 14 + 24 of 40 bytes
  std::atomic<bool> handedOver{false};
  std::thread cycle([&] {
    EXPECT_TRUE(sink.Queue(kPath, "0123456789\r\n", 3).ok);
    handedOver = true;
  });
  std::this_thread::sleep_for(50ms);
  EXPECT_FALSE(handedOver);
  disk.SetOpen(true);
  cycle.join();
  EXPECT_TRUE(handedOver);
  ASSERT_TRUE(sink.Drain().ok);
  EXPECT_EQ(disk.File(kPath), "first record\r\n" + QByteArray("0123456789\r\n").repeated(3));
}

// A record that does not fit fails alone: the records before it are written, the failure names
// it by its tag (once), the records after it are dropped, and once the failure is told the
// sink writes again.
TEST(LogQueuedSink, FailureNamesTheRecordAndDropsTheRest) {
  LimitedDiskSink disk;
  disk.diskBytes = 45;
  TLogQueuedSink sink(disk);
  ASSERT_TRUE(sink.Create(kPath).ok);
  disk.SetOpen(false);  // so that the records are written as one batch
  for (int i = 0; i < 10; ++i) ASSERT_TRUE(sink.Queue(kPath, "record " + Record(i), i).ok);
  disk.SetOpen(true);
  const TLogIoResult r = sink.Drain();
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.failedTag, 4);
  EXPECT_EQ(r.reason, QStringLiteral("No space left on device"));
  EXPECT_EQ(disk.File(kPath), "record 0\r\nrecord 1\r\nrecord 2\r\nrecord 3\r\n");
  EXPECT_TRUE(sink.Drain().ok);
  EXPECT_TRUE(sink.Append(kPath, "end\r\n").ok);
  EXPECT_TRUE(disk.File(kPath).endsWith("record 3\r\nend\r\n"));
}

// ---- the log over the writer --------------------------------------------------------------

struct LogRun {
  QByteArray file;
  int32_t records = 0;
  TLogStatus status = lsNotReady;
  QStringList messages;
};

// A log of `passes` results (timed logging with three results an event when timed) on a disk
// of diskBytes, ended by the program's exit; through the writer or writing each record at once.
LogRun RunLog(bool queued, bool timed, qsizetype diskBytes, int passes) {
  LimitedDiskSink disk;
  disk.diskBytes = diskBytes;
  std::unique_ptr<TLogQueuedSink> writer;
  if (queued) writer = std::make_unique<TLogQueuedSink>(disk);
  TLogSink& sink = queued ? static_cast<TLogSink&>(*writer) : disk;
  struct Timer : TLogTimer {
    void SetOnTick(std::function<void()> f) override { tick = std::move(f); }
    void Start(int) override {}
    void Stop() override {}
    bool Active() const override { return true; }
    std::function<void()> tick;
  } timer;
  ManualClock clock;
  TMotState mot;
  TQvWin qv{mot};
  TTunerDescr tu;
  TQvLogText text{qv, tu, TProgramInfo{}};
  TLogEngine eng{sink, timer, clock};
  eng.SetWriteProc(&text);
  eng.locale = QLocale::c();
  eng.wallClock = [] { return QDateTime(QDate(2026, 12, 9), QTime(13, 0)); };
  TLogEntries e;
  e.info = QStringLiteral("comment");
  if (timed) {
    e.intS = 1;
    e.samples = QStringLiteral("3");
    e.comma = true;
  }
  eng.SetEntries(e);
  EXPECT_TRUE(eng.Prepare(kPath));
  eng.PoSpusteniMer();
  THresults res;
  res.je_qv = true;
  res.FreD = 2.45e9;
  for (int i = 0; i < passes; ++i) {
    clock.AdvanceMs(100);
    res.Mag_m = 0.001 * i;
    if (eng.LoggingOn()) eng.ZapisData(res);
    if (timed && i % 5 == 4) timer.tick();
  }
  eng.EventLoggingOff();
  LogRun run;
  run.records = eng.RecordNumber();
  run.status = eng.GetStatus();
  eng.ProgramExit();
  run.messages = eng.TakeMessages();
  if (writer) writer->Drain();
  run.file = disk.File(kPath);
  return run;
}

TEST(LogQueuedSink, LogEndsAsIfEveryRecordWereWrittenAtOnce) {
  struct Case {
    bool timed;
    qsizetype diskBytes;
    TLogStatus status;  // before the program's exit
  };
  const Case cases[] = {
      {false, 1 << 20, lsLogging},  // no failure
      {false, 3, lsIllegalEnd},     // the comment and header do not fit
      {false, 900, lsIllegalEnd},   // a data record in the middle does not fit
      {false, 1100, lsIllegalEnd},
      {true, 900, lsIllegalEnd},  // timed: the counts go back inside an event
      {true, 1300, lsIllegalEnd},
      {true, 1 << 20, lsLogging},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "timed " << c.timed << " disk " << c.diskBytes);
    const LogRun direct = RunLog(false, c.timed, c.diskBytes, 40);
    const LogRun queued = RunLog(true, c.timed, c.diskBytes, 40);
    EXPECT_EQ(direct.status, c.status);
    EXPECT_EQ(direct.messages.size(), c.status == lsIllegalEnd ? 1 : 0);
    EXPECT_EQ(queued.file, direct.file);
    EXPECT_EQ(queued.records, direct.records);
    EXPECT_EQ(queued.status, direct.status);
    EXPECT_EQ(queued.messages, direct.messages);
    // The file never ends inside a line.
    EXPECT_TRUE(direct.file.isEmpty() || direct.file.endsWith("\r\n"));
  }
}

// A file deleted while the log runs on the writer is reported, not created again, and the
// counts stop at the record that found it gone.
TEST(LogQueuedSink, FileDeletedWhileLoggingEndsTheLog) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("log.txt"));
  TLogFileSink file;
  file.SetGoneCheckIntervalMs(0);
  TLogQueuedSink sink(file);
  struct Timer : TLogTimer {
    void SetOnTick(std::function<void()>) override {}
    void Start(int) override {}
    void Stop() override {}
    bool Active() const override { return false; }
  } timer;
  ManualClock clock;
  TMotState mot;
  TQvWin qv{mot};
  TTunerDescr tu;
  TQvLogText text{qv, tu, TProgramInfo{}};
  TLogEngine eng{sink, timer, clock};
  eng.SetWriteProc(&text);
  ASSERT_TRUE(eng.Prepare(path));
  eng.PoSpusteniMer();
  THresults res;
  res.je_qv = true;
  for (int i = 0; i < 2; ++i) eng.ZapisData(res);
  ASSERT_TRUE(sink.Drain().ok);
  ASSERT_TRUE(QFile::remove(path));
  for (int i = 0; i < 3 && eng.LoggingOn(); ++i) eng.ZapisData(res);
  eng.EventLoggingOff();
  EXPECT_EQ(eng.GetStatus(), lsIllegalEnd);
  EXPECT_EQ(eng.RecordNumber(), 2);
  const QStringList msgs = eng.TakeMessages();
  ASSERT_EQ(msgs.size(), 1);
  EXPECT_TRUE(msgs[0].startsWith("Cannot write file \"" + path + "\"")) << msgs[0].toStdString();
  eng.ProgramExit();
  sink.Drain();
  EXPECT_FALSE(QFile::exists(path));
}

// A write never ends a page inside a line: it stops at the last line end before the page
// boundary, and a line that straddles the boundary is written alone.
TEST(LogQueuedSink, WritesStopAtLineEndsBeforePageBoundaries) {
  const QByteArray lines = QByteArray("a\r\n").repeated(1500) + "tail";  // 4504 bytes
  struct Case {
    qint64 offset;
    qsizetype size;
    qsizetype chunk;
  };
  const Case cases[] = {
      {0, 300, 300},     // within the page: all of it
      {0, 4096, 4096},   // up to the boundary exactly
      {0, 4504, 4095},   // 1365 lines end at 4095
      {4000, 4504, 96},  // 96 bytes to the boundary, 32 whole lines
      {4094, 4504, 3},   // the first line straddles: alone
      {4095, 2, 2},      // within the page: all of it
      {8191, 4504, 3},   // straddles the next boundary
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.offset);
    EXPECT_EQ(LinesUpToPageEnd(lines.constData(), c.size, c.offset), c.chunk);
  }
  // The tail without a line end that straddles a boundary goes as it is.
  EXPECT_EQ(LinesUpToPageEnd("abcdef", 6, 4093), 6);
}

}  // namespace
}  // namespace qz
