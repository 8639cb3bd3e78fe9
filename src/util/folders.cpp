#include "util/folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "util/fileops.h"

namespace qz {

namespace {

struct FolderState {
  bool initialised = false;
  QString user;
  QString system;
};

FolderState& State() {
  static FolderState s;
  return s;
}

QString WithSlash(const QString& folder) {
  if (folder.isEmpty() || folder.endsWith(QLatin1Char('/'))) return folder;
  return folder + QLatin1Char('/');
}

QString WithoutSlash(const QString& folder) {
  QString f = folder;
  while (f.size() > 1 && f.endsWith(QLatin1Char('/'))) f.chop(1);
  return f;
}

KnownFolder ProfileFolder() {
  QString p = qEnvironmentVariable("QZSIM_PROFILE");
  if (p.isEmpty()) p = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  p = NormalizePath(p);
  KnownFolder r;
  const QFileInfo fi(p);
  // A relative path would depend on the current folder; a file cannot hold the user's files.
  if (p.isEmpty() || fi.isRelative() || (fi.exists() && !fi.isDir())) return r;
  r.path = WithoutSlash(QDir::cleanPath(p));
  r.code = 0;
  return r;
}

void EnsureInitialised() {
  if (!State().initialised) ResetFolders();
}

}  // namespace

KnownFolder KnownFolderPath(const QString& folderId, int folderNumber) {
  if (!folderId.isEmpty()) {
    if (folderId.compare(QLatin1String(kFolderIdProfile), Qt::CaseInsensitive) == 0) {
      return ProfileFolder();
    }
    if (folderId.compare(QLatin1String(kFolderIdSystem), Qt::CaseInsensitive) == 0) {
      return {QStringLiteral("/etc"), 0};
    }
    return {QString(), 2};
  }
  if (folderNumber == kFolderNumberProfile) return ProfileFolder();
  if (folderNumber == kFolderNumberSystem) return {QStringLiteral("/etc"), 0};
  return {QString(), 2};
}

int MakeUserFolder(const QString& subPath, bool flag) {
  EnsureInitialised();
  FolderState& s = State();
  s.user.clear();
  const KnownFolder profile =
      KnownFolderPath(QLatin1String(kFolderIdProfile), kFolderNumberProfile);
  if (profile.code != 0) return flag ? 3 : 2;
  QString sub = NormalizePath(subPath);
  while (sub.startsWith(QLatin1Char('/'))) sub.remove(0, 1);
  QString path = sub.isEmpty() ? profile.path : WithSlash(profile.path) + sub;
  int result = 0;
  const QFileInfo fi(path);
  if (!fi.isDir()) {
    if (QDir().mkpath(path) && QFileInfo(path).isDir()) {
      result = 1;
    } else {
      path = profile.path;
      result = 3;
    }
  }
  s.user = WithSlash(path);
  return result;
}

QString UserFolder() {
  EnsureInitialised();
  return State().user;
}

void SetUserFolder(const QString& folder) {
  EnsureInitialised();
  State().user = WithSlash(NormalizePath(folder));
}

QString SystemFolder() {
  EnsureInitialised();
  return State().system;
}

void ResetFolders() {
  FolderState& s = State();
  s.initialised = true;
  s.user = WithSlash(KnownFolderPath(QLatin1String(kFolderIdProfile), kFolderNumberProfile).path);
  s.system = KnownFolderPath(QLatin1String(kFolderIdSystem), kFolderNumberSystem).path;
}

ProgramPartsInfo ProgramParts() {
  QString full;
  if (QCoreApplication::instance()) full = QCoreApplication::applicationFilePath();
  if (full.isEmpty()) full = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
  ProgramPartsInfo p;
  p.fullPath = full;
  const FileNameParts parts = SplitFileName(full);
  p.folder = parts.folder;
  p.name = parts.name;
  p.ext = parts.ext;
  return p;
}

QString ProgramFolder() { return ProgramParts().folder; }

QString ProgramDataFolder() {
  const QString exeDir = ProgramFolder();
  if (exeDir.isEmpty()) return QString();
  return WithSlash(QDir::cleanPath(exeDir + QStringLiteral("../share/qzsim")));
}

QString InFolder(const QString& name, const QString& folder) {
  const FileNameParts p = SplitFileName(name);
  return WithSlash(NormalizePath(folder)) + p.name + p.ext;
}

QString InProgramFolder(const QString& name) { return InFolder(name, ProgramDataFolder()); }

QString InUserFolder(const QString& name) { return InFolder(name, UserFolder()); }

QString FolderOrDefault(const QString& name, const QString& def) {
  const QString folder = SplitFileName(name).folder;
  if (folder.isEmpty()) return def;
  // A root keeps its '/': "/" and "C:/" (and the bare drive "C:").
  if (folder == QLatin1String("/")) return folder;
  if (folder.size() <= 3 && folder.size() >= 2 && folder[1] == QLatin1Char(':')) return folder;
  return WithoutSlash(folder);
}

}  // namespace qz
