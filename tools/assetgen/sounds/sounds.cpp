// The sound table: which recipe makes which file, and writing them all under Sounds/.
#include <cstdio>
#include <system_error>

#include "assetgen.h"
#include "file_output.h"
#include "recipes.h"
#include "wav_writer.h"

namespace assetgen {
namespace {

template <int Which>
dsp::Stereo Damage() { return MakeDamage(Which); }
template <int Which>
dsp::Stereo HighScore() { return MakeHighScore(Which); }

constexpr bool kOnce = false;
constexpr bool kLooping = true;

constexpr SoundRecipe kSoundTable[] = {
    {"BulletFire.wav", kOnce, MakeBulletFire},
    {"BulletFireMiss.wav", kOnce, MakeBulletFireMiss},
    {"Blood.wav", kOnce, MakeBlood},
    {"Health.wav", kOnce, MakeHealth},
    {"Ammo.wav", kOnce, MakeAmmo},
    {"Fight.wav", kOnce, MakeFight},
    {"LevelUp.wav", kOnce, MakeLevelUp},
    {"Damage1.wav", kOnce, Damage<1>},
    {"Damage2.wav", kOnce, Damage<2>},
    {"Damage3.wav", kOnce, Damage<3>},
    {"Damage4.wav", kOnce, Damage<4>},
    {"Damage5.wav", kOnce, Damage<5>},
    {"Damage6.wav", kOnce, Damage<6>},
    {"Buger.wav", kOnce, MakeBuger},
    {"AirPlane.wav", kOnce, MakeAirPlane},
    {"Bomb.wav", kOnce, MakeBomb},
    {"SnowBattle.wav", kLooping, MakeSnowBattle},
    {"MouseOver.wav", kOnce, MakeMouseOver},
    {"MenuClick.wav", kOnce, MakeMenuClick},
    {"MenuAmbient.wav", kLooping, MakeMenuAmbient},
    {"Photo.wav", kOnce, MakePhoto},
    {"AcidPickUp.wav", kOnce, MakeAcidPickUp},
    {"AcidBad1.wav", kOnce, MakeAcidBad1},
    {"AcidBad2.wav", kOnce, MakeAcidBad2},
    {"AcidGood1.wav", kOnce, MakeAcidGood1},
    {"AcidGood2.wav", kOnce, MakeAcidGood2},
    {"HighScore1.wav", kOnce, HighScore<1>},
    {"HighScore2.wav", kOnce, HighScore<2>},
    {"HighScore3.wav", kOnce, HighScore<3>},
    {"Heart.wav", kLooping, MakeHeart},
    {"Alarm.wav", kOnce, MakeAlarm},
};

}  // namespace

std::span<const SoundRecipe> SoundRecipes() { return kSoundTable; }

bool WriteSounds(const std::filesystem::path& gameDir) {
  const std::filesystem::path folder = gameDir / "Sounds";
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) {
    std::fprintf(stderr, "kesmir-assetgen: cannot create %s: %s\n", folder.string().c_str(), error.message().c_str());
    return false;
  }
  bool ok = true;
  for (const SoundRecipe& recipe : SoundRecipes()) {
    ok = WriteFileAtomically(folder / recipe.fileName, EncodeWav(recipe.make())) && ok;
  }
  return ok;
}

}  // namespace assetgen
