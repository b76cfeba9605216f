// The play-field state: fighters, shots, blood, pick-ups, the Cleaner, foot-steps and a game's counters.
#pragma once

#include <array>
#include <string>

#include "core/numbers.h"

namespace kesmir {

// Fields marked "decimal text" are held as numbers rounded as their text would be at every write:
// 15 significant digits (DoubleText), or 7 for a shot's direction (SingleText).
struct Fighter {
  Integer Alive = 0;        // -1 alive, 0 free or dead
  float X = 0;              // sprite left edge
  float Y = 0;              // sprite top edge
  float PathLeft = 0;       // length still to walk on the current leg
  Integer Heading = 0;      // direction of the current leg
  Integer Facing = 0;       // degrees; selects the sprite cell
  Integer Cooldown = 0;     // frames until the fighter may fire again
  std::string Kind;         // "AiLVL0".."AiLVL5" for opponents; anything else draws the player
  std::string DateStamp;    // "yyyymmdd"
  std::string Name;
  Integer Ammo = 0;
  double Speed = 0;         // decimal text: tenths of a pixel per frame
  float Health = 0;
  Integer Accuracy = 0;     // spread of shots in degrees
  Integer BulletSpeed = 0;
  double Range = 0;         // decimal text
  Integer Recharge = 0;     // frames between shots
  Integer Melee = 0;
  Integer BulletXp = 0;
  Integer AccuracyXp = 0;
  Integer RechargeXp = 0;
  Integer Reserved = 0;
  Integer MeleeXp = 0;
};

struct Bullet {
  Integer Life = 0;         // pixels of flight left; > 0 in flight
  double Direction = 0;     // decimal text of a Single, degrees
  double X = 0;             // decimal text
  double Y = 0;             // decimal text
  float StepX = 0;
  float StepY = 0;
  Integer Speed = 0;        // pixels per frame
  Integer Owner = 0;        // fighter that fired it
};

inline constexpr int kFighterSlots = 51;  // slot 0 is the player
inline constexpr int kBulletSlots = 201;
inline constexpr int kBloodSlots = 201;
inline constexpr int kBoxSlots = 10;
inline constexpr int kAcidKinds = 4;

struct PlayState {
  std::array<Fighter, kFighterSlots> Fighters{};
  std::array<Bullet, kBulletSlots> Bullets{};

  std::array<float, kBloodSlots> BloodX{};
  std::array<float, kBloodSlots> BloodY{};
  std::array<Integer, kBloodSlots> BloodAngle{};
  std::array<Integer, kBloodSlots> BloodLife{};
  std::array<Integer, kBloodSlots> BloodSpeed{};

  std::array<double, kBoxSlots> HealthBoxX{};  // decimal text
  std::array<double, kBoxSlots> HealthBoxY{};
  std::array<Integer, kBoxSlots> HealthBoxOn{};
  std::array<double, kBoxSlots> AmmoBoxX{};
  std::array<double, kBoxSlots> AmmoBoxY{};
  std::array<Integer, kBoxSlots> AmmoBoxOn{};
  std::array<Integer, kBoxSlots> AmmoBoxAmount{};
  std::array<double, kAcidKinds> AcidX{};
  std::array<double, kAcidKinds> AcidY{};
  std::array<Integer, kAcidKinds> AcidOn{};
  std::array<Integer, kAcidKinds> AcidTimer{};

  double CleanerX = 0;  // decimal text
  double CleanerY = 0;
  Integer CleanerOn = 0;

  std::array<Integer, kFighterSlots + 1> StepCounter{};
  std::array<Integer, kFighterSlots + 1> StepLastPos{};
  Integer StepPos = 0;

  Integer Kills = 0;
  Integer Score = 0;
  Integer FightersAlive = 0;
  Integer NearestEnemy = 0;
  Integer FireHeldSeconds = 0;
  std::array<Integer, 10> HitHistory{};  // element 1 newest; element 0 is never written
  Integer HitsInHistory = 0;
  Integer FireMode = 1;
  Integer ShakeOn = 0;
  Integer ScoreInfoOn = 0;
  Integer FrameParity = 0;
  Integer AcidIconX = 0;
  Integer AcidIconShown = 0;
  Integer Angle = 0;
  Integer Distance = 0;

  Integer StatBonus = 0;    // bonus from the player's levels and kills, computed by the status bar
  Integer FighterSlot = 0;  // the slot the last LoadFighter used
  std::string TextValue;    // the last value read from a fighter definition; kept between lookups
};

}  // namespace kesmir
