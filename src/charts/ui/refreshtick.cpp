#include "charts/ui/refreshtick.h"

#include <QCoreApplication>
#include <QPointer>
#include <algorithm>

namespace qz {

TRefreshTick& TRefreshTick::Shared() {
  // Owned by the application object, so it goes with it (and a later one gets its own).
  static QPointer<TRefreshTick> tick;
  if (!tick) tick = new TRefreshTick(QCoreApplication::instance());
  return *tick;
}

TRefreshTick::TRefreshTick(QObject* parent) : QObject(parent) {
  timer_.setSingleShot(true);
  timer_.setInterval(kIntervalMs);
  connect(&timer_, &QTimer::timeout, this, &TRefreshTick::Fire);
}

void TRefreshTick::Request(TRefreshClient* client) {
  if (!client || Waiting(client)) return;
  waiting_.push_back(client);
  if (!timer_.isActive()) timer_.start();
}

void TRefreshTick::Cancel(TRefreshClient* client) {
  std::erase(waiting_, client);
  std::erase(firing_, client);
  if (waiting_.empty()) timer_.stop();
}

bool TRefreshTick::Waiting(const TRefreshClient* client) const {
  return std::find(waiting_.begin(), waiting_.end(), client) != waiting_.end();
}

void TRefreshTick::Fire() {
  // A client that asks again while the others are updated waits for the next tick; one that
  // goes meanwhile is not told.
  firing_.swap(waiting_);
  waiting_.clear();
  while (!firing_.empty()) {
    TRefreshClient* c = firing_.front();
    firing_.erase(firing_.begin());
    c->RefreshTick();
  }
}

}  // namespace qz
