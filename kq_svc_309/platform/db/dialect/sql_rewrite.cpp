#include "platform/db/dialect/sql_rewrite.h"

#include <optional>
#include <string>
#include <utility>

#include "platform/db/dialect/day_range.h"
#include "platform/value/text.h"

namespace kq::db::sql {
namespace {

// Where the clauses of "UPDATE table SET … [FROM …] [WHERE …]" begin: the
// positions of FROM and WHERE in the statement's nodes (its size when absent).
struct UpdateClauses {
  size_t from = 0;
  size_t where = 0;
};

Result<UpdateClauses> update_clauses(const Statement& st) {
  const Nodes& seq = st.nodes;
  const size_t n = seq.size();
  if (n < 4 || seq[1].kind != NodeKind::Word || !is_word(seq[2], "set"))
    return st.error_at(seq[n < 3 ? n - 1 : 2], "expected UPDATE table SET");
  UpdateClauses c;
  c.from = find_word(seq, 3, n, "from");
  c.where = find_word(seq, c.from < n ? c.from + 1 : 3, n, "where");
  return c;
}

std::string_view last_part(std::string_view name) {
  size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? name : name.substr(dot + 1);
}

bool is_comparison(const Node& n) {
  if (n.kind == NodeKind::Operator)
    return n.text == "=" || n.text == "<>" || n.text == "!=" || n.text == "<" || n.text == ">" || n.text == "<=" ||
           n.text == ">=";
  return is_word(n, "like");
}

// An operator that makes a neighbour part of a larger expression.
bool is_arithmetic(const Node& n) { return n.kind == NodeKind::Operator && !is_comparison(n); }

bool is_compound_word(const Node& n) { return is_word(n, "union") || is_word(n, "except") || is_word(n, "intersect"); }

bool is_join_word(const Node& n) {
  return is_word(n, "join") || is_word(n, "inner") || is_word(n, "left") || is_word(n, "right") || is_word(n, "full") ||
         is_word(n, "cross") || is_word(n, "outer");
}

// A name that can stand for a table or an alias.
bool is_name(const Node& n) { return n.kind == NodeKind::Word && !is_reserved(n.text); }

// A member of a compound query: its nodes and the separator that follows it.
struct Member {
  size_t begin = 0, end = 0;  // the query
  size_t sep_end = 0;         // end of "union [all]" after it (== end for the last member)
};

// The queries of a compound SELECT in seq[from, to): split at top-level UNION
// [ALL|DISTINCT], EXCEPT and INTERSECT.
std::vector<Member> split_members(const Nodes& seq, size_t from, size_t to) {
  std::vector<Member> out;
  size_t begin = from;
  for (size_t k = from; k < to; ++k) {
    if (!is_compound_word(seq[k])) continue;
    size_t sep = k + 1;
    if (sep < to && (is_word(seq[sep], "all") || is_word(seq[sep], "distinct"))) ++sep;
    out.push_back(Member{begin, k, sep});
    begin = sep;
    k = sep - 1;
  }
  out.push_back(Member{begin, to, to});
  return out;
}

// Moves seq[from, to) to the end of `out`.
void move_range(Nodes& seq, size_t from, size_t to, Nodes& out) {
  for (size_t k = from; k < to; ++k) out.push_back(std::move(seq[k]));
}

// Table references of a FROM list: a name (or a derived table) with an
// optional alias, separated by commas or joins.
struct TableRef {
  std::string name;        // as the catalog knows it; empty for a derived table
  std::string_view alias;  // empty when none
  size_t begin = 0;        // index of the name (or derived table) in its sequence
};

// The table references in seq[from, to) of a FROM list.
std::vector<TableRef> from_tables(const Nodes& seq, size_t from, size_t to) {
  std::vector<TableRef> out;
  bool expect = true;
  for (size_t k = from; k < to; ++k) {
    const Node& n = seq[k];
    if (expect && (is_name(n) || n.kind == NodeKind::Group)) {
      TableRef t;
      t.begin = k;
      if (n.kind == NodeKind::Word) t.name = normalize_name(n.text);
      size_t j = k + 1;
      if (j < to && is_word(seq[j], "as")) ++j;
      if (j < to && is_name(seq[j])) {
        t.alias = seq[j].text;
        ++j;
      }
      out.push_back(std::move(t));
      expect = false;
      k = j - 1;
    } else if (!expect && (n.kind == NodeKind::Comma || is_word(n, "join"))) {
      expect = true;
    }
  }
  return out;
}

struct Scope {
  std::vector<TableRef> tables;
  const Scope* parent = nullptr;
};

// ---------------------------------------------------------------------------
// Column binding
// ---------------------------------------------------------------------------

class Binder {
 public:
  Binder(Statement& st, const Catalog& catalog, const ValueRules& rules, const DayRangeRules* days = nullptr)
      : st_(st), catalog_(catalog), rules_(rules), days_(days) {}

