// The four base maps (grass, sand, snow, mud) and the Cleaner's clean ground, from seeded noise.
#include <algorithm>
#include <cmath>
#include <vector>

#include "art.h"
#include "noise.h"

namespace assetgen {
namespace {

double SmoothStep(double e0, double e1, double x) {
  const double t = std::clamp((x - e0) / (e1 - e0), 0.0, 1.0);
  return t * t * (3.0 - 2.0 * t);
}

// Light from the upper left over a height field: positive on slopes facing the light.
double Relief(double x, double y, double scale, int octaves, std::uint32_t seed) {
  const double a = Fbm((x - 1.0) / scale, (y - 1.0) / scale, octaves, seed);
  const double b = Fbm((x + 1.0) / scale, (y + 1.0) / scale, octaves, seed);
  return (a - b) * scale * 0.08;
}

struct Blob {
  double x;
  double y;
  double r;
};

// Fixed scatter of round features (shrubs, stones) over the 300x300 map.
std::vector<Blob> Scatter(std::uint64_t seed, int count, double rMin, double rMax) {
  Random rng(seed);
  std::vector<Blob> blobs;
  for (int i = 0; i < count; ++i) {
    blobs.push_back({rng.Range(0, 300), rng.Range(0, 300), rng.Range(rMin, rMax)});
  }
  return blobs;
}

// Distance-to-edge weight of the nearest blob (1 at a centre, 0 outside), with its centre.
double NearestBlob(const std::vector<Blob>& blobs, double x, double y, const Blob** hit) {
  double best = 0.0;
  for (const Blob& b : blobs) {
    const double d = std::hypot(x - b.x, y - b.y);
    if (d < b.r && 1.0 - d / b.r > best) {
      best = 1.0 - d / b.r;
      *hit = &b;
    }
  }
  return best;
}

Rgb Grass(int x, int y) {
  const double big = Fbm(x / 70.0, y / 70.0, 5, 1001);
  const double mid = Fbm(x / 14.0, y / 14.0, 3, 1002);
  const double fine = HashNoise(x, y, 1003);
  Rgb c = Mix({50, 88, 34}, {126, 154, 62}, big * 1.3 - 0.15);
  c = Shade(c, 0.86 + 0.26 * mid + 0.10 * (fine - 0.5));
  // Blades catching the light, and darker clumps.
  if (fine > 0.975) c = Mix(c, {170, 190, 96}, 0.35);
  if (fine < 0.025) c = Shade(c, 0.82);
  // Bare earth patches with a soft edge.
  const double dirt = Fbm(x / 38.0 + 40.0, y / 38.0, 4, 1004);
  const double earth = SmoothStep(0.63, 0.70, dirt);
  if (earth > 0.0) {
    Rgb soil = Shade({116, 90, 60}, 0.85 + 0.3 * Fbm(x / 6.0, y / 6.0, 2, 1005));
    if (HashNoise(x, y, 1006) > 0.97) soil = {160, 150, 132};
    c = Mix(c, soil, earth);
  }
  c = Shade(c, 1.0 + 0.8 * Relief(x, y, 30.0, 3, 1007));
  // Small flowers in the grass.
  const double flower = HashNoise(x, y, 1008);
  if (earth < 0.1 && flower > 0.9988) {
    const int kind = static_cast<int>(HashNoise(x, y, 1009) * 3.0);
    const Rgb petals[3] = {{236, 236, 214}, {246, 214, 64}, {178, 120, 220}};
    c = petals[kind];
  }
  return c;
}

Rgb Sand(int x, int y) {
  static const std::vector<Blob> shrubs = Scatter(2001, 18, 3.0, 6.0);
  static const std::vector<Blob> stones = Scatter(2002, 40, 1.2, 2.6);
  const double big = Fbm(x / 80.0, y / 80.0, 4, 2003);
  Rgb c = Mix({188, 150, 96}, {226, 198, 142}, big * 1.4 - 0.2);
  // Wind ripples bending around the dunes.
  const double warp = Fbm(x / 60.0, y / 60.0, 3, 2004) * 24.0;
  const double ripple = std::sin((x * 0.45 + y * 0.8 + warp * 5.0) * 0.5);
  const double rippleStrength = SmoothStep(0.35, 0.6, Fbm(x / 50.0 + 9, y / 50.0, 3, 2005));
  c = Shade(c, 1.0 + 0.07 * ripple * rippleStrength);
  c = Shade(c, 1.0 + 1.2 * Relief(x, y, 45.0, 3, 2006));
  c = Shade(c, 0.95 + 0.1 * HashNoise(x, y, 2007));
  // Gravel fields.
  const double gravel = SmoothStep(0.6, 0.7, Fbm(x / 30.0, y / 30.0 + 7, 3, 2008));
  if (gravel > 0.0 && HashNoise(x, y, 2009) > 0.85) c = Mix(c, {164, 140, 104}, gravel * 0.6);
  const Blob* hit = nullptr;
  if (const double s = NearestBlob(stones, x, y, &hit); s > 0.0) {
    const double lit = std::clamp(((hit->x - x) + (hit->y - y)) / hit->r, -1.0, 1.0);
    c = Mix({108, 96, 80}, {170, 158, 138}, 0.5 + 0.5 * lit);
  }
  if (const double s = NearestBlob(shrubs, x, y, &hit); s > 0.0) {
    const double twig = ValueNoise(std::atan2(y - hit->y, x - hit->x) * 3.0 + hit->x, 0.5, 2010);
    if (s > 0.6 - 0.6 * twig) {
      c = Mix({62, 70, 34}, {136, 138, 70}, s * 0.7 + 0.4 * HashNoise(x, y, 2011));
    }
  }
  return c;
}

Rgb Snow(int x, int y) {
  const double drift = Fbm(x / 55.0, y / 55.0, 5, 3001);
  Rgb c = Mix({200, 212, 230}, {246, 248, 252}, drift * 1.5 - 0.2);
  c = Shade(c, 1.0 + 1.6 * Relief(x, y, 40.0, 4, 3002));
  c = Shade(c, 0.97 + 0.05 * HashNoise(x, y, 3003));
  // Rock and dead grass showing through thin snow.
  const double thin = Fbm(x / 28.0 + 30, y / 28.0, 4, 3004);
  const double bare = SmoothStep(0.31, 0.25, thin);
  if (bare > 0.0) {
    const Rgb ground = Mix({78, 84, 80}, {120, 116, 96}, Fbm(x / 5.0, y / 5.0, 2, 3005));
    c = Mix(c, ground, bare * (0.8 + 0.2 * HashNoise(x, y, 3006)));
  }
  // Glassy ice.
  const double ice = SmoothStep(0.7, 0.74, Fbm(x / 40.0, y / 40.0 + 50, 3, 3007));
  if (ice > 0.0) {
    const double streak = 0.5 + 0.5 * std::sin((x - y) * 0.3 + Fbm(x / 9.0, y / 9.0, 2, 3008) * 4);
    c = Mix(c, Mix({190, 214, 236}, {222, 236, 248}, streak), ice * 0.8);
  }
  if (HashNoise(x, y, 3009) > 0.996) c = {255, 255, 255};
  return c;
}

Rgb Mud(int x, int y) {
  static const std::vector<Blob> stones = Scatter(4001, 30, 1.0, 2.2);
  const double big = Fbm(x / 60.0, y / 60.0, 5, 4002);
  Rgb c = Mix({60, 44, 30}, {118, 90, 60}, big * 1.4 - 0.2);
  c = Shade(c, 0.9 + 0.2 * Fbm(x / 8.0, y / 8.0, 3, 4003));
  c = Shade(c, 1.0 + 1.4 * Relief(x, y, 20.0, 3, 4004));
  c = Shade(c, 0.94 + 0.12 * HashNoise(x, y, 4005));
  // Tyre ruts: two parallel tracks winding across the map.
  const double path = 150.0 + 70.0 * std::sin(x / 75.0 + 0.6) + 12.0 * std::sin(x / 23.0);
  for (double offset : {-11.0, 11.0}) {
    const double d = std::abs(y - (path + offset));
    if (d < 3.5) {
      const double tread = (static_cast<int>(x + offset) / 3) % 2 == 0 ? 0.92 : 1.0;
      c = Shade(Mix(c, {44, 32, 22}, 0.6 * (1.0 - d / 3.5)), tread);
    } else if (d < 5.0) {
      c = Shade(c, 1.12);  // the ridge pushed up beside the rut
    }
  }
  // Puddles with a dark wet rim and the sky in them.
  const double wet = Fbm(x / 42.0 + 11, y / 42.0, 4, 4006);
  if (wet < 0.36) {
    const double depth = SmoothStep(0.36, 0.31, wet);
    const double sky = Fbm(x / 25.0, y / 25.0, 2, 4007);
    const Rgb water = Mix({40, 38, 32}, {104, 108, 106}, 0.2 + 0.5 * sky);
    c = Mix(Shade(c, 0.7), water, depth);
  }
  // Dry tufts on the high ground.
  if (big > 0.62 && HashNoise(x, y, 4008) > 0.9) c = Mix(c, {104, 110, 52}, 0.7);
  const Blob* hit = nullptr;
  if (NearestBlob(stones, x, y, &hit) > 0.0) {
    const double lit = std::clamp(((hit->x - x) + (hit->y - y)) / hit->r, -1.0, 1.0);
    c = Mix({88, 82, 74}, {150, 144, 132}, 0.5 + 0.5 * lit);
  }
  return c;
}

}  // namespace

Rgb GroundColour(int number, int x, int y) {
  switch (number) {
    case 2:
      return Sand(x, y);
    case 3:
      return Snow(x, y);
    case 4:
      return Mud(x, y);
    default:
      return Grass(x, y);
  }
}

// Map01..Map04.jpg: 300x300 base maps, grass, sand, snow and mud, seen from above.
Image DrawMap(int number) {
  Image map(300, 300);
  for (int y = 0; y < 300; ++y) {
    for (int x = 0; x < 300; ++x) map.Set(x, y, GroundColour(number, x, y));
  }
  return map;
}

// CleanLine.jpg: 49x360 of freshly swept earth, brush marks running down the column; rows
// are copied at the height they lie, so the picture reaches below the field's 300 rows.
Image DrawCleanLine() {
  Image line(49, 360);
  for (int y = 0; y < 360; ++y) {
    for (int x = 0; x < 49; ++x) {
      const double tone = Fbm(x / 30.0, y / 30.0, 4, 5001);
      Rgb c = Mix({112, 96, 72}, {146, 126, 96}, tone);
      const double brush = ValueNoise(x * 0.8, y * 0.03, 5002) - 0.5;
      c = Shade(c, 1.0 + 0.12 * brush + 0.08 * (HashNoise(x, y, 5003) - 0.5));
      const double edge = std::min(x, 48 - x);
      if (edge < 2) c = Shade(c, 0.88 + 0.05 * edge);
      line.Set(x, y, c);
    }
  }
  return line;
}

}  // namespace assetgen
