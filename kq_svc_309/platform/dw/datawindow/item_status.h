#pragma once
// Buffers of a data window and the status of its rows and items.
//
// Rows live in one of three buffers: primary (shown, after filter and sort),
// filter (rows the filter dropped) and delete (rows deleted since the last
// update, written as DELETE by update()).
//
// Status of a row: NotModified (as retrieved or as last saved), DataModified
// (an item was changed: update() writes an UPDATE of the changed columns),
// New (inserted, nothing set yet: update() skips it) and NewModified
// (inserted and set: update() writes an INSERT). Status of an item:
// NotModified or DataModified.
#include <cstdint>
#include <optional>
#include <string_view>

namespace kq::dw {

enum class Buffer : uint8_t { Primary, Filter, Delete };

enum class ItemStatus : uint8_t { NotModified, DataModified, New, NewModified };

// "notmodified", "datamodified", "new", "newmodified".
const char* status_name(ItemStatus s);
// The inverse of status_name, ignoring case; "modified" also stands for DataModified.
std::optional<ItemStatus> parse_status(std::string_view name);

inline bool is_new(ItemStatus s) { return s == ItemStatus::New || s == ItemStatus::NewModified; }

}  // namespace kq::dw
