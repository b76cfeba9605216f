// The local high-score list.
#include "scores/high_scores.h"

#include <algorithm>
#include <string>

#include "audio/sound_bank.h"
#include "input/keyboard.h"
#include "menus/menu_widget.h"
#include "network/ftp_exchange.h"
#include "scores/name_entry.h"
#include "scores/score_files.h"

namespace kesmir {
namespace {

constexpr int kScoreX = 50;  // the score column of a row

constexpr int kSoundHighScore1 = 33;  // places 1 to 3
constexpr int kSoundHighScore2 = 34;  // places 4 to 6
constexpr int kSoundHighScore3 = 35;  // places 7 and below
constexpr int kEleventhRow = 10;
constexpr int kShownRows = 10;
constexpr int kRowTop = 50;
constexpr int kRowHeight = 14;
constexpr int kReplayY = 226;  // between the row's details and the buttons

double StoredScore(const ScoreLists& lists, int place) {
  return Int(ScoreValue(lists.HsScore[static_cast<std::size_t>(place)]));
}

void StartNameEntry(Game& game, int place) {
  ScoreLists& lists = game.scores;
  lists.NameEntryOn = kTrue;
  lists.YourName.clear();
  lists.InsertIndex = static_cast<Integer>(place);
  game.app.MenuScreen = "HS";
}

// A number right-aligned for its field. Values are kept within what the field holds (0 .. 10^width - 1), so
// that a number too wide can never shift the columns after it and spoil the row in the file.
std::string FieldText(long long value, int width) {
  long long largest = 1;
  for (int i = 0; i < width; ++i) largest *= 10;
  return AlignScoreField(std::to_string(std::clamp(value, 0LL, largest - 1)), width);
}

std::string TwoDigits(int value) { return (value < 10 ? "0" : "") + std::to_string(value); }

// "mm:ss" as the status bar shows it. The column holds five characters: a game of 100 minutes or more is
// stored as 99:59 rather than pushing the columns after it out of place.
std::string TimeText(const ClockState& clock) {
  if (clock.GameMinutes > 99) return "99:59";
  return TwoDigits(std::max<int>(clock.GameMinutes, 0)) + ":" + TwoDigits(std::max<int>(clock.GameSeconds, 0));
}

void LevelBar(Surface& bar, const Surface& strip, int y, const std::string& level) {
  BitBlt(bar, 0, y, 300, 10, strip, 0, 0, RasterOp::SrcCopy);
  if (const auto value = ParseNumber(level)) {
    BitBlt(bar, 0, y, CLng(*value * 18.5 + 98), 7, strip, 0, 10, RasterOp::SrcCopy);
  }
}

std::string Padded(std::string text, std::size_t width) {
  if (text.size() < width) text.resize(width, ' ');
  return text;
}

// Draws a row's field at size 9 and tells whether the pointer last rested on the row's line.
// The score column's text is drawn at size 7 so that five digits stay clear of the column after it.
bool RowText(Game& game, std::string& text, int x, int y) {
  DrawMenuItem(game, text, x, y, 9, kFalse, x == kScoreX ? 7 : 9);
  return game.menus.HoverY == y;
}

// The kept replay of the row the pointer last rested on, in the place under the row's details that nothing
// else uses; it stays while the pointer moves to it.
void OfferReplay(Game& game) {
  ScoreLists& lists = game.scores;
  IReplayShelf* shelf = game.platform.replays;
  if (!shelf || lists.ReplayRow < 1 || lists.ReplayRow > kShownRows) return;
  const auto p = static_cast<std::size_t>(lists.ReplayRow - 1);
  const auto score = ScoreValue(lists.HsScore[p]);
  const auto kills = ParseNumber(lists.HsKills[p]);
  if (!(score > 0) || !kills) return;
  const std::string file =
      shelf->Kept(static_cast<long long>(score), static_cast<long long>(*kills), std::string(Trim(lists.HsDate[p])));
  if (file.empty()) return;
  DrawMenuItem(game, "WATCH REPLAY", 165, kReplayY, 10, kTrue);
  if (MenuItemClicked(game, kReplayY)) {
    game.menus.ClickedY = 0;
    shelf->Watch(game, file);
  }
}

}  // namespace

void UpdateHighScores(Game& game, Long score) {
  ScoreLists& lists = game.scores;
  if (lists.NameEntryOn == kTrue) {
    NameEntryTick(game);
    return;
  }
  LoadHighScores(game);
  for (int j = kShownRows - 1; j >= 0; --j) {
    lists.ListIndex = static_cast<Integer>(j);
    if (score > StoredScore(lists, j)) {
      SetLocalRow(lists, j + 1, LocalRow(lists, j));  // the row moves down, over the one below it
      if (j == 0) {
        StartNameEntry(game, 0);
        InsertHighScore(game, 0, 0, score);
      }
    } else if (score > StoredScore(lists, j + 1)) {
      StartNameEntry(game, j + 1);
      InsertHighScore(game, static_cast<Integer>(j), 1, score);
      break;
    }
  }
}

void InsertHighScore(Game& game, Integer slot, Integer offset, Long score) {
  ScoreLists& lists = game.scores;
  const int place = slot + offset;
  PlaySoundFx(game, place + 1 <= 3 ? kSoundHighScore1 : place + 1 <= 6 ? kSoundHighScore2 : kSoundHighScore3, 500);
  if (place >= kEleventhRow) {
    lists.NameEntryOn = 0;
    return;
  }
  const Fighter& player = game.play.Fighters[0];
  const auto p = static_cast<std::size_t>(place);
  lists.HsScore[p] = FieldText(score, 5);
  lists.HsTimesPlayed[p] = FieldText(game.settings.TimesPlayed, 5);
  lists.HsAccuracy[p] = FieldText(10 - player.Accuracy / 3, 2);
  lists.HsRecharge[p] = FieldText(15 - player.Recharge, 2);
  lists.HsBulletSpeed[p] = FieldText(player.BulletSpeed - 3, 2);
  lists.HsMelee[p] = FieldText(player.Melee, 2);
  lists.HsKills[p] = FieldText(game.play.Kills, 3);  // a negative count is stored as 0
  lists.HsTime[p] = TimeText(game.clock);
  lists.HsMaxHealth[p] = FieldText(player.BulletSpeed * 30LL, 3);
  lists.HsMaxAmmo[p] = FieldText((16LL - player.Recharge) * 15, 3);
  // The date is eight characters wide in every row; a missing stamp must not move the name's column.
  std::string date = AlignScoreField(player.DateStamp, 8);
  date.resize(8, ' ');
  lists.HsDate[p] = date;
}

void NameEntryTick(Game& game) {
  ScoreLists& lists = game.scores;
  const int place = std::clamp<int>(lists.InsertIndex, 0, kShownRows - 1);
  DrawMasked(game.surfaces.Field, 82, place * kRowHeight + kRowTop, 150, 15, game.surfaces.EnterTextDC, 0, 0, 0, 15);
  // The name follows the box before Enter is looked at, so that a character typed in the same pass as Enter
  // is saved with the rest.
  if (lists.YourNameFocus) lists.HsName[static_cast<std::size_t>(place)] = NameCase(lists.YourName);
  if (game.input.KeyState[kDikReturn] != 0) {
    SaveHighScores(game);
    if (game.platform.recorder) game.platform.recorder->NameEntered(lists.HsName[static_cast<std::size_t>(place)]);
    lists.NameEntryOn = 0;
    FocusYourName(game, false);
    return;
  }
  FocusYourName(game, true);
  lists.HsName[static_cast<std::size_t>(place)] = NameCase(lists.YourName);
}

void HighScoresScreen(Game& game) {
  ScoreLists& lists = game.scores;
  Surface& field = game.surfaces.Field;
  CheckConnection(game);
  field.fontBold = true;
  DrawMenuItem(game, "HIGH SCORES", 30, 25, 10, kFalse);
  // During a name entry neither button is there, and Escape is ignored: the screen is left only after Enter.
  if (lists.NameEntryOn == 0) {
    const bool connected = game.net.Connected != 0;
    if (!connected) DrawMenuItem(game, "PLEASE CONNECT FIRST", 165, 250, 6, kFalse);
    DrawMenuItem(game, "MAIN MENU", 30, 260, 10, kTrue);
    if (MenuItemClicked(game, 260)) {
      game.app.MenuScreen.clear();
      game.menus.ClickedY = 0;  // "EXIT GAME" lies at the same y on the main menu
      return;
    }
    DrawMenuItem(game, "UPLOAD SCORES", 165, 260, 10, connected ? kTrue : kFalse);
    if (MenuItemClicked(game, 260)) DownloadWorldScores(game);
    OfferReplay(game);
  }
  game.menus.ClickedY = 0;
  field.fontBold = false;

  UpdateHighScores(game, 0);  // loads the list; during the name entry, draws the box under the rows
  int selected = 0;
  for (int i = 0; i < kShownRows; ++i) {
    const auto p = static_cast<std::size_t>(i);
    if (!(ScoreValue(lists.HsScore[p]) > 0)) continue;
    const int y = i * kRowHeight + kRowTop;
    std::string placeText = std::to_string(i + 1) + ".";
    if (RowText(game, placeText, 30, y)) selected = i + 1;
    if (RowText(game, lists.HsScore[p], kScoreX, y)) selected = i + 1;
    if (RowText(game, lists.HsName[p], 85, y)) selected = i + 1;
  }
  if (selected > 0) lists.ReplayRow = static_cast<Integer>(selected);
  if (selected > 0) {
    const auto p = static_cast<std::size_t>(selected - 1);
    DrawScoreDetails(game, selected - 1);
    field.fontBold = true;
    DrawMenuItem(game, lists.HsName[p], 30, 193, 12, kFalse);
    field.fontBold = false;
    DrawMenuItem(game, "Times played: " + lists.HsTimesPlayed[p], 30, 210, 10, kFalse);
  }
  DrawMenuLogo(game);
  ResetMenuText(game);
}

void DrawScoreDetails(Game& game, int place) { DrawRowDetails(game, LocalRow(game.scores, place)); }

void DrawRowDetails(Game& game, const ScoreLineFields& row) {
  Surfaces& s = game.surfaces;
  Surface& bar = s.StatusField;
  IFonts* fonts = game.platform.fonts;
  bar.SetPicture(s.StatusFieldPicture);
  BitBlt(bar, 0, 0, 300, 10, s.StatusHealthDC, 0, 0, RasterOp::SrcCopy);
  if (fonts) TextOutA(bar, *fonts, 150, -2, Padded("(" + row.maxHealth + ")", 20));
  BitBlt(bar, 0, 10, 300, 10, s.StatusAmmoDC, 0, 0, RasterOp::SrcCopy);
  if (fonts) TextOutA(bar, *fonts, 150, 8, Padded("(" + row.maxAmmo + ")", 20));
  LevelBar(bar, s.StatusAccuracyDC, 25, row.accuracy);
  LevelBar(bar, s.StatusRechargeDC, 35, row.recharge);
  LevelBar(bar, s.StatusBulletSpeedDC, 45, row.bulletSpeed);
  LevelBar(bar, s.StatusMeleeDC, 55, row.melee);
  bar.foreColour = Rgb(0, 255, 0);
  BitBlt(bar, 0, 66, 98, 10, s.StatusScoreDC, 0, 0, RasterOp::SrcCopy);
  if (fonts) {
    TextOutA(bar, *fonts, 98, 63, row.score);
    // The trailing spaces clear what a longer earlier text left.
    TextOutA(bar, *fonts, 150, 63, "Killed=" + row.kills + " Time=" + row.time + std::string(20, ' '));
  }
  bar.foreColour = Rgb(0, 0, 128);
}

}  // namespace kesmir
