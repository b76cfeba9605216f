// The world score exchange over passive FTP.
#include "network/ftp_exchange.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/folders.h"
#include "app/progress.h"
#include "app/window_events.h"
#include "core/files.h"
#include "network/deployment.h"
#include "network/exchange_report.h"
#include "network/service_exchange.h"
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
constexpr int kMaxRounds = 12;  // merges of one synchronisation, those that found a newer list included
constexpr std::uint64_t kSyncSeconds = 42;  // with start-up and the merge, within 45
constexpr std::uint64_t kAnnouncementSeconds = 15;
constexpr std::string_view kUnreadable =
    "The world list on the score server cannot be read with this account; nothing was sent.";
constexpr std::string_view kOverwritten =
    "Other players' uploads kept replacing yours; your scores go with the next synchronisation.";

enum class Fetched { List, NoList, Unreadable, Failed };

// Fetches the server's world list. A 550 reply means either that there is none or that this account may not
// read it, so the list counts as absent only when the login folder's listing shows no such file.
Fetched FetchServerList(Game& game, const NetDeployment& d, std::string& contents, TransferResult& result) {
  INetwork* network = game.platform.network;
  result = network->FtpGet(d.ftp, std::string(kRemoteWorldFile), kMaxWorldFileBytes, WatchedLimits(game, d.limits),
                           contents);
  if (result.ok) return Fetched::List;
  if (!result.missing || game.app.Ended) return Fetched::Failed;
  std::vector<std::string> names;
  const TransferResult listed = network->FtpList(d.ftp, WatchedLimits(game, d.limits), names);
  if (!listed.ok) {
    result.error += "; the folder could not be listed either (" + listed.error + ")";
    return Fetched::Failed;
  }
  return std::find(names.begin(), names.end(), kRemoteWorldFile) == names.end() ? Fetched::NoList
                                                                                 : Fetched::Unreadable;
}

// What the player is told when the list could not be fetched.
std::string FetchFailure(Fetched fetched, const TransferResult& result, std::string_view stepMessage) {
  return fetched == Fetched::Unreadable ? std::string(kUnreadable) : FailureMessage(result, stepMessage);
}

// Fetches the server's world list over the hidden world file. The file is replaced only by a complete list.
// True when the merged list may be sent back: the server's list was fetched, or the server has none yet
// (a new server is seeded by the first upload).
bool FetchWorldFile(Game& game, const NetDeployment& d, bool report = true) {
  if (!game.platform.network || game.app.Ended) return false;
  SyncOutcome& sync = game.net.LastSync;
  const bool first = sync.rowsFetched < 0 && !sync.noList;
  std::string contents;
  TransferResult result;
  const Fetched fetched = FetchServerList(game, d, contents, result);
  if (game.app.Ended) return false;
  if (fetched == Fetched::NoList) {
    if (game.net.SyncBase) game.net.SyncBase->clear();
    if (first) sync.noList = true;
    return true;
  }
  if (fetched != Fetched::List) {
    if (report) ReportTransferFailure(game, FetchFailure(fetched, result, kNotFetched), result.error);
    return false;
  }
  const std::optional<int> rows = WorldListRows(contents);
  if (!rows) {
    if (report) ReportTransferFailure(game, kNotFetched, "the server's file is not a world score list");
    return false;
  }
  const auto path = UserPath(game, kWorldScoreFile);
  if (!WriteFileAtomic(path, contents)) {
    if (report) ReportTransferFailure(game, kNotFetched, "cannot write " + path.string());
    return false;
  }
  if (first) sync.rowsFetched = *rows;
  if (game.net.SyncBase) *game.net.SyncBase = std::move(contents);
  return true;
}

// After an upload: the list is fetched again and read; whether it holds every row this game merged, nullopt
// when it could not be fetched.
std::optional<bool> UploadKept(Game& game, const NetDeployment& d) {
  if (!FetchWorldFile(game, d, false)) return std::nullopt;
  if (game.net.SyncBase && game.net.SyncBase->empty()) return false;  // the server holds no list at all
  game.scores.WsLoadCount = 0;
  LoadWorldScores(game);
  return LocalRowsInWorldList(game.scores);
}

