#include "util/firststart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "util/atomicfile.h"
#include "util/folders.h"
#include "util/readfile.h"

namespace qz {

namespace {

// Copies the files of `from` matching `pattern` (letter case ignored) into `to`, never over an
// existing file. The copies are new files of the user (read and write as the umask allows, as
// for any file the user makes), whatever the modes of the shipped files; a shipped file that is
// no regular file or too large is left out.
int CopyMatching(const QString& from, const QString& pattern, const QString& to) {
  QDir src(from);
  src.setNameFilters({pattern});
  // Without QDir::CaseSensitive the name filters ignore letter case.
  src.setFilter(QDir::Files | QDir::Readable);
  int copied = 0;
  for (const QFileInfo& fi : src.entryInfoList(QDir::NoFilter, QDir::Name)) {
    const QString target = QDir(to).filePath(fi.fileName());
    if (QFileInfo::exists(target) || QFileInfo(target).isSymLink()) continue;
    const TReadFileResult in = ReadRegularFile(fi.absoluteFilePath(), TFileKind::Other);
    if (!in.ok()) continue;
    if (!WriteFileAtomic(target, in.bytes).ok()) continue;
    ++copied;
  }
  return copied;
}

}  // namespace

int CopyDefaultFiles(const QString& dataFolder, const QString& userFolder) {
  if (userFolder.isEmpty()) return 0;
  const QString tunMem = QDir(userFolder).filePath(QString::fromLatin1(kTunMemSubfolder));
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
