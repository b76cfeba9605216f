// Fuzzes the hidden local list file: reading it, the screen, the details and the overlay drawn from it, a new
// score entering it, and a save that reads back as it was written.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_game.h"
#include "render/overlays.h"
#include "scores/high_scores.h"
#include "scores/score_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kesmir;
  testing::FakeGame& fake = fuzz::FuzzGame();
  Game& game = *fake;
  fuzz::ClearRecords(fake);
  fuzz::ResetPart(game.scores);
  fuzz::ResetPart(game.play);
  fuzz::ResetPart(game.menus);
  game.app.MenuScreen = "HS";

  fuzz::WriteUserInput(fake, std::string(kLocalScoreFile), data, size);
  LoadHighScores(game);

  // What the player sees of the list.
  HighScoresScreen(game);
  for (int place = 0; place < kLocalRows; ++place) DrawScoreDetails(game, place);
  game.play.Fighters[0].Y = 140;
  game.play.ScoreInfoOn = kTrue;
  game.play.Score = 500;
  game.settings.OptScoreInfo = kOn;
  DrawOverlays(game);

  // A finished game's score offered to the list.
  UpdateHighScores(game, 450);
  game.scores.NameEntryOn = 0;

  // The saved file reads back into the rows that were saved, cut as the reader cuts them.
  std::vector<ScoreLineFields> expected;
  for (int place = 0; place < kLocalRows; ++place) {
    expected.push_back(CutScoreLine(JoinScoreLine(LocalRow(game.scores, place))));
  }
  fuzz::Require(SaveHighScores(game), "the list is saved");
  game.scores.HsLoadCount = 0;
  fuzz::Require(LoadHighScores(game), "the saved list is read");
  for (int place = 0; place < kLocalRows; ++place) {
    fuzz::Require(fuzz::SameFields(LocalRow(game.scores, place), expected[static_cast<std::size_t>(place)]),
                  "a saved row reads back as it was saved");
  }
  return 0;
}
