// SDL window, input, dialogs, pictures and fonts; clock and memory from the system.
#include "platform/sdl_platform.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_image.h>
#include <SDL2/SDL_ttf.h>
#include <sys/prctl.h>
#include <sys/sysinfo.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <thread>
#include <tuple>

#include "core/files.h"
#include "platform/key_codes.h"

namespace kesmir {

void SdlDeleter::operator()(SDL_Window* window) const { SDL_DestroyWindow(window); }
void SdlDeleter::operator()(TTF_Font* font) const { TTF_CloseFont(font); }

namespace {

// Pixels are 0x00BBGGRR words: red, green, blue, pad in memory order.
constexpr Uint32 kPixelFormat = SDL_PIXELFORMAT_XBGR8888;

// The largest whole scale at which the canvas fits comfortably on the desktop.
int WindowScale(int canvasWidth, int canvasHeight) {
  SDL_Rect usable{0, 0, 1024, 768};
  if (SDL_GetDisplayUsableBounds(0, &usable) != 0) SDL_GetDisplayBounds(0, &usable);
  const int byWidth = usable.w * 9 / 10 / canvasWidth;
  const int byHeight = usable.h * 9 / 10 / canvasHeight;
  return std::max(1, std::min(byWidth, byHeight));
}

// Windows-1252 bytes to UTF-8.
std::string Utf8FromAnsi(const std::string& text) {
  static constexpr std::uint16_t kHigh[32] = {
      0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0x8D,   0x017D, 0x8F,   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};
  std::string out;
  out.reserve(text.size());
  for (unsigned char c : text) {
    std::uint32_t code = c;
    if (c >= 0x80 && c < 0xA0) code = kHigh[c - 0x80];
    if (code < 0x80) {
      out += static_cast<char>(code);
    } else if (code < 0x800) {
      out += static_cast<char>(0xC0 | (code >> 6));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (code >> 12));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  return out;
}

// A UTF-8 continuation byte.
bool Continuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Floor division by a divisor above zero, for window points left of or above the canvas.
int FloorDiv(int value, int divisor) { return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor); }

// More runs of changed rows than this in one view are drawn as their common bounds: each run is a request
// to the window system, and a few wider ones cost less than many narrow ones.
constexpr std::size_t kMostRuns = 16;
constexpr int kJoinedGap = 8;

// The parts of a view that differ from the copy kept of it, in view pixels: runs of changed rows, each as
// wide as the changes in it. A view kept at another size (or not kept) counts as changed whole.
void FindChanges(const std::vector<std::uint32_t>& kept, PixelView view, std::vector<Rect>& runs) {
  runs.clear();
  if (!view.pixels) return;
  const auto width = static_cast<std::size_t>(view.width);
  if (kept.size() != width * static_cast<std::size_t>(view.height)) {
    runs.push_back({0, 0, view.width, view.height});
    return;
  }
  bool open = false;
  for (int y = 0; y < view.height; ++y) {
    const std::uint32_t* now = view.pixels + static_cast<std::size_t>(y) * width;
    const std::uint32_t* before = kept.data() + static_cast<std::size_t>(y) * width;
    if (std::memcmp(now, before, width * 4) == 0) {
      // A few unchanged rows between two changed ones are drawn with them: one request instead of two.
      if (open && y - (runs.back().y + runs.back().h) >= kJoinedGap) open = false;
      continue;
    }
    int left = 0;
    int right = view.width;
    while (now[left] == before[left]) ++left;
    while (now[right - 1] == before[right - 1]) --right;
    if (open) {
      Rect& run = runs.back();
      const int runRight = std::max(run.x + run.w, right);
      run.x = std::min(run.x, left);
      run.w = runRight - run.x;
      run.h = y + 1 - run.y;
    } else {
      runs.push_back({left, y, right - left, 1});
      open = true;
    }
  }
  if (runs.size() > kMostRuns) {
    Rect bounds = runs.front();
    for (const Rect& run : runs) {
      const int right = std::max(bounds.x + bounds.w, run.x + run.w);
      bounds.x = std::min(bounds.x, run.x);
      bounds.w = right - bounds.x;
    }
    bounds.h = runs.back().y + runs.back().h - bounds.y;
    runs.assign(1, bounds);
  }
}

// The part of a rectangle inside a surface of the size given.
Rect Clip(const Rect& r, int width, int height) {
  const int left = std::max(r.x, 0);
  const int top = std::max(r.y, 0);
  return {left, top, std::min(r.x + r.w, width) - left, std::min(r.y + r.h, height) - top};
}

void Keep(std::vector<std::uint32_t>& kept, PixelView view) {
  if (!view.pixels) {
    kept.clear();
    return;
  }
  kept.assign(view.pixels, view.pixels + static_cast<std::ptrdiff_t>(view.width) * view.height);
}

}  // namespace

std::vector<std::uint32_t> CodePointsFromUtf8(const std::string& text) {
  constexpr std::uint32_t kReplacement = 0xFFFD;
  std::vector<std::uint32_t> points;
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    // Continuation bytes that follow the lead byte, the lead's payload bits, and the smallest code point that
    // needs that many bytes (a longer form than needed is malformed).
    std::size_t extra = 0;
    std::uint32_t point = lead;
    std::uint32_t least = 0;
    if ((lead & 0xE0) == 0xC0) {
      extra = 1;
      point = lead & 0x1Fu;
      least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      extra = 2;
      point = lead & 0x0Fu;
      least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      extra = 3;
      point = lead & 0x07u;
      least = 0x10000;
    } else if (lead >= 0x80) {
      points.push_back(kReplacement);
      ++i;
      continue;
    }
    std::size_t used = 1;
    while (used <= extra && i + used < text.size() && Continuation(static_cast<unsigned char>(text[i + used]))) {
      point = (point << 6) | (static_cast<unsigned char>(text[i + used]) & 0x3Fu);
      ++used;
    }
    const bool whole = used == extra + 1;
    points.push_back(whole && point >= least && point <= 0x10FFFF ? point : kReplacement);
    i += used;
  }
  return points;
}

