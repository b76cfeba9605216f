// The world score exchange over passive FTP.
#include "network/ftp_exchange.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "app/folders.h"
#include "app/progress.h"
#include "app/window_events.h"
#include "core/files.h"
#include "network/deployment.h"
#include "network/exchange_report.h"
#include "network/version_check.h"
#include "scores/score_files.h"
#include "scores/world_scores.h"

namespace kesmir {
namespace {

void Step(Game& game, std::string_view caption) {
  game.app.LoadingCaption = caption;
  ShowProgress(game);
}

constexpr int kMaxUploads = 3;
constexpr std::string_view kNotFetched = "The world list could not be fetched; nothing was sent.";

// What the player is told when a transfer failed, in the game's words: the message of the step, or what to
// change in Network.txt when the encryption is what failed.
std::string FailureMessage(const TransferResult& result, std::string_view stepMessage) {
  if (result.certificate) {
    return std::string(stepMessage) +
           "\nThe score server's certificate could not be verified: set ca_file in Network.txt to it.";
  }
  if (result.noTls) {
    return std::string(stepMessage) + "\nThe score server offers no encryption, which ftps = require asks for.";
  }
  return std::string(stepMessage);
}

// Fetches the server's world list over the hidden world file. The file is replaced only by a complete list.
// True when the merged list may be sent back: the server's list was fetched, or the server has none yet
// (a new server is seeded by the first upload).
bool FetchWorldFile(Game& game, const NetDeployment& d, bool report = true) {
  INetwork* network = game.platform.network;
  if (!network || game.app.Ended) return false;
  std::string contents;
  const TransferResult result = network->FtpGet(d.ftp, std::string(kRemoteWorldFile), kMaxWorldFileBytes,
                                                WatchedLimits(game, d.limits), contents);
  if (game.app.Ended) return false;
  if (!result.ok) {
    if (result.missing) return true;
    if (report) ReportTransferFailure(game, FailureMessage(result, kNotFetched), result.error);
    return false;
  }
  if (!IsWorldListFile(contents)) {
    if (report) ReportTransferFailure(game, kNotFetched, "the server's file is not a world score list");
    return false;
  }
  const auto path = UserPath(game, kWorldScoreFile);
  if (!WriteFileAtomic(path, contents)) {
    if (report) ReportTransferFailure(game, kNotFetched, "cannot write " + path.string());
    return false;
  }
  return true;
}

// Waits between 0.2 and 1 second, keeping the window alive.
void WaitBeforeRetry(Game& game) {
  IClock* clock = game.platform.clock;
  if (!clock) return;
  const std::uint64_t end = clock->Micros() + 200'000 + static_cast<std::uint64_t>(game.Rnd() * 800'000);
  for (std::uint64_t now = clock->Micros(); now < end && !game.app.Ended; now = clock->Micros()) {
    clock->SleepMicros(std::min<std::uint64_t>(end - now, 50'000));
    RefreshScreen(game);
    DoEvents(game);
  }
}

}  // namespace

Integer CheckConnection(Game& game) {
  const NetDeployment& d = Deployment(game);
  Integer connected = 0;
  if (!d.ftp.host.empty() && game.platform.connection) {
    connected = game.platform.connection->Reachable(d.ftp.host, d.ftp.port).value_or(false) ? kTrue : 0;
  }
  game.net.Connected = connected;
  return connected;
}

void DownloadWorldScores(Game& game) {
  const NetDeployment& d = Deployment(game);
  if (d.ftp.host.empty()) return;  // offline: there is no server to exchange with
  ExchangeScope scope(game);
  // Closing the window ends the exchange at its next step: no further transfer, no message.
  if (CheckNewVersion(game) != 0 || game.app.Ended) return;  // a newer version: the player has just been told
  game.app.ProgressStep = 0;
  DoEvents(game);
  Step(game, "Connecting for download..");
  ShowProgress(game);
  ShowProgress(game);
  Step(game, "Downloading..");
  bool fetched = FetchWorldFile(game, d);
  ShowProgress(game);
  ShowProgress(game);
  // Download, merge and upload are not one step on the server: another player's upload between ours can
  // replace our rows. So the list is fetched again after the upload, and while it lacks a row this
  // synchronisation merged, the merge and the upload are repeated, up to three uploads in all.
  for (int upload = 1; !game.app.Ended; ++upload) {
    // A failed download still merges into the list on disk, which is kept here and not sent.
    game.net.UploadAllowed = fetched;
    game.net.Uploaded = false;
    SynchronizeScores(game);
    game.net.UploadAllowed = true;
    if (!game.net.Uploaded || upload == kMaxUploads || !FetchWorldFile(game, d, false)) break;
    game.scores.WsLoadCount = 0;
    LoadWorldScores(game);
    if (LocalRowsInWorldList(game.scores)) break;
    std::fprintf(stderr, "kesmir: the world list on the server lacks rows just sent; merging again\n");
    WaitBeforeRetry(game);
  }
  game.scores.WsLoadCount = 0;  // the world-score screen reads the list on its next pass
}

void UploadWorldScores(Game& game) {
  constexpr std::string_view kNotSent =
      "The world list could not be sent; your scores stay on this computer until the next synchronisation.";
  const NetDeployment& d = Deployment(game);
  if (d.ftp.host.empty() || !game.platform.network || game.app.Ended) return;  // offline: the list stays here
  if (!game.net.UploadAllowed) {
    game.scores.WsLoadCount = 0;  // the screen shows the merged list kept here
    return;
  }
  ExchangeScope scope(game);
  Step(game, "Connecting for upload..");
  Step(game, "Uploading..");
  bool sent = false;
  const auto contents = ReadFileLimited(UserPath(game, kWorldScoreFile), kMaxWorldFileBytes + 1);
  if (!contents || contents->size() > kMaxWorldFileBytes) {
    // A file cut at the bound would spoil the server's list for everyone: it is not sent.
    ReportTransferFailure(game, kNotSent, "cannot read " + UserPath(game, kWorldScoreFile).string());
  } else {
    const TransferResult result = game.platform.network->FtpPut(d.ftp, std::string(kRemoteWorldFile), *contents,
                                                                WatchedLimits(game, d.limits));
    sent = result.ok;
    game.net.Uploaded = sent;
    if (!sent && !game.app.Ended) ReportTransferFailure(game, FailureMessage(result, kNotSent), result.error);
  }
  ShowProgress(game);
  if (sent) ListRemoteFiles(game);
  ShowProgress(game);
  game.scores.WsLoadCount = 0;  // the world-score screen reads the merged file on its next pass
}

void ListRemoteFiles(Game& game) {
  const NetDeployment& d = Deployment(game);
  if (d.ftp.host.empty() || !game.platform.network || game.app.Ended) return;
  std::vector<std::string> names;
  game.platform.network->FtpList(d.ftp, WatchedLimits(game, d.limits), names);
}

bool IsWorldListFile(std::string_view text) {
  std::size_t lineNumber = 0;
  std::size_t start = 0;
  while (start <= text.size() && lineNumber <= static_cast<std::size_t>(kWorldPlaces)) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line == "END") return true;
    ++lineNumber;
    start = end + 1;
  }
  return false;
}

}  // namespace kesmir
