// Raster operations on in-memory surfaces with the clipping and results of GDI block transfers.
#include "render/surface.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace kesmir {

namespace {

// Clips a transfer so that every pixel lies inside both surfaces; false when nothing is left.
bool ClipTransfer(const Surface& dst, int& x, int& y, int& w, int& h, const Surface& src, int& sx, int& sy) {
  if (w <= 0 || h <= 0 || dst.Empty() || src.Empty()) return false;
  auto clipAxis = [](int& d, int& s, int& len, int dstLen, int srcLen) {
    long long dd = d, ss = s, ll = len;
    const long long shift = std::max({0LL, -dd, -ss});
    dd += shift;
    ss += shift;
    ll -= shift;
    ll = std::min({ll, dstLen - dd, srcLen - ss});
    if (ll <= 0) return false;
    d = static_cast<int>(dd);
    s = static_cast<int>(ss);
    len = static_cast<int>(ll);
    return true;
  };
  return clipAxis(x, sx, w, dst.Width(), src.Width()) && clipAxis(y, sy, h, dst.Height(), src.Height());
}

Colour Mix(Colour source, Colour dest, int alpha) {
  Colour out = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const int s = static_cast<int>((source >> shift) & 255);
    const int d = static_cast<int>((dest >> shift) & 255);
    const int v = (s * alpha + d * (255 - alpha) + 127) / 255;
    out |= static_cast<Colour>(v) << shift;
  }
  return out;
}

}  // namespace

Surface::Surface(int width, int height, Colour fill)
    : backColour(fill),
      width_(std::max(0, width)),
      height_(std::max(0, height)),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), fill) {}

void Surface::Fill(Colour colour) { std::fill(pixels_.begin(), pixels_.end(), colour); }

void Surface::SetPicture(const Surface& picture) {
  Fill(backColour);
  BitBlt(*this, 0, 0, width_, height_, picture, 0, 0, RasterOp::SrcCopy);
}

void Surface::Assign(const Image& image) {
  const std::size_t count = static_cast<std::size_t>(std::max(0, image.width)) *
                            static_cast<std::size_t>(std::max(0, image.height));
  if (image.width <= 0 || image.height <= 0 || image.pixels.size() < count) {
    Reset();
    return;
  }
  width_ = image.width;
  height_ = image.height;
  pixels_.assign(image.pixels.begin(), image.pixels.begin() + static_cast<std::ptrdiff_t>(count));
  for (Colour& c : pixels_) c &= 0x00FFFFFFu;
}

void BitBlt(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy, RasterOp op) {
  if (!ClipTransfer(dst, x, y, w, h, src, sx, sy)) return;
  const bool overlapping = &dst == &src && sy < y;
  for (int row = 0; row < h; ++row) {
    const int r = overlapping ? h - 1 - row : row;
    Colour* d = dst.Row(y + r) + x;
    const Colour* s = src.Row(sy + r) + sx;
    switch (op) {
      case RasterOp::SrcCopy: std::memmove(d, s, static_cast<std::size_t>(w) * sizeof(Colour)); break;
      case RasterOp::SrcAnd: for (int i = 0; i < w; ++i) d[i] &= s[i]; break;
      case RasterOp::SrcPaint: for (int i = 0; i < w; ++i) d[i] |= s[i]; break;
    }
  }
}

void DrawMasked(Surface& dst, int x, int y, int w, int h, const Surface& src, int imageX, int imageY, int maskX,
                int maskY) {
  BitBlt(dst, x, y, w, h, src, maskX, maskY, RasterOp::SrcAnd);
  BitBlt(dst, x, y, w, h, src, imageX, imageY, RasterOp::SrcPaint);
}

std::int64_t GetPixel(const Surface& surface, int x, int y) {
  if (x < 0 || y < 0 || x >= surface.Width() || y >= surface.Height()) return -1;
  return surface.Row(y)[x];
}

void MoveTo(Surface& surface, int x, int y) { surface.penPosition = {x, y}; }

void LineTo(Surface& surface, int x, int y) {
  int x0 = surface.penPosition.x;
  int y0 = surface.penPosition.y;
  const int dx = std::abs(x - x0);
  const int dy = -std::abs(y - y0);
  const int stepX = x0 < x ? 1 : -1;
  const int stepY = y0 < y ? 1 : -1;
  int err = dx + dy;
  while (x0 != x || y0 != y) {
    SetPixel(surface, x0, y0, surface.penColour);
    const int e2 = 2 * err;
    if (e2 >= dy) { err += dy; x0 += stepX; }
    if (e2 <= dx) { err += dx; y0 += stepY; }
  }
  surface.penPosition = {x, y};
}

void AlphaBlend(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy, int sw, int sh,
                int alpha) {
  if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0 || dst.Empty() || src.Empty()) return;
  alpha = std::clamp(alpha, 0, 255);
  for (int row = 0; row < h; ++row) {
    const int dy = y + row;
    const int srcY = sy + row * sh / h;
    if (dy < 0 || dy >= dst.Height() || srcY < 0 || srcY >= src.Height()) continue;
    Colour* d = dst.Row(dy);
    const Colour* s = src.Row(srcY);
    for (int col = 0; col < w; ++col) {
      const int dx = x + col;
      const int srcX = sx + col * sw / w;
      if (dx < 0 || dx >= dst.Width() || srcX < 0 || srcX >= src.Width()) continue;
      d[dx] = Mix(s[srcX], d[dx], alpha);
    }
  }
}

void BlendPicture(const Surface& src, int x, int y, int w, int h, Surface& dst, int sx, int sy, int sw, int sh) {
  AlphaBlend(dst, x, y, w, h, src, sx, sy, sw, sh, kBlendAlpha);
}

void TextOutA(Surface& surface, IFonts& fonts, int x, int y, const std::string& text) {
  if (text.empty() || surface.Empty()) return;
  const TextBitmap glyphs = fonts.Render(text, surface.fontSize, surface.fontBold, surface.fontFixedWidth);
  for (int row = 0; row < glyphs.height; ++row) {
    const int dy = y + row;
    if (dy < 0 || dy >= surface.Height()) continue;
    Colour* d = surface.Row(dy);
    const std::uint8_t* c = glyphs.coverage.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(glyphs.width);
    for (int col = 0; col < glyphs.width; ++col) {
      const int dx = x + col;
      if (dx < 0 || dx >= surface.Width() || c[col] == 0) continue;
      d[dx] = Mix(surface.foreColour, d[dx], c[col]);
    }
  }
}

}  // namespace kesmir
