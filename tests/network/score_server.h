// Real servers for the network tests, all on 127.0.0.1 with free ports: scripts/score-server (FTP and web),
// ProFTPD as operators run it, a server that accepts connections and never answers, and one whose
// connections never complete.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

namespace kesmir::testing {

inline constexpr const char* kServerUser = "kesmir7";
inline constexpr const char* kServerPassword = "secret7";

// What scripts/score-server serves the world list with: a plain FTP server that stores the file as uploaded,
// or kesmir-scored on SQLite behind its FTP gateway.
enum class ListServer { kFileServer, kService };

class ScoreServer {
 public:
  // Starts scripts/score-server with the files under root, writing Network.txt into home, and waits until its
  // servers listen. The server's world list starts absent; the announcement says 1.14.
  ScoreServer(const std::filesystem::path& home, const std::filesystem::path& root,
              const std::vector<std::string>& extraArgs = {}, ListServer kind = ListServer::kFileServer);
  ~ScoreServer();
  ScoreServer(const ScoreServer&) = delete;
  ScoreServer& operator=(const ScoreServer&) = delete;

  // Stops both servers; their ports refuse connections from then on.
  void Stop();
  bool Started() const { return ftpPort > 0; }

  // The file server's world list file and its folder.
  std::filesystem::path WorldFile() const { return root / "ftp" / "Atopw.kzm"; }
  std::filesystem::path FtpFolder() const { return root / "ftp"; }
  std::filesystem::path AnnouncementFile() const { return root / "web" / "Games" / "Kesmir" / "NewVer.txt"; }

  std::filesystem::path root;
  int ftpPort = 0;
  int httpPort = 0;
  int scorePort = 0;  // the service's HTTP port, with ListServer::kService

 private:
  pid_t pid_ = -1;
};

// ProFTPD with its own configuration and account file under root (no system account): the account
// kServerUser logs in to FtpFolder(), which starts empty; extraConfig is added to the configuration. Every
// command with its reply code goes to CommandLog(), a line each ("MKD /path/Atopw.kzm.lock 257").
class ProFtpServer {
 public:
  explicit ProFtpServer(const std::filesystem::path& root, const std::string& extraConfig = "");
  ~ProFtpServer();
  ProFtpServer(const ProFtpServer&) = delete;
  ProFtpServer& operator=(const ProFtpServer&) = delete;

  bool Started() const { return port > 0; }
  std::filesystem::path FtpFolder() const { return root / "ftp"; }
  std::filesystem::path WorldFile() const { return FtpFolder() / "Atopw.kzm"; }
  std::string CommandLog() const;
  // Points the game whose user folder is home at this server, over plain FTP and without an announcement.
  void WriteNetworkFile(const std::filesystem::path& home) const;

  std::filesystem::path root;
  int port = 0;

 private:
  pid_t pid_ = -1;
};

// Accepts connections (the system completes them) and never says a word.
class SilentServer {
 public:
  SilentServer();
  ~SilentServer();
  SilentServer(const SilentServer&) = delete;
  SilentServer& operator=(const SilentServer&) = delete;
  int port = 0;

 private:
  int fd_ = -1;
};

// A server whose waiting queue is full, so that a new connection is never completed.
class BusyServer {
 public:
  BusyServer();
  ~BusyServer();
  BusyServer(const BusyServer&) = delete;
  BusyServer& operator=(const BusyServer&) = delete;
  int port = 0;

 private:
  int fd_ = -1;
  std::vector<int> queued_;
};

// Runs "kesmir --sync-scores --home HOME" for every home at the same moment and waits for all of them; a
// failure for each that does not end with status 0.
void SynchronizeAtOnce(const std::vector<std::filesystem::path>& homes);

std::string ReadWholeFile(const std::filesystem::path& path);
void WriteWholeFile(const std::filesystem::path& path, const std::string& contents);

}  // namespace kesmir::testing
