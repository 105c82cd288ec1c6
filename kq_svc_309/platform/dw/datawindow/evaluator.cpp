#include "platform/dw/datawindow/evaluator.h"

namespace kq::dw {

using expr::kNoRow;
using expr::RowId;

class Evaluator::ScopeGuard {
 public:
  ScopeGuard(const Evaluator& e, const ColumnSet& columns) : e_(e) { e.push(columns); }
  ~ScopeGuard() { e_.pop(); }
  ScopeGuard(const ScopeGuard&) = delete;
  ScopeGuard& operator=(const ScopeGuard&) = delete;

 private:
  const Evaluator& e_;
};

void Evaluator::bind(const BoundDefinition* bound) {
  bound_ = bound;
  memo_.clear();
  scopes_.clear();
  depth_ = 0;
  loose_ = Scope{};
  all_columns_.clear();
  const std::size_t n = rows_.store.column_count();
  for (uint32_t i = 0; i < n; ++i) all_columns_.push_back(i);
}

Evaluator::Scope& Evaluator::push(const ColumnSet& columns) const {
  if (depth_ == scopes_.size()) scopes_.emplace_back();
  Scope& s = scopes_[depth_++];
  s.columns = &columns;
  s.start.row = kNoRow;
  s.passing.row = kNoRow;
  return s;
}

void Evaluator::fill(Slot& slot, RowId row, const ColumnSet& columns) const {
  const std::size_t n = rows_.store.column_count();
  if (slot.values.size() != n) {
    slot.values.assign(n, Value());
    slot.stamps.assign(n, 0);
  }
  if (slot.row != row) {
    slot.row = row;
    if (++slot.generation == 0) {
      slot.stamps.assign(n, 0);
      slot.generation = 1;
    }
  }
  const auto r = static_cast<RowIndex>(row);
  for (uint32_t c : columns) {
    if (slot.stamps[c] == slot.generation) continue;
    rows_.store.get(r, c, slot.values[c]);
    slot.stamps[c] = slot.generation;
  }
}

const Value* Evaluator::columns(RowId row) const {
  if (row == kNoRow || row >= rows_.store.row_count()) return nullptr;
  // A caller outside evaluate() gets every column of the row, fetched anew
  // (valid until its next call).
  if (depth_ == 0) {
    loose_.start.row = kNoRow;
    fill(loose_.start, row, all_columns_);
    return loose_.start.values.data();
  }
  Scope& s = scopes_[depth_ - 1];
  Slot& slot = (s.start.row == kNoRow || s.start.row == row) ? s.start : s.passing;
  fill(slot, row, *s.columns);
  return slot.values.data();
}

Value Evaluator::evaluate(const Compiled& c, RowId row) const {
  ScopeGuard guard(*this, c.columns);
  return c.expression.evaluate(*this, row);
}

expr::Tri Evaluator::test(const Compiled& c, RowId row) const {
  ScopeGuard guard(*this, c.columns);
  return c.expression.root().test(expr::make_frame(*this, row));
}

Value Evaluator::computed(RowId row, std::size_t field) const {
  if (!bound_ || field >= bound_->computed().size()) return Value();
  return evaluate(bound_->computed()[field], row);
}

const Value& Evaluator::argument(std::size_t index) const {
  static const Value kNull;
  return index < args_.size() ? args_[index] : kNull;
}

int64_t Evaluator::current_row() const { return current_ ? rows_.position(*current_) : 0; }

int64_t Evaluator::row_count() const { return static_cast<int64_t>(rows_.buffer(Buffer::Primary).size()); }

RowId Evaluator::row_at(int64_t number) const {
  auto r = rows_.at(Buffer::Primary, static_cast<long>(number));
  return r ? static_cast<RowId>(*r) : kNoRow;
}

int64_t Evaluator::row_number(RowId row) const {
  if (row == kNoRow || row >= rows_.store.row_count()) return 0;
  return rows_.position(static_cast<RowIndex>(row));
}

void Evaluator::forget_if_changed() const {
  const uint64_t now = rows_.changes();
  if (now == memo_changes_ && current_ == memo_current_) return;
  memo_.clear();
  memo_changes_ = now;
  memo_current_ = current_;
}

const Value* Evaluator::remembered(uint64_t key) const {
  forget_if_changed();
  auto it = memo_.find(key);
  return it == memo_.end() ? nullptr : &it->second;
}

void Evaluator::remember(uint64_t key, const Value& value) const {
  forget_if_changed();
  // Expressions compiled for one evaluation (DataWindow::evaluate) leave
  // keys that never come back: a bounded memo drops them.
  if (memo_.size() >= kMemoLimit) memo_.clear();
  memo_[key] = value;
}

}  // namespace kq::dw
