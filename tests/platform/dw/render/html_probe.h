#pragma once
// Small readers of rendered HTML for tests.
#include <regex>
#include <string>
#include <vector>

namespace kq::dw::testing {

inline int count_of(const std::string& haystack, const std::string& needle) {
  int n = 0;
  for (size_t at = haystack.find(needle); at != std::string::npos; at = haystack.find(needle, at + needle.size())) ++n;
  return n;
}

// The text between the first `open` and the next `close` after it ("" when absent).
inline std::string section(const std::string& html, const std::string& open, const std::string& close) {
  size_t a = html.find(open);
  if (a == std::string::npos) return "";
  a += open.size();
  size_t b = html.find(close, a);
  return b == std::string::npos ? "" : html.substr(a, b - a);
}

// The contents of every <tag ...>...</tag> in `html`, tags inside removed.
inline std::vector<std::string> element_texts(const std::string& html, const std::string& tag) {
  std::vector<std::string> out;
  std::regex re("<" + tag + "(?:\\s[^>]*)?>([\\s\\S]*?)</" + tag + ">");
  std::regex inner_tags("<[^>]*>");
  for (std::sregex_iterator it(html.begin(), html.end(), re), end; it != end; ++it) {
    out.push_back(std::regex_replace((*it)[1].str(), inner_tags, ""));
  }
  return out;
}

// Every value of attribute `name` in document order.
inline std::vector<std::string> attribute_values(const std::string& html, const std::string& name) {
  std::vector<std::string> out;
  std::regex re("\\s" + name + "=\"([^\"]*)\"");
  for (std::sregex_iterator it(html.begin(), html.end(), re), end; it != end; ++it) out.push_back((*it)[1].str());
  return out;
}

}  // namespace kq::dw::testing
