// Transfers with the score server (passive FTP or the score service's HTTP) and the web server through
// libcurl, and the background check that the score server accepts connections.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>

#include "platform/ports.h"

using CURL = void;
using CURLM = void;

namespace kesmir {

// The handles that carry the FTP transfers and keep their log-in from one to the next.
struct FtpSession {
  CURL* easy = nullptr;
  CURLM* multi = nullptr;
  bool* loggedIn = nullptr;  // set after each transfer: whether libcurl kept the log-in
};

class CurlNetwork final : public INetwork {
 public:
  CurlNetwork();
  ~CurlNetwork() override;
  CurlNetwork(const CurlNetwork&) = delete;
  CurlNetwork& operator=(const CurlNetwork&) = delete;

  // Takes what the server sends until it closes, whatever size it gave before: the caller checks that a
  // world list arrived whole (its END line).
  TransferResult FtpGet(const FtpAccount& account, const std::string& remoteName, std::size_t maxBytes,
                        const TransferLimits& limits, std::string& contents) override;
  // Stores under a temporary name ("<remoteName>.<uploadTag>.<random>.part") and renames it over remoteName,
  // so that no player ever downloads half a file; a server that refuses the rename gets the file stored
  // under remoteName directly.
  TransferResult FtpPut(const FtpAccount& account, const std::string& remoteName, const std::string& contents,
                        const TransferLimits& limits) override;
  TransferResult FtpCommand(const FtpAccount& account, const std::string& command,
                            const TransferLimits& limits) override;
  TransferResult FtpList(const FtpAccount& account, const TransferLimits& limits,
                         std::vector<std::string>& names) override;
  TransferResult HttpGet(const std::string& url, std::size_t maxBytes, const TransferLimits& limits,
                         std::string& contents) override;
  TransferResult PostFile(const std::string& url, const FtpAccount& account, const std::string& body,
                          std::size_t maxBytes, const TransferLimits& limits, std::string& answer) override;
  void EndSession() override;

 private:
  struct HandleDeleter {
    void operator()(CURL* handle) const;
  };
  struct MultiDeleter {
    void operator()(CURLM* handle) const;
  };
  // The handles of the FTP transfers, kept from one to the next: libcurl reuses the log-in they hold for
  // the next transfer to the same server.
  FtpSession Session(const FtpAccount& account);

  std::unique_ptr<CURLM, MultiDeleter> multi_;
  std::unique_ptr<CURL, HandleDeleter> ftp_;
  FtpAccount sessionAccount_;  // the account of the latest FTP transfer, for the log-out
  bool loggedIn_ = false;
  std::uint64_t uploadCount_ = 0;
};

// Checks in a thread of its own, at most once per interval, whether a TCP connection to the server can be made
// within the limit. Asking never waits for a check.
class CurlConnectionMonitor final : public IConnectionMonitor {
 public:
  explicit CurlConnectionMonitor(std::chrono::milliseconds interval = std::chrono::seconds(5),
                                 std::chrono::milliseconds limit = std::chrono::seconds(1));
  ~CurlConnectionMonitor() override;
  CurlConnectionMonitor(const CurlConnectionMonitor&) = delete;
  CurlConnectionMonitor& operator=(const CurlConnectionMonitor&) = delete;

  std::optional<bool> Reachable(const std::string& host, int port) override;

 private:
  void Run(std::stop_token stop);

  const std::chrono::milliseconds interval_;
  const std::chrono::milliseconds limit_;
  std::mutex mutex_;
  std::condition_variable_any wake_;
  std::string host_;  // the server asked about
  int port_ = 0;
  std::uint64_t target_ = 0;  // counts the servers asked about, so an answer for an earlier one is dropped
  std::optional<bool> answer_;
  bool requested_ = false;
  bool checking_ = false;
  std::optional<std::chrono::steady_clock::time_point> lastStart_;
  std::jthread worker_;  // started last, stopped first
};

}  // namespace kesmir
