// Musical voices shared by the jingles, the acid effects and the menu ambience.
#include "voices.h"

#include <algorithm>
#include <array>

namespace assetgen {
namespace {

using namespace dsp;

struct Partial {
  double ratio;
  double gain;
  double decay;  // seconds
};
constexpr std::array<Partial, 5> kBellPartials = {{
    {1.0, 1.0, 0.55}, {2.0, 0.25, 0.3}, {2.76, 0.3, 0.13}, {5.40, 0.12, 0.05}, {8.93, 0.06, 0.025}}};

}  // namespace

double Bell(double t, double frequency) {
  if (t < 0.0) return 0.0;
  double sum = 0.0;
  for (const Partial& partial : kBellPartials) {
    if (partial.ratio * frequency >= 0.45 * kSampleRate) continue;
    sum += partial.gain * Decay(t, partial.decay) * Sine(partial.ratio * frequency * t);
  }
  return sum * std::min(t / 0.002, 1.0);
}

double BrassVoice::operator()(double t) {
  const double vibrato = 1.0 + 0.006 * std::sin(kTwoPi * 5.2 * t) * SmoothStep(t, 0.12, 0.3);
  const double frequency = frequency_ * vibrato;
  const double increment = frequency / kSampleRate;
  const double raw = Saw(first_.Advance(frequency * 1.003), increment) + Saw(second_.Advance(frequency * 0.997), increment);
  const double cutoff = frequency_ * (2.0 + 5.0 * AttackDecay(t, 0.03, 0.2) + 1.5 * SmoothStep(t, 0.1, 0.4));
  return 0.5 * filter_.Low(raw, cutoff, 0.9) * Swell(t, length_, 0.025, std::min(0.12, 0.4 * length_));
}

double PluckVoice::operator()(double t) {
  const double increment = frequency_ / kSampleRate;
  const double raw = Pulse(phase_.Advance(frequency_), increment, 0.3);
  const double cutoff = frequency_ * (1.5 + 10.0 * Decay(t, 0.05));
  return filter_.Low(raw, cutoff, 1.0) * AttackDecay(t, 0.002, 0.25);
}

double PadVoice::operator()(double t) {
  const double drift = 1.0 + 0.0015 * std::sin(kTwoPi * 0.3 * t);
  const double frequency = frequency_ * drift;
  const double increment = frequency / kSampleRate;
  const double raw = Saw(a_.Advance(frequency), increment) + Saw(b_.Advance(frequency * 1.0045), increment) +
                     Saw(c_.Advance(frequency * 0.9962), increment);
  const double cutoff = frequency_ * brightness_ * (1.0 + 0.3 * SmoothStep(t, 0.0, attack_));
  return 0.33 * filter_.Low(raw, cutoff, 0.8) * Swell(t, length_, attack_, release_);
}

}  // namespace assetgen
