// Fighters, corpses, the airplane and the Cleaner: the masked sprites that move on the field.
#include <array>
#include <cmath>
#include <numbers>

#include "art.h"
#include "noise.h"

namespace assetgen {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr Rgb kOutline{18, 18, 16};
constexpr Rgb kSkin{222, 178, 138};
constexpr Rgb kGunMetal{44, 44, 48};

enum class Headgear { kBare, kCap, kHelmet, kGoggles, kVisor };

// What sets one fighter look apart; later tiers wear more armour and darker, harder colours.
struct Style {
  Rgb torso;
  Rgb sleeve;
  Rgb head;
  Rgb pack;
  Rgb pad;
  Rgb detail;  // cap, goggles or visor
  Rgb camo;    // camouflage spots, when camouflaged
  Headgear headgear;
  double shoulder;   // half the width across the shoulders
  double padRadius;  // 0 = no shoulder plates
  double packSize;   // 0 = no backpack
  double gunLength;
  double gunWidth;
  bool camouflaged;
  bool stripe;  // the player's white helmet stripe
};

Style StyleOf(Look look) {
  switch (look) {
    case Look::kPlayer:
      return {{50, 104, 200}, {36, 78, 160}, {40, 58, 96}, {160, 138, 96}, {}, {}, {},
              Headgear::kHelmet, 5.4, 0.0, 1.0, 10.0, 1.6, false, true};
    case Look::kTier0:
      return {{204, 180, 132}, kSkin, {92, 58, 30}, {}, {}, {}, {}, Headgear::kBare,
              4.8, 0.0, 0.0, 7.6, 1.4, false, false};
    case Look::kTier1:
      return {{150, 146, 124}, {128, 124, 104}, {150, 52, 40}, {112, 100, 70}, {}, {112, 36, 28},
              {}, Headgear::kCap, 5.1, 0.0, 0.8, 9.2, 1.5, false, false};
    case Look::kTier2:
      return {{72, 124, 64}, {58, 100, 52}, {84, 104, 60}, {92, 96, 60}, {}, {}, {44, 80, 40},
              Headgear::kHelmet, 5.4, 0.0, 1.0, 9.8, 1.6, true, false};
    case Look::kTier3:
      return {{172, 126, 72}, {146, 104, 60}, {140, 108, 64}, {100, 84, 56}, {104, 84, 56},
              {250, 196, 50}, {120, 84, 46}, Headgear::kGoggles, 5.7, 1.6, 1.0, 10.0, 1.7, true,
              false};
    case Look::kTier4:
      return {{84, 88, 98}, {66, 70, 80}, {60, 64, 74}, {62, 64, 72}, {200, 40, 34},
              {244, 56, 40}, {}, Headgear::kVisor, 6.0, 2.0, 1.0, 10.1, 1.9, false, false};
    case Look::kTier5:
      return {{40, 36, 44}, {30, 28, 34}, {32, 30, 36}, {52, 48, 54}, {226, 180, 52},
              {255, 156, 30}, {}, Headgear::kVisor, 6.3, 2.4, 1.1, 10.2, 2.3, false, false};
  }
  return StyleOf(Look::kPlayer);
}

// Fills the current path in colour c, or in the outline pass with a dark rim around it.
void Paint(cairo_t* cr, bool outline, Rgb c, double rim = 0.85) {
  if (outline) {
    SetColour(cr, kOutline);
    cairo_set_line_width(cr, 2.0 * rim);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke_preserve(cr);
    cairo_fill(cr);
  } else {
    SetColour(cr, c);
    cairo_fill(cr);
  }
}

// A limb or gun barrel from (x0, y0) to (x1, y1) of the given width with round ends.
void Limb(cairo_t* cr, bool outline, Rgb c, double x0, double y0, double x1, double y1,
          double width, double rim = 0.85) {
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_move_to(cr, x0, y0);
  cairo_line_to(cr, x1, y1);
  SetColour(cr, outline ? kOutline : c);
  cairo_set_line_width(cr, outline ? width + 2.0 * rim : width);
  cairo_stroke(cr);
}

void Ellipse(cairo_t* cr, double cx, double cy, double rx, double ry) {
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, rx, ry);
  cairo_new_sub_path(cr);
  cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
  cairo_restore(cr);
}

