#include "util/readfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <algorithm>
#include <cerrno>

#include "util/fileops.h"

namespace qz {

namespace {

constexpr int64_t kKiB = 1024;
constexpr int64_t kMiB = 1024 * kKiB;

TReadFileResult Refused(TReadFileStatus status, const QString& reason, const QString& cause) {
  TReadFileResult r;
  r.status = status;
  r.reason = reason;
  r.cause = cause;
  return r;
}

TReadFileResult NotRegular(const QString& path) {
  return Refused(TReadFileStatus::NotRegularFile, NotRegularFileText(path),
                 QStringLiteral("not a regular file"));
}

TReadFileResult TooLarge(const QString& path, TFileKind kind) {
  return Refused(TReadFileStatus::TooLarge, TooLargeText(path, kind),
                 QStringLiteral("too large: %1 may have at most %2")
                     .arg(FileKindName(kind), FileKindLimitText(kind)));
}

TReadFileResult SystemFailure(const QString& path, int err) {
  const QString why = qt_error_string(err);
  return Refused(
      err == ENOENT || err == ENOTDIR ? TReadFileStatus::Missing : TReadFileStatus::ReadFailed,
      QStringLiteral("\"%1\" cannot be read: %2").arg(path, why), why);
}

// The verdict of a stat of the path (links followed).
TReadFileResult Judge(const QString& path, const struct stat& st, TFileKind kind) {
  if (!S_ISREG(st.st_mode)) return NotRegular(path);
  if (ExceedsLimit(int64_t(st.st_size), kind)) return TooLarge(path, kind);
  return {};
}

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

int64_t FileKindLimit(TFileKind kind) {
  switch (kind) {
    case TFileKind::Setup:
    case TFileKind::SParams:
    case TFileKind::Scenario:
      return 16 * kMiB;
    case TFileKind::List:
    case TFileKind::TunMem:
      return 4 * kMiB;
    case TFileKind::PortConfig:
      return 64 * kKiB;
    case TFileKind::Other:
      break;
  }
  return 64 * kMiB;
}

QString FileKindName(TFileKind kind) {
  switch (kind) {
    case TFileKind::Setup:
      return QStringLiteral("a setup file");
    case TFileKind::SParams:
      return QStringLiteral("an S-parameter file");
    case TFileKind::Scenario:
      return QStringLiteral("a scenario file");
    case TFileKind::List:
      return QStringLiteral("a list file");
    case TFileKind::TunMem:
      return QStringLiteral("a tuner memory file");
    case TFileKind::PortConfig:
      return QStringLiteral("a configuration file");
    case TFileKind::Other:
      break;
  }
  return QStringLiteral("a file");
}

QString FileKindLimitText(TFileKind kind) {
  const int64_t limit = FileKindLimit(kind);
  if (limit % kMiB == 0) return QStringLiteral("%1 MiB").arg(limit / kMiB);
  return QStringLiteral("%1 KiB").arg(limit / kKiB);
}

QString TooLargeText(const QString& path, TFileKind kind) {
  return QStringLiteral("\"%1\" is too large: %2 may have at most %3")
      .arg(path, FileKindName(kind), FileKindLimitText(kind));
}

QString TooLargeToWriteText(const QString& path, TFileKind kind) {
  return QStringLiteral("\"%1\" is not written: %2 may have at most %3")
      .arg(path, FileKindName(kind), FileKindLimitText(kind));
}

TReadFileResult ProbeRegularFile(const QString& path, TFileKind kind) {
  if (path.isEmpty())
    return Refused(TReadFileStatus::Missing, QStringLiteral("No file name given."),
                   QStringLiteral("no file name"));
  struct stat st {};
  if (::stat(QFile::encodeName(path).constData(), &st) != 0) return SystemFailure(path, errno);
  return Judge(path, st, kind);
}

TReadFileResult ReadRegularFile(const QString& path, TFileKind kind) {
  // The path is judged before anything is opened: opening a device may already act on it, and
  // opening a FIFO would wait for a writer.
  TReadFileResult r = ProbeRegularFile(path, kind);
  if (!r.ok()) return r;
  const QByteArray name = QFile::encodeName(path);
  int fd = -1;
  do {
    fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return SystemFailure(path, errno);
  Fd file(fd);
  // The name may have been given to something else since it was looked at.
  struct stat st {};
  if (::fstat(fd, &st) != 0) return SystemFailure(path, errno);
  r = Judge(path, st, kind);
  if (!r.ok()) return r;

  // At most limit + 1 bytes: a file that grows past its size while it is read is too large too.
  const int64_t limit = FileKindLimit(kind);
  const int64_t want = std::min<int64_t>(int64_t(st.st_size), limit) + 1;
  QByteArray bytes;
  bytes.resize(qsizetype(want));
  int64_t got = 0;
  for (;;) {
    if (got == int64_t(bytes.size())) {
      if (got > limit) return TooLarge(path, kind);
      // The file grew: read on in steps, never past limit + 1.
      bytes.resize(qsizetype(std::min<int64_t>(got * 2, limit + 1)));
    }
    const ssize_t n = ::read(fd, bytes.data() + got, size_t(bytes.size() - got));
    if (n < 0) {
      if (errno == EINTR) continue;
      return SystemFailure(path, errno);
    }
    if (n == 0) break;
    got += n;
  }
  if (got > limit) return TooLarge(path, kind);
  bytes.resize(qsizetype(got));
  r.bytes = std::move(bytes);
  return r;
}

}  // namespace qz
