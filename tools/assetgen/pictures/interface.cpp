// Screens and widgets: status bar, title, loading screen, menu panel, menu widgets, help pictures.
#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <string>

#include "art.h"
#include "noise.h"

namespace assetgen {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr Rgb kInk{16, 18, 16};
constexpr Rgb kPlateTop{66, 74, 70};
constexpr Rgb kPlateBottom{36, 42, 40};
constexpr Rgb kLightGreen{192, 255, 192};

void VerticalGradient(cairo_t* cr, double y0, double y1, Rgb top, Rgb bottom) {
  cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
  cairo_pattern_add_color_stop_rgb(p, 0.0, top.r / 255.0, top.g / 255.0, top.b / 255.0);
  cairo_pattern_add_color_stop_rgb(p, 1.0, bottom.r / 255.0, bottom.g / 255.0, bottom.b / 255.0);
  cairo_set_source(cr, p);
  cairo_pattern_destroy(p);
}

// A dark gunmetal plate, the backing of every label on the status bar.
void Plate(cairo_t* cr, double x, double y, double w, double h) {
  cairo_rectangle(cr, x, y, w, h);
  VerticalGradient(cr, y, y + h, kPlateTop, kPlateBottom);
  cairo_fill(cr);
  cairo_rectangle(cr, x, y, w, 1);
  SetColour(cr, {104, 114, 108});
  cairo_fill(cr);
  cairo_rectangle(cr, x + w - 1, y, 1, h);
  SetColour(cr, {20, 24, 22});
  cairo_fill(cr);
}

void Text(cairo_t* cr, const char* text, double x, double baseline, double size, bool bold,
          Rgb colour) {
  SelectFont(cr, size, bold);
  SetColour(cr, colour);
  cairo_move_to(cr, x, baseline);
  cairo_show_text(cr, text);
}

// Small label icons, drawn in a 7x7 box with its top-left corner at (x, y).
enum class Icon { kCross, kBullet, kSight, kRecharge, kSpeed, kBlade, kStar, kNone };

void DrawIcon(cairo_t* cr, Icon icon, double x, double y) {
  cairo_save(cr);
  cairo_translate(cr, x, y);
  switch (icon) {
    case Icon::kCross:
      SetColour(cr, {236, 50, 44});
      cairo_rectangle(cr, 2.5, 0.5, 2, 6);
      cairo_rectangle(cr, 0.5, 2.5, 6, 2);
      cairo_fill(cr);
      break;
    case Icon::kBullet:
      SetColour(cr, {226, 186, 80});
      cairo_rectangle(cr, 0.5, 2.0, 4.0, 3.0);
      cairo_fill(cr);
      cairo_move_to(cr, 4.5, 2.0);
      cairo_line_to(cr, 6.8, 3.5);
      cairo_line_to(cr, 4.5, 5.0);
      SetColour(cr, {220, 140, 90});
      cairo_fill(cr);
      break;
    case Icon::kSight:
      SetColour(cr, {120, 210, 250});
      cairo_set_line_width(cr, 1.0);
      cairo_arc(cr, 3.5, 3.5, 2.6, 0, 2 * kPi);
      cairo_stroke(cr);
      cairo_rectangle(cr, 3, 3, 1, 1);
      cairo_rectangle(cr, 3, 0, 1, 1.2);
      cairo_rectangle(cr, 3, 5.8, 1, 1.2);
      cairo_rectangle(cr, 0, 3, 1.2, 1);
      cairo_rectangle(cr, 5.8, 3, 1.2, 1);
      cairo_fill(cr);
      break;
    case Icon::kRecharge:
      SetColour(cr, {130, 230, 100});
      cairo_set_line_width(cr, 1.2);
      cairo_arc(cr, 3.5, 3.8, 2.5, -kPi * 0.2, kPi * 1.35);
      cairo_stroke(cr);
      cairo_move_to(cr, 4.6, 0.4);
      cairo_line_to(cr, 7.0, 2.6);
      cairo_line_to(cr, 4.0, 3.4);
      cairo_fill(cr);
      break;
    case Icon::kSpeed:
      SetColour(cr, {255, 176, 70});
      cairo_rectangle(cr, 2.5, 2.5, 2.5, 2.0);
      cairo_fill(cr);
      cairo_move_to(cr, 5.0, 2.5);
      cairo_line_to(cr, 7.0, 3.5);
      cairo_line_to(cr, 5.0, 4.5);
      cairo_fill(cr);
      cairo_set_line_width(cr, 0.8);
      cairo_move_to(cr, 0.0, 1.5);
      cairo_line_to(cr, 2.0, 1.5);
      cairo_move_to(cr, 0.0, 5.5);
      cairo_line_to(cr, 2.0, 5.5);
      cairo_stroke(cr);
      break;
    case Icon::kBlade:
      cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
      SetColour(cr, {226, 226, 236});
      cairo_set_line_width(cr, 1.4);
      cairo_move_to(cr, 2.6, 4.4);
      cairo_line_to(cr, 6.4, 0.6);
      cairo_stroke(cr);
      SetColour(cr, {214, 140, 250});
      cairo_set_line_width(cr, 1.6);
      cairo_move_to(cr, 0.8, 6.2);
      cairo_line_to(cr, 2.4, 4.6);
      cairo_stroke(cr);
      cairo_set_line_width(cr, 1.0);
      cairo_move_to(cr, 1.2, 3.6);
      cairo_line_to(cr, 3.4, 5.8);
      cairo_stroke(cr);
      break;
    case Icon::kStar: {
      SetColour(cr, {120, 255, 120});
      for (int i = 0; i < 10; ++i) {
        const double a = -kPi / 2 + i * kPi / 5;
        const double r = i % 2 == 0 ? 3.6 : 1.5;
        cairo_line_to(cr, 3.5 + r * std::cos(a), 3.7 + r * std::sin(a));
      }
      cairo_close_path(cr);
      cairo_fill(cr);
      break;
    }
    case Icon::kNone:
      break;
  }
  cairo_restore(cr);
}

// The label plate at the left end of a status strip: icon and name in the gauge's colour.
void LabelPlate(cairo_t* cr, double y, double w, Icon icon, const char* name, Rgb ink) {
  Plate(cr, 0, y, w, 10);
  DrawIcon(cr, icon, 2, y + 1.5);
  Text(cr, name, 11, y + 8, 7.4, true, ink);
}

// A light gauge track from x0 to x1: the dark blue figures of the status bar are written on it.
void Track(cairo_t* cr, double x0, double x1, double y, double h, Rgb top, Rgb bottom) {
  cairo_rectangle(cr, x0, y, x1 - x0, h);
  VerticalGradient(cr, y, y + h, top, bottom);
  cairo_fill(cr);
  cairo_rectangle(cr, x0, y, x1 - x0, 1);
  SetColour(cr, Shade(bottom, 0.88));
  cairo_fill(cr);
}

// StatusHealth.jpg and StatusAmmo.jpg: 300x20. Row y 0 is the empty gauge, row y 10 the full
// one; the game copies 53 + 245 x fraction pixels of the full row, so the label plate spans
// x 0..52 in both rows and the gauge x 53..298. Ticks mark tenths.
Image DrawFullGauge(Icon icon, const char* name, Rgb ink, Rgb fullTop, Rgb fullBottom) {
  Canvas c(300, 20);
  cairo_t* cr = c.Cr();
  for (int row = 0; row < 2; ++row) {
    const double y = row * 10.0;
    LabelPlate(cr, y, 53, icon, name, ink);
    if (row == 0) {
      Track(cr, 53, 300, y, 10, {214, 218, 210}, {176, 182, 174});
    } else {
      Track(cr, 53, 300, y, 10, fullTop, fullBottom);
      cairo_rectangle(cr, 53, y + 1, 247, 1);
      SetColour(cr, {255, 255, 255}, 0.45);
      cairo_fill(cr);
    }
    SetColour(cr, row == 0 ? Rgb{140, 146, 138} : Shade(fullBottom, 0.85));
    for (int i = 1; i < 10; ++i) {
      cairo_rectangle(cr, std::round(53 + 24.5 * i), y + 7, 1, 3);
    }
    cairo_fill(cr);
    cairo_rectangle(cr, 298, y, 2, 10);  // end cap
    SetColour(cr, {40, 46, 44});
    cairo_fill(cr);
  }
  return c.Flatten();
}

struct Skill {
  const char* name;
  Icon icon;
  Rgb colour;
};

constexpr Skill kSkills[4] = {
    {"ACCURACY", Icon::kSight, {96, 196, 244}},
    {"RECHARGE", Icon::kRecharge, {112, 216, 88}},
    {"BULLET SPEED", Icon::kSpeed, {255, 158, 52}},
    {"MELEE", Icon::kBlade, {196, 118, 246}},
};

// A picture with a dark frame line around its edge, for the opaque help pictures.
void Frame(cairo_t* cr, int w, int h) {
  cairo_rectangle(cr, 0.5, 0.5, w - 1.0, h - 1.0);
  SetColour(cr, {44, 50, 46});
  cairo_set_line_width(cr, 1.0);
  cairo_stroke(cr);
}

void FillGround(Canvas& c, int map, double darken) {
  for (int y = 0; y < c.Height(); ++y) {
    for (int x = 0; x < c.Width(); ++x) {
      c.SetPixel(x, y, Shade(GroundColour(map, x + 40, y + 40), darken));
    }
  }
}

}  // namespace

