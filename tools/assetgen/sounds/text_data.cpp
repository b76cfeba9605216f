// The shipped text data: the two fighter definitions and the default local and world score lists.
#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include "assetgen.h"
#include "core/numbers.h"
#include "core/random.h"
#include "file_output.h"
#include "scores/score_line.h"

namespace assetgen {
namespace {

// ---- Fighter definitions ----------------------------------------------------------------------------------

struct Definition {
  const char* key;
  const char* value;
};

// The player. The game overwrites everything but the name when a game starts; the values match what it sets.
constexpr std::array<Definition, 9> kPlayerDefinition = {{
    {"NA", "Player"}, {"OM", "20"}, {"DE", "10"}, {"HT", "100"}, {"EL", "30"},
    {"EE", "0"},      {"ED", "3"},  {"GN", "60"}, {"EM", "15"},
}};

// Every opponent. The spawner sets all but the name and melee from the player's strength; the rest are the
// spawner's base values.
constexpr std::array<Definition, 9> kOpponentDefinition = {{
    {"NA", "Soldier"}, {"OM", "10"}, {"DE", "10"}, {"HT", "20"}, {"EL", "30"},
    {"EE", "0"},       {"ED", "3"},  {"GN", "20"}, {"EM", "20"},
}};

constexpr std::size_t kKeyColumns = 20;  // key in columns 1-20, column 21 blank, value from column 22

template <std::size_t N>
std::vector<std::string> DefinitionLines(const std::array<Definition, N>& definition) {
  std::vector<std::string> lines;
  for (const Definition& entry : definition) {
    std::string line = entry.key;
    line.resize(kKeyColumns + 1, ' ');
    line += entry.value;
    lines.push_back(line);
  }
  lines.emplace_back("END");
  return lines;
}

// ---- Default score lists ----------------------------------------------------------------------------------

struct Date {
  int year, month, day;
};

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[static_cast<std::size_t>(month - 1)];
}

Date AddDays(Date date, int days) {
  for (; days > 0; --days) {
    if (++date.day > DaysInMonth(date.year, date.month)) {
      date.day = 1;
      if (++date.month > 12) {
        date.month = 1;
        ++date.year;
      }
    }
  }
  return date;
}

std::string TwoDigits(int value) { return (value < 10 ? "0" : "") + std::to_string(value); }
std::string StampText(Date date) { return std::to_string(date.year) + TwoDigits(date.month) + TwoDigits(date.day); }
std::string DottedText(Date date) { return TwoDigits(date.day) + "." + TwoDigits(date.month) + "." + std::to_string(date.year); }

// A finished game, in the player's own fields at its end.
struct FinishedGame {
  int score = 0;
  int kills = 0;
  int playSeconds = 0;
  int accuracy = 30;
  int recharge = 15;
  int bulletSpeed = 3;
  int melee = 0;
  int timesPlayed = 1;
  Date date{2002, 9, 1};
  std::string name;
};

// Plays a game on paper: levels and kills grow with the minutes survived and the player's skill (0..1), and the
// score is what the game would hand to the list: points for hits plus the status bar's bonus.
FinishedGame PlayOnPaper(kesmir::Random& random, double minutes, double skill) {
  FinishedGame game;
  game.playSeconds = static_cast<int>(minutes * 60.0);
  const auto levelUps = [&](double perMinute) {
    const double ups = minutes * perMinute * (0.5 + skill) + random.Rnd();
    return std::min(11, static_cast<int>(ups));
  };
  game.bulletSpeed = 3 + levelUps(0.36);
  game.accuracy = 30 - 3 * levelUps(0.4);
  game.recharge = 15 - levelUps(0.3);
  game.melee = levelUps(0.15);
  game.kills = static_cast<int>(std::lround(minutes * (2.5 + 6.0 * skill) * (0.85 + 0.3 * random.Rnd())));
  // Opponents take two to four hits and are worth more as they grow with the player.
  const double hitsPerKill = 2.5 + random.Rnd();
  const double pointsPerHit = 1.0 + 0.4 * (game.bulletSpeed - 3);
  const auto hitPoints = static_cast<int>(std::lround(game.kills * hitsPerKill * pointsPerHit));
  const int accuracyLevel = 10 - game.accuracy / 3;
  const int statBonus =
      (accuracyLevel + game.bulletSpeed - game.recharge + 20 + game.melee) * (game.bulletSpeed - 3) + game.kills;
  game.score = std::min(32767, hitPoints + statBonus);
  return game;
}

// Names as the name entry stores them: first letter upper case, the rest lower case, at most 35 characters.
std::string EnteredName(std::string typed) {
  for (char& c : typed) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (!typed.empty()) typed[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(typed[0])));
  if (typed.size() > 35) typed.resize(35);
  return typed;
}

