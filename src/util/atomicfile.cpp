#include "util/atomicfile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>

#include "util/fileops.h"

namespace qz {

namespace {

const QString kTempSuffix = QStringLiteral(".qzpart");
constexpr int kTagLength = 6;
// The longest name of one folder entry (NAME_MAX of the usual file systems), in bytes.
constexpr qsizetype kNameMax = 255;

QString SystemReason(int err) { return qt_error_string(err); }

// Closes a descriptor on every way out of a scope.
class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() { Close(); }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  // The result of close(): a deferred write error of some file systems shows only here.
  int Close() {
    if (fd_ < 0) return 0;
    const int rc = ::close(fd_);
    fd_ = -1;
    return rc;
  }

 private:
  int fd_;
};

QString RandomTag() {
  static const char kChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  QString tag;
  for (int i = 0; i < kTagLength; ++i)
    tag += QLatin1Char(kChars[QRandomGenerator::global()->bounded(int(sizeof kChars) - 1)]);
  return tag;
}

// Removes the temporary files of earlier saves of the target that nobody is writing any more.
// A save in progress holds a lock on its temporary file, so another program's running save of
// the same target is left alone.
void RemoveLeftovers(const QString& folder, const QString& target) {
  // Plain entries compared by name: a target name holding '*', '?' or '[' is no pattern.
  const QStringList names =
      QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
  for (const QString& name : names) {
    if (!IsAtomicTempOf(name, target)) continue;
    const QByteArray p = QFile::encodeName(folder + QLatin1Char('/') + name);
    Fd fd(::open(p.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
    if (fd.get() < 0) continue;
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) continue;  // a save is writing it now
    ::unlink(p.constData());
  }
}

bool WriteAll(int fd, const QByteArray& bytes, int& err) {
  const char* p = bytes.constData();
  qsizetype left = bytes.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, p, size_t(left));
    if (n < 0) {
      if (errno == EINTR) continue;
      err = errno;
      return false;
    }
    if (n == 0) {
      err = ENOSPC;
      return false;
    }
    p += n;
    left -= n;
  }
  return true;
}

}  // namespace

QString AtomicTempName(const QString& target, const QString& tag) {
  return QLatin1Char('.') + QFileInfo(target).fileName() + QLatin1Char('.') + tag + kTempSuffix;
}

bool IsAtomicTempOf(const QString& fileName, const QString& target) {
  const QString prefix = QLatin1Char('.') + QFileInfo(target).fileName() + QLatin1Char('.');
  // The exact length keeps the temporary files of "run.txt.bak" apart from those of "run.txt".
  return fileName.size() == prefix.size() + kTagLength + kTempSuffix.size() &&
         fileName.startsWith(prefix) && fileName.endsWith(kTempSuffix) &&
         !fileName.mid(prefix.size(), kTagLength).contains(QLatin1Char('.'));
}

AtomicWriteResult WriteFileAtomic(const QString& path, const QByteArray& bytes) {
  AtomicWriteResult r;
  if (path.isEmpty()) {
    r.status = AtomicWriteStatus::OpenFailed;
    r.reason = QStringLiteral("No file name given.");
    return r;
  }
  // No part of the name may be longer than a file system allows (the temporary name is longer
  // still); such a name is refused before anything looks at the folder.
  for (const QString& part : path.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
    if (QFile::encodeName(part).size() > kNameMax) {
      r.status = AtomicWriteStatus::OpenFailed;
      r.reason = SystemReason(ENAMETOOLONG);
      return r;
    }
  }
  // A link is followed: its target is the file that is replaced, and the link stays.
  QString target = path;
  const QFileInfo linkInfo(path);
  if (linkInfo.isSymLink()) {
    const QString canonical = linkInfo.canonicalFilePath();
    target = canonical.isEmpty() ? linkInfo.symLinkTarget() : canonical;
  }
  const QByteArray targetName = QFile::encodeName(target);
  struct stat old {};
  const bool exists = ::stat(targetName.constData(), &old) == 0;
  if (exists && !S_ISREG(old.st_mode)) {
    r.status = AtomicWriteStatus::NotRegularFile;
    r.reason = NotRegularFileText(path);
    return r;
  }

  const QString folder = QFileInfo(target).absolutePath();
  RemoveLeftovers(folder, target);

  QByteArray tempName;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    tempName = QFile::encodeName(folder + QLatin1Char('/') + AtomicTempName(target, RandomTag()));
    fd = ::open(tempName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    r.status = AtomicWriteStatus::OpenFailed;
    r.reason = SystemReason(errno);
    return r;
  }
  Fd file(fd);
  // Held until the descriptor is closed: the file is being written and is no leftover.
  ::flock(fd, LOCK_EX | LOCK_NB);
  auto fail = [&](int err) {
    file.Close();
    ::unlink(tempName.constData());
    r.status = AtomicWriteStatus::WriteFailed;
    r.reason = SystemReason(err);
    return r;
  };
  // The replacement keeps the permissions of the file it replaces.
  if (exists) ::fchmod(fd, old.st_mode & 07777);
  int err = 0;
  if (!WriteAll(fd, bytes, err)) return fail(err);
  if (::fsync(fd) != 0) return fail(errno);
  if (file.Close() != 0) return fail(errno);
  if (::rename(tempName.constData(), targetName.constData()) != 0) {
    const int renameErr = errno;
    ::unlink(tempName.constData());
    r.status = AtomicWriteStatus::WriteFailed;
    r.reason = SystemReason(renameErr);
    return r;
  }
  // The new directory entry reaches the disk too; a file system that cannot sync a folder
  // (EINVAL) has nothing more to do.
  Fd dir(::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() >= 0 && ::fsync(dir.get()) != 0 && errno != EINVAL && errno != EROFS) {
    r.status = AtomicWriteStatus::WriteFailed;
    r.reason = SystemReason(errno);
  }
  return r;
}

}  // namespace qz