void DrawTitle(cairo_t* cr, double cx, double cy, double w, double h) {
  // "Kesmir" with a dotless i whose dot is drawn as a small red target.
  const char* head = "Kesm";
  const char* tail = "\xC4\xB1r";
  cairo_save(cr);
  SelectFont(cr, 100.0, true);
  cairo_text_extents_t whole;
  cairo_text_extents(cr, "Kesm\xC4\xB1r", &whole);
  const double scale = std::min(w / whole.width, h / whole.height);
  cairo_translate(cr, cx - (whole.x_bearing + whole.width / 2.0) * scale,
                  cy - (whole.y_bearing + whole.height / 2.0) * scale);
  cairo_scale(cr, scale, scale);
  cairo_text_extents_t headExt;
  cairo_text_extents(cr, head, &headExt);
  cairo_text_extents_t iExt;
  cairo_text_extents(cr, "\xC4\xB1", &iExt);
  cairo_move_to(cr, 0, 0);
  cairo_text_path(cr, head);
  cairo_text_path(cr, tail);
  const double outline = std::clamp(whole.height * scale * 0.05, 1.0, 3.2) / scale;
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  SetColour(cr, {28, 14, 8});
  cairo_set_line_width(cr, 2.0 * outline);
  cairo_stroke_preserve(cr);
  cairo_pattern_t* p = cairo_pattern_create_linear(0, whole.y_bearing, 0, 0);
  cairo_pattern_add_color_stop_rgb(p, 0.0, 1.0, 0.93, 0.55);
  cairo_pattern_add_color_stop_rgb(p, 0.45, 0.98, 0.62, 0.16);
  cairo_pattern_add_color_stop_rgb(p, 1.0, 0.70, 0.16, 0.06);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  // The target over the i.
  const double dotX = headExt.x_advance + iExt.x_bearing + iExt.width / 2.0;
  const double dotY = whole.y_bearing + 8.0;
  cairo_new_sub_path(cr);
  cairo_arc(cr, dotX, dotY, 11.0, 0, 2 * kPi);
  SetColour(cr, {28, 14, 8});
  cairo_fill(cr);
  cairo_new_sub_path(cr);
  cairo_arc(cr, dotX, dotY, 11.0 - outline, 0, 2 * kPi);
  SetColour(cr, {250, 244, 230});
  cairo_fill(cr);
  cairo_new_sub_path(cr);
  cairo_arc(cr, dotX, dotY, 5.5, 0, 2 * kPi);
  SetColour(cr, {220, 30, 24});
  cairo_fill(cr);
  cairo_restore(cr);
}

