// The world score list.
#include "scores/world_scores.h"

#include <algorithm>
#include <cstddef>

#include "app/progress.h"
#include "menus/menu_widget.h"
#include "network/ftp_exchange.h"
#include "scores/high_scores.h"
#include "scores/score_files.h"

namespace kesmir {
namespace {

constexpr int kScoreX = 50;  // the score column of a row

constexpr int kRowsOnScreen = 10;
constexpr int kRowTop = 50;
constexpr int kRowHeight = 14;
constexpr int kSliderTop = 51;
constexpr int kSliderBottom = 175;
constexpr double kLastFirstPlace = 90.0;  // the thumb at its lowest shows places 90..99

// Draws a row's field at size 9 and tells whether the pointer last rested on the row's line.
// The score column's text is drawn at size 7 so that five digits stay clear of the column after it.
bool RowText(Game& game, std::string& text, int x, int y) {
  DrawMenuItem(game, text, x, y, 9, kFalse, x == kScoreX ? 7 : 9);
  return game.menus.HoverY == y;
}

void DragThumb(Game& game) {
  InputState& in = game.input;
  const long long y = static_cast<long long>(in.CursorY) - 7;
  if (!(y > 30 && y < 210 && in.CursorX > 270 && in.CursorX < 280 && in.FireHeld != 0)) return;
  in.WorldSliderPos = static_cast<Integer>(std::clamp<long long>(y, kSliderTop, kSliderBottom));
  in.WorldListOffset = (in.WorldSliderPos - kSliderTop) * kLastFirstPlace / (kSliderBottom - kSliderTop);
}

// The arrow of a drawn row: a row with a real date is up when it is from the list's last update or later,
// down when older; a row whose date is unknown ("?") keeps the mark the last merge gave it.
void DrawArrow(Game& game, int place, int y) {
  ScoreLists& lists = game.scores;
  const auto p = static_cast<std::size_t>(place);
  const std::string_view date = Trim(lists.WsDate[p]);
  if (!date.starts_with('?')) lists.WsMark[p] = date >= std::string_view(lists.WsListDateKey) ? kMarkUp : kMarkDown;
  const Integer mark = lists.WsMark[p];
  const int sourceY = mark == kMarkUp ? 0 : mark == kMarkDown ? 18 : 9;
  BitBlt(game.surfaces.Field, 75, y + 3, 9, 9, game.surfaces.ScoreUpDownDC, 0, sourceY, RasterOp::SrcCopy);
}

}  // namespace

int SynchronizeScores(Game& game) {
  ScoreLists& lists = game.scores;
  if (CheckConnection(game) == 0) return 0;
  game.app.LoadingCaption = "Loading..";
  ShowProgress(game);
  UpdateHighScores(game, 0);  // loads the local list if it is not loaded yet
  lists.WsLoadCount = 0;      // the file just fetched is read
  LoadWorldScores(game);
  lists.WsListDateKey = ListDateKey(lists.WsListDate);
  const int merged = MergeLocalRows(lists, kMergedLocalRows, [&game] {
    game.app.LoadingCaption = "Synchronizing..";
    ShowProgress(game);
  });
  SaveWorldScores(game);
  return merged;
}

std::string ListDateKey(std::string_view date) {
  const std::string_view d = Trim(date);
  auto mid = [d](std::size_t first, std::size_t count) {
    return first - 1 < d.size() ? d.substr(first - 1, count) : std::string_view();
  };
  return std::string(mid(7, 4)) + std::string(mid(4, 2)) + std::string(mid(1, 2));
}

void WorldScoresScreen(Game& game) {
  ScoreLists& lists = game.scores;
  InputState& in = game.input;
  Surfaces& s = game.surfaces;
  CheckConnection(game);
  s.Field.fontBold = true;
  DrawMasked(s.Field, 270, 50, 10, 140, s.SliderMenuDC, 0, 0, 10, 0);
  in.WorldSliderPos = std::clamp<Integer>(in.WorldSliderPos, kSliderTop, kSliderBottom);
  // The thumb is drawn where it stood before this pass's drag.
  BitBlt(s.Field, 271, in.WorldSliderPos, 8, 14, s.SliderDragDC, 0, 0, RasterOp::SrcCopy);
  DragThumb(game);

  DrawMenuItem(game, "WORLD SCORES", 30, 25, 10, kFalse);
  DrawMenuItem(game, "MAIN MENU", 30, 260, 10, kTrue);
  if (MenuItemClicked(game, 260)) {
    game.app.MenuScreen.clear();
    game.menus.ClickedY = 0;  // "EXIT GAME" lies at the same y on the main menu
    return;
  }
  const bool connected = game.net.Connected != 0;
  if (!connected) DrawMenuItem(game, "PLEASE CONNECT FIRST", 125, 250, 6, kFalse);
  DrawMenuItem(game, "SYNCHRONIZE SCORES", 125, 260, 10, connected ? kTrue : kFalse);
  if (MenuItemClicked(game, 260)) DownloadWorldScores(game);
  game.menus.ClickedY = 0;
  s.Field.fontBold = false;

  DrawMenuItem(game, "LAST UPDATE: " + lists.WsLastUpdate, 30, 226, 8, kFalse);
  DrawMenuItem(game, "UPLOADS BY ALL USERS: " + std::to_string(lists.WsUploadCount), 30, 237, 8, kFalse);
  LoadWorldScores(game);
  lists.WsListDateKey = ListDateKey(lists.WsListDate);

  const int first = static_cast<int>(std::clamp(Int(in.WorldListOffset), 0.0, kLastFirstPlace));
  int selected = 0;
  for (int i = 0; i < kRowsOnScreen; ++i) {
    const int place = first + i;
    const auto p = static_cast<std::size_t>(place);
    if (!(ScoreValue(lists.WsScore[p]) > 0)) continue;
    const int y = i * kRowHeight + kRowTop;
    DrawArrow(game, place, y);
    std::string placeText = std::to_string(place + 1) + ".";
    if (RowText(game, placeText, 30, y)) selected = i + 1;
    if (RowText(game, lists.WsScore[p], kScoreX, y)) selected = i + 1;
    if (RowText(game, lists.WsName[p], 85, y)) selected = i + 1;
  }
  if (selected > 0) {
    const int place = first + selected - 1;
    const auto p = static_cast<std::size_t>(place);
    DrawWorldScoreDetails(game, place);
    s.Field.fontBold = true;
    DrawMenuItem(game, lists.WsName[p], 30, 193, 12, kFalse);
    s.Field.fontBold = false;
    DrawMenuItem(game, "Times played: " + lists.WsTimesPlayed[p], 30, 210, 8, kFalse);
  }
  DrawMenuLogo(game);
  ResetMenuText(game);
}

void DrawWorldScoreDetails(Game& game, int place) { DrawRowDetails(game, WorldRow(game.scores, place)); }

}  // namespace kesmir
