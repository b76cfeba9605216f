// The play-field overlays.
#include "render/overlays.h"

namespace kesmir {

void DrawFireMode(Game&) {}
void DrawOverlays(Game&) {}

}  // namespace kesmir