// StatusBar.jpg: 300x76, the dark panel under the gauges. Only its gaps show in play: the
// groove at y 20..24 and the score line from y 65, where green figures are written.
Image DrawStatusBar() {
  Canvas c(300, 76);
  cairo_t* cr = c.Cr();
  cairo_rectangle(cr, 0, 0, 300, 76);
  VerticalGradient(cr, 0, 76, {46, 52, 50}, {22, 26, 25});
  cairo_fill(cr);
  for (int y = 0; y < 76; ++y) {  // brushed metal
    for (int x = 0; x < 300; ++x) {
      const double n = Fbm(x * 0.02, y * 0.9, 3, 41) - 0.5;
      const Rgb base = c.Colour(x, y);
      c.SetPixel(x, y, Shade(base, 1.0 + 0.22 * n));
    }
  }
  // The groove between the supply gauges and the skills.
  cairo_rectangle(cr, 0, 20, 300, 5);
  SetColour(cr, {14, 16, 16});
  cairo_fill(cr);
  cairo_rectangle(cr, 0, 24, 300, 1);
  SetColour(cr, {80, 88, 84});
  cairo_fill(cr);
  for (double x = 6; x < 300; x += 24) {  // hazard notches in the groove
    cairo_move_to(cr, x, 21);
    cairo_line_to(cr, x + 6, 21);
    cairo_line_to(cr, x + 4, 23);
    cairo_line_to(cr, x - 2, 23);
    cairo_close_path(cr);
  }
  SetColour(cr, {150, 118, 40});
  cairo_fill(cr);
  // Score line: a recessed strip with rivets at its ends.
  cairo_rectangle(cr, 98, 66, 202, 10);
  SetColour(cr, {12, 16, 14});
  cairo_fill(cr);
  cairo_rectangle(cr, 98, 65, 202, 1);
  SetColour(cr, {8, 10, 9});
  cairo_fill(cr);
  for (double x : {146.5, 296.5}) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x, 71, 1.4, 0, 2 * kPi);
    SetColour(cr, {96, 104, 100});
    cairo_fill(cr);
  }
  return c.Flatten();
}

