// Failed transfers of one exchange with the servers, told to the user in one message box when it ends.
#pragma once

#include <string_view>

#include "core/game.h"

namespace kesmir {

// Marks a step of an exchange (a synchronisation, an upload, a version check). Failures reported while any
// step is open are collected; when the outermost step ends they are shown in one message box.
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
// handled, and closing the window cuts it short.
TransferLimits WatchedLimits(Game& game, const TransferLimits& limits);

// Notes that a transfer failed: what was being done and why ("Downloading the world score list", "Couldn't
// connect to server").
void ReportTransferFailure(Game& game, std::string_view what, std::string_view error);

}  // namespace kesmir
