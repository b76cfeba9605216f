// The terrain generator: derives the four play maps from the shipped base maps once per installation.
#include "terrain/generator.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <string>
#include <system_error>

#include "app/folders.h"
#include "app/options.h"
#include "app/window_events.h"
#include "terrain/pixel_filters.h"

namespace kesmir {

namespace {

constexpr int kMaps = 4;
constexpr Long kDiffuseSide = 315;  // reads past the 300x300 map: only its two-pixel fringe can notice
constexpr Long kScaledSide = 304;   // the map grows by 4 pixels and its right and bottom 4 fall off
constexpr Integer kDiffuseAmount = 2;
constexpr Integer kBlurRadius = 2;

// Announces a step over the main logo and shows it before the step starts.
void ShowCaption(Game& game, int map, const char* step) {
  Surfaces& s = game.surfaces;
  BitBlt(s.Field, 0, 0, kFieldSize, kFieldSize, s.MainLogoDC, 0, 0, RasterOp::SrcCopy);
  std::string caption = "Map " + std::to_string(map) + "/4 - " + step;
  game.app.LoadingCaption = caption;
  std::transform(caption.begin(), caption.end(), caption.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  if (game.platform.fonts) TextOutA(s.Field, *game.platform.fonts, 2, 286, "   " + caption);
  RefreshScreen(game);
}

// Loads a base map into Terain. False, said on standard error, when it is missing or not a picture.
bool LoadBaseMap(Game& game, int map) {
  const auto path = DataPath(game, "Pictures/Map0" + std::to_string(map) + ".jpg");
  Surface picture;
  if (game.platform.pictures) {
    if (auto image = game.platform.pictures->Load(path.string())) picture.Assign(*image);
  }
  if (picture.Empty()) {
    std::fprintf(stderr, "kesmir: cannot load picture %s; the terrain maps will be made at the next start\n",
                 path.c_str());
    return false;
  }
  game.surfaces.Terain.SetPicture(picture);
  return true;
}

// Runs the four filter steps on one map. False when the window was closed meanwhile.
bool FilterMap(Game& game, int map, Surface& work) {
  ShowCaption(game, map, "Diffuse 1");
  game.Randomize();
  Diffuse(game.random, work, kDiffuseSide, kDiffuseSide, work, kDiffuseAmount);
  ShowCaption(game, map, "Blur");
  Blur(work, kFieldSize, kFieldSize, work, kBlurRadius);
  ShowCaption(game, map, "Diffuse 2");
  game.Randomize();
  Diffuse(game.random, work, kDiffuseSide, kDiffuseSide, work, kDiffuseAmount);
  ShowCaption(game, map, "ScaleUp");
  ScaleUp(work, kFieldSize, kFieldSize, work, kScaledSide, kScaledSide, [&game] { DoEvents(game); });
  return !game.app.Ended;
}

}  // namespace

void GenerateMaps(Game& game) {
  if (game.settings.MapsGenerated == 1) return;
  Surfaces& s = game.surfaces;
  const std::uint64_t started = game.platform.clock ? game.platform.clock->Micros() : 0;
  DoEvents(game);
  if (game.app.Ended) return;
  RefreshScreen(game);
  BitBlt(s.Field, 0, 0, kFieldSize, kFieldSize, s.MainLogoDC, 0, 0, RasterOp::SrcCopy);
  s.Field.foreColour = Rgb(192, 255, 192);
  s.Field.fontSize = 10;
  std::error_code ec;
  std::filesystem::create_directories(UserPath(game, "Pictures"), ec);

  // Each map is filtered in a copy of its base picture and then becomes Terain, so that Terain ends with the
  // last generated map, which the menu and a first game show. A failing step abandons the generator: maps
  // already written stay, and the next start runs it again.
  for (int map = 1; map <= kMaps; ++map) {
    if (!LoadBaseMap(game, map)) return;
    Surface work = s.Terain;
    if (!FilterMap(game, map, work)) return;
    const auto path = UserPath(game, "Pictures/Map0" + std::to_string(map) + ".bmp");
    if (!game.platform.pictures || !game.platform.pictures->SaveBmp(path.string(), work.View())) {
      std::fprintf(stderr, "kesmir: cannot write %s; the terrain maps will be made at the next start\n",
                   path.c_str());
      return;
    }
    s.Terain.SetPicture(work);
  }
  game.settings.MapsGenerated = 1;
  LoadSaveOptions(game, kTrue);
  if (game.app.ReportStartupTime && game.platform.clock) {
    std::fprintf(stderr, "kesmir: terrain maps took %.1f ms\n",
                 static_cast<double>(game.platform.clock->Micros() - started) / 1000.0);
  }
}

}  // namespace kesmir
