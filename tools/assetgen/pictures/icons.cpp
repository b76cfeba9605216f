// The application icon: the player's soldier in the sights on a rounded badge of grass.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "art.h"

namespace assetgen {

bool WriteAppIcon(const std::filesystem::path& path, int size, std::string& error) {
  constexpr double kPi = std::numbers::pi;
  Canvas icon(size, size);
  cairo_t* cr = icon.Cr();
  const double s = size / 64.0;  // drawn on a 64-unit grid
  cairo_scale(cr, s, s);
  RoundedRect(cr, 2, 2, 60, 60, 12);
  cairo_save(cr);
  cairo_clip_preserve(cr);
  // Grass sampled from the first map, darkened towards the edges.
  const int step = std::max(1, 64 / size);
  for (int y = 0; y < 64; y += step) {
    for (int x = 0; x < 64; x += step) {
      const double dx = (x - 32) / 32.0;
      const double dy = (y - 32) / 32.0;
      SetColour(cr, Shade(GroundColour(1, x * 3, y * 3), 0.75 - 0.3 * (dx * dx + dy * dy)));
      cairo_rectangle(cr, x, y, step, step);
      cairo_fill(cr);
    }
  }
  SetColour(cr, {192, 255, 192}, 0.55);
  cairo_set_line_width(cr, 1.6);
  cairo_new_sub_path(cr);
  cairo_arc(cr, 32, 32, 23, 0, 2 * kPi);
  cairo_stroke(cr);
  for (int i = 0; i < 4; ++i) {
    const double a = i * kPi / 2;
    cairo_move_to(cr, 32 + 17 * std::cos(a), 32 + 17 * std::sin(a));
    cairo_line_to(cr, 32 + 30 * std::cos(a), 32 + 30 * std::sin(a));
  }
  cairo_stroke(cr);
  cairo_translate(cr, 32, 33);
  cairo_scale(cr, 2.5, 2.5);
  DrawSoldier(cr, Look::kPlayer, -kPi / 4);
  cairo_restore(cr);
  SetColour(cr, {24, 30, 20});
  cairo_set_line_width(cr, 2.0);
  cairo_stroke(cr);
  cairo_surface_t* surface = cairo_get_target(cr);
  cairo_surface_flush(surface);
  const cairo_status_t status = cairo_surface_write_to_png(surface, path.c_str());
  if (status != CAIRO_STATUS_SUCCESS) {
    error = cairo_status_to_string(status);
    return false;
  }
  return true;
}

}  // namespace assetgen
