#include "charts/logtable.h"

#include <cmath>

namespace qz {

const std::array<double, 11>& LogTable() {
  static const std::array<double, 11> table = [] {
    std::array<double, 11> t{};
    t[1] = 0.0;
    for (int n = 2; n <= 9; ++n) t[size_t(n)] = std::log10(double(n));
    t[10] = 1.0;
    return t;
  }();
  return table;
}

}  // namespace qz
