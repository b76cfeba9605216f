// Small play-field pieces: pick-ups, effect and bomb icons, pointers, bullet glyphs, foot mark.
#include <cmath>
#include <numbers>

#include "art.h"

namespace assetgen {
namespace {

constexpr double kPi = std::numbers::pi;

void HeartPath(cairo_t* cr, double cx, double cy, double s) {
  cairo_move_to(cr, cx, cy + 0.95 * s);
  cairo_curve_to(cr, cx - 0.3 * s, cy + 0.6 * s, cx - 1.05 * s, cy + 0.15 * s, cx - 1.0 * s,
                 cy - 0.35 * s);
  cairo_curve_to(cr, cx - 0.95 * s, cy - 0.9 * s, cx - 0.25 * s, cy - 1.05 * s, cx, cy - 0.5 * s);
  cairo_curve_to(cr, cx + 0.25 * s, cy - 1.05 * s, cx + 0.95 * s, cy - 0.9 * s, cx + 1.0 * s,
                 cy - 0.35 * s);
  cairo_curve_to(cr, cx + 1.05 * s, cy + 0.15 * s, cx + 0.3 * s, cy + 0.6 * s, cx, cy + 0.95 * s);
  cairo_close_path(cr);
}

void FillHeart(cairo_t* cr, Rgb light, Rgb dark) {
  cairo_pattern_t* p = cairo_pattern_create_radial(11, 9, 1, 15, 15, 15);
  cairo_pattern_add_color_stop_rgb(p, 0.0, light.r / 255.0, light.g / 255.0, light.b / 255.0);
  cairo_pattern_add_color_stop_rgb(p, 1.0, dark.r / 255.0, dark.g / 255.0, dark.b / 255.0);
  cairo_set_source(cr, p);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(p);
}

// A heart with a pulse line across it: green for a good drug, violet for a bad one, split
// down the middle when both kinds run.
void DrawAcidHeart(cairo_t* cr, int kind) {
  const Rgb goodLight{150, 255, 140};
  const Rgb goodDark{20, 130, 40};
  const Rgb badLight{236, 140, 255};
  const Rgb badDark{110, 20, 130};
  HeartPath(cr, 15.0, 14.5, 13.0);
  SetColour(cr, {16, 14, 18});
  cairo_set_line_width(cr, 2.4);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke_preserve(cr);
  if (kind < 2) {
    FillHeart(cr, kind == 0 ? goodLight : badLight, kind == 0 ? goodDark : badDark);
  } else {
    for (int half = 0; half < 2; ++half) {
      cairo_save(cr);
      cairo_new_path(cr);
      cairo_rectangle(cr, 15.0 * half, 0, 15, 30);
      cairo_clip(cr);
      HeartPath(cr, 15.0, 14.5, 13.0);
      FillHeart(cr, half == 0 ? goodLight : badLight, half == 0 ? goodDark : badDark);
      cairo_restore(cr);
    }
  }
  cairo_new_path(cr);
  // Gloss on the upper left lobe.
  cairo_new_sub_path(cr);
  cairo_arc(cr, 9.0, 8.5, 2.6, 0, 2 * kPi);
  SetColour(cr, {255, 255, 255}, 0.55);
  cairo_fill(cr);
  // The pulse.
  const double pulse[][2] = {{4, 15}, {10, 15}, {12, 11}, {14.5, 20}, {17, 8}, {19, 15}, {26, 15}};
  cairo_move_to(cr, pulse[0][0], pulse[0][1]);
  for (const auto& p : pulse) cairo_line_to(cr, p[0], p[1]);
  cairo_set_line_width(cr, 2.8);
  SetColour(cr, {20, 16, 22});
  cairo_stroke_preserve(cr);
  cairo_set_line_width(cr, 1.2);
  SetColour(cr, {255, 255, 255});
  cairo_stroke(cr);
  if (kind == 1) {  // the bad heart is cracked
    cairo_move_to(cr, 15, 5);
    cairo_line_to(cr, 13.5, 8);
    cairo_line_to(cr, 16, 10);
    SetColour(cr, {40, 0, 50});
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
  }
}

// The menu pointer: a gold ring sight with four ticks and a centre dot, centred at (9, 9).
void DrawPointer(cairo_t* cr) {
  const double c = 9.0;
  for (bool outline : {true, false}) {
    SetColour(cr, outline ? Rgb{20, 16, 10} : Rgb{255, 206, 60});
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, outline ? 3.6 : 1.6);
    cairo_new_sub_path(cr);
    cairo_arc(cr, c, c, 5.0, 0, 2 * kPi);
    cairo_stroke(cr);
    for (int i = 0; i < 4; ++i) {
      const double a = i * kPi / 2.0;
      cairo_move_to(cr, c + 5.6 * std::cos(a), c + 5.6 * std::sin(a));
      cairo_line_to(cr, c + 7.6 * std::cos(a), c + 7.6 * std::sin(a));
    }
    cairo_stroke(cr);
    cairo_new_sub_path(cr);
    cairo_arc(cr, c, c, outline ? 2.0 : 1.1, 0, 2 * kPi);
    SetColour(cr, outline ? Rgb{20, 16, 10} : Rgb{255, 70, 40});
    cairo_fill(cr);
  }
}

}  // namespace

