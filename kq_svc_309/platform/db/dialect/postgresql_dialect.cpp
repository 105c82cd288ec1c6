// Transact-SQL text translated for PostgreSQL.
//
// Conventions of the PostgreSQL schema (data/schema/postgresql_schema.h):
// text CHAR(n) as char(n) (compares ignoring trailing blanks, as a
// Transact-SQL server does) in byte order ("C"), decimals numeric(18,s),
// datetimes timestamp(0), flags and longs integer; the club's tables in the
// schema kq_club; f_retu_gsh() a SQL function returning the session's company.
//
// Rewrites, in the order they run:
//  1-3. As every dialect (sql_rewrite.h): the kind from the first word,
//     SELECT ... INTO taken out, values bound to their columns; a literal
//     '' (or blanks) or 'yyyy/mm/dd[ hh:mm[:ss]]' stored into or compared with
//     a timestamp column -> 'YYYY-MM-DD HH:MM:SS' ('' is the absent date
//     1900-01-01, as a Transact-SQL server converts it); any other text there
//     is an error.
//  4. SELECT TOP n -> LIMIT n; UPDATE ... FROM without the target in the FROM
//     list; DELETE t -> DELETE FROM t; kq_club..t -> kq_club.t (a schema of
//     the same database); "dbo." dropped; N'x' -> 'x'.
//  5. isnull( -> coalesce(; len( -> length(; getdate() ->
//     localtimestamp(0); convert(char(10), x, 111) -> to_char(cast(x as
//     timestamp), 'YYYY/MM/DD'); any other convert is an error.
//     scope_identity() stays: the schema defines it (the session's last
//     identity, 0 before the first INSERT).
//  6. a + b where either side is text (a string literal, a text column, a host
//     variable stored into or compared with a text column, or a call over
//     text) -> a || b.
//  7. Host variables ":name" -> $1, $2, ... in order of appearance.
#include <string>
#include <vector>

#include "platform/db/dialect/dialect.h"
#include "platform/db/dialect/sql_rewrite.h"
#include "platform/db/dialect/sql_tree.h"
#include "platform/value/datetime.h"

namespace kq::db {
namespace {

using sql::Node;
using sql::NodeKind;
using sql::Nodes;
using sql::Statement;

class PostgresValues final : public sql::ValueRules {
 public:
  Result<void> literal(Statement& st, Node& lit, const ColumnInfo& column) const override {
    if (column.kind != ColumnKind::DateTime) return {};
    std::string text = sql::literal_text(lit.text);
    const bool blank = text.find_first_not_of(" \t") == std::string::npos;
    std::optional<DateTime> when = blank ? std::optional<DateTime>(DateTime::absent()) : DateTime::parse(text);
    if (!when) return st.error_at(lit, "text that is no date and time for a datetime column");
    lit.text = st.keep("'" + when->to_iso() + "'");
    return {};
  }
};

Result<void> postgres_call(Statement& st, Node& name, Node& args) {
  if (sql::is_word(name, "isnull")) {
    name.text = "coalesce";
    return {};
  }
  if (sql::is_word(name, "len")) {
    name.text = "length";
    return {};
  }
  if (sql::is_word(name, "getdate") && args.children.empty()) {
    name.text = "localtimestamp";
    args.children.push_back(st.make(NodeKind::Number, "0", name.offset, false));
    return {};
  }
  if (!sql::is_word(name, "convert")) return {};
  Nodes& a = args.children;
  const std::optional<sql::Range> day = sql::day_text_operand(a);
  if (!day) return st.error_at(name, "cannot translate convert(): only convert(char(10), date, 111) is known");
  const uint32_t at = name.offset;
  Nodes cast;
  for (size_t k = day->begin; k < day->end; ++k) cast.push_back(std::move(a[k]));
  cast.front().space_before = false;
  cast.push_back(st.make(NodeKind::Word, "as", at));
  cast.push_back(st.make(NodeKind::Word, "timestamp", at));
  Nodes outer;
  outer.push_back(st.make(NodeKind::Word, "cast", at, false));
  outer.push_back(st.make_group(std::move(cast), at, false));
  outer.push_back(st.make(NodeKind::Comma, ",", at, false));
  outer.push_back(st.make(NodeKind::String, "'YYYY/MM/DD'", at));
  name.text = "to_char";
  args.children = std::move(outer);
  args.space_before = false;
  args.space_before_close = false;
  return {};
}

// Text concatenation: "+" beside a text operand becomes "||".
class TextPlus {
 public:
  TextPlus(Statement& st, const Catalog& catalog) : st_(st), catalog_(catalog) { collect_names(st.nodes); }