// A soft highlight towards the light (upper left on screen), lx/ly given in local units.
void Highlight(cairo_t* cr, double cx, double cy, double r, double lx, double ly, double strength) {
  cairo_pattern_t* p = cairo_pattern_create_radial(cx + lx * r * 0.45, cy + ly * r * 0.45, 0.0,
                                                   cx, cy, r * 1.05);
  cairo_pattern_add_color_stop_rgba(p, 0.0, 1, 1, 1, strength);
  cairo_pattern_add_color_stop_rgba(p, 1.0, 1, 1, 1, 0.0);
  cairo_set_source(cr, p);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(p);
}

void SoldierPass(cairo_t* cr, const Style& s, bool outline, double lx, double ly) {
  // Backpack behind the shoulders.
  if (s.packSize > 0.0) {
    const double h = 3.2 * s.packSize;
    RoundedRect(cr, -6.6, -h, 4.4, 2 * h, 1.2);
    Paint(cr, outline, s.pack);
    if (!outline) {
      cairo_move_to(cr, -5.2, -h + 0.8);
      cairo_line_to(cr, -5.2, h - 0.8);
      SetColour(cr, Shade(s.pack, 0.7));
      cairo_set_line_width(cr, 0.6);
      cairo_stroke(cr);
    }
  }
  // Arms reach forward to the gun: right hand at the grip, left hand under the barrel.
  const double sh = s.shoulder - 0.9;
  const bool pistol = s.gunLength < 8.0;
  const double gripX = pistol ? 4.2 : 3.6;
  const double foreX = pistol ? 4.6 : 6.4;
  for (const auto& arm : {std::array<double, 6>{0.2, sh, 2.0, sh - 0.2, gripX, 0.9},
                          std::array<double, 6>{0.2, -sh, 3.2, -sh + 0.7, foreX, -0.2}}) {
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, arm[0], arm[1]);
    cairo_line_to(cr, arm[2], arm[3]);
    cairo_line_to(cr, arm[4], arm[5]);
    if (outline) {
      SetColour(cr, kOutline);
      cairo_set_line_width(cr, 1.8 + 1.7);
      cairo_stroke(cr);
    } else {  // a darker rim keeps the arm apart from the torso
      SetColour(cr, Shade(s.sleeve, 0.6));
      cairo_set_line_width(cr, 2.3);
      cairo_stroke_preserve(cr);
      SetColour(cr, s.sleeve);
      cairo_set_line_width(cr, 1.7);
      cairo_stroke(cr);
    }
  }
  // The gun along the facing: a thick body, then the thinner barrel out to the muzzle.
  const double gw = s.gunWidth;
  const double bodyEnd = pistol ? s.gunLength : s.gunLength - 2.6;
  cairo_rectangle(cr, 1.6, 0.3 - gw / 2, bodyEnd - 1.6, gw);
  Paint(cr, outline, kGunMetal, 0.7);
  if (!pistol) {
    const double bw = gw * 0.62;
    cairo_rectangle(cr, bodyEnd - 0.2, 0.3 - bw / 2, s.gunLength - bodyEnd + 0.2, bw);
    Paint(cr, outline, kGunMetal, 0.6);
  }
  if (!outline) {
    cairo_rectangle(cr, 2.0, 0.3 - gw / 2 + 0.1, s.gunLength - 2.4, 0.5);
    SetColour(cr, {136, 136, 146});
    cairo_fill(cr);
    if (s.gunWidth >= 2.0) {  // the heavy gun's muzzle brake
      cairo_rectangle(cr, s.gunLength - 1.1, 0.3 - gw / 2, 1.1, gw);
      SetColour(cr, {84, 84, 92});
      cairo_fill(cr);
    }
  }
  // Torso and shoulder plates.
  Ellipse(cr, -0.5, 0.0, 3.1, s.shoulder);
  if (outline) {
    Paint(cr, true, s.torso);
  } else {
    SetColour(cr, s.torso);
    cairo_fill_preserve(cr);
    if (s.camouflaged) {
      cairo_save(cr);
      cairo_clip_preserve(cr);
      SetColour(cr, s.camo);
      const double spots[][3] = {{-1.8, -3.2, 1.3}, {0.8, 2.6, 1.2}, {-2.4, 1.6, 1.0},
                                 {1.2, -1.4, 0.9}, {-0.6, 4.4, 0.9}, {-0.2, -4.8, 0.8}};
      for (const auto& spot : spots) {
        cairo_new_sub_path(cr);
        cairo_arc(cr, spot[0], spot[1], spot[2], 0, 2 * kPi);
      }
      cairo_fill(cr);
      cairo_restore(cr);
    }
    Highlight(cr, -0.5, 0.0, s.shoulder, lx, ly, 0.25);
    SetColour(cr, Shade(s.torso, 0.6));
    cairo_set_line_width(cr, 0.5);
    cairo_stroke(cr);
  }
  if (s.padRadius > 0.0) {
    for (double side : {-1.0, 1.0}) {
      cairo_new_sub_path(cr);
      cairo_arc(cr, -0.3, side * (s.shoulder - 0.7), s.padRadius, 0, 2 * kPi);
      if (outline) {
        Paint(cr, true, s.pad);
      } else {
        SetColour(cr, s.pad);
        cairo_fill_preserve(cr);
        Highlight(cr, -0.3, side * (s.shoulder - 0.7), s.padRadius, lx, ly, 0.45);
        cairo_new_path(cr);
      }
    }
  }
  // Hands.
  for (const auto& hand : {std::array<double, 2>{gripX, 0.9}, std::array<double, 2>{foreX, -0.2}}) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, hand[0], hand[1], 1.0, 0, 2 * kPi);
    const Rgb glove = s.headgear == Headgear::kBare ? kSkin : Shade(s.sleeve, 0.6);
    Paint(cr, outline, glove, 0.5);
  }
  // Head and headgear.
  const double headR = s.headgear == Headgear::kBare ? 2.6 : 3.0;
  if (s.headgear == Headgear::kCap) {  // the cap's brim points forward
    Ellipse(cr, 2.2, 0.0, 1.6, 2.2);
    Paint(cr, outline, s.detail);
  }
  cairo_new_sub_path(cr);
  cairo_arc(cr, 0.2, 0.0, headR, 0, 2 * kPi);
  if (outline) {
    Paint(cr, true, s.head);
    return;
  }
  if (s.headgear == Headgear::kBare) {
    SetColour(cr, kSkin);
    cairo_fill(cr);
    cairo_new_sub_path(cr);
    cairo_arc(cr, -0.4, 0.0, 2.3, 0, 2 * kPi);
    SetColour(cr, s.head);
    cairo_fill_preserve(cr);
    Highlight(cr, -0.4, 0.0, 2.3, lx, ly, 0.3);
    cairo_new_path(cr);
    return;
  }
  SetColour(cr, s.head);
  cairo_fill_preserve(cr);
  Highlight(cr, 0.2, 0.0, headR, lx, ly, 0.35);
  cairo_new_path(cr);
  cairo_arc(cr, 0.2, 0.0, headR - 0.35, 0, 2 * kPi);
  SetColour(cr, Shade(s.head, 0.55));
  cairo_set_line_width(cr, 0.6);
  cairo_stroke(cr);
  if (s.stripe) {
    cairo_move_to(cr, -2.4, 0.0);
    cairo_line_to(cr, 2.6, 0.0);
    SetColour(cr, {236, 240, 244});
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
  }
  if (s.headgear == Headgear::kGoggles) {
    cairo_arc(cr, 0.2, 0.0, 2.3, -1.3, 1.3);
    SetColour(cr, {30, 26, 22});
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
    for (double side : {-1.0, 1.0}) {
      cairo_new_sub_path(cr);
      cairo_arc(cr, 2.0, side * 1.15, 0.75, 0, 2 * kPi);
    }
    SetColour(cr, s.detail);
    cairo_fill(cr);
  }
  if (s.headgear == Headgear::kVisor) {
    cairo_arc(cr, 0.2, 0.0, 2.2, -0.95, 0.95);
    SetColour(cr, s.detail);
    cairo_set_line_width(cr, 1.3);
    cairo_stroke(cr);
    if (s.padRadius > 2.2) {  // the top tier's crest
      cairo_move_to(cr, -2.6, 0.0);
      cairo_line_to(cr, 1.0, 0.0);
      SetColour(cr, s.pad);
      cairo_set_line_width(cr, 0.8);
      cairo_stroke(cr);
    }
  }
}

