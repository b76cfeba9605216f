// Real servers for the network tests, all on 127.0.0.1 with free ports: scripts/score-server (FTP and web),
// ProFTPD as operators run it, the score service kesmir-scored on a SQLite file, a server that accepts connections and never answers, and one whose
// connections never complete.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "fakes/fake_platform.h"
#include "scores/score_line.h"

namespace kesmir::testing {

inline constexpr const char* kServerUser = "kesmir7";
inline constexpr const char* kServerPassword = "secret7";

// Starts a program with its output (both streams) in log; -1, a test failure, when it cannot be started.
pid_t Spawn(std::vector<std::string> args, const std::filesystem::path& log);
// Waits (15 s at most) for a started program's first line, "listening on SCHEME://127.0.0.1:PORT"; that
// address, or "" when the program ended (pid is then -1) or did not say it.
std::string ListeningAddress(pid_t& pid, const std::filesystem::path& log);
// Ends a started program, with SIGKILL when it does not end within 5 s of SIGTERM.
void StopProcess(pid_t& pid);
// Whether 127.0.0.1:port accepts a connection.
bool Accepts(int port);
// Makes a self-signed certificate for 127.0.0.1 and its key; false when openssl fails.
bool MakeCertificate(const std::filesystem::path& key, const std::filesystem::path& certificate);
// The exit status of a started program, or -1 when it ended by a signal or was killed at the deadline.
int WaitForExit(pid_t pid, std::chrono::steady_clock::time_point deadline);

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

// kesmir-scored on a SQLite file under root, with the account kServerUser; extraArgs are added to its command
// line ("--seed FILE", "--max-uploads-per-minute N").
class ScoreService {
 public:
  explicit ScoreService(const std::filesystem::path& root, const std::vector<std::string>& extraArgs = {});
  ~ScoreService();
  ScoreService(const ScoreService&) = delete;
  ScoreService& operator=(const ScoreService&) = delete;

  bool Started() const { return port > 0; }
  // Points the game whose user folder is home at the service, with the password given.
  void WriteNetworkFile(const std::filesystem::path& home, const std::string& password = kServerPassword) const;
  // The world list the service serves (over plain HTTP).
  std::string List() const;

  std::filesystem::path root;
  int port = 0;
  std::string address;  // "http://127.0.0.1:port", or https with "--cert" and "--key"

 private:
  std::string Database() const { return "sqlite:" + (root / "scores.db").string(); }
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

// A home below g.root for each row, named by it, with networkFile and a local list of that row alone; then
// "kesmir --sync-scores --home HOME" for all of them at the same moment, a failure for each that does not end
// with status 0 within 50 s.
void SynchronizePlayers(FakeGame& g, const std::string& networkFile, const std::vector<ScoreLineFields>& rows);

std::string ReadWholeFile(const std::filesystem::path& path);
void WriteWholeFile(const std::filesystem::path& path, const std::string& contents);

}  // namespace kesmir::testing
