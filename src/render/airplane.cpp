// Airplane runs: health and ammunition drops near the player, bomb runs, supply runs, automatic drops.
#include <string>

#include "audio/sound_bank.h"
#include "render/effects.h"
#include "render/pickups.h"

namespace kesmir {

namespace {

constexpr int kSoundBomb = 21;
constexpr int kBombCost = 15;
constexpr int kAutoDropFrames = 250;

// The supply run drops health where the airplane passes these bands (lower bound, upper bound).
struct Band {
  double low;
  double high;
  bool skippedInMinuteFive;
};
constexpr Band kSupplyBands[] = {{60, 80, true},   {80, 100, true},  {100, 120, false}, {120, 140, false},
                                 {140, 160, false}, {160, 180, false}, {180, 200, false}, {200, 220, true},
                                 {220, 250, true}};

void DrawBombIcon(Game& game) {
  const Fighter& player = game.play.Fighters[0];
  Surface& field = game.surfaces.Field;
  if (player.Ammo <= 14 || (player.X > 220 && player.Y > 260)) return;
  DrawMasked(field, 270, 270, 30, 30, game.surfaces.BombIconDC, 0, 0, 30, 0);
  const std::string count = std::to_string(player.Ammo / kBombCost);
  field.fontSize = 10;
  field.fontBold = true;
  if (game.platform.fonts) {
    TextOutA(field, *game.platform.fonts, count.size() == 2 ? 280 : 283, 279, (count + "     ").substr(0, 5));
  }
  field.fontBold = false;
  field.fontSize = 8;
}

void Fly(Game& game) {
  EffectsState& e = game.effects;
  Fighter& player = game.play.Fighters[0];
  e.AirPlaneX = DoubleText(e.AirPlaneX + 10);
  if (e.AirPlaneX > 300) {
    e.AirPlaneOn = 0;
    e.AirPlaneX = -100;
  }
  switch (e.AirMission) {
    case 1:
      if (e.AirPlaneX > player.X) {
        UpdateHealthBoxes(game, kTrue, e.AirDropX, e.AirDropY);
        e.AirMission = 0;
      }
      break;
    case 2:
      if (e.AirPlaneX > player.X) {
        Integer amount = SatInteger(241 - 15LL * player.Recharge);
        UpdateAmmoBoxes(game, kTrue, e.AirDropX, e.AirDropY, amount);
        e.AirMission = 0;
      }
      break;
    case 3:
      if (e.AirPlaneX > game.input.CursorX) {  // the pointer now, not where it was clicked
        UpdateExplosion(game, kTrue, e.AirDropX, e.AirDropY);
        e.AirMission = 0;
        PlaySoundFx(game, kSoundBomb, 500);
      }
      break;
    case 4: {
      const bool minuteFive = game.clock.GameMinutes == 5;
      for (const Band& band : kSupplyBands) {
        if (band.skippedInMinuteFive && minuteFive) continue;
        if (e.AirPlaneX > band.low && e.AirPlaneX < band.high) {
          UpdateHealthBoxes(game, kTrue, band.low, 150);
          if (band.low == 140) {
            Integer amount = 100;
            UpdateAmmoBoxes(game, kTrue, 150, 140, amount);
          }
        }
      }
      if (e.AirPlaneX > 250) {
        UpdateHealthBoxes(game, kTrue, 250, 150);
        e.AirMission = 0;
      }
      break;
    }
    default: break;
  }
  DrawMasked(game.surfaces.Field, CLng(e.AirPlaneX), CLng(e.AirPlaneY), 40, 40, game.surfaces.AirPlaneDC, 0, 0, 40, 0);
}

}  // namespace

void UpdateAirPlane(Game& game, Integer healthRun, Integer ammoRun, Integer bombRun, Integer supplyRun) {
  EffectsState& e = game.effects;
  Fighter& player = game.play.Fighters[0];
  if (supplyRun == kTrue && e.AirPlaneOn == 0) {
    e.AirPlaneOn = kTrue;
    e.AirPlaneX = 0;
    e.AirPlaneY = 135;
    e.AirMission = 4;
    ++e.Tallies.SupplyRuns;
  }
  if (e.AirPlaneOn == 0) {
    if (healthRun == kTrue || ammoRun == kTrue) {
      e.AirPlaneOn = kTrue;
      e.AirPlaneX = -40;
      e.AirPlaneY = DoubleText(player.Y - 20.0);
      e.AirMission = healthRun == kTrue ? 1 : 2;
      e.AirDropX = DoubleText(static_cast<float>(player.X + game.Rnd() * 50 - 25));
      e.AirDropY = DoubleText(static_cast<float>(player.Y + game.Rnd() * 50 - 25));
    } else if (bombRun == kTrue) {
      e.AirPlaneOn = kTrue;
      e.AirPlaneX = -40;
      e.AirPlaneY = DoubleText(game.input.CursorY - 20.0);
      e.AirMission = 3;
      e.AirDropX = DoubleText(game.input.CursorX - 35.0);
      e.AirDropY = DoubleText(game.input.CursorY - 35.0);
      player.Ammo = AddSat(player.Ammo, -kBombCost);
      PlaySoundFx(game, kSoundAirPlane, 500);
      ++e.Tallies.Bombs;
    }
  }
  DrawBombIcon(game);
  if (e.AirPlaneOn == kTrue) Fly(game);

  const bool due = e.AirTimer == kAutoDropFrames - 1;
  e.AirTimer = AddSat(e.AirTimer, 1);
  if (!due) return;
  // The automatic drops call the whole procedure again: in that frame the icon is drawn once more and a
  // flying airplane moves a second step. Intended: it only speeds an airplane in flight along for one frame.
  if (player.Health < 40 && game.play.HealthBoxOn[0] == 0) {
    UpdateAirPlane(game, kTrue, 0, 0, 0);
    PlaySoundFx(game, kSoundAirPlane, 500);
  }
  if (game.play.AmmoBoxOn[0] == 0 && player.Ammo < 6) {
    UpdateAirPlane(game, 0, kTrue, 0, 0);
    PlaySoundFx(game, kSoundAirPlane, 500);
  }
  e.AirTimer = 0;
}

}  // namespace kesmir
