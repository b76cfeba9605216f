// The game's random generator (splitmix64).
#include "core/random.h"

namespace kesmir {

void Random::Seed(std::uint64_t seed) { state_ = seed; }

void Random::Randomize(std::uint64_t clockReading) {
  if (!deterministic_) Seed(clockReading * 0x2545F4914F6CDD1DULL + 0x9E3779B97F4A7C15ULL);
}

double Random::Rnd() {
  std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  z ^= z >> 31;
  return static_cast<double>(z >> 11) * (1.0 / 9007199254740992.0);
}

}  // namespace kesmir
