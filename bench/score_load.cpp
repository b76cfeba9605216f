// Load on the world list: N clients synchronising in a loop for a bounded time, against the score service over
// HTTP or against an FTP server with the game's own exchange; synchronisations a second, latency, failures, rows
// lost.
//
// Every synchronisation uploads one new row whose score is taken from one counter, so scores are distinct and
// rise with time, and every row a service accepted is in its answer unless a hundred higher rows came first.
// That makes two checks exact although the list keeps only a hundred rows:
//  - an answer must hold every row that was answered 200 before its request was sent and beats the answer's
//    lowest row (a merge that started from a stale list, or a commit that did not last, shows here, at any
//    time of the run);
//  - the list read once at the end must hold every row answered 200 that beats its lowest row.
#include <signal.h>

#include <algorithm>
#include <atomic>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <unordered_set>
#include <vector>

#include <httplib.h>

#include "core/files.h"
#include "core/game.h"
#include "fakes/world_files.h"
#include "network/exchange_report.h"
#include "network/ftp_exchange.h"
#include "platform/curl_network.h"
#include "platform/sdl_platform.h"
#include "scores/score_files.h"
#include "scores/score_line.h"

namespace {

using Clock = std::chrono::steady_clock;
using kesmir::testing::WorldTestRow;

constexpr int kMaxScore = 99999;  // the score column's five digits
constexpr int kSeedTop = 1000;    // the seed list's best row; the load's rows all beat it
constexpr std::size_t kRecentChecked = 2000;  // confirmed rows looked at for each answer, newest first

constexpr const char* kUsage =
    "usage: kesmir-score-load --clients N --seconds S [--rate R] [--account NAME:PASSWORD] [--reconnect]\n"
    "                         URL[,URL...]\n"
    "       kesmir-score-load --clients N --seconds S --ftp HOST:PORT [--account NAME:PASSWORD]\n"
    "                         (--list-file PATH | --list-url URL)\n"
    "       kesmir-score-load --write-seed FILE\n"
    "The first form POSTs local list files to each URL's /world (clients spread over the URLs), keep-alive\n"
    "unless --reconnect opens a new connection for every synchronisation as the game does. --rate R paces\n"
    "the clients to R synchronisations a second in all, each at its own steady interval, and counts each\n"
    "latency from the time its synchronisation was due; without it each client goes as fast as it can.\n"
    "The second runs the synchronisation of kesmir --sync-scores in a loop per client thread against the FTP\n"
    "server, with the game's own exchange (log-in, lock, download, merge, upload, read-back) and without the\n"
    "version check. The last writes the seed world list (100 rows scored 1000 down to 10) that the load's rows\n"
    "all beat.\n";

struct Options {
  int clients = 10;
  int seconds = 10;
  std::string account = "kesmir7:secret7";
  bool reconnect = false;
  double rate = 0;  // synchronisations a second over all clients; 0: each client as fast as it can
  std::vector<std::string> urls;
  std::string ftp, listFile, listUrl, seedFile;
};

std::optional<int> Number(std::string_view text) {
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value < 1) return std::nullopt;
  return value;
}

std::optional<Options> ParseOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    std::optional<int> n;
    if (arg == "--clients" && hasValue && (n = Number(argv[i + 1]))) options.clients = *n, ++i;
    else if (arg == "--seconds" && hasValue && (n = Number(argv[i + 1]))) options.seconds = *n, ++i;
    else if (arg == "--account" && hasValue) options.account = argv[++i];
    else if (arg == "--reconnect") options.reconnect = true;
    else if (arg == "--rate" && hasValue && (n = Number(argv[i + 1]))) options.rate = *n, ++i;
    else if (arg == "--ftp" && hasValue) options.ftp = argv[++i];
    else if (arg == "--list-file" && hasValue) options.listFile = argv[++i];
    else if (arg == "--list-url" && hasValue) options.listUrl = argv[++i];
    else if (arg == "--write-seed" && hasValue) options.seedFile = argv[++i];
    else if (!arg.starts_with("--")) {
      for (std::size_t start = 0; start <= arg.size();) {
        const std::size_t comma = std::min(arg.find(',', start), arg.size());
        if (comma > start) options.urls.push_back(arg.substr(start, comma - start));
        start = comma + 1;
      }
    } else {
      return std::nullopt;
    }
  }
  const bool ftp = !options.ftp.empty();
  if (options.seedFile.empty() && ftp == !options.urls.empty()) return std::nullopt;
  if (ftp && (options.ftp.find(':') == std::string::npos || options.listFile.empty() == options.listUrl.empty())) {
    return std::nullopt;
  }
  return options;
}

