#pragma once
// Resource files compiled into the binary (schema scripts, data window definitions).
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace kq::embedded {

// Every embedded file, keyed by its path relative to kq_svc_309/ (e.g. "data/d_svc305_jsd1.yaml").
const std::map<std::string, std::string_view, std::less<>>& all();

// The content of one embedded file, or nullopt when there is none by that path.
inline std::optional<std::string_view> find(std::string_view path) {
  const auto& files = all();
  auto it = files.find(path);
  if (it == files.end()) return std::nullopt;
  return it->second;
}

}  // namespace kq::embedded