SdlFrontEnd::SdlFrontEnd() {
  window_.reset(SDL_CreateWindow("", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, canvasWidth_, canvasHeight_,
                                 SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE));
  if (!window_) {
    std::fprintf(stderr, "kesmir: cannot open the window: %s\n", SDL_GetError());
    return;
  }
  // The game scales its picture itself and shows only what changed. Under X11 the window's own shared-memory
  // image takes that at the cost of a copy; drawing it through OpenGL would cost several milliseconds a frame
  // on a machine whose OpenGL is done in software. Other window systems keep SDL's choice.
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver && std::strcmp(driver, "x11") == 0) {
    SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0", SDL_HINT_DEFAULT);
  }
  drawable_ = SDL_GetWindowSurface(window_.get()) != nullptr;
  if (!drawable_) {
    std::fprintf(stderr, "kesmir: cannot draw into the window: %s\n", SDL_GetError());
    return;
  }
  SDL_StopTextInput();  // SDL starts with text input on; the game turns it on only for the name entry
}

SdlFrontEnd::~SdlFrontEnd() {
  if (window_) SDL_SetWindowMouseRect(window_.get(), nullptr);
}

bool SdlFrontEnd::SetScreenMode(bool fullScreen, int canvasWidth, int canvasHeight) {
  if (!Ok()) return false;
  if (fullScreen) {
    if (SDL_SetWindowFullscreen(window_.get(), SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
      std::fprintf(stderr, "kesmir: cannot switch to full screen: %s\n", SDL_GetError());
      return false;
    }
  } else {
    SDL_SetWindowFullscreen(window_.get(), 0);
    const int scale = WindowScale(canvasWidth, canvasHeight);
    SDL_SetWindowSize(window_.get(), canvasWidth * scale, canvasHeight * scale);
    SDL_SetWindowMinimumSize(window_.get(), canvasWidth, canvasHeight);
    SDL_SetWindowPosition(window_.get(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
  }
  fullScreen_ = fullScreen;
  dirty_ = true;
  canvasWidth_ = canvasWidth;
  canvasHeight_ = canvasHeight;
  if (!shown_) {
    SDL_ShowWindow(window_.get());
    shown_ = true;
  }
  confineSet_ = false;  // the window's rectangle changed: confinement is set anew on the next request
  warpedPixel_ = warpedFrom_ = {-1, -1};  // and a pointer placed on the old layout is not kept
  return true;
}

void SdlFrontEnd::SetCaption(const std::string& caption) {
  if (window_) SDL_SetWindowTitle(window_.get(), caption.c_str());
}

std::string SdlFrontEnd::Caption() const { return window_ ? SDL_GetWindowTitle(window_.get()) : ""; }

Point SdlFrontEnd::ToCanvas(int windowX, int windowY) const {
  const auto axis = [this](int window, int origin) { return FloorDiv((window - origin) * scaleDen_, scaleNum_); };
  return {axis(windowX, origin_.x), axis(windowY, origin_.y)};
}

// Canvas pixel c is shown by the window pixels from the first one whose canvas pixel is c or more (its left
// or top edge rounded up) to the first one of c + 1: at a scale below one, some canvas pixels are shown by none.
Rect SdlFrontEnd::ToWindow(const Rect& canvasRect) const {
  const auto edge = [this](int canvas, int origin) { return origin - FloorDiv(-canvas * scaleNum_, scaleDen_); };
  const int left = edge(canvasRect.x, origin_.x);
  const int top = edge(canvasRect.y, origin_.y);
  const int right = edge(canvasRect.x + canvasRect.w, origin_.x);
  const int bottom = edge(canvasRect.y + canvasRect.h, origin_.y);
  return {left, top, right - left, bottom - top};
}

// Draws a part of a view (in view pixels) into the window's surface at the present scale: every window pixel
// of the part shows the canvas pixel under it; window pixels outside the surface are left out.
void SdlFrontEnd::DrawScaled(SDL_Surface* surface, PixelView view, Point viewPos, const Rect& part) {
  const Rect onCanvas{viewPos.x + part.x, viewPos.y + part.y, part.w, part.h};
  const Rect target = Clip(ToWindow(onCanvas), surface->w, surface->h);
  if (target.w <= 0 || target.h <= 0) return;
  // The view pixels under the target's first and last window pixels bound what is converted.
  const Point first = ToCanvas(target.x, target.y);
  const Point last = ToCanvas(target.x + target.w - 1, target.y + target.h - 1);
  const int columns = last.x - first.x + 1;
  const int rows = last.y - first.y + 1;
  const int bytes = surface->format->BytesPerPixel;
  row_.resize(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows));
  // The window's pixel format holds at most four bytes a pixel, so the converted part fits in row_.
  SDL_ConvertPixels(columns, rows, kPixelFormat,
                    view.pixels + static_cast<std::ptrdiff_t>(first.y - viewPos.y) * view.width + (first.x - viewPos.x),
                    view.width * 4, surface->format->format, row_.data(), columns * bytes);
  sourceColumn_.resize(static_cast<std::size_t>(target.w));
  int* const column = sourceColumn_.data();
  for (int x = 0; x < target.w; ++x) column[x] = ToCanvas(target.x + x, 0).x - first.x;
  const auto* converted = reinterpret_cast<const std::uint8_t*>(row_.data());
  const auto rowBytes = static_cast<std::size_t>(target.w) * static_cast<std::size_t>(bytes);
  const std::uint8_t* previous = nullptr;  // the window row drawn last, and the converted row it shows
  int previousSource = -1;
  for (int y = target.y; y < target.y + target.h; ++y) {
    const int sourceRow = ToCanvas(0, y).y - first.y;
    const std::uint8_t* in = converted + static_cast<std::ptrdiff_t>(sourceRow) * columns * bytes;
    auto* out = static_cast<std::uint8_t*>(surface->pixels) + static_cast<std::ptrdiff_t>(y) * surface->pitch +
                target.x * bytes;
    if (sourceRow == previousSource) {
      std::memcpy(out, previous, rowBytes);
    } else if (bytes == 4) {  // rows of a four-byte surface start on whole pixels
      const auto* in32 = reinterpret_cast<const std::uint32_t*>(in);
      auto* out32 = reinterpret_cast<std::uint32_t*>(out);
      for (int x = 0; x < target.w; ++x) out32[x] = in32[column[x]];
    } else {
      for (int x = 0; x < target.w; ++x) {
        std::memcpy(out + x * bytes, in + column[x] * bytes, static_cast<std::size_t>(bytes));
      }
    }
    previous = out;
    previousSource = sourceRow;
  }
}

void SdlFrontEnd::Present(PixelView field, Point fieldPos, PixelView status, Point statusPos) {
  if (!Ok()) return;
  fieldRect_ = {fieldPos.x, fieldPos.y, field.width, field.height};
  // Fetched on every call: SDL makes a new surface after the window's size changed.
  SDL_Surface* surface = SDL_GetWindowSurface(window_.get());
  if (!surface || surface->w <= 0 || surface->h <= 0) return;
  // The largest whole scale that fits; a window smaller than the canvas (a tiling window manager's layout,
  // or a window resized by hand) shows it scaled down to fit, keeping its aspect.
  int num = std::min(surface->w / canvasWidth_, surface->h / canvasHeight_);
  int den = 1;
  if (num == 0 && surface->w * canvasHeight_ <= surface->h * canvasWidth_) {
    num = surface->w;
    den = canvasWidth_;
  } else if (num == 0) {
    num = surface->h;
    den = canvasHeight_;
  }
  const Point origin{(surface->w - canvasWidth_ * num / den) / 2, (surface->h - canvasHeight_ * num / den) / 2};
  const bool moved = num != scaleNum_ || den != scaleDen_ || origin != origin_;
  const bool whole = dirty_ || moved || fieldPos != lastFieldPos_ || statusPos != lastStatusPos_;
  if (whole) {
    lastField_.clear();
    lastStatus_.clear();
    if (moved) confineSet_ = false;  // the pointer's rectangle moved with the picture
  }
  dirty_ = false;
  scaleNum_ = num;
  scaleDen_ = den;
  origin_ = origin;
  lastFieldPos_ = fieldPos;
  lastStatusPos_ = statusPos;
  if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return;
  if (whole) SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
  // An idle menu shows the same picture pass after pass: only what changed is drawn and shown again. Every
  // rectangle handed on lies inside the window: the X server refuses one that does not.
  std::array<SDL_Rect, 2 * kMostRuns> shown{};
  std::size_t count = 0;
  for (const auto& [view, pos, kept] : {std::tuple{field, fieldPos, &lastField_}, {status, statusPos, &lastStatus_}}) {
    FindChanges(*kept, view, changed_);
    for (const Rect& part : changed_) {
      DrawScaled(surface, view, pos, part);
      const Rect r = Clip(ToWindow({pos.x + part.x, pos.y + part.y, part.w, part.h}), surface->w, surface->h);
      if (r.w > 0 && r.h > 0) shown[count++] = {r.x, r.y, r.w, r.h};
    }
    if (!changed_.empty()) Keep(*kept, view);
  }
  if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
  if (whole) {
    SDL_UpdateWindowSurface(window_.get());
  } else if (count > 0) {
    SDL_UpdateWindowSurfaceRects(window_.get(), shown.data(), static_cast<int>(count));
  }
}

void SdlFrontEnd::UpdateCursorVisibility(Point canvasPoint) {
  // Over the play field the game draws its own pointer.
  const bool overField = fieldRect_.Contains(canvasPoint);
  if (overField != cursorHidden_) {
    SDL_ShowCursor(overField ? SDL_DISABLE : SDL_ENABLE);
    cursorHidden_ = overField;
  }
}

bool SdlFrontEnd::Translate(const SDL_Event& sdlEvent, WindowEvent& event) {
  switch (sdlEvent.type) {
    case SDL_QUIT: event = {EventKind::Close, 0, {}}; return true;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      const bool down = sdlEvent.type == SDL_KEYDOWN;
      keyLatch_.OnKeyEvent(DikFromScancode(sdlEvent.key.keysym.scancode), down, sdlEvent.key.repeat != 0);
      const int vk = VirtualKeyFromScancode(sdlEvent.key.keysym.scancode);
      if (vk == 0) return false;
      event = {down ? EventKind::KeyDown : EventKind::KeyUp, vk, {}};
      return true;
    }
    case SDL_TEXTINPUT:
      for (const std::uint32_t point : CodePointsFromUtf8(sdlEvent.text.text)) typed_.push_back(point);
      return false;
    case SDL_MOUSEMOTION: UpdateCursorVisibility(ToCanvas(sdlEvent.motion.x, sdlEvent.motion.y)); return false;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      int button = 0;
      if (sdlEvent.button.button == SDL_BUTTON_LEFT) button = 1;
      if (sdlEvent.button.button == SDL_BUTTON_RIGHT) button = 2;
      if (button == 0) return false;
      event = {sdlEvent.type == SDL_MOUSEBUTTONDOWN ? EventKind::MouseDown : EventKind::MouseUp, button,
               ToCanvas(sdlEvent.button.x, sdlEvent.button.y)};
      return true;
    }
    case SDL_CONTROLLERDEVICEADDED:
    case SDL_CONTROLLERDEVICEREMOVED:
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP: pad_.OnEvent(sdlEvent); return false;
    case SDL_WINDOWEVENT:
      if (sdlEvent.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) confineSet_ = false;
      if (sdlEvent.window.event == SDL_WINDOWEVENT_EXPOSED || sdlEvent.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
        dirty_ = true;
      }
      if (sdlEvent.window.event == SDL_WINDOWEVENT_LEAVE && cursorHidden_) {
        SDL_ShowCursor(SDL_ENABLE);
        cursorHidden_ = false;
      }
      if (sdlEvent.window.event == SDL_WINDOWEVENT_FOCUS_LOST || sdlEvent.window.event == SDL_WINDOWEVENT_MINIMIZED) {
        event = {EventKind::FocusLost, 0, {}};
        return true;
      }
      return false;
    default: return false;
  }
}

