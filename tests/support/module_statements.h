#pragma once
// Every Transact-SQL statement and query of the module, read from the
// product: the query of each data window definition, each embedded statement
// the windows, functions and user objects run (recorded as they run, see
// window_statements.h), and the statements of windows still to build. Tests
// of the dialects and of the backends take each of them through.
#include <gtest/gtest.h>

#include <cctype>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "module.h"
#include "platform/db/dialect/dialect.h"
#include "platform/dw/definition/definition_set.h"
#include "platform/value/text.h"
#include "support/statements_still_to_build.h"
#include "support/window_statements.h"

namespace kq::testing {

struct ModuleStatement {
  enum class Source { DataWindow, Recorded, StillToBuild };
  std::string name;  // the data window; "window.purpose" of one still to build; else the text's start
  std::string sql;   // Transact-SQL text
  Source source = Source::Recorded;
  // The kind the statement is run as: Select for a data window's query or a
  // cursor, Commit / Rollback for those, the table's kind for one still to
  // build; nullopt for a recorded exec (its text decides).
  std::optional<db::StatementKind> kind;
  // Of a recorded statement: the host variables it was given, lower case.
  std::set<std::string> inputs, outputs;
};

inline void PrintTo(const ModuleStatement& s, std::ostream* os) { *os << s.name; }

// The query of each data window definition.
inline const std::vector<ModuleStatement>& data_window_queries() {
  static const std::vector<ModuleStatement> all = [] {
    module::install();
    std::vector<ModuleStatement> out;
    for (const std::string& name : dw::application_definitions().names()) {
      auto d = dw::definition(name);
      EXPECT_TRUE(d.ok()) << name << ": " << (d.ok() ? "" : d.error());
      if (d.ok() && !(*d)->query.empty())
        out.push_back({name, (*d)->query, ModuleStatement::Source::DataWindow, db::StatementKind::Select, {}, {}});
    }
    return out;
  }();
  return all;
}

inline const std::vector<ModuleStatement>& module_statements() {
  static const std::vector<ModuleStatement> all = [] {
    std::vector<ModuleStatement> out = data_window_queries();
    auto known = [&](const std::string& sql) {
      for (const auto& s : out)
        if (s.sql == sql) return true;
      return false;
    };
    for (const RecordedStatement& r : window_statements()) {
      if (known(r.sql)) continue;  // a data window's own query, retrieved
      std::optional<db::StatementKind> kind;
      using Way = db::LoggedStatement::Way;
      if (r.way == Way::Cursor) kind = db::StatementKind::Select;
      if (r.way == Way::Commit) kind = db::StatementKind::Commit;
      if (r.way == Way::Rollback) kind = db::StatementKind::Rollback;
      std::string name = r.sql.substr(0, 60);
      for (char& c : name)
        if (c == '\n') c = ' ';
      out.push_back({name, r.sql, ModuleStatement::Source::Recorded, kind, r.inputs, r.outputs});
    }
    for (const StillToBuild& s : kStatementsStillToBuild)
      out.push_back({std::string(s.name), std::string(s.sql), ModuleStatement::Source::StillToBuild, s.kind, {}, {}});
    return out;
  }();
  return all;
}

// The text of the data window `key`, of the statement still to build named
// `key`, or of the one recorded statement that contains `key` (blanks and
// case aside); "" with a test failure when there is none or more than one.
// Only the last records the windows' statements.
inline std::string module_sql(std::string_view key) {
  for (const ModuleStatement& s : data_window_queries())
    if (text::iequals(s.name, key)) return s.sql;
  for (const StillToBuild& s : kStatementsStillToBuild)
    if (text::iequals(s.name, key)) return std::string(s.sql);
  auto squeeze = [](std::string_view t) {
    std::string out;
    for (char c : t) {
      if (std::isspace(static_cast<unsigned char>(c))) continue;
      out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return out;
  };
  const std::string wanted = squeeze(key);
  std::vector<const ModuleStatement*> found;
  for (const ModuleStatement& s : module_statements())
    if (s.source == ModuleStatement::Source::Recorded && squeeze(s.sql).find(wanted) != std::string::npos)
      found.push_back(&s);
  if (found.size() == 1) return found[0]->sql;
  ADD_FAILURE() << found.size() << " module statements for \"" << key << "\"";
  for (const auto* s : found) ADD_FAILURE() << "  " << s->sql;
  return "";
}

}  // namespace kq::testing
