// The generated sound files: format, lengths, levels, loop seams and repeatability.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

#include "assetgen.h"

namespace {

namespace fs = std::filesystem;

// The sound table the game loads, and the three sounds it plays looping.
const std::vector<std::string> kSoundFiles = {
    "BulletFire.wav", "BulletFireMiss.wav", "Blood.wav",      "Health.wav",     "Ammo.wav",       "Fight.wav",
    "LevelUp.wav",    "Damage1.wav",        "Damage2.wav",    "Damage3.wav",    "Damage4.wav",    "Damage5.wav",
    "Damage6.wav",    "Buger.wav",          "AirPlane.wav",   "Bomb.wav",       "SnowBattle.wav", "MouseOver.wav",
    "MenuClick.wav",  "MenuAmbient.wav",    "Photo.wav",      "AcidPickUp.wav", "AcidBad1.wav",   "AcidBad2.wav",
    "AcidGood1.wav",  "AcidGood2.wav",      "HighScore1.wav", "HighScore2.wav", "HighScore3.wav", "Heart.wav",
    "Alarm.wav"};
const std::set<std::string> kLoops = {"SnowBattle.wav", "MenuAmbient.wav", "Heart.wav"};
const std::set<std::string> kAmbience = {"SnowBattle.wav", "MenuAmbient.wav"};

constexpr double kRate = 22050.0;
constexpr std::size_t kHeaderBytes = 44;

std::vector<std::uint8_t> ReadBytes(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::uint32_t Le32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
         static_cast<std::uint32_t>(bytes[at + 2]) << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}
std::uint16_t Le16(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}
std::string Tag(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return std::string(bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.begin() + static_cast<std::ptrdiff_t>(at + 4));
}

struct Channels {
  std::vector<int> left, right;
  std::size_t Frames() const { return left.size(); }
  double Seconds() const { return static_cast<double>(Frames()) / kRate; }
};

Channels Samples(const std::vector<std::uint8_t>& bytes) {
  Channels channels;
  for (std::size_t at = kHeaderBytes; at + 4 <= bytes.size(); at += 4) {
    channels.left.push_back(static_cast<std::int16_t>(Le16(bytes, at)));
    channels.right.push_back(static_cast<std::int16_t>(Le16(bytes, at + 2)));
  }
  return channels;
}

int PeakOf(const std::vector<int>& samples, std::size_t from, std::size_t to) {
  int peak = 0;
  for (std::size_t i = from; i < std::min(to, samples.size()); ++i) peak = std::max(peak, std::abs(samples[i]));
  return peak;
}

class SoundFiles : public testing::Test {
 protected:
  static fs::path Folder() { return fs::temp_directory_path() / ("kesmir-sounds-" + std::to_string(::getpid())); }
  static void SetUpTestSuite() {
    fs::remove_all(Folder());
    ASSERT_TRUE(assetgen::WriteSounds(Folder()));
  }
  static void TearDownTestSuite() { fs::remove_all(Folder()); }
  static fs::path Sound(const std::string& name) { return Folder() / "Sounds" / name; }
};

TEST_F(SoundFiles, EveryFileIsStereoPcmAt22050HzWithConsistentChunkSizes) {
  std::set<std::string> written;
  for (const auto& entry : fs::directory_iterator(Folder() / "Sounds")) written.insert(entry.path().filename().string());
  EXPECT_EQ(written, std::set<std::string>(kSoundFiles.begin(), kSoundFiles.end()));
  for (const std::string& name : kSoundFiles) {
    SCOPED_TRACE(name);
    const std::vector<std::uint8_t> bytes = ReadBytes(Sound(name));
    ASSERT_GE(bytes.size(), kHeaderBytes);
    EXPECT_EQ(Tag(bytes, 0), "RIFF");
    EXPECT_EQ(Le32(bytes, 4), bytes.size() - 8);
    EXPECT_EQ(Tag(bytes, 8), "WAVE");
    EXPECT_EQ(Tag(bytes, 12), "fmt ");
    EXPECT_EQ(Le32(bytes, 16), 16u);
    EXPECT_EQ(Le16(bytes, 20), 1);       // PCM
    EXPECT_EQ(Le16(bytes, 22), 2);       // channels
    EXPECT_EQ(Le32(bytes, 24), 22050u);  // samples per second
    EXPECT_EQ(Le32(bytes, 28), 88200u);  // bytes per second
    EXPECT_EQ(Le16(bytes, 32), 4);       // block alignment
    EXPECT_EQ(Le16(bytes, 34), 16);      // bits per sample
    EXPECT_EQ(Tag(bytes, 36), "data");
    EXPECT_EQ(Le32(bytes, 40), bytes.size() - kHeaderBytes);
    EXPECT_EQ((bytes.size() - kHeaderBytes) % 4, 0u);
  }
}

TEST_F(SoundFiles, LengthsAndTotalSizeStayWithinBudget) {
  std::uintmax_t total = 0;
  for (const std::string& name : kSoundFiles) {
    SCOPED_TRACE(name);
    total += fs::file_size(Sound(name));
    const double seconds = Samples(ReadBytes(Sound(name))).Seconds();
    EXPECT_GT(seconds, 0.05);
    EXPECT_LT(seconds, kLoops.count(name) ? 20.0 : 3.0);
  }
  EXPECT_LT(total, 8'000'000u);
}

// Sounds start up to 506 bytes in, so nothing may happen in the first 10 ms; no sample may clip, none may sit
// off centre, every one-shot must be clearly audible and die away to silence.
TEST_F(SoundFiles, LevelsAreCleanFromStartToEnd) {
  const auto tenMilliseconds = static_cast<std::size_t>(0.010 * kRate);
  for (const std::string& name : kSoundFiles) {
    SCOPED_TRACE(name);
    const Channels audio = Samples(ReadBytes(Sound(name)));
    for (const std::vector<int>* channel : {&audio.left, &audio.right}) {
      const int peak = PeakOf(*channel, 0, channel->size());
      EXPECT_LT(peak, 32000) << "no headroom";
      EXPECT_GT(peak, 8000) << "far too quiet";
      double sum = 0.0;
      for (const int value : *channel) sum += value;
      EXPECT_LT(std::fabs(sum / static_cast<double>(channel->size())), 60.0) << "DC offset";
      if (!kAmbience.count(name)) {
        EXPECT_LT(PeakOf(*channel, 0, tenMilliseconds), 100) << "sound in the first 10 ms";
      }
      if (!kLoops.count(name)) {
        EXPECT_LT(std::abs(channel->back()), 16) << "ends abruptly";
      }
    }
  }
}

// A loop joins its last sample to its first: that step must look like any other step around it.
TEST_F(SoundFiles, LoopsJoinWithoutAClick) {
  constexpr std::size_t kWindow = 512;
  for (const std::string& name : kLoops) {
    SCOPED_TRACE(name);
    const Channels audio = Samples(ReadBytes(Sound(name)));
    ASSERT_GT(audio.Frames(), 4 * kWindow);
    for (const std::vector<int>* channel : {&audio.left, &audio.right}) {
      const std::size_t n = channel->size();
      double squares = 0.0;
      for (std::size_t i = 1; i < kWindow; ++i) {
        const double head = (*channel)[i] - (*channel)[i - 1];
        const double tail = (*channel)[n - i] - (*channel)[n - i - 1];
        squares += head * head + tail * tail;
      }
      const double typicalStep = std::sqrt(squares / (2.0 * (kWindow - 1)));
      const double seam = std::abs((*channel)[0] - (*channel)[n - 1]);
      EXPECT_LE(seam, 4.0 * typicalStep + 8.0) << "typical step " << typicalStep;
    }
  }
}

TEST_F(SoundFiles, GenerationRepeatsByteForByte) {
  const fs::path again = Folder() / "again";
  ASSERT_TRUE(assetgen::WriteSounds(again));
  for (const std::string& name : kSoundFiles) {
    EXPECT_TRUE(ReadBytes(Sound(name)) == ReadBytes(again / "Sounds" / name)) << name;
  }
}

TEST(SoundOutput, UnwritableFolderFailsCleanly) {
  const fs::path blocker = fs::temp_directory_path() / ("kesmir-blocker-" + std::to_string(::getpid()));
  std::ofstream(blocker) << "a file where a folder should be";
  testing::internal::CaptureStderr();
  EXPECT_FALSE(assetgen::WriteSounds(blocker));
  EXPECT_NE(testing::internal::GetCapturedStderr().find("cannot create"), std::string::npos);
  fs::remove(blocker);
}

}  // namespace
