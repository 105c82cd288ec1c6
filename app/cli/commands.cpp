#include "cli/commands.h"

#include "module.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <string>
#include <vector>

namespace kq::app {

int run_command_line(int argc, char** argv) {
  module::install();
  CLI::App app{"kq_svc_309: the repair-service module of the workshop management application"};
  app.require_subcommand(1);
  int status = 0;
  register_upper_je(app, status);
  register_db(app, status);
  register_call(app, status);
  register_dw(app, status);
  register_serve(app, status);
  register_card_sim(app, status);
  // upper-je takes only amounts: a standalone "--" (the usual end-of-options marker, needed by other
  // programs before "-0.5") is dropped so that CLI11 passes every amount through in order.
  std::vector<std::string> args(argv + 1, argv + argc);
  if (!args.empty() && args[0] == "upper-je")
    args.erase(std::remove(args.begin() + 1, args.end(), std::string("--")), args.end());
  std::reverse(args.begin(), args.end());  // CLI11 takes the arguments in reverse order
  app.name(argv[0]);
  try {
    app.parse(args);
  } catch (const CLI::ParseError& e) {
    return app.exit(e);
  }
  return status;
}

}  // namespace kq::app
