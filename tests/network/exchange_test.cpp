// The synchronisation's chain over fake servers: its transfers, steps and captions, the version gate, the
// announcement's columns and what a failed fetch of it tells the user.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "app/progress.h"
#include "fakes/fake_platform.h"
#include "network/ftp_exchange.h"
#include "network/version_check.h"
#include "scores/score_files.h"
#include "scores/world_merge.h"
#include "fakes/world_files.h"

namespace kesmir {
namespace {

using testing::FakeGame;
using testing::ReadWorldFile;
using testing::WorldListFile;
using testing::WorldTestRow;

constexpr const char* kAnnouncementUrl = "http://web.test/Games/Kesmir/NewVer.txt";

std::string Announcement(const std::string& version) {
  // Columns: version 1-4, size 6-9, installer 33-72.
  std::string line = version + std::string(5 - version.size(), ' ') + "2.5  Kesmir for Linux";
  line.resize(32, ' ');
  return line + "Kesmir 115.exe\r\n";
}

struct Exchange : ::testing::Test {
  FakeGame g;
  ScoreLists& lists = g->scores;

  void SetUp() override {
    g.WriteUserFile("OtherFiles/Network.txt",
                    "ftp_host = 127.0.0.1\nftp_user = kesmir7\nftp_password = secret7\nweb_base = http://web.test\n");
    g.connection.answer = true;
    g->app.FormCaption = kFormCaption;
    g.clock.today = {2024, 3, 9};
    g.network.webFiles[kAnnouncementUrl] = Announcement("1.14");
    g.network.ftpFiles["Atopw.kzm"] = WorldListFile(5000, "S", 41, "01.02.2024");
    // The local list, loaded: one row between the server's first two, the others empty.
    for (int place = 0; place < kLocalRows; ++place) SetLocalRow(lists, place, WorldTestRow(0, ""));
    SetLocalRow(lists, 0, WorldTestRow(4995, "Local"));
    lists.HsLoadCount = 1;
  }
  std::string ServerFile() { return g.network.ftpFiles["Atopw.kzm"]; }
  std::vector<std::string> Captions() const {
    std::vector<std::string> captions;
    for (const auto& call : g.fonts.calls) {
      if (call.text.starts_with("   ")) captions.push_back(call.text.substr(3));
    }
    return captions;
  }
};

TEST_F(Exchange, ASynchronisationRunsItsTransfersInOrderInTwentyTwoCaptionedSteps) {
  // An upload of this installation was cut short: its temporary file goes, another installation's stays.
  g.WriteUserFile("OtherFiles/UploadTag.txt", "0123456789abcdef\n");
  g.WriteUserFile("OtherFiles/UploadPending.txt", "");
  g.network.ftpFiles["Atopw.kzm.0123456789abcdef.1a.part"] = "";
  g.network.ftpFiles["Atopw.kzm.fedcba9876543210.1a.part"] = "";
  CheckConnection(*g);  // as the screen does on every pass
  DownloadWorldScores(*g);
  // The list is fetched and the merge sent under the lock; then the list is read back a moment later.
  EXPECT_EQ(g.network.calls,
            (std::vector<std::string>{std::string("http ") + kAnnouncementUrl, "MKD Atopw.kzm.lock", "get Atopw.kzm",
                                      "put Atopw.kzm", "list", "DELE Atopw.kzm.0123456789abcdef.1a.part",
                                      "RMD Atopw.kzm.lock", "get Atopw.kzm"}));
  EXPECT_EQ(ReadWorldFile(ServerFile()).rows[1].name, "Local");
  EXPECT_EQ(lists.WsLoadCount, 0);  // the screen reads the merged file next
  EXPECT_TRUE(g.dialogs.shown.empty());
  const TransferLimits& limits = g.network.lastLimits;
  EXPECT_EQ(std::tuple(g.network.lastAccount.user, g.network.lastAccount.password, limits.connectSeconds,
                       limits.responseSeconds, limits.stallSeconds, limits.totalSeconds),
            std::tuple("kesmir7", "secret7", 10, 15, 15, 42));  // the whole synchronisation ends within 45 s

  // Each step of the bar with its caption: the whole chain fills the transfer scale exactly.
  std::vector<std::string> expected(3, "CONNECTING FOR DOWNLOAD..");
  expected.insert(expected.end(), 3, "DOWNLOADING..");
  expected.push_back("LOADING..");
  expected.insert(expected.end(), 10, "SYNCHRONIZING..");
  expected.push_back("SAVING..");
  expected.push_back("CONNECTING FOR UPLOAD..");
  expected.insert(expected.end(), 3, "UPLOADING..");
  EXPECT_EQ(Captions(), expected);
  EXPECT_EQ(g->app.ProgressStep, 22);
}

TEST_F(Exchange, AnUploadOverwrittenByAnotherPlayersIsMergedAndSentAgainUntilTheServerKeepsBoth) {
  const std::string theirs = WorldListFile(5000, "O", 60, "02.02.2024");
  int uploads = 0;
  bool always = false;
  g.network.whileRunning = [&](const std::string& call) {
    // Right after each of this game's first two uploads, a game that takes no lock replaces the list.
    if (call == "RMD Atopw.kzm.lock" && (++uploads <= 2 || always)) g.network.ftpFiles["Atopw.kzm"] = theirs;
  };
  CheckConnection(*g);
  DownloadWorldScores(*g);
  EXPECT_EQ(std::count(g.network.calls.begin(), g.network.calls.end(), "put Atopw.kzm"), 3);  // at most three
  const auto onServer = ReadWorldFile(ServerFile());
  EXPECT_EQ(onServer.rows[1].name, "Local");
  EXPECT_EQ(onServer.rows[0].name, "O0");
  EXPECT_EQ(onServer.trailer[0], "61");  // their uploads and ours, each counted once
  EXPECT_TRUE(g.dialogs.shown.empty());

  uploads = 100;  // nobody else: one upload
  g.network.calls.clear();
  DownloadWorldScores(*g);
  EXPECT_EQ(std::count(g.network.calls.begin(), g.network.calls.end(), "put Atopw.kzm"), 1);

  always = true;  // overwritten after every upload: the rows stay in the list kept here, and the player is told
  g.network.calls.clear();
  DownloadWorldScores(*g);
  EXPECT_EQ(std::count(g.network.calls.begin(), g.network.calls.end(), "put Atopw.kzm"), 3);
  EXPECT_EQ(ReadWorldFile(g.ReadUserFile(std::string(kWorldScoreFile))).rows[1].name, "Local");
  ASSERT_EQ(g.dialogs.shown.size(), 1u);
  EXPECT_NE(g.dialogs.shown[0].text.find("next synchronisation"), std::string::npos);
}

TEST_F(Exchange, ClosingTheWindowDuringATransferCutsItShortAndEndsTheExchangeSilently) {
  const std::string before = ServerFile();
  g.network.whileRunning = [this](const std::string& call) {
    // A slow announcement is read before the progress screen shows: no wait is counted on the menu.
    if (call.starts_with("http")) g.clock.now += 2'000'000;
    if (call != "get Atopw.kzm") return;
    g.clock.now += 3'000'000;  // the server is slow: the screen says how long it has waited
    g.window.events.push_back({EventKind::Close, 0, {}});
  };
  CheckConnection(*g);
  DownloadWorldScores(*g);
  const auto captions = Captions();
  EXPECT_NE(std::find(captions.begin(), captions.end(), "DOWNLOADING.. 3 S"), captions.end());
  EXPECT_EQ(std::count_if(captions.begin(), captions.end(), [](const std::string& c) { return c.ends_with(" S"); }), 1);
  EXPECT_TRUE(g->app.Ended);
  EXPECT_EQ(g.network.calls.back(), "RMD Atopw.kzm.lock");  // nothing but the lock's release after the close
  EXPECT_EQ(ServerFile(), before);
  EXPECT_TRUE(g.dialogs.shown.empty());
}

TEST_F(Exchange, ANewerVersionStopsEverythingAfterItsMessagesWhateverTheAnswer) {
  g.network.webFiles[kAnnouncementUrl] = Announcement("1.15");
  const std::string before = ServerFile();
  g.dialogs.answerYes = false;
  DownloadWorldScores(*g);
  ASSERT_EQ(g.dialogs.shown.size(), 2u);
  EXPECT_EQ(g.dialogs.shown[0].text,
            "New Kesmir 1.15 is online.\nIf you want to upload scores you must download the latest version of Kesmir");
  EXPECT_EQ(g.dialogs.shown[0].kind, MessageKind::Information);
  EXPECT_EQ(g.dialogs.shown[1].text, "Do you want to download it now?");
  EXPECT_EQ(g.dialogs.shown[1].kind, MessageKind::YesNo);
  EXPECT_EQ(g.network.calls.size(), 1u);  // the announcement only
  EXPECT_EQ(ServerFile(), before);
  EXPECT_TRUE(g.ReadUserFile("Atopw.kzm").empty());
  EXPECT_TRUE(g.desktop.opened.empty());

  g.dialogs.shown.clear();
  g.dialogs.answerYes = true;
  ::testing::internal::CaptureStderr();
  DownloadWorldScores(*g);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "") << "the installer's page opened";
  ASSERT_EQ(g.dialogs.shown.size(), 3u);
  EXPECT_EQ(g.dialogs.shown[2].title, std::string(kFormCaption) + std::string(14, ' '));
  EXPECT_EQ(g.dialogs.shown[2].text, "Last version: 1.15  (2.5 Mb)");
  EXPECT_EQ(g.desktop.opened, (std::vector<std::string>{"http://web.test/Games/Kesmir/Kesmir%20115.exe"}));
  EXPECT_EQ(ServerFile(), before);
  EXPECT_EQ(g.ReadUserFile("OtherFiles/NewVer.txt"), Announcement("1.15"));
}

TEST_F(Exchange, VersionsCompareAsText) {
  g.dialogs.answerYes = false;
  // The version announced, the running program's caption, whether the announced one is newer.
  for (const auto& [announced, caption, newer] : std::vector<std::tuple<std::string, std::string, bool>>{
           {"", kFormCaption, false}, {"1.14", kFormCaption, false}, {"1.13", kFormCaption, false},
           {"1.15", kFormCaption, true}, {"1.2", kFormCaption, true}, {"1.10", "Kesmir 1.9  - 27.08.2002", false}}) {
    g.network.webFiles[kAnnouncementUrl] = announced.empty() ? "" : Announcement(announced);
    g->app.FormCaption = caption;
    g.dialogs.shown.clear();
    EXPECT_EQ(CheckNewVersion(*g), newer ? kTrue : 0) << announced;
    EXPECT_EQ(g.dialogs.shown.size(), newer ? 2u : 0u) << announced;
  }
}

TEST_F(Exchange, TheLastAnnouncementReadDecidesWhileTheWebServerIsDown) {
  g.network.failHttp = "Couldn't connect to server";
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(CheckNewVersion(*g), 0);  // nothing known: the exchange goes on, and that is no error to tell
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("Couldn't connect to server"), std::string::npos);
  EXPECT_TRUE(g.dialogs.shown.empty());

