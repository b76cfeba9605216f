// Collecting and showing the failures of an exchange.
#include "network/exchange_report.h"

#include <algorithm>
#include <string>

#include "app/window_events.h"

namespace kesmir {

ExchangeScope::ExchangeScope(Game& game) : game_(game) { ++game_.net.ExchangeDepth; }

ExchangeScope::~ExchangeScope() {
  NetState& net = game_.net;
  if (--net.ExchangeDepth > 0 || net.TransferFailures.empty()) return;
  if (game_.app.Ended) {  // the window was closed: nobody is there to read a message
    net.TransferFailures.clear();
    return;
  }
  std::string text = "The exchange with the score server did not fully succeed:\n";
  for (const std::string& failure : net.TransferFailures) text += "\n" + failure;
  net.TransferFailures.clear();
  if (game_.platform.dialogs) game_.platform.dialogs->ShowMessage("Kesmir", text, MessageKind::Warning);
}

TransferLimits WatchedLimits(Game& game, const TransferLimits& limits) {
  TransferLimits watched = limits;
  watched.keepGoing = [&game] {
    RefreshScreen(game);
    DoEvents(game);
    return !game.app.Ended;
  };
  return watched;
}

void ReportTransferFailure(Game& game, std::string_view what, std::string_view error) {
  ExchangeScope scope(game);  // a failure outside any exchange is shown at once
  std::string line(what);
  if (!error.empty()) line += ": " + std::string(error);
  auto& failures = game.net.TransferFailures;
  if (std::find(failures.begin(), failures.end(), line) == failures.end()) failures.push_back(line);
}

}  // namespace kesmir
