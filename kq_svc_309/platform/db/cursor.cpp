#include "platform/db/cursor.h"

#include <utility>

#include "platform/db/statement_cache.h"

namespace kq::db {

Cursor::Cursor(std::shared_ptr<CachedStatement> statement)
    : cached_(std::move(statement)), stmt_(cached_->statement.get()) {
  cached_->busy = true;
  int n = stmt_->column_count();
  names_.reserve(static_cast<size_t>(n));
  infos_.reserve(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    names_.emplace_back(stmt_->column_name(i));
    infos_.push_back(stmt_->column_info(i));
  }
}

Cursor::Cursor(Cursor&& o) noexcept
    : cached_(std::move(o.cached_)),
      stmt_(std::exchange(o.stmt_, nullptr)),
      names_(std::move(o.names_)),
      infos_(std::move(o.infos_)),
      error_(std::move(o.error_)),
      rows_(o.rows_) {}

Cursor& Cursor::operator=(Cursor&& o) noexcept {
  if (this != &o) {
    close();
    cached_ = std::move(o.cached_);
    stmt_ = std::exchange(o.stmt_, nullptr);
    names_ = std::move(o.names_);
    infos_ = std::move(o.infos_);
    error_ = std::move(o.error_);
    rows_ = o.rows_;
  }
  return *this;
}

bool Cursor::next() {
  if (!stmt_) return false;
  if (!*cached_->connection_alive) {
    error_ = "the connection was closed";
    stmt_ = nullptr;
    cached_->busy = false;
    cached_.reset();
    return false;
  }
  auto r = stmt_->step();
  if (r.ok() && r.value()) {
    ++rows_;
    return true;
  }
  if (!r.ok()) error_ = r.error();
  close();
  return false;
}

Value Cursor::value(int column) const {
  Value v;
  stmt_->read(column, v);
  return v;
}

void Cursor::read(int column, Value& into) const { stmt_->read(column, into); }

void Cursor::read_row(std::span<Value> row) const { stmt_->read_row(row); }

std::optional<std::string_view> Cursor::text_view(int column) const { return stmt_->text_view(column); }

void Cursor::close() {
  if (!cached_) return;
  if (stmt_ && *cached_->connection_alive) stmt_->reset();
  stmt_ = nullptr;
  cached_->busy = false;
  cached_.reset();
}

}  // namespace kq::db
