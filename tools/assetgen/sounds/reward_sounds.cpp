// Pick-ups, level-up, menu sounds, the camera, the acid effects and the three high-score jingles.
#include <algorithm>
#include <array>
#include <vector>

#include "recipes.h"
#include "voices.h"

namespace assetgen {
namespace {

using namespace dsp;

// A metal part snapping into place: a burst of noise ringing through a few resonances over a dull body.
class MetalClick {
 public:
  MetalClick(std::array<double, 3> modes, double body, std::uint64_t seed) : modes_(modes), body_(body), noise_(seed) {}
  double operator()(double t) {
    const double burst = noise_.Bipolar() * AttackDecay(t, 0.0003, 0.0025);
    double ring = 0.0;
    for (std::size_t k = 0; k < modes_.size(); ++k) ring += resonators_[k].Band(burst, modes_[k], 70.0);
    const double thud = bodyFilter_.Band(burst, body_, 3.0);
    return 2.5 * ring + 1.5 * thud + 0.4 * burst;
  }

 private:
  std::array<double, 3> modes_;
  double body_;
  Noise noise_;
  std::array<Svf, 3> resonators_;
  Svf bodyFilter_;
};

// A kettle-drum stroke under a fanfare.
double Timpani(double t, Noise& noise, Svf& filter) {
  const double tone = Sine(std::fmod((87.0 * t + 11.0 * 0.08 * (1.0 - Decay(t, 0.08))), 1.0));
  const double skin = filter.Low(noise.Bipolar(), 300.0, 0.8) * AttackDecay(t, 0.002, 0.05);
  return (tone + 0.2 * Sine(std::fmod(1.5 * 87.0 * t, 1.0))) * AttackDecay(t, 0.003, 0.35) + 0.8 * skin;
}

struct Note {
  double midi;
  double start;
  double length;
  double gain;
};

}  // namespace

// Health: two bell strokes a fifth apart over a warm swell.
Stereo MakeHealth() {
  Stereo out = MakeStereo(1.0);
  Mix(out, kLeadIn, 0.85, -0.1, 0.6, [](double t) { return Bell(t, NoteHz(81)); });
  Mix(out, kLeadIn + 0.09, 0.8, 0.1, 0.6, [](double t) { return Bell(t, NoteHz(88)); });
  Mix(out, kLeadIn, 0.7, 0.0, 0.12, [](double t) {
    return Swell(t, 0.7, 0.06, 0.5) * (Sine(std::fmod(NoteHz(69) * t, 1.0)) + 0.4 * Sine(std::fmod(NoteHz(76) * t, 1.0)));
  });
  Reverb(0.6, 0.4).Apply(out, 0.8);
  Finish(out, FinishOptions{.peak = 0.8, .fadeOut = 0.1});
  return out;
}

// Ammunition: a magazine seated and a bolt racked, with a little rattle between.
Stereo MakeAmmo() {
  Stereo out = MakeStereo(0.45);
  Mix(out, kLeadIn, 0.12, -0.1, 0.9, MetalClick({1700, 2900, 4400}, 320, 51));
  for (const double at : {0.05, 0.075, 0.095}) Mix(out, kLeadIn + at, 0.05, 0.0, 0.2, MetalClick({3100, 4700, 6100}, 800, 52));
  Mix(out, kLeadIn + 0.15, 0.2, 0.1, 1.0, MetalClick({2300, 3600, 5200}, 450, 53));
  Mix(out, kLeadIn + 0.185, 0.2, 0.1, 0.7, MetalClick({2100, 3300, 4900}, 380, 54));
  Drive(out, 2.5);
  Reverb(0.25, 0.5).Apply(out, 0.5);
  Finish(out, FinishOptions{.peak = 0.85});
  return out;
}

// Level-up: a quick rising arpeggio that settles on a shimmering major chord.
Stereo MakeLevelUp() {
  Stereo out = MakeStereo(1.25);
  const std::array<double, 4> arpeggio = {72, 76, 79, 84};
  for (std::size_t k = 0; k < arpeggio.size(); ++k) {
    const double start = kLeadIn + 0.075 * static_cast<double>(k);
    const double pan = -0.3 + 0.2 * static_cast<double>(k);
    Mix(out, start, 0.2, pan, 0.5, [voice = PluckVoice(NoteHz(arpeggio[k]))](double t) mutable { return voice(t); });
    Mix(out, start, 0.5, pan, 0.25, [f = NoteHz(arpeggio[k] + 12)](double t) { return Bell(t, f); });
  }
  for (const double midi : {84.0, 88.0, 91.0}) {
    Mix(out, kLeadIn + 0.3, 0.8, 0.0, 0.22, [f = NoteHz(midi)](double t) {
      return Swell(t, 0.8, 0.01, 0.6) * Sine(std::fmod(f * t * (1.0 + 0.004 * std::sin(kTwoPi * 6.0 * t)), 1.0));
    });
  }
  Reverb(0.65, 0.35).Apply(out, 1.0);
  Finish(out, FinishOptions{.peak = 0.8, .fadeOut = 0.15});
  return out;
}

// The pointer touches a menu button: a tiny soft blip.
Stereo MakeMouseOver() {
  Stereo out = MakeStereo(0.13);
  Phase phase;
  Mix(out, kLeadIn, 0.1, 0.0, 1.0, [&](double t) {
    const double frequency = 1500.0 + 250.0 * SmoothStep(t, 0.0, 0.02);
    const double p = phase.Advance(frequency);
    return (Sine(p) + 0.15 * Sine(std::fmod(2.0 * p, 1.0))) * AttackDecay(t, 0.002, 0.018);
  });
  Finish(out, FinishOptions{.peak = 0.5, .fadeOut = 0.01});
  return out;
}

// A menu button pressed: a crisp click over a short falling tone.
Stereo MakeMenuClick() {
  Stereo out = MakeStereo(0.2);
  Noise noise(61);
  Svf clickFilter;
  Phase tone, body;
  Mix(out, kLeadIn, 0.17, 0.0, 1.0, [&](double t) {
    const double click = clickFilter.High(noise.Bipolar(), 3000.0) * AttackDecay(t, 0.0003, 0.002);
    const double pitch = Sine(tone.Advance(620.0 + 300.0 * Decay(t, 0.015))) * AttackDecay(t, 0.001, 0.035);
    const double thump = Sine(body.Advance(180.0)) * AttackDecay(t, 0.001, 0.025);
    return 0.7 * click + 0.8 * pitch + 0.5 * thump;
  });
  Reverb(0.2, 0.5).Apply(out, 0.3);
  Finish(out, FinishOptions{.peak = 0.75});
  return out;
}

// The camera: the mirror flips up, the shutter snaps shut, and the motor winds on.
Stereo MakePhoto() {
  Stereo out = MakeStereo(0.65);
  Mix(out, kLeadIn, 0.1, 0.0, 1.0, MetalClick({1800, 3100, 4600}, 420, 71));
  Mix(out, kLeadIn + 0.085, 0.1, 0.0, 0.9, MetalClick({2600, 3900, 5800}, 600, 72));
  Noise noise(73);
  Phase motor;
  Svf gearFilter, motorFilter;
  Mix(out, kLeadIn + 0.18, 0.42, 0.0, 0.25, [&](double t) {
    const double frequency = 95.0 + 30.0 * SmoothStep(t, 0.0, 0.1);
    const double buzz = motorFilter.Low(Saw(motor.Advance(frequency), frequency / kSampleRate), 900.0, 0.8);
    const double gears = gearFilter.Band(noise.Bipolar(), 1900.0 + 200.0 * SmoothStep(t, 0.0, 0.1), 4.0);
    return Swell(t, 0.42, 0.04, 0.08) * (0.7 * buzz + 0.8 * gears);
  });
  Mix(out, kLeadIn + 0.6, 0.04, 0.0, 0.35, MetalClick({2200, 3500, 5000}, 500, 74));
  Reverb(0.25, 0.5).Apply(out, 0.4);
  Finish(out, FinishOptions{.peak = 0.8, .fadeOut = 0.01});
  return out;
}

// A drug picked up: a rubbery bloop, a stream of bubbles and a trembling chord.
Stereo MakeAcidPickUp() {
  Stereo out = MakeStereo(0.95);
  Phase carrier, modulator;
  Mix(out, kLeadIn, 0.35, 0.0, 0.9, [&](double t) {
    const double frequency = 250.0 * (1.0 + 3.0 * SmoothStep(t, 0.0, 0.12));
    const double fm = Sine(modulator.Advance(2.5 * frequency)) * 1.5 * Decay(t, 0.1);
    return Sine(carrier.Advance(frequency * (1.0 + 0.3 * fm))) * AttackDecay(t, 0.005, 0.12);
  });
  Noise noise(81);
  for (int k = 0; k < 8; ++k) {
    const double start = kLeadIn + 0.1 + 0.06 * k + 0.03 * noise.Uniform();
    const double base = noise.Range(500.0, 1400.0);
    Mix(out, start, 0.05, noise.Range(-0.6, 0.6), 0.35, [base, phase = Phase()](double t) mutable {
      return Sine(phase.Advance(base * (1.0 + 30.0 * t))) * Swell(t, 0.045, 0.005, 0.03);
    });
  }
  for (const double midi : {76.0, 80.0, 83.0}) {
    Mix(out, kLeadIn + 0.05, 0.75, 0.0, 0.1, [f = NoteHz(midi)](double t) {
      return Triangle(std::fmod(f * t, 1.0)) * Swell(t, 0.75, 0.1, 0.45) * (0.6 + 0.4 * std::sin(kTwoPi * 9.0 * t));
    });
  }
  Reverb(0.6, 0.4).Apply(out, 0.8);
  Finish(out, FinishOptions{.peak = 0.8, .fadeOut = 0.1});
  return out;
}

// A bad trip: a tritone sliding down two octaves, ring-modulated and wobbling more and more.
Stereo MakeAcidBad1() {
  constexpr double kSeconds = 1.45;
  Stereo out = MakeStereo(1.7);
  Phase low, high;
  Svf filter;
  Mix(out, kLeadIn, kSeconds, 0.0, 1.0, [&](double t) {
    const double wobble = 1.0 + 0.06 * SmoothStep(t, 0.1, 1.0) * std::sin(kTwoPi * 6.5 * t);
    const double frequency = 440.0 * std::pow(2.0, -2.0 * SmoothStep(t, 0.05, 1.3)) * wobble;
    const double increment = frequency / kSampleRate;
    const double chord = Saw(low.Advance(frequency), increment) + Saw(high.Advance(frequency * std::numbers::sqrt2), increment);
    const double ring = 0.4 + 0.6 * std::sin(kTwoPi * 37.0 * t);
    const double dark = filter.Low(chord * ring, 3000.0 * std::pow(2.0, -3.0 * SmoothStep(t, 0.0, 1.3)), 2.0);
    return dark * Swell(t, kSeconds, 0.04, 0.35);
  });
  Echo(out, 0.17, 0.21, 0.35, 1500.0);
  Reverb(0.7, 0.6).Apply(out, 0.8);
  Finish(out, FinishOptions{.peak = 0.8, .fadeOut = 0.1});
  return out;
}

// Another bad trip: a queasy, clashing drone under a lazy wah, ending in a dizzy fall.
Stereo MakeAcidBad2() {
  constexpr double kSeconds = 1.85;
  Stereo out = MakeStereo(2.0);
  Phase first, second, wahLfo, wobbleLfo;
  Svf wah, hiss;
  Noise noise(91);
  Mix(out, kLeadIn, kSeconds, 0.0, 1.0, [&](double t) {
    const double wobble = 1.0 + 0.06 * Sine(wobbleLfo.Advance(2.8 - 1.3 * SmoothStep(t, 0.0, kSeconds)));
    const double frequency = 82.0 * wobble;
    const double increment = frequency / kSampleRate;
    const double drone = Saw(first.Advance(frequency), increment) + Saw(second.Advance(frequency * 1.06), increment);
    const double sweep = 300.0 + 900.0 * (0.5 + 0.5 * Sine(wahLfo.Advance(2.5 - SmoothStep(t, 0.0, kSeconds))));
    const double wahed = wah.Band(drone, sweep, 4.0);
    const double air = hiss.Band(noise.Bipolar(), 1200.0, 1.0) * 0.15 * SmoothStep(t, 0.3, 1.2) * (1.0 - SmoothStep(t, 1.2, 1.3));
    return Swell(t, kSeconds, 0.15, 0.3) * (wahed + air);
  });
  Phase fall;
  Mix(out, kLeadIn + 1.2, 0.6, 0.0, 0.35, [&](double t) {
    return Sine(fall.Advance(150.0 + 750.0 * (1.0 - SmoothStep(t, 0.0, 0.6)))) * Swell(t, 0.6, 0.05, 0.25);
  });
  Reverb(0.7, 0.5).Apply(out, 0.8);
  Finish(out, FinishOptions{.peak = 0.8, .fadeOut = 0.1});
  return out;
}

// A good trip: a sparkling arpeggio climbing a major-ninth chord over a warm pad, bouncing between the ears.
Stereo MakeAcidGood1() {
  Stereo out = MakeStereo(1.75);
  const std::array<double, 6> notes = {72, 76, 79, 83, 86, 91};
  for (std::size_t k = 0; k < notes.size(); ++k) {
    const double pan = k % 2 == 0 ? -0.5 : 0.5;
    Mix(out, kLeadIn + 0.065 * static_cast<double>(k), 1.2, pan, 0.35, [f = NoteHz(notes[k])](double t) {
      const double chorus = Sine(std::fmod(f * 1.0017 * t, 1.0)) + Sine(std::fmod(f * 0.9983 * t, 1.0));
      return Bell(t, f) + 0.25 * chorus * AttackDecay(t, 0.01, 0.4);
    });
  }
  for (const double midi : {48.0, 55.0, 64.0}) {
    Mix(out, kLeadIn, 1.45, 0.0, 0.25, PadVoice(NoteHz(midi), 1.45, 0.3, 0.8, 3.0));
  }
  Reverb(0.85, 0.3).Apply(out, 1.2);
  Finish(out, FinishOptions{.peak = 0.8, .fadeOut = 0.1});
  return out;
}

// Another good trip: a rising rush of air and a gliding chord, then sparkles.
Stereo MakeAcidGood2() {
  constexpr double kSeconds = 1.8;
  Stereo out = MakeStereo(2.0);
  Noise noise(101);
  Svf rushFilter, padFilter;
  Phase root, fifth;
  Mix(out, kLeadIn, kSeconds, 0.0, 1.0, [&](double t) {
    const double rise = SmoothStep(t, 0.0, 1.2);
    const double rush = rushFilter.Band(noise.Bipolar(), 300.0 * std::pow(2.0, 4.0 * rise), 1.5) * Swell(t, 1.4, 0.6, 0.4);
    const double frequency = 220.0 * std::pow(2.0, rise);
    const double increment = frequency / kSampleRate;
    const double chord = Saw(root.Advance(frequency), increment) + Saw(fifth.Advance(1.5 * frequency), increment);
    const double pad = padFilter.Low(chord, 400.0 + 2500.0 * rise, 1.2) * Swell(t, kSeconds, 0.25, 0.5);
    return 0.6 * rush + 0.35 * pad;
  });
  for (int k = 0; k < 10; ++k) {
    const double start = kLeadIn + noise.Range(0.6, 1.5);
    Mix(out, start, 0.4, noise.Range(-0.7, 0.7), 0.12, [f = noise.Range(2000.0, 4500.0)](double t) { return Bell(t, f); });
  }
  Reverb(0.8, 0.3).Apply(out, 1.0);
  Finish(out, FinishOptions{.peak = 0.8, .fadeOut = 0.1});
  return out;
}

// The jingles: a full fanfare for the best three places, a bright tune for places four to six, a short
// "ta-da" for the rest.
Stereo MakeHighScore(int which) {
  Stereo out;
  std::vector<Note> melody;
  if (which <= 1) {
    out = MakeStereo(2.6);
    melody = {{67, 0.0, 0.12, 1.7},  {72, 0.13, 0.12, 1.7}, {76, 0.26, 0.12, 1.7}, {79, 0.39, 0.3, 1.5},
              {76, 0.72, 0.12, 1.6}, {79, 0.85, 1.25, 1.0}, {72, 0.85, 1.25, 0.6}, {76, 0.85, 1.25, 0.55},
              {48, 0.85, 1.25, 0.7}};
    for (const Note& note : melody) {
      Mix(out, kLeadIn + note.start, note.length, 0.0, 0.5 * note.gain, BrassVoice(NoteHz(note.midi), note.length));
    }
    Noise noise(111);
    for (const double at : {0.39, 0.85}) {
      Svf skin;
      Mix(out, kLeadIn + at, 1.0, 0.0, 0.45, [&](double t) { return Timpani(t, noise, skin); });
    }
    Svf cymbal;
    Mix(out, kLeadIn + 0.85, 1.4, 0.2, 0.035, [&](double t) {
      return cymbal.Band(noise.Bipolar(), 7000.0, 0.8) * AttackDecay(t, 0.002, 0.45);
    });
  } else if (which == 2) {
    out = MakeStereo(1.8);
    melody = {{72, 0.0, 0.3, 1.0}, {76, 0.1, 0.3, 1.0}, {79, 0.2, 0.3, 1.0}, {84, 0.32, 1.0, 1.2}};
    for (const Note& note : melody) {
      Mix(out, kLeadIn + note.start, note.length, 0.0, 0.45 * note.gain, PluckVoice(NoteHz(note.midi)));
      Mix(out, kLeadIn + note.start, 1.0, 0.0, 0.3 * note.gain, [f = NoteHz(note.midi + 12)](double t) { return Bell(t, f); });
    }
    for (const double midi : {60.0, 64.0, 67.0}) {
      Mix(out, kLeadIn + 0.32, 1.1, 0.0, 0.25, PadVoice(NoteHz(midi), 1.1, 0.05, 0.7, 4.0));
    }
  } else {
    out = MakeStereo(1.35);
    melody = {{67, 0.0, 0.11, 1.0}, {72, 0.13, 0.7, 1.0}};
    for (const Note& note : melody) {
      Mix(out, kLeadIn + note.start, note.length, 0.0, 0.45, BrassVoice(NoteHz(note.midi), note.length));
      Mix(out, kLeadIn + note.start, 0.9, 0.0, 0.2, [f = NoteHz(note.midi + 12)](double t) { return Bell(t, f); });
    }
  }
  Reverb(0.65, 0.4).Apply(out, 0.9);
  Finish(out, FinishOptions{.peak = 0.85, .fadeOut = 0.15});
  return out;
}

}  // namespace assetgen
