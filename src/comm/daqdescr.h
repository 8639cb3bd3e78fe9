#pragma once
// What the unit reports about its data-acquisition card and the set-up of its signal channel:
// the names of the card's input ranges and which of them the channel may use. The measurement
// setup window offers exactly the ranges from the lowest to the highest allowed index.

#include <QString>
#include <array>
#include <cstdint>

namespace qz {

// A card has at most eight input ranges (index 0..7), each named in at most 8 characters.
inline constexpr int kDaqRangeCount = 8;
inline constexpr int kDaqRangeNameLen = 8;

struct TDaqDescr {
  QString CardName;
  int RangeCount = 0;  // ranges named, 0..8
  std::array<QString, kDaqRangeCount> RangeNames;
};

struct TChanSetup {
  uint8_t Active = 0;  // 1 when the channel is in use
  int8_t Rnge = -1;    // range of the channel, -1 automatic
  int8_t RngLo = 0;    // lowest allowed range index
  int8_t RngHi = -1;   // highest allowed range index; below RngLo when none is allowed
};

}  // namespace qz
