// Opening a storage by its --db value, and the order of a change that every storage follows.
#include "server/score_store.h"

#include <cstdio>

#include "server/postgres_store.h"
#include "server/sqlite_store.h"
#include "server/store_steps.h"

namespace kesmir {
namespace {

void Say(const char* what, const StoreSteps& steps) {
  std::fprintf(stderr, "kesmir-scored: %s: %s\n", what, OneLine(steps.Fault()).c_str());
}

}  // namespace

std::string OneLine(std::string_view words) {
  std::string line;
  for (const char c : words) line += c == '\n' || c == '\t' ? ' ' : c;
  while (line.ends_with(' ')) line.pop_back();
  return line;
}

std::optional<std::string> ReadListWith(StoreSteps& steps) {
  auto text = steps.ReadList();
  if (!text) Say("cannot read the world list", steps);
  return text;
}

std::optional<WorldMerge> ChangeListWith(StoreSteps& steps, const ListChange& change,
                                         const std::function<WorldMerge(std::string_view)>& apply) {
  PendingChange one{.change = &change, .apply = &apply, .result = std::nullopt};
  ChangeGroupWith(steps, {&one});
  return one.result;
}

void ChangeGroupWith(StoreSteps& steps, const std::vector<PendingChange*>& group) {
  const auto abandon = [&](const char* what) {
    Say(what, steps);
    steps.Rollback();
    for (PendingChange* pending : group) {
      if (pending->result && pending->result->rejection.empty()) pending->result.reset();
    }
  };
  const std::optional<std::string> stored = steps.BeginChange();
  if (!stored) return abandon("cannot start a change of the world list");
  std::string_view list = *stored;  // the list as the changes so far left it
  bool changed = false;
  for (PendingChange* pending : group) {
    pending->result = (*pending->apply)(list);
    if (!pending->result->rejection.empty()) continue;
    if (!steps.Store(*pending->change, *pending->result)) return abandon("cannot store the change");
    list = pending->result->text;
    changed = true;
  }
  if (!changed) return steps.Rollback();
  if (!steps.Commit()) abandon("cannot commit the change");
}

std::unique_ptr<IScoreStore> OpenScoreStore(std::string_view url, std::string& error) {
  constexpr std::string_view kSqlite = "sqlite:";
  if (url.starts_with(kSqlite) && url.size() > kSqlite.size()) {
    return OpenSqliteStore(std::filesystem::path(url.substr(kSqlite.size())), error);
  }
  if (url.starts_with("postgresql://") || url.starts_with("postgres://")) return OpenPostgresStore(url, error);
  error = "unknown storage \"" + std::string(url) + "\" (sqlite:PATH or postgresql://...)";
  return nullptr;
}

std::string ShownStorage(std::string_view url) {
  const auto from = url.find("://");
  const auto at = url.find('@');
  const auto colon = url.find(':', from + 3);
  if (from == std::string_view::npos || at == std::string_view::npos || colon > at) return std::string(url);
  return std::string(url.substr(0, colon + 1)) + "***" + std::string(url.substr(at));
}

}  // namespace kesmir
