// The version announcement: one line of text read by columns.
#include "network/version_check.h"

#include <algorithm>
#include <cstdio>

#include "app/folders.h"
#include "core/files.h"
#include "network/deployment.h"
#include "network/exchange_report.h"

namespace kesmir {
namespace {

// The announcement is one short line; a larger answer is not an announcement.
constexpr std::size_t kMaxAnnouncementBytes = 64 * 1024;
const char* const kHexDigits = "0123456789ABCDEF";

// Characters first .. first + count - 1 of text, counted from 1; what lies past the end is missing.
std::string Mid(std::string_view text, std::size_t first, std::size_t count) {
  if (first - 1 >= text.size()) return {};
  return std::string(text.substr(first - 1, count));
}

// The announcement comes from a server: control characters are shown as "?", so that they can neither
// break a message box nor reach a terminal.
std::string Printable(std::string text) {
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
  }
  return text;
}

std::string AnnouncementUrl(const NetDeployment& d) {
  return d.webBase + std::string(kAnnouncementFolder) + std::string(kAnnouncementName);
}

// Fetches the announcement over the local copy (kept when the fetch fails), then reads the copy's first line
// by columns: version 1-4, installer size 6-9, installer file 33-72. A copy that cannot be read leaves the
// values of the last announcement read; the result tells whether any announcement is known.
// A fetch that fails is told to the player only when reportFailure is set; before an exchange it is not, as
// the exchange goes ahead on the last announcement read.
bool ReadAnnouncement(Game& game, bool trimVersion, bool reportFailure) {
  const NetDeployment& d = Deployment(game);
  const auto copyPath = UserPath(game, kAnnouncementCopy);
  if (!d.webBase.empty()) {
    DownloadFile(game, AnnouncementUrl(d), copyPath,
                 reportFailure ? "The version announcement could not be fetched." : "", IsAnnouncement);
  }
  const auto text = ReadFileLimited(copyPath, kMaxAnnouncementBytes);
  if (!text || !IsAnnouncement(*text)) return !game.net.LatestVersion.empty();
  const auto lines = SplitLines(*text);
  const std::string first = lines.empty() ? std::string() : lines.front();
  NetState& net = game.net;
  const std::string version = Mid(first, 1, 4);
  net.LatestVersion = Printable(trimVersion ? std::string(Trim(version)) : version);
  net.LatestSize = Printable(Mid(first, 6, 4));
  net.LatestFile = Printable(Mid(first, 33, 40));
  return true;
}

std::string RunningVersion(const Game& game) {
  const std::string& caption = game.app.FormCaption.empty() ? std::string(kFormCaption) : game.app.FormCaption;
  return std::string(Trim(Mid(caption, 8, 4)));
}

}  // namespace

Integer DownloadFile(Game& game, const std::string& url, const std::filesystem::path& path,
                     std::string_view failureMessage, bool (*accept)(std::string_view contents)) {
  INetwork* network = game.platform.network;
  if (!network || game.app.Ended) return 0;
  std::string contents;
  const TransferResult result =
      network->HttpGet(url, kMaxAnnouncementBytes, WatchedLimits(game, Deployment(game).limits), contents);
  if (game.app.Ended) return 0;
  std::string failure;
  if (!result.ok) {
    failure = result.error;
  } else if (accept && !accept(contents)) {
    failure = "not what was expected";
  } else if (!WriteFileAtomic(path, contents)) {
    failure = "cannot write " + path.string();
  }
  if (failure.empty()) return kTrue;
  if (failureMessage.empty()) {
    std::fprintf(stderr, "kesmir: cannot fetch %s (%s)\n", url.c_str(), failure.c_str());
  } else {
    ReportTransferFailure(game, failureMessage, url + ": " + failure);
  }
  return 0;
}

bool IsAnnouncement(std::string_view contents) {
  const std::string_view line = contents.substr(0, contents.find_first_of("\r\n"));
  const std::string_view version = Trim(line.substr(0, std::min<std::size_t>(4, line.size())));
  bool digit = false;
  for (char c : version) {
    if (c != '.' && (c < '0' || c > '9')) return false;
    digit = digit || c != '.';
  }
  return digit;
}

Integer CheckNewVersion(Game& game) {
  ExchangeScope scope(game);
  ReadAnnouncement(game, true, false);
  NetState& net = game.net;
  // Compared as text on purpose, so 1.2 is newer than 1.14: every released version compares this way, and the
  // announcements are numbered for it.
  if (!(RunningVersion(game) < net.LatestVersion) || game.app.Ended) return 0;
  if (IDialogs* dialogs = game.platform.dialogs) {
    dialogs->ShowMessage("Kesmir",
                         "New Kesmir " + net.LatestVersion + " is online.\n" +
                             "If you want to upload scores you must download the latest version of Kesmir",
                         MessageKind::Information);
    if (dialogs->ShowMessage("Kesmir", "Do you want to download it now?", MessageKind::YesNo)) ShowLatestVersion(game);
  }
  return kTrue;
}

void ShowLatestVersion(Game& game) {
  ExchangeScope scope(game);
  // With no announcement ever read there is nothing to show: the failure to fetch it is told instead.
  if (!ReadAnnouncement(game, false, true)) return;
  const NetState& net = game.net;
  const std::string caption = game.app.FormCaption.empty() ? std::string(kFormCaption) : game.app.FormCaption;
  if (game.platform.dialogs) {
    game.platform.dialogs->ShowMessage(caption + std::string(14, ' '),
                                       "Last version: " + net.LatestVersion + "  (" + net.LatestSize + "Mb)",
                                       MessageKind::Information);
  }
  const NetDeployment& d = Deployment(game);
  if (d.webBase.empty() || !game.platform.desktop) return;
  const std::string url = InstallerUrl(d.webBase, net.LatestFile);
  if (!game.platform.desktop->OpenUrl(url)) std::fprintf(stderr, "kesmir: cannot open %s\n", url.c_str());
}

std::string InstallerUrl(const std::string& webBase, std::string_view fileName) {
  std::string url = webBase + std::string(kAnnouncementFolder);
  const std::string_view name = Trim(fileName);
  if (name == "." || name == "..") return url;  // names of folders, not of an installer
  for (unsigned char c : name) {
    const bool plain = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '-' ||
                       c == '.' || c == '_' || c == '~';
    if (plain) {
      url += static_cast<char>(c);
    } else {
      url += '%';
      url += kHexDigits[c >> 4];
      url += kHexDigits[c & 15];
    }
  }
  return url;
}

}  // namespace kesmir
