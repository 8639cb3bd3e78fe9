#include "util/appendfile.h"

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

TAppendResult Failure(int err) {
  TAppendResult r;
  r.error = err;
  r.reason = qt_error_string(err);
  return r;
}

TAppendResult NotRegular(const QString& path) {
  TAppendResult r;
  r.reason = NotRegularFileText(path);
  r.notRegular = true;
  return r;
}

TAppendResult Success() {
  TAppendResult r;
  r.ok = true;
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

TAppendFile::~TAppendFile() { Close(); }

void TAppendFile::Close() {
  if (fd_ < 0) return;
  ::close(fd_);
  fd_ = -1;
  path_.clear();
}

TAppendResult TAppendFile::Open(const QString& path) {
  Close();
  const QByteArray name = QFile::encodeName(path);
  // No O_CREAT: a file that has gone is not started again without its header. O_NONBLOCK: a
  // FIFO without a reader is refused instead of waited on.
  const int fd = ::open(name.constData(), O_WRONLY | O_APPEND | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    const int err = errno;
    // A folder or a FIFO without a reader cannot even be opened: said as what it is.
    return IsNonRegularFile(path) ? NotRegular(path) : Failure(err);
  }
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
  return Success();
}

bool TAppendFile::Gone() {
  const qint64 nowMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                           std::chrono::steady_clock::now().time_since_epoch())
                           .count();
  if (nowMs < nextGoneCheckMs_) return false;
  nextGoneCheckMs_ = nowMs + goneCheckMs_;
  struct stat st {};
  return ::fstat(fd_, &st) == 0 && st.st_nlink == 0;
}

TAppendResult TAppendFile::Append(const QString& path, const QByteArray& bytes) {
  if (fd_ < 0 || path_ != path) {
    const TAppendResult o = Open(path);
    if (!o.ok) return o;
  } else if (Gone()) {
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
  return Success();
}

TAppendResult AppendToFile(const QString& path, const QByteArray& bytes) {
  TAppendFile file;
  return file.Append(path, bytes);
}

}  // namespace qz
