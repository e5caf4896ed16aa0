// Fixed-seed additive lagged-Fibonacci generator: the engine's only source of
// random numbers. Exact to the bit, so that a run repeats itself.
#pragma once

#include <array>
#include <cstdint>

namespace tsl2 {

namespace detail {
// v / RandomDivisor for every table value v, rounded to single exactly as
// the division would be: a lookup is cheaper than a double division.
inline const std::array<float, 16384> UNIFORM_VALUES = [] {
  std::array<float, 16384> values{};
  for (int v = 0; v < 16384; ++v) {
    values[static_cast<std::size_t>(v)] =
        static_cast<float>(static_cast<double>(v) / static_cast<double>(16384.099609375f));
  }
  return values;
}();
}  // namespace detail

class RandomGenerator {
 public:
  static constexpr std::int32_t RandomModulus = 16384;
  static constexpr std::int32_t RandomSeed = 3783;
  // 16384 + 51/512, the single whose bits are 0x46800033.
  static constexpr float RandomDivisor = 16384.099609375f;

  // Fills the table from the seed and runs the 1000-step warm-up.
  RandomGenerator() {
    RandomTable[1] = RandomSeed;
    for (std::int32_t i = 2; i <= 55; ++i) {
      RandomTable[i] = (2 * RandomTable[i - 1] + i) % RandomModulus;
    }
    LagJ = 24;
    LagK = 55;
    for (int i = 0; i < 1000; ++i) Step();
  }

  // One uniform single in [0, 1); one of 16384 values, 0 included, 1 never.
  float NextUniform() { return detail::UNIFORM_VALUES[static_cast<std::size_t>(Step())]; }

  std::int32_t lagJ() const { return LagJ; }
  std::int32_t lagK() const { return LagK; }
  const std::array<std::int32_t, 56>& table() const { return RandomTable; }

 private:
  std::int32_t Step() {
    std::int32_t v = RandomTable[LagK] + RandomTable[LagJ];
    if (v >= RandomModulus) v -= RandomModulus;  // sum < 2 * modulus
    RandomTable[LagK] = v;
    if (--LagJ == 0) LagJ = 55;
    if (--LagK == 0) LagK = 55;
    return v;
  }

  std::array<std::int32_t, 56> RandomTable{};  // entries 1..55
  std::int32_t LagJ = 24;
  std::int32_t LagK = 55;
};

// The engine's value of pi: the single nearest 3.141592, not the true pi.
inline constexpr float Pi = 3.141592f;

}  // namespace tsl2