  ::testing::internal::CaptureStderr();
  ShowLatestVersion(*g);  // asked for: nothing to show but the failure, in the game's words
  ::testing::internal::GetCapturedStderr();
  ASSERT_EQ(g.dialogs.shown.size(), 1u);
  EXPECT_EQ(g.dialogs.shown[0].kind, MessageKind::Warning);
  EXPECT_EQ(g.dialogs.shown[0].text, "The version announcement could not be fetched.");
  EXPECT_TRUE(g.desktop.opened.empty());

  g.WriteUserFile("OtherFiles/NewVer.txt", Announcement("1.15"));
  g.dialogs.shown.clear();
  EXPECT_EQ(CheckNewVersion(*g), kTrue);
  ASSERT_EQ(g.dialogs.shown.size(), 4u);  // the two questions, the version shown, then the one failure note
  EXPECT_EQ(g.dialogs.shown[3].kind, MessageKind::Warning);
  EXPECT_EQ(g.dialogs.shown[3].text, "The version announcement could not be fetched.");
}

TEST_F(Exchange, AWebPageInPlaceOfTheAnnouncementIsNoVersionAndTheExchangeGoesAhead) {
  EXPECT_EQ(CheckNewVersion(*g), 0);
  g.network.webFiles[kAnnouncementUrl] = "<!DOCTYPE html>\r\n<html>1.99</html>\r\n";
  CheckConnection(*g);
  DownloadWorldScores(*g);
  EXPECT_TRUE(g.dialogs.shown.empty());
  EXPECT_EQ(std::count(g.network.calls.begin(), g.network.calls.end(), "put Atopw.kzm"), 1);  // merged and sent
  EXPECT_EQ(g.ReadUserFile("OtherFiles/NewVer.txt"), Announcement("1.14"));  // the last real one is kept
  g.WriteUserFile("OtherFiles/NewVer.txt", "<!DO\r\n");
  EXPECT_EQ(CheckNewVersion(*g), 0);  // a damaged copy is no announcement either
  EXPECT_FALSE(IsAnnouncement("1.1x"));
  EXPECT_FALSE(IsAnnouncement("...."));
  EXPECT_TRUE(IsAnnouncement(" 1.2 2.5  x"));
}

