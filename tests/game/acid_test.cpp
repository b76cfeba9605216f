// Acid pick-ups: the drop at a death, taking one, the four effects, the heart-beat and the effect icon.
#include "game/acid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <tuple>

#include "fakes/play_fixture.h"

namespace kesmir {
namespace {

using testing::PlayGame;

constexpr Colour kGoodCell = Rgb(255, 0, 0);
constexpr Colour kBadCell = Rgb(0, 255, 0);
constexpr Colour kBothCell = Rgb(0, 0, 255);

// The icon picture: three 30x30 image cells in distinct colours over an all-black mask row.
Surface IconPicture() {
  Surface icons(90, 60, 0);
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 90; ++x) icons.Row(y)[x] = x < 30 ? kGoodCell : x < 60 ? kBadCell : kBothCell;
  }
  return icons;
}

// The kind the next drop will roll.
std::size_t NextDropKind(Game& game) {
  Random probe = game.random;
  return static_cast<std::size_t>(Int(probe.Rnd() * 4));
}

TEST(AcidDrop, ARolledKindAlreadyLyingMeansNoDropEvenWithOtherKindsFree) {
  PlayGame g;
  Fighter& dead = g->play.Fighters[7];
  dead.X = 100;
  dead.Y = 50;
  const std::size_t kind = NextDropKind(*g);
  g->play.AcidOn[kind] = kTrue;
  g->play.AcidX[kind] = 10;
  g->play.AcidY[kind] = 10;
  UpdateAcid(*g, kTrue, 7);
  for (std::size_t k = 0; k < kAcidKinds; ++k) EXPECT_EQ(g->play.AcidOn[k], k == kind ? kTrue : 0) << k;
  EXPECT_EQ(g->play.AcidX[kind], 10);  // the one lying stays where it was
}

TEST(AcidDrop, AnIndexOutsideTheFighterTableDropsNothingAndDoesNotCrash) {
  PlayGame g;
  UpdateAcid(*g, kTrue, 51);
  UpdateAcid(*g, kTrue, -1);
  for (Integer on : g->play.AcidOn) EXPECT_EQ(on, 0);
}

TEST(AcidTaking, KindZeroGivesThreeHundredThirtyThreeBulletsInTheSameCallAndNoFireDelayFor600Frames) {
  PlayGame g;
  Fighter& player = g->play.Fighters[0];
  g->play.AcidOn[0] = kTrue;
  g->play.AcidX[0] = 147;  // its centre is the player's centre
  g->play.AcidY[0] = 147;
  g->play.FireMode = 3;
  player.Cooldown = 12;
  UpdateAcid(*g, 0, 0);
  EXPECT_EQ(std::tuple(g->play.AcidOn[0], player.Ammo, g->play.FireMode, g->play.AcidTimer[0]),
            std::tuple(0, 333, 1, 599));
  EXPECT_EQ(g.SoundsStarted(), (std::vector<int>{4, 27, 32, 36}));
  EXPECT_TRUE(g.Playing(36));
  for (int frame = 1; frame < 600; ++frame) {
    player.Cooldown = 15;
    player.Ammo = 100;
    UpdateAcid(*g, 0, 0);
    ASSERT_EQ(player.Cooldown, 0) << frame;
    ASSERT_EQ(player.Ammo, 100) << "the bullets come with the first frame only";
  }
  EXPECT_EQ(std::tuple(g->play.AcidTimer[0], g.Playing(36)), std::tuple(0, false));
  player.Cooldown = 15;
  UpdateAcid(*g, 0, 0);
  EXPECT_EQ(player.Cooldown, 15) << "the effect is over";
}

TEST(AcidTaking, OnlyWithinNinePixelsAndOnlyOneAcidPerCall) {
  PlayGame g;
  // Player centre (150, 150); an acid's point is its corner + 3.
  g->play.AcidOn[1] = kTrue;
  g->play.AcidX[1] = 150 + 10 - 3;  // 10 pixels away: stays
  g->play.AcidY[1] = 147;
  UpdateAcid(*g, 0, 0);
  EXPECT_EQ(std::tuple(g->play.AcidOn[1], g->play.AcidTimer[1]), std::tuple(kTrue, 0));

  g->play.AcidX[1] = 150 + 9 - 3;  // 9 pixels: taken
  g->play.AcidOn[2] = kTrue;
  g->play.AcidX[2] = 147;
  g->play.AcidY[2] = 147;
  UpdateAcid(*g, 0, 0);
  EXPECT_EQ(g->play.AcidOn[1], 0);
  EXPECT_EQ(g->play.AcidOn[2], kTrue) << "the second acid waits for the next call";
  UpdateAcid(*g, 0, 0);
  EXPECT_EQ(g->play.AcidOn[2], 0);
}

TEST(AcidEffects, KindOneHoldsHealthWithinFiveOfThirtyTimesBulletSpeedWhateverHitsThePlayer) {
  PlayGame g;
  Fighter& player = g->play.Fighters[0];
  g->play.AcidTimer[1] = 600;
  for (int frame = 0; frame < 600; ++frame) {
    player.Health = frame % 2 == 0 ? 10.0f : 250.0f;  // hits and pick-ups between the calls
    UpdateAcid(*g, 0, 0);
    ASSERT_GE(player.Health, 85);
    ASSERT_LE(player.Health, 95);
  }
  player.Health = 10;
  UpdateAcid(*g, 0, 0);
  EXPECT_EQ(player.Health, 10) << "600 calls and the hold ends";
}

