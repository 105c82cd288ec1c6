#include "server/request_body.h"

#include <string>

namespace kq::server {

int json_nesting(std::string_view text, int limit) {
  int depth = 0;
  int deepest = 0;
  bool in_string = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (in_string) {
      if (c == '\\') ++i;  // the escaped character cannot end the string
      else if (c == '"') in_string = false;
      continue;
    }
    if (c == '"') {
      in_string = true;
    } else if (c == '[' || c == '{') {
      if (++depth > deepest) deepest = depth;
      if (deepest > limit) return deepest;
    } else if ((c == ']' || c == '}') && depth > 0) {
      --depth;
    }
  }
  return deepest;
}

Expected<nlohmann::json> parse_request_body(std::string_view body) {
  if (body.size() > kMaxBodyBytes)
    return ApiError{413, "请求正文过大（最多 " + std::to_string(kMaxBodyBytes / 1024) + " KB）"};
  if (body.empty()) return nlohmann::json::object();
  if (json_nesting(body, kMaxNesting) > kMaxNesting)
    return bad_request("请求嵌套过深（最多 " + std::to_string(kMaxNesting) + " 层）");
  nlohmann::json parsed = nlohmann::json::parse(body, nullptr, false);
  if (parsed.is_discarded()) return bad_request("请求不是有效的 JSON");
  if (!parsed.is_object()) return bad_request("请求须为 JSON 对象");
  return parsed;
}

}  // namespace kq::server
