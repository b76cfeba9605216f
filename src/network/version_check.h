// The announcement of the newest version and the download of its installer.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "core/game.h"

namespace kesmir {

// The announcement and the installers lie in this folder of the web server.
inline constexpr std::string_view kAnnouncementFolder = "/Games/Kesmir/";
inline constexpr std::string_view kAnnouncementName = "NewVer.txt";
// The local copy of the last announcement fetched, which decides while the web server cannot be reached.
inline constexpr std::string_view kAnnouncementCopy = "OtherFiles/NewVer.txt";

// Fetches an address into a file, which is replaced only once the whole file has arrived and, when accept
// is given, accept takes it. -1 on success; otherwise 0, the file is untouched and the failure is said on
// stderr and, unless failureMessage is empty, noted for the user in those words.
Integer DownloadFile(Game& game, const std::string& url, const std::filesystem::path& path,
                     std::string_view failureMessage, bool (*accept)(std::string_view contents) = nullptr);

// True when the first line of an announcement holds a version in columns 1 to 4: digits and dots, with at
// least one digit, blanks around them allowed. A web page or a damaged copy is no announcement.
bool IsAnnouncement(std::string_view contents);

// Fetches the announcement and compares its version with the running one, as text (so 1.2 is newer than
// 1.14). When it is newer the user is told and asked whether to get it now; the result is then -1 whatever
// the answer. 0 when nothing newer is announced, also when no announcement could be read.
Integer CheckNewVersion(Game& game);

// Fetches the announcement, shows the version and size it announces and hands its installer's address to the
// desktop, whether or not it is newer. While no announcement has ever been read, only the failure is told.
void ShowLatestVersion(Game& game);

// The installer's address: the announcement's folder on the web server with the file name the announcement
// gives, spaces at its ends stripped and every character but letters, digits and "-._~" percent-encoded, so
// the name cannot lead out of the folder. The folder itself when the name is empty, "." or "..".
std::string InstallerUrl(const std::string& webBase, std::string_view fileName);

}  // namespace kesmir
