// The score service's HTTP side: GET and POST of /world over one storage, with its account and upload rate.
#pragma once

#include <httplib.h>

#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "server/score_store.h"

namespace kesmir {

inline constexpr std::size_t kMaxUploadBytes = 1024 * 1024;

struct ServiceSettings {
  std::string account;             // "NAME:PASSWORD" of HTTP Basic
  int maxUploadsPerMinute = 120;   // per client address; 0 for no limit
  std::function<Date()> today;     // the day a merge writes into the trailer
  std::string certFile, keyFile;   // PEM files for HTTPS; plain HTTP without them
};

// Counts the uploads of each client address over the last minute.
class UploadRate {
 public:
  explicit UploadRate(int perMinute) : perMinute_(perMinute) {}
  // True, and counted, when this upload keeps the address within its limit.
  bool Admit(const std::string& address, std::chrono::steady_clock::time_point now);

 private:
  int perMinute_;
  std::mutex mutex_;
  std::map<std::string, std::deque<std::chrono::steady_clock::time_point>> recent_;
};

// The tag of the list last answered, kept: comparing a list with it costs far less than hashing it again.
class ListTags {
 public:
  std::string Of(const std::string& text);

 private:
  std::mutex mutex_;
  std::string list_;
  std::string tag_;
};

class ScoreService {
 public:
  ScoreService(IScoreStore& store, ServiceSettings settings);
  // The same requests routed on a server of the caller's (one that reads requests from memory, say); the
  // certificate settings are not used then.
  ScoreService(IScoreStore& store, ServiceSettings settings, std::unique_ptr<httplib::Server> server);
  // False when the certificate or key cannot be used.
  bool Valid() const { return server_->is_valid(); }
  // Binds host:port (port 0 picks a free one) and listens; the port, or -1.
  int Bind(const std::string& host, int port);
  // Answers requests until Stop; false when the server could not run.
  bool Run();
  // Ends Run from any thread; nothing when Run has not started yet.
  void Stop();

 private:
  bool Authorized(const httplib::Request& request) const;
  void GetWorld(const httplib::Request& request, httplib::Response& response);
  void PostWorld(const httplib::Request& request, httplib::Response& response);

  IScoreStore& store_;
  ServiceSettings settings_;
  std::string expectedAuthorization_;
  UploadRate rate_;
  ListTags tags_;
  std::unique_ptr<httplib::Server> server_;
};

}  // namespace kesmir