bool SdlFrontEnd::PollEvent(WindowEvent& event) {
  // One SDL text event may carry several characters: each is delivered as an event of its own, in order.
  const auto deliverTyped = [this, &event] {
    event = {EventKind::TextInput, static_cast<int>(typed_.front()), {}};
    typed_.pop_front();
    return true;
  };
  if (!typed_.empty()) return deliverTyped();
  SDL_Event sdlEvent;
  while (SDL_PollEvent(&sdlEvent)) {
    if (Translate(sdlEvent, event)) return true;
    if (!typed_.empty()) return deliverTyped();
  }
  return false;
}

void SdlFrontEnd::SetTextInput(bool on) {
  if (on) {
    SDL_StartTextInput();
  } else {
    SDL_StopTextInput();
    typed_.clear();
  }
}

bool SdlFrontEnd::Acquire() {
  acquired_ = true;
  return true;
}

void SdlFrontEnd::Release() { acquired_ = false; }

bool SdlFrontEnd::ReadState(std::uint8_t (&state)[256]) {
  if (!acquired_) return false;
  SDL_PumpEvents();
  int count = 0;
  const Uint8* keys = SDL_GetKeyboardState(&count);
  std::memset(state, 0, sizeof state);
  for (int scancode = 0; scancode < count; ++scancode) {
    if (!keys[scancode]) continue;
    const int dik = DikFromScancode(static_cast<SDL_Scancode>(scancode));
    if (dik > 0) state[dik] = 0x80;
  }
  keyLatch_.Read(state);
  return true;
}

