// Failed transfers of one exchange with the servers, told to the user in one message box when it ends.
#pragma once

#include <string>
#include <string_view>

#include "core/game.h"

namespace kesmir {

inline constexpr std::string_view kNotFetched = "The world list could not be fetched; nothing was sent.";

// What the player is told when a transfer failed, in the game's words: the message of the step, or what to
// change in Network.txt when the encryption is what failed.
std::string FailureMessage(const TransferResult& result, std::string_view stepMessage);

// Marks a step of an exchange (a synchronisation, an upload, a version check). Failures reported while any
// step is open are collected; when the outermost step ends they are shown in one message box, and the
// score server's log-in that the exchange's transfers shared is closed.
class ExchangeScope {
 public:
  explicit ExchangeScope(Game& game);
  ~ExchangeScope();
  ExchangeScope(const ExchangeScope&) = delete;
  ExchangeScope& operator=(const ExchangeScope&) = delete;

 private:
  Game& game_;
};

// The limits of a transfer of this exchange: while it runs, the window is repainted and its events are
// handled, and closing the window or reaching the exchange's deadline (NetState::ExchangeDeadline) cuts it
// short.
TransferLimits WatchedLimits(Game& game, const TransferLimits& limits);

// Notes that a step failed: the message tells the player, in the game's words and in a line that fits the
// screen, what failed and what it means for the scores; the detail (libcurl's text, a path) goes to stderr only.
void ReportTransferFailure(Game& game, std::string_view message, std::string_view detail);

}  // namespace kesmir
