// Pixel filters over drawing surfaces: random diffusion, box blur and bilinear enlargement.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "core/numbers.h"
#include "core/random.h"
#include "render/surface.h"

namespace kesmir {

// A snapshot of a W x H rectangle, one 16-bit value per channel (0 red, 1 green, 2 blue), with columns
// 0..W and rows 0..H: the extra column W and row H always hold 0 (black).
struct PixelGrid {
  Long width = -1;  // W; -1 while the grid holds nothing
  Long height = -1;
  std::vector<std::int16_t> values;  // row by row, three channels per pixel

  bool Contains(long long x, long long y) const { return x >= 0 && y >= 0 && x <= width && y <= height; }
  // The channel at (x, y); (x, y) must lie in the grid.
  std::int16_t At(int channel, long long x, long long y) const {
    return values[static_cast<std::size_t>((y * (width + 1) + x) * 3 + channel)];
  }
};

// The largest rectangle side a filter takes; larger requests leave the destination untouched.
inline constexpr Long kMaxFilterSide = 4096;

// Packs channels into a colour; a channel above 255 counts as 255. A negative channel is no colour: the
// filters then leave the destination pixel as it was.
std::optional<Colour> PackRgb(long long red, long long green, long long blue);

// Fills the grid from the W x H rectangle at the source's origin. A pixel outside the source's bitmap is
// the invalid colour -1 and is stored as red -1, green -1, blue 255. False (grid empty) for a side below 0
// or above kMaxFilterSide.
bool ReadPixels(const Surface& source, PixelGrid& grid, Long w, Long h);

// Gives every pixel (x, y), 0 <= x <= W and 0 <= y <= H, the colour of the grid pixel displaced by
// |Rnd x k - 2| right and |Rnd x k - 2| down (each rounded, halves to even): never from the left or above.
// A displacement beyond the grid keeps the colour taken for the pixel before. Draws from `random` as it
// stands; callers re-seed it first. Source and destination may be the same surface.
void Diffuse(Random& random, const Surface& source, Long w, Long h, Surface& destination, Integer k);

// Averages each pixel (x, y), 0 <= x <= W and 0 <= y <= H, over the (2k+1) x (2k+1) square around it,
// counting every sample outside the grid as black. A negative k writes nothing.
void Blur(const Surface& source, Long w, Long h, Surface& destination, Integer k);

// Enlarges the W x H rectangle to W2 x H2 by bilinear interpolation towards the next pixel to the right and
// below (the last column and row blend into the grid's black edge). `rowDone` runs after each source row.
void ScaleUp(const Surface& source, Long w, Long h, Surface& destination, Long w2, Long h2,
             const std::function<void()>& rowDone = {});

// The work of ScaleUp on a grid already read: the W x H rectangle of the grid at (x0, y0) goes to the
// W2 x H2 rectangle of the destination at (x1, y1).
void ScaleUpRect(const PixelGrid& grid, Long x0, Long y0, Long w, Long h, Surface& destination, Long x1, Long y1,
                 Long w2, Long h2, const std::function<void()>& rowDone = {});

}  // namespace kesmir
