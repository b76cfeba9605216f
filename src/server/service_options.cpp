// Reading kesmir-scored's command line.
#include "server/service_options.h"

#include <charconv>

namespace kesmir {
namespace {

std::optional<int> WholeNumber(const std::string& text, int low, int high) {
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value < low || value > high) return std::nullopt;
  return value;
}

}  // namespace

std::optional<ServiceOptions> ParseServiceOptions(const std::vector<std::string>& args, std::string& error) {
  ServiceOptions options;
  bool exporting = false;
  bool removing = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&](std::size_t ahead = 1) -> const std::string* {
      if (i + ahead >= args.size()) return nullptr;
      i += ahead;
      return &args[i];
    };
    const std::string* v = nullptr;
    if (arg == "--help") {
      options.mode = ServiceOptions::Mode::kHelp;
      return options;
    } else if (arg == "--db" && (v = value())) {
      options.db = *v;
    } else if (arg == "--listen" && (v = value())) {
      const auto colon = v->rfind(':');
      const auto port = colon == std::string::npos ? std::nullopt : WholeNumber(v->substr(colon + 1), 0, 65535);
      if (!port || colon == 0) {
        error = "--listen wants HOST:PORT, not \"" + *v + "\"";
        return std::nullopt;
      }
      options.host = v->substr(0, colon);
      options.port = *port;
    } else if (arg == "--account" && (v = value())) {
      if (v->find(':') == std::string::npos || v->front() == ':') {
        error = "--account wants NAME:PASSWORD";
        return std::nullopt;
      }
      options.account = *v;
    } else if (arg == "--cert" && (v = value())) {
      options.certFile = *v;
    } else if (arg == "--key" && (v = value())) {
      options.keyFile = *v;
    } else if (arg == "--seed" && (v = value())) {
      options.seed = *v;
    } else if (arg == "--max-uploads-per-minute" && (v = value())) {
      const auto n = WholeNumber(*v, 0, 1000000000);
      if (!n) {
        error = "--max-uploads-per-minute wants a whole number, not \"" + *v + "\"";
        return std::nullopt;
      }
      options.maxUploadsPerMinute = *n;
    } else if (arg == "--export" && (v = value())) {
      options.exportFile = *v;
      exporting = true;
    } else if (arg == "--remove" && i + 2 < args.size()) {
      options.removeName = args[i + 1];
      const auto score = WholeNumber(args[i + 2], -99999, 99999);
      if (!score) {
        error = "--remove wants NAME SCORE, not a score \"" + args[i + 2] + "\"";
        return std::nullopt;
      }
      options.removeScore = *score;
      i += 2;
      removing = true;
    } else {
      error = "unknown or incomplete argument \"" + arg + "\"";
      return std::nullopt;
    }
  }
  if (options.db.empty()) {
    error = "--db is missing";
    return std::nullopt;
  }
  if (options.certFile.empty() != options.keyFile.empty()) {
    error = "--cert and --key go together";
    return std::nullopt;
  }
  if (exporting && removing) {
    error = "--export and --remove are separate runs";
    return std::nullopt;
  }
  if (exporting) options.mode = ServiceOptions::Mode::kExport;
  else if (removing) options.mode = ServiceOptions::Mode::kRemove;
  else if (options.host.empty() || options.account.empty()) {
    error = "--listen and --account are needed to serve";
    return std::nullopt;
  }
  return options;
}

}  // namespace kesmir
