// The libcurl transfers and the connection check.
#include "platform/curl_network.h"

#include <curl/curl.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <random>
#include <string_view>

namespace kesmir {
namespace {

struct CurlDeleter {
  void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
  void operator()(char* text) const { curl_free(text); }
};

using CurlHandle = std::unique_ptr<CURL, CurlDeleter>;
using CurlList = std::unique_ptr<curl_slist, CurlDeleter>;
using CurlText = std::unique_ptr<char, CurlDeleter>;

// A download into memory that stops once it passes its bound.
struct Sink {
  std::string* contents = nullptr;
  std::size_t maxBytes = 0;
  bool tooLarge = false;
};

std::size_t WriteToSink(char* data, std::size_t size, std::size_t count, void* user) {
  auto* sink = static_cast<Sink*>(user);
  const std::size_t bytes = size * count;
  if (sink->contents->size() + bytes > sink->maxBytes) {
    sink->tooLarge = true;
    return 0;  // ends the transfer with a write error
  }
  sink->contents->append(data, bytes);
  return bytes;
}

// An upload from memory.
struct Source {
  std::string_view rest;
};

std::size_t ReadFromSource(char* buffer, std::size_t size, std::size_t count, void* user) {
  auto* source = static_cast<Source*>(user);
  const std::size_t bytes = std::min(size * count, source->rest.size());
  source->rest.copy(buffer, bytes);
  source->rest.remove_prefix(bytes);
  return bytes;
}

// The caller's keepGoing, asked at most every 50 ms however often libcurl reports progress.
struct Watch {
  const std::function<bool()>* keepGoing = nullptr;
  std::chrono::steady_clock::time_point last{};
};

int OnProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  auto* watch = static_cast<Watch*>(user);
  const auto now = std::chrono::steady_clock::now();
  if (now - watch->last < std::chrono::milliseconds(50)) return 0;
  watch->last = now;
  return (*watch->keepGoing)() ? 0 : 1;  // non-zero ends the transfer
}

// One transfer's handle with the options every transfer shares.
struct Transfer {
  CurlHandle handle{curl_easy_init()};
  char error[CURL_ERROR_SIZE] = {};
  CURLcode code = CURLE_OK;
  Watch watch;

  explicit Transfer(const TransferLimits& limits) {
    if (!handle) return;
    CURL* h = handle.get();
    if (limits.keepGoing) {
      watch.keepGoing = &limits.keepGoing;
      curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
      curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, OnProgress);
      curl_easy_setopt(h, CURLOPT_XFERINFODATA, &watch);
    }
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, error);
    curl_easy_setopt(h, CURLOPT_USERAGENT, "Kesmir");
    // The connection limit also covers the FTP greeting and log-in.
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, limits.connectSeconds);
    // Without it a server that falls silent after the log-in would hold the game until the whole limit.
    curl_easy_setopt(h, CURLOPT_SERVER_RESPONSE_TIMEOUT, limits.responseSeconds);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, limits.stallSeconds);
    curl_easy_setopt(h, CURLOPT_TIMEOUT, limits.totalSeconds);
  }

  TransferResult Perform(const Sink* sink = nullptr) {
    if (!handle) return {false, "the transfer could not be started"};
    code = curl_easy_perform(handle.get());
    if (code == CURLE_OK) return {true, {}};
    if ((sink && sink->tooLarge) || code == CURLE_FILESIZE_EXCEEDED) {
      return {false, "the file is larger than " + std::to_string(sink ? sink->maxBytes : 0) + " bytes"};
    }
    TransferResult failed{false, error[0] != '\0' ? std::string(error) : std::string(curl_easy_strerror(code))};
    failed.missing = code == CURLE_REMOTE_FILE_NOT_FOUND;
    failed.certificate = code == CURLE_PEER_FAILED_VERIFICATION;
    failed.noTls = code == CURLE_USE_SSL_FAILED;
    return failed;
  }
};

// Passive FTP with the account's log-in; TLS when the server offers it, unless the account says plain.
void SetFtpAccount(CURL* h, const FtpAccount& account, const std::string& path) {
  std::string url = "ftp://" + account.host + ":" + std::to_string(account.port) + "/";
  if (!path.empty()) {
    CurlText escaped(curl_easy_escape(h, path.c_str(), static_cast<int>(path.size())));
    if (escaped) url += escaped.get();
  }
  curl_easy_setopt(h, CURLOPT_URL, url.c_str());
  curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "ftp");
  curl_easy_setopt(h, CURLOPT_USERNAME, account.user.c_str());
  curl_easy_setopt(h, CURLOPT_PASSWORD, account.password.c_str());
  // A certificate that fails verification ends the transfer: there is never a fall-back to plain FTP then.
  const long tls = account.requireTls ? CURLUSESSL_ALL : account.tryTls ? CURLUSESSL_TRY : CURLUSESSL_NONE;
  curl_easy_setopt(h, CURLOPT_USE_SSL, tls);
  if (!account.caFile.empty()) curl_easy_setopt(h, CURLOPT_CAINFO, account.caFile.c_str());
}

