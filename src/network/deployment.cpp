// Reading the deployment file.
#include "network/deployment.h"

#include <sys/stat.h>

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

#include "app/folders.h"
#include "core/files.h"

namespace kesmir {
namespace {

// A deployment file is a dozen short lines; anything past this is not one.
constexpr std::size_t kMaxDeploymentBytes = 64 * 1024;
constexpr long kMaxLimitSeconds = 3600;

bool HasControlCharacters(std::string_view text) {
  for (unsigned char c : text) {
    if (c < 0x20 || c == 0x7f) return true;
  }
  return false;
}

// A host name or address that cannot change the meaning of the address built around it: letters, digits,
// ".", "-" and "_", or an IPv6 address in brackets.
bool IsHostName(std::string_view host) {
  if (host.empty()) return false;
  if (host.front() == '[') {
    if (host.size() < 3 || host.back() != ']') return false;
    for (char c : host.substr(1, host.size() - 2)) {
      const bool hex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
      if (!hex && c != ':' && c != '.') return false;
    }
    return true;
  }
  for (char c : host) {
    const bool alnum = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (!alnum && c != '.' && c != '-' && c != '_') return false;
  }
  return true;
}

std::optional<long> WholeNumber(std::string_view text, long low, long high) {
  long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < low || value > high) return std::nullopt;
  return value;
}

bool SetLimit(long& limit, std::string_view value) {
  const auto seconds = WholeNumber(value, 1, kMaxLimitSeconds);
  if (seconds) limit = *seconds;
  return seconds.has_value();
}

// An http:// or https:// address that names a server, without the "/" at its end; nullopt for anything else.
std::optional<std::string> WebAddress(std::string_view value) {
  const std::size_t scheme = value.starts_with("http://") ? 7 : value.starts_with("https://") ? 8 : 0;
  if (scheme == 0 || value.find(' ') != std::string_view::npos) return std::nullopt;
  while (value.size() > scheme && value.ends_with('/')) value.remove_suffix(1);
  // The scheme must be followed by a server: "http:///" names none.
  if (value.size() == scheme || value[scheme] == '/') return std::nullopt;
  return std::string(value);
}

// Applies one key; false when the key is unknown or its value unusable.
bool Apply(NetDeployment& d, std::string_view key, std::string_view value) {
  if (HasControlCharacters(value)) return false;
  if (key == "ftp_host") {
    if (!IsHostName(value)) return false;
    d.ftp.host = value;
    return true;
  }
  if (key == "ftp_port") {
    const auto port = WholeNumber(value, 1, 65535);
    if (port) d.ftp.port = static_cast<int>(*port);
    return port.has_value();
  }
  if (key == "ftp_user") {
    d.ftp.user = value;
    return true;
  }
  if (key == "ftp_password") {
    d.ftp.password = value;
    return true;
  }
  if (key == "ftps") {
    if (value != "try" && value != "no" && value != "require") return false;
    d.ftp.tryTls = value != "no";
    d.ftp.requireTls = value == "require";
    return true;
  }
  if (key == "ca_file") {
    if (value.empty()) return false;
    d.ftp.caFile = value;
    return true;
  }
  if (key == "web_base") {
    const auto base = WebAddress(value);
    if (base) d.webBase = *base;
    return base.has_value();
  }
  if (key == "score_url") {
    const auto base = WebAddress(value);
    if (!base) return false;
    // The server part, up to the path: a host name and an optional port.
    const std::string_view server = std::string_view(*base).substr(base->find("//") + 2);
    const std::string_view hostPort = server.substr(0, server.find('/'));
    const std::size_t colon = hostPort.rfind(':');
    const bool hasPort = colon != std::string_view::npos && hostPort.find(']', colon) == std::string_view::npos;
    const std::string_view host = hasPort ? hostPort.substr(0, colon) : hostPort;
    const auto port = hasPort ? WholeNumber(hostPort.substr(colon + 1), 1, 65535)
                              : std::optional<long>(base->starts_with("https") ? 443 : 80);
    if (!IsHostName(host) || !port) return false;
    d.scoreUrl = *base;
    d.scoreHost = host;
    d.scorePort = static_cast<int>(*port);
    return true;
  }
  if (key == "connect_timeout") return SetLimit(d.limits.connectSeconds, value);
  if (key == "response_timeout") return SetLimit(d.limits.responseSeconds, value);
  if (key == "stall_timeout") return SetLimit(d.limits.stallSeconds, value);
  if (key == "transfer_timeout") return SetLimit(d.limits.totalSeconds, value);
  return false;
}

// Which file and which version of it: a changed stamp means the file must be read again.
// The file number is part of it, because a file replaced within the clock's resolution (as the score-server
// script replaces it) keeps its time and often its size.
std::string FileStamp(const std::filesystem::path& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return {};
  return path.string() + "|" + std::to_string(info.st_ino) + "|" + std::to_string(info.st_mtim.tv_sec) + "." +
         std::to_string(info.st_mtim.tv_nsec) + "|" + std::to_string(info.st_size);
}

}  // namespace

NetDeployment ParseDeployment(std::string_view text, std::vector<int>& badLines) {
  NetDeployment d;
  int number = 0;
  for (const std::string& line : SplitLines(text)) {
    ++number;
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == '#') continue;
    const std::size_t equals = trimmed.find('=');
    if (equals == std::string_view::npos ||
        !Apply(d, Trim(trimmed.substr(0, equals)), Trim(trimmed.substr(equals + 1)))) {
      badLines.push_back(number);
    }
  }
  return d;
}

const NetDeployment& Deployment(Game& game) {
  NetState& net = game.net;
  const auto path = ReadablePath(game, kDeploymentFile);
  std::string stamp = FileStamp(path);
  if (net.DeploymentRead && stamp == net.DeploymentStamp) return net.Deployment;
  net.DeploymentRead = true;
  net.DeploymentStamp = std::move(stamp);
  net.Deployment = NetDeployment{};
  const auto text = ReadFileLimited(path, kMaxDeploymentBytes);
  if (!text) return net.Deployment;  // no file: offline, as a game without a score server is
  std::vector<int> badLines;
  net.Deployment = ParseDeployment(*text, badLines);
  if (!badLines.empty()) {
    std::string numbers;
    for (int n : badLines) numbers += (numbers.empty() ? "" : ", ") + std::to_string(n);
    std::fprintf(stderr, "kesmir: %s: ignoring line%s %s (expected \"key = value\" with a known key)\n", path.c_str(),
                 badLines.size() > 1 ? "s" : "", numbers.c_str());
  }
  return net.Deployment;
}

}  // namespace kesmir
