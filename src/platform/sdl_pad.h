// The game controller through SDL: the first pad connected drives the game, pads come and go at any time.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>

#include "input/key_latch.h"
#include "platform/ports.h"

typedef struct _SDL_GameController SDL_GameController;
union SDL_Event;

namespace kesmir {

struct SdlPadDeleter {
  void operator()(SDL_GameController* controller) const;
};

class ScriptedPad;

class SdlPad final : public IPad {
 public:
  SdlPad();
  ~SdlPad() override;
  // Adds the mappings of a gamecontrollerdb.txt (SDL's own database and SDL_GAMECONTROLLERCONFIG are read by
  // SDL itself); a missing file is no error.
  static void AddMappings(const std::filesystem::path& file);

  // Controller events: a pad plugged in, pulled out, a button pressed or released.
  void OnEvent(const SDL_Event& event);
  PadState ReadPad() override;
  void Rumble(int milliseconds) override;
  // A test hook: attaches a virtual pad in this process and drives it by the lines appended to a file, each
  // "axis NAME VALUE", "button NAME 0|1", "detach" or "attach", with SDL's names of axes and buttons.
  void DriveFrom(const std::filesystem::path& script);

 private:
  void OpenFirst();

  std::unique_ptr<SDL_GameController, SdlPadDeleter> controller_;
  int instance_ = -1;
  bool lost_ = false;
  KeyLatch taps_;  // a button pressed and released between two reads, by SDL's button number + 1
  std::unique_ptr<ScriptedPad> script_;
};

}  // namespace kesmir
