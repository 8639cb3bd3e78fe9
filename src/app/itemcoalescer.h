#pragma once
// The rate limit of the live item's notifications. The item's text (its property and Request)
// always follows the measurement as the DDE rules say; what followers are sent passes here, at
// most one notification per interval I = max(10 ms, DdeWait_ms): a change after a quiet interval
// goes at once, later ones are held and the latest of them goes when the interval has run out,
// or at once when the run ends. So the last notification of a run is the item's text after it.
// Only whether a change waits is kept here: what goes is the item's text at the moment it is
// sent, which is the latest change.

#include <cstdint>
#include <optional>

namespace qz {

class Clock;

inline constexpr int64_t kItemNotifyMinMs = 10;

class TItemCoalescer {
 public:
  // `clock` gives the time (the program's clock when none is given).
  explicit TItemCoalescer(Clock* clock = nullptr) : clock_(clock) {}

  // I for the item's interval DdeWait_ms.
  static int64_t IntervalMs(int32_t ddeWaitMs);
  void SetIntervalMs(int64_t ms) { intervalMs_ = ms < kItemNotifyMinMs ? kItemNotifyMinMs : ms; }
  int64_t IntervalMs() const { return intervalMs_; }

  // A change of the item: true when it is to be sent now, false when it is held.
  bool Offer();
  // True when a held change is due (its interval has run out): it is to be sent now.
  bool TakeDue();
  // True when a change is held: it is to be sent now, whatever the time (the run has ended).
  bool Flush();
  bool Holding() const { return holding_; }
  // Milliseconds until the held change is due (0 when due now, -1 when nothing is held).
  int64_t MsUntilDue();

 private:
  int64_t NowMs();
  // A notification goes now.
  bool Sent(int64_t now);

  Clock* clock_;
  int64_t intervalMs_ = kItemNotifyMinMs;
  // When the last notification went (none sent yet: the first goes at once).
  std::optional<int64_t> lastSentMs_;
  bool holding_ = false;
};

}  // namespace qz
