// The real score service (kesmir-scored on a SQLite file) through libcurl: its certificate checked, and a
// hundred players synchronising at once who all keep their rows.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "fakes/fake_platform.h"
#include "fakes/world_files.h"
#include "platform/curl_network.h"
#include "score_server.h"
#include "scores/score_files.h"

namespace kesmir {
namespace {

using testing::FakeGame;
using testing::ReadWorldFile;
using testing::ScoreService;
using testing::WorldTestRow;

struct ServiceSync : ::testing::Test {
  FakeGame g;
  CurlNetwork network;
};

TEST_F(ServiceSync, OverHttpsTheServicesCertificateIsVerifiedAndCaFileTrustsIt) {
  const auto key = g.root / "key.pem";
  const auto certificate = g.root / "certificate.pem";
  ASSERT_TRUE(testing::MakeCertificate(key, certificate));
  const ScoreService service(g.root / "service", {"--cert", certificate.string(), "--key", key.string()});
  ASSERT_TRUE(service.Started() && service.address.starts_with("https://"));
  FtpAccount account{"", 0, testing::kServerUser, testing::kServerPassword, true, false, {}, {}};
  std::string answer;
  const TransferResult untrusted = network.PostFile(service.address + "/world", account, "END\r\n", 99, {}, answer);
  EXPECT_TRUE(untrusted.certificate) << untrusted.error;
  account.caFile = certificate.string();
  const TransferResult refused = network.PostFile(service.address + "/world", account, "END\r\n", 99, {}, answer);
  EXPECT_EQ(std::tuple(refused.status, refused.error),
            std::tuple(400, std::string("the server said \"400 the list holds no rows\"")));
}

// A hundred players synchronise from the command line at the same moment, each with a row of its own: every
// row is on the list afterwards.
TEST_F(ServiceSync, AHundredPlayersAtOnceAllKeepTheirRows) {
  constexpr int kPlayers = 100;
  const ScoreService service(g.root / "service", {"--max-uploads-per-minute", "0"});
  ASSERT_TRUE(service.Started());
  service.WriteNetworkFile(g->app.UserDir);
  std::vector<ScoreLineFields> rows;
  for (int player = 0; player < kPlayers; ++player) {
    rows.push_back(WorldTestRow(5000 - player, "P" + std::to_string(player)));
  }
  testing::SynchronizePlayers(g, g.ReadUserFile("OtherFiles/Network.txt"), rows);  // on two busy cores up to 30 s
  const auto names = ReadWorldFile(service.List()).Names();
  ASSERT_EQ(names.size(), 101u);
  for (const auto& row : rows) EXPECT_EQ(std::count(names.begin(), names.begin() + 100, row.name), 1) << row.name;
}

}  // namespace
}  // namespace kesmir
