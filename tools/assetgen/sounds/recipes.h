// The synthesis recipe of each sound file, and the table that names them.
#pragma once

#include <span>

#include "dsp.h"

namespace assetgen {

// Every one-shot begins with this much silence: the game starts sounds up to 506 bytes (about 6 ms) in.
inline constexpr double kLeadIn = 0.012;

struct SoundRecipe {
  const char* fileName;  // under Sounds/
  bool loop;             // played looping; must join end to start without a click
  dsp::Stereo (*make)();
};

// All 31 sound files, in the order the game loads them.
std::span<const SoundRecipe> SoundRecipes();

// Combat: shots, hits, cries, explosions and vehicles.
dsp::Stereo MakeBulletFire();
dsp::Stereo MakeBulletFireMiss();
dsp::Stereo MakeBlood();
dsp::Stereo MakeFight();
dsp::Stereo MakeDamage(int which);  // 1..6
dsp::Stereo MakeBomb();
dsp::Stereo MakeBuger();
dsp::Stereo MakeAirPlane();
dsp::Stereo MakeAlarm();

// Pick-ups, rewards, menus and the acid effects.
dsp::Stereo MakeHealth();
dsp::Stereo MakeAmmo();
dsp::Stereo MakeLevelUp();
dsp::Stereo MakeMouseOver();
dsp::Stereo MakeMenuClick();
dsp::Stereo MakePhoto();
dsp::Stereo MakeAcidPickUp();
dsp::Stereo MakeAcidBad1();
dsp::Stereo MakeAcidBad2();
dsp::Stereo MakeAcidGood1();
dsp::Stereo MakeAcidGood2();
dsp::Stereo MakeHighScore(int which);  // 1 best places .. 3 lower places

// The three loops.
dsp::Stereo MakeSnowBattle();
dsp::Stereo MakeMenuAmbient();
dsp::Stereo MakeHeart();

}  // namespace assetgen
