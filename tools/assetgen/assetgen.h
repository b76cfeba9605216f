// Entry points of the asset generator's parts; each writes its files under the game folder given.
#pragma once

#include <filesystem>

namespace assetgen {

// The edges of the application icon, one PNG each under <gameDir>/icons/hicolor/<edge>x<edge>/apps: the sizes
// that desktops look up in the hicolor theme.
inline constexpr int kAppIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

// Writes every picture into <gameDir>/Pictures and the application icons. Returns false (after one line on
// stderr) on failure.
bool WritePictures(const std::filesystem::path& gameDir);
// Writes every sound into <gameDir>/Sounds.
bool WriteSounds(const std::filesystem::path& gameDir);
// Writes the fighter definitions and default score lists into <gameDir>/OtherFiles.
bool WriteTextData(const std::filesystem::path& gameDir);

}  // namespace assetgen