// A dead fighter lying on the ground in a pool of blood, 20x20, centre (10, 10).
struct Corpse {
  double angle;   // body axis, degrees
  Rgb uniform;
  double armL[2];  // left hand, relative to the shoulder
  double armR[2];
  double legSpread;
  bool helmetOn;
  std::uint32_t seed;
};

void DrawCorpse(cairo_t* cr, const Corpse& c) {
  cairo_translate(cr, 10.0, 10.0);
  // The pool: an uneven blob with a few drops around it.
  Random rng(c.seed);
  const double poolX = rng.Range(-1.5, 1.5);
  const double poolY = rng.Range(-1.5, 1.5);
  cairo_new_path(cr);
  for (int i = 0; i < 20; ++i) {
    const double a = 2 * kPi * i / 20.0;
    const double r = 6.2 + 2.2 * ValueNoise(i * 0.7, 0.5, c.seed);
    cairo_line_to(cr, poolX + r * std::cos(a), poolY + r * std::sin(a) * 0.85);
  }
  cairo_close_path(cr);
  cairo_pattern_t* pool = cairo_pattern_create_radial(poolX, poolY, 0.5, poolX, poolY, 7.5);
  cairo_pattern_add_color_stop_rgb(pool, 0.0, 0.30, 0.01, 0.02);
  cairo_pattern_add_color_stop_rgb(pool, 1.0, 0.52, 0.04, 0.05);
  cairo_set_source(cr, pool);
  cairo_fill(cr);
  cairo_pattern_destroy(pool);
  for (int i = 0; i < 4; ++i) {
    const double a = rng.Range(0, 2 * kPi);
    const double r = rng.Range(7.0, 8.8);
    cairo_new_sub_path(cr);
    cairo_arc(cr, r * std::cos(a), r * std::sin(a), rng.Range(0.6, 1.0), 0, 2 * kPi);
  }
  SetColour(cr, {120, 10, 14});
  cairo_fill(cr);

  cairo_rotate(cr, c.angle * kPi / 180.0);
  const Rgb trousers = Shade(c.uniform, 0.78);
  for (bool outline : {true, false}) {
    const double rim = 0.6;
    for (double side : {-1.0, 1.0}) {
      const double fy = side * (1.2 + c.legSpread);
      Limb(cr, outline, trousers, 2.6, side * 1.3, 7.2, fy, 2.3, rim);
      cairo_new_sub_path(cr);
      cairo_arc(cr, 7.8, fy, 1.1, 0, 2 * kPi);
      Paint(cr, outline, {44, 38, 32}, rim);
    }
    Limb(cr, outline, c.uniform, -2.6, -3.0, -2.6 + c.armL[0], -3.0 + c.armL[1], 1.9, rim);
    Limb(cr, outline, c.uniform, -2.6, 3.0, -2.6 + c.armR[0], 3.0 + c.armR[1], 1.9, rim);
    for (const auto& hand : {std::array<double, 2>{-2.6 + c.armL[0], -3.0 + c.armL[1]},
                             std::array<double, 2>{-2.6 + c.armR[0], 3.0 + c.armR[1]}}) {
      cairo_new_sub_path(cr);
      cairo_arc(cr, hand[0], hand[1], 0.9, 0, 2 * kPi);
      Paint(cr, outline, kSkin, rim);
    }
    RoundedRect(cr, -3.6, -3.5, 6.8, 7.0, 1.8);
    Paint(cr, outline, c.uniform, rim);
    if (!outline) {  // belt
      cairo_rectangle(cr, 2.0, -3.3, 0.9, 6.6);
      SetColour(cr, Shade(c.uniform, 0.5));
      cairo_fill(cr);
    }
    cairo_new_sub_path(cr);
    cairo_arc(cr, -5.6, 0.0, 2.3, 0, 2 * kPi);
    Paint(cr, outline, c.helmetOn ? Shade(c.uniform, 0.85) : kSkin, rim);
    if (!outline && !c.helmetOn) {
      cairo_new_sub_path(cr);
      cairo_arc(cr, -6.2, 0.0, 1.7, 0, 2 * kPi);
      SetColour(cr, {70, 46, 26});
      cairo_fill(cr);
    }
  }
}

