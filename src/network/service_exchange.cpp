// The synchronisation with the score service over HTTP.
#include "network/service_exchange.h"

#include <array>
#include <string>
#include <vector>

#include "app/folders.h"
#include "app/progress.h"
#include "core/files.h"
#include "network/exchange_report.h"
#include "network/ftp_exchange.h"
#include "scores/high_scores.h"
#include "scores/list_text.h"
#include "scores/score_files.h"
#include "scores/world_merge.h"

namespace kesmir {
namespace {

void Step(Game& game, std::string_view caption) {
  game.app.LoadingCaption = caption;
  ShowProgress(game);
}

// Writes the answered list where a downloaded one goes; false, told, when it cannot be written. The service
// has merged the rows by then, so the player is not told that nothing was sent.
bool KeepAnsweredList(Game& game, const std::string& list) {
  constexpr std::string_view kNotKept =
      "The merged world list could not be saved on this computer; your scores were sent.";
  for (const std::string_view file : {kWorldScoreFile, kWorldScoreCopy}) {
    const auto path = UserPath(game, file);
    if (!WriteFileAtomic(path, list)) {
      ReportTransferFailure(game, kNotKept, "cannot write " + path.string());
      return false;
    }
  }
  return true;
}

}  // namespace

void SynchronizeWithService(Game& game, const NetDeployment& d) {
  // As in the FTP way's merge: the progress bar has a transfer's scale, and a service that stopped answering
  // is not asked.
  if (!game.platform.network || game.app.Ended || CheckConnection(game) == 0) return;
  ScoreLists& lists = game.scores;
  SyncOutcome& sync = game.net.LastSync;
  Step(game, "Loading..");
  UpdateHighScores(game, 0);  // loads the local list if it is not loaded yet
  lists.WsLoadCount = 0;
  LoadWorldScores(game);
  // Which local rows the list held here already has, to count the rows the service's merge added.
  std::array<bool, kMergedLocalRows> heldBefore{};
  for (int place = 0; place < kMergedLocalRows; ++place) heldBefore[place] = LocalRowInWorldList(lists, place);
  // The local list file as SaveHighScores writes it; the service merges its ten shown rows.
  std::vector<ScoreLineFields> rows;
  for (int place = 0; place < kLocalRows; ++place) rows.push_back(LocalRow(lists, place));

  Step(game, "Connecting for upload..");
  // The bar stands at half while the post waits, and is full when the list is kept.
  game.app.ProgressStep = kNetworkSteps / 2 - 1;
  Step(game, "Uploading..");
  std::string answer;
  const TransferResult result = game.platform.network->PostFile(d.scoreUrl + "/world", d.ftp, EncodedRows(rows),
                                                               kMaxWorldFileBytes, WatchedLimits(game, d.limits),
                                                               answer);
  if (game.app.Ended) return;  // the window was closed: nothing is kept and nobody is told
  if (!result.ok) return ReportTransferFailure(game, FailureMessage(result, kNotFetched), result.error);
  const std::optional<int> answeredRows = WorldListRows(answer);
  if (!answeredRows) {
    return ReportTransferFailure(game, kNotFetched, "the score service's answer is not a world score list");
  }
  sync.uploads = 1;
  game.app.ProgressStep = kNetworkSteps - 2;
  Step(game, "Saving..");
  if (!KeepAnsweredList(game, answer)) return;
  sync.rowsFetched = *answeredRows;
  lists.WsLoadCount = 0;
  LoadWorldScores(game);
  for (int place = 0; place < kMergedLocalRows; ++place) {
    if (!heldBefore[place] && LocalRowInWorldList(lists, place)) ++sync.rowsMerged;
  }
  sync.confirmed = LocalRowsInWorldList(lists);
  ShowProgress(game);
}

}  // namespace kesmir
