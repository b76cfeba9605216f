// Fuzzes the hidden world list file: reading its rows and trailer, the details drawn from any row, and a save
// that reads back as it was written.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_game.h"
#include "scores/high_scores.h"
#include "scores/score_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kesmir;
  testing::FakeGame& fake = fuzz::FuzzGame();
  Game& game = *fake;
  fuzz::ClearRecords(fake);
  fuzz::ResetPart(game.scores);
  fake.clock.today = Date{2002, 8, 27};

  fuzz::WriteUserInput(fake, std::string(kWorldScoreFile), data, size);
  LoadWorldScores(game);
  // The details panel of the rows the screen shows first.
  for (int place = 0; place < kLocalRows; ++place) DrawRowDetails(game, WorldRow(game.scores, place));

  // The saved file reads back into the rows that were saved, with the upload counted and dated today.
  std::vector<ScoreLineFields> expected;
  for (int place = 0; place < kWorldRows; ++place) {
    expected.push_back(CutScoreLine(JoinScoreLine(WorldRow(game.scores, place))));
  }
  const Integer uploads = AddSat(game.scores.WsUploadCount, 1);
  fuzz::Require(SaveWorldScores(game), "the world list is saved");
  game.scores.WsLoadCount = 0;
  fuzz::Require(LoadWorldScores(game), "the saved world list is read");
  for (int place = 0; place < kWorldRows; ++place) {
    fuzz::Require(fuzz::SameFields(WorldRow(game.scores, place), expected[static_cast<std::size_t>(place)]),
                  "a saved world row reads back as it was saved");
  }
  fuzz::Require(game.scores.WsUploadCount == uploads, "the upload is counted");
  fuzz::Require(game.scores.WsLastUpdate == "27.08.2002" && game.scores.WsListDate == "27.08.2002",
                "the upload is dated today");
  return 0;
}
