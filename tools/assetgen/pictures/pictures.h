// The list of picture files that the generator writes, for the contact sheet and the tests.
#pragma once

#include <string>
#include <vector>

namespace assetgen {

// File names under Pictures/, in the game's loading order followed by the base maps.
std::vector<std::string> PictureFiles();

}  // namespace assetgen
