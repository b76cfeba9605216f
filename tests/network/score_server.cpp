// Starting and stopping the test servers.
#include "score_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "fakes/world_files.h"
#include "platform/curl_network.h"
#include "scores/list_text.h"
#include "scores/score_files.h"

extern char** environ;

namespace kesmir::testing {
namespace {

using namespace std::chrono_literals;

// 127.0.0.1 at the port given (0: the system's choice).
sockaddr_in Loopback(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  return address;
}

// A TCP socket listening on 127.0.0.1 with a port of the system's choosing.
int Listen(int backlog, int& port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address = Loopback(0);
  socklen_t length = sizeof address;
  if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(fd, backlog) != 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    ADD_FAILURE() << "cannot listen on 127.0.0.1";
    return fd;
  }
  port = ntohs(address.sin_port);
  return fd;
}

}  // namespace

pid_t Spawn(std::vector<std::string> args, const std::filesystem::path& log) {
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  pid_t pid = -1;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) ADD_FAILURE() << "cannot start " << args[0];
  return spawned == 0 ? pid : -1;
}

void StopProcess(pid_t& pid) {
  if (pid <= 0) return;
  ::kill(pid, SIGTERM);
  WaitForExit(pid, std::chrono::steady_clock::now() + 5s);
  pid = -1;
}

bool Accepts(int port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address = Loopback(port);
  const bool accepted = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  ::close(fd);
  return accepted;
}

bool MakeCertificate(const std::filesystem::path& key, const std::filesystem::path& certificate) {
  const std::string make = "openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=127.0.0.1 -addext "
                           "subjectAltName=IP:127.0.0.1 -keyout '" + key.string() + "' -out '" +
                           certificate.string() + "' 2>/dev/null";
  return std::system(make.c_str()) == 0;
}

int WaitForExit(pid_t pid, std::chrono::steady_clock::time_point deadline) {
  int status = 0;
  while (::waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &status, 0);
      return -1;
    }
    std::this_thread::sleep_for(5ms);
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ListeningAddress(pid_t& pid, const std::filesystem::path& log) {
  const auto deadline = std::chrono::steady_clock::now() + 15s;
  while (pid > 0 && std::chrono::steady_clock::now() < deadline) {
    if (int status = 0; ::waitpid(pid, &status, WNOHANG) == pid) pid = -1;
    const std::string said = ReadWholeFile(log);
    int port = 0;
    if (const auto at = said.find("://127.0.0.1:"); said.starts_with("listening on ") && at != std::string::npos &&
                                                    std::sscanf(said.c_str() + at, "://127.0.0.1:%d", &port) == 1) {
      return said.substr(13, at - 13) + "://127.0.0.1:" + std::to_string(port);
    }
    std::this_thread::sleep_for(10ms);
  }
  return {};
}

void SynchronizePlayers(FakeGame& g, const std::string& networkFile, const std::vector<ScoreLineFields>& rows) {
  const std::filesystem::path ownHome = g->app.UserDir;
  for (int place = 0; place < kLocalRows; ++place) SetLocalRow(g->scores, place, WorldTestRow(0, ""));
  std::vector<std::filesystem::path> homes;
  for (const ScoreLineFields& row : rows) {
    homes.push_back(g.root / row.name);
    g->app.UserDir = homes.back();
    WriteWholeFile(homes.back() / "OtherFiles" / "Network.txt", networkFile);
    SetLocalRow(g->scores, 0, row);
    EXPECT_TRUE(SaveHighScores(*g));
  }
  g->app.UserDir = ownHome;
  std::vector<pid_t> players;
  for (const auto& home : homes) {
    players.push_back(Spawn({KESMIR_GAME_EXE, "--sync-scores", "--home", home.string()}, home / "said"));
  }
  const auto deadline = std::chrono::steady_clock::now() + 50s;
  for (std::size_t i = 0; i < players.size(); ++i) {
    EXPECT_EQ(WaitForExit(players[i], deadline), 0) << ReadWholeFile(homes[i] / "said");
  }
}

