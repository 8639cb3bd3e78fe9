#pragma once
// One screen-update tick for every chart panel of the program. Live drawing asks for an update
// after each point; the panels that asked between two ticks are all brought to the screen at
// the next tick (at most about every 16 ms), in one pass, so that four charts fed by the same
// run repaint together and the event loop carries one timer for all of them instead of one each.

#include <QObject>
#include <QTimer>
#include <vector>

namespace qz {

class TRefreshClient {
 public:
  virtual ~TRefreshClient() = default;
  // What was drawn since the last tick goes to the screen.
  virtual void RefreshTick() = 0;
};

class TRefreshTick : public QObject {
  Q_OBJECT
 public:
  // The time from the first request to the update.
  static constexpr int kIntervalMs = 16;

  // The program's tick (made on first use, owned by the application object).
  static TRefreshTick& Shared();

  explicit TRefreshTick(QObject* parent = nullptr);
  // `client` is brought up to date at the next tick; asking again before then changes nothing.
  void Request(TRefreshClient* client);
  // `client` no longer waits (it updated itself, or it goes).
  void Cancel(TRefreshClient* client);
  bool Waiting(const TRefreshClient* client) const;
  bool Active() const { return timer_.isActive(); }

 private:
  void Fire();

  QTimer timer_;
  std::vector<TRefreshClient*> waiting_;
  std::vector<TRefreshClient*> firing_;  // the clients of the tick in progress not yet told
};

}  // namespace qz