TEST_F(Exchange, AFailedDownloadMergesHereAndSendsNothingWhileAServerWithoutAListIsSeeded) {
  g.network.failFtpGet = "SSL certificate problem: self-signed certificate";
  g.network.failOnCertificate = true;
  CheckConnection(*g);
  ::testing::internal::CaptureStderr();
  DownloadWorldScores(*g);
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("self-signed"), std::string::npos);
  EXPECT_EQ(std::count(g.network.calls.begin(), g.network.calls.end(), "put Atopw.kzm"), 0);
  ASSERT_EQ(g.dialogs.shown.size(), 1u);
  EXPECT_EQ(g.dialogs.shown[0].text, "The world list could not be fetched; nothing was sent.\nThe score server's "
                                     "certificate could not be verified: set ca_file in Network.txt to it.");
  EXPECT_EQ(ReadWorldFile(g.ReadUserFile("Atopw.kzm")).rows[0].name, "Local");  // merged on this machine

  g.network.failFtpGet.clear();
  g.network.ftpFiles.erase("Atopw.kzm");  // a new server: no list at all
  g.dialogs.shown.clear();
  DownloadWorldScores(*g);
  EXPECT_TRUE(g.dialogs.shown.empty());
  EXPECT_EQ(ReadWorldFile(ServerFile()).rows[0].name, "Local");
}

