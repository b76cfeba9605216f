// The score service's storage: the current world list and the record of every change made to it.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "scores/world_merge.h"

namespace kesmir {

// One change of the world list as the record keeps it forever.
struct ListChange {
  std::string kind;     // "upload", "seed" or "remove"
  std::string address;  // the client's address; "operator" for the command line
  std::string body;     // the list file uploaded, the seed, or "NAME\nSCORE" of a removal
  std::string day;      // "dd.mm.yyyy", the day the merge took as today
};

class IScoreStore {
 public:
  virtual ~IScoreStore() = default;
  // The current world list file, empty while there is none; nullopt when the storage cannot be read.
  virtual std::optional<std::string> CurrentList() = 0;
  // In one transaction that no other change interleaves with, from this process or another sharing the
  // storage: apply gets the current list; when its result is not a rejection, that text becomes the current
  // list and the change is recorded with the rows it added. nullopt when the storage failed (said on
  // stderr); nothing is changed then.
  virtual std::optional<WorldMerge> ChangeList(const ListChange& change,
                                               const std::function<WorldMerge(std::string_view current)>& apply) = 0;
};

// Opens the storage a --db value names ("sqlite:PATH", "postgresql://..." or "postgres://..."); nullptr with
// the reason in error.
std::unique_ptr<IScoreStore> OpenScoreStore(std::string_view url, std::string& error);

// A --db value as messages may show it: the password of a URL's USER:PASSWORD@ as "***".
std::string ShownStorage(std::string_view url);

}  // namespace kesmir
