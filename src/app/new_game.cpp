// Starting a game, reading fighter definitions and spawning opponents.
#include "app/new_game.h"

#include <cmath>
#include <cstdio>

#include "app/end_game.h"
#include "app/folders.h"
#include "audio/sound_bank.h"
#include "core/files.h"
#include "render/graphics.h"

namespace kesmir {

namespace {

constexpr int kMaxDefinitionLines = 5001;
constexpr std::size_t kMaxDefinitionBytes = 1 << 20;

// The lines of a definition file up to "END"; the end of the file counts as "END".
std::optional<std::vector<std::string>> DefinitionLines(Game& game, std::string_view folder, std::string_view file) {
  const auto path = DataPath(game, std::string(folder) + "/" + std::string(file) + ".txt");
  const auto contents = ReadFileLimited(path, kMaxDefinitionBytes);
  if (!contents) return std::nullopt;
  std::vector<std::string> lines = SplitLines(*contents);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i >= kMaxDefinitionLines || Trim(lines[i]) == "END") {
      lines.resize(i);
      break;
    }
  }
  return lines;
}

// Columns 1-20 hold the key, 22-41 the value; short lines have what they have.
void LookUp(const std::vector<std::string>& lines, std::string_view key, std::string& value) {
  key = Trim(key);
  for (const std::string& line : lines) {
    const std::string_view text(line);
    if (Trim(text.substr(0, 20)) != key) continue;
    value = std::string(text.size() > 21 ? Trim(text.substr(21, 20)) : std::string_view());
  }
}

// A definition value that does not read as a number leaves the field as it was.
template <typename Field>
void StoreNumber(const std::string& text, Field& field) {
  const auto number = ParseNumber(text);
  if (!number || Trim(text).empty()) return;
  if constexpr (std::is_same_v<Field, Integer>) {
    if (std::fabs(*number) <= 32767.5) field = CInt(*number);
  } else if constexpr (std::is_same_v<Field, float>) {
    if (std::fabs(*number) < 3.4e38) field = static_cast<float>(*number);
  } else {
    field = DoubleText(*number);
  }
}

// Where the members of a wave appear, by their number in the wave; the others keep the circle position.
struct WavePoint {
  int number;
  float x;
  float y;
};
constexpr WavePoint kWavePoints[] = {{11, 280, -20}, {9, 210, 320}, {8, 190, 320}, {7, 170, -20},
                                     {5, 130, -20},  {4, 110, 320}, {3, 90, 320},  {1, 20, -20}};

}  // namespace

std::string TodayStamp(Game& game) {
  const Date d = game.platform.clock ? game.platform.clock->Today() : Date{};
  char text[16];
  std::snprintf(text, sizeof text, "%04d%02d%02d", d.year % 10000, d.month % 100, d.day % 100);
  return text;
}

void ReadTextValue(Game& game, std::string_view folder, std::string_view file, std::string_view key) {
  if (const auto lines = DefinitionLines(game, folder, file)) LookUp(*lines, key, game.play.TextValue);
}

bool LoadFighter(Game& game, std::string_view name) {
  PlayState& p = game.play;
  int slot = -1;
  for (int i = 0; i < kFighterSlots; ++i) {
    if (p.Fighters[static_cast<std::size_t>(i)].Alive == 0) {
      slot = i;
      break;
    }
  }
  if (slot < 0) return false;
  p.FighterSlot = static_cast<Integer>(slot);
  Fighter& f = p.Fighters[static_cast<std::size_t>(slot)];
  // The file is read once for all nine keys; a key it lacks repeats the value of the previous lookup.
  const auto lines = DefinitionLines(game, "OtherFiles", name);
  const std::vector<std::string> none;
  const std::vector<std::string>& found = lines ? *lines : none;
  auto next = [&](std::string_view key) -> const std::string& {
    LookUp(found, key, p.TextValue);
    return p.TextValue;
  };
  f.Name = next("NA");
  StoreNumber(next("OM"), f.Ammo);
  StoreNumber(next("DE"), f.Speed);
  StoreNumber(next("HT"), f.Health);
  StoreNumber(next("EL"), f.Accuracy);
  StoreNumber(next("EE"), f.Melee);
  StoreNumber(next("ED"), f.BulletSpeed);
  StoreNumber(next("GN"), f.Range);
  StoreNumber(next("EM"), f.Recharge);
  f.Alive = kTrue;
  return true;
}

