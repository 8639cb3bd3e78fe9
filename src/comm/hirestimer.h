#pragma once
// Time-outs on the millisecond tick counter and the interval timer used for paced output.

#include <cstdint>

#include "util/clock.h"

namespace qz {

// Milliseconds since `start`, a value of the 32-bit tick counter: now - start in modular 32-bit
// arithmetic. A result from -99 to -1 (a start stamp taken a moment "after" now) is returned as
// it is; a more negative one counts as a very long time, 2147483647.
int32_t ElapsedMs(uint32_t start, Clock& clock = ProgramClock());
// True when more than `limit` milliseconds have passed since `start`.
bool TimedOut(uint32_t start, int32_t limit, Clock& clock = ProgramClock());

// A stopwatch with a period: once started it expires when the period has passed, and then stays
// expired until it is started again.
class THiResTimer {
 public:
  // The timer reads the given clock (the program's clock when none is given); it is stopped.
  explicit THiResTimer(Clock* clock = nullptr);

  // Stopped stopwatch; copies whether the clock has a high-resolution counter.
  void InitTimer();
  // Period := ms (in 100 ns units); the stopwatch is reset and started.
  void StartTimer(int32_t ms);
  // True when the stopwatch is not running; otherwise true when the period has passed, and the
  // stopwatch is then reset and stopped; false while the period runs.
  bool TimerExpired();

  bool Running() const { return running_; }
  bool HighResolution() const { return hiRes_; }
  // The period in 100 ns units.
  int64_t Period() const { return period_; }
  // Time since the start in 100 ns units (0 when stopped).
  int64_t Elapsed() const;

 private:
  Clock* clock_;
  bool running_ = false;
  bool hiRes_ = true;
  int64_t startNs_ = 0;
  uint32_t startTick_ = 0;
  int64_t period_ = 0;
};

}  // namespace qz
