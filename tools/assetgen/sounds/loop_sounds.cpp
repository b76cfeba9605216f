// The three loops: the battle ambience in the snow, the menu music bed and the heart-beat.
//
// Every loop is built as one cycle of a periodic signal: noise is a fixed buffer filtered over the cycle twice
// (the second pass starts from the settled state), modulations run a whole number of times per cycle, events
// and notes that run past the end continue at the start, and the reverb runs periodically. The last sample then
// leads into the first exactly as any sample leads into the next, so the seam cannot click.
#include <array>
#include <tuple>

#include "recipes.h"
#include "voices.h"

namespace assetgen {
namespace {

using namespace dsp;

// A slow periodic modulation in [0, 1] that repeats a whole number of times per cycle.
double CycleLfo(std::size_t index, std::size_t frames, double cycles, double offset) {
  const double position = static_cast<double>(index) / static_cast<double>(frames);
  return 0.5 + 0.5 * std::sin(kTwoPi * (cycles * position + offset));
}

// Wind over open snow: band-passed noise whose pitch and strength drift in gusts, with a low rumble under it.
Stereo RenderWind(double seconds, std::uint64_t seed, double whistle) {
  Stereo wind = MakeStereo(seconds);
  const std::size_t frames = wind.Frames();
  Noise noise(seed);
  Signal common(frames);
  for (double& value : common) value = noise.Bipolar();
  for (Signal* channel : {&wind.left, &wind.right}) {
    for (std::size_t i = 0; i < frames; ++i) (*channel)[i] = 0.7 * common[i] + 0.3 * noise.Bipolar();
  }
  double sideOffset = 0.0;
  for (Signal* channel : {&wind.left, &wind.right}) {
    Svf band, rumble;
    FilterPeriodic(*channel, [&](double value, std::size_t i) {
      const double gust = 0.6 * CycleLfo(i, frames, 3.0, sideOffset) + 0.4 * CycleLfo(i, frames, 7.0, 0.3 + sideOffset);
      const double centre = 300.0 + 500.0 * gust;
      const double strength = 0.35 + 0.65 * CycleLfo(i, frames, 4.0, 0.1 + sideOffset) * gust;
      return strength * (whistle * band.Band(value, centre, 1.8) + 0.9 * rumble.Low(value, 160.0, 0.7));
    });
    sideOffset += 0.07;
  }
  return wind;
}

// A distant rifle shot: a dull crack, most of its highs lost on the way.
class DistantShot {
 public:
  explicit DistantShot(std::uint64_t seed) : noise_(seed) {}
  double operator()(double t) {
    const double white = noise_.Bipolar();
    const double crack = filter_.Low(white, 1300.0, 0.8) * AttackDecay(t, 0.001, 0.03);
    const double thump = Sine(std::fmod(70.0 * t, 1.0)) * AttackDecay(t, 0.002, 0.05);
    return crack + 0.5 * thump;
  }

 private:
  Noise noise_;
  Svf filter_;
};

// A far explosion: a low, long roll.
class DistantBoom {
 public:
  explicit DistantBoom(std::uint64_t seed) : noise_(seed) {}
  double operator()(double t) {
    const double roll = filter_.Low(noise_.Brown(), 220.0 + 400.0 * Decay(t, 0.1), 0.8) * AttackDecay(t, 0.01, 0.7);
    const double tone = Sine(phase_.Advance(30.0 + 20.0 * Decay(t, 0.15))) * AttackDecay(t, 0.01, 0.5);
    return 1.2 * roll + tone;
  }

