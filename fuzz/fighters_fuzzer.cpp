// Fuzzes a fighter definition file: the key lookup, a fighter made from it, and an opponent spawned from it.
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "app/new_game.h"
#include "fuzz_game.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kesmir;
  testing::FakeGame& fake = fuzz::FuzzGame();
  Game& game = *fake;
  fuzz::ClearRecords(fake);
  fuzz::ResetPart(game.play);
  game.app.DegToRad = std::atan(1.0) * 4.0 / 180.0;

  fuzz::WriteDataInput(fake, "OtherFiles/LVL1.txt", data, size);
  for (const char* key : {"NA", "OM", "DE", "HT", "EL", "EE", "ED", "GN", "EM", "", " NA "}) {
    ReadTextValue(game, "OtherFiles", "LVL1", key);
  }
  // The player from the shipped definition, then two opponents from the fuzzed one.
  fuzz::Require(LoadFighter(game, "DEFAULT") && game.play.FighterSlot == 0, "the player takes slot 0");
  for (int i = 1; i <= 2; ++i) {
    fuzz::Require(SpawnOpponent(game) && game.play.FighterSlot == i, "each opponent takes the next slot");
  }
  return 0;
}
