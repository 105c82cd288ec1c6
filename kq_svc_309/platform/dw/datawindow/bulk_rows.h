#pragma once
// Filter and sort of many rows of a RowStore at once, reading the store's
// cells directly instead of fetching each item into a Value.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/dw/datawindow/row_store.h"
#include "platform/dw/expression/node.h"

namespace kq::dw {

// A condition evaluated a column at a time over the store. plan() accepts a
// condition made only of and, or, not, constants and comparisons of a column
// with a text or number constant (see expr::NodeShape) whose column is stored
// with a matching type (text: String; number: Long or Decimal); for any other
// it gives nullopt. test() then gives, for every row, what the node's own
// test() gives for that row (three-valued, null items making comparisons null).
class BulkCondition {
 public:
  static std::optional<BulkCondition> plan(const expr::Node& root, const RowStore& store);

  // out[i] becomes the truth of the condition for rows[i].
  void test(const RowStore& store, const std::vector<RowIndex>& rows, std::vector<expr::Tri>& out) const;

 private:
  enum class Kind : uint8_t { Constant, And, Or, Not, Text, Number };
  struct Step {
    Kind kind = Kind::Constant;
    expr::Tri truth = expr::Tri::Null;  // Constant
    std::size_t a = 0, b = 0;           // operands (steps)
    std::size_t slot = 0;               // Text, Number
    expr::BinaryOp op = expr::BinaryOp::Equal;
    std::string text;                   // Text: the constant
    uint64_t cell = 0;                  // Text: the constant's cell when it fits in place, else 0
    Decimal::Raw raw = 0;               // Number: the constant's raw value
  };
  std::size_t add(const expr::Node& n, const RowStore& store, bool& ok);
  static constexpr std::size_t kBlock = 1024;
  void run(std::size_t step, const RowStore& store, const RowIndex* rows, const uint32_t* sel, std::size_t m,
           expr::Tri* out) const;

  std::vector<Step> steps_;
  std::size_t root_ = 0;
};

// One key of a sort over rows of the store: a column, ordered as
// RowStore::compare orders it, or values given by position in the rows,
// ordered as expr::sort_order. Text (a text column, or values that are all
// text) is ordered by Chinese collation instead (text::collation_key: Han by
// pinyin), each distinct text's key computed once per sort. Descending
// reverses the order (nulls last).
struct BulkSortKey {
  int column = -1;                           // a column, or -1 for `values`
  const std::vector<Value>* values = nullptr;  // column -1: one per row, by position
  bool descending = false;
};

// The positions (into `rows`) of the rows in order of the keys; rows that tie
// on every key keep their order in `rows`.
std::vector<uint32_t> sort_positions(const RowStore& store, const std::vector<RowIndex>& rows,
                                     const std::vector<BulkSortKey>& keys);

}  // namespace kq::dw
