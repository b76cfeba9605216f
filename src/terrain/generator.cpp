// Generating the play maps.
#include "terrain/generator.h"

namespace kesmir {

void GenerateMaps(Game&) {}

}  // namespace kesmir
