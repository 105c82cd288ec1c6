// kq_svc_309 call ...: placeholder until the global functions can be called by name.
#include <CLI/CLI.hpp>

#include "cli/commands.h"

namespace kq::app {
void register_call(CLI::App&, int&) {}
}  // namespace kq::app
