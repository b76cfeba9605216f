// JPEG files through libjpeg: written at full chroma resolution, read back for checks and sheets.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "raster.h"

namespace assetgen {

// Encodes at the given quality (1..100) with 4:4:4 sampling and the exact integer DCT, so the
// bytes depend only on the picture. Returns false and sets error on failure.
bool WriteJpeg(const std::filesystem::path& path, const Image& image, int quality,
               std::string& error);

struct DecodedJpeg {
  Image image;
  // True when every component is stored at full resolution (no chroma subsampling).
  bool fullChroma = false;
};

// Decodes an RGB or greyscale JPEG file. Returns nothing and sets error on failure.
std::optional<DecodedJpeg> ReadJpeg(const std::filesystem::path& path, std::string& error);

}  // namespace assetgen
