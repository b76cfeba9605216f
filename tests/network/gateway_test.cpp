// kesmir-scored behind its FTP gateway (scripts/score-server without --file-server), through the game's own FTP
// client: uploads are merged, nothing removes a row, and today's game synchronises through it unchanged.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "fakes/fake_platform.h"
#include "fakes/world_files.h"
#include "platform/curl_network.h"
#include "score_server.h"

namespace kesmir {
namespace {

using testing::ListServer;
using testing::ReadWorldFile;
using testing::ScoreServer;
using testing::WorldListFile;
using testing::WorldTestRow;

struct Gateway : ::testing::Test {
  testing::FakeGame g;
  ScoreServer server{g->app.UserDir, g.root / "server", {}, ListServer::kService};
  CurlNetwork network;
  FtpAccount account{"127.0.0.1", server.ftpPort, testing::kServerUser, testing::kServerPassword, true, false, {}, {}};
  TransferLimits limits{2, 2, 2, 10, {}};

  std::vector<std::string> ListedNames() {
    std::vector<std::string> names;
    EXPECT_TRUE(network.FtpList(account, limits, names).ok);
    return names;
  }
  std::vector<std::string> ServedNames() {
    std::string list;
    EXPECT_TRUE(network.FtpGet(account, "Atopw.kzm", 1 << 20, limits, list).ok);
    return ReadWorldFile(list).Names();
  }
};

TEST_F(Gateway, UploadsMergeAndNeitherAnEmptyADamagedNorAStaleFileNorADeleteRemovesARow) {
  ASSERT_TRUE(server.Started());
  std::string nothing;
  const TransferResult none = network.FtpGet(account, "Atopw.kzm", 1 << 20, limits, nothing);
  EXPECT_TRUE(none.missing) << none.error;  // no list yet: a missing file, as the game expects
  EXPECT_TRUE(ListedNames().empty());

  ASSERT_TRUE(network.FtpPut(account, "Atopw.kzm", WorldListFile(5000, "S", 41, "01.02.2024"), limits).ok);
  EXPECT_EQ(ListedNames(), std::vector<std::string>{"Atopw.kzm"});
  std::string stale;
  ASSERT_TRUE(network.FtpGet(account, "Atopw.kzm", 1 << 20, limits, stale).ok);
  // Another player's row arrives after the stale copy was downloaded.
  std::string other = stale;
  other.replace(0, other.find('\n') + 1,
                CodeScoreLine(JoinScoreLine(WorldTestRow(4995, "Other")), true) + "\r\n");
  const TransferResult added = network.FtpPut(account, "Atopw.kzm", other, limits);
  ASSERT_TRUE(added.ok) << added.error;
  const std::vector<std::string> merged = ServedNames();
  ASSERT_EQ(merged.size(), 101u);
  EXPECT_EQ(merged[0], "S0");  // the row the other copy left out is kept
  EXPECT_EQ(merged[1], "Other");

  for (const std::string& upload : {std::string(), std::string("not a score list\r\n"), stale.substr(0, 500)}) {
    const TransferResult refused = network.FtpPut(account, "Atopw.kzm", upload, limits);
    EXPECT_FALSE(refused.ok);
    EXPECT_NE(refused.error.find("550 The world list was not changed"), std::string::npos) << refused.error;
  }
  EXPECT_TRUE(network.FtpPut(account, "Atopw.kzm", stale, limits).ok);  // merged: it adds nothing
  EXPECT_FALSE(network.FtpCommand(account, "DELE Atopw.kzm", limits).ok);
  EXPECT_FALSE(network.FtpCommand(account, "RNFR Atopw.kzm", limits).ok);
  EXPECT_TRUE(network.FtpCommand(account, "MKD Atopw.kzm.lock", limits).ok);
  EXPECT_TRUE(network.FtpCommand(account, "RMD Atopw.kzm.lock", limits).ok);
  EXPECT_EQ(ServedNames(), merged);
  EXPECT_EQ(ListedNames(), std::vector<std::string>{"Atopw.kzm"});  // no temporary file is left
}

// The service gone, a download is answered 451 and the operator told in one line, though the gateway held a
// connection the service had kept open.
TEST_F(Gateway, WithTheServiceDownADownloadIsAnswered451AndOneLineSaysWhy) {
  ASSERT_TRUE(server.Started());
  const auto log = g.root / "gateway.log";
  pid_t gateway = testing::Spawn({"/usr/bin/env", "KESMIR_ACCOUNT=" + account.user + ":" + account.password,
                                  "/usr/bin/python3", KESMIR_SOURCE_DIR "/src/server/kesmir-ftp-gateway", "--listen",
                                  "127.0.0.1:0", "--service", "http://127.0.0.1:" + std::to_string(server.scorePort)},
                                 log);
  const std::string address = testing::ListeningAddress(gateway, log);
  if (address.empty()) testing::StopProcess(gateway);
  ASSERT_FALSE(address.empty()) << testing::ReadWholeFile(log);
  account.port = std::stoi(address.substr(address.rfind(':') + 1));
  std::string list;
  EXPECT_TRUE(network.FtpGet(account, "Atopw.kzm", 1 << 20, limits, list).missing);
  server.Stop();
  const TransferResult down = network.FtpGet(account, "Atopw.kzm", 1 << 20, limits, list);
  EXPECT_NE(down.error.find("451 The score service does not answer"), std::string::npos) << down.error;
  const std::string said = testing::ReadWholeFile(log);  // written before the reply
  testing::StopProcess(gateway);
  EXPECT_EQ(said.substr(said.find('\n') + 1).find("kesmir-ftp-gateway: the score service at "), 0u) << said;
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 2) << said;
}

// Three games as they are today, with nothing changed in their settings, synchronise through the gateway at
// once, three times over: every row arrives and none is lost.
TEST_F(Gateway, TodaysGamesSynchronisingAtOnceThroughTheGatewayAllKeepTheirRows) {
  ASSERT_TRUE(server.Started());
  std::string networkFile = g.ReadUserFile("OtherFiles/Network.txt");
  networkFile.erase(networkFile.find("score_url"));  // the game's FTP way in only; the key is written last
  std::vector<std::string> everyone;
  for (int run = 0; run < 3; ++run) {
    std::vector<ScoreLineFields> rows;
    for (int player = 0; player < 3; ++player) {
      rows.push_back(WorldTestRow(4900 - 10 * run - player, "P" + std::to_string(run) + std::to_string(player)));
      everyone.push_back(rows.back().name);
    }
    testing::SynchronizePlayers(g, networkFile, rows);
  }
  const std::vector<std::string> names = ServedNames();
  for (const std::string& name : everyone) EXPECT_EQ(std::count(names.begin(), names.end(), name), 1) << name;
}

}  // namespace
}  // namespace kesmir
