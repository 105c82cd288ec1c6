#include "platform/db/statement_cache.h"

namespace kq::db {
namespace {

Result<std::shared_ptr<CachedStatement>> make(Connection& conn, std::string_view text,
                                              const std::shared_ptr<const bool>& alive) {
  auto translation = conn.dialect().translate(text, conn.catalog());
  if (!translation) return make_error(translation.error());
  auto entry = std::make_shared<CachedStatement>();
  entry->translation = std::move(translation.value());
  entry->connection_alive = alive;
  switch (entry->translation.kind) {
    case StatementKind::Commit:
    case StatementKind::Rollback:
      return entry;  // run by the connection itself, nothing to prepare
    default:
      break;
  }
  auto stmt = conn.prepare(entry->translation.sql);
  if (!stmt) return make_error(stmt.error());
  entry->statement = std::move(stmt.value());
  return entry;
}

}  // namespace

Result<std::shared_ptr<CachedStatement>> StatementCache::get(Connection& conn, std::string_view text,
                                                             const std::shared_ptr<const bool>& alive) {
  if (auto it = entries_.find(text); it != entries_.end()) {
    if (!it->second->busy) return it->second;
    return make(conn, text, alive);
  }
  auto entry = make(conn, text, alive);
  if (!entry) return entry;
  if (entries_.size() >= kMaxEntries) {
    std::erase_if(entries_, [](const auto& kv) { return !kv.second->busy && kv.second.use_count() == 1; });
  }
  entries_.emplace(std::string(text), entry.value());
  return entry;
}

}  // namespace kq::db
