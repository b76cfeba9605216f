// The deployment file OtherFiles/Network.txt: the score server's account and the web address of the
// version announcement.
#pragma once

#include <string_view>
#include <vector>

#include "core/game.h"

namespace kesmir {

inline constexpr std::string_view kDeploymentFile = "OtherFiles/Network.txt";

// Reads "key = value" lines; "#" starts a comment line and blank lines are skipped. Keys: ftp_host, ftp_port
// (1..65535, default 21), ftp_user, ftp_password, web_base (http:// or https://), score_url (the same, its host
// name and optional port checked as ftp_host's), ftps ("try", "require" or "no"), ca_file, and
// the transfer limits in whole seconds (1..3600) connect_timeout, response_timeout, stall_timeout,
// transfer_timeout. A line that is not "key = value", names no known key or holds a value out of range is
// skipped and its number added to badLines; the value it would have set keeps its default.
NetDeployment ParseDeployment(std::string_view text, std::vector<int>& badLines);

// The game's deployment, from the user folder's file, else the data folder's; read again whenever that file
// changes, so a server set up while the game runs is found. Skipped lines are said once per version of the file
// on standard error, by number (never by content: a line may hold the password).
const NetDeployment& Deployment(Game& game);

}  // namespace kesmir
