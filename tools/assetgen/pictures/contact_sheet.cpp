// kesmir-contact-sheet <Pictures folder> <out.png>: every picture enlarged on grey, with its name.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "jpeg_io.h"
#include "pictures.h"
#include "raster.h"

namespace {

using assetgen::Image;

constexpr int kSheetWidth = 1640;
constexpr int kMargin = 16;
constexpr int kLabelHeight = 18;

struct Tile {
  std::string label;
  Image picture;
  int sourceX;
  int sourceWidth;
  int scale;
};

// Width of one animation or facing cell, so that long strips wrap between whole cells.
int CellWidth(const std::string& file) {
  if (file == "Player.jpg" || file.rfind("AiLVL", 0) == 0) return 21;
  if (file == "Explosion.jpg") return 64;
  return 1;
}

// Small pieces 4x, strips 3x; the big pictures and the long sprite sheets 2x.
int ScaleFor(const Image& picture) {
  if (std::max(picture.Width(), picture.Height()) <= 110) return 4;
  return picture.Height() <= 64 && picture.Width() <= 400 ? 3 : 2;
}

cairo_surface_t* ToSurface(const Image& picture) {
  cairo_surface_t* s =
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, picture.Width(), picture.Height());
  cairo_surface_flush(s);
  unsigned char* data = cairo_image_surface_get_data(s);
  const int stride = cairo_image_surface_get_stride(s);
  for (int y = 0; y < picture.Height(); ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
    for (int x = 0; x < picture.Width(); ++x) {
      const assetgen::Rgb c = picture.At(x, y);
      row[x] = static_cast<std::uint32_t>(c.r) << 16 | static_cast<std::uint32_t>(c.g) << 8 | c.b;
    }
  }
  cairo_surface_mark_dirty(s);
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: kesmir-contact-sheet <Pictures folder> <out.png>\n");
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::vector<Tile> tiles;
  for (const std::string& file : assetgen::PictureFiles()) {
    std::string error;
    auto decoded = assetgen::ReadJpeg(folder / file, error);
    if (!decoded) {
      std::fprintf(stderr, "kesmir-contact-sheet: cannot read %s: %s\n",
                   (folder / file).c_str(), error.c_str());
      return 1;
    }
    const Image& picture = decoded->image;
    const int scale = ScaleFor(picture);
    const int cell = CellWidth(file);
    const int fit = std::max(cell, (kSheetWidth - 2 * kMargin) / scale / cell * cell);
    const std::string size = std::to_string(picture.Width()) + "x" + std::to_string(picture.Height());
    for (int x = 0; x < picture.Width(); x += fit) {
      const std::string label = x == 0 ? file + "  " + size : file + " (cont.)";
      tiles.push_back({label, picture, x, std::min(fit, picture.Width() - x), scale});
    }
  }

  // Shelf layout: tiles left to right, a new shelf when the row is full.
  struct Place {
    int x;
    int y;
  };
  std::vector<Place> places;
  int x = kMargin;
  int y = kMargin;
  int shelf = 0;
  for (const Tile& t : tiles) {
    const int w = std::max(t.sourceWidth * t.scale, 120);
    const int h = t.picture.Height() * t.scale + kLabelHeight;
    if (x + w > kSheetWidth - kMargin && x > kMargin) {
      x = kMargin;
      y += shelf + kMargin;
      shelf = 0;
    }
    places.push_back({x, y});
    x += w + kMargin;
    shelf = std::max(shelf, h);
  }
  const int height = y + shelf + kMargin;

  cairo_surface_t* sheet = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kSheetWidth, height);
  cairo_t* cr = cairo_create(sheet);
  cairo_set_source_rgb(cr, 0.5, 0.5, 0.5);
  cairo_paint(cr);
  assetgen::SelectFont(cr, 12.0, false);
  for (std::size_t i = 0; i < tiles.size(); ++i) {
    const Tile& t = tiles[i];
    cairo_surface_t* src = ToSurface(t.picture);
    cairo_save(cr);
    cairo_rectangle(cr, places[i].x, places[i].y, t.sourceWidth * t.scale,
                    t.picture.Height() * t.scale);
    cairo_clip(cr);
    cairo_translate(cr, places[i].x, places[i].y);
    cairo_scale(cr, t.scale, t.scale);
    cairo_set_source_surface(cr, src, -t.sourceX, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_surface_destroy(src);
    cairo_set_source_rgb(cr, 0.08, 0.08, 0.08);
    cairo_move_to(cr, places[i].x, places[i].y + t.picture.Height() * t.scale + 13);
    cairo_show_text(cr, t.label.c_str());
  }
  cairo_destroy(cr);
  const cairo_status_t status = cairo_surface_write_to_png(sheet, argv[2]);
  cairo_surface_destroy(sheet);
  if (status != CAIRO_STATUS_SUCCESS) {
    std::fprintf(stderr, "kesmir-contact-sheet: cannot write %s: %s\n", argv[2],
                 cairo_status_to_string(status));
    return 1;
  }
  return 0;
}
