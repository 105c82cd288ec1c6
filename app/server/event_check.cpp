#include "server/event_check.h"

#include <string>

namespace kq::server {

using nlohmann::json;

namespace {

bool is_false(const json& o, const char* member) {
  auto it = o.find(member);
  return it != o.end() && it->is_boolean() && !it->get<bool>();
}

bool is_true(const json& o, const char* member) {
  auto it = o.find(member);
  return it != o.end() && it->is_boolean() && it->get<bool>();
}

// The member `name` of `o`, or an empty array when there is none.
const json& member(const json& o, const char* name) {
  static const json none = json::array();
  if (!o.is_object()) return none;
  auto it = o.find(name);
  return it == o.end() ? none : *it;
}

const json* find_by(const json& list, const char* key, const json& value) {
  if (!list.is_array()) return nullptr;
  for (const json& item : list) {
    if (item.is_object() && item.contains(key) && item[key] == value) return &item;
  }
  return nullptr;
}

std::optional<ApiError> check_menu(const json& window, const json& event) {
  const std::string name = event["event"].get<std::string>();
  const json& menu = member(window, "menu");
  if (name == "ue_cus" && event.contains("number")) {
    const json* command = find_by(member(menu, "commands"), "index", event["number"]);
    if (command && is_false(*command, "enabled"))
      return forbidden("菜单命令“" + command->value("text", std::string()) + "”当前不可用");
  }
  const json* tool = find_by(member(menu, "toolbar"), "event", event["event"]);
  if (tool && is_false(*tool, "enabled"))
    return forbidden("工具栏按钮“" + tool->value("text", std::string()) + "”当前不可用");
  return std::nullopt;
}

}  // namespace

std::optional<ApiError> check_event_shape(const json& event) {
  if (!event.is_object()) return bad_request("事件须为 JSON 对象");
  if (!event.contains("window") || !event["window"].is_number_integer())
    return bad_request("事件缺少整数 \"window\"");
  if (!event.contains("event") || !event["event"].is_string() || event["event"].get<std::string>().empty())
    return bad_request("事件缺少 \"event\"");
  for (const char* member : {"control", "column", "text"}) {
    if (event.contains(member) && !event[member].is_string())
      return bad_request(std::string("事件的 \"") + member + "\" 须为字符串");
  }
  for (const char* member : {"row", "key", "number"}) {
    if (event.contains(member) && !event[member].is_number_integer())
      return bad_request(std::string("事件的 \"") + member + "\" 须为整数");
  }
  if (event.contains("data") && !(event["data"].is_string() || event["data"].is_number() || event["data"].is_null()))
    return bad_request("事件的 \"data\" 须为字符串、数字或 null");
  return std::nullopt;
}

std::optional<ApiError> check_event_allowed(const json& windows, const json& event) {
  const json* window = find_by(windows, "id", event["window"]);
  if (!window) return not_found("窗口 " + event["window"].dump() + " 没有打开");
  if (is_false(*window, "enabled")) return forbidden("窗口“" + window->value("title", std::string()) + "”当前不可用");
  const std::string control = event.value("control", std::string());
  if (control.empty()) return check_menu(*window, event);
  const json* c = find_by(member(*window, "controls"), "name", json(control));
  if (!c) return not_found("窗口中没有控件 " + control);
  if (is_false(*c, "visible")) return forbidden("控件 " + control + " 没有显示，不能操作");
  if (is_false(*c, "enabled")) return forbidden("控件 " + control + " 不可用，不能操作");
  if (event["event"] == "itemchanged" && is_true(*c, "readonly")) return forbidden("控件 " + control + " 只读，不能修改");
  return std::nullopt;
}

}  // namespace kq::server
