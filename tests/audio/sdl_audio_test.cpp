// The SDL2_mixer sound output, heard through SDL's disk driver (the mix captured to a file) and its dummy
// driver, with the game's real sound files.
#include "platform/sdl_audio.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

#include "audio/sound_bank.h"
#include "fakes/fake_platform.h"

namespace kesmir {
namespace {

namespace fs = std::filesystem;

const fs::path kSounds = fs::path(KESMIR_GAME_DIR) / "Sounds";
constexpr double kRate = 22050.0;

struct Stereo {
  std::vector<double> left, right;
  std::size_t Frames() const { return left.size(); }
};

// S16 little-endian stereo samples from `offset` bytes on.
Stereo ReadStereo(const fs::path& path, std::size_t offset) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  Stereo s;
  for (std::size_t at = offset; at + 4 <= bytes.size(); at += 4) {
    s.left.push_back(static_cast<std::int16_t>(bytes[at] | bytes[at + 1] << 8));
    s.right.push_back(static_cast<std::int16_t>(bytes[at + 2] | bytes[at + 3] << 8));
  }
  return s;
}

double Energy(const std::vector<double>& samples, std::size_t from = 0, std::size_t to = SIZE_MAX) {
  double sum = 0;
  for (std::size_t i = from; i < std::min(to, samples.size()); ++i) sum += samples[i] * samples[i];
  return sum;
}

// Each test opens the output with the driver given; the disk driver writes the mix, in real time, to a file.
class SdlAudioTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("kesmir-audio-" + std::to_string(::getpid()));
    fs::create_directories(dir_);
    capture_ = dir_ / "mix.raw";
  }
  void TearDown() override {
    audio_.reset();
    SDL_Quit();
    fs::remove_all(dir_);
  }
  void UseDriver(const char* driver) {
    setenv("SDL_AUDIODRIVER", driver, 1);
    setenv("SDL_DISKAUDIOFILE", capture_.c_str(), 1);
    ASSERT_EQ(SDL_Init(SDL_INIT_EVENTS), 0) << SDL_GetError();
    audio_ = std::make_unique<SdlAudio>();
  }
  bool Open() {
    std::string reason;
    const bool ok = audio_->Open(kSoundBuffers, reason);
    EXPECT_TRUE(ok) << reason;
    return ok;
  }
  // Closes the output, so that the capture is complete, and reads it.
  Stereo Captured() {
    audio_.reset();
    return ReadStereo(capture_, 0);
  }
  // Waits until the disk driver has written `seconds` more of the mix, however slowly its thread runs
  // (bounded, so a stalled output fails the test instead of hanging it).
  void Wait(double seconds) {
    std::error_code ec;
    const auto Written = [&] { return fs::exists(capture_, ec) ? fs::file_size(capture_, ec) : 0; };
    const auto target = Written() + static_cast<std::uintmax_t>(seconds * kRate) * 4;
    for (int i = 0; i < 2000 && Written() < target; ++i) SDL_Delay(10);
  }

  fs::path dir_;
  fs::path capture_;
  std::unique_ptr<SdlAudio> audio_;
};

TEST_F(SdlAudioTest, AGunshotPannedLeftComesOutAtTheLevelsAskedFor) {
  UseDriver("disk");
  ASSERT_TRUE(Open());
  ASSERT_TRUE(audio_->Load(0, (kSounds / "BulletFire.wav").string()));
  EXPECT_EQ(audio_->FrameBytes(), 4);
  const Stereo file = ReadStereo(kSounds / "BulletFire.wav", 44);
  ASSERT_GT(file.Frames(), 1000u);

  // -6 dB, with the right side 10 dB further down.
  EXPECT_TRUE(audio_->SetVolume(0, -600));
  EXPECT_TRUE(audio_->SetPan(0, -1000));
  audio_->Play(0, 0, false);
  Wait(static_cast<double>(file.Frames()) / kRate + 0.3);
  const Stereo mix = Captured();

  const double leftGain = std::sqrt(Energy(mix.left) / Energy(file.left));
  const double rightGain = std::sqrt(Energy(mix.right) / Energy(file.right));
  EXPECT_NEAR(leftGain, std::pow(10.0, -600 / 2000.0), 0.02);
  EXPECT_NEAR(rightGain, std::pow(10.0, -1600 / 2000.0), 0.01);
}

