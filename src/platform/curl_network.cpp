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

// The server's replies during one transfer, as libcurl reads them: the last one, and the one that answered
// the command watched for.
struct Replies {
  std::string watchFor;  // the start of a command ("MKD ")
  std::string last;
  std::string watched;
  bool sentWatched = false;
};

// A server's line as it may be quoted: its first 200 characters, with nothing a terminal would act on.
std::string PrintableLine(std::string_view text) {
  std::string line(text.substr(0, 200));
  for (char& c : line) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
  }
  return line;
}

int OnDebug(CURL*, curl_infotype type, char* data, std::size_t size, void* user) {
  auto* replies = static_cast<Replies*>(user);
  std::string_view text(data, size);
  if (type == CURLINFO_HEADER_OUT) {
    replies->sentWatched = !replies->watchFor.empty() && text.starts_with(replies->watchFor);
    return 0;
  }
  if (type != CURLINFO_HEADER_IN) return 0;
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.remove_suffix(1);
  const auto digit = [&](std::size_t i) { return text[i] >= '0' && text[i] <= '9'; };
  // The last line of an FTP reply: three digits and a space (a line of a longer one has a dash there).
  if (text.size() < 4 || !digit(0) || !digit(1) || !digit(2) || text[3] != ' ') return 0;
  replies->last = PrintableLine(text);
  if (replies->sentWatched) replies->watched = replies->last;
  replies->sentWatched = false;
  return 0;
}

// A server's reply that refuses something: its code begins with 4 or 5.
bool IsRefusal(const std::string& reply) { return !reply.empty() && (reply[0] == '4' || reply[0] == '5'); }

// Runs a transfer on a multi handle, which keeps the transfer's connections for the next one. It looks at the
// transfer at least every 10 ms: libcurl 7.88 can leave the data connection of a reused FTP log-in out of
// what it waits for, and would otherwise sit out a whole second before connecting it.
CURLcode PerformOn(CURLM* multi, CURL* h) {
  if (curl_multi_add_handle(multi, h) != CURLM_OK) return CURLE_FAILED_INIT;
  std::optional<CURLcode> code;
  while (!code) {
    int running = 0;
    if (curl_multi_perform(multi, &running) != CURLM_OK) code = CURLE_FAILED_INIT;
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(multi, &queued)) {
      if (message->msg == CURLMSG_DONE && message->easy_handle == h) code = message->data.result;
    }
    if (!code && running == 0) code = CURLE_FAILED_INIT;  // ended without saying how: never seen
    if (!code) curl_multi_poll(multi, nullptr, 0, 10, nullptr);
  }
  curl_multi_remove_handle(multi, h);
  return *code;
}

// Whether libcurl keeps a log-in after a transfer that ended so: it closes it after any other failure.
bool KeepsLogIn(CURLcode code) {
  return code == CURLE_OK || code == CURLE_REMOTE_FILE_NOT_FOUND || code == CURLE_REMOTE_ACCESS_DENIED ||
         code == CURLE_FTP_COULDNT_RETR_FILE || code == CURLE_UPLOAD_FAILED;
}

// One transfer on a handle, with the options every transfer shares. The handle's earlier options are dropped;
// the connections it holds stay, so that a transfer to the same server goes on with the same log-in.
struct Transfer {
  CURL* handle = nullptr;
  FtpSession session;  // for an FTP transfer
  char error[CURL_ERROR_SIZE] = {};
  CURLcode code = CURLE_OK;
  Watch watch;
  Replies replies;

  explicit Transfer(const FtpSession& ftp, const TransferLimits& limits) : Transfer(ftp.easy, limits) {
    session = ftp;
  }
  Transfer(CURL* h, const TransferLimits& limits) : handle(h) {
    if (!handle) return;
    curl_easy_reset(h);
    if (limits.keepGoing) {
      watch.keepGoing = &limits.keepGoing;
      curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
      curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, OnProgress);
      curl_easy_setopt(h, CURLOPT_XFERINFODATA, &watch);
    }
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, error);
    curl_easy_setopt(h, CURLOPT_USERAGENT, "Kesmir");
    // Verbose hands what passes to OnDebug only, which keeps the server's replies; nothing is printed.
    curl_easy_setopt(h, CURLOPT_DEBUGFUNCTION, OnDebug);
    curl_easy_setopt(h, CURLOPT_DEBUGDATA, &replies);
    curl_easy_setopt(h, CURLOPT_VERBOSE, 1L);
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
    code = session.multi ? PerformOn(session.multi, handle) : curl_easy_perform(handle);
    if (session.loggedIn) *session.loggedIn = KeepsLogIn(code);
    if (code == CURLE_OK) return {true, {}};
    if ((sink && sink->tooLarge) || code == CURLE_FILESIZE_EXCEEDED) {
      return {false, "the file is larger than " + std::to_string(sink ? sink->maxBytes : 0) + " bytes"};
    }
    // A server that refused says why better than libcurl, which may only see the connection end.
    TransferResult failed{false, IsRefusal(replies.last) ? "the server said \"" + replies.last + "\""
                                 : error[0] != '\0'      ? std::string(error)
                                                          : std::string(curl_easy_strerror(code))};
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
  curl_easy_setopt(h, CURLOPT_FTPSSLAUTH, static_cast<long>(CURLFTPAUTH_TLS));  // the one servers know: no AUTH SSL first
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

