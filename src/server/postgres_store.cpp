// The score storage in PostgreSQL: the tables of the SQLite store, a pool of connections, and the one row of
// world_list that every change locks first.
#include "server/postgres_store.h"

#include <libpq-fe.h>
#include <poll.h>

#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <vector>

#include "server/store_steps.h"

namespace kesmir {
namespace {

struct FinishConnection {
  void operator()(PGconn* connection) const { PQfinish(connection); }
};
struct ClearResult {
  void operator()(PGresult* result) const { PQclear(result); }
};
using Connection = std::unique_ptr<PGconn, FinishConnection>;
using Result = std::unique_ptr<PGresult, ClearResult>;

// Taken while the tables are made, so that two processes starting on one empty database do not both make them.
constexpr const char* kSchemaLockKey = "7310593858";

// world_list always holds its one row (an empty text while there is no list), so that the very first change
// has a row to lock like every later one.
constexpr const char* kSchema = R"sql(
CREATE TABLE IF NOT EXISTS changes (
  id         bigint      GENERATED ALWAYS AS IDENTITY PRIMARY KEY,
  received   timestamptz NOT NULL DEFAULT clock_timestamp(),
  address    text        NOT NULL,
  kind       text        NOT NULL,
  day        text        NOT NULL,
  body       bytea       NOT NULL,
  rows_added integer     NOT NULL
);
CREATE TABLE IF NOT EXISTS world_list (
  id        integer PRIMARY KEY CHECK (id = 1),
  change_id bigint  REFERENCES changes (id),
  text      bytea   NOT NULL
);
INSERT INTO world_list (id, change_id, text) VALUES (1, NULL, '') ON CONFLICT (id) DO NOTHING;
)sql";

constexpr const char* kRead = "SELECT text FROM world_list WHERE id = 1";
// FOR UPDATE waits for any other change of the list to commit, then reads the list that change left.
constexpr const char* kReadForChange = "SELECT text FROM world_list WHERE id = 1 FOR UPDATE";
constexpr const char* kStore =
    "WITH change AS (INSERT INTO changes (address, kind, day, body, rows_added) VALUES ($1, $2, $3, $4, $5) "
    "RETURNING id) UPDATE world_list SET change_id = (SELECT id FROM change), text = $6 WHERE id = 1";

// A lock or a statement that waits longer than this fails the request rather than holding it forever.
constexpr const char* kSessionOptions = "-c lock_timeout=30000 -c statement_timeout=30000";

class PostgresConnection final : public StoreSteps {
 public:
  explicit PostgresConnection(Connection connection) : connection_(std::move(connection)) {}

  // False when the connection was lost or is left inside a transaction: it is not used again.
  bool Usable() const {
    return PQstatus(connection_.get()) == CONNECTION_OK && PQtransactionStatus(connection_.get()) == PQTRANS_IDLE;
  }

  // False when the server may have closed the connection since its last use (it restarted, or ended the
  // session): an idle connection has nothing to read, so anything there is taken as its end.
  bool StillOpen() const {
    pollfd socket{PQsocket(connection_.get()), POLLIN, 0};
    return PQstatus(connection_.get()) == CONNECTION_OK && poll(&socket, 1, 0) == 0;
  }

  bool MakeTables() {
    return Command("BEGIN") && Query(("SELECT pg_advisory_xact_lock(" + std::string(kSchemaLockKey) + ")").c_str()) &&
           Command(kSchema) && Command("COMMIT");
  }

  bool PrepareStatements() {
    return Prepared(PQprepare(connection_.get(), "read", kRead, 0, nullptr)) &&
           Prepared(PQprepare(connection_.get(), "read_for_change", kReadForChange, 0, nullptr)) &&
           Prepared(PQprepare(connection_.get(), "store", kStore, 6, nullptr));
  }

  std::optional<std::string> ReadList() override { return ReadText("read"); }

  std::optional<std::string> BeginChange() override {
    if (!Command("BEGIN")) return std::nullopt;
    return ReadText("read_for_change");
  }

  bool Store(const ListChange& change, const WorldMerge& merge) override {
    const std::string added = std::to_string(merge.added);
    const char* values[] = {change.address.c_str(), change.kind.c_str(), change.day.c_str(),
                            change.body.data(),     added.c_str(),       merge.text.data()};
    const int lengths[] = {0, 0, 0, static_cast<int>(change.body.size()), 0, static_cast<int>(merge.text.size())};
    const int binary[] = {0, 0, 0, 1, 0, 1};  // the files go as their bytes, the rest as text
    const Result result(PQexecPrepared(connection_.get(), "store", 6, values, lengths, binary, 0));
    return Done(result.get(), PGRES_COMMAND_OK);
  }

  // A COMMIT in a transaction that failed answers ROLLBACK, which is no success.
  bool Commit() override {
    const Result result(PQexec(connection_.get(), "COMMIT"));
    return Done(result.get(), PGRES_COMMAND_OK) && std::string_view(PQcmdStatus(result.get())) == "COMMIT";
  }

  void Rollback() override {
    if (PQtransactionStatus(connection_.get()) != PQTRANS_IDLE) Command("ROLLBACK");
  }

  std::string Fault() const override {
    return fault_.empty() ? PQerrorMessage(connection_.get()) : fault_;
  }

