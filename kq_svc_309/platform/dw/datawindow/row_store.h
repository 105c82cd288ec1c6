#pragma once
// The rows of a data window, stored compactly column by column. Each item is
// an 8-byte cell plus a null bit: a long as it is, a decimal counted in units
// of its column's scale (values that need more places or range are kept
// aside), a date-time in seconds, a text in place up to 7 bytes and in the
// column's text arena beyond (equal texts share their bytes as far as the
// arena notices). The cells of each kChunkRows rows of a column are packed
// once the rows are appended (cell_chunk.h): a column of few distinct values
// costs about a byte a row. Rows are numbered from 0 in the order they are
// appended and keep their number until clear(); buffers and statuses are the
// data window's, not the store's.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/dw/datawindow/cell_chunk.h"
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
  // Counts every change of the stored rows (reset, clear, append, set): equal
  // counts mean equal contents.
  uint64_t changes() const { return changes_; }
  RowIndex row_count() const { return rows_; }
  Type type(std::size_t column) const { return columns_[column].layout.type; }

  // Appends a row whose items are all null; returns its number. The rows
  // of a chunk that this append leaves behind are packed.
  RowIndex append();
  // Packs the last rows too (after a retrieval, say); writing to them again
  // unpacks their chunk.
  void pack();
  // Stores `v`, which is null or of the column's type (the caller converts).
  void set(RowIndex row, std::size_t column, const Value& v);
  // Stores a text into a String column (as set() of that text).
  void set_text(RowIndex row, std::size_t column, std::string_view text);
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

  // Raw access for loops over many rows (the layout above). The cell of an
  // item: for a String column the text arena's cell (texts(column).view()
  // reads it through text_cell()'s reference, which stays valid until rows
  // are appended, set, packed or cleared), Long and DateTime the value,
  // Decimal the count of unit(column) raw units, or kWideCell when the value
  // is kept aside (decimal() reads it). Null items have cell 0.
  const TextArena& texts(std::size_t column) const { return columns_[column].texts; }
  int64_t unit(std::size_t column) const { return columns_[column].unit; }
  // The value of a non-null item of a Decimal column.
  Decimal decimal(RowIndex row, std::size_t column) const { return decimal_of(columns_[column], row); }
  static constexpr uint64_t kWideCell = uint64_t{1} << 63;
  uint64_t cell(std::size_t column, RowIndex row) const { return cell(columns_[column], row); }
  const uint64_t& text_cell(std::size_t column, RowIndex row) const {
    return columns_[column].chunks[row / kChunkRows].at(row % kChunkRows);
  }
  // The null bits of a column (row r at bit r % 64 of word r / 64); valid
  // until rows are appended or cleared.
  const uint64_t* null_words(std::size_t column) const { return columns_[column].nulls.data(); }

  // Bytes held for the rows (cells, null bits, texts), capacity included.
  std::size_t memory_bytes() const;

  static constexpr std::size_t kChunkRows = 1024;

 private:
  struct Column {
    ColumnType layout;
    int64_t unit = 1;  // Decimal: raw units per cell unit (10^(10 - scale))
    std::vector<CellChunk> chunks;
    std::vector<uint64_t> nulls;  // one bit per row, 1 = null
    TextArena texts;
    std::unordered_map<RowIndex, Decimal> wide;  // decimals that do not fit a cell
  };
  uint64_t& cell(Column& c, RowIndex row) { return c.chunks[row / kChunkRows].write(row % kChunkRows); }
  uint64_t cell(const Column& c, RowIndex row) const { return c.chunks[row / kChunkRows].get(row % kChunkRows); }
  // Texts in place are read through a reference to their cell: their
  // chunks are never packed as offsets.
  static bool offsets_allowed(const Column& c) { return c.layout.type != Type::String; }
  Decimal decimal_of(const Column& c, RowIndex row) const;

  std::vector<Column> columns_;
  RowIndex rows_ = 0;
  uint64_t changes_ = 0;
};

}  // namespace kq::dw