std::string EncodedRow(int score, const std::string& name) {
  return kesmir::CodeScoreLine(kesmir::JoinScoreLine(WorldTestRow(score, name, "20261207")), true);
}

// A local list file as the game writes it: the new row, ten empty rows, "END".
std::string LocalListFile(const std::string& encodedRow) {
  std::string text = encodedRow + "\r\n";
  const std::string empty = EncodedRow(0, "");
  for (int place = 1; place < 11; ++place) text += empty + "\r\n";
  return text + "END\r\n";
}

// The rows of a world list file in digit form, and the score of place 99 (the lowest a kept row may have).
struct ListRows {
  std::unordered_set<std::string_view> rows;
  double highest = 0;
  double lowest = 0;
  bool whole = false;
};

ListRows ReadRows(std::string_view text) {
  ListRows list;
  std::size_t start = 0;
  int place = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) break;
    std::string_view line = text.substr(start, end - start);
    if (line.ends_with('\r')) line.remove_suffix(1);
    start = end + 1;
    if (line == "END") {
      list.whole = place >= 100;
      break;
    }
    if (place == 0) list.highest = kesmir::ScoreValue(kesmir::CutScoreLine(kesmir::CodeScoreLine(line, false)).score);
    if (place == 99) list.lowest = kesmir::ScoreValue(kesmir::CutScoreLine(kesmir::CodeScoreLine(line, false)).score);
    if (place < 100) list.rows.insert(line);
    ++place;
  }
  return list;
}

struct Confirmed {
  int score;
  std::string row;
};

// What every client shares: the score counter, the rows answered 200 in order, and the tallies.
struct Run {
  std::atomic<int> nextScore{kSeedTop + 1};
  std::mutex mutex;
  std::vector<Confirmed> confirmed;
  std::vector<double> latenciesMs;
  std::map<std::string, int> failures;
  int staleAnswers = 0;
  int ownRowMissing = 0;

  std::size_t ConfirmedCount() {
    const std::lock_guard lock(mutex);
    return confirmed.size();
  }

  // The rows confirmed before an answer's request was sent that beat its lowest row and are not in it.
  int MissingFrom(const ListRows& list, std::size_t confirmedBefore) {
    const std::lock_guard lock(mutex);
    int missing = 0;
    const std::size_t from = confirmedBefore > kRecentChecked ? confirmedBefore - kRecentChecked : 0;
    for (std::size_t i = from; i < confirmedBefore; ++i) {
      if (confirmed[i].score > list.lowest && !list.rows.contains(confirmed[i].row)) ++missing;
    }
    return missing;
  }

  void Record(std::vector<double>& latencies, std::map<std::string, int>& fails, int stale, int ownMissing) {
    const std::lock_guard lock(mutex);
    latenciesMs.insert(latenciesMs.end(), latencies.begin(), latencies.end());
    for (const auto& [reason, count] : fails) failures[reason] += count;
    staleAnswers += stale;
    ownRowMissing += ownMissing;
  }
};

