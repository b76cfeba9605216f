// The synchronisation against real servers (scripts/score-server: pyftpdlib and http.server) through libcurl:
// the round trip, the version gate, and servers that are down, silent, stalled or serve rubbish.
#include "score_server.h"

#include <gtest/gtest.h>


#include <chrono>
#include <filesystem>
#include <memory>
#include <random>
#include <sstream>
#include <thread>
#include <string>
#include <vector>

#include "fakes/fake_platform.h"
#include "network/ftp_exchange.h"
#include "platform/curl_network.h"
#include "scores/high_scores.h"
#include "scores/score_files.h"
#include "fakes/world_files.h"

namespace kesmir {
namespace {

using namespace std::chrono_literals;
using testing::FakeGame;
using testing::ReadWholeFile;
using testing::ReadWorldFile;
using testing::ScoreServer;
using testing::WorldListFile;
using testing::WorldTestRow;
using testing::WriteWholeFile;

std::string AnnouncementLine(const std::string& version) {
  std::string line = version + " 1.9  Kesmir for Linux";
  line.resize(32, ' ');
  return line + "Kesmir-" + version + ".tar.gz\r\n";
}

struct ServerExchange : ::testing::Test {
  FakeGame g;
  CurlNetwork network;
  ScoreLists& lists = g->scores;
  std::unique_ptr<ScoreServer> server;
  bool startScoreServer = true;

