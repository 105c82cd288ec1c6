// Items of a data window: reading, setting, statuses and the pending edit.
#include "platform/dw/datawindow/datawindow.h"
#include "platform/dw/definition/concat.h"
#include "platform/value/text.h"

namespace kq::dw {

int DataWindow::column_slot(const ColumnRef& column) const {
  if (!bound_) return -1;
  if (column.by_number()) {
    int n = column.number();
    return n >= 1 && n <= static_cast<int>(bound_->definition().columns.size()) ? n - 1 : -1;
  }
  return bound_->column(column.name());
}

std::optional<Value> DataWindow::to_column(int slot, const Value& v) const {
  const ColumnDef& c = bound_->definition().columns[static_cast<std::size_t>(slot)];
  if (v.is_null()) return Value::null(c.type);
  auto converted = v.converted_to(c.type);
  if (!converted || converted->is_null()) return std::nullopt;
  return converted;
}

Value DataWindow::getitem(long row, const ColumnRef& column, Buffer buffer, bool original) const {
  int slot = column_slot(column);
  if (slot < 0) return Value();
  auto r = row_index(row, buffer);
  if (!r) return Value::null(bound_->definition().columns[static_cast<std::size_t>(slot)].type);
  return original ? rows_.original(*r, static_cast<uint32_t>(slot)) : rows_.store.get(*r, static_cast<std::size_t>(slot));
}

Str DataWindow::getitemstring(long row, const ColumnRef& column, Buffer buffer, bool original) const {
  return getitem(row, column, buffer, original).as_string();
}

Dec DataWindow::getitemnumber(long row, const ColumnRef& column, Buffer buffer, bool original) const {
  return getitem(row, column, buffer, original).as_decimal();
}

Dec DataWindow::getitemdecimal(long row, const ColumnRef& column, Buffer buffer, bool original) const {
  return getitem(row, column, buffer, original).as_decimal();
}

Dt DataWindow::getitemdatetime(long row, const ColumnRef& column, Buffer buffer, bool original) const {
  return getitem(row, column, buffer, original).as_datetime();
}

int DataWindow::setitem(long row, const ColumnRef& column, const Value& value) {
  return setitem(row, column, Buffer::Primary, value);
}

int DataWindow::setitem(long row, const ColumnRef& column, Buffer buffer, const Value& value) {
  int slot = column_slot(column);
  if (slot < 0) return fail("no column '" + column.name() + "'");
  auto r = row_index(row, buffer);
  if (!r) return fail("row " + std::to_string(row) + " does not exist");
  auto v = to_column(slot, value);
  if (!v) return fail(concat({"'", value.debug_string(), "' is no ", type_name(bound_->definition().columns[slot].type)}));
  return set_item(*r, slot, *v);
}

int DataWindow::set_item(RowIndex r, int slot, const Value& converted) {
  const auto col = static_cast<uint32_t>(slot);
  rows_.mark_modified(r, col, rows_.store.get(r, col));
  rows_.store.set(r, col, converted);
  ItemStatus s = rows_.status(r);
  if (s == ItemStatus::New) rows_.set_status(r, ItemStatus::NewModified);
  else if (s == ItemStatus::NotModified) rows_.set_status(r, ItemStatus::DataModified);
  nested_.clear();
  search_texts_.clear();  // a shown text may have changed (computed fields of the row too)
  return 1;
}

ItemStatus DataWindow::getitemstatus(long row, const ColumnRef& column, Buffer buffer) const {
  auto r = row_index(row, buffer);
  if (!r) return ItemStatus::NotModified;
  if (column.by_number() && column.number() == 0) return rows_.status(*r);
  int slot = column_slot(column);
  if (slot < 0) return ItemStatus::NotModified;
  return rows_.item_modified(*r, static_cast<uint32_t>(slot)) ? ItemStatus::DataModified : ItemStatus::NotModified;
}

int DataWindow::setitemstatus(long row, const ColumnRef& column, Buffer buffer, ItemStatus status) {
  auto r = row_index(row, buffer);
  if (!r) return fail("row " + std::to_string(row) + " does not exist");
  const bool whole_row = column.by_number() && column.number() == 0;
  if (!whole_row) {
    int slot = column_slot(column);
    if (slot < 0) return fail("no column '" + column.name() + "'");
    const auto col = static_cast<uint32_t>(slot);
    if (status == ItemStatus::DataModified) return set_item(*r, slot, rows_.store.get(*r, col));
    if (status != ItemStatus::NotModified) return fail("an item is either notmodified or datamodified");
    rows_.unmark_modified(*r, col);
    if (rows_.status(*r) == ItemStatus::DataModified && !rows_.any_modified(*r))
      rows_.set_status(*r, ItemStatus::NotModified);
    return 1;
  }
  const ItemStatus old = rows_.status(*r);
  switch (status) {
    case ItemStatus::NotModified:
      rows_.clear_changes(*r);
      rows_.set_status(*r, ItemStatus::NotModified);
      break;
    case ItemStatus::DataModified: {
      const std::size_t n = rows_.store.column_count();
      for (std::size_t c = 0; c < n; ++c)
        rows_.mark_modified(*r, static_cast<uint32_t>(c), rows_.store.get(*r, c));
      rows_.set_status(*r, is_new(old) ? ItemStatus::NewModified : ItemStatus::DataModified);
      break;
    }
    case ItemStatus::New:
    case ItemStatus::NewModified:
      rows_.clear_changes(*r);
      rows_.set_status(*r, status);
      break;
  }
  return 1;
}

void DataWindow::set_pending_edit(long row, std::string column, std::string text) {
  pending_ = PendingEdit{row, std::move(column), std::move(text)};
}

int DataWindow::accepttext() {
  if (!pending_) return 1;
  const PendingEdit p = *pending_;
  int slot = column_slot(p.column);
  auto r = row_index(p.row);
  if (slot < 0 || !r) {
    pending_.reset();
    return fail("the pending edit names no item (row " + std::to_string(p.row) + ", column '" + p.column + "')");
  }
  const ColumnDef& c = bound_->definition().columns[static_cast<std::size_t>(slot)];
  Value typed = Value::null(c.type);
  if (c.type == Type::String) {
    typed = Value(p.text);
  } else if (!text::trim(p.text).empty()) {
    auto v = Value(text::trim(p.text)).converted_to(c.type);
    if (!v || v->is_null()) return fail("'" + p.text + "' is no " + type_name(c.type) + " for " + c.name);
    typed = *v;
  }
  if (typed == rows_.store.get(*r, static_cast<std::size_t>(slot))) {
    pending_.reset();
    return 1;
  }
  if (itemchanged_) {
    int answer = itemchanged_(p.row, c.name, p.text);
    if (answer == 1) return fail("the edit of " + c.name + " was rejected");
    if (answer == 2) {
      pending_.reset();
      return 1;
    }
  }
  // The handler may have changed the rows; the item must still be there.
  r = row_index(p.row);
  pending_.reset();
  if (!r) return fail("row " + std::to_string(p.row) + " went away while its edit was accepted");
  return set_item(*r, slot, typed);
}

}  // namespace kq::dw