  void run(Nodes& seq) {
    for (size_t i = 0; i < seq.size(); ++i) {
      if (seq[i].kind == NodeKind::Group) run(seq[i].children);
      if (!sql::is_operator(seq[i], "+") || i == 0 || i + 1 >= seq.size()) continue;
      if (textual(seq, i - 1, true) || textual(seq, i + 1, false)) seq[i].text = "||";
    }
  }

 private:
  void collect_names(const Nodes& seq) {
    for (const Node& n : seq) {
      if (n.kind == NodeKind::Group) collect_names(n.children);
      if (n.kind == NodeKind::Word && !sql::is_reserved(n.text)) names_.push_back(sql::normalize_name(n.text));
    }
  }

  bool text_column(std::string_view ref) const {
    size_t dot = ref.rfind('.');
    std::string_view column = dot == std::string_view::npos ? ref : ref.substr(dot + 1);
    for (const std::string& table : names_)
      if (auto info = catalog_.column(table, column)) return info->kind == ColumnKind::Text;
    return false;
  }

  bool group_is_text(const Nodes& children) const {
    for (size_t k = 0; k < children.size(); ++k)
      if (textual(children, k, false)) return true;
    return false;
  }

  // seq[k] (the operand on the left of "+" when `left`) is text.
  bool textual(const Nodes& seq, size_t k, bool left) const {
    const Node& n = seq[k];
    switch (n.kind) {
      case NodeKind::String:
        return true;
      case NodeKind::HostVar:
        return n.target && n.target->kind == ColumnKind::Text;
      case NodeKind::Word:
        if (k + 1 < seq.size() && seq[k + 1].kind == NodeKind::Group)  // a call on the right
          return group_is_text(seq[k + 1].children);
        return !sql::is_reserved(n.text) && text_column(n.text);
      case NodeKind::Group:
        if (left && k > 0 && seq[k - 1].kind == NodeKind::Word && sql::is_word(seq[k - 1], "convert")) return true;
        return group_is_text(n.children);
      default:
        return false;
    }
  }

  Statement& st_;
  const Catalog& catalog_;
  std::vector<std::string> names_;
};

class PostgresDialect final : public Dialect {
 public:
  std::string_view name() const override { return "postgresql"; }

  Result<Translation> translate(std::string_view tsql, const Catalog& catalog) const override {
    const PostgresValues values;
    auto parsed = sql::parse_and_bind(tsql, catalog, values);
    if (!parsed) return parsed.failure();
    Statement& st = *parsed;
    Result<void> r = sql::top_to_limit(st);
    if (r) r = sql::update_from_without_target(st);
    if (r) r = sql::delete_with_from(st);
    if (r) sql::simplify_names(st);
    if (r) TextPlus(st, catalog).run(st.nodes);
    if (r) r = sql::rewrite_calls(st, postgres_call);
    if (!r) return r.failure();
    return sql::finish_translation(st, sql::PlaceholderStyle::DollarNumbered);
  }
};

}  // namespace

std::unique_ptr<Dialect> make_postgresql_dialect() { return std::make_unique<PostgresDialect>(); }

}  // namespace kq::db
