#include "platform/serial/port_name.h"

#include "platform/profile/profile.h"
#include "platform/value/text.h"

namespace kq::serial {

int port_number(std::string_view port_text) {
  std::string t = text::trim(port_text);
  std::string_view digits = t;
  if (digits.size() > 3 && text::iequals(digits.substr(0, 3), "COM")) digits.remove_prefix(3);
  if (digits.empty() || digits.size() > 4) return 0;
  int n = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return 0;
    n = n * 10 + (c - '0');
  }
  return n;
}

std::string resolve_port(std::string_view port_text, const std::string& profile_file) {
  std::string t = text::trim(port_text);
  if (!t.empty() && t.front() == '/') return t;
  int n = port_number(t);
  if (n <= 0) return {};
  std::string key = "COM" + std::to_string(n);
  if (!profile_file.empty()) {
    std::string mapped = text::trim(profile::profile_string(profile_file, "ports", key, ""));
    if (!mapped.empty() && mapped.front() == '/') return mapped;
  }
  return "/dev/ttyS" + std::to_string(n - 1);
}

}  // namespace kq::serial
