// The libcurl transfers against the real servers, the background connection check, and the address handed to
// the desktop.
#include "platform/curl_network.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>

#include "platform/sdl_desktop.h"
#include "score_server.h"

namespace kesmir {
namespace {

using namespace std::chrono_literals;
using testing::ReadWholeFile;
using testing::ScoreServer;
using testing::WriteWholeFile;

struct Transfers : ::testing::Test {
  std::filesystem::path root =
      std::filesystem::temp_directory_path() / ("kesmir-curl-" + std::to_string(::getpid()) + "-" +
                                                ::testing::UnitTest::GetInstance()->current_test_info()->name());
  ScoreServer server{root / "home", root / "server", {"--no-network-file"}};
  CurlNetwork network;
  FtpAccount account{"127.0.0.1", server.ftpPort, testing::kServerUser, testing::kServerPassword, true, false, {}, {}};
  TransferLimits limits{2, 2, 2, 10, {}};

  ~Transfers() override {
    server.Stop();
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
  }
  std::string Web(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(server.httpPort) + path;
  }
};

TEST_F(Transfers, DownloadsFailWithAReasonAndHandBackNothing) {
  ASSERT_TRUE(server.Started());
  std::string contents = "untouched";
  TransferResult missing = network.FtpGet(account, "Atopw.kzm", 1024, limits, contents);
  EXPECT_FALSE(missing.ok);
  EXPECT_TRUE(missing.missing);  // the server has no list yet: 550
  EXPECT_FALSE(missing.error.empty());
  EXPECT_EQ(contents, "untouched");

  WriteWholeFile(server.WorldFile(), std::string(5000, 'y'));
  const TransferResult tooLarge = network.FtpGet(account, "Atopw.kzm", 4096, limits, contents);
  EXPECT_FALSE(tooLarge.ok);
  EXPECT_NE(tooLarge.error.find("larger than 4096 bytes"), std::string::npos) << tooLarge.error;
  EXPECT_EQ(contents, "untouched");

  FtpAccount wrong = account;
  wrong.password = "WrongPw";
  const TransferResult refused = network.FtpGet(wrong, "Atopw.kzm", 1024 * 1024, limits, contents);
  EXPECT_FALSE(refused.ok);
  EXPECT_EQ(refused.error.find("WrongPw"), std::string::npos);
  EXPECT_FALSE(network.FtpPut(wrong, "Atopw.kzm", "x", limits).ok);
  EXPECT_EQ(ReadWholeFile(server.WorldFile()), std::string(5000, 'y'));

  // Plain FTP when TLS is not to be tried at all; required against a server without it: refused at its
  // answer to AUTH, before the log-in.
  FtpAccount plain = account;
  plain.tryTls = false;
  EXPECT_TRUE(network.FtpGet(plain, "Atopw.kzm", 1024 * 1024, limits, contents).ok);
  plain.requireTls = true;
  const TransferResult strict = network.FtpGet(plain, "Atopw.kzm", 1024, limits, contents);
  EXPECT_TRUE(!strict.ok && strict.noTls) << strict.error;
}

// A server with a self-signed certificate: refused under "try" with the reason (never plain FTP instead),
// trusted once ca_file names the certificate: then whole lists travel both ways over TLS.
TEST_F(Transfers, ASelfSignedServerIsRefusedUnderTryWithoutFallingBackAndTrustedWithItsCertificate) {
  const auto pem = root / "server.pem";
  ASSERT_TRUE(testing::MakeCertificate(pem, pem.string() + ".crt"));
  WriteWholeFile(pem, ReadWholeFile(pem) + ReadWholeFile(pem.string() + ".crt"));
  ScoreServer tls{root / "home3", root / "server3", {"--no-network-file", "--tls-cert", pem.string(), "--verbose"}};
  ASSERT_TRUE(tls.Started());
  FtpAccount other = account;
  other.port = tls.ftpPort;
  WriteWholeFile(tls.WorldFile(), "list\r\nover TLS");
  std::string contents;
  const TransferResult untrusted = network.FtpGet(other, "Atopw.kzm", 1024, limits, contents);
  EXPECT_TRUE(untrusted.certificate) << untrusted.error;
  EXPECT_EQ(ReadWholeFile(tls.root / "server.log").find("logged in"), std::string::npos);
  other.caFile = pem.string() + ".crt";
  network.FtpGet(other, "Atopw.kzm", 1024, limits, contents);
  EXPECT_EQ(contents, "list\r\nover TLS");
  EXPECT_TRUE(network.FtpPut(other, "Atopw.kzm", contents + '\0' + '\xff', limits).ok);
  EXPECT_EQ(ReadWholeFile(tls.WorldFile()), contents + '\0' + '\xff');
}

TEST_F(Transfers, AnAccountThatMayNotRenameStillReceivesTheListWholeUnderItsName) {
  ScoreServer noRename{root / "home2", root / "server2", {"--no-network-file", "--no-rename"}};
  ASSERT_TRUE(noRename.Started());
  FtpAccount other = account;
  other.port = noRename.ftpPort;
  WriteWholeFile(noRename.WorldFile(), "old list");
  const TransferResult put = network.FtpPut(other, "Atopw.kzm", "new list", limits);
  EXPECT_TRUE(put.ok) << put.error;
  EXPECT_EQ(ReadWholeFile(noRename.WorldFile()), "new list");
  const auto files = std::distance(std::filesystem::directory_iterator(noRename.FtpFolder()), {});
  EXPECT_EQ(files, 1);  // no temporary file left behind
}

// One log-in serves a network's transfers until it ends the session; a server that turns a log-in away is
// quoted.
TEST_F(Transfers, ALogInIsKeptUntilTheSessionEndsAndAServerThatTurnsOneAwayIsQuoted) {
  ScoreServer single{root / "home2", root / "server2", {"--no-network-file", "--max-connections", "1"}};
  ASSERT_TRUE(single.Started());
  FtpAccount other = account;
  other.port = single.ftpPort;
  CurlNetwork first;
  ASSERT_TRUE(first.FtpCommand(other, "MKD lock", limits).ok);
  EXPECT_FALSE(first.FtpCommand(other, "MKD lock", limits).ok);  // refused, and the log-in kept
  std::string contents;
  const TransferResult refused = network.FtpGet(other, "Atopw.kzm", 1024, limits, contents);
  EXPECT_NE(refused.error.find("the server said \"421 "), std::string::npos) << refused.error;
  first.EndSession();
  std::vector<std::string> names;
  EXPECT_TRUE(network.FtpList(other, limits, names).ok);
  EXPECT_NE(std::find(names.begin(), names.end(), "lock"), names.end());
}

TEST_F(Transfers, WebDownloadsFailOnErrorStatusesAndOversizeAnswers) {
  ASSERT_TRUE(server.Started());
  std::string contents;
  const TransferResult ok = network.HttpGet(Web("/Games/Kesmir/NewVer.txt"), 1024, limits, contents);
  ASSERT_TRUE(ok.ok) << ok.error;
  EXPECT_EQ(contents.substr(0, 5), "1.14 ");
  ScoreServer gzipped{root / "home2", root / "server2", {"--no-network-file", "--gzip-always"}};
  const std::string url = "http://127.0.0.1:" + std::to_string(gzipped.httpPort) + "/Games/Kesmir/NewVer.txt";
  ASSERT_TRUE(network.HttpGet(url, 1024, limits, contents).ok);
  EXPECT_EQ(contents.substr(0, 5), "1.14 ");  // decoded, whatever the server compressed it with

  contents = "untouched";
  const TransferResult notFound = network.HttpGet(Web("/Games/Kesmir/Nothing.txt"), 1024, limits, contents);
  EXPECT_FALSE(notFound.ok);
  EXPECT_NE(notFound.error.find("404"), std::string::npos) << notFound.error;
  EXPECT_EQ(contents, "untouched");

  WriteWholeFile(server.AnnouncementFile(), std::string(100000, 'z'));
  EXPECT_FALSE(network.HttpGet(Web("/Games/Kesmir/NewVer.txt"), 1024, limits, contents).ok);
  EXPECT_EQ(contents, "untouched");
}

// Asks until the monitor answers, for at most the time given.
std::optional<bool> AnswerWithin(IConnectionMonitor& monitor, int port, std::chrono::milliseconds wait) {
  const auto deadline = std::chrono::steady_clock::now() + wait;
  std::optional<bool> answer;
  while (!(answer = monitor.Reachable("127.0.0.1", port)) && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(10ms);
  }
  return answer;
}

TEST(ConnectionMonitor, AnswersInTheBackgroundAndNeverMakesTheAskerWait) {
  CurlConnectionMonitor monitor(100ms, 3s);
  testing::SilentServer listening;
  EXPECT_FALSE(monitor.Reachable("127.0.0.1", listening.port).has_value());  // nothing known yet
  EXPECT_EQ(AnswerWithin(monitor, listening.port, 10s), std::optional<bool>(true));

  int closedPort = 0;
  {
    testing::SilentServer gone;
    closedPort = gone.port;
  }
  EXPECT_EQ(AnswerWithin(monitor, closedPort, 10s), std::optional<bool>(false));

  // A connection that never completes: the check takes its whole limit, the asking does not.
  testing::BusyServer busy;
  std::chrono::steady_clock::duration longest{};
  for (int i = 0; i < 20; ++i) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(monitor.Reachable("127.0.0.1", busy.port).has_value());
    longest = std::max(longest, std::chrono::steady_clock::now() - start);
    std::this_thread::sleep_for(10ms);
  }
  EXPECT_LT(longest, 1s);  // far below the check's limit of 3 s, even on a busy machine
  EXPECT_EQ(AnswerWithin(monitor, busy.port, 10s), std::optional<bool>(false));
}

TEST(ConnectionMonitor, ChecksAgainOnlyAfterItsInterval) {
  CurlConnectionMonitor monitor(1h, 500ms);
  std::optional<testing::SilentServer> server(std::in_place);
  const int port = server->port;
  ASSERT_EQ(AnswerWithin(monitor, port, 10s), std::optional<bool>(true));
  server.reset();
  std::this_thread::sleep_for(200ms);
  EXPECT_EQ(monitor.Reachable("127.0.0.1", port), std::optional<bool>(true));  // the latest answer stands
}

TEST(Desktop, HandsTheAddressToXdgOpen) {
  const auto folder = std::filesystem::temp_directory_path() / ("kesmir-xdg-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  const auto script = folder / "xdg-open";
  const auto captured = folder / "opened.txt";
  WriteWholeFile(script, "#!/bin/sh\nprintf '%s' \"$1\" > '" + captured.string() + "'\n");
  ::chmod(script.c_str(), 0755);
  const std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
  ::setenv("PATH", (folder.string() + ":" + oldPath).c_str(), 1);

  SdlDesktop desktop;
  const std::string url = "http://127.0.0.1:8080/Games/Kesmir/Kesmir-1.15.tar.gz";
  EXPECT_TRUE(desktop.OpenUrl(url));
  for (int i = 0; i < 200 && ReadWholeFile(captured).empty(); ++i) std::this_thread::sleep_for(10ms);
  EXPECT_EQ(ReadWholeFile(captured), url);

  ::setenv("PATH", oldPath.c_str(), 1);
  std::error_code ec;
  std::filesystem::remove_all(folder, ec);
}

}  // namespace
}  // namespace kesmir
