// kq_svc_309 db ...: placeholder until the shop database commands exist.
#include <CLI/CLI.hpp>

#include "cli/commands.h"

namespace kq::app {
void register_db(CLI::App&, int&) {}
}  // namespace kq::app
