#pragma once
#include <string_view>

namespace kq::fw {

// Checks the last statement on sqlca: when it failed (sqlcode -1) shows `text`
// (title gs_tsxx), writes the database's error to standard error for the
// engineer, and returns 0; otherwise returns 1 (also for 100, no row).
int f_sqlca(std::string_view text);

}  // namespace kq::fw