std::string ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void WriteWholeFile(const std::filesystem::path& path, const std::string& contents) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << contents;
}

ScoreServer::ScoreServer(const std::filesystem::path& home, const std::filesystem::path& serverRoot,
                         const std::vector<std::string>& extraArgs, ListServer kind)
    : root(serverRoot) {
  std::filesystem::create_directories(root);
  const auto portFile = root / "ports";
  const auto log = root / "server.log";
  std::filesystem::remove(portFile);  // a server started here before left its ports
  std::vector<std::string> args = {"/usr/bin/python3", KESMIR_SOURCE_DIR "/scripts/score-server",
                                   "--home",           home.string(),
                                   "--root",           root.string(),
                                   "--data",           (root / "no-data").string(),
                                   "--ftp-port",       "0",
                                   "--http-port",      "0",
                                   "--user",           kServerUser,
                                   "--password",       kServerPassword,
                                   "--port-file",      portFile.string()};
  if (kind == ListServer::kFileServer) args.push_back("--file-server");
  else args.insert(args.end(), {"--score-port", "0", "--scored", KESMIR_SCORED_EXE});
  args.insert(args.end(), extraArgs.begin(), extraArgs.end());
  pid_ = Spawn(std::move(args), log);
  if (pid_ < 0) return;
  const auto deadline = std::chrono::steady_clock::now() + 15s;
  while (std::chrono::steady_clock::now() < deadline) {
    const std::string ports = ReadWholeFile(portFile);
    const int wanted = kind == ListServer::kFileServer ? 2 : 3;
    if (std::sscanf(ports.c_str(), "ftp=%d\nhttp=%d\nscore=%d", &ftpPort, &httpPort, &scorePort) == wanted) return;
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      break;
    }
    std::this_thread::sleep_for(20ms);
  }
  ftpPort = 0;
  ADD_FAILURE() << "scripts/score-server did not start:\n" << ReadWholeFile(log);
}

ScoreServer::~ScoreServer() { Stop(); }

void ScoreServer::Stop() { StopProcess(pid_); }

ProFtpServer::ProFtpServer(const std::filesystem::path& serverRoot, const std::string& extraConfig)
    : root(serverRoot) {
  std::filesystem::create_directories(FtpFolder());
  // Run by root, ProFTPD serves the account as nobody, who may not read what root keeps to itself.
  const bool asRoot = ::geteuid() == 0;
  const unsigned uid = asRoot ? 65534 : ::getuid();
  const unsigned gid = asRoot ? 65534 : ::getgid();
  if (asRoot && ::chown(FtpFolder().c_str(), uid, gid) != 0) ADD_FAILURE() << "cannot hand the folder to nobody";
  // The password's MD5 crypt, made once with: openssl passwd -1 -salt kesmir secret7
  WriteWholeFile(root / "passwd", std::string(kServerUser) + ":$1$kesmir$gW6QCWx2ePh/RKpZtbH3O0:" +
                                      std::to_string(uid) + ":" + std::to_string(gid) + "::" +
                                      FtpFolder().string() + ":/bin/false\n");
  WriteWholeFile(root / "group", "kesmir:x:" + std::to_string(gid) + ":\n");
  for (const char* file : {"passwd", "group"}) ::chmod((root / file).c_str(), 0600);  // else ProFTPD refuses them
  for (int attempt = 0; attempt < 5 && port == 0; ++attempt) {
    int candidate = 0;
    ::close(Listen(1, candidate));  // a port nobody holds now; another program taking it first means a new try
    const std::string r = root.string();
    WriteWholeFile(root / "proftpd.conf",
                   "ServerType standalone\nDefaultServer on\nServerName \"kesmir test\"\nPort " +
                       std::to_string(candidate) + "\nDefaultAddress 127.0.0.1\nSocketBindTight on\nUseIPv6 off\n" +
                       "PidFile " + r + "/proftpd.pid\nScoreboardFile " + r + "/scoreboard\nDelayTable none\n" +
                       "WtmpLog off\nUseReverseDNS off\nRequireValidShell off\nAuthPAM off\n" +
                       (asRoot ? "User nobody\nGroup nogroup\n" : "") + "AuthOrder mod_auth_file.c\nAuthUserFile " +
                       r + "/passwd\nAuthGroupFile " + r + "/group\nDefaultRoot ~\nAllowOverwrite on\n" +
                       "SystemLog " + r + "/system.log\nLogFormat commands \"%m %f %s\"\nExtendedLog " + r +
                       "/commands.log ALL commands\n" + extraConfig + "\n");
    pid_ = Spawn({"/usr/sbin/proftpd", "-n", "-q", "-c", (root / "proftpd.conf").string()}, root / "proftpd.out");
    const auto deadline = std::chrono::steady_clock::now() + 15s;
    while (pid_ > 0 && std::chrono::steady_clock::now() < deadline) {
      if (Accepts(candidate)) {
        port = candidate;
        return;
      }
      int status = 0;
      if (::waitpid(pid_, &status, WNOHANG) == pid_) pid_ = -1;
      std::this_thread::sleep_for(20ms);
    }
    StopProcess(pid_);
  }
  ADD_FAILURE() << "ProFTPD did not start:\n" << ReadWholeFile(root / "proftpd.out") << ReadWholeFile(root / "system.log");
}

