#include "util/atomicfile.h"

#include <QSaveFile>

namespace qz {

AtomicWriteResult WriteFileAtomic(const QString& path, const QByteArray& bytes) {
  AtomicWriteResult r;
  QSaveFile f(path);
  if (!f.open(QIODevice::WriteOnly)) {
    r.status = AtomicWriteStatus::OpenFailed;
    r.reason = f.errorString();
    return r;
  }
  // A write cut short by a full disk or a file size limit is not always reported as an error
  // by the file layer: the size of what actually reached the file is checked before the old
  // file is replaced.
  const bool complete = f.write(bytes) == bytes.size() && f.flush() && f.size() == bytes.size();
  if (!complete) {
    r.status = AtomicWriteStatus::WriteFailed;
    r.reason = f.error() != QFileDevice::NoError
                   ? f.errorString()
                   : QStringLiteral("The file could not be written completely.");
    f.cancelWriting();
    return r;
  }
  if (!f.commit()) {
    r.status = AtomicWriteStatus::WriteFailed;
    r.reason = f.errorString();
  }
  return r;
}

}  // namespace qz