 private:
  bool Done(const PGresult* result, ExecStatusType expected) {
    fault_.clear();
    if (PQresultStatus(result) == expected) return true;
    if (result) fault_ = PQresultErrorMessage(result);
    return false;
  }
  bool Command(const char* sql) {
    const Result result(PQexec(connection_.get(), sql));
    return Done(result.get(), PGRES_COMMAND_OK);
  }
  bool Query(const char* sql) {
    const Result result(PQexec(connection_.get(), sql));
    return Done(result.get(), PGRES_TUPLES_OK);
  }
  bool Prepared(PGresult* raw) {
    const Result result(raw);
    return Done(result.get(), PGRES_COMMAND_OK);
  }

  std::optional<std::string> ReadText(const char* statement) {
    const Result result(PQexecPrepared(connection_.get(), statement, 0, nullptr, nullptr, nullptr, 1));
    if (!Done(result.get(), PGRES_TUPLES_OK)) return std::nullopt;
    if (PQntuples(result.get()) != 1) {
      fault_ = "world_list has lost its row";
      return std::nullopt;
    }
    return std::string(PQgetvalue(result.get(), 0, 0), static_cast<std::size_t>(PQgetlength(result.get(), 0, 0)));
  }

  Connection connection_;
  std::string fault_;  // the last statement's error; the connection's own while empty
};

void IgnoreNotice(void*, const char*) {}

// A new connection with its statements prepared, after making the tables when asked; nullptr with the reason
// in error.
std::unique_ptr<PostgresConnection> Connect(const std::string& url, bool makeTables, std::string& error) {
  // The URL comes last, so that what it says overrides these defaults.
  const char* keys[] = {"connect_timeout", "application_name", "options", "dbname", nullptr};
  const char* values[] = {"10", "kesmir-scored", kSessionOptions, url.c_str(), nullptr};
  Connection raw(PQconnectdbParams(keys, values, 1));
  if (!raw) {
    error = "out of memory";
    return nullptr;
  }
  if (PQstatus(raw.get()) != CONNECTION_OK) {
    error = OneLine(PQerrorMessage(raw.get()));
    return nullptr;
  }
  PQsetNoticeProcessor(raw.get(), IgnoreNotice, nullptr);  // "already exists, skipping" is no news
  auto connection = std::make_unique<PostgresConnection>(std::move(raw));
  if ((makeTables && !connection->MakeTables()) || !connection->PrepareStatements()) {
    error = OneLine(connection->Fault());
    return nullptr;
  }
  return connection;
}

class PostgresStore final : public IScoreStore {
 public:
  PostgresStore(std::string url, std::unique_ptr<PostgresConnection> first) : url_(std::move(url)), open_(1) {
    idle_.push_back(std::move(first));
  }

  std::optional<std::string> CurrentList() override {
    Lease lease(*this);
    if (!lease) return std::nullopt;
    return ReadListWith(*lease);
  }

  std::optional<WorldMerge> ChangeList(const ListChange& change,
                                       const std::function<WorldMerge(std::string_view)>& apply) override {
    Lease lease(*this);
    if (!lease) return std::nullopt;
    return ChangeListWith(*lease, change, apply);
  }

 private:
  // One connection of the pool for one request; a connection that is no longer usable is closed on return,
  // and the next request that finds none idle opens a new one.
  class Lease {
   public:
    explicit Lease(PostgresStore& store) : store_(store), connection_(store.Take()) {}
    ~Lease() {
      if (connection_) store_.Give(std::move(connection_));
    }
    Lease(const Lease&) = delete;
    Lease& operator=(const Lease&) = delete;
    explicit operator bool() const { return connection_ != nullptr; }
    PostgresConnection& operator*() const { return *connection_; }

   private:
    PostgresStore& store_;
    std::unique_ptr<PostgresConnection> connection_;
  };

  // An idle connection, or a new one while fewer than the bound are open, or the next one given back; nullptr
  // (said on stderr) when a new one cannot be opened.
  std::unique_ptr<PostgresConnection> Take() {
    std::unique_lock lock(mutex_);
    for (;;) {
      given_.wait(lock, [this] { return !idle_.empty() || open_ < kPostgresConnections; });
      if (idle_.empty()) break;
      auto connection = std::move(idle_.back());
      idle_.pop_back();
      if (connection->StillOpen()) return connection;
      --open_;  // the server ended it while it was idle
    }
    ++open_;
    lock.unlock();
    std::string error;
    auto connection = Connect(url_, false, error);
    if (!connection) {
      std::fprintf(stderr, "kesmir-scored: cannot connect to the database: %s\n", error.c_str());
      Give(nullptr);
    }
    return connection;
  }

  void Give(std::unique_ptr<PostgresConnection> connection) {
    {
      const std::lock_guard lock(mutex_);
      if (connection && connection->Usable()) idle_.push_back(std::move(connection));
      else --open_;
    }
    given_.notify_one();
  }

  std::string url_;
  std::mutex mutex_;
  std::condition_variable given_;
  std::vector<std::unique_ptr<PostgresConnection>> idle_;
  int open_;  // idle and leased, and those being opened
};

}  // namespace

std::unique_ptr<IScoreStore> OpenPostgresStore(std::string_view url, std::string& error) {
  auto connection = Connect(std::string(url), true, error);
  if (!connection) return nullptr;
  return std::make_unique<PostgresStore>(std::string(url), std::move(connection));
}

}  // namespace kesmir
