// The score storage in SQLite: an append-only table of changes and the current list beside it.
#include "server/sqlite_store.h"

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "server/store_steps.h"

namespace kesmir {
namespace {

// Another process's change of the list is waited for this long before the storage counts as failed.
constexpr int kBusyMilliseconds = 30000;
// The most changes one commit takes, which bounds the wait of the last of them.
constexpr std::size_t kMaxGroup = 64;

struct CloseDb {
  void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct FinalizeStatement {
  void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Db = std::unique_ptr<sqlite3, CloseDb>;
using Statement = std::unique_ptr<sqlite3_stmt, FinalizeStatement>;

// WAL lets readers go on while one process writes; synchronous=FULL makes an answered upload survive a crash
// of the machine, not only of the process.
constexpr const char* kSchema = R"sql(
PRAGMA journal_mode = WAL;
PRAGMA synchronous = FULL;
BEGIN IMMEDIATE;
CREATE TABLE IF NOT EXISTS changes (
  id         INTEGER PRIMARY KEY AUTOINCREMENT,
  received   TEXT    NOT NULL,
  address    TEXT    NOT NULL,
  kind       TEXT    NOT NULL,
  day        TEXT    NOT NULL,
  body       BLOB    NOT NULL,
  rows_added INTEGER NOT NULL
);
CREATE TABLE IF NOT EXISTS world_list (
  id        INTEGER PRIMARY KEY CHECK (id = 1),
  change_id INTEGER NOT NULL REFERENCES changes (id),
  text      BLOB    NOT NULL
);
COMMIT;
)sql";

class SqliteStore final : public IScoreStore, StoreSteps {
 public:
  explicit SqliteStore(Db db) : db_(std::move(db)) {}

  bool Prepare(std::string& error) {
    if (!(CreateTables() && PrepareOne("SELECT text FROM world_list WHERE id = 1", select_) &&
          PrepareOne("INSERT INTO changes (received, address, kind, day, body, rows_added) "
                     "VALUES (strftime('%Y-%m-%dT%H:%M:%fZ', 'now'), ?, ?, ?, ?, ?)",
                     insertChange_) &&
          PrepareOne("INSERT OR REPLACE INTO world_list (id, change_id, text) VALUES (1, ?, ?)", storeList_))) {
      error = Fault();
      return false;
    }
    return true;
  }

  std::optional<std::string> CurrentList() override {
    const std::lock_guard lock(mutex_);
    return ReadListWith(*this);
  }

  // Changes that come while one thread commits wait and are then committed together by one of them, in the
  // order they came: each merge starts from the list the one before it left, and one commit (one fsync of the
  // write-ahead log) makes the whole group last. Every change is answered only after that commit.
  std::optional<WorldMerge> ChangeList(const ListChange& change,
                                       const std::function<WorldMerge(std::string_view)>& apply) override {
    Waiting mine{.pending = {.change = &change, .apply = &apply, .result = std::nullopt}, .done = false};
    std::unique_lock lock(queueMutex_);
    queue_.push_back(&mine);
    while (true) {
      committed_.wait(lock, [&] { return mine.done || !committing_; });
      if (mine.done) return mine.pending.result;
      // Nobody is committing: this thread commits the oldest changes, its own among them or before them.
      committing_ = true;
      const auto take = queue_.begin() + static_cast<std::ptrdiff_t>(std::min(queue_.size(), kMaxGroup));
      const std::vector<Waiting*> group(queue_.begin(), take);
      queue_.erase(queue_.begin(), take);
      lock.unlock();
      std::vector<PendingChange*> changes;
      for (Waiting* waiting : group) changes.push_back(&waiting->pending);
      {
        const std::lock_guard connection(mutex_);
        ChangeGroupWith(*this, changes);
      }
      lock.lock();
      for (Waiting* waiting : group) waiting->done = true;
      committing_ = false;
      committed_.notify_all();
    }
  }

 private:
  struct Waiting {
    PendingChange pending;
    bool done;
  };

