#pragma once
// The program's log of problems: one line each on standard error, which a
// service manager keeps. What the person sees is the window's own message;
// the log says what actually went wrong (the database's cause, the
// statement), for whoever runs the server.
#include <string_view>

namespace kq {

// Writes "kq_svc_309: <text>" as one line: text that is not UTF-8 is
// repaired (U+FFFD), line breaks become spaces. Thread-safe.
void log_problem(std::string_view text);

}  // namespace kq
