#pragma once
// The bounds every dialect writes for sql::day_ranges() have one shape:
//   (case when <the operand is a day> then <an edge of that day>
//         else <a value beyond every stored one> end)
// so that an operand that is no day "yyyy/mm/dd" (an empty text, another
// form, a day that does not exist) admits every row and the comparison kept
// beside the range decides alone. A dialect says how it tests the operand,
// computes the edge and writes the values beyond; DayBoundsByCase writes the
// rest. NodeWriter writes the new nodes of a rewrite.
#include <cstdint>
#include <string_view>

#include "platform/db/dialect/sql_rewrite.h"
#include "platform/db/dialect/sql_tree.h"

namespace kq::db::sql {

// New nodes of one rewrite, all at the source position `at` (for errors).
class NodeWriter {
 public:
  NodeWriter(Statement& st, uint32_t at) : st_(st), at_(at) {}

  Node word(std::string_view w, bool space = true) { return st_.make(NodeKind::Word, w, at_, space); }
  Node string(std::string_view quoted, bool space = true) { return st_.make(NodeKind::String, quoted, at_, space); }
  Node number(std::string_view n, bool space = true) { return st_.make(NodeKind::Number, n, at_, space); }
  Node op(std::string_view o) { return st_.make(NodeKind::Operator, o, at_); }
  Node comma() { return st_.make(NodeKind::Comma, ",", at_, false); }
  // "(children)", with a blank before it when `space`.
  Node group(Nodes children, bool space = false) { return st_.make_group(std::move(children), at_, space); }
  // "name(args)": the arguments as given, separated by the commas they hold.
  Nodes call(std::string_view name, Nodes args, bool space = false);
  // "cast(x as type)".
  Nodes cast(Nodes x, std::string_view type);
  // Moves `from` to the end of `to`, its first node after a blank when `space`.
  static void append(Nodes& to, Nodes from, bool space = true);

 private:
  Statement& st_;
  uint32_t at_;
};

class DayBoundsByCase : public DayRangeRules {
 public:
  Nodes lower_bound(Statement& st, Nodes day, DayEdge edge, uint32_t at) const final;
  Nodes upper_bound(Statement& st, Nodes day, DayEdge edge, uint32_t at) const final;

 protected:
  // A condition true for an operand `day` whose edge() is right, false (or
  // null) for any other; it must not fail for any value of the operand.
  virtual Nodes is_day(NodeWriter& w, const Nodes& day) const = 0;
  // The first moment of the day, or the first after it, where is_day() holds.
  virtual Nodes edge(NodeWriter& w, const Nodes& day, DayEdge edge) const = 0;
  // A value below (above) every stored datetime of the column.
  virtual Nodes below_every_value(NodeWriter& w) const = 0;
  virtual Nodes above_every_value(NodeWriter& w) const = 0;

 private:
  Nodes bound(Statement& st, const Nodes& day, DayEdge edge, bool lower, uint32_t at) const;
};

}  // namespace kq::db::sql
