// Whole-file reads with a size bound and writes that never leave half a file.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kesmir {

// Reads at most maxBytes of a regular file; nullopt when it cannot be opened or is no regular file.
std::optional<std::string> ReadFileLimited(const std::filesystem::path& path, std::size_t maxBytes);

// True for a regular file (links followed); false for a FIFO, a device, a folder or nothing.
bool IsRegularFile(const std::filesystem::path& path);

// Writes the whole contents to a new temporary file of its own beside the file, flushes it to disk and
// renames it over the file. False when any step fails; the old file is then untouched and no temporary
// file is left.
bool WriteFileAtomic(const std::filesystem::path& path, std::string_view contents);

// Splits text into lines at LF, dropping a CR before it; a last line without LF counts.
std::vector<std::string> SplitLines(std::string_view text);

}  // namespace kesmir
