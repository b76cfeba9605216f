// The picture set: the table, loading with progress, and release.
#include "render/graphics.h"

#include <cstdio>
#include <string>

#include "app/folders.h"
#include "app/options.h"
#include "app/progress.h"

namespace kesmir {

const std::array<PictureEntry, 43> kPictureTable = {{
    {"MainLogo.jpg", &Surfaces::MainLogoDC},
    {"Loading.jpg", &Surfaces::LoadingDC},
    {"Logo.jpg", &Surfaces::LogoDC},
    {"SliderMenu.jpg", &Surfaces::SliderMenuDC},
    {"SliderDrag.jpg", &Surfaces::SliderDragDC},
    {"Layer.jpg", &Surfaces::LayerDC},
    {"LayerScore.jpg", &Surfaces::LayerScoreDC},
    {"Check.jpg", &Surfaces::CheckDC},
    {"ScoreUpDown.jpg", &Surfaces::ScoreUpDownDC},
    {"Help1.jpg", &Surfaces::Help1DC},
    {"Help2.jpg", &Surfaces::Help2DC},
    {"Help3.jpg", &Surfaces::Help3DC},
    {"CursorMenu.jpg", &Surfaces::CursorMenuDC},
    {"MainMenu.jpg", &Surfaces::MainMenuDC},
    {"EnterText.jpg", &Surfaces::EnterTextDC},
    {"Player.jpg", &Surfaces::PlayerDC},
    {"AiLVL0.jpg", &Surfaces::AiLVL0DC},
    {"AiLVL1.jpg", &Surfaces::AiLVL1DC},
    {"AiLVL2.jpg", &Surfaces::AiLVL2DC},
    {"AiLVL3.jpg", &Surfaces::AiLVL3DC},
    {"AiLVL4.jpg", &Surfaces::AiLVL4DC},
    {"AiLVL5.jpg", &Surfaces::AiLVL5DC},
    {"StatusHealth.jpg", &Surfaces::StatusHealthDC},
    {"StatusAmmo.jpg", &Surfaces::StatusAmmoDC},
    {"StatusAccuracy.jpg", &Surfaces::StatusAccuracyDC},
    {"StatusRecharge.jpg", &Surfaces::StatusRechargeDC},
    {"StatusBulletSpeed.jpg", &Surfaces::StatusBulletSpeedDC},
    {"StatusMelee.jpg", &Surfaces::StatusMeleeDC},
    {"StatusScore.jpg", &Surfaces::StatusScoreDC},
    {"Health.jpg", &Surfaces::HealthDC},
    {"Ammo.jpg", &Surfaces::AmmoDC},
    {"Acid.jpg", &Surfaces::AcidDC},
    {"AcidHearth.jpg", &Surfaces::AcidHearthDC},
    {"BombIcon.jpg", &Surfaces::BombIconDC},
    {"BoomDirt.jpg", &Surfaces::BoomDirtDC},
    {"Explosion.jpg", &Surfaces::ExplosionDC},
    {"AirPlane.jpg", &Surfaces::AirPlaneDC},
    {"Cleaner.jpg", &Surfaces::CleanerDC},
    {"CleanLine.jpg", &Surfaces::CleanLineDC},
    {"Dead.jpg", &Surfaces::DeadDC},
    {"CursorFire.jpg", &Surfaces::CursorFireDC},
    {"Foot.jpg", &Surfaces::FootDC},
    {"BulletsOut.jpg", &Surfaces::BulletsOutDC},
}};

namespace {

bool LoadShippedPicture(Game& game, std::string_view file, Surface& into) {
  return LoadPictureFile(game, DataPath(game, "Pictures/" + std::string(file)), into);
}

}  // namespace

bool LoadPictureFile(Game& game, const std::filesystem::path& path, Surface& into) {
  std::optional<Image> image;
  if (game.platform.pictures) image = game.platform.pictures->Load(path.string());
  if (!image) {
    std::fprintf(stderr, "kesmir: cannot load picture %s\n", path.c_str());
    into.Reset();
    return false;
  }
  into.Assign(*image);
  return true;
}

void LoadGraphics(Game& game) {
  Surfaces& s = game.surfaces;
  if (game.platform.system) s.MemStatus = game.platform.system->Memory();
  game.Randomize();
  const int map = static_cast<int>(Int(game.Rnd() * 4)) + 1;
  if (LoadShippedPicture(game, "Map0" + std::to_string(map) + ".jpg", s.LoadPicDC)) s.Terain.SetPicture(s.LoadPicDC);
  if (LoadShippedPicture(game, "StatusBar.jpg", s.StatusFieldPicture)) s.StatusField.SetPicture(s.StatusFieldPicture);
  for (std::size_t i = 0; i < kPictureTable.size() && !game.app.Ended; ++i) {
    LoadShippedPicture(game, kPictureTable[i].file, s.*kPictureTable[i].surface);
    if (i >= 1) ShowProgress(game);  // from the loading strip onwards: 42 steps
  }
  s.LoadPicDC.Reset();
  s.PicturesLoaded = !game.app.Ended;
}

void LoadTerrainMap(Game& game, int n) {
  Surfaces& s = game.surfaces;
  Surface map;
  const auto path = UserPath(game, "Pictures/Map0" + std::to_string(n) + ".bmp");
  if (LoadPictureFile(game, path, map)) {
    s.Terain.SetPicture(map);
  } else if (game.platform.pictures && game.settings.MapsGenerated == 1) {
    // A generated map that cannot be read is made again, with the others, at the next start.
    std::fprintf(stderr, "kesmir: the terrain maps will be made again at the next start\n");
    game.settings.MapsGenerated = 0;
    LoadSaveOptions(game, kTrue);
  }
}

void ReleaseGraphics(Game& game) {
  Surfaces& s = game.surfaces;
  for (const PictureEntry& entry : kPictureTable) (s.*entry.surface).Reset();
  s.PicturesLoaded = false;
}

}  // namespace kesmir
