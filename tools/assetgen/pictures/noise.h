// Seeded random numbers and value noise: the same numbers on every machine and every build.
#pragma once

#include <cstdint>

namespace assetgen {

// SplitMix64: small, fast and fully specified, so pictures never depend on the standard
// library's distributions.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t NextBits();
  // Uniform in [0, 1).
  double Next();
  // Uniform in [lo, hi).
  double Range(double lo, double hi) { return lo + (hi - lo) * Next(); }

 private:
  std::uint64_t state_;
};

// Smoothly interpolated lattice noise in [0, 1]; one lattice cell per unit of x and y.
double ValueNoise(double x, double y, std::uint32_t seed);
// Fractal sum of value noise octaves, normalised to [0, 1]; each octave doubles the frequency
// and multiplies the weight by gain.
double Fbm(double x, double y, int octaves, std::uint32_t seed, double gain = 0.5);
// Noise of one lattice point in [0, 1): the "white" noise behind ValueNoise.
double HashNoise(int x, int y, std::uint32_t seed);

}  // namespace assetgen
