// Translation of the pad's sticks, triggers and buttons into keys, button events and the pointer.
#include "input/pad.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "input/field_events.h"
#include "input/keyboard.h"
#include "input/mouse.h"
#include "scores/name_entry.h"

namespace kesmir {
namespace {

constexpr double kDeadZone = 8000;   // of 32767: a stick resting a little off its middle does nothing
constexpr double kFullPush = 32767;
constexpr int kTriggerOn = 16000;    // half way down
constexpr double kNearestAim = 20;   // pixels from the player's middle
constexpr std::uint64_t kRepeatDelayMs = 400;
constexpr std::uint64_t kRepeatEveryMs = 150;
constexpr int kRumbleMs = 150;
constexpr int kVkBack = 8;
// The triggers as buttons, beside the pad's own.
constexpr std::uint32_t kPadRightTrigger = 1u << 10;
constexpr std::uint32_t kPadLeftTrigger = 1u << 11;
constexpr std::uint32_t kDirections = kPadUp | kPadDown | kPadLeft | kPadRight;
// The letters that up and down go through in the name entry, a blank first.
constexpr std::string_view kLetters = " ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";

// The stick's direction as direction bits, eight ways of 45 degrees each; none inside the dead zone.
std::uint32_t StickDirections(int x, int y) {
  const double push = std::hypot(x, y);
  if (push < kDeadZone) return 0;
  const double slant = push * std::sin(std::atan(1.0) / 2);  // 22.5 degrees off an axis
  std::uint32_t bits = 0;
  if (x < -slant) bits |= kPadLeft;
  if (x > slant) bits |= kPadRight;
  if (y < -slant) bits |= kPadUp;
  if (y > slant) bits |= kPadDown;
  return bits;
}

// A key down for this poll only.
void Press(Game& game, int dik) { game.input.KeyState[dik] = 0x80; }

void MovePointer(Game& game, Point onField) {
  if (!game.platform.mouse) return;
  game.platform.mouse->Warp({onField.x + game.app.FieldOrigin.x, onField.y + game.app.FieldOrigin.y});
  ReadMousePos(game);
}

// The right stick puts the pointer on a circle around the player's middle: the nearest aim at the dead
// zone's edge, the field's edge at full push. Let go, the pointer stays where it is.
void Aim(Game& game, int x, int y) {
  const double push = std::hypot(x, y);
  if (push < kDeadZone) return;
  const Fighter& player = game.play.Fighters[0];
  const double cx = player.X + 10.0;
  const double cy = player.Y + 10.0;
  const double dx = x / push;
  const double dy = y / push;
  constexpr double kLast = kFieldSize - 1;
  double reach = 2.0 * kFieldSize;  // how far the field's edge lies in that direction
  if (dx > 0) reach = std::min(reach, (kLast - cx) / dx);
  if (dx < 0) reach = std::min(reach, -cx / dx);
  if (dy > 0) reach = std::min(reach, (kLast - cy) / dy);
  if (dy < 0) reach = std::min(reach, -cy / dy);
  reach = std::max(reach, kNearestAim);
  const double share = std::min(1.0, (push - kDeadZone) / (kFullPush - kDeadZone));
  const double distance = kNearestAim + (reach - kNearestAim) * share;
  const auto onField = [](double v) { return std::clamp(static_cast<int>(std::lround(v)), 0, kFieldSize - 1); };
  MovePointer(game, {onField(cx + dx * distance), onField(cy + dy * distance)});
}

void Play(Game& game, const PadState& pad, std::uint32_t held, std::uint32_t pressed, std::uint32_t released) {
  static constexpr std::pair<std::uint32_t, int> kWalk[] = {
      {kPadUp, kDikW}, {kPadLeft, kDikA}, {kPadDown, kDikS}, {kPadRight, kDikD}};
  for (const auto& [bit, dik] : kWalk) {
    if (held & bit) Press(game, dik);
  }
  Aim(game, pad.rightX, pad.rightY);
  if (pressed & kPadRightTrigger) Field_MouseDown(game, 1);
  if (released & kPadRightTrigger) Field_MouseUp(game, 1);
  if (pressed & kPadLeftTrigger) Field_MouseDown(game, 2);
  if (released & kPadLeftTrigger) Field_MouseUp(game, 2);
  if (pressed & (kPadLeftShoulder | kPadRightShoulder)) Field_KeyUp(game, kVkQ);
  if (pressed & kPadStart) Press(game, kDikEscape);
}

// The pointer onto the next clickable item in reading order (top to bottom, left to right), or the one
// before, round from the last to the first; it rests a character into the item, half way down.
void StepPointer(Game& game, bool ahead) {
  std::vector<Point> spots;
  for (const Rect& r : game.menus.Clickable) spots.push_back({r.x + std::min(r.w / 2, r.h), r.y + r.h / 2});
  if (spots.empty()) return;
  const auto order = [](Point a, Point b) { return std::tie(a.y, a.x) < std::tie(b.y, b.x); };
  std::sort(spots.begin(), spots.end(), order);
  const Point at{static_cast<int>(game.input.CursorX), static_cast<int>(game.input.CursorY)};
  if (ahead) {
    const auto next = std::upper_bound(spots.begin(), spots.end(), at, order);
    MovePointer(game, next == spots.end() ? spots.front() : *next);
  } else {
    const auto next = std::lower_bound(spots.begin(), spots.end(), at, order);
    MovePointer(game, next == spots.begin() ? spots.back() : *(next - 1));
  }
}

// Up and down change the letter under the caret (the name's last), right moves on to a blank, left takes
// the letter back.
void EnterName(Game& game, std::uint32_t steps) {
  const std::string& name = game.scores.YourName;
  if (steps & kPadLeft) YourName_KeyDown(game, kVkBack);
  if (steps & kPadRight) YourName_KeyPress(game, ' ');
  if (!(steps & (kPadUp | kPadDown))) return;
  const auto size = static_cast<int>(kLetters.size());
  const auto last = name.empty() ? ' ' : static_cast<char>(std::toupper(static_cast<unsigned char>(name.back())));
  const std::size_t found = kLetters.find(last);
  const int letter = (found == std::string_view::npos ? 0 : static_cast<int>(found)) + (steps & kPadUp ? 1 : -1);
  if (!name.empty()) YourName_KeyDown(game, kVkBack);
  YourName_KeyPress(game, static_cast<unsigned char>(kLetters[static_cast<std::size_t>((letter + size) % size)]));
}

void Menus(Game& game, std::uint32_t held, std::uint32_t pressed, std::uint32_t released, std::uint32_t steps) {
  if (game.scores.YourNameFocus) {
    EnterName(game, steps);
    if (pressed & (kPadA | kPadStart)) Press(game, kDikReturn);
    return;
  }
  // On the world scores up and down move the slider as the arrow keys do.
  const bool slider = game.app.MenuScreen == "WS";
  if (slider && (held & kPadUp)) Press(game, kDikUp);
  if (slider && (held & kPadDown)) Press(game, kDikDown);
  const std::uint32_t back = slider ? kPadLeft : kPadUp | kPadLeft;
  const std::uint32_t ahead = slider ? kPadRight : kPadDown | kPadRight;
  if (steps & (back | ahead)) StepPointer(game, (steps & ahead) != 0);
  if (pressed & kPadA) Field_MouseDown(game, 1);
  if (released & kPadA) Field_MouseUp(game, 1);
  if (pressed & kPadB) Press(game, kDikEscape);
  if (pressed & kPadStart) Press(game, kDikReturn);
  if (pressed & kPadBack) Press(game, kDikX);
}

// The directions that step in this poll: a new press at once, one held again after a pause and then often.
std::uint32_t Steps(PadMemory& memory, std::uint32_t held, std::uint32_t pressed, std::uint64_t nowMs) {
  if (pressed & kDirections) {
    memory.repeatAt = nowMs + kRepeatDelayMs;
    return pressed & kDirections;
  }
  if (!(held & kDirections) || nowMs < memory.repeatAt) return 0;
  memory.repeatAt = nowMs + kRepeatEveryMs;
  return held & kDirections;
}

}  // namespace

void PollPad(Game& game) {
  IPad* device = game.platform.pad;
  if (!device) return;
  const PadState pad = device->ReadPad();
  PadMemory& memory = game.input.Pad;
  const bool inPlay = game.app.GameStarted != 0 && game.app.GameStopped == 0;
  if (pad.lost && inPlay) Press(game, kDikEscape);

  std::uint32_t held = pad.buttons | StickDirections(pad.leftX, pad.leftY);
  if (pad.rightTrigger > kTriggerOn) held |= kPadRightTrigger;
  if (pad.leftTrigger > kTriggerOn) held |= kPadLeftTrigger;
  const std::uint32_t pressed = held & ~memory.held;
  const std::uint32_t released = memory.held & ~held;
  memory.held = held;
  if (inPlay) {
    Play(game, pad, held, pressed, released);
  } else {
    const std::uint64_t nowMs = game.platform.clock ? game.platform.clock->Ticks() : 0;
    Menus(game, held, pressed, released, Steps(memory, held, pressed, nowMs));
  }

  const Fighter& player = game.play.Fighters[0];
  if (inPlay && memory.wasInPlay && player.Health < memory.health) device->Rumble(kRumbleMs);
  memory.health = player.Health;
  memory.wasInPlay = inPlay;
}

}  // namespace kesmir
