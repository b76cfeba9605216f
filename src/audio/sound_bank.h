// The sound bank: the sounds by number, and the one procedure that plays them.
#pragma once

#include <array>
#include <string_view>

#include "core/game.h"
#include "core/numbers.h"

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

// A start position that is drawn at each play: CLng(Rnd * 500) bytes into the buffer.
inline constexpr Long kRandomStart = -1;

// One sound: its number, its file (in Sounds/, without ".wav"), the loudness offset added to the base
// volume (hundredths of a decibel), where in the buffer it starts (bytes, or kRandomStart), and whether it
// loops until stopped.
struct SoundRow {
  int id;
  std::string_view file;
  Long offset;
  Long start;
  bool loops;
};

// The sound table in loading order; a sound's buffer is its row. Numbers without a row have no sound.
inline constexpr std::array<SoundRow, kSoundBuffers> kSounds = {{
    {1, "BulletFire", 0, kRandomStart, false},
    {2, "BulletFireMiss", -1100, kRandomStart, false},
    {3, "Blood", -500, kRandomStart, false},
    {4, "Health", -500, kRandomStart, false},
    {5, "Ammo", -500, kRandomStart, false},
    {6, "Fight", -1, kRandomStart, false},
    {7, "LevelUp", -100, kRandomStart, false},
    {11, "Damage1", -600, kRandomStart, false},
    {12, "Damage2", -600, kRandomStart, false},
    {13, "Damage3", -600, kRandomStart, false},
    {14, "Damage4", -600, kRandomStart, false},
    {15, "Damage5", -600, kRandomStart, false},
    {16, "Damage6", -600, kRandomStart, false},
    {8, "Buger", -600, kRandomStart, false},
    {9, "AirPlane", -100, 502, false},
    {21, "Bomb", -200, kRandomStart, false},
    {22, "SnowBattle", -200, 506, true},
    {23, "MouseOver", -1, 504, false},
    {25, "MenuClick", -1, 505, false},
    {26, "MenuAmbient", -1, 505, true},
    {24, "Photo", -1, kRandomStart, false},
    {27, "AcidPickUp", -1, kRandomStart, false},
    {28, "AcidBad1", -1, kRandomStart, false},
    {29, "AcidBad2", -1, kRandomStart, false},
    {31, "AcidGood1", -1, kRandomStart, false},
    {32, "AcidGood2", -1, kRandomStart, false},
    {33, "HighScore1", -1, kRandomStart, false},
    {34, "HighScore2", -1, kRandomStart, false},
    {35, "HighScore3", -1, kRandomStart, false},
    {36, "Heart", 500, kRandomStart, true},
    {37, "Alarm", 100, kRandomStart, false},
}};

// The sound files in loading order, one progress step each.
inline constexpr std::array<std::string_view, kSoundBuffers> kSoundFiles = [] {
  std::array<std::string_view, kSoundBuffers> files{};
  for (std::size_t i = 0; i < kSounds.size(); ++i) files[i] = kSounds[i].file;
  return files;
}();

// The buffer (row) of a sound number; -1 when the number has no sound.
constexpr int SoundBuffer(int soundId) {
  for (std::size_t i = 0; i < kSounds.size(); ++i) {
    if (kSounds[i].id == soundId) return static_cast<int>(i);
  }
  return -1;
}

// Opens the sound output and loads every sound file, drawing one progress step per file. Without an
// output device, or for a file that does not load, the game goes on without those sounds.
void LoadSounds(Game& game);
// Empties every buffer; the output device stays open.
void ReleaseSounds(Game& game);
// Plays a sound at a position on the pan scale (play-field x times 10/3, or 500 for menu sounds).
void PlaySoundFx(Game& game, int soundId, double posX);
// A sound id given as text plays the sound whose number it reads as.
void PlaySoundFx(Game& game, std::string_view soundId, double posX);
// Stops a sound where it stands.
void StopSound(Game& game, int soundId);
// Sets a sound's volume directly (hundredths of a decibel, 0 = full).
void SetSoundVolume(Game& game, int soundId, Long volume);
// Starts a sound looping from where its buffer stands, with its current volume and pan.
void PlaySoundLooping(Game& game, int soundId);

}  // namespace kesmir
