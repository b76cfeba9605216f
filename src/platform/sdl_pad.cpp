// The game controller through SDL's game controller interface, and the scripted virtual pad of the tests.
#include "platform/sdl_pad.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>

namespace kesmir {

void SdlPadDeleter::operator()(SDL_GameController* controller) const { SDL_GameControllerClose(controller); }

namespace {

struct ButtonBit {
  SDL_GameControllerButton button;
  std::uint32_t bit;
};

constexpr ButtonBit kButtons[] = {
    {SDL_CONTROLLER_BUTTON_A, kPadA},
    {SDL_CONTROLLER_BUTTON_B, kPadB},
    {SDL_CONTROLLER_BUTTON_BACK, kPadBack},
    {SDL_CONTROLLER_BUTTON_START, kPadStart},
    {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, kPadLeftShoulder},
    {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, kPadRightShoulder},
    {SDL_CONTROLLER_BUTTON_DPAD_UP, kPadUp},
    {SDL_CONTROLLER_BUTTON_DPAD_DOWN, kPadDown},
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, kPadLeft},
    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, kPadRight},
};

}  // namespace

// The virtual pad of the test hook: SDL's virtual controller, whose axes and buttons are numbered as SDL's
// game controller names them.
class ScriptedPad {
 public:
  explicit ScriptedPad(const std::filesystem::path& script) : script_(script) {
    if (!script_) std::fprintf(stderr, "kesmir: cannot read the pad script %s\n", script.c_str());
    Attach();
  }
  ~ScriptedPad() { Detach(); }

  void Step() {
    std::string line;
    bool ran = false;
    while (script_) {
      const auto at = script_.tellg();
      // A line not yet ended is read again on the next step, once its writer has finished it.
      if (!std::getline(script_, line) || script_.eof()) {
        script_.clear();
        script_.seekg(at);
        break;
      }
      Run(line);
      ran = true;
    }
    if (ran) SDL_GameControllerUpdate();  // the pad's new state is read at once
  }

 private:
  void Run(const std::string& line) {
    std::istringstream words(line);
    std::string verb;
    std::string name;
    int value = 0;
    words >> verb >> name >> value;
    if (verb == "attach") {
      Attach();
    } else if (verb == "detach") {
      Detach();
    } else if (const auto axis = SDL_GameControllerGetAxisFromString(name.c_str());
               verb == "axis" && axis != SDL_CONTROLLER_AXIS_INVALID) {
      // A trigger's value (0 .. 32767) spans the whole raw axis, whose lowest value is the trigger at rest.
      const bool trigger = axis == SDL_CONTROLLER_AXIS_TRIGGERLEFT || axis == SDL_CONTROLLER_AXIS_TRIGGERRIGHT;
      const int raw = std::clamp(trigger ? value * 2 - 32768 : value, -32768, 32767);
      SDL_JoystickSetVirtualAxis(joystick_.get(), axis, static_cast<Sint16>(raw));
    } else if (verb == "button" &&
               SDL_GameControllerGetButtonFromString(name.c_str()) != SDL_CONTROLLER_BUTTON_INVALID) {
      SDL_JoystickSetVirtualButton(joystick_.get(), SDL_GameControllerGetButtonFromString(name.c_str()),
                                   static_cast<Uint8>(value != 0));
    } else {
      std::fprintf(stderr, "kesmir: the pad script's line \"%s\" is not understood\n", line.c_str());
    }
  }

  void Attach() {
    if (joystick_) return;
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.name = "Kesmir virtual pad";
    const int device = SDL_JoystickAttachVirtualEx(&desc);
    if (device >= 0) joystick_.reset(SDL_JoystickOpen(device));
    if (!joystick_) std::fprintf(stderr, "kesmir: cannot attach a virtual pad: %s\n", SDL_GetError());
  }

  void Detach() {
    if (!joystick_) return;
    const SDL_JoystickID id = SDL_JoystickInstanceID(joystick_.get());
    joystick_.reset();
    for (int device = 0; device < SDL_NumJoysticks(); ++device) {
      if (SDL_JoystickGetDeviceInstanceID(device) == id) SDL_JoystickDetachVirtual(device);
    }
  }

  std::ifstream script_;
  std::unique_ptr<SDL_Joystick, decltype(&SDL_JoystickClose)> joystick_{nullptr, SDL_JoystickClose};
};

SdlPad::SdlPad() = default;
SdlPad::~SdlPad() = default;

void SdlPad::AddMappings(const std::filesystem::path& file) {
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) return;
  if (SDL_GameControllerAddMappingsFromFile(file.c_str()) < 0) {
    std::fprintf(stderr, "kesmir: cannot read the pad mappings in %s: %s\n", file.c_str(), SDL_GetError());
  }
}

void SdlPad::DriveFrom(const std::filesystem::path& script) { script_ = std::make_unique<ScriptedPad>(script); }

void SdlPad::OpenFirst() {
  for (int device = 0; device < SDL_NumJoysticks() && !controller_; ++device) {
    if (!SDL_IsGameController(device)) continue;
    controller_.reset(SDL_GameControllerOpen(device));
    if (controller_) instance_ = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller_.get()));
  }
}

void SdlPad::OnEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED:
      if (!controller_) OpenFirst();
      break;
    case SDL_CONTROLLERDEVICEREMOVED:
      if (event.cdevice.which != instance_) break;
      controller_.reset();
      instance_ = -1;
      taps_ = {};
      lost_ = true;
      OpenFirst();  // another pad plugged in takes over
      break;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
      if (event.cbutton.which == instance_) {
        taps_.OnKeyEvent(event.cbutton.button + 1, event.type == SDL_CONTROLLERBUTTONDOWN, false);
      }
      break;
    default: break;
  }
}

PadState SdlPad::ReadPad() {
  if (script_) script_->Step();
  PadState state;
  state.lost = std::exchange(lost_, false);
  SDL_GameController* pad = controller_.get();
  if (!pad) return state;
  state.connected = true;
  state.leftX = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX);
  state.leftY = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY);
  state.rightX = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_RIGHTX);
  state.rightY = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_RIGHTY);
  state.leftTrigger = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERLEFT);
  state.rightTrigger = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERRIGHT);
  std::uint8_t held[256] = {};
  for (const ButtonBit& b : kButtons) held[b.button + 1] = SDL_GameControllerGetButton(pad, b.button) ? 0x80 : 0;
  taps_.Read(held);
  for (const ButtonBit& b : kButtons) {
    if (held[b.button + 1]) state.buttons |= b.bit;
  }
  return state;
}

void SdlPad::Rumble(int milliseconds) {
  if (controller_) SDL_GameControllerRumble(controller_.get(), 0xFFFF, 0xFFFF, static_cast<Uint32>(milliseconds));
}

}  // namespace kesmir
