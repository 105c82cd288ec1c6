#pragma once
// Rewrite passes over a parsed statement (sql_tree.h). A dialect is a choice
// of passes and rules; each pass walks the tree once, so a translation stays
// linear in the length of the text.
#include <functional>

#include "platform/db/dialect/catalog.h"
#include "platform/db/dialect/sql_tree.h"
#include "platform/result.h"

namespace kq::db::sql {

// Sets Statement::kind from the first word. SELECTBLOB and UPDATEBLOB become
// SELECT and UPDATE (kinds SelectBlob, UpdateBlob); COMMIT and ROLLBACK lose
// what follows the keyword ("using sqlca", "transaction").
Result<void> classify(Statement& st);

// SELECT ... INTO :a, :b FROM ...: takes the INTO clause out of a Select or
// SelectBlob statement and records the names in Statement::into. Error when
// INTO names anything but host variables.
Result<void> extract_into(Statement& st);

// How a dialect stores values, by the column that receives or meets them.
class ValueRules {
 public:
  virtual ~ValueRules() = default;
  // A string literal stored into `column` (SET, INSERT) or compared directly
  // with it; may change the literal's text. An error when the backend cannot
  // hold it there.
  virtual Result<void> literal(Statement& st, Node& literal, const ColumnInfo& column) const;
  // `value`, the whole expression of a SET item or of an INSERT value, is
  // stored into `column`; may replace its nodes.
  virtual Result<void> stored(Statement& st, Nodes& value, const ColumnInfo& column) const;
};

// Resolves column names against the tables of each query, update, insert and
// delete (aliases, joins, subqueries seeing their outer tables) and:
// - sets Node::target of each host variable stored into a column (SET col =
//   :x, INSERT column lists with VALUES or SELECT) or compared directly with
//   one (col = :x, :x <> col, col like :x, col in (:x, :y));
// - hands string literals in the same positions to rules.literal();
// - hands every value stored by SET or INSERT to rules.stored().
// A host variable inside a larger expression (col = :x + 1, convert(...) >=
// :x) keeps no target.
Result<void> bind_columns(Statement& st, const Catalog& catalog, const ValueRules& rules);

// What every dialect does first: parses `tsql`, then classify, extract_into
// and bind_columns with `rules`. The statement, or the first error.
Result<Statement> parse_and_bind(std::string_view tsql, const Catalog& catalog, const ValueRules& rules);

// SELECT TOP n ... -> SELECT ... LIMIT n, at the end of that query (also in
// subqueries). A query with TOP that is one part of a UNION / EXCEPT /
// INTERSECT becomes "select * from (... limit n)". Error for TOP ... PERCENT
// and WITH TIES.
Result<void> top_to_limit(Statement& st);

// UPDATE t SET t.c = ... FROM a, t WHERE ...: the target leaves the FROM list
// (FROM goes when nothing is left) and SET names lose their qualifier. When
// the FROM list names the target with an alias (update x ... from t x), the
// target becomes "t as x". Error when the target sits inside a JOIN of the
// FROM list.
Result<void> update_from_without_target(Statement& st);

// DELETE t WHERE ... -> DELETE FROM t WHERE .... Error for the two-FROM form
// (delete t from t join ...).
Result<void> delete_with_from(Statement& st);

// database..table -> database.table; "dbo" owner parts dropped
// (dbo.f_retu_gsh -> f_retu_gsh); N'text' -> 'text'.
void simplify_names(Statement& st);

// The edges of a day "yyyy/mm/dd": its first moment, or the first moment
// after it.
enum class DayEdge { Start, After };

// How a backend writes the bounds of a range on a datetime column for
// day_ranges(). `day` is a copy of the operand as the statement has it (a
// host variable, a string literal, or convert(char(10), one of those, 111)),
// still in Transact-SQL: later passes translate it like the rest. Let D(x) be
// the text "yyyy/mm/dd" that convert(char(10), x, 111) gives for a stored
// value x. A bound is an expression fixed for the whole statement, such that
// for every stored value x:
//   lower_bound(day, Start): D(x) >= day implies x >= it,
//   lower_bound(day, After): D(x) >  day implies x >= it,
//   upper_bound(day, Start): D(x) <  day implies x <  it,
//   upper_bound(day, After): D(x) <= day implies x <  it,
// whatever text day is (a day or not: a bound that admits every value is
// right when day is not "yyyy/mm/dd"), and null only when day is null.
class DayRangeRules {
 public:
  virtual ~DayRangeRules() = default;
  virtual Nodes lower_bound(Statement& st, Nodes day, DayEdge edge, uint32_t at) const = 0;
  virtual Nodes upper_bound(Statement& st, Nodes day, DayEdge edge, uint32_t at) const = 0;
};

// Day comparisons become index ranges: "convert(char(10), col, 111) op day"
// on a DateTime column (op = >= > <= < or BETWEEN day AND day; day a host
// variable, a literal or convert(char(10), one of those, 111)) at the start
// of a condition becomes "(col >= lower and col < upper and <the comparison
// as it was>)" with the bounds from `rules`. The comparison stays, so the
// rows are exactly those it selects; the bounds let the backend search an
// index on the column instead of reading every row. Columns are resolved as
// bind_columns() does. Run it before rewrite_calls(), which translates the
// convert() calls, the copies in the bounds included.
Result<void> day_ranges(Statement& st, const Catalog& catalog, const DayRangeRules& rules);

// Calls every `fn(st, name, args)` for each function call in the tree (a Word
// followed directly by a Group), outermost first; fn may change the name and
// the argument nodes. The new arguments are walked afterwards.
using CallRewrite = std::function<Result<void>(Statement& st, Node& name, Node& args)>;
Result<void> rewrite_calls(Statement& st, const CallRewrite& fn);

}  // namespace kq::db::sql
