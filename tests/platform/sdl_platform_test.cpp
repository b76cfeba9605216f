// The SDL platform parts that work without a window: picture files, fonts, key codes, clock, memory.
#include "platform/sdl_platform.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_image.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <tuple>
#include <unistd.h>

#include "platform/key_codes.h"

namespace kesmir {
namespace {

namespace fs = std::filesystem;

class SdlPlatform : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_EQ(SDL_Init(SDL_INIT_TIMER | SDL_INIT_EVENTS), 0) << SDL_GetError();
    IMG_Init(IMG_INIT_JPG);
  }
  static void TearDownTestSuite() {
    IMG_Quit();
    SDL_Quit();
  }
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("kesmir-sdl-" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path dir_;
};

const fs::path kPictures = fs::path(KESMIR_GAME_DIR) / "Pictures";

TEST_F(SdlPlatform, RealPicturesDecodeAndBrokenOnesAreRefused) {
  SdlPictures pictures;
  const auto player = pictures.Load((kPictures / "Player.jpg").string());
  ASSERT_TRUE(player.has_value());
  EXPECT_EQ(player->width, 72 * 21);
  EXPECT_EQ(player->height, 42);
  EXPECT_EQ(player->pixels.size(), 72u * 21u * 42u);

  EXPECT_FALSE(pictures.Load((dir_ / "missing.jpg").string()).has_value());
  std::ofstream(dir_ / "text.jpg") << "this is not a picture";
  EXPECT_FALSE(pictures.Load((dir_ / "text.jpg").string()).has_value());
  std::ofstream(dir_ / "empty.jpg");
  EXPECT_FALSE(pictures.Load((dir_ / "empty.jpg").string()).has_value());

  // A truncated JPEG either fails or decodes to a picture of the right size; it never crashes.
  std::ifstream in(kPictures / "MainMenu.jpg", std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), {});
  ASSERT_GT(bytes.size(), 1000u);
  std::ofstream(dir_ / "cut.jpg", std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size() / 3));
  if (const auto cut = pictures.Load((dir_ / "cut.jpg").string())) {
    EXPECT_EQ(cut->width, 270);
    EXPECT_EQ(cut->height, 270);
  }
}

TEST_F(SdlPlatform, SavedBitmapsReadBackWithTheSameColours) {
  SdlPictures pictures;
  std::vector<std::uint32_t> pixels(300 * 300, 0x00336699);  // red 0x99, green 0x66, blue 0x33
  pixels[5 * 300 + 7] = 0x000000FF;                          // pure red
  const std::string path = (dir_ / "Picture42.bmp").string();
  ASSERT_TRUE(pictures.SaveBmp(path, {pixels.data(), 300, 300}));
  EXPECT_FALSE(fs::exists(path + ".tmp"));
  const auto back = pictures.Load(path);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->width, 300);
  EXPECT_EQ(back->pixels[0] & 0xFFFFFFu, 0x00336699u);
  EXPECT_EQ(back->pixels[5 * 300 + 7] & 0xFFFFFFu, 0x000000FFu);
  EXPECT_FALSE(pictures.SaveBmp((dir_ / "no-such-folder" / "x.bmp").string(), {pixels.data(), 300, 300}));
}

TEST_F(SdlPlatform, TextRendersAtWindowsLikeSizesAndBoldIsHeavier) {
  SdlFonts fonts;
  const TextBitmap normal = fonts.Render("RESUME GAME", 12, false, false);
  const TextBitmap bold = fonts.Render("RESUME GAME", 12, true, false);
  ASSERT_GT(normal.width, 0);
  // 12 points at 96 dpi is 16 pixels of em; the text cell is a little taller.
  EXPECT_GE(normal.height, 16);
  EXPECT_LE(normal.height, 22);
  auto ink = [](const TextBitmap& b) {
    long sum = 0;
    for (auto c : b.coverage) sum += c;
    return sum;
  };
  EXPECT_GT(ink(bold), ink(normal));
  EXPECT_GT(fonts.Render("Ram:50%", 8, false, true).width, 0);
  EXPECT_EQ(fonts.Render("", 10, false, false).width, 0);
  EXPECT_GT(fonts.Render("caf\xE9 \x80", 10, false, false).width, 0);  // Windows-1252 bytes

  // Neighbours on the screens keep visible space between them: each text ends at least 2 pixels before the
  // next thing drawn on its line.
  struct Neighbour {
    const char* text;
    int size;
    bool bold;
    int x, next;
  };
  for (const Neighbour& n : {Neighbour{"100.", 9, false, 30, 50}, Neighbour{"32767", 7, false, 50, 75},
                             Neighbour{"MAIN MENU", 10, true, 30, 111}, Neighbour{"MAIN MENU", 10, true, 30, 125},
                             Neighbour{"RESUME GAME", 10, true, 30, 160}, Neighbour{"WORLD SCORES", 10, true, 30, 160}}) {
    EXPECT_LE(n.x + fonts.Render(n.text, n.size, n.bold, false).width, n.next - 2) << n.text;
  }
}

