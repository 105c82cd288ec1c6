// The embedded default: Transact-SQL text translated for SQLite.
//
// Storage conventions of the embedded schema: datetimes are TEXT
// "YYYY-MM-DD HH:MM:SS" in columns declared DATETIME; decimals are REAL in
// columns declared REAL(18,s) (scale s in the catalog); flags and longs are
// INTEGER; the club database's tables live in the shop file as
// kq_club_<table>; the backend registers the SQL function f_retu_gsh() returning the connection's company.
//
// Rewrites, in the order they run:
//  1. SELECTBLOB / UPDATEBLOB -> SELECT / UPDATE; COMMIT / ROLLBACK lose
//     "using <transaction>"; the kind is set from the first word.
//  2. SELECT ... INTO :a, :b FROM ... -> SELECT ... FROM ...; names recorded.
//  3. Values by their column (names resolved through FROM lists, aliases,
//     joins, and outer queries of subqueries):
//     - a literal 'yyyy/mm/dd[ hh:mm[:ss]]' (or yyyy-mm-dd, yyyymmdd) stored
//       into a DATETIME column (SET, INSERT) or compared directly with one ->
//       'YYYY-MM-DD HH:MM:SS'; '' (or blanks) -> '1900-01-01 00:00:00', as a
//       Transact-SQL server converts them; any other text there is an error;
//     - a value stored into a Decimal column by SET or INSERT -> round(value,
//       scale), so the stored value keeps the column's scale (a number literal
//       with no more places, and NULL, stay as they are);
//     - each host variable records the column it is stored into or compared
//       with (Parameter::target).
//  4. SELECT TOP n ... -> SELECT ... LIMIT n at the end of that query, also in
//     subqueries; a query with TOP inside UNION / EXCEPT / INTERSECT becomes
//     "select * from (... limit n)".
//  5. UPDATE t SET t.c = ... FROM a, t WHERE ...: t leaves the FROM list (an
//     alias moves to "update t as x"), SET names lose their qualifier.
//  6. DELETE t WHERE ... -> DELETE FROM t WHERE ....
//  7. kq_club..t (kq_club.t, kq_club.dbo.t) -> kq_club_t, the club's table in
//     the shop file; dbo.f_retu_gsh() -> f_retu_gsh() (any "dbo" owner part
//     is dropped); N'text' -> 'text'.
//  8. isnull( -> ifnull(; scope_identity() -> last_insert_rowid() (the id
//     the connection's last INSERT gave); convert(char(10), x, 111) (also varchar, any
//     spacing) -> replace(substr(x, 1, 10), '-', '/'), which gives
//     "yyyy/mm/dd" for a stored ISO datetime and for a text already in that
//     form; any other convert is an error.
//  9. Host variables ":name" -> "?"; whitespace runs become one blank.
// Before 4: day comparisons "convert(char(10), col, 111) >= :day" (= > <= <
// between) on a DATETIME column gain a range on the bare column
// (sql::day_ranges with SqliteDayBounds below), so the (cgsh, date) indexes
// serve the lists.
// Everything else passes unchanged: CASE, UNION ALL, GROUP BY / HAVING, LEFT
// OUTER JOIN, subqueries, LIKE, IN, count(1), DISTINCT, "max (id)",
// INSERT ... SELECT without FROM.
#include <string>

#include "platform/db/dialect/day_bounds.h"
#include "platform/db/dialect/dialect.h"
#include "platform/db/dialect/sql_rewrite.h"
#include "platform/db/dialect/sql_tree.h"
#include "platform/value/datetime.h"
#include "platform/value/text.h"

namespace kq::db {
namespace {

using sql::Node;
using sql::NodeKind;
using sql::Nodes;
using sql::Statement;

bool is_blank(std::string_view text) { return text.find_first_not_of(" \t") == std::string_view::npos; }

// Places after the decimal point of a plain number literal; -1 with an exponent.
int fraction_digits(std::string_view number) {
  if (number.find_first_of("eE") != std::string_view::npos) return -1;
  size_t dot = number.find('.');
  return dot == std::string_view::npos ? 0 : static_cast<int>(number.size() - dot - 1);
}

class SqliteValues final : public sql::ValueRules {
 public:
  Result<void> literal(Statement& st, Node& lit, const ColumnInfo& column) const override {
    if (column.kind != ColumnKind::DateTime) return {};
    std::string text = sql::literal_text(lit.text);
    std::optional<DateTime> when = is_blank(text) ? std::optional<DateTime>(DateTime::absent()) : DateTime::parse(text);
    if (!when) return st.error_at(lit, "text that is no date and time for a datetime column");
    lit.text = st.keep("'" + when->to_iso() + "'");
    return {};
  }

