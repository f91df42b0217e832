// A deterministic stream of numbers (splitmix64): the same stream on every
// platform and compiler, for generated lists and bases.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

struct SplitMix64 {
  uint64_t state;
  uint64_t Next() {
    uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // 0 <= result < n
  uint32_t Below(uint32_t n) { return static_cast<uint32_t>((Next() >> 32) * n >> 32); }
  bool Chance(double p) { return static_cast<double>(Next() >> 11) * 0x1.0p-53 < p; }
  // Index into a list of n, the first entries far more often (Zipf-like).
  uint32_t Skewed(uint32_t n) {
    double u = static_cast<double>(Next() >> 11) * 0x1.0p-53;
    return std::min(n - 1, static_cast<uint32_t>(std::pow(u, 2.5) * n));
  }
};
