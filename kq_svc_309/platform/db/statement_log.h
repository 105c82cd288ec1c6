#pragma once
// A record of the statements a Transaction runs: each statement's text as the
// window code gave it and the names of the host variables given with it, in
// the order they ran (the same statement as often as it ran). Tests use it to
// take the statements the windows really run to the dialects and the schema.
//
//   db::StatementLog log;
//   sqlca.set_statement_log(&log);
//   ... drive the window ...
//   sqlca.set_statement_log(nullptr);
//   for (const auto& s : log.statements()) ... s.sql, s.inputs, s.outputs ...
//
// A Transaction has no log unless one is set; without one it records nothing
// and pays one pointer test per statement.
#include <chrono>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/db/host_var.h"

namespace kq::db {

struct LoggedStatement {
  enum class Way { Exec, Cursor, Commit, Rollback };
  std::string sql;                   // as given; "commit" / "rollback" for commit() / rollback()
  Way way = Way::Exec;               // exec(), open_cursor(), commit() or rollback()
  std::vector<std::string> inputs;   // host variables given as values, as named by the caller
  std::vector<std::string> outputs;  // host variables given as out()
  // When the statement started, and the wall time it took inside the
  // Transaction (for a cursor: the opening, not the reading), lock waits and
  // syncs included; benchmarks read them.
  std::chrono::steady_clock::time_point started{};
  std::chrono::nanoseconds elapsed{0};
};

class StatementLog {
 public:
  // Records a statement about to run; its index, for set_elapsed().
  size_t record(std::string_view sql, LoggedStatement::Way way, std::span<const HostVar> vars) {
    LoggedStatement s{std::string(sql), way, {}, {}, std::chrono::steady_clock::now(), {}};
    for (const HostVar& v : vars) (v.is_output() ? s.outputs : s.inputs).emplace_back(v.name());
    statements_.push_back(std::move(s));
    return statements_.size() - 1;
  }
  void set_elapsed(size_t index, std::chrono::nanoseconds elapsed) {
    if (index < statements_.size()) statements_[index].elapsed = elapsed;
  }
  const std::vector<LoggedStatement>& statements() const { return statements_; }
  void clear() { statements_.clear(); }

 private:
  std::vector<LoggedStatement> statements_;
};

}  // namespace kq::db
