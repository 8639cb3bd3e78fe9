#include "results/logqueuedsink.h"

#include <pthread.h>

#include <chrono>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace qz {

namespace {

TLogIoResult Ok() { return TLogIoResult{true, {}, false, -1}; }

void CpuRelax() {
#if defined(__x86_64__) || defined(__i386__)
  _mm_pause();
#else
  std::this_thread::yield();
#endif
}

}  // namespace

TLogQueuedSink::TLogQueuedSink(TLogSink& inner, qsizetype maxQueuedBytes)
    : inner_(inner), maxQueued_(maxQueuedBytes > 0 ? maxQueuedBytes : 1) {
  thread_ = std::thread([this] { Run(); });
}

TLogQueuedSink::~TLogQueuedSink() {
  {
    std::unique_lock<std::mutex> lock(m_);
    onFailure_ = nullptr;
    stop_ = true;
    WakeWriter(lock);
  }
  thread_.join();  // the writer writes whatever is queued before it ends
  inner_.Close();
}

void TLogQueuedSink::SetOnFailure(std::function<void()> onFailure) {
  std::lock_guard<std::mutex> lock(m_);
  onFailure_ = std::move(onFailure);
}

void TLogQueuedSink::WakeWriter(std::unique_lock<std::mutex>& lock) {
  (void)lock;
  hasWork_.store(true, std::memory_order_release);
  if (sleeping_) {
    // One wake-up per sleep: until the writer runs, later records need not wake it again.
    sleeping_ = false;
    work_.notify_one();
  }
}

std::optional<TLogIoResult> TLogQueuedSink::TakeFailure() {
  if (!failure_) return std::nullopt;
  std::optional<TLogIoResult> f;
  f.swap(failure_);
  // Records handed over after the failed one were never written; from now on the owner knows
  // and what it hands over is written again.
  dropping_ = false;
  queued_.clear();
  records_.clear();
  return f;
}

void TLogQueuedSink::WaitIdle(std::unique_lock<std::mutex>& lock) {
  if (!queued_.isEmpty()) WakeWriter(lock);
  room_.wait(lock, [this] { return queued_.isEmpty() && !writing_; });
}

TLogIoResult TLogQueuedSink::Queue(const QString& path, const QByteArray& bytes, int64_t tag) {
  std::unique_lock<std::mutex> lock(m_);
  if (auto f = TakeFailure()) return *f;
  if (bytes.isEmpty()) return Ok();
  if (path != path_) {
    // Records of another file are written first (a new log after an old one).
    WaitIdle(lock);
    if (auto f = TakeFailure()) return *f;
    path_ = path;
  }
  if (!queued_.isEmpty() && queued_.size() + bytes.size() > maxQueued_) {
    // The writer is behind: wait for room rather than drop the record.
    WakeWriter(lock);
    room_.wait(lock, [this, &bytes] {
      return queued_.isEmpty() || queued_.size() + bytes.size() <= maxQueued_;
    });
    if (auto f = TakeFailure()) return *f;
  }
  queued_.append(bytes.constData(), bytes.size());  // a copy: never shares the caller's buffer
  records_.push_back(Record{queued_.size(), tag});
  const bool wake = sleeping_;
  sleeping_ = false;
  lock.unlock();
  // Told after the lock is given up, so that a writer looking for work does not run into it.
  hasWork_.store(true, std::memory_order_release);
  if (wake) work_.notify_one();
  return Ok();
}

TLogIoResult TLogQueuedSink::Drain() {
  std::unique_lock<std::mutex> lock(m_);
  WaitIdle(lock);
  if (auto f = TakeFailure()) return *f;
  return Ok();
}

TLogIoResult TLogQueuedSink::Poll() {
  std::unique_lock<std::mutex> lock(m_);
  if (auto f = TakeFailure()) return *f;
  return Ok();
}

TLogIoResult TLogQueuedSink::Append(const QString& path, const QByteArray& bytes) {
  const TLogIoResult q = Queue(path, bytes, -1);
  if (!q.ok) return q;
  return Drain();
}

TLogIoResult TLogQueuedSink::Create(const QString& path) {
  std::unique_lock<std::mutex> lock(m_);
  WaitIdle(lock);
  // A failure of the file before is of no use any more: the new file starts clean.
  TakeFailure();
  // The writer is idle and only this thread hands over records: the inner sink is ours now.
  return inner_.Create(path);
}

void TLogQueuedSink::Close() {
  std::unique_lock<std::mutex> lock(m_);
  WaitIdle(lock);
  inner_.Close();
}

TLogIoResult TLogQueuedSink::WriteBatch(const QString& path, const QByteArray& batch,
                                        const std::vector<Record>& records) {
  TLogIoResult r = inner_.Append(path, batch);
  if (r.ok) {
    return r;
  }
  if (records.size() == 1) {
    r.failedTag = records.front().tag;
    return r;
  }
  // The batch was cut back; the records are tried one by one, so that every whole record that
  // fits stays and the failure names the first one that does not.
  qsizetype begin = 0;
  for (const Record& rec : records) {
    r = inner_.Append(path, batch.mid(begin, rec.end - begin));
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
  QByteArray batch;
  std::vector<Record> records;
  QString path;
  std::unique_lock<std::mutex> lock(m_);
  for (;;) {
    if (queued_.isEmpty() && !stop_ && spinUs_ > 0) {
      // Records usually follow each other within microseconds while a log runs: look for the
      // next one for a moment before sleeping, so that the cycle need not wake this thread.
      lock.unlock();
      const auto until = std::chrono::steady_clock::now() + std::chrono::microseconds(spinUs_);
      int n = 0;
      while (!hasWork_.load(std::memory_order_acquire)) {
        CpuRelax();
        if (++n % 64 == 0 && std::chrono::steady_clock::now() >= until) break;
      }
      lock.lock();
    }
    while (queued_.isEmpty() && !stop_) {
      hasWork_.store(false, std::memory_order_relaxed);
      sleeping_ = true;
      work_.wait(lock);
    }
    if (queued_.isEmpty()) break;  // stopped with nothing left
    hasWork_.store(false, std::memory_order_relaxed);
    batch.swap(queued_);
    records.swap(records_);
    path = path_;
    const bool drop = dropping_;
    writing_ = true;
    room_.notify_all();
    lock.unlock();

    TLogIoResult r = Ok();
    if (!drop) r = WriteBatch(path, batch, records);
    batch.resize(0);
    records.clear();

    lock.lock();
    writing_ = false;
    if (!r.ok && !dropping_) {
      failure_ = r;
      dropping_ = true;
      if (onFailure_) onFailure_();
    }
    room_.notify_all();
  }
}

}  // namespace qz
