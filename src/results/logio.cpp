#include "results/logio.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <chrono>
#include <cstring>

#include "util/fileops.h"

namespace qz {

namespace {

TLogIoResult Failure(int err) {
  TLogIoResult r;
  r.reason = qt_error_string(err);
  return r;
}

TLogIoResult NotRegular(const QString& path) {
  TLogIoResult r;
  r.reason = NotRegularFileText(path);
  r.notRegular = true;
  return r;
}

}  // namespace

qsizetype LinesUpToPageEnd(const char* text, qsizetype size, qint64 offset) {
  constexpr qint64 kPage = 4096;
  const qsizetype toBoundary = qsizetype(kPage - offset % kPage);
  if (size <= toBoundary) return size;
  const void* lastEnd = ::memrchr(text, '\n', size_t(toBoundary));
  if (lastEnd) return static_cast<const char*>(lastEnd) - text + 1;
  const void* nextEnd = std::memchr(text + toBoundary, '\n', size_t(size - toBoundary));
  return nextEnd ? static_cast<const char*>(nextEnd) - text + 1 : size;
}

TLogFileSink::~TLogFileSink() { Close(); }

void TLogFileSink::Close() {
  if (fd_ < 0) return;
  ::close(fd_);
  fd_ = -1;
  path_.clear();
}

TLogIoResult TLogFileSink::Create(const QString& path) {
  if (path_ == path) Close();
  // Checked before opening: opening a FIFO would wait for a reader, and truncating would empty
  // whatever a device or a link to one stands for.
  if (IsNonRegularFile(path)) return NotRegular(path);
  const QByteArray name = QFile::encodeName(path);
  const int fd =
      ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NONBLOCK, 0666);
  if (fd < 0) return Failure(errno);
  ::close(fd);
  TLogIoResult r;
  r.ok = true;
  return r;
}

TLogIoResult TLogFileSink::Open(const QString& path) {
  Close();
  const QByteArray name = QFile::encodeName(path);
  // No O_CREAT: a log file that has gone is not started again without its header.
  const int fd = ::open(name.constData(), O_WRONLY | O_APPEND | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return Failure(errno);
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    const int err = errno;
    ::close(fd);
    return Failure(err);
  }
  if (!S_ISREG(st.st_mode)) {
    ::close(fd);
    return NotRegular(path);
  }
  fd_ = fd;
  path_ = path;
  size_ = st.st_size;
  nextGoneCheckMs_ = 0;
  TLogIoResult r;
  r.ok = true;
  return r;
}

bool TLogFileSink::Gone() {
  const qint64 nowMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                           std::chrono::steady_clock::now().time_since_epoch())
                           .count();
  if (nowMs < nextGoneCheckMs_) return false;
  nextGoneCheckMs_ = nowMs + goneCheckMs_;
  struct stat st {};
  return ::fstat(fd_, &st) == 0 && st.st_nlink == 0;
}

TLogIoResult TLogFileSink::Append(const QString& path, const QByteArray& bytes) {
  if (fd_ < 0 || path_ != path) {
    const TLogIoResult o = Open(path);
    if (!o.ok) return o;
  } else if (Gone()) {
    // A log deleted while it runs is reported rather than written on into a file nobody can
    // find.
    Close();
    return Failure(ENOENT);
  }
  // Whole lines per write; a short write is finished or, failing that, cut back.
  const char* p = bytes.constData();
  qsizetype left = bytes.size();
  qint64 offset = size_;
  while (left > 0) {
    const qsizetype chunk = LinesUpToPageEnd(p, left, offset);
    const ssize_t n = ::write(fd_, p, size_t(chunk));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      const int err = n < 0 ? errno : ENOSPC;
      if (::ftruncate(fd_, size_) != 0) {
        // The cut-back is refused too: the write has failed anyway and is reported as such.
      }
      return Failure(err);
    }
    p += n;
    left -= n;
    offset += n;
  }
  size_ += bytes.size();
  TLogIoResult r;
  r.ok = true;
  return r;
}

TQtLogTimer::TQtLogTimer() {
  timer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer_, &QTimer::timeout, [this] {
    if (onTick_) onTick_();
  });
}

void TQtLogTimer::SetOnTick(std::function<void()> onTick) { onTick_ = std::move(onTick); }

void TQtLogTimer::Start(int ms) { timer_.start(ms); }

void TQtLogTimer::Stop() { timer_.stop(); }

bool TQtLogTimer::Active() const { return timer_.isActive(); }

}  // namespace qz
