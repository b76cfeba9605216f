// The sound bank against a recording sound output: loading, levels, pans, start positions, ids and loops.
#include "audio/sound_bank.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "fakes/fake_platform.h"

namespace kesmir {
namespace {

using testing::FakeGame;
using testing::FakeSound;

class SoundBank : public ::testing::Test {
 protected:
  void SetUp() override {
    game->settings.SoundVolume = 100;
    LoadSounds(*game);
    sound().starts.clear();
  }
  FakeSound& sound() { return game.sound; }
  // The start that the last play made.
  FakeSound::Start Last() {
    if (!sound().starts.empty()) return sound().starts.back();
    ADD_FAILURE() << "nothing played";
    return {-1, -1, false, 1, 0};
  }
  FakeGame game;
};

TEST(SoundTable, OneRowPerFileAndNumber) {
  ASSERT_EQ(kSounds.size(), 31u);
  for (std::size_t i = 0; i < kSounds.size(); ++i) {
    EXPECT_EQ(SoundBuffer(kSounds[i].id), static_cast<int>(i)) << kSounds[i].file;  // numbers are unique
    EXPECT_EQ(kSoundFiles[i], kSounds[i].file);
  }
  for (int id : {0, 10, 17, 18, 19, 20, 30, 38, -1}) EXPECT_EQ(SoundBuffer(id), -1) << id;
}

TEST(LoadSoundsTest, LoadsEveryFileInOrderWithOneProgressStepEach) {
  FakeGame game;
  const Long stepsBefore = game->app.ProgressStep;
  LoadSounds(*game);
  EXPECT_EQ(game->app.ProgressStep - stepsBefore, 31);
  EXPECT_EQ(game.sound.opens, 1);
  ASSERT_EQ(game.sound.loads.size(), 31u);
  const std::vector<std::string>& loads = game.sound.loads;
  EXPECT_EQ(std::tuple(loads[0], loads[7], loads[13], loads[18], loads[20], loads[30]),
            std::tuple("BulletFire.wav", "Damage1.wav", "Buger.wav", "MenuClick.wav", "Photo.wav", "Alarm.wav"));
  EXPECT_EQ(game.sound.buffers.size(), 31u);

  ReleaseSounds(*game);
  EXPECT_TRUE(game.sound.buffers.empty());
  PlaySoundFx(*game, 1, 500);
  EXPECT_TRUE(game.sound.starts.empty());
}

TEST(LoadSoundsTest, WithoutADeviceTheGameGoesOnSilentAndSaysSoOnce) {
  FakeGame game;
  game.sound.failOpen = true;
  ::testing::internal::CaptureStderr();
  LoadSounds(*game);
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(game->app.ProgressStep, 31);
  EXPECT_TRUE(game.sound.loads.empty());
  EXPECT_EQ(said, "kesmir: no sound output (no device here); the game plays silently\n");

  ::testing::internal::CaptureStderr();
  PlaySoundFx(*game, 36, 500);
  StopSound(*game, 36);
  SetSoundVolume(*game, 26, -100);
  PlaySoundLooping(*game, 26);
  ReleaseSounds(*game);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  EXPECT_TRUE(game.sound.starts.empty());
}

TEST(LoadSoundsTest, AMissingFileIsNamedOnceAndOnlyThatSoundIsSilent) {
  FakeGame game;
  game.sound.missing = {"Heart.wav"};
  ::testing::internal::CaptureStderr();
  LoadSounds(*game);
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(game->app.ProgressStep, 31);
  EXPECT_EQ(said, "kesmir: cannot load sound " + (game->app.DataDir / "Sounds/Heart.wav").string() + "\n");

  PlaySoundFx(*game, 36, 500);
  StopSound(*game, 36);
  PlaySoundLooping(*game, 36);
  EXPECT_TRUE(game.sound.starts.empty());
  PlaySoundFx(*game, 37, 500);
  ASSERT_EQ(game.sound.starts.size(), 1u);
  EXPECT_EQ(game.sound.starts[0].buffer, SoundBuffer(37));
}

TEST(LoadSoundsTest, ClosingTheWindowStopsLoadingAndReleasesWhatLoaded) {
  FakeGame game;
  game.window.closeAtPoll = 5;  // during the fifth progress step
  LoadSounds(*game);
  EXPECT_TRUE(game->app.Ended);
  EXPECT_EQ(game.sound.loads.size(), 5u);
  EXPECT_TRUE(game.sound.buffers.empty());
}

TEST_F(SoundBank, VolumeIsTheBaseLevelPlusTheOffsetNeverAboveFull) {
  struct Case {
    int volumeSetting;
    int id;
    int expected;
  };
  const Case cases[] = {
      {100, 36, 0},       // heart-beat: +500 limited to full volume
      {50, 36, -1100},    // 32*50 - 3200 + 500
      {100, 1, 0},        //
      {100, 2, -1100},    // the miss sound is always quieter
      {90, 37, -220},     // alarm: 2880 - 3200 + 100
      {0, 1, -3200},      // volume 0 before the options screen was seen still plays, at -32 dB
      {0, 21, -3400},     //
      {100, 6, -1},       //
  };
  for (const Case& c : cases) {
    game->settings.SoundVolume = static_cast<Integer>(c.volumeSetting);
    PlaySoundFx(*game, c.id, 500);
    EXPECT_EQ(Last().volume, c.expected) << "sound " << c.id << " at volume " << c.volumeSetting;
    EXPECT_EQ(Last().buffer, SoundBuffer(c.id));
  }
}

TEST_F(SoundBank, PanFollowsThePositionAndMonoCentresEverySound) {
  const std::pair<double, int> cases[] = {{0, -1000}, {350, 0}, {500, 429}, {1000, 1857}, {150, -571}, {3850, 10000},
                                          {-3150, -10000}};
  for (const auto& [position, pan] : cases) {
    PlaySoundFx(*game, 3, position);
    EXPECT_EQ(Last().pan, pan) << "position " << position;
  }
  game->settings.OptMono = 8;
  for (double position : {0.0, 350.0, 1000.0, 5000.0}) {
    PlaySoundFx(*game, 3, position);
    EXPECT_EQ(Last().pan, 429) << "mono, position " << position;
  }
  // A pan out of range fails; the sound still plays, with the previous pan.
  game->settings.OptMono = 0;
  PlaySoundFx(*game, 1, 1000);
  PlaySoundFx(*game, 1, 3851);
  EXPECT_EQ(Last().pan, 1857);
  PlaySoundFx(*game, 1, -3151);
  EXPECT_EQ(Last().pan, 1857);
}

TEST_F(SoundBank, IdsReadAsNumbersAndNumbersWithoutASoundDoNothing) {
  for (const auto& [id, file] : {std::pair{"12", "Damage2.wav"}, {" 21 ", "Bomb.wav"}, {"9.0", "AirPlane.wav"}}) {
    PlaySoundFx(*game, std::string_view(id), 500);
    EXPECT_EQ(sound().buffers.at(Last().buffer).file, file) << id;
  }
  sound().starts.clear();

  for (int id : {10, 30, 17, 20, 0, -1, 38, 1000}) PlaySoundFx(*game, id, 500);
  for (const char* id : {"10", "30", "12.5", "abc", "", "1e9"}) PlaySoundFx(*game, std::string_view(id), 500);
  StopSound(*game, 30);
  SetSoundVolume(*game, 10, 0);
  PlaySoundLooping(*game, 17);
  EXPECT_TRUE(sound().starts.empty());
}

TEST_F(SoundBank, MutedPlaysNothingAndDrawsNoRandomNumber) {
  game->settings.SoundMuted = 8;
  Random expected = game->random;
  PlaySoundFx(*game, 1, 500);
  PlaySoundFx(*game, 26, 500);
  EXPECT_TRUE(sound().starts.empty());
  EXPECT_EQ(game->Rnd(), expected.Rnd());
}

TEST_F(SoundBank, StartPositionsAreFixedOrDrawnFromTheGamesRandomNumbers) {
  const std::pair<int, long> fixed[] = {{9, 502}, {22, 506}, {23, 504}, {25, 505}, {26, 505}};
  for (const auto& [id, start] : fixed) {
    Random untouched = game->random;
    PlaySoundFx(*game, id, 500);
    EXPECT_EQ(Last().startByte, start) << "sound " << id;
    EXPECT_EQ(game->Rnd(), untouched.Rnd()) << "a fixed start draws no random number";
  }
  for (int id : {1, 3, 12, 36, 37}) {
    Random copy = game->random;
    PlaySoundFx(*game, id, 500);
    EXPECT_EQ(Last().startByte, CLng(copy.Rnd() * 500)) << "sound " << id;
    EXPECT_GE(Last().startByte, 0);
    EXPECT_LE(Last().startByte, 500);
  }
}

TEST(PlaySoundFxTest, TheRandomSequenceDoesNotDependOnTheSoundOutput) {
  FakeGame withSound;
  FakeGame withoutDevice;
  withoutDevice.sound.failOpen = true;
  ::testing::internal::CaptureStderr();
  LoadSounds(*withSound);
  LoadSounds(*withoutDevice);
  ::testing::internal::GetCapturedStderr();
  for (int id : {1, 36, 9, 2}) {
    PlaySoundFx(*withSound, id, 100);
    PlaySoundFx(*withoutDevice, id, 100);
  }
  EXPECT_EQ(withSound->Rnd(), withoutDevice->Rnd());
}

TEST_F(SoundBank, RetriggeringRestartsTheSameBufferAndOnlyTheThreeAmbienceSoundsLoop) {
  PlaySoundFx(*game, 1, 100);
  PlaySoundFx(*game, 1, 900);
  ASSERT_EQ(sound().starts.size(), 2u);
  EXPECT_EQ(sound().starts[0].buffer, sound().starts[1].buffer);
  EXPECT_EQ(sound().starts[1].pan, CLng(900 * (100.0 / 700.0) * 20 - 1000));

  for (const SoundRow& row : kSounds) {
    PlaySoundFx(*game, row.id, 500);
    const bool loops = row.id == 22 || row.id == 26 || row.id == 36;
    EXPECT_EQ(Last().loop, loops) << row.file;
  }
  // Playing a loop again rewinds it and keeps it looping.
  PlaySoundFx(*game, 26, 500);
  EXPECT_TRUE(Last().loop);
  EXPECT_EQ(Last().startByte, 505);
}

TEST_F(SoundBank, AmbienceIsStoppedResumedAndTurnedDirectly) {
  PlaySoundFx(*game, kSoundMenuAmbience, 500);
  StopSound(*game, kSoundMenuAmbience);
  const FakeSound::Buffer& menu = sound().buffers.at(SoundBuffer(kSoundMenuAmbience));
  EXPECT_FALSE(menu.playing);

  game->settings.SoundVolume = 40;
  SetSoundVolume(*game, kSoundMenuAmbience, 32 * 40 - 3201);
  PlaySoundLooping(*game, kSoundMenuAmbience);
  EXPECT_TRUE(menu.playing);
  EXPECT_TRUE(menu.looping);
  EXPECT_EQ(menu.volume, -1921);
  EXPECT_EQ(sound().starts.size(), 1u) << "resuming is not a new start from the start position";

  // A direct volume out of range fails and the previous one stays.
  SetSoundVolume(*game, kSoundMenuAmbience, 32 * 101 - 3201);
  EXPECT_EQ(menu.volume, -1921);
  SetSoundVolume(*game, kSoundGameAmbience, -10001);
  EXPECT_EQ(sound().buffers.at(SoundBuffer(kSoundGameAmbience)).volume, 0);
}

}  // namespace
}  // namespace kesmir