  void SetUp() override {
    g->platform.network = &network;
    g.connection.answer = true;  // the player pressed the button while the server answered
    g->app.FormCaption = kFormCaption;
    g.clock.today = {2024, 3, 9};
    for (int place = 0; place < kLocalRows; ++place) SetLocalRow(lists, place, WorldTestRow(0, ""));
    SetLocalRow(lists, 0, WorldTestRow(4995, "Local"));
    lists.HsLoadCount = 1;
    g.WriteDataFile("OtherFiles/Temp2.txt", WorldListFile(2000, "D", 0, "01.01.2002"));
    if (startScoreServer) StartServer();
  }
  void StartServer(const std::vector<std::string>& extraArgs = {}) {
    server.reset();
    server = std::make_unique<ScoreServer>(g->app.UserDir, g.root / "server", extraArgs);
    ASSERT_TRUE(server->Started());
    ASSERT_NE(g.ReadUserFile("OtherFiles/Network.txt").find("ftp_port = " + std::to_string(server->ftpPort)),
              std::string::npos);
  }
  // Short limits, so that a server that never answers is given up within seconds.
  void ShortLimits() {
    const std::string file = g.ReadUserFile("OtherFiles/Network.txt");
    g.WriteUserFile("OtherFiles/Network.txt",
                    file + "connect_timeout = 1\nresponse_timeout = 1\nstall_timeout = 1\ntransfer_timeout = 3\n");
  }
  // Runs a synchronisation; its duration in seconds.
  double Synchronize() {
    const auto start = std::chrono::steady_clock::now();
    DownloadWorldScores(*g);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  bool TemporaryFilesLeft() const {
    for (const auto& entry : std::filesystem::directory_iterator(server->FtpFolder())) {
      if (entry.path().filename() != "Atopw.kzm") return true;
    }
    return false;
  }
};

TEST_F(ServerExchange, ASynchronisationBringsOthersScoresBackAndLeavesTheMergedListOnTheServer) {
  WriteWholeFile(server->WorldFile(), WorldListFile(5000, "S", 41, "01.02.2024"));
  Synchronize();
  EXPECT_TRUE(g.dialogs.shown.empty()) << g.dialogs.shown.front().text;
  const auto onServer = ReadWorldFile(ReadWholeFile(server->WorldFile()));
  ASSERT_EQ(onServer.rows.size(), 101u);
  EXPECT_EQ(onServer.rows[0].name, "S0");
  EXPECT_EQ(onServer.rows[1].name, "Local");
  EXPECT_EQ(onServer.rows[2].name, "S1");
  EXPECT_EQ(onServer.trailer, (std::vector<std::string>{"42", "09.03.2024", "01.02.2024"}));
  EXPECT_EQ(g.ReadUserFile("Atopw.kzm"), ReadWholeFile(server->WorldFile()));
  EXPECT_FALSE(TemporaryFilesLeft());

  // The screen reads the merged file; a second synchronisation does not add the same rows again.
  ASSERT_TRUE(LoadWorldScores(*g));
  EXPECT_EQ(lists.WsUploadCount, 42);
  EXPECT_EQ(lists.WsName[1], "Local");
  Synchronize();
  const auto again = ReadWorldFile(ReadWholeFile(server->WorldFile()));
  EXPECT_EQ(again.Names(), onServer.Names());
  EXPECT_EQ(again.trailer[0], "43");
  EXPECT_EQ(again.trailer[2], "09.03.2024");
  EXPECT_TRUE(g.dialogs.shown.empty());
}

TEST_F(ServerExchange, ANewerAnnouncedVersionStopsTheExchangeAndAnOlderOneOrAWebPageLetsItThrough) {
  const std::string list = WorldListFile(5000, "S", 41, "01.02.2024");
  WriteWholeFile(server->WorldFile(), list);
  WriteWholeFile(server->AnnouncementFile(), AnnouncementLine("1.15"));
  g.dialogs.answerYes = false;
  Synchronize();
  ASSERT_EQ(g.dialogs.shown.size(), 2u);
  EXPECT_EQ(g.dialogs.shown[0].text.substr(0, 26), "New Kesmir 1.15 is online.");
  EXPECT_EQ(ReadWholeFile(server->WorldFile()), list);
  EXPECT_TRUE(g.ReadUserFile("Atopw.kzm").empty());

  g.dialogs.shown.clear();
  int uploads = 41;
  for (const std::string& page : {AnnouncementLine("1.14"), AnnouncementLine("1.13"),
                                  std::string("<!DOCTYPE html>\n<html><body>Moved</body></html>\n")}) {
    WriteWholeFile(server->AnnouncementFile(), page);
    Synchronize();
    EXPECT_TRUE(g.dialogs.shown.empty()) << page;
    EXPECT_EQ(ReadWorldFile(ReadWholeFile(server->WorldFile())).trailer[0], std::to_string(++uploads)) << page;
  }
}

// Down, silent from the start, or silent from the log-in on: cut off by the limits, with the local list merged
// and saved here, nothing sent, and the user told once each time.
TEST_F(ServerExchange, AServerThatIsDownOrFallsSilentIsCutOffByTheLimits) {
  g.WriteUserFile("Atopw.kzm", WorldListFile(3000, "H", 7, "05.05.2023"));
  ShortLimits();
  server->Stop();
  EXPECT_LT(Synchronize(), 10.0);
  const auto onDisk = ReadWorldFile(g.ReadUserFile("Atopw.kzm"));
  ASSERT_EQ(onDisk.rows.size(), 101u);
  EXPECT_EQ(onDisk.rows[0].name, "Local");
  EXPECT_EQ(onDisk.rows[1].name, "H0");
  EXPECT_EQ(onDisk.trailer[0], "8");
  testing::SilentServer silent;
  const std::string port = std::to_string(silent.port);
  g.WriteUserFile("OtherFiles/Network.txt", "ftp_host = 127.0.0.1\nftp_port = " + port +
                                                "\nweb_base = http://127.0.0.1:" + port +
                                                "\nconnect_timeout = 1\nresponse_timeout = 1\nstall_timeout = 1\n"
                                                "transfer_timeout = 3\n");
  const double seconds = Synchronize();
  EXPECT_LT(seconds, 10.0);
  EXPECT_GT(seconds, 1.5);  // it did wait for the limits, not fail at once
  EXPECT_EQ(ReadWorldFile(g.ReadUserFile("Atopw.kzm")).trailer[0], "9");
  StartServer({"--stall-after-login"});
  WriteWholeFile(server->WorldFile(), WorldListFile(5000, "S", 41, "01.02.2024"));
  ShortLimits();
  EXPECT_LT(Synchronize(), 10.0);
  EXPECT_EQ(ReadWorldFile(ReadWholeFile(server->WorldFile())).trailer[0], "41");  // nothing arrived
  ASSERT_EQ(g.dialogs.shown.size(), 3u);
  for (const auto& shown : g.dialogs.shown) {
    EXPECT_EQ(shown.text, "The world list could not be fetched; nothing was sent.");
  }
}

TEST_F(ServerExchange, AServedFileThatIsHugeBinaryOrEndlessLeavesTheLocalListsIntact) {
  std::mt19937 random(7);
  std::string huge(5 * 1024 * 1024, '\0');
  for (char& c : huge) c = static_cast<char>(random());
  std::string binary(4000, '\0');
  for (char& c : binary) c = static_cast<char>(random());
  std::string endless;
  for (int i = 0; i < 10000; ++i) endless += "52-57-57-53-75-61-\r\n";
  const std::string mine = WorldListFile(3000, "H", 7, "05.05.2023");
  ASSERT_TRUE(SaveHighScores(*g));
  const std::string localFile = g.ReadUserFile("Atop112.kzm");
  for (const std::string* served : {&huge, &binary, &endless}) {
    g.WriteUserFile("Atopw.kzm", mine);
    WriteWholeFile(server->WorldFile(), *served);
    g.dialogs.shown.clear();
    Synchronize();
    const auto kept = ReadWorldFile(g.ReadUserFile("Atopw.kzm"));
    ASSERT_EQ(kept.rows.size(), 101u);
    EXPECT_EQ(kept.rows[1].name, "H0");
    EXPECT_EQ(kept.trailer[0], "8");
    EXPECT_EQ(g.ReadUserFile("Atop112.kzm"), localFile);
    EXPECT_EQ(lists.HsName[0], "Local");
    ASSERT_EQ(g.dialogs.shown.size(), 1u);
    EXPECT_EQ(g.dialogs.shown[0].text, "The world list could not be fetched; nothing was sent.");
    EXPECT_EQ(ReadWholeFile(server->WorldFile()), *served);  // nobody's rows are replaced by this copy
  }
}

TEST_F(ServerExchange, AServerThatSendsAByteASecondIsGivenUpWithinTheBoundAndKeepsItsList) {
  StartServer({"--drip"});
  WriteWholeFile(server->WorldFile(), WorldListFile(5000, "S", 41, "01.02.2024"));
  const std::string before = ReadWholeFile(server->WorldFile());
  EXPECT_LT(Synchronize(), 45.0);
  ASSERT_EQ(g.dialogs.shown.size(), 1u);
  EXPECT_EQ(g.dialogs.shown[0].text, "The world list could not be fetched; nothing was sent.");
  EXPECT_EQ(ReadWholeFile(server->WorldFile()), before);
}

TEST_F(ServerExchange, AServerThatStopsDuringTheDownloadKeepsItsListAndTheMergeHappensHere) {
  StartServer({"--stop-during-download"});
  WriteWholeFile(server->WorldFile(), WorldListFile(5000, "S", 41, "01.02.2024"));
  const std::string before = ReadWholeFile(server->WorldFile());
  g.WriteUserFile("Atopw.kzm", WorldListFile(3000, "H", 7, "05.05.2023"));
  EXPECT_LT(Synchronize(), 30.0);
  ASSERT_EQ(g.dialogs.shown.size(), 1u);
  EXPECT_EQ(g.dialogs.shown[0].text, "The world list could not be fetched; nothing was sent.");
  EXPECT_EQ(ReadWholeFile(server->WorldFile()), before);
  EXPECT_EQ(ReadWorldFile(g.ReadUserFile("Atopw.kzm")).rows[0].name, "Local");  // merged into the copy here
}

TEST_F(ServerExchange, AFreshServerIsSeededAndRepeatedSynchronisationsKeepOneRowPerGameAndNoLeftovers) {
  std::filesystem::remove(server->WorldFile());
  // Names the file stores in another form: a space at the end, 36 characters, none.
  SetLocalRow(lists, 1, WorldTestRow(4000, "Spaced "));
  SetLocalRow(lists, 2, WorldTestRow(3999, std::string(36, 'L')));
  SetLocalRow(lists, 3, WorldTestRow(3998, ""));
  // What an upload of this installation left when it was cut short goes; another installation's stays.
  g.WriteUserFile("OtherFiles/UploadTag.txt", "0123456789abcdef\n");
  g.WriteUserFile("OtherFiles/UploadPending.txt", "");
  WriteWholeFile(server->FtpFolder() / "Atopw.kzm.0123456789abcdef.1a2b3c.part", "half a list");
  WriteWholeFile(server->FtpFolder() / "Atopw.kzm.fedcba9876543210.1a2b3c.part", "another player's");
  for (int i = 0; i < 3; ++i) Synchronize();
  EXPECT_TRUE(g.dialogs.shown.empty()) << g.dialogs.shown.front().text;
  const auto onServer = ReadWorldFile(ReadWholeFile(server->WorldFile()));
  ASSERT_EQ(onServer.rows.size(), 101u);
  const auto names = onServer.Names();
  for (const std::string& name : std::vector<std::string>{"Local", "Spaced", std::string(35, 'L'), ""}) {
    EXPECT_EQ(std::count(names.begin(), names.begin() + 100, name), 1) << '"' << name << '"';  // the hundred places
  }
  EXPECT_EQ(onServer.trailer[0], "3");
  EXPECT_FALSE(std::filesystem::exists(server->FtpFolder() / "Atopw.kzm.0123456789abcdef.1a2b3c.part"));
  EXPECT_TRUE(std::filesystem::exists(server->FtpFolder() / "Atopw.kzm.fedcba9876543210.1a2b3c.part"));
}

// Ten players synchronise from the command line at the same moment, five times over: every row arrives.
TEST_F(ServerExchange, TenPlayersSynchronisingAtOnceAllKeepTheirRows) {
  const std::string networkFile = g.ReadUserFile("OtherFiles/Network.txt");
  for (int run = 0; run < 5; ++run) {
    WriteWholeFile(server->WorldFile(), WorldListFile(5000, "S", 41, "01.02.2024"));
    std::vector<ScoreLineFields> rows;
    for (int player = 0; player < 10; ++player) {
      rows.push_back(WorldTestRow(4900 - player, "P" + std::to_string(run) + std::to_string(player)));
    }
    testing::SynchronizePlayers(g, networkFile, rows);
    const auto names = ReadWorldFile(ReadWholeFile(server->WorldFile())).Names();
    for (const auto& row : rows) EXPECT_EQ(std::count(names.begin(), names.end(), row.name), 1) << row.name;
  }
}

// ProFTPD, as operators run it, with an account of its own.
struct OperatorServer : ServerExchange {
  std::unique_ptr<testing::ProFtpServer> proftpd;
  const std::string list = WorldListFile(5000, "S", 41, "01.02.2024");

