// Collecting and showing the failures of an exchange.
#include "network/exchange_report.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>

#include "app/progress.h"
#include "app/window_events.h"

namespace kesmir {

std::string FailureMessage(const TransferResult& result, std::string_view stepMessage) {
  if (result.certificate) {
    return std::string(stepMessage) +
           "\nThe score server's certificate could not be verified: set ca_file in Network.txt to it.";
  }
  if (result.noTls) {
    return std::string(stepMessage) + "\nThe score server offers no encryption, which ftps = require asks for.";
  }
  return std::string(stepMessage);
}

ExchangeScope::ExchangeScope(Game& game) : game_(game) { ++game_.net.ExchangeDepth; }

ExchangeScope::~ExchangeScope() {
  NetState& net = game_.net;
  if (--net.ExchangeDepth > 0) return;
  // One log-in serves every transfer of the exchange; it ends with the exchange.
  if (game_.platform.network) game_.platform.network->EndSession();
  if (net.TransferFailures.empty()) return;
  if (game_.app.Ended) {  // the window was closed: nobody is there to read a message
    net.TransferFailures.clear();
    return;
  }
  std::string text;
  for (const std::string& failure : net.TransferFailures) text += (text.empty() ? "" : "\n") + failure;
  net.TransferFailures.clear();
  if (game_.platform.dialogs) game_.platform.dialogs->ShowMessage("Kesmir", text, MessageKind::Warning);
}

TransferLimits WatchedLimits(Game& game, const TransferLimits& limits) {
  TransferLimits watched = limits;
  IClock* clock = game.platform.clock;
  const std::uint64_t deadline = game.net.ExchangeDeadline;
  if (deadline != 0 && clock) {
    const std::uint64_t now = clock->Micros();
    const long left = now < deadline ? static_cast<long>((deadline - now + 999'999) / 1'000'000) : 1;
    watched.connectSeconds = std::min(watched.connectSeconds, left);
    watched.responseSeconds = std::min(watched.responseSeconds, left);
    watched.totalSeconds = std::min(watched.totalSeconds, left);
  }
  watched.keepGoing = [&game, clock, deadline, start = clock ? clock->Micros() : 0, shown = 0LL]() mutable {
    if (clock && game.net.ProgressShown) {
      const auto seconds = static_cast<long long>((clock->Micros() - start) / 1'000'000);
      if (seconds > shown) ShowTransferWait(game, shown = seconds);
    }
    RefreshScreen(game);
    DoEvents(game);
    return !game.app.Ended && (deadline == 0 || !clock || clock->Micros() < deadline);
  };
  return watched;
}

void ReportTransferFailure(Game& game, std::string_view message, std::string_view detail) {
  ExchangeScope scope(game);  // a failure outside any exchange is shown at once
  if (!detail.empty()) {
    std::fprintf(stderr, "kesmir: %.*s (%.*s)\n", static_cast<int>(message.size()), message.data(),
                 static_cast<int>(detail.size()), detail.data());
  }
  auto& failures = game.net.TransferFailures;
  if (std::find(failures.begin(), failures.end(), message) == failures.end()) failures.emplace_back(message);
}

}  // namespace kesmir
