// The SDL implementation of the platform interfaces: window, keyboard, mouse, dialogs, pictures, fonts.
#pragma once

#include <cstdint>
#include <deque>
#include <list>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "input/key_latch.h"
#include "platform/ports.h"
#include "platform/sdl_pad.h"

struct SDL_Window;
struct SDL_Surface;
typedef struct _TTF_Font TTF_Font;
union SDL_Event;

namespace kesmir {

struct SdlDeleter {
  void operator()(SDL_Window* window) const;
  void operator()(TTF_Font* font) const;
};

// The game window with its canvas; also the source of keyboard, pointer, game controller and dialogs.
class SdlFrontEnd final : public IWindow, public IKeyboard, public IMouse, public IDialogs {
 public:
  // Creates the (hidden) window; Ok() tells whether it worked.
  SdlFrontEnd();
  ~SdlFrontEnd() override;
  bool Ok() const { return window_ != nullptr && drawable_; }

  bool SetScreenMode(bool fullScreen, int canvasWidth, int canvasHeight) override;
  void SetCaption(const std::string& caption) override;
  std::string Caption() const override;
  void Present(PixelView field, Point fieldPos, PixelView status, Point statusPos) override;
  bool PollEvent(WindowEvent& event) override;
  void SetTextInput(bool on) override;

  bool Acquire() override;
  void Release() override;
  bool ReadState(std::uint8_t (&state)[256]) override;

  Point Position() override;
  void Confine(const std::optional<Rect>& canvasRect) override;
  void Warp(Point canvasPoint) override;

  // The game controller, whose events arrive with the window's.
  SdlPad& Pad() { return pad_; }

  bool ShowMessage(const std::string& title, const std::string& text, MessageKind kind) override;

 private:
  bool Translate(const SDL_Event& sdlEvent, WindowEvent& event);
  void UpdateCursorVisibility(Point canvasPoint);
  // The canvas point under a window point, and the window pixels that show a canvas rectangle.
  Point ToCanvas(int windowX, int windowY) const;
  Rect ToWindow(const Rect& canvasRect) const;
  void DrawScaled(SDL_Surface* surface, PixelView view, Point viewPos, const Rect& part);

  std::unique_ptr<SDL_Window, SdlDeleter> window_;
  bool drawable_ = false;
  int canvasWidth_ = 300;
  int canvasHeight_ = 378;
  bool fullScreen_ = false;
  bool shown_ = false;
  bool acquired_ = false;
  Rect fieldRect_{0, 0, 300, 300};
  std::optional<Rect> confined_;
  bool confineSet_ = false;
  bool cursorHidden_ = false;
  bool dirty_ = true;  // the window needs the picture again even if it did not change
  std::vector<std::uint32_t> lastField_;
  std::vector<std::uint32_t> lastStatus_;
  Point lastFieldPos_;
  Point lastStatusPos_;
  // Where the canvas lies in the window: centred on black at scaleNum_ / scaleDen_ window pixels a canvas
  // pixel, the largest whole scale that fits, or less than one when the window is smaller than the canvas.
  int scaleNum_ = 1;
  int scaleDen_ = 1;
  Point origin_;
  std::vector<std::uint32_t> row_;  // a part of a view in the window's pixel format (at most 4 bytes a pixel)
  std::vector<int> sourceColumn_;   // the column of row_ that each window column of a drawn part shows
  std::vector<Rect> changed_;       // the parts of a view that changed since it was last shown
  KeyLatch keyLatch_;
  SdlPad pad_;
  // The last warp: its canvas point, the window pixel it became and the pixel the mouse left. The pointer
  // found on either pixel is reported at the canvas point itself: a scaled window's pixels cannot express
  // every canvas point, and SDL does not warp a pointer confined to the window's rectangle. The mouse moved
  // by hand takes over again.
  Point warpedTo_;
  Point warpedPixel_{-1, -1};
  Point warpedFrom_{-1, -1};
  std::deque<std::uint32_t> typed_;  // characters of text input events not yet delivered
};

// The code points of UTF-8 text; each malformed or cut sequence gives one U+FFFD.
std::vector<std::uint32_t> CodePointsFromUtf8(const std::string& text);

class SdlPictures final : public IPictures {
 public:
  std::optional<Image> Load(const std::string& path) override;
  bool SaveBmp(const std::string& path, PixelView pixels) override;
};

// Text through SDL2_ttf with DejaVu Sans Condensed, its bold face and the fixed-width faces; rendered strings
// are cached, since the menus draw the same texts on every pass.
class SdlFonts final : public IFonts {
 public:
  SdlFonts();
  ~SdlFonts() override;
  TextBitmap Render(const std::string& text, int pointSize, bool bold, bool fixedWidth) override;

 private:
  TTF_Font* Font(int pointSize, bool bold, bool fixedWidth);

  bool ready_ = false;
  bool warned_ = false;
  std::unordered_map<int, std::unique_ptr<TTF_Font, SdlDeleter>> fonts_;
  std::unordered_map<std::string, TextBitmap> cache_;
};

class SystemClock final : public IClock {
 public:
  SystemClock();
  std::uint64_t Micros() override;
  void SleepMicros(std::uint64_t micros) override;
  Date Today() override;

 private:
  std::int64_t startNanos_ = 0;
};

class SystemInfo final : public ISystem {
 public:
  MemoryStatus Memory() override;
};

}  // namespace kesmir