void DrawBomb(cairo_t* cr) {
  // Body.
  cairo_new_sub_path(cr);
  cairo_arc(cr, 14.0, 17.0, 10.6, 0, 2 * kPi);
  SetColour(cr, {12, 12, 14});
  cairo_set_line_width(cr, 2.0);
  cairo_stroke_preserve(cr);
  cairo_pattern_t* p = cairo_pattern_create_radial(10.0, 13.0, 1.0, 14.0, 17.0, 11.0);
  cairo_pattern_add_color_stop_rgb(p, 0.0, 0.42, 0.44, 0.48);
  cairo_pattern_add_color_stop_rgb(p, 0.5, 0.16, 0.17, 0.20);
  cairo_pattern_add_color_stop_rgb(p, 1.0, 0.07, 0.07, 0.09);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  // Cap and fuse.
  cairo_save(cr);
  cairo_translate(cr, 21.0, 9.5);
  cairo_rotate(cr, kPi / 4.0);
  RoundedRect(cr, -2.6, -2.0, 5.2, 4.0, 0.8);
  SetColour(cr, {12, 12, 14});
  cairo_set_line_width(cr, 1.4);
  cairo_stroke_preserve(cr);
  SetColour(cr, {120, 122, 128});
  cairo_fill(cr);
  cairo_restore(cr);
  cairo_move_to(cr, 22.5, 8.0);
  cairo_curve_to(cr, 24.0, 5.0, 25.0, 6.0, 25.5, 3.5);
  SetColour(cr, {12, 12, 14});
  cairo_set_line_width(cr, 2.4);
  cairo_stroke_preserve(cr);
  SetColour(cr, {200, 170, 120});
  cairo_set_line_width(cr, 1.0);
  cairo_stroke(cr);
  // Spark.
  for (int i = 0; i < 8; ++i) {
    const double a = i * kPi / 4.0 + 0.3;
    const double len = i % 2 == 0 ? 3.6 : 2.2;
    cairo_move_to(cr, 25.7, 3.4);
    cairo_line_to(cr, 25.7 + len * std::cos(a), 3.4 + len * std::sin(a));
  }
  SetColour(cr, {255, 210, 60});
  cairo_set_line_width(cr, 1.0);
  cairo_stroke(cr);
  cairo_new_sub_path(cr);
  cairo_arc(cr, 25.7, 3.4, 1.3, 0, 2 * kPi);
  SetColour(cr, {255, 255, 220});
  cairo_fill(cr);
}

// Health.jpg: two opaque 7x7 cells at x 0 and 7: a first-aid box with a red cross, the second
// glowing a little brighter so that the pick-up flickers.
Image DrawHealthBox() {
  Image sheet(14, 7);
  PaintPixels(sheet, 0, 0,
              {"kGGGGGk", "GWWRWWG", "GWWRWwG", "GRRRRRG", "GWWRWwG", "GwwRwwG", "kGGGGGk"},
              {{'k', {86, 86, 84}}, {'G', {168, 168, 164}}, {'W', {246, 246, 242}},
               {'w', {214, 214, 210}}, {'R', {220, 24, 24}}});
  PaintPixels(sheet, 7, 0,
              {"kPPPPPk", "PWWRWWP", "PWWRWWP", "PRRRRRP", "PWWRWWP", "PWWRWwP", "kPPPPPk"},
              {{'k', {150, 90, 90}}, {'P', {255, 200, 196}}, {'W', {255, 255, 255}},
               {'w', {232, 232, 228}}, {'R', {255, 50, 40}}});
  return sheet;
}

// Ammo.jpg: two opaque 9x7 cells at x 0 and 9: an olive ammunition crate with brass rounds
// showing, the second catching the light.
Image DrawAmmoBox() {
  Image sheet(18, 7);
  const char* const rows[] = {"KKKKKKKKK", "KyYyYyYyK", "KbBbBbBbK", "KGGGGGGGK",
                              "KGgSSSgGK", "KGGGGGGGK", "KKKKKKKKK"};
  PaintPixels(sheet, 0, 0, {rows[0], rows[1], rows[2], rows[3], rows[4], rows[5], rows[6]},
              {{'K', {34, 34, 24}}, {'y', {196, 120, 60}}, {'Y', {222, 150, 80}},
               {'b', {176, 140, 48}}, {'B', {214, 180, 70}}, {'G', {92, 104, 56}},
               {'g', {70, 80, 42}}, {'S', {222, 196, 80}}});
  PaintPixels(sheet, 9, 0, {rows[0], rows[1], rows[2], rows[3], rows[4], rows[5], rows[6]},
              {{'K', {60, 60, 40}}, {'y', {236, 160, 90}}, {'Y', {255, 200, 120}},
               {'b', {222, 186, 80}}, {'B', {255, 230, 120}}, {'G', {124, 138, 76}},
               {'g', {96, 108, 58}}, {'S', {255, 236, 120}}});
  return sheet;
}

