// State shared by the menu screens.
#pragma once

namespace kesmir {

struct MenuState {};

}  // namespace kesmir
