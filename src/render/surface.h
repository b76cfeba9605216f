// In-memory 24-bit drawing surfaces and the raster operations the game draws with.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/ports.h"

namespace kesmir {

// A colour as GDI holds it: 0x00BBGGRR.
using Colour = std::uint32_t;

constexpr Colour Rgb(int r, int g, int b) {
  return static_cast<Colour>((r & 255) | ((g & 255) << 8) | ((b & 255) << 16));
}

// A drawing surface with the drawing state of a device context: text colour, font, pen.
// An empty surface (0x0) is a picture that failed to load: drawing from or onto it does nothing.
class Surface {
 public:
  Surface() = default;
  Surface(int width, int height, Colour fill = 0);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }
  Colour* Row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_); }
  const Colour* Row(int y) const {
    return pixels_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
  }
  PixelView View() const { return {pixels_.data(), width_, height_}; }
  void Fill(Colour colour);
  // Replaces the contents with a picture, keeping this surface's size and drawing state; the picture is
  // placed at (0, 0) on the background colour and clipped.
  void SetPicture(const Surface& picture);
  // Replaces size and contents with the image's.
  void Assign(const Image& image);
  void Reset() { *this = Surface(); }

  // Drawing state.
  Colour foreColour = 0;
  int fontSize = 8;
  bool fontBold = false;
  bool fontFixedWidth = false;
  Point penPosition;
  Colour penColour = 0;
  Colour backColour = 0;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<Colour> pixels_;
};

enum class RasterOp { SrcCopy, SrcAnd, SrcPaint };

// Block transfer of a w x h rectangle from src (sx, sy) to dst (x, y). Pixels whose source or destination
// lies outside its surface are skipped.
void BitBlt(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy, RasterOp op);

// Draws a masked sprite: the mask cell with AND, then the image cell with OR, onto the same rectangle.
void DrawMasked(Surface& dst, int x, int y, int w, int h, const Surface& src, int imageX, int imageY, int maskX,
                int maskY);

// The colour at (x, y), or -1 outside the surface.
std::int64_t GetPixel(const Surface& surface, int x, int y);
// Sets one pixel; false outside the surface. Inline: the effects set tens of thousands a frame.
inline bool SetPixel(Surface& surface, int x, int y, Colour colour) {
  if (x < 0 || y < 0 || x >= surface.Width() || y >= surface.Height()) return false;
  surface.Row(y)[x] = colour & 0x00FFFFFFu;
  return true;
}

// Draws a line with the surface's pen from the pen position to (x, y), excluding the end point, and moves
// the pen there.
void LineTo(Surface& surface, int x, int y);
void MoveTo(Surface& surface, int x, int y);

// Constant-alpha blend (source over destination) of a source rectangle onto a destination rectangle,
// stretched when the sizes differ.
void AlphaBlend(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy, int sw, int sh,
                int alpha);

// The game's one blend: source alpha 188 of 255.
inline constexpr int kBlendAlpha = 188;
void BlendPicture(const Surface& src, int x, int y, int w, int h, Surface& dst, int sx, int sy, int sw, int sh);

// Draws text with its cell's top-left at (x, y) in the surface's text colour, font size and weight, on a
// transparent background.
void TextOutA(Surface& surface, IFonts& fonts, int x, int y, const std::string& text);

}  // namespace kesmir
