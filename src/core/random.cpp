// The game's random generator (splitmix64).
#include "core/random.h"

namespace kesmir {

void Random::Seed(std::uint64_t seed) { state_ = seed; }

namespace {

std::uint64_t Mix(std::uint64_t z) {
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

}  // namespace

void Random::Randomize(std::uint64_t clockReading) {
  // The reading is mixed into the present state rather than replacing it, so that re-seeding twice within
  // one clock tick still gives two different sequences.
  if (!deterministic_) state_ = Mix(state_ ^ Mix(clockReading * 0x2545F4914F6CDD1DULL + 0x9E3779B97F4A7C15ULL));
}

double Random::Rnd() {
  const std::uint64_t z = Mix(state_ += 0x9E3779B97F4A7C15ULL);
  return static_cast<double>(z >> 11) * (1.0 / 9007199254740992.0);
}

}  // namespace kesmir