// The window shows the canvas at the largest whole scale that fits, centred on black, or scaled down to fit a
// window smaller than the canvas; after a change only the changed parts are drawn again, and the result is
// still the whole canvas. Pointer positions map back to the canvas pixel under them, also left of and above
// it, and keys go by their place on the keyboard.
TEST_F(SdlPlatform, TheCanvasIsShownAtAWholeScaleAndThePointerMapsBackToIt) {
  SDL_SetHint(SDL_HINT_VIDEODRIVER, "dummy");
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
  {
    SdlFrontEnd front;
    ASSERT_TRUE(front.Ok());
    ASSERT_TRUE(front.SetScreenMode(false, 300, 378));
    SDL_Window* window = SDL_GetWindowFromID(1);
    std::vector<std::uint32_t> field(300 * 300);
    std::vector<std::uint32_t> status(300 * 76);
    for (std::size_t i = 0; i < field.size(); ++i) field[i] = static_cast<std::uint32_t>(i * 2654435761u) & 0xFFFFFF;
    for (std::size_t i = 0; i < status.size(); ++i) status[i] = static_cast<std::uint32_t>(i * 40503u) & 0xFFFFFF;
    const auto present = [&] { front.Present({field.data(), 300, 300}, {0, 0}, {status.data(), 300, 76}, {0, 300}); };
    // Each window pixel shows the canvas pixel under it, at num/den window pixels a canvas pixel.
    const auto expectShown = [&](int num, int den, int left, int top) {
      SDL_Surface* surface = SDL_GetWindowSurface(window);
      int wrong = 0;
      for (int y = 0; y < surface->h; ++y) {
        for (int x = 0; x < surface->w; ++x) {
          const int cx = (x - left) * den / num, cy = (y - top) * den / num;
          const bool inside = x >= left && y >= top && cx < 300 && cy < 376;  // two black rows below
          const std::uint32_t c = !inside ? 0u : cy < 300 ? field[cy * 300 + cx] : status[(cy - 300) * 300 + cx];
          Uint32 shown = 0;
          std::memcpy(&shown, static_cast<const std::uint8_t*>(surface->pixels) + y * surface->pitch + x * 4, 4);
          const Uint32 wanted = SDL_MapRGB(surface->format, static_cast<Uint8>(c), static_cast<Uint8>(c >> 8),
                                           static_cast<Uint8>(c >> 16));
          wrong += (shown & 0xFFFFFF) != (wanted & 0xFFFFFF);
        }
      }
      EXPECT_EQ(wrong, 0) << "at " << surface->w << "x" << surface->h;
    };
    SDL_SetWindowMinimumSize(window, 1, 1);  // as a tiling window manager or a resize by hand ignores it
    for (const auto& [w, h, num, den, left, top] :
         {std::tuple{290, 378, 290, 300, 0, 6}, std::tuple{400, 250, 250, 378, 101, 0},
          std::tuple{650, 800, 2, 1, 25, 22}, std::tuple{905, 1140, 3, 1, 2, 3}}) {
      SDL_SetWindowSize(window, w, h);
      SDL_PumpEvents();
      present();
      expectShown(num, den, left, top);
      for (int y = 120; y < 123; ++y) field[y * 300 + 100] ^= 0x00FF00;
      status[75 * 300 + 299] = 0xFFFFFF;
      present();
      expectShown(num, den, left, top);
      if (w != 400) continue;
      // Scaled down, the pointer's rectangle is the field's window pixels, and a click maps to the canvas.
      front.Confine(Rect{0, 0, 300, 300});
      const SDL_Rect held = *SDL_GetWindowMouseRect(window);
      EXPECT_EQ(std::tuple(held.x, held.y, held.w, held.h), std::tuple(101, 0, 199, 199));
      SDL_Event click{};
      click.button = {SDL_MOUSEBUTTONDOWN, 0, SDL_GetWindowID(window), 0, SDL_BUTTON_LEFT, SDL_PRESSED, 1, 0, 200, 125};
      SDL_PushEvent(&click);
      WindowEvent event;
      ASSERT_TRUE(front.PollEvent(event));
      EXPECT_EQ(event.position, (Point{149, 189}));  // 99 and 125 window pixels at 250/378
      while (front.PollEvent(event)) {}  // the rest of the events SDL had
      front.Confine(std::nullopt);
    }
    SDL_WarpMouseInWindow(window, 2 + 3 * 150 + 2, 3 + 3 * 377);
    EXPECT_EQ(front.Position(), (Point{150, 377}));
    SDL_Event click{};
    click.type = SDL_MOUSEBUTTONDOWN;
    click.button.button = SDL_BUTTON_LEFT;
    click.button.windowID = SDL_GetWindowID(window);
    SDL_PushEvent(&click);  // at the window's corner: left of and above the canvas
    // On a French keyboard the key at Q's place types A, and the one at A's place types Q: the fire-mode key is
    // the one at Q's place. A window minimised has lost the focus.
    const Uint32 id = SDL_GetWindowID(window);
    SDL_Event others[3] = {};
    others[0].key = {SDL_KEYUP, 0, id, SDL_RELEASED, 0, 0, 0, {SDL_SCANCODE_Q, SDLK_a, 0, 0}};
    others[1].key = {SDL_KEYUP, 0, id, SDL_RELEASED, 0, 0, 0, {SDL_SCANCODE_A, SDLK_q, 0, 0}};
    others[2].window = {SDL_WINDOWEVENT, 0, id, SDL_WINDOWEVENT_MINIMIZED, 0, 0, 0, 0, 0};
    for (SDL_Event& other : others) SDL_PushEvent(&other);
    WindowEvent event;
    ASSERT_TRUE(front.PollEvent(event));
    EXPECT_EQ(event.position, (Point{-1, -1}));
    for (const auto& [kind, code] : {std::pair{EventKind::KeyUp, 81}, {EventKind::KeyUp, 65}, {EventKind::FocusLost, 0}}) {
      ASSERT_TRUE(front.PollEvent(event));
      EXPECT_EQ(std::pair(event.kind, event.code), std::pair(kind, code));
    }
  }
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

TEST(KeyCodes, TheGamesKeysMapToTheirDirectInputAndVirtualCodes) {
  EXPECT_EQ(DikFromScancode(SDL_SCANCODE_ESCAPE), 1);
  EXPECT_EQ(DikFromScancode(SDL_SCANCODE_W), 17);
  EXPECT_EQ(DikFromScancode(SDL_SCANCODE_RETURN), 28);
  EXPECT_EQ(DikFromScancode(SDL_SCANCODE_X), 45);
  EXPECT_EQ(DikFromScancode(SDL_SCANCODE_KP_MINUS), 74);
  EXPECT_EQ(DikFromScancode(SDL_SCANCODE_KP_PLUS), 78);
  EXPECT_EQ(DikFromScancode(SDL_SCANCODE_UP), 200);
  EXPECT_EQ(DikFromScancode(SDL_SCANCODE_DOWN), 208);
  EXPECT_EQ(DikFromScancode(SDL_SCANCODE_INSERT), 210);
  EXPECT_EQ(DikFromScancode(SDL_SCANCODE_UNKNOWN), 0);
}

TEST(SystemParts, TheClockMovesForwardAndMemoryIsReported) {
  SystemClock clock;
  const auto start = clock.Micros();
  clock.SleepMicros(2000);
  EXPECT_GE(clock.Micros() - start, 2000u);
  SystemInfo system;
  const MemoryStatus memory = system.Memory();
  EXPECT_GT(memory.totalPhys, 0u);
  EXPECT_LE(memory.availPhys, memory.totalPhys);
}

}  // namespace
}  // namespace kesmir
