// The bomb's explosion animation and the crater it leaves, painted pixel by pixel from noise.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "art.h"
#include "noise.h"

namespace assetgen {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr int kFrames = 27;
constexpr int kSize = 64;
constexpr double kCentre = 31.5;

// Black-body style ramp from dull red through orange and yellow to white.
Rgb FireColour(double t) {
  t = std::clamp(t, 0.0, 1.0);
  const Rgb stops[] = {{60, 12, 6}, {170, 34, 10}, {236, 104, 18}, {255, 196, 60}, {255, 250, 220}};
  const double at = t * 4.0;
  const int i = std::min(3, static_cast<int>(at));
  return Mix(stops[i], stops[i + 1], at - i);
}

struct Spark {
  double angle;
  double speed;
  double size;
  bool ember;  // glowing spark, else a clod of earth
};

std::vector<Spark> MakeSparks() {
  Random rng(4077);
  std::vector<Spark> sparks;
  for (int i = 0; i < 26; ++i) {
    sparks.push_back({rng.Range(0, 2 * kPi), rng.Range(1.6, 3.4), rng.Range(0.7, 1.4), i % 3 != 0});
  }
  return sparks;
}

// One frame: a white flash (frames 0-2), a billowing fireball (3-9), fire sinking into thick
// smoke (10-17), smoke thinning away (18-26). Frame 8 is the blast that marks the ground.
void DrawFrame(Canvas& cell, int frame, const std::vector<Spark>& sparks) {
  const double f = frame;
  const double radius = 6.0 + 24.0 * (1.0 - std::exp(-f / 3.2));
  const double fire = frame <= 5 ? 1.0 : std::max(0.0, 1.0 - (f - 5.0) / 11.0);
  const double flash = std::max(0.0, 1.0 - f / 3.0);
  // Smoke density: solid until frame 15, then thinning to almost nothing at the last frame.
  const double density = frame <= 15 ? 1.0 : std::max(0.0, 1.0 - (f - 15.0) / 12.0);
  const double rise = f * 0.35;  // the cloud drifts up as it ages
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const double dx = x - kCentre;
      const double dy = y - kCentre + rise;
      const double r = std::hypot(dx, dy);
      const double a = std::atan2(dy, dx);
      const double billow = Fbm(x * 0.11 + f * 0.07, y * 0.11 - f * 0.12, 4, 901);
      const double edge = radius * (0.72 + 0.5 * billow) + 3.0 * flash *
                          std::pow(std::abs(std::cos(a * 4.0 + 0.5)), 6.0);
      if (r >= edge) continue;
      const double d = r / edge;
      const double turbulence = Fbm(x * 0.2 - f * 0.15, y * 0.2 + f * 0.1, 3, 1733);
      double heat = fire * (1.15 - d * 1.1) * (0.55 + 0.8 * turbulence) + flash * (1.0 - d);
      heat = std::clamp(heat, 0.0, 1.0);
      const double grey = 38.0 + 70.0 * billow + 40.0 * (f / kFrames);
      Rgb smoke{static_cast<std::uint8_t>(std::min(255.0, grey + 6.0)),
                static_cast<std::uint8_t>(std::min(255.0, grey + 2.0)),
                static_cast<std::uint8_t>(std::min(255.0, grey))};
      // Light from the fire on the underside of the smoke.
      smoke = Mix(smoke, {150, 70, 30}, fire * 0.35 * (1.0 - d));
      const Rgb c = heat > 0.12 ? Mix(smoke, FireColour(heat), std::min(1.0, (heat - 0.12) * 2.4))
                                : smoke;
      // The rim of the cloud and its late frames thin out; dithering turns that into holes.
      double alpha = std::min(1.0, (1.0 - d) * 5.0);
      if (density < 1.0) {
        alpha *= std::min(1.0, density * 2.2 * (0.4 + 0.8 * billow) * (1.2 - d * 0.6));
      }
      cell.SetPixel(x, y, c, std::clamp(alpha, 0.0, 1.0));
    }
  }
  // Sparks and clods flying out during the first half.
  if (frame >= 1 && frame <= 13) {
    for (const Spark& s : sparks) {
      const double dist = 4.0 + s.speed * f * 2.2;
      if (dist > 31.0) continue;
      const double px = kCentre + dist * std::cos(s.angle);
      const double py = kCentre + dist * std::sin(s.angle) + (s.ember ? 0.0 : 0.06 * f * f);
      const Rgb c = s.ember ? FireColour(1.0 - f / 16.0) : Rgb{58, 44, 30};
      cairo_t* cr = cell.Cr();
      cairo_new_sub_path(cr);
      cairo_arc(cr, px, py, s.size, 0, 2 * kPi);
      SetColour(cr, c);
      cairo_fill(cr);
    }
  }
}

}  // namespace

