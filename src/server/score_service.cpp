// The score service's HTTP requests.
#include "server/score_service.h"

#include <sys/socket.h>

#include <cstdint>
#include <cstdio>

#include "scores/list_text.h"

namespace kesmir {
namespace {

constexpr auto kRateWindow = std::chrono::minutes(1);
// Addresses with no upload in the last minute are forgotten once this many are held.
constexpr std::size_t kRateSweepSize = 10000;
// The server gives each open connection a thread of its own until it closes or idles past the keep-alive
// time, so the pool bounds the connections served at once: a client beyond it waits for a thread however
// idle the others are. The threads mostly wait (on their socket or for the list), so a pool as large as a
// busy service's clients costs memory only; the merges are serialised by the storage anyway.
constexpr std::size_t kConnectionThreads = 256;
// A kept-alive connection is closed after this many requests, so that beyond the pool's size the waiting
// connections still get their turn.
constexpr std::size_t kKeepAliveRequests = 100;
// And after this long without a request: the stop waits for every idle kept-alive connection to end. A client
// that calls again at once (the FTP gateway under load) keeps its connection all the same.
constexpr time_t kKeepAliveSeconds = 1;

// A strong tag of the list's bytes (64-bit FNV-1a), the same in every process that serves the same list.
std::string ListTag(std::string_view text) {
  std::uint64_t hash = 14695981039346656037ull;
  for (const char c : text) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ull;
  }
  char tag[20];
  std::snprintf(tag, sizeof tag, "\"%016llx\"", static_cast<unsigned long long>(hash));
  return tag;
}

// True when If-None-Match names the tag (or is "*").
bool TagMatches(std::string_view ifNoneMatch, std::string_view tag) {
  if (ifNoneMatch.find('*') != std::string_view::npos) return true;
  return ifNoneMatch.find(tag) != std::string_view::npos;
}

void Answer(httplib::Response& response, int status, const std::string& line) {
  response.status = status;
  response.set_content(line + "\n", "text/plain");
}

void AnswerList(httplib::Response& response, const std::string& text, const std::string& tag) {
  response.status = 200;
  response.set_header("ETag", tag);
  response.set_content(text, "text/plain");
}

// The player's address: the FTP gateway and a reverse proxy on this machine name it in X-Forwarded-For (the
// last entry is the one the nearest of them saw); from anywhere else the header is not believed.
std::string ClientAddress(const httplib::Request& request) {
  if (request.remote_addr != "127.0.0.1" && request.remote_addr != "::1") return request.remote_addr;
  const std::string forwarded = request.get_header_value("X-Forwarded-For");
  const auto comma = forwarded.rfind(',');
  std::string last = forwarded.substr(comma == std::string::npos ? 0 : comma + 1);
  std::erase(last, ' ');
  const bool anAddress = !last.empty() && last.size() <= 45 &&
                         last.find_first_not_of("0123456789abcdefABCDEF.:") == std::string::npos;
  return anAddress ? last : request.remote_addr;
}

}  // namespace

bool UploadRate::Admit(const std::string& address, std::chrono::steady_clock::time_point now) {
  if (perMinute_ <= 0) return true;
  const std::lock_guard lock(mutex_);
  if (recent_.size() >= kRateSweepSize) {
    std::erase_if(recent_, [now](const auto& entry) { return now - entry.second.back() >= kRateWindow; });
  }
  auto& times = recent_[address];
  while (!times.empty() && now - times.front() >= kRateWindow) times.pop_front();
  if (std::ssize(times) >= perMinute_) return false;
  times.push_back(now);
  return true;
}

std::string ListTags::Of(const std::string& text) {
  const std::lock_guard lock(mutex_);
  if (text != list_) {
    list_ = text;
    tag_ = ListTag(text);
  }
  return tag_;
}

ScoreService::ScoreService(IScoreStore& store, ServiceSettings settings)
    : ScoreService(store, settings,
                   settings.certFile.empty()
                       ? std::make_unique<httplib::Server>()
                       : std::make_unique<httplib::SSLServer>(settings.certFile.c_str(), settings.keyFile.c_str())) {}

