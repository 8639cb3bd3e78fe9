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

std::optional<QString> TItemCoalescer::Sent(QString text, int64_t now) {
  lastSentMs_ = now;
  held_.reset();
  return text;
}

std::optional<QString> TItemCoalescer::Offer(const QString& text) {
  const int64_t now = NowMs();
  if (!lastSentMs_ || now - *lastSentMs_ >= intervalMs_) return Sent(text, now);
  held_ = text;
  return std::nullopt;
}

std::optional<QString> TItemCoalescer::TakeDue() {
  if (!held_) return std::nullopt;
  const int64_t now = NowMs();
  if (lastSentMs_ && now - *lastSentMs_ < intervalMs_) return std::nullopt;
  return Sent(*held_, now);
}

std::optional<QString> TItemCoalescer::Flush() {
  if (!held_) return std::nullopt;
  return Sent(*held_, NowMs());
}

int64_t TItemCoalescer::MsUntilDue() {
  if (!held_) return -1;
  if (!lastSentMs_) return 0;
  const int64_t left = *lastSentMs_ + intervalMs_ - NowMs();
  return left > 0 ? left : 0;
}

}  // namespace qz
