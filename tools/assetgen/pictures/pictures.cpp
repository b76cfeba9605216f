// Writes every picture of the game into <game folder>/Pictures, and the application icons.
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "art.h"
#include "assetgen.h"
#include "jpeg_io.h"
#include "pictures.h"

namespace assetgen {
namespace {

// Quality 100 keeps mask edges, the black around sprites and small pixel art clean after
// decoding; the large painted backgrounds look the same at 95 in a third of the bytes.
constexpr int kExact = 100;
constexpr int kPainted = 95;

struct Job {
  const char* file;
  Image (*draw)();
  int quality;
};

Image Player() { return DrawFighterSheet(Look::kPlayer); }
Image Tier0() { return DrawFighterSheet(Look::kTier0); }
Image Tier1() { return DrawFighterSheet(Look::kTier1); }
Image Tier2() { return DrawFighterSheet(Look::kTier2); }
Image Tier3() { return DrawFighterSheet(Look::kTier3); }
Image Tier4() { return DrawFighterSheet(Look::kTier4); }
Image Tier5() { return DrawFighterSheet(Look::kTier5); }
Image Accuracy() { return DrawSkillGauge(0); }
Image Recharge() { return DrawSkillGauge(1); }
Image BulletSpeed() { return DrawSkillGauge(2); }
Image Melee() { return DrawSkillGauge(3); }
Image Map1() { return DrawMap(1); }
Image Map2() { return DrawMap(2); }
Image Map3() { return DrawMap(3); }
Image Map4() { return DrawMap(4); }

// In the game's loading order, then the base maps and the clean ground.
constexpr Job kJobs[] = {
    {"StatusBar.jpg", DrawStatusBar, kPainted},
    {"MainLogo.jpg", DrawMainLogo, kPainted},
    {"Loading.jpg", DrawLoadingStrip, kExact},
    {"Logo.jpg", DrawLogo, kExact},
    {"SliderMenu.jpg", DrawSliderTrack, kExact},
    {"SliderDrag.jpg", DrawSliderThumb, kExact},
    {"Layer.jpg", DrawDebugBacking, kExact},
    {"LayerScore.jpg", DrawScoreBacking, kExact},
    {"Check.jpg", DrawCheckBoxes, kExact},
    {"ScoreUpDown.jpg", DrawScoreArrows, kExact},
    {"Help1.jpg", DrawHelpCrate, kExact},
    {"Help2.jpg", DrawHelpGauges, kExact},
    {"Help3.jpg", DrawHelpBombs, kExact},
    {"CursorMenu.jpg", DrawMenuPointer, kExact},
    {"MainMenu.jpg", DrawMenuPanel, kPainted},
    {"EnterText.jpg", DrawNameBox, kExact},
    {"Player.jpg", Player, kExact},
    {"AiLVL0.jpg", Tier0, kExact},
    {"AiLVL1.jpg", Tier1, kExact},
    {"AiLVL2.jpg", Tier2, kExact},
    {"AiLVL3.jpg", Tier3, kExact},
    {"AiLVL4.jpg", Tier4, kExact},
    {"AiLVL5.jpg", Tier5, kExact},
    {"StatusHealth.jpg", DrawHealthGauge, kExact},
    {"StatusAmmo.jpg", DrawAmmoGauge, kExact},
    {"StatusAccuracy.jpg", Accuracy, kExact},
    {"StatusRecharge.jpg", Recharge, kExact},
    {"StatusBulletSpeed.jpg", BulletSpeed, kExact},
    {"StatusMelee.jpg", Melee, kExact},
    {"StatusScore.jpg", DrawScoreLabel, kExact},
    {"Health.jpg", DrawHealthBox, kExact},
    {"Ammo.jpg", DrawAmmoBox, kExact},
    {"Acid.jpg", DrawAcidPill, kExact},
    {"AcidHearth.jpg", DrawAcidIcons, kExact},
    {"BombIcon.jpg", DrawBombIcon, kExact},
    {"BoomDirt.jpg", DrawCrater, kExact},
    {"Explosion.jpg", DrawExplosion, kExact},
    {"AirPlane.jpg", DrawAirPlane, kExact},
    {"Cleaner.jpg", DrawCleaner, kExact},
    {"CleanLine.jpg", DrawCleanLine, kPainted},
    {"Dead.jpg", DrawCorpses, kExact},
    {"CursorFire.jpg", DrawCrossHair, kExact},
    {"Foot.jpg", DrawFootMark, kExact},
    {"BulletsOut.jpg", DrawBulletGlyphs, kExact},
    {"Map01.jpg", Map1, kPainted},
    {"Map02.jpg", Map2, kPainted},
    {"Map03.jpg", Map3, kPainted},
    {"Map04.jpg", Map4, kPainted},
};

bool Fail(const std::filesystem::path& path, const std::string& reason) {
  std::fprintf(stderr, "kesmir-assetgen: cannot write %s: %s\n", path.c_str(), reason.c_str());
  return false;
}

bool MakeFolder(const std::filesystem::path& folder) {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec) return Fail(folder, ec.message());
  return true;
}

}  // namespace

std::vector<std::string> PictureFiles() {
  std::vector<std::string> files;
  for (const Job& job : kJobs) files.emplace_back(job.file);
  return files;
}

bool WritePictures(const std::filesystem::path& gameDir) {
  const std::filesystem::path folder = gameDir / "Pictures";
  if (!MakeFolder(folder)) return false;
  std::string error;
  for (const Job& job : kJobs) {
    const std::filesystem::path path = folder / job.file;
    if (!WriteJpeg(path, job.draw(), job.quality, error)) return Fail(path, error);
  }
  for (int size : kAppIconSizes) {
    const std::string edge = std::to_string(size);
    const std::filesystem::path iconFolder = gameDir / "icons" / "hicolor" / (edge + "x" + edge) / "apps";
    if (!MakeFolder(iconFolder)) return false;
    const std::filesystem::path path = iconFolder / "kesmir.png";
    if (!WriteAppIcon(path, size, error)) return Fail(path, error);
  }
  return true;
}

}  // namespace assetgen
