// Writing generated files so that a failure never leaves a partial file under the real name.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace assetgen {

// Writes the bytes to a temporary name beside the target, then renames it over the target.
// Returns false after one line on stderr.
bool WriteFileAtomically(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

// Writes text lines, each ended by CR LF as the game's Windows-born text files are.
bool WriteTextLines(const std::filesystem::path& path, const std::vector<std::string>& lines);

}  // namespace assetgen
