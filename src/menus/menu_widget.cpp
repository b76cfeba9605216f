// The menu widget.
#include "menus/menu_widget.h"

#include "app/options.h"
#include "audio/sound_bank.h"

namespace kesmir {
namespace {

constexpr Colour kMenuText = Rgb(0, 0, 128);
constexpr Colour kActiveHover = Rgb(255, 255, 255);
constexpr Colour kInactiveHover = Rgb(0, 0, 255);
constexpr Colour kLightGreen = Rgb(192, 255, 192);

}  // namespace

void HitMenuItem(Game& game, int x, int top, std::string& caption, int height, Integer active) {
  MenuState& m = game.menus;
  InputState& in = game.input;
  const std::string& screen = game.app.MenuScreen;
  if ((screen == "HS" || screen == "WS") && height < 8) height -= 2;
  if (caption.empty()) caption.push_back('0');
  const long long cx = in.CursorX;
  const long long cy = in.CursorY;
  const long long width = static_cast<long long>(caption.size()) * height;
  if (active != 0) m.Clickable.push_back({x, top, static_cast<int>(width), height + 2});
  if (!(cy > top && cy < top + height + 2 && cx > x && cx < x + width)) return;
  if (active != 0 && caption != m.LastHover) PlaySoundFx(game, kSoundMouseOver, 500);
  m.LastHover = caption;
  m.MenuTextColor = active != 0 ? kActiveHover : kInactiveHover;
  if (in.FireHeld == 0) {
    m.ClickedY = 0;
    m.HoverY = top - 2;
  } else if (active != 0) {
    PlaySoundFx(game, kSoundMenuClick, 500);
    m.ClickedY = top - 2;
    in.FireHeld = 0;  // the press counts once
    LoadSaveOptions(game, -1);
  }
}

void DrawMenuItem(Game& game, std::string& caption, int x, int y, Integer size, Integer active, Integer textSize) {
  Surface& field = game.surfaces.Field;
  game.menus.MenuTextColor = kMenuText;
  HitMenuItem(game, x, y + 2, caption, size - 2, active);
  field.foreColour = game.menus.MenuTextColor;
  if (textSize <= 0) textSize = size;
  field.fontSize = textSize;
  // Smaller text sits on about the line that text of the item's own size would.
  if (game.platform.fonts) TextOutA(field, *game.platform.fonts, x, y + (size - textSize), caption);
  field.fontSize = size;
  field.foreColour = kMenuText;
}

void DrawMenuItem(Game& game, std::string_view caption, int x, int y, Integer size, Integer active) {
  std::string text(caption);
  DrawMenuItem(game, text, x, y, size, active);
}

bool MenuItemClicked(const Game& game, int y) { return game.menus.ClickedY == y; }

void DrawMenuLogo(Game& game) {
  DrawMasked(game.surfaces.Field, 160, 23, 107, 23, game.surfaces.LogoDC, 0, 0, 0, 24);
}

void ResetMenuText(Game& game) {
  Surface& field = game.surfaces.Field;
  field.foreColour = kLightGreen;
  field.fontSize = 8;
  field.fontBold = false;
}

}  // namespace kesmir