// The transport airplane from above, nose to the right, in a 40x40 box.
void DrawPlane(cairo_t* cr) {
  const Rgb body{104, 116, 78};
  const Rgb dark{74, 84, 54};
  for (bool outline : {true, false}) {
    const double rim = 0.7;
    // Main wing, slightly swept, with yellow tips.
    cairo_move_to(cr, 17.0, 20.0);
    cairo_line_to(cr, 18.5, 1.5);
    cairo_line_to(cr, 22.5, 1.5);
    cairo_line_to(cr, 25.5, 20.0);
    cairo_line_to(cr, 22.5, 38.5);
    cairo_line_to(cr, 18.5, 38.5);
    cairo_close_path(cr);
    if (outline) {
      Paint(cr, true, body, rim);
    } else {
      cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 0, 40);
      cairo_pattern_add_color_stop_rgb(p, 0.0, 0.36, 0.41, 0.27);
      cairo_pattern_add_color_stop_rgb(p, 0.45, 0.46, 0.51, 0.35);
      cairo_pattern_add_color_stop_rgb(p, 1.0, 0.33, 0.37, 0.24);
      cairo_set_source(cr, p);
      cairo_fill(cr);
      cairo_pattern_destroy(p);
      SetColour(cr, {236, 196, 48});
      cairo_rectangle(cr, 18.4, 1.6, 4.2, 2.2);
      cairo_rectangle(cr, 18.4, 36.2, 4.2, 2.2);
      cairo_fill(cr);
      SetColour(cr, dark);
      cairo_set_line_width(cr, 0.5);
      for (double y : {8.0, 32.0}) {
        cairo_move_to(cr, 18.0, y);
        cairo_line_to(cr, 23.6, y);
      }
      cairo_stroke(cr);
      // Wing markings: a white ring with a dark centre.
      for (double y : {6.0, 34.0}) {
        cairo_new_sub_path(cr);
        cairo_arc(cr, 20.6, y, 1.8, 0, 2 * kPi);
        SetColour(cr, {232, 232, 224});
        cairo_fill(cr);
        cairo_new_sub_path(cr);
        cairo_arc(cr, 20.6, y, 0.9, 0, 2 * kPi);
        SetColour(cr, {180, 40, 36});
        cairo_fill(cr);
      }
    }
    // Tailplane.
    cairo_move_to(cr, 2.5, 20.0);
    cairo_line_to(cr, 3.5, 11.5);
    cairo_line_to(cr, 6.5, 11.5);
    cairo_line_to(cr, 9.0, 20.0);
    cairo_line_to(cr, 6.5, 28.5);
    cairo_line_to(cr, 3.5, 28.5);
    cairo_close_path(cr);
    Paint(cr, outline, dark, rim);
    // Engines with their propellers.
    for (double y : {11.0, 29.0}) {
      Ellipse(cr, 23.0, y, 5.2, 1.9);
      Paint(cr, outline, {86, 96, 64}, rim);
      Limb(cr, outline, {34, 34, 36}, 28.6, y - 4.2, 28.6, y + 4.2, 0.9, 0.5);
      if (!outline) {
        cairo_new_sub_path(cr);
        cairo_arc(cr, 28.6, y, 0.9, 0, 2 * kPi);
        SetColour(cr, {200, 60, 40});
        cairo_fill(cr);
        for (double tip : {-1.0, 1.0}) {
          cairo_rectangle(cr, 28.15, y + tip * 4.2 - (tip > 0 ? 0.9 : 0.0), 0.9, 0.9);
        }
        SetColour(cr, {236, 196, 48});
        cairo_fill(cr);
      }
    }
    // Fuselage, a long rounded body.
    cairo_move_to(cr, 1.5, 20.0);
    cairo_curve_to(cr, 3.0, 17.6, 12.0, 16.4, 24.0, 16.4);
    cairo_curve_to(cr, 33.0, 16.4, 37.8, 17.8, 38.2, 20.0);
    cairo_curve_to(cr, 37.8, 22.2, 33.0, 23.6, 24.0, 23.6);
    cairo_curve_to(cr, 12.0, 23.6, 3.0, 22.4, 1.5, 20.0);
    cairo_close_path(cr);
    if (outline) {
      Paint(cr, true, body, rim);
    } else {
      cairo_pattern_t* p = cairo_pattern_create_linear(0, 16.4, 0, 23.6);
      cairo_pattern_add_color_stop_rgb(p, 0.0, 0.55, 0.60, 0.43);
      cairo_pattern_add_color_stop_rgb(p, 0.4, 0.44, 0.49, 0.33);
      cairo_pattern_add_color_stop_rgb(p, 1.0, 0.27, 0.31, 0.20);
      cairo_set_source(cr, p);
      cairo_fill(cr);
      cairo_pattern_destroy(p);
      // Cockpit glass.
      Ellipse(cr, 33.2, 20.0, 2.6, 1.9);
      cairo_pattern_t* glass = cairo_pattern_create_linear(31, 18, 35, 22);
      cairo_pattern_add_color_stop_rgb(glass, 0.0, 0.78, 0.88, 0.95);
      cairo_pattern_add_color_stop_rgb(glass, 1.0, 0.18, 0.26, 0.36);
      cairo_set_source(cr, glass);
      cairo_fill(cr);
      cairo_pattern_destroy(glass);
      // Fin seen from above and a yellow identification band.
      cairo_rectangle(cr, 2.0, 19.4, 6.5, 1.2);
      SetColour(cr, dark);
      cairo_fill(cr);
      cairo_rectangle(cr, 11.0, 16.9, 1.8, 6.2);
      SetColour(cr, {236, 196, 48});
      cairo_fill(cr);
    }
  }
}

