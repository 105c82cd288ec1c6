#include "module.h"

#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "data/embedded_files.h"
#include "framework/dw_functions.h"
#include "framework/module_menu.h"
#include "functions/f_svc_upper_je.h"
#include "platform/dw/definition/definition_set.h"
#include "platform/dw/definition/global_functions.h"
#include "contracts/w_svc310.h"
#include "dispatch/w_svc301.h"
#include "rework/w_svc304.h"
#include "rework/w_svc304_01.h"
#include "settlement/w_svc305.h"
#include "settlement/w_svc305_01.h"
#include "printing/w_svc309.h"

namespace kq::module {
namespace {

struct WindowClass {
  const char* classname;
  const char* menu_title;  // null: opened from another window only
  std::unique_ptr<ui::Window> (*make)();
};

template <class W>
std::unique_ptr<ui::Window> make() {
  return std::make_unique<W>();
}

// The module's windows, one line each. Those with a title are the main menu's
// entries, in this order: 派工处理 w_svc301, 返修处理 w_svc304, 取消结算
// w_svc305, 打印结算单 w_svc309, 委托书打印工单 w_svc310.
const WindowClass kWindows[] = {
    {"w_svc301", "派工处理", make<svc::w_svc301>},
    {"w_svc304", "返修处理", make<svc::w_svc304>},
    {"w_svc304_01", nullptr, make<svc::w_svc304_01>},
    {"w_svc305", "取消结算", make<svc::w_svc305>},
    {"w_svc305_01", nullptr, make<svc::w_svc305_01>},
    {"w_svc309", "打印结算单", make<svc::w_svc309>},
    {"w_svc310", "委托书打印工单", make<svc::w_svc310>},
};

void install_definitions() {
  auto& set = dw::application_definitions();
  for (const auto& [path, content] : embedded::all()) {
    std::string_view p = path;
    if (p.substr(0, 5) != "data/" || p.find('/', 5) != std::string_view::npos) continue;
    if (p.size() < 10 || p.substr(p.size() - 5) != ".yaml") continue;
    set.add(std::string(p), std::string(content));
  }
}

void install_functions() {
  fw::install_dw_functions();
  dw::global_functions().add("f_svc_upper_je", 1, Type::String, [](std::span<const Value> a) {
    Str s = f_svc_upper_je(a[0].as_decimal());
    return s ? Value(*s) : Value::null(Type::String);
  });
}

void install_once() {
  static std::once_flag once;
  std::call_once(once, [] {
    install_functions();
    install_definitions();
    for (const auto& w : kWindows)
      if (w.menu_title) fw::add_menu_entry(w.menu_title, w.classname);
  });
}

}  // namespace

void install_windows(ui::WindowRegistry& registry) {
  install_once();
  fw::install_host_windows(registry);
  for (const auto& w : kWindows) registry.add(w.classname, w.make);
}

void install() {
  static std::once_flag once;
  std::call_once(once, [] { install_windows(ui::window_classes()); });
}

}  // namespace kq::module
