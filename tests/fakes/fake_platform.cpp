// The fake game's folders.
#include "fakes/fake_platform.h"

#include <atomic>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace kesmir::testing {

namespace {
std::atomic<int> counter{0};

void WriteFile(const std::filesystem::path& path, const std::string& contents) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << contents;
}
}  // namespace

FakeGame::FakeGame() {
  root = std::filesystem::temp_directory_path() /
         ("kesmir-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
  std::filesystem::remove_all(root);
  std::filesystem::create_directories(root / "user" / "OtherFiles");
  std::filesystem::create_directories(root / "data" / "OtherFiles");
  game->app.UserDir = root / "user";
  game->app.DataDir = root / "data";
  game->platform = {&window, &keyboard, &mouse, &clock, &dialogs, &pictures, &fonts, &system};
  game->platform.sound = &sound;
  game->platform.network = &network;
  game->platform.connection = &connection;
  game->platform.desktop = &desktop;
  game->random.Seed(12345);
  game->random.SetDeterministic(true);
}

FakeGame::~FakeGame() {
  std::error_code ec;
  std::filesystem::remove_all(root, ec);
}

void FakeGame::WriteUserFile(const std::string& relative, const std::string& contents) {
  WriteFile(root / "user" / relative, contents);
}
void FakeGame::WriteDataFile(const std::string& relative, const std::string& contents) {
  WriteFile(root / "data" / relative, contents);
}

std::string FakeGame::ReadUserFile(const std::string& relative) const {
  std::ifstream in(root / "user" / relative, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

Image SolidImage(int width, int height, std::uint32_t colour) {
  return Image{width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width * height), colour)};
}

}  // namespace kesmir::testing