// The Cleaner from above, driving down: hopper at the top, cab and brushes at the bottom.
void DrawSweeper(cairo_t* cr) {
  const Rgb paint{238, 138, 28};
  const Rgb paintDark{176, 92, 18};
  for (bool outline : {true, false}) {
    const double rim = 0.8;
    // Wheels stick out at the sides.
    for (double y : {10.0, 36.0}) {
      for (double x : {2.5, 42.5}) {
        RoundedRect(cr, x, y, 5.0, 10.0, 1.5);
        Paint(cr, outline, {34, 34, 36}, rim);
      }
    }
    // Side brushes at the front corners.
    for (double x : {9.5, 40.5}) {
      cairo_new_sub_path(cr);
      cairo_arc(cr, x, 56.0, 7.0, 0, 2 * kPi);
      Paint(cr, outline, {56, 70, 120}, rim);
    }
    // Body and hopper.
    RoundedRect(cr, 6.0, 1.5, 38.0, 45.0, 3.0);
    Paint(cr, outline, paint, rim);
    // Cab.
    RoundedRect(cr, 10.0, 40.0, 30.0, 19.0, 3.5);
    Paint(cr, outline, {244, 240, 230}, rim);
    if (outline) continue;
    // Rear bumper in hazard stripes.
    cairo_save(cr);
    RoundedRect(cr, 6.0, 1.5, 38.0, 5.0, 2.0);
    cairo_clip(cr);
    SetColour(cr, {240, 200, 30});
    cairo_paint(cr);
    SetColour(cr, {24, 24, 24});
    for (double x = 0.0; x < 52.0; x += 6.0) {
      cairo_move_to(cr, x, 1.0);
      cairo_line_to(cr, x + 3.0, 1.0);
      cairo_line_to(cr, x - 2.0, 7.0);
      cairo_line_to(cr, x - 5.0, 7.0);
      cairo_close_path(cr);
    }
    cairo_fill(cr);
    cairo_restore(cr);
    // Hopper lid with ribs and a shading towards the right.
    RoundedRect(cr, 9.5, 8.5, 31.0, 29.0, 2.0);
    SetColour(cr, paintDark);
    cairo_fill(cr);
    RoundedRect(cr, 10.5, 9.5, 29.0, 27.0, 1.5);
    cairo_pattern_t* lid = cairo_pattern_create_linear(10, 0, 40, 0);
    cairo_pattern_add_color_stop_rgb(lid, 0.0, 1.0, 0.70, 0.26);
    cairo_pattern_add_color_stop_rgb(lid, 1.0, 0.80, 0.44, 0.08);
    cairo_set_source(cr, lid);
    cairo_fill(cr);
    cairo_pattern_destroy(lid);
    SetColour(cr, paintDark);
    cairo_set_line_width(cr, 1.0);
    for (double y = 13.0; y < 35.0; y += 4.0) {
      cairo_move_to(cr, 13.0, y);
      cairo_line_to(cr, 37.0, y);
    }
    cairo_stroke(cr);
    // Brush bristles and hubs.
    for (double x : {9.5, 40.5}) {
      SetColour(cr, {150, 170, 220});
      cairo_set_line_width(cr, 0.6);
      for (int i = 0; i < 12; ++i) {
        const double a = 2 * kPi * i / 12.0 + (x < 20 ? 0.0 : 0.26);
        cairo_move_to(cr, x + 2.4 * std::cos(a), 56.0 + 2.4 * std::sin(a));
        cairo_line_to(cr, x + 6.4 * std::cos(a + 0.3), 56.0 + 6.4 * std::sin(a + 0.3));
      }
      cairo_stroke(cr);
      cairo_new_sub_path(cr);
      cairo_arc(cr, x, 56.0, 2.2, 0, 2 * kPi);
      SetColour(cr, {200, 40, 32});
      cairo_fill(cr);
    }
    // Cab: windscreen at the front, amber beacon on the roof.
    RoundedRect(cr, 12.5, 53.0, 25.0, 4.5, 1.5);
    cairo_pattern_t* glass = cairo_pattern_create_linear(0, 53, 0, 57.5);
    cairo_pattern_add_color_stop_rgb(glass, 0.0, 0.20, 0.28, 0.38);
    cairo_pattern_add_color_stop_rgb(glass, 1.0, 0.62, 0.76, 0.88);
    cairo_set_source(cr, glass);
    cairo_fill(cr);
    cairo_pattern_destroy(glass);
    RoundedRect(cr, 12.5, 42.5, 25.0, 9.0, 2.0);
    SetColour(cr, {214, 210, 200});
    cairo_fill(cr);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 25.0, 47.0, 2.4, 0, 2 * kPi);
    SetColour(cr, {255, 176, 20});
    cairo_fill_preserve(cr);
    Highlight(cr, 25.0, 47.0, 2.4, -1.0, -1.0, 0.8);
    cairo_new_path(cr);
  }
}

}  // namespace