Image DrawHealthGauge() {
  return DrawFullGauge(Icon::kCross, "HEALTH", {255, 150, 140}, {255, 192, 182}, {240, 122, 110});
}

Image DrawAmmoGauge() {
  return DrawFullGauge(Icon::kBullet, "AMMO", {250, 214, 120}, {255, 236, 150}, {224, 160, 40});
}

// StatusAccuracy, StatusRecharge, StatusBulletSpeed, StatusMelee.jpg: 300x20. Row y 0 is the
// 10 high background, rows y 10..16 the level bar (copied 98 + 18.5 x level wide), rows
// y 18..19 the experience line (copied at y + 8 of the row, 98 + 2.02 x points wide). The
// label plate covers x 0..97 in all three, so partial copies keep it whole.
Image DrawSkillGauge(int skill) {
  const Skill& s = kSkills[std::clamp(skill, 0, 3)];
  Canvas c(300, 20);
  cairo_t* cr = c.Cr();
  const Rgb ink = Mix(s.colour, {255, 255, 255}, 0.25);
  // Background row.
  LabelPlate(cr, 0, 98, s.icon, s.name, ink);
  Track(cr, 98, 300, 0, 7, {150, 156, 150}, {120, 126, 120});
  cairo_rectangle(cr, 98, 7, 202, 1);
  SetColour(cr, {26, 30, 28});
  cairo_fill(cr);
  cairo_rectangle(cr, 98, 8, 202, 2);
  SetColour(cr, {52, 58, 56});
  cairo_fill(cr);
  // Level bar row: eleven segments of 18.5 pixels.
  Canvas plate(98, 10);
  LabelPlate(plate.Cr(), 0, 98, s.icon, s.name, ink);
  cairo_set_source_surface(cr, cairo_get_target(plate.Cr()), 0, 10);
  cairo_rectangle(cr, 0, 10, 98, 7);
  cairo_fill(cr);
  Track(cr, 98, 300, 10, 7, Mix(s.colour, {255, 255, 255}, 0.45), Shade(s.colour, 0.72));
  SetColour(cr, Shade(s.colour, 0.35));
  for (int level = 1; level <= 11; ++level) {
    cairo_rectangle(cr, std::round(98 + 18.5 * level) - 1, 10, 1, 7);
  }
  cairo_fill(cr);
  // Experience line row.
  cairo_set_source_surface(cr, cairo_get_target(plate.Cr()), 0, 10);
  cairo_rectangle(cr, 0, 18, 98, 2);
  cairo_fill(cr);
  cairo_rectangle(cr, 98, 18, 202, 2);
  SetColour(cr, {250, 244, 170});
  cairo_fill(cr);
  cairo_rectangle(cr, 98, 19, 202, 1);
  SetColour(cr, {206, 190, 90});
  cairo_fill(cr);
  // Segment notches on the background track.
  SetColour(cr, {98, 104, 98});
  for (int level = 1; level <= 11; ++level) {
    cairo_rectangle(cr, std::round(98 + 18.5 * level) - 1, 1, 1, 6);
  }
  cairo_fill(cr);
  return c.Flatten();
}

// StatusScore.jpg: the 98x10 score label; the score itself follows at x 98 in green.
Image DrawScoreLabel() {
  Canvas c(98, 10);
  LabelPlate(c.Cr(), 0, 98, Icon::kStar, "SCORE", {150, 255, 150});
  return c.Flatten();
}

