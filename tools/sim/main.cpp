// kesmir-sim: runs the real game code headless with the fake platform, no window and no waiting, and
// prints one JSON line of what happened and how long frames took.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/new_game.h"
#include "app/options.h"
#include "core/game.h"
#include "fakes/fake_platform.h"
#include "game/frame.h"
#include "game/geometry.h"
#include "input/keyboard.h"
#include "platform/sdl_platform.h"
#include "render/graphics.h"

namespace {

using kesmir::Fighter;
using kesmir::Game;

struct Options {
  std::uint64_t seed = 1;
  int minutes = 10;
  bool autopilot = false;
  bool maxLoad = false;
  long long maxFrames = -1;
};

bool ParseArgs(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&](long long& out) {
      if (i + 1 >= argc) return false;
      char* end = nullptr;
      out = std::strtoll(argv[++i], &end, 10);
      return end && *end == '\0' && out >= 0;
    };
    long long number = 0;
    if (arg == "--seed" && value(number)) {
      options.seed = static_cast<std::uint64_t>(number);
    } else if (arg == "--minutes" && value(number)) {
      options.minutes = static_cast<int>(std::min(number, 100000LL));
    } else if (arg == "--frames" && value(number)) {
      options.maxFrames = number;
    } else if (arg == "--autopilot") {
      options.autopilot = true;
    } else if (arg == "--max-load") {
      options.maxLoad = true;
    } else {
      std::fprintf(stderr,
                   "usage: kesmir-sim [--seed N] [--minutes M] [--frames F] [--autopilot] [--max-load]\n");
      return false;
    }
  }
  return true;
}

// A simple player: faces the nearest opponent and fires while it is in range, changes fire mode now and
// then, keeps its distance from opponents (their shots reach a little less far than its own), and walks to
// pick-ups when short of bullets or health.
constexpr double kKeepAway = 40;
constexpr double kWallPull = 0.01;
constexpr double kCircle = 95;

void Autopilot(kesmir::testing::FakeGame& g, long long frame) {
  Game& game = *g;
  const Fighter& me = game.play.Fighters[0];
  const double cx = me.X + 10.0;
  const double cy = me.Y + 10.0;
  double best = 1e9;
  double tx = cx + 50;
  double ty = cy;
  double awayX = 0;
  double awayY = 0;
  for (std::size_t i = 1; i < kesmir::kFighterSlots; ++i) {
    const Fighter& f = game.play.Fighters[i];
    if (f.Alive == 0) continue;
    const double dx = f.X + 10.0 - cx;
    const double dy = f.Y + 10.0 - cy;
    const double d = std::max(1.0, std::hypot(dx, dy));
    if (d < best) {
      best = d;
      // Aim where the opponent will be when the shot gets there.
      const double flight = d / std::max<int>(1, me.BulletSpeed);
      const double step = f.PathLeft > 0 ? f.Speed / 10.0 : 0.0;
      const double heading = f.Heading * game.app.DegToRad;
      tx = f.X + 10.0 + std::cos(heading) * step * flight;
      ty = f.Y + 10.0 + std::sin(heading) * step * flight;
    }
    if (d < kKeepAway) {  // every opponent close enough to shoot pushes the player away, the closest the most
      awayX -= dx / (d * d);
      awayY -= dy / (d * d);
    }
  }
  g.mouse.position = {static_cast<int>(std::lround(tx)), static_cast<int>(std::lround(ty))};
  game.input.FireHeld = best < me.Range + 10 ? kesmir::kTrue : 0;
  // Three shots at a pull when an opponent is close, where they hit; one otherwise, to save bullets.
  const int wantedMode = best < 40 ? 3 : 1;
  if (game.play.FireMode != wantedMode && frame % 4 == 0) game.input.FireModeKey = kesmir::kTrue;

  const auto& p = game.play;
  double gx = 0;
  double gy = 0;
  bool haveGoal = false;
  for (std::size_t j = 0; j < kesmir::kBoxSlots; ++j) {
    if (me.Ammo < 10 && p.AmmoBoxOn[j] != 0) { gx = p.AmmoBoxX[j] - 6; gy = p.AmmoBoxY[j] - 7; haveGoal = true; }
    if (me.Health < 60 && p.HealthBoxOn[j] != 0) { gx = p.HealthBoxX[j] - 7; gy = p.HealthBoxY[j] - 7; haveGoal = true; }
  }
  // Circle the middle of the field: opponents walk to where the player was when they set out, so a player
  // that keeps moving is rarely where their legs end.
  const double rx = me.X - 140;
  const double ry = me.Y - 140;
  const double radius = std::max(1.0, std::hypot(rx, ry));
  double mx = -ry / radius + (kCircle - radius) / radius * rx * 0.05;
  double my = rx / radius + (kCircle - radius) / radius * ry * 0.05;
  if (awayX != 0 || awayY != 0) {
    mx = awayX * 900 + (140 - me.X) * kWallPull;
    my = awayY * 900 + (140 - me.Y) * kWallPull;
  } else if (haveGoal) {
    mx = gx - me.X;
    my = gy - me.Y;
  }
  std::fill(std::begin(g.keyboard.keys), std::end(g.keyboard.keys), 0);
  const double length = std::hypot(mx, my);
  if (length == 0) return;
  if (mx / length < -0.38) g.keyboard.Press(kesmir::kDikA);
  if (mx / length > 0.38) g.keyboard.Press(kesmir::kDikD);
  if (my / length < -0.38) g.keyboard.Press(kesmir::kDikW);
  if (my / length > 0.38) g.keyboard.Press(kesmir::kDikS);
}

