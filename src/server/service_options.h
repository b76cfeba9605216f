// The command line of kesmir-scored.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kesmir {

inline constexpr const char* kServiceUsage =
    "usage: kesmir-scored --db sqlite:PATH --listen HOST:PORT --account NAME:PASSWORD [--seed FILE]\n"
    "                     [--max-uploads-per-minute N] [--cert PEM --key PEM]\n"
    "       kesmir-scored --db sqlite:PATH --export FILE\n"
    "       kesmir-scored --db sqlite:PATH --remove NAME SCORE\n"
    "       kesmir-scored --help\n"
    "Serves the world score list: GET /world answers the list file, POST /world merges the rows of an\n"
    "uploaded list file into it (HTTP Basic with the account). PORT 0 picks a free port; the line\n"
    "\"listening on http://HOST:PORT\" says which. --seed FILE starts an empty store with that list file.\n"
    "--max-uploads-per-minute N answers 429 beyond N uploads a minute from one address (0: no limit;\n"
    "120 unless given). --cert and --key serve HTTPS. --export writes the current list file; --remove\n"
    "takes one row off the list (recorded like an upload). Without --account, the account is read from\n"
    "the environment variable KESMIR_ACCOUNT=NAME:PASSWORD, which ps does not show.\n";

struct ServiceOptions {
  enum class Mode { kServe, kExport, kRemove, kHelp };
  Mode mode = Mode::kServe;
  std::string db;
  std::string host;
  int port = 0;
  std::string account;
  std::string seed;
  std::string certFile, keyFile;
  int maxUploadsPerMinute = 120;
  std::string exportFile;
  std::string removeName;
  int removeScore = 0;
};

// nullopt with the reason in error when the arguments do not make one of the usage lines.
std::optional<ServiceOptions> ParseServiceOptions(const std::vector<std::string>& args, std::string& error);

}  // namespace kesmir
