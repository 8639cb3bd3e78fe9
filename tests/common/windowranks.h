#pragma once
// Registry test entries with the places their sections have in the window program.

#include <QStringList>
#include <cstdint>

#include "app/toolwindows.h"
#include "common/windoworders.h"

namespace qz::testing {

// The rank of a section in one of the orders (10, 20, ...; 0: not in it).
inline int32_t RankIn(const QStringList& order, const QString& section) {
  for (qsizetype i = 0; i < order.size(); ++i)
    if (order[i].compare(section, Qt::CaseInsensitive) == 0) return int32_t(i + 1) * 10;
  return 0;
}

// An entry with the places its section has in the window program's orders (a section in none
// of them gets no ranks).
inline TToolWindowEntry WithWindowRanks(TToolWindowEntry e) {
  if (const int32_t r = RankIn(kUnitStartOrder, e.section)) {
    e.createPoint = TCreatePoint::UnitStart;
    e.createRank = r;
  } else if (const int32_t o = RankIn(kOnDemandOrder, e.section)) {
    e.createPoint = TCreatePoint::OnDemand;
    e.createRank = o;
  } else {
    e.createRank = RankIn(kFrameStartOrder, e.section);
  }
  e.writeRank = RankIn(kWriteOrder, e.section);
  e.loadRank = RankIn(kLoadOrder, e.section);
  e.viewRank = RankIn(kViewOrder, e.section);
  return e;
}

}  // namespace qz::testing
