// The pixel filters, working on pixel memory with the results of per-pixel reads and writes.
#include "terrain/pixel_filters.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace kesmir {

namespace {

using Channels = std::array<long long, 3>;

Channels Split(Colour c) {
  return {static_cast<long long>(c & 255u), static_cast<long long>((c >> 8) & 255u),
          static_cast<long long>((c >> 16) & 255u)};
}

// Sets a pixel of the destination when the channels make a colour; writes outside the bitmap do nothing.
void Write(Surface& destination, long long x, long long y, const Channels& c) {
  if (x < 0 || y < 0 || x >= destination.Width() || y >= destination.Height()) return;
  if (const auto colour = PackRgb(c[0], c[1], c[2])) destination.Row(static_cast<int>(y))[x] = *colour;
}

// Sums of the grid's channels over rectangles, from prefix sums with a zero border: sum(x, y) covers the
// grid columns below x and rows below y.
class AreaSums {
 public:
  explicit AreaSums(const PixelGrid& grid)
      : stride_(static_cast<std::size_t>(grid.width) + 2),
        sums_(stride_ * (static_cast<std::size_t>(grid.height) + 2) * 3, 0) {
    for (long long y = 0; y <= grid.height; ++y) {
      for (long long x = 0; x <= grid.width; ++x) {
        for (int c = 0; c < 3; ++c) {
          Cell(x + 1, y + 1, c) = grid.At(c, x, y) + Cell(x, y + 1, c) + Cell(x + 1, y, c) - Cell(x, y, c);
        }
      }
    }
  }
  // Sum of channel c over columns [x0, x1) and rows [y0, y1), bounds already clipped to the grid.
  long long Sum(int c, long long x0, long long y0, long long x1, long long y1) const {
    return Cell(x1, y1, c) - Cell(x0, y1, c) - Cell(x1, y0, c) + Cell(x0, y0, c);
  }

 private:
  long long& Cell(long long x, long long y, int c) {
    return sums_[(static_cast<std::size_t>(y) * stride_ + static_cast<std::size_t>(x)) * 3 + static_cast<std::size_t>(c)];
  }
  long long Cell(long long x, long long y, int c) const {
    return sums_[(static_cast<std::size_t>(y) * stride_ + static_cast<std::size_t>(x)) * 3 + static_cast<std::size_t>(c)];
  }
  std::size_t stride_;
  std::vector<long long> sums_;
};

// A corner of a ScaleUp cell: a grid pixel packed into a colour. A pixel outside the grid, or one that makes
// no colour, leaves the corner as it was.
void TakeCorner(const PixelGrid& grid, long long x, long long y, Colour& corner) {
  if (!grid.Contains(x, y)) return;
  if (const auto colour = PackRgb(grid.At(0, x, y), grid.At(1, x, y), grid.At(2, x, y))) corner = *colour;
}

// from + step x (to - from) / steps, in that order of operations so that halves round as they should.
double Lerp(long long from, long long to, long long step, long long steps) {
  return static_cast<double>(from) + static_cast<double>(step * (to - from)) / static_cast<double>(steps);
}

}  // namespace

std::optional<Colour> PackRgb(long long red, long long green, long long blue) {
  if (red < 0 || green < 0 || blue < 0) return std::nullopt;
  return Rgb(static_cast<int>(std::min(red, 255LL)), static_cast<int>(std::min(green, 255LL)),
             static_cast<int>(std::min(blue, 255LL)));
}

bool ReadPixels(const Surface& source, PixelGrid& grid, Long w, Long h) {
  grid = PixelGrid{};
  if (w < 0 || h < 0 || w > kMaxFilterSide || h > kMaxFilterSide) return false;
  grid.width = w;
  grid.height = h;
  grid.values.assign(static_cast<std::size_t>(w + 1) * static_cast<std::size_t>(h + 1) * 3, 0);
  for (Long y = 0; y < h; ++y) {
    std::int16_t* out = grid.values.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(w + 1) * 3;
    const bool rowInside = y < source.Height();
    const Colour* row = rowInside ? source.Row(y) : nullptr;
    for (Long x = 0; x < w; ++x, out += 3) {
      const std::int64_t c = rowInside && x < source.Width() ? static_cast<std::int64_t>(row[x]) : -1;
      // The channels as modulo and shifts give them: the invalid colour -1 reads as -1, -1, 255.
      out[0] = static_cast<std::int16_t>(c % 256);
      out[1] = static_cast<std::int16_t>((c & ~std::int64_t{255}) / 256 % 256);
      out[2] = static_cast<std::int16_t>((c >> 16) & 255);
    }
  }
  return true;
}

