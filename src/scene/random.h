#pragma once
#include <cstdint>

namespace qv {

// Uniform integers 0..n-1. Any sequence will do; this one is the same on every
// target, so a fixed seed gives the same pictures on Linux and Windows.
class RandomGenerator {
 public:
  void Seed(std::uint64_t seed) {
    state_ = seed * 6364136223846793005ULL + 1442695040888963407ULL;
    Next();
  }
  // Random(n) of the scene: 0..n-1; 0 when n <= 0.
  int operator()(int n) {
    if (n <= 0) return 0;
    return static_cast<int>((static_cast<std::uint64_t>(Next()) * static_cast<std::uint32_t>(n)) >> 32);
  }

 private:
  // PCG32 (XSH RR).
  std::uint32_t Next() {
    std::uint64_t old = state_;
    state_ = old * 6364136223846793005ULL + 1442695040888963407ULL;
    auto xorshifted = static_cast<std::uint32_t>(((old >> 18u) ^ old) >> 27u);
    auto rot = static_cast<std::uint32_t>(old >> 59u);
    return (xorshifted >> rot) | (xorshifted << ((32u - rot) & 31u));
  }
  std::uint64_t state_ = 0x853c49e6748fea9bULL;
};

// Seed taken from the system clock (steady and wall clock mixed).
std::uint64_t ClockSeed();

}  // namespace qv
