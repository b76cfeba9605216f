// SDL_OpenURL behind the desktop port.
#include "platform/sdl_desktop.h"

#include <SDL2/SDL.h>

namespace kesmir {

bool SdlDesktop::OpenUrl(const std::string& url) { return SDL_OpenURL(url.c_str()) == 0; }

}  // namespace kesmir
