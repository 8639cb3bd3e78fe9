#pragma once
// Writing a whole file at once so that a failure never leaves a half-written file under the
// name: the bytes go to a temporary file beside the target, which replaces the target only
// once everything has reached the disk; the folder is synced after the rename so the new name
// survives a power cut. An old file of that name stays whole when the write fails.
//
// Only a regular file is ever replaced: a target that exists as a folder, a device, a FIFO or a
// socket is refused and left as it is (a save onto /dev/sda or a named pipe must not replace
// it, nor report success). A link is followed and its target file is replaced.
//
// The temporary file is named after its target (".<name>.<6 characters>.qzpart" in the same
// folder) and is locked while it is written; a leftover of an interrupted save of the same
// target (no longer locked) is removed by the next save.

#include <QByteArray>
#include <QString>

namespace qz {

enum class AtomicWriteStatus {
  Ok,
  OpenFailed,      // the file could not be created (folder missing or not writable, ...)
  WriteFailed,     // the bytes did not all reach the disk (disk full, ...) or the rename failed
  NotRegularFile,  // the target exists and is no regular file; nothing was touched
};

struct AtomicWriteResult {
  AtomicWriteStatus status = AtomicWriteStatus::Ok;
  QString reason;  // the file layer's explanation; empty on success
  bool ok() const { return status == AtomicWriteStatus::Ok; }
};

AtomicWriteResult WriteFileAtomic(const QString& path, const QByteArray& bytes);

// The temporary name a save of `target` would use with the given 6-character tag, and whether
// a file name (without folder) is such a temporary file of `target`.
QString AtomicTempName(const QString& target, const QString& tag);
bool IsAtomicTempOf(const QString& fileName, const QString& target);

}  // namespace qz
