// kq_svc_309 db init | demo: creates and migrates the shop database (a file
// of the embedded default, or a database server with --server), or builds the
// demo shop there.
#include <CLI/CLI.hpp>
#include <cstdint>
#include <optional>
#include <iostream>
#include <string>

#include "cli/commands.h"
#include "data/demo/demo_shop.h"
#include "data/location/database_location.h"
#include "data/schema/database_files.h"

namespace kq::app {
namespace {

struct DbArgs {
  std::string path;
  std::optional<std::string> server;
  int64_t scale = 0;
  int days = 365;
  std::string today;
  bool replace = false;
};

// A bar on standard error that is redrawn only when its percentage changes.
class ProgressBar {
 public:
  void operator()(int64_t done, int64_t total) {
    const int percent = total > 0 ? static_cast<int>(done * 100 / total) : 100;
    if (percent == shown_) return;
    shown_ = percent;
    const int width = 40, filled = percent * width / 100;
    std::cerr << "\r[" << std::string(static_cast<size_t>(filled), '#') << std::string(static_cast<size_t>(width - filled), ' ')
              << "] " << percent << "% " << done << "/" << total << " work orders" << std::flush;
    if (done >= total) std::cerr << '\n';
  }

 private:
  int shown_ = -1;
};

// Only a location of one kind: --db or --server.
bool one_location(const DbArgs& args, const char* command) {
  if (args.server.has_value() == !args.path.empty()) {
    std::cerr << "db " << command << ": give either --db PATH or --server ADDRESS\n";
    return false;
  }
  return true;
}

int run_init_on_server(const DbArgs& args) {
  auto location = data::server_location(*args.server);
  if (!location) {
    std::cerr << "db init: --server: " << location.error() << '\n';
    return 1;
  }
  auto connection = data::open_location(*location, {.create = true, .company = {}});
  if (!connection) {
    std::cerr << "db init: " << connection.error() << '\n';
    return 1;
  }
  std::cout << "shop schema (" << schema::latest_shop_version() << ") and club schema (kq_club, "
            << schema::latest_club_version() << ") are ready on " << location->describe() << "\n";
  return 0;
}

int run_init(const DbArgs& args) {
  if (!one_location(args, "init")) return 1;
  if (args.server) return run_init_on_server(args);
  schema::OpenOptions options;
  options.create = true;
  options.check_integrity = true;
  auto files = schema::open_database_files(args.path, options);
  if (!files) {
    std::cerr << "db init: " << files.error() << '\n';
    return 1;
  }
  std::cout << "shop database " << files->shop_path().string() << " (schema " << schema::latest_shop_version()
            << ", with the club tables) is ready\n";
  return 0;
}

int run_demo_on_server(const DbArgs& args, demo::DemoOptions& options) {
  auto location = data::server_location(*args.server);
  if (!location) {
    std::cerr << "db demo: --server: " << location.error() << '\n';
    return 1;
  }
  auto connection = data::open_location(*location, {.create = true, .company = {}});
  if (!connection) {
    std::cerr << "db demo: " << connection.error() << '\n';
    return 1;
  }
  options.clear_first = args.replace;
  if (auto ok = demo::fill_demo(**connection, options); !ok) {
    std::cerr << "db demo: " << ok.error() << '\n';
    return 1;
  }
  std::cout << "demo shop written to " << location->describe() << "; business date "
            << options.today->to_date_string();
  if (args.scale > 0) std::cout << ", " << args.scale << " generated work orders";
  std::cout << "\n";
  return 0;
}

int run_demo(const DbArgs& args) {
  if (!one_location(args, "demo")) return 1;
  demo::DemoOptions options;
  if (!args.today.empty()) {
    options.today = demo::parse_business_date(args.today);
    if (!options.today) {
      std::cerr << "db demo: --today \"" << args.today << "\" is not a date of the form yyyy/mm/dd\n";
      return 1;
    }
  }
  if (!options.today) options.today = DateTime::now().date();  // one date for the content and the message
  options.scale = args.scale;
  options.days = args.days;
  ProgressBar bar;
  if (args.scale > 0) options.progress = [&bar](int64_t done, int64_t total) { bar(done, total); };
  if (args.server) return run_demo_on_server(args, options);
  if (auto ok = demo::build_demo_files(args.path, options, args.replace); !ok) {
    std::cerr << "db demo: " << ok.error() << '\n';
    return 1;
  }
  std::cout << "demo shop written to " << args.path << " (with the club tables); business date "
            << options.today->to_date_string();
  if (args.scale > 0) std::cout << ", " << args.scale << " generated work orders";
  std::cout << "\n";
  return 0;
}

}  // namespace

void register_db(CLI::App& app, int& status) {
  auto* db = app.add_subcommand("db", "Creates, migrates, fills or copies the shop database (a file or a server)");
  db->require_subcommand(1);
  auto* args = new DbArgs();  // lives as long as the parser

  auto* init = db->add_subcommand(
      "init", "Creates the shop database (which holds the club tables), or brings an existing one to the "
              "current schema after checking it (an old club file kq_club.db beside it is taken in)");
  init->add_option("--db", args->path, "Shop database file");
  init->add_option("--server", args->server, kServerOptionHelp);
  init->callback([args, &status] { status = run_init(*args); });

  auto* demo = db->add_subcommand("demo", "Builds the demo shop (see docs/demo.md)");
  demo->add_option("--db", args->path, "Shop database file (the club tables go inside it)");
  demo->add_option("--server", args->server, kServerOptionHelp);
  demo->add_option("--scale", args->scale, "Adds N generated work orders (for benchmarks)")
      ->check(CLI::NonNegativeNumber);
  demo->add_option("--days", args->days,
                   "Generated settlements fall on the last N days, 1 to 365 (default 365; 30 lists them all in a "
                   "month)")
      ->check(CLI::Range(1, 365));
  demo->add_option("--today", args->today, "Business date of the demo, yyyy/mm/dd (default: today)");
  demo->add_flag("--replace", args->replace,
                 "Replace an existing demo or kq_svc_309 database pair at that place (on a server: its rows)");
  demo->callback([args, &status] { status = run_demo(*args); });
  register_db_copy(*db, status);
}

}  // namespace kq::app
