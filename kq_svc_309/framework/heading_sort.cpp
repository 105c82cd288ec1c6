#include "framework/heading_sort.h"

#include <string>

#include "framework/uo_dw_d.h"
#include "platform/dw/datawindow/sort_text.h"
#include "platform/value/text.h"

namespace kq::fw {

long sort_by_heading(ui::DataWindowControl& control, std::string_view column) {
  dw::DataWindow& d = control.dw();
  if (!d.has_definition() || d.definition().style != dw::Definition::Style::Grid) return -1;
  if (auto* list = dynamic_cast<uo_dw_d*>(&control)) return list->of_sort_single(column);
  const std::string name = text::lower(text::trim(column));
  if (name.empty() || !d.definition().find_column(name)) return -1;
  const auto keys = dw::lowered_sort_keys(d.sort_text());
  const bool descending = keys.size() == 1 && keys[0].expression == name && !keys[0].descending;
  if (d.setsort(name + (descending ? " D" : " A")) != 1) return -1;
  return d.sort() == 1 ? 1 : -1;
}

}  // namespace kq::fw
