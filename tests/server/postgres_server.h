// A PostgreSQL server of the test's own: a new cluster in a temporary folder, on 127.0.0.1 and a free port,
// run by an unprivileged user, stopped and removed when the object ends or the test process dies.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kesmir::testing {

// Runs a program to its end in "/" (which every user may enter), its output added to the file output; its exit
// status, -1 when it did not exit.
int RunProgram(std::vector<std::string> args, const std::filesystem::path& output = "/dev/null");

class PostgresServer {
 public:
  PostgresServer();  // Started() says whether it worked, Fault() why not
  ~PostgresServer();
  PostgresServer(const PostgresServer&) = delete;
  PostgresServer& operator=(const PostgresServer&) = delete;

  bool Started() const { return port_ > 0; }
  const std::string& Fault() const { return fault_; }
  // The URL of a new empty database; "" with the reason in Fault().
  std::string NewDatabase();
  // Runs sql in the database of url: its first value ("" when it has none); nullopt with the reason in Fault().
  std::optional<std::string> Query(const std::string& url, const std::string& sql);

 private:
  bool Run(const std::string& program, std::vector<std::string> args, const std::filesystem::path& log);

  std::filesystem::path folder_;
  std::string user_;  // the account the server runs as; empty when the test is not root
  int port_ = 0;
  int databases_ = 0;
  int watchdog_ = -1;  // its end closing, however this process ends, makes the watchdog stop and remove all
  std::string fault_;
};

}  // namespace kesmir::testing
