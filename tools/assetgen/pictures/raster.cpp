// Pixel pictures, Cairo canvases and the helpers that turn drawings into opaque or masked cells.
#include "raster.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace assetgen {
namespace {

std::uint8_t Channel(double v) {
  return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

// A fixed per-pixel threshold in [0, 1) for dithering coverage: hashed, so that thin smoke and
// stains break up into grain instead of a regular grid.
double DitherThreshold(int x, int y) {
  std::uint32_t h = static_cast<std::uint32_t>(x) * 0x9E3779B1u ^ static_cast<std::uint32_t>(y) * 0x85EBCA77u;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 12;
  h *= 0x297A2D39u;
  h ^= h >> 15;
  return (h >> 8) / 16777216.0;
}

const Rgb* FindInk(std::initializer_list<Ink> inks, char key) {
  for (const Ink& ink : inks) {
    if (ink.key == key) return &ink.colour;
  }
  return nullptr;
}

}  // namespace

Rgb Mix(Rgb a, Rgb b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  return {Channel(a.r + (b.r - a.r) * t), Channel(a.g + (b.g - a.g) * t),
          Channel(a.b + (b.b - a.b) * t)};
}

Rgb Shade(Rgb c, double f) { return {Channel(c.r * f), Channel(c.g * f), Channel(c.b * f)}; }

Image::Image(int width, int height)
    : width_(width), height_(height), bytes_(static_cast<std::size_t>(width) * height * 3, 0) {}

Rgb Image::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return {};
  const std::size_t i = (static_cast<std::size_t>(y) * width_ + x) * 3;
  return {bytes_[i], bytes_[i + 1], bytes_[i + 2]};
}

void Image::Set(int x, int y, Rgb c) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  const std::size_t i = (static_cast<std::size_t>(y) * width_ + x) * 3;
  bytes_[i] = c.r;
  bytes_[i + 1] = c.g;
  bytes_[i + 2] = c.b;
}

void Image::Fill(Rgb c) {
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) Set(x, y, c);
  }
}

Canvas::Canvas(int width, int height)
    : width_(width),
      height_(height),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
      cr_(cairo_create(surface_)) {}

Canvas::~Canvas() {
  cairo_destroy(cr_);
  cairo_surface_destroy(surface_);
}

const std::uint8_t* Canvas::PixelBytes(int x, int y) const {
  cairo_surface_flush(surface_);
  const std::uint8_t* data = cairo_image_surface_get_data(surface_);
  const int stride = cairo_image_surface_get_stride(surface_);
  return data + static_cast<std::ptrdiff_t>(y) * stride + static_cast<std::ptrdiff_t>(x) * 4;
}

double Canvas::Alpha(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0.0;
  std::uint32_t argb = 0;
  std::memcpy(&argb, PixelBytes(x, y), 4);
  return static_cast<double>(argb >> 24) / 255.0;
}

Rgb Canvas::Colour(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return {};
  std::uint32_t argb = 0;
  std::memcpy(&argb, PixelBytes(x, y), 4);
  const double a = static_cast<double>(argb >> 24);
  if (a <= 0.0) return {};
  const double k = 255.0 / a;
  return {Channel(((argb >> 16) & 0xFF) * k), Channel(((argb >> 8) & 0xFF) * k),
          Channel((argb & 0xFF) * k)};
}

void Canvas::SetPixel(int x, int y, Rgb c, double alpha) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  cairo_surface_flush(surface_);
  const double a = std::clamp(alpha, 0.0, 1.0);
  const std::uint32_t argb = static_cast<std::uint32_t>(Channel(a * 255.0)) << 24 |
                             static_cast<std::uint32_t>(Channel(c.r * a)) << 16 |
                             static_cast<std::uint32_t>(Channel(c.g * a)) << 8 |
                             static_cast<std::uint32_t>(Channel(c.b * a));
  std::uint8_t* data = cairo_image_surface_get_data(surface_);
  const int stride = cairo_image_surface_get_stride(surface_);
  std::memcpy(data + static_cast<std::ptrdiff_t>(y) * stride + static_cast<std::ptrdiff_t>(x) * 4,
              &argb, 4);
  cairo_surface_mark_dirty(surface_);
}

Image Canvas::Flatten() const {
  Image out(width_, height_);
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      std::uint32_t argb = 0;
      std::memcpy(&argb, PixelBytes(x, y), 4);
      // Premultiplied colour is the colour over black.
      out.Set(x, y,
              {static_cast<std::uint8_t>((argb >> 16) & 0xFF),
               static_cast<std::uint8_t>((argb >> 8) & 0xFF),
               static_cast<std::uint8_t>(argb & 0xFF)});
    }
  }
  return out;
}

void PutMasked(Image& sheet, const Canvas& sprite, std::pair<int, int> imageAt,
               std::pair<int, int> maskAt, Edge edge) {
  for (int y = 0; y < sprite.Height(); ++y) {
    for (int x = 0; x < sprite.Width(); ++x) {
      const double a = sprite.Alpha(x, y);
      const bool inside = edge == Edge::kHard ? a >= 0.5 : a > 0.005 + 0.99 * DitherThreshold(x, y);
      sheet.Set(imageAt.first + x, imageAt.second + y, inside ? sprite.Colour(x, y) : Rgb{});
      sheet.Set(maskAt.first + x, maskAt.second + y, inside ? Rgb{} : Rgb{255, 255, 255});
    }
  }
}

void PaintPixels(Canvas& canvas, int x, int y, std::initializer_list<std::string_view> rows,
                 std::initializer_list<Ink> inks) {
  int row = 0;
  for (std::string_view line : rows) {
    for (std::size_t col = 0; col < line.size(); ++col) {
      if (const Rgb* c = FindInk(inks, line[col])) {
        canvas.SetPixel(x + static_cast<int>(col), y + row, *c);
      }
    }
    ++row;
  }
}

void PaintPixels(Image& image, int x, int y, std::initializer_list<std::string_view> rows,
                 std::initializer_list<Ink> inks) {
  int row = 0;
  for (std::string_view line : rows) {
    for (std::size_t col = 0; col < line.size(); ++col) {
      if (const Rgb* c = FindInk(inks, line[col])) image.Set(x + static_cast<int>(col), y + row, *c);
    }
    ++row;
  }
}

void SetColour(cairo_t* cr, Rgb c, double alpha) {
  cairo_set_source_rgba(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0, alpha);
}

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
  r = std::min({r, w / 2.0, h / 2.0});
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -std::numbers::pi / 2.0, 0.0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0.0, std::numbers::pi / 2.0);
  cairo_arc(cr, x + r, y + h - r, r, std::numbers::pi / 2.0, std::numbers::pi);
  cairo_arc(cr, x + r, y + r, r, std::numbers::pi, 3.0 * std::numbers::pi / 2.0);
  cairo_close_path(cr);
}

void SelectFont(cairo_t* cr, double pixelSize, bool bold) {
  cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                         bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, pixelSize);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_set_font_options(cr, options);
  cairo_font_options_destroy(options);
}

void CentredText(cairo_t* cr, const char* text, double cx, double cy) {
  cairo_text_extents_t ext;
  cairo_text_extents(cr, text, &ext);
  cairo_move_to(cr, cx - ext.width / 2.0 - ext.x_bearing, cy - ext.height / 2.0 - ext.y_bearing);
  cairo_show_text(cr, text);
}

}  // namespace assetgen
