// Drawing of the status bar: six gauges, the score with its bonus, the kills and the game time.
#include "app/status_bar.h"

#include <string>

namespace kesmir {

namespace {

// A whole-pixel width, rounded halves to even.
int Width(double pixels) { return CLng(pixels); }

// An empty 300x10 gauge, then its experience line and its level bar over it.
void SkillGauge(Surface& bar, const Surface& strip, int y, double experience, double level) {
  BitBlt(bar, 0, y, 300, 10, strip, 0, 0, RasterOp::SrcCopy);
  BitBlt(bar, 0, y + 8, Width(202.0 / 100.0 * experience + 98), 2, strip, 0, 18, RasterOp::SrcCopy);
  BitBlt(bar, 0, y, Width(level * 18.5 + 98), 7, strip, 0, 10, RasterOp::SrcCopy);
}

std::string TwoDigits(int value) { return value > 9 ? std::to_string(value) : "0" + std::to_string(value); }

std::string Padded(std::string text, std::size_t width) {
  text.resize(std::max(text.size(), width), ' ');
  return text;
}

}  // namespace

void DrawStatusBar(Game& game) {
  Surfaces& s = game.surfaces;
  Surface& bar = s.StatusField;
  PlayState& p = game.play;
  const Fighter& f = p.Fighters[0];
  IFonts* fonts = game.platform.fonts;

  bar.SetPicture(s.StatusFieldPicture);

  BitBlt(bar, 0, 0, 300, 10, s.StatusHealthDC, 0, 0, RasterOp::SrcCopy);
  const double healthCap = 30.0 * f.BulletSpeed;
  if (healthCap != 0) BitBlt(bar, 0, 0, Width(245.0 / healthCap * f.Health + 53), 10, s.StatusHealthDC, 0, 10, RasterOp::SrcCopy);
  if (fonts) {
    TextOutA(bar, *fonts, 150, -2,
             Padded(std::to_string(CLng(f.Health)) + "(" + std::to_string(30 * f.BulletSpeed) + ")", 20));
  }

  BitBlt(bar, 0, 10, 300, 10, s.StatusAmmoDC, 0, 0, RasterOp::SrcCopy);
  const int ammoCap = (16 - f.Recharge) * 15;
  const int ammoWidth = ammoCap < f.Ammo ? 298 : (ammoCap != 0 ? Width(245.0 / ammoCap * f.Ammo + 53) : 0);
  BitBlt(bar, 0, 10, ammoWidth, 10, s.StatusAmmoDC, 0, 10, RasterOp::SrcCopy);
  if (fonts) {
    TextOutA(bar, *fonts, 150, 8, Padded(std::to_string(f.Ammo) + "(" + std::to_string(ammoCap) + ")", 20));
  }

  SkillGauge(bar, s.StatusAccuracyDC, 25, f.AccuracyXp, 10 - f.Accuracy / 3);
  SkillGauge(bar, s.StatusRechargeDC, 35, f.RechargeXp, 15 - f.Recharge);
  SkillGauge(bar, s.StatusBulletSpeedDC, 45, f.BulletXp, f.BulletSpeed - 3);
  SkillGauge(bar, s.StatusMeleeDC, 55, f.MeleeXp, f.Melee);

  bar.foreColour = Rgb(0, 255, 0);
  BitBlt(bar, 0, 66, 98, 10, s.StatusScoreDC, 0, 0, RasterOp::SrcCopy);
  p.StatBonus = SatInteger(static_cast<long long>((10 - f.Accuracy / 3) + f.BulletSpeed - f.Recharge + 20 + f.Melee) *
                               (f.BulletSpeed - 3) +
                           p.Kills);
  const ClockState& c = game.clock;
  if (fonts) {
    TextOutA(bar, *fonts, 98, 63, std::to_string(AddSat(p.Score, p.StatBonus)));
    TextOutA(bar, *fonts, 150, 63,
             "Killed=" + std::to_string(p.Kills) + " Time=" + TwoDigits(c.GameMinutes) + ":" +
                 TwoDigits(c.GameSeconds) + std::string(20, ' '));
  }
  bar.foreColour = Rgb(0, 0, 128);
}

}  // namespace kesmir
