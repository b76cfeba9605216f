// Network state: the connection flag the screens see, where the servers are, and the last announcement read.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/numbers.h"
#include "platform/ports.h"

namespace kesmir {

// Where the score server and the version announcement live, from OtherFiles/Network.txt. Without an FTP host
// and a score service the game is offline; an empty web address means no announcement can be fetched.
struct NetDeployment {
  FtpAccount ftp;  // its user and password also log in to the score service
  std::string webBase;  // "http://host:port" without a trailing "/"
  // The score service ("http://host:port" or https, without a trailing "/"); when set, synchronisations go to
  // it instead of the FTP server. Its host and port are what the connection check asks.
  std::string scoreUrl;
  std::string scoreHost;
  int scorePort = 0;
  TransferLimits limits;
  bool Online() const { return !ftp.host.empty() || !scoreUrl.empty(); }
};

// What the latest synchronisation did, for the one line of a synchronisation from the command line.
struct SyncOutcome {
  bool newerVersion = false;  // a newer version is announced, so nothing was exchanged
  int rowsFetched = -1;       // rows of the server's list as first fetched; -1 when none was fetched
  bool noList = false;        // the first fetch found that the server holds no list yet
  int rowsMerged = 0;         // local rows the merges added to the world list
  int uploads = 0;
  bool confirmed = false;     // the list fetched after the last upload holds every row merged
};

struct NetState {
  Integer Connected = 0;  // -1 while the score server answered the latest check
  SyncOutcome LastSync;

  // The announcement of the newest version as last read.
  std::string LatestVersion;
  std::string LatestSize;
  std::string LatestFile;

  // The deployment as last read, and which file (path, time and size) it was read from.
  bool DeploymentRead = false;
  std::string DeploymentStamp;
  NetDeployment Deployment;

  // Failed transfers of the exchange under way; the user is told once, when its outermost step ends.
  int ExchangeDepth = 0;
  std::vector<std::string> TransferFailures;
  // False while a synchronisation runs whose download failed: its merged list stays on this machine, since
  // sending it would replace every other player's rows on the server with this player's old copy.
  bool UploadAllowed = true;
  bool Uploaded = false;  // the last upload reached the server
  // During a synchronisation: the server's list as last fetched ("" when it had none). An upload goes ahead
  // only while the server still holds exactly that; otherwise BaseChanged is set and nothing is sent.
  std::optional<std::string> SyncBase;
  bool BaseChanged = false;
  // The upload lock: held by this game; refused to this account during the synchronisation under way (it
  // may make no folders); the player was told so on standard error.
  bool LockHeld = false;
  bool LockRefused = false;
  bool LockRefusedTold = false;
  // While not 0: the clock reading (microseconds) by which every transfer of the exchange under way ends.
  std::uint64_t ExchangeDeadline = 0;
  bool ProgressShown = false;  // the progress screen is up: a transfer that waits shows its seconds there
};

}  // namespace kesmir
