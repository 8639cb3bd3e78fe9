#include "util/firststart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "util/folders.h"

namespace qz {

namespace {

// Copies the files of `from` matching `pattern` (letter case ignored) into `to`, never over an
// existing file. The copies are made writable: they are the user's own files from now on.
int CopyMatching(const QString& from, const QString& pattern, const QString& to) {
  QDir src(from);
  src.setNameFilters({pattern});
  // Without QDir::CaseSensitive the name filters ignore letter case.
  src.setFilter(QDir::Files | QDir::Readable);
  int copied = 0;
  for (const QFileInfo& fi : src.entryInfoList(QDir::NoFilter, QDir::Name)) {
    const QString target = QDir(to).filePath(fi.fileName());
    if (QFileInfo::exists(target)) continue;
    if (!QFile::copy(fi.absoluteFilePath(), target)) continue;
    QFile::setPermissions(target,
                          QFile::permissions(target) | QFile::WriteOwner | QFile::WriteUser);
    ++copied;
  }
  return copied;
}

}  // namespace

int CopyDefaultFiles(const QString& dataFolder, const QString& userFolder) {
  if (userFolder.isEmpty()) return 0;
  const QString tunMem = QDir(userFolder).filePath(QStringLiteral("TunMem"));
  const bool haveTunMem = QDir().mkpath(tunMem);
  if (dataFolder.isEmpty() || !QFileInfo(dataFolder).isDir()) return 0;
  int copied = CopyMatching(dataFolder, QStringLiteral("QzSim*.ini"), userFolder);
  if (haveTunMem) copied += CopyMatching(dataFolder, QStringLiteral("Tu*.mem"), tunMem);
  return copied;
}

int SetUpUserFolder(const QString& dataFolder) {
  const int code = MakeUserFolder(QLatin1String(kUserSubfolder), true);
  if (code == 1) CopyDefaultFiles(dataFolder, UserFolder());
  return code;
}

}  // namespace qz
