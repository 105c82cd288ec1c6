#pragma once
// A dialect turns the module's Transact-SQL text (embedded statements with host
// variables ":name", and data window queries with retrieval arguments ":name")
// into the SQL of one backend. Translations depend only on the text and the
// catalog, so a backend caches them per statement text.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/db/dialect/catalog.h"
#include "platform/result.h"

namespace kq::db {

enum class StatementKind { Select, Insert, Update, Delete, SelectBlob, UpdateBlob, Commit, Rollback, Other };

// One placeholder of the translated text.
struct Parameter {
  std::string name;                 // host variable or retrieval argument, without ':', lower case
  std::optional<ColumnInfo> target;  // the column the value is stored into or compared with, when known
};

struct Translation {
  StatementKind kind = StatementKind::Other;
  std::string sql;                      // the backend's SQL, with its placeholders
  std::vector<Parameter> params;        // one per placeholder, in order of appearance
  std::vector<std::string> into;        // host variables after INTO (SELECT / SELECTBLOB), lower case, in order
};

class Dialect {
 public:
  virtual ~Dialect() = default;
  virtual std::string_view name() const = 0;
  // Translates one statement. An error names what could not be translated.
  virtual Result<Translation> translate(std::string_view tsql, const Catalog& catalog) const = 0;
};

// Transact-SQL as it is (for a Transact-SQL server): host variables become "?",
// INTO clauses are taken out; nothing else changes.
std::unique_ptr<Dialect> make_tsql_dialect();
// The embedded default, SQLite: see sqlite_dialect.cpp for every rewrite.
std::unique_ptr<Dialect> make_sqlite_dialect();
// PostgreSQL: see postgresql_dialect.cpp for every rewrite.
std::unique_ptr<Dialect> make_postgresql_dialect();

}  // namespace kq::db
