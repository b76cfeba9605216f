// The deployment file: what it sets, the lines it skips and how it says so, where it is found, and the
// connection flag that follows from it.
#include "network/deployment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fakes/fake_platform.h"
#include "network/ftp_exchange.h"

namespace kesmir {
namespace {

using testing::FakeGame;
using ::testing::internal::CaptureStderr;
using ::testing::internal::GetCapturedStderr;

// Every setting on one line: "host:port user/password tls|plain web seconds/seconds/seconds/seconds".
std::string Described(const NetDeployment& d) {
  const TransferLimits& l = d.limits;
  return d.ftp.host + ":" + std::to_string(d.ftp.port) + " " + d.ftp.user + "/" + d.ftp.password +
         (d.ftp.requireTls ? " tls only " : d.ftp.tryTls ? " tls " : " plain ") + d.ftp.caFile + d.webBase + " " + std::to_string(l.connectSeconds) + "/" +
         std::to_string(l.responseSeconds) + "/" + std::to_string(l.stallSeconds) + "/" +
         std::to_string(l.totalSeconds);
}

TEST(DeploymentFile, SetsEveryKeyAndKeepsTheDefaultsOfTheOthers) {
  std::vector<int> bad;
  const NetDeployment d = ParseDeployment(
      "# the score server\r\n"
      "\r\n"
      "  ftp_host =  scores.example.org  \r\n"
      "ftp_user=kesmir1\r\n"
      "ftp_password = p=ss word\r\n"  // only the first "=" separates
      "web_base = http://127.0.0.1:8080/\r\n",
      bad);
  EXPECT_TRUE(bad.empty());
  EXPECT_EQ(Described(d), "scores.example.org:21 kesmir1/p=ss word tls http://127.0.0.1:8080 10/15/15/60");

  const NetDeployment other = ParseDeployment(
      "ftp_host = [::1]\nftp_port = 2121\nftps = require\nca_file = /etc/kesmir/ca.pem\nconnect_timeout = 1\n"
      "response_timeout = 2\n"
      "stall_timeout = 3\ntransfer_timeout = 3600\nftp_password =\n",
      bad);
  EXPECT_TRUE(bad.empty());
  EXPECT_EQ(Described(other), "[::1]:2121 / tls only /etc/kesmir/ca.pem 1/2/3/3600");
  EXPECT_FALSE(ParseDeployment("ftps = no\n", bad).ftp.tryTls);

  // The score service: its address without the "/" at its end, and the server the connection check asks.
  for (const auto& [line, described] :
       {std::pair{"score_url = https://scores.example/k/", "https://scores.example/k scores.example:443"},
        std::pair{"score_url = http://[::1]:8090", "http://[::1]:8090 [::1]:8090"},
        std::pair{"score_url = http://h", "http://h h:80"}}) {
    const NetDeployment s = ParseDeployment(line, bad);
    EXPECT_EQ(s.scoreUrl + " " + s.scoreHost + ":" + std::to_string(s.scorePort), described);
  }
  EXPECT_TRUE(bad.empty());
}

TEST(DeploymentFile, SkipsLinesThatCouldMisleadTheTransfers) {
  std::vector<int> bad;
  const NetDeployment d = ParseDeployment(
      "ftp_host = evil.org/path\n"  // 1: would change the address
      "ftp_host = user@host\n"      // 2
      "ftp_port = 0\n"              // 3
      "ftp_port = 65536\n"          // 4
      "ftp_port = 21x\n"            // 5
      "ftps = maybe\n"              // 6
      "web_base = ftp://host\n"     // 7
      "web_base = http://a b\n"     // 8
      "ftp_user = a\tb\n"           // 9: a control character
      "connect_timeout = 0\n"       // 10
      "transfer_timeout = 1.5\n"    // 11
      "color = blue\n"              // 12: no such key
      "just words\n"                // 13
      "web_base = http:///\n"       // 14: a scheme followed by no server
      "web_base = https://\n"       // 15
      "web_base = http:///Games\n"  // 16
      "score_url = ftp://h\n"       // 17
      "score_url = http://u@h\n"    // 18
      "score_url = http://h:0\n"    // 19
      "score_url = https://h:x/\n"  // 20
      "ftp_host = good-host_1.example\n"
      "web_base = https://web.example//\n",
      bad);
  EXPECT_EQ(bad, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20}));
  EXPECT_EQ(Described(d), "good-host_1.example:21 / tls https://web.example 10/15/15/60");
  EXPECT_EQ(d.scoreUrl, "");
}

TEST(DeploymentFile, IsFoundInTheUserFolderFirstAndReadAgainWhenItChanges) {
  FakeGame g;
  EXPECT_EQ(Deployment(*g).ftp.host, "");  // no file: offline
  g.WriteDataFile("OtherFiles/Network.txt", "ftp_host = shipped.example\n");
  EXPECT_EQ(Deployment(*g).ftp.host, "shipped.example");
  g.WriteUserFile("OtherFiles/Network.txt", "ftp_host = mine.example\nftp_port = 2121\n");
  EXPECT_EQ(Deployment(*g).ftp.host, "mine.example");
  g.WriteUserFile("OtherFiles/Network.txt", "ftp_host = other.example\n");
  EXPECT_EQ(Deployment(*g).ftp.host, "other.example");
  EXPECT_EQ(Deployment(*g).ftp.port, 21);  // a value the new file no longer sets is back at its default
}

TEST(DeploymentFile, SkippedLinesAreSaidOnceByNumberNeverByContent) {
  FakeGame g;
  g.WriteUserFile("OtherFiles/Network.txt", "ftp_host = h\nftp_password secret7\nftp_port = x\n");
  CaptureStderr();
  Deployment(*g);
  Deployment(*g);
  CheckConnection(*g);
  const std::string said = GetCapturedStderr();
  EXPECT_NE(said.find("Network.txt: ignoring lines 2, 3"), std::string::npos) << said;
  EXPECT_EQ(said.find("secret7"), std::string::npos);
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1);
}

TEST(ConnectionFlag, FollowsTheBackgroundCheckOfTheConfiguredServerAndNeverItsAbsence) {
  FakeGame g;
  g->net.Connected = kTrue;
  g.connection.answer = true;
  EXPECT_EQ(CheckConnection(*g), 0);  // no score server set up
  EXPECT_EQ(g.connection.host, "");   // and none asked about

  g.WriteUserFile("OtherFiles/Network.txt", "ftp_host = 127.0.0.1\nftp_port = 2121\n");
  g.connection.answer.reset();
  EXPECT_EQ(CheckConnection(*g), 0);  // no answer yet
  EXPECT_EQ(g.connection.host, "127.0.0.1");
  EXPECT_EQ(g.connection.port, 2121);
  g.connection.answer = true;
  EXPECT_EQ(CheckConnection(*g), kTrue);
  EXPECT_EQ(g->net.Connected, kTrue);
  g.connection.answer = false;
  EXPECT_EQ(CheckConnection(*g), 0);
  EXPECT_EQ(g->net.Connected, 0);

  // A score service is enough to be online, and it is the server asked about.
  g.WriteUserFile("OtherFiles/Network.txt", "score_url = http://scores.test:8090\n");
  g.connection.answer = true;
  EXPECT_EQ(CheckConnection(*g), kTrue);
  EXPECT_EQ(g.connection.host + ":" + std::to_string(g.connection.port), "scores.test:8090");
}

}  // namespace
}  // namespace kesmir
