#include "server/window_changes.h"

#include <set>

namespace kq::server {

using nlohmann::json;

json WindowChanges::take(const json& all) {
  json changed = json::array();
  json closed = json::array();
  std::map<long long, std::string> now;
  if (all.is_array()) {
    for (const json& w : all) {
      if (!w.is_object() || !w.contains("id") || !w["id"].is_number_integer()) continue;
      long long id = w["id"].get<long long>();
      std::string text = w.dump(-1, ' ', false, json::error_handler_t::replace);
      auto it = sent_.find(id);
      if (it == sent_.end() || it->second != text) changed.push_back(w);
      now.emplace(id, std::move(text));
    }
  }
  for (const auto& [id, text] : sent_) {
    if (!now.count(id)) closed.push_back(id);
  }
  sent_ = std::move(now);
  return json{{"windows", std::move(changed)}, {"closed", std::move(closed)}};
}

namespace {

const json& member_array(const json& o, const char* name) {
  static const json empty = json::array();
  if (!o.is_object()) return empty;
  auto it = o.find(name);
  return (it != o.end() && it->is_array()) ? *it : empty;
}

}  // namespace

json merge_changes(const json& earlier, const json& later) {
  json out = later.is_object() ? later : json::object();
  std::set<long long> later_ids, later_closed;
  for (const json& w : member_array(later, "windows")) {
    if (w.contains("id") && w["id"].is_number_integer()) later_ids.insert(w["id"].get<long long>());
  }
  for (const json& id : member_array(later, "closed")) {
    if (id.is_number_integer()) later_closed.insert(id.get<long long>());
  }
  json windows = json::array();
  for (const json& w : member_array(earlier, "windows")) {
    long long id = w.contains("id") && w["id"].is_number_integer() ? w["id"].get<long long>() : -1;
    if (later_ids.count(id) || later_closed.count(id)) continue;
    windows.push_back(w);
  }
  for (const json& w : member_array(later, "windows")) windows.push_back(w);
  std::set<long long> closed_ids;
  json closed = json::array();
  for (const json* list : {&member_array(earlier, "closed"), &member_array(later, "closed")}) {
    for (const json& id : *list) {
      if (!id.is_number_integer()) continue;
      long long v = id.get<long long>();
      if (later_ids.count(v) || !closed_ids.insert(v).second) continue;
      closed.push_back(v);
    }
  }
  out["windows"] = std::move(windows);
  out["closed"] = std::move(closed);
  return out;
}

}  // namespace kq::server