constexpr std::string_view kLockFolder = "Atopw.kzm.lock";
constexpr std::uint64_t kLockPatienceMicros = 10'000'000;
constexpr int kLockTries = 3;
constexpr std::string_view kUploadTagFile = "OtherFiles/UploadTag.txt";
constexpr std::string_view kPartSuffix = ".part";
// Kept while an upload is under way: one cut short may have left its temporary file on the server.
constexpr std::string_view kUploadPendingFile = "OtherFiles/UploadPending.txt";

// During a synchronisation: true when the server still holds the list that was merged into. A changed list
// sets BaseChanged; a server that cannot be asked is reported with failureMessage.
bool ServerHoldsBase(Game& game, const NetDeployment& d, std::string_view failureMessage) {
  NetState& net = game.net;
  if (!net.SyncBase) return true;
  std::string current;
  TransferResult result;
  if (const Fetched fetched = FetchServerList(game, d, current, result);
      fetched == Fetched::Unreadable || fetched == Fetched::Failed) {
    if (!game.app.Ended) ReportTransferFailure(game, FetchFailure(fetched, result, failureMessage), result.error);
    return false;
  }
  net.BaseChanged = current != *net.SyncBase;
  return !net.BaseChanged;
}

// Sixteen hex digits that name this installation's temporary uploads, made once and kept in the user
// folder; empty when the folder takes no writes (the uploads then cannot be told apart from others').
std::string UploadTag(Game& game) {
  const auto path = UserPath(game, kUploadTagFile);
  if (const auto kept = ReadFileLimited(path, 64)) {
    const std::string tag = kept->substr(0, kept->find_first_of("\r\n"));
    if (tag.size() == 16 && tag.find_first_not_of("0123456789abcdef") == std::string::npos) return tag;
  }
  std::string tag;
  for (int i = 0; i < 16; ++i) tag += "0123456789abcdef"[static_cast<int>(game.Rnd() * 16) & 15];
  return WriteFileAtomic(path, tag + "\n") ? tag : std::string();
}

