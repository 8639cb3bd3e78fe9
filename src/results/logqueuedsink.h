#pragma once
// A log file written on a thread of its own, so that the measurement cycle never waits for the
// system's write.
//
// The cycle hands over each record and goes on; the writer wakes at once and writes whatever
// records are waiting in one write, never waiting for more to gather: a killed program loses at
// most the records of the last few microseconds, which writing record by record would lose as
// well while it builds them. The waiting records are bounded: when the writer falls behind, the
// cycle waits for room rather than dropping a record.
//
// A failed write keeps the records before the failed one (it is retried record by record, so
// the file holds every whole record that fits and no torn line) and is reported, with the
// failed record's tag, at the next Queue, Drain or Poll; records handed over after the failed
// one are dropped until the failure has been reported. Create, Append and Close first wait
// until the writer has written everything. The inner sink is used by one thread at a time.

#include <QByteArray>
#include <QString>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "results/logio.h"

namespace qz {

class TLogQueuedSink : public TLogSink {
 public:
  explicit TLogQueuedSink(TLogSink& inner, qsizetype maxQueuedBytes = 1 << 20);
  ~TLogQueuedSink() override;
  TLogQueuedSink(const TLogQueuedSink&) = delete;
  TLogQueuedSink& operator=(const TLogQueuedSink&) = delete;

  TLogIoResult Create(const QString& path) override;
  // Written at once (after everything queued); a failure of a queued record comes first.
  TLogIoResult Append(const QString& path, const QByteArray& bytes) override;
  void Close() override;
  TLogIoResult Queue(const QString& path, const QByteArray& bytes, int64_t tag) override;
  TLogIoResult Drain() override;
  TLogIoResult Poll() override;

  // Called on the writer's thread when a write has failed (for example to ask the owner's
  // thread to Poll); must not call back into this sink.
  void SetOnFailure(std::function<void()> onFailure);
  // How long the writer keeps looking for new records before it sleeps: records arriving within
  // that time are taken without waking a sleeping thread. 0: sleep at once.
  void SetSpinMicroseconds(int us) { spinUs_ = us; }

 private:
  struct Record {
    qsizetype end;  // end of the record in the batch
    int64_t tag;
  };
  void Run();
  // Writes a batch through the inner sink: in one write, or record by record after a failure.
  TLogIoResult WriteBatch(const QString& path, const QByteArray& batch,
                          const std::vector<Record>& records);
  // Waits (lock held) until nothing is queued or being written.
  void WaitIdle(std::unique_lock<std::mutex>& lock);
  // Takes the failure found by the writer (lock held), if any.
  std::optional<TLogIoResult> TakeFailure();
  void WakeWriter(std::unique_lock<std::mutex>& lock);

  TLogSink& inner_;
  const qsizetype maxQueued_;
  int spinUs_ = 50;

  std::mutex m_;
  std::condition_variable work_;  // the writer waits for records
  std::condition_variable room_;  // the cycle waits for room or for the writer to finish
  QString path_;                  // the file the queued records go to
  QByteArray queued_;
  std::vector<Record> records_;
  bool writing_ = false;   // the writer holds a batch
  bool sleeping_ = false;  // the writer waits on work_
  bool stop_ = false;
  bool dropping_ = false;  // a failure is not reported yet: later records are dropped
  std::optional<TLogIoResult> failure_;
  std::function<void()> onFailure_;
  std::atomic<bool> hasWork_{false};
  std::thread thread_;
};

}  // namespace qz
