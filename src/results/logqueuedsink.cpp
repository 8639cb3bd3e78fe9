#include "results/logqueuedsink.h"

#include <pthread.h>

#if defined(__linux__)
#include <linux/membarrier.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <chrono>
#include <cstring>

namespace qz {

namespace {

TLogIoResult Ok() { return TLogIoResult{true, {}, false, -1}; }

#if defined(__linux__)
int Membarrier(int cmd) { return int(::syscall(__NR_membarrier, cmd, 0u, 0)); }
#endif

// Whether this program may make every one of its threads pass a memory barrier at once.
bool HeavyBarrierReady() {
#if defined(__linux__)
  static const bool ready = [] {
    const int cmds = Membarrier(MEMBARRIER_CMD_QUERY);
    return cmds >= 0 && (cmds & MEMBARRIER_CMD_PRIVATE_EXPEDITED) &&
           Membarrier(MEMBARRIER_CMD_REGISTER_PRIVATE_EXPEDITED) == 0;
  }();
  return ready;
#else
  return false;
#endif
}

void HeavyBarrier() {
#if defined(__linux__)
  if (Membarrier(MEMBARRIER_CMD_PRIVATE_EXPEDITED) != 0)
    std::atomic_thread_fence(std::memory_order_seq_cst);  // not reached once registered
#endif
}

}  // namespace

TLogQueuedSink::TLogQueuedSink(TLogSink& inner, qsizetype maxQueuedBytes)
    : inner_(inner),
      capacity_(uint64_t(std::max<qsizetype>(maxQueuedBytes, 1))),
      ring_(new char[capacity_]),
      records_(new Record[kRecordSlots]),
      heavyBarrier_(HeavyBarrierReady()) {
  thread_ = std::thread([this] { Run(); });
}

TLogQueuedSink::~TLogQueuedSink() {
  {
    std::lock_guard<std::mutex> lock(m_);
    onFailure_ = nullptr;
  }
  stop_.store(true);
  WakeWriter(true);
  thread_.join();  // the writer writes whatever is queued before it ends
  inner_.Close();
}

void TLogQueuedSink::SetOnFailure(std::function<void()> onFailure) {
  std::lock_guard<std::mutex> lock(m_);
  onFailure_ = std::move(onFailure);
}

void TLogQueuedSink::WakeWriter(bool urgent) {
  if (urgent && gathering_.load()) {
    std::lock_guard<std::mutex> lock(m_);
    urgent_ = true;
    work_.notify_one();
  }
  // A writer about to sleep says so and then looks at the records once more; the records
  // handed over are looked at after the writer's word, so one of the two sees the other. The
  // writer pays for that order with a barrier on every thread of the program when it goes to
  // sleep, so that this side, which runs once a record, needs none where the system has it.
  if (heavyBarrier_) {
    std::atomic_signal_fence(std::memory_order_seq_cst);
  } else {
    std::atomic_thread_fence(std::memory_order_seq_cst);
  }
  if (sleeping_.load(std::memory_order_relaxed) && sleeping_.exchange(false)) {
    std::lock_guard<std::mutex> lock(m_);
    work_.notify_one();
  }
}

template <typename Pred>
void TLogQueuedSink::WaitFor(Pred pred) {
  while (!pred()) {
    WakeWriter(true);
    ownerWaiting_.store(true);
    if (!pred()) {
      std::unique_lock<std::mutex> lock(m_);
      // The writer tells when it has made room; the time limit only guards against a missed
      // word.
      room_.wait_for(lock, std::chrono::milliseconds(1), pred);
    }
    ownerWaiting_.store(false);
  }
}

void TLogQueuedSink::WaitIdle() {
  WaitFor([this] { return recTail_.load(std::memory_order_acquire) == recHead_; });
  knownByteTail_ = byteTail_.load(std::memory_order_acquire);
  knownRecTail_ = recHead_;
}

std::optional<TLogIoResult> TLogQueuedSink::TakeFailure() {
  if (!failed_.load(std::memory_order_acquire)) return std::nullopt;
  // The writer drops what was handed over after the failed record; once it has, what is
  // handed over from now on is written again.
  WaitIdle();
  std::lock_guard<std::mutex> lock(m_);
  std::optional<TLogIoResult> f;
  f.swap(failure_);
  failed_.store(false, std::memory_order_release);
  return f;
}

TLogIoResult TLogQueuedSink::WriteAlone(const QByteArray& bytes, int64_t tag) {
  WaitIdle();
  if (auto f = TakeFailure()) return *f;
  // The writer is idle and only this thread hands over records: the inner sink is ours now.
  TLogIoResult r = inner_.Append(path_, bytes);
  if (!r.ok) r.failedTag = tag;
  return r;
}

TLogIoResult TLogQueuedSink::Queue(const QString& path, const QByteArray& bytes, int64_t tag) {
  if (auto f = TakeFailure()) return *f;
  if (bytes.isEmpty()) return Ok();
  if (path != path_) {
    // Records of another file are written first (a new log after an old one).
    WaitIdle();
    if (auto f = TakeFailure()) return *f;
    path_ = path;
  }
  const uint64_t n = uint64_t(bytes.size());
  if (n > capacity_) return WriteAlone(bytes, tag);
  auto room = [this, n] {
    return byteHead_ + n - knownByteTail_ <= capacity_ && recHead_ - knownRecTail_ < kRecordSlots;
  };
  if (!room()) {
    // The writer is behind: wait for room rather than drop the record.
    WaitFor([&] {
      knownByteTail_ = byteTail_.load(std::memory_order_acquire);
      knownRecTail_ = recTail_.load(std::memory_order_acquire);
      return room();
    });
    if (auto f = TakeFailure()) return *f;
  }
  const uint64_t at = byteHead_ % capacity_;
  const uint64_t first = std::min(n, capacity_ - at);
  std::memcpy(ring_.get() + at, bytes.constData(), size_t(first));
  std::memcpy(ring_.get(), bytes.constData() + first, size_t(n - first));
  byteHead_ += n;
  records_[recHead_ % kRecordSlots] = Record{byteHead_, tag};
  ++recHead_;
  published_.store(recHead_, std::memory_order_release);
  // Half the ring waiting: the writer need not finish its wait for more.
  const uint64_t bytesWaiting = byteHead_ - byteTail_.load(std::memory_order_relaxed);
  const uint64_t recordsWaiting = recHead_ - recTail_.load(std::memory_order_relaxed);
  WakeWriter(2 * bytesWaiting >= capacity_ || 2 * recordsWaiting >= kRecordSlots);
  return Ok();
}

TLogIoResult TLogQueuedSink::Drain() {
  WaitIdle();
  if (auto f = TakeFailure()) return *f;
  return Ok();
}

TLogIoResult TLogQueuedSink::Poll() {
  if (auto f = TakeFailure()) return *f;
  return Ok();
}

TLogIoResult TLogQueuedSink::Append(const QString& path, const QByteArray& bytes) {
  const TLogIoResult q = Queue(path, bytes, -1);
  if (!q.ok) return q;
  return Drain();
}

TLogIoResult TLogQueuedSink::Create(const QString& path) {
  WaitIdle();
  // A failure of the file before is of no use any more: the new file starts clean.
  TakeFailure();
  return inner_.Create(path);
}

void TLogQueuedSink::Close() {
  WaitIdle();
  inner_.Close();
}

void TLogQueuedSink::CopyOut(uint64_t from, uint64_t to, QByteArray& out) const {
  const uint64_t n = to - from;
  out.resize(qsizetype(n));
  const uint64_t at = from % capacity_;
  const uint64_t first = std::min(n, capacity_ - at);
  std::memcpy(out.data(), ring_.get() + at, size_t(first));
  std::memcpy(out.data() + first, ring_.get(), size_t(n - first));
}

TLogIoResult TLogQueuedSink::WriteRecords(uint64_t recFrom, uint64_t recTo, uint64_t byteFrom) {
  QByteArray batch;
  CopyOut(byteFrom, records_[(recTo - 1) % kRecordSlots].end, batch);
  TLogIoResult r = inner_.Append(path_, batch);
  if (r.ok) return r;
  if (recTo - recFrom == 1) {
    r.failedTag = records_[recFrom % kRecordSlots].tag;
    return r;
  }
  // The batch was cut back; the records are tried one by one, so that every whole record that
  // fits stays and the failure names the first one that does not.
  uint64_t begin = byteFrom;
  for (uint64_t i = recFrom; i < recTo; ++i) {
    const Record& rec = records_[i % kRecordSlots];
    r = inner_.Append(path_, batch.mid(qsizetype(begin - byteFrom), qsizetype(rec.end - begin)));
    if (!r.ok) {
      r.failedTag = rec.tag;
      return r;
    }
    begin = rec.end;
  }
  return Ok();
}

void TLogQueuedSink::Run() {
#if defined(__linux__)
  pthread_setname_np(pthread_self(), "QzSim log");
#endif
  uint64_t recTail = 0;
  uint64_t byteTail = 0;
  for (;;) {
    const uint64_t head = published_.load(std::memory_order_acquire);
    if (head == recTail) {
      if (stop_.load()) {
        if (published_.load() == recTail) break;
        continue;
      }
      std::unique_lock<std::mutex> lock(m_);
      for (;;) {
        sleeping_.store(true);
        if (heavyBarrier_) HeavyBarrier();
        if (published_.load() != recTail || stop_.load()) break;
        work_.wait(lock);
      }
      sleeping_.store(false);
      continue;
    }
    TLogIoResult r = Ok();
    if (!failed_.load(std::memory_order_acquire)) r = WriteRecords(recTail, head, byteTail);
    if (!r.ok) {
      std::lock_guard<std::mutex> lock(m_);
      failure_ = r;
      failed_.store(true, std::memory_order_release);
      if (onFailure_) onFailure_();
    }
    recTail = head;
    byteTail = records_[(head - 1) % kRecordSlots].end;
    byteTail_.store(byteTail, std::memory_order_release);
    recTail_.store(recTail, std::memory_order_release);
    std::atomic_thread_fence(std::memory_order_seq_cst);
    if (ownerWaiting_.load(std::memory_order_relaxed)) {
      std::lock_guard<std::mutex> lock(m_);
      room_.notify_all();
    }
    // Records usually follow each other within microseconds while a log runs: they gather for
    // a moment and go in one write, unless the owner needs them written now.
    std::unique_lock<std::mutex> lock(m_);
    gathering_.store(true);
    work_.wait_for(lock, kGatherTime,
                   [this] { return urgent_ || stop_.load() || ownerWaiting_.load(); });
    urgent_ = false;
    gathering_.store(false);
  }
}

}  // namespace qz
