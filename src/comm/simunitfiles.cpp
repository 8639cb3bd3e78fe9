#include "comm/simunitfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>
#include <QStringList>

#include "util/atomicfile.h"
#include "util/folders.h"
#include "util/readfile.h"

namespace qz {

namespace {

// Result codes of the transfers (their texts are the error table's).
constexpr int32_t kErrIncomplete = 8;
constexpr int32_t kErrDiskFull = 10;
constexpr int32_t kErrWritePath = 11;
constexpr int32_t kErrTransfer = 41;
constexpr int32_t kErrNotInServer = 43;
constexpr int32_t kErrNotInMaster = 48;

// The code of a failed write of `size` bytes into `path`'s folder: a disk without room for them
// reads as full.
int32_t WriteFailureCode(const QString& path, qsizetype size, const AtomicWriteResult& w) {
  if (w.status == AtomicWriteStatus::OpenFailed || w.status == AtomicWriteStatus::NotRegularFile)
    return kErrWritePath;
  const QStorageInfo disk(QFileInfo(path).absolutePath());
  if (disk.isValid() && disk.bytesAvailable() >= 0 && disk.bytesAvailable() < size)
    return kErrDiskFull;
  return kErrIncomplete;
}

}  // namespace

QString TSimUnitFiles::Folder() const {
  QString f = folder_.isEmpty() ? UserFolder() + QString::fromLatin1(kSimUnitSubfolder) : folder_;
  if (!f.endsWith(QLatin1Char('/'))) f += QLatin1Char('/');
  return f;
}

QString TSimUnitFiles::LocalPath(const QString& unitPath) const {
  QString name = unitPath;
  // "C:" and the like: the unit has one disk.
  if (name.size() >= 2 && name.at(1) == QLatin1Char(':') && name.at(0).isLetter())
    name = name.mid(2);
  name.replace(QLatin1Char('\\'), QLatin1Char('/'));
  QStringList parts;
  for (const QString& part : name.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
    const QString p = part.trimmed();
    if (p.isEmpty() || p == QLatin1String(".") || p == QLatin1String("..") || p.contains(QChar(0)))
      return QString();
    parts << p.toUpper();
  }
  if (parts.isEmpty()) return QString();
  return Folder() + parts.join(QLatin1Char('/'));
}

int32_t TSimUnitFiles::Send(const QString& localPath, const QString& unitPath) const {
  const TReadFileResult in = ReadRegularFile(localPath, TFileKind::Other);
  if (in.status == TReadFileStatus::TooLarge) return kErrDiskFull;
  if (!in.ok()) return kErrNotInMaster;
  const QString dest = LocalPath(unitPath);
  if (dest.isEmpty() || !QDir().mkpath(QFileInfo(dest).absolutePath())) return kErrWritePath;
  const AtomicWriteResult w = WriteFileAtomic(dest, in.bytes);
  return w.ok() ? 0 : WriteFailureCode(dest, in.bytes.size(), w);
}

int32_t TSimUnitFiles::Receive(const QString& unitPath, const QString& localPath) const {
  const QString src = LocalPath(unitPath);
  if (src.isEmpty()) return kErrNotInServer;
  const TReadFileResult in = ReadRegularFile(src, TFileKind::Other);
  if (in.status == TReadFileStatus::Missing || in.status == TReadFileStatus::NotRegularFile)
    return kErrNotInServer;
  if (!in.ok()) return kErrTransfer;
  const AtomicWriteResult w = WriteFileAtomic(localPath, in.bytes);
  return w.ok() ? 0 : WriteFailureCode(localPath, in.bytes.size(), w);
}

}  // namespace qz
