// kq_svc_309 db copy --from A --to B [--replace]: moves a shop between the
// embedded default and a database server (either way, or file to file).
#include <CLI/CLI.hpp>
#include <filesystem>
#include <iostream>
#include <string>

#include "cli/commands.h"
#include "data/location/database_location.h"
#include "data/transfer/shop_copy.h"

namespace kq::app {
namespace {

struct CopyArgs {
  std::string from;
  std::string to;
  bool replace = false;
};

bool same_file(const data::DatabaseLocation& a, const data::DatabaseLocation& b) {
  if (a.is_server() || b.is_server()) return false;
  std::error_code ec;
  return std::filesystem::weakly_canonical(a.shop_file, ec) == std::filesystem::weakly_canonical(b.shop_file, ec);
}

int run_copy(const CopyArgs& args) {
  auto from = data::parse_location(args.from);
  if (!from) {
    std::cerr << "db copy: --from: " << from.error() << '\n';
    return 1;
  }
  auto to = data::parse_location(args.to);
  if (!to) {
    std::cerr << "db copy: --to: " << to.error() << '\n';
    return 1;
  }
  if (same_file(*from, *to)) {
    std::cerr << "db copy: --from and --to name the same database " << from->describe() << '\n';
    return 1;
  }
  if (!from->is_server() && !std::filesystem::exists(from->shop_file)) {
    std::cerr << "db copy: the shop database " << from->describe() << " does not exist\n";
    return 1;
  }
  auto source = data::open_location(*from, {.create = false, .company = {}});
  if (!source) {
    std::cerr << "db copy: source: " << source.error() << '\n';
    return 1;
  }
  auto target = data::open_location(*to, {.create = true, .company = {}});
  if (!target) {
    std::cerr << "db copy: target: " << target.error() << '\n';
    return 1;
  }
  data::CopyOptions options;
  options.replace = args.replace;
  options.table_done = [](const data::ShopTable& t, const data::TableDigest& d) {
    std::cout << "  " << t.qualified() << ": " << d.describe() << '\n';
  };
  std::cout << "copying " << from->describe() << " to " << to->describe() << '\n';
  auto copied = data::copy_shop(**source, **target, options);
  if (!copied) {
    std::cerr << "db copy: " << copied.error() << '\n';
    return 1;
  }
  int64_t rows = 0;
  for (const auto& c : *copied) rows += c.digest.rows;
  std::cout << "copied " << copied->size() << " tables, " << rows << " rows; every table checked row for row\n";
  return 0;
}

}  // namespace

void register_db_copy(CLI::App& db, int& status) {
  auto* args = new CopyArgs();  // lives as long as the parser
  auto* copy = db.add_subcommand(
      "copy", "Copies a shop (shop and club database, every table) from one database to another and checks it");
  copy->add_option("--from", args->from, "Source: a shop database file, or a server (postgresql://… or key=value)")
      ->required();
  copy->add_option("--to", args->to,
                   "Target: a shop database file (created when missing), or a server whose schema db init --server "
                   "made")
      ->required();
  copy->add_flag("--replace", args->replace, "Replace the target's content (otherwise it must hold no rows)");
  copy->callback([args, &status] { status = run_copy(*args); });
}

}  // namespace kq::app
