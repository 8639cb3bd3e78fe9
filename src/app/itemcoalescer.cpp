#include "app/itemcoalescer.h"

#include "util/clock.h"

namespace qz {

int64_t TItemCoalescer::IntervalMs(int32_t ddeWaitMs) {
  return ddeWaitMs > kItemNotifyMinMs ? int64_t(ddeWaitMs) : kItemNotifyMinMs;
}

int64_t TItemCoalescer::NowMs() {
  Clock& c = clock_ ? *clock_ : ProgramClock();
  return c.Nanoseconds() / 1000000;
}

bool TItemCoalescer::Sent(int64_t now) {
  lastSentMs_ = now;
  holding_ = false;
  return true;
}

bool TItemCoalescer::Offer() {
  const int64_t now = NowMs();
  if (!lastSentMs_ || now - *lastSentMs_ >= intervalMs_) return Sent(now);
  holding_ = true;
  return false;
}

bool TItemCoalescer::TakeDue() {
  if (!holding_) return false;
  const int64_t now = NowMs();
  if (lastSentMs_ && now - *lastSentMs_ < intervalMs_) return false;
  return Sent(now);
}

bool TItemCoalescer::Flush() {
  if (!holding_) return false;
  return Sent(NowMs());
}

int64_t TItemCoalescer::MsUntilDue() {
  if (!holding_) return -1;
  if (!lastSentMs_) return 0;
  const int64_t left = *lastSentMs_ + intervalMs_ - NowMs();
  return left > 0 ? left : 0;
}

}  // namespace qz