void DrawSoldier(cairo_t* cr, Look look, double angle) {
  const Style style = StyleOf(look);
  // The light comes from the upper left of the screen; express it in the figure's frame.
  const double lx = -std::cos(angle) * 0.707 - std::sin(angle) * 0.707;
  const double ly = std::sin(angle) * 0.707 - std::cos(angle) * 0.707;
  cairo_save(cr);
  cairo_rotate(cr, angle);
  SoldierPass(cr, style, true, lx, ly);
  SoldierPass(cr, style, false, lx, ly);
  cairo_restore(cr);
}

// Player.jpg and AiLVL0..5.jpg: 72 cells of 21x21 in a row, cell k facing 5k degrees
// (0 = right, 90 = down); image row at y 0, mask row at y 21; the figure's centre is the
// cell's pixel (10, 10).
Image DrawFighterSheet(Look look) {
  constexpr int kCell = 21;
  Image sheet(72 * kCell, 2 * kCell);
  for (int k = 0; k < 72; ++k) {
    Canvas cell(kCell, kCell);
    cairo_translate(cell.Cr(), 10.5, 10.5);
    DrawSoldier(cell.Cr(), look, 5.0 * k * kPi / 180.0);
    PutMasked(sheet, cell, {k * kCell, 0}, {k * kCell, kCell});
  }
  return sheet;
}