// Sends one command alone, without a transfer; ok when the server's reply to it is a success.
TransferResult RunCommand(const FtpSession& session, const FtpAccount& account, const std::string& command,
                          const TransferLimits& limits, bool lastOne = false) {
  CURL* h = session.easy;
  Transfer transfer(session, limits);
  // A '*' lets the command fail without ending the transfer, which would close the log-in with it.
  const CurlList list(curl_slist_append(nullptr, ("*" + command).c_str()));
  if (!list) return {false, "out of memory"};
  transfer.replies.watchFor = command;
  if (h) {
    SetFtpAccount(h, account, "");
    curl_easy_setopt(h, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(h, CURLOPT_QUOTE, list.get());
    curl_easy_setopt(h, CURLOPT_FORBID_REUSE, lastOne ? 1L : 0L);
  }
  TransferResult result = transfer.Perform();
  if (!result.ok) return result;
  const std::string& reply = transfer.replies.watched;
  if (reply.empty() || reply[0] != '2') {
    return {false, reply.empty() ? "the server did not answer " + command : "the server said \"" + reply + "\""};
  }
  return result;
}

}  // namespace

CurlNetwork::CurlNetwork() { curl_global_init(CURL_GLOBAL_DEFAULT); }

CurlNetwork::~CurlNetwork() {
  EndSession();
  curl_global_cleanup();
}

void CurlNetwork::HandleDeleter::operator()(CURL* handle) const { curl_easy_cleanup(handle); }

void CurlNetwork::MultiDeleter::operator()(CURLM* handle) const { curl_multi_cleanup(handle); }

FtpSession CurlNetwork::Session(const FtpAccount& account) {
  if (!multi_) multi_.reset(curl_multi_init());
  if (!ftp_) ftp_.reset(curl_easy_init());
  sessionAccount_ = account;
  return {ftp_.get(), multi_.get(), &loggedIn_};
}

void CurlNetwork::EndSession() {
  if (loggedIn_ && ftp_ && multi_) {
    // The log-out closes the connection at the end of a transfer of its own, whose limits bound the wait for
    // the server's goodbye; the multi handle's clean-up would wait up to two minutes for it.
    const FtpAccount account = sessionAccount_;
    // Its QUIT is answered and the connection closed; libcurl's own QUIT then finds it closed and waits for
    // nothing.
    RunCommand(Session(account), account, "QUIT", TransferLimits{2, 2, 2, 4, {}}, true);
  }
  loggedIn_ = false;
  ftp_.reset();
  multi_.reset();
}

TransferResult CurlNetwork::FtpGet(const FtpAccount& account, const std::string& remoteName, std::size_t maxBytes,
                                   const TransferLimits& limits, std::string& contents) {
  Transfer transfer(Session(account), limits);
  std::string received;
  Sink sink{&received, maxBytes};
  if (transfer.handle) {
    SetFtpAccount(transfer.handle, account, remoteName);
    SetDownload(transfer.handle, sink);
    // The file may be replaced by another player's upload between the size the server gave and the transfer;
    // the caller checks that what arrived is whole.
    curl_easy_setopt(transfer.handle, CURLOPT_IGNORE_CONTENT_LENGTH, 1L);
  }
  TransferResult result = transfer.Perform(&sink);
  if (result.ok) contents = std::move(received);
  return result;
}

