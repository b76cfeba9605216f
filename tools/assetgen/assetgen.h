// Entry points of the asset generator's parts; each writes its files under the game folder given.
#pragma once

#include <filesystem>

namespace assetgen {

// Writes every picture into <gameDir>/Pictures. Returns false (after one line on stderr) on failure.
bool WritePictures(const std::filesystem::path& gameDir);
// Writes every sound into <gameDir>/Sounds.
bool WriteSounds(const std::filesystem::path& gameDir);
// Writes the fighter definitions and default score lists into <gameDir>/OtherFiles.
bool WriteTextData(const std::filesystem::path& gameDir);

}  // namespace assetgen
