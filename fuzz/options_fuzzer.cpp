// Fuzzes the options file: reading any bytes, drawing the options screen from them, and writing them back.
#include <cstddef>
#include <cstdint>

#include "app/options.h"
#include "fuzz_game.h"
#include "menus/screens.h"

namespace {

using kesmir::Settings;

// The fourteen stored settings; SoundMuted is not kept in the file.
bool SameStored(const Settings& a, const Settings& b) {
  return a.OptBloodFly == b.OptBloodFly && a.OptBloodStays == b.OptBloodStays && a.OptBulletFly == b.OptBulletFly &&
         a.OptDebugInfo == b.OptDebugInfo && a.OptScoreInfo == b.OptScoreInfo && a.OptSnow == b.OptSnow &&
         a.OptMono == b.OptMono && a.SoundVolume == b.SoundVolume && a.PlayTimeTotal == b.PlayTimeTotal &&
         a.TimesPlayed == b.TimesPlayed && a.OptFootSteps == b.OptFootSteps && a.MapsGenerated == b.MapsGenerated &&
         a.OptFullScreen == b.OptFullScreen && a.OptMovement == b.OptMovement;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kesmir;
  testing::FakeGame& fake = fuzz::FuzzGame();
  Game& game = *fake;
  fuzz::ClearRecords(fake);
  fuzz::ResetPart(game.settings);
  fuzz::ResetPart(game.menus);
  if (game.surfaces.CheckDC.Empty()) game.surfaces.CheckDC = Surface(16, 8, Rgb(255, 0, 0));

  fuzz::WriteUserInput(fake, kOptionsFile, data, size);
  LoadSaveOptions(game, 0);
  const Settings read = game.settings;
  OptionsScreen(game);

  // What was read is written as it stands and reads back the same.
  game.settings = read;
  LoadSaveOptions(game, -1);
  fuzz::ResetPart(game.settings);
  LoadSaveOptions(game, 0);
  fuzz::Require(SameStored(game.settings, read), "the options read back as they were written");
  return 0;
}
