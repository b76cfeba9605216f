// Pixel pictures, Cairo canvases and the helpers that turn drawings into opaque or masked cells.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <utility>
#include <vector>

namespace assetgen {

struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Linear mix of two colours, t = 0 gives a, t = 1 gives b (t is clamped).
Rgb Mix(Rgb a, Rgb b, double t);
// Multiplies every channel by f (clamped to 0..255).
Rgb Shade(Rgb c, double f);

// An 8-bit RGB picture, rows top to bottom; new pictures are black.
class Image {
 public:
  Image() = default;
  Image(int width, int height);

  int Width() const { return width_; }
  int Height() const { return height_; }
  Rgb At(int x, int y) const;
  // Writes outside the picture are ignored.
  void Set(int x, int y, Rgb c);
  void Fill(Rgb c);
  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint8_t> bytes_;
};

// A Cairo ARGB32 drawing surface, cleared to transparent.
class Canvas {
 public:
  Canvas(int width, int height);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  cairo_t* Cr() const { return cr_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  // Coverage 0..1 and unpremultiplied colour of a pixel (transparent black outside).
  double Alpha(int x, int y) const;
  Rgb Colour(int x, int y) const;
  // Sets one pixel directly, bypassing Cairo.
  void SetPixel(int x, int y, Rgb c, double alpha = 1.0);
  // The picture composited over black, as a JPEG-ready image.
  Image Flatten() const;

 private:
  const std::uint8_t* PixelBytes(int x, int y) const;
  int width_;
  int height_;
  cairo_surface_t* surface_;
  cairo_t* cr_;
};

// How coverage decides which pixels belong to a masked sprite.
enum class Edge {
  kHard,      // coverage of one half or more
  kDithered,  // coverage dithered into grain, for smoke and soft stains
};

// Copies a drawn sprite into a sheet as an image cell at imageAt and a mask cell at maskAt:
// sprite pixels are black in the mask and keep their colour in the image; every other pixel
// is white in the mask and black in the image, so mask-with-AND then image-with-OR is clean.
void PutMasked(Image& sheet, const Canvas& sprite, std::pair<int, int> imageAt,
               std::pair<int, int> maskAt, Edge edge = Edge::kHard);

// One pixel-art colour: the character that names it and its colour.
struct Ink {
  char key;
  Rgb colour;
};
// Paints rows of characters onto a canvas at (x, y); '.' and unknown characters leave the pixel.
void PaintPixels(Canvas& canvas, int x, int y, std::initializer_list<std::string_view> rows,
                 std::initializer_list<Ink> inks);
// Paints pixel art straight into an opaque image.
void PaintPixels(Image& image, int x, int y, std::initializer_list<std::string_view> rows,
                 std::initializer_list<Ink> inks);

// Cairo conveniences.
void SetColour(cairo_t* cr, Rgb c, double alpha = 1.0);
void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r);
// Selects DejaVu Sans at a pixel size with grey anti-aliasing and no hinting, so text looks
// the same on every machine with the font installed.
void SelectFont(cairo_t* cr, double pixelSize, bool bold);
// Draws text with its ink box centred on (cx, cy).
void CentredText(cairo_t* cr, const char* text, double cx, double cy);

}  // namespace assetgen