  std::optional<std::string> ReadList() override {
    sqlite3_stmt* select = select_.get();
    sqlite3_reset(select);
    const int rc = sqlite3_step(select);
    if (rc == SQLITE_DONE) return std::string();
    if (rc != SQLITE_ROW) return std::nullopt;
    const auto* data = static_cast<const char*>(sqlite3_column_blob(select, 0));
    std::string text(data ? data : "", static_cast<std::size_t>(sqlite3_column_bytes(select, 0)));
    sqlite3_reset(select);
    return text;
  }

  // IMMEDIATE takes the write lock before the list is read, so no other merge can start from the same list.
  std::optional<std::string> BeginChange() override {
    if (!Exec("BEGIN IMMEDIATE")) return std::nullopt;
    return ReadList();
  }

  bool Store(const ListChange& change, const WorldMerge& merge) override {
    sqlite3_stmt* insert = insertChange_.get();
    sqlite3_reset(insert);
    sqlite3_bind_text(insert, 1, change.address.data(), static_cast<int>(change.address.size()), SQLITE_TRANSIENT);
    sqlite3_bind_text(insert, 2, change.kind.data(), static_cast<int>(change.kind.size()), SQLITE_TRANSIENT);
    sqlite3_bind_text(insert, 3, change.day.data(), static_cast<int>(change.day.size()), SQLITE_TRANSIENT);
    sqlite3_bind_blob(insert, 4, change.body.data(), static_cast<int>(change.body.size()), SQLITE_TRANSIENT);
    sqlite3_bind_int(insert, 5, merge.added);
    if (sqlite3_step(insert) != SQLITE_DONE) return false;
    sqlite3_stmt* store = storeList_.get();
    sqlite3_reset(store);
    sqlite3_bind_int64(store, 1, sqlite3_last_insert_rowid(db_.get()));
    sqlite3_bind_blob(store, 2, merge.text.data(), static_cast<int>(merge.text.size()), SQLITE_TRANSIENT);
    return sqlite3_step(store) == SQLITE_DONE;
  }

  bool Commit() override { return Exec("COMMIT"); }
  void Rollback() override { Exec("ROLLBACK"); }
  std::string Fault() const override { return sqlite3_errmsg(db_.get()); }

  // A new file's switch to WAL is refused at once, without the busy wait, while another process is making
  // the same file; the tables are tried again until the busy time is over.
  bool CreateTables() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kBusyMilliseconds);
    while (!Exec(kSchema)) {
      const int code = sqlite3_errcode(db_.get());
      if ((code != SQLITE_BUSY && code != SQLITE_LOCKED) || std::chrono::steady_clock::now() > deadline) return false;
      if (!sqlite3_get_autocommit(db_.get())) Exec("ROLLBACK");
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
  }

  bool Exec(const char* sql) { return sqlite3_exec(db_.get(), sql, nullptr, nullptr, nullptr) == SQLITE_OK; }

  bool PrepareOne(const char* sql, Statement& statement) {
    sqlite3_stmt* raw = nullptr;
    const int rc = sqlite3_prepare_v2(db_.get(), sql, -1, &raw, nullptr);
    statement.reset(raw);
    return rc == SQLITE_OK;
  }

  std::mutex mutex_;  // one connection, used by one request at a time
  std::mutex queueMutex_;
  std::condition_variable committed_;
  std::vector<Waiting*> queue_;  // changes waiting for the next commit, in the order they came
  bool committing_ = false;
  Db db_;
  Statement select_, insertChange_, storeList_;
};

}  // namespace

std::unique_ptr<IScoreStore> OpenSqliteStore(const std::filesystem::path& path, std::string& error) {
  sqlite3* raw = nullptr;
  const int rc = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                                 nullptr);
  Db db(raw);
  if (rc != SQLITE_OK) {
    error = raw ? sqlite3_errmsg(raw) : "out of memory";
    return nullptr;
  }
  sqlite3_busy_timeout(db.get(), kBusyMilliseconds);
  auto store = std::make_unique<SqliteStore>(std::move(db));
  if (!store->Prepare(error)) return nullptr;
  return store;
}

}  // namespace kesmir