TEST_F(Exchange, TheAnnouncedFileNameCannotLeadOutOfTheFolder) {
  g.network.webFiles[kAnnouncementUrl] = "1.15 2\r\n";  // too short for a file name
  ShowLatestVersion(*g);
  EXPECT_EQ(g.dialogs.shown.back().text, "Last version: 1.15  (2Mb)");
  EXPECT_EQ(g.desktop.opened.back(), "http://web.test/Games/Kesmir/");
  EXPECT_EQ(InstallerUrl("http://w", " ../../etc/x?y#z "), "http://w/Games/Kesmir/..%2F..%2Fetc%2Fx%3Fy%23z");
  EXPECT_EQ(InstallerUrl("http://w", ".."), "http://w/Games/Kesmir/");
  EXPECT_EQ(InstallerUrl("http://w", "Kesmir-1.15_a~b.tar.gz"), "http://w/Games/Kesmir/Kesmir-1.15_a~b.tar.gz");
  // The first and last of each plain range, each beside a character that is not plain.
  EXPECT_EQ(InstallerUrl("http://w", "/09:`az{@AZ["), "http://w/Games/Kesmir/%2F09%3A%60az%7B%40AZ%5B");
}

TEST_F(Exchange, AnUploadSendsOnlyAWholeListAndTellsWhyItFailed) {
  const std::string largest(kMaxWorldFileBytes, '7');
  ::testing::internal::CaptureStderr();
  for (const std::string& file : {largest, largest + "7"}) {  // one byte more: a cut copy would spoil the list
    g.WriteUserFile("Atopw.kzm", file);
    UploadWorldScores(*g);
  }
  EXPECT_TRUE(ServerFile() == largest);
  g.network.failFtpPut = "Disk full";
  g.WriteUserFile("Atopw.kzm", "END\r\n");
  UploadWorldScores(*g);
  const std::string said = ::testing::internal::GetCapturedStderr();
  ASSERT_EQ(g.dialogs.shown.size(), 2u);
  for (const auto& shown : g.dialogs.shown) EXPECT_EQ(shown.text.rfind("The world list could not be sent;", 0), 0u);
  EXPECT_NE(said.find("(cannot read "), std::string::npos);
  EXPECT_NE(said.find("(Disk full)"), std::string::npos);
  EXPECT_EQ(g.network.calls, (std::vector<std::string>{"MKD Atopw.kzm.lock", "put Atopw.kzm", "RMD Atopw.kzm.lock",
                                                       "MKD Atopw.kzm.lock", "put Atopw.kzm", "RMD Atopw.kzm.lock"}));
}

