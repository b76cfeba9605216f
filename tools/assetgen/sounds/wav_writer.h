// Writes 16-bit stereo PCM WAV files at the game's sample rate.
#pragma once

#include <cstdint>
#include <vector>

#include "dsp.h"

namespace assetgen {

// The complete file image: a 44-byte RIFF header ("fmt " PCM, 2 channels, 22050 Hz, 16 bits) and the samples,
// interleaved left/right, rounded and limited to the 16-bit range.
std::vector<std::uint8_t> EncodeWav(const dsp::Stereo& audio);

}  // namespace assetgen
