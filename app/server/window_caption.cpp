#include "server/window_caption.h"

#include "framework/w_stmm_edit.h"
#include "platform/value/format.h"
#include "platform/value/text.h"

namespace kq::server {

std::string window_caption(const ui::Window& window) {
  std::string caption = window.title;
  const auto* edit = dynamic_cast<const fw::w_stmm_edit*>(&window);
  const fw::us_edit_row* row = edit ? edit->edit_row() : nullptr;
  if (!row || row->mode != "edit") return caption;
  for (const Value& key : row->key_values) {
    const std::string shown = text::trim(format::general(key));
    if (!shown.empty()) caption += " " + shown;
  }
  return caption;
}

}  // namespace kq::server
