// The score service's request reader: arbitrary bytes as the requests of one connection, read by the HTTP
// server and answered by the service over a seeded SQLite store in memory. Every answer must be a whole
// status line and headers, every refusal must carry one line of reason, and the list may change only with an
// answer 200 that serves the new list.
#include <httplib.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fakes/world_files.h"
#include "server/score_service.h"
#include "server/sqlite_store.h"

namespace {

// Requests read from one input; the rate limit below is reached within them.
constexpr int kMaxRequests = 4;

// One connection in memory: reads come from the input, writes go to the answers.
class MemoryStream final : public httplib::Stream {
 public:
  explicit MemoryStream(std::string_view input) : input_(input) {}
  bool is_readable() const override { return true; }
  bool is_writable() const override { return true; }
  ssize_t read(char* ptr, size_t size) override {
    const std::size_t n = std::min(size, input_.size());
    input_.copy(ptr, n);
    input_.remove_prefix(n);
    return static_cast<ssize_t>(n);
  }
  ssize_t write(const char* ptr, size_t size) override {
    written.append(ptr, size);
    return static_cast<ssize_t>(size);
  }
  void get_remote_ip_and_port(std::string& ip, int& port) const override {
    ip = "127.0.0.1";
    port = 40000;
  }
  void get_local_ip_and_port(std::string& ip, int& port) const override {
    ip = "127.0.0.1";
    port = 8080;
  }
  socket_t socket() const override { return INVALID_SOCKET; }

  std::string written;

 private:
  std::string_view input_;
};

// The HTTP server with the connection's request loop opened to the fuzzer.
class MemoryServer final : public httplib::Server {
 public:
  std::string Answer(std::string_view input) {
    MemoryStream stream(input);
    for (int i = 0; i < kMaxRequests; ++i) {
      bool closed = false;
      if (!process_request(stream, false, closed, [](httplib::Request&) {}) || closed) break;
    }
    return stream.written;
  }
};

void Check(bool holds, const char* property) {
  if (holds) return;
  std::fprintf(stderr, "score_request: %s\n", property);
  std::abort();
}

// One answer at the start of text: its status, and where the next one starts; checks its form.
std::size_t CheckAnswer(std::string_view text, int& status, std::string& body) {
  Check(text.starts_with("HTTP/1.1 ") && text.size() > 12, "an answer starts with a status line");
  status = std::atoi(std::string(text.substr(9, 3)).c_str());
  Check((status == 100 || (status >= 200 && status <= 599)) && text[12] == ' ',
        "the status is 100 or three digits of 200-599");
  const std::size_t headersEnd = text.find("\r\n\r\n");
  Check(headersEnd != std::string_view::npos, "the headers end with an empty line");
  const std::string_view headers = text.substr(0, headersEnd + 2);
  std::size_t length = 0;
  if (const auto at = headers.find("\r\nContent-Length: "); at != std::string_view::npos) {
    length = std::strtoul(std::string(headers.substr(at + 18)).c_str(), nullptr, 10);
  }
  // The answer to HEAD says the length of a body it does not send.
  const std::string_view after = text.substr(headersEnd + 4);
  const bool bodiless = length > 0 && (after.empty() || after.starts_with("HTTP/1.1 "));
  if (bodiless) length = 0;
  Check(headersEnd + 4 + length <= text.size(), "the body is as long as Content-Length says");
  body = text.substr(headersEnd + 4, length);
  if (status >= 400 && !bodiless) {
    Check(!body.empty() && body.back() == '\n' && body.find('\n') == body.size() - 1, "a refusal has one line");
  }
  return headersEnd + 4 + length;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string seed = kesmir::testing::WorldListFile(5000, "S", 41, "01.02.2024");
  std::string error;
  auto store = kesmir::OpenSqliteStore(":memory:", error);
  Check(store != nullptr, "the store in memory opens");
  store->ChangeList({.kind = "seed", .address = "operator", .body = seed, .day = "01.02.2024"},
                    [](std::string_view) { return kesmir::WorldMerge{.text = seed, .added = 0, .rejection = {}}; });
  auto owned = std::make_unique<MemoryServer>();
  MemoryServer& server = *owned;
  kesmir::ScoreService service(*store,
                               {.account = "kesmir7:secret7",
                                .maxUploadsPerMinute = 2,
                                .today = [] { return kesmir::Date{.year = 2026, .month = 12, .day = 9}; },
                                .certFile = {},
                                .keyFile = {}},
                               std::move(owned));

  const std::string answers = server.Answer({reinterpret_cast<const char*>(data), size});
  std::string lastListServed;
  for (std::size_t at = 0; at < answers.size();) {
    int status = 0;
    std::string body;
    at += CheckAnswer(std::string_view(answers).substr(at), status, body);
    if (status == 200 && !body.empty()) lastListServed = body;
  }
  const auto list = store->CurrentList();
  Check(list.has_value(), "the list can be read");
  Check(*list == seed || *list == lastListServed, "the list changes only with an answer that serves it");
  return 0;
}
