// Death of fighters and the player's experience and level-ups.
#pragma once

#include "core/game.h"

namespace kesmir {

inline constexpr double kLevelUpPosX = 10.0 / 3.0 * 145.0;  // the level-up sound always plays here

// Ends a fighter whose health is below 1: counts the kill, paints the corpse, drops pick-ups.
void KillIfDead(Game& game, int index);
// Records one of the player's shots (-1 hit, 0 miss) and raises accuracy.
void RecordShot(Game& game, Integer hit);
// Melee experience; raises melee up to level 11.
void AddMeleeXp(Game& game, int points);
// Bullet-speed experience for firing with an opponent closer than 100 pixels.
void AddBulletXp(Game& game);

}  // namespace kesmir
