// The score storage in SQLite: an append-only table of changes and the current list beside it.
#include "server/sqlite_store.h"

#include <sqlite3.h>

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <vector>

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

class SqliteStore final : public IScoreStore {
 public:
  explicit SqliteStore(Db db) : db_(std::move(db)) {}

  bool Prepare(std::string& error) {
    if (!Exec(kSchema)) return Fail(error);
    if (!(PrepareOne("SELECT text FROM world_list WHERE id = 1", select_) &&
          PrepareOne("INSERT INTO changes (received, address, kind, day, body, rows_added) "
                     "VALUES (strftime('%Y-%m-%dT%H:%M:%fZ', 'now'), ?, ?, ?, ?, ?)",
                     insertChange_) &&
          PrepareOne("INSERT OR REPLACE INTO world_list (id, change_id, text) VALUES (1, ?, ?)", storeList_))) {
      return Fail(error);
    }
    return true;
  }

  std::optional<std::string> CurrentList() override {
    const std::lock_guard lock(mutex_);
    auto text = ReadList();
    if (!text) Say("cannot read the world list");
    return text;
  }

  // Changes that come while one thread commits wait and are then committed together by one of them, in the
  // order they came: each merge starts from the list the one before it left, and one commit (one fsync of the
  // write-ahead log) makes the whole group last. Every change is answered only after that commit.
  std::optional<WorldMerge> ChangeList(const ListChange& change,
                                       const std::function<WorldMerge(std::string_view)>& apply) override {
    Pending mine{.change = &change, .apply = &apply, .result = std::nullopt, .done = false};
    std::unique_lock lock(queueMutex_);
    queue_.push_back(&mine);
    // The thread that finds nobody committing commits the oldest changes, its own among them or before them.
    while (true) {
      committed_.wait(lock, [&] { return mine.done || !committing_; });
      if (mine.done) return mine.result;
      committing_ = true;
      const auto take = queue_.begin() + static_cast<std::ptrdiff_t>(std::min(queue_.size(), kMaxGroup));
      const std::vector<Pending*> group(queue_.begin(), take);
      queue_.erase(queue_.begin(), take);
      lock.unlock();
      CommitGroup(group);
      lock.lock();
      for (Pending* pending : group) pending->done = true;
      committing_ = false;
      committed_.notify_all();
    }
  }

 private:
  struct Pending {
    const ListChange* change;
    const std::function<WorldMerge(std::string_view)>* apply;
    std::optional<WorldMerge> result;
    bool done;
  };

  // Merges and records the group's changes in one transaction. A storage failure fails every change of the
  // group that was not rejected, since none of them was committed.
  void CommitGroup(const std::vector<Pending*>& group) {
    const std::lock_guard lock(mutex_);
    // IMMEDIATE takes the write lock before the list is read, so no other process's merge can start from it.
    if (!Exec("BEGIN IMMEDIATE")) return Say("cannot start a change");
    const std::optional<std::string> stored = ReadList();
    if (!stored) return Abandon("cannot read the world list", group);
    std::string_view list = *stored;  // the list as the changes so far left it
    bool changed = false;
    for (Pending* pending : group) {
      WorldMerge merge = (*pending->apply)(list);
      if (!merge.rejection.empty()) {
        pending->result = std::move(merge);
        continue;
      }
      const ListChange& change = *pending->change;
      sqlite3_stmt* insert = insertChange_.get();
      sqlite3_bind_text(insert, 1, change.address.data(), static_cast<int>(change.address.size()), SQLITE_STATIC);
      sqlite3_bind_text(insert, 2, change.kind.data(), static_cast<int>(change.kind.size()), SQLITE_STATIC);
      sqlite3_bind_text(insert, 3, change.day.data(), static_cast<int>(change.day.size()), SQLITE_STATIC);
      sqlite3_bind_blob(insert, 4, change.body.data(), static_cast<int>(change.body.size()), SQLITE_STATIC);
      sqlite3_bind_int(insert, 5, merge.added);
      const int rc = sqlite3_step(insert);
      sqlite3_reset(insert);
      sqlite3_clear_bindings(insert);  // the change's text is the waiting caller's
      if (rc != SQLITE_DONE) return Abandon("cannot record the change", group);
      pending->result = std::move(merge);
      list = pending->result->text;
      changed = true;
    }
    if (!changed) {
      Exec("ROLLBACK");
      return;
    }
    sqlite3_stmt* store = storeList_.get();
    sqlite3_bind_int64(store, 1, sqlite3_last_insert_rowid(db_.get()));
    sqlite3_bind_blob(store, 2, list.data(), static_cast<int>(list.size()), SQLITE_STATIC);
    const int rc = sqlite3_step(store);
    sqlite3_reset(store);
    sqlite3_clear_bindings(store);
    if (rc != SQLITE_DONE) return Abandon("cannot store the world list", group);
    if (!Exec("COMMIT")) return Abandon("cannot commit the change", group);
  }

  bool Exec(const char* sql) { return sqlite3_exec(db_.get(), sql, nullptr, nullptr, nullptr) == SQLITE_OK; }

  bool PrepareOne(const char* sql, Statement& statement) {
    sqlite3_stmt* raw = nullptr;
    const int rc = sqlite3_prepare_v2(db_.get(), sql, -1, &raw, nullptr);
    statement.reset(raw);
    return rc == SQLITE_OK;
  }

  bool Fail(std::string& error) const {
    error = sqlite3_errmsg(db_.get());
    return false;
  }

  void Say(const char* what) const {
    std::fprintf(stderr, "kesmir-scored: %s: %s\n", what, sqlite3_errmsg(db_.get()));
  }

  // Rolls the group back: the changes it had merged get no result, the rejections keep theirs.
  void Abandon(const char* what, const std::vector<Pending*>& group) {
    Say(what);
    Exec("ROLLBACK");
    for (Pending* pending : group) {
      if (pending->result && pending->result->rejection.empty()) pending->result.reset();
    }
  }

  // The current list, "" while there is none; nullopt on failure.
  std::optional<std::string> ReadList() {
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

  std::mutex mutex_;  // one connection, used by one request at a time
  std::mutex queueMutex_;
  std::condition_variable committed_;
  std::vector<Pending*> queue_;  // changes waiting for the next commit, in the order they came
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

std::unique_ptr<IScoreStore> OpenScoreStore(std::string_view url, std::string& error) {
  constexpr std::string_view kSqlite = "sqlite:";
  if (url.starts_with(kSqlite) && url.size() > kSqlite.size()) {
    return OpenSqliteStore(std::filesystem::path(url.substr(kSqlite.size())), error);
  }
  error = "unknown storage \"" + std::string(url) + "\" (sqlite:PATH)";
  return nullptr;
}

}  // namespace kesmir