// Keeps every table full: 50 opponents around the player, 201 shots in flight, every blood particle alive.
void FillTables(Game& game, kesmir::Random& random) {
  auto& p = game.play;
  Fighter& player = p.Fighters[0];
  player.Health = 10000;
  player.Ammo = 100;
  for (std::size_t i = 1; i < kesmir::kFighterSlots; ++i) {
    Fighter& f = p.Fighters[i];
    if (f.Alive != 0 && f.Health > 1000) continue;
    f = Fighter{};
    f.Alive = kesmir::kTrue;
    f.X = static_cast<float>(20 + random.Rnd() * 260);
    f.Y = static_cast<float>(20 + random.Rnd() * 260);
    f.Health = 1e6f;
    f.Ammo = 1000;
    f.Speed = 10;
    f.Range = 80;
    f.Accuracy = 30;
    f.BulletSpeed = 3 + static_cast<kesmir::Integer>(i % 12);
    f.Recharge = 1;
    f.Kind = "AiLVL" + std::to_string((f.BulletSpeed - 3) / 2);
  }
  for (kesmir::Bullet& b : p.Bullets) {
    if (b.Life > 0) continue;
    b.Life = 200;
    b.Owner = static_cast<kesmir::Integer>(1 + static_cast<int>(random.Rnd() * 50));
    b.Direction = kesmir::SingleText(random.Rnd() * 360);
    b.X = 10 + random.Rnd() * 280;
    b.Y = 10 + random.Rnd() * 280;
    b.StepX = static_cast<float>(std::cos(b.Direction * game.app.DegToRad));
    b.StepY = static_cast<float>(std::sin(b.Direction * game.app.DegToRad));
    b.Speed = 3 + static_cast<kesmir::Integer>(random.Rnd() * 11);
  }
  for (std::size_t k = 0; k < kesmir::kBloodSlots; ++k) {
    if (p.BloodLife[k] > 0) continue;
    p.BloodLife[k] = 50;
    p.BloodX[k] = static_cast<float>(random.Rnd() * 300);
    p.BloodY[k] = static_cast<float>(random.Rnd() * 300);
    p.BloodAngle[k] = static_cast<kesmir::Integer>(random.Rnd() * 360);
    p.BloodSpeed[k] = 2;
  }
}

long Percentile(std::vector<long>& values, double q) {
  if (values.empty()) return 0;
  const auto k = static_cast<std::size_t>(q * static_cast<double>(values.size() - 1));
  std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(k), values.end());
  return values[k];
}

