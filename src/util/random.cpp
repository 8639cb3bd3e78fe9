#include "util/random.h"

#include <chrono>

namespace qz {

SeededRandom::SeededRandom(uint64_t seed) : state_(seed) {}

double SeededRandom::Next() {
  // splitmix64: a full-period 64-bit sequence with good mixing; the top 53 bits make the double.
  uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  z ^= z >> 31;
  return double(z >> 11) * (1.0 / 9007199254740992.0);
}

namespace {
std::unique_ptr<RandomSource>& Slot() {
  static std::unique_ptr<RandomSource> src = std::make_unique<SeededRandom>(0);
  return src;
}
}  // namespace

RandomSource& Rng() { return *Slot(); }
double Random() { return Slot()->Next(); }

void SeedRandomFromClock() {
  const auto t = std::chrono::high_resolution_clock::now().time_since_epoch().count();
  Slot() = std::make_unique<SeededRandom>(uint64_t(t));
}

void SetRandomSource(std::unique_ptr<RandomSource> src) {
  Slot() = src ? std::move(src) : std::make_unique<SeededRandom>(0);
}

}  // namespace qz