// MainLogo.jpg: the 300x300 loading screen. A soldier in the sights under the title; the
// bottom band stays dark for the light green caption at y 273 (286 while maps are made) and
// the progress strip at y 287.
Image DrawMainLogo() {
  Canvas c(300, 300);
  cairo_t* cr = c.Cr();
  FillGround(c, 1, 0.55);
  // Vignette.
  cairo_pattern_t* v = cairo_pattern_create_radial(150, 140, 60, 150, 140, 230);
  cairo_pattern_add_color_stop_rgba(v, 0.0, 0, 0, 0, 0.0);
  cairo_pattern_add_color_stop_rgba(v, 1.0, 0, 0, 0, 0.85);
  cairo_set_source(cr, v);
  cairo_paint(cr);
  cairo_pattern_destroy(v);
  // Opponents closing in from the edges.
  Random rng(1402);
  const double foes[][3] = {{38, 112, 1}, {262, 104, 3}, {52, 226, 2}, {252, 222, 5}, {150, 246, 4},
                            {26, 176, 0}, {276, 168, 2}};
  for (const auto& foe : foes) {
    cairo_save(cr);
    cairo_translate(cr, foe[0], foe[1]);
    cairo_scale(cr, 1.7, 1.7);
    const double angle = std::atan2(160 - foe[1], 150 - foe[0]) + rng.Range(-0.2, 0.2);
    DrawSoldier(cr, static_cast<Look>(1 + static_cast<int>(foe[2])), angle);
    cairo_restore(cr);
  }
  // The sights.
  SetColour(cr, kLightGreen, 0.35);
  cairo_set_line_width(cr, 1.5);
  cairo_arc(cr, 150, 168, 66, 0, 2 * kPi);
  cairo_stroke(cr);
  cairo_set_line_width(cr, 1.0);
  cairo_arc(cr, 150, 168, 44, 0, 2 * kPi);
  cairo_stroke(cr);
  for (int i = 0; i < 4; ++i) {
    const double a = i * kPi / 2;
    cairo_move_to(cr, 150 + 50 * std::cos(a), 168 + 50 * std::sin(a));
    cairo_line_to(cr, 150 + 82 * std::cos(a), 168 + 82 * std::sin(a));
  }
  cairo_stroke(cr);
  // The hero, large.
  cairo_save(cr);
  cairo_translate(cr, 150, 170);
  cairo_scale(cr, 4.2, 4.2);
  DrawSoldier(cr, Look::kPlayer, -kPi / 2 + 0.35);
  cairo_restore(cr);
  DrawTitle(cr, 150, 56, 236, 70);
  SelectFont(cr, 10.0, true);
  SetColour(cr, {230, 220, 190});
  CentredText(cr, "VERSION 1.14", 150, 90);
  // Bottom band with the empty progress track.
  cairo_rectangle(cr, 0, 270, 300, 30);
  VerticalGradient(cr, 270, 300, {14, 20, 16}, {4, 6, 5});
  cairo_fill(cr);
  cairo_rectangle(cr, 0, 270, 300, 1);
  SetColour(cr, kLightGreen, 0.5);
  cairo_fill(cr);
  cairo_rectangle(cr, 0, 287, 300, 13);
  SetColour(cr, {10, 30, 14});
  cairo_fill(cr);
  SetColour(cr, {30, 70, 36});
  for (double x = 9; x < 300; x += 10) cairo_rectangle(cr, x, 288, 1, 11);
  cairo_fill(cr);
  return c.Flatten();
}

// Loading.jpg: the 300x13 progress strip, segmented and lit, brightest at its leading (right)
// end as it slides in from the left.
Image DrawLoadingStrip() {
  Canvas c(300, 13);
  cairo_t* cr = c.Cr();
  cairo_rectangle(cr, 0, 0, 300, 13);
  VerticalGradient(cr, 0, 13, {160, 255, 150}, {24, 120, 40});
  cairo_fill(cr);
  cairo_rectangle(cr, 0, 1, 300, 3);
  SetColour(cr, {255, 255, 255}, 0.35);
  cairo_fill(cr);
  SetColour(cr, {10, 60, 20});
  for (double x = 9; x < 300; x += 10) cairo_rectangle(cr, x, 0, 1, 13);
  cairo_fill(cr);
  cairo_pattern_t* glow = cairo_pattern_create_linear(270, 0, 300, 0);
  cairo_pattern_add_color_stop_rgba(glow, 0.0, 1, 1, 1, 0.0);
  cairo_pattern_add_color_stop_rgba(glow, 1.0, 1, 1, 0.9, 0.75);
  cairo_set_source(cr, glow);
  cairo_rectangle(cr, 270, 0, 30, 13);
  cairo_fill(cr);
  cairo_pattern_destroy(glow);
  return c.Flatten();
}

// Logo.jpg: the 107x23 title, image at (0, 0) and mask at (0, 24).
Image DrawLogo() {
  Canvas cell(107, 23);
  DrawTitle(cell.Cr(), 53.5, 11.5, 105, 20);
  Image sheet(107, 47);
  sheet.Fill({255, 255, 255});
  PutMasked(sheet, cell, {0, 0}, {0, 24});
  // Row 23 between the cells belongs to neither; keep it black like the image's background.
  for (int x = 0; x < 107; ++x) sheet.Set(x, 23, {});
  return sheet;
}

