#include "util/ui/coalesce.h"

namespace qz {

TCoalescedRefresh::TCoalescedRefresh(QObject* parent, std::function<void()> refresh)
    : QObject(parent), refresh_(std::move(refresh)) {
  timer_.setSingleShot(true);
  timer_.setInterval(kIntervalMs);
  timer_.setTimerType(Qt::PreciseTimer);
  connect(&timer_, &QTimer::timeout, this, [this] {
    if (refresh_) refresh_();
  });
}

void TCoalescedRefresh::Request() {
  if (!timer_.isActive()) timer_.start();
}

void TCoalescedRefresh::Flush() {
  if (!timer_.isActive()) return;
  timer_.stop();
  if (refresh_) refresh_();
}

}  // namespace qz
