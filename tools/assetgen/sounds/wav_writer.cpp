// RIFF/WAVE encoding of the synthesized sounds.
#include "wav_writer.h"

#include <algorithm>
#include <cmath>

namespace assetgen {
namespace {

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kChannels = 2;
constexpr std::uint32_t kSampleRate = 22050;
constexpr std::uint16_t kBitsPerSample = 16;
constexpr std::uint16_t kBlockAlign = kChannels * kBitsPerSample / 8;
constexpr std::uint32_t kHeaderBytes = 44;

void PutTag(std::vector<std::uint8_t>& out, const char (&tag)[5]) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(tag[i]));
}

void Put16(std::vector<std::uint8_t>& out, std::uint16_t value) {
  out.push_back(static_cast<std::uint8_t>(value & 0xFF));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>((value >> shift) & 0xFF));
}

std::int16_t ToPcm(double value) {
  const double scaled = std::nearbyint(value * 32767.0);
  return static_cast<std::int16_t>(std::clamp(scaled, -32767.0, 32767.0));
}

}  // namespace

std::vector<std::uint8_t> EncodeWav(const dsp::Stereo& audio) {
  const std::size_t frames = std::min(audio.left.size(), audio.right.size());
  const auto dataBytes = static_cast<std::uint32_t>(frames * kBlockAlign);
  std::vector<std::uint8_t> out;
  out.reserve(kHeaderBytes + dataBytes);
  PutTag(out, "RIFF");
  Put32(out, kHeaderBytes - 8 + dataBytes);
  PutTag(out, "WAVE");
  PutTag(out, "fmt ");
  Put32(out, 16);
  Put16(out, kFormatPcm);
  Put16(out, kChannels);
  Put32(out, kSampleRate);
  Put32(out, kSampleRate * kBlockAlign);
  Put16(out, kBlockAlign);
  Put16(out, kBitsPerSample);
  PutTag(out, "data");
  Put32(out, dataBytes);
  for (std::size_t i = 0; i < frames; ++i) {
    Put16(out, static_cast<std::uint16_t>(ToPcm(audio.left[i])));
    Put16(out, static_cast<std::uint16_t>(ToPcm(audio.right[i])));
  }
  return out;
}

}  // namespace assetgen