// MainMenu.jpg: the 270x270 menu panel, laid over the map at alpha 188 at (15, 15). A light
// canvas so that the dark blue menu texts (and the white of the item under the pointer)
// stay readable over any map; decoration keeps to the frame and a faint emblem.
Image DrawMenuPanel() {
  Canvas c(270, 270);
  cairo_t* cr = c.Cr();
  for (int y = 0; y < 270; ++y) {
    for (int x = 0; x < 270; ++x) {
      const double weave = (HashNoise(x, y, 5) - 0.5) * 0.05 + ((x + y) % 3 == 0 ? 0.012 : 0.0);
      const double cloud = (Fbm(x * 0.03, y * 0.03, 4, 61) - 0.5) * 0.10;
      const double dx = (x - 135) / 135.0;
      const double dy = (y - 135) / 135.0;
      const double vignette = 1.0 - 0.10 * (dx * dx + dy * dy);
      c.SetPixel(x, y, Shade({204, 206, 190}, (1.0 + weave + cloud) * vignette));
    }
  }
  // A faint emblem behind the lists.
  SetColour(cr, {120, 130, 104}, 0.13);
  cairo_set_line_width(cr, 6.0);
  cairo_arc(cr, 196, 168, 62, 0, 2 * kPi);
  cairo_stroke(cr);
  cairo_set_line_width(cr, 3.0);
  cairo_arc(cr, 196, 168, 38, 0, 2 * kPi);
  cairo_stroke(cr);
  for (int i = 0; i < 4; ++i) {
    const double a = i * kPi / 2;
    cairo_move_to(cr, 196 + 46 * std::cos(a), 168 + 46 * std::sin(a));
    cairo_line_to(cr, 196 + 80 * std::cos(a), 168 + 80 * std::sin(a));
  }
  cairo_stroke(cr);
  // Header rule under the titles, kept light enough for text to cross it.
  cairo_rectangle(cr, 10, 32, 250, 1);
  SetColour(cr, {176, 182, 158});
  cairo_fill(cr);
  cairo_rectangle(cr, 10, 33, 250, 1);
  SetColour(cr, {236, 238, 226});
  cairo_fill(cr);
  // Frame: dark edge, light bevel, inner shadow.
  cairo_rectangle(cr, 0.5, 0.5, 269, 269);
  SetColour(cr, {52, 60, 44});
  cairo_set_line_width(cr, 1.0);
  cairo_stroke(cr);
  cairo_rectangle(cr, 2, 2, 266, 266);
  SetColour(cr, {98, 108, 82});
  cairo_set_line_width(cr, 2.0);
  cairo_stroke(cr);
  cairo_rectangle(cr, 3.5, 3.5, 263, 263);
  SetColour(cr, {236, 238, 224});
  cairo_set_line_width(cr, 1.0);
  cairo_stroke(cr);
  cairo_rectangle(cr, 4.5, 4.5, 261, 261);
  SetColour(cr, {150, 154, 136});
  cairo_stroke(cr);
  // Corner plates with rivets, clear of the texts that start 15 pixels in.
  for (const auto& corner : {std::array<double, 2>{0, 0}, std::array<double, 2>{256, 0},
                             std::array<double, 2>{0, 256}, std::array<double, 2>{256, 256}}) {
    RoundedRect(cr, corner[0] + 1, corner[1] + 1, 13, 13, 2);
    VerticalGradient(cr, corner[1] + 1, corner[1] + 14, {150, 158, 128}, {84, 94, 68});
    cairo_fill_preserve(cr);
    SetColour(cr, {44, 52, 38});
    cairo_stroke(cr);
    cairo_new_sub_path(cr);
    cairo_arc(cr, corner[0] + 7.5, corner[1] + 7.5, 2.2, 0, 2 * kPi);
    SetColour(cr, {60, 66, 50});
    cairo_fill(cr);
    cairo_new_sub_path(cr);
    cairo_arc(cr, corner[0] + 7.0, corner[1] + 7.0, 1.0, 0, 2 * kPi);
    SetColour(cr, {220, 224, 200});
    cairo_fill(cr);
  }
  return c.Flatten();
}

// SliderMenu.jpg: the 10x140 scroll track, image at x 0 and mask at x 10; drawn at (270, 50)
// with the 8x14 thumb moving inside it from y 51 to 175.
Image DrawSliderTrack() {
  Canvas cell(10, 140);
  cairo_t* cr = cell.Cr();
  RoundedRect(cr, 0, 0, 10, 140, 3.5);
  SetColour(cr, {40, 46, 36});
  cairo_fill(cr);
  RoundedRect(cr, 1, 1, 8, 138, 2.5);
  cairo_pattern_t* p = cairo_pattern_create_linear(1, 0, 9, 0);
  cairo_pattern_add_color_stop_rgb(p, 0.0, 0.12, 0.14, 0.11);
  cairo_pattern_add_color_stop_rgb(p, 1.0, 0.30, 0.33, 0.27);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  SetColour(cr, {120, 130, 100});
  for (double y = 9; y < 135; y += 10) cairo_rectangle(cr, 4, y, 2, 1);
  cairo_fill(cr);
  Image sheet(20, 140);
  PutMasked(sheet, cell, {0, 0}, {10, 0});
  return sheet;
}