constexpr std::array<const char*, 4> kHomeNames = {"Dad", "Anna", "Toby", "Grandpa"};

constexpr std::array<const char*, 110> kWorldNames = {
    "Frostbite",   "Snowblind",    "Icewolf",     "Polar bear",  "Blizzard",    "Yeti",        "Avalanche",
    "Glacier",     "Tundra",       "Permafrost",  "Hailstorm",   "Sleet",       "Cold feet",   "Snowdrift",
    "Deadeye",     "Sharpshooter", "Trigger happy", "Sarge",     "Grunt",       "Rookie",      "Old timer",
    "Lone wolf",   "Night owl",    "Shadow",      "Ghost",       "Viper",       "Cobra",       "Mamba",
    "Falcon",      "Raven",        "Crow",        "Vulture",     "Badger",      "Moose",       "Reindeer",
    "Husky",       "Hotshot",      "Quickdraw",   "Fast finger", "Lagmaster",   "Noob",        "Newbie",
    "Pwnz0r",      "Camper",       "Spawn camper", "Fragger",    "Headhunter",  "Bomber",      "Airdrop",
    "Medic",       "Ammo hog",     "Bloodhound",  "Snowplow",    "Frosty",      "Chilly",      "Nordic",
    "Viking",      "Northwind",    "Polar night", "Aurora",      "Midwinter",   "Solstice",    "Icebreaker",
    "Cold steel",  "Steel rain",   "Iron fist",   "Stonewall",   "Tank",        "Bulldozer",   "Hammer",
    "Anvil",       "Nails",        "Razor",       "Dagger",      "Bayonet",     "Trench rat",  "Foxhole",
    "Bunker",      "Sandbag",      "Outpost",     "Recon",       "Scout",       "Marksman",    "Gunner",
    "Tracer",      "Ricochet",     "Shrapnel",    "Flak",        "Mortar",      "Kettle",      "Pancake",
    "Muffin",      "Pickle",       "Noodle",      "Biscuit",     "Pretzel",     "Gizmo",       "Sprocket",
    "Widget",      "Zigzag",       "Dynamo",      "Turbo",       "Nitro",       "Zapper",      "Snowball",
    "Mitten",      "Woolly hat",   "Hot cocoa",   "Mikko",       "Lotte",
};

kesmir::ScoreLineFields LineFields(const FinishedGame& game) {
  using kesmir::AlignScoreField;
  const auto text = [](int value) { return std::to_string(value); };
  kesmir::ScoreLineFields fields;
  fields.score = AlignScoreField(text(game.score), 5);
  fields.kills = AlignScoreField(text(std::max(game.kills, 0)), 3);
  fields.time = TwoDigits(game.playSeconds / 60) + ":" + TwoDigits(game.playSeconds % 60);
  fields.accuracy = AlignScoreField(text(10 - game.accuracy / 3), 2);
  fields.recharge = AlignScoreField(text(15 - game.recharge), 2);
  fields.bulletSpeed = AlignScoreField(text(game.bulletSpeed - 3), 2);
  fields.melee = AlignScoreField(text(game.melee), 2);
  fields.maxHealth = AlignScoreField(text(game.bulletSpeed * 30), 3);
  fields.maxAmmo = AlignScoreField(text((16 - game.recharge) * 15), 3);
  fields.timesPlayed = AlignScoreField(text(game.timesPlayed), 5);
  fields.date = StampText(game.date);
  fields.name = game.name;
  return fields;
}

