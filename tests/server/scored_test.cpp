// kesmir-scored as clients and operators meet it: its answers are the game's merge, bad uploads change
// nothing, no row is lost between processes sharing the file, across restarts or to a stale list.
#include <gtest/gtest.h>
#include <httplib.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "core/files.h"
#include "fakes/world_files.h"
#include "scores/world_merge.h"
#include "server/score_service.h"

namespace kesmir {
namespace {

using namespace std::chrono_literals;
using testing::ReadWorldFile;
using testing::WorldListFile;
using testing::WorldTestRow;

// Runs a program to its end, its output dropped; its exit status.
int RunProgram(std::vector<std::string> args) {
  const pid_t pid = fork();
  if (pid == 0) {
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    dup2(open("/dev/null", O_WRONLY), 2);
    dup2(2, 1);
    execv(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int RunScored(std::vector<std::string> args) {
  args.insert(args.begin(), KESMIR_SCORED_EXE);
  return RunProgram(std::move(args));
}

// One service process on 127.0.0.1, up once its "listening on" line has come, stopped by SIGTERM.
class Scored {
 public:
  Scored(const std::filesystem::path& db, std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {KESMIR_SCORED_EXE, "--db", "sqlite:" + db.string(), "--listen", "127.0.0.1:0",
                                     "--account", "kesmir7:secret7", "--max-uploads-per-minute", "0"};
    args.insert(args.end(), extra.begin(), extra.end());
    int out[2];
    if (pipe(out) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      dup2(out[1], 1);
      close(out[0]);
      std::vector<char*> argv;
      for (std::string& arg : args) argv.push_back(arg.data());
      argv.push_back(nullptr);
      execv(argv[0], argv.data());
      _exit(127);
    }
    close(out[1]);
    std::string line;
    const auto deadline = std::chrono::steady_clock::now() + 15s;
    pollfd wait{out[0], POLLIN, 0};
    while (line.find('\n') == std::string::npos && std::chrono::steady_clock::now() < deadline) {
      char buffer[256];
      if (poll(&wait, 1, 100) <= 0) continue;
      const ssize_t n = read(out[0], buffer, sizeof buffer);
      if (n <= 0) break;
      line.append(buffer, static_cast<std::size_t>(n));
    }
    close(out[0]);
    const std::string scheme = line.starts_with("listening on https") ? "https" : "http";
    if (std::sscanf(line.c_str(), (line.substr(0, 13) + scheme + "://127.0.0.1:%d").c_str(), &port) != 1) {
      ADD_FAILURE() << "no start: " << line;
    }
    address = scheme + "://127.0.0.1:" + std::to_string(port);
  }
  ~Scored() { EXPECT_EQ(Stop(), 0); }

  // SIGTERM, then the exit status (SIGKILL and -1 when it does not end within 10 s).
  int Stop() {
    if (pid_ <= 0) return 0;
    kill(pid_, SIGTERM);
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (waitpid(pid_, &status, WNOHANG) == 0) {
      if (std::chrono::steady_clock::now() > deadline) {
        kill(pid_, SIGKILL);
        waitpid(pid_, &status, 0);
        pid_ = -1;
        return -1;
      }
      std::this_thread::sleep_for(10ms);
    }
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  httplib::Client Client(const std::string& password = "secret7") const {
    httplib::Client client(address);
    client.set_basic_auth("kesmir7", password);
    client.set_read_timeout(30, 0);
    if (!caFile.empty()) client.set_ca_cert_path(caFile.c_str());
    return client;
  }
  httplib::Result Post(const std::string& body) const { return Client().Post("/world", body, "text/plain"); }
  std::string World() const {
    auto answer = Client().Get("/world");
    return answer && answer->status == 200 ? answer->body : "";
  }

  int port = 0;
  std::string address;
  std::string caFile;  // the certificate an HTTPS client trusts

 private:
  pid_t pid_ = -1;
};

// A local list file as the game writes it: the given rows, empty rows up to eleven, "END".
std::string LocalListFile(const std::vector<ScoreLineFields>& rows) {
  std::string text;
  for (int place = 0; place < 11; ++place) {
    const auto row = place < std::ssize(rows) ? rows[static_cast<std::size_t>(place)] : WorldTestRow(0, "");
    text += CodeScoreLine(JoinScoreLine(row), true) + "\r\n";
  }
  return text + "END\r\n";
}

// The day the service wrote into a list's trailer.
Date TrailerDay(const std::string& list) {
  Date day;
  const auto trailer = ReadWorldFile(list).trailer;
  if (trailer.size() < 2 || std::sscanf(trailer[1].c_str(), "%d.%d.%d", &day.day, &day.month, &day.year) != 3) {
    ADD_FAILURE() << "no trailer date";
  }
  return day;
}

bool HasName(const std::string& list, const std::string& name) {
  const auto names = ReadWorldFile(list).Names();
  return std::find(names.begin(), names.end(), name) != names.end();
}

struct Service : ::testing::Test {
  std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                 ("scored-" + std::to_string(getpid()) + "-" +
                                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
  std::filesystem::path db = folder / "scores.db";
  std::string seed = WorldListFile(5000, "S", 41, "01.02.2024");

  void SetUp() override {
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    ASSERT_TRUE(WriteFileAtomic(folder / "seed.kzm", seed));
  }
  void TearDown() override { std::filesystem::remove_all(folder); }
  std::vector<std::string> Seeded() const { return {"--seed", (folder / "seed.kzm").string()}; }
};

TEST_F(Service, AnUploadIsAnsweredWithTheGamesMergeWhichGetServesTaggedUntilItChanges) {
  Scored scored(db, Seeded());
  EXPECT_EQ(scored.World(), seed);  // the seed as the file holds it
  const std::string local = LocalListFile({WorldTestRow(4995, "Local"), WorldTestRow(4990, "Twin")});
  const auto answer = scored.Post(local);
  ASSERT_TRUE(answer);
  ASSERT_EQ(answer->status, 200) << answer->body;
  const WorldMerge expected = MergeWorldUpload(seed, local, TrailerDay(answer->body));
  EXPECT_EQ(answer->body, expected.text);
  EXPECT_EQ(ReadWorldFile(answer->body).trailer[0], "42");

  auto got = scored.Client().Get("/world");
  ASSERT_TRUE(got);
  EXPECT_EQ(got->body, expected.text);
  const std::string tag = got->get_header_value("ETag");
  EXPECT_EQ(tag, answer->get_header_value("ETag"));
  EXPECT_EQ(scored.Client().Get("/world", {{"If-None-Match", tag}})->status, 304);
  scored.Post(LocalListFile({WorldTestRow(4985, "Later")}));
  EXPECT_EQ(scored.Client().Get("/world", {{"If-None-Match", tag}})->status, 200);
}

TEST_F(Service, EmptyDamagedOversizedOrUnauthorisedUploadsGetTheirLineAndChangeNothing) {
  Scored scored(db, Seeded());
  const std::string local = LocalListFile({WorldTestRow(4995, "Local")});
  const std::string wrongRow = "49-50-\r\n" + local;
  for (const auto& [body, status] : std::vector<std::pair<std::string, int>>{
           {"", 400}, {local.substr(0, local.size() / 2), 400}, {wrongRow, 400}, {"END\r\n", 400},
           {std::string(kMaxUploadBytes + 1, '9'), 413}}) {
    const auto answer = scored.Post(body);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->status, status) << body.substr(0, 40);
    EXPECT_EQ(std::count(answer->body.begin(), answer->body.end(), '\n'), 1) << answer->body;
  }
  auto intruder = scored.Client("guess").Post("/world", local, "text/plain");
  EXPECT_EQ(intruder->status, 401);
  EXPECT_EQ(scored.Client("guess").Get("/world")->status, 401);
  EXPECT_EQ(scored.World(), seed);
}

TEST_F(Service, AStaleWholeWorldListRemovesNoRowAndAddsItsOwn) {
  Scored scored(db, Seeded());
  const std::string stale = scored.World();
  ASSERT_EQ(scored.Post(LocalListFile({WorldTestRow(4995, "Other")}))->status, 200);
  std::string staleWithMine = stale;
  staleWithMine.replace(0, staleWithMine.find("\r\n"), CodeScoreLine(JoinScoreLine(WorldTestRow(6000, "Mine")), true));
  const auto answer = scored.Post(staleWithMine);
  ASSERT_EQ(answer->status, 200) << answer->body;
  EXPECT_TRUE(HasName(answer->body, "Other"));
  EXPECT_TRUE(HasName(answer->body, "Mine"));
  EXPECT_EQ(ReadWorldFile(answer->body).trailer[0], "43");  // the service's count, not the upload's
}

// Two processes on one file, four clients each sending ten rows of their own; then a restart, an export and
// an operator's removal.
// Refusals come in among the uploads, so that the changes committed together hold some that change nothing.
TEST_F(Service, TwoProcessesOnOneFileLoseNoRowAndARestartKeepsEveryAnsweredUpload) {
  std::string last;
  {
    Scored first(db, Seeded());
    Scored second(db);
    std::vector<std::thread> clients;
    for (int c = 0; c < 4; ++c) {
      clients.emplace_back([&, c] {
        for (int i = 0; i < 10; ++i) {
          const Scored& to = (c + i) % 2 ? first : second;
          const auto answer = to.Post(LocalListFile({WorldTestRow(6000 + 10 * c + i, "P" + std::to_string(c * 10 + i))}));
          EXPECT_TRUE(answer && answer->status == 200);
        }
      });
    }
    clients.emplace_back([&] {
      for (int i = 0; i < 10; ++i) EXPECT_EQ(first.Post("END\r\n")->status, 400);
    });
    for (auto& client : clients) client.join();
    last = first.World();
    EXPECT_EQ(second.World(), last);
  }
  for (int p = 0; p < 40; ++p) EXPECT_TRUE(HasName(last, "P" + std::to_string(p))) << p;
  EXPECT_EQ(ReadWorldFile(last).trailer[0], "81");

  EXPECT_EQ(RunScored({"--db", "sqlite:" + db.string(), "--remove", "P7", "6007"}), 0);
  EXPECT_EQ(RunScored({"--db", "sqlite:" + db.string(), "--remove", "P7", "6007"}), 1);  // gone already
  Scored restarted(db, Seeded());  // the seed is not used on a store that holds a list
  const std::string kept = restarted.World();
  EXPECT_FALSE(HasName(kept, "P7"));
  EXPECT_EQ(ReadWorldFile(kept).trailer, ReadWorldFile(last).trailer);
  EXPECT_EQ(RunScored({"--db", "sqlite:" + db.string(), "--export", (folder / "out.kzm").string()}), 0);
  EXPECT_EQ(ReadFileLimited(folder / "out.kzm", kMaxUploadBytes).value_or(""), kept);
}

TEST_F(Service, MoreUploadsAMinuteThanAllowedFromOneAddressAreRefusedUnmerged) {
  Scored scored(db, {"--max-uploads-per-minute", "2"});  // the later value counts
  EXPECT_EQ(scored.World(), "");  // no list before the first upload
  ASSERT_EQ(scored.Post(LocalListFile({WorldTestRow(100, "A")}))->status, 200);
  ASSERT_EQ(scored.Post(LocalListFile({WorldTestRow(100, "A")}))->status, 200);
  const auto refused = scored.Post(LocalListFile({WorldTestRow(200, "B")}));
  EXPECT_EQ(refused->status, 429);
  EXPECT_FALSE(HasName(scored.World(), "B"));
  EXPECT_EQ(ReadWorldFile(scored.World()).trailer[0], "2");
}

TEST_F(Service, WithACertificateAndKeyItServesHttpsOnly) {
  const std::string cert = (folder / "cert.pem").string(), key = (folder / "key.pem").string();
  ASSERT_EQ(RunProgram({"/usr/bin/openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj",
                        "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1", "-keyout", key, "-out", cert}),
            0);
  EXPECT_EQ(RunScored({"--db", "sqlite:" + db.string(), "--listen", "127.0.0.1:0", "--account", "a:b", "--cert",
                       cert, "--key", cert}),
            1);  // the certificate is no key
  Scored scored(db, {"--seed", (folder / "seed.kzm").string(), "--cert", cert, "--key", key});
  ASSERT_TRUE(scored.address.starts_with("https://"));
  scored.caFile = cert;
  EXPECT_EQ(scored.World(), seed);
  EXPECT_FALSE(httplib::Client("http://127.0.0.1:" + std::to_string(scored.port)).Get("/world"));
}

}  // namespace
}  // namespace kesmir
