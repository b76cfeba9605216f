// The version announcement. Offline for now: nothing is fetched or shown.
#include "network/version_check.h"

namespace kesmir {

void ShowLatestVersion(Game&) {}

}  // namespace kesmir
