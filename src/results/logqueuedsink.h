#pragma once
// A log file written on a thread of its own, so that the measurement cycle never waits for the
// system's write.
//
// The cycle hands over each record and goes on. Having written, the writer waits up to a
// millisecond for more records to gather and writes them in one write; the owner wakes it
// earlier only when half the ring is taken and at Drain, Create, Append, Close and destruction.
// Finding nothing after that wait, the writer sleeps until the next record is handed over. A
// killed program thus loses at most the records of the last millisecond. The waiting records
// are bounded: when the writer falls behind, the cycle waits for room rather than dropping a
// record.
//
// A failed write keeps the records before the failed one (it is retried record by record, so
// the file holds every whole record that fits and no torn line) and is reported, with the
// failed record's tag, at the next Queue, Drain or Poll; records handed over after the failed
// one are dropped until the failure has been reported. Create, Append and Close first wait
// until the writer has written everything. The inner sink is used by one thread at a time.

#include <QByteArray>
#include <QString>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "results/logio.h"

namespace qz {

class TLogQueuedSink : public TLogSink {
 public:
  // maxQueuedBytes bounds the records waiting or being written.
  explicit TLogQueuedSink(TLogSink& inner, qsizetype maxQueuedBytes = 1 << 16);
  ~TLogQueuedSink() override;
  TLogQueuedSink(const TLogQueuedSink&) = delete;
  TLogQueuedSink& operator=(const TLogQueuedSink&) = delete;

  TLogIoResult Create(const QString& path) override;
  // Written at once (after everything queued); a failure of a queued record comes first.
  TLogIoResult Append(const QString& path, const QByteArray& bytes) override;
  void Close() override;
  // Only one thread (the log's owner) hands over records and calls the other operations.
  TLogIoResult Queue(const QString& path, const QByteArray& bytes, int64_t tag) override;
  TLogIoResult Drain() override;
  TLogIoResult Poll() override;

  // Called on the writer's thread when a write has failed (for example to ask the owner's
  // thread to Poll); must not call back into this sink.
  void SetOnFailure(std::function<void()> onFailure);
  // How long the writer waits for more records after a write.
  static constexpr std::chrono::microseconds kGatherTime{1000};

 private:
  // The hand-over is a ring of bytes and a ring of record ends that the owner fills and the
  // writer empties, without a lock: positions count bytes and records from the start and only
  // grow. The lock and the conditions serve only a sleeping writer or a waiting owner.
  struct Record {
    uint64_t end;  // byte position after the record
    int64_t tag;
  };
  static constexpr uint64_t kRecordSlots = 1024;

  void Run();
  // Writes the records [recFrom, recTo) through the inner sink: in one write, or record by
  // record after a failure.
  TLogIoResult WriteRecords(uint64_t recFrom, uint64_t recTo, uint64_t byteFrom);
  // Copies ring bytes [from, to) to out.
  void CopyOut(uint64_t from, uint64_t to, QByteArray& out) const;
  // The owner waits until pred() holds, waking the writer when it sleeps.
  template <typename Pred>
  void WaitFor(Pred pred);
  // Wakes a sleeping writer; urgent also ends its wait for more records.
  void WakeWriter(bool urgent = false);
  // Waits until the writer has taken every record handed over.
  void WaitIdle();
  // The failure found by the writer, taken once every record after it has been dropped.
  std::optional<TLogIoResult> TakeFailure();
  // A record too large for the ring: written at once once the writer is idle.
  TLogIoResult WriteAlone(const QByteArray& bytes, int64_t tag);

  TLogSink& inner_;
  const uint64_t capacity_;
  std::unique_ptr<char[]> ring_;
  std::unique_ptr<Record[]> records_;
  // The writer can make this side pass a barrier when it goes to sleep.
  const bool heavyBarrier_;
  QString path_;  // the file of the records handed over; changed only while the writer is idle

  // Each group on a cache line of its own, so that what one side writes at every record or
  // batch never pushes out of the other side's cache what it only reads there.
  static constexpr size_t kLine = 128;
  // The owner's side.
  uint64_t byteHead_ = 0;  // bytes handed over
  uint64_t recHead_ = 0;   // records handed over
  uint64_t knownByteTail_ = 0, knownRecTail_ = 0;
  // Written by the owner at every record.
  alignas(kLine) std::atomic<uint64_t> published_{0};  // records handed over
  // Written by the writer after every batch.
  alignas(kLine) std::atomic<uint64_t> byteTail_{0};  // bytes the writer is done with
  std::atomic<uint64_t> recTail_{0};                  // records the writer is done with
  // Written seldom.
  alignas(kLine) std::atomic<bool> sleeping_{false};  // the writer sleeps (or is about to)
  std::atomic<bool> ownerWaiting_{false};
  std::atomic<bool> failed_{false};  // a failure is waiting to be taken; records are dropped
  std::atomic<bool> stop_{false};
  std::atomic<bool> gathering_{false};  // the writer waits for more records after a write
  bool urgent_ = false;                 // under m_: the wait for more records ends

  alignas(kLine) std::mutex m_;
  std::condition_variable work_;  // the writer waits for records
  std::condition_variable room_;  // the owner waits for room or for the writer to finish
  std::optional<TLogIoResult> failure_;
  std::function<void()> onFailure_;
  std::thread thread_;
};

}  // namespace qz
