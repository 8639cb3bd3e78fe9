#pragma once
// The unit table of a quantity: up to four unit texts with their conversion factors.

#include <QString>
#include <array>
#include <cstdint>

namespace qz {

inline constexpr int32_t kMaxUnits = 4;

struct TUnits {
  int32_t Pocet = 1;  // number of units, 1..4
  std::array<QString, kMaxUnits> Nazov;
  std::array<double, kMaxUnits> Prevod{1.0, 1.0, 1.0, 1.0};
};

}  // namespace qz
