#pragma once
// The rows of a data window with their places and statuses: the row store,
// the order of the primary, filter and delete buffers, each row's status and
// selection, and the items changed since the last update with their values
// as retrieved (update() keys its statements by them).
#include <cstdint>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/dw/datawindow/item_status.h"
#include "platform/dw/datawindow/row_store.h"

namespace kq::dw {

class RowBuffers {
 public:
  RowStore store;

  // Row indexes of the store, in buffer order.
  std::vector<RowIndex>& buffer(Buffer b) { return b == Buffer::Primary ? primary_ : (b == Buffer::Filter ? filter_ : delete_); }
  const std::vector<RowIndex>& buffer(Buffer b) const {
    return b == Buffer::Primary ? primary_ : (b == Buffer::Filter ? filter_ : delete_);
  }
  // Call after changing the order or content of the primary buffer.
  void primary_changed() {
    positions_valid_ = false;
    ++primary_changes_;
  }
  // Counts the changes of the rows that expressions over the primary buffer
  // see: the stored values and the primary buffer's rows and order.
  uint64_t changes() const { return store.changes() + primary_changes_; }
  // Number (from 1) of a row in the primary buffer; 0 when it is not there.
  long position(RowIndex row) const;
  // The row of a buffer at `number` (from 1); nullopt when out of range.
  std::optional<RowIndex> at(Buffer b, long number) const;

  // Drops every row (the columns stay).
  void clear();
  // Appends a row of nulls to the store with `status` (to no buffer yet).
  RowIndex add_row(ItemStatus status);

  ItemStatus status(RowIndex row) const { return static_cast<ItemStatus>(flags_[row] & kStatusMask); }
  void set_status(RowIndex row, ItemStatus s) {
    flags_[row] = static_cast<uint8_t>((flags_[row] & ~kStatusMask) | static_cast<uint8_t>(s));
  }
  bool selected(RowIndex row) const { return flags_[row] & kSelected; }
  void set_selected(RowIndex row, bool on) {
    flags_[row] = static_cast<uint8_t>(on ? flags_[row] | kSelected : flags_[row] & ~kSelected);
  }

  // Items changed since the last update.
  bool item_modified(RowIndex row, uint32_t column) const;
  // Marks an item changed; `previous` is its value before this change, kept
  // as the original when the item was not changed before.
  void mark_modified(RowIndex row, uint32_t column, Value previous);
  // Forgets that an item was changed (its current value counts as original).
  void unmark_modified(RowIndex row, uint32_t column);
  bool any_modified(RowIndex row) const;
  // The changed columns of a row, in column order.
  std::vector<uint32_t> modified_columns(RowIndex row) const;
  // The value as retrieved (or as last saved) of an item; its current value
  // when it was not changed.
  Value original(RowIndex row, uint32_t column) const;
  // Forgets the changes of a row (after an update, or a status reset).
  void clear_changes(RowIndex row) { changes_.erase(row); }
  void clear_all_changes() { changes_.clear(); }

  std::size_t memory_bytes() const;

 private:
  static constexpr uint8_t kStatusMask = 0x3;
  static constexpr uint8_t kSelected = 0x4;
  struct Change {
    uint32_t column;
    Value original;
  };
  std::vector<RowIndex> primary_, filter_, delete_;
  std::vector<uint8_t> flags_;
  std::unordered_map<RowIndex, std::vector<Change>> changes_;
  mutable std::vector<uint32_t> positions_;  // by row index: position in primary, 0 = absent
  mutable bool positions_valid_ = false;
  uint64_t primary_changes_ = 0;
};

}  // namespace kq::dw
