#include "platform/dw/datawindow/sort_text.h"

#include <utility>

#include "platform/value/text.h"

namespace kq::dw {
namespace {

std::vector<std::string> split_top_level(std::string_view t) {
  std::vector<std::string> parts;
  std::string cur;
  int depth = 0;
  char quote = 0;
  for (char c : t) {
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '\'' || c == '"') {
      quote = c;
    } else if (c == '(') {
      ++depth;
    } else if (c == ')') {
      --depth;
    } else if (c == ',' && depth == 0) {
      parts.push_back(cur);
      cur.clear();
      continue;
    }
    cur += c;
  }
  parts.push_back(cur);
  return parts;
}

}  // namespace

Result<std::vector<SortKey>> parse_sort(std::string_view t) {
  std::vector<SortKey> keys;
  if (text::trim(t).empty()) return keys;
  for (const std::string& part0 : split_top_level(t)) {
    std::string part = text::trim(part0);
    if (part.empty()) return make_error("empty sort key in '" + std::string(t) + "'");
    SortKey k;
    auto blank = part.find_last_of(" \t");
    if (blank != std::string::npos) {
      std::string last = part.substr(blank + 1);
      if (text::iequals(last, "a") || text::iequals(last, "asc") || text::iequals(last, "d") || text::iequals(last, "desc")) {
        k.descending = text::iequals(last, "d") || text::iequals(last, "desc");
        part = text::trim(part.substr(0, blank));
      }
    }
    k.expression = part;
    keys.push_back(std::move(k));
  }
  return keys;
}

std::vector<SortKey> lowered_sort_keys(std::string_view t) {
  auto keys = parse_sort(t);
  if (!keys) return {};
  for (SortKey& k : *keys) k.expression = text::lower(k.expression);
  return std::move(*keys);
}

}  // namespace kq::dw
