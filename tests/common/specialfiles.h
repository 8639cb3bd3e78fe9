#pragma once
// Paths that exist but are no regular file, for the tests of saves and logs that must refuse
// them: a FIFO, a folder, a link to a FIFO, and a character device (only ever checked, never
// written).

#include <sys/stat.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <string>
#include <vector>

namespace qz::testing {

enum class SpecialKind { Fifo, Folder, LinkToFifo, CharDevice };

struct SpecialPath {
  SpecialKind kind;
  const char* label;
};

inline const std::vector<SpecialPath>& SpecialPaths() {
  static const std::vector<SpecialPath> kAll = {{SpecialKind::Fifo, "fifo"},
                                                {SpecialKind::Folder, "folder"},
                                                {SpecialKind::LinkToFifo, "link to a fifo"},
                                                {SpecialKind::CharDevice, "character device"}};
  return kAll;
}

// Creates the special path in `folder` (a device is the system's /dev/null) and returns it;
// empty when it cannot be made here.
inline QString MakeSpecial(SpecialKind kind, const QString& folder) {
  const QString path = folder + QStringLiteral("/special.txt");
  switch (kind) {
    case SpecialKind::Fifo:
      return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0 ? path : QString();
    case SpecialKind::Folder:
      return QDir().mkdir(path) ? path : QString();
    case SpecialKind::LinkToFifo: {
      const QString fifo = folder + QStringLiteral("/pipe");
      if (::mkfifo(QFile::encodeName(fifo).constData(), 0600) != 0) return {};
      return QFile::link(fifo, path) ? path : QString();
    }
    case SpecialKind::CharDevice:
      return QFile::exists(QStringLiteral("/dev/null")) ? QStringLiteral("/dev/null") : QString();
  }
  return {};
}

// The kind of file at a path (links followed): the S_IFMT bits, 0 when it is missing.
inline unsigned FileType(const QString& path) {
  struct stat st {};
  if (::stat(QFile::encodeName(path).constData(), &st) != 0) return 0;
  return st.st_mode & S_IFMT;
}

}  // namespace qz::testing