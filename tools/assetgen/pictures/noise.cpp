// Seeded random numbers and value noise: the same numbers on every machine and every build.
#include "noise.h"

#include <cmath>

namespace assetgen {
namespace {

std::uint32_t Hash(std::uint32_t x, std::uint32_t y, std::uint32_t seed) {
  std::uint32_t h = x * 0x8DA6B343u ^ y * 0xD8163841u ^ seed * 0xCB1AB31Fu;
  h ^= h >> 16;
  h *= 0x7FEB352Du;
  h ^= h >> 15;
  h *= 0x846CA68Bu;
  h ^= h >> 16;
  return h;
}

double Smooth(double t) { return t * t * (3.0 - 2.0 * t); }

}  // namespace

std::uint64_t Random::NextBits() {
  std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

double Random::Next() { return static_cast<double>(NextBits() >> 11) * 0x1.0p-53; }

double HashNoise(int x, int y, std::uint32_t seed) {
  return Hash(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y), seed) / 4294967296.0;
}

double ValueNoise(double x, double y, std::uint32_t seed) {
  const double fx = std::floor(x);
  const double fy = std::floor(y);
  const int ix = static_cast<int>(fx);
  const int iy = static_cast<int>(fy);
  const double tx = Smooth(x - fx);
  const double ty = Smooth(y - fy);
  const double a = HashNoise(ix, iy, seed);
  const double b = HashNoise(ix + 1, iy, seed);
  const double c = HashNoise(ix, iy + 1, seed);
  const double d = HashNoise(ix + 1, iy + 1, seed);
  const double top = a + (b - a) * tx;
  const double bottom = c + (d - c) * tx;
  return top + (bottom - top) * ty;
}

double Fbm(double x, double y, int octaves, std::uint32_t seed, double gain) {
  double sum = 0.0;
  double weight = 1.0;
  double total = 0.0;
  for (int i = 0; i < octaves; ++i) {
    sum += weight * ValueNoise(x, y, seed + static_cast<std::uint32_t>(i) * 101u);
    total += weight;
    weight *= gain;
    x *= 2.0;
    y *= 2.0;
  }
  return sum / total;
}

}  // namespace assetgen
