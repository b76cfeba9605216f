// Drawing of the status bar.
#include "app/status_bar.h"

namespace kesmir {

void DrawStatusBar(Game&) {}

}  // namespace kesmir
