#pragma once
// The JSON body of a workstation request, read defensively: a body larger
// than kMaxBodyBytes or nested deeper than kMaxNesting is refused before it
// is parsed, so that no request can exhaust a worker's stack or memory
// (copying, printing and freeing a JSON value recurse once per level).
#include <cstddef>
#include <nlohmann/json.hpp>
#include <string_view>

#include "server/api_error.h"

namespace kq::server {

// The protocol's bodies are small objects a few levels deep.
inline constexpr std::size_t kMaxBodyBytes = 1024 * 1024;
inline constexpr int kMaxNesting = 64;

// The deepest nesting of arrays and objects in `text` (brackets inside JSON
// strings do not count); stops counting once `limit` is passed.
int json_nesting(std::string_view text, int limit);

// The body as a JSON object; an empty body is an empty object. 400 for text
// that is not JSON, not an object or nested too deep; 413 when too large.
Expected<nlohmann::json> parse_request_body(std::string_view body);

}  // namespace kq::server
