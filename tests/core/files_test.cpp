// Whole-file reads: the size bound cuts a long file and costs nothing for a short one.
#include "core/files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace kesmir {
namespace {

struct Files : ::testing::Test {
  std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("kesmir-files-test-" + std::to_string(::getpid()));
  void SetUp() override { std::filesystem::create_directories(folder); }
  void TearDown() override { std::filesystem::remove_all(folder); }
  std::filesystem::path Write(const std::string& name, const std::string& contents) {
    const auto path = folder / name;
    std::ofstream(path, std::ios::binary) << contents;
    return path;
  }
};

TEST_F(Files, TheBoundCapsTheReadWithoutBeingReserved) {
  // A bound far beyond any memory: the short file is read whole. (Found by the list fuzzers, whose every read
  // of a few hundred bytes had set aside the whole 8 MB bound.)
  const auto small = Write("small.txt", "0\r\n8\r\n");
  EXPECT_EQ(ReadFileLimited(small, std::numeric_limits<std::size_t>::max()), "0\r\n8\r\n");

  // A long file is cut at the bound, across the pieces it is read in, and an exact fit is whole.
  std::string longText;
  for (int i = 0; longText.size() < 100'000; ++i) longText += std::to_string(i) + "-";
  const auto big = Write("big.txt", longText);
  EXPECT_EQ(ReadFileLimited(big, 40'000), longText.substr(0, 40'000));
  EXPECT_EQ(ReadFileLimited(big, longText.size()), longText);
  EXPECT_EQ(ReadFileLimited(big, 0), "");

  EXPECT_EQ(ReadFileLimited(folder / "missing.txt", 100), std::nullopt);
  // A FIFO or a folder in a file's place is refused at once instead of waiting for a writer.
  ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0600), 0);
  EXPECT_EQ(ReadFileLimited(folder / "fifo", 100), std::nullopt);
  EXPECT_FALSE(IsRegularFile(folder / "fifo"));
  EXPECT_EQ(ReadFileLimited(folder, 100), std::nullopt);
}

TEST_F(Files, AWriteGoesThroughATemporaryOfItsOwnAndNeverThroughALinkPlantedBesideIt) {
  const auto target = Write("list.txt", "old");
  const auto victim = Write("victim.txt", "untouched");
  // Links at every name a fixed scheme would use.
  for (const char* name : {"list.txt.tmp", "list.txt.XXXXXX"}) std::filesystem::create_symlink(victim, folder / name);
  ASSERT_TRUE(WriteFileAtomic(target, "new"));
  EXPECT_EQ(ReadFileLimited(target, 100), "new");
  EXPECT_EQ(ReadFileLimited(victim, 100), "untouched");
  EXPECT_TRUE(std::filesystem::is_symlink(target.string() + ".tmp"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()), 4);
}

}  // namespace
}  // namespace kesmir
