#pragma once
#include <string_view>

namespace kq::fw {

// Appends one line to the operation log (time, operator, text) of the current
// company and commits it on a connection of its own, so the line is kept
// whatever sqlca does next. Call it outside an open unit of work of sqlca.
// Returns 1, or 0 when the line could not be written.
int f_log_operate(std::string_view text);

}  // namespace kq::fw