 private:
  Noise noise_;
  Svf filter_;
  Phase phase_;
};

}  // namespace

Stereo MakeSnowBattle() {
  constexpr double kSeconds = 16.0;
  Stereo out = RenderWind(kSeconds, 201, 1.0);
  Stereo battle = MakeStereo(kSeconds);
  Noise noise(202);
  constexpr bool kWrap = true;
  // Volleys of distant rifle fire, spread over the cycle, a few on each side.
  const std::array<double, 7> volleys = {0.6, 2.9, 5.2, 7.4, 9.8, 12.3, 14.7};
  for (const double at : volleys) {
    const int shots = 2 + static_cast<int>(noise.Uniform() * 4.0);
    const double pan = noise.Range(-0.8, 0.8);
    const double level = noise.Range(0.5, 1.0);
    double time = at;
    for (int k = 0; k < shots; ++k) {
      Mix(battle, time, 0.3, pan + noise.Range(-0.1, 0.1), level * noise.Range(0.7, 1.0),
          DistantShot(300 + static_cast<std::uint64_t>(time * 100.0)), kWrap);
      time += noise.Range(0.09, 0.25);
    }
  }
  for (const double at : {4.1, 11.2}) {
    Mix(battle, at, 2.5, noise.Range(-0.5, 0.5), 0.45, DistantBoom(400 + static_cast<std::uint64_t>(at)), kWrap);
  }
  Reverb(0.88, 0.7).Apply(battle, 1.6, true);
  for (std::size_t i = 0; i < out.Frames(); ++i) {
    out.left[i] = 0.6 * out.left[i] + 0.6 * battle.left[i];
    out.right[i] = 0.6 * out.right[i] + 0.6 * battle.right[i];
  }
  Finish(out, FinishOptions{.peak = 0.6, .loop = true});
  return out;
}

// A calm, wintry music bed: four slow pad chords (A minor, F, C, G, leading back to A minor at the seam), a
// soft bass, a few bell notes and a breath of wind.
Stereo MakeMenuAmbient() {
  constexpr double kChordSeconds = 4.0;
  constexpr double kSeconds = 4 * kChordSeconds;
  constexpr bool kWrap = true;
  struct Chord {
    std::array<double, 3> pad;
    double bass;
    std::array<double, 3> bells;
  };
  constexpr std::array<Chord, 4> kChords = {{
      {{57, 60, 64}, 45, {76, 72, 81}},
      {{57, 60, 65}, 41, {77, 72, 76}},
      {{55, 60, 64}, 48, {79, 76, 72}},
      {{55, 59, 62}, 43, {74, 79, 71}},
  }};
  Stereo out = MakeStereo(kSeconds);
  for (std::size_t c = 0; c < kChords.size(); ++c) {
    const double start = kChordSeconds * static_cast<double>(c) - 0.4;
    const double begin = start < 0.0 ? start + kSeconds : start;
    const double length = kChordSeconds + 1.6;
    for (std::size_t k = 0; k < 3; ++k) {
      const double pan = -0.4 + 0.4 * static_cast<double>(k);
      Mix(out, begin, length, pan, 0.3, PadVoice(NoteHz(kChords[c].pad[k]), length, 1.2, 1.8, 3.0), kWrap);
    }
    Mix(out, begin, length, 0.0, 0.35, [f = NoteHz(kChords[c].bass), length](double t) {
      return Swell(t, length, 0.8, 1.6) * (Sine(std::fmod(f * t, 1.0)) + 0.25 * Sine(std::fmod(2.0 * f * t, 1.0)));
    }, kWrap);
    const std::array<double, 3> bellTimes = {0.5, 1.6, 2.8};
    for (std::size_t k = 0; k < 3; ++k) {
      const double pan = k == 1 ? 0.45 : -0.35;
      Mix(out, kChordSeconds * static_cast<double>(c) + bellTimes[k], 1.5, pan, 0.12,
          [f = NoteHz(kChords[c].bells[k])](double t) { return Bell(t, f); }, kWrap);
    }
  }
  const Stereo wind = RenderWind(kSeconds, 211, 0.6);
  for (std::size_t i = 0; i < out.Frames(); ++i) {
    out.left[i] += 0.05 * wind.left[i];
    out.right[i] += 0.05 * wind.right[i];
  }
  Reverb(0.88, 0.5).Apply(out, 1.0, true);
  Finish(out, FinishOptions{.peak = 0.55, .loop = true});
  return out;
}

// Two heart-beats at 75 per minute: each a deep "lub" and a softer "dub", given a little grit so that small
// speakers carry them.
Stereo MakeHeart() {
  constexpr double kBeat = 0.8;
  constexpr bool kWrap = true;
  Stereo out = MakeStereo(2 * kBeat);
  Noise noise(301);
  for (int beat = 0; beat < 2; ++beat) {
    const double at = 0.03 + kBeat * beat;
    const double strength = beat == 0 ? 1.0 : 0.94;
    for (const auto& [offset, gain, pitch] : {std::tuple{0.0, 1.0, 48.0}, std::tuple{0.26, 0.7, 60.0}}) {
      Svf thud;
      Mix(out, at + offset, 0.4, 0.0, strength * gain, [&, pitch = pitch](double t) {
        const double tone = Sine(std::fmod(pitch * t + 0.5 * pitch * 0.03 * (1.0 - Decay(t, 0.03)), 1.0));
        const double body = thud.Low(noise.Bipolar(), 150.0, 0.9) * AttackDecay(t, 0.005, 0.04);
        return Saturate(2.5 * (tone * AttackDecay(t, 0.008, 0.07) + 0.8 * body), 1.0);
      }, kWrap);
    }
  }
  for (Signal* channel : {&out.left, &out.right}) {
    Svf smooth;
    FilterPeriodic(*channel, [&](double value, std::size_t) { return smooth.Low(value, 400.0, 0.7); });
  }
  Finish(out, FinishOptions{.peak = 0.85, .loop = true});
  return out;
}

}  // namespace assetgen
