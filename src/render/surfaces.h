// Every drawing surface: the visible and auxiliary picture boxes and one surface per loaded picture.
#pragma once

#include <array>

#include "platform/ports.h"
#include "render/surface.h"

namespace kesmir {

inline constexpr int kFieldSize = 300;
inline constexpr int kStatusWidth = 300;
inline constexpr int kStatusHeight = 76;

struct Surfaces {
  // Picture boxes of the window.
  Surface Field{kFieldSize, kFieldSize};
  Surface Terain{kFieldSize, kFieldSize};
  Surface StatusField{kStatusWidth, kStatusHeight};
  Surface MenuField{kFieldSize, kFieldSize};
  Surface LoadPicDC;
  Surface StatusFieldPicture;  // the status bar's background, shown again when it is cleared

  // Pictures, one surface each, named after the file with "DC" appended.
  Surface MainLogoDC, LoadingDC, LogoDC, SliderMenuDC, SliderDragDC, LayerDC, LayerScoreDC, CheckDC,
      ScoreUpDownDC, Help1DC, Help2DC, Help3DC, CursorMenuDC, MainMenuDC, EnterTextDC, PlayerDC, AiLVL0DC,
      AiLVL1DC, AiLVL2DC, AiLVL3DC, AiLVL4DC, AiLVL5DC, StatusHealthDC, StatusAmmoDC, StatusAccuracyDC,
      StatusRechargeDC, StatusBulletSpeedDC, StatusMeleeDC, StatusScoreDC, HealthDC, AmmoDC, AcidDC,
      AcidHearthDC, BombIconDC, BoomDirtDC, ExplosionDC, AirPlaneDC, CleanerDC, CleanLineDC, DeadDC,
      CursorFireDC, FootDC, BulletsOutDC;

  bool PicturesLoaded = false;
  MemoryStatus MemStatus;  // measured once when the pictures are loaded
};

struct PictureEntry {
  const char* file;
  Surface Surfaces::*surface;
};

// The pictures loaded into surfaces, in loading order; the loading screen's own two come first.
extern const std::array<PictureEntry, 43> kPictureTable;

}  // namespace kesmir
