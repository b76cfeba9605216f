// Fingerprints of drawn surfaces and patterned pictures to draw from, so a drawing compares with a stored one.
#pragma once

#include <cstdint>

#include "render/surfaces.h"

namespace kesmir::testing {

// FNV-1 over the size and every pixel, row by row.
inline std::uint64_t PixelHash(const Surface& surface) {
  std::uint64_t hash = 14695981039346656037ull ^ (surface.Width() * 65536ull + surface.Height());
  for (int y = 0; y < surface.Height(); ++y)
    for (int x = 0; x < surface.Width(); ++x) hash = (hash * 1099511628211ull) ^ surface.Row(y)[x];
  return hash * 1099511628211ull;
}

// Neighbouring pixels differ, so a copy from or to the wrong place, or of the wrong size, changes the drawing.
inline Surface Patterned(int width, int height, int seed) {
  Surface picture(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) picture.Row(y)[x] = Rgb((x * 7 + seed) & 255, (y * 13 + seed) & 255, (x ^ y) & 255);
  return picture;
}

// The status bar's background, its six gauge strips and its score box, patterned.
inline void PatternStatusBar(Surfaces& s) {
  s.StatusFieldPicture = Patterned(kStatusWidth, kStatusHeight, 1);
  int seed = 2;
  for (Surface* strip : {&s.StatusHealthDC, &s.StatusAmmoDC, &s.StatusAccuracyDC, &s.StatusRechargeDC,
                         &s.StatusBulletSpeedDC, &s.StatusMeleeDC}) {
    *strip = Patterned(300, 20, seed++);
  }
  s.StatusScoreDC = Patterned(98, 10, seed);
}

}  // namespace kesmir::testing