Point SdlFrontEnd::Position() {
  if (!Ok()) return {};
  int x = 0;
  int y = 0;
  SDL_GetMouseState(&x, &y);
  if (Point{x, y} == warpedPixel_ || Point{x, y} == warpedFrom_) return warpedTo_;
  return ToCanvas(x, y);
}

void SdlFrontEnd::Confine(const std::optional<Rect>& canvasRect) {
  if (!Ok()) return;
  const bool same = confineSet_ && confined_.has_value() == canvasRect.has_value() &&
                    (!canvasRect || (confined_->x == canvasRect->x && confined_->y == canvasRect->y &&
                                     confined_->w == canvasRect->w && confined_->h == canvasRect->h));
  if (same) return;
  confined_ = canvasRect;
  confineSet_ = true;
  if (!canvasRect) {
    SDL_SetWindowMouseRect(window_.get(), nullptr);
    return;
  }
  const Rect shown = ToWindow(*canvasRect);
  const SDL_Rect rect{shown.x, shown.y, std::max(1, shown.w), std::max(1, shown.h)};
  SDL_SetWindowMouseRect(window_.get(), &rect);
}

void SdlFrontEnd::Warp(Point canvasPoint) {
  if (!Ok()) return;
  // The middle of the window pixels that show the canvas pixel, so that reading it back gives the same pixel.
  const Rect shown = ToWindow({canvasPoint.x, canvasPoint.y, 1, 1});
  const int x = shown.x + shown.w / 2;
  const int y = shown.y + shown.h / 2;
  SDL_GetMouseState(&warpedFrom_.x, &warpedFrom_.y);
  SDL_WarpMouseInWindow(window_.get(), x, y);
  warpedTo_ = canvasPoint;
  warpedPixel_ = {x, y};
}

