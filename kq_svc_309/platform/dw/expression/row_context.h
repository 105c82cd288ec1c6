#pragma once
// What an expression reads while it is evaluated: the data window's rows, its
// computed fields, retrieval arguments and row positions. The data window
// implements this; expressions never look a name up here, only slots.
#include <cstddef>
#include <cstdint>
#include <limits>

#include "platform/value/value.h"

namespace kq::dw::expr {

// A row as the context identifies it (for instance its index in the data
// window's row store). Expressions only pass it back to the context.
using RowId = std::size_t;
// "No row": footer and header objects of an empty data window. Columns read as null.
inline constexpr RowId kNoRow = std::numeric_limits<RowId>::max();

class RowContext {
 public:
  virtual ~RowContext() = default;

  // The stored column values of `row`, indexed by column slot; at least as
  // many as the resolver handed out column slots. nullptr for kNoRow. The
  // values stay in place while an expression is evaluated.
  virtual const Value* columns(RowId row) const = 0;
  // The value of computed field `field` for `row` (the context evaluates the
  // field's own expression, and may cache it).
  virtual Value computed(RowId row, std::size_t field) const = 0;
  // Retrieval argument `index`, null when it was not given.
  virtual const Value& argument(std::size_t index) const = 0;

  // Number (from 1) of the current row in the primary buffer; 0 when none.
  virtual int64_t current_row() const = 0;
  // Number of rows in the primary buffer (rows passing the filter).
  virtual int64_t row_count() const = 0;
  // The `number`-th row (from 1) of the primary buffer; 1 <= number <= row_count().
  virtual RowId row_at(int64_t number) const = 0;
  // Number (from 1) of `row` in the primary buffer; 0 when it is not there.
  virtual int64_t row_number(RowId row) const = 0;

  // Values computed over every row (aggregates), kept until the rows change:
  // the value remembered for `key` (a number its node holds, never given to
  // another node) while the stored values, the rows of the primary buffer,
  // their order and the current row stayed as they were; nullptr otherwise.
  // A context may forget at any time; one that keeps nothing never remembers.
  virtual const Value* remembered(uint64_t key) const {
    (void)key;
    return nullptr;
  }
  virtual void remember(uint64_t key, const Value& value) const {
    (void)key;
    (void)value;
  }
};

}  // namespace kq::dw::expr
