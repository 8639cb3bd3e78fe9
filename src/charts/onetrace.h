#pragma once
// One named series of (x, y) points with its drawing attributes.

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

#include "charts/drawattrib.h"

namespace qz {

// Extents of one quantity over a trace. With no points both indexes are -1 and min/max are 0.
struct TExtent {
  double min = 0.0;
  double max = 0.0;
  int32_t iMax = -1;  // first point holding the largest value
  int32_t iMin = -1;  // first point holding the smallest value
  bool Found() const { return iMax >= 0; }
};

class TOneTrace {
 public:
  // A trace keeps at most this many points; further points are ignored.
  static constexpr int32_t kMaxPoints = 20001;

  TOneTrace() = default;
  explicit TOneTrace(const QString& title) : Title(title) {}

  // Appends one point; silently ignored once the trace is full. (Here and below defined in
  // the header: live drawing calls them for every point of every trace.)
  void AddXY(double x, double y) {
    if (GetCount() >= kMaxPoints) return;
    fXval.push_back(x);
    fYval.push_back(y);
  }
  void Clear();
  // Coordinates of point i; nothing when i is not a point of the trace.
  std::optional<double> GetX(int32_t i) const {
    if (i < 0 || i >= GetCount()) return std::nullopt;
    return fXval[size_t(i)];
  }
  std::optional<double> GetY(int32_t i) const {
    if (i < 0 || i >= GetCount()) return std::nullopt;
    return fYval[size_t(i)];
  }
  int32_t GetCount() const { return int32_t(fXval.size()); }

  const TDrawAttrib& Attr() const { return fAttr; }
  TDrawAttrib& Attr() { return fAttr; }
  void SetAttr(const TDrawAttrib& attr) { fAttr.Assign(attr); }
  // Title, points and attributes.
  void Assign(const TOneTrace& source);

  // Extents of x or y. Equal extents v are widened so that an axis can be built on them:
  // 0.5v .. 1.5v (1.5v .. 0.5v for negative v), and -1 .. 1 for v = 0.
  TExtent MinMaxX() const;
  TExtent MinMaxY() const;
  // Extents of the distance from the origin, not widened.
  TExtent MinMaxR() const;

  QString Title;
  // Pixel position where the moving marker was last drawn (kept for the chart that draws it);
  // -1 while no moving marker is on the chart.
  int32_t last_x = -1;
  int32_t last_y = -1;

 private:
  std::vector<double> fXval;
  std::vector<double> fYval;
  TDrawAttrib fAttr;
};

}  // namespace qz
