// The play-field effects; each is called in its place in the frame.
#include "render/effects.h"

namespace kesmir {

void UpdateExplosion(Game&, Integer, double, double) {}
void UpdateSnow(Game&) {}
void UpdateCleaner(Game&, Integer) {}

}  // namespace kesmir
