#include "platform/profile/profile.h"

#include <fstream>
#include <sstream>

#include "platform/value/text.h"

namespace kq::profile {

std::string profile_string_from_text(std::string_view content, std::string_view section, std::string_view key,
                                     std::string_view default_value) {
  bool in_section = false;
  size_t start = 0;
  if (content.substr(0, 3) == "\xEF\xBB\xBF") start = 3;  // byte order mark
  while (start <= content.size()) {
    size_t end = content.find('\n', start);
    if (end == std::string_view::npos) end = content.size();
    std::string line = text::trim(content.substr(start, end - start));
    start = end + 1;
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;
    if (line.front() == '[') {
      size_t close = line.find(']');
      in_section = close != std::string::npos && text::iequals(text::trim(line.substr(1, close - 1)), section);
      continue;
    }
    if (!in_section) continue;
    size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    if (text::iequals(text::trim(line.substr(0, eq)), key)) return text::trim(line.substr(eq + 1));
  }
  return std::string(default_value);
}

std::string profile_string(const std::string& file, std::string_view section, std::string_view key,
                           std::string_view default_value) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::string(default_value);
  std::stringstream ss;
  ss << in.rdbuf();
  return profile_string_from_text(ss.str(), section, key, default_value);
}

}  // namespace kq::profile