TEST_F(Exchange, AnUploadWaitsForAnotherGamesLockAndRemovesOneLeftBehind) {
  g.network.ftpFiles["Atopw.kzm.lock"] = "";
  ::testing::internal::CaptureStderr();
  CheckConnection(*g);
  DownloadWorldScores(*g);
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("held for over 10 s"), std::string::npos);
  EXPECT_GT(g.clock.slept, 10'000'000u);
  EXPECT_EQ(std::count(g.network.calls.begin(), g.network.calls.end(), "put Atopw.kzm"), 1);
  EXPECT_EQ(ReadWorldFile(ServerFile()).rows[1].name, "Local");
  EXPECT_FALSE(g.network.ftpFiles.contains("Atopw.kzm.lock"));

  // Given back between the refused making and the look at the folder: made again before the upload.
  g.network.ftpFiles["Atopw.kzm.lock"] = "";
  g.network.calls.clear();
  g.network.whileRunning = [&](const std::string& call) {
    if (call == "list") g.network.ftpFiles.erase("Atopw.kzm.lock");
  };
  UploadWorldScores(*g);
  EXPECT_EQ(g.network.calls, (std::vector<std::string>{"MKD Atopw.kzm.lock", "list", "MKD Atopw.kzm.lock",
                                                       "put Atopw.kzm", "RMD Atopw.kzm.lock"}));
}

TEST_F(Exchange, TheMergeOfTheListFilesGivesWhatTheSynchronisationSends) {
  SetLocalRow(lists, 1, WorldTestRow(4990, "Twin"));  // the server's second score
  SetLocalRow(lists, 2, WorldTestRow(5000, "S0"));    // the server's first row
  SetLocalRow(lists, 3, {});                          // a place never filled
  ASSERT_TRUE(SaveHighScores(*g));
  const std::string fetched = ServerFile();
  DownloadWorldScores(*g);
  EXPECT_EQ(ServerFile(), MergeWorldUpload(fetched, g.ReadUserFile("Atop112.kzm"), g.clock.today).text);
}

// With a score service set: one post of the local list, and the answer kept as the world list.
struct ServiceExchange : Exchange {
  const std::string kept = WorldListFile(3000, "H", 5, "01.01.2024");
  void SetUp() override {
    Exchange::SetUp();
    g.WriteUserFile("OtherFiles/Network.txt", "score_url = http://scores.test/k/\nftp_user = kesmir7\n"
                                              "ftp_password = secret7\nweb_base = http://web.test\n");
    g.WriteUserFile("Atopw.kzm", kept);
    ASSERT_TRUE(SaveHighScores(*g));
  }
  // A synchronisation from the command line: its status, and what it printed on both outputs.
  int SynchronizeAndTell(std::string& said) {
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    const int status = SynchronizeFromCommandLine(*g);
    said = ::testing::internal::GetCapturedStdout() + ::testing::internal::GetCapturedStderr();
    return status;
  }
};

