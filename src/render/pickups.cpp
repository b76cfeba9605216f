// Placing and drawing the health and ammunition pick-ups.
#include "render/pickups.h"

#include <algorithm>

namespace kesmir {

namespace {

constexpr int kMaxAmmoInBox = 50;

bool OutsideField(double x, double y) { return x < 0 || x > 290 || y < 0 || y > 290; }

int FreeSlot(const std::array<Integer, kBoxSlots>& on) {
  for (int i = 0; i < kBoxSlots; ++i)
    if (on[static_cast<std::size_t>(i)] == 0) return i;
  return -1;
}

}  // namespace

void UpdateHealthBoxes(Game& game, Integer spawn, double x, double y) {
  PlayState& p = game.play;
  if (OutsideField(x, y)) return;
  if (spawn == kTrue) {
    if (const int i = FreeSlot(p.HealthBoxOn); i >= 0) {
      const auto slot = static_cast<std::size_t>(i);
      p.HealthBoxOn[slot] = kTrue;
      p.HealthBoxX[slot] = DoubleText(x + Int(game.Rnd() * 15));
      p.HealthBoxY[slot] = DoubleText(y + Int(game.Rnd() * 15));
    }
  }
  for (int i = 0; i < kBoxSlots; ++i) {
    const auto slot = static_cast<std::size_t>(i);
    if (p.HealthBoxOn[slot] != kTrue) continue;
    const int cell = static_cast<int>(Int(game.Rnd() * 2)) * 7;  // two cells: the pick-up flickers
    BitBlt(game.surfaces.Field, CLng(p.HealthBoxX[slot]), CLng(p.HealthBoxY[slot]), 7, 7, game.surfaces.HealthDC,
           cell, 0, RasterOp::SrcCopy);
  }
}

void UpdateAmmoBoxes(Game& game, Integer spawn, double x, double y, Integer& amount) {
  PlayState& p = game.play;
  if (OutsideField(x, y)) return;
  amount = AddSat(amount, -1);
  if (spawn == kTrue && amount > 0) {
    if (const int i = FreeSlot(p.AmmoBoxOn); i >= 0) {
      const auto slot = static_cast<std::size_t>(i);
      p.AmmoBoxOn[slot] = kTrue;
      p.AmmoBoxX[slot] = DoubleText(x + Int(game.Rnd() * 15));
      p.AmmoBoxY[slot] = DoubleText(y + Int(game.Rnd() * 15));
      p.AmmoBoxAmount[slot] = std::min<Integer>(amount, kMaxAmmoInBox);
    }
  }
  for (int i = 0; i < kBoxSlots; ++i) {
    const auto slot = static_cast<std::size_t>(i);
    if (p.AmmoBoxOn[slot] != kTrue) continue;
    const int cell = static_cast<int>(Int(game.Rnd() * 2)) * 9;
    BitBlt(game.surfaces.Field, CLng(p.AmmoBoxX[slot]), CLng(p.AmmoBoxY[slot]), 9, 7, game.surfaces.AmmoDC, cell, 0,
           RasterOp::SrcCopy);
  }
}

}  // namespace kesmir