TEST(AcidEffects, TheBadKindsShakeAndBleedThePlayerAndKindThreeAlsoMovesTheAimAndPullsTheTrigger) {
  for (const std::size_t kind : {std::size_t{2}, std::size_t{3}}) {
    PlayGame g;
    Fighter& player = g->play.Fighters[0];
    g->play.AcidTimer[kind] = 600;
    std::set<int> steps, aims, healthSteps;
    int triggered = 0;
    for (int frame = 0; frame < 100; ++frame) {
      const float x = player.X;
      const Long aim = g->input.CursorY;
      const float health = player.Health;
      g->input.FireHeld = 0;
      UpdateAcid(*g, 0, 0);
      steps.insert(static_cast<int>(player.X - x));
      aims.insert(static_cast<int>(g->input.CursorY - aim));
      healthSteps.insert(static_cast<int>(player.Health - health));
      triggered += g->input.FireHeld == kTrue ? 1 : 0;
    }
    const bool three = kind == 3;
    const std::set<int> oneEitherWay = {-1, 0, 1};
    EXPECT_EQ(steps, three ? oneEitherWay : (std::set<int>{-2, -1, 0, 1, 2})) << kind;
    EXPECT_EQ(aims, three ? oneEitherWay : std::set<int>{0}) << kind;
    EXPECT_EQ(healthSteps, three ? oneEitherWay : std::set<int>{0}) << kind;
    EXPECT_EQ(triggered > 10 && triggered < 35, three) << "one chance in five each frame: " << triggered;
    const auto flying = std::count_if(g->play.BloodLife.begin(), g->play.BloodLife.end(), [](Integer life) {
      return life > 0;
    });
    EXPECT_EQ(flying + g->effects.Tallies.BloodStains, 100) << "one drop of blood a frame";
  }
}

TEST(AcidEffects, TheFirstEffectToEndStopsTheHeartBeatEvenWhileAnotherRuns) {
  PlayGame g;
  PlaySoundFx(*g, kSoundHeart, 500);
  g->play.AcidTimer[0] = 1;
  g->play.AcidTimer[2] = 300;
  UpdateAcid(*g, 0, 0);
  EXPECT_FALSE(g.Playing(kSoundHeart));
  EXPECT_EQ(g->play.AcidTimer[2], 299);
}

TEST(AcidEffects, ADroppingCallRunsTheEffectsToo) {
  PlayGame g;
  g->play.AcidTimer[1] = 600;
  UpdateAcid(*g, kTrue, 5);
  UpdateAcid(*g, 0, 0);
  EXPECT_EQ(g->play.AcidTimer[1], 598);
}

TEST(AcidIcon, GoodBadAndBothTogetherUseCellsZeroThirtyAndSixty) {
  PlayGame g;
  g->surfaces.AcidHearthDC = IconPicture();
  auto iconColour = [&g] {
    g->surfaces.Field.Fill(0);
    UpdateAcid(*g, 0, 0);
    return static_cast<Colour>(GetPixel(g->surfaces.Field, g->play.AcidIconX, 270));  // its top-left corner
  };
  g->play.AcidTimer[1] = 600;
  EXPECT_EQ(iconColour(), kGoodCell);
  g->play.AcidTimer.fill(0);
  g->play.AcidTimer[3] = 600;
  EXPECT_EQ(iconColour(), kBadCell);
  g->play.AcidTimer[0] = 600;
  EXPECT_EQ(iconColour(), kBothCell);
  g->play.AcidTimer.fill(0);
  EXPECT_EQ(iconColour(), 0u) << "no effect, no icon";
}

TEST(AcidIcon, StandsBesideTheBombIconWhileABombIsAffordableAndHidesInTheCorner) {
  PlayGame g;
  Fighter& player = g->play.Fighters[0];
  g->surfaces.AcidHearthDC = IconPicture();
  g->play.AcidTimer[0] = 600;
  player.Ammo = 15;  // the effect's 333 bullets come with the first call
  UpdateAcid(*g, 0, 0);
  EXPECT_EQ(g->play.AcidIconX, 240);
  player.Ammo = 14;
  UpdateAcid(*g, 0, 0);
  EXPECT_EQ(std::tuple(g->play.AcidIconX, g->play.AcidIconShown), std::tuple(270, kTrue));

  player.X = 221;
  player.Y = 261;
  g->surfaces.Field.Fill(0);
  UpdateAcid(*g, 0, 0);
  EXPECT_EQ(g->play.AcidIconShown, 0);
  EXPECT_EQ(GetPixel(g->surfaces.Field, 285, 285), 0);
  EXPECT_EQ(g->play.FireMode, 1) << "the effect acts without the icon";
  player.X = 220;  // x 220 is outside the corner
  UpdateAcid(*g, 0, 0);
  EXPECT_EQ(g->play.AcidIconShown, kTrue);
}

}  // namespace
}  // namespace kesmir
