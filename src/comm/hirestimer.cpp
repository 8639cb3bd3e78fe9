#include "comm/hirestimer.h"

#include <limits>

namespace qz {

int32_t ElapsedMs(uint32_t start, Clock& clock) {
  const int32_t d = int32_t(clock.TickMs() - start);
  if (d >= -99) return d;
  return std::numeric_limits<int32_t>::max();
}

bool TimedOut(uint32_t start, int32_t limit, Clock& clock) {
  return limit < ElapsedMs(start, clock);
}

THiResTimer::THiResTimer(Clock* clock) : clock_(clock ? clock : &ProgramClock()) { InitTimer(); }

void THiResTimer::InitTimer() {
  running_ = false;
  startNs_ = 0;
  startTick_ = 0;
  hiRes_ = clock_->HasHighResolution();
}

void THiResTimer::StartTimer(int32_t ms) {
  period_ = int64_t(ms) * 10000;
  startNs_ = clock_->Nanoseconds();
  startTick_ = clock_->TickMs();
  running_ = true;
}

int64_t THiResTimer::Elapsed() const {
  if (!running_) return 0;
  if (hiRes_) return (clock_->Nanoseconds() - startNs_) / 100;
  // Without a high-resolution counter the stopwatch counts whole milliseconds.
  return int64_t(uint32_t(clock_->TickMs() - startTick_)) * 10000;
}

bool THiResTimer::TimerExpired() {
  if (!running_) return true;
  if (Elapsed() >= period_) {
    running_ = false;
    startNs_ = 0;
    startTick_ = 0;
    return true;
  }
  return false;
}

}  // namespace qz
