// kesmir-assetgen <game folder>: writes the complete, deterministic set of pictures, sounds and data files.
#include <cstdio>
#include <filesystem>

#include "assetgen.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: kesmir-assetgen <game folder>\n");
    return 2;
  }
  const std::filesystem::path gameDir = argv[1];
  bool ok = assetgen::WritePictures(gameDir);
  ok = assetgen::WriteSounds(gameDir) && ok;
  ok = assetgen::WriteTextData(gameDir) && ok;
  return ok ? 0 : 1;
}
