#pragma once
// Refreshes of a window that follow every measured frame are gathered: the first request starts
// one single-shot timer, further requests before it fires add nothing, and when it fires the
// refresh runs once with the latest data. So a window costs at most one refresh (and one paint)
// about every 16 ms, however fast frames come, and nothing waits for a paint.

#include <QObject>
#include <QTimer>
#include <functional>

namespace qz {

class TCoalescedRefresh : public QObject {
  Q_OBJECT
 public:
  static constexpr int kIntervalMs = 16;

  TCoalescedRefresh(QObject* parent, std::function<void()> refresh);

  // A refresh is due; it runs when the timer fires.
  void Request();
  bool Pending() const { return timer_.isActive(); }
  // Runs a pending refresh at once (nothing when none is pending).
  void Flush();
  // Forgets a pending refresh.
  void Cancel() { timer_.stop(); }

 private:
  QTimer timer_;
  std::function<void()> refresh_;
};

}  // namespace qz
