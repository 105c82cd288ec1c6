// Transact-SQL passthrough, for a Transact-SQL server reached through a
// driver with "?" placeholders. The text keeps its meaning; only what the
// driver cannot take changes:
// - host variables and retrieval arguments ":name" -> "?", recorded in order
//   with the column each is stored into or compared with;
// - SELECT ... INTO :a, :b FROM ...: the INTO clause is taken out, the names
//   recorded in Translation::into;
// - SELECTBLOB / UPDATEBLOB -> SELECT / UPDATE; COMMIT and ROLLBACK lose
//   "using <transaction>".
// Whitespace runs become one blank.
#include "platform/db/dialect/dialect.h"
#include "platform/db/dialect/sql_rewrite.h"
#include "platform/db/dialect/sql_tree.h"

namespace kq::db {
namespace {

class TsqlDialect final : public Dialect {
 public:
  std::string_view name() const override { return "tsql"; }

  Result<Translation> translate(std::string_view tsql, const Catalog& catalog) const override {
    const sql::ValueRules keep_values;
    auto parsed = sql::parse_and_bind(tsql, catalog, keep_values);
    if (!parsed) return parsed.failure();
    return sql::finish_translation(*parsed, sql::PlaceholderStyle::Question);
  }
};

}  // namespace

std::unique_ptr<Dialect> make_tsql_dialect() { return std::make_unique<TsqlDialect>(); }

}  // namespace kq::db