  Result<void> run() {
    switch (st_.kind) {
      case StatementKind::Select:
      case StatementKind::SelectBlob:
        return query(st_.nodes, 0, st_.nodes.size(), nullptr);
      case StatementKind::Update:
      case StatementKind::UpdateBlob:
        return update();
      case StatementKind::Insert:
        return insert();
      case StatementKind::Delete:
        return remove();
      default:
        return expr(st_.nodes, 0, st_.nodes.size(), nullptr);
    }
  }

 private:
  std::optional<ColumnInfo> lookup(const std::string& table, std::string_view column) const {
    if (table.empty()) return std::nullopt;
    return catalog_.column(table, column);
  }

  // The column named `ref` ("col" or "qualifier.col") as seen from `scope`.
  std::optional<ColumnInfo> resolve(std::string_view ref, const Scope* scope) const {
    size_t dot = ref.rfind('.');
    if (dot == std::string_view::npos) {
      for (const Scope* s = scope; s; s = s->parent)
        for (const TableRef& t : s->tables)
          if (auto info = lookup(t.name, ref)) return info;
      return std::nullopt;
    }
    std::string qualifier = normalize_name(ref.substr(0, dot));
    std::string_view column = ref.substr(dot + 1);
    for (const Scope* s = scope; s; s = s->parent)
      for (const TableRef& t : s->tables)
        if ((!t.alias.empty() && text::iequals(t.alias, qualifier)) ||
            (!t.name.empty() && (text::iequals(t.name, qualifier) || text::iequals(last_part(t.name), qualifier))))
          return lookup(t.name, column);
    return std::nullopt;
  }

  static bool is_column_ref(const Nodes& seq, size_t k, size_t end) {
    const Node& n = seq[k];
    if (!is_name(n) || n.text.back() == '*') return false;
    return !(k + 1 < end && seq[k + 1].kind == NodeKind::Group);  // a function call
  }

  // The column that seq[i] is compared with directly: "col op X" or "X op col".
  std::optional<ColumnInfo> partner(const Nodes& seq, size_t b, size_t e, size_t i, const Scope* scope) const {
    const bool left_free = i == b || !is_arithmetic(seq[i - 1]);
    const bool right_free = i + 1 >= e || !is_arithmetic(seq[i + 1]);
    if (i >= b + 2 && is_comparison(seq[i - 1]) && right_free) {
      size_t k = i - 2;
      if (is_word(seq[i - 1], "like") && k > b && is_word(seq[k], "not")) --k;
      if (is_column_ref(seq, k, e) && (k == b || !is_arithmetic(seq[k - 1]))) return resolve(seq[k].text, scope);
    }
    if (i + 2 < e && is_comparison(seq[i + 1]) && left_free) {
      size_t k = i + 2;
      if (is_column_ref(seq, k, e) && (k + 1 >= e || !is_arithmetic(seq[k + 1]))) return resolve(seq[k].text, scope);
    }
    return std::nullopt;
  }

  // A single host variable or literal meeting `column`.
  Result<void> meet(Node& n, const std::optional<ColumnInfo>& column) {
    if (!column) return {};
    if (n.kind == NodeKind::HostVar) n.target = column;
    if (n.kind == NodeKind::String) return rules_.literal(st_, n, *column);
    return {};
  }

