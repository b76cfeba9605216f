// The sound bank: the sounds by number, and the one procedure that plays them.
#pragma once

#include <array>
#include <string_view>

#include "core/game.h"

namespace kesmir {

inline constexpr int kSoundBulletFire = 1;
inline constexpr int kSoundCleaner = 8;
inline constexpr int kSoundAirPlane = 9;
inline constexpr int kSoundGameAmbience = 22;
inline constexpr int kSoundMouseOver = 23;
inline constexpr int kSoundPhoto = 24;
inline constexpr int kSoundMenuClick = 25;
inline constexpr int kSoundMenuAmbience = 26;
inline constexpr int kSoundHeart = 36;

// The sound files in loading order, one progress step each.
inline constexpr std::array<std::string_view, 31> kSoundFiles = {
    "BulletFire", "BulletFireMiss", "Blood",      "Health",     "Ammo",       "Fight",     "LevelUp",
    "Damage1",    "Damage2",        "Damage3",    "Damage4",    "Damage5",    "Damage6",   "Buger",
    "AirPlane",   "Bomb",           "SnowBattle", "MouseOver",  "MenuClick",  "MenuAmbient", "Photo",
    "AcidPickUp", "AcidBad1",       "AcidBad2",   "AcidGood1",  "AcidGood2",  "HighScore1", "HighScore2",
    "HighScore3", "Heart",          "Alarm"};

// Loads every sound file, drawing one progress step per file.
void LoadSounds(Game& game);
void ReleaseSounds(Game& game);
// Plays a sound at a position on the pan scale (play-field x times 10/3, or 500 for menu sounds).
void PlaySoundFx(Game& game, int soundId, double posX);
// A sound id given as text plays the sound whose number it reads as.
void PlaySoundFx(Game& game, std::string_view soundId, double posX);
void StopSound(Game& game, int soundId);
// Sets a sound's volume directly (hundredths of a decibel, 0 = full).
void SetSoundVolume(Game& game, int soundId, Long volume);
// Starts a sound looping from where its buffer stands, with its current volume and pan.
void PlaySoundLooping(Game& game, int soundId);

}  // namespace kesmir
