#pragma once
// What a remote call leaves for after its answer (a run's start, the exit), run by the program's
// event loop from a zero-time timer: a timer event, never the delivery of a posted event. A run
// started there pumps the events itself while it lasts; had it begun inside a posted event's
// delivery, a call posted just before could wait for a wake-up that never comes.

#include <QBasicTimer>
#include <QObject>
#include <deque>
#include <functional>

namespace qz {

class TDeferredCalls : public QObject {
 public:
  explicit TDeferredCalls(QObject* parent = nullptr) : QObject(parent) {}

  // Queues a task; it runs once the present event has been handled.
  void Defer(std::function<void()> task);
  // The deferrer a control takes (TControl::Defer).
  std::function<void(std::function<void()>)> Deferrer();
  // Runs the queued tasks in order, those queued meanwhile too (tests, and the timer).
  void RunPending();
  size_t Pending() const { return tasks_.size(); }

 protected:
  void timerEvent(QTimerEvent* e) override;

 private:
  QBasicTimer timer_;
  std::deque<std::function<void()>> tasks_;
};

}  // namespace qz
