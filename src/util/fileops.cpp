#include "util/fileops.h"

#include <QFile>
#include <QFileInfo>

namespace qz {

bool IsNonRegularFile(const QString& name) {
  if (name.isEmpty()) return false;
  const QFileInfo fi(name);
  return fi.exists() && !fi.isFile();
}

QString NotRegularFileText(const QString& name) {
  return QStringLiteral("\"%1\" is not a regular file").arg(name);
}

QString NormalizePath(const QString& path) {
  QString p = path;
  p.replace(QLatin1Char('\\'), QLatin1Char('/'));
  return p;
}

FileNameParts SplitFileName(const QString& name) {
  const QString n = NormalizePath(name);
  // A drive letter ("C:name") belongs to the folder part as in names from older setup files.
  qsizetype cut = n.lastIndexOf(QLatin1Char('/')) + 1;
  if (cut == 0 && n.size() >= 2 && n[1] == QLatin1Char(':') && n[0].isLetter()) cut = 2;
  FileNameParts p;
  p.folder = n.left(cut);
  const QString file = n.mid(cut);
  const qsizetype dot = file.lastIndexOf(QLatin1Char('.'));
  if (dot < 0) {
    p.name = file;
  } else {
    p.name = file.left(dot);
    p.ext = file.mid(dot);
  }
  return p;
}

QString ChangeExt(const QString& name, const QString& ext) {
  const FileNameParts p = SplitFileName(name);
  QString e = ext;
  if (e.startsWith(QLatin1Char('.'))) e.remove(0, 1);
  return p.folder + p.name + QLatin1Char('.') + e;
}

bool ClearReadOnly(const QString& name) {
  const QFileInfo fi(name);
  if (name.isEmpty() || !fi.exists()) return false;
  const QFile::Permissions perm = QFile::permissions(name);
  if (perm & QFile::WriteOwner) return true;
  return QFile::setPermissions(name, perm | QFile::WriteOwner | QFile::WriteUser);
}

bool ForceDelete(const QString& name) {
  if (name.isEmpty()) return false;
  const QFileInfo fi(name);
  if (!fi.exists() && !fi.isSymLink()) return true;
  if (fi.isDir() && !fi.isSymLink()) return false;  // only files are deleted here
  ClearReadOnly(name);
  QFile::remove(name);
  const QFileInfo after(name);
  return !after.exists() && !after.isSymLink();
}

bool BackupFile(const QString& name) {
  const QFileInfo fi(name);
  if (name.isEmpty() || !fi.exists() || fi.isDir()) return false;
  const QString bak = ChangeExt(name, QStringLiteral("bak"));
  // A folder, device or FIFO under the backup name is not an old backup to be replaced.
  if (IsNonRegularFile(bak)) return false;
  // A ".bak" file is already a backup: deleting "the old backup" would delete the file itself.
  if (QFileInfo(bak).absoluteFilePath() == fi.absoluteFilePath()) return false;
  if (!ForceDelete(bak)) return false;
  return QFile::rename(name, bak);
}

FileInfoRec FileInfo(const QString& name) {
  FileInfoRec r;
  if (name.isEmpty()) return r;
  const QFileInfo fi(name);
  // Only a regular file is opened: opening a FIFO would wait for a writer.
  if (!fi.exists() || !fi.isFile()) return r;
  QFile f(name);
  if (!f.open(QIODevice::ReadOnly)) return r;
  r.size = f.size();
  r.modified = fi.lastModified();
  if (!(QFile::permissions(name) & QFile::WriteOwner)) r.attributes |= kFileAttrReadOnly;
  if (fi.isHidden()) r.attributes |= kFileAttrHidden;
  return r;
}

int64_t FileSizeOf(const QString& name) { return FileInfo(name).size; }

QDateTime FileDateTime(const QString& name) { return FileInfo(name).modified; }

}  // namespace qz
