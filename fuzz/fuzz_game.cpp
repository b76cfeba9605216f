// The fuzzers' shared fake game and its folders.
#include "fuzz_game.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace kesmir::fuzz {
namespace {

// Where the shipped files are taken from: seeds that are the generated files themselves.
struct ShippedFile {
  const char* seed;    // under the seed corpus
  const char* target;  // under the data folder
};

constexpr ShippedFile kShippedFiles[] = {
    {"fighters/DEFAULT.txt", "OtherFiles/DEFAULT.txt"},
    {"fighters/LVL1.txt", "OtherFiles/LVL1.txt"},
    {"local_scores/Temp.txt", "OtherFiles/Temp.txt"},
    {"world_scores/Temp2.txt", "OtherFiles/Temp2.txt"},
    {"options/Options.txt", "OtherFiles/Options.txt"},
};

void WriteBytes(const std::filesystem::path& path, const std::uint8_t* data, std::size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  if (!out) {
    std::fprintf(stderr, "fuzz: cannot write %s\n", path.c_str());
    std::abort();
  }
}

void CopyShippedFiles(const testing::FakeGame& fake) {
  const std::filesystem::path seeds = KESMIR_FUZZ_SEEDS;
  for (const ShippedFile& file : kShippedFiles) {
    std::error_code ec;
    std::filesystem::copy_file(seeds / file.seed, fake.root / "data" / file.target,
                               std::filesystem::copy_options::overwrite_existing, ec);
    if (ec) {
      std::fprintf(stderr, "fuzz: cannot copy the seed %s: %s\n", file.seed, ec.message().c_str());
      std::abort();
    }
  }
}

}  // namespace

testing::FakeGame& FuzzGame() {
  // The folders go when the run ends normally; after a crash they are left to the caller's scratch folder.
  static testing::FakeGame fake;
  static const bool shipped = (CopyShippedFiles(fake), true);
  (void)shipped;
  fake.window.keepField = false;  // no property reads the fake window's copy of each picture
  return fake;
}

void ClearRecords(testing::FakeGame& fake) {
  fake.fonts.calls.clear();
  fake.pictures.loaded.clear();
  fake.pictures.saved.clear();
  fake.dialogs.shown.clear();
  fake.sound.loads.clear();
  fake.sound.starts.clear();
  fake.window.modes.clear();
  fake.network.calls.clear();
  fake.desktop.opened.clear();
}

void WriteUserInput(testing::FakeGame& fake, const std::string& relative, const std::uint8_t* data, std::size_t size) {
  WriteBytes(fake.root / "user" / relative, data, size);
}

void WriteDataInput(testing::FakeGame& fake, const std::string& relative, const std::uint8_t* data, std::size_t size) {
  WriteBytes(fake.root / "data" / relative, data, size);
}

bool SameFields(const ScoreLineFields& a, const ScoreLineFields& b) {
  return a.score == b.score && a.kills == b.kills && a.time == b.time && a.accuracy == b.accuracy &&
         a.recharge == b.recharge && a.bulletSpeed == b.bulletSpeed && a.melee == b.melee &&
         a.maxHealth == b.maxHealth && a.maxAmmo == b.maxAmmo && a.timesPlayed == b.timesPlayed && a.date == b.date &&
         a.name == b.name;
}

void Require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "fuzz: property broken: %s\n", what);
  std::abort();
}

}  // namespace kesmir::fuzz