void SetDownload(CURL* h, Sink& sink) {
  sink.contents->clear();
  curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, WriteToSink);
  curl_easy_setopt(h, CURLOPT_WRITEDATA, &sink);
  curl_easy_setopt(h, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(sink.maxBytes));
}

// An upload of the source's text to the account's path.
void SetUpload(CURL* h, const FtpAccount& account, const std::string& path, Source& source) {
  SetFtpAccount(h, account, path);
  curl_easy_setopt(h, CURLOPT_UPLOAD, 1L);
  curl_easy_setopt(h, CURLOPT_READFUNCTION, ReadFromSource);
  curl_easy_setopt(h, CURLOPT_READDATA, &source);
  curl_easy_setopt(h, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(source.rest.size()));
}

std::string TemporaryName(const std::string& remoteName, const std::string& tag, std::uint64_t count) {
  std::random_device random;
  char suffix[32];
  std::snprintf(suffix, sizeof suffix, ".%08x%llu.part", random(), static_cast<unsigned long long>(count));
  return remoteName + (tag.empty() ? "" : "." + tag) + suffix;
}

// Sends the commands alone, without a transfer; a '*' before a command lets it fail.
TransferResult RunCommands(const FtpAccount& account, const std::vector<std::string>& commands,
                           const TransferLimits& limits) {
  Transfer transfer(limits);
  CurlList list;
  for (const std::string& command : commands) {
    curl_slist* grown = curl_slist_append(list.get(), command.c_str());
    if (!grown) return {false, "out of memory"};
    list.release();
    list.reset(grown);
  }
  if (transfer.handle) {
    SetFtpAccount(transfer.handle.get(), account, "");
    curl_easy_setopt(transfer.handle.get(), CURLOPT_NOBODY, 1L);
    curl_easy_setopt(transfer.handle.get(), CURLOPT_QUOTE, list.get());
  }
  return transfer.Perform();
}

}  // namespace

CurlNetwork::CurlNetwork() { curl_global_init(CURL_GLOBAL_DEFAULT); }

CurlNetwork::~CurlNetwork() { curl_global_cleanup(); }

TransferResult CurlNetwork::FtpGet(const FtpAccount& account, const std::string& remoteName, std::size_t maxBytes,
                                   const TransferLimits& limits, std::string& contents) {
  Transfer transfer(limits);
  std::string received;
  Sink sink{&received, maxBytes};
  if (transfer.handle) {
    SetFtpAccount(transfer.handle.get(), account, remoteName);
    SetDownload(transfer.handle.get(), sink);
    // The file may be replaced by another player's upload between the size the server gave and the transfer;
    // the caller checks that what arrived is whole.
    curl_easy_setopt(transfer.handle.get(), CURLOPT_IGNORE_CONTENT_LENGTH, 1L);
  }
  TransferResult result = transfer.Perform(&sink);
  if (result.ok) contents = std::move(received);
  return result;
}

TransferResult CurlNetwork::FtpPut(const FtpAccount& account, const std::string& remoteName,
                                   const std::string& contents, const TransferLimits& limits) {
  const std::string temporary = TemporaryName(remoteName, account.uploadTag, ++uploadCount_);
  Transfer transfer(limits);
  Source source{contents};
  CurlList rename;
  if (transfer.handle) {
    CURL* h = transfer.handle.get();
    SetUpload(h, account, temporary, source);
    rename.reset(curl_slist_append(nullptr, ("RNFR " + temporary).c_str()));
    if (rename) curl_slist_append(rename.get(), ("RNTO " + remoteName).c_str());
    curl_easy_setopt(h, CURLOPT_POSTQUOTE, rename.get());
  }
  TransferResult result = transfer.Perform();
  if (transfer.code != CURLE_QUOTE_ERROR) return result;
  // The file arrived but could not take its name (a server or an account that refuses renaming onto an
  // existing file): remove it, and store the list under its own name directly.
  RunCommands(account, {"*DELE " + temporary}, limits);
  Transfer direct(limits);
  Source again{contents};
  if (direct.handle) SetUpload(direct.handle.get(), account, remoteName, again);
  result = direct.Perform();
  if (!result.ok) result.error = "the server refused the list under both names (" + result.error + ")";
  return result;
}

