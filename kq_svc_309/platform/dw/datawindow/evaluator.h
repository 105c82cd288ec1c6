#pragma once
// Evaluation of a data window's expressions over its rows: the RowContext
// that compiled expressions read.
//
// Rows are stored compactly, so the items an expression reads are fetched
// into Values when it runs. Each evaluation (a top-level one, or one computed
// field read by another expression) has a scope that fetches only the
// columns its expression reads: one slot for the row it was started for and
// one for the row an aggregate is passing over. An expression never holds
// more than those two rows of its own scope at once (an aggregate inside an
// aggregate is only possible through a computed field, which opens a scope
// of its own), so the values stay in place while they are in use, as the
// RowContext contract requires, without fetching whole rows.
#include <cstdint>
#include <deque>
#include <optional>
#include <unordered_map>
#include <vector>

#include "platform/dw/datawindow/bound_definition.h"
#include "platform/dw/datawindow/row_buffers.h"
#include "platform/dw/expression/row_context.h"

namespace kq::dw {

class Evaluator final : public expr::RowContext {
 public:
  // `current` is the data window's current row (a store index, or nullopt).
  Evaluator(const RowBuffers& rows, const std::vector<Value>& arguments, const std::optional<RowIndex>& current)
      : rows_(rows), args_(arguments), current_(current) {}

  // Set when the data window gets a definition (null: none).
  void bind(const BoundDefinition* bound);

  // `row` is a store index or expr::kNoRow.
  Value evaluate(const Compiled& c, expr::RowId row) const;
  expr::Tri test(const Compiled& c, expr::RowId row) const;

  // RowContext.
  const Value* columns(expr::RowId row) const override;
  Value computed(expr::RowId row, std::size_t field) const override;
  const Value& argument(std::size_t index) const override;
  int64_t current_row() const override;
  int64_t row_count() const override;
  expr::RowId row_at(int64_t number) const override;
  int64_t row_number(expr::RowId row) const override;
  const Value* remembered(uint64_t key) const override;
  void remember(uint64_t key, const Value& value) const override;

 private:
  struct Slot {
    expr::RowId row = expr::kNoRow;
    uint32_t generation = 1;
    std::vector<Value> values;
    std::vector<uint32_t> stamps;  // by column: the generation its value was fetched in
  };
  struct Scope {
    const ColumnSet* columns = nullptr;
    Slot start, passing;
  };
  class ScopeGuard;

  void fill(Slot& slot, expr::RowId row, const ColumnSet& columns) const;
  Scope& push(const ColumnSet& columns) const;
  void pop() const { --depth_; }

  const RowBuffers& rows_;
  const std::vector<Value>& args_;
  const std::optional<RowIndex>& current_;
  const BoundDefinition* bound_ = nullptr;
  ColumnSet all_columns_;
  mutable std::deque<Scope> scopes_;  // a deque: slots stay in place while deeper scopes are added
  mutable std::size_t depth_ = 0;
  mutable Scope loose_;
  // Aggregates' values (by node) for the rows as they were at `memo_changes_`
  // with current row `memo_current_`.
  void forget_if_changed() const;
  static constexpr std::size_t kMemoLimit = 512;
  mutable std::unordered_map<uint64_t, Value> memo_;
  mutable uint64_t memo_changes_ = 0;
  mutable std::optional<RowIndex> memo_current_;
};

}  // namespace kq::dw
