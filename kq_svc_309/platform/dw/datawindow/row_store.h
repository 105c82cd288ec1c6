#pragma once
// The rows of a data window, stored compactly column by column. Each item is
// an 8-byte cell plus a null bit: a long as it is, a decimal counted in units
// of its column's scale (values that need more places or range are kept
// aside), a date-time in seconds, a text in place up to 7 bytes and in the
// column's text arena beyond. Rows are numbered from 0 in the order they are
// appended and keep their number until clear(); buffers and statuses are the
// data window's, not the store's.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "platform/dw/datawindow/text_arena.h"
#include "platform/value/value.h"

namespace kq::dw {

using RowIndex = uint32_t;

class RowStore {
 public:
  struct ColumnType {
    Type type = Type::String;  // String, Long, Decimal or DateTime
    int scale = 0;             // Decimal: places kept in the cell
  };

  // Drops every row and sets the columns.
  void reset(std::vector<ColumnType> columns);
  // Drops every row, keeping the columns.
  void clear();

  std::size_t column_count() const { return columns_.size(); }
  RowIndex row_count() const { return rows_; }
  Type type(std::size_t column) const { return columns_[column].layout.type; }

  // Appends a row whose items are all null; returns its number.
  RowIndex append();
  // Stores `v`, which is null or of the column's type (the caller converts).
  void set(RowIndex row, std::size_t column, const Value& v);
  void get(RowIndex row, std::size_t column, Value& out) const;
  Value get(RowIndex row, std::size_t column) const {
    Value v;
    get(row, column, v);
    return v;
  }
  bool is_null(RowIndex row, std::size_t column) const {
    return (columns_[column].nulls[row >> 6] >> (row & 63)) & 1;
  }
  // Orders two items of one column as sorting does: null first, texts by
  // bytes, numbers and dates by value. <0, 0 or >0.
  int compare(std::size_t column, RowIndex a, RowIndex b) const;

  // Bytes held for the rows (cells, null bits, texts), capacity included.
  std::size_t memory_bytes() const;

  static constexpr std::size_t kChunkRows = 1024;

 private:
  struct Column {
    ColumnType layout;
    int64_t unit = 1;  // Decimal: raw units per cell unit (10^(10 - scale))
    std::vector<std::vector<uint64_t>> chunks;
    std::vector<uint64_t> nulls;  // one bit per row, 1 = null
    TextArena texts;
    std::unordered_map<RowIndex, Decimal> wide;  // decimals that do not fit a cell
  };
  uint64_t& cell(Column& c, RowIndex row) { return c.chunks[row / kChunkRows][row % kChunkRows]; }
  const uint64_t& cell(const Column& c, RowIndex row) const { return c.chunks[row / kChunkRows][row % kChunkRows]; }
  Decimal decimal_of(const Column& c, RowIndex row) const;

  std::vector<Column> columns_;
  RowIndex rows_ = 0;
};

}  // namespace kq::dw
