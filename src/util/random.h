#pragma once
// The program-wide random generator: uniform on [0, 1). Seeded once at start-up from a
// high-resolution clock; tests install their own source with SetRandomSource.

#include <cstdint>
#include <functional>
#include <memory>

namespace qz {

class RandomSource {
 public:
  virtual ~RandomSource() = default;
  virtual double Next() = 0;  // uniform on [0, 1)
};

// Deterministic generator (64-bit mixing of a counter), used by default and by tests.
class SeededRandom : public RandomSource {
 public:
  explicit SeededRandom(uint64_t seed);
  double Next() override;

 private:
  uint64_t state_;
};

// The current program-wide source. Before SeedRandomFromClock or SetRandomSource it is a
// SeededRandom with seed 0.
RandomSource& Rng();
// Uniform on [0, 1) from the program-wide source.
double Random();
// Seeds the program-wide source once from the high-resolution clock (start-up).
void SeedRandomFromClock();
// Replaces the program-wide source (tests); nullptr restores a SeededRandom with seed 0.
void SetRandomSource(std::unique_ptr<RandomSource> src);

}  // namespace qz