bool SdlFrontEnd::ShowMessage(const std::string& title, const std::string& text, MessageKind kind) {
  const SDL_MessageBoxButtonData ok[] = {{SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "OK"}};
  const SDL_MessageBoxButtonData yesNo[] = {{SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "Yes"},
                                            {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "No"}};
  SDL_MessageBoxData data{};
  data.flags = kind == MessageKind::Warning ? SDL_MESSAGEBOX_WARNING : SDL_MESSAGEBOX_INFORMATION;
  data.window = window_.get();
  data.title = title.c_str();
  data.message = text.c_str();
  data.numbuttons = kind == MessageKind::YesNo ? 2 : 1;
  data.buttons = kind == MessageKind::YesNo ? yesNo : ok;
  int chosen = 0;
  if (SDL_ShowMessageBox(&data, &chosen) != 0) {
    std::fprintf(stderr, "kesmir: %s: %s\n", title.c_str(), text.c_str());
    return false;
  }
  return chosen == 1;
}

std::optional<Image> SdlPictures::Load(const std::string& path) {
  if (!IsRegularFile(path)) return std::nullopt;  // a FIFO in a picture's place would never end its read
  SDL_Surface* loaded = IMG_Load(path.c_str());
  if (!loaded) return std::nullopt;
  SDL_Surface* converted = SDL_ConvertSurfaceFormat(loaded, kPixelFormat, 0);
  SDL_FreeSurface(loaded);
  if (!converted) return std::nullopt;
  Image image;
  image.width = converted->w;
  image.height = converted->h;
  image.pixels.resize(static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height));
  SDL_LockSurface(converted);
  for (int y = 0; y < image.height; ++y) {
    std::memcpy(image.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width),
                static_cast<const std::uint8_t*>(converted->pixels) + static_cast<std::ptrdiff_t>(y) * converted->pitch,
                static_cast<std::size_t>(image.width) * 4);
  }
  SDL_UnlockSurface(converted);
  SDL_FreeSurface(converted);
  return image;
}