TEST_F(SdlAudioTest, TheGameLoadsTheRealFilesAndAShotOnTheLeftIsLouderOnTheLeft) {
  UseDriver("disk");
  testing::FakeGame game;
  game->app.DataDir = KESMIR_GAME_DIR;
  game->platform.sound = audio_.get();
  game->settings.SoundVolume = 100;
  ::testing::internal::CaptureStderr();
  const auto began = SDL_GetTicks64();
  LoadSounds(*game);
  const auto took = SDL_GetTicks64() - began;
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(said.find("kesmir:"), std::string::npos) << said;  // the disk driver has its own notices
  for (bool ready : game->audio.BufferReady) EXPECT_TRUE(ready);
  std::printf("the 31 sounds loaded in %llu ms\n", static_cast<unsigned long long>(took));

  PlaySoundFx(*game, kSoundBulletFire, 0);
  Wait(0.6);
  ReleaseSounds(*game);
  const Stereo mix = Captured();
  const double left = Energy(mix.left);
  const double right = Energy(mix.right);
  EXPECT_GT(left, 0);
  EXPECT_GT(left, 5 * right);  // 10 dB is a factor of 10 in energy
}

// Where `part` first occurs in `whole`, comparing left and right samples exactly; npos when nowhere.
std::size_t Find(const Stereo& whole, const Stereo& part) {
  for (std::size_t at = 0; at + part.Frames() <= whole.Frames(); ++at) {
    bool same = true;
    for (std::size_t i = 0; i < part.Frames() && same; ++i) {
      same = whole.left[at + i] == part.left[i] && whole.right[at + i] == part.right[i];
    }
    if (same) return at;
  }
  return std::string::npos;
}

TEST_F(SdlAudioTest, ALoopStartingPartWayGoesOnWithTheWholeSound) {
  UseDriver("disk");
  ASSERT_TRUE(Open());
  ASSERT_TRUE(audio_->Load(5, (kSounds / "MouseOver.wav").string()));
  const Stereo file = ReadStereo(kSounds / "MouseOver.wav", 44);
  constexpr std::size_t kStartFrame = 500;
  // Full volume, middle pan: the mix is the file's samples exactly. The start is rounded down to a frame.
  audio_->Play(5, kStartFrame * 4 + 3, true);
  Wait(3 * static_cast<double>(file.Frames()) / kRate + 0.2);
  const Stereo mix = Captured();

  Stereo expected;
  for (int pass = 0; pass < 3; ++pass) {
    const std::size_t from = pass == 0 ? kStartFrame : 0;
    expected.left.insert(expected.left.end(), file.left.begin() + static_cast<std::ptrdiff_t>(from), file.left.end());
    expected.right.insert(expected.right.end(), file.right.begin() + static_cast<std::ptrdiff_t>(from), file.right.end());
  }
  EXPECT_NE(Find(mix, expected), std::string::npos);
}

// The frames where either side sounds.
Stereo Sounding(const Stereo& s, std::size_t from = 0) {
  Stereo out;
  for (std::size_t i = from; i < s.Frames(); ++i) {
    if (s.left[i] == 0 && s.right[i] == 0) continue;
    out.left.push_back(s.left[i]);
    out.right.push_back(s.right[i]);
  }
  return out;
}

