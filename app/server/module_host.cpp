#include "server/module_host.h"

#include <cstdio>

#include "framework/module_menu.h"
#include "framework/print_options.h"
#include "platform/dw/render/pdf_render.h"
#include "platform/ui/event_dispatch.h"
#include "platform/ui/window.h"
#include "platform/ui/window_manager.h"
#include "platform/ui/window_state.h"
#include "server/data_items.h"
#include "server/event_json.h"
#include "server/grid_search.h"
#include "server/window_caption.h"
#include "server/window_state_json.h"

namespace kq::server {

using nlohmann::json;

namespace {

class ModuleHost : public WindowHost {
 public:
  ModuleHost() { options_.may_open = [](std::string_view c) { return fw::in_module_menu(c); }; }

  std::vector<MenuEntry> menu() override {
    std::vector<MenuEntry> out;
    for (const auto& e : fw::module_menu()) out.push_back({e.classname, e.title});
    return out;
  }

  std::optional<ApiError> open(const std::string& window_class) override {
    ui::DispatchResult r = ui::dispatch_event(manager_, {.window = 0, .event = "open", .window_class = window_class}, options_);
    // A window that refused to open (its ue_before_open said why to the
    // person) leaves nothing new to show; that is no error of the request.
    if (!r.ok) std::fprintf(stderr, "kq_svc_309 serve: %s did not open: %s\n", window_class.c_str(), r.error.c_str());
    return std::nullopt;
  }

  json windows() override {
    json all = windows_json(ui::windows_state(manager_));
    for (json& w : all["windows"]) {
      if (ui::Window* window = manager_.find(w.value("id", 0))) {
        add_search_states(*window, w);
        w["caption"] = window_caption(*window);
      }
    }
    return all;
  }

  std::optional<ApiError> dispatch(const json& event) override {
    if (is_search_event(event)) return run_search(manager_, event);
    auto request = event_from_json(event);
    if (!request) return ApiError{403, "该操作当前不可用", "event refused: " + request.error()};
    ui::DispatchResult r = ui::dispatch_event(manager_, *request, options_);
    if (r.ok) return std::nullopt;
    if (r.for_person) return bad_request(r.error);
    return ApiError{403, "该操作当前不可用", "event refused: " + r.error};
  }

  Expected<json> rows(long long window, const std::string& control, long first, long count) override {
    auto found = grid(window, control);
    if (!found) return found.error();
    ui::Window& w = *found->first;
    ui::DataWindowControl& c = *found->second;
    c.first_row = first;
    c.row_window = count;
    c.shown_current_row = c.dw().getrow();  // the rows asked for, not the current row's
    const ui::WindowState state = ui::window_state(w);
    for (const ui::ControlState& s : state.controls) {
      if (s.name != c.name() || !s.datawindow) continue;
      const ui::DataWindowState& d = *s.datawindow;
      return json{{"window", window},           {"control", c.name()},      {"first_row", d.first_row},
                  {"row_window", d.row_window}, {"rowcount", d.rowcount}, {"html", d.html.value_or("")}};
    }
    return not_found("窗口中没有控件 " + control);
  }

  Expected<json> items(long long window, const std::string& control, long first, long count) override {
    ui::Window* w = manager_.find(static_cast<int>(window));
    if (!w) return not_found("窗口 " + std::to_string(window) + " 没有打开");
    ui::DataWindowControl* c = w->datawindow(control);
    if (!c || !c->visible) return not_found("窗口中没有数据窗口 " + control);
    json out = data_items(c->dw(), first, count);
    out["window"] = window;
    out["control"] = c->name();
    if (c->dw().has_definition()) out["dataobject"] = c->dw().definition().name;
    return out;
  }

  Expected<std::string> pdf(long long window, const std::string& control) override {
    ui::Window* w = manager_.find(static_cast<int>(window));
    if (!w) return not_found("窗口 " + std::to_string(window) + " 没有打开");
    ui::DataWindowControl* c = w->datawindow(control);
    if (!c || !c->visible) return not_found("窗口中没有数据窗口 " + control);
    if (!c->dw().has_definition()) return not_found("数据窗口 " + control + " 没有内容");
    dw::PdfOptions options = fw::print_options(c->dw());
    const auto& def = c->dw().definition();
    options.title = def.title.empty() ? w->title : def.title;
    auto pdf = dw::render_pdf(c->dw(), options);
    if (!pdf) return internal_error("打印文件生成失败，请稍后再试", pdf.error());
    return std::move(*pdf);
  }

  void close_all() override { manager_.close_all(); }

 private:
  Expected<std::pair<ui::Window*, ui::DataWindowControl*>> grid(long long window, const std::string& control) {
    ui::Window* w = manager_.find(static_cast<int>(window));
    if (!w) return not_found("窗口 " + std::to_string(window) + " 没有打开");
    ui::DataWindowControl* c = w->datawindow(control);
    if (!c) return not_found("窗口中没有数据窗口 " + control);
    if (!c->dw().has_definition() || c->dw().definition().style != dw::Definition::Style::Grid)
      return bad_request("数据窗口 " + control + " 不是列表");
    return std::make_pair(w, c);
  }

  ui::WindowManager manager_;
  ui::DispatchOptions options_;
};

}  // namespace

std::unique_ptr<WindowHost> make_module_host(fw::Session&, BrowserUi&) { return std::make_unique<ModuleHost>(); }

}  // namespace kq::server
