// The steps every storage takes for a read or a change of the list, so that the order of a change and its
// failures are written once.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "server/score_store.h"

namespace kesmir {

// One connection to a storage, used by one request at a time.
class StoreSteps {
 public:
  virtual ~StoreSteps() = default;
  // The current list, "" while there is none; nullopt on failure.
  virtual std::optional<std::string> ReadList() = 0;
  // Starts a transaction that holds the list against every other change, in this process or another, and
  // reads the list as that transaction sees it; nullopt on failure.
  virtual std::optional<std::string> BeginChange() = 0;
  // Records the change with the rows it added and makes the merged text the current list.
  virtual bool Store(const ListChange& change, const WorldMerge& merge) = 0;
  virtual bool Commit() = 0;
  virtual void Rollback() = 0;
  // The storage's own words for the last failure.
  virtual std::string Fault() const = 0;
};

// A storage's message, which may have lines of explanation, as one line.
std::string OneLine(std::string_view words);

// One change waiting for its transaction, and what it came to: nullopt while the storage failed.
struct PendingChange {
  const ListChange* change;
  const std::function<WorldMerge(std::string_view)>* apply;
  std::optional<WorldMerge> result;
};

// IScoreStore::CurrentList and ChangeList on one connection: failures are said on stderr, and a change that
// failed or was rejected is rolled back.
std::optional<std::string> ReadListWith(StoreSteps& steps);
std::optional<WorldMerge> ChangeListWith(StoreSteps& steps, const ListChange& change,
                                         const std::function<WorldMerge(std::string_view)>& apply);
// The changes of a group in one transaction, in their order: each merge starts from the list the one before it
// left, rejections are kept apart, and a storage failure fails every change of the group that was merged.
void ChangeGroupWith(StoreSteps& steps, const std::vector<PendingChange*>& group);

}  // namespace kesmir
