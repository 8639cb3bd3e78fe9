#include "charts/traces.h"

#include <algorithm>

namespace qz {

bool TTraces::Pridaj(const QString& title, const TOneTrace* source, int32_t maxCount) {
  if (Count() >= maxCount) return false;
  auto t = std::make_unique<TOneTrace>(title);
  if (source) t->Assign(*source);
  items_.push_back(Entry{title, std::move(t)});
  return true;
}

bool TTraces::Odstran(int32_t index) {
  if (index < 0 || index >= Count() || index > 255) return false;
  items_.erase(items_.begin() + index);
  return true;
}

void TTraces::Clear() { items_.clear(); }

void TTraces::Vyprazdni() {
  for (auto& e : items_) e.trace->Clear();
}

TOneTrace* TTraces::Trace(int32_t i) {
  return i >= 0 && i < Count() ? items_[size_t(i)].trace.get() : nullptr;
}

const TOneTrace* TTraces::Trace(int32_t i) const {
  return i >= 0 && i < Count() ? items_[size_t(i)].trace.get() : nullptr;
}

QString TTraces::EntryTitle(int32_t i) const {
  return i >= 0 && i < Count() ? items_[size_t(i)].title : QString();
}

int32_t TTraces::MaxPoints() const {
  int32_t m = -1;
  for (const auto& e : items_) m = std::max(m, e.trace->GetCount());
  return m;
}

int32_t TTraces::MaxPtsVisible() const {
  int32_t m = -1;
  for (const auto& e : items_)
    if (e.trace->Attr().Visible) m = std::max(m, e.trace->GetCount());
  return m;
}

int32_t TTraces::CountVisible() const {
  return int32_t(std::count_if(items_.begin(), items_.end(),
                               [](const Entry& e) { return e.trace->Attr().Visible; }));
}

template <typename F>
TRange TTraces::VisibleRange(F extentOf) const {
  TRange r;
  for (const auto& e : items_) {
    if (!e.trace->Attr().Visible || e.trace->GetCount() == 0) continue;
    const TExtent x = extentOf(*e.trace);
    if (!r.ok) {
      r = TRange{true, x.min, x.max};
    } else {
      r.min = std::min(r.min, x.min);
      r.max = std::max(r.max, x.max);
    }
  }
  return r;
}

TRange TTraces::MinMaxXvisible() const {
  return VisibleRange([](const TOneTrace& t) { return t.MinMaxX(); });
}

TRange TTraces::MinMaxYvisible() const {
  return VisibleRange([](const TOneTrace& t) { return t.MinMaxY(); });
}

TRange TTraces::MinMaxRvisible() const {
  return VisibleRange([](const TOneTrace& t) { return t.MinMaxR(); });
}

TRangeXY TTraces::MinMaxXY() const {
  const TRange x = MinMaxXvisible();
  const TRange y = MinMaxYvisible();
  return TRangeXY{x.ok && y.ok, x.min, x.max, y.min, y.max};
}

}  // namespace qz
