#include "framework/uo_dw_d.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "framework/f_select_current_row.h"
#include "platform/dw/datawindow/sort_text.h"
#include "platform/ui/window.h"
#include "platform/value/text.h"

namespace kq::fw {
namespace {

using dw::SortKey;

std::string sort_text(const std::vector<SortKey>& keys) {
  std::string out;
  for (const auto& k : keys) out += (out.empty() ? "" : " ,") + k.expression + (k.descending ? " D" : " A");
  return out;
}

}  // namespace

uo_dw_d::uo_dw_d(std::string name) : ui::DataWindowControl(std::move(name)) {}

std::string uo_dw_d::column_of(std::string_view header) const {
  if (!dw().has_definition()) return "";
  std::string name = text::lower(text::trim(header));
  if (name.size() > 2 && name.compare(name.size() - 2, 2, "_t") == 0) name.resize(name.size() - 2);
  return dw().definition().find_column(name) ? name : "";
}

long uo_dw_d::apply_sort(std::string text) {
  if (dw().setsort(text) != 1) return -1;
  ois_sort = std::move(text);
  dw().sort();
  return 1;
}

long uo_dw_d::of_sort_single(std::string_view header) {
  std::string column = column_of(header);
  if (column.empty()) return -1;
  auto keys = dw::lowered_sort_keys(ois_sort);
  const bool ascending_alone = keys.size() == 1 && keys[0].expression == column && !keys[0].descending;
  return apply_sort(sort_text({SortKey{column, ascending_alone}}));
}

long uo_dw_d::of_sort_many(std::string_view header) {
  std::string column = column_of(header);
  if (column.empty()) return -1;
  auto keys = dw::lowered_sort_keys(ois_sort);
  auto it = std::find_if(keys.begin(), keys.end(), [&](const SortKey& k) { return k.expression == column; });
  if (it == keys.end()) keys.push_back(SortKey{column, false});
  else it->descending = !it->descending;
  return apply_sort(sort_text(keys));
}

long uo_dw_d::of_redraw() {
  dw().setredraw(true);
  f_select_current_row(dw());
  return 1;
}

long uo_dw_d::ue_keydown(int key, int keyflags) {
  (void)keyflags;
  const long rows = dw().rowcount();
  const long current = dw().getrow();
  if (rows < 1) return 0;
  long target = current;
  switch (key) {
    case 38: target = current - 1; break;
    case 40: target = current + 1; break;
    case 33: target = current - page_rows; break;
    case 34: target = current + page_rows; break;
    case 36: target = 1; break;
    case 35: target = rows; break;
    default: return 0;
  }
  target = std::clamp(target, 1L, rows);
  if (target == current) return 0;
  dw().setrow(target);
  f_select_current_row(dw());
  if (ui::Window* w = parent(); w && w->has_event(name(), "rowfocuschanged")) {
    ui::Event e;
    e.row = target;
    w->triggerevent(name(), "rowfocuschanged", e);
  }
  return 1;
}

}  // namespace kq::fw
