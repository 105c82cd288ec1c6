#pragma once
// A small in-memory data window for expression tests: named columns, computed
// fields compiled together, retrieval arguments, a current row, and rows whose
// primary buffer can be narrowed.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/dw/expression/computed_fields.h"
#include "platform/dw/expression/expression.h"
#include "platform/dw/expression/function_registry.h"
#include "platform/dw/expression/name_table.h"
#include "platform/dw/expression/row_context.h"

namespace kq::dw::expr::testing {

class TestTable : public RowContext {
 public:
  explicit TestTable(const FunctionRegistry* functions = nullptr) : names_(functions) {}

  void column(const std::string& name, Type type) { names_.add_column(name, type); }
  void computed(const std::string& name, const std::string& expression, Type type = Type::Any) {
    names_.add_computed(name, type);
    computed_text_.push_back({name, expression});
  }
  void argument(const std::string& name, Value value) {
    names_.add_argument(name, value.type());
    arguments_.push_back(std::move(value));
  }
  // Adds a row with one value per column, in column order; returns its RowId.
  RowId row(std::vector<Value> values) {
    rows_.push_back(std::move(values));
    primary_.push_back(rows_.size() - 1);
    return rows_.size() - 1;
  }
  void set_current(int64_t number) { current_ = number; }
  // Only these rows (in this order) form the primary buffer.
  void set_primary(std::vector<RowId> rows) { primary_ = std::move(rows); }
  // Compiles the computed fields; call after declaring them.
  void finish() {
    auto fields = compile_computed_fields(computed_text_, names_);
    ASSERT_TRUE(fields.ok()) << fields.error();
    fields_ = std::move(*fields);
  }

  const NameTable& names() const { return names_; }

  // Compiles `text` and evaluates it for `row`; fails the test on a compile error.
  Value eval(const std::string& text, RowId row = kNoRow) const {
    auto e = compile(text, names_);
    EXPECT_TRUE(e.ok()) << text << ": " << e.error();
    if (!e) return Value();
    return e->evaluate(*this, row);
  }

  const Value* columns(RowId row) const override { return row == kNoRow ? nullptr : rows_.at(row).data(); }
  Value computed(RowId row, std::size_t field) const override { return fields_.at(field).evaluate(*this, row); }
  const Value& argument(std::size_t index) const override { return arguments_.at(index); }
  int64_t current_row() const override { return current_; }
  int64_t row_count() const override { return static_cast<int64_t>(primary_.size()); }
  RowId row_at(int64_t number) const override { return primary_.at(static_cast<size_t>(number - 1)); }
  int64_t row_number(RowId row) const override {
    for (size_t i = 0; i < primary_.size(); ++i)
      if (primary_[i] == row) return static_cast<int64_t>(i + 1);
    return 0;
  }

 private:
  NameTable names_;
  std::vector<ComputedFieldText> computed_text_;
  std::vector<Expression> fields_;
  std::vector<Value> arguments_;
  std::vector<std::vector<Value>> rows_;
  std::vector<RowId> primary_;
  int64_t current_ = 0;
};

inline Value dec(const char* text) { return Value(*Decimal::parse(text)); }
inline Value dt(const char* text) { return Value(*DateTime::parse(text)); }
inline Value null_of(Type t) { return Value::null(t); }

}  // namespace kq::dw::expr::testing

namespace kq::dw::expr::testing {

// "type:text" of a value, or "null": compares type and content in one string.
inline std::string show(const Value& v) {
  if (v.is_null()) return "null";
  return std::string(type_name(v.type())) + ":" + v.debug_string();
}

}  // namespace kq::dw::expr::testing
