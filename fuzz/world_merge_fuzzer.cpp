// Fuzzes the synchronisation fed a server's world file: the check of the download, the merge of the local list
// into it, the save and upload of the result, and the world-score screen drawn from it.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/files.h"
#include "fuzz_game.h"
#include "network/ftp_exchange.h"
#include "network/version_check.h"
#include "scores/score_files.h"
#include "scores/world_scores.h"

namespace {

constexpr const char* kWebBase = "http://web.example";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kesmir;
  testing::FakeGame& fake = fuzz::FuzzGame();
  Game& game = *fake;
  // A score server and a web server that announces this very version; the player's copy of the world list is
  // the shipped one before each exchange.
  static const std::string shippedWorld = [&fake] {
    fake.WriteUserFile("OtherFiles/Network.txt", "ftp_host = scores.example\nweb_base = " + std::string(kWebBase) + "\n");
    fake.network.webFiles[kWebBase + std::string(kAnnouncementFolder) + std::string(kAnnouncementName)] =
        "1.14 3.20                       Kesmir114.exe\r\n";
    fake.connection.answer = true;
    return ReadFileLimited(fake.root / "data" / kWorldScoreDefault, kMaxWorldFileBytes).value_or("");
  }();
  fuzz::ClearRecords(fake);
  fuzz::ResetPart(game.scores);
  fuzz::ResetPart(game.net);
  fuzz::ResetPart(game.input);
  fuzz::ResetPart(game.menus);
  fake.WriteUserFile(std::string(kWorldScoreFile), shippedWorld);

  const std::string served(reinterpret_cast<const char*>(data), size);
  fake.network.ftpFiles[std::string(kRemoteWorldFile)] = served;
  DownloadWorldScores(game);

  // A world list on the server gets the merged list back, and only a world list; anything else is left alone.
  bool uploaded = false;
  for (const std::string& call : fake.network.calls) uploaded = uploaded || call == "put Atopw.kzm";
  const bool aList = served.size() <= kMaxWorldFileBytes && IsWorldListFile(served);
  fuzz::Require(uploaded == aList, "the merged list is uploaded exactly when the server held a world list");
  const std::string& after = fake.network.ftpFiles[std::string(kRemoteWorldFile)];
  fuzz::Require(aList ? IsWorldListFile(after) : after == served, "the server keeps a world list or its own file");

  // The screen at the top of the list and scrolled to its end.
  game.app.MenuScreen = "WS";
  WorldScoresScreen(game);
  game.input.WorldListOffset = 90;
  WorldScoresScreen(game);
  for (int place = 0; place < kWorldRows; place += 25) DrawWorldScoreDetails(game, place);
  return 0;
}