TEST_F(ServiceExchange, TheLocalListIsPostedOnceAndTheMergedAnswerIsKeptAsTheWorldList) {
  g.network.postAnswer = MergeWorldUpload(ServerFile(), g.ReadUserFile("Atop112.kzm"), g.clock.today).text;
  std::string said;
  EXPECT_EQ(SynchronizeAndTell(said), 0);
  EXPECT_EQ(said, "kesmir: downloaded 101 rows, merged 1, uploaded; the server holds the merged list.\n");
  EXPECT_EQ(g.network.calls, (std::vector<std::string>{std::string("http ") + kAnnouncementUrl,
                                                       "post http://scores.test/k/world"}));  // no lock, no read-back
  EXPECT_EQ(g.network.posted, std::vector<std::string>{g.ReadUserFile("Atop112.kzm")});
  EXPECT_EQ(std::tuple(g.network.lastAccount.user, g.network.lastAccount.password), std::tuple("kesmir7", "secret7"));
  EXPECT_TRUE(g.ReadUserFile("Atopw.kzm") == g.network.postAnswer);  // as answered: not merged or dated again
  EXPECT_TRUE(g.ReadUserFile("OtherFiles/WorldScores.txt") == g.network.postAnswer);
  EXPECT_EQ(std::tuple(lists.WsLoadCount, g->app.ProgressStep), std::tuple(0, kNetworkSteps));  // a full bar
  EXPECT_EQ(Captions(), (std::vector<std::string>{"LOADING..", "CONNECTING FOR UPLOAD..", "UPLOADING..",
                                                  "SAVING..", "SAVING.."}));
  EXPECT_FALSE(std::filesystem::exists(g->app.UserDir / "OtherFiles/UploadPending.txt"));
  EXPECT_EQ(SynchronizeAndTell(said), 0);  // the rows are there already
  EXPECT_EQ(said, "kesmir: downloaded 101 rows, merged 0, uploaded; the server holds the merged list.\n");

  g.network.webFiles[kAnnouncementUrl] = Announcement("1.15");  // a newer version: nothing is posted
  g.network.posted.clear();
  CheckConnection(*g);
  DownloadWorldScores(*g);
  EXPECT_TRUE(g.network.posted.empty());
}

TEST_F(ServiceExchange, ARefusalAFailureOrAnAnswerThatIsNoListKeepsTheWorldListAsItWas) {
  struct Case {
    int status;
    std::string answer, failure, detail;
  };
  const std::string list = ServerFile();
  for (const Case& c : std::vector<Case>{
           {401, "wrong or missing account", "", "the server said \"401 wrong or missing account\""},
           {400, "row 3 is not a whole score line", "", "the server said \"400 row 3 is not a whole score line\""},
           {200, "", "Could not connect to server", "(Could not connect to server)"},
           {200, list.substr(0, list.size() / 2), "", "answer is not a world score list"}}) {  // cut short
    g.network.postStatus = c.status;
    g.network.postAnswer = c.answer;
    g.network.failPost = c.failure;
    std::string said;
    EXPECT_EQ(SynchronizeAndTell(said), 1) << c.detail;
    EXPECT_NE(said.find("not uploaded. The world list could not be fetched; nothing was sent."), std::string::npos)
        << said;
    EXPECT_NE(said.find(c.detail), std::string::npos) << said;
    EXPECT_TRUE(g.ReadUserFile("Atopw.kzm") == kept) << c.detail;
  }
  EXPECT_TRUE(g.dialogs.shown.empty());  // from the command line everything is said in its line

  // The service merged the rows before the answer could not be kept: the player is told they were sent.
  g.network.postStatus = 200;
  g.network.failPost.clear();
  g.network.postAnswer = list;
  std::filesystem::create_directories(g->app.UserDir / kWorldScoreCopy);
  std::string said;
  EXPECT_EQ(SynchronizeAndTell(said), 1);
  EXPECT_NE(said.find("uploaded. The merged world list could not be saved on this computer; your scores were sent."),
            std::string::npos) << said;
  EXPECT_NE(said.find("cannot write"), std::string::npos) << said;
}

TEST(WorldListFile, EndsWithinTheRowsAReaderAccepts) {
  auto rows = [](int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "49-\r\n";
    return text;
  };
  EXPECT_TRUE(IsWorldListFile(rows(501) + "END\r\n"));
  EXPECT_FALSE(IsWorldListFile(rows(502) + "END\r\n"));
  EXPECT_TRUE(IsWorldListFile("END"));
  EXPECT_TRUE(IsWorldListFile(rows(3) + "END\n1\n"));
  EXPECT_FALSE(IsWorldListFile(rows(3) + " END\r\n"));
  EXPECT_FALSE(IsWorldListFile(""));
}

TEST(Offline, WithoutAScoreServerNothingIsSentOrShown) {
  FakeGame g;
  DownloadWorldScores(*g);
  UploadWorldScores(*g);
  ShowLatestVersion(*g);
  EXPECT_TRUE(g.network.calls.empty());
  EXPECT_TRUE(g.dialogs.shown.empty());
  EXPECT_TRUE(g.desktop.opened.empty());
  g->platform.network = nullptr;  // and without a network nothing is fetched
  EXPECT_EQ(DownloadFile(*g, kAnnouncementUrl, g.root / "user/NewVer.txt", "Fetching"), 0);
}

}  // namespace
}  // namespace kesmir