// Waits between least and least + spread microseconds, at random, keeping the window alive.
void WaitAtRandom(Game& game, std::uint64_t least, std::uint64_t spread) {
  IClock* clock = game.platform.clock;
  if (!clock) return;
  const auto drawn = static_cast<std::uint64_t>(game.Rnd() * static_cast<double>(spread));
  const std::uint64_t end = clock->Micros() + least + drawn;
  for (std::uint64_t now = clock->Micros(); now < end && !game.app.Ended; now = clock->Micros()) {
    clock->SleepMicros(std::min<std::uint64_t>(end - now, 50'000));
    RefreshScreen(game);
    DoEvents(game);
  }
}

void WaitBeforeRetry(Game& game) { WaitAtRandom(game, 200'000, 800'000); }

// Games that follow this rule upload one at a time: a game uploads only while it holds the lock, a folder
// beside the list that only one can make. Games that do not know it are caught by the checks after an upload.
class UploadLock {
 public:
  UploadLock(Game& game, const NetDeployment& d) : game_(game), d_(d) {
    INetwork* network = game.platform.network;
    IClock* clock = game.platform.clock;
    std::uint64_t waitedSince = clock ? clock->Micros() : 0;
    int refusals = 0;  // failed makings in a row with no lock on the server
    while (!game.app.Ended) {
      if (network->FtpCommand(d.ftp, "MKD " + std::string(kLockFolder), WatchedLimits(game, d.limits)).ok) {
        held_ = true;
        game.net.LockHeld = true;
        return;
      }
      std::vector<std::string> names;
      if (TransferResult listed = network->FtpList(d.ftp, WatchedLimits(game, d.limits), names); !listed.ok) {
        failure_ = std::move(listed);  // the server cannot be asked
        return;
      }
      if (std::find(names.begin(), names.end(), kLockFolder) == names.end()) {
        // Its holder gave it back in between, or the account may not make folders: only the latter refuses
        // every time.
        if (++refusals < kLockTries) {
          WaitAtRandom(game, 20'000, 100'000);
          continue;
        }
        game.net.LockRefused = true;
        if (!game.net.LockRefusedTold) {
          game.net.LockRefusedTold = true;
          std::fprintf(stderr, "kesmir: the score server lets this account make no folders, so uploads go "
                               "without the lock and may replace rows other players send at the same moment\n");
        }
        return;
      }
      refusals = 0;
      if (!clock) return;
      if (clock->Micros() - waitedSince > kLockPatienceMicros) {
        // Held far longer than any upload takes: a game that ended without giving it back.
        std::fprintf(stderr, "kesmir: removing the score server's upload lock, held for over 10 s\n");
        network->FtpCommand(d.ftp, "RMD " + std::string(kLockFolder), WatchedLimits(game, d.limits));
        waitedSince = clock->Micros();
        continue;
      }
      WaitAtRandom(game, 50'000, 200'000);
    }
  }
  ~UploadLock() {
    if (!held_) return;
    game_.net.LockHeld = false;
    game_.platform.network->FtpCommand(d_.ftp, "RMD " + std::string(kLockFolder), d_.limits);
  }
  UploadLock(const UploadLock&) = delete;
  UploadLock& operator=(const UploadLock&) = delete;
  // Why the server could not be asked for the lock; nullptr when it could.
  const TransferResult* Failure() const { return failure_ ? &*failure_ : nullptr; }

 private:
  Game& game_;
  const NetDeployment& d_;
  bool held_ = false;
  std::optional<TransferResult> failure_;
};

// Takes the lock, then fetches the server's list as FetchWorldFile does; a server that cannot even be asked
// for the lock is not asked for the list either.
bool FetchUnderLock(Game& game, const NetDeployment& d, std::optional<UploadLock>& lock) {
  lock.emplace(game, d);
  if (const TransferResult* failed = lock->Failure()) {
    if (!game.app.Ended) ReportTransferFailure(game, FailureMessage(*failed, kNotFetched), failed->error);
    return false;
  }
  return FetchWorldFile(game, d);
}

}  // namespace

Integer CheckConnection(Game& game) {
  const NetDeployment& d = Deployment(game);
  Integer connected = 0;
  if (d.Online() && game.platform.connection) {
    const bool service = !d.scoreUrl.empty();
    connected = game.platform.connection->Reachable(service ? d.scoreHost : d.ftp.host,
                                                    service ? d.scorePort : d.ftp.port)
                        .value_or(false)
                    ? kTrue
                    : 0;
  }
  game.net.Connected = connected;
  return connected;
}

void DownloadWorldScores(Game& game) {
  const NetDeployment& d = Deployment(game);
  if (!d.Online()) return;  // offline: there is no server to exchange with
  ExchangeScope scope(game);
  NetState& net = game.net;
  net.LastSync = {};
  // Whatever the servers do, the synchronisation ends within kSyncSeconds; the optional announcement may
  // take the first kAnnouncementSeconds of them.
  struct Deadline {
    NetState& net;
    ~Deadline() {
      net.ExchangeDeadline = 0;
      net.ProgressShown = false;
    }
  } deadline{net};
  const std::uint64_t start = game.platform.clock ? game.platform.clock->Micros() : 0;
  if (game.platform.clock) net.ExchangeDeadline = start + kAnnouncementSeconds * 1'000'000;
  // Closing the window ends the exchange at its next step: no further transfer, no message.
  if (CheckNewVersion(game) != 0 || game.app.Ended) {  // a newer version: the player has just been told
    net.LastSync.newerVersion = !game.app.Ended;
    return;
  }
  if (game.platform.clock) net.ExchangeDeadline = start + kSyncSeconds * 1'000'000;
  game.app.ProgressStep = 0;
  DoEvents(game);
  net.ProgressShown = true;
  if (!d.scoreUrl.empty()) {
    SynchronizeWithService(game, d);  // the service merges: no lock, no read-back
    game.scores.WsLoadCount = 0;
    return;
  }
  Step(game, "Connecting for download..");
  ShowProgress(game);
  ShowProgress(game);
  Step(game, "Downloading..");
  struct Base {
    NetState& net;
    ~Base() { net.SyncBase.reset(); }
  } base{net};
  net.SyncBase.emplace();
  net.LockRefused = false;
  // The lock is taken before the list is fetched and given back once the merged list is sent: no other game
  // that knows it can change the list in between.
  std::optional<UploadLock> lock;
  bool fetched = FetchUnderLock(game, d, lock);
  ShowProgress(game);
  ShowProgress(game);
  // Download, merge and upload are not one step on the server, so the upload of a game that does not know the
  // lock can come in between and one of the two lists would be lost. So without the lock an upload goes ahead
  // only while the server still holds the list that was merged into (else the newer list is fetched and
  // merged first), and after every upload the list is fetched again a moment later: while it lacks a row this
  // synchronisation merged, the newest list is fetched, merged and uploaded again, up to three uploads in all.
  int uploads = 0;
  for (int round = 0; round < kMaxRounds && !game.app.Ended; ++round) {
    // A failed download still merges into the list on disk, which is kept here and not sent.
    net.UploadAllowed = fetched;
    net.Uploaded = false;
    net.BaseChanged = false;
    net.LastSync.rowsMerged = std::max(net.LastSync.rowsMerged, SynchronizeScores(game));
    net.UploadAllowed = true;
    lock.reset();
    if (net.BaseChanged) {
      fetched = FetchUnderLock(game, d, lock);
      continue;
    }
    if (!net.Uploaded) break;
    net.LastSync.uploads = ++uploads;
    // A moment for the upload of a game that fetched the list before ours arrived and does not know the lock.
    WaitAtRandom(game, 150'000, 350'000);
    const std::optional<bool> kept = UploadKept(game, d);
    if (!kept || *kept || game.app.Ended) {  // kept, or the server can no longer be asked
      net.LastSync.confirmed = kept.value_or(false);
      break;
    }
    if (uploads == kMaxUploads) {
      // The rows stay in the list kept here, and the next synchronisation sends them again.
      net.UploadAllowed = false;
      SynchronizeScores(game);
      net.UploadAllowed = true;
      ReportTransferFailure(game, kOverwritten, "");
      break;
    }
    std::fprintf(stderr, "kesmir: the world list on the server lacks rows just sent; merging again\n");
    WaitBeforeRetry(game);
    fetched = FetchUnderLock(game, d, lock);  // the newest list, not the one read before the wait
  }
  game.scores.WsLoadCount = 0;  // the world-score screen reads the list on its next pass
}

int SynchronizeFromCommandLine(Game& game) {
  const NetDeployment& d = Deployment(game);
  if (!d.Online()) {
    std::printf("kesmir: no score server is set in %s\n", UserPath(game, kDeploymentFile).c_str());
    return 1;
  }
  ExchangeScope scope(game);  // what failed is printed here instead of a message box
  DownloadWorldScores(game);
  const SyncOutcome& sync = game.net.LastSync;
  std::string line;
  if (sync.newerVersion) {
    line = "a newer version (" + game.net.LatestVersion + ") is announced; nothing was exchanged.";
  } else {
    line = sync.noList            ? "the server had no list"
           : sync.rowsFetched < 0 ? "no list downloaded"
                                  : "downloaded " + std::to_string(sync.rowsFetched) + " rows";
    line += ", merged " + std::to_string(sync.rowsMerged);
    line += sync.uploads > 0 ? ", uploaded" + std::string(sync.uploads > 1 ? " " + std::to_string(sync.uploads) +
                                                                                 " times" : "")
                             : ", not uploaded";
    if (sync.confirmed) line += "; the server holds the merged list.";
  }
  for (const std::string& failure : game.net.TransferFailures) {
    std::string text = failure;
    std::replace(text.begin(), text.end(), '\n', ' ');
    line += (line.ends_with('.') ? " " : ". ") + text;
  }
  game.net.TransferFailures.clear();
  std::printf("kesmir: %s\n", line.c_str());
  return sync.confirmed ? 0 : 1;
}

void UploadWorldScores(Game& game) {
  constexpr std::string_view kNotSent =
      "The world list could not be sent; your scores stay on this computer until the next synchronisation.";
  const NetDeployment& d = Deployment(game);
  // Offline, the list stays here; the score service is sent the local list only, by the synchronisation.
  if (d.ftp.host.empty() || !d.scoreUrl.empty() || !game.platform.network || game.app.Ended) return;
  if (!game.net.UploadAllowed) {
    game.scores.WsLoadCount = 0;  // the screen shows the merged list kept here
    return;
  }
  ExchangeScope scope(game);
  Step(game, "Connecting for upload..");
  Step(game, "Uploading..");
  bool sent = false;
  bool leftovers = false;
  const auto contents = ReadFileLimited(UserPath(game, kWorldScoreFile), kMaxWorldFileBytes + 1);
  if (!contents || contents->size() > kMaxWorldFileBytes) {
    // A file cut at the bound would spoil the server's list for everyone: it is not sent.
    ReportTransferFailure(game, kNotSent, "cannot read " + UserPath(game, kWorldScoreFile).string());
  } else {
    // A synchronisation takes the lock before it fetches the list; without it, the upload takes the lock here
    // and checks that the server still holds the list that was merged into.
    const bool heldSinceFetch = game.net.LockHeld;
    std::optional<UploadLock> lock;
    if (!heldSinceFetch && !game.net.LockRefused) lock.emplace(game, d);
    // Another player's list arrived since ours was fetched (BaseChanged), or the server could not be asked:
    // nothing is sent.
    if (heldSinceFetch || ServerHoldsBase(game, d, kNotSent)) {
      FtpAccount account = d.ftp;
      account.uploadTag = UploadTag(game);
      const auto pending = UserPath(game, kUploadPendingFile);
      leftovers = std::filesystem::exists(pending);
      if (!leftovers) WriteFileAtomic(pending, "");
      const TransferResult result = game.platform.network->FtpPut(account, std::string(kRemoteWorldFile),
                                                                  *contents, WatchedLimits(game, d.limits));
      sent = result.ok;
      game.net.Uploaded = sent;
      std::error_code ignored;
      if (sent && !leftovers) std::filesystem::remove(pending, ignored);
      if (!sent && !game.app.Ended) ReportTransferFailure(game, FailureMessage(result, kNotSent), result.error);
    }
  }
  ShowProgress(game);
  // Only an upload cut short leaves a temporary file on the server; the folder is listed when one may have.
  if (sent && leftovers) ListRemoteFiles(game);
  ShowProgress(game);
  game.scores.WsLoadCount = 0;  // the world-score screen reads the merged file on its next pass
}

void ListRemoteFiles(Game& game) {
  const NetDeployment& d = Deployment(game);
  if (d.ftp.host.empty() || !d.scoreUrl.empty() || !game.platform.network || game.app.Ended) return;
  std::vector<std::string> names;
  if (!game.platform.network->FtpList(d.ftp, WatchedLimits(game, d.limits), names).ok) return;
  // What an upload of this installation that was cut short left behind is removed; other players' are not.
  const std::string tag = UploadTag(game);
  if (tag.empty()) return;
  std::error_code ignored;
  std::filesystem::remove(UserPath(game, kUploadPendingFile), ignored);
  const std::string ours = std::string(kRemoteWorldFile) + "." + tag + ".";
  for (const std::string& name : names) {
    if (name.starts_with(ours) && name.ends_with(kPartSuffix) && !game.app.Ended) {
      game.platform.network->FtpCommand(d.ftp, "DELE " + name, WatchedLimits(game, d.limits));
    }
  }
}

std::optional<int> WorldListRows(std::string_view text) {
  std::size_t lineNumber = 0;
  std::size_t start = 0;
  while (start <= text.size() && lineNumber <= static_cast<std::size_t>(kWorldPlaces)) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line == "END") return static_cast<int>(lineNumber);
    ++lineNumber;
    start = end + 1;
  }
  return std::nullopt;
}

bool IsWorldListFile(std::string_view text) { return WorldListRows(text).has_value(); }

}  // namespace kesmir
