#include "platform/dw/definition/yaml_map.h"
#include "platform/dw/definition/concat.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "platform/value/text.h"

namespace kq::dw {

int line_of(const YAML::Node& node, int fallback) {
  if (!node.IsDefined()) return fallback;
  int l = node.Mark().line;
  return l < 0 ? fallback : l + 1;
}

std::optional<bool> parse_flag(std::string_view t) {
  for (const char* y : {"true", "yes", "on"})
    if (text::iequals(t, y)) return true;
  for (const char* n : {"false", "no", "off"})
    if (text::iequals(t, n)) return false;
  return std::nullopt;
}

std::optional<double> parse_number(std::string_view t) {
  std::string s = text::trim(t);
  if (s.empty()) return std::nullopt;
  char* end = nullptr;
  errno = 0;
  double v = std::strtod(s.c_str(), &end);
  if (errno != 0 || end != s.c_str() + s.size()) return std::nullopt;
  return v;
}

YamlMap::YamlMap(const YAML::Node& node, std::string_view what, std::span<const std::string_view> allowed,
                 LoadErrors& errors, int fallback_line)
    : node_(node), what_(what), errors_(errors), line_(line_of(node, fallback_line)) {
  if (!node.IsMap()) {
    ok_ = false;
    errors_.add(line_, "a " + what_ + " must be a mapping of keys to values");
    return;
  }
  for (auto it = node.begin(); it != node.end(); ++it) {
    std::string key = it->first.IsScalar() ? it->first.Scalar() : std::string();
    int kl = line_of(it->first, line_);
    if (std::find(allowed.begin(), allowed.end(), key) == allowed.end()) {
      errors_.add(kl, "unknown key '" + key + "' in " + what_);
      continue;
    }
    if (has(key)) {
      errors_.add(kl, "key '" + key + "' given twice in " + what_);
      continue;
    }
    entries_.emplace_back(key, it->second);
  }
}

bool YamlMap::has(std::string_view key) const {
  return std::any_of(entries_.begin(), entries_.end(), [&](const auto& e) { return e.first == key; });
}

YAML::Node YamlMap::node(std::string_view key) const {
  for (const auto& e : entries_)
    if (e.first == key) return e.second;
  return YAML::Node(YAML::NodeType::Undefined);
}

int YamlMap::line(std::string_view key) const { return line_of(node(key), line_); }

std::optional<std::string> YamlMap::text(std::string_view key) const {
  if (!has(key)) return std::nullopt;
  YAML::Node n = node(key);
  if (n.IsNull()) return std::string();
  if (!n.IsScalar()) {
    errors_.add(line(key), concat({"'", key, "' of ", what_, " must be a text"}));
    return std::nullopt;
  }
  return n.Scalar();
}

std::optional<double> YamlMap::number(std::string_view key) const {
  if (!has(key)) return std::nullopt;
  YAML::Node n = node(key);
  std::optional<double> v = n.IsScalar() ? parse_number(n.Scalar()) : std::nullopt;
  if (!v) errors_.add(line(key), concat({"'", key, "' of ", what_, " must be a number"}));
  return v;
}

std::optional<int> YamlMap::integer(std::string_view key) const {
  auto v = number(key);
  if (!v) return std::nullopt;
  if (*v != static_cast<double>(static_cast<int>(*v))) {
    errors_.add(line(key), concat({"'", key, "' of ", what_, " must be a whole number"}));
    return std::nullopt;
  }
  return static_cast<int>(*v);
}

std::optional<bool> YamlMap::flag(std::string_view key) const {
  if (!has(key)) return std::nullopt;
  YAML::Node n = node(key);
  std::optional<bool> v = n.IsScalar() ? parse_flag(n.Scalar()) : std::nullopt;
  if (!v) errors_.add(line(key), concat({"'", key, "' of ", what_, " must be true or false"}));
  return v;
}

std::optional<std::string> YamlMap::choice(std::string_view key, std::initializer_list<std::string_view> choices) const {
  auto t = text(key);
  if (!t) return std::nullopt;
  for (std::string_view c : choices)
    if (text::iequals(*t, c)) return std::string(c);
  std::string list;
  for (std::string_view c : choices) list += (list.empty() ? "" : ", ") + std::string(c);
  errors_.add(line(key), concat({"'", key, "' of ", what_, " must be one of ", list, ", not '", *t, "'"}));
  return std::nullopt;
}

}  // namespace kq::dw
