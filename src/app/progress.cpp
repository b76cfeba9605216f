// One step of the progress screen.
#include "app/progress.h"

#include <algorithm>
#include <cctype>

#include "app/window_events.h"

namespace kesmir {
namespace {

void DrawCaption(Game& game, const std::string& text) {
  Surfaces& s = game.surfaces;
  std::string caption = text;
  if (game.net.Connected != 0) std::transform(caption.begin(), caption.end(), caption.begin(), [](unsigned char c) {
    return static_cast<char>(std::toupper(c));
  });
  if (game.platform.fonts) TextOutA(s.Field, *game.platform.fonts, 2, 273, "   " + caption);
}

}  // namespace

void ShowProgress(Game& game) {
  Surfaces& s = game.surfaces;
  game.app.ProgressStep = static_cast<Long>(std::min<long long>(game.app.ProgressStep + 1LL, 2147483647LL));
  RefreshScreen(game);
  BitBlt(s.Field, 0, 0, kFieldSize, kFieldSize, s.MainLogoDC, 0, 0, RasterOp::SrcCopy);
  s.Field.foreColour = Rgb(192, 255, 192);
  s.Field.fontSize = 10;
  const bool network = game.net.Connected != 0;
  const double steps = network ? kNetworkSteps : kStartupSteps;
  const Long barX = CLng(300.0 / steps * game.app.ProgressStep - 300.0);
  BitBlt(s.Field, barX, 287, kFieldSize, 13, s.LoadingDC, 0, 0, RasterOp::SrcCopy);
  DrawCaption(game, game.app.LoadingCaption);
  DoEvents(game);
}

void ShowTransferWait(Game& game, long long seconds) {
  Surfaces& s = game.surfaces;
  BitBlt(s.Field, 0, 273, kFieldSize, 14, s.MainLogoDC, 0, 273, RasterOp::SrcCopy);
  s.Field.foreColour = Rgb(192, 255, 192);
  s.Field.fontSize = 10;
  DrawCaption(game, game.app.LoadingCaption + " " + std::to_string(seconds) + " s");
}

}  // namespace kesmir
