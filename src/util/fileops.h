#pragma once
// File names and careful file operations: splitting and recombining names, deleting even a
// read-only file, keeping the previous version of a file as a backup, size and time stamp.
//
// Names use '/'; a backslash (from setup files written on other systems) counts as '/'.

#include <QDateTime>
#include <QString>
#include <cstdint>

namespace qz {

// Backslashes become '/'.
QString NormalizePath(const QString& path);

struct FileNameParts {
  QString folder;  // with a trailing '/', or empty
  QString name;    // without extension
  QString ext;     // from the last point of the file name on, with the point, or empty
};
FileNameParts SplitFileName(const QString& name);

// Folder + name without extension + "." + ext ("C:/data/run.1.txt", "bak" -> "C:/data/run.1.bak").
// A point in front of ext is not doubled.
QString ChangeExt(const QString& name, const QString& ext);

// Clears the read-only mark and deletes the file. True when the file is gone afterwards.
bool ForceDelete(const QString& name);

// Moves an existing file to ChangeExt(name, "bak"), replacing an older backup (even a read-only
// one). A file whose name already ends in ".bak" is its own backup and stays where it is.
// True when the file was moved; false when it is missing or could not be moved (it then stays).
bool BackupFile(const QString& name);

// Makes a read-only file writable by its owner (other permissions stay). True when the file is
// writable afterwards; false for a missing file.
bool ClearReadOnly(const QString& name);

// A path that exists but is no regular file (a folder, a device, a FIFO, a socket), followed
// through links. Saves and loads refuse such a path instead of replacing or reading it.
bool IsNonRegularFile(const QString& name);
// The message for such a path: "\"<path>\" is not a regular file".
QString NotRegularFileText(const QString& name);

// File attribute bits.
inline constexpr uint16_t kFileAttrReadOnly = 0x01;
inline constexpr uint16_t kFileAttrHidden = 0x02;

struct FileInfoRec {
  int64_t size = -1;   // bytes; -1 when the name is empty or the file cannot be opened
  QDateTime modified;  // invalid when size is -1
  uint16_t attributes = 0;
};
FileInfoRec FileInfo(const QString& name);
int64_t FileSizeOf(const QString& name);
// The modification time (local time); invalid when the file cannot be read.
QDateTime FileDateTime(const QString& name);

}  // namespace qz
