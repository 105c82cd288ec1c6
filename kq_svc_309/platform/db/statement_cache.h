#pragma once
// Translations and prepared statements of one connection, kept per statement
// text: a text is translated and prepared once, then bound and run as often as
// the windows run it.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/db/backend.h"

namespace kq::db {

struct CachedStatement {
  Translation translation;
  std::unique_ptr<Statement> statement;
  bool busy = false;  // an open cursor is stepping it
  // False once the connection that prepared it is closed.
  std::shared_ptr<const bool> connection_alive;
};

class StatementCache {
 public:
  // The statement of `text` on `conn`, translated and prepared on first use.
  // When the cached one is busy (a cursor over the same text is open) a fresh,
  // uncached one is returned. An error from the dialect or from preparing.
  Result<std::shared_ptr<CachedStatement>> get(Connection& conn, std::string_view text,
                                               const std::shared_ptr<const bool>& alive);
  void clear() { entries_.clear(); }
  size_t size() const { return entries_.size(); }

  // Beyond this many texts the idle entries are dropped (queries built at run
  // time must not grow the cache without bound).
  static constexpr size_t kMaxEntries = 2000;

 private:
  struct Hash {
    using is_transparent = void;
    size_t operator()(std::string_view s) const noexcept { return std::hash<std::string_view>{}(s); }
  };
  std::unordered_map<std::string, std::shared_ptr<CachedStatement>, Hash, std::equal_to<>> entries_;
};

}  // namespace kq::db