  OperatorServer() { startScoreServer = false; }
  void Start(const std::string& config = "") {
    proftpd = std::make_unique<testing::ProFtpServer>(g.root / "proftpd", config);
    ASSERT_TRUE(proftpd->Started());
    proftpd->WriteNetworkFile(g->app.UserDir);
  }
  // A synchronisation from the command line: its status, and what it printed on both outputs.
  int SynchronizeAndTell(std::string& said) {
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    const int status = SynchronizeFromCommandLine(*g);
    said = ::testing::internal::GetCapturedStdout();
    said += ::testing::internal::GetCapturedStderr();
    return status;
  }
  // The commands the server was sent, each as its verb and the code of the reply: "MKD 257".
  std::vector<std::string> Commands() const {
    std::vector<std::string> commands;
    std::istringstream log(proftpd->CommandLog());
    for (std::string line; std::getline(log, line);) {
      commands.push_back(line.substr(0, line.find(' ')) + line.substr(line.rfind(' ')));
    }
    return commands;
  }
};

TEST_F(OperatorServer, AFreshServerIsSeededInOneLogInAndOnlyWhileTheLockIsHeld) {
  Start();
  std::string said;
  EXPECT_EQ(SynchronizeAndTell(said), 0) << said;
  EXPECT_NE(said.find("the server had no list, merged"), std::string::npos) << said;
  EXPECT_EQ(ReadWorldFile(ReadWholeFile(proftpd->WorldFile())).rows[0].name, "Local");
  const std::vector<std::string> commands = Commands();
  EXPECT_EQ(std::count(commands.begin(), commands.end(), "USER 331"), 1);
  const auto at = [&](const std::string& command) { return std::find(commands.begin(), commands.end(), command); };
  EXPECT_LT(at("MKD 257"), at("STOR 226"));
  EXPECT_LT(at("STOR 226"), at("RMD 250"));
  EXPECT_NE(at("RMD 250"), commands.end());
}

TEST_F(OperatorServer, AListTheAccountMayNotReadIsNeitherTakenForNoneNorReplaced) {
  Start();
  WriteWholeFile(proftpd->WorldFile(), list);
  std::filesystem::permissions(proftpd->WorldFile(), std::filesystem::perms::none);
  std::string said;
  EXPECT_EQ(SynchronizeAndTell(said), 1);
  EXPECT_NE(said.find("cannot be read with this account; nothing was sent."), std::string::npos) << said;
  EXPECT_NE(said.find("Permission denied"), std::string::npos) << said;  // what the server said, on stderr
  std::filesystem::permissions(proftpd->WorldFile(), std::filesystem::perms::owner_read);
  EXPECT_EQ(ReadWholeFile(proftpd->WorldFile()), list);
  const std::vector<std::string> commands = Commands();
  EXPECT_EQ(std::count_if(commands.begin(), commands.end(), [](auto& c) { return c.starts_with("STOR"); }), 0);
}

TEST_F(OperatorServer, ALockGivenBackByItsHolderIsTakenBeforeTheUpload) {
  Start();
  WriteWholeFile(proftpd->WorldFile(), list);
  std::filesystem::create_directory(proftpd->FtpFolder() / "Atopw.kzm.lock");
  std::string said;
  int status = -1;
  std::thread player([&] { status = SynchronizeAndTell(said); });
  // The holder gives it back once this game has found it taken, before or after this game looks at the folder.
  const auto deadline = std::chrono::steady_clock::now() + 20s;
  while (proftpd->CommandLog().find("MKD") == std::string::npos && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(2ms);
  }
  std::filesystem::remove(proftpd->FtpFolder() / "Atopw.kzm.lock");
  player.join();
  EXPECT_EQ(status, 0) << said;
  const std::vector<std::string> commands = Commands();
  const auto stored = std::find(commands.begin(), commands.end(), "STOR 226");
  EXPECT_NE(stored, commands.end());
  EXPECT_NE(std::find(commands.begin(), stored, "MKD 257"), stored);
}

TEST_F(OperatorServer, AnAccountRefusedFoldersUploadsWithoutTheLockAndSaysSoOnce) {
  Start("<Limit MKD XMKD>\n  DenyAll\n</Limit>");
  WriteWholeFile(proftpd->WorldFile(), list);
  std::string said;
  std::string again;
  EXPECT_EQ(SynchronizeAndTell(said), 0) << said;
  EXPECT_EQ(SynchronizeAndTell(again), 0) << again;
  EXPECT_NE((said + again).find("make no folders"), std::string::npos) << said;
  EXPECT_EQ((said + again).find("make no folders"), (said + again).rfind("make no folders"));  // said once
  const std::vector<std::string> commands = Commands();
  EXPECT_EQ(std::count(commands.begin(), commands.end(), "MKD 550"), 6);  // three tries before each upload
  EXPECT_EQ(ReadWorldFile(ReadWholeFile(proftpd->WorldFile())).rows[1].name, "Local");
}

}  // namespace
}  // namespace kesmir