  // Expressions in seq[b, e): comparisons, IN lists and subqueries.
  Result<void> expr(Nodes& seq, size_t b, size_t e, const Scope* scope) {
    for (size_t i = b; i < e; ++i) {
      Node& n = seq[i];
      if (n.kind == NodeKind::Group) {
        if (starts_select(n.children)) {
          auto r = query(n.children, 0, n.children.size(), scope);
          if (!r) return r;
          continue;
        }
        auto r = expr(n.children, 0, n.children.size(), scope);
        if (!r) return r;
        // col [not] in (:a, 'b', ...)
        if (i >= b + 2 && is_word(seq[i - 1], "in")) {
          size_t k = i - 2;
          if (is_word(seq[k], "not") && k > b) --k;
          if (is_column_ref(seq, k, e)) {
            auto column = resolve(seq[k].text, scope);
            for (Range item : split_commas(n.children, 0, n.children.size()))
              if (item.size() == 1) {
                auto m = meet(n.children[item.begin], column);
                if (!m) return m;
              }
          }
        }
      } else if (n.kind == NodeKind::HostVar || n.kind == NodeKind::String) {
        auto m = meet(n, partner(seq, b, e, i, scope));
        if (!m) return m;
      }
    }
    if (days_)
      rewrite_day_comparisons(st_, seq, b, e, [&](std::string_view ref) { return resolve(ref, scope); }, *days_);
    return {};
  }

  // The queries of a (compound) SELECT in seq[b, e).
  Result<void> query(Nodes& seq, size_t b, size_t e, const Scope* outer) {
    // Last member first: a rewrite of a member's conditions moves only what follows it.
    const std::vector<Member> members = split_members(seq, b, e);
    for (auto it = members.rbegin(); it != members.rend(); ++it) {
      const Member& m = *it;
      Scope scope;
      scope.parent = outer;
      size_t from = find_word(seq, m.begin, m.end, "from");
      if (from < m.end) {
        size_t end = from + 1;
        while (end < m.end && !is_word(seq[end], "where") && !is_word(seq[end], "group") &&
               !is_word(seq[end], "having") && !is_word(seq[end], "order"))
          ++end;
        scope.tables = from_tables(seq, from + 1, end);
      }
      auto r = expr(seq, m.begin, m.end, &scope);
      if (!r) return r;
    }
    return {};
  }

  // A value stored into `column` (a SET item or an INSERT value), as its own
  // sequence. `walk` runs the expression rules over it first.
  Result<void> store(Nodes& value, const std::optional<ColumnInfo>& column, const Scope* scope, bool walk) {
    if (walk) {
      auto r = expr(value, 0, value.size(), scope);
      if (!r) return r;
    }
    if (!column) return {};
    if (value.size() == 1) {
      auto m = meet(value.front(), column);
      if (!m) return m;
    }
    return rules_.stored(st_, value, *column);
  }

  // Replaces each of the ascending ranges `values` of `seq` by what `fn` makes
  // of it (as a sequence of its own), in one pass.
  template <typename Fn>
  static Result<void> rebuild(Nodes& seq, const std::vector<Range>& values, Fn fn) {
    Nodes out;
    out.reserve(seq.size() + 2 * values.size());
    size_t pos = 0;
    for (size_t idx = 0; idx < values.size(); ++idx) {
      move_range(seq, pos, values[idx].begin, out);
      Nodes value;
      move_range(seq, values[idx].begin, values[idx].end, value);
      auto r = fn(value, idx);
      if (!r) return r;
      for (Node& n : value) out.push_back(std::move(n));
      pos = values[idx].end;
    }
    move_range(seq, pos, seq.size(), out);
    seq.swap(out);
    return {};
  }