// Dead.jpg: four corpses of 20x20 stacked at y 0, 20, 40, 60; image column x 0, mask x 20.
Image DrawCorpses() {
  const Corpse corpses[4] = {
      {25.0, {98, 106, 64}, {-1.0, -4.2}, {2.5, 3.6}, 0.8, true, 11},
      {150.0, {176, 152, 108}, {-3.5, -3.0}, {-3.2, 3.2}, 1.6, false, 23},
      {250.0, {90, 94, 104}, {3.0, -3.2}, {-1.5, 4.2}, 0.4, true, 37},
      {335.0, {60, 92, 58}, {-2.8, -3.6}, {3.0, 2.4}, 1.2, true, 51},
  };
  Image sheet(40, 80);
  for (int i = 0; i < 4; ++i) {
    Canvas cell(20, 20);
    DrawCorpse(cell.Cr(), corpses[i]);
    PutMasked(sheet, cell, {0, 20 * i}, {20, 20 * i});
  }
  return sheet;
}

// AirPlane.jpg: 40x40, image at x 0 and mask at x 40, flying to the right.
Image DrawAirPlane() {
  Canvas cell(40, 40);
  DrawPlane(cell.Cr());
  Image sheet(80, 40);
  PutMasked(sheet, cell, {0, 0}, {40, 0});
  return sheet;
}

// Cleaner.jpg: 50x64, image at x 0 and mask at x 50, driving down the field.
Image DrawCleaner() {
  Canvas cell(50, 64);
  DrawSweeper(cell.Cr());
  Image sheet(100, 64);
  PutMasked(sheet, cell, {0, 0}, {50, 0});
  return sheet;
}

}  // namespace assetgen
