// The headless simulator: frames of the real game code on the fake platform, measured.
#include "simulation.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include "app/new_game.h"
#include "app/options.h"
#include "audio/sound_bank.h"
#include "core/game.h"
#include "fakes/fake_platform.h"
#include "fakes/surface_hash.h"
#include "game/frame.h"
#include "input/keyboard.h"
#include "render/effects.h"
#include "render/graphics.h"
#include "replay/player.h"
#include "replay/recorder.h"
#include "scores/high_scores.h"
#include "scores/name_entry.h"

namespace kesmir::sim {

namespace {

using kesmir::Fighter;
using kesmir::Game;

// The autopilot's habits, in pixels: it flees an opponent closer than kKeepAway, circles the middle at
// kCircle, takes a pick-up only when no opponent stands within kPickUpSafety of it, and fires three shots
// at a pull at an opponent closer than kSpreadDistance.
constexpr long kPassMicros = 31000;  // a pass of the game: 30 ms plus one tick
constexpr double kKeepAway = 35;
constexpr double kWallPull = 0.01;
constexpr double kCircle = 95;
constexpr double kPickUpSafety = 70;
constexpr double kSpreadDistance = 25;
constexpr double kBombSafety = 75;
constexpr int kBombGroup = 2;

// With more than 14 bullets, calls a bomb run on the largest group of opponents that stands well away from
// the player.
void BombClusters(kesmir::testing::FakeGame& g) {
  Game& game = *g;
  const Fighter& me = game.play.Fighters[0];
  if (me.Ammo <= 14 || game.effects.AirPlaneOn != 0 || game.play.ShakeOn != 0) return;
  int bestCount = 0;
  double bx = 0;
  double by = 0;
  for (std::size_t i = 1; i < kesmir::kFighterSlots; ++i) {
    const Fighter& a = game.play.Fighters[i];
    if (a.Alive == 0 || std::hypot(a.X - me.X, a.Y - me.Y) < kBombSafety) continue;
    int count = 0;
    double sx = 0;
    double sy = 0;
    for (std::size_t j = 1; j < kesmir::kFighterSlots; ++j) {
      const Fighter& b = game.play.Fighters[j];
      if (b.Alive == 0 || std::hypot(b.X - a.X, b.Y - a.Y) > 30) continue;
      ++count;
      sx += b.X + 10;
      sy += b.Y + 10;
    }
    if (count > bestCount) {
      bestCount = count;
      bx = sx / count;
      by = sy / count;
    }
  }
  if (bestCount < kBombGroup || std::hypot(bx - me.X - 10, by - me.Y - 10) < kBombSafety) return;
  g.mouse.position = {static_cast<int>(std::lround(bx)) + 3, static_cast<int>(std::lround(by)) + 3};
  game.input.BombClick = kTrue;
}

// A simple player: faces the nearest opponent (aiming where it will be), fires while it is in range,
// changes fire mode by distance, walks to pick-ups when short and safe, runs from melee, and otherwise
// circles the middle of the field, since opponents walk to where the player was when they set out.
void AutopilotWants(kesmir::testing::FakeGame& g, long long frame) {
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
  BombClusters(g);
  game.input.FireHeld = best < me.Range + 10 ? kesmir::kTrue : 0;
  // Three shots at a pull when an opponent is close, where they hit; one otherwise, to save bullets.
  const int wantedMode = best < kSpreadDistance ? 3 : 1;
  if (game.play.FireMode != wantedMode && frame % 4 == 0) game.input.FireModeKey = kesmir::kTrue;

  // The nearest pick-up worth taking that no opponent stands near.
  const auto& p = game.play;
  double gx = 0;
  double gy = 0;
  bool haveGoal = false;
  double goalDistance = 1e9;
  auto consider = [&](double x, double y) {
    for (std::size_t i = 1; i < kesmir::kFighterSlots; ++i) {
      const Fighter& f = game.play.Fighters[i];
      if (f.Alive != 0 && std::hypot(f.X + 10.0 - x, f.Y + 10.0 - y) < kPickUpSafety) return;
    }
    const double d = std::hypot(x - cx, y - cy);
    if (d < goalDistance) {
      goalDistance = d;
      gx = x - 10;
      gy = y - 10;
      haveGoal = true;
    }
  };
  for (std::size_t j = 0; j < kesmir::kBoxSlots; ++j) {
    if (me.Ammo < 15 * (16 - me.Recharge) && p.AmmoBoxOn[j] != 0) consider(p.AmmoBoxX[j] + 4, p.AmmoBoxY[j] + 3);
    if (me.Health < 30 * me.BulletSpeed && p.HealthBoxOn[j] != 0) consider(p.HealthBoxX[j] + 3, p.HealthBoxY[j] + 3);
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

// The buttons the autopilot holds down through the window's events.
struct Hands {
  bool throughEvents = false;
  bool firing = false;
  bool bombDown = false;
};

void Autopilot(kesmir::testing::FakeGame& g, long long frame, Hands& hands) {
  Game& game = *g;
  // A recorded game hears the autopilot only through the window's events, as it would hear a player.
  if (hands.throughEvents) {
    const InputState before = game.input;
    game.input.BombClick = 0;
    game.input.FireModeKey = 0;
    AutopilotWants(g, frame);
    const bool fire = game.input.FireHeld != 0;
    const bool bomb = game.input.BombClick != 0;
    const bool mode = game.input.FireModeKey != 0;
    game.input = before;
    auto& events = g.window.events;
    const Point at = g.mouse.position;
    if (fire != hands.firing) events.push_back({fire ? EventKind::MouseDown : EventKind::MouseUp, 1, at});
    hands.firing = fire;
    // The button goes up once the game has seen it down.
    if (hands.bombDown && events.empty()) events.push_back({EventKind::MouseUp, 2, at});
    hands.bombDown = hands.bombDown && !events.empty() && !bomb;
    if (bomb && !hands.bombDown) events.push_back({EventKind::MouseDown, 2, at}), hands.bombDown = true;
    if (mode) events.push_back({EventKind::KeyDown, 17, {}}), events.push_back({EventKind::KeyUp, 17, {}});
    return;
  }
  AutopilotWants(g, frame);
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

void InitDirectInputForSim(kesmir::testing::FakeGame& g) {
  g.keyboard.Acquire();
  g->app.InputAcquired = true;
}

// What the player heard since the last call: every sound started, with its start, loop, level and pan, then
// every buffer's level and whether it plays. The record of starts is emptied.
std::uint64_t SoundHash(std::uint64_t hash, kesmir::testing::FakeSound& sound) {
  for (const auto& s : sound.starts) {
    for (const long long v : {static_cast<long long>(s.buffer), static_cast<long long>(s.startByte),
                              static_cast<long long>(s.loop), static_cast<long long>(s.volume),
                              static_cast<long long>(s.pan)}) {
      hash = hash * 31 + static_cast<std::uint64_t>(v);
    }
  }
  sound.starts.clear();
  for (const auto& [buffer, b] : sound.buffers) {
    hash = hash * 31 + static_cast<std::uint64_t>(static_cast<long long>(b.volume) * 2 + (b.playing ? 1 : 0));
  }
  return hash;
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


// Under maximum load every effect runs all the time: a full sky of snow, an explosion, a bomb run and the
// Cleaner, each started again as soon as it ends.
void KeepEffectsRunning(Game& game) {
  game.effects.SnowAmount = 1000;
  if (game.play.ShakeOn == 0) UpdateExplosion(game, kTrue, 100, 100);
  if (game.effects.AirPlaneOn == 0) {
    game.play.Fighters[0].Ammo = 100;
    UpdateAirPlane(game, 0, 0, kTrue, 0);
  }
  if (game.play.CleanerOn == 0) UpdateCleaner(game, kTrue);
}

// After the end of a game: the high-score screen takes the name when the score entered the list. Returns
// the final score; place is where it entered, or -1.
int EnterName(kesmir::testing::FakeGame& g, const std::string& name, int& place) {
  Game& game = *g;
  const int score = AddSat(game.play.StatBonus, game.play.Score);
  place = game.scores.NameEntryOn == kTrue ? game.scores.InsertIndex : -1;
  if (place < 0 || name.empty()) return score;
  HighScoresScreen(game);  // gives the name box the focus
  for (unsigned char c : name) YourName_KeyPress(game, c);
  game.input.KeyState[kDikReturn] = 0x80;
  HighScoresScreen(game);
  game.input.KeyState[kDikReturn] = 0;
  return score;
}

// A fighter far outside the field has left the game's reach: opponents start 210 pixels from the middle
// and are pushed back in, so nothing should ever be much further out.
bool InBounds(const Fighter& f) { return f.X > -200 && f.X < 500 && f.Y > -200 && f.Y < 500; }

}  // namespace

SimResult RunSimulation(const SimOptions& options) {
  kesmir::testing::FakeGame g;
  Game& game = *g;
  g.window.keepField = false;
  if (!options.dataDir.empty()) game.app.DataDir = options.dataDir;
  if (!options.userDir.empty()) game.app.UserDir = options.userDir;
  game.random.Seed(options.seed);
  if (options.pictures) game.platform.pictures = options.pictures;
  if (options.fonts) game.platform.fonts = options.fonts;
  game.app.DegToRad = std::atan(1.0) * 4.0 / 180.0;
  // In place before the pictures are read, so that a game that keeps the shipped terrain records only its changes.
  std::unique_ptr<replay::Recorder> recorder;
  if (!options.recordTo.empty()) recorder = std::make_unique<replay::Recorder>(game.platform, "kesmir-sim");
  g.WriteUserFile("OtherFiles/Options.txt", "0\r\n0\r\n0\r\n8\r\n0\r\n0\r\n0\r\n70\r\n0\r\n0\r\n0\r\n1\r\n8\r\n0\r\n");
  LoadSaveOptions(game, 0);
  LoadGraphics(game);
  LoadSounds(game);
  InitDirectInputForSim(g);
  Hands hands;
  hands.throughEvents = recorder || options.paceByClock;
  NewGame(game);
  Random loadRandom(options.seed ^ 0x5EEDULL);
  Random sampleRandom(options.seed ^ 0x7157ULL);
  double averageFrameMicros = 0;
  // Frame times: every frame up to the capacity, then a uniform sample of them (reservoir sampling), so
  // that a long run's memory stays flat.
  constexpr std::size_t kTimeSamples = 1 << 16;
  std::vector<long> frameNs;
  frameNs.reserve(kTimeSamples);
  SimResult r;
  Integer lastWaveCount = 0;
  std::vector<bool> wasAlive(kFighterSlots, false);

  while (game.app.GameStarted != 0 && (options.untilDeath || game.clock.GameMinutes < options.minutes) &&
         (options.maxFrames < 0 || r.frames < options.maxFrames)) {
    if (options.autopilot) Autopilot(g, r.frames, hands);
    if (options.maxLoad) {
      FillTables(game, loadRandom);
      KeepEffectsRunning(game);
    }
    if (options.immortal) game.play.Fighters[0].Health = static_cast<float>(30.0 * game.play.Fighters[0].BulletSpeed);
    for (std::size_t i = 1; i < kFighterSlots; ++i) wasAlive[i] = game.play.Fighters[i].Alive != 0;
    const auto start = std::chrono::steady_clock::now();
    RunFrame(game);
    const auto end = std::chrono::steady_clock::now();
    const long ns = static_cast<long>(std::chrono::duration_cast<std::chrono::nanoseconds>(end - start).count());
    if (frameNs.size() < kTimeSamples) {
      frameNs.push_back(ns);
    } else {
      const auto slot = static_cast<long long>(sampleRandom.Rnd() * static_cast<double>(r.frames + 1));
      if (slot < static_cast<long long>(kTimeSamples)) frameNs[static_cast<std::size_t>(slot)] = ns;
    }
    // The fakes keep a record of every sound and text for tests; a long run has no use for it.
    if (r.frames % 1024 == 0) g.fonts.calls.clear();
    // Nothing waits here, so the spare time of a 31 ms pass is worked out from what frames cost; the snow
    // reads it on the next frame. A running average, not the single frame, so that one hiccup of the
    // machine does not change the game and the same seed still plays the same game.
    averageFrameMicros += (static_cast<double>(ns) / 1000.0 - averageFrameMicros) / 64.0;
    const long spareMicros = options.busy ? 0 : std::max(0L, kPassMicros - static_cast<long>(averageFrameMicros));
    if (!options.paceByClock && !recorder) game.clock.MaxSpin = static_cast<Long>(spareMicros * 10 / 3);
    if (r.frames % 32 == 0) {
      r.stateHash = SoundHash(r.stateHash * 31 + testing::PixelHash(game.surfaces.Field), g.sound);
    }
    ++r.frames;
    for (std::size_t i = 1; i < kFighterSlots; ++i) {
      const Fighter& f = game.play.Fighters[i];
      if (!wasAlive[i] && f.Alive != 0) ++r.spawned;
      if (f.Alive != 0 && !InBounds(f)) r.fightersInBounds = false;
    }
    if (game.app.WaveCount > lastWaveCount) ++r.waves;
    lastWaveCount = game.app.WaveCount;
    r.maxFightersAlive = std::max<int>(r.maxFightersAlive, game.play.FightersAlive);
    if (r.rssAfterFirstMinuteKb == 0 && game.clock.GameMinutes >= 1) r.rssAfterFirstMinuteKb = MaxRssKb();
    int bullets = 0;
    for (const Bullet& b : game.play.Bullets) bullets += b.Life > 0 ? 1 : 0;
    r.maxBullets = std::max(r.maxBullets, bullets);
  }

  if (r.gameEnded || game.app.GameStarted == 0) {
    r.finalScore = EnterName(g, options.name, r.highScorePlace);
  }
  for (const Surface* drawn : {&game.surfaces.Field, &game.surfaces.Terain, &game.surfaces.StatusField}) {
    r.stateHash = r.stateHash * 31 + testing::PixelHash(*drawn);
  }
  r.stateHash = SoundHash(r.stateHash, g.sound);
  const EffectTallies& t = game.effects.Tallies;
  r.effects = {t.SupplyRuns, t.Bombs, t.Explosions, t.DrugsTaken, t.CleanerRuns, t.FlakesSettled, t.BloodStains};
  r.gameMinutes = game.clock.GameMinutes;
  r.gameSeconds = game.clock.GameSeconds;
  r.kills = game.play.Kills;
  r.score = game.play.Score;
  r.gameEnded = r.gameEnded || game.app.GameStarted == 0;
  r.playerAlive = !r.gameEnded && game.play.Fighters[0].Alive != 0;
  r.frameNsP50 = Percentile(frameNs, 0.5);
  r.frameNsP99 = Percentile(frameNs, 0.99);
  r.maxRssKb = MaxRssKb();
  if (recorder && !recorder->LastFile().empty()) {
    std::error_code ec;
    std::filesystem::rename(recorder->LastFile(), options.recordTo, ec);
    if (ec) std::filesystem::copy_file(recorder->LastFile(), options.recordTo, std::filesystem::copy_options::overwrite_existing, ec);
    if (ec) std::fprintf(stderr, "kesmir-sim: cannot write %s: %s\n", options.recordTo.c_str(), ec.message().c_str());
  } else if (recorder) {
    std::fprintf(stderr, "kesmir-sim: the game did not end, so nothing was recorded\n");
  }
  return r;
}

std::string ResultJson(const SimResult& r) {
  char line[2048];
  std::snprintf(line, sizeof line,
                "{\"frames\":%lld,\"game_minutes\":%d,\"game_seconds\":%d,\"spawned\":%d,\"waves\":%d,"
                "\"kills\":%d,\"score\":%d,\"player_alive\":%s,\"max_fighters_alive\":%d,\"max_bullets\":%d,"
                "\"frame_ns_p50\":%ld,\"frame_ns_p99\":%ld,\"max_rss_kb\":%ld,\"supply_runs\":%lld,\"bombs\":%lld,"
                "\"explosions\":%lld,\"drugs_taken\":%lld,\"cleaner_runs\":%lld,\"flakes_settled\":%lld,"
                "\"blood_stains\":%lld,\"final_score\":%d,\"high_score_place\":%d,\"rss_after_first_minute_kb\":%ld,"
                "\"state_hash\":\"%016llx\"}",
                r.frames, r.gameMinutes, r.gameSeconds, r.spawned, r.waves, r.kills, r.score,
                r.playerAlive ? "true" : "false", r.maxFightersAlive, r.maxBullets, r.frameNsP50, r.frameNsP99,
                r.maxRssKb, r.effects.supplyRuns, r.effects.bombs, r.effects.explosions, r.effects.drugsTaken,
                r.effects.cleanerRuns, r.effects.flakesSettled, r.effects.bloodStains, r.finalScore,
                r.highScorePlace, r.rssAfterFirstMinuteKb, static_cast<unsigned long long>(r.stateHash));
  return line;
}

}  // namespace kesmir::sim