  Result<void> update() {
    Nodes& seq = st_.nodes;
    const size_t n = seq.size();
    auto clauses = update_clauses(st_);
    if (!clauses) return clauses.failure();
    const size_t from = clauses->from;
    const size_t where = clauses->where;
    const size_t set_end = from < n ? from : where;

    Scope scope;
    if (from < n) scope.tables = from_tables(seq, from + 1, where);
    std::string target = normalize_name(seq[1].text);
    bool listed = false;
    for (const TableRef& t : scope.tables) {
      if (!t.alias.empty() && text::iequals(t.alias, target)) {
        target = t.name;
        listed = true;
        break;
      }
      if (text::iequals(t.name, target)) listed = true;
    }
    if (!listed) scope.tables.push_back(TableRef{target, {}, 1});

    auto r = expr(seq, set_end, n, &scope);
    if (!r) return r;

    std::vector<Range> values;
    std::vector<std::optional<ColumnInfo>> columns;
    for (Range item : split_commas(seq, 3, set_end)) {
      if (item.size() < 3 || seq[item.begin].kind != NodeKind::Word || !is_operator(seq[item.begin + 1], "="))
        return st_.error_at(seq[item.begin < n ? item.begin : n - 1], "expected column = value in SET");
      std::string_view column = seq[item.begin].text;
      columns.push_back(column.find('.') != std::string_view::npos ? resolve(column, &scope) : lookup(target, column));
      values.push_back(Range{item.begin + 2, item.end});
    }
    return rebuild(seq, values, [&](Nodes& value, size_t idx) { return store(value, columns[idx], &scope, true); });
  }

  Result<void> insert() {
    Nodes& seq = st_.nodes;
    const size_t n = seq.size();
    size_t k = 1;
    if (k < n && is_word(seq[k], "into")) ++k;
    if (k >= n || !is_name(seq[k])) return st_.error_at(seq[k < n ? k : n - 1], "expected a table after INSERT");
    const std::string table = normalize_name(seq[k].text);
    ++k;
    std::vector<std::optional<ColumnInfo>> columns;
    if (k < n && seq[k].kind == NodeKind::Group && !starts_select(seq[k].children)) {
      const Nodes& names = seq[k].children;
      for (Range item : split_commas(names, 0, names.size())) {
        if (item.size() != 1 || names[item.begin].kind != NodeKind::Word)
          return st_.error_at(seq[k], "expected a list of column names");
        columns.push_back(lookup(table, last_part(names[item.begin].text)));
      }
      ++k;
    }
    auto column = [&](size_t idx) { return idx < columns.size() ? columns[idx] : std::nullopt; };

    if (k < n && is_word(seq[k], "values")) {
      for (size_t row = k + 1; row < n; ++row) {
        if (seq[row].kind == NodeKind::Comma) continue;
        if (seq[row].kind != NodeKind::Group) return st_.error_at(seq[row], "expected a list of values");
        Nodes& vals = seq[row].children;
        auto r = rebuild(vals, split_commas(vals, 0, vals.size()),
                         [&](Nodes& value, size_t idx) { return store(value, column(idx), nullptr, true); });
        if (!r) return r;
      }
      return {};
    }
    if (k < n && is_word(seq[k], "select")) {
      auto r = query(seq, k, n, nullptr);
      if (!r) return r;
      // The select list of the first query, position by position.
      size_t list = k + 1;
      if (list < n && (is_word(seq[list], "distinct") || is_word(seq[list], "all"))) ++list;
      if (list < n && is_word(seq[list], "top")) {
        list += 2;
        if (list < n && is_word(seq[list], "percent")) ++list;
      }
      size_t end = list;
      while (end < n && !is_word(seq[end], "into") && !is_word(seq[end], "from") && !is_word(seq[end], "where") &&
             !is_word(seq[end], "group") && !is_word(seq[end], "having") && !is_word(seq[end], "order") &&
             !is_compound_word(seq[end]))
        ++end;
      if (list >= end) return {};
      std::vector<Range> values = split_commas(seq, list, end);
      for (Range& v : values)
        if (v.size() >= 3 && is_word(seq[v.end - 2], "as")) v.end -= 2;  // "value as alias"
      return rebuild(seq, values, [&](Nodes& value, size_t idx) { return store(value, column(idx), nullptr, false); });
    }
    return expr(seq, k, n, nullptr);
  }

