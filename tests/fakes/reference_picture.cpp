// Writing, reading and comparing the stored reference pictures.
#include "fakes/reference_picture.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace kesmir::testing {

std::string CompareWithReference(const std::string& name, std::initializer_list<PixelView> pictures) {
  int width = 0;
  int height = 0;
  for (const PixelView& p : pictures) {
    width += p.width;
    height = std::max(height, p.height);
  }
  std::string made = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
  const std::size_t header = made.size();
  made.resize(header + static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
  int left = 0;
  for (const PixelView& p : pictures) {
    for (int i = 0; i < p.width * p.height; ++i) {
      const std::size_t at = header + (static_cast<std::size_t>(i / p.width) * width + left + i % p.width) * 3;
      for (int c = 0; c < 3; ++c) made[at + c] = static_cast<char>((p.pixels[i] >> (8 * c)) & 255);  // 0x00BBGGRR
    }
    left += p.width;
  }
  const std::filesystem::path path = std::filesystem::path(KESMIR_TESTS_DIR) / (name + ".ppm");
  const std::string kept = path.stem().string() + ".actual.ppm";
  if (const char* update = std::getenv("KESMIR_UPDATE_REFERENCES"); update && std::string(update) == "1") {
    std::ofstream(path, std::ios::binary) << made;
    return {};
  }
  std::stringstream stored;
  stored << std::ifstream(path, std::ios::binary).rdbuf();
  if (stored.str() == made) return {};
  std::ofstream(kept, std::ios::binary) << made;
  return "the picture made differs from " + path.string() + "; it is kept as " + kept;
}

}  // namespace kesmir::testing
