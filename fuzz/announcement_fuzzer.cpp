// Fuzzes the version announcement a web server sends: the check for a newer version, the version shown, and the
// installer's address handed to the desktop.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/files.h"
#include "fuzz_game.h"
#include "network/version_check.h"

namespace {

constexpr const char* kWebBase = "http://web.example";

bool Printable(const std::string& text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return false;
  }
  return true;
}

// The folder's address followed only by unreserved or percent-encoded characters.
bool StaysInFolder(const std::string& url) {
  const std::string folder = kWebBase + std::string(kesmir::kAnnouncementFolder);
  if (url.compare(0, folder.size(), folder) != 0) return false;
  const std::string name = url.substr(folder.size());
  if (name == "." || name == "..") return false;
  for (const char c : name) {
    const bool plain = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '-' ||
                       c == '.' || c == '_' || c == '~' || c == '%';
    if (!plain) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kesmir;
  testing::FakeGame& fake = fuzz::FuzzGame();
  Game& game = *fake;
  static const bool served = [&fake] {
    fake.WriteUserFile("OtherFiles/Network.txt", "web_base = " + std::string(kWebBase) + "\n");
    return true;
  }();
  (void)served;
  fuzz::ClearRecords(fake);
  fuzz::ResetPart(game.net);
  fake.dialogs.answerYes = true;

  const std::string url = kWebBase + std::string(kAnnouncementFolder) + std::string(kAnnouncementName);
  const std::string answer(reinterpret_cast<const char*>(data), size);
  const auto copy = fake.root / "user" / kAnnouncementCopy;
  const std::string before = ReadFileLimited(copy, 1 << 20).value_or("");
  fake.network.webFiles[url] = answer;
  CheckNewVersion(game);
  ShowLatestVersion(game);

  const NetState& net = game.net;
  fuzz::Require(Printable(net.LatestVersion) && Printable(net.LatestSize) && Printable(net.LatestFile),
                "the announcement's fields are printable");
  const bool announcement = answer.size() <= 64 * 1024 && IsAnnouncement(answer);
  fuzz::Require(!announcement || !fake.desktop.opened.empty(), "an announcement's installer is handed to the desktop");
  fuzz::Require(announcement || ReadFileLimited(copy, 1 << 20).value_or("") == before,
                "anything but an announcement leaves the last one read in place");
  for (const std::string& opened : fake.desktop.opened) {
    fuzz::Require(StaysInFolder(opened), "the installer's address stays in the announcement's folder");
  }
  return 0;
}