void NewGame(Game& game) {
  PlayState& p = game.play;
  AppState& app = game.app;
  if (game.platform.recorder) game.platform.recorder->GameStarting(game);
  StopSound(game, kSoundMenuAmbience);
  app.GameStopped = 0;
  app.GameStarted = kTrue;
  game.input.FireHeld = 0;

  Fighter& player = p.Fighters[0];
  player.Alive = 0;
  LoadFighter(game, "DEFAULT");
  player.Facing = 270;
  player.X = 140;
  player.Y = 140;
  player.BulletXp = player.AccuracyXp = player.RechargeXp = player.MeleeXp = player.Reserved = 0;
  player.DateStamp = TodayStamp(game);
  player.Ammo = 20;
  player.Speed = 10;
  player.Health = 100;
  player.Accuracy = 30;
  player.Melee = 0;
  player.BulletSpeed = 3;
  player.Range = 60;
  player.Recharge = 15;
  player.PathLeft = 0;
  player.Cooldown = 0;

  p.Kills = 0;
  game.clock.GameMinutes = 0;
  game.clock.GameSeconds = 0;
  // A game left paused may have stood between two spawns or before a wave: the schedule starts afresh,
  // since it compares the timer for equality and would otherwise never spawn again.
  game.clock.SpawnTimer = 0;
  game.clock.WaveStart = 0;
  app.WaveCount = 0;
  p.StatBonus = 0;
  p.Score = 0;
  game.effects.SnowAmount = 0;
  p.FireMode = 1;

  for (std::size_t i = 1; i < kFighterSlots; ++i) p.Fighters[i].Alive = 0;
  p.AmmoBoxOn.fill(0);
  p.HealthBoxOn.fill(0);
  p.AcidOn.fill(0);
  p.AcidTimer.fill(0);
  for (Bullet& b : p.Bullets) b.Life = 0;
  p.CleanerOn = 0;
  game.effects.AirPlaneOn = 0;
  p.ShakeOn = 0;

  PlaySoundFx(game, kSoundGameAmbience, 500);

  game.Randomize();
  const int n = static_cast<int>(Int(game.Rnd() * 5)) + 1;
  // Five in five keeps the previous game's terrain with its marks.
  if (n != 5) LoadTerrainMap(game, n);
}

bool SpawnOpponent(Game& game) {
  PlayState& p = game.play;
  if (game.app.GameStopped == kTrue) return false;
  game.Randomize();
  const int a = static_cast<int>(Int(game.Rnd() * 359)) + 1;
  if (!LoadFighter(game, "LVL1")) return false;
  if (p.FighterSlot == 0) {
    // Only when the player is dead: the slot is taken again by the player's definition.
    LoadFighter(game, "DEFAULT");
    return true;
  }
  Fighter& f = p.Fighters[static_cast<std::size_t>(p.FighterSlot)];
  f.X = static_cast<float>(std::cos(a * game.app.DegToRad) * 210 + 140);
  f.Y = static_cast<float>(std::sin(a * game.app.DegToRad) * 210 + 140);
  f.Speed = DoubleText(f.Speed - Int(game.Rnd() * 3));
  return true;
}

void GameTick(Game& game) {
  PlayState& p = game.play;
  AppState& app = game.app;
  if (app.GameStopped != 0) return;
  if (p.Fighters[0].Alive == 0) EndGame(game);

  if (app.WaveCount < 1) {
    const int m = game.clock.GameMinutes;
    int limit = 49;
    if (m <= 1) limit = 3;
    else if (m == 2) limit = 4;
    else if (m <= 4) limit = 5;
    else if (m <= 25) limit = m + 1;
    if (p.FightersAlive > limit) return;
  }

  do {
    if (!SpawnOpponent(game)) return;
    Fighter& f = p.Fighters[static_cast<std::size_t>(p.FighterSlot)];
    const Fighter& player = p.Fighters[0];
    f.Ammo = 10;
    f.Speed = 10;
    f.Health = 20;
    f.Accuracy = 30;
    f.BulletSpeed = 3;
    f.Range = 20;
    f.Recharge = 20;
    if (app.WaveCount > 0) {
      for (const WavePoint& point : kWavePoints) {
        if (point.number == app.WaveCount) {
          f.X = point.x;
          f.Y = point.y;
        }
      }
      f.Speed = SingleText(game.Rnd() * 5 + 7);
      f.Ammo = CInt(game.Rnd() * 10 + 8);
      app.WaveCount = AddSat(app.WaveCount, -1);
    }
    f.BulletSpeed = CInt(game.Rnd() * (player.BulletSpeed - 3) + 3);
    if (player.BulletSpeed < 5 && game.clock.GameMinutes > 2) f.BulletSpeed = AddSat(player.BulletSpeed, 2);
    f.Range = DoubleText(player.Range - game.Rnd() * 20);
    f.Recharge = player.Recharge;
    f.Health = static_cast<float>((game.Rnd() * 3 + 1) * (player.BulletSpeed * 3));
    f.Kind = "AiLVL" + std::to_string(IntDiv(f.BulletSpeed - 3, 2).value_or(0));
  } while (app.WaveCount > 0);
}

}  // namespace kesmir
