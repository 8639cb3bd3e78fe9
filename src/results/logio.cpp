#include "results/logio.h"

#include <QFile>

namespace qz {

TLogIoResult TLogFileSink::Create(const QString& path) {
  TLogIoResult r;
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    r.reason = f.errorString();
    return r;
  }
  f.close();
  r.ok = true;
  return r;
}

TLogIoResult TLogFileSink::Append(const QString& path, const QByteArray& bytes) {
  TLogIoResult r;
  QFile f(path);
  // Unbuffered: the write reaches the system at once, so its failure is seen here and nothing
  // is left in a buffer that closing the file could still write after the cut.
  if (!f.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::ExistingOnly |
              QIODevice::Unbuffered)) {
    r.reason = f.errorString();
    return r;
  }
  const qint64 before = f.size();
  const qint64 written = f.write(bytes);
  if (written != bytes.size() || !f.flush()) {
    r.reason = f.errorString();
    // A device cannot be cut back; a file may still refuse it: the write has failed anyway.
    if (!f.isSequential()) f.resize(before);
    f.close();
    return r;
  }
  f.close();
  r.ok = true;
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
