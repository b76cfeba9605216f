// Whole-file reads: the size bound cuts a long file and costs nothing for a short one.
#include "core/files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
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
}

}  // namespace
}  // namespace kesmir
