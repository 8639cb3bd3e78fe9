#pragma once
// Writing a whole file at once so that a failure never leaves a half-written file under the
// name: the bytes go to a temporary file beside the target, which replaces the target only
// once everything has reached the disk. An old file of that name stays whole when the write
// fails.

#include <QByteArray>
#include <QString>

namespace qz {

enum class AtomicWriteStatus {
  Ok,
  OpenFailed,   // the file could not be created (folder missing or not writable, ...)
  WriteFailed,  // the bytes did not all reach the disk (disk full, ...) or the rename failed
};

struct AtomicWriteResult {
  AtomicWriteStatus status = AtomicWriteStatus::Ok;
  QString reason;  // the file layer's explanation; empty on success
  bool ok() const { return status == AtomicWriteStatus::Ok; }
};

AtomicWriteResult WriteFileAtomic(const QString& path, const QByteArray& bytes);

}  // namespace qz
