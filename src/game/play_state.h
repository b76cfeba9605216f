// The play-field state: the fighter table and the results of the shared angle routine.
#pragma once

#include <array>
#include <string>

#include "core/numbers.h"

namespace kesmir {

struct Fighter {
  Integer Alive = 0;        // -1 alive, 0 free or dead
  float X = 0;              // sprite left edge
  float Y = 0;              // sprite top edge
  float PathLeft = 0;
  Integer Heading = 0;
  Integer Facing = 0;       // degrees; selects the sprite cell
  Integer Cooldown = 0;
  std::string Kind;         // "AiLVL0".."AiLVL5" for opponents
  std::string DateStamp;    // "yyyymmdd"
  std::string Name;
  Integer Ammo = 0;
  double Speed = 0;         // decimal-text field, tenths of a pixel per frame
  float Health = 0;
  Integer Accuracy = 0;
  Integer BulletSpeed = 0;
  double Range = 0;         // decimal-text field
  Integer Recharge = 0;
  Integer Melee = 0;
  Integer BulletXp = 0;
  Integer AccuracyXp = 0;
  Integer RechargeXp = 0;
  Integer Reserved = 0;
  Integer MeleeXp = 0;
};

inline constexpr int kFighterSlots = 51;  // slot 0 is the player

struct PlayState {
  std::array<Fighter, kFighterSlots> Fighters{};
  std::array<Integer, 4> AcidTimer{};
  Integer CleanerOn = 0;
  Integer Angle = 0;
  Integer Distance = 0;
};

}  // namespace kesmir
