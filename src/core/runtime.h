// The runtime functions the program's arithmetic relies on.
#pragma once

#include <cmath>
#include <cstdint>
#include <random>

namespace corvane {

// Largest integer not greater than x (also for negative x).
inline double Int(double x) {
  return std::floor(x);
}

// Remainder with the sign of the dividend, both operands rounded to integers.
inline int Mod(double a, double b) {
  const auto ia = static_cast<std::int64_t>(std::nearbyint(a));
  const auto ib = static_cast<std::int64_t>(std::nearbyint(b));
  return static_cast<int>(ia % ib);
}

// Uniform single-precision numbers in [0, 1) from a generator that is never seeded, so every
// run of the program draws the same sequence.
class RandomSequence {
 public:
  float operator()() {
    // 24 random bits fill a float's mantissa exactly: 0 <= value < 1.
    return static_cast<float>(engine_() >> 8) * (1.0f / 16777216.0f);
  }

 private:
  std::mt19937 engine_;  // default-constructed: the fixed start of the sequence
};

}  // namespace corvane
