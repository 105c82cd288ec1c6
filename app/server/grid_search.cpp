#include "server/grid_search.h"

#include "framework/f_select_current_row.h"
#include "platform/ui/datawindow_control.h"
#include "platform/ui/window.h"
#include "platform/ui/window_manager.h"
#include "platform/value/text.h"

namespace kq::server {

using nlohmann::json;

namespace {

// A search text longer than any shown text could be is refused.
constexpr std::size_t kMaxSearchBytes = 200;

bool is_grid(const ui::DataWindowControl& c) {
  return c.dw().has_definition() && c.dw().definition().style == dw::Definition::Style::Grid;
}

}  // namespace

bool is_search_event(const json& event) {
  auto it = event.find("event");
  return it != event.end() && it->is_string() && text::iequals(it->get<std::string>(), "search");
}

std::optional<ApiError> run_search(ui::WindowManager& manager, const json& event) {
  auto window = event.find("window");
  auto control = event.find("control");
  auto typed = event.find("text");
  if (window == event.end() || !window->is_number_integer() || control == event.end() || !control->is_string())
    return bad_request("搜索须给出窗口和控件");
  if (typed == event.end() || !typed->is_string()) return bad_request("搜索须给出文字 \"text\"");
  const std::string wanted = typed->get<std::string>();
  if (wanted.size() > kMaxSearchBytes) return bad_request("搜索文字太长");
  ui::Window* w = manager.find(window->get<int>());
  if (!w) return not_found("窗口 " + window->dump() + " 没有打开");
  ui::DataWindowControl* c = w->datawindow(control->get<std::string>());
  if (!c || !c->visible) return not_found("窗口中没有数据窗口 " + control->get<std::string>());
  if (!c->enabled) return forbidden("控件 " + c->name() + " 当前不可用");
  if (!is_grid(*c)) return bad_request("数据窗口 " + c->name() + " 不是列表");
  dw::DataWindow& d = c->dw();
  if (d.setsearch(wanted) != 1) return bad_request("搜索失败");
  if (d.rowcount() > 0) fw::f_select_current_row(d);
  return std::nullopt;
}

void add_search_states(ui::Window& window, json& window_state) {
  if (!window_state.contains("controls")) return;
  for (json& c : window_state["controls"]) {
    if (c.value("kind", "") != "datawindow" || c.value("style", "") != "grid") continue;
    if (const ui::DataWindowControl* d = window.datawindow(c.value("name", ""))) {
      c["search"] = d->dw().search_text();
      c["searchtotal"] = d->dw().searchtotal();
    }
  }
}

}  // namespace kq::server
