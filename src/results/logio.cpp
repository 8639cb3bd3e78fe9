#include "results/logio.h"

#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>

#include "util/fileops.h"

namespace qz {

namespace {

TLogIoResult Failure(int err) {
  TLogIoResult r;
  r.reason = qt_error_string(err);
  return r;
}

TLogIoResult NotRegular(const QString& path) {
  TLogIoResult r;
  r.reason = NotRegularFileText(path);
  r.notRegular = true;
  return r;
}

}  // namespace

TLogIoResult TLogFileSink::Create(const QString& path) {
  if (file_.Path() == path) Close();
  // Checked before opening: opening a FIFO would wait for a reader, and truncating would empty
  // whatever a device or a link to one stands for.
  if (IsNonRegularFile(path)) return NotRegular(path);
  const QByteArray name = QFile::encodeName(path);
  const int fd =
      ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NONBLOCK, 0666);
  if (fd < 0) return Failure(errno);
  ::close(fd);
  TLogIoResult r;
  r.ok = true;
  return r;
}

TLogIoResult TLogFileSink::Append(const QString& path, const QByteArray& bytes) {
  const TAppendResult a = file_.Append(path, bytes);
  TLogIoResult r;
  r.ok = a.ok;
  r.reason = a.reason;
  r.notRegular = a.notRegular;
  return r;
}

TQtLogTimer::TQtLogTimer() {
  timer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer_, &QTimer::timeout, [this] {
    if (onTick_) onTick_();
  });
}

void TQtLogTimer::SetOnTick(std::function<void()> onTick) { onTick_ = std::move(onTick); }

void TQtLogTimer::Start(int ms) { timer_.start(ms); }

void TQtLogTimer::Stop() { timer_.stop(); }

bool TQtLogTimer::Active() const { return timer_.isActive(); }

}  // namespace qz