long MaxRssKb() {
  std::FILE* status = std::fopen("/proc/self/status", "r");
  if (!status) return 0;
  char line[256];
  long kb = 0;
  while (std::fgets(line, sizeof line, status)) {
    if (std::strncmp(line, "VmHWM:", 6) == 0) kb = std::strtol(line + 6, nullptr, 10);
  }
  std::fclose(status);
  return kb;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseArgs(argc, argv, options)) return 2;

  kesmir::testing::FakeGame g;
  Game& game = *g;
  std::error_code ec;
  const auto exeDir = std::filesystem::read_symlink("/proc/self/exe", ec).parent_path();
  game.app.DataDir = exeDir;
  game.random.Seed(options.seed);
  kesmir::SdlPictures pictures;  // the real picture files, decoded without a window
  game.platform.pictures = &pictures;
  game.app.DegToRad = std::atan(1.0) * 4.0 / 180.0;
  g.WriteUserFile("OtherFiles/Options.txt", "0\r\n0\r\n0\r\n8\r\n0\r\n0\r\n0\r\n70\r\n0\r\n0\r\n0\r\n1\r\n8\r\n0\r\n");
  kesmir::LoadSaveOptions(game, 0);
  kesmir::LoadGraphics(game);
  game.input.KeyState[0] = 0;
  g.keyboard.Acquire();
  game.app.InputAcquired = true;

  kesmir::NewGame(game);
  kesmir::Random loadRandom(options.seed ^ 0x5EEDULL);
  std::vector<long> frameNs;
  long long frames = 0;
  int spawned = 0;
  int waves = 0;
  int maxFightersAlive = 0;
  int maxBullets = 0;
  kesmir::Integer lastWaveCount = 0;
  std::vector<bool> wasAlive(kesmir::kFighterSlots, false);

  while (game.app.GameStarted != 0 && game.clock.GameMinutes < options.minutes &&
         (options.maxFrames < 0 || frames < options.maxFrames)) {
    if (options.autopilot) Autopilot(g, frames);
    if (options.maxLoad) FillTables(game, loadRandom);
    for (std::size_t i = 1; i < kesmir::kFighterSlots; ++i) wasAlive[i] = game.play.Fighters[i].Alive != 0;
    const auto start = std::chrono::steady_clock::now();
    kesmir::RunFrame(game);
    const auto end = std::chrono::steady_clock::now();
    frameNs.push_back(static_cast<long>(std::chrono::duration_cast<std::chrono::nanoseconds>(end - start).count()));
    ++frames;
    for (std::size_t i = 1; i < kesmir::kFighterSlots; ++i) {
      if (!wasAlive[i] && game.play.Fighters[i].Alive != 0) ++spawned;
    }
    if (game.app.WaveCount > lastWaveCount) ++waves;
    lastWaveCount = game.app.WaveCount;
    maxFightersAlive = std::max<int>(maxFightersAlive, game.play.FightersAlive);
    int bullets = 0;
    for (const kesmir::Bullet& b : game.play.Bullets) bullets += b.Life > 0 ? 1 : 0;
    maxBullets = std::max(maxBullets, bullets);
  }

  const long p50 = Percentile(frameNs, 0.5);
  const long p99 = Percentile(frameNs, 0.99);
  std::printf(
      "{\"frames\":%lld,\"game_minutes\":%d,\"game_seconds\":%d,\"spawned\":%d,\"waves\":%d,\"kills\":%d,"
      "\"score\":%d,\"player_alive\":%s,\"max_fighters_alive\":%d,\"max_bullets\":%d,\"frame_ns_p50\":%ld,"
      "\"frame_ns_p99\":%ld,\"max_rss_kb\":%ld}\n",
      frames, game.clock.GameMinutes, game.clock.GameSeconds, spawned, waves, game.play.Kills, game.play.Score,
      game.play.Fighters[0].Alive != 0 ? "true" : "false", maxFightersAlive, maxBullets, p50, p99, MaxRssKb());
  return 0;
}
