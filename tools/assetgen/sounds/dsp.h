// Small building blocks for synthesizing the game's sounds: oscillators, filters, envelopes, reverb, finishing.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <numbers>
#include <vector>

#include "core/random.h"

namespace assetgen::dsp {

inline constexpr double kSampleRate = 22050.0;
inline constexpr double kTwoPi = 2.0 * std::numbers::pi;

using Signal = std::vector<double>;

struct Stereo {
  Signal left;
  Signal right;
  std::size_t Frames() const { return left.size(); }
};

// Number of sample frames in a duration (rounded to the nearest frame, never negative).
std::size_t FramesOf(double seconds);
Stereo MakeStereo(double seconds);

// Fixed-seed noise source; every sound owns one so that the output repeats exactly.
class Noise {
 public:
  explicit Noise(std::uint64_t seed) : random_(seed) {}
  double Uniform() { return random_.Rnd(); }                      // [0, 1)
  double Bipolar() { return 2.0 * random_.Rnd() - 1.0; }          // [-1, 1)
  double Range(double low, double high) { return low + (high - low) * random_.Rnd(); }
  // Pink-ish noise (-3 dB per octave) from the Voss-McCartney-like filter bank of Paul Kellet.
  double Pink();
  // Brown noise: leaky-integrated white noise, roughly unit scale.
  double Brown();

 private:
  kesmir::Random random_;
  double pink_[7] = {};
  double brown_ = 0.0;
};

// A phase in [0, 1) advanced by a frequency per sample.
class Phase {
 public:
  explicit Phase(double start = 0.0) : phase_(start) {}
  double Advance(double frequency) {
    phase_ += frequency / kSampleRate;
    phase_ -= std::floor(phase_);
    return phase_;
  }
  double Value() const { return phase_; }

 private:
  double phase_;
};

double Sine(double phase);
// Band-limited sawtooth and pulse (polyBLEP); `increment` is frequency / sample rate.
double Saw(double phase, double increment);
double Pulse(double phase, double increment, double width);
double Triangle(double phase);

// Zero-delay-feedback state-variable filter (stable under fast modulation).
class Svf {
 public:
  struct Outputs {
    double low;
    double band;   // unity gain at the centre frequency
    double high;
  };
  Outputs Process(double input, double frequency, double q);
  double Low(double input, double frequency, double q = 0.707) { return Process(input, frequency, q).low; }
  double Band(double input, double frequency, double q) { return Process(input, frequency, q).band; }
  double High(double input, double frequency, double q = 0.707) { return Process(input, frequency, q).high; }
  void Reset() { ic1_ = ic2_ = 0.0; }

 private:
  double ic1_ = 0.0;
  double ic2_ = 0.0;
};

// One-pole smoothing low-pass and its complementary high-pass.
class OnePole {
 public:
  double Low(double input, double frequency);
  double High(double input, double frequency) { return input - Low(input, frequency); }

 private:
  double state_ = 0.0;
};

// Envelope shapes over time t (seconds since the start of the event).
inline double Decay(double t, double timeConstant) { return t < 0.0 ? 0.0 : std::exp(-t / timeConstant); }
// Linear rise over `attack` seconds, then exponential decay.
inline double AttackDecay(double t, double attack, double timeConstant) {
  if (t < 0.0) return 0.0;
  if (t < attack) return t / attack;
  return std::exp(-(t - attack) / timeConstant);
}
// Smooth rise, hold and fall (raised-cosine edges); zero outside [0, length].
double Swell(double t, double length, double rise, double fall);
// Raised-cosine step from 0 at `from` to 1 at `to`.
double SmoothStep(double t, double from, double to);

inline double NoteHz(double midiNote) { return 440.0 * std::pow(2.0, (midiNote - 69.0) / 12.0); }
// Soft saturation that keeps small signals linear and rounds peaks (unity gain at 0).
inline double Saturate(double x, double drive) { return std::tanh(x * drive) / drive; }

// Gain of an event's edges: a 0.5 ms rise and a 5 ms fall, so that cutting a source off never clicks.
double EventEdge(std::size_t frame, std::size_t count);

// Mixes `seconds` of a mono source, called with the time since its own start, into `out` from `start` on, with
// an equal-power pan (-1 left .. +1 right) and gain. With `wrap` the event continues from the start of `out`
// when it runs past the end (for loops).
template <class Source>
void Mix(Stereo& out, double start, double seconds, double pan, double gain, Source&& source, bool wrap = false) {
  const std::size_t total = out.Frames();
  if (total == 0) return;
  const double angle = (pan + 1.0) * 0.25 * std::numbers::pi;
  const double gainLeft = gain * std::cos(angle) * std::numbers::sqrt2;
  const double gainRight = gain * std::sin(angle) * std::numbers::sqrt2;
  const std::size_t first = FramesOf(start);
  const std::size_t count = FramesOf(seconds);
  for (std::size_t i = 0; i < count; ++i) {
    std::size_t index = first + i;
    if (index >= total) {
      if (!wrap) break;
      index %= total;
    }
    const double value = source(static_cast<double>(i) / kSampleRate) * EventEdge(i, count);
    out.left[index] += value * gainLeft;
    out.right[index] += value * gainRight;
  }
}

// Stereo reverb of the Freeverb kind: eight damped combs and four all-passes per side, the right side detuned.
class Reverb {
 public:
  // roomSize 0..1 (tail length), damping 0..1 (darkness of the tail).
  Reverb(double roomSize, double damping);
  // Adds the reverberated signal times `wet` to `audio`. With `periodic` the audio is taken as one cycle of a
  // loop: the reverb runs over it twice and the steady second pass is kept, so the tail wraps seamlessly.
  void Apply(Stereo& audio, double wet, bool periodic = false);

 private:
  struct Comb {
    Signal buffer;
    std::size_t index = 0;
    double store = 0.0;
  };
  struct AllPass {
    Signal buffer;
    std::size_t index = 0;
  };
  double ProcessSide(double input, std::vector<Comb>& combs, std::vector<AllPass>& allPasses) const;

  double feedback_;
  double damping_;
  std::vector<Comb> combsLeft_, combsRight_;
  std::vector<AllPass> allPassesLeft_, allPassesRight_;
};

// Runs a per-sample filter over one cycle of periodic audio so that its output is periodic too: a first pass
// settles the filter state, the second pass writes. `process(value, index)` returns the filtered value.
template <class Process>
void FilterPeriodic(Signal& signal, Process&& process) {
  for (std::size_t i = 0; i < signal.size(); ++i) (void)process(signal[i], i);
  for (std::size_t i = 0; i < signal.size(); ++i) signal[i] = process(signal[i], i);
}

struct FinishOptions {
  double peak = 0.89;          // target peak (1.0 = full scale); keeps headroom below clipping
  bool loop = false;           // loops keep their ends untouched and stay periodic
  double fadeOut = 0.02;       // seconds of fade at the end of a one-shot
  double highPassHz = 25.0;    // removes DC and inaudible rumble
};

// Raises the loudness of peaky material: scales to full scale, then rounds the peaks off with tanh(drive x).
void Drive(Stereo& audio, double drive);

// Removes DC, fades the end of a one-shot (its start is silent by construction) and scales to the target peak.
void Finish(Stereo& audio, const FinishOptions& options);

double Peak(const Stereo& audio);

// Adds a single reflection: the audio delayed per side, low-passed and scaled (the slap from nearby walls).
void Echo(Stereo& audio, double delayLeft, double delayRight, double gain, double lowPassHz);

}  // namespace assetgen::dsp
