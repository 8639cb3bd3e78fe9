#pragma once
// The rate limit of the live item's notifications. The item's text (its property and Request)
// always follows the measurement as the DDE rules say; what followers are sent passes here, at
// most one notification per interval I = max(10 ms, DdeWait_ms): a change after a quiet interval
// goes at once, later ones are held and the latest of them goes when the interval has run out,
// or at once when the run ends. So the last notification of a run is the item's text after it.

#include <QString>
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

  // A new text of the item: the text to send now, or none when it is held.
  std::optional<QString> Offer(const QString& text);
  // The held text once its interval has run out (none before, or when nothing is held).
  std::optional<QString> TakeDue();
  // The held text at once (the run has ended); none when nothing is held.
  std::optional<QString> Flush();
  bool Holding() const { return held_.has_value(); }
  // Milliseconds until the held text is due (0 when due now, -1 when nothing is held).
  int64_t MsUntilDue();

 private:
  int64_t NowMs();
  // The text goes: taken by value, as it may be the held one.
  std::optional<QString> Sent(QString text, int64_t now);

  Clock* clock_;
  int64_t intervalMs_ = kItemNotifyMinMs;
  // When the last notification went (none sent yet: the first goes at once).
  std::optional<int64_t> lastSentMs_;
  std::optional<QString> held_;
};

}  // namespace qz
