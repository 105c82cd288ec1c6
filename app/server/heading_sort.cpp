#include "server/heading_sort.h"

#include <vector>

#include "framework/uo_dw_d.h"
#include "framework/w_large.h"
#include "framework/w_stmm_display.h"
#include "platform/dw/datawindow/sort_text.h"
#include "platform/ui/datawindow_control.h"
#include "platform/ui/window.h"
#include "platform/value/text.h"

namespace kq::server {

using nlohmann::json;

bool sorts_by_heading(const ui::Window& window, const ui::DataWindowControl& control) {
  const bool list_window =
      dynamic_cast<const fw::w_stmm_display*>(&window) != nullptr || dynamic_cast<const fw::w_large*>(&window) != nullptr;
  return list_window && control.dw().has_definition() &&
         control.dw().definition().style == dw::Definition::Style::Grid;
}

bool sort_by_heading(ui::DataWindowControl& control, const std::string& column) {
  dw::DataWindow& d = control.dw();
  if (!d.has_definition()) return false;
  const std::string name = text::lower(text::trim(column));
  if (name.empty() || !d.definition().find_column(name)) return false;
  // The list data window of work windows keeps its sort itself.
  if (auto* list = dynamic_cast<fw::uo_dw_d*>(&control)) return list->of_sort_single(name) == 1;
  const auto keys = dw::lowered_sort_keys(d.sort_text());
  const bool descending = keys.size() == 1 && keys[0].expression == name && !keys[0].descending;
  if (d.setsort(name + (descending ? " D" : " A")) != 1) return false;
  return d.sort() == 1;
}

json heading_sort_state(const ui::DataWindowControl& control) {
  json out = json::array();
  const dw::DataWindow& d = control.dw();
  if (!d.has_definition()) return out;
  for (const dw::SortKey& k : dw::lowered_sort_keys(d.sort_text())) {
    if (const dw::ColumnDef* c = d.definition().find_column(k.expression))
      out.push_back(json{{"column", c->name}, {"descending", k.descending}});
  }
  return out;
}

}  // namespace kq::server
