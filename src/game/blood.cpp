// The blood particle emitter.
#include "game/blood.h"

namespace kesmir {

void SprayBlood(Game&, double, double, double, double, double) {}

}  // namespace kesmir
