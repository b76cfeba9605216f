// kesmir-scored: the score service that owns the world list and merges every upload into it.
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <thread>

#include "core/files.h"
#include "scores/list_text.h"
#include "server/score_service.h"
#include "server/service_options.h"

namespace kesmir {
namespace {

// A seed is a world list file, well under the upload bound.
constexpr std::size_t kMaxSeedBytes = kMaxUploadBytes;

Date LocalToday() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {.year = local.tm_year + 1900, .month = local.tm_mon + 1, .day = local.tm_mday};
}

ListChange OperatorChange(std::string kind, std::string body) {
  return {.kind = std::move(kind), .address = "operator", .body = std::move(body), .day = ListDateText(LocalToday())};
}

// An empty store starts with the seed list as it is; a store that holds a list keeps it.
bool Seed(IScoreStore& store, const std::string& file) {
  const auto text = ReadFileLimited(file, kMaxSeedBytes);
  if (!text) {
    std::fprintf(stderr, "kesmir-scored: cannot read the seed %s (or it is over 1 MiB)\n", file.c_str());
    return false;
  }
  if (const std::string fault = ListFileFault(*text); !fault.empty()) {
    std::fprintf(stderr, "kesmir-scored: the seed %s is refused: %s\n", file.c_str(), fault.c_str());
    return false;
  }
  bool used = false;
  const auto merge = store.ChangeList(OperatorChange("seed", *text), [&](std::string_view current) {
    if (!current.empty()) return WorldMerge{.text = {}, .added = 0, .rejection = "the store holds a list already"};
    used = true;
    return WorldMerge{.text = *text, .added = 0, .rejection = {}};
  });
  if (!merge) return false;
  if (!used) std::fprintf(stderr, "kesmir-scored: the store holds a list already; the seed %s is not used\n", file.c_str());
  return true;
}

int Export(IScoreStore& store, const std::string& file) {
  const auto list = store.CurrentList();
  if (!list) return 1;
  if (list->empty()) {
    std::fprintf(stderr, "kesmir-scored: the store holds no world list yet\n");
    return 1;
  }
  if (!WriteFileAtomic(file, *list)) {
    std::fprintf(stderr, "kesmir-scored: cannot write %s\n", file.c_str());
    return 1;
  }
  return 0;
}

int Remove(IScoreStore& store, const std::string& name, int score) {
  const auto merge = store.ChangeList(OperatorChange("remove", name + "\n" + std::to_string(score)),
                                      [&](std::string_view current) { return RemoveWorldRow(current, name, score); });
  if (!merge) return 1;
  if (!merge->rejection.empty()) {
    std::fprintf(stderr, "kesmir-scored: %s\n", merge->rejection.c_str());
    return 1;
  }
  return 0;
}

int Serve(IScoreStore& store, const ServiceOptions& options, const sigset_t& stopSignals) {
  ScoreService service(store, {.account = options.account,
                               .maxUploadsPerMinute = options.maxUploadsPerMinute,
                               .today = LocalToday,
                               .certFile = options.certFile,
                               .keyFile = options.keyFile});
  if (!service.Valid()) {
    std::fprintf(stderr, "kesmir-scored: cannot use the certificate %s with the key %s\n", options.certFile.c_str(),
                 options.keyFile.c_str());
    return 1;
  }
  const int port = service.Bind(options.host, options.port);
  if (port < 0) {
    std::fprintf(stderr, "kesmir-scored: cannot listen on %s:%d\n", options.host.c_str(), options.port);
    return 1;
  }
  std::printf("listening on %s://%s:%d\n", options.certFile.empty() ? "http" : "https", options.host.c_str(), port);
  std::fflush(stdout);
  // SIGTERM and SIGINT are blocked in every thread and taken here, so no handler and no global flag are needed.
  // Stop is repeated until Run has ended, since a stop that comes before Run has started does nothing.
  std::atomic<bool> ended = false;
  std::thread stopper([&] {
    int received = 0;
    sigwait(&stopSignals, &received);
    while (!ended) {
      service.Stop();
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  });
  const bool ran = service.Run();
  ended = true;
  // Run may have ended by itself; the stopper still waits for its signal then.
  if (!ran) kill(getpid(), SIGTERM);
  stopper.join();
  if (!ran) std::fprintf(stderr, "kesmir-scored: the server stopped on an error\n");
  return ran ? 0 : 1;
}

}  // namespace
}  // namespace kesmir

int main(int argc, char** argv) {
  using namespace kesmir;
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGTERM);
  sigaddset(&stopSignals, SIGINT);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  std::signal(SIGPIPE, SIG_IGN);

  // The account may come from the environment instead, where ps does not show it.
  std::vector<std::string> args(argv + 1, argv + argc);
  const char* account = std::getenv("KESMIR_ACCOUNT");
  if (account && *account && std::find(args.begin(), args.end(), "--account") == args.end()) {
    args.insert(args.end(), {"--account", account});
  }
  std::string error;
  const auto options = ParseServiceOptions(args, error);
  if (!options) {
    std::fprintf(stderr, "kesmir-scored: %s\n%s", error.c_str(), kServiceUsage);
    return 2;
  }
  if (options->mode == ServiceOptions::Mode::kHelp) {
    std::fputs(kServiceUsage, stdout);
    return 0;
  }
  const auto store = OpenScoreStore(options->db, error);
  if (!store) {
    std::fprintf(stderr, "kesmir-scored: cannot open %s: %s\n", ShownStorage(options->db).c_str(), error.c_str());
    return 1;
  }
  switch (options->mode) {
    case ServiceOptions::Mode::kExport: return Export(*store, options->exportFile);
    case ServiceOptions::Mode::kRemove: return Remove(*store, options->removeName, options->removeScore);
    default: break;
  }
  if (!options->seed.empty() && !Seed(*store, options->seed)) return 1;
  return Serve(*store, *options, stopSignals);
}