// SliderDrag.jpg: the opaque 8x14 scroll thumb with grip lines.
Image DrawSliderThumb() {
  Image thumb(8, 14);
  PaintPixels(thumb, 0, 0,
              {"KKKKKKKK", "KHHHHHHK", "KHMMMMSK", "KHMMMMSK", "KHddddSK", "KHllllSK", "KHddddSK",
               "KHllllSK", "KHddddSK", "KHllllSK", "KHMMMMSK", "KHMMMMSK", "KSSSSSSK", "KKKKKKKK"},
              {{'K', {30, 34, 28}}, {'H', {250, 250, 240}}, {'M', {214, 200, 150}},
               {'S', {140, 124, 80}}, {'d', {120, 104, 64}}, {'l', {246, 236, 196}}});
  return thumb;
}

// Layer.jpg: the 298x13 backing of the debug line, image at (0, 0) and mask at (0, 18).
Image DrawDebugBacking() {
  Canvas cell(298, 13);
  cairo_t* cr = cell.Cr();
  RoundedRect(cr, 0, 0, 298, 13, 4);
  SetColour(cr, {70, 110, 76});
  cairo_fill(cr);
  RoundedRect(cr, 1, 1, 296, 11, 3);
  VerticalGradient(cr, 1, 12, {24, 34, 28}, {8, 14, 10});
  cairo_fill(cr);
  Image sheet(298, 31);
  sheet.Fill({255, 255, 255});
  for (int y = 13; y < 18; ++y) {
    for (int x = 0; x < 298; ++x) sheet.Set(x, y, {});
  }
  PutMasked(sheet, cell, {0, 0}, {0, 18});
  return sheet;
}

// LayerScore.jpg: the 85x15 backing of the score information, image at (0, 0) and mask at
// (0, 15); the total is written at its left end, the place text from x 32.
Image DrawScoreBacking() {
  Canvas cell(85, 15);
  cairo_t* cr = cell.Cr();
  RoundedRect(cr, 0, 0, 85, 15, 4);
  SetColour(cr, {70, 110, 76});
  cairo_fill(cr);
  RoundedRect(cr, 1, 1, 83, 13, 3);
  VerticalGradient(cr, 1, 14, {24, 34, 28}, {8, 14, 10});
  cairo_fill(cr);
  Image sheet(85, 30);
  PutMasked(sheet, cell, {0, 0}, {0, 15});
  return sheet;
}

// Check.jpg: two opaque 8x8 cells, "on" (a green tick) at x 0 and "off" (empty) at x 8.
Image DrawCheckBoxes() {
  Image sheet(16, 8);
  PaintPixels(sheet, 0, 0,
              {"KKKKKKKK", "KwwwwwGK", "KwwwwGGK", "KGwwGGwK", "KGGGGwwK", "KwGGwwwK", "KwwwwwwK",
               "KKKKKKKK"},
              {{'K', {40, 48, 36}}, {'w', {240, 242, 230}}, {'G', {20, 150, 40}}});
  PaintPixels(sheet, 8, 0,
              {"KKKKKKKK", "KsssssSK", "KsWWWWSK", "KsWWWWSK", "KsWWWWSK", "KsWWWWSK", "KSSSSSSK",
               "KKKKKKKK"},
              {{'K', {40, 48, 36}}, {'s', {170, 172, 160}}, {'S', {236, 238, 226}},
               {'W', {214, 216, 204}}});
  return sheet;
}

// ScoreUpDown.jpg: three opaque 9x9 cells stacked: y 0 a green up arrow (newer than the last
// update), y 9 neutral, y 18 a red down arrow.
Image DrawScoreArrows() {
  Image sheet(9, 27);
  const std::initializer_list<Ink> inks = {{'K', {30, 34, 28}}, {'p', {62, 70, 60}},
                                           {'G', {120, 244, 110}}, {'g', {40, 170, 50}},
                                           {'R', {255, 110, 90}},  {'r', {200, 40, 30}},
                                           {'N', {200, 204, 190}}};
  PaintPixels(sheet, 0, 0,
              {"KKKKKKKKK", "KpppGpppK", "KppGGgppK", "KpGGGggpK", "KGGGGgggK", "KppGGgppK",
               "KppGGgppK", "KppGGgppK", "KKKKKKKKK"},
              inks);
  PaintPixels(sheet, 0, 9,
              {"KKKKKKKKK", "KpppppppK", "KpppppppK", "KpppppppK", "KpNNNNNpK", "KpppppppK",
               "KpppppppK", "KpppppppK", "KKKKKKKKK"},
              inks);
  PaintPixels(sheet, 0, 18,
              {"KKKKKKKKK", "KppRRrppK", "KppRRrppK", "KppRRrppK", "KRRRRrrrK", "KpRRRrrpK",
               "KppRRrppK", "KpppRpppK", "KKKKKKKKK"},
              inks);
  return sheet;
}

