#include "platform/db/dialect/day_range.h"

#include <utility>

namespace kq::db::sql {
namespace {

// "(char(10), x, 111)" (also varchar, nchar, nvarchar): the node x, or null.
const Node* day_of(const Node& args) {
  if (args.kind != NodeKind::Group) return nullptr;
  const std::optional<Range> day = day_text_operand(args.children);
  return day && day->size() == 1 ? &args.children[day->begin] : nullptr;
}

bool is_convert_call(const Nodes& seq, size_t k, size_t e) {
  return k + 1 < e && is_word(seq[k], "convert") && seq[k + 1].kind == NodeKind::Group && day_of(seq[k + 1]);
}

// A value fixed for the whole statement: a host variable, a string literal,
// or the day of one. Its length in nodes, 0 when seq[k] starts none.
size_t day_operand(const Nodes& seq, size_t k, size_t e) {
  if (k >= e) return 0;
  if (seq[k].kind == NodeKind::HostVar || seq[k].kind == NodeKind::String) return 1;
  if (!is_convert_call(seq, k, e)) return 0;
  const Node* inner = day_of(seq[k + 1]);
  return inner->kind == NodeKind::HostVar || inner->kind == NodeKind::String ? 2 : 0;
}

bool starts_condition(const Nodes& seq, size_t b, size_t i) {
  if (i == b) return true;
  const Node& p = seq[i - 1];
  return is_word(p, "where") || is_word(p, "on") || is_word(p, "having") || is_word(p, "when") ||
         is_word(p, "and") || is_word(p, "or");
}

bool ends_condition(const Nodes& seq, size_t k, size_t e) {
  return k >= e || (seq[k].kind == NodeKind::Word && is_reserved(seq[k].text) && !is_word(seq[k], "is") &&
                    !is_word(seq[k], "between") && !is_word(seq[k], "like") && !is_word(seq[k], "in") &&
                    !is_word(seq[k], "not"));
}

Nodes copy_of(const Nodes& seq, size_t from, size_t to) {
  Nodes out(seq.begin() + static_cast<std::ptrdiff_t>(from), seq.begin() + static_cast<std::ptrdiff_t>(to));
  if (!out.empty()) out.front().space_before = false;
  return out;
}

// One rewritten comparison: which bounds it gets from which operand.
struct Plan {
  size_t end = 0;  // one past the comparison
  std::optional<std::pair<size_t, DayEdge>> lower, upper;  // operand start, edge
  size_t lower_len = 0, upper_len = 0;
};

std::optional<Plan> plan_at(const Nodes& seq, size_t i, size_t e) {
  // seq[i] convert, seq[i+1] its arguments, seq[i+2] the operator.
  const size_t op = i + 2;
  if (op >= e) return std::nullopt;
  Plan p;
  if (is_word(seq[op], "between")) {
    const size_t a = op + 1;
    const size_t alen = day_operand(seq, a, e);
    if (!alen || a + alen >= e || !is_word(seq[a + alen], "and")) return std::nullopt;
    const size_t z = a + alen + 1;
    const size_t zlen = day_operand(seq, z, e);
    if (!zlen || !ends_condition(seq, z + zlen, e)) return std::nullopt;
    p.end = z + zlen;
    p.lower = {a, DayEdge::Start};
    p.lower_len = alen;
    p.upper = {z, DayEdge::After};
    p.upper_len = zlen;
    return p;
  }
  if (seq[op].kind != NodeKind::Operator) return std::nullopt;
  const std::string_view o = seq[op].text;
  const size_t v = op + 1;
  const size_t vlen = day_operand(seq, v, e);
  if (!vlen || !ends_condition(seq, v + vlen, e)) return std::nullopt;
  p.end = v + vlen;
  if (o == "=" || o == ">=") p.lower = {v, DayEdge::Start};
  else if (o == ">") p.lower = {v, DayEdge::After};
  if (o == "=" || o == "<=") p.upper = {v, DayEdge::After};
  else if (o == "<") p.upper = {v, DayEdge::Start};
  if (!p.lower && !p.upper) return std::nullopt;  // <>, !=
  p.lower_len = p.upper_len = vlen;
  return p;
}

}  // namespace

size_t rewrite_day_comparisons(Statement& st, Nodes& seq, size_t b, size_t e, const ColumnLookup& column,
                               const DayRangeRules& rules) {
  for (size_t i = b; i < e; ++i) {
    if (!is_convert_call(seq, i, e) || !starts_condition(seq, b, i)) continue;
    const Node* col = day_of(seq[i + 1]);
    if (col->kind != NodeKind::Word || is_reserved(col->text)) continue;
    auto info = column(col->text);
    if (!info || info->kind != ColumnKind::DateTime) continue;
    auto plan = plan_at(seq, i, e);
    if (!plan) continue;

    const uint32_t at = seq[i].offset;
    Nodes group;
    auto bound = [&](std::string_view op, Nodes value) {
      if (!group.empty()) group.push_back(st.make(NodeKind::Word, "and", at));
      Node c = *col;
      c.space_before = !group.empty();
      group.push_back(std::move(c));
      group.push_back(st.make(NodeKind::Operator, op, at));
      for (Node& n : value) group.push_back(std::move(n));
      if (value.size() > 0) group[group.size() - value.size()].space_before = true;
    };
    if (plan->lower)
      bound(">=", rules.lower_bound(st, copy_of(seq, plan->lower->first, plan->lower->first + plan->lower_len),
                                    plan->lower->second, at));
    if (plan->upper)
      bound("<", rules.upper_bound(st, copy_of(seq, plan->upper->first, plan->upper->first + plan->upper_len),
                                   plan->upper->second, at));
    group.push_back(st.make(NodeKind::Word, "and", at));
    const bool space = seq[i].space_before;
    for (size_t k = i; k < plan->end; ++k) group.push_back(std::move(seq[k]));
    group[group.size() - (plan->end - i)].space_before = true;

    Node wrapped = st.make_group(std::move(group), at, space);
    seq.erase(seq.begin() + static_cast<std::ptrdiff_t>(i) + 1, seq.begin() + static_cast<std::ptrdiff_t>(plan->end));
    seq[i] = std::move(wrapped);
    e -= plan->end - i - 1;
  }
  return e;
}

}  // namespace kq::db::sql