double Milliseconds(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

std::pair<std::string, std::string> Account(const std::string& account) {
  const auto colon = account.find(':');
  return {account.substr(0, colon), colon == std::string::npos ? "" : account.substr(colon + 1)};
}

void HttpClient(const Options& options, int index, Clock::time_point deadline, Run& run) {
  const auto [user, password] = Account(options.account);
  const std::string& url = options.urls[static_cast<std::size_t>(index) % options.urls.size()];
  auto connect = [&] {
    auto client = std::make_unique<httplib::Client>(url);
    client->set_basic_auth(user, password);
    client->set_keep_alive(!options.reconnect);
    client->set_tcp_nodelay(true);  // as libcurl, which the game uses
    client->set_connection_timeout(10, 0);
    client->set_read_timeout(30, 0);
    return client;
  };
  auto client = connect();
  std::vector<double> latencies;
  std::map<std::string, int> fails;
  int stale = 0, ownMissing = 0;
  // Paced clients start spread over one interval, so that their requests do not come in waves.
  const auto interval = std::chrono::duration_cast<Clock::duration>(
      std::chrono::duration<double>(options.rate > 0 ? options.clients / options.rate : 0));
  auto due = Clock::now() + interval * index / options.clients;
  for (int k = 1; Clock::now() < deadline; ++k) {
    if (options.rate > 0) {
      std::this_thread::sleep_until(due);
      if (due >= deadline) break;
    }
    const int score = run.nextScore.fetch_add(1);
    if (score > kMaxScore) break;
    std::string row = EncodedRow(score, "L" + std::to_string(index) + "-" + std::to_string(k));
    const std::string body = LocalListFile(row);
    const std::size_t confirmedBefore = run.ConfirmedCount();
    const auto start = options.rate > 0 ? due : Clock::now();
    due += interval;
    const auto answer = client->Post("/world", body, "text/plain");
    latencies.push_back(Milliseconds(Clock::now() - start));
    if (!answer || answer->status != 200) {
      ++fails[answer ? "status " + std::to_string(answer->status) : "error " + httplib::to_string(answer.error())];
      if (!answer) client = connect();
      continue;
    }
    const ListRows list = ReadRows(answer->body);
    if (!list.whole) ++fails["an answer that is not a whole world list"];
    if (score > list.lowest && !list.rows.contains(row)) ++ownMissing;
    stale += run.MissingFrom(list, confirmedBefore) > 0 ? 1 : 0;
    const std::lock_guard lock(run.mutex);
    run.confirmed.push_back({score, std::move(row)});
  }
  run.Record(latencies, fails, stale, ownMissing);
}

// The synchronisation from the command line asks the server itself, so it takes it as reachable.
class AssumedConnection final : public kesmir::IConnectionMonitor {
 public:
  std::optional<bool> Reachable(const std::string&, int) override { return true; }
};

// One player in a loop, each synchronisation what kesmir --sync-scores does in a process of its own: a fresh
// Game on the player's folder with a new libcurl session, the game's exchange, its outcome.
void FtpClient(const Options& options, const std::filesystem::path& homes, int index, Clock::time_point deadline,
               Run& run) {
  const auto [user, password] = Account(options.account);
  const std::filesystem::path home = homes / ("p" + std::to_string(index));
  std::filesystem::create_directories(home / "OtherFiles");
  const auto colon = options.ftp.rfind(':');
  // No web_base: the version check reads a static file of another server, not the one under load.
  kesmir::WriteFileAtomic(home / "OtherFiles" / "Network.txt",
                          "ftp_host = " + options.ftp.substr(0, colon) + "\nftp_port = " + options.ftp.substr(colon + 1) +
                              "\nftp_user = " + user + "\nftp_password = " + password + "\nftps = no\n");
  kesmir::SystemClock clock;
  AssumedConnection connection;
  std::vector<double> latencies;
  std::map<std::string, int> fails;
  int stale = 0;
  for (int k = 1; Clock::now() < deadline; ++k) {
    const int score = run.nextScore.fetch_add(1);
    if (score > kMaxScore) break;
    std::string row = EncodedRow(score, "P" + std::to_string(index) + "-" + std::to_string(k));
    kesmir::WriteFileAtomic(home / kesmir::kLocalScoreFile, LocalListFile(row));
    std::filesystem::remove(home / "OtherFiles" / "HighScores.txt");
    const std::size_t confirmedBefore = run.ConfirmedCount();
    const auto start = Clock::now();
    auto game = std::make_unique<kesmir::Game>();
    game->app.DataDir = home;
    game->app.UserDir = home;
    kesmir::CurlNetwork network;
    game->platform.clock = &clock;
    game->platform.network = &network;
    game->platform.connection = &connection;
    game->random.Randomize(clock.Micros() ^ (static_cast<std::uint64_t>(index) << 40));
    std::string failure;
    {
      const kesmir::ExchangeScope scope(*game);  // failures are collected, not shown
      kesmir::DownloadWorldScores(*game);
      if (!game->net.TransferFailures.empty()) failure = game->net.TransferFailures.front();
      game->net.TransferFailures.clear();
    }
    latencies.push_back(Milliseconds(Clock::now() - start));
    if (!game->net.LastSync.confirmed) {
      ++fails[failure.empty() ? "the read-back lacked the upload" : failure];
      continue;
    }
    // The read-back the game kept in its folder: it was fetched after every row confirmed before we began.
    const auto readBack = kesmir::ReadFileLimited(home / kesmir::kWorldScoreFile, 1 << 20);
    stale += readBack && run.MissingFrom(ReadRows(*readBack), confirmedBefore) > 0 ? 1 : 0;
    const std::lock_guard lock(run.mutex);
    run.confirmed.push_back({score, std::move(row)});
  }
  run.Record(latencies, fails, stale, 0);
}

std::optional<std::string> ServedList(const Options& options) {
  if (!options.listFile.empty()) return kesmir::ReadFileLimited(options.listFile, 16 * 1024 * 1024);
  const std::string& url = options.listUrl.empty() ? options.urls.front() : options.listUrl;
  httplib::Client client(url);
  const auto [user, password] = Account(options.account);
  client.set_basic_auth(user, password);
  const auto answer = client.Get("/world");
  if (!answer || answer->status != 200) return std::nullopt;
  return answer->body;
}

double Percentile(std::vector<double>& values, double share) {
  if (values.empty()) return 0;
  const auto at = values.begin() + static_cast<std::ptrdiff_t>(share * static_cast<double>(values.size() - 1));
  std::nth_element(values.begin(), at, values.end());
  return *at;
}

}  // namespace