// Acid.jpg: two opaque 7x7 cells at x 0 and 7: a capsule, half magenta, half white, on dark
// ground; the second cell glows cyan around it.
Image DrawAcidPill() {
  Image sheet(14, 7);
  const char* const rows[] = {"ddddddd", "ddddMMd", "dddMmMd", "ddWmMdd", "dWwWddd", "dWWdddd",
                              "ddddddd"};
  PaintPixels(sheet, 0, 0, {rows[0], rows[1], rows[2], rows[3], rows[4], rows[5], rows[6]},
              {{'d', {26, 16, 34}}, {'M', {220, 40, 200}},
               {'m', {255, 140, 240}}, {'W', {236, 236, 244}}, {'w', {255, 255, 255}}});
  PaintPixels(sheet, 7, 0, {rows[0], rows[1], rows[2], rows[3], rows[4], rows[5], rows[6]},
              {{'d', {30, 120, 140}}, {'M', {255, 80, 236}},
               {'m', {255, 190, 250}}, {'W', {255, 255, 255}}, {'w', {255, 255, 255}}});
  return sheet;
}

// AcidHearth.jpg: three 30x30 cells at x 0, 30, 60 (good, bad, both); image row y 0, mask
// row y 30.
Image DrawAcidIcons() {
  Image sheet(90, 60);
  for (int kind = 0; kind < 3; ++kind) {
    Canvas cell(30, 30);
    DrawAcidHeart(cell.Cr(), kind);
    PutMasked(sheet, cell, {30 * kind, 0}, {30 * kind, 30});
  }
  return sheet;
}

// BombIcon.jpg: 30x30, image at x 0 and mask at x 30. The bomb count is written over the
// dark body at (13, 9) from the icon's corner, so the body stays dark there.
Image DrawBombIcon() {
  Canvas cell(30, 30);
  DrawBomb(cell.Cr());
  Image sheet(60, 30);
  PutMasked(sheet, cell, {0, 0}, {30, 0});
  return sheet;
}

// CursorFire.jpg: the 9x9 cross-hair, centre pixel (4, 4); image at x 0, mask at x 9.
Image DrawCrossHair() {
  Canvas cell(9, 9);
  PaintPixels(cell, 0, 0,
              {"...KWK...", "...KWK...", "...KKK...", "KKK...KKK", "WWK.R.KWW", "KKK...KKK",
               "...KKK...", "...KWK...", "...KWK..."},
              {{'K', {16, 16, 16}}, {'W', {250, 250, 250}}, {'R', {255, 40, 30}}});
  Image sheet(18, 9);
  PutMasked(sheet, cell, {0, 0}, {9, 0});
  return sheet;
}

// CursorMenu.jpg: the 18x18 menu pointer, centre (9, 9); image at x 0, mask at x 18.
Image DrawMenuPointer() {
  Canvas cell(18, 18);
  DrawPointer(cell.Cr());
  Image sheet(36, 18);
  PutMasked(sheet, cell, {0, 0}, {18, 0});
  return sheet;
}

// BulletsOut.jpg: 11 wide, image row y 0 and mask row y 11, each 11 high. Three rounds
// standing at columns 0-2, 4-6 and 8-10, so the leftmost 4, 8 or 11 columns show 1, 2 or 3.
Image DrawBulletGlyphs() {
  Canvas cell(11, 11);
  for (int x : {0, 4, 8}) {
    PaintPixels(cell, x, 0,
                {".c.", "cCc", "cCc", "KKK", "bBb", "bBb", "bBb", "bBb", "bBb", "bBb", "ddd"},
                {{'c', {176, 92, 50}}, {'C', {236, 150, 96}}, {'K', {90, 60, 30}},
                 {'b', {176, 140, 40}}, {'B', {250, 220, 110}}, {'d', {120, 92, 30}}});
  }
  Image sheet(11, 22);
  PutMasked(sheet, cell, {0, 0}, {0, 11});
  return sheet;
}

// Foot.jpg: an opaque 2x2 boot print, dark enough to show on every ground.
Image DrawFootMark() {
  Image sheet(2, 2);
  PaintPixels(sheet, 0, 0, {"ab", "ba"}, {{'a', {58, 46, 34}}, {'b', {74, 60, 44}}});
  return sheet;
}

}  // namespace assetgen