bool SdlPictures::SaveBmp(const std::string& path, PixelView pixels) {
  if (!pixels.pixels || pixels.width <= 0 || pixels.height <= 0) return false;
  SDL_Surface* view = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint32_t*>(pixels.pixels), pixels.width,
                                                         pixels.height, 32, pixels.width * 4, kPixelFormat);
  if (!view) return false;
  SDL_Surface* rgb = SDL_ConvertSurfaceFormat(view, SDL_PIXELFORMAT_BGR24, 0);
  SDL_FreeSurface(view);
  if (!rgb) return false;
  const std::string temp = path + ".tmp";
  const bool saved = SDL_SaveBMP(rgb, temp.c_str()) == 0;
  SDL_FreeSurface(rgb);
  std::error_code ec;
  if (saved) std::filesystem::rename(temp, path, ec);
  if (!saved || ec) {
    std::filesystem::remove(temp, ec);
    return false;
  }
  return true;
}

SdlFonts::SdlFonts() {
  ready_ = TTF_WasInit() || TTF_Init() == 0;
  if (!ready_) std::fprintf(stderr, "kesmir: text drawing unavailable: %s\n", TTF_GetError());
}

SdlFonts::~SdlFonts() {
  cache_.clear();
  fonts_.clear();
  if (ready_) TTF_Quit();
}

