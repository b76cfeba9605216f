// Acid pick-ups and their effects.
#include "game/acid.h"

namespace kesmir {

void UpdateAcid(Game&, Integer, Integer) {}

}  // namespace kesmir
