#include "framework/module_menu.h"

#include "framework/w_svc300_03.h"
#include "framework/w_svc302_03.h"
#include "platform/value/text.h"
#include "settlement/w_svc305.h"
#include "settlement/w_svc305_01.h"

namespace kq::fw {
namespace {

const ModuleMenuEntry kMenu[] = {
    {"派工处理", "w_svc301"},       {"返修处理", "w_svc304"},       {"取消结算", "w_svc305"},
    {"打印结算单", "w_svc309"},     {"委托书打印工单", "w_svc310"},
};

}  // namespace

std::vector<ModuleMenuEntry> module_menu(const ui::WindowRegistry& registry) {
  std::vector<ModuleMenuEntry> out;
  for (const auto& e : kMenu)
    if (registry.contains(e.classname)) out.push_back(e);
  return out;
}

bool in_module_menu(std::string_view classname, const ui::WindowRegistry& registry) {
  for (const auto& e : module_menu(registry))
    if (text::iequals(e.classname, classname)) return true;
  return false;
}

nlohmann::json module_menu_json(const ui::WindowRegistry& registry) {
  nlohmann::json out = nlohmann::json::array();
  for (const auto& e : module_menu(registry)) out.push_back({{"title", e.title}, {"class", e.classname}});
  return out;
}

void install_module_windows(ui::WindowRegistry& registry) {
  registry.add("w_svc300_03", [] { return std::make_unique<w_svc300_03>(); });
  registry.add("w_svc302_03", [] { return std::make_unique<w_svc302_03>(); });
  registry.add("w_svc305", [] { return std::make_unique<svc::w_svc305>(); });
  registry.add("w_svc305_01", [] { return std::make_unique<svc::w_svc305_01>(); });
}

}  // namespace kq::fw