ProFtpServer::~ProFtpServer() { StopProcess(pid_); }

std::string ProFtpServer::CommandLog() const { return ReadWholeFile(root / "commands.log"); }

void ProFtpServer::WriteNetworkFile(const std::filesystem::path& home) const {
  WriteWholeFile(home / "OtherFiles" / "Network.txt", "ftp_host = 127.0.0.1\nftp_port = " + std::to_string(port) +
                                                          "\nftp_user = " + kServerUser + "\nftp_password = " +
                                                          kServerPassword + "\nftps = no\n");
}

ScoreService::ScoreService(const std::filesystem::path& serviceRoot, const std::vector<std::string>& extraArgs)
    : root(serviceRoot) {
  std::filesystem::create_directories(root);
  const auto log = root / "scored.log";
  std::vector<std::string> args = {KESMIR_SCORED_EXE, "--db", Database(), "--listen", "127.0.0.1:0", "--account",
                                   std::string(kServerUser) + ":" + kServerPassword};
  args.insert(args.end(), extraArgs.begin(), extraArgs.end());
  pid_ = Spawn(std::move(args), log);
  address = ListeningAddress(pid_, log);
  port = address.empty() ? 0 : std::stoi(address.substr(address.rfind(':') + 1));
  if (address.empty()) ADD_FAILURE() << "kesmir-scored did not start:\n" << ReadWholeFile(log);
}

ScoreService::~ScoreService() { StopProcess(pid_); }

void ScoreService::WriteNetworkFile(const std::filesystem::path& home, const std::string& password) const {
  WriteWholeFile(home / "OtherFiles" / "Network.txt", "score_url = " + address +
                                                          "\nftp_user = " + kServerUser + "\nftp_password = " +
                                                          password + "\n");
}

std::string ScoreService::List() const {
  CurlNetwork network;
  std::string list;
  const TransferResult got = network.HttpGet(std::string("http://") + kServerUser + ":" + kServerPassword +
                                                 "@127.0.0.1:" + std::to_string(port) + "/world",
                                             1 << 20, {5, 5, 5, 10, {}}, list);
  EXPECT_TRUE(got.ok) << got.error;
  return list;
}

SilentServer::SilentServer() : fd_(Listen(16, port)) {}

SilentServer::~SilentServer() {
  if (fd_ >= 0) ::close(fd_);
}

BusyServer::BusyServer() : fd_(Listen(0, port)) {
  // The queue of a listener that never accepts holds one connection; a few more make sure it is full.
  for (int i = 0; i < 3; ++i) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    sockaddr_in address = Loopback(port);
    ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    queued_.push_back(fd);
  }
  std::this_thread::sleep_for(100ms);
}

BusyServer::~BusyServer() {
  for (int fd : queued_) ::close(fd);
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace kesmir::testing
