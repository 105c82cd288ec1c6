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
    auto parsed = sql::parse(tsql);
    if (!parsed) return Error{parsed.error()};
    sql::Statement& st = *parsed;
    const sql::ValueRules keep_values;
    for (auto pass : {sql::classify, sql::extract_into}) {
      auto r = pass(st);
      if (!r) return Error{r.error()};
    }
    auto bound = sql::bind_columns(st, catalog, keep_values);
    if (!bound) return Error{bound.error()};
    Translation t;
    t.kind = st.kind;
    t.sql = sql::emit(st, sql::PlaceholderStyle::Question, t.params);
    t.into = std::move(st.into);
    return t;
  }
};

}  // namespace

std::unique_ptr<Dialect> make_tsql_dialect() { return std::make_unique<TsqlDialect>(); }

}  // namespace kq::db