TransferResult CurlNetwork::FtpPut(const FtpAccount& account, const std::string& remoteName,
                                   const std::string& contents, const TransferLimits& limits) {
  const std::string temporary = TemporaryName(remoteName, account.uploadTag, ++uploadCount_);
  const FtpSession session = Session(account);
  CURL* h = session.easy;
  Transfer transfer(session, limits);
  Source source{contents};
  CurlList rename(curl_slist_append(nullptr, ("*RNFR " + temporary).c_str()));
  if (rename && !curl_slist_append(rename.get(), ("*RNTO " + remoteName).c_str())) rename.reset();
  if (!rename) return {false, "out of memory"};
  transfer.replies.watchFor = "RNTO ";
  if (h) {
    SetUpload(h, account, temporary, source);
    curl_easy_setopt(h, CURLOPT_POSTQUOTE, rename.get());
  }
  TransferResult result = transfer.Perform();
  if (!result.ok || transfer.replies.watched.starts_with('2')) return result;
  // The file arrived but could not take its name (a server or an account that refuses renaming onto an
  // existing file): remove it, and store the list under its own name directly.
  RunCommand(session, account, "DELE " + temporary, limits);
  Transfer direct(session, limits);
  Source again{contents};
  if (h) SetUpload(h, account, remoteName, again);
  result = direct.Perform();
  if (!result.ok) result.error = "the server refused the list under both names (" + result.error + ")";
  return result;
}

TransferResult CurlNetwork::FtpCommand(const FtpAccount& account, const std::string& command,
                                       const TransferLimits& limits) {
  return RunCommand(Session(account), account, command, limits);
}

TransferResult CurlNetwork::FtpList(const FtpAccount& account, const TransferLimits& limits,
                                    std::vector<std::string>& names) {
  constexpr std::size_t kMaxListing = 1024 * 1024;
  Transfer transfer(Session(account), limits);
  std::string listing;
  Sink sink{&listing, kMaxListing};
  if (transfer.handle) {
    SetFtpAccount(transfer.handle, account, "");
    curl_easy_setopt(transfer.handle, CURLOPT_DIRLISTONLY, 1L);
    SetDownload(transfer.handle, sink);
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
  const CurlHandle handle(curl_easy_init());
  Transfer transfer(handle.get(), limits);
  std::string received;
  Sink sink{&received, maxBytes};
  if (transfer.handle) {
    CURL* h = transfer.handle;
    curl_easy_setopt(h, CURLOPT_URL, url.c_str());
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(h, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(h, CURLOPT_FAILONERROR, 1L);
    // Whatever the web server compresses with (some always send gzip), libcurl decodes.
    curl_easy_setopt(h, CURLOPT_ACCEPT_ENCODING, "");
    SetDownload(h, sink);
  }
  TransferResult result = transfer.Perform(&sink);
  if (result.ok) contents = std::move(received);
  return result;
}

TransferResult CurlNetwork::PostFile(const std::string& url, const FtpAccount& account, const std::string& body,
                                     std::size_t maxBytes, const TransferLimits& limits, std::string& answer) {
  const CurlHandle handle(curl_easy_init());
  Transfer transfer(handle.get(), limits);
  std::string received;
  Sink sink{&received, maxBytes};
  // An empty Expect: sends the body at once instead of waiting for the server's go-ahead.
  CurlList headers(curl_slist_append(nullptr, "Content-Type: text/plain"));
  if (headers && !curl_slist_append(headers.get(), "Expect:")) headers.reset();
  if (!headers) return {false, "out of memory"};
  if (transfer.handle) {
    CURL* h = transfer.handle;
    curl_easy_setopt(h, CURLOPT_URL, url.c_str());
    // No redirect: the account is sent only to the address of the deployment.
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(h, CURLOPT_POSTFIELDS, body.data());
    curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    curl_easy_setopt(h, CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_BASIC));
    curl_easy_setopt(h, CURLOPT_USERNAME, account.user.c_str());
    curl_easy_setopt(h, CURLOPT_PASSWORD, account.password.c_str());
    if (!account.caFile.empty()) curl_easy_setopt(h, CURLOPT_CAINFO, account.caFile.c_str());
    curl_easy_setopt(h, CURLOPT_ACCEPT_ENCODING, "");
    SetDownload(h, sink);
  }
  TransferResult result = transfer.Perform(&sink);
  if (!result.ok) return result;
  long status = 0;
  curl_easy_getinfo(transfer.handle, CURLINFO_RESPONSE_CODE, &status);
  result.status = static_cast<int>(status);
  if (status < 200 || status > 299) {
    result.ok = false;
    result.error = "the server said \"" + PrintableLine(std::to_string(status) + " " +
                                                        received.substr(0, received.find_first_of("\r\n"))) + "\"";
    return result;
  }
  answer = std::move(received);
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
