// Fuzzes the deployment file Network.txt: the values it may set, and the connection check and the upload that
// use them.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_game.h"
#include "network/deployment.h"
#include "network/ftp_exchange.h"
#include "network/version_check.h"

namespace {

bool NoControlCharacters(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return false;
  }
  return true;
}

// Nothing in a host name can end the host part of an address: no "/", "@", "?", "#", blank, nor ":" outside
// brackets.
bool PlainHost(std::string_view host) {
  const bool bracketed = host.size() >= 2 && host.front() == '[' && host.back() == ']';
  for (const char c : bracketed ? host.substr(1, host.size() - 2) : host) {
    if (c == '/' || c == '@' || c == '?' || c == '#' || c == ' ' || c == '[' || c == ']') return false;
    if (c == ':' && !bracketed) return false;
  }
  return NoControlCharacters(host);
}

bool InLimits(long seconds) { return seconds >= 1 && seconds <= 3600; }

void RequireSound(const kesmir::NetDeployment& d) {
  using kesmir::fuzz::Require;
  Require(PlainHost(d.ftp.host), "the FTP host is a plain host name");
  Require(d.ftp.port >= 1 && d.ftp.port <= 65535, "the FTP port is a port");
  Require(NoControlCharacters(d.ftp.user) && NoControlCharacters(d.ftp.password), "the account holds no controls");
  Require(d.webBase.empty() || ((d.webBase.starts_with("http://") || d.webBase.starts_with("https://")) &&
                                !d.webBase.ends_with('/') && d.webBase.find(' ') == std::string::npos &&
                                NoControlCharacters(d.webBase)),
          "the web address is an http or https address without a trailing slash");
  Require(InLimits(d.limits.connectSeconds) && InLimits(d.limits.responseSeconds) &&
              InLimits(d.limits.stallSeconds) && InLimits(d.limits.totalSeconds),
          "every time limit is within an hour");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kesmir;
  testing::FakeGame& fake = fuzz::FuzzGame();
  Game& game = *fake;
  fuzz::ClearRecords(fake);
  fuzz::ResetPart(game.net);
  fake.connection.answer = true;
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  std::vector<int> badLines;
  const NetDeployment parsed = ParseDeployment(text, badLines);
  RequireSound(parsed);
  for (std::size_t i = 1; i < badLines.size(); ++i) {
    fuzz::Require(badLines[i - 1] < badLines[i], "skipped lines are told once each, in order");
  }

  // The same file as the game finds it, then the steps that use it.
  fuzz::WriteUserInput(fake, std::string(kDeploymentFile), data, size);
  const NetDeployment& read = Deployment(game);
  RequireSound(read);
  fuzz::Require(read.ftp.host == parsed.ftp.host && read.webBase == parsed.webBase && read.scoreUrl == parsed.scoreUrl,
                "the file reads as parsed");
  const Integer connected = CheckConnection(game);
  fuzz::Require((connected != 0) == read.Online(), "only a configured server is checked");
  UploadWorldScores(game);
  if (!read.webBase.empty()) InstallerUrl(read.webBase, "Kesmir 1.15.exe");
  return 0;
}