// Best first; no two rows share a score, so every place is clearly earned.
std::vector<FinishedGame> Ranked(std::vector<FinishedGame> games) {
  std::stable_sort(games.begin(), games.end(), [](const FinishedGame& a, const FinishedGame& b) { return a.score > b.score; });
  return games;
}

// One installation's first three months: a family of four, getting better as the weeks go by. The top is a
// long, strong game; the bottom is a short one that a first game can beat.
std::vector<FinishedGame> HomeGames() {
  kesmir::Random random(2002);
  const Date installed{2002, 8, 28};
  std::vector<FinishedGame> games;
  std::set<int> scores;
  int timesPlayed = 0;
  int day = 0;
  while (games.size() < 11) {
    day += 2 + static_cast<int>(random.Rnd() * 9.0);
    timesPlayed += 2 + static_cast<int>(random.Rnd() * 6.0);
    const double practice = std::min(1.0, day / 100.0);
    const double skill = 0.15 + 0.45 * practice + 0.15 * random.Rnd();
    const double minutes = 1.0 + 16.0 * practice * (0.3 + 0.7 * random.Rnd()) + 1.5 * random.Rnd();
    FinishedGame game = PlayOnPaper(random, minutes, skill);
    if (!scores.insert(game.score).second) continue;
    game.timesPlayed = timesPlayed;
    game.date = AddDays(installed, day);
    game.name = EnteredName(kHomeNames[static_cast<std::size_t>(random.Rnd() * kHomeNames.size())]);
    games.push_back(game);
  }
  return Ranked(std::move(games));
}

// The best games sent in from everywhere in the first sixteen months.
std::vector<FinishedGame> WorldGames() {
  kesmir::Random random(2003);
  const Date released{2002, 8, 27};
  std::vector<FinishedGame> games;
  std::set<int> scores;
  std::size_t nameIndex = 0;
  while (games.size() < 101) {
    const double skill = 0.45 + 0.55 * random.Rnd();
    const double minutes = 6.0 + 24.0 * std::pow(skill, 1.5) * (0.6 + 0.4 * random.Rnd());
    FinishedGame game = PlayOnPaper(random, minutes, skill);
    if (!scores.insert(game.score).second) continue;
    game.timesPlayed = 5 + static_cast<int>(skill * 500.0 * random.Rnd());
    game.date = AddDays(released, 1 + static_cast<int>(random.Rnd() * 470.0));
    game.name = EnteredName(kWorldNames[nameIndex++ % kWorldNames.size()]);
    games.push_back(game);
  }
  return Ranked(std::move(games));
}

std::vector<std::string> EncodedLines(const std::vector<FinishedGame>& games) {
  std::vector<std::string> lines;
  for (const FinishedGame& game : games) {
    lines.push_back(kesmir::CodeScoreLine(kesmir::JoinScoreLine(LineFields(game)), true));
  }
  lines.emplace_back("END");
  return lines;
}

}  // namespace

bool WriteTextData(const std::filesystem::path& gameDir) {
  const std::filesystem::path folder = gameDir / "OtherFiles";
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) {
    std::fprintf(stderr, "kesmir-assetgen: cannot create %s: %s\n", folder.string().c_str(), error.message().c_str());
    return false;
  }
  bool ok = WriteTextLines(folder / "DEFAULT.txt", DefinitionLines(kPlayerDefinition));
  ok = WriteTextLines(folder / "LVL1.txt", DefinitionLines(kOpponentDefinition)) && ok;
  ok = WriteTextLines(folder / "Temp.txt", EncodedLines(HomeGames())) && ok;

  const std::vector<FinishedGame> world = WorldGames();
  std::vector<std::string> worldLines = EncodedLines(world);
  // Trailer: uploads so far, the date of the last upload (the day after the newest row) and of the one before.
  Date newest = world.front().date;
  for (const FinishedGame& game : world) {
    if (StampText(game.date) > StampText(newest)) newest = game.date;
  }
  worldLines.emplace_back("388");
  worldLines.push_back(DottedText(AddDays(newest, 1)));
  worldLines.push_back(DottedText(newest));
  ok = WriteTextLines(folder / "Temp2.txt", worldLines) && ok;
  return ok;
}

}  // namespace assetgen
