#pragma once
// A trace list: the traces one chart draws together, in order, each under a list title.

#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "charts/drawattrib.h"
#include "charts/onetrace.h"

namespace qz {

// The displays use at most four traces per list.
inline constexpr int32_t kDisplayTraces = 4;
using TTraceTitles = std::array<QString, kDisplayTraces>;
using TTracesAtrib = std::array<TDrawAttrib, kDisplayTraces>;

// Extents over the visible traces; ok is false when no visible trace has a point.
struct TRange {
  bool ok = false;
  double min = 0.0;
  double max = 0.0;
};

struct TRangeXY {
  bool ok = false;
  double minX = 0.0;
  double maxX = 0.0;
  double minY = 0.0;
  double maxY = 0.0;
};

class TTraces {
 public:
  // Adds a trace titled `title`, a copy of `source` when one is given (the trace then carries the
  // source's title while the list entry keeps `title`). False, and nothing changed, when the list
  // already holds maxCount traces.
  bool Pridaj(const QString& title, const TOneTrace* source, int32_t maxCount);
  // Removes trace `index` (0 <= index < count, index <= 255); false otherwise.
  bool Odstran(int32_t index);
  // Removes every trace.
  void Clear();
  // Empties every trace's points; the traces and their attributes stay.
  void Vyprazdni();

  int32_t Count() const { return int32_t(items_.size()); }
  // Trace i, or nullptr when i is not an index of the list.
  TOneTrace* Trace(int32_t i);
  const TOneTrace* Trace(int32_t i) const;
  QString EntryTitle(int32_t i) const;

  // Largest point count, -1 for an empty list; the same over visible traces only (-1 when none).
  int32_t MaxPoints() const;
  int32_t MaxPtsVisible() const;
  int32_t CountVisible() const;

  TRange MinMaxXvisible() const;
  TRange MinMaxYvisible() const;
  TRange MinMaxRvisible() const;
  // Both extents; ok only when both are found.
  TRangeXY MinMaxXY() const;

 private:
  struct Entry {
    QString title;
    std::unique_ptr<TOneTrace> trace;
  };
  template <typename F>
  TRange VisibleRange(F extentOf) const;

  std::vector<Entry> items_;
};

}  // namespace qz