  Result<void> remove() {
    Nodes& seq = st_.nodes;
    const size_t n = seq.size();
    size_t k = 1;
    if (k < n && is_word(seq[k], "from")) ++k;
    if (k >= n || !is_name(seq[k])) return st_.error_at(seq[k < n ? k : n - 1], "expected a table after DELETE");
    Scope scope;
    scope.tables.push_back(TableRef{normalize_name(seq[k].text), {}, k});
    size_t second_from = find_word(seq, k + 1, n, "from");
    if (second_from < n) {
      size_t where = find_word(seq, second_from + 1, n, "where");
      for (TableRef& t : from_tables(seq, second_from + 1, where)) scope.tables.push_back(std::move(t));
    }
    return expr(seq, k + 1, n, &scope);
  }

  Statement& st_;
  const Catalog& catalog_;
  const ValueRules& rules_;
  const DayRangeRules* days_ = nullptr;  // set for day_ranges(): the walk then rewrites day comparisons
};

// ---------------------------------------------------------------------------
// TOP -> LIMIT
// ---------------------------------------------------------------------------

Result<void> limit_level(Statement& st, Nodes& seq) {
  for (Node& n : seq)
    if (n.kind == NodeKind::Group) {
      auto r = limit_level(st, n.children);
      if (!r) return r;
    }
  const size_t n = seq.size();
  const size_t select = find_word(seq, 0, n, "select");
  if (select == n || find_word(seq, select, n, "top") == n) return {};

  std::vector<Member> members = split_members(seq, select, n);
  const bool compound = members.size() > 1;
  Nodes out;
  out.reserve(n + 8);
  move_range(seq, 0, select, out);
  for (size_t idx = 0; idx < members.size(); ++idx) {
    Member m = members[idx];
    // An ORDER BY after the last query orders the whole compound.
    if (compound && idx + 1 == members.size()) m.end = find_word(seq, m.begin, m.end, "order");
    size_t top = m.begin + 1;
    if (top < m.end && (is_word(seq[top], "distinct") || is_word(seq[top], "all"))) ++top;
    if (top >= m.end || !is_word(seq[top], "top")) {
      move_range(seq, m.begin, m.end, out);
    } else {
      if (top + 1 >= m.end) return st.error_at(seq[top], "TOP without a number");
      Node count = std::move(seq[top + 1]);
      if (count.kind == NodeKind::Group && count.children.size() == 1) {
        Node inner = std::move(count.children.front());
        count = std::move(inner);
      }
      const bool integer =
          count.kind == NodeKind::Number && count.text.find_first_not_of("0123456789") == std::string_view::npos;
      if (!integer && count.kind != NodeKind::HostVar) return st.error_at(seq[top], "TOP needs a whole number");
      size_t rest = top + 2;
      if (rest < m.end && (is_word(seq[rest], "percent") || is_word(seq[rest], "with")))
        return st.error_at(seq[rest], "cannot translate TOP ... PERCENT or WITH TIES");
      Nodes query;
      move_range(seq, m.begin, top, query);
      move_range(seq, rest, m.end, query);
      query.push_back(st.make(NodeKind::Word, "limit", seq[top].offset));
      count.space_before = true;
      query.push_back(std::move(count));
      if (compound) {
        uint32_t at = query.front().offset;
        bool space = query.front().space_before;
        query.front().space_before = false;
        out.push_back(st.make(NodeKind::Word, "select", at, space));
        out.push_back(st.make(NodeKind::Operator, "*", at));
        out.push_back(st.make(NodeKind::Word, "from", at));
        out.push_back(st.make_group(std::move(query), at, true));
      } else {
        for (Node& q : query) out.push_back(std::move(q));
      }
    }
    move_range(seq, m.end, members[idx].end, out);      // an ORDER BY of the compound
    move_range(seq, members[idx].end, m.sep_end, out);  // UNION [ALL] before the next query
  }
  seq.swap(out);
  return {};
}

// ---------------------------------------------------------------------------
// Names and calls
// ---------------------------------------------------------------------------

void simplify_level(Statement& st, Nodes& seq) {
  for (Node& n : seq) {
    if (n.kind == NodeKind::Group) {
      simplify_level(st, n.children);
    } else if (n.kind == NodeKind::Word && n.text.find('.') != std::string_view::npos) {
      std::string name = normalize_name(n.text);
      if (!name.empty() && name != n.text) n.text = st.keep(std::move(name));
    } else if (n.kind == NodeKind::String && (n.text.front() == 'N' || n.text.front() == 'n')) {
      n.text.remove_prefix(1);
    }
  }
}

Result<void> calls_level(Statement& st, Nodes& seq, const CallRewrite& fn) {
  for (size_t i = 0; i < seq.size(); ++i) {
    Node& n = seq[i];
    if (n.kind == NodeKind::Word && i + 1 < seq.size() && seq[i + 1].kind == NodeKind::Group) {
      auto r = fn(st, n, seq[i + 1]);
      if (!r) return r;
      r = calls_level(st, seq[i + 1].children, fn);
      if (!r) return r;
      ++i;
    } else if (n.kind == NodeKind::Group) {
      auto r = calls_level(st, n.children, fn);
      if (!r) return r;
    }
  }
  return {};
}

}  // namespace

Result<void> ValueRules::literal(Statement&, Node&, const ColumnInfo&) const { return {}; }
Result<void> ValueRules::stored(Statement&, Nodes&, const ColumnInfo&) const { return {}; }

Result<void> classify(Statement& st) {
  Node& first = st.nodes.front();
  st.kind = StatementKind::Other;
  if (first.kind != NodeKind::Word) return {};
  if (is_word(first, "select")) {
    st.kind = StatementKind::Select;
  } else if (is_word(first, "insert")) {
    st.kind = StatementKind::Insert;
  } else if (is_word(first, "update")) {
    st.kind = StatementKind::Update;
  } else if (is_word(first, "delete")) {
    st.kind = StatementKind::Delete;
  } else if (is_word(first, "selectblob")) {
    st.kind = StatementKind::SelectBlob;
    first.text = "select";
  } else if (is_word(first, "updateblob")) {
    st.kind = StatementKind::UpdateBlob;
    first.text = "update";
  } else if (is_word(first, "commit") || is_word(first, "rollback")) {
    st.kind = is_word(first, "commit") ? StatementKind::Commit : StatementKind::Rollback;
    Nodes& seq = st.nodes;
    if (seq.size() > 1) {
      const Node& second = seq[1];
      const bool using_form = is_word(second, "using") && seq.size() == 3 && is_name(seq[2]);
      const bool transaction_form =
          (is_word(second, "transaction") || is_word(second, "tran") || is_word(second, "work")) &&
          (seq.size() == 2 || (seq.size() == 3 && is_name(seq[2])));
      if (!using_form && !transaction_form) return st.error_at(second, "unexpected text after the keyword");
      seq.resize(1);
    }
  }
  return {};
}

Result<void> extract_into(Statement& st) {
  if (st.kind != StatementKind::Select && st.kind != StatementKind::SelectBlob) return {};
  Nodes& seq = st.nodes;
  const size_t end = split_members(seq, 0, seq.size()).front().end;
  const size_t into = find_word(seq, 1, end, "into");
  if (into == end) return {};
  if (find_word(seq, 1, into, "from") < into) return st.error_at(seq[into], "INTO after FROM");
  size_t k = into + 1;
  while (true) {
    if (k >= end || seq[k].kind != NodeKind::HostVar)
      return st.error_at(seq[k < end ? k : into], "INTO must list host variables");
    st.into.push_back(text::lower(seq[k].text.substr(1)));
    ++k;
    if (k < end && seq[k].kind == NodeKind::Comma) {
      ++k;
      continue;
    }
    break;
  }
  if (k < seq.size() && !seq[into].space_before) seq[k].space_before = false;
  seq.erase(seq.begin() + static_cast<std::ptrdiff_t>(into), seq.begin() + static_cast<std::ptrdiff_t>(k));
  return {};
}

Result<void> bind_columns(Statement& st, const Catalog& catalog, const ValueRules& rules) {
  return Binder(st, catalog, rules).run();
}

Result<void> day_ranges(Statement& st, const Catalog& catalog, const DayRangeRules& rules) {
  const ValueRules unchanged;
  return Binder(st, catalog, unchanged, &rules).run();
}

Result<Statement> parse_and_bind(std::string_view tsql, const Catalog& catalog, const ValueRules& rules) {
  auto parsed = parse(tsql);
  if (!parsed) return parsed.failure();
  Statement& st = *parsed;
  Result<void> r = classify(st);
  if (r) r = extract_into(st);
  if (r) r = bind_columns(st, catalog, rules);
  if (!r) return r.failure();
  return parsed;
}

Result<void> top_to_limit(Statement& st) { return limit_level(st, st.nodes); }

Result<void> update_from_without_target(Statement& st) {
  if (st.kind != StatementKind::Update && st.kind != StatementKind::UpdateBlob) return {};
  Nodes& seq = st.nodes;
  const size_t n = seq.size();
  auto clauses = update_clauses(st);
  if (!clauses) return clauses.failure();
  const size_t from = clauses->from;
  const size_t where = clauses->where;

  // SET names lose their qualifier: "set crmc04.ngs = ..." -> "set ngs = ...".
  for (Range item : split_commas(seq, 3, from < n ? from : where)) {
    Node& name = seq[item.begin];
    if (item.size() > 0 && name.kind == NodeKind::Word) name.text = last_part(name.text);
  }
  if (from == n) return {};

  const std::string target = normalize_name(seq[1].text);
  std::vector<Range> items = split_commas(seq, from + 1, where);
  size_t match = items.size();
  for (size_t idx = 0; idx < items.size(); ++idx) {
    const Range item = items[idx];
    bool joined = false;
    for (size_t k = item.begin; k < item.end; ++k) joined = joined || is_join_word(seq[k]);
    for (const TableRef& t : from_tables(seq, item.begin, item.end)) {
      const bool same = (!t.alias.empty() && text::iequals(t.alias, target)) || text::iequals(t.name, target);
      if (!same) continue;
      if (joined) return st.error_at(seq[t.begin], "cannot translate UPDATE ... FROM with the updated table in a JOIN");
      match = idx;
    }
  }
  if (match == items.size()) return {};

  const Range item = items[match];
  if (seq[item.begin].kind != NodeKind::Word) return st.error_at(seq[item.begin], "cannot update a derived table");
  Nodes out;
  out.reserve(n + 2);
  out.push_back(std::move(seq[0]));
  // The updated table, with the alias that the rest of the statement may use.
  Node table = seq[item.begin];
  table.space_before = seq[1].space_before;
  out.push_back(std::move(table));
  size_t alias = item.begin + 1;
  if (alias < item.end && is_word(seq[alias], "as")) ++alias;
  if (alias < item.end) {
    out.push_back(st.make(NodeKind::Word, "as", seq[alias].offset));
    Node a = seq[alias];
    a.space_before = true;
    out.push_back(std::move(a));
  }
  // Drop the item with one comma; drop FROM when the list becomes empty.
  size_t cut_begin = item.begin, cut_end = item.end;
  if (items.size() == 1) {
    cut_begin = from;
  } else if (match == 0) {
    cut_end = item.end + 1;  // the comma after it
  } else {
    cut_begin = item.begin - 1;  // the comma before it
  }
  move_range(seq, 2, cut_begin, out);
  move_range(seq, cut_end, n, out);
  seq.swap(out);
  return {};
}

Result<void> delete_with_from(Statement& st) {
  if (st.kind != StatementKind::Delete) return {};
  Nodes& seq = st.nodes;
  const size_t n = seq.size();
  if (n >= 2 && is_word(seq[1], "from")) {
    size_t second = find_word(seq, 2, n, "from");
    if (second < n) return st.error_at(seq[second], "cannot translate DELETE with a second FROM");
    return {};
  }
  size_t from = find_word(seq, 1, n, "from");
  if (from < n) return st.error_at(seq[from], "cannot translate DELETE with a second FROM");
  uint32_t at = n >= 2 ? seq[1].offset : seq[0].offset;
  seq.insert(seq.begin() + 1, st.make(NodeKind::Word, "from", at));
  return {};
}

void simplify_names(Statement& st) { simplify_level(st, st.nodes); }

Result<void> rewrite_calls(Statement& st, const CallRewrite& fn) { return calls_level(st, st.nodes, fn); }

}  // namespace kq::db::sql
