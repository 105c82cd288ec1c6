#pragma once
#include <string_view>

#include "platform/value/value.h"

namespace kq::fw {

// The next number of document series `key` of module `module` for the current
// company, as text of at least four digits ("0001", "0002" ... "10000").
// Each call takes the counter under the database's write lock and commits at
// once on a connection of its own, so no number is ever handed out twice,
// also to several workstations at the same moment; a number whose document is
// later abandoned is simply skipped. Null when the counter cannot be advanced.
Str f_retu_djxh(std::string_view module, std::string_view key);

}  // namespace kq::fw
