#include "util/clock.h"

#include <chrono>

namespace qz {

uint32_t SteadyClock::TickMs() {
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now().time_since_epoch());
  return uint32_t(uint64_t(ms.count()));  // wraps like the system's tick counter
}

int64_t SteadyClock::Nanoseconds() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void ManualClock::AdvanceMs(uint32_t ms) {
  tick_ += ms;
  ns_ += int64_t(ms) * 1000000;
}

namespace {
std::unique_ptr<Clock>& Slot() {
  static std::unique_ptr<Clock> clock = std::make_unique<SteadyClock>();
  return clock;
}
}  // namespace

Clock& ProgramClock() { return *Slot(); }

void SetProgramClock(std::unique_ptr<Clock> clock) {
  Slot() = clock ? std::move(clock) : std::make_unique<SteadyClock>();
}

uint32_t TickCount() { return ProgramClock().TickMs(); }

RunClock::RunClock(int64_t startUtcMs, Clock* steady)
    : steady_(steady), startUtcMs_(startUtcMs), startNs_(Steady().Nanoseconds()) {}

int64_t RunClock::UtcMs() {
  const int64_t ns = Steady().Nanoseconds() - startNs_;
  // A counter replaced by one that stands earlier must not make the time go back.
  return startUtcMs_ + (ns > 0 ? ns / 1000000 : 0);
}

namespace {
int64_t SystemUtcMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}
std::unique_ptr<RunClock>& RunSlot() {
  static std::unique_ptr<RunClock> clock = std::make_unique<RunClock>(SystemUtcMs());
  return clock;
}
}  // namespace

RunClock& ProgramRunClock() { return *RunSlot(); }

void SetProgramRunClock(std::unique_ptr<RunClock> clock) {
  RunSlot() = clock ? std::move(clock) : std::make_unique<RunClock>(SystemUtcMs());
}

int64_t RunUtcMs() { return ProgramRunClock().UtcMs(); }

}  // namespace qz