TTF_Font* SdlFonts::Font(int pointSize, bool bold, bool fixedWidth) {
  pointSize = std::clamp(pointSize, 1, 200);
  const int key = pointSize * 4 + (bold ? 1 : 0) + (fixedWidth ? 2 : 0);
  if (auto it = fonts_.find(key); it != fonts_.end()) return it->second.get();
  // A narrow face comes closest to the narrow window-system font the screens were laid out for: with it the
  // longest menu lines fit the 270-pixel panel, buttons on one line keep apart and a score column of five
  // digits stays clear of the next column. The condensed face stands in when the narrow one is missing.
  static constexpr const char* kFaces[4][2] = {
      {"/usr/share/fonts/truetype/liberation/LiberationSansNarrow-Regular.ttf",
       "/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed.ttf"},
      {"/usr/share/fonts/truetype/liberation/LiberationSansNarrow-Bold.ttf",
       "/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed-Bold.ttf"},
      {"/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf", nullptr},
      {"/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf", nullptr}};
  const auto& faces = kFaces[(fixedWidth ? 2 : 0) + (bold ? 1 : 0)];
  TTF_Font* font = TTF_OpenFontDPI(faces[0], pointSize, 96, 96);
  if (!font && faces[1]) font = TTF_OpenFontDPI(faces[1], pointSize, 96, 96);
  if (!font && !warned_) {
    std::fprintf(stderr, "kesmir: cannot open font %s; texts are not drawn\n", faces[0]);
    warned_ = true;
  }
  fonts_[key].reset(font);
  return font;
}

TextBitmap SdlFonts::Render(const std::string& text, int pointSize, bool bold, bool fixedWidth) {
  if (!ready_ || text.empty()) return {};
  std::string key = std::to_string(pointSize) + (bold ? "b" : "n") + (fixedWidth ? "f" : "p") + '\x01' + text;
  if (auto it = cache_.find(key); it != cache_.end()) return it->second;
  TTF_Font* font = Font(pointSize, bold, fixedWidth);
  if (!font) return {};
  TextBitmap bitmap;
  SDL_Surface* rendered = TTF_RenderUTF8_Blended(font, Utf8FromAnsi(text).c_str(), SDL_Color{255, 255, 255, 255});
  if (rendered) {
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(rendered);
    if (argb) {
      bitmap.width = argb->w;
      bitmap.height = argb->h;
      bitmap.coverage.resize(static_cast<std::size_t>(argb->w) * static_cast<std::size_t>(argb->h));
      SDL_LockSurface(argb);
      for (int y = 0; y < argb->h; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(static_cast<const std::uint8_t*>(argb->pixels) +
                                                                 static_cast<std::ptrdiff_t>(y) * argb->pitch);
        for (int x = 0; x < argb->w; ++x) {
          bitmap.coverage[static_cast<std::size_t>(y) * static_cast<std::size_t>(argb->w) +
                          static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(row[x] >> 24);
        }
      }
      SDL_UnlockSurface(argb);
      SDL_FreeSurface(argb);
    }
  }
  if (cache_.size() > 2048) cache_.clear();  // bounded: the game's texts are a small, repeating set
  cache_.emplace(std::move(key), bitmap);
  return bitmap;
}

SystemClock::SystemClock()
    : startNanos_(std::chrono::duration_cast<std::chrono::nanoseconds>(
                      std::chrono::steady_clock::now().time_since_epoch())
                      .count()) {
  // Sleeps end within a few microseconds of their time instead of the default 50: the pacing spins less.
  prctl(PR_SET_TIMERSLACK, 5000UL, 0UL, 0UL, 0UL);
}

std::uint64_t SystemClock::Micros() {
  const auto now =
      std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
          .count();
  return static_cast<std::uint64_t>((now - startNanos_) / 1000);
}

void SystemClock::SleepMicros(std::uint64_t micros) {
  std::this_thread::sleep_for(std::chrono::microseconds(micros));
}

Date SystemClock::Today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (!localtime_r(&now, &local)) return {};
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

MemoryStatus SystemInfo::Memory() {
  struct sysinfo info {};
  if (sysinfo(&info) != 0) return {};
  const std::uint64_t unit = info.mem_unit ? info.mem_unit : 1;
  return {static_cast<std::uint64_t>(info.totalram) * unit,
          (static_cast<std::uint64_t>(info.freeram) + static_cast<std::uint64_t>(info.bufferram)) * unit};
}

}  // namespace kesmir
