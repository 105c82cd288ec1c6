#include "platform/dw/datawindow/item_status.h"

#include "platform/value/text.h"

namespace kq::dw {

const char* status_name(ItemStatus s) {
  switch (s) {
    case ItemStatus::NotModified: return "notmodified";
    case ItemStatus::DataModified: return "datamodified";
    case ItemStatus::New: return "new";
    case ItemStatus::NewModified: return "newmodified";
  }
  return "notmodified";
}

std::optional<ItemStatus> parse_status(std::string_view name) {
  for (ItemStatus s : {ItemStatus::NotModified, ItemStatus::DataModified, ItemStatus::New, ItemStatus::NewModified})
    if (text::iequals(name, status_name(s))) return s;
  if (text::iequals(name, "modified")) return ItemStatus::DataModified;
  return std::nullopt;
}

}  // namespace kq::dw