TransferResult CurlNetwork::FtpCommand(const FtpAccount& account, const std::string& command,
                                       const TransferLimits& limits) {
  return RunCommands(account, {command}, limits);
}

TransferResult CurlNetwork::FtpList(const FtpAccount& account, const TransferLimits& limits,
                                    std::vector<std::string>& names) {
  constexpr std::size_t kMaxListing = 1024 * 1024;
  Transfer transfer(limits);
  std::string listing;
  Sink sink{&listing, kMaxListing};
  if (transfer.handle) {
    SetFtpAccount(transfer.handle.get(), account, "");
    curl_easy_setopt(transfer.handle.get(), CURLOPT_DIRLISTONLY, 1L);
    SetDownload(transfer.handle.get(), sink);
  }
  TransferResult result = transfer.Perform(&sink);
  names.clear();
  if (!result.ok) return result;
  std::size_t start = 0;
  while (start < listing.size()) {
    std::size_t end = listing.find('\n', start);
    if (end == std::string::npos) end = listing.size();
    std::string name = listing.substr(start, end - start);
    if (!name.empty() && name.back() == '\r') name.pop_back();
    if (!name.empty()) names.push_back(std::move(name));
    start = end + 1;
  }
  return result;
}

TransferResult CurlNetwork::HttpGet(const std::string& url, std::size_t maxBytes, const TransferLimits& limits,
                                    std::string& contents) {
  Transfer transfer(limits);
  std::string received;
  Sink sink{&received, maxBytes};
  if (transfer.handle) {
    CURL* h = transfer.handle.get();
    curl_easy_setopt(h, CURLOPT_URL, url.c_str());
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(h, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(h, CURLOPT_FAILONERROR, 1L);
    SetDownload(h, sink);
  }
  TransferResult result = transfer.Perform(&sink);
  if (result.ok) contents = std::move(received);
  return result;
}

CurlConnectionMonitor::CurlConnectionMonitor(std::chrono::milliseconds interval, std::chrono::milliseconds limit)
    : interval_(interval), limit_(limit) {
  curl_global_init(CURL_GLOBAL_DEFAULT);
  worker_ = std::jthread([this](std::stop_token stop) { Run(stop); });
}

CurlConnectionMonitor::~CurlConnectionMonitor() {
  worker_.request_stop();
  if (worker_.joinable()) worker_.join();  // at most one check's limit
  curl_global_cleanup();
}

std::optional<bool> CurlConnectionMonitor::Reachable(const std::string& host, int port) {
  std::lock_guard lock(mutex_);
  if (host != host_ || port != port_) {
    host_ = host;
    port_ = port;
    ++target_;
    answer_.reset();
    requested_ = true;
  } else if (!checking_ && !requested_ &&
             (!lastStart_ || std::chrono::steady_clock::now() - *lastStart_ >= interval_)) {
    requested_ = true;
  }
  if (requested_) wake_.notify_one();
  return answer_;
}

void CurlConnectionMonitor::Run(std::stop_token stop) {
  std::unique_lock lock(mutex_);
  while (wake_.wait(lock, stop, [this] { return requested_; })) {
    requested_ = false;
    checking_ = true;
    lastStart_ = std::chrono::steady_clock::now();
    const std::string host = host_;
    const int port = port_;
    const std::uint64_t target = target_;
    lock.unlock();

    // On an http address a connect-only transfer stops once the TCP connection stands; on an ftp address it
    // would wait for the greeting and the log-in as well.
    bool reachable = false;
    if (CurlHandle h{curl_easy_init()}) {
      const std::string url = "http://" + host + ":" + std::to_string(port) + "/";
      curl_easy_setopt(h.get(), CURLOPT_URL, url.c_str());
      curl_easy_setopt(h.get(), CURLOPT_CONNECT_ONLY, 1L);
      curl_easy_setopt(h.get(), CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limit_.count()));
      curl_easy_setopt(h.get(), CURLOPT_PROXY, "");  // the server itself, never a proxy
      curl_easy_setopt(h.get(), CURLOPT_NOSIGNAL, 1L);
      reachable = curl_easy_perform(h.get()) == CURLE_OK;
    }

    lock.lock();
    checking_ = false;
    if (target == target_) answer_ = reachable;
  }
}

}  // namespace kesmir
