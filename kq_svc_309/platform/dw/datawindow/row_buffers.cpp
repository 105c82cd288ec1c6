#include "platform/dw/datawindow/row_buffers.h"

#include <algorithm>

namespace kq::dw {

long RowBuffers::position(RowIndex row) const {
  if (!positions_valid_) {
    positions_.assign(store.row_count(), 0);
    for (std::size_t i = 0; i < primary_.size(); ++i) positions_[primary_[i]] = static_cast<uint32_t>(i + 1);
    positions_valid_ = true;
  }
  return row < positions_.size() ? positions_[row] : 0;
}

std::optional<RowIndex> RowBuffers::at(Buffer b, long number) const {
  const auto& v = buffer(b);
  if (number < 1 || static_cast<std::size_t>(number) > v.size()) return std::nullopt;
  return v[static_cast<std::size_t>(number - 1)];
}

void RowBuffers::clear() {
  store.clear();
  primary_.clear();
  primary_.shrink_to_fit();
  filter_.clear();
  delete_.clear();
  flags_.clear();
  flags_.shrink_to_fit();
  changes_.clear();
  positions_.clear();
  positions_.shrink_to_fit();
  positions_valid_ = false;
  ++primary_changes_;
}

RowIndex RowBuffers::add_row(ItemStatus status) {
  RowIndex row = store.append();
  flags_.push_back(static_cast<uint8_t>(status));
  positions_valid_ = false;
  return row;
}

bool RowBuffers::item_modified(RowIndex row, uint32_t column) const {
  auto it = changes_.find(row);
  if (it == changes_.end()) return false;
  return std::any_of(it->second.begin(), it->second.end(), [&](const Change& c) { return c.column == column; });
}

void RowBuffers::mark_modified(RowIndex row, uint32_t column, Value previous) {
  auto& list = changes_[row];
  for (const Change& c : list)
    if (c.column == column) return;
  list.push_back(Change{column, std::move(previous)});
}

void RowBuffers::unmark_modified(RowIndex row, uint32_t column) {
  auto it = changes_.find(row);
  if (it == changes_.end()) return;
  auto& list = it->second;
  list.erase(std::remove_if(list.begin(), list.end(), [&](const Change& c) { return c.column == column; }), list.end());
  if (list.empty()) changes_.erase(it);
}

bool RowBuffers::any_modified(RowIndex row) const { return changes_.count(row) != 0; }

std::vector<uint32_t> RowBuffers::modified_columns(RowIndex row) const {
  std::vector<uint32_t> out;
  auto it = changes_.find(row);
  if (it != changes_.end())
    for (const Change& c : it->second) out.push_back(c.column);
  std::sort(out.begin(), out.end());
  return out;
}

Value RowBuffers::original(RowIndex row, uint32_t column) const {
  auto it = changes_.find(row);
  if (it != changes_.end())
    for (const Change& c : it->second)
      if (c.column == column) return c.original;
  return store.get(row, column);
}

std::size_t RowBuffers::memory_bytes() const {
  return store.memory_bytes() + (primary_.capacity() + filter_.capacity() + delete_.capacity()) * sizeof(RowIndex) +
         flags_.capacity() + positions_.capacity() * sizeof(uint32_t) + changes_.size() * 96;
}

}  // namespace kq::dw
