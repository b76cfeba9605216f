// Combat sounds: the shot, the miss, hits, melee, the six damage cries, the bomb, the Cleaner, the airplane, the alarm.
#include <algorithm>
#include <array>

#include "recipes.h"

namespace assetgen {
namespace {

using namespace dsp;

// Formant frequencies (Hz) of a vowel, lowest first.
using Vowel = std::array<double, 4>;
constexpr Vowel kVowelAh = {730, 1090, 2440, 3400};
constexpr Vowel kVowelUh = {640, 1190, 2390, 3400};
constexpr Vowel kVowelOh = {570, 840, 2410, 3300};
constexpr Vowel kVowelOo = {300, 870, 2240, 3300};
constexpr Vowel kVowelEh = {530, 1840, 2480, 3500};
constexpr Vowel kVowelAe = {660, 1720, 2410, 3400};
constexpr Vowel kVowelEr = {490, 1350, 1690, 3300};

constexpr std::array<double, 4> kFormantGain = {1.0, 0.55, 0.3, 0.15};
constexpr std::array<double, 4> kFormantQ = {6.0, 9.0, 14.0, 16.0};

struct Cry {
  double seconds;
  double pitchStart, pitchPeak, pitchEnd;  // Hz at 0, 30 % and 100 % of the cry
  Vowel from, to;
  double speaker;   // formant scale: smaller or larger throat
  double growl;     // 0..1 roughness (a subharmonic)
  double breath;    // 0..1 aspiration noise
  double vibrato;   // depth as a fraction of the pitch
  double fricative; // seconds of "f" at the end, 0 for none
  double attack;    // seconds of the onset
  std::uint64_t seed;
};

// A short pained cry: a glottal source through four vowel formants that glide from one vowel to another.
Stereo RenderCry(const Cry& cry) {
  Stereo out = MakeStereo(kLeadIn + cry.seconds + 0.2);
  Noise noise(cry.seed);
  Phase glottis;
  OnePole tilt;
  std::array<Svf, 4> formants;
  Svf fricativeFilter;
  double jitter = 0.0;
  Mix(out, kLeadIn, cry.seconds, 0.0, 1.0, [&](double t) {
    const double u = t / cry.seconds;
    const double pitch = u < 0.3 ? cry.pitchStart + (cry.pitchPeak - cry.pitchStart) * SmoothStep(u, 0.0, 0.3)
                                 : cry.pitchPeak + (cry.pitchEnd - cry.pitchPeak) * SmoothStep(u, 0.3, 1.0);
    jitter = 0.995 * jitter + 0.004 * noise.Bipolar();
    const double frequency = pitch * (1.0 + jitter + cry.vibrato * std::sin(kTwoPi * 5.5 * t) * SmoothStep(u, 0.2, 0.5));
    const double phase = glottis.Advance(frequency);
    const double increment = frequency / kSampleRate;
    double source = tilt.Low(Saw(phase, increment), 1800.0);
    // Roughness: every other period is weaker, which the ear hears as a growl an octave below.
    source *= 1.0 - cry.growl * 0.5 * (1.0 + std::sin(kTwoPi * (0.5 * frequency * t)));
    const double aspiration = noise.Bipolar() * cry.breath;
    const double excitation = source + aspiration;
    const double blend = SmoothStep(u, 0.3, 0.9);
    double voice = 0.0;
    for (std::size_t k = 0; k < formants.size(); ++k) {
      const double formant = cry.speaker * (cry.from[k] + (cry.to[k] - cry.from[k]) * blend);
      voice += kFormantGain[k] * formants[k].Band(excitation, formant, kFormantQ[k]);
    }
    const double envelope = Swell(t, cry.seconds, cry.attack, cry.seconds * 0.5) * (1.0 - 0.35 * u);
    double sample = Saturate(2.2 * voice * envelope, 1.5);
    if (cry.fricative > 0.0) {
      const double start = cry.seconds - cry.fricative;
      sample += 0.25 * fricativeFilter.High(noise.Bipolar(), 2500.0) * Swell(t - start, cry.fricative, 0.03, 0.05);
    }
    return sample;
  });
  Reverb(0.3, 0.5).Apply(out, 0.6);
  Finish(out, FinishOptions{.peak = 0.85});
  return out;
}

}  // namespace

Stereo MakeBulletFire() {
  Stereo out = MakeStereo(0.55);
  Noise noise(11);
  Svf crackFilter, bodyFilter, tailFilter;
  Phase thump;
  Mix(out, kLeadIn, 0.5, 0.0, 1.0, [&](double t) {
    const double white = noise.Bipolar();
    const double crack = crackFilter.High(white, 2500.0) * AttackDecay(t, 0.0004, 0.004);
    const double body = bodyFilter.Low(white, 600.0 + 3400.0 * Decay(t, 0.03), 0.9) * AttackDecay(t, 0.0008, 0.045);
    const double punch = Sine(thump.Advance(45.0 + 110.0 * Decay(t, 0.025))) * AttackDecay(t, 0.001, 0.06);
    const double tail = tailFilter.Low(white, 700.0, 0.7) * Decay(t, 0.16) * SmoothStep(t, 0.0, 0.01);
    return Saturate(0.8 * crack + 1.4 * body + 0.9 * punch + 0.5 * tail, 1.6);
  });
  Echo(out, 0.083, 0.097, 0.25, 1800.0);
  Reverb(0.5, 0.6).Apply(out, 0.9);
  Finish(out, FinishOptions{.peak = 0.9});
  return out;
}

// The shot lands in the snow: a soft puff, and now and then the whine of a ricochet.
Stereo MakeBulletFireMiss() {
  Stereo out = MakeStereo(0.5);
  Noise noise(12);
  Svf puffFilter, thudFilter;
  Phase whine;
  Mix(out, kLeadIn, 0.45, 0.0, 1.0, [&](double t) {
    const double white = noise.Bipolar();
    const double puff = puffFilter.Band(white, 1400.0 - 600.0 * SmoothStep(t, 0.0, 0.05), 1.2) * AttackDecay(t, 0.002, 0.03);
    const double thud = thudFilter.Low(white, 250.0, 1.0) * AttackDecay(t, 0.002, 0.04);
    const double glide = 3300.0 * std::exp(-1.8 * t) + 900.0;
    const double ricochet = Sine(whine.Advance(glide * (1.0 + 0.01 * std::sin(kTwoPi * 31.0 * t)))) *
                            Swell(t - 0.03, 0.2, 0.015, 0.14) * 0.1;
    return puff + 1.3 * thud + ricochet;
  });
  Reverb(0.45, 0.5).Apply(out, 0.7);
  Finish(out, FinishOptions{.peak = 0.8});
  return out;
}

// A wet hit: a dull thump, a squelch sweeping down and a few drops.
Stereo MakeBlood() {
  Stereo out = MakeStereo(0.42);
  Noise noise(13);
  Svf squelchFilter, dropFilter;
  Phase thump;
  Mix(out, kLeadIn, 0.38, 0.0, 1.0, [&](double t) {
    const double white = noise.Bipolar();
    const double punch = Sine(thump.Advance(50.0 + 60.0 * Decay(t, 0.03))) * AttackDecay(t, 0.002, 0.05);
    const double squelch = squelchFilter.Band(white, 350.0 + 1500.0 * Decay(t, 0.04), 4.0) * AttackDecay(t, 0.003, 0.06);
    double drops = 0.0;
    for (const double at : {0.085, 0.14, 0.21, 0.26}) drops += AttackDecay(t - at, 0.001, 0.012);
    const double dropTone = dropFilter.Band(white, 900.0 + 400.0 * std::sin(kTwoPi * 3.0 * t), 6.0) * drops;
    return Saturate(1.1 * punch + 2.2 * squelch + 0.8 * dropTone, 1.4);
  });
  Reverb(0.3, 0.6).Apply(out, 0.5);
  Finish(out, FinishOptions{.peak = 0.85});
  return out;
}

// Melee: a swish of the arm, a heavy punch and a lighter second blow.
Stereo MakeFight() {
  Stereo out = MakeStereo(0.5);
  Noise noise(14);
  Svf swishFilter, slapFilter, bodyFilter;
  Phase thump;
  const auto blow = [](double t, double at) { return AttackDecay(t - at, 0.0015, 0.05); };
  Mix(out, kLeadIn, 0.46, 0.0, 1.0, [&](double t) {
    const double white = noise.Bipolar();
    const double swish = swishFilter.Band(white, 400.0 + 1400.0 * SmoothStep(t, 0.0, 0.08), 2.0) * Swell(t, 0.09, 0.06, 0.02);
    const double hits = blow(t, 0.085) + 0.6 * blow(t, 0.23);
    const double slaps = AttackDecay(t - 0.085, 0.0005, 0.008) + 0.6 * AttackDecay(t - 0.23, 0.0005, 0.008);
    const double sinceBlow = t >= 0.23 ? t - 0.23 : t - 0.085;
    const double punch = Sine(thump.Advance(55.0 + 70.0 * Decay(sinceBlow, 0.02))) * hits;
    const double body = bodyFilter.Low(white, 1100.0, 0.8) * hits;
    const double slap = slapFilter.High(white, 1800.0) * slaps;
    return Saturate(0.35 * swish + 1.0 * punch + 0.9 * body + 0.6 * slap, 1.5);
  });
  Reverb(0.3, 0.5).Apply(out, 0.5);
  Finish(out, FinishOptions{.peak = 0.85});
  return out;
}

Stereo MakeDamage(int which) {
  static constexpr std::array<Cry, 6> kCries = {{
      // "Ugh!" short and low, a hard onset.
      {0.30, 165, 140, 105, kVowelUh, kVowelUh, 1.00, 0.25, 0.15, 0.00, 0.00, 0.006, 21},
      // "Aargh" long and rough, ending in an r.
      {0.58, 190, 178, 118, kVowelAh, kVowelEr, 0.95, 0.45, 0.10, 0.015, 0.00, 0.015, 22},
      // "Oof" winded, closing into an f.
      {0.38, 182, 150, 115, kVowelOh, kVowelOo, 1.05, 0.10, 0.22, 0.00, 0.09, 0.010, 23},
      // "Aah!" high and wavering.
      {0.60, 255, 272, 172, kVowelAe, kVowelAh, 1.12, 0.12, 0.15, 0.035, 0.00, 0.020, 24},
      // "Oh" deep and growled.
      {0.36, 135, 122, 90, kVowelOh, kVowelUh, 0.92, 0.40, 0.10, 0.00, 0.00, 0.010, 25},
      // "Ehh" strained and breathy.
      {0.46, 215, 202, 140, kVowelEh, kVowelUh, 1.08, 0.25, 0.28, 0.02, 0.00, 0.012, 26},
  }};
  const auto index = static_cast<std::size_t>(std::clamp(which, 1, 6) - 1);
  return RenderCry(kCries[index]);
}

// The bomb: a crack, a deep falling boom, a rolling cloud of noise, debris and a long outdoor tail.
Stereo MakeBomb() {
  Stereo out = MakeStereo(2.9);
  Noise noise(31);
  Svf crackFilter, cloudFilter, rumbleFilter, debrisFilter;
  Phase boom;
  Mix(out, kLeadIn, 2.85, 0.0, 1.0, [&](double t) {
    const double white = noise.Bipolar();
    const double crack = crackFilter.High(white, 1500.0) * AttackDecay(t, 0.0005, 0.008);
    const double lowTone = Sine(boom.Advance(28.0 + 45.0 * Decay(t, 0.12))) * AttackDecay(t, 0.004, 0.45);
    const double cloud = cloudFilter.Low(white, 140.0 + 3000.0 * Decay(t, 0.12), 0.8) * AttackDecay(t, 0.003, 0.55);
    const double rumble = rumbleFilter.Low(noise.Brown(), 120.0, 0.9) * AttackDecay(t - 0.05, 0.15, 0.8);
    // Debris: sparse clicks, thinning out over the first second and a half.
    const double density = 0.004 * Decay(t - 0.2, 0.5) * SmoothStep(t, 0.15, 0.25);
    const double debris = noise.Uniform() < density ? noise.Bipolar() : 0.0;
    const double grit = debrisFilter.Band(debris, 2200.0, 1.5);
    return Saturate(0.7 * crack + 1.6 * lowTone + 1.3 * cloud + 0.8 * rumble + 2.0 * grit, 1.3);
  });
  Echo(out, 0.31, 0.37, 0.2, 900.0);
  Reverb(0.8, 0.55).Apply(out, 1.0);
  Finish(out, FinishOptions{.peak = 0.92, .fadeOut = 0.3});
  return out;
}

// The Cleaner: a lumpy diesel idling up, with its rotating brushes swishing over the ground.
Stereo MakeBuger() {
  constexpr double kSeconds = 2.75;
  Stereo out = MakeStereo(2.85);
  Noise noise(41);
  Phase firing;
  Svf exhaustFilter, exhaustBody, knockFilter, brushFilter;
  double cycleGain = 1.0;
  double previousPhase = 0.0;
  Mix(out, kLeadIn, kSeconds, 0.0, 1.0, [&](double t) {
    const double rpm = 22.0 + 8.0 * SmoothStep(t, 0.1, 0.7) + 0.8 * std::sin(kTwoPi * 1.3 * t);
    const double phase = firing.Advance(rpm);
    if (phase < previousPhase) cycleGain = 0.75 + 0.25 * noise.Uniform();  // every firing a little different
    previousPhase = phase;
    const double pulse = Pulse(phase, rpm / kSampleRate, 0.15) * cycleGain;
    const double exhaust = exhaustFilter.Low(pulse, 240.0, 1.1) + 0.6 * exhaustBody.Band(pulse, 95.0, 3.0);
    const double knock = knockFilter.High(noise.Bipolar(), 1800.0) * (phase < 0.08 ? cycleGain : 0.0);
    const double brushes = brushFilter.Band(noise.Bipolar(), 3200.0, 0.7) * (0.55 + 0.45 * std::sin(kTwoPi * 5.0 * t));
    const double whine = 0.05 * Sine(std::fmod(610.0 * t, 1.0));
    const double envelope = Swell(t, kSeconds, 0.35, 0.6);
    return envelope * Saturate(1.0 * exhaust + 0.12 * knock + 0.22 * brushes + whine, 1.4);
  });
  Reverb(0.4, 0.6).Apply(out, 0.4);
  Finish(out, FinishOptions{.peak = 0.82});
  return out;
}

// A propeller plane passing overhead: the blade buzz rises and falls in pitch (Doppler), loudest and brightest
// when it is closest, drifting from one side to the other.
Stereo MakeAirPlane() {
  constexpr double kSeconds = 2.85;
  constexpr double kClosestAt = 1.4;   // seconds
  constexpr double kSpeed = 60.0;      // metres per second
  constexpr double kHeight = 30.0;     // metres at the closest point
  constexpr double kSound = 343.0;
  constexpr double kBladeHz = 88.0;
  Stereo out = MakeStereo(2.95);
  Noise noise(42);
  Phase blades, engine;
  Svf bladeFilter, engineFilter, windFilter;
  const std::size_t first = FramesOf(kLeadIn);
  const std::size_t count = FramesOf(kSeconds);
  for (std::size_t i = 0; i < count && first + i < out.Frames(); ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    const double x = kSpeed * (t - kClosestAt);
    const double distance = std::sqrt(x * x + kHeight * kHeight);
    const double approach = kSpeed * x / distance;
    const double doppler = kSound / (kSound + approach);
    const double loudness = std::pow(kHeight / distance, 1.3);
    const double bladeHz = kBladeHz * doppler;
    const double buzz = Pulse(blades.Advance(bladeHz), bladeHz / kSampleRate, 0.22);
    const double engineHz = 0.5 * bladeHz;
    const double chug = Saw(engine.Advance(engineHz), engineHz / kSampleRate);
    const double brightness = 500.0 + 3500.0 * loudness;  // air swallows the highs of a distant plane
    const double tone = bladeFilter.Low(buzz, brightness, 0.9) + 0.5 * engineFilter.Low(chug, 0.6 * brightness, 0.7);
    const double wind = windFilter.Band(noise.Bipolar(), 700.0 + 1500.0 * loudness, 0.8);
    const double sample = Swell(t, kSeconds, 0.4, 0.5) * loudness * (tone + 0.15 * wind);
    const double pan = 0.5 * x / distance;
    const double angle = (pan + 1.0) * 0.25 * std::numbers::pi;
    out.left[first + i] += sample * std::cos(angle) * std::numbers::sqrt2;
    out.right[first + i] += sample * std::sin(angle) * std::numbers::sqrt2;
  }
  Reverb(0.6, 0.5).Apply(out, 0.5);
  Finish(out, FinishOptions{.peak = 0.85, .fadeOut = 0.1});
  return out;
}

// An air-raid style warning: three rising whoops through a loudspeaker horn, echoing back.
Stereo MakeAlarm() {
  constexpr double kWhoop = 0.78;
  Stereo out = MakeStereo(2.8);
  Phase tone;
  Svf hornFilter, toneFilter;
  Mix(out, kLeadIn, 3 * kWhoop, 0.0, 1.0, [&](double t) {
    const double u = std::fmod(t, kWhoop);
    const double rise = std::min(u / 0.6, 1.0);
    const double frequency = 420.0 * std::pow(2.5, rise) * (1.0 - 0.25 * SmoothStep(u, 0.68, kWhoop));
    const double phase = tone.Advance(frequency);
    // A square wave built from its odd harmonics below 9 kHz, so the sweep never folds back into audible whistles.
    double wave = 0.0;
    for (double harmonic = 1.0; harmonic * frequency < 9000.0; harmonic += 2.0) {
      wave += Sine(std::fmod(harmonic * phase, 1.0)) / harmonic;
    }
    const double horn = hornFilter.Band(wave, 1300.0, 0.8) + 0.5 * toneFilter.Low(wave, 2200.0, 0.7);
    return Swell(u, kWhoop, 0.04, 0.08) * horn;
  });
  Echo(out, 0.23, 0.26, 0.3, 2500.0);
  Reverb(0.6, 0.5).Apply(out, 0.5);
  Finish(out, FinishOptions{.peak = 0.8, .fadeOut = 0.15});
  return out;
}

}  // namespace assetgen