// EnterText.jpg: the 150x15 name-entry box, image at (0, 0) and mask at (0, 15); the name is
// written into it from x 3 in dark blue.
Image DrawNameBox() {
  Canvas cell(150, 15);
  cairo_t* cr = cell.Cr();
  RoundedRect(cr, 0, 0, 150, 15, 4);
  SetColour(cr, {30, 60, 140});
  cairo_fill(cr);
  RoundedRect(cr, 1.5, 1.5, 147, 12, 3);
  VerticalGradient(cr, 1.5, 13.5, {232, 230, 206}, {255, 254, 240});
  cairo_fill(cr);
  cairo_rectangle(cr, 4, 2, 142, 1);
  SetColour(cr, {200, 196, 170});
  cairo_fill(cr);
  Image sheet(150, 30);
  PutMasked(sheet, cell, {0, 0}, {0, 15});
  return sheet;
}

// Help1.jpg: 23x32, next to "That number shows how many bullets has left in crate when you
// are over it!": the player over an ammunition crate with the number under him.
Image DrawHelpCrate() {
  Canvas c(23, 32);
  cairo_t* cr = c.Cr();
  FillGround(c, 1, 0.9);
  PaintPixels(c, 12, 11,
              {"KKKKKKKKK", "KyYyYyYyK", "KbBbBbBbK", "KGGGGGGGK", "KGgSSSgGK", "KGGGGGGGK",
               "KKKKKKKKK"},
              {{'K', {34, 34, 24}}, {'y', {196, 120, 60}}, {'Y', {222, 150, 80}},
               {'b', {176, 140, 48}}, {'B', {214, 180, 70}}, {'G', {92, 104, 56}},
               {'g', {70, 80, 42}}, {'S', {222, 196, 80}}});
  cairo_save(cr);
  cairo_translate(cr, 9.5, 10.0);
  DrawSoldier(cr, Look::kPlayer, -kPi / 2 - 0.5);
  cairo_restore(cr);
  cairo_rectangle(cr, 4, 20, 15, 10);
  SetColour(cr, {0, 0, 0}, 0.55);
  cairo_fill(cr);
  SelectFont(cr, 9.0, true);
  SetColour(cr, kLightGreen);
  CentredText(cr, "17", 11.5, 25);
  Frame(cr, 23, 32);
  return c.Flatten();
}

// Help2.jpg: 62x20, next to "Your health (Max.health)" and "Your ammo (Max.ammo)": the two
// gauges of the status bar in small, with their figures.
Image DrawHelpGauges() {
  Canvas c(62, 20);
  cairo_t* cr = c.Cr();
  const struct {
    Icon icon;
    Rgb top;
    Rgb bottom;
    double fill;
    const char* figures;
  } rows[2] = {{Icon::kCross, {255, 178, 168}, {226, 86, 74}, 0.9, "100(90)"},
               {Icon::kBullet, {255, 236, 150}, {224, 160, 40}, 0.7, "20(15)"}};
  for (int i = 0; i < 2; ++i) {
    const double y = i * 10.0;
    Plate(cr, 0, y, 11, 10);
    DrawIcon(cr, rows[i].icon, 2, y + 1.5);
    Track(cr, 11, 62, y, 10, {214, 218, 210}, {176, 182, 174});
    Track(cr, 11, 11 + 51 * rows[i].fill, y, 10, rows[i].top, rows[i].bottom);
    Text(cr, rows[i].figures, 14, y + 8, 7.6, true, {0, 0, 128});
  }
  Frame(cr, 62, 20);
  return c.Flatten();
}

// Help3.jpg: 32x32, next to "Number of bombs you can drop.": the bomb icon with its count.
Image DrawHelpBombs() {
  Canvas c(32, 32);
  cairo_t* cr = c.Cr();
  FillGround(c, 1, 0.9);
  cairo_save(cr);
  cairo_translate(cr, 1, 1);
  DrawBomb(cr);
  cairo_restore(cr);
  SelectFont(cr, 12.0, true);
  SetColour(cr, kLightGreen);
  CentredText(cr, "3", 15.5, 18.5);
  Frame(cr, 32, 32);
  return c.Flatten();
}

}  // namespace assetgen
