// The local and world score lists held in memory, one text array per column.
#pragma once

#include <array>
#include <string>

#include "core/numbers.h"

namespace kesmir {

struct ScoreLists {
  std::array<std::string, 101> HsScore{};
  Integer NameEntryOn = 0;  // -1 while a new score waits for its name
};

}  // namespace kesmir
