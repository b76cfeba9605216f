// The game's one random generator: Rnd() in [0, 1), re-seeded from the clock except in deterministic mode.
#pragma once

#include <cstdint>

namespace kesmir {

class Random {
 public:
  explicit Random(std::uint64_t seed = 1) { Seed(seed); }

  // A uniform number in [0, 1).
  double Rnd();
  // Stirs the clock reading given into the state, unless deterministic mode is on (then the sequence goes
  // on as it was).
  void Randomize(std::uint64_t clockReading);
  // Deterministic mode: Randomize() is ignored so that a fixed seed makes every run repeat exactly.
  void SetDeterministic(bool on) { deterministic_ = on; }
  bool Deterministic() const { return deterministic_; }
  void Seed(std::uint64_t seed);
  // The whole state, which Seed puts back.
  std::uint64_t State() const { return state_; }

 private:
  std::uint64_t state_ = 0;
  bool deterministic_ = false;
};

}  // namespace kesmir