void Diffuse(Random& random, const Surface& source, Long w, Long h, Surface& destination, Integer k) {
  PixelGrid grid;
  if (!ReadPixels(source, grid, w, h)) return;
  // The channels carry over from pixel to pixel: a sample beyond the grid repeats the previous colour.
  Channels c{0, 0, 0};
  for (Long y = 0; y <= h; ++y) {
    for (Long x = 0; x <= w; ++x) {
      const float ox = std::fabs(static_cast<float>(random.Rnd()) * static_cast<float>(k) - 2.0f);
      const float oy = std::fabs(static_cast<float>(random.Rnd()) * static_cast<float>(k) - 2.0f);
      const long long sx = CLng(x + static_cast<double>(ox));
      const long long sy = CLng(y + static_cast<double>(oy));
      if (grid.Contains(sx, sy)) c = {grid.At(0, sx, sy), grid.At(1, sx, sy), grid.At(2, sx, sy)};
      Write(destination, x, y, c);
    }
  }
}

void Blur(const Surface& source, Long w, Long h, Surface& destination, Integer k) {
  PixelGrid grid;
  if (!ReadPixels(source, grid, w, h) || k < 0) return;
  const AreaSums sums(grid);
  const long long side = 2LL * k + 1;
  const double samples = static_cast<double>(side * side);  // samples outside the grid count as black
  for (long long y = 0; y <= h; ++y) {
    const long long y0 = std::max(0LL, y - k);
    const long long y1 = std::min<long long>(h, y + k) + 1;
    for (long long x = 0; x <= w; ++x) {
      const long long x0 = std::max(0LL, x - k);
      const long long x1 = std::min<long long>(w, x + k) + 1;
      Channels c{};
      for (int ch = 0; ch < 3; ++ch) c[static_cast<std::size_t>(ch)] = CLng(static_cast<double>(sums.Sum(ch, x0, y0, x1, y1)) / samples);
      Write(destination, x, y, c);
    }
  }
}

void ScaleUp(const Surface& source, Long w, Long h, Surface& destination, Long w2, Long h2,
             const std::function<void()>& rowDone) {
  PixelGrid grid;
  if (!ReadPixels(source, grid, w, h)) return;
  ScaleUpRect(grid, 0, 0, w, h, destination, 0, 0, w2, h2, rowDone);
}

void ScaleUpRect(const PixelGrid& grid, Long x0, Long y0, Long w, Long h, Surface& destination, Long x1, Long y1,
                 Long w2, Long h2, const std::function<void()>& rowDone) {
  if (w <= 0 || h <= 0 || w > kMaxFilterSide || h > kMaxFilterSide) return;
  const double scaleX = static_cast<double>(w2) / w;
  const double scaleY = static_cast<double>(h2) / h;
  Colour a = 0, b = 0, c = 0, d = 0;
  long long top = 0;
  for (long long i = 0; i < h; ++i) {
    const long long bottom = CLng(scaleY * static_cast<double>(i + 1));
    const long long cellHeight = bottom - top;
    // Only the cell rows and columns that land in the destination are worked out.
    const long long rowFrom = std::max(0LL, -(top + y1));
    const long long rowTo = std::min<long long>(cellHeight, destination.Height() - (top + y1));
    long long left = 0;
    for (long long j = 0; j < w; ++j) {
      const long long right = CLng(scaleX * static_cast<double>(j + 1));
      const long long cellWidth = right - left;
      TakeCorner(grid, j + x0, i + y0, a);
      TakeCorner(grid, j + 1 + x0, i + y0, b);
      TakeCorner(grid, j + x0, i + 1 + y0, c);
      TakeCorner(grid, j + 1 + x0, i + 1 + y0, d);
      const Channels ca = Split(a), cb = Split(b), cc = Split(c), cd = Split(d);
      const long long colFrom = std::max(0LL, -(left + x1));
      const long long colTo = std::min<long long>(cellWidth, destination.Width() - (left + x1));
      for (long long k = rowFrom; k < rowTo; ++k) {
        Channels leftEdge{}, rightEdge{};
        for (std::size_t ch = 0; ch < 3; ++ch) {
          leftEdge[ch] = CInt(Lerp(ca[ch], cc[ch], k, cellHeight));
          rightEdge[ch] = CInt(Lerp(cb[ch], cd[ch], k, cellHeight));
        }
        for (long long l = colFrom; l < colTo; ++l) {
          Channels out{};
          for (std::size_t ch = 0; ch < 3; ++ch) {
            out[ch] = std::min<long long>(CInt(std::fabs(Lerp(leftEdge[ch], rightEdge[ch], l, cellWidth))), 255);
          }
          Write(destination, left + l + x1, top + k + y1, out);
        }
      }
      left = right;
    }
    if (rowDone) rowDone();
    top = bottom;
  }
}

}  // namespace kesmir