  Result<void> stored(Statement& st, Nodes& value, const ColumnInfo& column) const override {
    if (column.kind != ColumnKind::Decimal || value.empty()) return {};
    if (value.size() == 1) {
      const Node& v = value.front();
      if (v.kind == NodeKind::Number && fraction_digits(v.text) >= 0 && fraction_digits(v.text) <= column.scale)
        return {};
      if (sql::is_word(v, "null")) return {};
    }
    const uint32_t at = value.front().offset;
    const bool space = value.front().space_before;
    value.front().space_before = false;
    Nodes args = std::move(value);
    args.push_back(st.make(NodeKind::Comma, ",", at, false));
    args.push_back(st.make(NodeKind::Number, st.keep(std::to_string(column.scale)), at));
    value.clear();
    value.push_back(st.make(NodeKind::Word, "round", at, space));
    value.push_back(st.make_group(std::move(args), at, false));
    return {};
  }
};

// convert(char(10), x, 111) -> replace(substr(x, 1, 10), '-', '/'); isnull -> ifnull;
// scope_identity -> last_insert_rowid.
Result<void> sqlite_call(Statement& st, Node& name, Node& args) {
  if (sql::is_word(name, "isnull")) {
    name.text = "ifnull";
    return {};
  }
  if (sql::is_word(name, "scope_identity")) {
    name.text = "last_insert_rowid";
    return {};
  }
  if (!sql::is_word(name, "convert")) return {};
  Nodes& a = args.children;
  const std::optional<sql::Range> day = sql::day_text_operand(a);
  if (!day) return st.error_at(name, "cannot translate convert(): only convert(char(10), date, 111) is known");
  const uint32_t at = name.offset;
  Nodes date;
  for (size_t k = day->begin; k < day->end; ++k) date.push_back(std::move(a[k]));
  date.front().space_before = false;
  date.push_back(st.make(NodeKind::Comma, ",", at, false));
  date.push_back(st.make(NodeKind::Number, "1", at));
  date.push_back(st.make(NodeKind::Comma, ",", at, false));
  date.push_back(st.make(NodeKind::Number, "10", at));
  Nodes outer;
  outer.push_back(st.make(NodeKind::Word, "substr", at, false));
  outer.push_back(st.make_group(std::move(date), at, false));
  outer.push_back(st.make(NodeKind::Comma, ",", at, false));
  outer.push_back(st.make(NodeKind::String, "'-'", at));
  outer.push_back(st.make(NodeKind::Comma, ",", at, false));
  outer.push_back(st.make(NodeKind::String, "'/'", at));
  name.text = "replace";
  args.children = std::move(outer);
  args.space_before = false;
  args.space_before_close = false;
  return {};
}

// Bounds of a day range on a stored datetime "yyyy-mm-dd hh:mm:ss" (text,
// compared byte by byte): a day "yyyy/mm/dd" starts at "yyyy-mm-dd" (every
// value of that day or later is >= it) and ends before "yyyy-mm-d" followed
// by the character after its last digit ("2026/12/09" -> "2026-12-0:"),
// which every value of that day or earlier is < . Any text of that form will
// do, a day that does not exist included. When the operand is not
// "yyyy/mm/dd" the bound admits every value: -9e999 (minus infinity) is below
// every number and text, a blob above them.
class SqliteDayBounds final : public sql::DayBoundsByCase {
 protected:
  Nodes is_day(sql::NodeWriter& w, const Nodes& day) const override {
    Nodes out = day;
    out.push_back(w.word("glob"));
    out.push_back(w.string("'[0-9][0-9][0-9][0-9]/[0-9][0-9]/[0-9][0-9]'"));
    return out;
  }

  Nodes edge(sql::NodeWriter& w, const Nodes& day, sql::DayEdge edge) const override {
    // replace(x, '/', '-')
    auto dashes = [&](Nodes x) {
      x.push_back(w.comma());
      x.push_back(w.string("'/'"));
      x.push_back(w.comma());
      x.push_back(w.string("'-'"));
      return w.call("replace", std::move(x));
    };
    // substr(day, from, count)
    auto part = [&](std::string_view from, std::string_view count) {
      Nodes args = day;
      args.push_back(w.comma());
      args.push_back(w.number(from));
      args.push_back(w.comma());
      args.push_back(w.number(count));
      return w.call("substr", std::move(args));
    };
    if (edge == sql::DayEdge::Start) return dashes(day);
    Nodes out = dashes(part("1", "9"));
    out.push_back(w.op("||"));
    Nodes code = w.call("unicode", part("10", "1"));
    code.push_back(w.op("+"));
    code.push_back(w.number("1"));
    sql::NodeWriter::append(out, w.call("char", std::move(code)));
    return out;
  }

  Nodes below_every_value(sql::NodeWriter& w) const override { return {w.number("-9e999")}; }
  Nodes above_every_value(sql::NodeWriter& w) const override { return {w.string("x'ff'")}; }
};

// "kq_club.t..." -> "kq_club_t...": the club database's tables are tables of
// the shop file (one write-ahead log, one commit for both). Runs after the
// names were simplified, so "kq_club..t" already reads "kq_club.t".
void club_tables_in_shop_file(Statement& st, Nodes& seq) {
  constexpr std::string_view kClub = "kq_club.";
  for (Node& n : seq) {
    if (n.kind == NodeKind::Group) {
      club_tables_in_shop_file(st, n.children);
    } else if (n.kind == NodeKind::Word && n.text.size() > kClub.size() &&
               text::iequals(n.text.substr(0, kClub.size()), kClub)) {
      std::string name(n.text);
      name[kClub.size() - 1] = '_';
      n.text = st.keep(std::move(name));
    }
  }
}

class SqliteDialect final : public Dialect {
 public:
  std::string_view name() const override { return "sqlite"; }

  Result<Translation> translate(std::string_view tsql, const Catalog& catalog) const override {
    const SqliteValues values;
    auto parsed = sql::parse_and_bind(tsql, catalog, values);
    if (!parsed) return parsed.failure();
    Statement& st = *parsed;
    Result<void> r = sql::day_ranges(st, catalog, SqliteDayBounds());
    if (r) r = sql::top_to_limit(st);
    if (r) r = sql::update_from_without_target(st);
    if (r) r = sql::delete_with_from(st);
    if (r) sql::simplify_names(st);
    if (r) club_tables_in_shop_file(st, st.nodes);
    if (r) r = sql::rewrite_calls(st, sqlite_call);
    if (!r) return r.failure();
    return sql::finish_translation(st, sql::PlaceholderStyle::Question);
  }
};

}  // namespace

std::unique_ptr<Dialect> make_sqlite_dialect() { return std::make_unique<SqliteDialect>(); }

}  // namespace kq::db
