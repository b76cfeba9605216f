// Starting, using and removing the tests' own PostgreSQL cluster.
#include "server/postgres_server.h"

#include <fcntl.h>
#include <libpq-fe.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>

#include "core/files.h"

namespace kesmir::testing {
namespace {

namespace fs = std::filesystem;

constexpr const char* kRunuser = "/usr/sbin/runuser";
constexpr const char* kSuperuser = "kesmir";

// The bin folder of the newest PostgreSQL installed, where initdb and pg_ctl are (they are not on the PATH).
fs::path NewestBinFolder() {
  fs::path newest;
  int newestVersion = -1;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator("/usr/lib/postgresql", ec)) {
    const int version = std::atoi(entry.path().filename().c_str());
    if (version > newestVersion && fs::exists(entry.path() / "bin" / "initdb")) {
      newest = entry.path() / "bin";
      newestVersion = version;
    }
  }
  return newest;
}

int FreePort() {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  int port = 0;
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
    port = ntohs(address.sin_port);
  }
  close(fd);
  return port;
}

std::vector<char*> Argv(std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  return argv;
}

}  // namespace

int RunProgram(std::vector<std::string> args, const fs::path& output) {
  const std::vector<char*> argv = Argv(args);
  const pid_t pid = fork();
  if (pid == 0) {
    const int out = open(output.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    dup2(out, 1);
    dup2(out, 2);
    if (chdir("/") != 0) _exit(126);
    execv(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

PostgresServer::PostgresServer() {
  const fs::path bin = NewestBinFolder();
  if (bin.empty()) {
    fault_ = "no /usr/lib/postgresql/*/bin/initdb: scripts/install-deps installs postgresql";
    return;
  }
  // PostgreSQL refuses to run as root; its folder must then be its user's, under a folder that user can reach.
  fs::path base = fs::temp_directory_path();
  if (geteuid() == 0) {
    user_ = getpwnam("postgres") ? "postgres" : "nobody";
    base = "/tmp";
  }
  std::string folder = (base / "kesmir-pg-XXXXXX").string();
  if (!mkdtemp(folder.data())) {
    fault_ = "cannot make a folder in " + base.string();
    return;
  }
  folder_ = folder;
  if (const passwd* account = user_.empty() ? nullptr : getpwnam(user_.c_str())) {
    if (chown(folder.c_str(), account->pw_uid, account->pw_gid) != 0) fault_ = "cannot give the folder to " + user_;
  }

  // The watchdog holds the reading end of a pipe; when this process ends in any way the pipe closes, and the
  // watchdog, no child of this process by then, stops the server and removes the folder.
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0) return;
  std::vector<std::string> watch = {
      "/bin/sh", "-c",
      "cat >/dev/null; if [ -n \"$4\" ]; then " + std::string(kRunuser) + " -u \"$4\" -- \"$1\" stop -D \"$2\" -m immediate; "
      "else \"$1\" stop -D \"$2\" -m immediate; fi; rm -rf \"$3\"",
      "sh", (bin / "pg_ctl").string(), (folder_ / "data").string(), folder_.string(), user_};
  const std::vector<char*> watchArgv = Argv(watch);
  const pid_t child = fork();
  if (child == 0) {
    if (fork() == 0) {
      setsid();
      dup2(ends[0], 0);
      const int null = open("/dev/null", O_WRONLY);
      dup2(null, 1);
      dup2(null, 2);
      execv(watchArgv[0], watchArgv.data());
    }
    _exit(0);
  }
  waitpid(child, nullptr, 0);
  close(ends[0]);
  watchdog_ = ends[1];
  if (!fault_.empty()) return;

  if (!Run((bin / "initdb").string(),
           {"-D", (folder_ / "data").string(), "-A", "trust", "-U", kSuperuser, "-N", "--no-instructions"},
           folder_ / "initdb.log")) {
    fault_ = "initdb failed: " + ReadFileLimited(folder_ / "initdb.log", 4096).value_or("");
    return;
  }
  // A free port may be taken by another program before the server binds it: then another one is tried.
  for (int attempt = 0; attempt < 5 && !Started(); ++attempt) {
    const int port = FreePort();
    // The tests kill services, not the machine: fsync is not needed to keep what was committed.
    const std::string options = "-k " + folder_.string() + " -h 127.0.0.1 -p " + std::to_string(port) +
                                " -c fsync=off -c max_connections=60 -c shared_buffers=16MB";
    if (Run((bin / "pg_ctl").string(),
            {"start", "-w", "-t", "30", "-D", (folder_ / "data").string(), "-l", (folder_ / "server.log").string(),
             "-o", options},
            folder_ / "pg_ctl.log")) {
      port_ = port;
    }
  }
  if (!Started()) {
    fault_ = "pg_ctl start failed: " + ReadFileLimited(folder_ / "server.log", 4096).value_or("") +
             ReadFileLimited(folder_ / "pg_ctl.log", 4096).value_or("");
  }
}

PostgresServer::~PostgresServer() {
  if (Started()) {
    Run((NewestBinFolder() / "pg_ctl").string(), {"stop", "-D", (folder_ / "data").string(), "-m", "immediate"},
        "/dev/null");
  }
  if (!folder_.empty()) {
    std::error_code ec;
    fs::remove_all(folder_, ec);
  }
  if (watchdog_ >= 0) close(watchdog_);
}

bool PostgresServer::Run(const std::string& program, std::vector<std::string> args, const fs::path& log) {
  args.insert(args.begin(), program);
  if (!user_.empty()) args.insert(args.begin(), {kRunuser, "-u", user_, "--"});
  return RunProgram(std::move(args), log) == 0;
}

std::string PostgresServer::NewDatabase() {
  const std::string name = "test" + std::to_string(++databases_);
  const std::string prefix = "postgresql://" + std::string(kSuperuser) + "@127.0.0.1:" + std::to_string(port_) + "/";
  return Query(prefix + "postgres", "CREATE DATABASE " + name) ? prefix + name : "";
}

std::optional<std::string> PostgresServer::Query(const std::string& url, const std::string& sql) {
  const std::unique_ptr<PGconn, decltype(&PQfinish)> connection(PQconnectdb(url.c_str()), PQfinish);
  const std::unique_ptr<PGresult, decltype(&PQclear)> result(PQexec(connection.get(), sql.c_str()), PQclear);
  const ExecStatusType status = PQresultStatus(result.get());
  if (status == PGRES_TUPLES_OK && PQntuples(result.get()) > 0) return PQgetvalue(result.get(), 0, 0);
  if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK) return "";
  fault_ = sql + ": " + PQerrorMessage(connection.get());
  return std::nullopt;
}

}  // namespace kesmir::testing
