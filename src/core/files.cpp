// Whole-file reads and atomic writes.
#include "core/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

namespace kesmir {

namespace {

// Closes a descriptor when it goes out of scope.
struct Descriptor {
  int fd = -1;
  explicit Descriptor(int f) : fd(f) {}
  ~Descriptor() {
    if (fd >= 0) ::close(fd);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
};

bool WriteAll(int fd, std::string_view contents) {
  while (!contents.empty()) {
    const ssize_t written = ::write(fd, contents.data(), contents.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    contents.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

}  // namespace

std::optional<std::string> ReadFileLimited(const std::filesystem::path& path, std::size_t maxBytes) {
  // Opened without blocking and taken only when it is a regular file: a FIFO or a device put in the
  // place of a list or a map would otherwise hold the game for ever.
  const Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  struct stat info {};
  if (file.fd < 0 || ::fstat(file.fd, &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  // Read in pieces: the bound caps a runaway file, it is not the size to reserve for a file of a few bytes.
  std::string contents;
  char piece[16 * 1024];
  while (contents.size() < maxBytes) {
    const std::size_t wanted = std::min(sizeof piece, maxBytes - contents.size());
    const ssize_t got = ::read(file.fd, piece, wanted);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return std::nullopt;
    if (got == 0) break;
    contents.append(piece, static_cast<std::size_t>(got));
  }
  return contents;
}

bool IsRegularFile(const std::filesystem::path& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool WriteFileAtomic(const std::filesystem::path& path, std::string_view contents) {
  std::error_code ec;
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ec);
  // A name of its own, created exclusively: two games sharing a folder never write into one temporary
  // file, and a link planted at the name is refused rather than written through.
  std::string temp = path.string() + ".XXXXXX";
  const Descriptor file(::mkostemp(temp.data(), O_CLOEXEC));
  if (file.fd < 0) return false;
  const bool written = ::fchmod(file.fd, 0644) == 0 && WriteAll(file.fd, contents) && ::fsync(file.fd) == 0;
  if (!written || ::rename(temp.c_str(), path.c_str()) != 0) {
    ::unlink(temp.c_str());
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