ScoreService::ScoreService(IScoreStore& store, ServiceSettings settings, std::unique_ptr<httplib::Server> server)
    : store_(store),
      settings_(std::move(settings)),
      rate_(settings_.maxUploadsPerMinute),
      server_(std::move(server)) {
  const auto colon = settings_.account.find(':');
  expectedAuthorization_ =
      httplib::make_basic_authentication_header(settings_.account.substr(0, colon),
                                                colon == std::string::npos ? "" : settings_.account.substr(colon + 1))
          .second;
  server_->set_payload_max_length(kMaxUploadBytes);
  server_->new_task_queue = [] { return new httplib::ThreadPool(kConnectionThreads); };
  server_->set_keep_alive_max_count(kKeepAliveRequests);
  server_->set_keep_alive_timeout(kKeepAliveSeconds);
  // The answer's headers and body are written apart; without this the body's last part can wait for the
  // client's delayed acknowledgement of the headers (40 ms).
  server_->set_tcp_nodelay(true);
  server_->Get("/world", [this](const httplib::Request& request, httplib::Response& response) {
    if (Authorized(request)) GetWorld(request, response);
    else {
      response.set_header("WWW-Authenticate", "Basic realm=\"kesmir\"");
      Answer(response, 401, "wrong or missing account");
    }
  });
  server_->Post("/world", [this](const httplib::Request& request, httplib::Response& response) {
    if (Authorized(request)) PostWorld(request, response);
    else {
      response.set_header("WWW-Authenticate", "Basic realm=\"kesmir\"");
      Answer(response, 401, "wrong or missing account");
    }
  });
  // The errors the server answers by itself (an oversized body, an unknown path) get their line too.
  server_->set_error_handler([](const httplib::Request&, httplib::Response& response) {
    if (!response.body.empty()) return;
    if (response.status == 413) Answer(response, 413, "the body is over 1 MiB");
    else if (response.status == 404) Answer(response, 404, "no such resource; the list is at /world");
    else Answer(response, response.status, "the request was refused");
  });
}

bool ScoreService::Authorized(const httplib::Request& request) const {
  return request.get_header_value("Authorization") == expectedAuthorization_;
}

void ScoreService::GetWorld(const httplib::Request& request, httplib::Response& response) {
  const std::optional<std::string> list = store_.CurrentList();
  if (!list) return Answer(response, 503, "the world list cannot be read now");
  if (list->empty()) return Answer(response, 404, "there is no world list yet");
  const std::string tag = tags_.Of(*list);
  if (request.has_header("If-None-Match") && TagMatches(request.get_header_value("If-None-Match"), tag)) {
    response.status = 304;
    response.set_header("ETag", tag);
    return;
  }
  AnswerList(response, *list, tag);
}

void ScoreService::PostWorld(const httplib::Request& request, httplib::Response& response) {
  const std::string address = ClientAddress(request);
  if (!rate_.Admit(address, std::chrono::steady_clock::now())) {
    return Answer(response, 429,
                  "more than " + std::to_string(settings_.maxUploadsPerMinute) + " uploads a minute from " + address);
  }
  const Date today = settings_.today();
  const ListChange change{.kind = "upload", .address = address, .body = request.body, .day = ListDateText(today)};
  const std::optional<WorldMerge> merge = store_.ChangeList(
      change, [&](std::string_view current) { return MergeWorldUpload(current, request.body, today); });
  if (!merge) return Answer(response, 503, "the world list cannot be changed now");
  if (!merge->rejection.empty()) return Answer(response, 400, merge->rejection);
  AnswerList(response, merge->text, tags_.Of(merge->text));
}

int ScoreService::Bind(const std::string& host, int port) {
  // cpp-httplib listens with a backlog of 5, so a burst of new connections (every game's synchronisation
  // is one) has most of them dropped and tried again by the client a second later. The listening socket is
  // noted as it is made and given the system's backlog once bound.
  int listening = -1;
  server_->set_socket_options([&listening](socket_t socket) {
    httplib::default_socket_options(socket);
    listening = socket;
  });
  const int bound = port == 0 ? server_->bind_to_any_port(host) : (server_->bind_to_port(host, port) ? port : -1);
  server_->set_socket_options(httplib::default_socket_options);  // the noting lambda holds this frame's local
  if (bound >= 0 && listening >= 0) ::listen(listening, SOMAXCONN);
  return bound;
}

bool ScoreService::Run() { return server_->listen_after_bind(); }

void ScoreService::Stop() { server_->stop(); }

}  // namespace kesmir
