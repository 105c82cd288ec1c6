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
//  4. Day comparisons "convert(char(10), col, 111) >= :day" (= > <= <
//     between) on a timestamp column gain a range on the bare column
//     (sql::day_ranges with PostgresDayBounds below), so the (cgsh, date)
//     indexes serve the lists.
//     SELECT TOP n -> LIMIT n; UPDATE ... FROM without the target in the FROM
//     list; DELETE t -> DELETE FROM t; kq_club..t -> kq_club.t (a schema of
//     the same database); "dbo." dropped; N'x' -> 'x'.
//  5. isnull( -> coalesce(; len( -> length(; getdate() ->
//     localtimestamp(0); convert(char(10), x, 111) -> to_char(cast(x as
//     timestamp), 'YYYY/MM/DD'); any other convert is an error.
//     scope_identity() stays: the schema defines it (the session's last
//     identity, 0 before the first INSERT).
//  6. a + b where either side is text (a string literal, a text column, a host
//     variable stored into or compared with a text column, a call over text
//     other than a cast, or a cast to a text type) -> a || b.
//  7. Host variables ":name" -> $1, $2, ... in order of appearance.
#include <string>
#include <vector>

#include "platform/db/dialect/day_bounds.h"
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

// Bounds of a day range on a timestamp column. The operand is read as text
// t; when t has the form "yyyy/mm/dd" its day is
//   X = make_timestamp(greatest(yyyy, 1), 1, 1, 0, 0, 0) + make_interval(0, mm - 1, 0, dd - 1)
// which never fails, whatever the digits; t is a day when X written
// "YYYY/MM/DD" is t again ("2026/02/30", "2026/13/01", "0000/01/01" are not).
// The edge after the day adds dd days instead of dd - 1. Every cast names
// its type, so the server types each parameter as text. A stored value of
// the years 1 to 9999 is between -infinity and infinity.
class PostgresDayBounds final : public sql::DayBoundsByCase {
 protected:
  Nodes is_day(sql::NodeWriter& w, const Nodes& day) const override {
    // case when t ~ '^dddd/dd/dd$' then to_char(X, 'YYYY/MM/DD') = t else false end
    Nodes out;
    out.push_back(w.word("case", false));
    out.push_back(w.word("when"));
    sql::NodeWriter::append(out, text(w, day));
    out.push_back(w.op("~"));
    out.push_back(w.string("'^[0-9]{4}/[0-9]{2}/[0-9]{2}$'"));
    out.push_back(w.word("then"));
    Nodes args = edge(w, day, sql::DayEdge::Start);
    args.push_back(w.comma());
    args.push_back(w.string("'YYYY/MM/DD'"));
    sql::NodeWriter::append(out, w.call("to_char", std::move(args)));
    out.push_back(w.op("="));
    sql::NodeWriter::append(out, text(w, day));
    out.push_back(w.word("else"));
    out.push_back(w.word("false"));
    out.push_back(w.word("end"));
    Nodes wrapped;
    wrapped.push_back(w.group(std::move(out)));
    return wrapped;
  }

  Nodes edge(sql::NodeWriter& w, const Nodes& day, sql::DayEdge edge) const override {
    Nodes year = w.call("greatest", with_comma(w, number_at(w, day, "1", "4"), "1"));
    Nodes stamp = std::move(year);
    for (const char* n : {"1", "1", "0", "0", "0"}) {
      stamp.push_back(w.comma());
      stamp.push_back(w.number(n));
    }
    Nodes out = w.call("make_timestamp", std::move(stamp));
    out.push_back(w.op("+"));
    Nodes interval;
    interval.push_back(w.number("0", false));
    interval.push_back(w.comma());
    sql::NodeWriter::append(interval, number_at(w, day, "6", "2"));
    interval.push_back(w.op("-"));
    interval.push_back(w.number("1"));
    interval.push_back(w.comma());
    interval.push_back(w.number("0"));
    interval.push_back(w.comma());
    sql::NodeWriter::append(interval, number_at(w, day, "9", "2"));
    if (edge == sql::DayEdge::Start) {
      interval.push_back(w.op("-"));
      interval.push_back(w.number("1"));
    }
    sql::NodeWriter::append(out, w.call("make_interval", std::move(interval)));
    return out;
  }

  Nodes below_every_value(sql::NodeWriter& w) const override { return w.cast({w.string("'-infinity'")}, "timestamp"); }
  Nodes above_every_value(sql::NodeWriter& w) const override { return w.cast({w.string("'infinity'")}, "timestamp"); }

 private:
  // cast(day as text)
  static Nodes text(sql::NodeWriter& w, const Nodes& day) { return w.cast(day, "text"); }
  // cast(substr(cast(day as text), from, count) as integer)
  static Nodes number_at(sql::NodeWriter& w, const Nodes& day, std::string_view from, std::string_view count) {
    Nodes args = text(w, day);
    args.push_back(w.comma());
    args.push_back(w.number(from));
    args.push_back(w.comma());
    args.push_back(w.number(count));
    return w.cast(w.call("substr", std::move(args)), "integer");
  }
  static Nodes with_comma(sql::NodeWriter& w, Nodes x, std::string_view n) {
    x.push_back(w.comma());
    x.push_back(w.number(n));
    return x;
  }
};

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
    for (size_t k = 0; k < children.size(); ++k) {
      if (textual(children, k, false)) return true;
      if (children[k].kind == NodeKind::Word && k + 1 < children.size() && children[k + 1].kind == NodeKind::Group)
        ++k;  // a call's arguments were judged with its name
    }
    return false;
  }

  // "cast(x as type)" gives text when the type is one.
  static bool cast_to_text(const Node& args) {
    const Nodes& c = args.children;
    size_t k = c.size();
    if (k > 0 && c[k - 1].kind == NodeKind::Group) --k;  // char(10)
    if (k == 0 || c[k - 1].kind != NodeKind::Word) return false;
    const std::string_view type = c[k - 1].text;
    for (std::string_view t : {"text", "char", "varchar", "nchar", "nvarchar", "bpchar"})
      if (text::iequals(type, t)) return true;
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
        if (k + 1 < seq.size() && seq[k + 1].kind == NodeKind::Group) {  // a call on the right
          if (sql::is_word(n, "cast")) return cast_to_text(seq[k + 1]);
          return group_is_text(seq[k + 1].children);
        }
        return !sql::is_reserved(n.text) && text_column(n.text);
      case NodeKind::Group:
        if (left && k > 0 && sql::is_word(seq[k - 1], "convert")) return true;
        if (left && k > 0 && sql::is_word(seq[k - 1], "cast")) return cast_to_text(n);
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
    Result<void> r = sql::day_ranges(st, catalog, PostgresDayBounds());
    if (r) r = sql::top_to_limit(st);
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
