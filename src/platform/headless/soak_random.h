// The soak's own random numbers: SplitMix64, so that a seed gives the same run on every machine
// and library (std::rand and the standard distributions are free to differ between them).
#pragma once

#include <cstdint>

class SoakRandom {
 public:
  explicit SoakRandom(uint64_t seed) : state_(seed) {}

  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }

  // 0 .. bound - 1 (bound > 0). The top 32 bits scaled down: a bias of at most bound / 2^32,
  // far below anything a soak could notice.
  uint32_t Below(uint32_t bound) { return static_cast<uint32_t>(((Next() >> 32) * bound) >> 32); }

  // low .. high, both included (low <= high).
  int32_t Between(int32_t low, int32_t high) {
    return low + static_cast<int32_t>(Below(static_cast<uint32_t>(high - low) + 1));
  }

 private:
  uint64_t state_;
};
