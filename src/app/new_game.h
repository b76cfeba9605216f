// The start of a game, the fighter definitions and the spawning of opponents.
#pragma once

#include <string>
#include <string_view>

#include "core/game.h"

namespace kesmir {

// Resets the play field, sets up the player, picks the terrain and starts the in-game ambience.
void NewGame(Game& game);
// Puts a fighter made from its definition file into the lowest free slot (FighterSlot); false when every
// slot is taken.
bool LoadFighter(Game& game, std::string_view name);
// Looks a key up in a definition file and leaves its value in TextValue; a missing key or file leaves
// TextValue as it was.
void ReadTextValue(Game& game, std::string_view folder, std::string_view file, std::string_view key);
// Creates one opponent from "LVL1" on the circle of radius 210 around the field's middle; false when no
// slot was free.
bool SpawnOpponent(Game& game);
// One spawn tick: the end of the game when the player is dead, then one opponent or a whole wave.
void GameTick(Game& game);
// "yyyymmdd" of today.
std::string TodayStamp(Game& game);

}  // namespace kesmir
