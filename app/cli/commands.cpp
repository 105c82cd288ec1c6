#include "cli/commands.h"

#include <CLI/CLI.hpp>

namespace kq::app {

int run_command_line(int argc, char** argv) {
  CLI::App app{"kq_svc_309: the repair-service module of the workshop management application"};
  app.require_subcommand(1);
  int status = 0;
  register_upper_je(app, status);
  register_db(app, status);
  register_call(app, status);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e);
  }
  return status;
}

}  // namespace kq::app
