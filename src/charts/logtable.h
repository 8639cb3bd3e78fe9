#pragma once
// The table of decimal logarithms of 1..10 that logarithmic axes place their divisions with:
// L[1] = 0, L[n] = log10(n) for n = 2..9, L[10] = 1 (index 0 is unused and 0).

#include <array>

namespace qz {

// Filled once, on first use.
const std::array<double, 11>& LogTable();

}  // namespace qz