int main(int argc, char** argv) {
  std::signal(SIGPIPE, SIG_IGN);
  const auto options = ParseOptions(argc, argv);
  if (!options) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  if (!options->seedFile.empty()) {
    return kesmir::WriteFileAtomic(options->seedFile, kesmir::testing::WorldListFile(kSeedTop, "Seed", 41, "01.12.2026"))
               ? 0
               : 1;
  }
  const bool ftp = !options->ftp.empty();
  std::filesystem::path homes;
  const kesmir::CurlNetwork initialised;  // libcurl's global set-up, once before the threads start
  if (ftp) {
    char folder[] = "/tmp/score-load.XXXXXX";
    if (!mkdtemp(folder)) return 1;
    homes = folder;
  }
  Run run;
  run.confirmed.reserve(kMaxScore);
  // A list that holds rows from an earlier run: the new rows start above them.
  if (const auto before = ServedList(*options)) {
    run.nextScore = std::max(kSeedTop, static_cast<int>(ReadRows(*before).highest)) + 1;
  }
  const auto started = Clock::now();
  const auto deadline = started + std::chrono::seconds(options->seconds);
  std::vector<std::thread> clients;
  for (int i = 0; i < options->clients; ++i) {
    if (ftp) clients.emplace_back(FtpClient, std::cref(*options), std::cref(homes), i, deadline, std::ref(run));
    else clients.emplace_back(HttpClient, std::cref(*options), i, deadline, std::ref(run));
  }
  for (auto& client : clients) client.join();
  const double elapsed = std::chrono::duration<double>(Clock::now() - started).count();
  if (ftp) std::filesystem::remove_all(homes);

  const auto finalText = ServedList(*options);
  int lost = -1;
  if (finalText) {
    const ListRows list = ReadRows(*finalText);
    lost = 0;
    for (const Confirmed& row : run.confirmed) {
      if (row.score > list.lowest && !list.rows.contains(row.row)) ++lost;
    }
  }
  int failed = 0;
  for (const auto& [reason, count] : run.failures) failed += count;
  const std::size_t syncs = run.latenciesMs.size();
  std::printf("%d clients (%s%s), %.1f s: %zu synchronisations, %.1f a second, p50 %.1f ms, p99 %.1f ms\n",
              options->clients, ftp ? "the game's exchange over FTP" : options->reconnect ? "a connection each" : "keep-alive",
              options->rate > 0 ? ", paced" : "", elapsed, syncs, static_cast<double>(syncs) / elapsed, Percentile(run.latenciesMs, 0.5),
              Percentile(run.latenciesMs, 0.99));
  std::printf("failures %d", failed);
  for (const auto& [reason, count] : run.failures) std::printf(" (%s: %d)", reason.c_str(), count);
  if (lost < 0) std::printf("; the final list could not be read\n");
  else std::printf("; rows lost %d of %zu answered", lost, run.confirmed.size());
  std::printf("; answers missing an earlier row %d", run.staleAnswers);
  if (!ftp) std::printf(", their own row %d", run.ownRowMissing);
  std::printf("\n");
  if (run.nextScore > kMaxScore) std::printf("the run ended early: every score up to %d was used\n", kMaxScore);
  return failed == 0 && lost == 0 && run.staleAnswers == 0 && run.ownRowMissing == 0 ? 0 : 1;
}