TEST_F(SdlAudioTest, AStoppedLoopGoesOnFromWhereItStopped) {
  UseDriver("disk");
  ASSERT_TRUE(Open());
  ASSERT_TRUE(audio_->Load(2, (kSounds / "MenuAmbient.wav").string()));
  audio_->Play(2, 504, true);
  Wait(0.3);
  audio_->Stop(2);
  Wait(0.3);
  audio_->PlayLooping(2);
  Wait(0.3);
  const Stereo mix = Sounding(Captured());
  const Stereo file = Sounding(ReadStereo(kSounds / "MenuAmbient.wav", 44), 126);
  // Both pieces together, without the pause, are the sound from its start position on.
  ASSERT_GT(mix.Frames(), static_cast<std::size_t>(kRate * 0.4));
  ASSERT_LT(mix.Frames(), file.Frames());
  std::size_t differing = 0;
  for (std::size_t i = 0; i < mix.Frames(); ++i) differing += mix.left[i] != file.left[i] || mix.right[i] != file.right[i];
  EXPECT_EQ(differing, 0u);
}

TEST_F(SdlAudioTest, BadFilesAndLevelsOutOfRangeAreRefused) {
  UseDriver("dummy");
  ASSERT_TRUE(Open());
  std::ifstream in(kSounds / "Blood.wav", std::ios::binary);
  const std::string wav{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  std::ofstream(dir_ / "text.wav") << "this is not a sound";
  std::ofstream(dir_ / "empty.wav");
  std::ofstream(dir_ / "header.wav", std::ios::binary).write(wav.data(), 20);
  for (const char* name : {"missing.wav", "text.wav", "empty.wav", "header.wav"}) {
    EXPECT_FALSE(audio_->Load(0, (dir_ / name).string())) << name;
  }
  EXPECT_FALSE(audio_->Load(kSoundBuffers, (kSounds / "Blood.wav").string()));
  EXPECT_FALSE(audio_->SetVolume(0, -100));  // an empty buffer takes no levels and plays nothing
  audio_->Play(0, 0, false);
  audio_->PlayLooping(0);

  ASSERT_TRUE(audio_->Load(4, (kSounds / "Blood.wav").string()));
  for (int volume : {-10000, 0}) EXPECT_TRUE(audio_->SetVolume(4, volume));
  for (int volume : {1, -10001}) EXPECT_FALSE(audio_->SetVolume(4, volume));
  for (int pan : {-10000, 10000}) EXPECT_TRUE(audio_->SetPan(4, pan));
  for (int pan : {-10001, 10001}) EXPECT_FALSE(audio_->SetPan(4, pan));
  // Start positions anywhere, even odd, negative or past the end, play without harm.
  for (long start : {3L, -7L, 1L << 30}) audio_->Play(4, start, start > 0);
  audio_->Stop(4);
  audio_->PlayLooping(4);
  audio_->Unload(4);
  audio_->Play(4, 0, false);
}

TEST_F(SdlAudioTest, WithoutADeviceEverythingIsRefusedQuietly) {
  UseDriver("no-such-driver");
  std::string reason;
  EXPECT_FALSE(audio_->Open(kSoundBuffers, reason));
  EXPECT_FALSE(reason.empty());
  EXPECT_FALSE(audio_->Load(0, (kSounds / "Blood.wav").string()));
  EXPECT_FALSE(audio_->SetVolume(0, 0));
  audio_->Play(0, 0, false);
  audio_->PlayLooping(0);

  // ALSA without any device, as on a machine with neither a sound server nor a sound card: alsa-lib prints
  // nothing, and the game starts silent and says so in one line.
  setenv("ALSA_CONFIG_PATH", "/dev/null", 1);  // an empty configuration
  setenv("SDL_AUDIODRIVER", "alsa", 1);
  SdlAudio alsa;
  testing::FakeGame game;
  game->app.DataDir = KESMIR_GAME_DIR;
  game->platform.sound = &alsa;
  ::testing::internal::CaptureStderr();
  LoadSounds(*game);
  PlaySoundFx(*game, kSoundBulletFire, 500);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "kesmir: no sound output was found; the game plays silently\n");
  EXPECT_EQ(game->app.ProgressStep, 31);
}

}  // namespace
}  // namespace kesmir
