#include "app/deferredcalls.h"

#include <QPointer>
#include <QTimerEvent>

namespace qz {

void TDeferredCalls::Defer(std::function<void()> task) {
  if (!task) return;
  tasks_.push_back(std::move(task));
  if (!timer_.isActive()) timer_.start(0, Qt::PreciseTimer, this);
}

std::function<void(std::function<void()>)> TDeferredCalls::Deferrer() {
  QPointer<TDeferredCalls> self(this);
  return [self](std::function<void()> task) {
    if (self) self->Defer(std::move(task));
  };
}

void TDeferredCalls::RunPending() {
  timer_.stop();
  const QPointer<TDeferredCalls> self(this);
  // A task may run long (a run pumps events meanwhile) and queue more, or be followed by tasks
  // queued while it ran: each is taken off before it runs, so none runs twice.
  while (!tasks_.empty()) {
    std::function<void()> task = std::move(tasks_.front());
    tasks_.pop_front();
    task();
    if (!self) return;
  }
}

void TDeferredCalls::timerEvent(QTimerEvent* e) {
  if (e->timerId() != timer_.timerId()) {
    QObject::timerEvent(e);
    return;
  }
  RunPending();
}

}  // namespace qz