// Explosion.jpg: 27 frames of 64x64 in a row, frame k at x 64k; image row y 0, mask row y 64.
Image DrawExplosion() {
  Image sheet(kFrames * kSize, 2 * kSize);
  const std::vector<Spark> sparks = MakeSparks();
  for (int frame = 0; frame < kFrames; ++frame) {
    Canvas cell(kSize, kSize);
    DrawFrame(cell, frame, sparks);
    PutMasked(sheet, cell, {frame * kSize, 0}, {frame * kSize, kSize}, Edge::kDithered);
  }
  return sheet;
}

// BoomDirt.jpg: the crater, 64x64, image at x 0 and mask at x 64. A dark pit, a rim of thrown-up
// earth lit from the upper left, and soot streaks whose dithered ends fade into the ground.
Image DrawCrater() {
  Canvas cell(kSize, kSize);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const double dx = x - kCentre;
      const double dy = y - kCentre;
      const double a = std::atan2(dy, dx);
      const double wobble = Fbm(std::cos(a) * 1.6 + 5.0, std::sin(a) * 1.6 + 5.0, 3, 311);
      const double r = std::hypot(dx, dy) / (15.0 + 6.0 * wobble);
      const double grain = Fbm(x * 0.35, y * 0.35, 3, 512);
      const double streak = ValueNoise(a * 7.0 + 20.0, 0.5, 77);
      Rgb c;
      double alpha = 1.0;
      const double rimLine = 0.62 + 0.12 * ValueNoise(a * 3.0 + 9.0, 1.5, 313);
      if (r < rimLine) {  // the pit, darkest in the middle
        const double depth = 1.0 - r / rimLine;
        c = Mix({70, 56, 42}, {16, 13, 11}, depth * 0.95 + grain * 0.15);
        // The far (lower right) wall catches the light.
        c = Mix(c, {96, 78, 58}, std::max(0.0, (dx + dy) / 34.0) * (1.0 - depth));
      } else if (r < 1.0) {  // the rim of thrown-up earth
        const double light = std::clamp(0.5 - (dx + dy) / 36.0, 0.0, 1.0);
        const double clods = Fbm(x * 0.5, y * 0.5, 2, 733);
        c = Mix({54, 44, 34}, {112, 92, 68}, light * 0.7 + clods * 0.5 - 0.15);
      } else {  // scorched ground around it
        const double fall = (r - 1.0) / 1.0;
        if (fall >= 1.0) continue;
        c = Mix({24, 21, 18}, {58, 48, 38}, grain);
        alpha = std::clamp((1.0 - fall) * (0.2 + 1.1 * streak), 0.0, 1.0);
      }
      // Small stones thrown about.
      if (HashNoise(x, y, 919) > 0.985 && r < 1.5) c = Mix(c, {150, 140, 124}, 0.7);
      cell.SetPixel(x, y, c, alpha);
    }
  }
  Image sheet(2 * kSize, kSize);
  PutMasked(sheet, cell, {0, 0}, {kSize, 0}, Edge::kDithered);
  return sheet;
}

}  // namespace assetgen
