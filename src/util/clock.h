#pragma once
// The program's clocks: the 32-bit millisecond tick counter (it wraps after about 49.7 days) and
// a monotonic high-resolution counter. Both come from one source, the steady clock of the
// system, which tests replace with a clock they step by hand.

#include <cstdint>
#include <memory>

namespace qz {

class Clock;
Clock& ProgramClock();

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since an arbitrary start, modulo 2^32.
  virtual uint32_t TickMs() = 0;
  // Nanoseconds of the high-resolution counter since an arbitrary start; never decreases.
  virtual int64_t Nanoseconds() = 0;
  // Whether the high-resolution counter is available (else timers fall back to TickMs).
  virtual bool HasHighResolution() const { return true; }
};

// The system's monotonic clock.
class SteadyClock : public Clock {
 public:
  uint32_t TickMs() override;
  int64_t Nanoseconds() override;
};

// A clock that moves only when told to (tests). Both counters move together.
class ManualClock : public Clock {
 public:
  explicit ManualClock(uint32_t tickMs = 0, int64_t ns = 0, bool highResolution = true)
      : tick_(tickMs), ns_(ns), hiRes_(highResolution) {}
  uint32_t TickMs() override { return tick_; }
  int64_t Nanoseconds() override { return ns_; }
  bool HasHighResolution() const override { return hiRes_; }

  void SetTickMs(uint32_t ms) { tick_ = ms; }
  // Advances the tick counter (wrapping) and the high-resolution counter by ms milliseconds.
  void AdvanceMs(uint32_t ms);
  // Advances the high-resolution counter only, by ns nanoseconds.
  void AdvanceNs(int64_t ns) { ns_ += ns; }

 private:
  uint32_t tick_;
  int64_t ns_;
  bool hiRes_;
};

// The run clock: UTC milliseconds since 1970 as the program's monotonic clock counts them from a
// start, so that stamps taken during a run never go back (a step of the system's time of day
// does not move them). `steady` is the counter it follows; nullptr: the program-wide clock,
// looked up at every read (so a test's ManualClock takes effect at once).
class RunClock {
 public:
  explicit RunClock(int64_t startUtcMs, Clock* steady = nullptr);
  // startUtcMs plus the whole milliseconds elapsed on the counter since construction.
  int64_t UtcMs();

 private:
  Clock& Steady() { return steady_ ? *steady_ : ProgramClock(); }
  Clock* steady_;
  int64_t startUtcMs_;
  int64_t startNs_;
};

// The program-wide run clock, started at its first use from the system's UTC time.
RunClock& ProgramRunClock();
// Replaces it (tests); nullptr starts a new one from the system's UTC time.
void SetProgramRunClock(std::unique_ptr<RunClock> clock);
// ProgramRunClock().UtcMs().
int64_t RunUtcMs();

// The program-wide clock: a SteadyClock unless replaced.
Clock& ProgramClock();
// Replaces the program-wide clock; nullptr restores the SteadyClock.
void SetProgramClock(std::unique_ptr<Clock> clock);
// ProgramClock().TickMs().
uint32_t TickCount();

}  // namespace qz
