// Oscillators, filters, reverb and the finishing steps shared by every synthesized sound.
#include "dsp.h"

#include <algorithm>
#include <array>

namespace assetgen::dsp {
namespace {

// Correction around a discontinuity of a naive waveform (polynomial band-limited step).
double Blep(double t, double dt) {
  if (dt <= 0.0) return 0.0;
  if (t < dt) {
    t /= dt;
    return t + t - t * t - 1.0;
  }
  if (t > 1.0 - dt) {
    t = (t - 1.0) / dt;
    return t * t + t + t + 1.0;
  }
  return 0.0;
}

double ClampFrequency(double frequency) { return std::clamp(frequency, 5.0, 0.45 * kSampleRate); }

// Freeverb's delay lengths for 44.1 kHz, halved for our rate; the right side is spread by a few samples.
constexpr std::array<std::size_t, 8> kCombLengths = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
constexpr std::array<std::size_t, 4> kAllPassLengths = {556, 441, 341, 225};
constexpr std::size_t kStereoSpread = 23;
constexpr double kReverbInputGain = 0.015;
constexpr double kAllPassFeedback = 0.5;

}  // namespace

std::size_t FramesOf(double seconds) {
  if (!(seconds > 0.0)) return 0;
  return static_cast<std::size_t>(std::llround(seconds * kSampleRate));
}

double EventEdge(std::size_t frame, std::size_t count) {
  constexpr auto kRise = static_cast<std::size_t>(0.0005 * kSampleRate);
  constexpr auto kFall = static_cast<std::size_t>(0.005 * kSampleRate);
  const std::size_t fall = std::min(kFall, count / 2);
  double gain = 1.0;
  if (frame < kRise) gain = static_cast<double>(frame) / static_cast<double>(kRise);
  if (frame + fall >= count && fall > 0) {
    const double remaining = static_cast<double>(count - 1 - frame) / static_cast<double>(fall);
    gain *= 0.5 - 0.5 * std::cos(std::numbers::pi * remaining);
  }
  return gain;
}

Stereo MakeStereo(double seconds) {
  const std::size_t frames = FramesOf(seconds);
  return Stereo{Signal(frames, 0.0), Signal(frames, 0.0)};
}

double Noise::Pink() {
  const double white = Bipolar();
  pink_[0] = 0.99886 * pink_[0] + white * 0.0555179;
  pink_[1] = 0.99332 * pink_[1] + white * 0.0750759;
  pink_[2] = 0.96900 * pink_[2] + white * 0.1538520;
  pink_[3] = 0.86650 * pink_[3] + white * 0.3104856;
  pink_[4] = 0.55000 * pink_[4] + white * 0.5329522;
  pink_[5] = -0.7616 * pink_[5] - white * 0.0168980;
  const double pink = pink_[0] + pink_[1] + pink_[2] + pink_[3] + pink_[4] + pink_[5] + pink_[6] + white * 0.5362;
  pink_[6] = white * 0.115926;
  return pink * 0.2;
}

double Noise::Brown() {
  brown_ = (brown_ + 0.02 * Bipolar()) / 1.02;
  return brown_ * 3.5;
}

double Sine(double phase) { return std::sin(kTwoPi * phase); }

double Saw(double phase, double increment) { return 2.0 * phase - 1.0 - Blep(phase, increment); }

double Pulse(double phase, double increment, double width) {
  double value = phase < width ? 1.0 : -1.0;
  value += Blep(phase, increment);
  double shifted = phase + 1.0 - width;
  shifted -= std::floor(shifted);
  value -= Blep(shifted, increment);
  return value;
}

double Triangle(double phase) { return 1.0 - 4.0 * std::fabs(phase - 0.5); }

Svf::Outputs Svf::Process(double input, double frequency, double q) {
  const double g = std::tan(std::numbers::pi * ClampFrequency(frequency) / kSampleRate);
  const double k = 1.0 / std::max(q, 0.05);
  const double a1 = 1.0 / (1.0 + g * (g + k));
  const double a2 = g * a1;
  const double a3 = g * a2;
  const double v3 = input - ic2_;
  const double v1 = a1 * ic1_ + a2 * v3;
  const double v2 = ic2_ + a2 * ic1_ + a3 * v3;
  ic1_ = 2.0 * v1 - ic1_;
  ic2_ = 2.0 * v2 - ic2_;
  return Outputs{v2, k * v1, input - k * v1 - v2};
}

double OnePole::Low(double input, double frequency) {
  const double a = 1.0 - std::exp(-kTwoPi * ClampFrequency(frequency) / kSampleRate);
  state_ += a * (input - state_);
  return state_;
}

double Swell(double t, double length, double rise, double fall) {
  if (t < 0.0 || t > length) return 0.0;
  double gain = 1.0;
  if (rise > 0.0 && t < rise) gain *= 0.5 - 0.5 * std::cos(std::numbers::pi * t / rise);
  if (fall > 0.0 && t > length - fall) gain *= 0.5 - 0.5 * std::cos(std::numbers::pi * (length - t) / fall);
  return gain;
}

double SmoothStep(double t, double from, double to) {
  if (t <= from) return 0.0;
  if (t >= to) return 1.0;
  return 0.5 - 0.5 * std::cos(std::numbers::pi * (t - from) / (to - from));
}

Reverb::Reverb(double roomSize, double damping)
    : feedback_(0.7 + 0.28 * std::clamp(roomSize, 0.0, 1.0)), damping_(0.4 * std::clamp(damping, 0.0, 1.0)) {
  for (const std::size_t length : kCombLengths) {
    combsLeft_.push_back(Comb{Signal(length / 2, 0.0)});
    combsRight_.push_back(Comb{Signal((length + kStereoSpread) / 2, 0.0)});
  }
  for (const std::size_t length : kAllPassLengths) {
    allPassesLeft_.push_back(AllPass{Signal(length / 2, 0.0)});
    allPassesRight_.push_back(AllPass{Signal((length + kStereoSpread) / 2, 0.0)});
  }
}

double Reverb::ProcessSide(double input, std::vector<Comb>& combs, std::vector<AllPass>& allPasses) const {
  double sum = 0.0;
  for (Comb& comb : combs) {
    const double delayed = comb.buffer[comb.index];
    comb.store = delayed * (1.0 - damping_) + comb.store * damping_;
    comb.buffer[comb.index] = input + comb.store * feedback_;
    comb.index = (comb.index + 1) % comb.buffer.size();
    sum += delayed;
  }
  for (AllPass& allPass : allPasses) {
    const double delayed = allPass.buffer[allPass.index];
    allPass.buffer[allPass.index] = sum + delayed * kAllPassFeedback;
    allPass.index = (allPass.index + 1) % allPass.buffer.size();
    sum = delayed - sum;
  }
  return sum;
}

void Reverb::Apply(Stereo& audio, double wet, bool periodic) {
  const std::size_t frames = audio.Frames();
  if (periodic) {
    for (std::size_t i = 0; i < frames; ++i) {
      const double input = (audio.left[i] + audio.right[i]) * kReverbInputGain;
      (void)ProcessSide(input, combsLeft_, allPassesLeft_);
      (void)ProcessSide(input, combsRight_, allPassesRight_);
    }
  }
  Signal wetLeft(frames), wetRight(frames);
  for (std::size_t i = 0; i < frames; ++i) {
    const double input = (audio.left[i] + audio.right[i]) * kReverbInputGain;
    wetLeft[i] = ProcessSide(input, combsLeft_, allPassesLeft_);
    wetRight[i] = ProcessSide(input, combsRight_, allPassesRight_);
  }
  for (std::size_t i = 0; i < frames; ++i) {
    audio.left[i] += wet * wetLeft[i];
    audio.right[i] += wet * wetRight[i];
  }
}

double Peak(const Stereo& audio) {
  double peak = 0.0;
  for (const double value : audio.left) peak = std::max(peak, std::fabs(value));
  for (const double value : audio.right) peak = std::max(peak, std::fabs(value));
  return peak;
}

void Echo(Stereo& audio, double delayLeft, double delayRight, double gain, double lowPassHz) {
  const auto reflect = [&](Signal& channel, double delay) {
    const std::size_t offset = FramesOf(delay);
    if (offset == 0 || offset >= channel.size()) return;
    OnePole filter;
    Signal delayed(channel.size(), 0.0);
    for (std::size_t i = offset; i < channel.size(); ++i) delayed[i] = filter.Low(channel[i - offset], lowPassHz);
    for (std::size_t i = 0; i < channel.size(); ++i) channel[i] += gain * delayed[i];
  };
  reflect(audio.left, delayLeft);
  reflect(audio.right, delayRight);
}

void Drive(Stereo& audio, double drive) {
  const double peak = Peak(audio);
  if (peak <= 0.0) return;
  for (Signal* channel : {&audio.left, &audio.right}) {
    for (double& value : *channel) value = std::tanh(drive * value / peak);
  }
}

void Finish(Stereo& audio, const FinishOptions& options) {
  for (Signal* channel : {&audio.left, &audio.right}) {
    if (options.loop) {
      // Periodic processing keeps the loop seamless; the mean goes first so the filter settles on little.
      double mean = 0.0;
      for (const double value : *channel) mean += value;
      mean /= static_cast<double>(std::max<std::size_t>(channel->size(), 1));
      for (double& value : *channel) value -= mean;
      Svf highPass;
      FilterPeriodic(*channel, [&](double value, std::size_t) { return highPass.High(value, options.highPassHz); });
    } else {
      Svf highPass;
      for (double& value : *channel) value = highPass.High(value, options.highPassHz);
      const std::size_t fade = std::min(FramesOf(options.fadeOut), channel->size());
      for (std::size_t i = 0; i < fade; ++i) {
        const double remaining = static_cast<double>(i) / static_cast<double>(std::max<std::size_t>(fade, 1));
        (*channel)[channel->size() - 1 - i] *= 0.5 - 0.5 * std::cos(std::numbers::pi * remaining);
      }
    }
  }
  const double peak = Peak(audio);
  if (peak <= 0.0) return;
  const double scale = options.peak / peak;
  for (double& value : audio.left) value *= scale;
  for (double& value : audio.right) value *= scale;
}

}  // namespace assetgen::dsp
