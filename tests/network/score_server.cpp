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
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace kesmir::testing {
namespace {

using namespace std::chrono_literals;

// A TCP socket listening on 127.0.0.1 with a port of the system's choosing.
int Listen(int backlog, int& port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
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
                         const std::vector<std::string>& extraArgs)
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
  args.insert(args.end(), extraArgs.begin(), extraArgs.end());
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  const int spawned = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) {
    pid_ = -1;
    ADD_FAILURE() << "cannot start /usr/bin/python3";
    return;
  }
  const auto deadline = std::chrono::steady_clock::now() + 15s;
  while (std::chrono::steady_clock::now() < deadline) {
    const std::string ports = ReadWholeFile(portFile);
    if (std::sscanf(ports.c_str(), "ftp=%d\nhttp=%d", &ftpPort, &httpPort) == 2) return;
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

void ScoreServer::Stop() {
  if (pid_ <= 0) return;
  ::kill(pid_, SIGTERM);
  const auto deadline = std::chrono::steady_clock::now() + 5s;
  int status = 0;
  while (::waitpid(pid_, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, &status, 0);
      break;
    }
    std::this_thread::sleep_for(10ms);
  }
  pid_ = -1;
}

SilentServer::SilentServer() : fd_(Listen(16, port)) {}

SilentServer::~SilentServer() {
  if (fd_ >= 0) ::close(fd_);
}

BusyServer::BusyServer() : fd_(Listen(0, port)) {
  // The queue of a listener that never accepts holds one connection; a few more make sure it is full.
  for (int i = 0; i < 3; ++i) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(port));
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
