// A full disk for the span of a scope: no file of this process may grow past a few bytes.
#pragma once

#include <sys/resource.h>

#include <csignal>

namespace kesmir::testing {

// Writes past the limit fail with EFBIG, as on a full disk (the signal that would end the process is
// ignored meanwhile).
class DiskFull {
 public:
  explicit DiskFull(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &old_);
    oldSignal_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~DiskFull() {
    ::setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, oldSignal_);
  }
  DiskFull(const DiskFull&) = delete;
  DiskFull& operator=(const DiskFull&) = delete;

 private:
  rlimit old_{};
  void (*oldSignal_)(int) = nullptr;
};

}  // namespace kesmir::testing
