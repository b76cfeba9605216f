// Whole-file reads and atomic writes.
#include "core/files.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <system_error>

namespace kesmir {

std::optional<std::string> ReadFileLimited(const std::filesystem::path& path, std::size_t maxBytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  // Read in pieces: the bound caps a runaway file, it is not the size to reserve for a file of a few bytes.
  std::string contents;
  char piece[16 * 1024];
  while (contents.size() < maxBytes) {
    const std::size_t wanted = std::min(sizeof piece, maxBytes - contents.size());
    in.read(piece, static_cast<std::streamsize>(wanted));
    const auto got = static_cast<std::size_t>(in.gcount());
    contents.append(piece, got);
    if (got < wanted) break;
  }
  return contents;
}

bool WriteFileAtomic(const std::filesystem::path& path, std::string_view contents) {
  std::error_code ec;
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ec);
  std::filesystem::path temp = path;
  temp += ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
    out.flush();
    if (!out) {
      out.close();
      std::filesystem::remove(temp, ec);
      return false;
    }
  }
  std::filesystem::rename(temp, path, ec);
  if (ec) {
    std::filesystem::remove(temp, ec);
    return false;
  }
  return true;
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.emplace_back(line);
    start = end + 1;
  }
  return lines;
}

}  // namespace kesmir
