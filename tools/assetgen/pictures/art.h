// The drawing of every picture, one function per file; pictures.cpp writes them out.
#pragma once

#include <cairo.h>

#include <filesystem>
#include <string>

#include "raster.h"

namespace assetgen {

// The looks of the fighters: the player and the six opponent tiers, weakest first.
enum class Look { kPlayer, kTier0, kTier1, kTier2, kTier3, kTier4, kTier5 };

// Draws a soldier seen from above centred on the current origin, one unit per sprite pixel,
// facing angle radians (0 = right, pi/2 = down) with the gun along the facing; light falls
// from the upper left whatever the facing. The figure fits in a circle of radius 10.5.
void DrawSoldier(cairo_t* cr, Look look, double angle);
// The round bomb of the bomb icon, fitted to a 30x30 box at the origin.
void DrawBomb(cairo_t* cr);
// The title word in the logo's style, as large as fits a w x h box centred on (cx, cy)
// (its dark outline reaches a little beyond).
void DrawTitle(cairo_t* cr, double cx, double cy, double w, double h);

// Fighters and vehicles (sprites.cpp).
Image DrawFighterSheet(Look look);  // Player.jpg, AiLVL0..5.jpg
Image DrawCorpses();                // Dead.jpg
Image DrawAirPlane();               // AirPlane.jpg
Image DrawCleaner();                // Cleaner.jpg

// Explosion and crater (effects.cpp).
Image DrawExplosion();  // Explosion.jpg
Image DrawCrater();     // BoomDirt.jpg

// Small play-field pieces (items.cpp).
Image DrawHealthBox();    // Health.jpg
Image DrawAmmoBox();      // Ammo.jpg
Image DrawAcidPill();     // Acid.jpg
Image DrawAcidIcons();    // AcidHearth.jpg
Image DrawBombIcon();     // BombIcon.jpg
Image DrawCrossHair();    // CursorFire.jpg
Image DrawMenuPointer();  // CursorMenu.jpg
Image DrawBulletGlyphs(); // BulletsOut.jpg
Image DrawFootMark();     // Foot.jpg

// Screens, panels and widgets (interface.cpp).
Image DrawStatusBar();                  // StatusBar.jpg
Image DrawHealthGauge();                // StatusHealth.jpg
Image DrawAmmoGauge();                  // StatusAmmo.jpg
Image DrawSkillGauge(int skill);        // StatusAccuracy, Recharge, BulletSpeed, Melee (0..3)
Image DrawScoreLabel();                 // StatusScore.jpg
Image DrawMainLogo();                   // MainLogo.jpg
Image DrawLoadingStrip();               // Loading.jpg
Image DrawLogo();                       // Logo.jpg
Image DrawMenuPanel();                  // MainMenu.jpg
Image DrawSliderTrack();                // SliderMenu.jpg
Image DrawSliderThumb();                // SliderDrag.jpg
Image DrawDebugBacking();               // Layer.jpg
Image DrawScoreBacking();               // LayerScore.jpg
Image DrawCheckBoxes();                 // Check.jpg
Image DrawScoreArrows();                // ScoreUpDown.jpg
Image DrawNameBox();                    // EnterText.jpg
Image DrawHelpCrate();                  // Help1.jpg
Image DrawHelpGauges();                 // Help2.jpg
Image DrawHelpBombs();                  // Help3.jpg

// Ground (terrain.cpp).
Image DrawMap(int number);  // Map01..Map04.jpg, number 1..4
Image DrawCleanLine();      // CleanLine.jpg
// The ground of one map, for pictures that show a piece of the field.
Rgb GroundColour(int number, int x, int y);

// Writes the application icon, size x size pixels, as PNG (icons.cpp). Returns false and sets
// error on failure.
bool WriteAppIcon(const std::filesystem::path& path, int size, std::string& error);

}  // namespace assetgen
